// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// «Новый квелт» and «Квелт дня»: an outline with one tiling made by the generator, saved into
// the player's outline folder under a made-up name and loaded onto the board.
#pragma once

#include <QDate>
#include <QDialog>
#include <QString>
#include <optional>

#include "editor/Generation.h"

class QDateEdit;
class QLabel;
class QPushButton;
class QSpinBox;

namespace kv {

// The outline of a date: the same for every player. The grade rises through the week,
// Monday 1 to Sunday 5.
GeneratorRequest DayRequest(const QDate& date);
QString DayName(const QDate& date);  // «Квелт дня, 8 декабря 2026»
// The date a name of DayName's gives; an invalid date for any other name.
QDate DayOfName(const QString& name);

class frmNewKvelt : public QDialog {
    Q_OBJECT
  public:
    enum class Kind { Random, Day };
    // The search runs through platform::services().jobs, off the GUI thread.
    explicit frmNewKvelt(Kind kind, QWidget* parent = nullptr);
    ~frmNewKvelt() override;

    QSpinBox* Pieces() const { return pieces_; }
    QSpinBox* Grade() const { return grade_; }
    QDateEdit* Date() const { return date_; }
    QPushButton* Create() const { return create_; }
    QPushButton* Stop() const { return stop_; }
    QLabel* State() const { return state_; }
    // The file the last outline was saved to, empty until then.
    QString SavedPath() const { return savedPath_; }

    // How long a search runs before «Прервать» shows.
    static constexpr int kStopAfterMs = GenerationRun::kStopAfterMs;

  private:
    void StartGeneration();
    void Finished(std::optional<GeneratedOutline> outline);

    Kind kind_;
    QSpinBox* pieces_ = nullptr;
    QSpinBox* grade_ = nullptr;
    QDateEdit* date_ = nullptr;
    QPushButton* create_ = nullptr;
    QPushButton* stop_ = nullptr;
    QLabel* state_ = nullptr;
    GenerationRun* run_ = nullptr;
    QString savedPath_;
};

// The menu items' whole work: the dialog shown modally over the main window.
void ShowNewKvelt(frmNewKvelt::Kind kind);

}  // namespace kv
