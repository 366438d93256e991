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

namespace {

constexpr Colour kPieceColours[kPieces + 1] = {
    0,        0xFF0000, 0x00FF00, 0x0000FF, 0x00FFFF, 0xFF00FF, 0x4080FF,
    0xBF0000, 0x008000, 0x0000BF, 0x00BFBF, 0xBF00BF, 0x0039D4,
};

constexpr int kOrientationCounts[kPieces + 1] = {0, 1, 2, 4, 4, 4, 4, 8, 8, 8, 8, 8, 8};

// A two-character field: a leading blank is allowed, a leading "-" makes it negative.
int FieldValue(const char* s) {
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

}  // namespace

void BuildPieceSet() {
    for (int p = 0; p <= kPieces; ++p) {
        PieceColor[p] = kPieceColours[p];
        OrientationCount[p] = kOrientationCounts[p];
    }
    std::memset(PieceCells, 0, sizeof PieceCells);
    for (int p = 1; p <= kPieces; ++p) {
        const char* def = PieceDefinitions[p - 1];
        for (int k = 0; k < 5; ++k) {
            const int x = FieldValue(def + 4 * k);
            const int y = FieldValue(def + 4 * k + 2);
            // The eight transforms: four turns clockwise on screen, then four mirror images.
            const int turned[9][2] = {{0, 0},  {x, y},   {-y, x}, {-x, -y}, {y, -x},
                                      {-y, -x}, {x, -y}, {y, x},  {-x, y}};
            for (int o = 1; o <= 8; ++o) {
                PieceCells[p][k][o][0] = turned[o][0];
                PieceCells[p][k][o][1] = turned[o][1];
            }
        }
    }
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
