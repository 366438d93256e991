// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Grading: one own outline of 60 cells (goal: at most 200 ms on two cores) and the whole
// shipped library, as the build grades it.
#include <algorithm>

#include "BenchSupport.h"
#include "solver/Grade.h"

namespace {

std::array<bool, 13> InPlay(const kv::OutlineDraft& draft) {
    std::array<bool, 13> available{};
    for (int p = 1; p <= kv::kPieces; ++p) available[p] = true;
    for (const int p : draft.excluded) available[p] = false;
    return available;
}

// The 60-cell outline whose grade takes the longest of the shipped ones: what a player's own
// outline of that size costs at worst among those we know.
void GradeSlowestSixty(benchmark::State& state) {
    const auto shipped = kvbench::ShippedOutlines();
    const kv::OutlineDraft* slowest = nullptr;
    std::uint64_t most = 0;
    for (const auto& d : shipped) {
        if (d.cells.size() != 60) continue;
        const std::uint64_t nodes = kv::GradeOutline(d.cells, InPlay(d)).nodes;
        if (nodes > most) {
            most = nodes;
            slowest = &d;
        }
    }
    if (!slowest) {
        state.SkipWithError("no 60-cell outline in the program folder");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(kv::GradeOutline(slowest->cells, InPlay(*slowest)));
    }
    state.SetLabel(slowest->name.toStdString());
}
// Process CPU time: the two threads of the count together; on two idle cores the wall time
// is about half of it.
BENCHMARK(GradeSlowestSixty)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void GradeRectangle6x10(benchmark::State& state) {
    std::vector<kv::BoardCell> cells;
    for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < 10; ++c) cells.push_back({12 + c, 9 + r});
    }
    std::array<bool, 13> all{};
    std::fill(all.begin() + 1, all.end(), true);
    for (auto _ : state) benchmark::DoNotOptimize(kv::GradeOutline(cells, all));
}
BENCHMARK(GradeRectangle6x10)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void GradeShippedLibrary(benchmark::State& state) {
    const auto shipped = kvbench::ShippedOutlines();
    for (auto _ : state) {
        for (const auto& d : shipped)
            benchmark::DoNotOptimize(kv::GradeOutline(d.cells, InPlay(d)));
    }
    state.counters["outlines"] = static_cast<double>(shipped.size());
}
BENCHMARK(GradeShippedLibrary)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    return kvbench::RunOffscreen(argc, argv);
}
