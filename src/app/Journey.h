// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The player's journey through the outlines: the record of the outline in play kept in the
// progress store as the player plays, its position and steps brought back when it is
// loaded again, the time and steps in the status line, solves and records, the next
// unsolved outline.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "platform/Services.h"
#include "play/Progress.h"
#include "play/ProgressStore.h"
#include "solver/Grade.h"

class QTimer;

namespace kv {

class Journey final : public QObject, public platform::VictoryPresenter, public ProgressKeeper {
  public:
    // Keeps records in store; shows victories through the presenter installed now, and
    // puts itself in its place until destroyed.
    explicit Journey(std::unique_ptr<ProgressStore> store, QObject* parent = nullptr);
    ~Journey() override;

    static Journey* Instance();
    ProgressStore& Store() override { return *store_; }
    const ProgressRecord& Record() const override { return record_; }
    const QByteArray& Key() const override { return key_; }

    // An outline was loaded and its history started afresh. restore: bring back what the
    // store keeps for it (the library, start-up, the next outline; not Continue).
    void Loaded(bool restore) override;
    // A step, an undo or a redo: the record follows, and is written soon.
    void Changed();
    // The main window active and not minimised: the clock may run.
    void SetActive(bool active);
    // «Подсказка», counted in the attempt when it did something.
    void Hint();
    // «Решение»: the outline is marked shown; no victory window.
    void Solution();
    // Writes the record now and waits for it (at exit, before another outline).
    void Flush();
    // Keeps the grade the library found for an outline of the player's own.
    void CacheGrade(const QByteArray& key, const OutlineGrade& grade) override;
    // Loads the next outline after this one in the library's order that is not solved.
    void NextUnsolved();

    // The time of the attempt under way, in milliseconds.
    std::int64_t AttemptMs() const;
    // The steps of the attempt under way.
    int Steps() const;
    // «Время 1:05 · шагов 12 · подсказок 1 · 8 из 12».
    QString StatusText() const;
    // Called whenever StatusText may have changed.
    std::function<void(const QString&)> onStatus;

    // platform::VictoryPresenter: a covered outline after a move.
    void ShowVictory() override;
    bool ShowVictoryNoted(const platform::VictoryNote& note) override;

    // How long the store waits after a step before writing: a few writes a second at most.
    static constexpr int kWriteDelayMs = 250;

  private:
    void Save();
    void Stamp();
    void Pause();
    void Resume();
    void UpdateClock();
    void Publish();
    bool Restore(const ProgressRecord& kept);
    QString SolveLine(bool newRecord) const;

    std::unique_ptr<ProgressStore> store_;
    platform::VictoryPresenter* inner_ = nullptr;
    ProgressRecord record_;
    QByteArray key_;
    bool active_ = true;
    bool running_ = false;
    QElapsedTimer clock_;
    std::size_t stepsBase_ = 0;
    bool hintPending_ = false;
    bool solutionRunning_ = false;
    bool restoring_ = false;
    bool toldTrouble_ = false;
    // The figures of the solve just made, shown until the next step: the next attempt's
    // counters start at nought at once, which would read as if nothing had been done.
    QString solvedFigures_;
    QTimer* writeTimer_ = nullptr;
    QTimer* tick_ = nullptr;
};

// Pieces in play lying wholly inside the outline, and the pieces in play.
int PiecesInOutline();
int PiecesInPlay();

}  // namespace kv
