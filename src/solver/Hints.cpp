// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/Hints.h"

#include <algorithm>
#include <map>
#include <set>

#include "solver/Combinations.h"
#include "solver/PieceTable.h"
#include "solver/PlacedCells.h"

namespace kv {

namespace {

bool Orientable(const PiecePlacement& t) {
    return t.orientation >= 1 && t.orientation <= 8;
}

std::set<BoardCell> CellSet(const PiecePlacement& t) {
    std::set<BoardCell> cells;
    for (int k = 0; k < 5; ++k) cells.insert(PlacedCell(t, k));
    return cells;
}

}  // namespace

bool AtHome(const PiecePlacement& t) {
    if (!Orientable(t) || t.piece < 1 || t.piece > kPieces) return false;
    PiecePlacement home{t.piece, 1, 0, 0};
    HomeReference(t.piece, home.column, home.row);
    return CellSet(t) == CellSet(home);
}

std::array<bool, 13> WellPlaced(const HintPosition& position) {
    std::map<BoardCell, int> outline, covered;  // covered: how many pieces in play lie there
    for (const BoardCell& c : position.outline) outline[c] = 1;
    for (int p = 1; p <= kPieces; ++p) {
        if (!position.inPlay[p] || !Orientable(position.pieces[p])) continue;
        for (int k = 0; k < 5; ++k) ++covered[PlacedCell(position.pieces[p], k)];
    }
    std::array<bool, 13> well{};
    for (int p = 1; p <= kPieces; ++p) {
        if (!position.inPlay[p] || !Orientable(position.pieces[p])) continue;
        well[p] = true;
        for (int k = 0; k < 5 && well[p]; ++k) {
            const BoardCell c = PlacedCell(position.pieces[p], k);
            well[p] = outline.count(c) != 0 && covered[c] == 1;
        }
    }
    return well;
}

std::vector<PiecePlacement> TilingKeeping(const HintPosition& position,
                                          const std::array<bool, 13>& keep) {
    std::set<BoardCell> rest(position.outline.begin(), position.outline.end());
    const int inPlay =
        static_cast<int>(std::count(position.inPlay.begin() + 1, position.inPlay.end(), true));
    if (rest.size() > 60 || static_cast<int>(rest.size()) != 5 * inPlay) return {};
    std::array<bool, 13> out = position.inPlay;
    std::vector<PiecePlacement> tiling;
    for (int p = 1; p <= kPieces; ++p) {
        if (!keep[p] || !position.inPlay[p]) continue;
        const PiecePlacement& t = position.pieces[p];
        if (!Orientable(t) || t.piece != p) return {};
        for (int k = 0; k < 5; ++k) {
            if (rest.erase(PlacedCell(t, k)) == 0)
                return {};  // off the outline, or on a kept piece
        }
        out[p] = false;
        tiling.push_back(t);
    }
    const std::optional<Tiling> others =
        PentominoSolver(std::vector<BoardCell>(rest.begin(), rest.end()), out).First();
    if (!others) return {};
    tiling.insert(tiling.end(), others->begin(), others->end());
    std::sort(tiling.begin(), tiling.end(),
              [](const PiecePlacement& a, const PiecePlacement& b) { return a.piece < b.piece; });
    return tiling;
}

HintPlan PlanHint(const HintPosition& position) {
    HintPlan plan;
    const std::array<bool, 13> well = WellPlaced(position);
    plan.solution = TilingKeeping(position, well);
    if (!plan.solution.empty()) return plan;
    // Without a tiling of the bare outline no choice of pieces to take away would help.
    const std::vector<PiecePlacement> any = TilingKeeping(position, {});
    if (any.empty()) return plan;

    // Pieces waiting at home inside the outline were never placed, and sending them home
    // would move nothing: they are kept only when a tiling allows it.
    std::array<bool, 13> away = well;
    std::vector<int> placed;
    for (int p = 1; p <= kPieces; ++p) {
        away[p] = well[p] && !AtHome(position.pieces[p]);
        if (away[p]) placed.push_back(p);
    }
    if (away != well) {
        plan.solution = TilingKeeping(position, away);
        if (!plan.solution.empty()) return plan;
    }
    const int m = static_cast<int>(placed.size());
    // Smaller sets first, each size in lexicographic order, so the first set that works
    // is a smallest one with the lowest pieces.
    for (int size = 1; size < m; ++size) {
        const bool found = ForEachCombination(placed, size, [&](const std::vector<int>& pick) {
            std::array<bool, 13> keep = away;
            for (const int p : pick) keep[p] = false;
            plan.solution = TilingKeeping(position, keep);
            if (plan.solution.empty()) return false;
            plan.remove.insert(plan.remove.end(), pick.begin(), pick.end());
            return true;
        });
        if (found) return plan;
    }
    plan.solution = any;
    plan.remove = placed;
    return plan;
}

}  // namespace kv
