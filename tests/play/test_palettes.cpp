// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The piece palette and the orientation palette, played through the real main window.
#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolTip>
#include <QtTest>

#include "app/MainWindow.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "platform/Services.h"
#include "platform/SystemColors.h"
#include "support/PlaySupport.h"
#include "support/TestSupport.h"
#include "view/BoardDrawing.h"
#include "view/Palettes.h"
#include "view/PictureBox.h"

using namespace kv;
using kvtest::CellsOf;
using kvtest::Rgb;

namespace {

const QRgb kBlack = qRgb(0, 0, 0);

QRgb Background() {
    return Rgb(platform::COLOR_BTNFACE);
}

// Pixels of the one-pixel frame with corners (x1, y1) and (x2, y2).
QList<QPoint> Frame(int x1, int y1, int x2, int y2) {
    QList<QPoint> points;
    for (int x = x1; x <= x2; ++x) points << QPoint(x, y1) << QPoint(x, y2);
    for (int y = y1 + 1; y < y2; ++y) points << QPoint(x1, y) << QPoint(x2, y);
    return points;
}

// Which highlight boxes of a palette are drawn: entry i counts when its whole frame is black
// except where a miniature may lie over it (no miniature reaches the frame's top row). The
// right side of an orientation palette's last box falls on the palette's own frame.
QList<int> HighlightedEntries(PictureBox* palette, int entries) {
    QList<int> found;
    const int right = palette->canvas().Width() - 1;
    for (int i = 0; i < entries; ++i) {
        bool all = true;
        for (int x = i * 48 + 3; x <= std::min(i * 48 + 50, right) && all; ++x) {
            all =
                palette->canvas().Pixel(x, 3) == kBlack && palette->canvas().Pixel(x, 63) == kBlack;
        }
        for (int y = 3; y <= 63 && all; ++y) {
            all = palette->canvas().Pixel(i * 48 + 3, y) == kBlack &&
                  (i * 48 + 50 > right || palette->canvas().Pixel(i * 48 + 50, y) == kBlack);
        }
        if (all) found << i;
    }
    return found;
}

bool AllBackground(PictureBox* palette) {
    for (int y = 0; y < palette->canvas().Height(); ++y) {
        for (int x = 0; x < palette->canvas().Width(); ++x) {
            if (palette->canvas().Pixel(x, y) != Background()) return false;
        }
    }
    return true;
}

// The colour every pixel of a palette must have: background, the miniatures' squares
// (piece p, orientation o, drawn around (centreX, 30)), and the highlight frame on top.
struct Miniature {
    int piece;
    int orientation;
    int centreX;
};
// The client area of a palette whose outer width is given: inside the 2-pixel frame.
QImage ExpectedPalette(int width, const QList<Miniature>& miniatures, int highlighted) {
    QImage image(width - 4, 65, QImage::Format_RGB32);
    image.fill(Background());
    for (const Miniature& m : miniatures) {
        for (int k = 0; k < 5; ++k) {
            const int x = m.centreX + 8 * PieceCells[m.piece][k][m.orientation][0];
            const int y = 30 + 8 * PieceCells[m.piece][k][m.orientation][1];
            for (int py = y; py <= y + 8; ++py) {
                for (int px = x; px <= x + 8; ++px)
                    image.setPixel(px, py, Rgb(PieceColor[m.piece]));
            }
        }
    }
    // The last entry's box of an orientation palette reaches one pixel into the frame.
    for (const QPoint& p : Frame(highlighted * 48 + 3, 3, highlighted * 48 + 50, 63)) {
        if (image.rect().contains(p)) image.setPixel(p, kBlack);
    }
    return image;
}

int DifferingPixels(PictureBox* palette, const QImage& expected) {
    if (palette->canvas().Width() != expected.width() ||
        palette->canvas().Height() != expected.height()) {
        return -1;
    }
    int differing = 0;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            if (palette->canvas().Pixel(x, y) != (expected.pixel(x, y) | 0xFF000000u)) ++differing;
        }
    }
    return differing;
}

// The standard sunken frame, two pixels deep, around a palette of the given outer width; and
// inside it the palette's own picture, pixel for pixel.
void CheckFrame(PictureBox* palette, int width) {
    QCOMPARE(palette->size(), QSize(width, 69));
    QCOMPARE(QSize(palette->canvas().Width(), palette->canvas().Height()), QSize(width - 4, 65));
    const QImage shot = palette->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb shadow = Rgb(platform::COLOR_BTNSHADOW), dark = Rgb(platform::COLOR_3DDKSHADOW),
               light = Rgb(platform::COLOR_3DLIGHT), white = Rgb(platform::COLOR_BTNHIGHLIGHT);
    int wrong = 0;
    auto expect = [&](int x1, int y1, int x2, int y2, QRgb colour) {
        for (int y = y1; y <= y2; ++y) {
            for (int x = x1; x <= x2; ++x) wrong += (shot.pixel(x, y) | 0xFF000000u) != colour;
        }
    };
    expect(0, 0, width - 2, 0, shadow);
    expect(0, 0, 0, 67, shadow);
    expect(1, 1, width - 3, 1, dark);
    expect(1, 1, 1, 66, dark);
    expect(0, 68, width - 1, 68, white);
    expect(width - 1, 0, width - 1, 68, white);
    expect(1, 67, width - 2, 67, light);
    expect(width - 2, 1, width - 2, 67, light);
    QCOMPARE(wrong, 0);
    QCOMPARE(shot.copy(2, 2, width - 4, 65),
             palette->canvas().Image().convertToFormat(QImage::Format_RGB32));
}

}  // namespace

class PalettesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<kvtest::Fakes> fakes;
    std::unique_ptr<kvtest::GameWindow> game;
    std::unique_ptr<kvtest::Player> player;

    frmForma* w() const { return game->window; }
    PictureBox* pieces() const { return w()->picVyborFigury(); }
    PictureBox* turns() const { return w()->picPovorot(); }
    PictureBox* board() const { return w()->picPole(); }

    // Makes piece p current by a click on one of its cells.
    void Select(int p) {
        const QPoint cell = CellsOf(p).first();
        player->ClickCell(Qt::LeftButton, cell.x(), cell.y());
    }

  private slots:
    void init() {
        fakes = std::make_unique<kvtest::Fakes>();
        game = std::make_unique<kvtest::GameWindow>();
        player = std::make_unique<kvtest::Player>(game->window);
        QVERIFY(kvtest::Activate(w()));
        kvtest::StartPlay();
        QCOMPARE(QApplication::focusWidget(), board());
    }
    void cleanup() {
        player.reset();
        game.reset();
        fakes.reset();
    }

    void piecePaletteOpensWithEnterAndShowsThePieces() {
        PieceExcluded[7] = 1;  // its entry stays empty
        Select(5);
        Select(3);
        player->Key(Qt::Key_Space);  // orientation palette of piece 3
        player->Key(Qt::Key_Right);
        player->Key(Qt::Key_Return);  // piece 3 in orientation 2
        QCOMPARE(PieceOrientation[3], 2);
        Select(5);
        QVERIFY(!pieces()->isVisible());

        player->Key(Qt::Key_Enter, Qt::KeypadModifier);  // the keypad's Enter counts too
        QVERIFY(pieces()->isVisible());
        QCOMPARE(QApplication::focusWidget(), pieces());
        QCOMPARE(pieces()->geometry(), QRect(100, 185, 584, 69));
        QCOMPARE(PaletteCursor, 4);
        QCOMPARE(HighlightedEntries(pieces(), 12), QList<int>{4});
        // The highlight of piece 5 is the frame (195, 3)-(242, 63), one pixel wide.
        for (const QPoint& p : {QPoint(195, 3), QPoint(242, 3), QPoint(195, 63), QPoint(242, 63)}) {
            QCOMPARE(pieces()->canvas().Pixel(p.x(), p.y()), kBlack);
        }
        for (const QPoint& p : {QPoint(194, 3), QPoint(243, 63), QPoint(195, 2), QPoint(242, 64),
                                QPoint(196, 4), QPoint(241, 62)}) {
            QCOMPARE(pieces()->canvas().Pixel(p.x(), p.y()), Background());
        }
        // The X piece by hand: its centre square spans (21, 30)-(29, 38), its arms touch it.
        QCOMPARE(pieces()->canvas().Pixel(21, 30), Rgb(PieceColor[1]));
        QCOMPARE(pieces()->canvas().Pixel(29, 22), Rgb(PieceColor[1]));
        QCOMPARE(pieces()->canvas().Pixel(13, 38), Rgb(PieceColor[1]));
        QCOMPARE(pieces()->canvas().Pixel(37, 30), Rgb(PieceColor[1]));
        QCOMPARE(pieces()->canvas().Pixel(12, 30), Background());
        QCOMPARE(pieces()->canvas().Pixel(13, 29), Background());
        QCOMPARE(pieces()->canvas().Pixel(30, 21), Background());
        // Every pixel: the pieces in play in their orientation on the board, nothing for 7.
        QList<Miniature> expected;
        for (int p = 1; p <= 12; ++p) {
            if (p != 7) expected << Miniature{p, PieceOrientation[p], p * 48 - 27};
        }
        QCOMPARE(expected[2].orientation, 2);
        QCOMPARE(DifferingPixels(pieces(), ExpectedPalette(584, expected, 4)), 0);
    }

    void piecePaletteOnlyOpensWhenNothingIsOverlapped() {
        Select(2);
        QVERIFY(player->KeyTo(3, 2));  // the I piece over the X piece at home
        QVERIFY(Proverka());
        player->Key(Qt::Key_Return);
        player->Key(Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(!pieces()->isVisible());
        QCOMPARE(QApplication::focusWidget(), board());
        player->Key(Qt::Key_Right);
        player->Key(Qt::Key_Right);
        player->Key(Qt::Key_Right);  // clear of it
        QVERIFY(!Proverka());
        player->Key(Qt::Key_Return);
        QVERIFY(pieces()->isVisible());
    }

    void pieceArrowsWrapAndEmptyEntriesCannotBeChosen() {
        PieceExcluded[12] = 1;
        player->Key(Qt::Key_Return);  // piece 1 current: entry 0
        player->Key(Qt::Key_Left);
        QCOMPARE(PaletteCursor, 11);  // the empty entry of the excluded piece 12
        QCOMPARE(HighlightedEntries(pieces(), 12), QList<int>{11});
        player->Key(Qt::Key_Return);
        QVERIFY(pieces()->isVisible());
        QCOMPARE(CurrentPiece, 1);
        for (Qt::Key ignored : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Space, Qt::Key_Tab, Qt::Key_A}) {
            player->Key(ignored);
            QVERIFY(pieces()->isVisible());
            QCOMPARE(QApplication::focusWidget(), pieces());
            QCOMPARE(PaletteCursor, 11);
        }
        player->Key(Qt::Key_Right);
        QCOMPARE(PaletteCursor, 0);
        QCOMPARE(HighlightedEntries(pieces(), 12), QList<int>{0});
        player->Key(Qt::Key_Right);
        player->Key(Qt::Key_Right);
        QCOMPARE(HighlightedEntries(pieces(), 12), QList<int>{2});

        player->Key(Qt::Key_Return);  // piece 3
        QVERIFY(!pieces()->isVisible());
        QVERIFY(AllBackground(pieces()));
        QCOMPARE(QApplication::focusWidget(), board());
        QCOMPARE(CurrentPiece, 3);
        for (const QPoint& c : CellsOf(1)) QCOMPARE(BoardCells[c.x()][c.y()], 1);
        for (const QPoint& c : CellsOf(3)) QCOMPARE(BoardCells[c.x()][c.y()], 0);
        // The hand has left piece 1's reference cell.
        QCOMPARE(board()->canvas().Pixel(3 * CellSize + CellSize / 2, 1 * CellSize + CellSize / 2),
                 Rgb(PieceColor[1]));

        // Choosing the current piece itself, and Esc, only close it.
        player->Key(Qt::Key_Return);
        const QImage before = board()->canvas().Image().copy();
        player->Key(Qt::Key_Return);
        QVERIFY(!pieces()->isVisible());
        QCOMPARE(CurrentPiece, 3);
        QCOMPARE(board()->canvas().Image(), before);
        player->Key(Qt::Key_Return);
        player->Key(Qt::Key_Right);
        player->Key(Qt::Key_Escape);
        QVERIFY(!pieces()->isVisible());
        QCOMPARE(CurrentPiece, 3);
        QCOMPARE(QApplication::focusWidget(), board());
    }

    void pieceMouseFollowsWithoutButtonsAndChoosesOnRelease() {
        PieceExcluded[9] = 1;
        player->Key(Qt::Key_Return);
        player->Move(pieces(), QPoint(100, 30));  // no button held: tracking alone
        QCOMPARE(PaletteCursor, 2);
        QCOMPARE(HighlightedEntries(pieces(), 12), QList<int>{2});
        player->Move(pieces(), QPoint(580, 30));  // right of entry 11: no entry
        QCOMPARE(PaletteCursor, 2);
        QCOMPARE(HighlightedEntries(pieces(), 12), QList<int>{2});
        for (int x : {576, 579}) {
            player->Click(pieces(), Qt::LeftButton, QPoint(x, 30));
            QVERIFY(pieces()->isVisible());
            QCOMPARE(CurrentPiece, 1);
        }
        player->Click(pieces(), Qt::LeftButton, QPoint(8 * 48 + 10, 30));  // piece 9, excluded
        QVERIFY(pieces()->isVisible());
        QCOMPARE(CurrentPiece, 1);
        // Pressed inside, released far to the right of the palette while the button is held.
        player->Press(pieces(), Qt::LeftButton, QPoint(300, 30));
        player->Move(pieces(), QPoint(700, 30));
        QCOMPARE(PaletteCursor, 6);
        player->Release(pieces(), Qt::LeftButton, QPoint(700, 30));
        QVERIFY(pieces()->isVisible());
        QCOMPARE(CurrentPiece, 1);
        player->Click(pieces(), Qt::MiddleButton, QPoint(4 * 48 + 47, 30));  // any button
        QVERIFY(!pieces()->isVisible());
        QCOMPARE(CurrentPiece, 5);
        QCOMPARE(QApplication::focusWidget(), board());
    }

    void orientationPaletteIsResizedAndCentredAtEachOpening() {
        QCOMPARE(turns()->geometry(), QRect(224, 185, 336, 69));  // centred at start-up
        Select(4);
        player->Key(Qt::Key_Space);
        player->Key(Qt::Key_Right);
        player->Key(Qt::Key_Right);
        player->Key(Qt::Key_Return);
        QCOMPARE(PieceOrientation[4], 3);
        player->Key(Qt::Key_Space);
        QVERIFY(turns()->isVisible());
        QCOMPARE(QApplication::focusWidget(), turns());
        QCOMPARE(turns()->geometry(), QRect(218, 185, 198, 69));
        QCOMPARE(PaletteCursor, 2);
        for (const QPoint& p : {QPoint(99, 3), QPoint(146, 3), QPoint(99, 63), QPoint(146, 63)}) {
            QCOMPARE(turns()->canvas().Pixel(p.x(), p.y()), kBlack);
        }
        QList<Miniature> expected;
        for (int o = 1; o <= 4; ++o) expected << Miniature{4, o, o * 48 - 27};
        QCOMPARE(DifferingPixels(turns(), ExpectedPalette(198, expected, 2)), 0);
        player->Key(Qt::Key_Escape);
        QVERIFY(!turns()->isVisible());
        QVERIFY(AllBackground(turns()));
        QCOMPARE(PieceOrientation[4], 3);

        Select(7);
        QVERIFY(!turns()->isVisible());
        player->Click(board(), Qt::RightButton, kvtest::CellCentre(20, 20));
        QCOMPARE(turns()->geometry(), QRect(122, 185, 390, 69));
        expected.clear();
        for (int o = 1; o <= 8; ++o) expected << Miniature{7, o, o * 48 - 27};
        QCOMPARE(DifferingPixels(turns(), ExpectedPalette(390, expected, 0)), 0);
        player->Key(Qt::Key_Space);  // closes without choosing
        QVERIFY(!turns()->isVisible());
        QCOMPARE(QApplication::focusWidget(), board());

        Select(3);
        player->Key(Qt::Key_Space);
        QCOMPARE(turns()->geometry(), QRect(218, 185, 198, 69));
        QCOMPARE(HighlightedEntries(turns(), 4), QList<int>{0});
    }

    void orientationArrowsWrapAndChoose() {
        Select(8);
        player->Key(Qt::Key_Space);
        player->Key(Qt::Key_Left);
        QCOMPARE(PaletteCursor, 7);
        QCOMPARE(HighlightedEntries(turns(), 8), QList<int>{7});
        player->Key(Qt::Key_Right);
        QCOMPARE(PaletteCursor, 0);
        player->Key(Qt::Key_Up);
        player->Key(Qt::Key_Down);
        player->Key(Qt::Key_Tab);
        QCOMPARE(PaletteCursor, 0);
        QCOMPARE(QApplication::focusWidget(), turns());
        player->Key(Qt::Key_Left);
        player->Key(Qt::Key_Left);  // entry 6
        const QList<QPoint> before = CellsOf(8);
        player->Key(Qt::Key_Return);
        QVERIFY(!turns()->isVisible());
        QCOMPARE(PieceOrientation[8], 7);
        for (const QPoint& c : CellsOf(8)) {
            QCOMPARE(board()->canvas().Pixel(c.x() * CellSize + 2, c.y() * CellSize + 2),
                     Rgb(PieceColor[8]));
        }
        QVERIFY(CellsOf(8) != before);

        Select(4);
        player->Key(Qt::Key_Space);  // four entries
        for (int i = 0; i < 3; ++i) player->Key(Qt::Key_Right);
        QCOMPARE(PaletteCursor, 3);
        player->Key(Qt::Key_Right);
        QCOMPARE(PaletteCursor, 0);
        // Enter on the orientation it has already: closed, the board untouched.
        const QImage image = board()->canvas().Image().copy();
        player->Key(Qt::Key_Return);
        QVERIFY(!turns()->isVisible());
        QCOMPARE(board()->canvas().Image(), image);
        QCOMPARE(PieceOrientation[4], 1);
    }

    // A piece of four shapes turned by key into orientation 5..8 opens its palette on the
    // entry of the same shape, so the arrows still walk it.
    void aShapeBeyondTheEntriesIsHighlightedByItsTwin() {
        Select(4);
        player->Key(Qt::Key_Home);  // the U mirrored: orientation 8, the shape of 1
        QCOMPARE(PieceOrientation[4], 8);
        player->Key(Qt::Key_PageDown);  // orientation 5, the shape of 2
        QCOMPARE(PieceOrientation[4], 5);
        player->Key(Qt::Key_Space);
        QCOMPARE(PaletteCursor, 1);
        QCOMPARE(HighlightedEntries(turns(), 4), QList<int>{1});
        player->Key(Qt::Key_Right);
        QCOMPARE(HighlightedEntries(turns(), 4), QList<int>{2});
    }

    // Each entry's tool tip names its piece; the palettes, the board and the status line
    // tell a screen reader what they are and what they show, the status line as it changes.
    void tipsAndAccessibleTexts() {
        auto tipAt = [](PictureBox* palette, int x) {
            QHelpEvent help(QEvent::ToolTip, palette->FromClient({x, 30}),
                            palette->mapToGlobal(palette->FromClient({x, 30})));
            QApplication::sendEvent(palette, &help);
            return help.isAccepted() && QToolTip::isVisible() ? QToolTip::text() : QString();
        };
        auto a11y = [](QObject* o, QAccessible::Text t) {
            return QAccessible::queryAccessibleInterface(o)->text(t);
        };
        PieceExcluded[7] = 1;
        player->Key(Qt::Key_Return);
        QCOMPARE(tipAt(pieces(), 2 * 48 + 20), QStringLiteral("T"));
        QCOMPARE(tipAt(pieces(), 11 * 48 + 1), QStringLiteral("P"));
        QCOMPARE(tipAt(pieces(), 6 * 48 + 20), QString());  // the Z is out of play
        QCOMPARE(a11y(pieces(), QAccessible::Name), QStringLiteral("Палитра фигур"));
        QVERIFY(a11y(pieces(), QAccessible::Description)
                    .startsWith(QStringLiteral("Выбрана фигура X.")));
        player->Key(Qt::Key_Right);
        QVERIFY(a11y(pieces(), QAccessible::Description)
                    .startsWith(QStringLiteral("Выбрана фигура I.")));
        player->Key(Qt::Key_Escape);

        Select(8);
        QCOMPARE(a11y(board(), QAccessible::Name), QStringLiteral("Игровое поле"));
        QCOMPARE(
            a11y(board(), QAccessible::Description),
            QStringLiteral(
                "В руке фигура L, опорная клетка: столбец 32, строка 6; ни на что не налегает"));
        player->Key(Qt::Key_Space);
        QCOMPARE(tipAt(turns(), 3 * 48 + 20), QStringLiteral("L, положение 4"));
        QCOMPARE(a11y(turns(), QAccessible::Name), QStringLiteral("Палитра поворотов"));
        QVERIFY(a11y(turns(), QAccessible::Description)
                    .startsWith(QStringLiteral("Фигура L, выбрано положение 1 из 8.")));
        player->Key(Qt::Key_Escape);

        // What a screen reader reads of the status line is its name: each message in turn.
        platform::Tell(QStringLiteral("Проба связи"));
        QLabel* line = w()->StatusLine();
        QCOMPARE(a11y(line, QAccessible::Name), QStringLiteral("Проба связи"));
        QVERIFY(!a11y(line, QAccessible::Description).isEmpty());
        // Each piece's guidance fits the status line whole.
        for (int p = 1; p <= kPieces; ++p) {
            CurrentPiece = p;
            const QString guidance = PieceGuidance();
            QVERIFY(guidance.startsWith(QLatin1Char(PieceLetters[p])));
            QVERIFY2(line->fontMetrics().horizontalAdvance(guidance) <= line->width(),
                     qPrintable(guidance));
        }
    }

    void orientationMouse() {
        Select(6);
        player->Key(Qt::Key_Space);
        player->Move(turns(), QPoint(150, 20));  // tracking, no button
        QCOMPARE(PaletteCursor, 3);
        player->Move(turns(), QPoint(4 * 48 + 2, 20));  // right of the last entry
        QCOMPARE(PaletteCursor, 3);
        QCOMPARE(HighlightedEntries(turns(), 4), QList<int>{3});
        for (int x : {4 * 48, 4 * 48 + 1}) {
            player->Click(turns(), Qt::LeftButton, QPoint(x, 20));
            QVERIFY(turns()->isVisible());
            QCOMPARE(PieceOrientation[6], 1);
        }
        player->Click(turns(), Qt::RightButton, QPoint(48 + 20, 20));
        QVERIFY(!turns()->isVisible());
        QCOMPARE(PieceOrientation[6], 2);
        // A release on the orientation it has leaves the board as it is.
        player->Key(Qt::Key_Space);
        QCOMPARE(PaletteCursor, 1);
        const QImage image = board()->canvas().Image().copy();
        player->Click(turns(), Qt::LeftButton, QPoint(48, 20));
        QVERIFY(!turns()->isVisible());
        QCOMPARE(board()->canvas().Image(), image);
    }

    // A click on the board while a palette is open: the palette closes first, and the board
    // then handles the press and the release itself.
    void clickOnTheBoardClosesThePaletteAndActs() {
        player->Key(Qt::Key_Return);
        QVERIFY(pieces()->isVisible());
        player->ClickCell(Qt::LeftButton, 15, 3);
        QVERIFY(!pieces()->isVisible());
        QVERIFY(AllBackground(pieces()));
        QCOMPARE(QApplication::focusWidget(), board());
        QCOMPARE(PiecePos[1][0], 15);
        QCOMPARE(PiecePos[1][1], 3);
        QCOMPARE(w()->BoardPressed, 0);

        Select(9);
        player->Key(Qt::Key_Space);
        QVERIFY(turns()->isVisible());
        const QPoint other = CellsOf(10).first();
        player->ClickCell(Qt::LeftButton, other.x(), other.y());
        QVERIFY(!turns()->isVisible());
        QCOMPARE(CurrentPiece, 10);
        QCOMPARE(QApplication::focusWidget(), board());
    }

    void anyLossOfFocusClosesThePalette() {
        player->Key(Qt::Key_Return);
        QVERIFY(pieces()->isVisible());
        w()->Menu()->popup(w()->mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitFor([&] { return !pieces()->isVisible(); }));
        QVERIFY(AllBackground(pieces()));
        w()->Menu()->close();
        QCOMPARE(w()->focusWidget(), board());
        // The offscreen platform leaves the closed menu's window active: hand it back.
        QVERIFY(kvtest::Activate(w()));
        QCOMPARE(QApplication::focusWidget(), board());
        // The board keeps the focus: arrows move the piece.
        player->Key(Qt::Key_Down);
        QCOMPARE(PiecePos[1][1], 2);
        player->Key(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), board());
    }
    // Both palettes sit in the sunken frame; the mouse and the drawing use the client
    // coordinates inside it, so entry 1 begins two pixels further right on the widget.
    void palettesHaveASunkenFrame() {
        player->Key(Qt::Key_Return);
        const auto moveTo = [this](PictureBox* palette, int widgetX) {
            QTest::mouseMove(player->handle(), palette->mapTo(w(), QPoint(widgetX, 30)));
        };
        moveTo(pieces(), 49);
        QCOMPARE(PaletteCursor, 0);
        moveTo(pieces(), 50);
        QCOMPARE(PaletteCursor, 1);
        CheckFrame(pieces(), 584);
        player->Key(Qt::Key_Escape);

        Select(4);
        player->Key(Qt::Key_Space);
        moveTo(turns(), 3 * 48 + 1);
        QCOMPARE(PaletteCursor, 2);
        CheckFrame(turns(), 198);
        QTest::mouseClick(player->handle(), Qt::LeftButton, {},
                          turns()->mapTo(w(), QPoint(3 * 48 + 1, 30)));
        QCOMPARE(PieceOrientation[4], 3);
        QVERIFY(!turns()->isVisible());
    }

    // A menu opened with the mouse and closed with Esc hands the keyboard to the menu bar,
    // unseen; the arrows must go on moving the piece.
    void palettesGrowWithTheBoard_data() {
        QTest::addColumn<QSize>("client");
        QTest::newRow("1000x600") << QSize(1000, 600);
        QTest::newRow("1920x1000") << QSize(1920, 1000);
        QTest::newRow("2600x1600") << QSize(2600, 1600);
    }

    // At a larger board both palettes scale with it, stay centred over it, and the mouse
    // finds each entry over exactly the columns its miniature is drawn in.
    void palettesGrowWithTheBoard() {
        QFETCH(QSize, client);
        QVERIFY(kvtest::ResizeClient(w(), client.width(), client.height()));
        const qreal scale = CellSize / 19.0;
        const QRect shownBoard = board()->geometry();
        // The entry under each column of a palette, as the mouse finds it; -1 before any.
        auto sweep = [&](PictureBox* palette) {
            QList<int> entries;
            for (int x = 0; x < palette->canvas().Width(); ++x) {
                player->Move(palette, QPoint(x, palette->canvas().Height() / 2));
                entries << PaletteCursor;
            }
            return entries;
        };
        // Each entry's columns: one run each, all alike, from the left edge.
        auto checkEntries = [&](PictureBox* palette, const QList<int>& entries, int count,
                                int piece) {
            const int width = qRound(48 * scale);
            for (int x = 0; x < entries.size(); ++x) {
                QCOMPARE(entries[x], std::min(x / width, count - 1));
            }
            QVERIFY(entries.size() - count * width < width);
            // The miniature of entry i lies in entry i's columns alone.
            for (int i = 0; i < count; ++i) {
                const int p = piece ? piece : i + 1;
                int inside = 0;
                for (int y = 0; y < palette->canvas().Height(); ++y) {
                    for (int x = 0; x < entries.size(); ++x) {
                        if (palette->canvas().Pixel(x, y) != Rgb(PieceColor[p])) continue;
                        if (piece == 0) QCOMPARE(entries[x], i);
                        inside += entries[x] == i;
                    }
                }
                const int side = qRound(8 * scale) + 1;
                QVERIFY2(inside >= 4 * side * side, qPrintable(QString::number(inside)));
            }
            QVERIFY(qAbs(palette->geometry().center().x() -
                         (piece ? shownBoard.x() + 258 * scale : shownBoard.center().x())) <= 1.5);
            QVERIFY(qAbs(palette->y() - shownBoard.y() - 185 * scale) <= 0.5);
            QVERIFY(qAbs(palette->height() - 69 * scale) <= 2);
        };

        player->Key(Qt::Key_Return);
        QVERIFY(pieces()->isVisible());
        const QList<int> pieceEntries = sweep(pieces());
        checkEntries(pieces(), pieceEntries, 12, 0);
        const int width = qRound(48 * scale);
        player->Click(pieces(), Qt::LeftButton, QPoint(4 * width + width - 1, 30));
        QVERIFY(!pieces()->isVisible());
        QCOMPARE(CurrentPiece, 5);

        Select(7);
        player->Key(Qt::Key_Space);
        QVERIFY(turns()->isVisible());
        checkEntries(turns(), sweep(turns()), 8, 7);
        player->Click(turns(), Qt::LeftButton, QPoint(2 * width, 30));
        QVERIFY(!turns()->isVisible());
        QCOMPARE(PieceOrientation[7], 3);
    }

    void boardTakesTheKeyboardBackFromTheMenuBar() {
        QMenuBar* bar = w()->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(w()->Menu()->menuAction()).center());
        QTRY_VERIFY(w()->Menu()->isVisible());
        QTest::keyClick(w()->Menu(), Qt::Key_Escape);
        QTRY_VERIFY(!w()->Menu()->isVisible());
        QVERIFY(kvtest::Activate(w()));
        QTRY_COMPARE(QApplication::focusWidget(), board());
        player->Key(Qt::Key_Right);
        QCOMPARE(PiecePos[1][0], 4);
    }
};

QTEST_MAIN(PalettesTest)
#include "test_palettes.moc"
