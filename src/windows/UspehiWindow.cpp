// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/UspehiWindow.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include "outlines/ListDialog.h"
#include "outlines/ShippedGrades.h"
#include "platform/Services.h"
#include "play/Progress.h"
#include "positions/Positions.h"
#include "view/WindowStyle.h"
#include "windows/NewKveltDialog.h"

namespace kv {

QString StateText(OutlineState state) {
    switch (state) {
        case OutlineState::SolvedAlone:
            return QStringLiteral("собран сам");
        case OutlineState::SolvedWithHints:
            return QStringLiteral("собран с подсказкой");
        case OutlineState::Shown:
            return QStringLiteral("решение показано");
        case OutlineState::InProgress:
            return QStringLiteral("начат");
        case OutlineState::NotStarted:
            break;
    }
    return QStringLiteral("не начат");
}

int SolveStreak(const QSet<QDate>& days, QDate today) {
    QDate day = days.contains(today) ? today : today.addDays(-1);
    int n = 0;
    while (days.contains(day)) {
        ++n;
        day = day.addDays(-1);
    }
    return n;
}

UspehiTotals CountTotals(const std::vector<UspehiRow>& rows,
                         const QHash<QByteArray, ProgressRecord>& records, QDate today) {
    UspehiTotals t;
    for (const UspehiRow& r : rows) {
        const bool solved = r.state >= OutlineState::SolvedWithHints;
        ++t.all;
        t.solved += solved;
        (r.own ? t.own : t.shipped) += 1;
        (r.own ? t.ownSolved : t.shippedSolved) += solved;
        const int g = r.grade >= 1 && r.grade <= 5 ? r.grade : 0;
        ++t.perGrade[g];
        t.perGradeSolved[g] += solved;
    }
    QSet<QDate> ofTheDay;
    for (const UspehiRow& r : rows) {
        const QDate date = DayOfName(r.name);
        if (date.isValid() && r.state >= OutlineState::SolvedWithHints) ofTheDay.insert(date);
    }
    t.dayStreak = SolveStreak(ofTheDay, today);
    QSet<QDate> days;
    for (const ProgressRecord& r : records) {
        t.totalMs += r.totalMs;
        for (const QByteArray& d : {r.firstSolved, r.lastSolved}) {
            if (!d.isEmpty()) days.insert(QDate::fromString(QString::fromLatin1(d), Qt::ISODate));
        }
    }
    t.streak = SolveStreak(days, today);
    return t;
}

UspehiModel::UspehiModel(std::vector<UspehiRow> rows, QObject* parent)
    : QAbstractTableModel(parent), rows_(std::move(rows)) {}

int UspehiModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int UspehiModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant UspehiModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const UspehiRow& r = Row(index.row());
    if (role == SortRole) {
        // Rows without a value sort after those with one.
        switch (index.column()) {
            case Name:
                return r.name.toLower();
            case Grade:
                return r.grade > 0 ? r.grade : 99;
            case State:
                return static_cast<int>(r.state);
            case BestTime:
                return r.bestMs >= 0 ? qlonglong(r.bestMs) : qlonglong(1) << 60;
            case BestSteps:
                return r.bestSteps >= 0 ? r.bestSteps : 1 << 30;
        }
        return {};
    }
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case Name:
            return r.own ? r.name + OwnMark() : r.name;
        case Grade:
            return r.grade > 0 ? QString::number(r.grade) : QStringLiteral("—");
        case State:
            return StateText(r.state);
        case BestTime:
            return r.bestMs >= 0 ? FormatDuration(r.bestMs) : QStringLiteral("—");
        case BestSteps:
            return r.bestSteps >= 0 ? QString::number(r.bestSteps) : QStringLiteral("—");
    }
    return {};
}

QVariant UspehiModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const names[] = {"Квелт", "Сложность", "Состояние", "Лучшее время",
                                        "Меньше всего шагов"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(names[section]) : QVariant();
}

frmUspehi::frmUspehi(std::vector<UspehiRow> rows, const UspehiTotals& t, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Успехи"));
    auto* layout = new QVBoxLayout(this);
    lblItogi_ = new QLabel(this);
    lblItogi_->setObjectName(QStringLiteral("lblItogi"));
    QStringList grades;
    for (int g = 1; g <= 5; ++g) {
        if (t.perGrade[g] > 0) {
            grades << QStringLiteral("%1 — %2 из %3")
                          .arg(g)
                          .arg(t.perGradeSolved[g])
                          .arg(t.perGrade[g]);
        }
    }
    QStringList lines;
    lines << QStringLiteral("Собрано %1 из %2: из библиотеки %3 из %4, своих %5 из %6.")
                 .arg(t.solved)
                 .arg(t.all)
                 .arg(t.shippedSolved)
                 .arg(t.shipped)
                 .arg(t.ownSolved)
                 .arg(t.own);
    if (!grades.isEmpty())
        lines << QStringLiteral("По сложности: ") + grades.join(QStringLiteral("; ")) +
                     QLatin1Char('.');
    lines << QStringLiteral("Всего в игре: %1. Дней подряд со сборкой: %2.")
                 .arg(FormatDuration(t.totalMs))
                 .arg(t.streak);
    lines << QStringLiteral("«Квелт дня» собран дней подряд: %1.").arg(t.dayStreak);
    lblItogi_->setText(lines.join(QLatin1Char('\n')));
    lblItogi_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(lblItogi_);

    model_ = new UspehiModel(std::move(rows), this);
    proxy_ = new QSortFilterProxyModel(this);
    proxy_->setSourceModel(model_);
    proxy_->setSortRole(UspehiModel::SortRole);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("tblKvelty"));
    table_->setModel(proxy_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(UspehiModel::Name, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(UspehiModel::Name, QHeaderView::Stretch);
    table_->setToolTip(QStringLiteral("Двойной щелчок загружает квелт"));
    layout->addWidget(table_, 1);
    connect(table_, &QTableView::doubleClicked, this, &frmUspehi::Play);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(640, 480);
}

void frmUspehi::Play(const QModelIndex& index) {
    if (!index.isValid()) return;
    const UspehiRow& row = model_->Row(proxy_->mapToSource(index).row());
    if (!PlayKvelt(row.path)) return;
    PositionPath.clear();
    accept();
}

std::vector<UspehiRow> UspehiRows(const QHash<QByteArray, ProgressRecord>& records) {
    std::vector<UspehiRow> rows;
    const std::map<QString, OutlineGrade> shipped = ReadShippedGrades();
    for (const LibraryOutline& o : LibraryOutlines()) {
        if (o.damaged) continue;
        UspehiRow row;
        row.name = o.name;
        row.path = o.path;
        row.own = o.own;
        ProgressRecord record;
        if (const auto r = records.constFind(o.key); r != records.cend()) record = *r;
        row.state = record.state;
        row.bestMs = record.bestMs;
        row.bestSteps = record.bestSteps;
        row.grade = KnownGrade(o.own, o.file, record, shipped).value_or(OutlineGrade()).grade;
        rows.push_back(std::move(row));
    }
    return rows;
}

void ShowUspehi(ProgressKeeper& journey) {
    QHash<QByteArray, ProgressRecord> records = journey.Store().LoadAll();
    if (!journey.Key().isEmpty()) records.insert(journey.Key(), journey.Record());
    std::vector<UspehiRow> rows = UspehiRows(records);
    const UspehiTotals totals = CountTotals(rows, records, QDate::currentDate());
    frmUspehi dialog(std::move(rows), totals, platform::MainWidget());
    dialog.exec();
}

}  // namespace kv
