// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Playing the real main window from a test: keys and mouse go through the window system
// (QTest's window-level events), so focus, mouse capture and the palettes' focus loss
// behave as for a player.
#pragma once

#include <QApplication>
#include <QList>
#include <QPoint>
#include <QWheelEvent>
#include <QtTest>

#include "app/MainWindow.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "outlines/Outline.h"
#include "play/History.h"
#include "support/TestSupport.h"
#include "view/BoardDrawing.h"
#include "view/PictureBox.h"

namespace kvtest {

// A piece where a loaded position puts it: piece, orientation 1..8, reference cell.
struct Laid {
    int piece, orientation, column, row;
};

// The board as a freshly loaded outline leaves it: outline drawn black, the pieces in play
// at home (or as laid) and set down, the lowest-numbered of them current and lifted, no
// steps to take back.
inline void StartPlay(const QList<int>& excluded = {}, const QList<QPoint>& outline = {},
                      const QList<Laid>& laid = {}) {
    kv::ClearOutlineGrid();
    for (int p : excluded) kv::PieceExcluded[p] = 1;
    kv::NewPole();
    kv::OutlineLastCell = static_cast<int>(outline.size()) - 1;
    for (int i = 0; i < outline.size(); ++i) {
        kv::OutlineCellList[i][0] = outline[i].x();
        kv::OutlineCellList[i][1] = outline[i].y();
        kv::OutlineCells[outline[i].x()][outline[i].y()] = 1;
    }
    kv::ShowKvelt();
    kv::FiguryPoMestam();
    for (const Laid& l : laid) {
        kv::PieceOrientation[l.piece] = l.orientation;
        kv::PiecePos[l.piece][0] = l.column;
        kv::PiecePos[l.piece][1] = l.row;
    }
    kv::ShowAllFigury();
    kv::CurrentPiece = kv::FirstPieceInPlay();
    kv::UstanovkaFigury(-1);
    kv::StartHistory();
}

// The centre of cell (c, r) in board pixels.
inline QPoint CellCentre(int c, int r) {
    return {c * kv::CellSize + kv::CellSize / 2, r * kv::CellSize + kv::CellSize / 2};
}

// Drives one main window.
struct Player {
    explicit Player(kv::frmForma* window) : w(window) {}

    QWindow* handle() const { return w->windowHandle(); }
    // p is a client coordinate: inside the frame of a picture box that has one.
    QPoint ToWindow(QWidget* widget, QPoint p) const {
        if (auto* box = qobject_cast<kv::PictureBox*>(widget)) p = box->FromClient(p);
        return widget->mapTo(w, p);
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(handle(), key, mods);
    }
    // A key QTest has no character for (a Cyrillic letter), with the text it types.
    void TypedKey(Qt::Key key, const QString& text) {
        QTest::simulateEvent(handle(), true, key, Qt::NoModifier, text, false);
        QTest::simulateEvent(handle(), false, key, Qt::NoModifier, text, false);
    }
    // A key-down repeated by the keyboard while the key is held.
    void RepeatedKey(Qt::Key key) {
        QTest::simulateEvent(handle(), true, key, Qt::NoModifier, QString(), true);
    }
    void Press(QWidget* widget, Qt::MouseButton b, QPoint p) {
        QTest::mousePress(handle(), b, Qt::NoModifier, ToWindow(widget, p));
    }
    void Release(QWidget* widget, Qt::MouseButton b, QPoint p) {
        QTest::mouseRelease(handle(), b, Qt::NoModifier, ToWindow(widget, p));
    }
    // A release whose press went elsewhere (say, to a dialog that closed on it): the window
    // system has no press to pair it with, so it goes straight to the widget.
    void StrayRelease(QWidget* widget, Qt::MouseButton b, QPoint p) {
        QTest::mouseRelease(widget, b, Qt::NoModifier, p);
    }
    void Click(QWidget* widget, Qt::MouseButton b, QPoint p) {
        Press(widget, b, p);
        Release(widget, b, p);
    }
    void Move(QWidget* widget, QPoint p) { QTest::mouseMove(handle(), ToWindow(widget, p)); }

    void ClickCell(Qt::MouseButton b, int c, int r) { Click(w->picPole(), b, CellCentre(c, r)); }

    // The left button pressed on the centre of cell from, the pointer taken through the
    // centres of the cells given (QTest keeps the button held on the way), released on the
    // last of them unless told not to.
    void DragCells(QPoint from, const QList<QPoint>& through, bool release = true) {
        Press(w->picPole(), Qt::LeftButton, CellCentre(from.x(), from.y()));
        for (const QPoint& c : through) Move(w->picPole(), CellCentre(c.x(), c.y()));
        if (release && !through.isEmpty()) {
            Release(w->picPole(), Qt::LeftButton,
                    CellCentre(through.last().x(), through.last().y()));
        }
    }
    // The wheel over the board's centre, turned by delta eighths of a degree (120 a notch).
    void Wheel(int delta) {
        const QPoint at = CellCentre(17, 12);
        QWheelEvent event(at, w->picPole()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w->picPole(), &event);
    }

    // Moves the current piece by arrow keys until its reference cell is at (c, r). Gives up,
    // false, after more keys than any way across the board takes: a broken arrow key must
    // fail the test, not hang it.
    [[nodiscard]] bool KeyTo(int c, int r) {
        for (int keys = 0; keys <= kv::kColumns + kv::kRows; ++keys) {
            const int x = kv::PiecePos[kv::CurrentPiece][0];
            const int y = kv::PiecePos[kv::CurrentPiece][1];
            if (x < c) {
                Key(Qt::Key_Right);
            } else if (x > c) {
                Key(Qt::Key_Left);
            } else if (y < r) {
                Key(Qt::Key_Down);
            } else if (y > r) {
                Key(Qt::Key_Up);
            } else {
                return true;
            }
        }
        return false;
    }

    kv::frmForma* w;
};

// Resizes the shown window so that its client area becomes width x height, and waits for
// the layout that follows; false when either does not come.
[[nodiscard]] inline bool ResizeClient(kv::frmForma* window, int width, int height) {
    const QSize extra = window->size() - window->Client()->size();
    const int layouts = window->LayOutCount();
    window->resize(width + extra.width(), height + extra.height());
    return QTest::qWaitFor([&] {
        return window->Client()->size() == QSize(width, height) && window->LayOutCount() > layouts;
    });
}

// Shows the window active, so that focus changes are real ones.
inline bool Activate(kv::frmForma* window) {
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

}  // namespace kvtest
