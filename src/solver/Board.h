// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The board's size and its cells, which the file formats, the solver and the game share.
#pragma once

#include <compare>

namespace kv {

inline constexpr int kColumns = 35;  // columns 0..34
inline constexpr int kRows = 24;     // rows 0..23

struct BoardCell {
    int column = 0;
    int row = 0;
    auto operator<=>(const BoardCell&) const = default;
};

constexpr bool OnBoard(int c, int r) {
    return c >= 0 && c < kColumns && r >= 0 && r < kRows;
}

}  // namespace kv
