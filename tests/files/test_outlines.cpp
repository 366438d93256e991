// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Outline files: the code tables and their generator, reading the file in all its forms,
// loading onto the board, the failures, and drawing the outline.
#include <unistd.h>
#include <QBuffer>
#include <QDir>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>
#include <set>

#include "app/MainWindow.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "outlines/CodeTables.h"
#include "outlines/Outline.h"
#include "outlines/OutlineFile.h"
#include "platform/SystemColors.h"
#include "platform/TextCodec.h"
#include "positions/Positions.h"
#include "support/OutlineWriter.h"
#include "support/TestSupport.h"
#include "view/BoardDrawing.h"
#include "view/PictureBox.h"

using namespace kv;

namespace {

// Records, with each message, whether the main window showed the wait pointer then.
class PointerWatchingMessages final : public platform::MessageBoxes {
  public:
    void ShowError(const QString& text) override {
        errors << text;
        const QWidget* window = platform::MainWidget();
        waitWhileShown << (window && window->cursor().shape() == Qt::WaitCursor);
    }
    bool AskYesNo(const QString&) override { return false; }
    void ShowCopyable(const QString&) override {}
    QStringList errors;
    QList<bool> waitWhileShown;
};

// The wait pointer set on the main window and not yet taken back.
bool WindowHasOwnPointer() {
    return platform::MainWidget()->cursor().shape() != Qt::ArrowCursor;
}

// Everything a load may change, to compare before and after.
struct Snapshot {
    QString caption, name, path, positionPath;
    QImage board;
    int outlineCells[kColumns][kRows];
    int boardCells[kColumns][kRows];
    int cellList[60][2];
    int lastCell, loaded, current;
    int excluded[kPieces + 1];
    int pos[kPieces + 1][2];
    int orientation[kPieces + 1];

    static Snapshot Take() {
        Snapshot s;
        s.caption = platform::MainWidget()->windowTitle();
        s.name = OutlineName;
        s.path = OutlinePath;
        s.positionPath = PositionPath;
        s.board = BoardCanvas->Image().copy();
        std::memcpy(s.outlineCells, OutlineCells, sizeof OutlineCells);
        std::memcpy(s.boardCells, BoardCells, sizeof BoardCells);
        std::memcpy(s.cellList, OutlineCellList, sizeof OutlineCellList);
        s.lastCell = OutlineLastCell;
        s.loaded = OutlineLoaded;
        s.current = CurrentPiece;
        std::memcpy(s.excluded, PieceExcluded, sizeof PieceExcluded);
        std::memcpy(s.pos, PiecePos, sizeof PiecePos);
        std::memcpy(s.orientation, PieceOrientation, sizeof PieceOrientation);
        return s;
    }
    bool operator==(const Snapshot& o) const {
        return caption == o.caption && name == o.name && path == o.path &&
               positionPath == o.positionPath && board == o.board &&
               !std::memcmp(outlineCells, o.outlineCells, sizeof outlineCells) &&
               !std::memcmp(boardCells, o.boardCells, sizeof boardCells) &&
               !std::memcmp(cellList, o.cellList, sizeof cellList) && lastCell == o.lastCell &&
               loaded == o.loaded && current == o.current &&
               !std::memcmp(excluded, o.excluded, sizeof excluded) &&
               !std::memcmp(pos, o.pos, sizeof pos) &&
               !std::memcmp(orientation, o.orientation, sizeof orientation);
    }
};

int OutlineCellCount() {
    int n = 0;
    for (auto& column : OutlineCells) {
        for (const int v : column) n += v;
    }
    return n;
}

QList<int> ExcludedPieces() {
    QList<int> list;
    for (int p = 1; p <= kPieces; ++p) {
        if (PieceExcluded[p] == 1) list << p;
    }
    return list;
}

// Name "Контур" in Windows-1251.
const QByteArray kCyrillicName = "\xCA\xEE\xED\xF2\xF3\xF0";

}  // namespace

class OutlinesTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString Path(const QString& name) const { return dir_.filePath(name); }
    // Writes bytes to a file of the temp folder and loads it; returns OpenKvelt's result.
    int Load(const QByteArray& bytes, const QString& name = QStringLiteral("o.kvt")) {
        if (!kvtest::WriteBytes(Path(name), bytes)) qFatal("cannot write the test outline");
        return OpenKvelt(Path(name));
    }

  private slots:
    // --- Code tables and their generator ------------------------------------------------

    void generatorMatchesTheKnownSequence() {
        BasicRnd rnd;
        QVERIFY(qAbs(rnd.Restart(-4716) - 0.43286824) < 5e-9);
        QList<int> draws;
        for (int i = 0; i < 5; ++i) draws << rnd.NextByte();
        QCOMPARE(draws, (QList<int>{138, 130, 136, 50, 213}));
        // The first stored bytes of the empty name take those draws as their plain bytes.
        MakeCodeTables(QByteArray());
        QCOMPARE((QList<int>{DecodeTable[32], DecodeTable[33], DecodeTable[34], DecodeTable[35],
                             DecodeTable[36]}),
                 draws);
        // A restart starts the sequence afresh.
        rnd.Next();
        QVERIFY(qAbs(rnd.Restart(-4716) - 0.43286824) < 5e-9);
        QCOMPARE(rnd.NextByte(), 138);
    }

    void tablesArePermutationsAndInverse() {
        QByteArray longName(5000, 'z');
        for (const QByteArray& name : {QByteArray(), QByteArray("0001"), kCyrillicName,
                                       QByteArray("\xFF\xFF\xFF"), longName}) {
            MakeCodeTables(name);
            std::set<int> encoded, decoded;
            for (int i = 0; i < 32; ++i) {
                QCOMPARE(EncodeTable[i], 0);
                QCOMPARE(DecodeTable[i], 0);
            }
            for (int s = 32; s <= 255; ++s) {
                QVERIFY(DecodeTable[s] >= 32 && DecodeTable[s] <= 255);
                QCOMPARE(EncodeTable[DecodeTable[s]], s);
                decoded.insert(DecodeTable[s]);
                encoded.insert(EncodeTable[s]);
            }
            QCOMPARE(int(decoded.size()), 224);
            QCOMPARE(int(encoded.size()), 224);
        }
    }

    void tablesDependOnTheNameBytesAsUnsigned() {
        // 0xD2 ("Т") is 210, like "ii": the same seed, the same tables.
        MakeCodeTables("\xD2");
        int cyrillic[256];
        std::memcpy(cyrillic, DecodeTable, sizeof cyrillic);
        MakeCodeTables("ii");
        QVERIFY(!std::memcmp(cyrillic, DecodeTable, sizeof cyrillic));
        MakeCodeTables("ij");
        QVERIFY(std::memcmp(cyrillic, DecodeTable, sizeof cyrillic) != 0);
        // Building twice gives the same tables.
        MakeCodeTables("\xD2");
        QVERIFY(!std::memcmp(cyrillic, DecodeTable, sizeof cyrillic));
    }

    void decodingKeepsLengthAndZeroesControlBytes() {
        MakeCodeTables("name");
        QByteArray stored;
        for (int b = 0; b < 256; ++b) stored += char(b);
        const QByteArray plain = DecodeLine(stored);
        QCOMPARE(plain.size(), stored.size());
        for (int b = 0; b < 32; ++b) QCOMPARE(int(plain[b]), 0);
        std::set<unsigned char> seen;
        for (int b = 32; b < 256; ++b) {
            QVERIFY(static_cast<unsigned char>(plain[b]) >= 32);
            seen.insert(static_cast<unsigned char>(plain[b]));
        }
        QCOMPARE(int(seen.size()), 224);
    }

    void roundTripThroughTheEncoder() {
        QRandomGenerator random(7);
        for (int round = 0; round < 20; ++round) {
            QByteArray name;
            const int length = random.bounded(0, 40);
            for (int i = 0; i < length; ++i) name += char(random.bounded(32, 256));
            QByteArray plain;
            for (int i = 0; i < 300; ++i) plain += char(random.bounded(32, 256));
            const QByteArray stored = kvtest::Scramble(name, plain);
            QCOMPARE(stored.size(), plain.size());
            for (const char ch : stored) QVERIFY(static_cast<unsigned char>(ch) >= 32);
            MakeCodeTables(name);
            QCOMPARE(DecodeLine(stored), plain);
        }
    }

    // --- Reading the file ----------------------------------------------------------------

    void countAndPieceForms_data() {
        QTest::addColumn<QByteArray>("countText");
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::addColumn<int>("lastCell");
        QTest::addColumn<QList<int>>("excluded");
        QTest::newRow("0") << QByteArray("0") << QByteArray("\r\n") << 59 << QList<int>{};
        QTest::newRow("2,5,7") << QByteArray("2,5,7") << QByteArray("\r\n") << 49
                               << QList<int>{5, 7};
        QTest::newRow("own lines")
            << QByteArray("2\r\n5\r\n7") << QByteArray("\r\n") << 49 << QList<int>{5, 7};
        QTest::newRow("blanks") << QByteArray(" 3 12 , 1  4") << QByteArray("\r\n") << 44
                                << QList<int>{1, 4, 12};
        QTest::newRow("LF alone") << QByteArray("2\n7\n5") << QByteArray("\n") << 49
                                  << QList<int>{5, 7};
        QTest::newRow("11 pieces") << QByteArray("11,1,2,3,4,5,6,7,8,9,10,11") << QByteArray("\r\n")
                                   << 4 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    }
    void countAndPieceForms() {
        QFETCH(QByteArray, countText);
        QFETCH(QByteArray, lineEnd);
        QFETCH(int, lastCell);
        QFETCH(QList<int>, excluded);
        const QList<QPoint> cells = kvtest::BlockCells(60);
        const QByteArray bytes =
            kvtest::OutlineBytes("Forms", kvtest::CellText(cells), countText, "tail", lineEnd);
        const OutlineContent content = ReadOutline(bytes);
        QCOMPARE(content.lastCell, lastCell);
        QCOMPARE(content.name, QByteArray("Forms"));
        for (int p = 1; p <= kPieces; ++p)
            QCOMPARE(content.excluded[p], excluded.contains(p) ? 1 : 0);
        for (int i = 0; i <= lastCell; ++i) {
            QCOMPARE(content.cells[i][0], cells[i].x());
            QCOMPARE(content.cells[i][1], cells[i].y());
        }
        // Cells past the last one are not read, though the cell text holds them.
        for (int i = lastCell + 1; i < 60; ++i) {
            QCOMPARE(content.cells[i][0], 0);
            QCOMPARE(content.cells[i][1], 0);
        }
    }

    void cellFieldValues() {
        const QByteArray text = " 7070-1 x  12345";
        QCOMPARE(CellField(text, 0), 7);   // " 7"
        QCOMPARE(CellField(text, 2), 7);   // "07"
        QCOMPARE(CellField(text, 4), 0);   // "0-"
        QCOMPARE(CellField(text, 6), 1);   // "1 "
        QCOMPARE(CellField(text, 8), 0);   // "x " has no digits
        QCOMPARE(CellField(text, 10), 1);  // " 1"
        QCOMPARE(CellField("    ", 1), 0);
        QCOMPARE(CellField("-1", 0), -1);
        QCOMPARE(CellField(text, 15), 5);  // the one character left
        QCOMPARE(CellField(text, 16), 0);  // past the end
        QCOMPARE(CellField(text, -2), 0);
    }

    void countsOutsideTheRangeStayInsideTheLists_data() {
        QTest::addColumn<QByteArray>("countText");
        QTest::addColumn<int>("lastCell");
        QTest::addColumn<QList<int>>("excluded");
        QTest::newRow("negative") << QByteArray("-3,1,2,3") << 59 << QList<int>{};
        QTest::newRow("12") << QByteArray("12,1,2,3,4,5,6,7,8,9,10,11,12") << -1
                            << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
        QTest::newRow("huge") << QByteArray("99999999999999999999999,3") << -1 << QList<int>{3};
        QTest::newRow("hugely negative")
            << QByteArray("-99999999999999999999999") << 59 << QList<int>{};
        QTest::newRow("garbage") << QByteArray("abc,4") << 59 << QList<int>{};
        QTest::newRow("pieces out of range")
            << QByteArray("5,0,13,-1,999999999999,6") << 34 << QList<int>{6};
        QTest::newRow("pieces missing") << QByteArray("4,9") << 39 << QList<int>{9};
        QTest::newRow("nothing") << QByteArray("") << 59 << QList<int>{};
    }
    void countsOutsideTheRangeStayInsideTheLists() {
        QFETCH(QByteArray, countText);
        QFETCH(int, lastCell);
        QFETCH(QList<int>, excluded);
        const OutlineContent content = ReadOutline(kvtest::OutlineBytes(
            "n", kvtest::CellText(kvtest::BlockCells(60)), countText, QByteArray()));
        QCOMPARE(content.lastCell, lastCell);
        for (int p = 1; p <= kPieces; ++p)
            QCOMPARE(content.excluded[p], excluded.contains(p) ? 1 : 0);
    }

    void damagedFilesStillRead() {
        // Nothing at all: every cell is (0, 0).
        OutlineContent content = ReadOutline(QByteArray());
        QCOMPARE(content.name, QByteArray());
        QCOMPARE(content.lastCell, 59);
        for (auto& cell : content.cells) QVERIFY(cell[0] == 0 && cell[1] == 0);

        // Control bytes inside the scrambled line: the line goes on, those bytes decode to 0.
        QByteArray cells = kvtest::Scramble("c", kvtest::CellText(kvtest::BlockCells(60)));
        cells[1] = '\x01';  // column of cell 0 becomes "1\0"
        cells[6] = '\x1f';  // row of cell 1 becomes "\0" "9": no number, so 0
        content = ReadOutline("c\r\n" + cells + "\r\n1,3\r\n");
        QCOMPARE(content.cells[0][0], 1);
        QCOMPARE(content.cells[1][0], 13);
        QCOMPARE(content.cells[1][1], 0);
        QCOMPARE(content.cells[2][0], 14);
        QCOMPARE(content.lastCell, 54);
        QCOMPARE(content.excluded[3], 1);

        // A short cell text leaves the missing cells at (0, 0).
        content =
            ReadOutline(kvtest::OutlineBytes("s", kvtest::CellText(kvtest::BlockCells(3)), "0"));
        QCOMPARE(content.cells[2][0], 14);
        QCOMPARE(content.cells[3][0], 0);
        QCOMPARE(content.cells[59][1], 0);
    }

    void longLinesAreBoundedButReadThrough() {
        // A line 2 of a megabyte: the count after it is still found, only the cells are kept.
        const QByteArray plain =
            kvtest::CellText(kvtest::BlockCells(60)) + QByteArray(1 << 20, '9');
        OutlineContent content = ReadOutline(kvtest::OutlineBytes("L", plain, "2,5,7"));
        QVERIFY(content.cellText.size() <= 240);
        QCOMPARE(content.cells[49][0], 21);
        QCOMPARE(content.lastCell, 49);
        QCOMPARE(ExcludedList(content), (QList<int>{5, 7}));

        // Megabytes of garbage, with and without line ends, read to an end.
        QRandomGenerator random(11);
        for (const bool withLineEnds : {false, true}) {
            QByteArray garbage(4 << 20, '\0');
            for (auto& ch : garbage) {
                ch = char(random.bounded(256));
                if (!withLineEnds && (ch == '\r' || ch == '\n')) ch = 'x';
            }
            content = ReadOutline(garbage);
            QVERIFY(content.cellText.size() <= 240);
            QVERIFY(content.lastCell >= -1 && content.lastCell <= 59);
            if (!withLineEnds) QCOMPARE(content.name.size(), garbage.size());
        }
        // A count far beyond 12 with a file full of piece numbers runs to the file's end.
        QByteArray many = "m\r\n\r\n999999999999";
        for (int i = 0; i < 200000; ++i) many += ",3";
        content = ReadOutline(many);
        QCOMPARE(content.lastCell, -1);
        QCOMPARE(ExcludedList(content), QList<int>{3});
    }

    void readingAcrossChunksAndLeavingTheRestUnread() {
        // Line ends falling on either side of the reader's 4096-byte chunks of a file, read
        // from the file and from its bytes alike.
        for (const int length : {4094, 4095, 4096, 8191}) {
            const QByteArray name(length, 'N');
            QByteArray bytes =
                kvtest::OutlineBytes(name, kvtest::CellText(kvtest::BlockCells(60)), "1\r\n11");
            QBuffer file(&bytes);
            QVERIFY(file.open(QIODevice::ReadOnly));
            for (const OutlineContent& content : {ReadOutline(file), ReadOutline(bytes)}) {
                QCOMPARE(content.name, name);
                QCOMPARE(content.cells[54][0], 16);
                QCOMPARE(content.lastCell, 54);
                QCOMPARE(ExcludedList(content), QList<int>{11});
            }
        }
        // The name alone leaves the file just after line 1.
        QByteArray bytes = "Name\r\nrest";
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QCOMPARE(ReadOutlineName(buffer), QByteArray("Name"));
        QCOMPARE(buffer.pos(), 6);
        QCOMPARE(buffer.readAll(), QByteArray("rest"));
    }

    // --- Loading onto the board ------------------------------------------------------------

    void init() { kvtest::FreshModel(); }

    void loadShowsTheOutline() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        PositionPath = QStringLiteral("/somewhere/position.fgr");
        QList<QPoint> cells = kvtest::BlockCells(50, 3, 2);
        cells[10] = QPoint(34, 23);  // the far corner
        QCOMPARE(Load(kvtest::OutlineBytes(kCyrillicName, cells, {12, 1})), 0);
        QVERIFY(fakes.messages.errors.isEmpty());
        QCOMPARE(OutlineName, QStringLiteral("Контур"));
        QCOMPARE(game.window->windowTitle(), QStringLiteral("Головоломка «Квелт» - Контур"));
        QCOMPARE(OutlinePath, Path("o.kvt"));
        // The loader's callers forget the position file, not the loader.
        QCOMPARE(PositionPath, QStringLiteral("/somewhere/position.fgr"));
        QCOMPARE(OutlineLoaded, 1);
        QCOMPARE(OutlineLastCell, 49);
        QCOMPARE(ExcludedPieces(), (QList<int>{1, 12}));
        QCOMPARE(OutlineCellCount(), 50);
        for (int i = 0; i < 50; ++i) {
            QCOMPARE(OutlineCellList[i][0], cells[i].x());
            QCOMPARE(OutlineCellList[i][1], cells[i].y());
            QCOMPARE(OutlineCells[cells[i].x()][cells[i].y()], 1);
            // Black inside, grid at the cell's top-left corner.
            const int x = cells[i].x() * CellSize, y = cells[i].y() * CellSize;
            QCOMPARE(BoardCanvas->Pixel(x + 1, y + 1), kvtest::Rgb(0));
            QCOMPARE(BoardCanvas->Pixel(x + CellSize - 1, y + CellSize - 1), kvtest::Rgb(0));
            QCOMPARE(BoardCanvas->Pixel(x, y), kvtest::Rgb(platform::COLOR_APPWORKSPACE));
        }
        for (auto& column : BoardCells) {
            for (const int v : column) QCOMPARE(v, 0);
        }
        // The code tables are not kept.
        for (int s = 0; s < 256; ++s) QCOMPARE(DecodeTable[s], 0);
        // The wait pointer is gone again.
        QVERIFY(!WindowHasOwnPointer());
    }

    void loadReplacesThePreviousOutline() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        QCOMPARE(Load(kvtest::OutlineBytes("A", kvtest::BlockCells(45, 1, 1), {2, 3, 4}), "a.kvt"),
                 0);
        const QByteArray second = kvtest::OutlineBytes("B", kvtest::BlockCells(55, 20, 15), {6});
        QCOMPARE(Load(second, "b.kvt"), 0);
        const Snapshot once = Snapshot::Take();
        QCOMPARE(ExcludedPieces(), QList<int>{6});
        QCOMPARE(OutlineCellCount(), 55);
        QCOMPARE(OutlineCells[1][1], 0);
        QCOMPARE(BoardCanvas->Pixel(CellSize + 5, CellSize + 5),
                 kvtest::Rgb(platform::COLOR_BTNFACE));
        // Loading the same file again gives the same state and picture.
        QCOMPARE(Load(second, "b.kvt"), 0);
        QVERIFY(Snapshot::Take() == once);
    }

    void lineEndsAndTheLastLineDoNotMatter() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        const QByteArray text = kvtest::CellText(kvtest::BlockCells(50));
        QCOMPARE(Load(kvtest::OutlineBytes("LE", text, "2,5,7")), 0);
        const Snapshot crlf = Snapshot::Take();
        for (const QByteArray& bytes :
             {kvtest::OutlineBytes("LE", text, "2,5,7", "tail", "\n"),
              kvtest::OutlineBytes("LE", text, "2\r\n5\r\n7", "tail"),
              kvtest::OutlineBytes("LE", text, "2,5,7", QByteArray()),
              kvtest::OutlineBytes("LE", kvtest::CellText(kvtest::BlockCells(50), true), "2,5,7"),
              kvtest::OutlineBytes("LE", text, "2,5,7").chopped(2)}) {
            QCOMPARE(Load(bytes), 0);
            QVERIFY(Snapshot::Take() == crlf);
        }
    }

    // The reader lists cells off the board as they stand; the loader refuses such a file,
    // as every damaged one, and draws nothing of it.
    void cellsOffTheBoardAreReadButRefused() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        const QImage empty = BoardCanvas->Image().copy();
        QList<QPoint> cells = kvtest::BlockCells(60, 0, 0);
        cells[0] = QPoint(35, 0);
        cells[1] = QPoint(-1, 5);
        cells[3] = QPoint(99, 99);
        cells[4] = QPoint(0, -9);
        const QByteArray bytes = kvtest::OutlineBytes("off", cells);
        const OutlineContent content = ReadOutline(bytes);
        QCOMPARE(content.cells[0][0], 35);
        QCOMPARE(content.cells[1][0], -1);
        QCOMPARE(content.cells[3][1], 99);
        QCOMPARE(content.cells[4][1], -9);
        QCOMPARE(Load(bytes), 1);
        QCOMPARE(fakes.messages.errors, QStringList{QStringLiteral("Файл открыть не возможно.")});
        QCOMPARE(BoardCanvas->Image(), empty);
        QCOMPARE(OutlineLoaded, 0);
    }

    void damagedFilesRefused() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        QCOMPARE(Load(QByteArray(), "empty.kvt"), 1);
        QRandomGenerator random(5);
        QByteArray garbage(3 << 20, '\0');
        for (auto& ch : garbage) ch = char(random.bounded(256));
        QCOMPARE(Load(garbage, "garbage.kvt"), 1);
        QCOMPARE(fakes.messages.errors,
                 QStringList(2, QStringLiteral("Файл открыть не возможно.")));
        QCOMPARE(game.window->windowTitle(), QStringLiteral("Головоломка «Квелт»"));
        QCOMPARE(OutlineLoaded, 0);
        QVERIFY(OutlinePath.isEmpty());
        QVERIFY(!WindowHasOwnPointer());
    }

    // --- Failures ------------------------------------------------------------------------

    void openFailuresAreToldApart() {
        kvtest::GameWindow game;
        PointerWatchingMessages messages;
        platform::services().messages = &messages;
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("folder.kvt")));
        QCOMPARE(OpenKvelt(Path("missing.kvt")), 1);
        QCOMPARE(OpenKvelt(Path("no-such-folder/0001.kvt")), 1);
        QCOMPARE(OpenKvelt(Path("folder.kvt")), 1);
        platform::RestoreDefaultServices();
        QCOMPARE(messages.errors, (QStringList{QStringLiteral("Файл не найден."),
                                               QStringLiteral("Файл открыть не возможно."),
                                               QStringLiteral("Файл открыть не возможно.")}));
        QCOMPARE(messages.waitWhileShown, (QList<bool>{true, true, true}));
        QVERIFY(!WindowHasOwnPointer());
    }

    void unreadableFileCannotBeOpened() {
        if (::geteuid() == 0) QSKIP("running as root: access rights are not enforced");
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        QVERIFY(kvtest::WriteBytes(Path("locked.kvt"), kvtest::OutlineBytes("x", {})));
        QFile(Path("locked.kvt")).setPermissions(QFileDevice::Permissions());
        QCOMPARE(OpenKvelt(Path("locked.kvt")), 1);
        QCOMPARE(fakes.messages.errors, QStringList{QStringLiteral("Файл открыть не возможно.")});
    }

    void failedLoadChangesNothing() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        // Before any outline: OutlineLoaded stays 0, the caption stays bare.
        const Snapshot bare = Snapshot::Take();
        QCOMPARE(OpenKvelt(Path("missing.kvt")), 1);
        QVERIFY(Snapshot::Take() == bare);
        QCOMPARE(OutlineLoaded, 0);

        // After an outline with pieces on it.
        QCOMPARE(Load(kvtest::OutlineBytes("Kept", kvtest::BlockCells(55), {4})), 0);
        FiguryPoMestam();
        ShowAllFigury();
        CurrentPiece = 1;
        UstanovkaFigury(-1);
        PositionPath = Path("saved.fgr");
        const Snapshot loaded = Snapshot::Take();
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("dir.kvt")));
        for (const QString& path : {Path("missing.kvt"), Path("nowhere/x.kvt"), Path("dir.kvt")}) {
            QCOMPARE(OpenKvelt(path), 1);
            QVERIFY2(Snapshot::Take() == loaded, qPrintable(path));
        }
        QCOMPARE(fakes.messages.errors.size(), 4);
    }

    // --- Drawing -------------------------------------------------------------------------

    void showKveltFillsCellInteriors() {
        kvtest::GameWindow game;
        SetCellSize(480);
        QCOMPARE(CellSize, 20);
        game.window->picPole()->Place(0, 0, BoardPixelWidth, BoardPixelHeight);
        NewPole();
        OutlineCellList[0][0] = 2;
        OutlineCellList[0][1] = 3;
        OutlineCellList[1][0] = 34;  // last column, first row
        OutlineCellList[1][1] = 0;
        OutlineLastCell = 1;
        ShowKvelt();
        const QRgb black = kvtest::Rgb(0);
        const QRgb grid = kvtest::Rgb(platform::COLOR_APPWORKSPACE);
        for (int y = 60; y <= 80; ++y) {
            for (int x = 40; x <= 60; ++x) {
                // The range is cell (2, 3) and the grid lines around it.
                const bool inside = x >= 41 && x <= 59 && y >= 61 && y <= 79;
                QCOMPARE(BoardCanvas->Pixel(x, y), inside ? black : grid);
            }
        }
        QCOMPARE(BoardCanvas->Pixel(681, 1), black);
        QCOMPARE(BoardCanvas->Pixel(699, 19), black);
        QCOMPARE(BoardCanvas->Pixel(700, 10), grid);
    }

    void cp1251Names() {
        // Qt's decoder (ICU) and the program's own table agree on every assigned byte.
        QVERIFY(QStringDecoder("windows-1251").isValid());
        for (int b = 0; b < 256; ++b) {
            if (b == 0x98) continue;
            const QByteArray byte(1, char(b));
            const QString text = platform::FromCp1251(byte);
            QCOMPARE(text.size(), 1);
            bool ok = false;
            QCOMPARE(platform::ToCp1251(text, &ok), byte);
            QVERIFY(ok);
        }
        QCOMPARE(platform::FromCp1251("\xC0\xFF\xA8\xB8\xB9"), QStringLiteral("АяЁё№"));
        bool ok = true;
        QCOMPARE(platform::ToCp1251(QStringLiteral("a漢"), &ok), QByteArray("a?"));
        QVERIFY(!ok);
    }

  private:
    static QList<int> ExcludedList(const OutlineContent& content) {
        QList<int> list;
        for (int p = 1; p <= kPieces; ++p) {
            if (content.excluded[p] == 1) list << p;
        }
        return list;
    }
};

QTEST_MAIN(OutlinesTest)
#include "test_outlines.moc"
