// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The outline solver: known tiling counts of the classic outlines, tilings that really
// cover their outline, and a cross-check against a plain backtracking solver on small
// outlines, including ones with pieces to spare and ones with symmetric tilings. Each
// search runs on one thread and on several, which must agree. Also the small helpers the
// searches share: the sets of pieces tried, and bounds and centring on the board.
#include <QtTest>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <thread>

#include "model/Model.h"
#include "solver/Combinations.h"
#include "solver/Generator.h"
#include "solver/Grade.h"
#include "solver/Solver.h"
#include "support/TestSupport.h"

using namespace kv;

using Cells = std::vector<BoardCell>;
using Pieces = std::array<bool, 13>;
Q_DECLARE_METATYPE(Cells)
Q_DECLARE_METATYPE(Pieces)

namespace {

using CellMap = std::map<BoardCell, int>;  // cell -> piece covering it

// One thread, and more threads than the machine may have: the work is shared out either way.
constexpr int kThreadCounts[] = {1, 3};

Pieces AllPieces() {
    Pieces p{};
    for (int i = 1; i <= kPieces; ++i) p[i] = true;
    return p;
}

Pieces Only(std::initializer_list<int> pieces) {
    Pieces p{};
    for (const int i : pieces) p[i] = true;
    return p;
}

Cells Rectangle(int width, int height, int left = 0, int top = 0) {
    Cells cells;
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) cells.push_back({left + c, top + r});
    }
    return cells;
}

Cells Drawing(const std::vector<std::string>& rows) {
    Cells cells;
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        for (int c = 0; c < static_cast<int>(rows[r].size()); ++c) {
            if (rows[r][c] == '#') cells.push_back({c, r});
        }
    }
    return cells;
}

Cells SquareWithoutCentre() {
    Cells cells;
    for (const auto& c : Rectangle(8, 8)) {
        if ((c.column == 3 || c.column == 4) && (c.row == 3 || c.row == 4)) continue;
        cells.push_back(c);
    }
    return cells;
}

// Where each piece of a tiling lies, taken from the game's piece table. Empty when two
// pieces overlap or a piece is used twice.
CellMap Cover(const Tiling& tiling) {
    CellMap map;
    std::set<int> pieces;
    for (const auto& t : tiling) {
        if (t.piece < 1 || t.piece > kPieces || t.orientation < 1 || t.orientation > 8) return {};
        if (!pieces.insert(t.piece).second) return {};
        for (const BoardCell& c : kvtest::CellsOf(t)) {
            if (!map.emplace(c, t.piece).second) return {};
        }
    }
    return map;
}

// Plain backtracking over sets: the lowest empty cell (row, then column) is covered by
// every piece, orientation and cell of the piece that fit. Slow, and written apart from the
// solver so that the two share nothing but the piece table.
class SimpleSolver {
  public:
    SimpleSolver(const Cells& cells, const Pieces& available)
        : outline_(cells.begin(), cells.end()), available_(available) {
        for (int p = 1; p <= kPieces; ++p) {
            std::set<std::vector<BoardCell>> seen;
            for (int o = 1; o <= 8; ++o) {
                std::vector<BoardCell> shape;
                for (int k = 0; k < 5; ++k) {
                    shape.push_back({PieceCells[p][k][o][0], PieceCells[p][k][o][1]});
                }
                std::vector<BoardCell> normal = shape;
                int minC = 99, minR = 99;
                for (const auto& c : normal) {
                    minC = std::min(minC, c.column);
                    minR = std::min(minR, c.row);
                }
                for (auto& c : normal) c = {c.column - minC, c.row - minR};
                std::sort(normal.begin(), normal.end());
                if (seen.insert(normal).second) shapes_[p].push_back(shape);
            }
        }
    }

    std::vector<CellMap> All() {
        found_.clear();
        placed_.clear();
        Fill();
        return found_;
    }

  private:
    void Fill() {
        const BoardCell* target = nullptr;
        for (const auto& c : outline_) {
            if (placed_.count(c)) continue;
            if (!target || c.row < target->row ||
                (c.row == target->row && c.column < target->column)) {
                target = &c;
            }
        }
        if (!target) {
            found_.push_back(placed_);
            return;
        }
        const BoardCell at = *target;
        for (int p = 1; p <= kPieces; ++p) {
            if (!available_[p] || used_.count(p)) continue;
            for (const auto& shape : shapes_[p]) {
                for (const auto& pivot : shape) {
                    std::vector<BoardCell> cells;
                    for (const auto& d : shape) {
                        cells.push_back(
                            {at.column + d.column - pivot.column, at.row + d.row - pivot.row});
                    }
                    const bool fits = std::all_of(
                        cells.begin(), cells.end(),
                        [&](const BoardCell& c) { return outline_.count(c) && !placed_.count(c); });
                    if (!fits) continue;
                    for (const auto& c : cells) placed_[c] = p;
                    used_.insert(p);
                    Fill();
                    used_.erase(p);
                    for (const auto& c : cells) placed_.erase(c);
                }
            }
        }
    }

    std::set<BoardCell> outline_;
    Pieces available_;
    std::vector<std::vector<BoardCell>> shapes_[kPieces + 1];
    CellMap placed_;
    std::set<int> used_;
    std::vector<CellMap> found_;
};

// The tilings of a list that no symmetry of the outline maps onto one another, found by
// turning every tiling all eight ways.
std::size_t Orbits(const Cells& outline, const std::vector<CellMap>& tilings) {
    auto normal = [](const std::vector<std::pair<BoardCell, int>>& items) {
        int minC = 1 << 20, minR = 1 << 20;
        for (const auto& [c, p] : items) {
            minC = std::min(minC, c.column);
            minR = std::min(minR, c.row);
        }
        std::vector<std::pair<BoardCell, int>> out;
        for (const auto& [c, p] : items) out.push_back({{c.column - minC, c.row - minR}, p});
        std::sort(out.begin(), out.end());
        return out;
    };
    auto turn = [](int s, BoardCell c) -> BoardCell {
        const int x = s & 4 ? -c.column : c.column;
        return s & 1 ? BoardCell{c.row * (s & 2 ? -1 : 1), x}
                     : BoardCell{x, c.row * (s & 2 ? -1 : 1)};
    };
    std::vector<std::pair<BoardCell, int>> shape;
    for (const auto& c : outline) shape.push_back({c, 0});
    const auto shapeNormal = normal(shape);
    std::set<std::vector<std::pair<BoardCell, int>>> classes;
    for (const auto& tiling : tilings) {
        std::vector<std::pair<BoardCell, int>> best;
        for (int s = 0; s < 8; ++s) {
            std::vector<std::pair<BoardCell, int>> turned, turnedShape;
            for (const auto& [c, p] : tiling) {
                turned.push_back({turn(s, c), p});
                turnedShape.push_back({turn(s, c), 0});
            }
            if (normal(turnedShape) != shapeNormal) continue;  // not a symmetry of the outline
            const auto n = normal(turned);
            if (best.empty() || n < best) best = n;
        }
        classes.insert(best);
    }
    return classes.size();
}

}  // namespace

class SolverTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { kvtest::FreshModel(); }

    void classicCounts_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("hollow");
        QTest::addColumn<int>("all");
        QTest::addColumn<int>("upToSymmetry");
        QTest::addColumn<int>("symmetries");
        QTest::newRow("6x10") << 10 << 6 << false << 9356 << 2339 << 4;
        QTest::newRow("10x6 upright") << 6 << 10 << false << 9356 << 2339 << 4;
        QTest::newRow("5x12") << 12 << 5 << false << 4040 << 1010 << 4;
        QTest::newRow("4x15") << 15 << 4 << false << 1472 << 368 << 4;
        QTest::newRow("3x20") << 20 << 3 << false << 8 << 2 << 4;
        QTest::newRow("8x8 without its centre") << 8 << 8 << true << 520 << 65 << 8;
    }
    void classicCounts() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, hollow);
        // Placed on the board as an outline would be, away from the origin.
        Cells cells;
        for (const auto& c : hollow ? SquareWithoutCentre() : Rectangle(width, height)) {
            cells.push_back({c.column + 13, c.row + 7});
        }
        const PentominoSolver solver(cells, AllPieces());
        for (const int threads : kThreadCounts) {
            const SolutionCount count = solver.Count(threads);
            QTEST(static_cast<int>(count.all), "all");
            QTEST(static_cast<int>(count.upToSymmetry), "upToSymmetry");
            QTEST(count.symmetries, "symmetries");
        }
    }

    // The solver reads its own constant piece table: built on a worker thread while the
    // game's table is empty, it counts as on the GUI thread and leaves the game's table alone.
    void builtOnAWorkerThread() {
        ResetModel();
        SolutionCount count;
        std::optional<Tiling> first;
        std::thread worker([&] {
            const PentominoSolver solver(Rectangle(10, 6, 13, 7), AllPieces());
            count = solver.Count(1);
            first = solver.First(1);
        });
        worker.join();
        static const int kEmpty[kPieces + 1][5][9][2] = {};
        const bool untouched = std::memcmp(PieceCells, kEmpty, sizeof kEmpty) == 0;
        kvtest::FreshModel();
        QVERIFY(untouched);
        QCOMPARE(count.all, std::uint64_t{9356});
        QCOMPARE(count.upToSymmetry, std::uint64_t{2339});
        QVERIFY(first);
        QCOMPARE(Cover(*first).size(), std::size_t{60});
    }

    // Every tiling handed out covers its outline exactly, with each piece in play once.
    void tilingsCoverTheirOutline_data() {
        QTest::addColumn<Cells>("cells");
        QTest::addColumn<Pieces>("available");
        QTest::newRow("6x10") << Rectangle(10, 6, 12, 9) << AllPieces();
        QTest::newRow("3x20") << Rectangle(20, 3, 7, 10) << AllPieces();
        QTest::newRow("8x8 without centre") << SquareWithoutCentre() << AllPieces();
        QTest::newRow("irregular with a hole")
            << Drawing({"..####....", ".######...", "########..", "###..####.", "###..#####",
                        "##########", ".#########", "..########"})
            << AllPieces();
        QTest::newRow("5x5, five pieces") << Rectangle(5, 5, 3, 3) << Only({2, 4, 8, 10, 12});
    }
    void tilingsCoverTheirOutline() {
        QFETCH(Cells, cells);
        QFETCH(Pieces, available);
        PentominoSolver solver(cells, available);
        std::vector<Tiling> some;
        // Hints must not change with the machine: every thread count finds the same tiling,
        // in fixed order and by the fewest-places search alike.
        for (const std::uint64_t steps : {std::uint64_t{40000}, std::uint64_t{0}}) {
            solver.SetFixedOrderSteps(steps);
            const auto first = solver.First();
            QVERIFY(first.has_value());
            for (const int threads : {2, 4}) {
                const auto again = solver.First(threads);
                QVERIFY(again.has_value());
                QCOMPARE(Cover(*again), Cover(*first));
            }
            some.push_back(*first);
        }
        const auto wanted = std::min<std::uint64_t>(25, solver.Count().all);
        for (const int threads : kThreadCounts) {
            // Once visit says stop, no thread may call it again.
            std::uint64_t calls = 0;
            const auto given = solver.ForEach(
                [&](const Tiling& t) {
                    some.push_back(t);
                    return ++calls < wanted;
                },
                threads);
            QCOMPARE(calls, wanted);
            QCOMPARE(given, wanted);
        }
        for (const Tiling& tiling : some) {
            const CellMap map = Cover(tiling);
            QCOMPARE(map.size(), cells.size());
            for (const auto& c : cells) QVERIFY(map.count(c));
            for (int p = 1; p <= kPieces; ++p) {
                const auto uses =
                    std::count_if(tiling.begin(), tiling.end(),
                                  [p](const PiecePlacement& t) { return t.piece == p; });
                QCOMPARE(uses, available[p] ? 1 : 0);
            }
        }
    }

    // The solver and the plain backtracker find the same tilings, and the same number up to
    // symmetry. The cases cover pieces to spare, holes, disconnected outlines and outlines
    // where some tilings are their own mirror image.
    void agreesWithPlainBacktracking_data() {
        QTest::addColumn<Cells>("cells");
        QTest::addColumn<Pieces>("available");
        QTest::addColumn<bool>("solvable");
        QTest::newRow("5x5, any five of twelve") << Rectangle(5, 5) << AllPieces() << true;
        QTest::newRow("5x5, five given pieces")
            << Rectangle(5, 5) << Only({2, 4, 8, 10, 12}) << true;
        QTest::newRow("3x10, six of eight")
            << Rectangle(10, 3) << Only({2, 3, 4, 5, 8, 9, 10, 12}) << true;
        QTest::newRow("6x6 with a hole, pieces to spare")
            << Drawing({"######", "######", "##.###", "######", "######", "######"})
            << Only({3, 4, 5, 8, 9, 10, 11, 12}) << true;
        QTest::newRow("X over T, mirror-symmetric tilings")
            << Drawing({".#.", "###", ".#.", "###", ".#.", ".#."}) << AllPieces() << true;
        QTest::newRow("the X alone") << Drawing({".#.", "###", ".#."}) << AllPieces() << true;
        QTest::newRow("two apart")
            << Drawing({"#####....###", "..........#.", "..........#."}) << AllPieces() << true;
        QTest::newRow("2x10 strip") << Rectangle(10, 2) << AllPieces() << true;
        // Taller than wide, so filled row by row, with neighbours at many distances apart
        // in the search order: the pocket test must see every one of them.
        QTest::newRow("tall and ragged, two to spare")
            << Drawing({"...#..", "...#..", ".###.#", ".#.###", "######", "##....", ".##...",
                        "..####", "....#."})
            << Only({3, 4, 5, 6, 7, 8, 10}) << true;
        QTest::newRow("tall with a notch, X among seven")
            << Drawing({"#...#", "#####", "####.", "####.", "#####", ".#...", "###..", ".#..."})
            << Only({1, 2, 6, 8, 9, 11, 12}) << true;
        // As wide as tall, so filled column by column: an I lying along the top spans 36
        // cells of the search order, beyond the first half of a mask.
        QTest::newRow("long columns under a wide top")
            << Drawing({"#########", "########.", "####.....", "####.....", "####.....",
                        "####.....", "####.....", "####.....", "####....."})
            << Only({2, 3, 4, 5, 6, 7, 8, 9, 10}) << true;
        // As a hint meets them: what a misplaced piece leaves, with the pieces still out.
        QTest::newRow("5x7 less a Y, six out, no tiling")
            << Drawing({"#####.#", "#####.#", "####..#", "#####.#", "#######"})
            << Only({2, 7, 8, 9, 11, 12}) << false;
        QTest::newRow("5x7 less a V, six out, no tiling")
            << Drawing({"#######", "#######", "####...", "######.", "######."})
            << Only({1, 6, 8, 9, 10, 12}) << false;
        QTest::newRow("5x8 less a U, seven of the eleven out")
            << Drawing({"########", "##.#.###", "##...###", "########", "########"})
            << Only({1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12}) << true;
        QTest::newRow("5x8 less a U, seven others out")
            << Drawing({"########", "##.#.###", "##...###", "########", "########"})
            << Only({1, 2, 3, 5, 6, 7, 12}) << false;
        QTest::newRow("5x9 cut in two by an I")
            << Drawing({"###.#####", "###.#####", "###.#####", "###.#####", "###.#####"})
            << Only({3, 4, 5, 6, 8, 9, 10, 12}) << true;
        QTest::newRow("5x7 less an L walling in three cells")
            << Drawing({"###.###", "....###", "#######", "#######", "#######"})
            << Only({2, 3, 4, 5, 6, 7}) << false;
    }
    void agreesWithPlainBacktracking() {
        QFETCH(Cells, cells);
        QFETCH(Pieces, available);
        QFETCH(bool, solvable);
        const std::vector<CellMap> expected = SimpleSolver(cells, available).All();
        QCOMPARE(!expected.empty(), solvable);

        PentominoSolver solver(cells, available);
        for (const int threads : kThreadCounts) {
            std::multiset<CellMap> got;
            solver.ForEach(
                [&](const Tiling& t) {
                    got.insert(Cover(t));
                    return true;
                },
                threads);
            QCOMPARE(got, std::multiset<CellMap>(expected.begin(), expected.end()));
            const SolutionCount count = solver.Count(threads);
            QCOMPARE(count.all, expected.size());
            QCOMPARE(count.upToSymmetry, Orbits(cells, expected));
            // In fixed order, and by the fewest-places search that longer ones turn to.
            for (const std::uint64_t steps : {std::uint64_t{40000}, std::uint64_t{0}}) {
                solver.SetFixedOrderSteps(steps);
                const std::optional<Tiling> first = solver.First(threads);
                QCOMPARE(first.has_value(), solvable);
                if (first) {
                    QVERIFY(std::find(expected.begin(), expected.end(), Cover(*first)) !=
                            expected.end());
                }
            }
        }
    }

    // Outlines that no tiling can cover: the count, the first tiling and the walk agree.
    void outlinesWithoutTilings_data() {
        QTest::addColumn<Cells>("cells");
        QTest::addColumn<Pieces>("available");
        QTest::newRow("2x30 needs X") << Rectangle(30, 2) << AllPieces();
        QTest::newRow("cell count not a multiple of five") << Rectangle(4, 4) << AllPieces();
        QTest::newRow("more cells than pieces") << Rectangle(5, 4) << Only({2, 3, 4});
        QTest::newRow("a lone cell") << Drawing({"#####.#", "#####..", "#####.."}) << AllPieces();
    }
    void outlinesWithoutTilings() {
        QFETCH(Cells, cells);
        QFETCH(Pieces, available);
        const PentominoSolver solver(cells, available);
        QVERIFY(!solver.First().has_value());
        QCOMPARE(solver.Count().all, std::uint64_t{0});
        QCOMPARE(solver.ForEach([](const Tiling&) { return true; }), std::uint64_t{0});
    }

    // A raised stop flag cuts every kind of search short; lowered again, the same solver
    // answers in full.
    void stopFlagCutsTheSearchShort() {
        PentominoSolver solver(Rectangle(10, 6), AllPieces());
        std::atomic<bool> stop{true};
        solver.SetStop(&stop);
        for (const int threads : kThreadCounts) {
            QVERIFY(!solver.First(threads).has_value());
            QCOMPARE(solver.ForEach([](const Tiling&) { return true; }, threads), std::uint64_t{0});
            QVERIFY(solver.Count(threads).all < 9356);
        }
        stop = false;
        QCOMPARE(solver.Count().all, std::uint64_t{9356});
    }

    // Grades rise with the search's effort per tiling: a forced strip is easy, the two
    // tilings of 3 x 20 take a long search; no tiling is grade 0. The count is exact.
    void gradesFollowTheSearch_data() {
        QTest::addColumn<Cells>("cells");
        QTest::addColumn<Pieces>("available");
        QTest::addColumn<int>("grade");
        QTest::addColumn<int>("tilings");
        QTest::newRow("I alone in its line") << Rectangle(5, 1) << Only({2}) << 1 << 1;
        QTest::newRow("3x5 of three pieces") << Rectangle(5, 3) << Only({2, 4, 8}) << 1 << 0;
        QTest::newRow("6x10") << Rectangle(10, 6) << AllPieces() << 3 << 2339;
        QTest::newRow("3x20") << Rectangle(20, 3) << AllPieces() << 4 << 2;
        QTest::newRow("2x30") << Rectangle(30, 2) << AllPieces() << 0 << 0;
    }
    void gradesFollowTheSearch() {
        QFETCH(Cells, cells);
        QFETCH(Pieces, available);
        QFETCH(int, grade);
        QFETCH(int, tilings);
        const OutlineGrade g = GradeOutline(cells, available);
        QCOMPARE(g.grade, tilings == 0 ? 0 : grade);
        QCOMPARE(g.tilings, static_cast<std::uint64_t>(tilings));
        QCOMPARE(g.Unique(), tilings == 1);
        QVERIFY(!g.tilingsCapped);
        // Moved and turned, an outline keeps its grade, nodes and all.
        Cells turned;
        for (const BoardCell& c : cells) turned.push_back({20 - c.row, 3 + c.column});
        const OutlineGrade t = GradeOutline(turned, available);
        QCOMPARE(t.tilings, g.tilings);
        QCOMPARE(t.grade, g.grade);
    }

    // The grade of a count grows with nodes per tiling and covers 1 to 5.
    void gradeOfIsMonotonic() {
        int last = 1;
        std::set<int> seen;
        for (std::uint64_t nodes = 1; nodes < (std::uint64_t{1} << 40); nodes = nodes * 3 / 2 + 1) {
            const int g = GradeOf(7, 7 * nodes);
            QVERIFY(g >= last && g <= 5);
            last = g;
            seen.insert(g);
        }
        QCOMPARE(seen.size(), std::size_t{5});
        QCOMPARE(GradeOf(0, 1000), 0);
        // An effort of exactly a bound (64 nodes a tiling: 2^6) stays in the lower grade.
        QCOMPARE(GradeOf(3, 3 * 64), 1);
        QCOMPARE(GradeOf(3, 3 * 64 + 1), 2);
    }

    // A raised stop flag gives the empty grade, which callers discard.
    void gradeStops() {
        std::atomic<bool> stop{true};
        const OutlineGrade g = GradeOutline(Rectangle(10, 6), AllPieces(), &stop);
        QCOMPARE(g.grade, 0);
        QCOMPARE(g.tilings, std::uint64_t{0});
    }

    // The same request gives the same outline on one thread and two; each is connected,
    // clear of the home columns, of the pieces asked, and its one tiling is confirmed by the
    // plain backtracker where that is quick enough.
    void generatorIsDeterministicAndUnique_data() {
        QTest::addColumn<int>("pieces");
        QTest::addColumn<int>("grade");
        QTest::addColumn<bool>("holes");
        QTest::addColumn<bool>("reached");  // whether the grade asked must come back
        QTest::newRow("3 pieces, grade 1") << 3 << 1 << false << true;
        QTest::newRow("4 pieces, grade 2") << 4 << 2 << false << false;
        QTest::newRow("5 pieces, grade 3, holes") << 5 << 3 << true << false;
        QTest::newRow("6 pieces, grade 2") << 6 << 2 << false << false;
        QTest::newRow("12 pieces, grade 2") << 12 << 2 << false << true;
        // Reached by walking a unique shape toward the grade.
        QTest::newRow("12 pieces, grade 4") << 12 << 4 << false << true;
        QTest::newRow("12 pieces, grade 5") << 12 << 5 << false << true;
        QTest::newRow("9 pieces, grade 5, holes") << 9 << 5 << true << true;
        // Three pieces are never hard: the nearest grade found comes back instead.
        QTest::newRow("3 pieces, grade 5") << 3 << 5 << false << false;
    }
    void generatorIsDeterministicAndUnique() {
        QFETCH(int, pieces);
        QFETCH(int, grade);
        QFETCH(bool, holes);
        QFETCH(bool, reached);
        for (const std::uint64_t seed : {1ULL, 20261208ULL}) {
            GeneratorRequest request;
            request.pieces = PiecesForCount(pieces, seed);
            request.grade = grade;
            request.seed = seed;
            request.holes = holes;
            const auto one = GenerateOutline(request);
            request.threads = 2;
            const auto two = GenerateOutline(request);
            // More threads than attempts run side by side.
            request.threads = 5;
            const auto five = GenerateOutline(request);
            QVERIFY(one && two && five);
            QCOMPARE(one->cells, two->cells);
            QCOMPARE(one->cells, five->cells);
            QCOMPARE(one->attempts, five->attempts);
            QCOMPARE(one->pieces, request.pieces);
            QCOMPARE(one->grade.grade, two->grade.grade);
            // The grade given is the grade of the cells given.
            const OutlineGrade regraded = GradeOutline(one->cells, one->pieces);
            QCOMPARE(regraded.grade, one->grade.grade);
            QCOMPARE(regraded.nodes, one->grade.nodes);
            if (reached) QCOMPARE(one->grade.grade, grade);
            QCOMPARE(std::count(one->pieces.begin(), one->pieces.end(), true), pieces);
            QCOMPARE(one->cells.size(), std::size_t(5 * pieces));
            QVERIFY(ClearOfHomes(one->cells));
            QVERIFY(one->grade.Unique());
            // Connected: every cell reached from the first through neighbours.
            std::set<BoardCell> left(one->cells.begin(), one->cells.end());
            std::vector<BoardCell> todo{*left.begin()};
            left.erase(left.begin());
            while (!todo.empty()) {
                const BoardCell c = todo.back();
                todo.pop_back();
                for (const BoardCell n :
                     {BoardCell{c.column + 1, c.row}, BoardCell{c.column - 1, c.row},
                      BoardCell{c.column, c.row + 1}, BoardCell{c.column, c.row - 1}}) {
                    if (left.erase(n)) todo.push_back(n);
                }
            }
            QVERIFY(left.empty());
            const PentominoSolver solver(one->cells, one->pieces);
            QCOMPARE(solver.Count().upToSymmetry, std::uint64_t{1});
            if (pieces <= 6) {
                SimpleSolver plain(one->cells, one->pieces);
                QCOMPARE(Orbits(one->cells, plain.All()), std::size_t{1});
            }
            if (!holes) {
                // No empty cell is walled in: all of them reach beyond the bounding box.
                int minC = 99, maxC = -1, minR = 99, maxR = -1;
                for (const auto& c : one->cells) {
                    minC = std::min(minC, c.column);
                    maxC = std::max(maxC, c.column);
                    minR = std::min(minR, c.row);
                    maxR = std::max(maxR, c.row);
                }
                std::set<BoardCell> cells(one->cells.begin(), one->cells.end()), seen;
                std::vector<BoardCell> open{{minC - 1, minR - 1}};
                seen.insert(open[0]);
                while (!open.empty()) {
                    const BoardCell c = open.back();
                    open.pop_back();
                    for (const BoardCell n :
                         {BoardCell{c.column + 1, c.row}, BoardCell{c.column - 1, c.row},
                          BoardCell{c.column, c.row + 1}, BoardCell{c.column, c.row - 1}}) {
                        if (n.column < minC - 1 || n.column > maxC + 1 || n.row < minR - 1 ||
                            n.row > maxR + 1 || cells.count(n) || !seen.insert(n).second) {
                            continue;
                        }
                        open.push_back(n);
                    }
                }
                QCOMPARE(seen.size() + cells.size(),
                         std::size_t((maxC - minC + 3) * (maxR - minR + 3)));
            }
        }
        // Another seed, another outline.
        GeneratorRequest a, b;
        a.pieces = b.pieces = PiecesForCount(pieces, 5);
        a.grade = b.grade = grade;
        a.seed = 5;
        b.seed = 6;
        QVERIFY(GenerateOutline(a)->cells != GenerateOutline(b)->cells);
    }

    // A raised stop flag ends the generator with nothing; so does a request out of range.
    void generatorStops() {
        GeneratorRequest request;
        request.pieces = PiecesForCount(12, 3);
        request.grade = 5;
        std::atomic<bool> stop{true};
        request.stop = &stop;
        QVERIFY(!GenerateOutline(request));
        // Raised while it runs, from another thread, while one attempt runs or several side
        // by side. Six pieces never reach grade 5, so the search goes on for 40 unique shapes
        // unless stopped.
        request.pieces = PiecesForCount(6, 3);
        request.seed = 77;
        for (const int threads : {1, 2}) {
            request.threads = threads;
            stop = false;
            std::thread raiser([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                stop = true;
            });
            QElapsedTimer clock;
            clock.start();
            const auto late = GenerateOutline(request);
            raiser.join();
            QVERIFY(!late || clock.elapsed() < 20);
            QVERIFY(clock.elapsed() < 2000);
        }
        request.stop = nullptr;
        request.pieces = PiecesForCount(2, 3);
        QVERIFY(!GenerateOutline(request));
        request.pieces = PiecesForCount(8, 3);
        request.grade = 6;
        QVERIFY(!GenerateOutline(request));
    }

    void combinationsComeOnceEachInOrder_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("k");
        QTest::addColumn<int>("count");   // n choose k
        QTest::addColumn<int>("stopAt");  // the visit that answers true, 0 for none
        QTest::newRow("5 of 12") << 12 << 5 << 792 << 0;
        QTest::newRow("1 of 12") << 12 << 1 << 12 << 0;
        QTest::newRow("11 of 12") << 12 << 11 << 12 << 0;
        QTest::newRow("all") << 4 << 4 << 1 << 0;
        QTest::newRow("none: one empty choice") << 3 << 0 << 1 << 0;
        QTest::newRow("more than there are") << 3 << 4 << 0 << 0;
        QTest::newRow("negative") << 3 << -1 << 0 << 0;
        QTest::newRow("stopped at the 7th") << 12 << 5 << 7 << 7;
        QTest::newRow("stopped at the last") << 6 << 3 << 20 << 20;
    }
    void combinationsComeOnceEachInOrder() {
        QFETCH(int, n);
        QFETCH(int, k);
        QFETCH(int, count);
        QFETCH(int, stopAt);
        // Items that are not their own indices, so that an index handed out for an item shows.
        std::vector<int> items;
        for (int i = 0; i < n; ++i) items.push_back(10 + 3 * i);
        std::vector<std::vector<int>> seen;
        const bool stopped = ForEachCombination(items, k, [&](const std::vector<int>& chosen) {
            seen.push_back(chosen);
            return static_cast<int>(seen.size()) == stopAt;
        });
        QCOMPARE(stopped, stopAt > 0);
        QCOMPARE(static_cast<int>(seen.size()), count);
        for (std::size_t i = 0; i < seen.size(); ++i) {
            QCOMPARE(static_cast<int>(seen[i].size()), k);
            for (const int item : seen[i])
                QVERIFY(std::find(items.begin(), items.end(), item) != items.end());
            QVERIFY(std::adjacent_find(seen[i].begin(), seen[i].end(), std::greater_equal<>()) ==
                    seen[i].end());
            // Rising from one to the next: each choice comes once, the first items first.
            if (i > 0) QVERIFY(seen[i - 1] < seen[i]);
        }
        if (!seen.empty()) {
            QCOMPARE(seen.front(), std::vector<int>(items.begin(), items.begin() + k));
        }
    }

    void centredOnTheBoard_data() {
        QTest::addColumn<Cells>("cells");
        QTest::addColumn<Cells>("centred");
        QTest::newRow("none") << Cells{} << Cells{};
        // Spares of 35 - 2 and 24 - 1, odd: the extra cell is left after the box.
        QTest::newRow("odd spares") << Cells{{4, 7}, {5, 7}} << Cells{{16, 11}, {17, 11}};
        QTest::newRow("even spares, order kept, from negative cells")
            << Cells{{-3, -1}, {-5, 0}, {-4, -1}} << Cells{{18, 11}, {16, 12}, {17, 11}};
        QTest::newRow("10 x 6, as the shipped rectangle stands")
            << Rectangle(10, 6, 30, 20) << Rectangle(10, 6, 12, 9);
        QTest::newRow("the whole board") << Rectangle(35, 24, 3, 3) << Rectangle(35, 24);
        QTest::newRow("a column") << Rectangle(1, 5) << Rectangle(1, 5, 17, 9);
    }
    void centredOnTheBoard() {
        QFETCH(Cells, cells);
        QFETCH(Cells, centred);
        QCOMPARE(CentredOnBoard(cells), centred);
        if (cells.empty()) return;
        const CellBounds box = BoundsOf(cells);
        const CellBounds moved = BoundsOf(centred);
        QCOMPARE(moved.Width(), box.Width());
        QCOMPARE(moved.Height(), box.Height());
        // The same box from a set: any range of cells will do.
        const CellBounds fromSet = BoundsOf(std::set<BoardCell>(cells.begin(), cells.end()));
        QCOMPARE(fromSet.minC, box.minC);
        QCOMPARE(fromSet.maxR, box.maxR);
        QCOMPARE(MovedTo(centred, {box.minC, box.minR}), cells);
    }

    void repeatedCellsCountOnce() {
        Cells cells = Rectangle(20, 3);
        cells.insert(cells.end(), cells.begin(), cells.begin() + 7);
        const PentominoSolver solver(cells, AllPieces());
        QCOMPARE(solver.CellCount(), 60);
        QCOMPARE(solver.Count().all, std::uint64_t{8});
    }

    void drawingShowsEveryPieceByLetter() {
        const Cells cells = Rectangle(20, 3, 7, 10);
        const PentominoSolver solver(cells, AllPieces());
        const auto tiling = solver.First();
        QVERIFY(tiling);
        const auto rows = DrawTiling(cells, *tiling);
        QCOMPARE(rows.size(), std::size_t{3});
        const CellMap map = Cover(*tiling);
        for (int r = 0; r < 3; ++r) {
            QCOMPARE(rows[r].size(), std::size_t{20});
            for (int c = 0; c < 20; ++c) {
                QCOMPARE(rows[r][c], PieceLetter(map.at({c + 7, r + 10})));
            }
        }
        QCOMPARE(std::string(DrawTiling(Drawing({"#.#"}), {})[0]), std::string("#.#"));
        QCOMPARE(QByteArray("XITUVWZLNYFP"), [] {
            QByteArray letters;
            for (int p = 1; p <= kPieces; ++p) letters += PieceLetter(p);
            return letters;
        }());
    }
};

QTEST_MAIN(SolverTest)
#include "test_solver.moc"
