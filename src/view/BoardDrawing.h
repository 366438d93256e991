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

// Layout values, set from the main window's client size at start-up and on every resize.
extern int CellSize;          // pixels per cell, one grid line included
extern int BoardPixelWidth;   // CellSize*35 + 1
extern int BoardPixelHeight;  // CellSize*24 + 1

// The board picture's backing image (picPole) and the hand strip held by Ruka.
extern Canvas* BoardCanvas;
extern QImage HandStrip;

// Computes CellSize, BoardPixelWidth and BoardPixelHeight for a client height, and no
// larger than a client width allows.
void SetCellSize(int clientHeight, int clientWidth = 1 << 30);
// The cell under board pixel (x, y), false on the closing grid lines and off the board.
bool CellAt(int x, int y, int& c, int& r);

// Fills the interior of cell (c, r), the square between its grid lines.
void FillCellInterior(int c, int r, Colour colour);
// The same on another picture drawn as the board is (the outline editor's grid).
void FillCellInterior(Canvas& canvas, int c, int r, Colour colour);
// Clears canvas to the board background and draws the bare grid at CellSize.
void DrawGrid(Canvas& canvas);
// The same two at cell pixels a cell, for a grid that follows a window of its own.
void FillCellInterior(Canvas& canvas, int cell, int c, int r, Colour colour);
void DrawGrid(Canvas& canvas, int cell);
// Marks cell (c, r) with hand tile p: at the designed cell size or below the strip's left
// 16 pixels, stretched; at larger sizes the hand drawn anew at the cell's device size.
void PaintHandMarker(int c, int r, int p);
// The hand of piece p drawn on a square of size device pixels.
QImage DrawnHand(int p, int size);

// Re-creates BoardCells empty and draws the bare grid.
void NewPole();
// Draws (mode != 0) or erases (mode 0) the current piece.
void ShowFigury(short mode);
// Draws every piece in play and sets it down; leaves CurrentPiece at 13.
void ShowAllFigury();

}  // namespace kv
