// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Placing, moving and turning pieces, the overlap test and the victory test.
#pragma once

#include <QString>

namespace kv {

// Gives the current piece a new orientation 1..8, kept wholly on the board.
void Povorot(int orientation);

// The turns the player asks for without the palette, as seen on the screen.
enum class Turn { Clockwise, Anticlockwise, Mirror };
// The orientation the eight transforms give piece p in orientation o after the turn.
int TurnedOrientation(int p, int o, Turn turn);
// What a turn of the current piece would refuse, or empty: the X has one shape, the I only
// lies or stands.
QString TurnRefusal(Turn turn);
// Turns the current piece as Povorot does, one step of its own, then runs the victory test:
// a turn into place wins as a move does. Refused turns tell the player why.
void Povernut(Turn turn);
// Reference cell of piece p (1..12) at its home position, in orientation 1.
void HomePlace(int p, int& column, int& row);
// Sends every piece in play home, in orientation 1. Draws nothing.
void FiguryPoMestam();
// Sets the current piece down (+1) or lifts it (-1).
void UstanovkaFigury(int direction);
// Makes set piece p the current piece: the old one set down where it lies, p lifted. No step.
void MakeCurrent(int p);
// True when the current piece overlaps a set piece.
bool Proverka();
// Moves the current piece's reference cell to (column, row) if the piece stays on the
// board, then runs the victory test.
void MoveFigury(int column, int row);
// The first half of MoveFigury: moves and redraws the current piece if it stays on the
// board, and says whether it did. No step, no yield, no victory test.
bool ShiftFigury(int column, int row);
// The end of an accepted move: the window catches up once, then the victory test.
void FinishMove();
// True when every piece in play lies inside the outline and no two overlap.
bool OutlineCovered();

}  // namespace kv
