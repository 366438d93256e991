// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The hint and the solution of the «Игра» menu: a tiling from the game's own search
// (outlines/Hints.h), put on the board through the operations of play as one step.
#pragma once

#include "outlines/Hints.h"

namespace kv {

// The board as the search sees it.
HintPosition PositionNow();

// One more piece to its place in a tiling that keeps every well-placed piece: the current
// piece if it is not there, else the lowest-numbered piece that is not; it becomes the
// current piece, is turned and moved there (the move runs the victory test), and pieces
// lying in its way go home. When no tiling keeps the well-placed pieces, the lowest-numbered
// of a smallest set of them to take away goes home instead. Nothing on a covered outline or
// one that has no tiling.
void Podskazka();

// Every piece in play to its place in that tiling, or, when none keeps the well-placed
// pieces, in one keeping as many as can be kept; then the victory test. Nothing on a
// covered outline or one that has no tiling.
void ShowReshenie();

}  // namespace kv
