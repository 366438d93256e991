// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/Palettes.h"

#include <QKeyEvent>
#include <QRect>
#include <algorithm>

#include "model/Model.h"
#include "model/Operations.h"
#include "model/Steps.h"
#include "platform/Keys.h"
#include "platform/Services.h"
#include "platform/SystemColors.h"
#include "view/BoardDrawing.h"
#include "view/PictureBox.h"

namespace kv {

namespace {

PictureBox* picVyborFigury = nullptr;
PictureBox* picPovorot = nullptr;
PictureBox* picPole = nullptr;

// The orientation palette's centre in the client area; it opens centred there.
int turnCentre = 317;

int EntryWidth() {
    return PaletteScaled(48);
}

void Highlight(PictureBox* palette, int entry, Colour colour) {
    const int x = entry * EntryWidth();
    const int x1 = x + PaletteScaled(3), y1 = PaletteScaled(3);
    const int x2 = x + PaletteScaled(50), y2 = PaletteScaled(63);
    // A thicker box is nested one-pixel boxes.
    for (int k = 0; k < std::max(1, PaletteScaled(1)); ++k) {
        palette->canvas().RectOutline(x1 + k, y1 + k, x2 - k, y2 - k, colour);
    }
}

// The miniature of entry i starts this far into it.
int MiniatureLeft(int entry) {
    return entry * EntryWidth() + PaletteScaled(21);
}

// Five squares one pitch apart sharing their edges (9 x 9 at 8 at the designed size),
// reference cell at (left, 30).
void DrawMiniature(PictureBox* palette, int p, int o, int left) {
    const int pitch = PaletteScaled(8);
    for (const auto& [column, row] : PlacedPieceCells(p, o, 0, 0)) {
        const int x = left + pitch * column;
        const int y = PaletteScaled(30) + pitch * row;
        palette->canvas().FillRect(x, y, x + pitch, y + pitch, PieceColor[p]);
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

QString Letter(int p) {
    return QString(QLatin1Char(PieceLetters[p]));
}

// For a screen reader: which entry the highlight is on.
void DescribeHighlight(PictureBox* palette) {
    if (palette == picVyborFigury) {
        palette->setAccessibleDescription(
            QStringLiteral(
                "Выбрана фигура %1. Стрелки влево и вправо — другая, Enter — взять, Esc — закрыть")
                .arg(Letter(PaletteCursor + 1)));
    } else {
        palette->setAccessibleDescription(
            QStringLiteral(
                "Фигура %1, выбрано положение %2 из %3. Стрелки влево и вправо — другое, "
                "Enter — повернуть, Esc — закрыть")
                .arg(Letter(CurrentPiece))
                .arg(PaletteCursor + 1)
                .arg(OrientationCount[CurrentPiece]));
    }
}

// Do orientations a and b of piece p cover the same cells?
bool SameShape(int p, int a, int b) {
    const std::array<BoardCell, 5> as = PlacedPieceCells(p, a, 0, 0);
    const std::array<BoardCell, 5> bs = PlacedPieceCells(p, b, 0, 0);
    return std::all_of(as.begin(), as.end(), [&bs](const BoardCell& c) {
        return std::find(bs.begin(), bs.end(), c) != bs.end();
    });
}

// Moves the highlight to entry i of a palette with the given number of entries.
void MoveHighlight(PictureBox* palette, int i, int entries) {
    // The strip right of the last entry holds none; nor does a position beyond the palette,
    // which a button held since a press on it can report.
    if (i < 0 || i >= entries) return;
    Highlight(palette, PaletteCursor, platform::COLOR_BTNFACE);
    PaletteCursor = i;
    Highlight(palette, PaletteCursor, 0);
    DescribeHighlight(palette);
}

// The entry under palette position x; -1 left of the palette, where division would
// truncate towards entry 0.
int EntryAt(int x) {
    return x < 0 ? -1 : x / EntryWidth();
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
        MakeCurrent(n);
        RecordStep();
    }
    picVyborFigury_LostFocus();
    GuideOnBoard();
}

void picVyborFigury_KeyDown(int keyCode) {
    switch (keyCode) {
        case platform::VK_LEFT:
            picVyborFigury_MouseMove((PaletteCursor == 0 ? 11 : PaletteCursor - 1) * EntryWidth());
            break;
        case platform::VK_RIGHT:
            picVyborFigury_MouseMove((PaletteCursor == 11 ? 0 : PaletteCursor + 1) * EntryWidth());
            break;
        case platform::VK_RETURN:
            picVyborFigury_MouseUp(PaletteCursor * EntryWidth());
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
    GuideOnBoard();
}

void picPovorot_KeyDown(int keyCode) {
    const int n = OrientationEntries();
    switch (keyCode) {
        case platform::VK_LEFT:
            picPovorot_MouseMove((PaletteCursor == 0 ? n - 1 : PaletteCursor - 1) * EntryWidth());
            break;
        case platform::VK_RIGHT:
            picPovorot_MouseMove((PaletteCursor + 1 == n ? 0 : PaletteCursor + 1) * EntryWidth());
            break;
        case platform::VK_RETURN:
            if (PaletteCursor + 1 != PieceOrientation[CurrentPiece]) Povorot(PaletteCursor + 1);
            picPovorot_LostFocus();
            GuideOnBoard();
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

// The letter of the piece an entry shows, as its tool tip.
QString PieceEntryTip(int x) {
    const int n = EntryAt(x) + 1;
    if (n < 1 || n > kPieces || PieceExcluded[n] != 0) return {};
    return Letter(n);
}

QString OrientationEntryTip(int x) {
    const int i = EntryAt(x);
    if (i < 0 || i >= OrientationEntries()) return {};
    return QStringLiteral("%1, положение %2").arg(Letter(CurrentPiece)).arg(i + 1);
}

}  // namespace

int PaletteScaled(int designed) {
    return (designed * CellSize + 9) / 19;
}

void PlacePalettes(const QRect& board) {
    const int band = std::max(1, PaletteScaled(1));
    const int top = board.y() + PaletteScaled(185);
    const int frame = 2 * band;
    const int height = PaletteScaled(65) + 2 * frame;
    if (picVyborFigury) {
        picVyborFigury->SetSunkenFrame(true, band);
        const int width = kPieces * EntryWidth() + PaletteScaled(4) + 2 * frame;
        picVyborFigury->Place(board.x() + (board.width() - width) / 2, top, width, height);
    }
    // At the designed size it opens centred on x = 317, 258 pixels into the board.
    turnCentre = board.x() + PaletteScaled(258);
    if (picPovorot) {
        picPovorot->SetSunkenFrame(true, band);
        const int width = PaletteScaled(336);
        picPovorot->Place(board.x() + (board.width() - width) / 2, top, width, height);
    }
}

void ConnectPalettes(PictureBox* pieces, PictureBox* orientations, PictureBox* board) {
    picVyborFigury = pieces;
    picPovorot = orientations;
    picPole = board;
    Hook(pieces, picVyborFigury_MouseMove, picVyborFigury_MouseUp, picVyborFigury_KeyDown,
         picVyborFigury_LostFocus);
    Hook(orientations, picPovorot_MouseMove, picPovorot_MouseUp, picPovorot_KeyDown,
         picPovorot_LostFocus);
    pieces->toolTipAt = [](int x, int) { return PieceEntryTip(x); };
    orientations->toolTipAt = [](int x, int) { return OrientationEntryTip(x); };
    pieces->setAccessibleName(QStringLiteral("Палитра фигур"));
    pieces->setAccessibleDescription(QStringLiteral("Выбор фигуры, которую взять в руку"));
    orientations->setAccessibleName(QStringLiteral("Палитра поворотов"));
    orientations->setAccessibleDescription(QStringLiteral("Выбор положения текущей фигуры"));
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
        DrawMiniature(picVyborFigury, p, PieceOrientation[p], MiniatureLeft(p - 1));
    }
    PaletteCursor = CurrentPiece - 1;
    Highlight(picVyborFigury, PaletteCursor, 0);
    DescribeHighlight(picVyborFigury);
    OpenPalette(picVyborFigury);
}

void VyborPovorota() {
    if (CurrentPiece == 2) {
        Povorot(3 - PieceOrientation[2]);
        return;
    }
    if (!picPovorot) return;
    const int n = OrientationCount[CurrentPiece];
    const int width = n * EntryWidth() + PaletteScaled(2) + 2 * picPovorot->FrameWidth();
    picPovorot->Place(turnCentre - width / 2, picPovorot->y(), width, picPovorot->height());
    for (int o = 1; o <= n; ++o) DrawMiniature(picPovorot, CurrentPiece, o, MiniatureLeft(o - 1));
    PaletteCursor = PieceOrientation[CurrentPiece] - 1;
    // A turn by key may leave a piece of four shapes in orientation 5..8, beyond the entries:
    // the highlight goes to the entry of the same shape, so the keys can still walk the palette.
    for (int e = 0; PaletteCursor >= n && e < n; ++e) {
        if (SameShape(CurrentPiece, e + 1, PieceOrientation[CurrentPiece])) PaletteCursor = e;
    }
    Highlight(picPovorot, PaletteCursor, 0);
    DescribeHighlight(picPovorot);
    OpenPalette(picPovorot);
}

QString PieceGuidance() {
    const int p = CurrentPiece;
    if (p < 1 || p > kPieces) return {};
    QString turns;
    if (p == 2) {
        turns = QStringLiteral("; Пробел, PgUp, PgDn, колесо — встать или лечь");
    } else if (p > 2) {
        turns = QStringLiteral("; PgUp, PgDn, колесо — поворот, Home — отражение");
    }
    // Short enough for the status line of the window at its design width.
    return QStringLiteral("%1: щёлкните клетку или перетащите%2; Enter — другая фигура")
        .arg(Letter(p), turns);
}

QString PickRefusal() {
    if (!Proverka()) return {};
    return QStringLiteral("Другую фигуру взять нельзя: %1 лежит на другой фигуре. Сдвиньте её.")
        .arg(Letter(CurrentPiece));
}

void GuideOnBoard() {
    platform::Tell(PieceGuidance());
    if (picPole) picPole->setAccessibleDescription(BoardDescription());
}

QString BoardDescription() {
    const int p = CurrentPiece;
    if (p < 1 || p > kPieces) return QStringLiteral("Фигур на поле нет");
    return QStringLiteral("В руке фигура %1, опорная клетка: столбец %2, строка %3; %4")
        .arg(Letter(p))
        .arg(PiecePos[p][0] + 1)
        .arg(PiecePos[p][1] + 1)
        .arg(Proverka() ? QStringLiteral("лежит на другой фигуре")
                        : QStringLiteral("ни на что не налегает"));
}

}  // namespace kv
