// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Mouse and keys on the board, played through the real main window.
#include <QScreen>
#include <QtTest>

#include "app/MainWindow.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "platform/SystemColors.h"
#include "support/PlaySupport.h"
#include "support/TestSupport.h"
#include "view/BoardDrawing.h"
#include "view/PictureBox.h"

using namespace kv;
using kvtest::CellCentre;
using kvtest::CellsOf;

class BoardInputTest : public QObject {
    Q_OBJECT

    std::unique_ptr<kvtest::Fakes> fakes;
    std::unique_ptr<kvtest::GameWindow> game;
    std::unique_ptr<kvtest::Player> player;

    frmForma* w() const { return game->window; }
    PictureBox* board() const { return w()->picPole(); }
    QPoint Pos() const { return {PiecePos[CurrentPiece][0], PiecePos[CurrentPiece][1]}; }

    void Select(int p) {
        const QPoint cell = CellsOf(p).first();
        player->ClickCell(Qt::LeftButton, cell.x(), cell.y());
        QCOMPARE(CurrentPiece, p);
    }
    bool PaletteOpen() const {
        return w()->picVyborFigury()->isVisible() || w()->picPovorot()->isVisible();
    }

  private slots:
    void init() {
        fakes = std::make_unique<kvtest::Fakes>();
        game = std::make_unique<kvtest::GameWindow>();
        player = std::make_unique<kvtest::Player>(game->window);
        QVERIFY(kvtest::Activate(w()));
        kvtest::StartPlay();
        QCOMPARE(w()->BoardPressed, 0);
    }
    void cleanup() {
        player.reset();
        game.reset();
        fakes.reset();
    }

    void aReleaseActsOnlyAfterAPressOnTheBoard() {
        player->StrayRelease(board(), Qt::LeftButton, CellCentre(15, 10));
        QCOMPARE(Pos(), QPoint(3, 1));
        QCOMPARE(fakes->events.calls, 0);

        // The right button sets the flag and leaves it set (piece 1: nothing opens).
        player->Click(board(), Qt::RightButton, CellCentre(15, 10));
        QCOMPARE(w()->BoardPressed, 1);
        QVERIFY(!PaletteOpen());
        QCOMPARE(Pos(), QPoint(3, 1));
        player->StrayRelease(board(), Qt::LeftButton, CellCentre(15, 10));  // no press of its own
        QCOMPARE(Pos(), QPoint(15, 10));
        QCOMPARE(w()->BoardPressed, 0);
        player->StrayRelease(board(), Qt::LeftButton, CellCentre(16, 10));
        QCOMPARE(Pos(), QPoint(15, 10));

        // So does a right release that opens the orientation palette.
        Select(3);
        player->Click(board(), Qt::RightButton, CellCentre(20, 20));
        QVERIFY(w()->picPovorot()->isVisible());
        player->Key(Qt::Key_Escape);
        QCOMPARE(w()->BoardPressed, 1);
        player->StrayRelease(board(), Qt::LeftButton, CellCentre(20, 20));
        QCOMPARE(Pos(), QPoint(20, 20));
    }

    void releasesOnTheClosingLinesAndOutsideTheBoard() {
        QCOMPARE(BoardPixelWidth, 666);
        QCOMPARE(BoardPixelHeight, 457);
        // On the closing grid line: processed (the flag drops), but nothing moves.
        for (const QPoint& p : {QPoint(665, 100), QPoint(100, 456), QPoint(35 * 19, 24 * 19)}) {
            player->Click(board(), Qt::LeftButton, p);
            QCOMPARE(w()->BoardPressed, 0);
            QCOMPARE(Pos(), QPoint(3, 1));
        }
        QCOMPARE(fakes->events.calls, 0);
        // The board keeps the mouse while the button is held: a release one pixel right of
        // the board, still within its bounds, reaches it.
        player->Press(board(), Qt::LeftButton, CellCentre(10, 10));
        player->Release(board(), Qt::LeftButton, QPoint(666, 100));
        QCOMPARE(w()->BoardPressed, 0);
        QCOMPARE(Pos(), QPoint(3, 1));
        // Further out a release does nothing and the flag stays.
        for (const QPoint& p : {QPoint(700, 100), QPoint(-30, 100), QPoint(100, -5)}) {
            player->Press(board(), Qt::LeftButton, CellCentre(10, 10));
            player->Release(board(), Qt::LeftButton, p);
            QCOMPARE(w()->BoardPressed, 1);
            QCOMPARE(Pos(), QPoint(3, 1));
        }
        QCOMPARE(fakes->events.calls, 0);
    }

    // The second press of a double click is no button-down of its own, so its release finds
    // BoardPressed cleared by the first one: one move, one victory test, not two.
    void aDoubleClickMovesOnce() {
        QTest::mouseDClick(player->handle(), Qt::LeftButton, Qt::NoModifier,
                           player->ToWindow(board(), CellCentre(12, 12)));
        QCOMPARE(Pos(), QPoint(12, 12));
        QCOMPARE(fakes->events.calls, 1);
        QCOMPARE(w()->BoardPressed, 0);
    }

    void leftMovesMiddleOnlySwitches() {
        Select(2);                                // the I piece, lying across columns 1..5 of row 5
        player->ClickCell(Qt::LeftButton, 5, 5);  // its own cell: shifts by two
        QCOMPARE(Pos(), QPoint(5, 5));
        QCOMPARE(fakes->events.calls, 1);          // one yield per accepted move
        player->ClickCell(Qt::LeftButton, 1, 12);  // its cell at -2 would leave the board
        QCOMPARE(Pos(), QPoint(5, 5));
        QCOMPARE(fakes->events.calls, 1);
        player->ClickCell(Qt::LeftButton, 12, 12);
        QCOMPARE(Pos(), QPoint(12, 12));
        for (const QPoint& c : CellsOf(2)) {
            QCOMPARE(board()->canvas().Pixel(c.x() * CellSize + 3, c.y() * CellSize + 3),
                     kvtest::Rgb(PieceColor[2]));
        }
        // Home cells it left are clear again.
        QCOMPARE(board()->canvas().Pixel(5 * CellSize + 3, 5 * CellSize + 3),
                 kvtest::Rgb(platform::COLOR_BTNFACE));

        player->ClickCell(Qt::MiddleButton, 20, 20);
        QCOMPARE(Pos(), QPoint(12, 12));
        QCOMPARE(w()->BoardPressed, 0);
        const QPoint other = CellsOf(11).first();
        player->ClickCell(Qt::MiddleButton, other.x(), other.y());
        QCOMPARE(CurrentPiece, 11);
        QCOMPARE(Pos(), QPoint(31, 17));
        for (const QPoint& c : CellsOf(2)) QCOMPARE(BoardCells[c.x()][c.y()], 2);
        for (const QPoint& c : CellsOf(11)) QCOMPARE(BoardCells[c.x()][c.y()], 0);
        // A click on the current piece's own cell with the middle button moves nothing.
        player->ClickCell(Qt::MiddleButton, 31, 18);
        QCOMPARE(Pos(), QPoint(31, 17));
        QCOMPARE(fakes->events.calls, 2);
        // Buttons the game does not know neither press nor release.
        player->Press(board(), Qt::BackButton, CellCentre(20, 20));
        QCOMPARE(w()->BoardPressed, 0);
        player->Click(board(), Qt::RightButton, CellCentre(20, 20));
        player->Key(Qt::Key_Escape);  // the orientation palette of piece 11
        QCOMPARE(w()->BoardPressed, 1);
        player->StrayRelease(board(), Qt::BackButton, CellCentre(20, 20));
        QCOMPARE(w()->BoardPressed, 1);
        const QPoint set = CellsOf(2).first();
        player->Click(board(), Qt::BackButton, CellCentre(set.x(), set.y()));
        QCOMPARE(CurrentPiece, 11);
    }

    void overlapBlocksSwitchingButNotMovingOrTurning() {
        Select(3);
        QVERIFY(player->KeyTo(3, 11));  // the T piece over the U piece below it
        QVERIFY(Proverka());
        const QPoint other = CellsOf(1).first();
        player->ClickCell(Qt::LeftButton, other.x(), other.y());
        player->ClickCell(Qt::MiddleButton, other.x(), other.y());
        QCOMPARE(CurrentPiece, 3);
        player->Key(Qt::Key_Return);
        QVERIFY(!PaletteOpen());
        // The cells it covers still belong to the piece underneath.
        for (const QPoint& c : CellsOf(4)) QCOMPARE(BoardCells[c.x()][c.y()], 4);

        player->Key(Qt::Key_Space);
        QVERIFY(w()->picPovorot()->isVisible());
        player->Key(Qt::Key_Right);
        player->Key(Qt::Key_Return);
        QCOMPARE(PieceOrientation[3], 2);
        QVERIFY(Proverka());
        player->Key(Qt::Key_Right);
        QCOMPARE(Pos(), QPoint(4, 11));
        player->ClickCell(Qt::LeftButton, 10, 11);  // a free cell
        QCOMPARE(Pos(), QPoint(10, 11));
        QVERIFY(!Proverka());
        // The U piece is drawn whole again where the T piece lay over it.
        for (const QPoint& c : CellsOf(4)) {
            QCOMPARE(board()->canvas().Pixel(c.x() * CellSize + 3, c.y() * CellSize + 3),
                     kvtest::Rgb(PieceColor[4]));
        }
        player->ClickCell(Qt::LeftButton, other.x(), other.y());
        QCOMPARE(CurrentPiece, 1);
    }

    void theIPieceTogglesAtOnceTheXPieceNeverTurns() {
        const QImage start = board()->canvas().Image().copy();
        player->Key(Qt::Key_Space);
        // Looked at at once: a click on the board would close a palette opened by mistake.
        QVERIFY(!PaletteOpen());
        player->Click(board(), Qt::RightButton, CellCentre(20, 20));
        QVERIFY(!PaletteOpen());
        QCOMPARE(PieceOrientation[1], 1);
        QCOMPARE(board()->canvas().Image(), start);

        Select(2);
        player->Key(Qt::Key_Space);
        QVERIFY(!PaletteOpen());
        QCOMPARE(PieceOrientation[2], 2);
        QCOMPARE(CellsOf(2).first(), QPoint(3, 3));  // upright now
        player->Key(Qt::Key_Space);
        QCOMPARE(PieceOrientation[2], 1);
        player->Click(board(), Qt::RightButton, CellCentre(20, 20));
        QVERIFY(!PaletteOpen());
        QCOMPARE(PieceOrientation[2], 2);
        QCOMPARE(QApplication::focusWidget(), board());
    }

    void keysMoveOneCellAndHeldArrowsRepeat() {
        player->Key(Qt::Key_Right);
        player->Key(Qt::Key_Down);
        player->Key(Qt::Key_Down);
        QCOMPARE(Pos(), QPoint(4, 3));
        player->Key(Qt::Key_Left);
        player->Key(Qt::Key_Up);
        QCOMPARE(Pos(), QPoint(3, 2));
        QCOMPARE(fakes->events.calls, 5);
        // A held key: the keyboard's repeated key-downs move it on, one cell each.
        for (int i = 0; i < 6; ++i) player->RepeatedKey(Qt::Key_Right);
        QCOMPARE(Pos(), QPoint(9, 2));
        // What reached the screen is the board picture, cell for cell, after piecewise repaints.
        QApplication::processEvents();
        const QPoint topLeft = board()->mapTo(w(), QPoint(0, 0));
        const QImage screen = w()->screen()
                                  ->grabWindow(w()->winId(), topLeft.x(), topLeft.y(),
                                               BoardPixelWidth, BoardPixelHeight)
                                  .toImage();
        QCOMPARE(screen.size(), QSize(BoardPixelWidth, BoardPixelHeight));
        int differing = 0;
        for (int y = 0; y < BoardPixelHeight; ++y) {
            for (int x = 0; x < BoardPixelWidth; ++x) {
                differing += (screen.pixel(x, y) | 0xFF000000u) != board()->canvas().Pixel(x, y);
            }
        }
        QCOMPARE(differing, 0);
        player->Key(Qt::Key_Up);  // its top cell reaches row 0
        QCOMPARE(Pos(), QPoint(9, 1));
        const int yields = fakes->events.calls;
        player->Key(Qt::Key_Up);  // refused: no redraw, no yield
        QCOMPARE(Pos(), QPoint(9, 1));
        QCOMPARE(fakes->events.calls, yields);
        // Other keys do nothing, and Tab does not take the focus away from the board.
        for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Escape, Qt::Key_A, Qt::Key_F2}) {
            player->Key(key);
            QCOMPARE(QApplication::focusWidget(), board());
            QVERIFY(!PaletteOpen());
        }
        QCOMPARE(Pos(), QPoint(9, 1));
        player->Key(Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(w()->picVyborFigury()->isVisible());
    }

    void noInputWithoutCellsOrWithoutAPieceInPlay() {
        const int cellSize = CellSize;
        CellSize = 0;
        player->Key(Qt::Key_Right);
        player->Key(Qt::Key_Return);
        player->Press(board(), Qt::LeftButton, QPoint(100, 100));
        CellSize = cellSize;
        QCOMPARE(w()->BoardPressed, 0);
        QCOMPARE(Pos(), QPoint(3, 1));
        QVERIFY(!PaletteOpen());
        player->StrayRelease(board(), Qt::LeftButton, QPoint(100, 100));
        QCOMPARE(Pos(), QPoint(3, 1));

        // An outline that leaves every piece out: no current piece, so nothing to move.
        QList<int> all;
        for (int p = 1; p <= 12; ++p) all << p;
        kvtest::StartPlay(all);
        QCOMPARE(CurrentPiece, 13);
        const QImage empty = board()->canvas().Image().copy();
        for (Qt::Key key : {Qt::Key_Left, Qt::Key_Down, Qt::Key_Return, Qt::Key_Space}) {
            player->Key(key);
        }
        player->ClickCell(Qt::LeftButton, 10, 10);
        player->ClickCell(Qt::RightButton, 10, 10);
        QVERIFY(!PaletteOpen());
        QCOMPARE(board()->canvas().Image(), empty);
        QCOMPARE(fakes->events.calls, 0);
    }

    // Pieces 1 and 2 in play, an outline for the X piece around (10, 10) and an upright I
    // piece in column 13, everything done from the keyboard.
    void aSmallPuzzleSolvedByKeys() {
        QList<int> excluded;
        for (int p = 3; p <= 12; ++p) excluded << p;
        const QList<QPoint> outline = {{10, 9}, {9, 10}, {10, 10}, {11, 10}, {10, 11},
                                       {13, 8}, {13, 9}, {13, 10}, {13, 11}, {13, 12}};
        kvtest::StartPlay(excluded, outline);
        QCOMPARE(CurrentPiece, 1);

        QVERIFY(player->KeyTo(10, 10));
        QCOMPARE(fakes->victory.shown, 0);
        player->Key(Qt::Key_Return);
        player->Key(Qt::Key_Right);
        player->Key(Qt::Key_Return);
        QCOMPARE(CurrentPiece, 2);
        player->Key(Qt::Key_Space);
        QCOMPARE(PieceOrientation[2], 2);
        QVERIFY(player->KeyTo(13, 9));
        QCOMPARE(fakes->victory.shown, 0);  // one cell short
        player->Key(Qt::Key_Down);
        QCOMPARE(fakes->victory.shown, 1);

        // Play goes on: away and back shows it again, and so does a move onto its own place.
        player->Key(Qt::Key_Right);
        QCOMPARE(fakes->victory.shown, 1);
        player->Key(Qt::Key_Left);
        QCOMPARE(fakes->victory.shown, 2);
        player->ClickCell(Qt::LeftButton, 13, 10);
        QCOMPARE(Pos(), QPoint(13, 10));
        QCOMPARE(fakes->victory.shown, 3);
        // Turning into place is no move: the test runs only after a move.
        player->Key(Qt::Key_Space);
        player->Key(Qt::Key_Space);
        QCOMPARE(fakes->victory.shown, 3);
    }
};

QTEST_MAIN(BoardInputTest)
#include "test_board_input.moc"
