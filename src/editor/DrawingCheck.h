// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// What the outline editor says about a drawing: the cell count line, which sets of pieces
// cover it and in how many ways, and the drawing centred as an outline file. Used by the
// editor window, its tests and the benchmarks.
#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "outlines/OutlineWriter.h"
#include "outlines/Solver.h"

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
// searches. Reads the piece table only, which must have been built before.
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

// «Клеток: 55 — без 1 фигуры», «Клеток: 57 — нужно 55 или 60» and so on.
QString CellCountText(int cells);
// The pieces of one set, from the pieces it leaves out: «X+I+T+U+V+W», or «все, кроме P»
// when naming the pieces left out is shorter, «все фигуры» when it leaves none out.
QString SetText(const std::vector<int>& leftOut);
// The answer: the sets found, named by the pieces that cover, and the count for the chosen
// set, or that nothing covers the drawing. Without a count it says the count is on its way
// (counting) or was not made.
QString CheckText(const DrawingCheck& check, std::size_t set = 0, bool counting = false);

// The outline file contents for a drawing: its cells moved so that their bounding box stands
// where a drawing of that size is centred on the board (column (35 - width) div 2, row
// (24 - height) div 2), listed row by row, as the shipped outlines are made.
OutlineDraft CentredDraft(const QString& name, const std::vector<BoardCell>& cells,
                          const std::vector<int>& excluded);

}  // namespace kv
