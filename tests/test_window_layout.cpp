// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The main window offscreen: its client area below the menu bar, the start-up layout
// computed from the client size, and the smallest size it can be given.
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include "app/Main.h"
#include "app/MainWindow.h"
#include "model/Model.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "support/TestSupport.h"
#include "view/BoardDrawing.h"
#include "view/PictureBox.h"

using namespace kv;

namespace {

// Resizes the shown window so that its client area becomes width x height.
void ResizeClient(frmForma* window, int width, int height) {
    const QSize extra = window->size() - window->Client()->size();
    window->resize(width + extra.width(), height + extra.height());
    QTRY_COMPARE(window->Client()->size(), QSize(width, height));
}

}  // namespace

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
        QTest::addColumn<int>("pieceLeft");
        QTest::addColumn<int>("turnLeft");
        // An odd remainder is dropped; heights are divided with truncation.
        QTest::newRow("785x478") << 785 << 478 << 19 << 59 << 100 << 224;
        QTest::newRow("784x479") << 784 << 479 << 19 << 59 << 100 << 224;
        QTest::newRow("784x455") << 784 << 455 << 18 << 76 << 100 << 224;
        QTest::newRow("700x300") << 700 << 300 << 12 << 139 << 58 << 182;
        // The board wider than the window: the left edge goes negative, truncated toward 0.
        QTest::newRow("500x478") << 500 << 478 << 19 << -83 << -42 << 82;
    }

    void layoutFollowsTheClientSize() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, cell);
        QFETCH(int, boardLeft);
        QFETCH(int, pieceLeft);
        QFETCH(int, turnLeft);
        kvtest::GameWindow game;
        frmForma* w = game.window;
        ResizeClient(w, width, height);
        w->LayOut();
        QCOMPARE(CellSize, cell);
        QCOMPARE(BoardPixelWidth, cell * 35 + 1);
        QCOMPARE(BoardPixelHeight, cell * 24 + 1);
        QCOMPARE(w->picPole()->geometry(), QRect(boardLeft, 0, cell * 35 + 1, cell * 24 + 1));
        QCOMPARE(w->picVyborFigury()->geometry(), QRect(pieceLeft, 185, 584, 69));
        QCOMPARE(w->picPovorot()->geometry(), QRect(turnLeft, 185, 336, 69));
    }

    void laterResizeMovesNothing() {
        kvtest::GameWindow game;
        frmForma* w = game.window;
        ResizeClient(w, 900, 600);
        QCOMPARE(CellSize, 19);
        QCOMPARE(w->picPole()->geometry(), QRect(59, 0, 666, 457));
        QCOMPARE(w->picVyborFigury()->geometry(), QRect(100, 185, 584, 69));
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

    void windowCannotBeMadeTooSmallForACell() {
        kvtest::GameWindow game;
        frmForma* w = game.window;
        for (const QSize asked : {QSize(1, 1), QSize(300, 30)}) {
            w->resize(asked);
            QApplication::processEvents();
            // The client area is really inside the window, and at least one cell high.
            QTRY_VERIFY(w->height() < 478);
            QVERIFY(w->Client()->height() >= 24);
            QVERIFY(w->rect().contains(w->Client()->geometry()));
        }
        w->LayOut();
        QVERIFY(CellSize >= 1);
        QCOMPARE(w->picPole()->height(), CellSize * 24 + 1);
    }
};

QTEST_MAIN(WindowLayoutTest)
#include "test_window_layout.moc"
