// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/Generation.h"

#include <QFileInfo>
#include <QPushButton>
#include <QRandomGenerator>

#include "editor/OwnOutline.h"
#include "paths/Paths.h"
#include "platform/Services.h"

namespace kv {

namespace {

const char* const kMonths[] = {"января", "февраля", "марта",    "апреля",  "мая",    "июня",
                               "июля",   "августа", "сентября", "октября", "ноября", "декабря"};

}  // namespace

QString DayAndMonth(const QDate& date) {
    return QStringLiteral("%1 %2")
        .arg(date.day())
        .arg(QString::fromUtf8(kMonths[date.month() - 1]));
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

GeneratorRequest RandomRequest(int pieces, int grade) {
    GeneratorRequest request;
    request.seed = QRandomGenerator::global()->generate64();
    request.grade = grade;
    request.pieces = PiecesForCount(pieces, request.seed);
    return request;
}

GenerationRun::GenerationRun(QPushButton* stop, QObject* parent) : QObject(parent), stop_(stop) {
    stop_->hide();
    timer_.setSingleShot(true);
    timer_.setInterval(kStopAfterMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (running_) stop_->show();
    });
    connect(stop_, &QPushButton::clicked, this, &GenerationRun::Stop);
}

GenerationRun::~GenerationRun() {
    Stop();
}

bool GenerationRun::Start(const GeneratorRequest& request, Done done) {
    if (running_) return false;
    running_ = true;
    done_ = std::move(done);
    request_ = request;
    request_.stop = nullptr;
    request_.threads = 0;
    stopFlag_ = std::make_shared<std::atomic<bool>>(false);
    GeneratorRequest work = request_;
    work.stop = stopFlag_.get();
    auto result = std::make_shared<std::optional<GeneratedOutline>>();
    auto flag = stopFlag_;  // kept alive for the worker
    timer_.start();
    platform::services().jobs->Run(
        this, [work, result, flag] { *result = GenerateOutline(work); },
        [this, result] { Finished(std::move(*result)); });
    return true;
}

void GenerationRun::Stop() {
    if (stopFlag_) *stopFlag_ = true;
}

void GenerationRun::Finished(std::optional<GeneratedOutline> outline) {
    running_ = false;
    timer_.stop();
    stop_->hide();
    if (!outline) {
        platform::Tell(*stopFlag_ ? QStringLiteral("Поиск квелта прерван.")
                                  : QStringLiteral("Квелт с одним решением не найден: "
                                                   "попробуйте ещё раз."));
    }
    // done may close the window that owns this object: nothing of it is touched after.
    const Done done = std::move(done_);
    done_ = nullptr;
    done(std::move(outline));
}

}  // namespace kv
