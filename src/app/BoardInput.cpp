// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Play on the board: a button going down, moving and coming up, the wheel, a key going down.
#include <algorithm>

#include "app/MainWindow.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "platform/Keys.h"
#include "platform/Services.h"
#include "play/History.h"
#include "solver/Bounds.h"
#include "view/BoardDrawing.h"
#include "view/Palettes.h"

namespace kv {

namespace {

// Before the layout there are no cells to point at, and an outline that leaves out every
// piece has no current piece to act on.
bool BoardPlayable() {
    return CellSize > 0 && CurrentPiece >= 1 && CurrentPiece <= kPieces;
}

// A board pixel as a cell, also left of or above the board, where division would truncate
// towards cell 0.
int CellOf(int pixel) {
    return pixel >= 0 ? pixel / CellSize : -((-pixel + CellSize - 1) / CellSize);
}

bool IsCellOfCurrent(int c, int r) {
    for (int k = 0; k < 5; ++k) {
        if (PieceCellColumn(CurrentPiece, k) == c && PieceCellRow(CurrentPiece, k) == r)
            return true;
    }
    return false;
}

// Exchanges the current piece for set piece q: the old one set down where it lies.
void Exchange(int q) {
    MakeCurrent(q);
}

const QString& DragFirst() {
    static const QString text = QStringLiteral("Сначала отпустите фигуру или нажмите Esc.");
    return text;
}

}  // namespace

void frmForma::Guide() {
    GuideOnBoard();
}

void frmForma::picPole_MouseDown(Qt::MouseButton button, int x, int y) {
    // Only the three buttons the game knows count as presses.
    const int code = platform::MouseButtonCode(button);
    if (!BoardPlayable() || code == 0) return;
    BoardPressed = 1;
    if (code != 1 || Dragging()) return;
    drag_.pressed = false;
    drag_.refused = false;
    if (x < 0 || y < 0 || x / CellSize > 34 || y / CellSize > 23) return;
    drag_.pressed = true;
    drag_.column = x / CellSize;
    drag_.row = y / CellSize;
}

void frmForma::picPole_MouseMove(Qt::MouseButtons buttons, int x, int y) {
    if (!BoardPlayable() || !drag_.pressed) return;
    if (!(buttons & Qt::LeftButton)) {
        // The release went astray (to a dialog, say): the piece stays where it lies.
        if (Dragging()) EndDrag(false);
        drag_.pressed = false;
        return;
    }
    if (drag_.refused) return;
    if (Dragging()) {
        DragTo(x, y);
    } else if (CellOf(x) != drag_.column || CellOf(y) != drag_.row) {
        StartDrag(drag_.column, drag_.row);
        if (Dragging()) DragTo(x, y);
    }
}

// The pointer left the pressed cell: the piece under the press, if any, is grabbed there.
void frmForma::StartDrag(int c, int r) {
    int grabbed = IsCellOfCurrent(c, r) ? CurrentPiece : BoardCells[c][r];
    // No piece, or a cell where a loaded position stacked several: the release acts as a click.
    if (grabbed <= 0 || grabbed > kPieces) {
        drag_.pressed = false;
        return;
    }
    if (grabbed != CurrentPiece) {
        const QString refusal = PickRefusal();
        if (!refusal.isEmpty()) {
            drag_.refused = true;
            platform::Tell(refusal);
            return;
        }
    }
    drag_.before = ArrangementNow();
    drag_.step = std::make_unique<CompoundStep>();
    if (grabbed != CurrentPiece) Exchange(grabbed);
    drag_.dx = c - PiecePos[CurrentPiece][0];
    drag_.dy = r - PiecePos[CurrentPiece][1];
    drag_.atEdge = false;
    Guide();
}

// The grabbed cell under the pointer's cell, the piece kept wholly on the board.
void frmForma::DragTo(int x, int y) {
    const int p = CurrentPiece;
    int column = CellOf(x) - drag_.dx;
    int row = CellOf(y) - drag_.dy;
    // The offsets' box; the reference cell (0, 0) is one of the five.
    const CellBounds box = BoundsOf(PlacedPieceCells(p, PieceOrientation[p], 0, 0));
    const int wantColumn = column;
    const int wantRow = row;
    column = std::clamp(column, -box.minC, kColumns - 1 - box.maxC);
    row = std::clamp(row, -box.minR, kRows - 1 - box.maxR);
    const bool atEdge = column != wantColumn || row != wantRow;
    if (atEdge && !drag_.atEdge)
        platform::Tell(QStringLiteral("Дальше край поля: фигура с поля не уходит."));
    if (!atEdge && drag_.atEdge) Guide();
    drag_.atEdge = atEdge;
    if (column != PiecePos[p][0] || row != PiecePos[p][1]) ShiftFigury(column, row);
}

// The release places the piece where it lies, one step, one victory test; Esc puts back
// what the drag changed, the exchange included.
void frmForma::EndDrag(bool cancel) {
    std::unique_ptr<CompoundStep> step = std::move(drag_.step);
    drag_.pressed = false;
    drag_.refused = cancel;  // after Esc the button is still held: the release does nothing
    if (cancel) {
        ShowArrangement(drag_.before);
        step->Close();
        platform::Tell(QStringLiteral("Перенос отменён: фигура на прежнем месте."));
        return;
    }
    step->Close();
    step.reset();
    Guide();
    FinishMove();
}

// A dialog opened by a shortcut in the middle of a drag (the library, Continue) takes the
// focus: the drag is put back first, so that what the dialog loads finds no step open.
void frmForma::picPole_LostFocus() {
    if (Dragging()) EndDrag(true);
}

void frmForma::picPole_MouseUp(Qt::MouseButton button, int x, int y) {
    const int code = platform::MouseButtonCode(button);
    if (!BoardPlayable() || code == 0) return;
    if (code == 1 && (Dragging() || drag_.refused)) {
        // A drag ends wherever the button comes up.
        BoardPressed = 0;
        if (Dragging()) {
            EndDrag(false);
        } else {
            drag_.refused = false;
        }
        return;
    }
    if (code == 1) drag_.pressed = false;
    if (Dragging()) {
        platform::Tell(DragFirst());
        return;
    }
    if (BoardPressed != 1 || x < 0 || x > BoardPixelWidth || y < 0 || y > BoardPixelHeight) {
        return;
    }
    if (code == 2) {
        // The right button keeps BoardPressed, so a later left release still acts.
        if (CurrentPiece > 1) VyborPovorota();
        return;
    }
    BoardPressed = 0;
    int c = 0;
    int r = 0;
    if (!CellAt(x, y, c, r)) return;  // the closing grid line
    const int v = BoardCells[c][r];
    if (v <= 0) {
        if (code == 1) MoveFigury(c, r);
    } else if (v <= kPieces && v != CurrentPiece) {
        PickPiece(v);
        return;
    }
    Guide();
}

// The same rule as a click on piece p: only while the current piece overlaps nothing.
void frmForma::PickPiece(int p) {
    if (p == CurrentPiece) {
        Guide();
        return;
    }
    const QString refusal = PickRefusal();
    if (!refusal.isEmpty()) {
        platform::Tell(refusal);
        return;
    }
    Exchange(p);
    RecordStep();
    Guide();
}

void frmForma::picPole_Wheel(int angleDelta) {
    if (!BoardPlayable()) return;
    // A new direction starts afresh, so that a notch back is never lost in what was left over.
    if ((angleDelta > 0 && wheelAngle_ < 0) || (angleDelta < 0 && wheelAngle_ > 0)) wheelAngle_ = 0;
    wheelAngle_ += angleDelta;
    // Turned away from the player the wheel turns the piece anticlockwise, towards the player
    // clockwise, as Page Up and Page Down do.
    while (wheelAngle_ >= 120) {
        wheelAngle_ -= 120;
        TurnCurrent(Turn::Anticlockwise);
    }
    while (wheelAngle_ <= -120) {
        wheelAngle_ += 120;
        TurnCurrent(Turn::Clockwise);
    }
}

void frmForma::TurnCurrent(Turn turn) {
    if (!BoardPlayable()) return;
    if (Dragging()) {
        platform::Tell(DragFirst());
        return;
    }
    ClosePalettes();
    if (!TurnRefusal(turn).isEmpty()) {
        Povernut(turn);  // tells why
        return;
    }
    Povernut(turn);
    Guide();
}

void frmForma::IgraVpravo_Click() {
    TurnCurrent(Turn::Clockwise);
}
void frmForma::IgraVlevo_Click() {
    TurnCurrent(Turn::Anticlockwise);
}
void frmForma::IgraOtrazit_Click() {
    TurnCurrent(Turn::Mirror);
}

void frmForma::picPole_KeyDown(int keyCode) {
    if (!BoardPlayable()) return;
    if (Dragging()) {
        if (keyCode == platform::VK_ESCAPE) {
            EndDrag(true);
        } else if (keyCode != 0) {
            platform::Tell(DragFirst());
        }
        return;
    }
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
            if (Proverka()) {
                platform::Tell(PickRefusal());
                return;
            }
            VyborFigury();
            return;
        // Also items of «Игра», whose shortcuts take these keys first; here when the key
        // reaches the board itself.
        case platform::VK_NEXT:
            TurnCurrent(Turn::Clockwise);
            return;
        case platform::VK_PRIOR:
            TurnCurrent(Turn::Anticlockwise);
            return;
        case platform::VK_HOME:
            TurnCurrent(Turn::Mirror);
            return;
        case platform::VK_SPACE:
            if (CurrentPiece > 1) {
                VyborPovorota();
            } else {
                platform::Tell(TurnRefusal(Turn::Clockwise));
                return;
            }
            break;
        default: {
            // A piece's letter takes that piece as a click on it would.
            const char* letter = nullptr;
            for (int p = 1; p <= kPieces && keyCode >= 'A' && keyCode <= 'Z'; ++p) {
                if (PieceLetters[p] == keyCode) letter = &PieceLetters[p];
            }
            if (!letter) return;
            const int p = static_cast<int>(letter - PieceLetters);
            if (PieceExcluded[p] == 1) {
                platform::Tell(
                    QStringLiteral("Фигуры %1 в этом квелте нет.").arg(QLatin1Char(*letter)));
                return;
            }
            PickPiece(p);
            return;
        }
    }
    Guide();
}

}  // namespace kv
