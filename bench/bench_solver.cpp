// Speed of the outline solver: counting every tiling of the 6 x 10 rectangle (goal 0.2 s)
// and finding a first tiling of representative outlines (goal 50 ms each).
#include <benchmark/benchmark.h>

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

// Outlines made the way a generator would make them: pieces dropped one by one, each
// touching the ones before, in random orientations. Solvable by construction.
struct Generated {
    std::vector<BoardCell> cells;
    std::array<bool, 13> available{};
};

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

// Times a first tiling of every outline of a list; reports the slowest.
void FirstOfEach(benchmark::State& state, const std::vector<Generated>& outlines) {
    if (outlines.empty()) {
        state.SkipWithError("no outlines");
        return;
    }
    double slowest = 0;
    for (auto _ : state) {
        for (const auto& g : outlines) {
            const auto start = std::chrono::steady_clock::now();
            const auto tiling = kv::PentominoSolver(g.cells, g.available).First();
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            if (!tiling) state.SkipWithError("an outline without a tiling");
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
void FirstOfShipped(benchmark::State& state) {
    static const std::vector<Generated> outlines = [] {
        std::vector<Generated> list;
        const auto folder =
            std::filesystem::canonical("/proc/self/exe").parent_path() / ".." / "bin" / "Examples";
        const QDir dir(QString::fromStdString(folder.string()));
        for (const QString& name : dir.entryList({QStringLiteral("*.kvt")}, QDir::Files)) {
            QFile file(dir.filePath(name));
            if (!file.open(QIODevice::ReadOnly)) continue;
            const kv::StrictOutline outline = kv::ReadOutlineStrict(file.readAll());
            if (!outline.fault.isEmpty()) continue;
            Generated g;
            g.cells = outline.draft.cells;
            for (int p = 1; p <= kv::kPieces; ++p) g.available[p] = true;
            for (const int p : outline.draft.excluded) g.available[p] = false;
            list.push_back(std::move(g));
        }
        return list;
    }();
    FirstOfEach(state, outlines);
}
BENCHMARK(FirstOfShipped)->Unit(benchmark::kMillisecond);

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
