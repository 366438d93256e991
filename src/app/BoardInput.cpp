// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Play on the board: a button going down, a button coming up, a key going down.
#include "app/MainWindow.h"
#include "model/History.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "platform/Keys.h"
#include "view/BoardDrawing.h"
#include "view/Palettes.h"

namespace kv {

namespace {

// Before the layout there are no cells to point at, and an outline that leaves out every
// piece has no current piece to act on.
bool BoardPlayable() {
    return CellSize > 0 && CurrentPiece >= 1 && CurrentPiece <= kPieces;
}

}  // namespace

void frmForma::picPole_MouseDown(Qt::MouseButton button, int, int) {
    // Only the three buttons the game knows count as presses.
    if (!BoardPlayable() || platform::MouseButtonCode(button) == 0) return;
    BoardPressed = 1;
}

void frmForma::picPole_MouseUp(Qt::MouseButton button, int x, int y) {
    const int code = platform::MouseButtonCode(button);
    if (!BoardPlayable() || code == 0) return;
    if (BoardPressed != 1 || x < 0 || x > BoardPixelWidth || y < 0 || y > BoardPixelHeight) {
        return;
    }
    if (code == 2) {
        // The right button keeps BoardPressed, so a later left release still acts.
        if (CurrentPiece > 1) VyborPovorota();
        return;
    }
    BoardPressed = 0;
    const int c = x / CellSize;
    const int r = y / CellSize;
    if (c > 34 || r > 23) return;  // the closing grid line
    const int v = BoardCells[c][r];
    if (v <= 0) {
        if (code == 1) MoveFigury(c, r);
    } else if (v <= kPieces && v != CurrentPiece) {
        if (!Proverka()) {
            UstanovkaFigury(+1);
            CurrentPiece = v;
            UstanovkaFigury(-1);
            RecordStep(false);
        }
    }
}

void frmForma::picPole_KeyDown(int keyCode) {
    if (!BoardPlayable()) return;
    const int x = PiecePos[CurrentPiece][0];
    const int y = PiecePos[CurrentPiece][1];
    switch (keyCode) {
        case platform::VK_LEFT:
            MoveFigury(x - 1, y);
            break;
        case platform::VK_UP:
            MoveFigury(x, y - 1);
            break;
        case platform::VK_RIGHT:
            MoveFigury(x + 1, y);
            break;
        case platform::VK_DOWN:
            MoveFigury(x, y + 1);
            break;
        case platform::VK_RETURN:
            if (!Proverka()) VyborFigury();
            break;
        case platform::VK_SPACE:
            if (CurrentPiece > 1) VyborPovorota();
            break;
        default:
            break;
    }
}

}  // namespace kv
