// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/BoardDrawing.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "model/Operations.h"
#include "platform/SystemColors.h"

namespace kv {

int CellSize = 0;
int BoardPixelWidth = 0;
int BoardPixelHeight = 0;
Canvas* BoardCanvas = nullptr;
QImage HandStrip;

void SetCellSize(int clientHeight, int clientWidth) {
    CellSize = std::max(0, std::min(clientHeight / 24, (clientWidth - 1) / 35));
    BoardPixelWidth = CellSize * 35 + 1;
    BoardPixelHeight = CellSize * 24 + 1;
}

bool CellAt(int x, int y, int& c, int& r) {
    if (CellSize <= 0 || x < 0 || y < 0) return false;
    c = x / CellSize;
    r = y / CellSize;
    return c < kColumns && r < kRows;
}

void FillCellInterior(int c, int r, Colour colour) {
    if (BoardCanvas) FillCellInterior(*BoardCanvas, c, r, colour);
}

void FillCellInterior(Canvas& canvas, int c, int r, Colour colour) {
    FillCellInterior(canvas, CellSize, c, r, colour);
}

void FillCellInterior(Canvas& canvas, int cell, int c, int r, Colour colour) {
    const int x = c * cell;
    const int y = r * cell;
    canvas.FillRect(x + 1, y + 1, x + cell - 1, y + cell - 1, colour);
}

void DrawGrid(Canvas& canvas) {
    DrawGrid(canvas, CellSize);
}

void DrawGrid(Canvas& canvas, int cell) {
    const int width = cell * kColumns + 1;
    const int height = cell * kRows + 1;
    canvas.SetGrid(cell, kColumns, kRows);
    canvas.SetBackground(platform::COLOR_BTNFACE);
    canvas.Clear();
    for (int i = 0; i <= 35; ++i) {
        canvas.Line(i * cell, 0, i * cell, height, platform::COLOR_APPWORKSPACE);
    }
    for (int j = 0; j <= 24; ++j) {
        canvas.Line(0, j * cell, width, j * cell, platform::COLOR_APPWORKSPACE);
    }
}

void PaintHandMarker(int c, int r, int p) {
    if (!BoardCanvas || CellSize < 2) return;
    const QRect interior(c * CellSize + 1, r * CellSize + 1, CellSize - 1, CellSize - 1);
    const QRect device = BoardCanvas->DeviceRect(interior);
    if (device.width() <= 18 || p < 1 || p > kPieces) {
        BoardCanvas->StretchCopy(interior, HandStrip,
                                 QRect((p - 1) * 17, 0, 16, HandStrip.height()));
        return;
    }
    // Drawn once per size: a resize draws twelve, a move only copies.
    static std::array<QImage, kPieces + 1> tiles;
    static int tileSize = 0;
    if (tileSize != device.width()) {
        tileSize = device.width();
        for (QImage& tile : tiles) tile = QImage();
    }
    if (tiles[p].isNull()) tiles[p] = DrawnHand(p, tileSize);
    BoardCanvas->DeviceCopy(interior, tiles[p]);
}

QImage DrawnHand(int p, int size) {
    // The strip's hand, 16 x 17 units: fingers, palm, thumb and four corner pixels cut off.
    struct Part {
        int x1, y1, x2, y2;
    };
    static constexpr Part kParts[] = {{3, 3, 5, 9},   {6, 1, 8, 9},  {9, 2, 11, 9}, {12, 4, 14, 9},
                                      {3, 8, 14, 15}, {0, 7, 2, 11}, {1, 12, 3, 13}};
    static constexpr QPoint kCut[] = {{3, 15}, {14, 15}, {0, 7}, {0, 11}};
    QImage tile(size, size, QImage::Format_RGB32);
    tile.fill(platform::ToRgb(PieceColor[p]));
    if (size <= 0) return tile;
    const auto inside = [size](int i, int j) {
        if (i < 0 || j < 0 || i >= size || j >= size) return false;
        const double u = (i + 0.5) * 16 / size;
        const double v = (j + 0.5) * 17 / size;
        for (const QPoint& cut : kCut) {
            if (static_cast<int>(u) == cut.x() && static_cast<int>(v) == cut.y()) return false;
        }
        for (const Part& part : kParts) {
            if (u >= part.x1 && u < part.x2 + 1 && v >= part.y1 && v < part.y2 + 1) return true;
        }
        return false;
    };
    // The outline and the clefts between the fingers keep one width, as a drawn line would.
    const int w = std::max(1, qRound(size / 18.0));
    for (int j = 0; j < size; ++j) {
        for (int i = 0; i < size; ++i) {
            if (!inside(i, j)) continue;
            bool edge = false;
            for (int k = 1; k <= w && !edge; ++k) {
                edge = !inside(i + k, j) || !inside(i - k, j) || !inside(i, j + k) ||
                       !inside(i, j - k);
            }
            if ((j + 0.5) * 17 / size < 9) {
                for (int finger : {6, 9, 12}) {
                    const int x = qRound(finger * size / 16.0);
                    edge = edge || (i >= x && i < x + w);
                }
            }
            tile.setPixel(i, j, edge ? 0xFF000000u : 0xFFFFFFFFu);
        }
    }
    return tile;
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
    for (const auto& [c, r] : PlacedPieceCells(p, o, x, y)) {
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
        for (int k = 0; k < 5; ++k)
            FillCellInterior(PieceCellColumn(p, k), PieceCellRow(p, k), PieceColor[p]);
        UstanovkaFigury(+1);
    }
}

}  // namespace kv
