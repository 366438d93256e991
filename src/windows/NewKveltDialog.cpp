// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/NewKveltDialog.h"

#include <QDateEdit>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include "editor/OwnOutline.h"
#include "model/Model.h"
#include "outlines/ListDialog.h"
#include "outlines/OutlineFolders.h"
#include "platform/Services.h"
#include "positions/Positions.h"

namespace kv {

namespace {

// Genitive, as a date is said: the names do not hang on the locale the game runs in.
const char* const kMonths[] = {"января", "февраля", "марта",    "апреля",  "мая",    "июня",
                               "июля",   "августа", "сентября", "октября", "ноября", "декабря"};

QString DayAndMonth(const QDate& date) {
    return QStringLiteral("%1 %2")
        .arg(date.day())
        .arg(QString::fromUtf8(kMonths[date.month() - 1]));
}

}  // namespace

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

QString RandomName(const QDate& date) {
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("Случайный %1, №%2").arg(DayAndMonth(date)).arg(n);
        if (!QFileInfo::exists(UserExamplesPath() + OutlineFileStem(name) +
                               QStringLiteral(".kvt"))) {
            return name;
        }
    }
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

    stopTimer_ = new QTimer(this);
    stopTimer_->setSingleShot(true);
    stopTimer_->setInterval(kStopAfterMs);
    connect(stopTimer_, &QTimer::timeout, this, [this] {
        if (running_) stop_->show();
    });
    connect(create_, &QPushButton::clicked, this, &frmNewKvelt::StartGeneration);
    connect(stop_, &QPushButton::clicked, this, [this] {
        if (stopFlag_) *stopFlag_ = true;
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

frmNewKvelt::~frmNewKvelt() {
    if (stopFlag_) *stopFlag_ = true;
}

void frmNewKvelt::StartGeneration() {
    if (running_) return;
    GeneratorRequest request;
    if (kind_ == Kind::Random) {
        request.seed = QRandomGenerator::global()->generate64();
        request.grade = grade_->value();
        request.pieces = PiecesForCount(pieces_->value(), request.seed);
    } else {
        request = DayRequest(date_->date());
    }
    running_ = true;
    create_->setEnabled(false);
    state_->setText(QStringLiteral("Идёт поиск квелта с одним решением..."));
    stopTimer_->start();
    stopFlag_ = std::make_shared<std::atomic<bool>>(false);
    request.stop = stopFlag_.get();
    request.threads = 0;
    auto result = std::make_shared<std::optional<GeneratedOutline>>();
    auto flag = stopFlag_;  // kept alive for the worker
    platform::services().jobs->Run(
        this, [request, result, flag] { *result = GenerateOutline(request); },
        [this, result] { Finished(std::move(*result)); });
}

void frmNewKvelt::Finished(std::optional<GeneratedOutline> outline) {
    running_ = false;
    stopTimer_->stop();
    stop_->hide();
    create_->setEnabled(true);
    if (!outline) {
        state_->clear();
        platform::Tell(QStringLiteral("Поиск квелта прерван."));
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
