// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The outline editor: «Проверить» (every set of pieces, one tiling and the count for the
// first) over the shipped library and random compact drawings, each reporting its slowest
// drawing; and painting one cell of the editor's grid.
#include "BenchSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <memory>
#include <random>
#include <set>

#include "editor/DrawingCheck.h"
#include "editor/EditorWindow.h"
#include "model/Model.h"
#include "outlines/OutlineWriter.h"
#include "view/BoardDrawing.h"

namespace {

using kv::BoardCell;
using Drawing = std::vector<BoardCell>;

std::vector<Drawing> Shipped() {
    std::vector<Drawing> list;
    for (const kv::OutlineDraft& draft : kvbench::ShippedOutlines()) list.push_back(draft.cells);
    return list;
}

// Blobs grown cell by cell, each new cell the free neighbour touching most cells so far
// (ties at random), 5 to 60 cells in steps of five: what a player draws freehand. Most of
// them no set of pieces covers, which makes every set's search run to its end.
std::vector<Drawing> CompactBlobs(int perSize) {
    std::mt19937 random(1717);
    std::vector<Drawing> list;
    for (int size = 5; size <= 60; size += 5) {
        for (int i = 0; i < perSize; ++i) {
            std::set<BoardCell> taken{{17, 12}};
            while (static_cast<int>(taken.size()) < size) {
                std::vector<BoardCell> best;
                int bestContacts = 0;
                for (const BoardCell& t : taken) {
                    for (const BoardCell n :
                         {BoardCell{t.column - 1, t.row}, BoardCell{t.column + 1, t.row},
                          BoardCell{t.column, t.row - 1}, BoardCell{t.column, t.row + 1}}) {
                        if (taken.count(n) || !kv::OnBoard(n.column, n.row)) continue;
                        int contacts = 0;
                        for (const BoardCell m :
                             {BoardCell{n.column - 1, n.row}, BoardCell{n.column + 1, n.row},
                              BoardCell{n.column, n.row - 1}, BoardCell{n.column, n.row + 1}}) {
                            contacts += static_cast<int>(taken.count(m));
                        }
                        // Some looseness, or every blob would be the same square.
                        contacts += static_cast<int>(random() % 2);
                        if (contacts > bestContacts) best.clear();
                        if (contacts >= bestContacts) {
                            bestContacts = contacts;
                            best.push_back(n);
                        }
                    }
                }
                taken.insert(best[random() % best.size()]);
            }
            list.emplace_back(taken.begin(), taken.end());
        }
    }
    return list;
}

// Wall time and this thread's processor time: on a shared machine the second says what the
// check itself costs.
struct Took {
    double wall = 0, cpu = 0;
};

template <typename F>
Took Time(F&& f) {
    timespec c0{}, c1{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &c0);
    const auto start = std::chrono::steady_clock::now();
    f();
    const std::chrono::duration<double, std::milli> wall = std::chrono::steady_clock::now() - start;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &c1);
    return {wall.count(), (c1.tv_sec - c0.tv_sec) * 1e3 + (c1.tv_nsec - c0.tv_nsec) / 1e6};
}

// The answer (sets and a tiling: what «Сохранить» needs) and the count after it, each with
// its slowest drawing.
void CheckEach(benchmark::State& state, const std::vector<Drawing>& drawings) {
    if (drawings.empty()) {
        state.SkipWithError("no drawings");
        return;
    }
    Took answer, count, whole;
    int answerCells = 0, countCells = 0, covered = 0;
    for (auto _ : state) {
        covered = 0;
        for (const Drawing& d : drawings) {
            kv::DrawingCheck check;
            const Took a = Time([&] { check = kv::FindCoveringSets(d); });
            const Took c = Time([&] { kv::CountSet(d, check, 0); });
            covered += !check.leftOut.empty();
            if (a.cpu > answer.cpu) {
                answer = a;
                answerCells = static_cast<int>(d.size());
            }
            if (c.cpu > count.cpu) {
                count = c;
                countCells = static_cast<int>(d.size());
            }
            whole.cpu = std::max(whole.cpu, a.cpu + c.cpu);
            whole.wall = std::max(whole.wall, a.wall + c.wall);
        }
    }
    state.counters["drawings"] = static_cast<double>(drawings.size());
    state.counters["covered"] = covered;
    state.counters["answer_cpu_ms"] = answer.cpu;
    state.counters["answer_wall_ms"] = answer.wall;
    state.counters["answer_cells"] = answerCells;
    state.counters["count_cpu_ms"] = count.cpu;
    state.counters["count_wall_ms"] = count.wall;
    state.counters["count_cells"] = countCells;
    state.counters["whole_cpu_ms"] = whole.cpu;
    state.counters["whole_wall_ms"] = whole.wall;
}

void CheckShipped(benchmark::State& state) {
    static const std::vector<Drawing> drawings = Shipped();
    CheckEach(state, drawings);
}
BENCHMARK(CheckShipped)->Unit(benchmark::kMillisecond)->Iterations(1);

void CheckCompactBlobs(benchmark::State& state) {
    static const std::vector<Drawing> drawings = CompactBlobs(25);
    CheckEach(state, drawings);
}
BENCHMARK(CheckCompactBlobs)->Unit(benchmark::kMillisecond)->Iterations(1);

// One cell painted and, next time, erased by a click on the grid: the cell, the cursor
// frame, the count line and the buttons.
void PaintOneCell(benchmark::State& state, bool repaint) {
    kv::SetCellSize(478);
    kv::ClearOutlineGrid();
    auto editor = std::make_unique<kv::frmRedaktor>();
    editor->show();
    QApplication::processEvents();
    const int x = 10 * kv::CellSize + kv::CellSize / 2, y = 7 * kv::CellSize + kv::CellSize / 2;
    bool paint = true;
    for (auto _ : state) {
        const Qt::MouseButton button = paint ? Qt::LeftButton : Qt::RightButton;
        editor->picSetka_MouseDown(button, x, y);
        editor->picSetka_MouseUp(button, x, y);
        // The widget's own repaint of what changed, as the screen gets it.
        if (repaint) QApplication::processEvents();
        paint = !paint;
    }
    if (editor->Cell(10, 7) == paint) state.SkipWithError("the cell did not change");
}
BENCHMARK_CAPTURE(PaintOneCell, into_the_picture, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(PaintOneCell, and_repainted, true)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return kvbench::RunOffscreen(argc, argv);
}
