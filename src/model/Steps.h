// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// What the operations of play tell the game's history (src/play/History.h, which defines
// these): a step is done, and a move's victory test begins and ends. Declared here so that
// the model reaches nothing above it.
#pragma once

namespace kv {

// The arrangement on the board now is one more step; steps taken back are forgotten. A step
// that changed nothing, a step while a CompoundStep is open, and any step while no history
// is kept, is not kept.
void RecordStep();

// MoveFigury lets queued events run before its victory test; it brackets that with these,
// so that a command taking the list apart cannot cut into the step being finished.
void BeginFinishing();
void EndFinishing();

}  // namespace kv
