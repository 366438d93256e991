// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The twelve pieces as constants made when compiling: their definitions, their cells in all
// eight orientations and their home places. The solver and the hint planner read this table,
// never the game's globals, so they may run on any thread; BuildPieceSet copies it into
// PieceCells.
#pragma once

namespace kv {

inline constexpr int kPieces = 12;  // pieces 1..12

// The twelve definition strings, piece 1 first: five cells of column and row offsets.
inline constexpr const char* kPieceDefinitions[kPieces] = {
    " 0-1-1 0 0 0 1 0 0 1",  // X
    "-2 0-1 0 0 0 1 0 2 0",  // I
    " 0-1 0 0-1 1 0 1 1 1",  // T
    "-1-1 1-1-1 0 0 0 1 0",  // U
    " 0-2 0-1 0 0 1 0 2 0",  // V
    "-1-1-1 0 0 0 0 1 1 1",  // W
    "-1-1 0-1 0 0 0 1 1 1",  // Z
    "-1-1-1 0 0 0 1 0 2 0",  // L
    "-1-1 0-1 0 0 1 0 2 0",  // N
    " 0-1-1 0 0 0 1 0 2 0",  // Y
    "-1-1-1 0 0 0 1 0 0 1",  // F
    " 0-1-1 0 0 0-1 1 0 1",  // P
};

// cells[p][k][o][axis]: offset of cell k of piece p in orientation o (axis 0 column, 1 row),
// laid out as PieceCells is.
struct PieceTable {
    int cells[kPieces + 1][5][9][2];
};

namespace detail {

// A two-character field: a leading blank is allowed, a leading "-" makes it negative.
constexpr int FieldValue(const char* s) {
    int sign = 1;
    int value = 0;
    for (int i = 0; i < 2; ++i) {
        const char ch = s[i];
        if (ch == '-') {
            sign = -1;
        } else if (ch >= '0' && ch <= '9') {
            value = value * 10 + (ch - '0');
        }
    }
    return sign * value;
}

constexpr PieceTable MakePieceTable() {
    PieceTable table{};
    for (int p = 1; p <= kPieces; ++p) {
        const char* def = kPieceDefinitions[p - 1];
        for (int k = 0; k < 5; ++k) {
            const int x = FieldValue(def + 4 * k);
            const int y = FieldValue(def + 4 * k + 2);
            // The eight transforms: four turns clockwise on screen, then four mirror images.
            const int turned[9][2] = {{0, 0},   {x, y},  {-y, x}, {-x, -y}, {y, -x},
                                      {-y, -x}, {x, -y}, {y, x},  {-x, y}};
            for (int o = 1; o <= 8; ++o) {
                table.cells[p][k][o][0] = turned[o][0];
                table.cells[p][k][o][1] = turned[o][1];
            }
        }
    }
    return table;
}

}  // namespace detail

inline constexpr PieceTable kPieceTable = detail::MakePieceTable();

// Reference cell of piece p (1..12) at its home position, in orientation 1.
constexpr void HomeReference(int p, int& column, int& row) {
    // Pieces 1..6 wait in column 3, pieces 7..12 in column 31, four rows apart.
    const int place = (p - 1) % 6 + 1;
    column = p <= 6 ? 3 : 31;
    row = 4 * place - 3;
}

}  // namespace kv
