// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Drawing on the board picture: the empty grid, the current piece and all pieces at once.
// The board keeps what is drawn; every change is drawn where it happens.
#pragma once

#include <QImage>

#include "model/Model.h"
#include "view/Canvas.h"

namespace kv {

// Layout values, set once at start-up from the main window's client height.
extern int CellSize;          // pixels per cell, one grid line included
extern int BoardPixelWidth;   // CellSize*35 + 1
extern int BoardPixelHeight;  // CellSize*24 + 1

// The board picture's backing image (picPole) and the hand strip held by Ruka.
extern Canvas* BoardCanvas;
extern QImage HandStrip;

// Computes CellSize, BoardPixelWidth and BoardPixelHeight for a client height.
void SetCellSize(int clientHeight);

// Fills the interior of cell (c, r), the square between its grid lines.
void FillCellInterior(int c, int r, Colour colour);
// The same on another picture drawn as the board is (the outline editor's grid).
void FillCellInterior(Canvas& canvas, int c, int r, Colour colour);
// Clears canvas to the board background and draws the bare grid at CellSize.
void DrawGrid(Canvas& canvas);
// Copies the left 16 pixels of hand tile p, stretched, into the interior of cell (c, r).
void PaintHandMarker(int c, int r, int p);

// Re-creates BoardCells empty and draws the bare grid.
void NewPole();
// Draws (mode != 0) or erases (mode 0) the current piece.
void ShowFigury(short mode);
// Draws every piece in play and sets it down; leaves CurrentPiece at 13.
void ShowAllFigury();

}  // namespace kv
