// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/History.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "view/BoardDrawing.h"

namespace kv {

void Povorot(int orientation) {
    ShowFigury(0);
    const int p = CurrentPiece;
    PieceOrientation[p] = orientation;
    // Every offset lies within -2..2, so these bounds keep any orientation on the board.
    int& column = PiecePos[p][0];
    int& row = PiecePos[p][1];
    if (column < 2) {
        column = 2;
    } else if (column > 32) {
        column = 32;
    }
    if (row < 2) {
        row = 2;
    } else if (row > 21) {
        row = 21;
    }
    ShowFigury(-1);
    RecordStep(false);
}

}  // namespace kv
