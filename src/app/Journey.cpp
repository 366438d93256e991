// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Journey.h"

#include <QDate>
#include <QDateTime>
#include <QTimer>
#include <algorithm>

#include "model/Model.h"
#include "model/Operations.h"
#include "outlines/ListDialog.h"
#include "outlines/Outline.h"
#include "play/History.h"
#include "play/Podskazka.h"
#include "positions/Positions.h"

namespace kv {

namespace {

Journey* gJourney = nullptr;

KeptArrangement Keep(const Arrangement& a) {
    KeptArrangement k;
    k.current = a.current;
    for (int p = 1; p <= kPieces; ++p) {
        k.place[p][0] = a.pos[p][0];
        k.place[p][1] = a.pos[p][1];
        k.place[p][2] = a.orientation[p];
    }
    return k;
}

// The arrangement on the board now with the kept places of the pieces in play; nullopt when
// one of them would leave the board (the outline is not the one the record was made on).
std::optional<Arrangement> Unkeep(const KeptArrangement& k) {
    Arrangement a = ArrangementNow();
    if (k.current < 1 || k.current > kPieces || PieceExcluded[k.current] == 1) return std::nullopt;
    a.current = k.current;
    for (int p = 1; p <= kPieces; ++p) {
        if (PieceExcluded[p] == 1) continue;
        const int o = k.place[p][2];
        if (o < 1 || o > 8) return std::nullopt;
        if (!PlacedPieceOnBoard(p, o, k.place[p][0], k.place[p][1])) return std::nullopt;
        a.pos[p][0] = k.place[p][0];
        a.pos[p][1] = k.place[p][1];
        a.orientation[p] = o;
    }
    return a;
}

QByteArray BoardKey() {
    if (OutlineLoaded <= 0) return {};
    return OutlineKey(OutlineCellList, OutlineLastCell + 1, PieceExcluded);
}

QByteArray Today() {
    return QDate::currentDate().toString(Qt::ISODate).toLatin1();
}

}  // namespace

int PiecesInPlay() {
    int n = 0;
    for (int p = 1; p <= kPieces; ++p) n += PieceExcluded[p] != 1;
    return n;
}

int PiecesInOutline() {
    int n = 0;
    for (int p = 1; p <= kPieces; ++p) {
        if (PieceExcluded[p] == 1) continue;
        bool inside = true;
        for (int k = 0; k < 5 && inside; ++k) {
            const int c = PieceCellColumn(p, k);
            const int r = PieceCellRow(p, k);
            inside = OnBoard(c, r) && OutlineCells[c][r] != 0;
        }
        n += inside;
    }
    return n;
}

Journey::Journey(std::unique_ptr<ProgressStore> store, QObject* parent)
    : QObject(parent), store_(std::move(store)) {
    gJourney = this;
    SetProgress(this);
    inner_ = platform::services().victory;
    platform::services().victory = this;
    // The writer thread reports here, once per run: the player needs to hear it only once.
    store_->onTrouble = [this](const QString& why) {
        QMetaObject::invokeMethod(
            this,
            [this, why] {
                if (toldTrouble_) return;
                toldTrouble_ = true;
                platform::Tell(why);
            },
            Qt::QueuedConnection);
    };
    writeTimer_ = new QTimer(this);
    writeTimer_->setSingleShot(true);
    writeTimer_->setInterval(kWriteDelayMs);
    connect(writeTimer_, &QTimer::timeout, this, [this] { Save(); });
    tick_ = new QTimer(this);
    tick_->setInterval(1000);
    connect(tick_, &QTimer::timeout, this, [this] { Publish(); });
}

Journey::~Journey() {
    Flush();
    store_->onTrouble = nullptr;
    if (platform::services().victory == this) platform::services().victory = inner_;
    if (gJourney == this) gJourney = nullptr;
    if (Progress() == this) SetProgress(nullptr);
}

Journey* Journey::Instance() {
    return gJourney;
}

std::int64_t Journey::AttemptMs() const {
    return record_.attemptMs + (running_ ? clock_.elapsed() : 0);
}

int Journey::Steps() const {
    const std::size_t index = HistoryIndex();
    return index > stepsBase_ ? static_cast<int>(index - stepsBase_) : 0;
}

QString Journey::StatusText() const {
    if (key_.isEmpty()) return {};
    if (!solvedFigures_.isEmpty()) {
        return QStringLiteral("Собран: %1 · %2 из %3")
            .arg(solvedFigures_)
            .arg(PiecesInOutline())
            .arg(PiecesInPlay());
    }
    return QStringLiteral("Время %1 · шагов %2 · подсказок %3 · %4 из %5")
        .arg(FormatDuration(AttemptMs()))
        .arg(Steps())
        .arg(record_.attemptHints)
        .arg(PiecesInOutline())
        .arg(PiecesInPlay());
}

void Journey::Publish() {
    if (onStatus) onStatus(StatusText());
}

void Journey::Pause() {
    if (!running_) return;
    const std::int64_t ms = clock_.elapsed();
    record_.attemptMs += ms;
    record_.totalMs += ms;
    running_ = false;
    tick_->stop();
}

void Journey::Resume() {
    if (running_) return;
    running_ = true;
    clock_.start();
    tick_->start();
}

void Journey::UpdateClock() {
    // The time of an outline being solved: not while the window is away, nor once covered.
    const bool run = active_ && !key_.isEmpty() && !OutlineCovered();
    if (run) {
        Resume();
    } else {
        Pause();
    }
}

void Journey::SetActive(bool active) {
    active_ = active;
    UpdateClock();
    // What was played is written when the player leaves the window.
    if (!active && !key_.isEmpty()) Save();
    Publish();
}

void Journey::Stamp() {
    record_.lastPlayed = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toLatin1();
    if (record_.lastPlayed.size() == 19) record_.lastPlayed += 'Z';
}

void Journey::Save() {
    if (key_.isEmpty()) return;
    writeTimer_->stop();
    if (running_) {
        // The time so far goes into the record; the clock goes on from here.
        Pause();
        Resume();
    }
    store_->Save(record_);
}

void Journey::Flush() {
    Save();
    store_->Flush();
}

void Journey::Loaded(bool restore) {
    // What was played on the outline before is written first.
    if (!key_.isEmpty()) {
        Pause();
        Save();
    }
    key_ = BoardKey();
    record_ = ProgressRecord();
    stepsBase_ = 0;
    solvedFigures_.clear();
    if (key_.isEmpty()) {
        Publish();
        return;
    }
    record_.key = key_;
    if (std::optional<ProgressRecord> kept = store_->Load(key_)) record_ = std::move(*kept);
    if (restore && !record_.history.empty()) {
        if (Restore(record_)) {
            platform::Tell(QStringLiteral("Положение восстановлено: шагов %1").arg(HistoryIndex()));
        } else {
            // Kept for another outline of the same cells, or damaged: a fresh start.
            record_.history.clear();
            record_.historyIndex = 0;
        }
    }
    if (!restore) {
        // Continue brings a position of its own: a new attempt from it.
        record_.history.clear();
        record_.historyIndex = 0;
    }
    UpdateClock();
    Publish();
}

bool Journey::Restore(const ProgressRecord& kept) {
    std::vector<Arrangement> list;
    for (const KeptArrangement& k : kept.history) {
        std::optional<Arrangement> a = Unkeep(k);
        if (!a) return false;
        list.push_back(*a);
    }
    if (list.empty() || kept.historyIndex >= static_cast<int>(list.size())) return false;
    // Through the history's own operations: the steps are made again, then taken back to
    // the one that was on the board.
    restoring_ = true;
    ShowArrangement(list[0]);
    StartHistory();
    for (std::size_t k = 1; k < list.size(); ++k) {
        ShowArrangement(list[k]);
        RecordStep();
    }
    for (std::size_t k = list.size() - 1; k > static_cast<std::size_t>(kept.historyIndex); --k) {
        Otmena();
    }
    restoring_ = false;
    return true;
}

void Journey::Changed() {
    if (restoring_ || key_.isEmpty()) return;
    // A load notifies before Loaded runs: the board already holds another outline.
    if (BoardKey() != key_) return;
    solvedFigures_.clear();
    // Taken back past a solve: the new attempt counts from the step it went back to.
    stepsBase_ = std::min(stepsBase_, HistoryIndex());
    const bool covered = OutlineCovered();
    const std::vector<Arrangement> steps = HistorySteps();
    record_.history.clear();
    record_.historyIndex = 0;
    // A covered outline keeps no position; neither does one with nothing moved yet.
    if (!covered && steps.size() > 1) {
        record_.history.reserve(steps.size());
        for (const Arrangement& a : steps) record_.history.push_back(Keep(a));
        record_.historyIndex = static_cast<int>(HistoryIndex());
        if (record_.state == OutlineState::NotStarted) record_.state = OutlineState::InProgress;
    }
    Stamp();
    UpdateClock();
    Publish();
    if (!writeTimer_->isActive()) writeTimer_->start();
}

void Journey::Hint() {
    const Arrangement before = ArrangementNow();
    hintPending_ = true;
    Podskazka();
    // A hint that finished the outline was counted by the victory already.
    if (hintPending_ && !(ArrangementNow() == before)) ++record_.attemptHints;
    hintPending_ = false;
    Publish();
}

void Journey::Solution() {
    solutionRunning_ = true;
    ShowReshenie();
    solutionRunning_ = false;
}

QString Journey::SolveLine(bool newRecord) const {
    return QStringLiteral("Время %1, шагов %2, подсказок %3%4")
        .arg(FormatDuration(record_.attemptMs))
        .arg(Steps())
        .arg(record_.attemptHints)
        .arg(newRecord ? QStringLiteral(" — новый рекорд") : QString());
}

void Journey::ShowVictory() {
    ShowVictoryNoted({});
}

bool Journey::ShowVictoryNoted(const platform::VictoryNote&) {
    if (key_.isEmpty() || BoardKey() != key_) return inner_ && inner_->ShowVictoryNoted({});
    Pause();
    if (hintPending_) {
        ++record_.attemptHints;
        hintPending_ = false;
    }
    if (solutionRunning_ || record_.attemptShown) {
        // Shown, not solved: no celebration and no best.
        record_.attemptShown = true;
        record_.state = std::max(record_.state, OutlineState::Shown);
        record_.history.clear();
        record_.historyIndex = 0;
        Stamp();
        Save();
        Publish();
        if (solutionRunning_) return false;
        platform::Tell(QStringLiteral("Квелт собран, но решение было показано: не в зачёт"));
        return false;
    }
    const std::int64_t ms = record_.attemptMs;
    const int steps = Steps();
    const bool hadBest = record_.bestMs >= 0;
    const bool newRecord = hadBest && (ms < record_.bestMs || steps < record_.bestSteps);
    if (!hadBest || ms < record_.bestMs) {
        record_.bestMs = ms;
        record_.bestHints = record_.attemptHints;
    }
    if (!hadBest || steps < record_.bestSteps) record_.bestSteps = steps;
    record_.state = std::max(record_.state, record_.attemptHints > 0 ? OutlineState::SolvedWithHints
                                                                     : OutlineState::SolvedAlone);
    if (record_.firstSolved.isEmpty()) record_.firstSolved = Today();
    record_.lastSolved = Today();
    const QString line = SolveLine(newRecord);
    solvedFigures_ = QStringLiteral("время %1 · шагов %2 · подсказок %3")
                         .arg(FormatDuration(ms))
                         .arg(steps)
                         .arg(record_.attemptHints);
    // The next attempt starts from here.
    record_.attemptMs = 0;
    record_.attemptHints = 0;
    record_.history.clear();
    record_.historyIndex = 0;
    stepsBase_ = HistoryIndex();
    Stamp();
    Save();
    Publish();
    const bool next = inner_ && inner_->ShowVictoryNoted({line, true});
    // After the move that won is finished, so that the new outline does not cut into it.
    if (next) WhenIdle([this] { NextUnsolved(); });
    return next;
}

void Journey::CacheGrade(const QByteArray& key, const OutlineGrade& grade) {
    // Grade 0, no tiling, is kept too: it costs the solver as much as any to find again.
    if (key.isEmpty()) return;
    ProgressRecord r = key == key_ ? record_ : store_->Load(key).value_or(NewRecord(key));
    r.graded = true;
    r.grade = grade.grade;
    r.tilings = grade.tilings;
    r.tilingsCapped = grade.tilingsCapped;
    if (key == key_) record_ = r;
    store_->Save(r);
}

void Journey::NextUnsolved() {
    const std::vector<LibraryOutline> list = LibraryOutlines();
    if (list.empty()) {
        platform::Tell(QStringLiteral("Список квелтов пуст"));
        return;
    }
    const QHash<QByteArray, ProgressRecord> records = store_->LoadAll();
    const auto solved = [&](const LibraryOutline& o) {
        if (o.damaged) return true;
        if (o.key == key_) return record_.Solved();
        const auto r = records.constFind(o.key);
        return r != records.cend() && r->Solved();
    };
    const auto here = std::find_if(list.begin(), list.end(),
                                   [](const LibraryOutline& o) { return o.path == OutlinePath; });
    // From the top when the outline on the board is not in the library.
    const std::size_t start =
        here == list.end() ? list.size() - 1 : std::size_t(here - list.begin());
    for (std::size_t k = 1; k <= list.size(); ++k) {
        const LibraryOutline& o = list[(start + k) % list.size()];
        if (solved(o) || (!key_.isEmpty() && o.key == key_)) continue;
        // Another outline: the position file of the game before is no longer its file.
        if (PlayKvelt(o.path)) PositionPath.clear();
        return;
    }
    platform::Tell(QStringLiteral("Все квелты собраны: нерешённых не осталось"));
}

}  // namespace kv
