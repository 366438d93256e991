// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// What the game's hint and solution commands know: which pieces lie well, a tiling of the
// outline that keeps them, and, when none does, the fewest of them to take away. Qt-free;
// used by Podskazka and ShowReshenie (src/model/Podskazka.cpp), their tests and bench_hint.
#pragma once

#include <array>
#include <vector>

#include "solver/Solver.h"

namespace kv {

// The board as a hint sees it.
struct HintPosition {
    std::vector<BoardCell> outline;           // the outline's cells
    std::array<bool, 13> inPlay{};            // [p]: the outline uses piece p
    std::array<PiecePlacement, 13> pieces{};  // [p]: where piece p stands, orientation 1..8
};

// Pieces in play that lie wholly inside the outline and overlap no other piece in play.
std::array<bool, 13> WellPlaced(const HintPosition& position);

// A tiling by every piece in play (ordered by piece number) in which each piece p with
// keep[p] lies as in position.pieces[p]. Empty when there is none: the outline holds no 5
// cells per piece in play, or more than 60 cells, a kept piece leaves the outline or
// overlaps another kept piece, or the pieces do not fit. The outline solver covers what the
// kept pieces leave with the pieces still out.
std::vector<PiecePlacement> TilingKeeping(const HintPosition& position,
                                          const std::array<bool, 13>& keep);

// Whether the piece covers the cells of its home place (orientation 1 there).
bool AtHome(const PiecePlacement& t);

struct HintPlan {
    // A tiling by every piece in play, ordered by piece number, keeping every well-placed
    // piece not in remove, and those at home only if some tiling keeps them all. Empty when
    // the outline has no tiling at all.
    std::vector<PiecePlacement> solution;
    // A smallest set of well-placed pieces away from home without which a tiling keeps the
    // rest, ascending; of several such sets the one whose lowest pieces are lowest. Empty
    // when the solution keeps every well-placed piece away from home.
    std::vector<int> remove;
};

HintPlan PlanHint(const HintPosition& position);

}  // namespace kv
