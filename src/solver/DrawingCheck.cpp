// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/DrawingCheck.h"

#include <array>
#include <numeric>

#include "solver/Combinations.h"

namespace kv {

namespace {

bool Stopped(const std::atomic<bool>* stop) {
    return stop && stop->load();
}

}  // namespace

DrawingCheck CheckDrawing(const std::vector<BoardCell>& cells, const std::atomic<bool>* stop) {
    DrawingCheck check = FindCoveringSets(cells, stop);
    CountSet(cells, check, 0, stop);
    return check;
}

void CountSet(const std::vector<BoardCell>& cells, DrawingCheck& check, std::size_t set,
              const std::atomic<bool>* stop) {
    if (check.stopped || set >= check.leftOut.size()) return;
    std::array<bool, 13> available{};
    for (int p = 1; p <= kPieces; ++p) available[static_cast<std::size_t>(p)] = true;
    for (const int p : check.leftOut[set]) available[static_cast<std::size_t>(p)] = false;
    PentominoSolver solver(cells, available);
    solver.SetStop(stop);
    // Every core: a round 60-cell drawing takes seconds to count on one.
    const std::uint64_t count = solver.Count(0).upToSymmetry;
    // A count cut short is too low: it must not be shown.
    if (Stopped(stop)) {
        check.stopped = true;
    } else {
        check.counts[set] = count;
    }
}

DrawingCheck FindCoveringSets(const std::vector<BoardCell>& cells, const std::atomic<bool>* stop) {
    DrawingCheck check;
    const int n = static_cast<int>(cells.size());
    if (n < 5 || n > 60 || n % 5 != 0) return check;
    const int used = n / 5;

    // The used pieces in lexicographic order: the set using the lowest pieces comes first.
    std::vector<int> pieces(kPieces);
    std::iota(pieces.begin(), pieces.end(), 1);
    ForEachCombination(pieces, used, [&](const std::vector<int>& chosen) {
        if (Stopped(stop)) {
            check.stopped = true;
            return true;
        }
        std::array<bool, 13> available{};
        for (const int p : chosen) available[static_cast<std::size_t>(p)] = true;
        PentominoSolver solver(cells, available);
        solver.SetStop(stop);
        if (std::optional<Tiling> tiling = solver.First()) {
            std::vector<int> out;
            for (int p = 1; p <= kPieces; ++p) {
                if (!available[static_cast<std::size_t>(p)]) out.push_back(p);
            }
            check.leftOut.push_back(std::move(out));
            check.tilings.push_back(std::move(*tiling));
            check.counts.push_back(kNotCounted);
        }
        return false;
    });
    // Stopped between searches: the sets found so far are kept, marked as cut short.
    if (check.stopped) return check;
    // A search cut short inside may have missed sets.
    if (Stopped(stop)) {
        check = DrawingCheck{};
        check.stopped = true;
    }
    return check;
}

}  // namespace kv
