// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Mouse and keys on the board, played through the real main window.
#include <QLineEdit>
#include <QScreen>
#include <QtTest>

#include "app/MainWindow.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "platform/Services.h"
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
    // Every cell of piece p where it stands shows its colour, its reference cell the hand.
    bool DrawnAt(int p) const {
        for (const QPoint& c : CellsOf(p)) {
            bool plain = true;
            for (int y = 1; y < CellSize; ++y) {
                for (int x = 1; x < CellSize; ++x) {
                    plain = plain &&
                            board()->canvas().Pixel(c.x() * CellSize + x, c.y() * CellSize + y) ==
                                kvtest::Rgb(PieceColor[p]);
                }
            }
            const bool hand = p == CurrentPiece && c == QPoint(PiecePos[p][0], PiecePos[p][1]);
            if (plain == hand) return false;
        }
        return true;
    }
    static QString Told() { return platform::LastTold(); }
    // The X alone in play, with an outline that it covers at (10, 10).
    void StartXPuzzle() {
        QList<int> excluded;
        for (int p = 2; p <= 12; ++p) excluded << p;
        kvtest::StartPlay(excluded, {{10, 9}, {9, 10}, {10, 10}, {11, 10}, {10, 11}});
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
    // The grabbed cell stays under the pointer; the drag draws as it goes but is one step
    // with one victory test, at the release.
    void aDragKeepsTheGrabbedCellUnderThePointer() {
        StartXPuzzle();
        player->DragCells({4, 1}, {{10, 10}}, false);  // grabbed one cell right of the hand
        QCOMPARE(Pos(), QPoint(9, 10));
        QVERIFY(w()->Dragging());
        QVERIFY(DrawnAt(1));
        QCOMPARE(board()->canvas().Pixel(3 * CellSize + 3, 1 * CellSize + 3),
                 kvtest::Rgb(platform::COLOR_BTNFACE));
        player->Move(board(), CellCentre(11, 10));  // over the outline, covering it: no test yet
        QCOMPARE(Pos(), QPoint(10, 10));
        player->Move(board(), CellCentre(14, 13));
        player->Release(board(), Qt::LeftButton, CellCentre(14, 13));
        QCOMPARE(Pos(), QPoint(13, 13));
        QVERIFY(!w()->Dragging());
        QCOMPARE(fakes->events.calls, 1);
        QCOMPARE(fakes->victory.shown, 0);
        QVERIFY(DrawnAt(1));
        QVERIFY(CanOtmena());
        Otmena();
        QCOMPARE(Pos(), QPoint(3, 1));
        QVERIFY(!CanOtmena());  // the whole drag was one step
        QVERIFY(DrawnAt(1));

        player->DragCells({3, 2}, {{8, 8}, {10, 11}});  // ends on the outline
        QCOMPARE(Pos(), QPoint(10, 10));
        QCOMPARE(fakes->victory.shown, 1);
    }

    // A press on another piece takes it first, by the click's rule; while the current piece
    // lies on a set piece nothing is grabbed, and the release moves nothing either.
    void aDragTakesAnotherPieceUnlessTheCurrentOneOverlaps() {
        player->DragCells({5, 17}, {{20, 17}, {20, 18}});  // the V, grabbed at its right end
        QCOMPARE(CurrentPiece, 5);
        QCOMPARE(Pos(), QPoint(18, 18));
        for (const QPoint& c : CellsOf(1)) QCOMPARE(BoardCells[c.x()][c.y()], 1);
        for (const QPoint& c : CellsOf(5)) QCOMPARE(BoardCells[c.x()][c.y()], 0);
        QVERIFY(DrawnAt(5));
        QVERIFY(Told().startsWith(QStringLiteral("V: ")));
        Otmena();  // the exchange and the move together
        QCOMPARE(CurrentPiece, 1);
        QCOMPARE(PiecePos[5][0], 3);
        QVERIFY(!CanOtmena());

        QVERIFY(player->KeyTo(3, 10));  // the X over the T
        QVERIFY(Proverka());
        const QImage before = board()->canvas().Image().copy();
        player->DragCells({5, 17}, {{20, 17}, {20, 18}});
        QCOMPARE(CurrentPiece, 1);
        QCOMPARE(Pos(), QPoint(3, 10));
        QCOMPARE(PiecePos[5][0], 3);
        QCOMPARE(board()->canvas().Image(), before);
        QCOMPARE(Told(), QStringLiteral(
                             "Другую фигуру взять нельзя: X лежит на другой фигуре. Сдвиньте её."));
        QCOMPARE(w()->BoardPressed, 0);
        // The current piece itself still drags off the other one.
        player->DragCells({3, 10}, {{3, 11}, {13, 11}});
        QCOMPARE(Pos(), QPoint(13, 11));
        QVERIFY(!Proverka());
    }

    void aDragStopsAtTheEdgeOfTheBoard() {
        player->DragCells({3, 1}, {{10, 5}}, false);
        player->Move(board(), QPoint(-40, CellCentre(0, 5).y()));  // left of the board
        QCOMPARE(Pos(), QPoint(1, 5));
        QCOMPARE(Told(), QStringLiteral("Дальше край поля: фигура с поля не уходит."));
        player->Move(board(), QPoint(-40, -40));
        QCOMPARE(Pos(), QPoint(1, 1));
        player->Move(board(), CellCentre(20, 20));
        QCOMPARE(Pos(), QPoint(20, 20));
        QVERIFY(Told().startsWith(QStringLiteral("X: ")));
        // Released far right of the board: the piece lies at the edge, where it stopped.
        player->Move(board(), QPoint(900, CellCentre(0, 22).y()));
        player->Release(board(), Qt::LeftButton, QPoint(900, CellCentre(0, 22).y()));
        QCOMPARE(Pos(), QPoint(33, 22));
        QVERIFY(DrawnAt(1));
        QCOMPARE(fakes->events.calls, 1);
    }

    void escPutsBackWhatTheDragChanged() {
        const QImage before = board()->canvas().Image().copy();
        player->DragCells({3, 15}, {{20, 17}, {21, 19}}, false);  // the V, by its top cell
        QCOMPARE(CurrentPiece, 5);
        player->Key(Qt::Key_Space);  // no palette in the middle of a drag
        QVERIFY(!PaletteOpen());
        player->Key(Qt::Key_Escape);
        QVERIFY(!w()->Dragging());
        QCOMPARE(CurrentPiece, 1);
        QCOMPARE(PiecePos[5][0], 3);
        QCOMPARE(PiecePos[5][1], 17);
        QCOMPARE(board()->canvas().Image(), before);
        QVERIFY(!CanOtmena());
        // The button comes up later: nothing more happens.
        player->Move(board(), CellCentre(25, 5));
        player->Release(board(), Qt::LeftButton, CellCentre(25, 5));
        QCOMPARE(Pos(), QPoint(3, 1));
        QCOMPARE(PiecePos[5][0], 3);
        QCOMPARE(fakes->events.calls, 0);
        QCOMPARE(w()->BoardPressed, 0);

        // So does anything that takes the focus away, a dialog opened by a shortcut say.
        player->DragCells({3, 15}, {{20, 17}}, false);
        QVERIFY(w()->Dragging());
        QLineEdit elsewhere(w()->Client());
        elsewhere.show();
        elsewhere.setFocus();
        QVERIFY(!w()->Dragging());
        QCOMPARE(CurrentPiece, 1);
        QCOMPARE(board()->canvas().Image(), before);
        QVERIFY(!CanOtmena());
    }

    // A press and a release on one cell is the specified click, however the pointer wavers
    // inside the cell; so is a press on a free cell released on another.
    void clicksStayClicks() {
        const QPoint onX = CellCentre(4, 1);
        player->Press(board(), Qt::LeftButton, onX);
        player->Move(board(), onX + QPoint(3, 2));
        player->Release(board(), Qt::LeftButton, onX + QPoint(3, 2));
        QCOMPARE(Pos(), QPoint(4, 1));  // the click on its own cell moved the hand there
        QCOMPARE(fakes->events.calls, 1);
        player->DragCells({20, 5}, {{21, 5}, {22, 6}});
        QCOMPARE(Pos(), QPoint(22, 6));
        QCOMPARE(fakes->events.calls, 2);
        QVERIFY(!w()->Dragging());
    }

    void lettersTakeTheirPieceUnderEitherLayout() {
        player->Key(Qt::Key_T);
        QCOMPARE(CurrentPiece, 3);
        QVERIFY(Told().startsWith(QStringLiteral("T: ")));
        player->TypedKey(Qt::Key(0x0427),
                         QStringLiteral("ч"));  // on the X key of a Russian keyboard
        QCOMPARE(CurrentPiece, 1);
        player->TypedKey(Qt::Key(0x042F), QStringLiteral("я"));  // Z
        QCOMPARE(CurrentPiece, 7);
        player->Key(Qt::Key_R);                                  // no piece's letter
        player->TypedKey(Qt::Key(0x041A), QStringLiteral("к"));  // on the R key
        QCOMPARE(CurrentPiece, 7);
        player->Key(Qt::Key_T, Qt::ControlModifier);  // a command's letter, not the T's
        player->Key(Qt::Key_T, Qt::AltModifier);
        QCOMPARE(CurrentPiece, 7);
        QVERIFY(CanOtmena());
        Otmena();
        QCOMPARE(CurrentPiece, 1);

        QList<int> excluded = {6};
        kvtest::StartPlay(excluded);
        player->Key(Qt::Key_W);
        QCOMPARE(CurrentPiece, 1);
        QCOMPARE(Told(), QStringLiteral("Фигуры W в этом квелте нет."));
        QVERIFY(player->KeyTo(3, 10));  // over the T
        player->Key(Qt::Key_P);
        QCOMPARE(CurrentPiece, 1);
        QVERIFY(Told().startsWith(QStringLiteral("Другую фигуру взять нельзя")));
        player->Key(Qt::Key_Return);
        QVERIFY(!PaletteOpen());
        QVERIFY(Told().startsWith(QStringLiteral("Другую фигуру взять нельзя")));
    }

    void turnsFollowTheOrientationTable_data() {
        QTest::addColumn<int>("piece");
        QTest::addColumn<int>("input");  // a key, or a wheel turn in eighths of a degree
        QTest::addColumn<int>("turn");   // 0 clockwise, 1 anticlockwise, 2 mirror
        for (int p = 1; p <= kPieces; ++p) {
            const char letter = PieceLetters[p];
            QTest::addRow("%c PgDn", letter) << p << int(Qt::Key_PageDown) << 0;
            QTest::addRow("%c PgUp", letter) << p << int(Qt::Key_PageUp) << 1;
            QTest::addRow("%c Home", letter) << p << int(Qt::Key_Home) << 2;
            QTest::addRow("%c wheel towards", letter) << p << -120 << 0;
            QTest::addRow("%c wheel away", letter) << p << 120 << 1;
        }
    }
    // What the screen shows: each cell's offset turned a quarter clockwise (x, y) -> (-y, x),
    // anticlockwise (y, -x), or mirrored left to right (-x, y); the I only lies or stands,
    // the X never turns. The reference cell is kept as Povorot keeps it.
    void turnsFollowTheOrientationTable() {
        QFETCH(int, piece);
        QFETCH(int, input);
        QFETCH(int, turn);
        player->Key(Qt::Key(PieceLetters[piece]));
        QCOMPARE(CurrentPiece, piece);
        const QList<int> starts =
            piece == 2 ? QList<int>{1, 2} : QList<int>{1, 2, 3, 4, 5, 6, 7, 8};
        for (int start : starts) {
            if (start != PieceOrientation[piece]) Povorot(start);
            StartHistory();
            const int was[2] = {PiecePos[piece][0], PiecePos[piece][1]};
            if (input == 120 || input == -120) {
                player->Wheel(input);
            } else {
                player->Key(Qt::Key(input));
            }
            const int o = PieceOrientation[piece];
            if (piece == 1 || (piece == 2 && turn == 2)) {
                QCOMPARE(o, start);
                QVERIFY(!CanOtmena());
                QVERIFY(Told().startsWith(piece == 1 ? QStringLiteral("X не поворачивается")
                                                     : QStringLiteral("I только лежит или стоит")));
                continue;
            }
            if (piece == 2) {
                QCOMPARE(o, 3 - start);
            } else {
                for (int k = 0; k < 5; ++k) {
                    const int x = PieceCells[piece][k][start][0];
                    const int y = PieceCells[piece][k][start][1];
                    const QPoint want = turn == 0   ? QPoint(-y, x)
                                        : turn == 1 ? QPoint(y, -x)
                                                    : QPoint(-x, y);
                    QCOMPARE(QPoint(PieceCells[piece][k][o][0], PieceCells[piece][k][o][1]), want);
                }
            }
            QCOMPARE(Pos(), QPoint(std::clamp(was[0], 2, 32), std::clamp(was[1], 2, 21)));
            QVERIFY(DrawnAt(piece));
            QVERIFY(CanOtmena());  // one step
            Otmena();
            QCOMPARE(PieceOrientation[piece], start);
            QVERIFY(!CanOtmena());
        }
        QVERIFY(!PaletteOpen());
    }

    // Wheel notches add up in 120ths; half a notch turns nothing until the other half comes.
    void theWheelCountsWholeNotches() {
        player->Key(Qt::Key_L);
        player->Wheel(60);
        QCOMPARE(PieceOrientation[8], 1);
        player->Wheel(60);
        QCOMPARE(PieceOrientation[8], 4);  // a quarter anticlockwise
        player->Wheel(-60);
        player->Wheel(-60);
        QCOMPARE(PieceOrientation[8], 1);
        player->Wheel(-360);  // three notches at once
        QCOMPARE(PieceOrientation[8], 4);
    }

    // Unlike a turn through the palette, a turn by key or wheel ends the puzzle when it
    // covers the outline; taken back and done again it shows the victory once more.
    void aTurnIntoPlaceWins() {
        QList<int> excluded;
        for (int p = 3; p <= 12; ++p) excluded << p;
        kvtest::StartPlay(excluded, {{10, 9},
                                     {9, 10},
                                     {10, 10},
                                     {11, 10},
                                     {10, 11},
                                     {13, 8},
                                     {13, 9},
                                     {13, 10},
                                     {13, 11},
                                     {13, 12}});
        QVERIFY(player->KeyTo(10, 10));
        player->Key(Qt::Key_I);
        QVERIFY(player->KeyTo(13, 10));  // lying across the column it must fill
        QCOMPARE(fakes->victory.shown, 0);
        player->Key(Qt::Key_PageDown);
        QCOMPARE(PieceOrientation[2], 2);
        QCOMPARE(fakes->victory.shown, 1);
        player->Key(Qt::Key_PageUp);
        QCOMPARE(fakes->victory.shown, 1);
        player->Wheel(-120);
        QCOMPARE(fakes->victory.shown, 2);
        player->Key(Qt::Key_Z, Qt::ControlModifier);
        player->Key(Qt::Key_Y, Qt::ControlModifier);
        // A step done again tells the covered outline in the status line, with no window.
        QCOMPARE(fakes->victory.shown, 2);
        QCOMPARE(kv::platform::LastTold(), QStringLiteral("Квелт собран"));
    }
};

QTEST_MAIN(BoardInputTest)
#include "test_board_input.moc"
