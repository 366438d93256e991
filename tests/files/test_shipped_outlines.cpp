// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The outline library as it ships in the program folder: every file reads through the
// game's own reader into a well-formed outline that matches its drawing in data/outlines
// and can be covered by the pieces it keeps in play.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QtTest>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "model/Model.h"
#include "outlines/OutlineFile.h"
#include "outlines/OutlineWriter.h"
#include "outlines/ShippedGrades.h"
#include "platform/TextCodec.h"
#include "support/TestSupport.h"

using namespace kv;
using kvtest::CellsOf;

namespace {

constexpr int kBoardColumns = 35;
constexpr int kBoardRows = 24;

QString ExamplesFolder() {
    const QString program = qEnvironmentVariable("KVELT_PROGRAM_DIR");
    return program.isEmpty() ? QString() : QDir(program).filePath(QStringLiteral("Examples"));
}

// From the build's own record of the source tree: __FILE__ may be relative (ccache's base
// folder rewrites it), and the test runs from another folder.
QString DrawingsFolder() {
    return QDir(QStringLiteral(KVELT_SOURCE_DIR)).filePath(QStringLiteral("data/outlines"));
}

QStringList Files(const QString& folder, const QString& pattern) {
    return QDir(folder).entryList({pattern}, QDir::Files, QDir::Name);
}

struct Drawing {
    QString name;
    QList<int> excluded;
    QList<QPoint> cells;  // as drawn, row by row
};

Drawing ReadDrawing(const QString& path) {
    Drawing d;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return d;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (lines.size() < 3) return d;
    d.name = lines[0];
    QString pieces = lines[1].trimmed();
    if (pieces != QLatin1String("-")) {
        pieces.replace(QLatin1Char(','), QLatin1Char(' '));
        for (const QString& field : pieces.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            d.excluded << field.toInt();
        }
    }
    for (int y = 2; y < lines.size(); ++y) {
        for (int x = 0; x < lines[y].size(); ++x) {
            if (lines[y][x] == QLatin1Char('#')) d.cells << QPoint(x, y - 2);
        }
    }
    return d;
}

QRect Bounds(const QList<QPoint>& cells) {
    QRect r;
    for (const QPoint& c : cells) r |= QRect(c, QSize(1, 1));
    return r;
}

// The cells moved so that their bounding box starts at (0, 0), in a set.
QSet<QPoint> Normalised(const QList<QPoint>& cells) {
    const QPoint origin = Bounds(cells).topLeft();
    QSet<QPoint> out;
    for (const QPoint& c : cells) out.insert(c - origin);
    return out;
}

// A plain exact cover over the game's own piece set: fill the first empty cell of the
// outline, along its shorter side first, with every unused piece that fits there.
class Cover {
  public:
    Cover(const QList<QPoint>& outline, const int (&excluded)[13]) {
        const QRect box = Bounds(outline);
        QList<QPoint> order = outline;
        const bool wide = box.width() > box.height();
        std::sort(order.begin(), order.end(), [wide](const QPoint& a, const QPoint& b) {
            return wide ? std::pair(a.x(), a.y()) < std::pair(b.x(), b.y())
                        : std::pair(a.y(), a.x()) < std::pair(b.y(), b.x());
        });
        for (int i = 0; i < order.size(); ++i) index_.insert(order[i], i);
        full_ = order.size() == 64 ? ~0ULL : (1ULL << order.size()) - 1;
        anchored_.resize(order.size());
        for (int p = 1; p <= kPieces; ++p) {
            if (excluded[p]) continue;
            for (int o = 1; o <= 8; ++o) {
                for (const QPoint& ref : order) AddPlacement(p, o, ref);
            }
        }
    }

    bool Solvable() { return Search(0, 0); }

  private:
    void AddPlacement(int p, int o, const QPoint& near) {
        // Every reference cell within two of an outline cell, as offsets reach no further.
        for (int dx = -2; dx <= 2; ++dx) {
            for (int dy = -2; dy <= 2; ++dy) {
                std::uint64_t mask = 0;
                int first = 64;
                bool fits = true;
                for (int k = 0; k < 5 && fits; ++k) {
                    const QPoint c(near.x() + dx + PieceCells[p][k][o][0],
                                   near.y() + dy + PieceCells[p][k][o][1]);
                    const auto it = index_.constFind(c);
                    fits = it != index_.constEnd();
                    if (fits) {
                        mask |= 1ULL << *it;
                        first = std::min(first, *it);
                    }
                }
                if (!fits) continue;
                auto& list = anchored_[first];
                const std::pair<int, std::uint64_t> entry(p, mask);
                if (std::find(list.begin(), list.end(), entry) == list.end()) list.push_back(entry);
            }
        }
    }

    bool Search(std::uint64_t filled, int used) {
        if (filled == full_) return true;
        int first = 0;
        while (filled >> first & 1) ++first;
        for (const auto& [p, mask] : anchored_[first]) {
            if ((used >> p & 1) || (mask & filled)) continue;
            if (Search(filled | mask, used | 1 << p)) return true;
        }
        return false;
    }

    QHash<QPoint, int> index_;
    std::uint64_t full_ = 0;
    std::vector<std::vector<std::pair<int, std::uint64_t>>> anchored_;
};

}  // namespace

class ShippedOutlinesTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        QVERIFY2(!ExamplesFolder().isEmpty(), "KVELT_PROGRAM_DIR is not set");
        BuildPieceSet();
    }

    // Every drawing is shipped and nothing else is; at least a hundred of them.
    void libraryMatchesTheDrawings() {
        const QStringList shipped = Files(ExamplesFolder(), QStringLiteral("*.kvt"));
        const QStringList drawn = Files(DrawingsFolder(), QStringLiteral("*.txt"));
        QVERIFY2(shipped.size() >= 400, qPrintable(QString::number(shipped.size())));
        QStringList expected;
        for (const QString& f : drawn) expected << QFileInfo(f).completeBaseName() + ".kvt";
        QCOMPARE(shipped, expected);
    }

    // The outline the game opens at first start.
    void defaultOutlineIsTheSixByTenRectangle() {
        QFile file(QDir(ExamplesFolder()).filePath(QStringLiteral("0001.kvt")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const OutlineContent content = ReadOutline(file);
        QCOMPARE(platform::FromCp1251(content.name), QStringLiteral("Прямоугольник 6х10"));
        QCOMPARE(content.count, 0LL);
        const QList<QPoint> cells = CellsOf(content);
        QCOMPARE(Normalised(cells).size(), 60);
        QCOMPARE(Bounds(cells).size(), QSize(10, 6));
    }

    void everyOutlineIsWellFormedAndMatchesItsDrawing_data() {
        QTest::addColumn<QString>("file");
        for (const QString& f : Files(ExamplesFolder(), QStringLiteral("*.kvt"))) {
            QTest::newRow(qPrintable(f)) << f;
        }
    }

    void everyOutlineIsWellFormedAndMatchesItsDrawing() {
        QFETCH(QString, file);
        QFile kvt(QDir(ExamplesFolder()).filePath(file));
        QVERIFY(kvt.open(QIODevice::ReadOnly));
        const QByteArray bytes = kvt.readAll();
        const OutlineContent content = ReadOutline(bytes);

        // Pieces left out: 0..11 of them, each a real piece, none twice.
        QVERIFY(content.count >= 0 && content.count <= 11);
        int flagged = 0;
        for (int p = 1; p <= kPieces; ++p) flagged += content.excluded[p];
        QCOMPARE(flagged, static_cast<int>(content.count));

        // Exactly the cells of the pieces in play, distinct, on the board, no text left over.
        const int cellCount = 60 - 5 * static_cast<int>(content.count);
        QCOMPARE(content.lastCell, cellCount - 1);
        QCOMPARE(content.cellText.size(), 4 * cellCount);
        const QList<QPoint> cells = CellsOf(content);
        QCOMPARE(QSet<QPoint>(cells.begin(), cells.end()).size(), cellCount);
        QVERIFY(QRect(0, 0, kBoardColumns, kBoardRows).contains(Bounds(cells)));
        // Centred: the margins on either side differ by at most one cell.
        const QRect box = Bounds(cells);
        QVERIFY(std::abs(box.left() - (kBoardColumns - 1 - box.right())) <= 1);
        QVERIFY(std::abs(box.top() - (kBoardRows - 1 - box.bottom())) <= 1);

        // The same name, pieces and shape as the drawing it was made from.
        const Drawing drawing = ReadDrawing(
            QDir(DrawingsFolder()).filePath(QFileInfo(file).completeBaseName() + ".txt"));
        QVERIFY2(!drawing.name.isEmpty(), "no drawing for this file");
        QCOMPARE(platform::FromCp1251(content.name), drawing.name);
        for (const int p : drawing.excluded)
            QVERIFY2(content.excluded[p], qPrintable(QString::number(p)));
        QCOMPARE(drawing.excluded.size(), static_cast<int>(content.count));
        QCOMPARE(Normalised(cells), Normalised(drawing.cells));

        // Lines end CR LF and the file holds its scrambled last line.
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(bytes.count("\r\n"), 4);

        QVERIFY2(Cover(cells, content.excluded).Solvable(), "the pieces in play cannot cover it");
    }

    // The library runs from gentle outlines to the full set of twelve.
    void libraryIsGraded() {
        QMap<int, int> byPieces;
        for (const QString& f : Files(ExamplesFolder(), QStringLiteral("*.kvt"))) {
            QFile kvt(QDir(ExamplesFolder()).filePath(f));
            QVERIFY(kvt.open(QIODevice::ReadOnly));
            ++byPieces[12 - static_cast<int>(ReadOutline(kvt).count)];
        }
        int gentle = 0;
        for (int n = 3; n <= 5; ++n) gentle += byPieces.value(n);
        QVERIFY2(gentle >= 10, qPrintable(QString::number(gentle)));
        QVERIFY2(byPieces.value(12) >= 10, qPrintable(QString::number(byPieces.value(12))));
        QVERIFY(byPieces.firstKey() >= 3);
    }

    // grades.txt beside Examples grades every shipped outline, as the solver grades it now.
    void gradesFileAgreesWithTheSolver() {
        QFile file(QDir(qEnvironmentVariable("KVELT_PROGRAM_DIR")).filePath("grades.txt"));
        QVERIFY2(file.open(QIODevice::ReadOnly), "no grades.txt in the program folder");
        const std::map<QString, OutlineGrade> grades = ParseGrades(file.readAll());
        const QStringList shipped = Files(ExamplesFolder(), QStringLiteral("*.kvt"));
        QCOMPARE(grades.size(), static_cast<std::size_t>(shipped.size()));
        QSet<int> seen;
        for (const QString& f : shipped) {
            const auto it = grades.find(f);
            QVERIFY2(it != grades.end(), qPrintable(f));
            QFile kvt(QDir(ExamplesFolder()).filePath(f));
            QVERIFY(kvt.open(QIODevice::ReadOnly));
            const StrictOutline outline = ReadOutlineStrict(kvt.readAll());
            QVERIFY2(outline.fault.isEmpty(), qPrintable(f));
            std::array<bool, 13> available{};
            for (int p = 1; p <= kPieces; ++p)
                available[p] =
                    std::find(outline.draft.excluded.begin(), outline.draft.excluded.end(), p) ==
                    outline.draft.excluded.end();
            const OutlineGrade now = GradeOutline(outline.draft.cells, available);
            QVERIFY2(it->second.grade == now.grade && it->second.tilings == now.tilings &&
                         it->second.tilingsCapped == now.tilingsCapped &&
                         it->second.nodes == now.nodes,
                     qPrintable(f + ": " + QString::fromUtf8(GradeLine(f, it->second)) +
                                " on file, now " + QString::fromUtf8(GradeLine(f, now))));
            QVERIFY2(now.grade >= 1, qPrintable(f));
            seen << now.grade;
            // The generator's outlines claim one tiling and their grade in their name.
            const QStringList words = {"Лёгкий", "Простой", "Средний", "Трудный", "Мастер"};
            const int named = words.indexOf(outline.draft.name.section(QLatin1Char(' '), 0, 0));
            if (named >= 0) {
                QVERIFY2(now.Unique(), qPrintable(f));
                QCOMPARE(now.grade, named + 1);
            }
        }
        // The thresholds spread the library over every grade.
        QCOMPARE(seen.size(), 5);
    }

    // The solver above must refuse what cannot be covered, or the check means nothing.
    void coverRefusesImpossibleOutlines() {
        int none[13] = {};
        QList<QPoint> bar;  // 1 x 60: only the I piece fits a line
        for (int x = 0; x < 60; ++x) bar << QPoint(x % 30, x / 30 * 5);
        QVERIFY(!Cover(bar, none).Solvable());
        QList<QPoint> rect;
        for (int x = 0; x < 10; ++x) {
            for (int y = 0; y < 6; ++y) rect << QPoint(x, y);
        }
        QVERIFY(Cover(rect, none).Solvable());
        int noI[13] = {};
        for (int p = 1; p <= kPieces; ++p) noI[p] = p != 2;  // only I in play
        QList<QPoint> line;
        for (int x = 0; x < 5; ++x) line << QPoint(x, 0);
        QVERIFY(Cover(line, noI).Solvable());
        line[4] = QPoint(3, 1);
        QVERIFY(!Cover(line, noI).Solvable());
    }
};

QTEST_GUILESS_MAIN(ShippedOutlinesTest)
#include "test_shipped_outlines.moc"
