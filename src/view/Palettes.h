// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The two pop-up palettes over the board: pieces (picVyborFigury) and orientations
// (picPovorot).
#pragma once

class QRect;
#include <QString>

namespace kv {

class PictureBox;

// A palette measure designed for cells of 19 pixels, at the board's CellSize: in proportion,
// to the nearest whole pixel (19 is odd, so there is never a tie).
int PaletteScaled(int designed);
// Sizes and places both palettes over board, the board picture's rectangle in the client
// area: centred over it, at the designed geometry when CellSize is 19.
void PlacePalettes(const QRect& board);

// Hooks the palettes' events up; the board gets the focus back when one closes.
void ConnectPalettes(PictureBox* pieces, PictureBox* orientations, PictureBox* board);
// Closes whichever palette is open; the board gets the focus back.
void ClosePalettes();
// Opens the piece palette.
void VyborFigury();
// Toggles piece 2, or opens the orientation palette for pieces 3..12.
void VyborPovorota();

// What the player can do next with the current piece, for the status line.
QString PieceGuidance();
// Why the current piece cannot be exchanged now; empty when it can.
QString PickRefusal();
// The board's accessible description: the current piece and where it lies.
QString BoardDescription();
// Tells the guidance and describes the board afresh, after a change of the current piece.
void GuideOnBoard();

}  // namespace kv
