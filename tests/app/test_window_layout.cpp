// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The main window offscreen: its client area below the menu bar, the layout computed from
// the client size at start-up and after every resize, the smallest size it can be given,
// the place it keeps from one run to the next.
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

#include "app/Main.h"
#include "app/MainWindow.h"
#include "model/Model.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "settings/WindowPlace.h"
#include "support/PlaySupport.h"
#include "support/TestSupport.h"
#include "view/BoardDrawing.h"
#include "view/PictureBox.h"
#include "windows/AboutWindow.h"
#include "windows/VictoryWindow.h"

using namespace kv;
using kvtest::ResizeClient;

class WindowLayoutTest : public QObject {
    Q_OBJECT
  private slots:
    // Main in a program folder with no outline: the empty board, every piece at home,
    // piece 1 current with its hand marker; closing the window writes the settings file.
    void startUpAndClosing() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        kv::platform::SetProgramFolder(folder.path());
        kvtest::Fakes fakes;
        kvtest::FreshModel();
        kv::ResetModel();  // nothing built: Main must build the piece set itself
        QPointer<frmForma> w = Main();
        QVERIFY(w->isVisible());
        QCOMPARE(w->Client()->size(), QSize(784, 478));
        QCOMPARE(CellSize, 19);
        QCOMPARE(w->picPole()->geometry(), QRect(59, 0, 666, 457));
        QCOMPARE(w->windowTitle(), QStringLiteral("Головоломка «Квелт»"));
        QCOMPARE(CurrentPiece, 1);
        QCOMPARE(PiecePos[1][0], 3);
        QCOMPARE(PiecePos[1][1], 1);
        QCOMPARE(PiecePos[12][0], 31);
        QCOMPARE(PiecePos[12][1], 21);
        int setCells = 0;
        for (int c = 0; c < kColumns; ++c) {
            for (int r = 0; r < kRows; ++r) {
                QCOMPARE(OutlineCells[c][r], 0);
                setCells += BoardCells[c][r] != 0;
            }
        }
        QCOMPARE(setCells, 55);  // pieces 2..12; the current piece is not entered
        QCOMPARE(BoardCells[3][5], 2);
        QCOMPARE(BoardCells[3][1], 0);
        const Canvas& board = w->picPole()->canvas();
        QCOMPARE(board.Pixel(3 * 19 + 1, 1 * 19 + 1), kvtest::Rgb(PieceColor[1]));  // marker corner
        QCOMPARE(board.Pixel(2 * 19 + 9, 1 * 19 + 9), kvtest::Rgb(PieceColor[1]));
        QCOMPARE(board.Pixel(31 * 19 + 9, 21 * 19 + 9), kvtest::Rgb(PieceColor[12]));
        QCOMPARE(board.Pixel(17 * 19 + 9, 12 * 19 + 9), kvtest::Rgb(0x8000000F));

        const QString settings = folder.filePath(QStringLiteral("Kvelt.ini"));
        QVERIFY(!QFile::exists(settings));
        w->close();
        QVERIFY(QFile::exists(settings));
        QTRY_VERIFY(w.isNull());  // the window is gone with its close
        kv::platform::SetProgramFolder(QString());
    }

    void designClientAreaLiesBelowTheMenuBar() {
        kvtest::GameWindow game;
        frmForma* w = game.window;
        QCOMPARE(w->Client()->size(), QSize(784, 478));
        const QRect bar = w->menuBar()->geometry();
        QVERIFY(bar.height() > 0);
        QCOMPARE(w->Client()->y(), bar.bottom() + 1);
        // The status line lies below the board area, which keeps its designed size.
        const QRect status = w->statusBar()->geometry();
        QVERIFY(status.height() >= w->StatusLine()->fontMetrics().height());
        QCOMPARE(status.y(), w->Client()->geometry().bottom() + 1);
        QCOMPARE(w->height(), 478 + bar.height() + status.height());
        kv::platform::Tell(QStringLiteral("Проба"));
        QCOMPARE(w->StatusLine()->text(), QStringLiteral("Проба"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Головоломка «Квелт»"));
        // Opens centred on the screen.
        const QRect area = w->screen()->availableGeometry();
        QVERIFY2(qAbs(w->frameGeometry().center().x() - area.center().x()) <= 1 &&
                     qAbs(w->frameGeometry().center().y() - area.center().y()) <= 1,
                 qPrintable(QStringLiteral("frame %1,%2 %3x%4")
                                .arg(w->frameGeometry().x())
                                .arg(w->frameGeometry().y())
                                .arg(w->frameGeometry().width())
                                .arg(w->frameGeometry().height())));
    }

    void startUpLayoutAtTheDesignSize() {
        kvtest::GameWindow game;
        frmForma* w = game.window;
        QCOMPARE(CellSize, 19);
        QCOMPARE(BoardPixelWidth, 666);
        QCOMPARE(BoardPixelHeight, 457);
        QCOMPARE(w->picPole()->geometry(), QRect(59, 0, 666, 457));
        QCOMPARE(w->picPole()->canvas().Width(), 666);
        QCOMPARE(w->picPole()->canvas().Height(), 457);
        QVERIFY(w->picPole()->isVisible());
        QCOMPARE(w->picVyborFigury()->geometry(), QRect(100, 185, 584, 69));
        QCOMPARE(w->picPovorot()->geometry(), QRect(224, 185, 336, 69));
        QVERIFY(w->picVyborFigury()->isHidden());
        QVERIFY(w->picPovorot()->isHidden());
        QVERIFY(w->Ruka()->isHidden());
        QCOMPARE(w->Ruka()->size(), QSize(204, 17));
        QCOMPARE(HandStrip.size(), QSize(204, 17));
        // The palettes lie above the board in stacking order.
        const QObjectList& children = w->Client()->children();
        QVERIFY(children.indexOf(w->picPole()) < children.indexOf(w->picVyborFigury()));
        QVERIFY(children.indexOf(w->picPole()) < children.indexOf(w->picPovorot()));
    }

    void layoutFollowsTheClientSize_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("cell");
        QTest::addColumn<int>("boardLeft");
        QTest::addColumn<int>("boardTop");
        // An odd remainder is dropped; heights are divided with truncation.
        QTest::newRow("785x478") << 785 << 478 << 19 << 59 << 0;
        QTest::newRow("784x479") << 784 << 479 << 19 << 59 << 0;
        QTest::newRow("1000x478") << 1000 << 478 << 19 << 167 << 0;
        QTest::newRow("1920x1000") << 1920 << 1000 << 41 << 242 << 0;
        // The width is what limits: (800 - 1) div 35 = 22, centred downwards too.
        QTest::newRow("800x600") << 800 << 600 << 22 << 14 << 35;
        QTest::newRow("1200x1200") << 1200 << 1200 << 34 << 4 << 191;
    }

    // Resizing alone lays the window out again: the board centred, the palettes centred over
    // it at its top plus 185 pixels scaled, and exactly as designed at 19.
    void layoutFollowsTheClientSize() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, cell);
        QFETCH(int, boardLeft);
        QFETCH(int, boardTop);
        kvtest::GameWindow game;
        frmForma* w = game.window;
        QVERIFY(ResizeClient(w, width, height));
        QCOMPARE(CellSize, cell);
        QCOMPARE(BoardPixelWidth, cell * 35 + 1);
        QCOMPARE(BoardPixelHeight, cell * 24 + 1);
        const QRect board = w->picPole()->geometry();
        QCOMPARE(board, QRect(boardLeft, boardTop, cell * 35 + 1, cell * 24 + 1));
        QCOMPARE(w->picPole()->canvas().Width(), board.width());
        for (PictureBox* palette : {w->picVyborFigury(), w->picPovorot()}) {
            QVERIFY(qAbs(palette->geometry().center().x() - board.center().x()) <= 1);
            QVERIFY(qAbs(palette->y() - (board.y() + 185.0 * cell / 19)) <= 0.5);
            QVERIFY(qAbs(palette->height() - 69.0 * cell / 19) <= 2);
        }
        if (cell == 19) {
            QCOMPARE(w->picVyborFigury()->geometry(), QRect(boardLeft + 41, 185, 584, 69));
            QCOMPARE(w->picPovorot()->geometry(), QRect(boardLeft + 165, 185, 336, 69));
        }
    }

    // A drag sends size after size; they make one layout, of the last size.
    void resizesInARowMakeOneLayoutOfTheLast() {
        kvtest::GameWindow game;
        frmForma* w = game.window;
        QVERIFY(ResizeClient(w, 900, 600));
        const int before = w->LayOutCount();
        const QSize extra = w->size() - w->Client()->size();
        for (int step = 1; step <= 10; ++step) {
            w->resize(QSize(900 + 50 * step, 600 + 40 * step) + extra);
        }
        QVERIFY(ResizeClient(w, 1400, 1000));
        QCOMPARE(w->LayOutCount(), before + 1);
        QCOMPARE(CellSize, 39);  // (1400 - 1) div 35
        QCOMPARE(w->picPole()->geometry(), QRect(17, 31, 1366, 937));
    }

    void windowCannotBeMadeSmallerThanDesigned() {
        kvtest::GameWindow game;
        frmForma* w = game.window;
        QVERIFY(ResizeClient(w, 900, 600));
        for (const QSize asked : {QSize(783, 900), QSize(300, 30), QSize(1, 1)}) {
            w->resize(asked);
            QVERIFY(QTest::qWaitFor([&] { return w->Client()->width() != 900; }));
            QVERIFY(w->Client()->width() >= 784);
            QVERIFY(w->Client()->height() >= 478);
            QVERIFY(w->rect().contains(w->Client()->geometry()));
        }
        QTRY_COMPARE(CellSize, 19);
        QCOMPARE(w->picPole()->height(), 19 * 24 + 1);
    }

    // The place of the last exit comes back: size, position, and a maximised window opens
    // maximised, keeping the size it had before as its normal one. The file is not Kvelt.ini.
    void windowKeepsItsPlace() {
        QFile::remove(WindowPlacePath());
        QVERIFY(!WindowPlacePath().endsWith(QStringLiteral("Kvelt.ini")));
        QVERIFY(WindowPlacePath().startsWith(platform::UserSettingsFolder() + QLatin1Char('/')));
        {
            frmForma fresh;
            QVERIFY(!RestoreWindowPlace(&fresh));  // nothing saved: left as it is
        }
        QRect normal;
        {
            kvtest::GameWindow game;
            // Within the offscreen screen of 800 x 600, which would clamp it.
            QVERIFY(ResizeClient(game.window, 790, 500));
            game.window->move(5, 10);
            QTRY_COMPARE(game.window->pos(), QPoint(5, 10));
            normal = game.window->geometry();
            SaveWindowPlace(game.window);
        }
        {
            frmForma again;
            QVERIFY(RestoreWindowPlace(&again));
            again.show();
            QVERIFY(QTest::qWaitForWindowExposed(&again));
            QTRY_COMPARE(again.size(), normal.size());
            // Put back where it was, not centred (the offscreen frame shifts it a little).
            QVERIFY((again.pos() - normal.topLeft()).manhattanLength() <= 10);
            QVERIFY(!again.isMaximized());
            again.showMaximized();
            QTRY_VERIFY(again.isMaximized());
            SaveWindowPlace(&again);
        }
        frmForma third;
        QVERIFY(RestoreWindowPlace(&third));
        QVERIFY(third.windowState() & Qt::WindowMaximized);
        QCOMPARE(third.normalGeometry().size(), normal.size());
        // An unreadable file is no place at all.
        QFile damaged(WindowPlacePath());
        QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write("not a place\n");
        damaged.close();
        frmForma fourth;
        QVERIFY(!RestoreWindowPlace(&fourth));
        QFile::remove(WindowPlacePath());
    }

    // The windows the game keeps at one size cannot be resized nor maximised.
    void fixedWindowsOfferNoMaximise() {
        frmEnd victory;
        frmOprog about;
        for (QWidget* window : {static_cast<QWidget*>(&victory), static_cast<QWidget*>(&about)}) {
            QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
            QCOMPARE(window->minimumSize(), window->maximumSize());
        }
    }

    // Message boxes as short as their text cut the title to «Голо… велт»» in the caption
    // bar: each box must be as wide as the bold title with room for the frame's buttons.
    void messageBoxesShowTheWholeTitle() {
        QFont bold = QApplication::font();
        bold.setBold(true);
        const int needed = QFontMetrics(bold).horizontalAdvance(platform::AppTitle()) + 100;
        platform::MessageBoxes* boxes = platform::services().messages;
        for (int question = 0; question < 2; ++question) {
            int width = 0;
            QString title;
            QTimer::singleShot(0, [&] {
                QWidget* box = QApplication::activeModalWidget();
                if (!box) return;
                if (!QTest::qWaitForWindowExposed(box)) return;
                width = box->width();
                title = box->windowTitle();
                box->close();
            });
            if (question) {
                boxes->AskYesNo(QStringLiteral("Заменить?"));
            } else {
                boxes->ShowError(QStringLiteral("Файл не найден."));
            }
            QCOMPARE(title, platform::AppTitle());
            QVERIFY2(width >= needed, qPrintable(QStringLiteral("%1 < %2").arg(width).arg(needed)));
        }
    }
};

QTEST_MAIN(WindowLayoutTest)
#include "test_window_layout.moc"
