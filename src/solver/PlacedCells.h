// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The board cells of a placed piece, from the constant piece table: the solver, the hint
// planner, the hint and the editor's solution all read a placement the same way.
#pragma once

#include <algorithm>
#include <vector>

#include "solver/PieceTable.h"
#include "solver/Solver.h"

namespace kv {

// Cell k (0..4) of the piece where t puts it.
constexpr BoardCell PlacedCell(const PiecePlacement& t, int k) {
    return {t.column + kPieceTable.cells[t.piece][k][t.orientation][0],
            t.row + kPieceTable.cells[t.piece][k][t.orientation][1]};
}

// The five cells, sorted, so that two placements compare as sets of cells.
inline std::vector<BoardCell> SortedPlacedCells(const PiecePlacement& t) {
    std::vector<BoardCell> cells;
    for (int k = 0; k < 5; ++k) cells.push_back(PlacedCell(t, k));
    std::sort(cells.begin(), cells.end());
    return cells;
}

}  // namespace kv
