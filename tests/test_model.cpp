// The piece set, home positions, setting down and lifting, moving and the victory test.
#include <QtTest>

#include "model/Model.h"
#include "model/Operations.h"
#include "support/TestSupport.h"

using namespace kv;

class ModelTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { kvtest::FreshModel(); }

    void orientationOneReproducesTheDefinitions() {
        const int expected[5][2] = {{0, -1}, {-1, 0}, {0, 0}, {1, 0}, {0, 1}};
        for (int k = 0; k < 5; ++k) {
            QCOMPARE(PieceCells[1][k][1][0], expected[k][0]);
            QCOMPARE(PieceCells[1][k][1][1], expected[k][1]);
        }
        for (int p = 1; p <= kPieces; ++p) {
            for (int o = 1; o <= 8; ++o) {
                bool hasReference = false;
                for (int k = 0; k < 5; ++k) {
                    hasReference |= PieceCells[p][k][o][0] == 0 && PieceCells[p][k][o][1] == 0;
                    // Half a turn negates, the main diagonal swaps the axes.
                    QCOMPARE(PieceCells[p][k][3][0], -PieceCells[p][k][1][0]);
                    QCOMPARE(PieceCells[p][k][3][1], -PieceCells[p][k][1][1]);
                    QCOMPARE(PieceCells[p][k][7][0], PieceCells[p][k][1][1]);
                }
                QVERIFY2(hasReference, qPrintable(QStringLiteral("piece %1 o %2").arg(p).arg(o)));
            }
        }
        for (int k = 0; k < 5; ++k) {
            for (int a = 0; a < 2; ++a) {
                for (int o = 0; o <= 8; ++o) QCOMPARE(PieceCells[0][k][o][a], 0);
                for (int p = 0; p <= kPieces; ++p) QCOMPARE(PieceCells[p][k][0][a], 0);
            }
        }
    }

    void homePositions() {
        PieceExcluded[2] = 1;
        PieceExcluded[8] = 1;
        PiecePos[2][0] = 17;
        FiguryPoMestam();
        for (int p = 1; p <= kPieces; ++p) {
            if (p == 2 || p == 8) continue;
            const int place = (p - 1) % 6 + 1;
            QCOMPARE(PiecePos[p][0], p <= 6 ? 3 : 31);
            QCOMPARE(PiecePos[p][1], 4 * place - 3);
            QCOMPARE(PieceOrientation[p], 1);
        }
        QCOMPARE(PiecePos[2][0], 17);  // excluded pieces are left alone
    }

    void moveBoundsForTheIPiece() {
        kvtest::Fakes fakes;
        FiguryPoMestam();
        CurrentPiece = 2;
        MoveFigury(1, 5);
        QCOMPARE(PiecePos[2][0], 3);
        QCOMPARE(fakes.events.calls, 0);  // refused: nothing redrawn, no yield
        MoveFigury(2, 5);
        QCOMPARE(PiecePos[2][0], 2);
        QCOMPARE(fakes.events.calls, 1);
    }
};

QTEST_MAIN(ModelTest)
#include "test_model.moc"
