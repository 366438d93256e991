// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The «Игра» menu played through the real main window: steps taken back and done again
// down to the pixel, a wrong piece sent home, a start again as one step, and commands that
// come in while a move is still being finished. Hints solving an outline and the solution
// taken back are played by the end-to-end test.
#include <QAction>
#include <QRegularExpression>
#include <QtTest>

#include "app/MainWindow.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "platform/Services.h"
#include "play/History.h"
#include "play/Podskazka.h"
#include "solver/Solver.h"
#include "support/PlaySupport.h"
#include "support/Snapshot.h"
#include "support/TestSupport.h"

Q_DECLARE_METATYPE(QList<kvtest::Laid>)

using namespace kv;
using kvtest::CellsOf;
using kvtest::Laid;
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

QList<QPoint> Block(int left, int top, int width, int height) {
    QList<QPoint> cells;
    for (int r = top; r < top + height; ++r) {
        for (int c = left; c < left + width; ++c) cells << QPoint(c, r);
    }
    return cells;
}

// Piece p laid on exactly these cells.
Laid Fit(int p, const QList<QPoint>& cells) {
    const QSet<QPoint> want(cells.begin(), cells.end());
    for (int o = 1; o <= 8; ++o) {
        for (int k = 0; k < 5; ++k) {
            const int c = cells[0].x() - PieceCells[p][k][o][0];
            const int r = cells[0].y() - PieceCells[p][k][o][1];
            QSet<QPoint> got;
            for (int j = 0; j < 5; ++j) {
                got.insert({c + PieceCells[p][j][o][0], r + PieceCells[p][j][o][1]});
            }
            if (got == want) return {p, o, c, r};
        }
    }
    return {p, 0, 0, 0};
}

// The pieces the outline solver's first tiling leaves out.
QList<int> LeftOut(const QList<QPoint>& outline) {
    std::vector<BoardCell> cells;
    for (const QPoint& c : outline) cells.push_back({c.x(), c.y()});
    std::array<bool, 13> all{};
    std::fill(all.begin() + 1, all.end(), true);
    const std::optional<Tiling> tiling = PentominoSolver(cells, all).First();
    bool used[kPieces + 1] = {};
    for (const PiecePlacement& t : *tiling) used[t.piece] = true;
    QList<int> out;
    for (int p = 1; p <= kPieces; ++p) {
        if (!used[p]) out << p;
    }
    return out;
}

const QString kLetters = QStringLiteral("?XITUVWZLNYFP");

bool AtHome(int p) {
    int c = 0;
    int r = 0;
    HomePlace(p, c, r);
    return PiecePos[p][0] == c && PiecePos[p][1] == r && PieceOrientation[p] == 1;
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

    // Undo and redo walk the steps without playing them: a covering move taken back and
    // done again, or a start again taken back to a covered board, shows no victory window;
    // the status line tells the outline is covered.
    void undoAndRedoNeverShowVictory() {
        QList<int> others;
        for (int p = 2; p <= kPieces; ++p) others << p;
        kvtest::StartPlay(others, {{4, 0}, {3, 1}, {4, 1}, {5, 1}, {4, 2}});
        player->Key(Qt::Key_Right);
        QCOMPARE(fakes->victory.shown, 1);
        Undo();
        QCOMPARE(PiecePos[1][0], 3);
        platform::Tell(QString());
        Redo(false);
        QCOMPARE(PiecePos[1][0], 4);
        QCOMPARE(platform::LastTold(), QStringLiteral("Квелт собран"));
        player->Key(Qt::Key_N, Qt::ControlModifier);
        QVERIFY(!OutlineCovered());
        platform::Tell(QString());
        Undo();
        QVERIFY(OutlineCovered());
        QCOMPARE(platform::LastTold(), QStringLiteral("Квелт собран"));
        QCOMPARE(fakes->victory.shown, 1);
    }

    // A set piece turned and nothing else: start again turns it back without moving it, and
    // taking that back and doing it again must redraw it in each orientation.
    void turnedSetPieceRedrawnByUndoAndRedo() {
        Select(5);  // the V at home, turned where it stands
        player->Key(Qt::Key_Space);
        player->Key(Qt::Key_Right);
        player->Key(Qt::Key_Return);
        QCOMPARE(PieceOrientation[5], 2);
        QVERIFY(!Proverka());
        const QList<QPoint> turned = CellsOf(5);
        Select(1);
        const Snapshot before;
        player->Key(Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(PieceOrientation[5], 1);
        const Snapshot after;
        const QList<QPoint> home = CellsOf(5);
        QPoint only;  // a cell the turned V covers and the V at home does not
        for (const QPoint& c : turned) {
            if (!home.contains(c)) only = c;
        }
        const QPoint pixel = kvtest::CellCentre(only.x(), only.y());
        const QRgb v = kvtest::Rgb(PieceColor[5]);
        QVERIFY(BoardCanvas->Pixel(pixel.x(), pixel.y()) != v);
        Undo();
        QCOMPARE(BoardCanvas->Pixel(pixel.x(), pixel.y()), v);
        QVERIFY(Snapshot() == before);
        Redo(true);
        QVERIFY(BoardCanvas->Pixel(pixel.x(), pixel.y()) != v);
        QVERIFY(Snapshot() == after);
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
        QCOMPARE(platform::LastTold(),
                 QStringLiteral("Фигура X лежала неверно — отправлена домой"));
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

    // Ctrl+H again and again: every hint changes the board and says what it did, a piece it
    // places lies in the outline over no other piece, a piece it sends home is at home, the
    // pieces the outline leaves out never move, and the outline ends covered.
    void hintsCoverTheOutline_data() {
        QTest::addColumn<QList<QPoint>>("outline");
        QTest::addColumn<QList<int>>("excluded");
        QTest::addColumn<QList<Laid>>("laid");
        QTest::addColumn<QString>("first");
        QTest::addColumn<int>("hints");
        QTest::newRow("6 x 10") << Rectangle6x10() << QList<int>() << QList<Laid>()
                                << QStringLiteral("Фигура X поставлена на место") << 12;
        // The U and the Y wait at home inside it.
        QTest::newRow("over the home columns") << (Block(0, 9, 6, 5) + Block(29, 9, 6, 5))
                                               << QList<int>() << QList<Laid>() << QString() << 16;
        const QList<QPoint> small = Block(14, 10, 6, 5);
        QTest::newRow("leaving pieces out")
            << small << LeftOut(small) << QList<Laid>() << QString() << 6;
        // The X and the W each cut a corner cell off: both must go, the X first.
        QTest::newRow("two wrong pieces")
            << Rectangle6x10() << QList<int>()
            << QList<Laid>{Fit(1, {{13, 9}, {12, 10}, {13, 10}, {14, 10}, {13, 11}}),
                           Fit(6, {{19, 14}, {20, 14}, {20, 13}, {21, 13}, {21, 12}})}
            << QStringLiteral("Фигура X лежала неверно — отправлена домой") << 14;
    }
    void hintsCoverTheOutline() {
        QFETCH(QList<QPoint>, outline);
        QFETCH(QList<int>, excluded);
        QFETCH(QList<Laid>, laid);
        QFETCH(QString, first);
        QFETCH(int, hints);
        for (const Laid& l : laid) QVERIFY(l.orientation != 0);
        kvtest::StartPlay(excluded, outline, laid);
        const Snapshot start;
        int given = 0;
        while (!OutlineCovered()) {
            QVERIFY2(++given <= hints, "the hints did not cover the outline");
            const Snapshot before;
            player->Key(Qt::Key_H, Qt::ControlModifier);
            QVERIFY2(!(Snapshot() == before), qPrintable(QString::number(given)));
            const QString told = platform::LastTold();
            if (given == 1 && !first.isEmpty()) QCOMPARE(told, first);
            static const QRegularExpression placed(
                QStringLiteral("^Фигур[аы] ([A-Z](, [A-Z])*) поставлен[аы] на место$"));
            static const QRegularExpression home(
                QStringLiteral("^Фигура ([A-Z]) лежала неверно — отправлена домой$"));
            if (const auto m = home.match(told); m.hasMatch()) {
                QVERIFY(AtHome(kLetters.indexOf(m.captured(1))));
                continue;
            }
            const auto m = placed.match(told);
            QVERIFY2(m.hasMatch(), qPrintable(told));
            for (const QString& letter : m.captured(1).split(QStringLiteral(", "))) {
                const int p = kLetters.indexOf(letter);
                QVERIFY(PieceExcluded[p] == 0);
                for (const QPoint& c : CellsOf(p)) {
                    QCOMPARE(OutlineCells[c.x()][c.y()], 1);
                    // A set piece's cells hold its number alone; the current one's no other.
                    QCOMPARE(BoardCells[c.x()][c.y()], p == CurrentPiece ? 0 : p);
                }
            }
        }
        for (const int p : excluded) {
            QCOMPARE(PiecePos[p][0], start.pos[p][0]);
            QCOMPARE(PiecePos[p][1], start.pos[p][1]);
        }
        QCOMPARE(fakes->victory.shown, 1);
    }

    // What the «Игра» items allow follows the board: nothing to hint or solve on a covered
    // outline, nothing to start again with every piece at home; a disabled item's shortcut
    // does nothing. On an outline without a tiling both commands say so and move nothing.
    void itemsFollowTheBoard() {
        QVERIFY(w()->IgraPodskazka()->isEnabled() && w()->IgraReshenie()->isEnabled());
        QVERIFY(!w()->IgraZanovo()->isEnabled());
        platform::Tell(QString());
        const Snapshot loaded;
        player->Key(Qt::Key_N, Qt::ControlModifier);
        QVERIFY(Snapshot() == loaded);
        QVERIFY(platform::LastTold().isEmpty());
        player->Key(Qt::Key_Right);
        QVERIFY(w()->IgraZanovo()->isEnabled());

        w()->IgraReshenie()->trigger();
        QVERIFY(OutlineCovered());
        QCOMPARE(platform::LastTold(), QStringLiteral("Все фигуры поставлены по решению"));
        QCOMPARE(fakes->victory.shown, 1);
        QVERIFY(!w()->IgraPodskazka()->isEnabled() && !w()->IgraReshenie()->isEnabled());
        const Snapshot solved;
        player->Key(Qt::Key_H, Qt::ControlModifier);
        QVERIFY(Snapshot() == solved);
        QCOMPARE(platform::LastTold(), QStringLiteral("Все фигуры поставлены по решению"));
        Podskazka();  // reached past the menu, it says why it does nothing
        QCOMPARE(platform::LastTold(), QStringLiteral("Квелт уже собран"));
        QVERIFY(Snapshot() == solved);
        Undo();
        QVERIFY(w()->IgraPodskazka()->isEnabled() && w()->IgraReshenie()->isEnabled());
        Undo();
        QVERIFY(!w()->IgraZanovo()->isEnabled());

        kvtest::StartPlay({1}, Rectangle6x10());  // 60 cells for 55 of the pieces
        const Snapshot unsolvable;
        for (QAction* item : {w()->IgraPodskazka(), w()->IgraReshenie()}) {
            platform::Tell(QString());
            item->trigger();
            QCOMPARE(platform::LastTold(),
                     QStringLiteral("У квелта нет решения: фигуры его не покрывают"));
            QVERIFY(Snapshot() == unsolvable);
            QVERIFY(!w()->IgraOtmena()->isEnabled());
        }
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

    // The steps belong to the newest owner alive. Another made meanwhile keeps its own, in
    // whatever order the owners go, and the window's steps are there again once it is gone.
    void historyWithTwoOwners() {
        Select(5);
        player->Key(Qt::Key_Right);
        const History window = w()->Steps();
        QVERIFY(window.CanUndo());
        {
            auto first = std::make_unique<GameHistory>();
            auto second = std::make_unique<GameHistory>();
            QVERIFY(!CanOtmena());
            StartHistory();
            player->Key(Qt::Key_Right);
            first.reset();  // the older one goes first: the newer keeps the steps
            player->Key(Qt::Key_Right);
            QCOMPARE(second->Steps().steps.size(), std::size_t{3});
            QVERIFY(CanOtmena());
        }
        QVERIFY(w()->Steps() == window);
        Undo();
        QCOMPARE(w()->Steps().index, window.index - 1);
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
