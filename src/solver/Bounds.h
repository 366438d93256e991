// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The bounding box of some cells, and where a box stands when centred on the 35 x 24 board:
// one rule for the editor's drawings, the drawings read from text, the solver's shapes and
// a piece dragged to the edge.
#pragma once

#include <iterator>
#include <utility>

#include "solver/Board.h"

namespace kv {

// The smallest and largest column and row of the cells.
struct CellBounds {
    int minC, maxC, minR, maxR;
    constexpr int Width() const { return maxC - minC + 1; }
    constexpr int Height() const { return maxR - minR + 1; }
};

// Of a non-empty range of cells: a list, a piece's five, a set.
template <class Cells>
constexpr CellBounds BoundsOf(const Cells& cells) {
    const BoardCell& first = *std::begin(cells);
    CellBounds b{first.column, first.column, first.row, first.row};
    for (const BoardCell& c : cells) {
        b.minC = c.column < b.minC ? c.column : b.minC;
        b.maxC = c.column > b.maxC ? c.column : b.maxC;
        b.minR = c.row < b.minR ? c.row : b.minR;
        b.maxR = c.row > b.maxR ? c.row : b.maxR;
    }
    return b;
}

// Where an extent starts when centred on a side: the spare divided by 2 and truncated, so an
// odd spare leaves the extra cell after it (to the right, below).
constexpr int CentredStart(int extent, int side) {
    return (side - extent) / 2;
}

// The top left corner of a box of that size centred on the board.
constexpr BoardCell CentredCorner(int width, int height) {
    return {CentredStart(width, kColumns), CentredStart(height, kRows)};
}

// The cells, in their order, moved so that their bounding box starts at corner; none stay none.
template <class Cells>
constexpr Cells MovedTo(Cells cells, BoardCell corner) {
    if (std::begin(cells) == std::end(cells)) return cells;
    const CellBounds b = BoundsOf(cells);
    for (BoardCell& c : cells) c = {c.column - b.minC + corner.column, c.row - b.minR + corner.row};
    return cells;
}

// The cells, in their order, moved so that their bounding box is centred on the board.
template <class Cells>
constexpr Cells CentredOnBoard(Cells cells) {
    if (std::begin(cells) == std::end(cells)) return cells;
    const CellBounds b = BoundsOf(cells);
    return MovedTo(std::move(cells), CentredCorner(b.Width(), b.Height()));
}

}  // namespace kv
