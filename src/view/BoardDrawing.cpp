// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/BoardDrawing.h"

#include <cstring>

#include "model/Operations.h"
#include "platform/SystemColors.h"

namespace kv {

int CellSize = 0;
int BoardPixelWidth = 0;
int BoardPixelHeight = 0;
Canvas* BoardCanvas = nullptr;
QImage HandStrip;

void SetCellSize(int clientHeight) {
    CellSize = clientHeight / 24;
    BoardPixelWidth = CellSize * 35 + 1;
    BoardPixelHeight = CellSize * 24 + 1;
}

void FillCellInterior(int c, int r, Colour colour) {
    if (BoardCanvas) FillCellInterior(*BoardCanvas, c, r, colour);
}

void FillCellInterior(Canvas& canvas, int c, int r, Colour colour) {
    const int x = c * CellSize;
    const int y = r * CellSize;
    canvas.FillRect(x + 1, y + 1, x + CellSize - 1, y + CellSize - 1, colour);
}

void DrawGrid(Canvas& canvas) {
    canvas.SetBackground(platform::COLOR_BTNFACE);
    canvas.Clear();
    for (int i = 0; i <= 35; ++i) {
        canvas.Line(i * CellSize, 0, i * CellSize, BoardPixelHeight, platform::COLOR_APPWORKSPACE);
    }
    for (int j = 0; j <= 24; ++j) {
        canvas.Line(0, j * CellSize, BoardPixelWidth, j * CellSize, platform::COLOR_APPWORKSPACE);
    }
}

void PaintHandMarker(int c, int r, int p) {
    if (!BoardCanvas || CellSize < 2) return;
    BoardCanvas->StretchCopy(QRect(c * CellSize + 1, r * CellSize + 1, CellSize - 1, CellSize - 1),
                             HandStrip, QRect((p - 1) * 17, 0, 16, HandStrip.height()));
}

void NewPole() {
    std::memset(BoardCells, 0, sizeof BoardCells);
    if (BoardCanvas) DrawGrid(*BoardCanvas);
}

void ShowFigury(short mode) {
    const int p = CurrentPiece;
    const int x = PiecePos[p][0];
    const int y = PiecePos[p][1];
    const int o = PieceOrientation[p];
    for (int k = 0; k < 5; ++k) {
        const int c = x + PieceCells[p][k][o][0];
        const int r = y + PieceCells[p][k][o][1];
        Colour colour = PieceColor[p];
        if (mode == 0) {
            // Restore what lies under the current piece.
            const int under = OnBoard(c, r) ? BoardCells[c][r] : 0;
            if (under != 0) {
                colour = under >= 1 && under <= kPieces ? PieceColor[under] : 0x808080;
            } else if (OnBoard(c, r) && OutlineCells[c][r] != 0) {
                colour = 0;
            } else {
                colour = platform::COLOR_BTNFACE;
            }
        }
        FillCellInterior(c, r, colour);
    }
    if (mode != 0) PaintHandMarker(x, y, p);
}

void ShowAllFigury() {
    for (CurrentPiece = 1; CurrentPiece <= kPieces; ++CurrentPiece) {
        const int p = CurrentPiece;
        if (PieceExcluded[p] != 0) continue;
        for (int k = 0; k < 5; ++k) FillCellInterior(PieceCellColumn(p, k), PieceCellRow(p, k), PieceColor[p]);
        UstanovkaFigury(+1);
    }
}

}  // namespace kv
