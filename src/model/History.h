// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The steps of play the player can take back and do again. Each entry is the arrangement
// after a step, kept as a value; the board is redrawn from it. The play operations record
// their steps, the outline loaders start the list afresh, the «Игра» menu walks it.
#pragma once

#include <functional>
#include <vector>

#include "model/Model.h"

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

// Forgets every step: the arrangement on the board now is as far back as Otmena goes.
void StartHistory();
// The arrangement on the board now is one more step; steps taken back are forgotten. A step
// that changed nothing, and any step before StartHistory, is not kept. moved: the step ended
// with a move (undo and redo treat every step alike: neither runs the victory test).
void RecordStep(bool moved);

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
    // Records the step; moved as for RecordStep.
    void Close(bool moved);
    CompoundStep(const CompoundStep&) = delete;
    CompoundStep& operator=(const CompoundStep&) = delete;

  private:
    bool open_ = false;  // this step holds the entry it will fill in
    bool closed_ = false;
};

// MoveFigury lets queued events run before its victory test; it brackets that with these,
// so that a command taking the list apart cannot cut into the step being finished.
void BeginFinishing();
void EndFinishing();
// Runs command now, or once the step being finished is done when one is.
void WhenIdle(std::function<void()> command);

// Called whenever CanOtmena or CanPovtor may have changed.
extern std::function<void()> HistoryChanged;

// The kept steps, oldest first, and the position of the one on the board (for the
// progress store, which keeps them across runs).
std::vector<Arrangement> HistorySteps();
std::size_t HistoryIndex();

// Forgets the steps and drops waiting commands (for a fresh start in tests).
void ResetHistory();

}  // namespace kv
