// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Speed of the outline solver: counting every tiling of the classic outlines, on one thread
// and on two (goals, CPU time: 6 x 10 at most 45 ms, 5 x 12 at most 18 ms; on two free
// cores the 6 x 10 count's wall time at most 60% of one thread's), finding a first tiling
// of representative outlines (goal 50 ms each), and proving that what a misplaced piece
// leaves of a shipped outline has no tiling: the longest search a hint can meet.
#include "BenchSupport.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "model/Model.h"
#include "outlines/OutlineWriter.h"
#include "solver/Solver.h"

namespace {

using kv::BoardCell;

std::vector<BoardCell> FromDrawing(const std::vector<std::string>& rows) {
    std::vector<BoardCell> cells;
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        for (int c = 0; c < static_cast<int>(rows[r].size()); ++c) {
            if (rows[r][c] == '#') cells.push_back({c, r});
        }
    }
    return cells;
}

std::vector<BoardCell> Rectangle(int width, int height) {
    std::vector<BoardCell> cells;
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) cells.push_back({c, r});
    }
    return cells;
}

std::vector<BoardCell> SquareWithoutCentre() {
    std::vector<BoardCell> cells;
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) {
            if ((r == 3 || r == 4) && (c == 3 || c == 4)) continue;
            cells.push_back({c, r});
        }
    }
    return cells;
}

// A lopsided 60-cell shape with a hole: no symmetry, few tilings.
std::vector<BoardCell> Irregular() {
    return FromDrawing({
        "..####....",
        ".######...",
        "########..",
        "###..####.",
        "###..#####",
        "##########",
        ".#########",
        "..########",
    });
}

// A house: mirror-symmetric only.
std::vector<BoardCell> House() {
    return FromDrawing({
        "....##....",
        "...####...",
        "..######..",
        ".########.",
        "##########",
        "##########",
        "##########",
        "##########",
    });
}

const std::array<bool, 13> kAllPieces = {false, true, true, true, true, true, true,
                                         true,  true, true, true, true, true};

// Arg: threads. With more than one, the time to read is the wall time.
void Count(benchmark::State& state, std::vector<BoardCell> cells, std::uint64_t expected) {
    const kv::PentominoSolver solver(cells, kAllPieces);
    kv::SolutionCount count;
    for (auto _ : state) {
        count = solver.Count(static_cast<int>(state.range(0)));
        if (count.all != expected) state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(count);
    }
    state.counters["nodes"] = static_cast<double>(count.nodes);
}
void CountRectangle6x10(benchmark::State& state) {
    Count(state, Rectangle(10, 6), 9356);
}
BENCHMARK(CountRectangle6x10)
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Count, rectangle_5x12, Rectangle(12, 5), 4040)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Count, rectangle_4x15, Rectangle(15, 4), 1472)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Count, rectangle_3x20, Rectangle(20, 3), 8)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Count, square_8x8_without_centre, SquareWithoutCentre(), 520)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

void First(benchmark::State& state, std::vector<BoardCell> cells) {
    const kv::PentominoSolver solver(cells, kAllPieces);
    for (auto _ : state) {
        const auto tiling = solver.First();
        if (!tiling) state.SkipWithError("no tiling");
        benchmark::DoNotOptimize(tiling);
    }
}
BENCHMARK_CAPTURE(First, rectangle_6x10, Rectangle(10, 6))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(First, rectangle_5x12, Rectangle(12, 5))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(First, rectangle_4x15, Rectangle(15, 4))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(First, rectangle_3x20, Rectangle(20, 3))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(First, square_8x8_without_centre, SquareWithoutCentre())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(First, irregular_with_hole, Irregular())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(First, house, House())->Unit(benchmark::kMillisecond);

// Walking every tiling without symmetry breaking: the most a first-tiling search on an
// outline of this size can cost (an unsolvable one is searched to the end).
void WalkAll(benchmark::State& state, std::vector<BoardCell> cells) {
    const kv::PentominoSolver solver(cells, kAllPieces);
    for (auto _ : state) {
        const auto n = solver.ForEach([](const kv::Tiling&) { return true; });
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK_CAPTURE(WalkAll, rectangle_6x10, Rectangle(10, 6))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WalkAll, irregular_with_hole, Irregular())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WalkAll, house, House())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WalkAll, unsolvable_2x30, Rectangle(30, 2))->Unit(benchmark::kMillisecond);

// Outlines made the way a generator would make them: pieces dropped one by one, each
// touching the ones before, in random orientations. Solvable by construction.
struct Generated {
    std::vector<BoardCell> cells;
    std::array<bool, 13> available{};
};

// True when every connected pocket of the cells holds a multiple of five.
bool PocketsOfFives(const std::set<BoardCell>& cells) {
    std::set<BoardCell> seen;
    for (const BoardCell& c : cells) {
        if (seen.count(c)) continue;
        std::vector<BoardCell> stack{c};
        seen.insert(c);
        std::size_t size = 0;
        while (!stack.empty()) {
            const BoardCell at = stack.back();
            stack.pop_back();
            ++size;
            for (const BoardCell n :
                 {BoardCell{at.column - 1, at.row}, BoardCell{at.column + 1, at.row},
                  BoardCell{at.column, at.row - 1}, BoardCell{at.column, at.row + 1}}) {
                if (cells.count(n) && seen.insert(n).second) stack.push_back(n);
            }
        }
        if (size % 5 != 0) return false;
    }
    return true;
}

// With compact set, each piece goes where it touches the most cells of the earlier ones
// (of 300 tries): round blobs, the hardest kind to solve.
std::vector<Generated> GeneratedOutlines(int count, bool compact) {
    kv::BuildPieceSet();
    std::mt19937 random(compact ? 4711 : 20240607);
    std::vector<Generated> outlines;
    while (static_cast<int>(outlines.size()) < count) {
        Generated g;
        std::vector<int> pieces{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
        std::shuffle(pieces.begin(), pieces.end(), random);
        // Mostly all twelve, some with a few left out.
        const int inPlay = random() % 3 == 0 ? 3 + static_cast<int>(random() % 9) : 12;
        pieces.resize(inPlay);
        std::set<BoardCell> taken;
        bool stuck = false;
        for (const int p : pieces) {
            std::vector<BoardCell> best;
            int bestContacts = 0;
            const int tries = compact ? 300 : 2000;
            for (int attempt = 0; attempt < tries && (compact || best.empty()); ++attempt) {
                const int o = 1 + static_cast<int>(random() % 8);
                const int c = taken.empty() ? 17 : 2 + static_cast<int>(random() % 31);
                const int r = taken.empty() ? 12 : 2 + static_cast<int>(random() % 20);
                bool free = true;
                int contacts = taken.empty() ? 1 : 0;
                std::vector<BoardCell> cells;
                for (int k = 0; k < 5 && free; ++k) {
                    const BoardCell cell{c + kv::PieceCells[p][k][o][0],
                                         r + kv::PieceCells[p][k][o][1]};
                    free = !taken.count(cell);
                    for (const BoardCell n : {BoardCell{cell.column - 1, cell.row},
                                              BoardCell{cell.column + 1, cell.row},
                                              BoardCell{cell.column, cell.row - 1},
                                              BoardCell{cell.column, cell.row + 1}}) {
                        contacts += static_cast<int>(taken.count(n));
                    }
                    cells.push_back(cell);
                }
                if (!free || contacts == 0 || contacts <= bestContacts) continue;
                best = cells;
                bestContacts = contacts;
            }
            if (best.empty()) {
                stuck = true;
                break;
            }
            taken.insert(best.begin(), best.end());
            g.available[p] = true;
        }
        if (stuck) continue;
        g.cells.assign(taken.begin(), taken.end());
        outlines.push_back(std::move(g));
    }
    return outlines;
}

// Times a first tiling of every outline of a list; reports the slowest. solvable tells
// whether each has a tiling.
void FirstOfEach(benchmark::State& state, const std::vector<Generated>& outlines,
                 bool solvable = true, int threads = 1) {
    if (outlines.empty()) {
        state.SkipWithError("no outlines");
        return;
    }
    double slowest = 0;
    for (auto _ : state) {
        for (const auto& g : outlines) {
            const auto start = std::chrono::steady_clock::now();
            const auto tiling = kv::PentominoSolver(g.cells, g.available).First(threads);
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            if (tiling.has_value() != solvable) state.SkipWithError("a wrong answer");
            slowest = std::max(slowest, took.count());
        }
    }
    state.counters["outlines"] = static_cast<double>(outlines.size());
    state.counters["slowest_ms"] = slowest;
}

void FirstOfGenerated(benchmark::State& state) {
    static const std::vector<Generated> outlines = GeneratedOutlines(300, false);
    FirstOfEach(state, outlines);
}
BENCHMARK(FirstOfGenerated)->Unit(benchmark::kMillisecond);

void FirstOfGeneratedCompact(benchmark::State& state) {
    static const std::vector<Generated> outlines = GeneratedOutlines(300, true);
    FirstOfEach(state, outlines);
}
BENCHMARK(FirstOfGeneratedCompact)->Unit(benchmark::kMillisecond);

// The shipped library, as copied into the program folder beside the benchmarks' folder.
const std::vector<Generated>& Shipped() {
    static const std::vector<Generated> outlines = [] {
        std::vector<Generated> list;
        for (const kv::OutlineDraft& draft : kvbench::ShippedOutlines()) {
            Generated g;
            g.cells = draft.cells;
            for (int p = 1; p <= kv::kPieces; ++p) g.available[p] = true;
            for (const int p : draft.excluded) g.available[p] = false;
            list.push_back(std::move(g));
        }
        return list;
    }();
    return outlines;
}

void FirstOfShipped(benchmark::State& state) {
    FirstOfEach(state, Shipped());
}
BENCHMARK(FirstOfShipped)->Unit(benchmark::kMillisecond);

// What a hint meets at worst: one piece of a shipped outline put where no tiling keeps it,
// the rest still out. Only cells left in pockets whose sizes are multiples of five count,
// else the answer is plain at once. The first such place in a shuffled order, for every
// outline of all twelve pieces.
const std::vector<Generated>& Misplaced() {
    static const std::vector<Generated> outlines = [] {
        std::vector<Generated> list;
        std::mt19937 random(1606);
        for (const Generated& g : Shipped()) {
            if (g.cells.size() != 60) continue;
            const std::set<BoardCell> outline(g.cells.begin(), g.cells.end());
            std::vector<std::array<int, 3>> tries;  // piece, orientation, cell
            for (int p = 1; p <= kv::kPieces; ++p) {
                for (int o = 1; o <= 8; ++o) {
                    for (int i = 0; i < 60; ++i) tries.push_back({p, o, i});
                }
            }
            std::shuffle(tries.begin(), tries.end(), random);
            for (const auto& [p, o, i] : tries) {
                std::set<BoardCell> left = outline;
                for (int k = 0; k < 5; ++k) {
                    left.erase({g.cells[i].column + kv::PieceCells[p][k][o][0],
                                g.cells[i].row + kv::PieceCells[p][k][o][1]});
                }
                if (left.size() != 55 || !PocketsOfFives(left)) continue;
                Generated rest{{left.begin(), left.end()}, g.available};
                rest.available[p] = false;
                if (kv::PentominoSolver(rest.cells, rest.available).First()) continue;
                list.push_back(std::move(rest));
                break;
            }
        }
        return list;
    }();
    return outlines;
}

// Arg: threads.
void ProveNoTilingOfMisplaced(benchmark::State& state) {
    FirstOfEach(state, Misplaced(), false, static_cast<int>(state.range(0)));
}
BENCHMARK(ProveNoTilingOfMisplaced)
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// Building the placements is part of every solve the tool runs.
void Prepare6x10(benchmark::State& state) {
    const auto cells = Rectangle(10, 6);
    for (auto _ : state) {
        kv::PentominoSolver solver(cells, kAllPieces);
        benchmark::DoNotOptimize(solver);
    }
}
BENCHMARK(Prepare6x10)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
