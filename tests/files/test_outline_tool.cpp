// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// kvelt-outline as a user runs it (encode, show, solve, check) and the strict outline
// reader that its check rests on.
#include <QtTest>

#include <QProcess>
#include <QTemporaryDir>
#include <set>

#include "model/Model.h"
#include "outlines/CodeTables.h"
#include "outlines/OutlineCode.h"
#include "outlines/OutlineFile.h"
#include "outlines/OutlineWriter.h"
#include "outlines/ShippedGrades.h"
#include "platform/TextCodec.h"
#include "solver/Grade.h"
#include "solver/Solver.h"
#include "support/TestSupport.h"

using namespace kv;

namespace {

struct Result {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

QString ToolPath() {
    const QString dir = qEnvironmentVariable("KVELT_PROGRAM_DIR",
                                             QCoreApplication::applicationDirPath() + "/../bin");
    return dir + "/kvelt-outline";
}

Result Tool(const QStringList& args) {
    QProcess process;
    process.start(ToolPath(), args);
    Result r;
    if (!process.waitForFinished(60000)) return r;
    r.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = process.readAllStandardOutput();
    r.err = process.readAllStandardError();
    return r;
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray Rows(int width, int height, char ch = '#') {
    QByteArray rows;
    for (int r = 0; r < height; ++r) rows += QByteArray(width, ch) + '\n';
    return rows;
}

OutlineDraft Rectangle(const QString& name, int width, int height, std::vector<int> excluded = {}) {
    OutlineDraft d{name, std::move(excluded), {}};
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c)
            d.cells.push_back({(35 - width) / 2 + c, (24 - height) / 2 + r});
    }
    return d;
}

// An outline file put together byte by byte, for faults the writer would never make.
QByteArray Handmade(const QString& text, const QByteArray& cellText, const QByteArray& rest) {
    const QByteArray name = platform::ToCp1251(text);
    MakeCodeTables(name);
    const QByteArray bytes = name + "\r\n" + EncodeLine(cellText) + "\r\n" + rest;
    DiscardCodeTables();
    return bytes;
}

QByteArray CellText(int count, int column = 5, int row = 5) {
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        text += QByteArray::number(column + i % 20).rightJustified(2, ' ');
        text += QByteArray::number(row + i / 20).rightJustified(2, '0');
    }
    return text;
}

// A code's payload laid out as docs/outline-codes.md says, checksum not yet added.
QByteArray Payload(const QByteArray& name, int mask, std::initializer_list<int> box,
                   const QByteArray& bitmap) {
    QByteArray p(1, static_cast<char>(name.size()));
    p += name;
    p += static_cast<char>(mask >> 8);
    p += static_cast<char>(mask & 0xFF);
    for (const int v : box) p += static_cast<char>(v);
    return p + bitmap;
}

std::vector<BoardCell> Sorted(std::vector<BoardCell> cells) {
    std::sort(cells.begin(), cells.end());
    return cells;
}

}  // namespace

Q_DECLARE_METATYPE(kv::CodeFault)
Q_DECLARE_METATYPE(kv::OutlineDraft)

class OutlineToolTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString Path(const QString& name) const { return dir_.filePath(name); }

    // Writes a drawing and encodes it; the outline file's path.
    QString Encode(const QString& base, const QByteArray& art) {
        WriteFile(Path(base + ".txt"), art);
        const Result r = Tool({"encode", Path(base + ".txt"), "-o", Path(base + ".kvt")});
        if (r.code != 0) qWarning() << r.err;
        return r.code == 0 ? Path(base + ".kvt") : QString();
    }

  private slots:
    void initTestCase() {
        kvtest::FreshModel();
        QVERIFY(dir_.isValid());
        QVERIFY2(QFileInfo(ToolPath()).isExecutable(), qPrintable(ToolPath() + " is not built"));
    }

    void usage() {
        const Result help = Tool({"--help"});
        QCOMPARE(help.code, 0);
        for (const char* command :
             {"encode ART.txt -o FILE.kvt", "show FILE.kvt", "solve FILE.kvt [--count] [--all]",
              "check DIR", "grade FILE.kvt|DIR... [-o GRADES.txt]", "code FILE.kvt",
              "encode --code TEXT -o FILE.kvt"}) {
            QVERIFY2(help.out.contains(command), command);
        }
        // GNU conventions: --help and --version print to standard output and succeed,
        // wherever they stand among the arguments; the version is the project's.
        for (const QStringList& args : QList<QStringList>{{"--version"}, {"solve", "--version"}}) {
            const Result r = Tool(args);
            QCOMPARE(r.code, 0);
            QVERIFY2(r.err.isEmpty(), r.err.constData());
            QCOMPARE(r.out.left(r.out.indexOf('\n')),
                     QByteArray("kvelt-outline (Kvelt) " KVELT_VERSION));
            QVERIFY(r.out.contains("NO WARRANTY"));
        }
        const Result lateHelp = Tool({"encode", "--help"});
        QCOMPARE(lateHelp.code, 0);
        QCOMPARE(lateHelp.out, help.out);
        QVERIFY(help.out.contains("--version  output version information and exit"));
        const QList<QStringList> wrong = {{},
                                          {"paint"},
                                          {"encode", Path("none.txt")},
                                          {"solve"},
                                          {"solve", "x.kvt", "--fast"},
                                          {"code"},
                                          {"code", "a.kvt", "b.kvt"},
                                          {"encode", "--code", "KV1-x"},
                                          {"encode", "--code", "KV1-x", "art.txt", "-o", "x.kvt"},
                                          {"encode", "-o", "x.kvt", "--code"}};
        for (const QStringList& args : wrong) {
            const Result r = Tool(args);
            QCOMPARE(r.code, 2);
            QCOMPARE(r.err.count('\n'), 1);
            QVERIFY(r.out.isEmpty());
        }
    }

    // The file holds the name in Windows-1251, the centred cells and the excluded pieces
    // the way the game reads them, with CR LF line ends and scrambled lines free of
    // control bytes.
    void encodeWritesWhatTheGameReads() {
        const QString name = QStringLiteral("Ёлка «девять на пять»");
        const QString path = Encode("nine", name.toUtf8() + "\n2, 5 7\n" + Rows(9, 5));
        QVERIFY(!path.isEmpty());
        const QByteArray bytes = ReadFile(path);
        const OutlineContent game = ReadOutline(bytes);
        QCOMPARE(game.name, platform::ToCp1251(name));
        QCOMPARE(game.count, 3LL);
        for (int p = 1; p <= kPieces; ++p)
            QCOMPARE(game.excluded[p], p == 2 || p == 5 || p == 7 ? 1 : 0);
        QCOMPARE(game.lastCell, 44);
        std::set<BoardCell> cells;
        for (int i = 0; i <= game.lastCell; ++i) cells.insert({game.cells[i][0], game.cells[i][1]});
        std::set<BoardCell> expected;
        for (int r = 0; r < 5; ++r) {
            for (int c = 0; c < 9; ++c) expected.insert({13 + c, 9 + r});
        }
        QCOMPARE(cells, expected);

        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines.size(), 5);  // four lines and nothing after the last line end
        QVERIFY(lines.last().isEmpty());
        for (int i = 0; i < 4; ++i) {
            QVERIFY(lines[i].endsWith('\r'));
            for (const char ch : lines[i].chopped(1)) QVERIFY(static_cast<unsigned char>(ch) >= 32);
        }
        QCOMPARE(lines[2], QByteArray("3,2,5,7\r"));
        QVERIFY(!lines[3].chopped(1).isEmpty());
        QVERIFY(ReadOutlineStrict(bytes).fault.isEmpty());
    }

    // show prints a drawing that encode turns into the very same file, also for drawings
    // with margins that put the outline off centre.
    void showIsTheInverseOfEncode_data() {
        QTest::addColumn<QByteArray>("art");
        QTest::addColumn<QByteArray>("shown");
        QTest::newRow("rectangle") << QByteArray("Прямоугольник\n\n" + Rows(10, 6))
                                   << QByteArray("Прямоугольник\n-\n" + Rows(10, 6));
        QTest::newRow("blanks, dots, pieces left out")
            << QByteArray(
                   "Рамка\n 12,1 \n##########\n##########\n##   .  ##\n##########\n##########\n"
                   "######  \n\n  \n")
            << QByteArray(
                   "Рамка\n12 1\n##########\n##########\n##......##\n##########\n##########\n"
                   "######....\n");
        QTest::newRow("top margin") << QByteArray("Сдвиг\n-\n..\n..\n..\n" + Rows(12, 5))
                                    << QByteArray("Сдвиг\n-\n" + Rows(12, 3, '.') + Rows(12, 5));
    }
    void showIsTheInverseOfEncode() {
        QFETCH(QByteArray, art);
        QFETCH(QByteArray, shown);
        const QString first = Encode("first", art);
        QVERIFY(!first.isEmpty());
        const Result show = Tool({"show", first});
        QCOMPARE(show.code, 0);
        QCOMPARE(show.out, shown);
        const QString again = Encode("again", show.out);
        QVERIFY(!again.isEmpty());
        QCOMPARE(ReadFile(again), ReadFile(first));
    }

    // Each refusal: status 1, one line naming the drawing and the fault, and no file
    // written or changed.
    void encodeRefusesFaultyDrawings_data() {
        QTest::addColumn<QByteArray>("art");
        QTest::addColumn<QString>("fault");
        QByteArray oneShort = "Без одной\n\n" + Rows(10, 6);
        oneShort[oneShort.size() - 2] = '.';
        QTest::newRow("a cell short") << oneShort << "59 cells, but 12 pieces in play cover 60";
        QTest::newRow("pieces left out but all cells drawn")
            << QByteArray("Много\n3\n" + Rows(10, 6)) << "60 cells, but 11 pieces in play cover 55";
        QTest::newRow("no drawing") << QByteArray("Пусто\n\n") << "0 cells, but 12 pieces";
        QTest::newRow("too wide") << QByteArray("Широко\n\n#" + QByteArray(35, '.') + "\n" +
                                                Rows(10, 6))
                                  << "36 x 7 cells, larger than the 35 x 24 board";
        QTest::newRow("too tall") << QByteArray("Высоко\n\n" + Rows(3, 20) + Rows(1, 5, '.'))
                                  << "3 x 25 cells, larger than the 35 x 24 board";
        QTest::newRow("piece 13") << QByteArray("Тринадцать\n13\n" + Rows(11, 5))
                                  << "line 2: unknown piece number \"13\"";
        QTest::newRow("piece 0") << QByteArray("Ноль\n0\n" + Rows(11, 5))
                                 << "unknown piece number \"0\"";
        QTest::newRow("a word") << QByteArray("Слово\nX\n" + Rows(11, 5))
                                << "unknown piece number \"X\"";
        QTest::newRow("piece twice")
            << QByteArray("Дважды\n4 2,4\n" + Rows(10, 5)) << "line 2: piece 4 is listed twice";
        QTest::newRow("all twelve left out") << QByteArray("Никого\n1 2 3 4 5 6 7 8 9 10 11 12\n")
                                             << "all twelve pieces are left out";
        QTest::newRow("name outside Windows-1251")
            << QByteArray("Снеговик \xE2\x98\x83\n\n" + Rows(10, 6))
            << "(U+2603), which Windows-1251";
        QTest::newRow("empty name") << QByteArray("  \n\n" + Rows(10, 6)) << "the name is empty";
        QTest::newRow("not UTF-8")
            << QByteArray("\xCA\xE2\xE5\xEB\xF2\n\n" + Rows(10, 6)) << "line 1: not UTF-8 text";
        QTest::newRow("a letter in the drawing")
            << QByteArray("Буква\n\n" + Rows(10, 3) + "####x#####\n" + Rows(10, 2))
            << "line 6, column 5: unknown character \u00ABx\u00BB";
        QTest::newRow("a tab in the drawing")
            << QByteArray("Табуляция\n\n" + Rows(10, 5) + "#\t########\n") << "line 8, column 2";
    }
    void encodeRefusesFaultyDrawings() {
        QFETCH(QByteArray, art);
        QFETCH(QString, fault);
        const QString source = Path("faulty.txt");
        WriteFile(source, art);
        const QString fresh = Path("fresh.kvt");
        QFile::remove(fresh);
        const QString kept = Path("kept.kvt");
        WriteFile(kept, "old contents\r\n");
        for (const QString& target : {fresh, kept}) {
            const Result r = Tool({"encode", source, "-o", target});
            QCOMPARE(r.code, 1);
            QVERIFY(r.out.isEmpty());
            QCOMPARE(r.err.count('\n'), 1);
            const QString line = QString::fromUtf8(r.err);
            QVERIFY2(line.startsWith(source + ": ") && line.contains(fault), qPrintable(line));
        }
        QVERIFY(!QFile::exists(fresh));
        QCOMPARE(ReadFile(kept), QByteArray("old contents\r\n"));
    }

    void encodeNamesAMissingDrawing() {
        const Result r = Tool({"encode", Path("missing.txt"), "-o", Path("missing.kvt")});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY(r.err.startsWith(Path("missing.txt").toUtf8() + ": cannot read"));
        QVERIFY(!QFile::exists(Path("missing.kvt")));
    }

    void solve() {
        const QString strip = Encode("strip", "Полоса\n-\n" + Rows(20, 3));
        QVERIFY(!strip.isEmpty());
        Result r = Tool({"solve", strip, "--count"});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, QByteArray("8 solutions (2 up to symmetry)\n"));

        r = Tool({"solve", strip});
        QCOMPARE(r.code, 0);
        QList<QByteArray> rows = r.out.split('\n');
        QCOMPARE(rows.size(), 4);
        QVERIFY(rows.takeLast().isEmpty());
        const QByteArray drawing = rows.join();
        QCOMPARE(drawing.size(), 60);
        for (const char letter : QByteArray("XITUVWZLNYFP")) QCOMPARE(drawing.count(letter), 5);

        r = Tool({"solve", strip, "--all"});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.endsWith("\n8 solutions\n"));
        const QStringList tilings =
            QString::fromUtf8(r.out.chopped(QByteArray("8 solutions\n").size()))
                .split(QStringLiteral("\n\n"));
        QCOMPARE(tilings.size(), 8);
        QCOMPARE(QSet<QString>(tilings.begin(), tilings.end()).size(), 8);
        for (const QString& tiling : tilings) {
            QCOMPARE(tiling.trimmed().split(QLatin1Char('\n')).size(), 3);
            for (const QChar letter : QStringLiteral("XITUVWZLNYFP"))
                QCOMPARE(tiling.count(letter), 5);
        }

        // Pieces left out never show; the count is the solver's.
        const QString square = Encode("square", "Квадрат\n1 3 5 6 7 9 11\n" + Rows(5, 5));
        QVERIFY(!square.isEmpty());
        r = Tool({"solve", square});
        QCOMPARE(r.code, 0);
        for (const char letter : QByteArray("XTVWZNF")) QVERIFY(!r.out.contains(letter));
        for (const char letter : QByteArray("IULYP")) QCOMPARE(r.out.count(letter), 5);
        const SolutionCount count = PentominoSolver(Rectangle("", 5, 5).cells,
                                                    {false, false, true, false, true, false, false,
                                                     false, true, false, true, false, true})
                                        .Count();
        QVERIFY(count.all > 0);
        QCOMPARE(Tool({"solve", square, "--count"}).out,
                 QStringLiteral("%1 solutions (%2 up to symmetry)\n")
                     .arg(count.all)
                     .arg(count.upToSymmetry)
                     .toUtf8());

        const QString hopeless = Encode("hopeless", "Безнадёжно\n-\n" + Rows(30, 2));
        QVERIFY(!hopeless.isEmpty());
        r = Tool({"solve", hopeless});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.out, QByteArray("No solution.\n"));
        r = Tool({"solve", hopeless, "--count"});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.out, QByteArray("0 solutions (0 up to symmetry)\n"));

        WriteFile(Path("broken.kvt"), WriteOutline(Rectangle("Сломано", 11, 5)));
        r = Tool({"solve", Path("broken.kvt")});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY(r.err.contains("the cell line holds 220 characters, 60 cells need 240"));
    }

    // One line for each faulty file and for no other; a sound folder passes; an empty one
    // passes with a note.
    void check() {
        QTemporaryDir folder;
        auto put = [&](const QString& name, const QByteArray& bytes) {
            WriteFile(folder.filePath(name), bytes);
        };
        put("a_good.kvt", WriteOutline(Rectangle("Полоса", 20, 3)));
        put("b_count.kvt", WriteOutline(Rectangle("Недосчёт", 11, 5)));
        put("c_same_name.kvt", WriteOutline(Rectangle("Полоса", 10, 6)));
        put("d_unsolvable.kvt", WriteOutline(Rectangle("Два ряда", 30, 2)));
        put("e_pieces.kvt", WriteOutline(Rectangle("Лишняя", 10, 5, {2, 2})));
        put("notes.txt", "not an outline");

        Result r = Tool({"check", folder.path()});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.out, QByteArray("5 outline files checked, 4 faulty\n"));
        const QList<QByteArray> lines = r.err.trimmed().split('\n');
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0],
                 QByteArray("b_count.kvt: the cell line holds 220 characters, 60 cells need 240"));
        QVERIFY2(lines[1].startsWith("c_same_name.kvt: same name"), lines[1]);
        QVERIFY(lines[1].contains("a_good.kvt"));
        QCOMPARE(lines[2], QByteArray("d_unsolvable.kvt: no solution"));
        QVERIFY2(lines[3].startsWith("e_pieces.kvt: piece 2 is listed twice"), lines[3]);

        for (const char* name :
             {"b_count.kvt", "c_same_name.kvt", "d_unsolvable.kvt", "e_pieces.kvt"}) {
            QVERIFY(QFile::remove(folder.filePath(name)));
        }
        r = Tool({"check", folder.path()});
        QCOMPARE(r.code, 0);
        QVERIFY(r.err.isEmpty());
        QCOMPARE(r.out, QByteArray("1 outline file checked, 0 faulty\n"));

        QTemporaryDir empty;
        r = Tool({"check", empty.path()});
        QCOMPARE(r.code, 0);
        QVERIFY(r.err.isEmpty());
        QVERIFY(r.out.contains("holds no *.kvt files"));

        r = Tool({"check", empty.filePath("nowhere")});
        QCOMPARE(r.code, 2);
        QCOMPARE(r.err.count('\n'), 1);
    }

    // grade prints each outline's grade as the solver finds it, a folder in name order; -o
    // writes the same lines into a grades file the game reads back; a faulty file fails.
    void grade() {
        QTemporaryDir folder;
        const OutlineDraft strip = Rectangle("Полоса", 20, 3);
        const OutlineDraft none = Rectangle("Два ряда", 30, 2);
        WriteFile(folder.filePath("b.kvt"), WriteOutline(strip));
        WriteFile(folder.filePath("a.kvt"), WriteOutline(none));
        std::array<bool, 13> all{};
        std::fill(all.begin() + 1, all.end(), true);
        const OutlineGrade stripGrade = GradeOutline(strip.cells, all);
        QCOMPARE(stripGrade.tilings, std::uint64_t{2});
        const QByteArray expected =
            GradeLine("a.kvt", GradeOutline(none.cells, all)) + GradeLine("b.kvt", stripGrade);
        QVERIFY(expected.startsWith("a.kvt\t0\t0\t"));

        Result r = Tool({"grade", folder.path()});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, expected);
        r = Tool({"grade", folder.filePath("b.kvt"), folder.path(), "-o", Path("grades.txt")});
        QCOMPARE(r.code, 0);
        QVERIFY(r.out.isEmpty());
        const std::map<QString, OutlineGrade> read = ParseGrades(ReadFile(Path("grades.txt")));
        QCOMPARE(read.size(), std::size_t{2});
        QCOMPARE(read.at("b.kvt").nodes, stripGrade.nodes);
        QCOMPARE(read.at("b.kvt").grade, stripGrade.grade);

        WriteFile(folder.filePath("c.kvt"), "not an outline");
        r = Tool({"grade", folder.path()});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY(r.err.startsWith(folder.filePath("c.kvt").toUtf8()));
        QCOMPARE(Tool({"grade"}).code, 2);
    }

    // The grades file's reader takes back what GradeLine writes, "at least" counts too, and
    // skips comments and lines that do not read as grades.
    void gradesFileRoundTrip() {
        OutlineGrade capped;
        capped.grade = 1;
        capped.tilings = kGradeTilingCap;
        capped.tilingsCapped = true;
        capped.nodes = 123456789012ULL;
        OutlineGrade unique;
        unique.grade = 5;
        unique.tilings = 1;
        unique.nodes = 58904;
        const QByteArray text = "# comment\n" + GradeLine(QStringLiteral("Кошка.kvt"), capped) +
                                GradeLine("b.kvt", unique) + "c.kvt\t6\t1\t1\n" +
                                "d.kvt\t2\tmany\t1\n" + "e.kvt\t2\t1\r\n";
        const std::map<QString, OutlineGrade> read = ParseGrades(text);
        QCOMPARE(read.size(), std::size_t{2});
        const OutlineGrade& cat = read.at(QStringLiteral("Кошка.kvt"));
        QVERIFY(cat.tilingsCapped && !cat.Unique());
        QCOMPARE(cat.tilings, kGradeTilingCap);
        QCOMPARE(cat.nodes, capped.nodes);
        QVERIFY(read.at("b.kvt").Unique());
        QCOMPARE(read.at("b.kvt").grade, 5);
    }

    // The strict reader finds what the game's reader passes over.
    void strictReader_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("fault");
        const QByteArray sixty = CellText(60);
        QTest::newRow("sound") << Handmade("Имя", sixty, "0\r\nend\r\n") << QString();
        // Each field form the game reads, which the strict reader must read alike.
        QTest::newRow("sound, a digit before its blank")
            << Handmade("Имя", "5 5 " + sixty.mid(4), "0\r\n") << QString();
        QTest::newRow("sound, two digits each")
            << Handmade("Имя", "3423" + sixty.mid(4), "0\r\n") << QString();
        QTest::newRow("sound, pieces on lines of their own, no last line")
            << Handmade("Имя", CellText(45), "3\r\n2\r\n5\r\n7\r\n") << QString();
        QTest::newRow("no count") << Handmade("Имя", sixty, "") << "no count";
        QTest::newRow("count 12") << Handmade("Имя", sixty, "12,1,2,3,4,5,6,7,8,9,10,11,12\r\n")
                                  << "count of excluded pieces 12 is not 0 to 11";
        QTest::newRow("count -1") << Handmade("Имя", sixty, "-1\r\n") << "is not 0 to 11";
        QTest::newRow("fewer pieces than announced")
            << Handmade("Имя", CellText(50), "2,5\r\n") << "2 excluded pieces announced, 1 listed";
        QTest::newRow("piece 13") << Handmade("Имя", CellText(50), "2,1,13\r\n")
                                  << "unknown piece number 13";
        QTest::newRow("piece twice")
            << Handmade("Имя", CellText(45), "3,2,4,4\r\n") << "piece 4 is listed twice";
        QTest::newRow("short cell text") << Handmade("Имя", CellText(59), "0\r\n")
                                         << "the cell line holds 236 characters, 60 cells need 240";
        QTest::newRow("count says fewer cells")
            << Handmade("Имя", sixty, "1,5\r\n")
            << "the cell line holds 240 characters, 55 cells need 220";
        QTest::newRow("letters for a cell")
            << Handmade("Имя", sixty.left(40) + " x 5" + sixty.mid(44), "0\r\n")
            << "cell 11 of the cell line";
        QTest::newRow("empty field")
            << Handmade("Имя", "    " + sixty.mid(4), "0\r\n") << "cell 1 of the cell line";
        QTest::newRow("off the board") << Handmade("Имя", sixty.left(236) + "35 0", "0\r\n")
                                       << "cell (35, 0) lies off the 35 x 24 board";
        QTest::newRow("cell twice") << Handmade("Имя", sixty.left(236) + sixty.left(4), "0\r\n")
                                    << "cell (5, 5) is listed twice";
        QTest::newRow("control byte in the cell line")
            << platform::ToCp1251(QStringLiteral("Имя")) + "\r\n\x01\x02\r\n0\r\n"
            << "control byte";
        QTest::newRow("control byte in the name")
            << Handmade("Им\tя", sixty, "0\r\n") << "control character";
    }
    void strictReader() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, fault);
        const StrictOutline read = ReadOutlineStrict(bytes);
        if (fault.isEmpty()) {
            QVERIFY2(read.fault.isEmpty(), qPrintable(read.fault));
        } else {
            QVERIFY2(read.fault.contains(fault), qPrintable(read.fault));
        }
    }

    // Every shipped outline: a code of one short line that decodes to the same name, pieces
    // and cells, and the same when a chat wraps it; its layout is the documented one.
    void codesOfTheShippedOutlines() {
        const QDir shipped(QStringLiteral(KVELT_SOURCE_DIR "/data/Examples"));
        const QStringList files = shipped.entryList({"*.kvt"}, QDir::Files, QDir::Name);
        QVERIFY(files.size() >= 105);
        std::set<QString> codes;
        for (const QString& file : files) {
            const StrictOutline outline = ReadOutlineStrict(ReadFile(shipped.filePath(file)));
            QVERIFY2(outline.fault.isEmpty(), qPrintable(file));
            const OutlineCode code = EncodeOutline(outline.draft);
            QVERIFY2(code.fault == CodeFault::None, qPrintable(file + ": " + CodeFaultText(code)));
            QVERIFY(code.text.startsWith(QLatin1String("KV1-")));
            QVERIFY2(code.text.size() <= 100, qPrintable(file + ": " + code.text));
            codes.insert(code.text);
            QString wrapped = code.text;
            wrapped.insert(wrapped.size() / 2, QStringLiteral("\r\n  "));
            for (const QString& text : {code.text, QStringLiteral(" ") + wrapped + "\n"}) {
                const OutlineCode back = DecodeOutline(text);
                QVERIFY2(back.fault == CodeFault::None,
                         qPrintable(file + ": " + CodeFaultText(back)));
                QCOMPARE(back.draft.name, outline.draft.name);
                std::vector<int> excluded = outline.draft.excluded;
                std::sort(excluded.begin(), excluded.end());
                QCOMPARE(back.draft.excluded, excluded);
                QVERIFY2(Sorted(back.draft.cells) == Sorted(outline.draft.cells), qPrintable(file));
                QCOMPARE(back.text, code.text);
            }
        }
        QCOMPARE(codes.size(), static_cast<std::size_t>(files.size()));

        // A 10 x 1 bar at (12, 11): its row packed high bit first, the pieces left out as bits
        // 0 to 11 (piece 1 the lowest).
        const OutlineDraft bar =
            Rectangle(QStringLiteral("Ы"), 10, 1, {2, 4, 5, 6, 7, 8, 9, 10, 11, 12});
        QCOMPARE(EncodeOutline(bar).text,
                 CodeText(Payload("\xD0\xAB", 0xFFA, {12, 11, 10, 1}, "\xFF\xC0")));
        QCOMPARE(Crc32("123456789"), 0xCBF43926u);  // the check value of CRC-32
    }

    // One clear reason for each way a code can be wrong, and the same refusal for a change of
    // any one character anywhere.
    void refusedCodes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<CodeFault>("fault");
        const QString good = EncodeOutline(Rectangle("Полоса", 10, 6)).text;
        const QByteArray full = QByteArray(7, '\xFF') + '\xF0';  // 10 x 6, four bits spare
        const QByteArray name = QStringLiteral("Имя").toUtf8();
        QByteArray bytes =
            QByteArray::fromBase64(good.mid(4).toLatin1(), QByteArray::Base64UrlEncoding);
        bytes[bytes.size() - 1] = static_cast<char>(bytes.back() ^ 1);
        const QString badSum =
            "KV1-" + QString::fromLatin1(bytes.toBase64(QByteArray::Base64UrlEncoding |
                                                        QByteArray::OmitTrailingEquals));
        QTest::newRow("sound, wrapped") << good.left(9) + "\n " + good.mid(9) << CodeFault::None;
        QTest::newRow("empty") << QString() << CodeFault::Empty;
        QTest::newRow("blanks") << " \t\r\n" << CodeFault::Empty;
        for (const int lost : {1, 2, 3, 6, 21, 36}) {
            QTest::addRow("%d characters lost", lost) << good.chopped(lost) << CodeFault::CutShort;
        }
        QTest::newRow("prefix alone") << "KV1-" << CodeFault::CutShort;
        QTest::newRow("flipped character")
            << good.left(20) + (good[20] == 'A' ? 'B' : 'A') + good.mid(21) << CodeFault::Checksum;
        QTest::newRow("character added") << good + "A" << CodeFault::Checksum;
        QTest::newRow("wrong checksum") << badSum << CodeFault::Checksum;
        QTest::newRow("foreign prefix") << "KV1:" + good.mid(4) << CodeFault::Foreign;
        QTest::newRow("small letters") << "kv1-" + good.mid(4) << CodeFault::Foreign;
        QTest::newRow("a link") << "https://example.org/" + good << CodeFault::Foreign;
        QTest::newRow("version 2") << "KV2-" + good.mid(4) << CodeFault::Version;
        QTest::newRow("version 10") << "KV10-" + good.mid(4) << CodeFault::Version;
        QTest::newRow("padding") << good + "==" << CodeFault::Character;
        QTest::newRow("base64 plus") << good.left(10) + "+" + good.mid(10) << CodeFault::Character;
        QTest::newRow("Cyrillic") << "KV1-Квелт" << CodeFault::Character;
        QTest::newRow("a long text") << QString(100000, 'A') << CodeFault::TooLong;
        QTest::newRow("a long code") << "KV1-" + QString(600, 'A') << CodeFault::TooLong;
        QTest::newRow("400 bytes of bitmap")
            << CodeText(Payload(name, 0, {0, 0, 35, 24}, QByteArray(400, '\xFF')))
            << CodeFault::TooLong;
        // Checksums that match over bytes this game never makes.
        QTest::newRow("box off the board")
            << CodeText(Payload(name, 0, {30, 20, 10, 6}, full)) << CodeFault::Contents;
        QTest::newRow("box 255 x 255")
            << CodeText(Payload(name, 0, {0, 0, 255, 255}, full)) << CodeFault::Contents;
        QTest::newRow("box of no width")
            << CodeText(Payload(name, 0, {10, 10, 0, 6}, full)) << CodeFault::Contents;
        QTest::newRow("name longer than the code")
            << CodeText("\xFF" + name + full) << CodeFault::Contents;
        QTest::newRow("bitmap short")
            << CodeText(Payload(name, 0, {10, 10, 10, 6}, full.chopped(1))) << CodeFault::Contents;
        QTest::newRow("bitmap long")
            << CodeText(Payload(name, 0, {10, 10, 10, 6}, full + '\0')) << CodeFault::Contents;
        QTest::newRow("bits after the last cell")
            << CodeText(Payload(name, 0x7FF, {10, 10, 5, 1}, "\xF9")) << CodeFault::Contents;
        QTest::newRow("piece 13") << CodeText(Payload(name, 0x1000, {10, 10, 10, 6}, full))
                                  << CodeFault::Contents;
        QTest::newRow("name not UTF-8")
            << CodeText(Payload("\xC0\xAF", 0, {10, 10, 10, 6}, full)) << CodeFault::Contents;
        // Sound bytes, but no outline a file could hold.
        QTest::newRow("no name") << CodeText(Payload("", 0, {10, 10, 10, 6}, full))
                                 << CodeFault::NoName;
        QTest::newRow("name with a tab")
            << CodeText(Payload("a\tb", 0, {10, 10, 10, 6}, full)) << CodeFault::NameCharacter;
        QTest::newRow("name with a line break")
            << CodeText(Payload("a\nb", 0, {10, 10, 10, 6}, full)) << CodeFault::NameCharacter;
        QTest::newRow("name without Windows-1251")
            << CodeText(Payload("\xCE\xA9", 0, {10, 10, 10, 6}, full)) << CodeFault::NameCharacter;
        QTest::newRow("all twelve out")
            << CodeText(Payload(name, 0xFFF, {10, 10, 1, 1}, QByteArray(1, '\0')))
            << CodeFault::Outline;
        QTest::newRow("five cells for twelve pieces")
            << CodeText(Payload(name, 0, {10, 10, 5, 1}, "\xF8")) << CodeFault::Outline;
    }
    void refusedCodes() {
        QFETCH(QString, text);
        QFETCH(CodeFault, fault);
        const OutlineCode code = DecodeOutline(text);
        QVERIFY2(code.fault == fault, qPrintable(CodeFaultText(code)));
        if (fault == CodeFault::None) {
            QCOMPARE(code.draft.cells.size(), std::size_t{60});
            return;
        }
        QVERIFY(code.draft.cells.empty());
        QVERIFY(!CodeFaultText(code).isEmpty() && !CodeFaultText(code).contains('\n'));
        QVERIFY(!CodeRefusal(code).isEmpty() && !CodeRefusal(code).contains('\n'));
    }
    void everyChangedCharacterIsRefused() {
        const QString good = EncodeOutline(Rectangle("Ёж", 10, 5, {6, 12})).text;
        int refused = 0;
        for (qsizetype i = 4; i < good.size(); ++i) {
            for (const char ch :
                 QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_")) {
                if (ch == good[i]) continue;
                QString changed = good;
                changed[i] = QLatin1Char(ch);
                const CodeFault fault = DecodeOutline(changed).fault;
                QVERIFY2(fault == CodeFault::Checksum || fault == CodeFault::CutShort,
                         qPrintable(QStringLiteral("%1 at %2").arg(ch).arg(i)));
                ++refused;
            }
        }
        QCOMPARE(refused, 63 * (good.size() - 4));
    }

    // The encoder writes no code for what no file may hold.
    void unsoundOutlinesHaveNoCode_data() {
        QTest::addColumn<OutlineDraft>("draft");
        QTest::addColumn<CodeFault>("fault");
        QTest::newRow("no name") << Rectangle("", 10, 6) << CodeFault::NoName;
        QTest::newRow("256 bytes of name")
            << Rectangle(QString(128, QChar(0x416)), 10, 6) << CodeFault::LongName;
        QTest::newRow("255 bytes of name")
            << Rectangle(QString(85, QChar(0x416)) + QString(85, 'a'), 10, 6) << CodeFault::None;
        QTest::newRow("Omega") << Rectangle("Ω", 10, 6) << CodeFault::NameCharacter;
        QTest::newRow("piece twice") << Rectangle("Имя", 10, 5, {3, 3}) << CodeFault::Outline;
        QTest::newRow("cell count") << Rectangle("Имя", 11, 5) << CodeFault::Outline;
    }
    void unsoundOutlinesHaveNoCode() {
        QFETCH(OutlineDraft, draft);
        QFETCH(CodeFault, fault);
        const OutlineCode code = EncodeOutline(draft);
        QVERIFY2(code.fault == fault, qPrintable(CodeFaultText(code)));
        QCOMPARE(code.text.isEmpty(), fault != CodeFault::None);
        if (fault == CodeFault::None) QCOMPARE(DecodeOutline(code.text).draft.name, draft.name);
    }

    // code prints what encode --code makes a file of again; a refused code writes no file.
    void codeAndEncodeCode() {
        const QString shipped = QStringLiteral(KVELT_SOURCE_DIR "/data/Examples/0050.kvt");
        Result r = Tool({"code", shipped});
        QCOMPARE(r.code, 0);
        QVERIFY(r.err.isEmpty());
        QVERIFY(r.out.startsWith("KV1-") && r.out.endsWith('\n') && r.out.count('\n') == 1);
        const QString text = QString::fromLatin1(r.out.trimmed());
        const StrictOutline original = ReadOutlineStrict(ReadFile(shipped));
        QCOMPARE(text, EncodeOutline(original.draft).text);

        r = Tool({"encode", "--code", text, "-o", Path("from-code.kvt")});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.out.contains("60 cells, 12 pieces in play"), r.out.constData());
        const StrictOutline made = ReadOutlineStrict(ReadFile(Path("from-code.kvt")));
        QVERIFY2(made.fault.isEmpty(), qPrintable(made.fault));
        QCOMPARE(made.draft.name, original.draft.name);
        QVERIFY(Sorted(made.draft.cells) == Sorted(original.draft.cells));
        QCOMPARE(Tool({"code", Path("from-code.kvt")}).out, (text + "\n").toLatin1());

        r = Tool({"encode", "--code", text.chopped(5), "-o", Path("cut.kvt")});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.err, QByteArray("refused: the code is cut short\n"));
        QVERIFY(!QFile::exists(Path("cut.kvt")));
        WriteFile(Path("damaged.kvt"), Handmade("Имя", CellText(59), "0\r\n"));
        r = Tool({"code", Path("damaged.kvt")});
        QCOMPARE(r.code, 1);
        QVERIFY(r.out.isEmpty());
        QCOMPARE(r.err.count('\n'), 1);
        QVERIFY2(r.err.contains("60 cells need 240"), r.err.constData());
    }

    // What the writer makes, the strict reader and the game read back unchanged.
    void writerRoundTrip() {
        OutlineDraft draft = Rectangle(QStringLiteral("Окно «№1»"), 10, 5, {12, 3});
        std::reverse(draft.cells.begin(), draft.cells.end());
        QVERIFY(OutlineFault(draft).isEmpty());
        const QByteArray bytes = WriteOutline(draft);
        const StrictOutline back = ReadOutlineStrict(bytes);
        QVERIFY2(back.fault.isEmpty(), qPrintable(back.fault));
        QCOMPARE(back.draft.name, draft.name);
        QCOMPARE(back.draft.excluded, draft.excluded);
        QVERIFY(back.draft.cells == draft.cells);
        QCOMPARE(ReadOutline(bytes).name, platform::ToCp1251(draft.name));
    }
};

QTEST_MAIN(OutlineToolTest)
#include "test_outline_tool.moc"
