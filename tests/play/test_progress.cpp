// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The progress store and the journey: the record format, damaged files, two copies of the
// game at once, a position that comes back, solves, the solution shown, hints, the next
// unsolved outline, «Успехи».
#include <QCryptographicHash>
#include <QDir>
#include <QLabel>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QtTest>

#include "app/Journey.h"
#include "app/MainWindow.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "outlines/ListDialog.h"
#include "outlines/Outline.h"
#include "outlines/OutlineFolders.h"
#include "platform/TextCodec.h"
#include "play/History.h"
#include "play/ProgressStore.h"
#include "settings/Settings.h"
#include "support/OutlineWriter.h"
#include "support/TestSupport.h"
#include "view/BoardDrawing.h"
#include "windows/NewKveltDialog.h"
#include "windows/UspehiWindow.h"

using namespace kv;

Q_DECLARE_METATYPE(kv::ProgressRecord)

namespace {

QByteArray Key(char first) {
    return QByteArray(1, first) + QByteArray(39, '0');
}

KeptArrangement Laid(int current, int shift) {
    KeptArrangement a;
    a.current = current;
    for (int p = 1; p <= 12; ++p) {
        a.place[p][0] = 2 + shift;
        a.place[p][1] = p;
        a.place[p][2] = 1 + (p + shift) % 8;
    }
    return a;
}

// The X alone: an outline of its five cells around (17, 12), every other piece left out.
const QList<QPoint> kXCells = {{17, 11}, {16, 12}, {17, 12}, {18, 12}, {17, 13}};
const QList<int> kAllButX = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

// A game window with a journey whose store and outline folders are the test's own.
struct Journeyed {
    Journeyed() {
        ExamplesPath = examples.path() + QLatin1Char('/');
        journey = new Journey(std::make_unique<ProgressStore>(ProgressStore::DefaultFolder()),
                              game.window);
        game.window->AttachJourney(journey);
        // Time is left out: every solve here takes none.
        journey->SetActive(false);
    }
    QString Outline(const QString& file, const QString& name, const QList<QPoint>& cells,
                    const QList<int>& excluded = {}) {
        const QString path = ExamplesPath + file;
        kvtest::WriteBytes(path, kvtest::OutlineBytes(platform::ToCp1251(name), cells, excluded));
        return path;
    }
    // Starts the program again on the same store: a new journey, the outline loaded anew.
    void Restart() {
        delete journey;
        kvtest::FreshModel();
        NewPole();
        journey = new Journey(std::make_unique<ProgressStore>(ProgressStore::DefaultFolder()),
                              game.window);
        game.window->AttachJourney(journey);
        journey->SetActive(false);
    }
    kvtest::OwnOutlines home;  // XDG_DATA_HOME: the store and the player's outlines
    QTemporaryDir examples;
    kvtest::Fakes fakes;
    kvtest::GameWindow game;
    Journey* journey = nullptr;
};

}  // namespace

class ProgressTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { kvtest::FreshModel(); }

    void recordsRoundTrip_data() {
        QTest::addColumn<ProgressRecord>("record");
        ProgressRecord fresh;
        fresh.key = Key('a');
        QTest::newRow("not started") << fresh;
        ProgressRecord playing = fresh;
        playing.state = OutlineState::InProgress;
        playing.totalMs = 61000;
        playing.attemptMs = 61000;
        playing.attemptHints = 2;
        playing.lastPlayed = "2026-12-08T10:22:01Z";
        playing.history = {Laid(1, 0), Laid(3, 1), Laid(3, 2)};
        playing.historyIndex = 1;
        QTest::newRow("in progress, one step taken back") << playing;
        ProgressRecord solved = fresh;
        solved.state = OutlineState::SolvedWithHints;
        solved.bestMs = 83000;
        solved.bestSteps = 41;
        solved.bestHints = 3;
        solved.firstSolved = "2026-12-01";
        solved.lastSolved = "2026-12-08";
        solved.graded = true;
        solved.grade = 4;
        solved.tilings = 2339;
        solved.tilingsCapped = true;
        QTest::newRow("solved with hints, graded") << solved;
        ProgressRecord untileable = fresh;
        untileable.graded = true;
        QTest::newRow("graded, no tiling") << untileable;
        ProgressRecord shown = fresh;
        shown.state = OutlineState::Shown;
        shown.attemptShown = true;
        QTest::newRow("shown") << shown;
    }
    void recordsRoundTrip() {
        QFETCH(ProgressRecord, record);
        const QByteArray line = FormatRecord(record);
        QVERIFY(!line.contains('\n'));
        QCOMPARE(ParseRecord(line).value_or(ProgressRecord()), record);
        const QByteArray file = kProgressHeader + '\n' + line + '\n';
        const auto parsed = ParseProgressFile(file);
        QVERIFY(parsed && parsed->size() == 1);
        QCOMPARE(parsed->front(), record);
    }

    // The documented line, field by field.
    void recordLineAsDocumented() {
        ProgressRecord r;
        r.key = Key('7');
        r.state = OutlineState::SolvedAlone;
        r.bestMs = 83000;
        r.bestSteps = 41;
        r.bestHints = 0;
        r.firstSolved = r.lastSolved = "2026-12-08";
        r.totalMs = 95000;
        r.history = {Laid(2, 0)};
        QCOMPARE(FormatRecord(r),
                 Key('7') +
                     "\tstate=solved\tbest=83000,41,0\tfirst=2026-12-08\tsolved=2026-12-08"
                     "\ttime=95000\thistory=0;2:2,1,2,2,2,3,2,3,4,2,4,5,2,5,6,2,6,7,2,7,8,"
                     "2,8,1,2,9,2,2,10,3,2,11,4,2,12,5");
    }

    void damagedLinesRefused_data() {
        QTest::addColumn<QByteArray>("line");
        const QByteArray k = Key('b');
        QTest::newRow("short key") << QByteArray("abc\tstate=new\ttime=0");
        QTest::newRow("capital hex") << "B" + k.mid(1) + "\tstate=new";
        QTest::newRow("no state") << k + "\ttime=5";
        QTest::newRow("unknown state") << k + "\tstate=won";
        QTest::newRow("field without =") << k + "\tstate=new\ttime";
        QTest::newRow("negative time") << k + "\tstate=new\ttime=-1";
        QTest::newRow("time not a number") << k + "\tstate=new\ttime=1e3";
        QTest::newRow("solved without best") << k + "\tstate=solved\tfirst=2026-12-08";
        QTest::newRow("solved without date") << k + "\tstate=solved\tbest=1,1,0";
        QTest::newRow("best of two numbers") << k + "\tstate=solved\tbest=1,1\tfirst=2026-12-08";
        QTest::newRow("bad date") << k + "\tstate=solved\tbest=1,1,0\tfirst=2026-1-08";
        QTest::newRow("grade six") << k + "\tstate=new\tgrade=6,1,0";
        QTest::newRow("no tiling, yet tilings") << k + "\tstate=new\tgrade=0,3,0";
        QTest::newRow("index past the steps")
            << k + "\tstate=playing\thistory=1;1:" + QByteArray("0,0,1,").repeated(11) + "0,0,1";
        QTest::newRow("orientation nine")
            << k + "\tstate=playing\thistory=0;1:" + QByteArray("0,0,9,").repeated(11) + "0,0,9";
        QTest::newRow("arrangement cut short") << k + "\tstate=playing\thistory=0;1:0,0,1";
        QTest::newRow("huge number") << k + "\tstate=new\ttime=99999999999999999999";
    }
    void damagedLinesRefused() {
        QFETCH(QByteArray, line);
        QVERIFY(!ParseRecord(line));
        QVERIFY(!ParseProgressFile(kProgressHeader + '\n' + line + '\n'));
    }

    void damagedFilesRefusedWhole() {
        const QByteArray good = FormatRecord(NewRecord(Key('c')));
        QVERIFY(ParseProgressFile(kProgressHeader + '\n' + good + '\n'));
        QVERIFY(!ParseProgressFile(kProgressHeader + '\n' + good));  // cut before its end
        QVERIFY(!ParseProgressFile("kvelt-progress 2\n" + good + '\n'));
        QVERIFY(!ParseProgressFile(QByteArray()));
        // One bad line among good ones: none of them is read.
        QVERIFY(!ParseProgressFile(kProgressHeader + '\n' + good + "\nx\n" + good + '\n'));
    }

    void keyIsTheContentNotTheFile() {
        int cells[3][2] = {{1, 2}, {3, 4}, {5, 6}};
        int shuffled[3][2] = {{5, 6}, {1, 2}, {3, 4}};
        int moved[3][2] = {{1, 2}, {3, 4}, {5, 7}};
        int none[13] = {};
        int withoutP[13] = {};
        withoutP[12] = 1;
        const QByteArray key = OutlineKey(cells, 3, none);
        QCOMPARE(key.size(), 40);
        QCOMPARE(OutlineKey(shuffled, 3, none), key);
        QVERIFY(OutlineKey(moved, 3, none) != key);
        QVERIFY(OutlineKey(cells, 3, withoutP) != key);
        // Cells far apart on the board, and lists no sound outline has (a cell twice, a cell
        // off the board), are put in order all the same.
        int far[4][2] = {{34, 23}, {0, 0}, {33, 0}, {0, 23}};
        int farShuffled[4][2] = {{0, 23}, {33, 0}, {34, 23}, {0, 0}};
        QCOMPARE(OutlineKey(farShuffled, 4, none), OutlineKey(far, 4, none));
        int odd[4][2] = {{3, 4}, {-1, 2}, {1, 2}, {3, 4}};
        int oddShuffled[4][2] = {{1, 2}, {3, 4}, {3, 4}, {-1, 2}};
        QCOMPARE(OutlineKey(oddShuffled, 4, none), OutlineKey(odd, 4, none));
        int twice[4][2] = {{1, 2}, {3, 4}, {5, 6}, {3, 4}};
        QVERIFY(OutlineKey(twice, 4, none) != key);
        // The text hashed is the documented one, which the records already kept were keyed by.
        QCOMPARE(
            OutlineKey(far, 4, withoutP),
            QCryptographicHash::hash("0,0 0,23 33,0 34,23 | 12", QCryptographicHash::Sha1).toHex());
    }

    // Two copies of the game write into the same file: each keeps the other's records, and
    // of two writes of one record the later stays.
    void twoCopiesKeepEachOthersRecords() {
        QTemporaryDir dir;
        ProgressStore a(dir.path()), b(dir.path());
        ProgressRecord ra = NewRecord(Key('d')), rb = NewRecord(Key('d'));
        ra.key[1] = '1';
        rb.key[1] = '2';
        ra.totalMs = 1;
        rb.totalMs = 2;
        a.Save(ra);
        a.Flush();
        b.Save(rb);
        b.Flush();
        QCOMPARE(a.FileOf(ra.key), b.FileOf(rb.key));
        ra.totalMs = 10;
        a.Save(ra);
        const QHash<QByteArray, ProgressRecord> all = ProgressStore(dir.path()).LoadAll();
        QCOMPARE(all.size(), 2);
        QCOMPARE(all.value(rb.key).totalMs, 2);
        QCOMPARE(a.Load(ra.key)->totalMs, 10);
    }

    void damagedFileSetAsideAndToldOnce() {
        QTemporaryDir dir;
        QVERIFY(kvtest::WriteBytes(dir.path() + "/e.txt", "not a store\n"));
        ProgressStore store(dir.path());
        QStringList told;
        store.onTrouble = [&](const QString& why) { told << why; };
        QVERIFY(store.LoadAll().isEmpty());
        QCOMPARE(told.size(), 1);
        QVERIFY(told[0].contains("e-damaged-1.txt"));
        QCOMPARE(kvtest::ReadBytes(dir.path() + "/e-damaged-1.txt"), QByteArray("not a store\n"));
        QVERIFY(!QFileInfo::exists(dir.path() + "/e.txt"));
        // Written afresh beside it, and read again.
        QVERIFY(store.Write(Key('e'), FormatRecord(NewRecord(Key('e')))));
        QCOMPARE(store.LoadAll().size(), 1);
        QCOMPARE(told.size(), 1);
    }

    // A record in each of the sixteen files, read in two halves at once: all of them come
    // back, and two damaged files, one of each half, are told in the files' order.
    void everyFileReadAndEachDamageTold() {
        QTemporaryDir dir;
        ProgressStore store(dir.path());
        for (const char digit : QByteArrayView("0123456789abcdef")) {
            ProgressRecord r = NewRecord(Key(digit));
            r.totalMs = digit;
            QVERIFY(store.Write(r.key, FormatRecord(r)));
        }
        QHash<QByteArray, ProgressRecord> all = store.LoadAll();
        QCOMPARE(all.size(), 16);
        for (const char digit : QByteArrayView("0123456789abcdef")) {
            QCOMPARE(all.value(Key(digit)).totalMs, digit);
        }
        QVERIFY(kvtest::WriteBytes(dir.path() + "/3.txt", "damaged\n"));
        QVERIFY(kvtest::WriteBytes(dir.path() + "/c.txt", "damaged\n"));
        QStringList told;
        store.onTrouble = [&](const QString& why) { told << why; };
        all = store.LoadAll();
        QCOMPARE(all.size(), 14);
        QVERIFY(!all.contains(Key('3')) && !all.contains(Key('c')));
        QCOMPARE(told.size(), 2);
        QVERIFY(told[0].contains("3-damaged-1.txt") && told[1].contains("c-damaged-1.txt"));
    }

    // Where the store's folder should be there is a file: nothing can be written, play
    // goes on, and the status line says so once.
    void failedWritesToldOnce() {
        Journeyed j;
        const QString path = j.Outline("x.kvt", "Икс", kXCells, kAllButX);
        QDir().mkpath(QFileInfo(ProgressStore::DefaultFolder()).path());
        QVERIFY(kvtest::WriteBytes(ProgressStore::DefaultFolder(), "in the way"));
        QVERIFY(PlayKvelt(path));
        MoveFigury(10, 10);
        j.journey->Flush();
        MoveFigury(11, 10);
        j.journey->Flush();
        QTRY_COMPARE(platform::LastTold(),
                     QStringLiteral("Успехи не записаны: нет места на диске или доступа. "
                                    "Игра идёт дальше."));
        platform::Tell(QStringLiteral("другое"));
        MoveFigury(12, 10);
        j.journey->Flush();
        QTest::qWait(20);
        QCOMPARE(platform::LastTold(), QStringLiteral("другое"));
        QCOMPARE(PiecePos[1][0], 12);
    }

    // The arrangement and every step come back: from another outline, and after the
    // program has been started again.
    void positionAndStepsComeBack() {
        Journeyed j;
        const QString a = j.Outline("a.kvt", "Арка", kvtest::BlockCells(60));
        const QString b = j.Outline("b.kvt", "Башня", kvtest::BlockCells(60, 12, 3));
        QVERIFY(PlayKvelt(a));
        MoveFigury(10, 10);
        MoveFigury(11, 10);
        MoveFigury(12, 11);
        Otmena();
        const Arrangement there = ArrangementNow();
        const std::vector<Arrangement> steps = HistorySteps();
        QCOMPARE(HistoryIndex(), std::size_t(2));
        QVERIFY(PlayKvelt(b));
        QVERIFY(!(ArrangementNow() == there));
        QVERIFY(PlayKvelt(a));
        QCOMPARE(ArrangementNow(), there);
        QVERIFY(HistorySteps() == steps);
        QCOMPARE(HistoryIndex(), std::size_t(2));
        QCOMPARE(platform::LastTold(), QStringLiteral("Положение восстановлено: шагов 2"));
        // The board shows it as a load draws it: the current piece lifted where it lies.
        QCOMPARE(PiecePos[1][0], 11);

        j.journey->Flush();
        j.Restart();
        QVERIFY(PlayKvelt(a));
        QCOMPARE(ArrangementNow(), there);
        QVERIFY(CanPovtor());
        Povtor();
        QCOMPARE(PiecePos[1][1], 11);
        // Start again: one step, taken back.
        NachatZanovo();
        QVERIFY(!CanNachatZanovo());
        Otmena();
        QCOMPARE(PiecePos[1][0], 12);
    }

    // A solve: the record, the victory's line, a new record the next time; «Решение»
    // celebrates nothing and marks the outline shown.
    void solvesAndTheSolution() {
        Journeyed j;
        const QString x = j.Outline("x.kvt", "Икс", kXCells, kAllButX);
        QVERIFY(PlayKvelt(x));
        MoveFigury(10, 10);
        MoveFigury(17, 12);
        QCOMPARE(j.fakes.victory.notes, QStringList{"Время 0:00, шагов 2, подсказок 0"});
        QCOMPARE(j.journey->Record().state, OutlineState::SolvedAlone);
        QCOMPARE(j.journey->Record().bestSteps, 2);
        QVERIFY(j.journey->Record().history.empty());
        // The solve's figures stay in sight until the next step starts the next attempt.
        QCOMPARE(j.game.window->JourneyLine()->text(),
                 QStringLiteral("Собран: время 0:00 · шагов 2 · подсказок 0 · 1 из 1"));
        NachatZanovo();
        QCOMPARE(j.game.window->JourneyLine()->text(),
                 QStringLiteral("Время 0:00 · шагов 1 · подсказок 0 · 0 из 1"));
        MoveFigury(17, 12);
        QCOMPARE(j.fakes.victory.notes.last(), QStringLiteral("Время 0:00, шагов 2, подсказок 0"));
        // Taken back past the solve: the attempt counts from there.
        Otmena();
        MoveFigury(17, 12);
        QCOMPARE(j.fakes.victory.notes.last(),
                 QStringLiteral("Время 0:00, шагов 1, подсказок 0 — новый рекорд"));
        QCOMPARE(j.journey->Record().bestSteps, 1);

        const QString y =
            j.Outline("y.kvt", "Игрек", {{25, 5}, {24, 6}, {25, 6}, {26, 6}, {25, 7}}, kAllButX);
        QVERIFY(PlayKvelt(y));
        const int shown = j.fakes.victory.shown;
        j.game.window->IgraReshenie()->trigger();
        QVERIFY(OutlineCovered());
        QCOMPARE(j.fakes.victory.shown, shown);
        QCOMPARE(j.journey->Record().state, OutlineState::Shown);
        QCOMPARE(j.journey->Record().bestMs, -1);
        QCOMPARE(platform::LastTold(), QStringLiteral("Все фигуры поставлены по решению"));
        // Taken back and finished by hand in the same attempt: still not a solve.
        Otmena();
        MoveFigury(25, 6);
        QCOMPARE(j.fakes.victory.shown, shown);
        QCOMPARE(j.journey->Record().state, OutlineState::Shown);
    }

    void hintsCountedInTheSolve() {
        Journeyed j;
        QVERIFY(PlayKvelt(j.Outline("x.kvt", "Икс", kXCells, kAllButX)));
        j.game.window->IgraPodskazka()->trigger();
        QVERIFY(OutlineCovered());
        QCOMPARE(j.fakes.victory.notes, QStringList{"Время 0:00, шагов 1, подсказок 1"});
        QCOMPARE(j.journey->Record().state, OutlineState::SolvedWithHints);
        QCOMPARE(j.journey->Record().bestHints, 1);
        // A hint refused (the outline is covered) counts nothing.
        j.game.window->IgraPodskazka()->trigger();
        QCOMPARE(j.journey->Record().attemptHints, 0);
    }

    // «Следующий» from the victory window and «Следующий нерешённый»: the library's order,
    // past the solved; when none is left the status line says so.
    void nextUnsolvedInTheLibrarysOrder() {
        Journeyed j;
        const QString a = j.Outline("1.kvt", "А", kXCells, kAllButX);
        const QString b = j.Outline("2.kvt", "Б", kvtest::BlockCells(60));
        j.Outline("3.kvt", "В", kXCells, kAllButX);  // the same outline as А
        const QString d = j.Outline("4.kvt", "Г", kvtest::BlockCells(60, 12, 3));
        QVERIFY(PlayKvelt(d));
        MoveFigury(10, 10);
        QVERIFY(PlayKvelt(a));
        j.fakes.victory.chooseNext = true;
        MoveFigury(17, 12);
        QCOMPARE(OutlinePath, b);
        // В is А, solved: passed over; Г comes with its kept position.
        j.game.window->IgraSleduyushchiy()->trigger();
        QCOMPARE(OutlinePath, d);
        QCOMPARE(PiecePos[1][0], 10);
        j.game.window->IgraSleduyushchiy()->trigger();
        QCOMPARE(OutlinePath, b);
        QVERIFY(QFile::remove(b) && QFile::remove(d));
        QVERIFY(PlayKvelt(a));
        j.game.window->IgraSleduyushchiy()->trigger();
        QCOMPARE(OutlinePath, a);
        QCOMPARE(platform::LastTold(),
                 QStringLiteral("Все квелты собраны: нерешённых не осталось"));
    }

    void uspehiCountsAndSorts() {
        Journeyed j;
        const QString a = j.Outline("1.kvt", "Арка", kXCells, kAllButX);
        j.Outline("2.kvt", "Башня", kvtest::BlockCells(60));
        kvtest::WriteBytes(
            kv::UserExamplesPath() + "3.kvt",
            kvtest::OutlineBytes(platform::ToCp1251("Вал"), kvtest::BlockCells(60, 1, 1)));
        QVERIFY(PlayKvelt(a));
        MoveFigury(10, 10);
        MoveFigury(17, 12);
        QHash<QByteArray, ProgressRecord> records = j.journey->Store().LoadAll();
        std::vector<UspehiRow> rows = UspehiRows(records);
        QCOMPARE(rows.size(), std::size_t(3));
        const UspehiTotals t = CountTotals(rows, records, QDate::currentDate());
        QCOMPARE(t.all, 3);
        QCOMPARE(t.solved, 1);
        QCOMPARE(t.shipped, 2);
        QCOMPARE(t.shippedSolved, 1);
        QCOMPARE(t.own, 1);
        QCOMPARE(t.ownSolved, 0);
        QCOMPARE(t.streak, 1);

        frmUspehi window(std::move(rows), t);
        QVERIFY(window.lblItogi()->text().startsWith(
            "Собрано 1 из 3: из библиотеки 1 из 2, своих 0 из 1."));
        QTableView* table = window.tblKvelty();
        const auto cell = [&](int row, int column) {
            return table->model()->index(row, column).data().toString();
        };
        QCOMPARE(cell(0, UspehiModel::Name), QStringLiteral("Арка"));
        table->sortByColumn(UspehiModel::BestSteps, Qt::AscendingOrder);
        QCOMPARE(cell(0, UspehiModel::BestSteps), QStringLiteral("2"));
        QCOMPARE(cell(0, UspehiModel::State), QStringLiteral("собран сам"));
        table->sortByColumn(UspehiModel::Name, Qt::DescendingOrder);
        QCOMPARE(cell(0, UspehiModel::Name), QStringLiteral("Вал (свой)"));
        window.Play(table->model()->index(0, 0));
        QCOMPARE(OutlineName, QStringLiteral("Вал"));
    }

    void solveStreak_data() {
        QTest::addColumn<QList<int>>("daysAgo");
        QTest::addColumn<int>("streak");
        QTest::newRow("none") << QList<int>{} << 0;
        QTest::newRow("today") << QList<int>{0} << 1;
        QTest::newRow("up to yesterday") << QList<int>{1, 2, 3} << 3;
        QTest::newRow("a gap") << QList<int>{0, 1, 3, 4} << 2;
        QTest::newRow("not since the day before yesterday") << QList<int>{2, 3} << 0;
    }
    void solveStreak() {
        QFETCH(QList<int>, daysAgo);
        QFETCH(int, streak);
        const QDate today(2026, 3, 1);
        QSet<QDate> days;
        for (int d : daysAgo) days.insert(today.addDays(-d));
        QCOMPARE(SolveStreak(days, today), streak);
    }

    // Solved outlines of the day, by their dates; the solves themselves all happened today.
    void dayStreak_data() {
        QTest::addColumn<QList<int>>("solvedDaysAgo");
        QTest::addColumn<QList<int>>("unsolvedDaysAgo");  // started, or shown by «Решение»
        QTest::addColumn<int>("streak");
        QTest::newRow("none") << QList<int>{} << QList<int>{0} << 0;
        QTest::newRow("up to today") << QList<int>{0, 1, 2} << QList<int>{} << 3;
        QTest::newRow("today unsolved") << QList<int>{1, 2} << QList<int>{0} << 2;
        QTest::newRow("a gap") << QList<int>{0, 1, 3, 4} << QList<int>{} << 2;
        QTest::newRow("a gap unsolved") << QList<int>{0, 2} << QList<int>{1} << 1;
        QTest::newRow("not since yesterday") << QList<int>{2, 3} << QList<int>{} << 0;
    }
    void dayStreak() {
        QFETCH(QList<int>, solvedDaysAgo);
        QFETCH(QList<int>, unsolvedDaysAgo);
        QFETCH(int, streak);
        const QDate today = QDate::currentDate();
        std::vector<UspehiRow> rows;
        QHash<QByteArray, ProgressRecord> records;
        const auto add = [&](const QString& name, OutlineState state) {
            UspehiRow row;
            row.name = name;
            row.own = true;
            row.state = state;
            rows.push_back(row);
            ProgressRecord record = NewRecord(name.toUtf8());
            record.state = state;
            if (record.Solved()) record.firstSolved = today.toString(Qt::ISODate).toLatin1();
            records.insert(record.key, record);
        };
        for (int d : solvedDaysAgo) add(DayName(today.addDays(-d)), OutlineState::SolvedAlone);
        for (int d : unsolvedDaysAgo) {
            add(DayName(today.addDays(-d)), d % 2 ? OutlineState::Shown : OutlineState::InProgress);
        }
        // Solved too, but no outline of a day.
        add(QStringLiteral("Кошка"), OutlineState::SolvedWithHints);
        add(QStringLiteral("Квелт дня, 31 февраля 2026"), OutlineState::SolvedAlone);
        add(QStringLiteral("Квелт дня, %1").arg(today.addDays(-5).toString(Qt::ISODate)),
            OutlineState::SolvedAlone);
        const UspehiTotals t = CountTotals(rows, records, today);
        QCOMPARE(t.dayStreak, streak);
        QCOMPARE(t.streak, 1);  // every solve was today
        const frmUspehi window(rows, t);
        QVERIFY2(window.lblItogi()->text().endsWith(
                     QStringLiteral("\n«Квелт дня» собран дней подряд: %1.").arg(streak)),
                 qPrintable(window.lblItogi()->text()));
    }
};

QTEST_MAIN(ProgressTest)
#include "test_progress.moc"
