// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The hint and the solution of the «Игра» menu: a tiling from the game's own search
// (solver/Hints.h), put on the board through the operations of play as one step.
#pragma once

#include "solver/Hints.h"

namespace kv {

// The board as the search sees it.
HintPosition PositionNow();

// Whether a hint or the solution has anything to do: a piece in play and the outline not
// yet covered.
bool CanPodskazka();

// One more piece to its place in a tiling that keeps every well-placed piece: the current
// piece if it is not there, else the lowest-numbered piece that is not; it becomes the
// current piece, is turned and moved there (the move runs the victory test), and pieces
// lying in its way go home, or to their own places when home is in the way too. When no
// tiling keeps the well-placed pieces, the lowest-numbered of a smallest set of them to take
// away goes home instead. The status line says which; and why nothing moved on a covered
// outline or one that has no tiling.
void Podskazka();

// Every piece in play to its place in that tiling, or, when none keeps the well-placed
// pieces, in one keeping as many as can be kept; then the victory test. The status line
// says which pieces lay wrongly, or why nothing moved.
void ShowReshenie();

}  // namespace kv
