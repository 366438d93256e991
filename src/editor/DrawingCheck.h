// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// What the outline editor says about a drawing: the cell count line, which sets of pieces
// cover it and in how many ways (found by solver/DrawingCheck.h), and the drawing centred as
// an outline file. Used by the editor window, its tests and the benchmarks.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "outlines/OutlineWriter.h"
#include "solver/DrawingCheck.h"

namespace kv {

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
