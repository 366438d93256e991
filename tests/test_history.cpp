// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The «Игра» menu played through the real main window: steps taken back and done again
// down to the pixel, a wrong piece sent home, a start again as one step, and commands that
// come in while a move is still being finished. Hints solving an outline and the solution
// taken back are played by the end-to-end test.
#include <QAction>
#include <QtTest>

#include "app/MainWindow.h"
#include "model/History.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "model/Podskazka.h"
#include "support/PlaySupport.h"
#include "support/Snapshot.h"
#include "support/TestSupport.h"

using namespace kv;
using kvtest::CellsOf;
using kvtest::Snapshot;

namespace {

// The 6 x 10 rectangle in the middle of the board.
QList<QPoint> Rectangle6x10() {
    QList<QPoint> cells;
    for (int r = 9; r < 15; ++r) {
        for (int c = 12; c < 22; ++c) cells << QPoint(c, r);
    }
    return cells;
}

}  // namespace

class HistoryTest : public QObject {
    Q_OBJECT

    std::unique_ptr<kvtest::Fakes> fakes;
    std::unique_ptr<kvtest::GameWindow> game;
    std::unique_ptr<kvtest::Player> player;

    frmForma* w() const { return game->window; }

    void Select(int p) {
        const QPoint cell = CellsOf(p).first();
        player->ClickCell(Qt::LeftButton, cell.x(), cell.y());
        QCOMPARE(CurrentPiece, p);
    }
    void Undo() { player->Key(Qt::Key_Z, Qt::ControlModifier); }
    void Redo(bool shifted) {
        if (shifted) {
            player->Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        } else {
            player->Key(Qt::Key_Y, Qt::ControlModifier);
        }
    }

  private slots:
    void init() {
        fakes = std::make_unique<kvtest::Fakes>();
        game = std::make_unique<kvtest::GameWindow>();
        player = std::make_unique<kvtest::Player>(game->window);
        QVERIFY(kvtest::Activate(w()));
        kvtest::StartPlay({}, Rectangle6x10());
    }
    void cleanup() {
        player.reset();
        game.reset();
        fakes.reset();
    }

    // Moves by key and click, turns by Space and palette, exchanges by click and palette:
    // each taken back restores the board exactly as it was, picture included, and each done
    // again restores it as it was after the step.
    void everyStepTakenBackAndDoneAgain() {
        QVERIFY(!w()->IgraOtmena()->isEnabled() && !w()->IgraPovtor()->isEnabled());
        QList<Snapshot> seen{Snapshot()};
        player->Key(Qt::Key_Right);
        seen << Snapshot();
        player->ClickCell(Qt::LeftButton, 13, 10);  // over no piece: a move
        seen << Snapshot();
        Select(2);
        seen << Snapshot();
        player->Key(Qt::Key_Space);  // the I turns at once
        seen << Snapshot();
        player->Key(Qt::Key_Return);  // piece palette: on to piece 4 (U)
        player->Key(Qt::Key_Right);
        player->Key(Qt::Key_Right);
        player->Key(Qt::Key_Return);
        QCOMPARE(CurrentPiece, 4);
        seen << Snapshot();
        player->Key(Qt::Key_Space);  // orientation palette: entry 3
        player->Key(Qt::Key_Right);
        player->Key(Qt::Key_Right);
        player->Key(Qt::Key_Return);
        QCOMPARE(PieceOrientation[4], 3);
        seen << Snapshot();
        // Down onto the V at home: the current piece is drawn over it.
        for (int i = 0; i < 6 && !Proverka(); ++i) {
            player->Key(Qt::Key_Down);
            seen << Snapshot();
        }
        QVERIFY(Proverka());
        player->Key(Qt::Key_Down);
        seen << Snapshot();
        QVERIFY(w()->IgraOtmena()->isEnabled() && !w()->IgraPovtor()->isEnabled());

        for (int i = seen.size() - 2; i >= 0; --i) {
            Undo();
            QVERIFY2(Snapshot() == seen[i], qPrintable(QString::number(i)));
        }
        QVERIFY(!w()->IgraOtmena()->isEnabled() && w()->IgraPovtor()->isEnabled());
        Undo();  // nothing left to take back
        QVERIFY(Snapshot() == seen[0]);
        for (int i = 1; i < seen.size(); ++i) {
            Redo(i % 2 == 0);
            QVERIFY2(Snapshot() == seen[i], qPrintable(QString::number(i)));
        }
        QCOMPARE(fakes->victory.shown, 0);

        // A new step after taking some back forgets what was taken back.
        Undo();
        Undo();
        player->Key(Qt::Key_Left);
        const Snapshot branched;
        QVERIFY(!w()->IgraPovtor()->isEnabled());
        Redo(false);
        QVERIFY(Snapshot() == branched);
        Undo();
        QVERIFY(Snapshot() == seen[seen.size() - 3]);
    }

    // Taking a covering move back shows nothing; doing it again shows the victory window.
    void redoneCoveringMoveShowsVictory() {
        QList<int> others;
        for (int p = 2; p <= kPieces; ++p) others << p;
        kvtest::StartPlay(others, {{4, 0}, {3, 1}, {4, 1}, {5, 1}, {4, 2}});
        player->Key(Qt::Key_Right);
        QCOMPARE(fakes->victory.shown, 1);
        Undo();
        QCOMPARE(fakes->victory.shown, 1);
        QCOMPARE(PiecePos[1][0], 3);
        Redo(false);
        QCOMPARE(fakes->victory.shown, 2);
        QCOMPARE(PiecePos[1][0], 4);
    }

    // A piece that no tiling keeps goes home, and nothing else moves.
    void hintSendsTheWrongPieceHome() {
        // The X one cell in from the corner cuts the corner cell off.
        Select(3);
        player->ClickCell(Qt::LeftButton, 16, 12);  // the T inside, somewhere harmless
        Select(1);
        player->ClickCell(Qt::LeftButton, 13, 10);
        const Snapshot before;
        const int t[2] = {PiecePos[3][0], PiecePos[3][1]};
        w()->IgraPodskazka()->trigger();
        QCOMPARE(QPoint(PiecePos[1][0], PiecePos[1][1]), QPoint(3, 1));
        QCOMPARE(PieceOrientation[1], 1);
        QCOMPARE(PiecePos[3][0], t[0]);
        QCOMPARE(PiecePos[3][1], t[1]);
        Undo();
        QVERIFY(Snapshot() == before);
    }

    // A set piece lying half outside the outline is in the way of the pieces the hints
    // place: it goes home rather than have another piece set down on it, and the hints go on
    // to cover the outline.
    void hintsClearAPieceLyingInTheWay() {
        Select(12);
        player->ClickCell(Qt::LeftButton, 12, 11);  // the P across the left edge
        Select(1);
        for (int i = 0; i < 24 && !OutlineCovered(); ++i) {
            w()->IgraPodskazka()->trigger();
            for (int p = 1; p <= kPieces; ++p) {
                if (p == CurrentPiece) continue;
                for (const QPoint& c : CellsOf(p)) QCOMPARE(BoardCells[c.x()][c.y()], p);
            }
        }
        QVERIFY(OutlineCovered());
        QCOMPARE(fakes->victory.shown, 1);
    }

    // Starting again looks exactly like a fresh load and can be taken back.
    void startAgainIsAStep() {
        const Snapshot loaded;
        Select(5);
        player->Key(Qt::Key_Right);
        player->Key(Qt::Key_Space);
        player->Key(Qt::Key_Return);
        const Snapshot played;
        player->Key(Qt::Key_N, Qt::ControlModifier);
        QVERIFY(Snapshot() == loaded);
        Undo();
        QVERIFY(Snapshot() == played);
    }

    // MoveFigury lets queued events run before its victory test. A Ctrl+Z queued behind a
    // hint must take back the whole hint once it is done, not cut into it; an arrow queued
    // there belongs to the hint's step.
    void commandsQueuedDuringAHintWaitForIt() {
        const Snapshot start;
        int calls = 0;
        fakes->events.onProcess = [&] {
            if (++calls == 1) w()->IgraOtmena()->trigger();
        };
        w()->IgraPodskazka()->trigger();
        QVERIFY(Snapshot() == start);
        QVERIFY(w()->IgraPovtor()->isEnabled());
        w()->IgraPovtor()->trigger();
        QVERIFY(!(Snapshot() == start));

        calls = 0;
        Undo();
        fakes->events.onProcess = [&] {
            if (++calls == 1) player->Key(Qt::Key_Left);
        };
        w()->IgraPodskazka()->trigger();
        fakes->events.onProcess = nullptr;
        Undo();
        QVERIFY(Snapshot() == start);
        QVERIFY(!w()->IgraOtmena()->isEnabled());
    }

    // A palette open over the board closes before a command changes the pieces under it.
    void commandsCloseAnOpenPalette() {
        player->Key(Qt::Key_Right);
        player->Key(Qt::Key_Return);
        QVERIFY(w()->picVyborFigury()->isVisible());
        Undo();
        QVERIFY(!w()->picVyborFigury()->isVisible());
        QCOMPARE(PiecePos[1][0], 3);
    }
};

QTEST_MAIN(HistoryTest)
#include "test_history.moc"
