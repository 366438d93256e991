// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The steps of play the player can take back and do again. Each entry is the arrangement
// after a step, kept as a value; the board is redrawn from it. The play operations record
// their steps, the outline loaders start the list afresh, the «Игра» menu walks it. The
// list belongs to one owner, the game's window (GameHistory); while none is alive the
// procedures below keep nothing.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <vector>

#include "model/Model.h"
#include "model/Steps.h"

namespace kv {

// Where every piece stands and which piece is current: what a position file holds, and
// CurrentPiece. The current piece is the lifted one; every other piece in play is set down.
struct Arrangement {
    int pos[kPieces + 1][2] = {};
    int orientation[kPieces + 1] = {};
    int current = 0;
    bool operator==(const Arrangement&) const = default;
};

Arrangement ArrangementNow();

// Puts an arrangement on the board through the drawing operations: the pieces that change
// (and the old and new current piece) are lifted and erased, then drawn and set down at
// their new places, the current piece lifted and drawn on top. Runs no victory test.
void ShowArrangement(const Arrangement& arrangement);
// The drawing part of it, for the pieces marked in changes only (each in play): with only a
// set piece marked and the current piece kept, that piece is moved without becoming current.
void ShowPieces(const Arrangement& arrangement, const bool changes[kPieces + 1]);

// Every piece in play home in orientation 1 and the lowest-numbered current, the rest of
// the arrangement now as it is: what «Начать заново» puts on the board.
Arrangement HomeArrangement();

// The list of steps as a value: steps[0] is the arrangement after the load, steps[index]
// the one on the board.
struct History {
    std::vector<Arrangement> steps;
    std::size_t index = 0;

    bool CanUndo() const { return index > 0; }
    bool CanRedo() const { return index + 1 < steps.size(); }
    // Forgets every step: now is as far back as an undo goes.
    void Start(const Arrangement& now);
    // now is one more step, unless it equals the one on the board or the list was never
    // started; steps taken back are forgotten. Says whether it kept it.
    bool Record(const Arrangement& now);
    bool operator==(const History&) const = default;
};

// Told whenever CanOtmena or CanPovtor may have changed.
class HistoryObserver {
  public:
    virtual void HistoryChanged() = 0;

  protected:
    ~HistoryObserver() = default;
};

// The owner of the game's history: the procedures of this file act on the most recently
// made one still alive. Made by the game's window; a test makes its own.
class GameHistory {
  public:
    explicit GameHistory(HistoryObserver* observer = nullptr);
    ~GameHistory();
    GameHistory(const GameHistory&) = delete;
    GameHistory& operator=(const GameHistory&) = delete;

    const History& Steps() const { return history_; }
    // Stops the notices, for an owner being torn down.
    void SetObserver(HistoryObserver* observer) { observer_ = observer; }

  private:
    friend struct HistoryAccess;
    History history_;
    HistoryObserver* observer_;
    int compoundDepth_ = 0;
    int finishingDepth_ = 0;
    std::deque<std::function<void()>> waiting_;
};

// Forgets every step: the arrangement on the board now is as far back as Otmena goes.
void StartHistory();

bool CanOtmena();
bool CanPovtor();
// Takes back the last step / does again the step last taken back; nothing when there is none.
// The status line says so when the board they leave covers the outline.
void Otmena();
void Povtor();
// Whether some piece in play is away from home or turned.
bool CanNachatZanovo();
// Every piece in play home in orientation 1, the lowest-numbered current: one step; nothing
// when every piece is at home already.
void NachatZanovo();

// Operations run while one is open make one step, entered at once and filled in by Close
// (dropped if nothing changed). Commands that come in meanwhile (see WhenIdle) wait until
// it is closed.
class CompoundStep {
  public:
    CompoundStep();
    ~CompoundStep();
    // Records the step.
    void Close();
    CompoundStep(const CompoundStep&) = delete;
    CompoundStep& operator=(const CompoundStep&) = delete;

  private:
    GameHistory* owner_;  // the history the step was opened in, or nullptr
    bool open_ = false;   // this step holds the entry it will fill in
    bool closed_ = false;
};

// Runs command now, or once the step being finished is done when one is.
void WhenIdle(std::function<void()> command);

// The kept steps of the current owner, oldest first, and the position of the one on the
// board (for the progress store, which keeps them across runs); empty while none is alive.
std::vector<Arrangement> HistorySteps();
std::size_t HistoryIndex();

}  // namespace kv
