// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Model.h"
#include "model/Operations.h"

namespace kv {

void HomePlace(int p, int& column, int& row) {
    HomeReference(p, column, row);
}

void FiguryPoMestam() {
    for (int p = 1; p <= kPieces; ++p) {
        if (PieceExcluded[p] != 0) continue;
        PieceOrientation[p] = 1;
        HomePlace(p, PiecePos[p][0], PiecePos[p][1]);
    }
}

}  // namespace kv
