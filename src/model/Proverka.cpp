// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Model.h"
#include "model/Operations.h"

namespace kv {

bool Proverka() {
    const int p = CurrentPiece;
    for (int k = 0; k < 5; ++k) {
        const int c = PieceCellColumn(p, k);
        const int r = PieceCellRow(p, k);
        if (!OnBoard(c, r)) continue;
        const int v = BoardCells[c][r];
        if (v > 0 && v < 13) return true;
    }
    return false;
}

}  // namespace kv
