// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/NewKveltDialog.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QVBoxLayout>

#include "editor/OwnOutline.h"
#include "model/Model.h"
#include "outlines/ListDialog.h"
#include "platform/Services.h"
#include "positions/Positions.h"

namespace kv {

GeneratorRequest DayRequest(const QDate& date) {
    // Monday .. Sunday: easy to hardest, with more pieces as the week goes on.
    static constexpr int kGrades[] = {1, 2, 2, 3, 3, 4, 5};
    static constexpr int kPiecesOfDay[] = {7, 8, 8, 9, 9, 10, 10};
    const int weekday = date.dayOfWeek() - 1;
    GeneratorRequest request;
    request.seed =
        static_cast<std::uint64_t>(date.year()) * 10000 + date.month() * 100 + date.day();
    request.grade = kGrades[weekday];
    request.pieces = PiecesForCount(kPiecesOfDay[weekday], request.seed);
    return request;
}

QString DayName(const QDate& date) {
    return QStringLiteral("Квелт дня, %1 %2").arg(DayAndMonth(date)).arg(date.year());
}

QDate DayOfName(const QString& name) {
    static const QRegularExpression pattern(
        QStringLiteral("^Квелт дня, (\\d{1,2}) (\\S+) (\\d{4})$"));
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch()) return {};
    for (int month = 1; month <= 12; ++month) {
        const QDate date(match.captured(3).toInt(), month, match.captured(1).toInt());
        // Through DayName again, so that only the names it gives are read.
        if (date.isValid() && DayName(date) == name) return date;
    }
    return {};
}

frmNewKvelt::frmNewKvelt(Kind kind, QWidget* parent) : QDialog(parent), kind_(kind) {
    setWindowTitle(kind == Kind::Random ? QStringLiteral("Новый квелт")
                                        : QStringLiteral("Квелт дня"));
    auto* form = new QFormLayout;
    if (kind == Kind::Random) {
        pieces_ = new QSpinBox(this);
        pieces_->setRange(3, kPieces);
        pieces_->setValue(kPieces);
        grade_ = new QSpinBox(this);
        grade_->setRange(1, 5);
        grade_->setValue(3);
        form->addRow(QStringLiteral("Фигур:"), pieces_);
        form->addRow(QStringLiteral("Сложность (1–5):"), grade_);
    } else {
        // Days missed can be played later; days to come wait for their date.
        date_ = new QDateEdit(QDate::currentDate(), this);
        date_->setMaximumDate(QDate::currentDate());
        date_->setCalendarPopup(true);
        form->addRow(QStringLiteral("День:"), date_);
    }
    state_ = new QLabel(this);
    create_ = new QPushButton(QStringLiteral("Создать"), this);
    create_->setDefault(true);
    stop_ = new QPushButton(QStringLiteral("Прервать"), this);
    stop_->hide();
    auto* close = new QPushButton(QStringLiteral("Закрыть"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(create_);
    buttons->addWidget(stop_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(state_);
    layout->addLayout(buttons);

    run_ = new GenerationRun(stop_, this);
    connect(create_, &QPushButton::clicked, this, &frmNewKvelt::StartGeneration);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

frmNewKvelt::~frmNewKvelt() = default;

void frmNewKvelt::StartGeneration() {
    const GeneratorRequest request = kind_ == Kind::Random
                                         ? RandomRequest(pieces_->value(), grade_->value())
                                         : DayRequest(date_->date());
    if (!run_->Start(request, [this](std::optional<GeneratedOutline> outline) {
            Finished(std::move(outline));
        })) {
        return;
    }
    create_->setEnabled(false);
    state_->setText(QStringLiteral("Идёт поиск квелта с одним решением..."));
}

void frmNewKvelt::Finished(std::optional<GeneratedOutline> outline) {
    create_->setEnabled(true);
    if (!outline) {
        state_->clear();
        return;
    }
    const QDate today = kind_ == Kind::Day ? date_->date() : QDate::currentDate();
    OutlineDraft draft;
    draft.name = kind_ == Kind::Day ? DayName(today) : RandomName(today);
    draft.cells = outline->cells;
    for (int p = 1; p <= kPieces; ++p) {
        if (!outline->pieces[p]) draft.excluded.push_back(p);
    }
    // The day's outline is the same for everyone: a copy already in the folder is played.
    const KnownOutline known = kind_ == Kind::Day ? FindSameOutline(draft) : KnownOutline{};
    QString path = known.path;
    if (path.isEmpty()) {
        const SavedOutline saved = SaveOwnOutline(draft);
        if (saved.path.isEmpty()) {
            state_->clear();
            platform::Tell(saved.error);
            return;
        }
        path = saved.path;
    }
    savedPath_ = path;
    if (!PlayKvelt(path)) return;
    PositionPath.clear();
    platform::Tell(QStringLiteral("Квелт «%1»: сложность %2, решение единственное.")
                       .arg(known.path.isEmpty() ? draft.name : known.name)
                       .arg(outline->grade.grade));
    accept();
}

void ShowNewKvelt(frmNewKvelt::Kind kind) {
    frmNewKvelt dialog(kind, platform::MainWidget());
    dialog.exec();
}

}  // namespace kv
