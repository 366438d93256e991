// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Position files: Save, Save as, Continue, and the open and save dialog.
#include <QtTest>

#include <sys/resource.h>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>
#include <cstring>
#include <functional>
#include <limits>

#include "app/MainWindow.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "outlines/CodeTables.h"
#include "outlines/Outline.h"
#include "platform/OpenSave.h"
#include "platform/TextCodec.h"
#include "play/History.h"
#include "positions/Positions.h"
#include "settings/Settings.h"
#include "support/Messages.h"
#include "support/OutlineWriter.h"
#include "support/Snapshot.h"
#include "support/TestSupport.h"
#include "view/BoardDrawing.h"

using namespace kv;
using namespace kvtest;

namespace {

// An outline file as the game reads it: name, scrambled cells, excluded pieces, a last
// scrambled line. The cells are laid out in a block; their places do not matter here.
QByteArray OutlineFile(const QString& name, const QList<int>& excluded) {
    QByteArray counts = QByteArray::number(excluded.size());
    for (int p : excluded) counts += ',' + QByteArray::number(p);
    return OutlineBytes(
        platform::ToCp1251(name),
        CellText(BlockCells(60 - 5 * static_cast<int>(excluded.size()), 10, 12), true), counts,
        "end");
}

// Column, row and orientation of pieces 1..12 in a position that fits "0002.kvt" (pieces 1
// and 2 left out, their values stale and off the board): no two pieces in play share a cell.
const QList<int> kSecondPosition = {-7, 99, 0, 50, -3, 5, 3, 3, 1, 9,  3, 2, 15, 3, 3, 21, 3, 4,
                                    27, 3,  5, 3,  9,  6, 9, 9, 7, 15, 9, 8, 21, 9, 1, 27, 9, 2};

// The first field ends at a comma or a line end; the numbers follow, each after separator.
QByteArray PositionText(const QByteArray& name, const QList<int>& values,
                        const QByteArray& separator = "\r\n",
                        const QByteArray& afterName = "\r\n") {
    QByteArray text = name + afterName;
    for (int v : values) text += QByteArray::number(v) + separator;
    return text;
}

using kvtest::Snapshot;

// A game started on "0001.kvt" (piece 12 left out) with its pieces at home, in a folder of
// its own whose path has no full stop, and the dialogs and message boxes faked.
struct Game {
    Game() {
        if (!folder.isValid()) return;
        root = folder.path();
        QDir(root).mkpath(QStringLiteral("Examples"));
        ExamplesPath = root + QStringLiteral("/Examples/");
        ok = kvtest::WriteBytes(ExamplesPath + "0001.kvt",
                                OutlineFile(QStringLiteral("Первый"), {12})) &&
             kvtest::WriteBytes(ExamplesPath + "0002.kvt",
                                OutlineFile(QStringLiteral("Второй"), {1, 2})) &&
             kvtest::WriteBytes(ExamplesPath + "0003.kvt",
                                OutlineFile(QStringLiteral("Третий"), {})) &&
             OpenKvelt(ExamplesPath + "0001.kvt") == 0;
        FiguryPoMestam();
        ShowAllFigury();
        CurrentPiece = FirstPieceInPlay();
        UstanovkaFigury(-1);
    }
    // The save dialog answers path; Save as then writes there.
    void SaveAsTo(const QString& path) {
        fakes.files.answer = path;
        SaveAs();
    }
    // The open dialog answers path; Continue then reads it.
    void ContinueFrom(const QString& path) {
        fakes.files.answer = path;
        Prodolgit();
    }

    QTemporaryDir folder{QDir::tempPath() + QStringLiteral("/kvpos-XXXXXX")};
    QString root;
    kvtest::GameWindow window;
    kvtest::Fakes fakes;
    bool ok = false;
};

// Runs a command with the process's file size limit set to bytes (writes beyond it fail).
void WithFileSizeLimit(rlim_t bytes, const std::function<void()>& command) {
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
    command();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
}

// Spins the event loop until done() or five seconds have passed.
bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
}

QStringList ListedNames(QFileDialog* dialog) {
    QStringList names;
    auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    if (!view || !view->model()) return names;
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row) {
        names << view->model()->index(row, 0, root).data().toString();
    }
    return names;
}

}  // namespace

class PositionsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        // The real dialog keeps its history in the user's settings: not from the tests.
        QStandardPaths::setTestModeEnabled(true);
    }

    void saveWritesTheOutlineFileNameAndAllTwelvePieces() {
        Game game;
        QVERIFY(game.ok);
        // Piece 1 is moved, piece 3 then made current and turned; piece 12 is left out by
        // the outline and keeps what it holds, here a stale value off the board.
        MoveFigury(10, 12);
        UstanovkaFigury(1);
        CurrentPiece = 3;
        UstanovkaFigury(-1);
        Povorot(3);
        PiecePos[12][0] = -1;
        PiecePos[12][1] = 40;

        SaveFile();
        // Without a position file, Save is Save as, proposing the outline's name.
        QCOMPARE(game.fakes.files.calls, 1);
        QCOMPARE(game.fakes.files.lastSave, true);
        QCOMPARE(game.fakes.files.lastInitialName, QStringLiteral("Первый"));
        QCOMPARE(game.fakes.files.lastDescription, QStringLiteral("Положение фигур (*.fgr)"));
        QCOMPARE(game.fakes.files.lastPattern, QStringLiteral("*.fgr"));
        QCOMPARE(game.fakes.files.lastFolder, ExamplesPath);
        QVERIFY(PositionPath.isEmpty());  // the fake dialog was cancelled

        const QString path = game.root + "/one.fgr";
        game.SaveAsTo(path);
        const QByteArray expected =
            "0001.kvt\r\n"
            " 10 \r\n 12 \r\n 1 \r\n"
            " 3 \r\n 5 \r\n 1 \r\n"
            " 3 \r\n 9 \r\n 3 \r\n"
            " 3 \r\n 13 \r\n 1 \r\n"
            " 3 \r\n 17 \r\n 1 \r\n"
            " 3 \r\n 21 \r\n 1 \r\n"
            " 31 \r\n 1 \r\n 1 \r\n"
            " 31 \r\n 5 \r\n 1 \r\n"
            " 31 \r\n 9 \r\n 1 \r\n"
            " 31 \r\n 13 \r\n 1 \r\n"
            " 31 \r\n 17 \r\n 1 \r\n"
            "-1 \r\n 40 \r\n 0 \r\n";
        QCOMPARE(kvtest::ReadBytes(path), expected);
        QCOMPARE(PositionPath, path);
        QVERIFY(game.fakes.messages.errors.isEmpty());
        QVERIFY(game.fakes.messages.questions.isEmpty());

        // What Save writes, Continue reads back exactly.
        const auto content = ReadPosition(expected);
        QVERIFY(content.has_value());
        QCOMPARE(content->outlineName, QByteArray("0001.kvt"));
        QCOMPARE(content->pos[1][0], 10);
        QCOMPARE(content->orientation[3], 3);
        QCOMPARE(content->pos[12][0], -1);
        QCOMPARE(content->pos[12][1], 40);
        QCOMPARE(content->orientation[12], 0);
        QVERIFY(PositionFits(*content, PieceExcluded));
    }

    void saveAgainGoesToTheSameFileWithoutDialogOrQuestion() {
        Game game;
        QVERIFY(game.ok);
        const QString first = game.root + "/first.fgr";
        game.SaveAsTo(first);
        QCOMPARE(PositionPath, first);

        MoveFigury(10, 12);
        game.fakes.files.answer = game.root + "/elsewhere.fgr";
        SaveFile();
        QCOMPARE(game.fakes.files.calls, 1);
        QVERIFY(game.fakes.messages.questions.isEmpty());
        QVERIFY(kvtest::ReadBytes(first).startsWith("0001.kvt\r\n 10 \r\n 12 \r\n"));
        QVERIFY(!QFile::exists(game.root + "/elsewhere.fgr"));

        // Save as proposes the file-name part of the position file.
        game.fakes.files.answer.clear();
        SaveAs();
        QCOMPARE(game.fakes.files.lastInitialName, QStringLiteral("first.fgr"));
        QCOMPARE(PositionPath, first);

        // After Continue, Save writes to the file continued from.
        const QString continued = game.root + "/continued.fgr";
        QVERIFY(kvtest::WriteBytes(continued, PositionText("0002.kvt", kSecondPosition)));
        game.ContinueFrom(continued);
        QCOMPARE(PositionPath, continued);
        MoveFigury(4, 15);  // piece 3, current after Continue
        const int dialogs = game.fakes.files.calls;
        SaveFile();
        QCOMPARE(game.fakes.files.calls, dialogs);
        QVERIFY(game.fakes.messages.questions.isEmpty());
        QVERIFY(game.fakes.messages.errors.isEmpty());
        QVERIFY(kvtest::ReadBytes(continued).startsWith(
            "0002.kvt\r\n-7 \r\n 99 \r\n 0 \r\n 50 \r\n-3 \r\n"
            " 5 \r\n 4 \r\n 15 \r\n 1 \r\n"));
    }

    void overwritingAnotherFileAsksFirst() {
        Game game;
        QVERIFY(game.ok);
        const QString mine = game.root + "/mine.fgr";
        game.SaveAsTo(mine);
        const QString other = game.root + "/other.fgr";
        QVERIFY(kvtest::WriteBytes(other, "somebody else's\r\n"));

        game.fakes.messages.answerYes = false;
        game.SaveAsTo(other);
        QCOMPARE(game.fakes.messages.questions, QStringList{kExists});
        QCOMPARE(kvtest::ReadBytes(other), QByteArray("somebody else's\r\n"));
        QCOMPARE(PositionPath, mine);

        game.fakes.messages.answerYes = true;
        game.SaveAsTo(other);
        QCOMPARE(game.fakes.messages.questions.size(), 2);
        QCOMPARE(kvtest::ReadBytes(other), kvtest::ReadBytes(mine));
        QCOMPARE(PositionPath, other);
        QVERIFY(game.fakes.messages.errors.isEmpty());
    }

    void extensionAddedOnlyWhenThePathHasNoFullStop() {
        Game game;
        QVERIFY(game.ok);
        if (game.root.contains(QLatin1Char('.'))) QSKIP("the temporary folder has a full stop");
        QDir(game.root).mkpath("plain");
        QDir(game.root).mkpath("with.dot");

        game.SaveAsTo(game.root + "/plain/game");
        QVERIFY(QFile::exists(game.root + "/plain/game.fgr"));
        QVERIFY(!QFile::exists(game.root + "/plain/game"));
        QCOMPARE(PositionPath, game.root + "/plain/game.fgr");

        game.SaveAsTo(game.root + "/with.dot/game");
        QVERIFY(QFile::exists(game.root + "/with.dot/game"));
        QVERIFY(!QFile::exists(game.root + "/with.dot/game.fgr"));
        QCOMPARE(PositionPath, game.root + "/with.dot/game");

        // Continue reads a name typed without extension from its ".fgr" file.
        QVERIFY(kvtest::WriteBytes(game.root + "/plain/later.fgr",
                                   PositionText("0002.kvt", kSecondPosition)));
        game.ContinueFrom(game.root + "/plain/later");
        QCOMPARE(PositionPath, game.root + "/plain/later.fgr");
        QCOMPARE(PieceExcluded[1], 1);
    }

    void refusedSavesKeepThePositionFile() {
        Game game;
        QVERIFY(game.ok);
        const QString mine = game.root + "/mine.fgr";
        game.SaveAsTo(mine);

        // A folder of that name: write access refused, and no overwrite question for it.
        QDir(game.root).mkpath("folder.fgr");
        game.SaveAsTo(game.root + "/folder.fgr");
        QCOMPARE(game.fakes.messages.errors, QStringList{kProtected});
        QVERIFY(game.fakes.messages.questions.isEmpty());
        QVERIFY(QFileInfo(game.root + "/folder.fgr").isDir());

        // A folder that does not exist.
        game.SaveAsTo(game.root + "/missing/x.fgr");
        QCOMPARE(game.fakes.messages.errors.value(1), kCannotSave);
        QVERIFY(!QFile::exists(game.root + "/missing/x.fgr"));

        // An outline file name Windows-1251 cannot hold would be written as a name that is
        // never found again.
        const QString odd = ExamplesPath + QStringLiteral("名前.kvt");
        QVERIFY(kvtest::WriteBytes(odd, OutlineFile(QStringLiteral("Чужой"), {})));
        QCOMPARE(OpenKvelt(odd), 0);
        PositionPath.clear();  // as the loader's callers do
        game.SaveAsTo(game.root + "/odd.fgr");
        QCOMPARE(game.fakes.messages.errors.value(2), kCannotSave);
        QVERIFY(!QFile::exists(game.root + "/odd.fgr"));
        QVERIFY(PositionPath.isEmpty());  // a failed save names no position file

        QCOMPARE(game.fakes.messages.errors.size(), 3);
        QVERIFY(kvtest::ReadBytes(mine).startsWith("0001.kvt\r\n"));
    }

    void readOnlyFileIsProtected() {
        Game game;
        QVERIFY(game.ok);
        const QString mine = game.root + "/mine.fgr";
        game.SaveAsTo(mine);
        const QString locked = game.root + "/locked.fgr";
        QVERIFY(kvtest::WriteBytes(locked, "kept\r\n"));
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        // The superuser writes read-only files: make it immutable instead, where possible.
        bool immutable = false;
        if (QFileInfo(locked).isWritable()) {
            immutable = QProcess::execute("chattr", {"+i", locked}) == 0;
        }
        struct Unlock {
            ~Unlock() {
                if (immutable) QProcess::execute("chattr", {"-i", path});
                QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            }
            bool immutable;
            QString path;
        } unlock{immutable, locked};
        if (QFileInfo(locked).isWritable()) QSKIP("no way to make a file read-only here");

        game.fakes.messages.answerYes = true;
        game.SaveAsTo(locked);
        QCOMPARE(game.fakes.messages.questions, QStringList{kExists});
        QCOMPARE(game.fakes.messages.errors, QStringList{kProtected});
        QCOMPARE(kvtest::ReadBytes(locked), QByteArray("kept\r\n"));
        QCOMPARE(PositionPath, mine);
    }

    void saveFailingMidwayLeavesTheOldFile() {
        Game game;
        QVERIFY(game.ok);
        const QString mine = game.root + "/mine.fgr";
        game.SaveAsTo(mine);
        const QString old = game.root + "/old.fgr";
        const QByteArray oldBytes = PositionText("0003.kvt", QList<int>(36, 7));
        QVERIFY(kvtest::WriteBytes(old, oldBytes));
        MoveFigury(10, 12);

        game.fakes.messages.answerYes = true;
        // Room for a few lines only: the writing stops part way through the file.
        WithFileSizeLimit(40, [&] { game.SaveAsTo(old); });
        QCOMPARE(game.fakes.messages.errors, QStringList{kCannotSave});
        QCOMPARE(kvtest::ReadBytes(old), oldBytes);
        QCOMPARE(PositionPath, mine);
        // No half-written file is left beside it.
        QCOMPARE(QDir(game.root).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"mine.fgr", "old.fgr"}));

        // The same save with room enough succeeds.
        game.SaveAsTo(old);
        QCOMPARE(PositionPath, old);
        QVERIFY(kvtest::ReadBytes(old).startsWith("0001.kvt\r\n 10 \r\n 12 \r\n"));
    }

    void continueRestoresThePosition_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("without blanks") << PositionText("0002.kvt", kSecondPosition);
        QByteArray padded = "0002.kvt\r\n";
        for (int v : kSecondPosition)
            padded += (v < 0 ? "" : " ") + QByteArray::number(v) + " \r\n";
        QTest::newRow("written by Save") << padded;
        QTest::newRow("commas on one line") << PositionText("0002.kvt", kSecondPosition, ",", ",");
        QTest::newRow("blanks on one line") << PositionText("0002.kvt", kSecondPosition, "   ");
        QTest::newRow("line feeds only") << PositionText("0002.kvt", kSecondPosition, "\n", "\n");
        QTest::newRow("quoted name") << PositionText("\"0002.kvt\"", kSecondPosition, " , ", " ,");
    }
    void continueRestoresThePosition() {
        QFETCH(QByteArray, text);
        Game game;
        QVERIFY(game.ok);
        const QString path = game.root + "/saved.fgr";
        QVERIFY(kvtest::WriteBytes(path, text));
        // A step of the game before: continuing forgets it.
        StartHistory();
        PiecePos[CurrentPiece][0] += 1;
        RecordStep();
        QVERIFY(CanOtmena());
        game.ContinueFrom(path);
        QVERIFY(!CanOtmena() && !CanPovtor());

        QCOMPARE(game.fakes.files.lastSave, false);
        QVERIFY(game.fakes.files.lastInitialName.isEmpty());
        QVERIFY(game.fakes.messages.errors.isEmpty());
        QCOMPARE(MainForm()->windowTitle(), QStringLiteral("Головоломка «Квелт» - Второй"));
        QCOMPARE(OutlinePath, ExamplesPath + "0002.kvt");
        QCOMPARE(PositionPath, path);
        for (int p = 1; p <= kPieces; ++p) {
            QCOMPARE(PiecePos[p][0], kSecondPosition[3 * (p - 1)]);
            QCOMPARE(PiecePos[p][1], kSecondPosition[3 * (p - 1) + 1]);
            QCOMPARE(PieceOrientation[p], kSecondPosition[3 * (p - 1) + 2]);
        }
        // Piece 3 is the lowest in play: current and lifted (piece 1 was current before).
        QCOMPARE(CurrentPiece, 3);
        QCOMPARE(BoardCells[3][3], 0);
        QCOMPARE(BoardCells[3][4], 0);
        // Every other piece in play is set down where the file put it, the left-out ones
        // nowhere.
        int sum = 0;
        for (int c = 0; c < kColumns; ++c) {
            for (int r = 0; r < kRows; ++r) sum += BoardCells[c][r];
        }
        QCOMPARE(sum, 5 * (4 + 5 + 6 + 7 + 8 + 9 + 10 + 11 + 12));
        for (int p = 4; p <= kPieces; ++p) {
            const int c = PiecePos[p][0];
            const int r = PiecePos[p][1];
            QCOMPARE(BoardCells[c][r], p);
            const int middle = CellSize / 2;
            QCOMPARE(BoardCanvas->Pixel(c * CellSize + middle, r * CellSize + middle),
                     kvtest::Rgb(PieceColor[p]));
        }
    }

    // The bare file name the position holds is looked for in the player's outline folder
    // and in Examples. With a file in both, the position goes on the one its pieces fit (a
    // piece it never had in play, orientation 0, must be left out there), and the player
    // chooses when both fit; a damaged copy or a folder of that name is no candidate.
    void continueTakesTheOutlineThePiecesFit_data() {
        QTest::addColumn<QByteArray>("own");      // the player's "0002.kvt": none when empty
        QTest::addColumn<QByteArray>("shipped");  // the shipped one
        QTest::addColumn<int>("answer");          // to the question, if asked
        QTest::addColumn<QString>("loaded");      // "own", "shipped", or "" for nothing
        QTest::addColumn<bool>("asked");
        const QByteArray leavesOut12 = OutlineFile(QStringLiteral("Второй"), {1, 2});
        const QByteArray ownLeavesOut12 = OutlineFile(QStringLiteral("Свой второй"), {1, 2});
        const QByteArray ownLeavesOut1 = OutlineFile(QStringLiteral("Свой второй"), {1});
        const QByteArray folder = "<folder>";
        QTest::newRow("only the player's copy")
            << ownLeavesOut12 << QByteArray() << -1 << "own" << false;
        QTest::newRow("only the shipped one")
            << QByteArray() << leavesOut12 << -1 << "shipped" << false;
        QTest::newRow("fits the player's only")
            << ownLeavesOut12 << OutlineFile(QStringLiteral("Второй"), {2}) << -1 << "own" << false;
        QTest::newRow("fits the shipped only")
            << ownLeavesOut1 << leavesOut12 << -1 << "shipped" << false;
        QTest::newRow("fits both, the player's chosen")
            << ownLeavesOut12 << leavesOut12 << 0 << "own" << true;
        QTest::newRow("fits both, the shipped chosen")
            << ownLeavesOut12 << leavesOut12 << 1 << "shipped" << true;
        QTest::newRow("fits both, cancelled") << ownLeavesOut12 << leavesOut12 << -1 << "" << true;
        QTest::newRow("the same file in both")
            << leavesOut12 << leavesOut12 << -1 << "own" << false;
        QTest::newRow("fits neither")
            << ownLeavesOut1 << OutlineFile(QStringLiteral("Второй"), {2}) << -1 << "" << false;
        QTest::newRow("the player's copy damaged")
            << QByteArray("junk") << leavesOut12 << -1 << "shipped" << false;
        QTest::newRow("a folder in the player's folder")
            << folder << leavesOut12 << -1 << "shipped" << false;
    }
    void continueTakesTheOutlineThePiecesFit() {
        QFETCH(QByteArray, own);
        QFETCH(QByteArray, shipped);
        QFETCH(int, answer);
        QFETCH(QString, loaded);
        QFETCH(bool, asked);
        Game game;
        QVERIFY(game.ok);
        kvtest::OwnOutlines mine;
        QVERIFY(QFile::remove(ExamplesPath + "0002.kvt"));
        if (own == "<folder>") {
            QVERIFY(QDir(mine.path).mkdir("0002.kvt"));
        } else if (!own.isEmpty()) {
            QVERIFY(kvtest::WriteBytes(mine.path + "0002.kvt", own));
        }
        if (!shipped.isEmpty()) QVERIFY(kvtest::WriteBytes(ExamplesPath + "0002.kvt", shipped));
        const QString path = game.root + "/both.fgr";
        QVERIFY(kvtest::WriteBytes(path, PositionText("0002.kvt", kSecondPosition)));
        game.fakes.questions.answer = answer;
        const Snapshot before;

        game.ContinueFrom(path);
        QCOMPARE(game.fakes.questions.asked.size(), asked ? 1 : 0);
        if (asked) {
            QVERIFY(game.fakes.questions.asked[0].contains("0002.kvt"));
            QCOMPARE(game.fakes.questions.lastAnswers,
                     QStringList({QStringLiteral("Свой"), QStringLiteral("Из поставки")}));
        }
        if (loaded.isEmpty()) {
            QVERIFY(Snapshot() == before);
            // Refused with a message unless the player cancelled.
            QCOMPARE(game.fakes.messages.errors.size(), asked ? 0 : 1);
            return;
        }
        QVERIFY(game.fakes.messages.errors.isEmpty());
        QCOMPARE(OutlinePath, (loaded == "own" ? mine.path : ExamplesPath) + "0002.kvt");
        QCOMPARE(PositionPath, path);
        QCOMPARE(PiecePos[5][0], kSecondPosition[12]);
    }

    void continueSetsOverlappingPiecesBothDown() {
        Game game;
        QVERIFY(game.ok);
        QList<int> values = kSecondPosition;
        // Piece 4 (U) at (5, 4) and piece 5 (V) at (5, 5), both in orientation 1, share (5, 4).
        values.replace(9, 5);
        values.replace(10, 4);
        values.replace(11, 1);
        values.replace(12, 5);
        values.replace(13, 5);
        values.replace(14, 1);
        const QString path = game.root + "/overlap.fgr";
        QVERIFY(kvtest::WriteBytes(path, PositionText("0002.kvt", values)));
        game.ContinueFrom(path);
        QVERIFY(game.fakes.messages.errors.isEmpty());
        QCOMPARE(BoardCells[5][4], 4 + 5);
        QCOMPARE(BoardCells[4][3], 4);
        QCOMPARE(BoardCells[5][3], 5);
        QCOMPARE(CurrentPiece, 3);
    }

    void continueRefusesAndChangesNothing_data() {
        QTest::addColumn<QString>("file");     // answered by the open dialog, under the root
        QTest::addColumn<QByteArray>("text");  // written there first unless empty
        QTest::addColumn<QStringList>("errors");

        auto with = [](int index, int value, const QByteArray& name = "0002.kvt") {
            QList<int> values = kSecondPosition;
            values.replace(index, value);
            return PositionText(name, values);
        };
        QTest::newRow("cancel") << QString() << QByteArray() << QStringList();
        QTest::newRow("missing file") << "absent.fgr" << QByteArray() << QStringList{kNotFound};
        QTest::newRow("missing folder")
            << "nowhere/absent.fgr" << QByteArray() << QStringList{kCannotOpen};
        QTest::newRow("missing outline")
            << "gone.fgr" << PositionText("gone.kvt", kSecondPosition) << QStringList{kNotFound};
        QTest::newRow("empty file")
            << "empty.fgr" << QByteArray("\r\n") << QStringList{kCannotOpen};
        QTest::newRow("a number short")
            << "short.fgr" << PositionText("0002.kvt", kSecondPosition.mid(0, 35))
            << QStringList{kCannotOpen};
        QByteArray notNumber = PositionText("0002.kvt", kSecondPosition);
        notNumber.replace("\r\n27\r\n9\r\n2", "\r\n27\r\nnine\r\n2");
        QTest::newRow("not a number") << "word.fgr" << notNumber << QStringList{kCannotOpen};
        QTest::newRow("beyond 32 bits")
            << "big.fgr"
            << PositionText("0002.kvt", kSecondPosition).replace("\r\n50\r\n", "\r\n4294967346\r\n")
            << QStringList{kCannotOpen};
        QTest::newRow("orientation 9") << "o9.fgr" << with(8, 9) << QStringList{kCannotOpen};
        QTest::newRow("orientation 0 in play")
            << "o0.fgr" << with(8, 0) << QStringList{kCannotOpen};
        QTest::newRow("orientation 9, piece left out")
            << "o9out.fgr" << with(5, 9) << QStringList{kCannotOpen};
        // Only the palette's orientations: the I piece has two, T, U, V and W four, the X one.
        // "0003.kvt" leaves nothing out; pieces 1 and 2 stand on the board there.
        auto allInPlay = [](int xOrientation, int iOrientation) {
            QList<int> values = kSecondPosition;
            const QList<int> first = {3, 1, xOrientation, 10, 20, iOrientation};
            for (int i = 0; i < first.size(); ++i) values.replace(i, first[i]);
            return PositionText("0003.kvt", values);
        };
        QTest::newRow("I in orientation 3")
            << "i3.fgr" << allInPlay(1, 3) << QStringList{kCannotOpen};
        QTest::newRow("X in orientation 2")
            << "x2.fgr" << allInPlay(2, 1) << QStringList{kCannotOpen};
        QTest::newRow("T in orientation 5") << "t5.fgr" << with(8, 5) << QStringList{kCannotOpen};
        // Piece 3 at column 0 would have a cell in column -1.
        QTest::newRow("cell off the board") << "off.fgr" << with(6, 0) << QStringList{kCannotOpen};
        // In 32 bits the cell left of the reference cell would be undefined, not off the board.
        QTest::newRow("column at the 32-bit limit")
            << "limit.fgr" << with(6, std::numeric_limits<int>::min()) << QStringList{kCannotOpen};
        QTest::newRow("row off the board")
            << "offrow.fgr" << with(34, 24) << QStringList{kCannotOpen};
        // Piece 1 is left out by "0002.kvt" but in play in "0003.kvt", the outline named.
        QTest::newRow("off the board for the outline named")
            << "third.fgr" << PositionText("0003.kvt", kSecondPosition) << QStringList{kCannotOpen};
    }
    void continueRefusesAndChangesNothing() {
        QFETCH(QString, file);
        QFETCH(QByteArray, text);
        QFETCH(QStringList, errors);
        Game game;
        QVERIFY(game.ok);
        MoveFigury(10, 12);
        game.SaveAsTo(game.root + "/mine.fgr");
        const Snapshot before;

        const QString path = file.isEmpty() ? QString() : game.root + "/" + file;
        if (!text.isEmpty()) QVERIFY(kvtest::WriteBytes(path, text));
        game.ContinueFrom(path);
        QCOMPARE(game.fakes.files.calls, 2);
        QCOMPARE(game.fakes.messages.errors, errors);
        QVERIFY(Snapshot() == before);
        QCOMPARE(MainForm()->windowTitle(), QStringLiteral("Головоломка «Квелт» - Первый"));
    }

    // The real dialog, opened offscreen and driven from inside its own event loop.
    void realDialogOffersTheFiltersFolderAndName() {
        kvtest::GameWindow window;
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        ExamplesPath = folder.path() + "/";
        QVERIFY(kvtest::WriteBytes(ExamplesPath + "a.fgr", "x"));
        QVERIFY(kvtest::WriteBytes(ExamplesPath + "notes", "x"));
        QVERIFY(kvtest::WriteBytes(ExamplesPath + "b.txt", "x"));
        const QString filter =
            QStringLiteral("Положение фигур (*.fgr)") + QChar(0) + QStringLiteral("*.fgr");

        struct Seen {
            bool found = false;
            QWidget* parent = nullptr;
            bool modal = false, native = true, confirms = true, save = false;
            QString folder, name, selectedFilter, suffix;
            QStringList filters, ownListing, allListing, comboItems;
        } seen;
        auto inspect = [&seen](bool typeAndAccept) {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            seen.found = true;
            seen.parent = dialog->parentWidget();
            seen.modal = dialog->isModal();
            seen.native = !dialog->testOption(QFileDialog::DontUseNativeDialog);
            seen.confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
            seen.save = dialog->acceptMode() == QFileDialog::AcceptSave;
            seen.suffix = dialog->defaultSuffix();
            seen.folder = dialog->directory().absolutePath();
            seen.filters = dialog->nameFilters();
            seen.selectedFilter = dialog->selectedNameFilter();
            if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
                seen.name = edit->text();
            }
            WaitFor([&] { return ListedNames(dialog).contains("a.fgr"); });
            seen.ownListing = ListedNames(dialog);
            seen.ownListing.sort();
            if (auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
                for (int i = 0; i < combo->count(); ++i) seen.comboItems << combo->itemText(i);
                QTest::keyClick(combo, Qt::Key_Down);
                WaitFor([&] { return ListedNames(dialog).contains("notes"); });
                seen.allListing = ListedNames(dialog);
                seen.allListing.sort();
            }
            if (typeAndAccept) {
                if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
                    edit->setText("typed");
                    QTest::keyClick(edit, Qt::Key_Return);
                }
            } else {
                dialog->reject();
            }
        };

        QTimer::singleShot(0, [&] { inspect(true); });
        const QString saved =
            apiOpenSave(true, QStringLiteral("Первый"), filter, PositionsFolder());
        QVERIFY(seen.found);
        QCOMPARE(seen.parent, static_cast<QWidget*>(MainForm()));
        QVERIFY(seen.modal);
        QVERIFY(!seen.native);
        QVERIFY(!seen.confirms);
        QVERIFY(seen.save);
        QVERIFY(seen.suffix.isEmpty());
        QCOMPARE(seen.folder, QDir(folder.path()).absolutePath());
        QCOMPARE(seen.name, QStringLiteral("Первый"));
        const QStringList filters = {QStringLiteral("Положение фигур (*.fgr)"),
                                     QStringLiteral("Все файлы (*.*)")};
        QCOMPARE(seen.filters, filters);
        QCOMPARE(seen.comboItems, filters);
        QCOMPARE(seen.selectedFilter, filters[0]);
        QCOMPARE(seen.ownListing, QStringList{"a.fgr"});
        QCOMPARE(seen.allListing, QStringList({"a.fgr", "b.txt", "notes"}));
        // A name typed without extension comes back as it was typed, with its full path.
        QCOMPARE(saved, ExamplesPath + "typed");

        seen = Seen();
        QTimer::singleShot(0, [&] { inspect(false); });
        const QString opened = apiOpenSave(false, QString(), filter, PositionsFolder());
        QVERIFY(seen.found);
        QVERIFY(!seen.save);
        QVERIFY(seen.name.isEmpty());
        QCOMPARE(seen.selectedFilter, filters[0]);
        QVERIFY(opened.isEmpty());  // cancelled
    }
};

QTEST_MAIN(PositionsTest)
#include "test_positions.moc"
