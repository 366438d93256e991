// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Files the game did not write, or cannot write to: broken and hostile outlines, position
// and settings files, files it may not read, folders where files should be, a full disk.
// Whatever comes, the game neither crashes nor hangs, tells the player what the message
// boxes say, and never loses a saved position.
#include <QtTest>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstring>
#include <functional>

#include "app/MainWindow.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "outlines/CodeTables.h"
#include "outlines/ListDialog.h"
#include "outlines/Outline.h"
#include "outlines/OutlineFile.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/TextCodec.h"
#include "play/ProgressStore.h"
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

// The cells of a 10 x 6 block at column 10, row 5, in rows: 60 cells, all different.
QList<QPoint> Block(int count = 60) {
    return BlockCells(count, 10, 5);
}

// Line 1, the cell text scrambled by the name's tables, then rest as it stands.
QByteArray Outline(const QByteArray& name, const QByteArray& plainCells, const QByteArray& rest) {
    return name + "\r\n" + Scramble(name, plainCells) + "\r\n" + rest;
}

QByteArray GoodOutline(const QString& name) {
    return OutlineBytes(platform::ToCp1251(name), CellText(Block()), "0", "end");
}

// Cells whose middle pixel on the board picture is black, column by column.
QList<QPoint> BlackCells() {
    QList<QPoint> cells;
    const int middle = CellSize / 2;
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            if (BoardCanvas->Pixel(c * CellSize + middle, r * CellSize + middle) ==
                kvtest::Rgb(0)) {
                cells << QPoint(c, r);
            }
        }
    }
    return cells;
}

QList<QPoint> OutlineGridCells() {
    QList<QPoint> cells;
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            if (OutlineCells[c][r] != 0) cells << QPoint(c, r);
        }
    }
    return cells;
}

QList<QPoint> Sorted(QList<QPoint> cells) {
    std::sort(cells.begin(), cells.end(), [](const QPoint& a, const QPoint& b) {
        return a.x() != b.x() ? a.x() < b.x() : a.y() < b.y();
    });
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
    return cells;
}

int BoardSum() {
    int sum = 0;
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) sum += BoardCells[c][r];
    }
    return sum;
}

// Runs command as the unprivileged user "nobody", so that permissions hold even for the
// superuser the tests may run as. Real and effective ids both change: Qt asks the system
// with the real one whether a file is writable.
bool AsNobody(const std::function<void()>& command) {
    if (geteuid() != 0) {
        command();
        return true;
    }
    if (setresgid(65534, 65534, 0) != 0) return false;
    if (setresuid(65534, 65534, 0) != 0) {
        // A cast to void does not quiet glibc's warn_unused_result.
        if (setresgid(0, 0, 0) != 0) qFatal("cannot return to the superuser's group");
        return false;
    }
    command();
    const bool back = setresuid(0, 0, 0) == 0 && setresgid(0, 0, 0) == 0;
    if (!back) qFatal("cannot return to the superuser");
    return true;
}

using kvtest::Snapshot;

// A program folder of its own, open to every user, with "Examples/0001.kvt" in it; the
// main window laid out, the modal things faked, the current folder the program folder.
struct Game {
    Game() {
        if (!folder.isValid()) return;
        root = folder.path();
        // Writable for every user, so that a game run as another user still counts as a
        // copy it may write beside (an installed, read-only copy keeps its settings elsewhere).
        QFile::setPermissions(root, QFileDevice::Permissions(0x7777));
        QDir(root).mkpath(QStringLiteral("Examples"));
        ExamplesPath = root + QStringLiteral("/Examples/");
        platform::SetProgramFolder(root);
        previousCurrent = QDir::currentPath();
        QDir::setCurrent(root);
        ok = kvtest::WriteBytes(ExamplesPath + "0001.kvt", GoodOutline(QStringLiteral("Первый")));
    }
    ~Game() {
        QDir::setCurrent(previousCurrent);
        platform::SetProgramFolder(QString());
    }
    // Loads "0001.kvt" and sends the pieces home, as a started game has it.
    bool Start() {
        if (OpenKvelt(ExamplesPath + "0001.kvt") != 0) return false;
        FiguryPoMestam();
        ShowAllFigury();
        CurrentPiece = FirstPieceInPlay();
        UstanovkaFigury(-1);
        return true;
    }
    void SaveAsTo(const QString& path) {
        fakes.files.answer = path;
        SaveAs();
    }
    void ContinueFrom(const QString& path) {
        fakes.files.answer = path;
        Prodolgit();
    }

    QTemporaryDir folder{QDir::tempPath() + QStringLiteral("/kvbad-XXXXXX")};
    QString root, previousCurrent;
    kvtest::GameWindow window;
    kvtest::Fakes fakes;
    bool ok = false;
};

// The position file of a game just started on "0001.kvt": every piece at home. Set by
// initTestCase.
QByteArray HomePosition;

// A small filesystem of its own, mounted for the life of the object where the system
// allows it.
struct TinyDisk {
    explicit TinyDisk(int pages) {
        if (!mountPoint.isValid()) return;
        path = mountPoint.path();
        const QByteArray options = "size=" + QByteArray::number(pages * PageSize()) + ",mode=0755";
        mounted = ::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", 0,
                          options.constData()) == 0;
    }
    ~TinyDisk() {
        if (mounted) ::umount2(QFile::encodeName(path).constData(), MNT_DETACH);
    }
    static qint64 PageSize() { return sysconf(_SC_PAGESIZE); }
    qint64 FreeBytes() const {
        struct statvfs s {};
        if (statvfs(QFile::encodeName(path).constData(), &s) != 0) return -1;
        return static_cast<qint64>(s.f_bavail) * static_cast<qint64>(s.f_frsize);
    }
    QTemporaryDir mountPoint;
    QString path;
    bool mounted = false;
};

}  // namespace

class BadInputTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        Game game;
        QVERIFY(game.ok);
        QVERIFY(game.Start());
        HomePosition = PositionFileBytes().value_or(QByteArray());
        QVERIFY(HomePosition.startsWith("0001.kvt\r\n 3 \r\n 1 \r\n 1 \r\n"));
    }

    // An outline file that is no sound outline (what the outline tool's check refuses) is
    // refused as a file that cannot be opened: the message, why in the status line, and
    // nothing changes. Odd files that are sound outlines load, no tiling being no damage.
    void damagedOutlinesRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<QPoint>>("black");  // for a sound file: the cells drawn black
        QTest::addColumn<bool>("damaged");

        const QByteArray name = platform::ToCp1251(QStringLiteral("Фигура"));
        const QByteArray block = CellText(Block());
        const QList<QPoint> none;
        auto damaged = [&none](const char* row, const QByteArray& bytes) {
            QTest::newRow(row) << bytes << none << true;
        };

        damaged("empty file", QByteArray());
        damaged("name only", name);
        const QByteArray full = Outline(name, block, "0\r\n");
        damaged("cut in the cell text", full.left(name.size() + 2 + 4 * 7 + 2));
        damaged("cut before the count", Outline(name, block, ""));
        damaged("cut in the piece numbers", Outline(name, block, "2,5"));
        damaged("count not a number", Outline(name, block, "many\r\n"));
        damaged("count 12", Outline(name, block, "12\r\n"));
        damaged("count 13", Outline(name, block, "13,1,2\r\n"));
        damaged("count -1", Outline(name, block, "-1\r\n"));
        damaged("count beyond 64 bits", Outline(name, block, "99999999999999999999999999,3\r\n"));
        damaged("piece numbers out of range", Outline(name, block, "3 0 13 -4\r\n"));
        damaged("the same piece twice", Outline(name, block, "2,7,7\r\n"));
        damaged("cells off the board",
                Outline(name, CellText({{35, 0}, {0, 24}, {-1, 5}, {34, 23}, {99, 99}}),
                        "11,1,2,3,4,5,6,7,8,9,10,11\r\n"));
        damaged("fields with letters", Outline(name, "a1b2" + CellText(Block(54)), "1,1\r\n"));
        damaged("the same cell sixty times",
                Outline(name, CellText(QList<QPoint>(60, QPoint(12, 7))), "0\r\n"));
        QByteArray low = full;
        low[name.size() + 2] = '\x01';
        damaged("bytes below 32 in the cell text", low);
        damaged("bytes below 32 in the name", Outline("A\tB\x01"
                                                      "C",
                                                      block, "0\r\n"));
        damaged("overlong cell text", Outline(name, block + QByteArray(100000, '7'), "0\r\n"));
        damaged("more cells than the count needs", Outline(name, block, "1,4\r\n"));
        damaged("longer than any outline file", full + QByteArray(70000, 'x'));

        // Sound, however odd.
        QTest::newRow("line feeds only")
            << QByteArray(Outline(name, CellText(Block(55)), "1\n4\n")).replace("\r\n", "\n")
            << Block(55) << false;
        QTest::newRow("zero-padded fields, pieces on lines of their own")
            << Outline(name, CellText(Block(50), true), "2\r\n5\r\n7\r\n") << Block(50) << false;
        QList<QPoint> apart;  // no two side by side: no tiling at all
        for (int i = 0; apart.size() < 60; ++i) apart << QPoint(2 * (i % 17), 2 * (i / 17));
        QTest::newRow("no tiling") << Outline(name, CellText(apart), "0\r\n") << apart << false;
    }
    void damagedOutlinesRefused() {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<QPoint>, black);
        QFETCH(bool, damaged);
        Game game;
        QVERIFY(game.ok);
        QVERIFY(game.Start());
        MoveFigury(20, 12);
        const Snapshot before;
        platform::Tell(QString());
        const QString path = ExamplesPath + "bad.kvt";
        QVERIFY(kvtest::WriteBytes(path, bytes));

        QCOMPARE(OpenKvelt(path), damaged ? 1 : 0);
        QCOMPARE(game.window.window->cursor().shape(), Qt::ArrowCursor);
        if (damaged) {
            QCOMPARE(game.fakes.messages.errors, QStringList{kCannotOpen});
            QCOMPARE(platform::LastTold(),
                     QStringLiteral("Файл «bad.kvt» повреждён: это не квелт."));
            QVERIFY(Snapshot() == before);
            return;
        }
        QVERIFY(game.fakes.messages.errors.isEmpty());
        QCOMPARE(OutlinePath, path);
        QCOMPARE(MainForm()->windowTitle(), kTitle + QStringLiteral(" - Фигура"));
        QCOMPARE(BlackCells(), Sorted(black));
        QCOMPARE(OutlineGridCells(), Sorted(black));
    }

    // Bytes no one meant as an outline: refused every time, and the library lists them
    // as damaged. Some rounds hold digits and separators only, where counts and cells are
    // read.
    void garbageOutlinesRefusedWithoutHarm() {
        Game game;
        QVERIFY(game.ok);
        QVERIFY(game.Start());
        const Snapshot before;
        QRandomGenerator random(20240611);
        const QString path = ExamplesPath + "noise.kvt";
        for (int round = 0; round < 40; ++round) {
            QByteArray bytes(static_cast<qsizetype>(random.bounded(1, 2000)), Qt::Uninitialized);
            for (char& b : bytes) b = static_cast<char>(random.bounded(256));
            if (round % 2) {
                for (char& b : bytes) b = "0123456789 ,-\r\n"[static_cast<uchar>(b) % 15];
            }
            QVERIFY(kvtest::WriteBytes(path, bytes));
            QCOMPARE(OpenKvelt(path), 1);
            QVERIFY(Snapshot() == before);
            frmList dialog;
            QCOMPARE(OutlineFileNames.indexOf(QStringLiteral("noise.kvt")), 1);
            QCOMPARE(dialog.lstKvelt()->item(1)->text(),
                     QStringLiteral("2) noise.kvt (повреждён)"));
        }
        QCOMPARE(game.fakes.messages.errors, QStringList(40, kCannotOpen));
    }

    // A file the size of a film where an outline should be: refused in moments, having
    // read no more of it than an outline file can hold.
    void hugeOutlineFile() {
        Game game;
        QVERIFY(game.ok);
        QVERIFY(game.Start());
        const Snapshot before;
        const QString path = ExamplesPath + "huge.kvt";
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            const QByteArray chunk(1 << 20, 'x');
            for (int i = 0; i < 16; ++i) QVERIFY(file.write(chunk) == chunk.size());
        }
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(OpenKvelt(path), 1);
        qInfo("16 MiB outline without a line end refused in %lld ms", timer.elapsed());
        QCOMPARE(game.fakes.messages.errors, QStringList{kCannotOpen});
        QVERIFY(Snapshot() == before);
        frmList dialog;
        QCOMPARE(OutlineFileNames.indexOf(QStringLiteral("huge.kvt")), 1);
        QCOMPARE(dialog.lstKvelt()->item(1)->text(), QStringLiteral("2) huge.kvt (повреждён)"));
    }

    // Files that cannot be opened as outlines: a message, and nothing on the board changes.
    void outlineThatCannotBeOpened_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("error");
        QTest::newRow("missing file") << "missing" << kNotFound;
        QTest::newRow("missing Examples folder") << "no folder" << kCannotOpen;
        QTest::newRow("a folder") << "folder" << kCannotOpen;
        QTest::newRow("unreadable file") << "unreadable" << kCannotOpen;
        QTest::newRow("a named pipe") << "pipe" << kCannotOpen;
    }
    void outlineThatCannotBeOpened() {
        QFETCH(QString, kind);
        QFETCH(QString, error);
        Game game;
        QVERIFY(game.ok);
        QVERIFY(game.Start());
        MoveFigury(20, 12);
        const Snapshot before;

        QString path = ExamplesPath + "other.kvt";
        if (kind == "no folder") {
            path = game.root + "/Gone/0001.kvt";
        } else if (kind == "folder") {
            QVERIFY(QDir(ExamplesPath).mkdir("other.kvt"));
        } else if (kind == "unreadable") {
            QVERIFY(kvtest::WriteBytes(path, GoodOutline(QStringLiteral("Второй"))));
            QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        } else if (kind == "pipe") {
            QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0666) == 0);
        }
        int result = -1;
        QVERIFY(AsNobody([&] { result = OpenKvelt(path); }));
        QCOMPARE(result, 1);
        QCOMPARE(game.fakes.messages.errors, QStringList{error});
        QVERIFY(Snapshot() == before);
        QCOMPARE(game.window.window->cursor().shape(), Qt::ArrowCursor);
    }

    // The library lists only the outline files it can read, and says nothing of the rest.
    void libraryLeavesOutWhatItCannotRead() {
        Game game;
        QVERIFY(game.ok);
        const QString unreadable = ExamplesPath + "0002.kvt";
        QVERIFY(kvtest::WriteBytes(unreadable, GoodOutline(QStringLiteral("Второй"))));
        QVERIFY(QFile::setPermissions(unreadable, QFileDevice::WriteOwner));
        QVERIFY(mkfifo(QFile::encodeName(ExamplesPath + "0003.kvt").constData(), 0666) == 0);
        QVERIFY(QDir(ExamplesPath).mkdir("0004.kvt"));

        QStringList entries, files;
        QVERIFY(AsNobody([&] {
            frmList dialog;
            for (int i = 0; i < dialog.lstKvelt()->count(); ++i) {
                entries << dialog.lstKvelt()->item(i)->text();
            }
            files = OutlineFileNames;
        }));
        QCOMPARE(entries, QStringList{QStringLiteral("1) Первый")});
        QCOMPARE(files, QStringList{QStringLiteral("0001.kvt")});
        QVERIFY(game.fakes.messages.errors.isEmpty());
    }

    // Start-up from what the settings file says, or from the default outline.
    void startUp_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("settings");  // "Kvelt.ini" in the current folder
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("errors");
        const QString first = kTitle + " - Первый";
        const QString comma = kTitle + " - Запятая";

        QTest::newRow("no Examples folder")
            << "no examples" << QByteArray() << kTitle << QStringList{kCannotOpen};
        // The path is "<root>/Examples/a,b.kvt"; the file exists.
        QTest::newRow("path with a comma")
            << "comma" << QByteArray("@a,b.kvt\r\n") << kTitle << QStringList{kNotFound};
        QTest::newRow("quoted path with a comma")
            << "comma" << QByteArray("\"@a,b.kvt\"\r\n") << comma << QStringList{};
        QTest::newRow("unterminated quote")
            << "comma" << QByteArray("\"@a,b.kvt") << comma << QStringList{};
        QTest::newRow("empty line") << "" << QByteArray("\r\n") << first << QStringList{};
        QTest::newRow("settings file a folder")
            << "ini folder" << QByteArray() << first << QStringList{};
        QTest::newRow("settings file a named pipe")
            << "ini pipe" << QByteArray() << first << QStringList{};
        QTest::newRow("settings file unreadable")
            << "ini unreadable" << QByteArray("@a,b.kvt\r\n") << first << QStringList{};
        QTest::newRow("path of a folder")
            << "" << QByteArray("@\r\n") << kTitle << QStringList{kCannotOpen};
        QTest::newRow("binary first line")
            << "" << QByteArray("\x01\x02\xff\xfe\x00zz", 7) << kTitle << QStringList{kNotFound};
        QTest::newRow("first line of 100 KB")
            << "" << QByteArray(100000, 'k') << kTitle << QStringList{kNotFound};
    }
    void startUp() {
        QFETCH(QString, kind);
        QFETCH(QByteArray, settings);
        QFETCH(QString, caption);
        QFETCH(QStringList, errors);
        Game game;
        QVERIFY(game.ok);
        if (kind == "no examples") QVERIFY(QDir(ExamplesPath).removeRecursively());
        if (kind == "comma") {
            QVERIFY(kvtest::WriteBytes(ExamplesPath + "a,b.kvt",
                                       GoodOutline(QStringLiteral("Запятая"))));
        }
        const QString ini = game.root + "/Kvelt.ini";
        if (kind == "ini folder") QVERIFY(QDir(game.root).mkdir("Kvelt.ini"));
        if (kind == "ini pipe") QVERIFY(mkfifo(QFile::encodeName(ini).constData(), 0666) == 0);
        if (!settings.isEmpty()) {
            QVERIFY(
                kvtest::WriteBytes(ini, settings.replace('@', QFile::encodeName(ExamplesPath))));
        }
        if (kind == "ini unreadable") QVERIFY(QFile::setPermissions(ini, QFileDevice::WriteOwner));

        ExamplesPath.clear();
        QVERIFY(AsNobody([] { LoadINI(); }));
        QCOMPARE(ExamplesPath, game.root + "/Examples/");
        QCOMPARE(game.fakes.messages.errors, errors);
        QCOMPARE(MainForm()->windowTitle(), caption);
        const bool loaded = caption != kTitle;
        QCOMPARE(OutlineLoaded, int(loaded));
        QCOMPARE(BlackCells(), loaded ? Sorted(Block()) : QList<QPoint>{});
        // The pieces wait at home, the first one in hand.
        QCOMPARE(CurrentPiece, 1);
        QCOMPARE(BoardSum(), 5 * (78 - 1));
        QCOMPARE(game.window.window->cursor().shape(), Qt::ArrowCursor);
    }

    // The settings file cannot be written at exit: nothing is written, nothing is said.
    void settingsThatCannotBeWritten_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("a folder of that name") << "folder";
        QTest::newRow("read-only file") << "read-only";
        QTest::newRow("read-only program folder") << "read-only folder";
    }
    void settingsThatCannotBeWritten() {
        QFETCH(QString, kind);
        Game game;
        QVERIFY(game.ok);
        QVERIFY(game.Start());
        const QString ini = game.root + "/Kvelt.ini";
        if (kind == "folder") QVERIFY(QDir(game.root).mkdir("Kvelt.ini"));
        if (kind == "read-only") {
            QVERIFY(kvtest::WriteBytes(ini, "kept\r\n"));
            QVERIFY(QFile::setPermissions(ini, QFileDevice::ReadOwner | QFileDevice::ReadOther));
        }
        if (kind == "read-only folder") {
            QVERIFY(QFile::setPermissions(game.root, QFileDevice::Permissions(0x5555)));
        }
        QVERIFY(AsNobody([] { SaveINI(); }));
        QFile::setPermissions(game.root, QFileDevice::Permissions(0x7777));
        QVERIFY(game.fakes.messages.errors.isEmpty());
        if (kind == "folder") QVERIFY(QFileInfo(ini).isDir());
        if (kind == "read-only") QCOMPARE(kvtest::ReadBytes(ini), QByteArray("kept\r\n"));
        if (kind == "read-only folder") QVERIFY(!QFileInfo::exists(ini));

        // The same exit with nothing in the way writes the outline's path.
        QFile::remove(ini);
        QDir(game.root).rmdir("Kvelt.ini");
        SaveINI();
        QCOMPARE(kvtest::ReadBytes(ini), QFile::encodeName(ExamplesPath + "0001.kvt") + "\r\n");
    }

    // Position files Continue cannot use: a message, and the game stays as it was.
    void continueRefuses_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");
        QTest::newRow("a folder") << "folder" << QByteArray() << kCannotOpen;
        QTest::newRow("unreadable file") << "unreadable" << HomePosition << kCannotOpen;
        QTest::newRow("a named pipe") << "pipe" << QByteArray() << kCannotOpen;
        QTest::newRow("an outline file")
            << "" << GoodOutline(QStringLiteral("Первый")) << kCannotOpen;
        QTest::newRow("bytes below 32")
            << "" << QByteArray(HomePosition).replace("\r\n 5 \r\n", "\r\n\x01\x02\r\n")
            << kCannotOpen;
        QTest::newRow("name of a folder")
            << "" << QByteArray(HomePosition).replace("0001.kvt", "..") << kCannotOpen;
        // An outline that does exist, reached through a folder: never read.
        QTest::newRow("name with a folder in it")
            << "" << QByteArray(HomePosition).replace("0001.kvt", "../Examples/0001.kvt")
            << kCannotOpen;
        QTest::newRow("name with a Windows folder in it")
            << "" << QByteArray(HomePosition).replace("0001.kvt", "..\\Examples\\0001.kvt")
            << kCannotOpen;
        QByteArray runaway = HomePosition;
        runaway.insert(runaway.indexOf("\r\n") + 2, QByteArray(300000, '1'));
        QTest::newRow("a number of 300000 digits") << "" << runaway << kCannotOpen;
        // All on one line: the quoted name runs to the line end and takes the numbers along.
        QTest::newRow("unterminated quoted name")
            << ""
            << "\"" + QByteArray(HomePosition).replace("\r\n", ",") << kCannotOpen;
        QTest::newRow("a line of 16 MiB") << "" << QByteArray(16 << 20, 'p') << kCannotOpen;
    }
    void continueRefuses() {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        Game game;
        QVERIFY(game.ok);
        QVERIFY(game.Start());
        MoveFigury(20, 12);
        game.SaveAsTo(game.root + "/mine.fgr");
        QCOMPARE(PositionPath, game.root + "/mine.fgr");
        const Snapshot before;

        const QString path = game.root + "/bad.fgr";
        if (kind == "folder") QVERIFY(QDir(game.root).mkdir("bad.fgr"));
        if (kind == "pipe") QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0666) == 0);
        if (!bytes.isEmpty()) QVERIFY(kvtest::WriteBytes(path, bytes));
        if (kind == "unreadable") QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        QVERIFY(AsNobody([&] { game.ContinueFrom(path); }));
        QCOMPARE(game.fakes.messages.errors, QStringList{error});
        QVERIFY(Snapshot() == before);
    }

    // Saves into a folder the player may not write to: a new file and a read-only file
    // there are protected, and the player is told. A writable file there is the player's to
    // overwrite: no file can be made beside it, so it is written in place, cut to its new
    // length.
    void saveToReadOnlyFolder() {
        Game game;
        QVERIFY(game.ok);
        QVERIFY(game.Start());
        const QString locked = game.root + "/locked";
        QVERIFY(QDir(game.root).mkdir("locked"));
        QVERIFY(kvtest::WriteBytes(locked + "/ro.fgr", "read-only\r\n"));
        QVERIFY(kvtest::WriteBytes(locked + "/rw.fgr", QByteArray(4000, 'w')));
        QVERIFY(QFile::setPermissions(locked + "/ro.fgr", QFileDevice::Permissions(0x6444)));
        QVERIFY(QFile::setPermissions(locked + "/rw.fgr", QFileDevice::Permissions(0x6666)));
        QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions(0x5555)));

        game.fakes.messages.answerYes = true;
        QVERIFY(AsNobody([&] {
            game.SaveAsTo(locked + "/new.fgr");
            game.SaveAsTo(locked + "/ro.fgr");
            game.SaveAsTo(locked + "/rw.fgr");
        }));
        QFile::setPermissions(locked, QFileDevice::Permissions(0x7755));
        QCOMPARE(game.fakes.messages.errors, QStringList({kProtected, kProtected}));
        QCOMPARE(game.fakes.messages.questions.size(), 2);
        QCOMPARE(QDir(locked).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"ro.fgr", "rw.fgr"}));
        QCOMPARE(kvtest::ReadBytes(locked + "/ro.fgr"), QByteArray("read-only\r\n"));
        QCOMPARE(kvtest::ReadBytes(locked + "/rw.fgr"), PositionFileBytes().value_or("?"));
        QCOMPARE(PositionPath, locked + "/rw.fgr");
    }

    // A full disk: the new file cannot be written beside the old one, so the save fails,
    // the old file stays byte for byte and no half-written file is left.
    void saveToAFullDisk() {
        if (geteuid() != 0) QSKIP("mounting a filesystem needs the superuser");
        TinyDisk disk(4);
        if (!disk.mounted) QSKIP("this system does not let the tests mount a filesystem");
        Game game;
        QVERIFY(game.ok);
        QVERIFY(game.Start());

        // A position saved earlier, with a long note after its numbers (read past), taking
        // three of the disk's four pages; a fourth file fills the last one.
        const QString old = disk.path + "/old.fgr";
        const qint64 page = TinyDisk::PageSize();
        QByteArray oldBytes = HomePosition;
        oldBytes += QByteArray(3 * page - 100 - oldBytes.size(), ' ') + "\r\n";
        QVERIFY(kvtest::WriteBytes(old, oldBytes));
        const QString filler = disk.path + "/filler";
        QVERIFY(kvtest::WriteBytes(filler, QByteArray(page, 'f')));
        QCOMPARE(disk.FreeBytes(), 0);

        game.ContinueFrom(old);
        QVERIFY(game.fakes.messages.errors.isEmpty());
        QCOMPARE(PositionPath, old);
        QCOMPARE(PositionFileBytes().value_or(QByteArray()), HomePosition);
        MoveFigury(10, 12);

        SaveFile();  // to the file continued from: no dialog, no question
        QCOMPARE(game.fakes.messages.errors, QStringList{kCannotSave});
        QVERIFY(game.fakes.messages.questions.isEmpty());
        QCOMPARE(kvtest::ReadBytes(old), oldBytes);
        QCOMPARE(PositionPath, old);
        QCOMPARE(QDir(disk.path).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 QStringList({"filler", "old.fgr"}));

        // Save as to a new file on the full disk fails the same way.
        game.SaveAsTo(disk.path + "/new.fgr");
        QCOMPARE(game.fakes.messages.errors, QStringList({kCannotSave, kCannotSave}));
        QVERIFY(!QFileInfo::exists(disk.path + "/new.fgr"));
        QCOMPARE(PositionPath, old);

        // With room made, the same Save writes the new position in place of the old.
        QVERIFY(QFile::remove(filler));
        SaveFile();
        QCOMPARE(game.fakes.messages.errors.size(), 2);
        QVERIFY(kvtest::ReadBytes(old).startsWith("0001.kvt\r\n 10 \r\n 12 \r\n"));
        QCOMPARE(kvtest::ReadBytes(old).size(), PositionFileBytes()->size());
    }

    // The progress store on a full disk: the new file cannot be written, so the write
    // fails and says so, the old file stays byte for byte and no temporary file is left;
    // with room made, the same write goes through.
    void progressOnAFullDisk() {
        if (geteuid() != 0) QSKIP("mounting a filesystem needs the superuser");
        TinyDisk disk(4);
        if (!disk.mounted) QSKIP("this system does not let the tests mount a filesystem");
        ProgressStore store(disk.path);
        QStringList told;
        store.onTrouble = [&](const QString& why) { told << why; };
        ProgressRecord r = NewRecord(QByteArray(40, 'a'));
        r.state = OutlineState::InProgress;
        // A long history, so that the file takes more than a page.
        for (int k = 0; k < 60; ++k) {
            KeptArrangement a;
            a.current = 1;
            for (int p = 1; p <= 12; ++p) a.place[p][0] = a.place[p][1] = a.place[p][2] = 1 + k % 8;
            r.history.push_back(a);
        }
        QVERIFY(store.Write(r.key, FormatRecord(r)));
        const QString file = store.FileOf(r.key);
        const QByteArray old = kvtest::ReadBytes(file);
        QVERIFY(old.size() > TinyDisk::PageSize());
        const QString filler = disk.path + "/filler";
        QVERIFY(kvtest::WriteBytes(filler, QByteArray(disk.FreeBytes(), 'f')));
        QCOMPARE(disk.FreeBytes(), 0);

        r.historyIndex = 59;
        QVERIFY(!store.Write(r.key, FormatRecord(r)));
        QCOMPARE(told.size(), 1);
        QCOMPARE(kvtest::ReadBytes(file), old);
        QCOMPARE(QDir(disk.path).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 QStringList({"a.txt", "filler"}));
        QCOMPARE(store.Load(r.key)->historyIndex, 0);

        QVERIFY(QFile::remove(filler));
        QVERIFY(store.Write(r.key, FormatRecord(r)));
        QCOMPARE(store.Load(r.key)->historyIndex, 59);
    }
};

QTEST_MAIN(BadInputTest)
#include "test_bad_input.moc"
