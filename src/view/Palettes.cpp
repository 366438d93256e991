// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/Palettes.h"

#include <QKeyEvent>

#include "model/History.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "platform/Keys.h"
#include "platform/SystemColors.h"
#include "view/PictureBox.h"

namespace kv {

namespace {

PictureBox* picVyborFigury = nullptr;
PictureBox* picPovorot = nullptr;
PictureBox* picPole = nullptr;

constexpr int kEntryWidth = 48;

void Highlight(PictureBox* palette, int entry, Colour colour) {
    palette->canvas().RectOutline(entry * kEntryWidth + 3, 3, entry * kEntryWidth + 50, 63, colour);
}

// Five 9 x 9 squares sharing their edges, reference cell at (centreX, 30).
void DrawMiniature(PictureBox* palette, int p, int o, int centreX) {
    for (int k = 0; k < 5; ++k) {
        const int x = centreX + 8 * PieceCells[p][k][o][0];
        const int y = 30 + 8 * PieceCells[p][k][o][1];
        palette->canvas().FillRect(x, y, x + 8, y + 8, PieceColor[p]);
    }
}

void ClosePalette(PictureBox* palette) {
    palette->hide();
    palette->canvas().Clear();
    if (picPole) picPole->setFocus();
}

void OpenPalette(PictureBox* palette) {
    palette->show();
    palette->raise();
    palette->setFocus();
}

// Moves the highlight to entry i of a palette with the given number of entries.
void MoveHighlight(PictureBox* palette, int i, int entries) {
    // The strip right of the last entry holds none; nor does a position beyond the palette,
    // which a button held since a press on it can report.
    if (i < 0 || i >= entries) return;
    Highlight(palette, PaletteCursor, platform::COLOR_BTNFACE);
    PaletteCursor = i;
    Highlight(palette, PaletteCursor, 0);
}

// The entry under palette position x; -1 left of the palette, where division would
// truncate towards entry 0.
int EntryAt(int x) {
    return x < 0 ? -1 : x / kEntryWidth;
}

int OrientationEntries() {
    return OrientationCount[CurrentPiece];
}

// --- piece palette ---

void picVyborFigury_LostFocus() {
    ClosePalette(picVyborFigury);
}

void picVyborFigury_MouseMove(int x) {
    MoveHighlight(picVyborFigury, EntryAt(x), kPieces);
}

void picVyborFigury_MouseUp(int x) {
    const int n = EntryAt(x) + 1;
    if (n < 1 || n > kPieces || PieceExcluded[n] == 1) return;
    if (n != CurrentPiece) {
        UstanovkaFigury(+1);
        CurrentPiece = n;
        UstanovkaFigury(-1);
        RecordStep(false);
    }
    picVyborFigury_LostFocus();
}

void picVyborFigury_KeyDown(int keyCode) {
    switch (keyCode) {
        case platform::VK_LEFT:
            picVyborFigury_MouseMove((PaletteCursor == 0 ? 11 : PaletteCursor - 1) * kEntryWidth);
            break;
        case platform::VK_RIGHT:
            picVyborFigury_MouseMove((PaletteCursor == 11 ? 0 : PaletteCursor + 1) * kEntryWidth);
            break;
        case platform::VK_RETURN:
            picVyborFigury_MouseUp(PaletteCursor * kEntryWidth);
            break;
        case platform::VK_ESCAPE:
            picVyborFigury_LostFocus();
            break;
        default:
            break;
    }
}

// --- orientation palette ---

void picPovorot_LostFocus() {
    ClosePalette(picPovorot);
}

void picPovorot_MouseMove(int x) {
    MoveHighlight(picPovorot, EntryAt(x), OrientationEntries());
}

void picPovorot_MouseUp(int x) {
    const int i = EntryAt(x);
    if (i < 0 || i > OrientationEntries() - 1) return;
    const int o = i + 1;
    if (o != PieceOrientation[CurrentPiece]) Povorot(o);
    picPovorot_LostFocus();
}

void picPovorot_KeyDown(int keyCode) {
    const int n = OrientationEntries();
    switch (keyCode) {
        case platform::VK_LEFT:
            picPovorot_MouseMove((PaletteCursor == 0 ? n - 1 : PaletteCursor - 1) * kEntryWidth);
            break;
        case platform::VK_RIGHT:
            picPovorot_MouseMove((PaletteCursor + 1 == n ? 0 : PaletteCursor + 1) * kEntryWidth);
            break;
        case platform::VK_RETURN:
            if (PaletteCursor + 1 != PieceOrientation[CurrentPiece]) Povorot(PaletteCursor + 1);
            picPovorot_LostFocus();
            break;
        case platform::VK_SPACE:
        case platform::VK_ESCAPE:
            picPovorot_LostFocus();
            break;
        default:
            break;
    }
}

void Hook(PictureBox* palette, void (*move)(int), void (*up)(int), void (*key)(int),
          void (*lost)()) {
    palette->setMouseTracking(true);
    palette->setFocusPolicy(Qt::StrongFocus);
    palette->canvas().SetBackground(platform::COLOR_BTNFACE);
    palette->canvas().Clear();
    palette->onMouseMove = [move](Qt::MouseButtons, int x, int) { move(x); };
    palette->onMouseUp = [up](Qt::MouseButton, int x, int) { up(x); };
    palette->onKeyDown = [key](QKeyEvent* event) { key(platform::VirtualKeyCode(event)); };
    palette->onLostFocus = [palette, lost]() {
        if (palette->isVisible()) lost();
    };
}

}  // namespace

void ConnectPalettes(PictureBox* pieces, PictureBox* orientations, PictureBox* board) {
    picVyborFigury = pieces;
    picPovorot = orientations;
    picPole = board;
    Hook(pieces, picVyborFigury_MouseMove, picVyborFigury_MouseUp, picVyborFigury_KeyDown,
         picVyborFigury_LostFocus);
    Hook(orientations, picPovorot_MouseMove, picPovorot_MouseUp, picPovorot_KeyDown,
         picPovorot_LostFocus);
}

void ClosePalettes() {
    for (PictureBox* palette : {picVyborFigury, picPovorot}) {
        if (palette && palette->isVisible()) ClosePalette(palette);
    }
}

void VyborFigury() {
    if (!picVyborFigury) return;
    for (int p = 1; p <= kPieces; ++p) {
        if (PieceExcluded[p] != 0) continue;
        DrawMiniature(picVyborFigury, p, PieceOrientation[p], p * kEntryWidth - 27);
    }
    PaletteCursor = CurrentPiece - 1;
    Highlight(picVyborFigury, PaletteCursor, 0);
    OpenPalette(picVyborFigury);
}

void VyborPovorota() {
    if (CurrentPiece == 2) {
        Povorot(3 - PieceOrientation[2]);
        return;
    }
    if (!picPovorot) return;
    const int n = OrientationCount[CurrentPiece];
    const int width = n * kEntryWidth + 6;
    picPovorot->Place(317 - width / 2, picPovorot->y(), width, picPovorot->height());
    for (int o = 1; o <= n; ++o) DrawMiniature(picPovorot, CurrentPiece, o, o * kEntryWidth - 27);
    PaletteCursor = PieceOrientation[CurrentPiece] - 1;
    Highlight(picPovorot, PaletteCursor, 0);
    OpenPalette(picPovorot);
}

}  // namespace kv
