// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Pixels of the board's backing image: the grid, cell interiors, erasing and drawing the
// current piece, the hand marker, and how much of the board each change repaints.
#include <QLabel>
#include <QtTest>
#include <functional>
#include <optional>

#include "app/MainWindow.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "platform/SystemColors.h"
#include "support/PlaySupport.h"
#include "support/TestSupport.h"
#include "view/BoardDrawing.h"
#include "view/PictureBox.h"

using namespace kv;
using kvtest::CellsOf;
using kvtest::Rgb;

namespace {

const QRgb kGrid = Rgb(0x8000000C);
const QRgb kBackground = Rgb(0x8000000F);
const QRgb kBlack = Rgb(0);
const QRgb kWhite = Rgb(0xFFFFFF);

// What a cell interior should show: a uniform colour, or nothing to check (std::nullopt).
using CellExpectation = std::function<std::optional<QRgb>(int c, int r)>;

// Walks every pixel of the board: grid lines every CellSize pixels in the grid colour, and
// every cell interior uniformly in the expected colour. Reports the first difference.
QString BoardDifference(const Canvas& canvas, const CellExpectation& expected) {
    const int size = CellSize;
    if (canvas.Width() != 35 * size + 1 || canvas.Height() != 24 * size + 1) {
        return QStringLiteral("board is %1x%2").arg(canvas.Width()).arg(canvas.Height());
    }
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            std::optional<QRgb> want;
            if (x % size == 0 || y % size == 0) {
                want = kGrid;
            } else {
                want = expected(x / size, y / size);
            }
            if (want && canvas.Pixel(x, y) != *want) {
                return QStringLiteral("pixel (%1, %2) is %3, expected %4")
                    .arg(x)
                    .arg(y)
                    .arg(canvas.Pixel(x, y), 8, 16)
                    .arg(*want, 8, 16);
            }
        }
    }
    return {};
}

#define CHECK_BOARD(expected)                                               \
    do {                                                                    \
        const QString difference = BoardDifference(*BoardCanvas, expected); \
        QVERIFY2(difference.isEmpty(), qPrintable(difference));             \
    } while (false)

// True when the interior of cell (c, r) shows the hand of tile p: only white, black and the
// piece's colour, with some of each of white and black, and the tile's colour in its corner.
bool ShowsHandOf(int c, int r, int p) {
    bool white = false;
    bool black = false;
    for (int y = r * CellSize + 1; y < (r + 1) * CellSize; ++y) {
        for (int x = c * CellSize + 1; x < (c + 1) * CellSize; ++x) {
            const QRgb pixel = BoardCanvas->Pixel(x, y);
            white |= pixel == kWhite;
            black |= pixel == kBlack;
            if (pixel != kWhite && pixel != kBlack && pixel != Rgb(PieceColor[p])) return false;
        }
    }
    return white && black &&
           BoardCanvas->Pixel(c * CellSize + 1, r * CellSize + 1) == Rgb(PieceColor[p]);
}

// Records the rectangles the board repaints while it lives.
struct RepaintRecorder {
    RepaintRecorder() : previous(BoardCanvas->Changed) {
        BoardCanvas->Changed = [this](const QRect& r) {
            rects << r;
            if (previous) previous(r);
        };
    }
    ~RepaintRecorder() { BoardCanvas->Changed = previous; }
    std::function<void(const QRect&)> previous;
    QList<QRect> rects;
};

QRect Interior(int c, int r) {
    return QRect(QPoint(c * CellSize + 1, r * CellSize + 1),
                 QPoint((c + 1) * CellSize - 1, (r + 1) * CellSize - 1));
}

}  // namespace

class BoardDrawingTest : public QObject {
    Q_OBJECT
  private slots:
    void emptyBoardIsTheBareGrid() {
        kvtest::GameWindow game;
        QCOMPARE(CellSize, 19);
        BoardCells[4][4] = 7;
        NewPole();
        for (int c = 0; c < kColumns; ++c) {
            for (int r = 0; r < kRows; ++r) QCOMPARE(BoardCells[c][r], 0);
        }
        // The corner cells and the closing lines, then every pixel of the board.
        const Canvas& canvas = *BoardCanvas;
        for (const QPoint corner :
             {QPoint(1, 1), QPoint(18, 18), QPoint(647, 438), QPoint(664, 455)}) {
            QCOMPARE(canvas.Pixel(corner.x(), corner.y()), kBackground);
        }
        for (const QPoint line :
             {QPoint(0, 0), QPoint(19, 5), QPoint(646, 437), QPoint(665, 456), QPoint(665, 0),
              QPoint(0, 456), QPoint(665, 200), QPoint(300, 456)}) {
            QCOMPARE(canvas.Pixel(line.x(), line.y()), kGrid);
        }
        CHECK_BOARD([](int, int) { return std::optional<QRgb>(kBackground); });
        QCOMPARE(game.window->picPole()->grab().toImage().pixel(665, 456) | 0xFF000000u, kGrid);
    }

    void cornerCellsFillExactlyTheirInteriors() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        // The V piece reaches both corners: cells (0,0)..(0,2),(1,2),(2,2) and, turned over,
        // (32,21)..(32,23),(33,23),(34,23).
        CurrentPiece = 5;
        PieceOrientation[5] = 1;
        PiecePos[5][0] = 0;
        PiecePos[5][1] = 2;
        ShowFigury(-1);
        const QList<QPoint> first = CellsOf(5);
        QVERIFY(first.contains(QPoint(0, 0)));
        CHECK_BOARD([&](int c, int r) -> std::optional<QRgb> {
            if (c == 0 && r == 2) return std::nullopt;  // the hand marker
            return first.contains(QPoint(c, r)) ? Rgb(PieceColor[5]) : kBackground;
        });
        ShowFigury(0);
        PiecePos[5][0] = 32;
        PiecePos[5][1] = 23;
        ShowFigury(-1);
        const QList<QPoint> second = CellsOf(5);
        QVERIFY(second.contains(QPoint(34, 23)));
        CHECK_BOARD([&](int c, int r) -> std::optional<QRgb> {
            if (c == 32 && r == 23) return std::nullopt;
            return second.contains(QPoint(c, r)) ? Rgb(PieceColor[5]) : kBackground;
        });
        QCOMPARE(BoardCanvas->Pixel(647, 438), Rgb(PieceColor[5]));
        QCOMPARE(BoardCanvas->Pixel(664, 455), Rgb(PieceColor[5]));
    }

    void eraseRestoresWhatLiesUnderThePiece() {
        kvtest::GameWindow game;
        // Piece 1 (X) set down at (10, 10); an outline cell at (8, 10), drawn black.
        CurrentPiece = 1;
        PiecePos[1][0] = 10;
        PiecePos[1][1] = 10;
        PieceOrientation[1] = 1;
        for (const QPoint cell : CellsOf(1)) FillCellInterior(cell.x(), cell.y(), PieceColor[1]);
        UstanovkaFigury(+1);
        OutlineCells[8][10] = 1;
        FillCellInterior(8, 10, 0);
        const QList<QPoint> setPiece = CellsOf(1);
        // The set piece lies inside the outline too: its colour, not black, must come back.
        for (const QPoint cell : setPiece) OutlineCells[cell.x()][cell.y()] = 1;

        // Piece 2 (I) drawn across them, cells (8..12, 10), then erased.
        CurrentPiece = 2;
        PiecePos[2][0] = 10;
        PiecePos[2][1] = 10;
        PieceOrientation[2] = 1;
        ShowFigury(-1);
        QCOMPARE(BoardCanvas->Pixel(8 * 19 + 5, 10 * 19 + 5), Rgb(PieceColor[2]));
        QVERIFY(ShowsHandOf(10, 10, 2));
        ShowFigury(0);
        CHECK_BOARD([&](int c, int r) -> std::optional<QRgb> {
            if (setPiece.contains(QPoint(c, r))) return Rgb(PieceColor[1]);
            if (c == 8 && r == 10) return kBlack;
            return kBackground;
        });
        QCOMPARE(BoardCells[10][10], 1);
        QCOMPARE(BoardCells[8][10], 0);
    }

    void handMarkerOnlyWhereTheCurrentPieceIsDrawnOrLifted() {
        kvtest::GameWindow game;
        // Each tile of the strip is a white hand outlined in black on that piece's colour.
        for (int p = 1; p <= kPieces; ++p) {
            int white = 0;
            int black = 0;
            for (int y = 0; y < 17; ++y) {
                for (int x = (p - 1) * 17; x < p * 17; ++x) {
                    const QRgb pixel = HandStrip.pixel(x, y) | 0xFF000000u;
                    white += pixel == kWhite;
                    black += pixel == kBlack;
                    QVERIFY(pixel == kWhite || pixel == kBlack || pixel == Rgb(PieceColor[p]));
                }
            }
            QVERIFY(white > 20 && black > 20);
            QCOMPARE(HandStrip.pixel((p - 1) * 17, 0) | 0xFF000000u, Rgb(PieceColor[p]));
        }
        FiguryPoMestam();
        ShowAllFigury();
        QCOMPARE(CurrentPiece, 13);
        // Every piece drawn in its colour, no marker anywhere.
        CHECK_BOARD([](int c, int r) -> std::optional<QRgb> {
            const int v = BoardCells[c][r];
            return v == 0 ? kBackground : Rgb(PieceColor[v]);
        });

        CurrentPiece = 4;
        UstanovkaFigury(-1);
        QVERIFY(ShowsHandOf(3, 13, 4));
        UstanovkaFigury(+1);
        CHECK_BOARD([](int c, int r) -> std::optional<QRgb> {
            const int v = BoardCells[c][r];
            return v == 0 ? kBackground : Rgb(PieceColor[v]);
        });

        CurrentPiece = 9;
        UstanovkaFigury(-1);
        QVERIFY(ShowsHandOf(31, 9, 9));
        ShowFigury(0);
        // Erasing the lifted piece takes its marker with it and leaves no piece 9 at all.
        CHECK_BOARD([](int c, int r) -> std::optional<QRgb> {
            const int v = BoardCells[c][r];
            return v == 0 ? kBackground : Rgb(PieceColor[v]);
        });
        ShowFigury(-1);
        QVERIFY(ShowsHandOf(31, 9, 9));
        const QList<QPoint> nine = CellsOf(9);
        CHECK_BOARD([&](int c, int r) -> std::optional<QRgb> {
            if (c == 31 && r == 9) return std::nullopt;
            if (nine.contains(QPoint(c, r))) return Rgb(PieceColor[9]);
            const int v = BoardCells[c][r];
            return v == 0 ? kBackground : Rgb(PieceColor[v]);
        });
    }

    void excludedPiecesLeaveNoTrace() {
        kvtest::GameWindow game;
        FiguryPoMestam();
        // Stale positions of excluded pieces, one over another piece's home.
        PieceExcluded[3] = 1;
        PiecePos[3][0] = 17;
        PiecePos[3][1] = 12;
        PieceExcluded[8] = 1;
        PiecePos[8][0] = 3;
        PiecePos[8][1] = 5;
        ShowAllFigury();
        for (int c = 0; c < kColumns; ++c) {
            for (int r = 0; r < kRows; ++r) {
                QVERIFY(BoardCells[c][r] != 3 && BoardCells[c][r] != 8);
            }
        }
        CHECK_BOARD([](int c, int r) -> std::optional<QRgb> {
            const int v = BoardCells[c][r];
            return v == 0 ? kBackground : Rgb(PieceColor[v]);
        });
        // The piece at the stale position's place is there, once, in its own colour.
        QCOMPARE(BoardCells[3][5], 2);
    }

    void aMoveRepaintsOnlyTheCellsItTouches() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        FiguryPoMestam();
        ShowAllFigury();
        CurrentPiece = 1;
        UstanovkaFigury(-1);
        QList<QRect> allowed;
        for (const QPoint cell : CellsOf(1)) allowed << Interior(cell.x(), cell.y());
        RepaintRecorder recorder;
        MoveFigury(4, 2);
        for (const QPoint cell : CellsOf(1)) allowed << Interior(cell.x(), cell.y());
        // Five cells erased, five drawn, one marker.
        QCOMPARE(recorder.rects.size(), 11);
        for (const QRect& r : recorder.rects) {
            bool inside = false;
            for (const QRect& cell : allowed) inside |= cell.contains(r);
            QVERIFY2(inside, qPrintable(QStringLiteral("repainted %1,%2 %3x%4")
                                            .arg(r.x())
                                            .arg(r.y())
                                            .arg(r.width())
                                            .arg(r.height())));
        }
        // A refused move repaints nothing.
        recorder.rects.clear();
        MoveFigury(0, 2);
        QVERIFY(recorder.rects.isEmpty());
    }

    void theWidgetShowsTheBackingImage() {
        kvtest::GameWindow game;
        FiguryPoMestam();
        ShowAllFigury();
        CurrentPiece = 1;
        UstanovkaFigury(-1);
        const QImage shown =
            game.window->picPole()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown, BoardCanvas->Image().convertToFormat(QImage::Format_RGB32));
    }

    void boardIsDrawnAnewAtEachSize_data() {
        QTest::addColumn<QSize>("client");
        QTest::newRow("1000x600") << QSize(1000, 600);
        QTest::newRow("1920x1000") << QSize(1920, 1000);
        QTest::newRow("2600x1600") << QSize(2600, 1600);
    }

    // A resize draws the board again from the model, at the new size: grid, outline, set
    // pieces, the current piece and its hand. Back at the designed size, the same pixels.
    void boardIsDrawnAnewAtEachSize() {
        QFETCH(QSize, client);
        kvtest::Fakes fakes;
        kvtest::GameWindow game;
        QList<QPoint> outline;
        for (int c = 12; c < 22; ++c) {
            for (int r = 9; r < 15; ++r) outline << QPoint(c, r);
        }
        kvtest::StartPlay({}, outline);
        MoveFigury(13, 10);  // the X piece over the outline's corner
        const QImage designed = BoardCanvas->Image().copy();
        QVERIFY(kvtest::ResizeClient(game.window, client.width(), client.height()));
        QVERIFY(CellSize > 19);
        const int p = CurrentPiece;
        const QPoint reference(PiecePos[p][0], PiecePos[p][1]);
        const QList<QPoint> current = CellsOf(p);
        CHECK_BOARD([&](int c, int r) -> std::optional<QRgb> {
            if (QPoint(c, r) == reference) return std::nullopt;
            if (current.contains(QPoint(c, r))) return Rgb(PieceColor[p]);
            if (BoardCells[c][r] != 0) return Rgb(PieceColor[BoardCells[c][r]]);
            return OutlineCells[c][r] ? kBlack : kBackground;
        });
        QVERIFY(ShowsHandOf(reference.x(), reference.y(), p));
        QVERIFY(kvtest::ResizeClient(game.window, 784, 478));
        QCOMPARE(BoardCanvas->Image(), designed);
    }

    void gridKeepsOneWidthAtEveryRatio_data() {
        QTest::addColumn<qreal>("ratio");
        for (qreal ratio : {1.0, 1.25, 1.5, 2.0, 3.0}) {
            QTest::newRow(qPrintable(QString::number(ratio))) << ratio;
        }
    }

    // In the device pixels of the image: every grid line one whole width, every interior one
    // size, the hand drawn without blended colours, and every device pixel mapped back to the
    // cell (or the line) that shows it.
    void gridKeepsOneWidthAtEveryRatio() {
        QFETCH(qreal, ratio);
        SetCellSize(478, 784);
        Canvas canvas;
        canvas.Resize(BoardPixelWidth, BoardPixelHeight, ratio);
        DrawGrid(canvas);
        for (int c = 0; c < kColumns; ++c) {
            for (int r = 0; r < kRows; ++r) {
                FillCellInterior(canvas, c, r, (c + r) % 2 ? 0 : PieceColor[1]);
            }
        }
        const int line = std::max(1, static_cast<int>(std::floor(ratio)));
        QCOMPARE(canvas.GridLine(), line);
        const QImage& image = canvas.Image();
        const QRect sample = canvas.DeviceRect(Interior(7, 5));
        for (const bool across : {true, false}) {
            QList<int> lines;
            QList<int> interiors;
            const int length = across ? image.width() : image.height();
            QRgb previous = 0;
            for (int i = 0; i < length; ++i) {
                const QRgb pixel = (across ? image.pixel(i, sample.center().y())
                                           : image.pixel(sample.center().x(), i)) |
                                   0xFF000000u;
                if (pixel == kBackground) continue;  // the margin the fitted grid leaves
                QList<int>& runs = pixel == kGrid ? lines : interiors;
                if (i == 0 || pixel != previous) runs << 0;
                ++runs.last();
                previous = pixel;
            }
            QCOMPARE(lines.size(), across ? 36 : 25);
            QCOMPARE(interiors.size(), across ? 35 : 24);
            QCOMPARE(QSet<int>(lines.begin(), lines.end()), QSet<int>{line});
            QCOMPARE(QSet<int>(interiors.begin(), interiors.end()),
                     QSet<int>{canvas.GridPitch() - line});
        }
        for (int c = 0; c < kColumns; ++c) {
            for (int r = 0; r < kRows; ++r) {
                const QRect device = canvas.DeviceRect(Interior(c, r));
                for (const QPoint corner : {device.topLeft(), device.bottomRight()}) {
                    const QPoint back = canvas.FromDevice(corner);
                    QCOMPARE(QPoint(back.x() / CellSize, back.y() / CellSize), QPoint(c, r));
                    QVERIFY(back.x() % CellSize != 0 && back.y() % CellSize != 0);
                }
                const QPoint onLine = canvas.FromDevice(device.topLeft() - QPoint(1, 1));
                QCOMPARE(onLine, QPoint(c * CellSize, r * CellSize));
            }
        }
        Canvas* const board = BoardCanvas;
        BoardCanvas = &canvas;
        PaintHandMarker(3, 1, 5);
        BoardCanvas = board;
        const QRect hand = canvas.DeviceRect(Interior(3, 1));
        int white = 0;
        for (int y = hand.top(); y <= hand.bottom(); ++y) {
            for (int x = hand.left(); x <= hand.right(); ++x) {
                const QRgb pixel = image.pixel(x, y) | 0xFF000000u;
                QVERIFY(pixel == kWhite || pixel == kBlack || pixel == Rgb(PieceColor[5]));
                white += pixel == kWhite;
            }
        }
        QVERIFY2(white * 4 > hand.width() * hand.height(), qPrintable(QString::number(white)));
    }
};

QTEST_MAIN(BoardDrawingTest)
#include "test_board_drawing.moc"
