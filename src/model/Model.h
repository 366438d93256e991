// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The one puzzle: board and outline grids, the twelve pieces and the current piece.
// Procedures work on this shared state directly, as the rest of the program does.
#pragma once

#include <array>
#include <cstdint>

#include "solver/Board.h"
#include "solver/PieceTable.h"

namespace kv {

// 0x00BBGGRR for a plain colour, or 0x80000000 plus a system colour index.
using Colour = std::uint32_t;

// Sum of the numbers of the set pieces covering each cell; the current piece is never in it.
extern int BoardCells[kColumns][kRows];
// 1 for every outline cell.
extern int OutlineCells[kColumns][kRows];
// PieceCells[p][k][o][axis]: offset of cell k of piece p in orientation o (axis 0 column, 1 row).
extern int PieceCells[kPieces + 1][5][9][2];
// PiecePos[p][0] column, PiecePos[p][1] row of the reference cell.
extern int PiecePos[kPieces + 1][2];
extern int PieceOrientation[kPieces + 1];
extern int OrientationCount[kPieces + 1];
extern Colour PieceColor[kPieces + 1];
// 1 when the outline on the board does not use the piece.
extern int PieceExcluded[kPieces + 1];
extern int CurrentPiece;
// Highlighted entry of whichever palette is open, 0-based.
extern int PaletteCursor;

// The pieces' letters, piece 1 first at index 1.
inline constexpr char PieceLetters[] = "?XITUVWZLNYFP";

// The twelve definition strings, piece 1 first: five cells of column and row offsets.
extern const char* const PieceDefinitions[kPieces];

// Builds PieceColor, OrientationCount and PieceCells in all eight orientations, from the
// constant kPieceTable.
void BuildPieceSet();

// Re-creates OutlineCells and PieceExcluded all zero.
void ClearOutlineGrid();

// Cell k of piece p in orientation o with its reference cell at (column, row), from
// PieceCells: the game places its pieces by the table it built, so a placement on the board
// and the drawing of it agree. At (0, 0) the cells are the offsets themselves.
inline BoardCell PlacedPieceCell(int p, int o, int column, int row, int k) {
    return {column + PieceCells[p][k][o][0], row + PieceCells[p][k][o][1]};
}
inline std::array<BoardCell, 5> PlacedPieceCells(int p, int o, int column, int row) {
    std::array<BoardCell, 5> cells;
    for (int k = 0; k < 5; ++k) cells[k] = PlacedPieceCell(p, o, column, row, k);
    return cells;
}
// Whether all five lie on the board; in 64 bits, so that a reference cell near the 32-bit
// limits (a damaged position file's) cannot wrap onto it.
inline bool PlacedPieceOnBoard(int p, int o, long long column, long long row) {
    for (int k = 0; k < 5; ++k) {
        const long long c = column + PieceCells[p][k][o][0], r = row + PieceCells[p][k][o][1];
        if (c < 0 || c >= kColumns || r < 0 || r >= kRows) return false;
    }
    return true;
}

// Column or row of cell k of piece p where it stands now.
inline int PieceCellColumn(int p, int k) {
    return PlacedPieceCell(p, PieceOrientation[p], PiecePos[p][0], PiecePos[p][1], k).column;
}
inline int PieceCellRow(int p, int k) {
    return PlacedPieceCell(p, PieceOrientation[p], PiecePos[p][0], PiecePos[p][1], k).row;
}

// Lowest-numbered piece in play (13 if the outline excludes all twelve).
int FirstPieceInPlay();

// Puts every piece of state back to zero, as before start-up. For a fresh start in tests.
void ResetModel();

}  // namespace kv
