// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The victory window: its geometry and font, the frames of the animation, closing it, and
// a fresh window every time. The window is shown modeless here; nothing waits on exec().
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <functional>

#include "app/MainWindow.h"
#include "support/PlaySupport.h"
#include "support/TestSupport.h"
#include "view/PictureBox.h"
#include "windows/VictoryWindow.h"

using namespace kv;
using kvtest::Rgb;

namespace {

const QString kWord = QStringLiteral("ПОБЕДА!!!");
const QRgb kBackground = Rgb(0x8000000F);
const QRgb kGrey = Rgb(0x808080);
const QRgb kGreen = Rgb(0x00FF00);

QFont WordFont() {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSize(36);
    font.setBold(true);
    return font;
}

bool OnlyBackground(const Canvas& canvas) {
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            if (canvas.Pixel(x, y) != kBackground) return false;
        }
    }
    return true;
}

// Records the rectangles a canvas reports as drawn while it lives.
struct DrawRecorder {
    explicit DrawRecorder(Canvas& c) : canvas(c), previous(c.Changed) {
        canvas.Changed = [this](const QRect& r) {
            rects << r;
            if (previous) previous(r);
        };
    }
    ~DrawRecorder() { canvas.Changed = previous; }
    Canvas& canvas;
    std::function<void(const QRect&)> previous;
    QList<QRect> rects;
};

}  // namespace

class VictoryWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void wordFontIsTimesOrItsMetricTwin() {
        const QFontInfo info(frmEnd::PictureFont());
        QVERIFY(info.bold());
        QCOMPARE(info.pointSize(), 36);
        QCOMPARE(info.pixelSize(), 48);  // 36 pt at 96 dots per inch
        if (!QFontDatabase::families().contains(QStringLiteral("Times New Roman"))) {
            QCOMPARE(info.family(), QStringLiteral("Liberation Serif"));
        }
    }

    void loadedGeometry() {
        kvtest::GameWindow game;
        const std::unique_ptr<frmEnd> window = VictoryWindowPresenter::Load();
        QCOMPARE(window->windowTitle(), QStringLiteral("Конец игры"));
        // A dialog owned by the main window, so it has no task bar entry of its own.
        QCOMPARE(window->parentWidget(), static_cast<QWidget*>(game.window));
        QCOMPARE(window->windowType(), Qt::Dialog);
        QVERIFY(!(window->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(window->minimumSize(), QSize(584, 151));
        QCOMPARE(window->maximumSize(), QSize(584, 151));
        QCOMPARE(window->OK()->geometry(), QRect(488, 112, 89, 33));
        QCOMPARE(window->OK()->text(), QStringLiteral("OK"));
        QVERIFY(window->OK()->isDefault());

        const int width =
            static_cast<int>(std::lround(QFontMetricsF(WordFont()).horizontalAdvance(kWord) + 4));
        QVERIFY(width > 200 && width < 584);
        const QRect picture = window->Picture1()->geometry();
        QCOMPARE(picture.width(), width);
        QVERIFY2(qAbs(picture.x() * 2 + width - 584) <= 1, "not centred");
        QCOMPARE(picture.y(), 8);
        QCOMPARE(picture.height(), 84);
        QCOMPARE(window->Picture1()->canvas().Width(), width);

        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(window->size(), QSize(584, 151));
        // In the middle of the screen, not of the main window.
        const QRect area = game.window->screen()->availableGeometry();
        const QRect frame = window->frameGeometry();
        QVERIFY2(qAbs(frame.center().x() - area.center().x()) <= 1 &&
                     qAbs(frame.center().y() - area.center().y()) <= 1,
                 qPrintable(QStringLiteral("frame at %1,%2").arg(frame.x()).arg(frame.y())));
    }

    // Shown over a covered outline, the window leaves it in sight: its frame stays off the
    // outline's black cells as the board shows them on the screen, and on the screen.
    void leavesTheOutlineInSight_data() {
        QTest::addColumn<QRect>("cells");
        QTest::addColumn<bool>("low");  // the main window at the screen's bottom edge
        QTest::newRow("6 x 10 in the middle") << QRect(12, 9, 10, 6) << false;
        QTest::newRow("top rows") << QRect(12, 0, 10, 6) << false;
        QTest::newRow("left columns, full height") << QRect(0, 0, 2, 24) << false;
        QTest::newRow("6 x 10, no room below") << QRect(12, 9, 10, 6) << true;
        QTest::newRow("bottom rows, no room below") << QRect(12, 18, 10, 6) << true;
    }
    void leavesTheOutlineInSight() {
        QFETCH(QRect, cells);
        QFETCH(bool, low);
        kvtest::GameWindow game;
        if (low) {
            const QRect area = game.window->screen()->availableGeometry();
            game.window->move(game.window->x(),
                              area.bottom() + 1 - game.window->frameGeometry().height());
            QTRY_COMPARE(game.window->frameGeometry().bottom(), area.bottom());
        }
        QList<QPoint> outlineCells;
        for (int c = cells.left(); c <= cells.right(); ++c) {
            for (int r = cells.top(); r <= cells.bottom(); ++r) outlineCells << QPoint(c, r);
        }
        kvtest::StartPlay({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, outlineCells);
        const QImage& board = BoardCanvas->Image();
        QRect black;
        for (int y = 0; y < board.height(); ++y) {
            for (int x = 0; x < board.width(); ++x) {
                if ((board.pixel(x, y) | 0xFF000000u) == 0xFF000000u) black |= QRect(x, y, 1, 1);
            }
        }
        QVERIFY(!black.isEmpty());
        PictureBox* pole = game.window->picPole();
        const QRect outline(pole->mapToGlobal(pole->FromClient(black.topLeft())), black.size());

        const std::unique_ptr<frmEnd> window = VictoryWindowPresenter::Load();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(window->size(), QSize(584, 151));
        const QRect frame = window->frameGeometry();
        QVERIFY2(!frame.intersects(outline),
                 qPrintable(QStringLiteral("frame y %1..%2, outline y %3..%4")
                                .arg(frame.top())
                                .arg(frame.bottom())
                                .arg(outline.top())
                                .arg(outline.bottom())));
        QVERIFY(game.window->screen()->availableGeometry().contains(frame));
    }

    void firstFrameComesAfterATenthOfASecond() {
        QElapsedTimer clock;
        clock.start();
        const std::unique_ptr<frmEnd> window = VictoryWindowPresenter::Load();
        window->show();
        QVERIFY(window->Timer1()->isActive());
        QCOMPARE(window->Timer1()->interval(), 100);
        QVERIFY(OnlyBackground(window->Picture1()->canvas()));
        QTRY_VERIFY_WITH_TIMEOUT(!OnlyBackground(window->Picture1()->canvas()), 5000);
        QVERIFY2(clock.elapsed() >= 100, qPrintable(QString::number(clock.elapsed())));
    }

    void aFrameDrawsNineShadowsThenNineLetters() {
        const std::unique_ptr<frmEnd> window = VictoryWindowPresenter::Load();
        Canvas& canvas = window->Picture1()->canvas();
        const QFontMetricsF metrics(WordFont());
        for (int frame = 0; frame < 5; ++frame) {
            DrawRecorder recorder(canvas);
            window->Timer1_Timer();
            // The clear, then 18 characters.
            QCOMPARE(recorder.rects.size(), 19);
            QCOMPARE(recorder.rects[0], QRect(0, 0, canvas.Width(), canvas.Height()));
            int x = 0;
            for (int j = 1; j <= 9; ++j) {
                const int drop = window->LetterDrop()[j];
                const QRect shadow = recorder.rects[j];
                const QRect front = recorder.rects[9 + j];
                QCOMPARE(front.topLeft(), QPoint(x, drop));
                QCOMPARE(shadow, front.translated(4, 4));
                x += static_cast<int>(std::lround(metrics.horizontalAdvance(kWord.mid(j - 1, 1))));
            }
            // The shadow's last letter ends at or near the picture's right edge.
            QVERIFY(qAbs(x + 4 - canvas.Width()) <= 4);

            // Pixels: grey shadows behind green letters, each shadow pixel fully covered by the
            // letter's own shape 4 pixels up and to the left.
            int grey = 0;
            int green = 0;
            for (int py = 0; py < canvas.Height(); ++py) {
                for (int px = 0; px < canvas.Width(); ++px) {
                    const QRgb pixel = canvas.Pixel(px, py);
                    if (pixel == kGreen) ++green;
                    if (pixel != kGrey) continue;
                    ++grey;
                    QVERIFY(px >= 4 && py >= 4);
                    const QRgb front = canvas.Pixel(px - 4, py - 4);
                    QVERIFY2(qGreen(front) >= 224 && qRed(front) <= 32 && qBlue(front) <= 32,
                             qPrintable(QStringLiteral("(%1, %2)").arg(px).arg(py)));
                }
            }
            QVERIFY(grey > 50);
            QVERIFY(green > 500);
        }
    }

    void dropsAreZeroTenOrTwentyChosenAfresh() {
        const std::unique_ptr<frmEnd> window = VictoryWindowPresenter::Load();
        QSet<int> seen[10];
        int framesAllEqual = 0;
        for (int frame = 0; frame < 300; ++frame) {
            window->Timer1_Timer();
            QSet<int> thisFrame;
            for (int j = 1; j <= 9; ++j) {
                const int drop = window->LetterDrop()[j];
                QVERIFY2(drop == 0 || drop == 10 || drop == 20, qPrintable(QString::number(drop)));
                seen[j].insert(drop);
                thisFrame.insert(drop);
            }
            if (thisFrame.size() == 1) ++framesAllEqual;
        }
        for (int j = 1; j <= 9; ++j) QCOMPARE(seen[j].size(), 3);
        // Independent choices: nine equal drops come up about once in 2187 frames.
        QVERIFY(framesAllEqual < 10);
    }

    void enterOrOkClosesIt() {
        {
            const std::unique_ptr<frmEnd> window = VictoryWindowPresenter::Load();
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
            QTest::keyClick(window.get(), Qt::Key_Return);
            QVERIFY(!window->isVisible());
            QCOMPARE(window->result(), int(QDialog::Accepted));
            QVERIFY(!window->Timer1()->isActive());
        }
        {
            const std::unique_ptr<frmEnd> window = VictoryWindowPresenter::Load();
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
            QTest::mouseClick(window->OK(), Qt::LeftButton);
            QVERIFY(!window->isVisible());
            QVERIFY(!window->Timer1()->isActive());
        }
    }

    // The journey's line under the word and «Следующий» beside OK, which keeps the keyboard
    // and its place; without a note neither is there.
    void noteAndNextBesideOk() {
        {
            const std::unique_ptr<frmEnd> plain = VictoryWindowPresenter::Load();
            QVERIFY(!plain->lblItog() && !plain->kNext());
        }
        const std::unique_ptr<frmEnd> window = VictoryWindowPresenter::Load();
        window->SetNote({QStringLiteral("Время 1:05, шагов 12, подсказок 0 — новый рекорд"), true});
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(window->lblItog()->text(),
                 QStringLiteral("Время 1:05, шагов 12, подсказок 0 — новый рекорд"));
        QCOMPARE(window->OK()->geometry(), QRect(488, 112, 89, 33));
        QVERIFY(window->lblItog()->isVisible() && window->kNext()->isVisible());
        QVERIFY(!window->kNext()->geometry().intersects(window->OK()->geometry()));
        QVERIFY(!window->lblItog()->geometry().intersects(window->Picture1()->geometry()));
        QVERIFY(!window->lblItog()->geometry().intersects(window->kNext()->geometry()));
        const QFontMetrics m(window->lblItog()->font());
        QVERIFY(m.horizontalAdvance(window->lblItog()->text()) <= 2 * window->lblItog()->width());
        // «Следующий» whole on its button, as OK's word on its own.
        const QFontMetrics button(window->kNext()->font());
        QVERIFY2(button.horizontalAdvance(window->kNext()->text()) + 8 <= window->kNext()->width(),
                 qPrintable(QString::number(window->kNext()->width())));
        QVERIFY(window->OK()->hasFocus());
        QTest::mouseClick(window->kNext(), Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QVERIFY(window->NextChosen());

        const std::unique_ptr<frmEnd> byOk = VictoryWindowPresenter::Load();
        byOk->SetNote({QStringLiteral("Время 0:10"), false});
        byOk->show();
        QVERIFY(QTest::qWaitForWindowExposed(byOk.get()));
        QVERIFY(!byOk->kNext()->isVisible());
        QTest::keyClick(byOk.get(), Qt::Key_Return);
        QVERIFY(!byOk->isVisible());
        QVERIFY(!byOk->NextChosen());
    }

    void everyShowingStartsAfresh() {
        QRect firstPicture;
        {
            const std::unique_ptr<frmEnd> first = VictoryWindowPresenter::Load();
            first->show();
            first->Timer1_Timer();
            firstPicture = first->Picture1()->geometry();
            first->accept();
        }
        const std::unique_ptr<frmEnd> second = VictoryWindowPresenter::Load();
        QCOMPARE(second->Picture1()->geometry(), firstPicture);
        QVERIFY(OnlyBackground(second->Picture1()->canvas()));
        QVERIFY(second->Timer1()->isActive());
        QCOMPARE(second->result(), 0);
        DrawRecorder recorder(second->Picture1()->canvas());
        second->Timer1_Timer();
        QCOMPARE(recorder.rects.size(), 19);
    }
};

QTEST_MAIN(VictoryWindowTest)
#include "test_victory_window.moc"
