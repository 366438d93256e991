// Speed of the outline solver: counting every tiling of the 6 x 10 rectangle (goal 0.2 s)
// and finding a first tiling of representative outlines (goal 50 ms each).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "outlines/Solver.h"

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

void CountRectangle6x10(benchmark::State& state) {
    const kv::PentominoSolver solver(Rectangle(10, 6), kAllPieces);
    for (auto _ : state) {
        const auto count = solver.Count();
        if (count.all != 9356) state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(CountRectangle6x10)->Unit(benchmark::kMillisecond);

void First(benchmark::State& state, std::vector<BoardCell> cells) {
    const kv::PentominoSolver solver(cells, kAllPieces);
    for (auto _ : state) {
        const auto tiling = solver.First();
        if (!tiling) state.SkipWithError("no tiling");
        benchmark::DoNotOptimize(tiling);
    }
}
BENCHMARK_CAPTURE(First, rectangle_6x10, Rectangle(10, 6))->Unit(benchmark::kMillisecond);
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
