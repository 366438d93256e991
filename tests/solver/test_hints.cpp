// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The search behind the hint and the solution: which pieces count as well placed, and the
// tiling kept and the fewest pieces taken away, checked against the outline solver.
#include <QtTest>

#include <map>
#include <random>
#include <set>

#include "model/Model.h"
#include "model/Operations.h"
#include "solver/Hints.h"
#include "solver/Solver.h"
#include "support/TestSupport.h"

using namespace kv;
using kvtest::CellsOf;

namespace {

using Cells = std::vector<BoardCell>;

Cells Rectangle(int width, int height) {
    Cells cells;
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) cells.push_back({c + 10, r + 8});
    }
    return cells;
}

// An outline with the pieces of one of its tilings in play, all of them at home.
HintPosition Puzzle(const Cells& outline) {
    HintPosition h;
    h.outline = outline;
    std::array<bool, 13> all{};
    for (int p = 1; p <= kPieces; ++p) all[p] = true;
    const std::optional<Tiling> tiling = PentominoSolver(outline, all).First();
    for (const PiecePlacement& t : *tiling) h.inPlay[t.piece] = true;
    for (int p = 1; p <= kPieces; ++p) {
        h.pieces[p] = {p, 1, 0, 0};
        HomePlace(p, h.pieces[p].column, h.pieces[p].row);
    }
    return h;
}

// Some pieces of a tiling in place, then up to `wrong` more at random free places inside.
HintPosition Scramble(const HintPosition& puzzle, std::mt19937& random, int wrong) {
    HintPosition h = puzzle;
    std::set<BoardCell> taken;
    std::vector<int> away;
    const std::optional<Tiling> tiling = PentominoSolver(h.outline, h.inPlay).First();
    for (const PiecePlacement& t : *tiling) {
        if (random() % 2) {
            away.push_back(t.piece);
            continue;
        }
        h.pieces[t.piece] = t;
        for (const BoardCell& c : CellsOf(t)) taken.insert(c);
    }
    const std::set<BoardCell> outline(h.outline.begin(), h.outline.end());
    for (int w = 0; w < wrong && w < static_cast<int>(away.size()); ++w) {
        std::vector<PiecePlacement> free;
        for (const BoardCell& c : h.outline) {
            for (int o = 1; o <= 8; ++o) {
                const PiecePlacement t{away[w], o, c.column, c.row};
                const Cells cells = CellsOf(t);
                if (std::all_of(cells.begin(), cells.end(), [&](const BoardCell& x) {
                        return outline.count(x) && !taken.count(x);
                    })) {
                    free.push_back(t);
                }
            }
        }
        if (free.empty()) continue;
        const PiecePlacement t = free[random() % free.size()];
        h.pieces[t.piece] = t;
        for (const BoardCell& c : CellsOf(t)) taken.insert(c);
    }
    return h;
}

// Whether the outline solver finds a tiling keeping the pieces of keep where they lie.
bool SolverKeeps(const HintPosition& h, const std::array<bool, 13>& keep) {
    std::set<BoardCell> rest(h.outline.begin(), h.outline.end());
    std::array<bool, 13> pieces = h.inPlay;
    for (int p = 1; p <= kPieces; ++p) {
        if (!keep[p]) continue;
        pieces[p] = false;
        for (const BoardCell& c : CellsOf(h.pieces[p])) rest.erase(c);
    }
    return PentominoSolver(Cells(rest.begin(), rest.end()), pieces).First().has_value();
}

// A tiling covers the outline exactly with every piece in play once, kept pieces unmoved.
void CheckTiling(const HintPosition& h, const std::vector<PiecePlacement>& tiling,
                 const std::array<bool, 13>& keep) {
    std::multiset<BoardCell> covered;
    std::set<int> pieces;
    for (const PiecePlacement& t : tiling) {
        pieces.insert(t.piece);
        for (const BoardCell& c : CellsOf(t)) covered.insert(c);
        if (keep[t.piece]) QCOMPARE(CellsOf(t), CellsOf(h.pieces[t.piece]));
    }
    QCOMPARE(covered, std::multiset<BoardCell>(h.outline.begin(), h.outline.end()));
    for (int p = 1; p <= kPieces; ++p) QCOMPARE(pieces.count(p) == 1, h.inPlay[p]);
}

}  // namespace

class HintsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { kvtest::FreshModel(); }

    void wellPlacedPieces() {
        HintPosition h = Puzzle(Rectangle(10, 6));
        h.pieces[1] = {1, 1, 11, 9};  // the X inside; the T's top row above the outline
        h.pieces[3] = {3, 1, 15, 8};
        QVERIFY(WellPlaced(h)[1] && !WellPlaced(h)[3]);
        std::array<bool, 13> keep{};
        keep[3] = true;  // no tiling keeps a piece that leaves the outline
        QVERIFY(TilingKeeping(h, keep).empty());
        h.pieces[2] = {2, 1, 12, 9};  // the I across the X: neither lies well
        QVERIFY(!WellPlaced(h)[1] && !WellPlaced(h)[2]);
        keep = {};
        keep[1] = keep[2] = true;  // nor two pieces on the same cells
        QVERIFY(TilingKeeping(h, keep).empty());
        h.inPlay[2] = false;  // a piece out of play blocks nothing
        QVERIFY(WellPlaced(h)[1] && !WellPlaced(h)[2]);
    }

    // Over the home columns the U and the Y wait at home wholly inside the outline, where no
    // tiling keeps them both. Sending them home would move nothing: the plan places pieces
    // instead, in a tiling that is free to move them.
    void piecesAtHomeAreNeverTakenAway() {
        Cells outline;
        for (int r = 9; r < 14; ++r) {
            for (const int left : {0, 29}) {
                for (int c = left; c < left + 6; ++c) outline.push_back({c, r});
            }
        }
        const HintPosition h = Puzzle(outline);
        const std::array<bool, 13> well = WellPlaced(h);
        QVERIFY(well[4] && well[10] && AtHome(h.pieces[4]) && AtHome(h.pieces[10]));
        QVERIFY(TilingKeeping(h, well).empty());
        const HintPlan plan = PlanHint(h);
        QVERIFY(plan.remove.empty());
        CheckTiling(h, plan.solution, {});
        // With a piece put in its place beside them, clear of them, and the other pieces out
        // of the way, that piece is kept and they are not.
        const auto clear = [&h](const PiecePlacement& t) {
            const Cells cells = CellsOf(t);
            for (const int p : {4, 10}) {
                for (const BoardCell& c : CellsOf(h.pieces[p])) {
                    if (p == t.piece || std::count(cells.begin(), cells.end(), c) != 0) {
                        return false;
                    }
                }
            }
            return true;
        };
        const auto found = std::find_if(plan.solution.begin(), plan.solution.end(), clear);
        QVERIFY(found != plan.solution.end());
        const PiecePlacement put = *found;
        HintPosition next = h;
        for (int p = 1; p <= kPieces; ++p) {
            if (p != 4 && p != 10) next.pieces[p] = {p, 1, 16, 2};
        }
        next.pieces[put.piece] = put;
        const std::array<bool, 13> nextWell = WellPlaced(next);
        QVERIFY(nextWell[put.piece] && nextWell[4] && nextWell[10]);
        const HintPlan then = PlanHint(next);
        QVERIFY(then.remove.empty());
        std::array<bool, 13> kept{};
        kept[put.piece] = true;
        CheckTiling(next, then.solution, kept);
        HintPosition moved = h;
        moved.pieces[4].column += 1;
        QVERIFY(!AtHome(moved.pieces[4]));
    }

    // The set taken away is a smallest one, and of those the first in piece order, as found
    // by asking the outline solver about every set in turn (the empty set first: whether a
    // tiling keeps every well-placed piece).
    void planTakesAwayTheFewestPieces() {
        std::mt19937 random(11);
        int refuted = 0;
        for (const Cells& outline :
             {Rectangle(6, 5), Rectangle(8, 5), Rectangle(10, 4), Rectangle(10, 6)}) {
            const HintPosition puzzle = Puzzle(outline);
            for (int n = 0; n < 40; ++n) {
                const HintPosition h = Scramble(puzzle, random, 1 + n % 2);
                const std::array<bool, 13> well = WellPlaced(h);
                std::vector<int> placed;
                for (int p = 1; p <= kPieces; ++p) {
                    if (well[p]) placed.push_back(p);
                }
                std::vector<int> expected;
                bool found = false;
                for (std::size_t size = 0; size <= placed.size() && !found; ++size) {
                    // Sets of this size in lexicographic order, through sorted bit patterns.
                    std::vector<std::vector<int>> sets;
                    for (unsigned bits = 0; bits < (1u << placed.size()); ++bits) {
                        if (static_cast<std::size_t>(std::popcount(bits)) != size) continue;
                        std::vector<int> set;
                        for (std::size_t i = 0; i < placed.size(); ++i) {
                            if (bits >> i & 1u) set.push_back(placed[i]);
                        }
                        sets.push_back(set);
                    }
                    std::sort(sets.begin(), sets.end());
                    for (const auto& set : sets) {
                        std::array<bool, 13> keep = well;
                        for (const int p : set) keep[p] = false;
                        if (SolverKeeps(h, keep)) {
                            expected = set;
                            found = true;
                            break;
                        }
                    }
                }
                const HintPlan plan = PlanHint(h);
                QCOMPARE(plan.remove, expected);
                std::array<bool, 13> kept = well;
                for (const int p : plan.remove) kept[p] = false;
                CheckTiling(h, plan.solution, kept);
                refuted += !expected.empty();
            }
        }
        // The generator must really make positions without a keeping tiling.
        QVERIFY2(refuted >= 10, qPrintable(QString::number(refuted)));
    }

    // No tiling at all (the wrong number of cells, or a shape only the I fits): nothing to
    // place and nothing to take away, though the X lies well in the square.
    void noTilingNoPlan() {
        for (const Cells& outline : {Rectangle(5, 5), Rectangle(30, 1)}) {
            HintPosition h = Puzzle(Rectangle(6, 5));
            h.outline = outline;
            h.pieces[1] = {1, 1, 12, 10};
            const HintPlan plan = PlanHint(h);
            QVERIFY(plan.solution.empty() && plan.remove.empty());
        }
    }
};

QTEST_MAIN(HintsTest)
#include "test_hints.moc"
