// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Model.h"

#include <cstring>

namespace kv {

int BoardCells[kColumns][kRows];
int OutlineCells[kColumns][kRows];
int PieceCells[kPieces + 1][5][9][2];
int PiecePos[kPieces + 1][2];
int PieceOrientation[kPieces + 1];
int OrientationCount[kPieces + 1];
Colour PieceColor[kPieces + 1];
int PieceExcluded[kPieces + 1];
int CurrentPiece;
int PaletteCursor;

const char* const PieceDefinitions[kPieces] = {
    kPieceDefinitions[0], kPieceDefinitions[1], kPieceDefinitions[2],  kPieceDefinitions[3],
    kPieceDefinitions[4], kPieceDefinitions[5], kPieceDefinitions[6],  kPieceDefinitions[7],
    kPieceDefinitions[8], kPieceDefinitions[9], kPieceDefinitions[10], kPieceDefinitions[11],
};

namespace {

constexpr Colour kPieceColours[kPieces + 1] = {
    0,        0xFF0000, 0x00FF00, 0x0000FF, 0x00FFFF, 0xFF00FF, 0x4080FF,
    0xBF0000, 0x008000, 0x0000BF, 0x00BFBF, 0xBF00BF, 0x0039D4,
};

constexpr int kOrientationCounts[kPieces + 1] = {0, 1, 2, 4, 4, 4, 4, 8, 8, 8, 8, 8, 8};

}  // namespace

void BuildPieceSet() {
    for (int p = 0; p <= kPieces; ++p) {
        PieceColor[p] = kPieceColours[p];
        OrientationCount[p] = kOrientationCounts[p];
    }
    static_assert(sizeof PieceCells == sizeof kPieceTable.cells);
    std::memcpy(PieceCells, kPieceTable.cells, sizeof PieceCells);
}

void ClearOutlineGrid() {
    std::memset(OutlineCells, 0, sizeof OutlineCells);
    std::memset(PieceExcluded, 0, sizeof PieceExcluded);
}

int FirstPieceInPlay() {
    int p = 1;
    while (p <= kPieces && PieceExcluded[p] == 1) ++p;
    return p;
}

void ResetModel() {
    std::memset(BoardCells, 0, sizeof BoardCells);
    std::memset(OutlineCells, 0, sizeof OutlineCells);
    std::memset(PieceCells, 0, sizeof PieceCells);
    std::memset(PiecePos, 0, sizeof PiecePos);
    std::memset(PieceOrientation, 0, sizeof PieceOrientation);
    std::memset(OrientationCount, 0, sizeof OrientationCount);
    std::memset(PieceColor, 0, sizeof PieceColor);
    std::memset(PieceExcluded, 0, sizeof PieceExcluded);
    CurrentPiece = 0;
    PaletteCursor = 0;
}

}  // namespace kv
