// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// «Успехи»: what the player has solved, in totals and in a table of every outline.
#pragma once

#include <QAbstractTableModel>
#include <QDate>
#include <QDialog>
#include <QHash>
#include <QSet>
#include <vector>

#include "play/ProgressStore.h"

class QLabel;
class QSortFilterProxyModel;
class QTableView;

namespace kv {

class ProgressKeeper;

struct UspehiRow {
    QString name;
    QString path;
    bool own = false;
    int grade = 0;  // 0 when not graded
    OutlineState state = OutlineState::NotStarted;
    std::int64_t bestMs = -1;
    int bestSteps = -1;
};

struct UspehiTotals {
    int all = 0, solved = 0;
    int shipped = 0, shippedSolved = 0;
    int own = 0, ownSolved = 0;
    int perGrade[6] = {};        // outlines of each grade (0: not graded)
    int perGradeSolved[6] = {};  // of them solved
    std::int64_t totalMs = 0;    // every record's time, outlines no longer listed too
    int streak = 0;              // days in a row with a solve, up to today or yesterday
    // Days in a row, the same way, whose «Квелт дня» is solved: each counts for the date it
    // is the outline of, so a missed day solved later fills its gap.
    int dayStreak = 0;
};

UspehiTotals CountTotals(const std::vector<UspehiRow>& rows,
                         const QHash<QByteArray, ProgressRecord>& records, QDate today);
// Days in a row, ending today or yesterday, on which something was solved.
int SolveStreak(const QSet<QDate>& days, QDate today);
QString StateText(OutlineState state);

class UspehiModel final : public QAbstractTableModel {
  public:
    enum Column { Name, Grade, State, BestTime, BestSteps, ColumnCount };
    // The value a column sorts by, under this role.
    static constexpr int SortRole = Qt::UserRole;
    explicit UspehiModel(std::vector<UspehiRow> rows, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    const UspehiRow& Row(int row) const { return rows_[static_cast<std::size_t>(row)]; }

  private:
    std::vector<UspehiRow> rows_;
};

class frmUspehi final : public QDialog {
    Q_OBJECT
  public:
    frmUspehi(std::vector<UspehiRow> rows, const UspehiTotals& totals, QWidget* parent = nullptr);
    QLabel* lblItogi() const { return lblItogi_; }
    QTableView* tblKvelty() const { return table_; }
    UspehiModel* Model() const { return model_; }
    // Loads the outline of a table row (in the order shown) as the library's OK does.
    void Play(const QModelIndex& index);

  private:
    QLabel* lblItogi_ = nullptr;
    QTableView* table_ = nullptr;
    UspehiModel* model_ = nullptr;
    QSortFilterProxyModel* proxy_ = nullptr;
};

// The rows of every outline in the library, with what the records say of it.
std::vector<UspehiRow> UspehiRows(const QHash<QByteArray, ProgressRecord>& records);
// Shows «Успехи» modally over the main window.
void ShowUspehi(ProgressKeeper& journey);

}  // namespace kv
