// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Model.h"
#include "model/Operations.h"
#include "view/BoardDrawing.h"

namespace kv {

void UstanovkaFigury(int direction) {
    const int p = CurrentPiece;
    if (p < 1 || p > kPieces) return;
    const int c0 = PiecePos[p][0];
    const int r0 = PiecePos[p][1];
    if (direction == 1) {
        FillCellInterior(c0, r0, PieceColor[p]);  // removes the hand marker
    } else {
        PaintHandMarker(c0, r0, p);
    }
    for (int k = 0; k < 5; ++k) {
        const int c = PieceCellColumn(p, k);
        const int r = PieceCellRow(p, k);
        if (OnBoard(c, r)) BoardCells[c][r] += direction * p;
    }
}

void MakeCurrent(int p) {
    UstanovkaFigury(+1);
    CurrentPiece = p;
    UstanovkaFigury(-1);
}

}  // namespace kv
