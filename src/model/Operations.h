// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Placing, moving and turning pieces, the overlap test and the victory test.
#pragma once

namespace kv {

// Gives the current piece a new orientation 1..8, kept wholly on the board.
void Povorot(int orientation);
// Reference cell of piece p (1..12) at its home position, in orientation 1.
void HomePlace(int p, int& column, int& row);
// Sends every piece in play home, in orientation 1. Draws nothing.
void FiguryPoMestam();
// Sets the current piece down (+1) or lifts it (-1).
void UstanovkaFigury(int direction);
// True when the current piece overlaps a set piece.
bool Proverka();
// Moves the current piece's reference cell to (column, row) if the piece stays on the
// board, then runs the victory test.
void MoveFigury(int column, int row);
// True when every piece in play lies inside the outline and no two overlap.
bool OutlineCovered();

}  // namespace kv
