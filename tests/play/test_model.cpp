// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The piece set and its orientations, home positions, setting down and lifting, turning,
// moving, the overlap test and the victory test.
#include <QSet>
#include <QtTest>
#include <algorithm>
#include <cstring>
#include <vector>

#include "model/Model.h"
#include "model/Operations.h"
#include "support/TestSupport.h"
#include "view/BoardDrawing.h"

using namespace kv;
using kvtest::CellsOf;

namespace {

// Normalised shape of piece p in orientation o: its cells shifted to the top-left corner.
QList<QPoint> Shape(int p, int o) {
    int minX = 9, minY = 9;
    for (int k = 0; k < 5; ++k) {
        minX = std::min(minX, PieceCells[p][k][o][0]);
        minY = std::min(minY, PieceCells[p][k][o][1]);
    }
    QList<QPoint> cells;
    for (int k = 0; k < 5; ++k) {
        cells << QPoint(PieceCells[p][k][o][0] - minX, PieceCells[p][k][o][1] - minY);
    }
    std::sort(cells.begin(), cells.end(), [](const QPoint& a, const QPoint& b) {
        return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x();
    });
    return cells;
}

// Pieces at home, all set down, then the first piece in play lifted: the start of play.
void StartPlay() {
    FiguryPoMestam();
    ShowAllFigury();
    CurrentPiece = FirstPieceInPlay();
    UstanovkaFigury(-1);
}

// An outline made of exactly the cells the pieces in play cover now.
void OutlineUnderThePieces() {
    std::memset(OutlineCells, 0, sizeof OutlineCells);
    for (int p = 1; p <= kPieces; ++p) {
        if (PieceExcluded[p] == 1) continue;
        for (const QPoint cell : CellsOf(p)) OutlineCells[cell.x()][cell.y()] = 1;
    }
}

std::vector<int> BoardSnapshot() {
    return std::vector<int>(&BoardCells[0][0], &BoardCells[0][0] + kColumns * kRows);
}

}  // namespace

class ModelTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { kvtest::FreshModel(); }

    void pieceTable() {
        // The cells of each definition in order, as the table of pieces lists them.
        const int cells[12][5][2] = {
            {{0, -1}, {-1, 0}, {0, 0}, {1, 0}, {0, 1}},
            {{-2, 0}, {-1, 0}, {0, 0}, {1, 0}, {2, 0}},
            {{0, -1}, {0, 0}, {-1, 1}, {0, 1}, {1, 1}},
            {{-1, -1}, {1, -1}, {-1, 0}, {0, 0}, {1, 0}},
            {{0, -2}, {0, -1}, {0, 0}, {1, 0}, {2, 0}},
            {{-1, -1}, {-1, 0}, {0, 0}, {0, 1}, {1, 1}},
            {{-1, -1}, {0, -1}, {0, 0}, {0, 1}, {1, 1}},
            {{-1, -1}, {-1, 0}, {0, 0}, {1, 0}, {2, 0}},
            {{-1, -1}, {0, -1}, {0, 0}, {1, 0}, {2, 0}},
            {{0, -1}, {-1, 0}, {0, 0}, {1, 0}, {2, 0}},
            {{-1, -1}, {-1, 0}, {0, 0}, {1, 0}, {0, 1}},
            {{0, -1}, {-1, 0}, {0, 0}, {-1, 1}, {0, 1}},
        };
        const Colour colours[13] = {0,        0xFF0000, 0x00FF00, 0x0000FF, 0x00FFFF,
                                    0xFF00FF, 0x4080FF, 0xBF0000, 0x008000, 0x0000BF,
                                    0x00BFBF, 0xBF00BF, 0x0039D4};
        const int counts[13] = {0, 1, 2, 4, 4, 4, 4, 8, 8, 8, 8, 8, 8};
        for (int p = 1; p <= kPieces; ++p) {
            for (int k = 0; k < 5; ++k) {
                QCOMPARE(PieceCells[p][k][1][0], cells[p - 1][k][0]);
                QCOMPARE(PieceCells[p][k][1][1], cells[p - 1][k][1]);
            }
        }
        for (int p = 0; p <= kPieces; ++p) {
            QCOMPARE(PieceColor[p], colours[p]);
            QCOMPARE(OrientationCount[p], counts[p]);
        }
        // Index 0 of piece and of orientation carries nothing.
        for (int k = 0; k < 5; ++k) {
            for (int a = 0; a < 2; ++a) {
                for (int o = 0; o <= 8; ++o) QCOMPARE(PieceCells[0][k][o][a], 0);
                for (int p = 0; p <= kPieces; ++p) QCOMPARE(PieceCells[p][k][0][a], 0);
            }
        }
    }

    void orientations() {
        for (int p = 1; p <= kPieces; ++p) {
            for (int o = 1; o <= 8; ++o) {
                bool hasReference = false;
                for (int k = 0; k < 5; ++k) {
                    const int x = PieceCells[p][k][1][0];
                    const int y = PieceCells[p][k][1][1];
                    hasReference |= PieceCells[p][k][o][0] == 0 && PieceCells[p][k][o][1] == 0;
                    QVERIFY(qAbs(PieceCells[p][k][o][0]) <= 2 && qAbs(PieceCells[p][k][o][1]) <= 2);
                    // A quarter turn clockwise on screen (rows grow downwards), half a turn,
                    // and the mirror in the main diagonal.
                    QCOMPARE(PieceCells[p][k][2][0], -y);
                    QCOMPARE(PieceCells[p][k][2][1], x);
                    QCOMPARE(PieceCells[p][k][3][0], -x);
                    QCOMPARE(PieceCells[p][k][3][1], -y);
                    QCOMPARE(PieceCells[p][k][7][0], y);
                    QCOMPARE(PieceCells[p][k][7][1], x);
                }
                QVERIFY2(hasReference, qPrintable(QStringLiteral("piece %1 o %2").arg(p).arg(o)));
            }
        }
        // Distinct shapes per piece, as the orientation palette relies on.
        const int distinct[13] = {0, 1, 2, 4, 4, 4, 4, 4, 8, 8, 8, 8, 8};
        for (int p = 1; p <= kPieces; ++p) {
            QSet<QList<QPoint>> shapes;
            for (int o = 1; o <= 8; ++o) shapes.insert(Shape(p, o));
            QCOMPARE(shapes.size(), distinct[p]);
        }
        // I: 1, 3, 6, 8 horizontal. T, U, V, W: the first four differ. Z repeats in pairs.
        for (int o : {1, 3, 6, 8}) QCOMPARE(Shape(2, o), Shape(2, 1));
        for (int o : {2, 4, 5, 7}) QCOMPARE(Shape(2, o), Shape(2, 2));
        QVERIFY(Shape(2, 1) != Shape(2, 2));
        for (int p = 3; p <= 6; ++p) {
            QSet<QList<QPoint>> firstFour;
            for (int o = 1; o <= 4; ++o) firstFour.insert(Shape(p, o));
            QCOMPARE(firstFour.size(), 4);
        }
        QCOMPARE(Shape(7, 3), Shape(7, 1));
        QCOMPARE(Shape(7, 4), Shape(7, 2));
        QCOMPARE(Shape(7, 7), Shape(7, 5));
        QCOMPARE(Shape(7, 8), Shape(7, 6));
        QVERIFY(Shape(7, 5) != Shape(7, 1) && Shape(7, 5) != Shape(7, 2));
    }

    void homePositions() {
        const int columns[13] = {0, 3, 3, 3, 3, 3, 3, 31, 31, 31, 31, 31, 31};
        const int rows[13] = {0, 1, 5, 9, 13, 17, 21, 1, 5, 9, 13, 17, 21};
        for (int p = 1; p <= kPieces; ++p) {
            PieceOrientation[p] = 5;
            PiecePos[p][0] = 20;
        }
        FiguryPoMestam();
        QSet<QPoint> used;
        QSet<int> usedColumns;
        for (int p = 1; p <= kPieces; ++p) {
            QCOMPARE(PiecePos[p][0], columns[p]);
            QCOMPARE(PiecePos[p][1], rows[p]);
            QCOMPARE(PieceOrientation[p], 1);
            for (const QPoint cell : CellsOf(p)) {
                QVERIFY(OnBoard(cell.x(), cell.y()));
                QVERIFY2(!used.contains(cell), "pieces overlap at home");
                used.insert(cell);
                usedColumns.insert(cell.x());
            }
        }
        QCOMPARE(usedColumns, (QSet<int>{1, 2, 3, 4, 5, 30, 31, 32, 33}));
        // Nothing is set down by sending home.
        QCOMPARE(BoardSnapshot(), std::vector<int>(kColumns * kRows, 0));
    }

    void homePositionsWithExcludedPieces() {
        PieceExcluded[1] = 1;
        PieceExcluded[7] = 1;
        PieceExcluded[10] = 1;
        PiecePos[7][0] = 17;
        PiecePos[7][1] = 11;
        PieceOrientation[7] = 6;
        FiguryPoMestam();
        // The others keep their own places: no closing up, the column changes at piece 7.
        QCOMPARE(PiecePos[2][0], 3);
        QCOMPARE(PiecePos[2][1], 5);
        QCOMPARE(PiecePos[8][0], 31);
        QCOMPARE(PiecePos[8][1], 5);
        QCOMPARE(PiecePos[11][0], 31);
        QCOMPARE(PiecePos[11][1], 17);
        QCOMPARE(PiecePos[7][0], 17);
        QCOMPARE(PiecePos[7][1], 11);
        QCOMPARE(PieceOrientation[7], 6);
        QCOMPARE(FirstPieceInPlay(), 2);
    }

    void settingDownAndLifting() {
        StartPlay();
        QCOMPARE(CurrentPiece, 1);
        // The current piece is not entered; every set piece holds its own number.
        for (const QPoint cell : CellsOf(1)) QCOMPARE(BoardCells[cell.x()][cell.y()], 0);
        for (int p = 2; p <= kPieces; ++p) {
            for (const QPoint cell : CellsOf(p)) QCOMPARE(BoardCells[cell.x()][cell.y()], p);
        }
        const std::vector<int> before = BoardSnapshot();
        UstanovkaFigury(+1);
        for (const QPoint cell : CellsOf(1)) QCOMPARE(BoardCells[cell.x()][cell.y()], 1);
        UstanovkaFigury(-1);
        QCOMPARE(BoardSnapshot(), before);
        // Changing the current piece: set the old one down, lift the new one.
        UstanovkaFigury(+1);
        CurrentPiece = 9;
        UstanovkaFigury(-1);
        for (const QPoint cell : CellsOf(9)) QCOMPARE(BoardCells[cell.x()][cell.y()], 0);
        for (const QPoint cell : CellsOf(1)) QCOMPARE(BoardCells[cell.x()][cell.y()], 1);
    }

    void overlapTest() {
        kvtest::Fakes fakes;
        StartPlay();
        QVERIFY(!Proverka());
        // Piece 1 (X) next to piece 2 (I at row 5, columns 1..5), then one cell onto it.
        MoveFigury(3, 3);
        QVERIFY(!Proverka());
        MoveFigury(3, 4);
        QVERIFY(Proverka());
        // Over outline cells only: no overlap.
        OutlineCells[10][10] = 1;
        MoveFigury(10, 10);
        QVERIFY(!Proverka());
        // Moving never sets anything down.
        QCOMPARE(BoardCells[3][5], 2);
        QCOMPARE(BoardCells[10][10], 0);
        // Every set piece counts, up to the last number: the X on each one at its home.
        for (int p = 2; p <= kPieces; ++p) {
            MoveFigury(PiecePos[p][0], PiecePos[p][1]);
            QVERIFY2(Proverka(), qPrintable(QStringLiteral("on piece %1").arg(p)));
        }
    }

    void turningKeepsThePieceOnTheBoard() {
        kvtest::Fakes fakes;
        StartPlay();
        // Piece 1 waits in row 1: any turn brings it down to row 2.
        Povorot(1);
        QCOMPARE(PiecePos[1][0], 3);
        QCOMPARE(PiecePos[1][1], 2);
        FiguryPoMestam();
        UstanovkaFigury(+1);
        CurrentPiece = 5;  // V
        UstanovkaFigury(-1);
        const std::vector<int> board = BoardSnapshot();

        struct Case {
            int orientation, column, row, turnTo, column2, row2;
        };
        // The V piece can stand at the board's edges in the right orientations.
        const Case cases[] = {
            {1, 0, 12, 2, 2, 12},    // column 0
            {1, 1, 23, 3, 2, 21},    // column 1, row 23
            {8, 34, 12, 1, 32, 12},  // column 34
            {8, 33, 22, 6, 32, 21},  // column 33, row 22
            {6, 12, 0, 1, 12, 2},    // row 0
            {6, 12, 1, 7, 12, 2},    // row 1
            {1, 12, 12, 4, 12, 12},  // inside: nothing to clamp
        };
        for (const Case& c : cases) {
            PieceOrientation[5] = c.orientation;
            MoveFigury(c.column, c.row);
            QCOMPARE(PiecePos[5][0], c.column);
            QCOMPARE(PiecePos[5][1], c.row);
            Povorot(c.turnTo);
            QCOMPARE(PieceOrientation[5], c.turnTo);
            QCOMPARE(PiecePos[5][0], c.column2);
            QCOMPARE(PiecePos[5][1], c.row2);
        }
        // After the clamp every orientation of every piece lies on the board.
        FiguryPoMestam();
        for (int p = 1; p <= kPieces; ++p) {
            for (const QPoint corner :
                 {QPoint(0, 0), QPoint(34, 0), QPoint(0, 23), QPoint(34, 23)}) {
                for (int o = 1; o <= 8; ++o) {
                    UstanovkaFigury(+1);
                    CurrentPiece = p;
                    UstanovkaFigury(-1);
                    PiecePos[p][0] = corner.x();
                    PiecePos[p][1] = corner.y();
                    Povorot(o);
                    for (const QPoint cell : CellsOf(p)) QVERIFY(OnBoard(cell.x(), cell.y()));
                }
                FiguryPoMestam();
            }
        }
        // Turning neither sets anything down nor yields nor runs the victory test.
        UstanovkaFigury(+1);
        CurrentPiece = 5;
        UstanovkaFigury(-1);
        QCOMPARE(BoardSnapshot(), board);
        OutlineUnderThePieces();
        const int yields = fakes.events.calls;
        Povorot(2);
        Povorot(1);
        QCOMPARE(fakes.events.calls, yields);
        QCOMPARE(fakes.victory.shown, 0);
        QCOMPARE(BoardSnapshot(), board);
    }

    void moveBounds() {
        kvtest::Fakes fakes;
        StartPlay();
        UstanovkaFigury(+1);
        CurrentPiece = 2;  // I, horizontal, home (3, 5)
        UstanovkaFigury(-1);
        MoveFigury(1, 5);  // its cell at offset -2 would be in column -1
        QCOMPARE(PiecePos[2][0], 3);
        QCOMPARE(fakes.events.calls, 0);  // refused: nothing redrawn, no yield
        MoveFigury(2, 5);
        QCOMPARE(PiecePos[2][0], 2);
        QCOMPARE(PiecePos[2][1], 5);
        QCOMPARE(fakes.events.calls, 1);
        MoveFigury(33, 5);
        QCOMPARE(PiecePos[2][0], 2);
        MoveFigury(32, 23);
        QCOMPARE(PiecePos[2][0], 32);
        QCOMPARE(PiecePos[2][1], 23);
        MoveFigury(32, 24);
        MoveFigury(32, -1);
        QCOMPARE(PiecePos[2][1], 23);
        QCOMPARE(fakes.events.calls, 2);
        // Vertical: rows 2..21 only.
        Povorot(2);
        MoveFigury(20, 1);
        MoveFigury(20, 22);
        QCOMPARE(PiecePos[2][1], 21);
        MoveFigury(20, 2);
        QCOMPARE(PiecePos[2][1], 2);
        // Moving over set pieces is allowed.
        MoveFigury(31, 4);
        QCOMPARE(PiecePos[2][0], 31);
        QVERIFY(Proverka());
    }

    void victoryOnlyWhenTheOutlineIsCovered() {
        kvtest::Fakes fakes;
        StartPlay();
        OutlineUnderThePieces();
        // Piece 1 one cell outside its place: three of its cells leave the outline.
        MoveFigury(4, 1);
        QCOMPARE(fakes.victory.shown, 0);
        MoveFigury(3, 1);
        QCOMPARE(fakes.victory.shown, 1);
        // The board is left as it was; a later covering move shows it again.
        QCOMPARE(PiecePos[1][0], 3);
        MoveFigury(3, 2);
        QCOMPARE(fakes.victory.shown, 1);
        MoveFigury(3, 1);
        QCOMPARE(fakes.victory.shown, 2);
    }

    void victoryTestCoversEveryPieceInPlay() {
        kvtest::Fakes fakes;
        StartPlay();
        OutlineUnderThePieces();
        // A set piece one cell outside fails it, whatever the current piece does.
        UstanovkaFigury(+1);
        CurrentPiece = 12;
        UstanovkaFigury(-1);
        MoveFigury(31, 22);
        UstanovkaFigury(+1);
        CurrentPiece = 1;
        UstanovkaFigury(-1);
        MoveFigury(3, 1);
        QCOMPARE(fakes.victory.shown, 0);

        // The whole board as outline: only overlap can fail it.
        std::memset(OutlineCells, 0, sizeof OutlineCells);
        for (int c = 0; c < kColumns; ++c) {
            for (int r = 0; r < kRows; ++r) OutlineCells[c][r] = 1;
        }
        MoveFigury(10, 10);
        QCOMPARE(fakes.victory.shown, 1);
        MoveFigury(3, 4);  // one cell onto piece 2
        QCOMPARE(fakes.victory.shown, 1);
        MoveFigury(10, 10);
        QCOMPARE(fakes.victory.shown, 2);
        // Lying on the X, the lowest number, fails it too.
        UstanovkaFigury(+1);
        CurrentPiece = 2;
        UstanovkaFigury(-1);
        MoveFigury(10, 10);
        QCOMPARE(fakes.victory.shown, 2);
    }

    void victoryIgnoresExcludedPieces() {
        kvtest::Fakes fakes;
        PieceExcluded[4] = 1;
        PieceExcluded[12] = 1;
        StartPlay();
        OutlineUnderThePieces();
        // Stale positions: one outside the outline, one on top of a piece in play.
        PiecePos[4][0] = 17;
        PiecePos[4][1] = 12;
        PieceOrientation[4] = 1;
        PiecePos[12][0] = 3;
        PiecePos[12][1] = 9;
        PieceOrientation[12] = 3;
        MoveFigury(3, 2);
        QCOMPARE(fakes.victory.shown, 0);
        MoveFigury(3, 1);
        QCOMPARE(fakes.victory.shown, 1);
        // The same arrangement with piece 4 in play at its stale place is no victory.
        PieceExcluded[4] = 0;
        MoveFigury(3, 1);
        QCOMPARE(fakes.victory.shown, 1);
    }

    void turningIntoPlaceIsNoVictory() {
        kvtest::Fakes fakes;
        StartPlay();
        UstanovkaFigury(+1);
        CurrentPiece = 8;  // L, home (31, 5)
        UstanovkaFigury(-1);
        OutlineUnderThePieces();
        Povorot(8);
        Povorot(1);
        QCOMPARE(fakes.victory.shown, 0);
        // The next move, even to the same cell, runs the test.
        MoveFigury(31, 5);
        QCOMPARE(fakes.victory.shown, 1);
    }

    void victoryTestReadsTheStateAfterTheYield() {
        kvtest::Fakes fakes;
        StartPlay();
        OutlineUnderThePieces();
        MoveFigury(4, 2);
        // A queued key moves the piece on before the test of the first move runs.
        fakes.events.onProcess = [] {
            PiecePos[CurrentPiece][0] = 4;
            PiecePos[CurrentPiece][1] = 2;
        };
        MoveFigury(3, 1);
        QCOMPARE(fakes.victory.shown, 0);
        fakes.events.onProcess = [] {
            PiecePos[CurrentPiece][0] = 3;
            PiecePos[CurrentPiece][1] = 1;
        };
        MoveFigury(5, 5);
        QCOMPARE(fakes.victory.shown, 1);
    }
};

QTEST_MAIN(ModelTest)
#include "test_model.moc"
