// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Which sets of pieces cover a drawing, one tiling of each and their counts: the outline
// editor's check, without its texts.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "solver/Solver.h"

namespace kv {

inline constexpr std::uint64_t kNotCounted = ~std::uint64_t{0};

struct DrawingCheck {
    // Every set of pieces that covers the drawing, as the pieces it leaves out (ascending),
    // ordered by the pieces it uses in piece order: the set using the lowest pieces first.
    std::vector<std::vector<int>> leftOut;
    // For each set in leftOut: one tiling with its pieces, and its number of tilings up to
    // symmetry (kNotCounted until CountSet has run for it).
    std::vector<Tiling> tilings;
    std::vector<std::uint64_t> counts;
    bool stopped = false;  // cut short by the stop flag: nothing above may be used
};

// Runs the solver for every set of 12 - k pieces when the drawing has 60 - 5k cells, 5 to 60;
// for any other count nothing covers it. stop (may be null) is read between and inside the
// searches.
// FindCoveringSets and then CountSet for the first set.
DrawingCheck CheckDrawing(const std::vector<BoardCell>& cells,
                          const std::atomic<bool>* stop = nullptr);
// The sets and the tiling shown, without the count. Quick where the count is not: a round
// drawing of 60 cells may have tens of thousands of tilings to count.
DrawingCheck FindCoveringSets(const std::vector<BoardCell>& cells,
                              const std::atomic<bool>* stop = nullptr);
// Fills in check.counts[set], if there is such a set; sets check.stopped when cut short.
void CountSet(const std::vector<BoardCell>& cells, DrawingCheck& check, std::size_t set,
              const std::atomic<bool>* stop = nullptr);

}  // namespace kv
