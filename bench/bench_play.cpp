// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Speed of play on a real (offscreen) main window: one accepted arrow move of the current
// piece, at the designed size and at the largest, the layout and redraw after a resize, and
// the start-up sequence up to the first painted board.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>

#include "BenchSupport.h"
#include "app/Main.h"
#include "app/MainWindow.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "platform/Services.h"
#include "platform/SystemColors.h"
#include "view/BoardDrawing.h"

namespace {

class NoEvents final : public kv::platform::EventPump {
  public:
    void ProcessPendingEvents() override {}
};

class CountingVictory final : public kv::platform::VictoryPresenter {
  public:
    void ShowVictory() override { ++shown; }
    int shown = 0;
};

class SilentMessages final : public kv::platform::MessageBoxes {
  public:
    void ShowError(const QString&) override {}
    bool AskYesNo(const QString&) override { return false; }
    void ShowCopyable(const QString&) override {}
};

double ProcessCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The laid-out main window with every piece at home and set down, piece 12 current, and an
// outline under pieces 1..11: each victory test reads all their cells before failing on
// piece 12, the longest test that does not end the puzzle.
std::unique_ptr<kv::frmForma> BoardInPlay() {
    auto window = kvbench::EmptyBoardWindow();
    kv::FiguryPoMestam();
    for (int p = 1; p <= 11; ++p) {
        for (int k = 0; k < 5; ++k)
            kv::OutlineCells[kv::PieceCellColumn(p, k)][kv::PieceCellRow(p, k)] = 1;
    }
    kv::ShowAllFigury();
    kv::CurrentPiece = 12;
    kv::UstanovkaFigury(-1);
    kv::MoveFigury(17, 10);
    QApplication::processEvents();
    return window;
}

// Gives the window a client area of width x height and lays it out.
void ResizeClient(kv::frmForma* window, int width, int height) {
    const QSize extra = window->size() - window->Client()->size();
    window->resize(width + extra.width(), height + extra.height());
    QApplication::processEvents();
    window->LayOut();
}

// The client area of a maximised window on a 3840 x 2160 screen, and on 1920 x 1080.
constexpr int kLargest[2] = {3840, 2100};
constexpr int kFullHd[2] = {1920, 1020};

void MoveWith(benchmark::State& state, kv::platform::EventPump* pump, const int* client = nullptr) {
    auto& services = kv::platform::services();
    kv::platform::EventPump* previousPump = services.events;
    CountingVictory victory;
    services.victory = &victory;
    services.events = pump;
    const auto window = BoardInPlay();
    if (client) ResizeClient(window.get(), client[0], client[1]);
    state.counters["CellSize"] = kv::CellSize;
    int column = 17;
    for (auto _ : state) {
        column = column == 17 ? 18 : 17;  // one arrow key to the right, then back
        kv::MoveFigury(column, 10);
    }
    if (kv::PiecePos[12][0] != column || victory.shown != 0) state.SkipWithError("move not made");
    services.events = previousPump;
    services.victory = nullptr;
}

// Erase, move, draw and the victory test, with no events waiting.
void BM_ArrowMove(benchmark::State& state) {
    NoEvents none;
    MoveWith(state, &none);
}
BENCHMARK(BM_ArrowMove);

// The same with the real yield to the event loop, which repaints the changed cells.
void BM_ArrowMoveWithRepaint(benchmark::State& state) {
    MoveWith(state, kv::platform::services().events);
}
BENCHMARK(BM_ArrowMoveWithRepaint);

// One arrow move on the board of a maximised 4K window (cells of 87 pixels).
void BM_ArrowMoveLargest(benchmark::State& state) {
    NoEvents none;
    MoveWith(state, &none, kLargest);
}
BENCHMARK(BM_ArrowMoveLargest);

void BM_ArrowMoveLargestWithRepaint(benchmark::State& state) {
    MoveWith(state, kv::platform::services().events, kLargest);
}
BENCHMARK(BM_ArrowMoveLargestWithRepaint);

// The layout after a resize that changes the cell size by one: the board picture made anew
// and drawn from the model (grid, outline, every piece, the hand), the palettes placed.
void LayOutAfterResize(benchmark::State& state, const int* client) {
    NoEvents none;
    auto& services = kv::platform::services();
    kv::platform::EventPump* previousPump = services.events;
    services.events = &none;
    const auto window = BoardInPlay();
    bool smaller = false;
    for (auto _ : state) {
        state.PauseTiming();
        smaller = !smaller;
        const QSize extra = window->size() - window->Client()->size();
        window->resize(client[0] - (smaller ? 35 : 0) + extra.width(),
                       client[1] - (smaller ? 24 : 0) + extra.height());
        state.ResumeTiming();
        window->LayOut();
    }
    state.counters["CellSize"] = kv::CellSize;
    if (kv::BoardCanvas->Pixel(kv::CellSize * 17 + 1, kv::CellSize * 10 + 1) !=
        (kv::platform::ToRgb(kv::PieceColor[12]) | 0xFF000000u)) {
        state.SkipWithError("board not drawn anew");
    }
    services.events = previousPump;
}

void BM_LayOutAfterResizeLargest(benchmark::State& state) {
    LayOutAfterResize(state, kLargest);
}
BENCHMARK(BM_LayOutAfterResizeLargest)->Unit(benchmark::kMillisecond);

void BM_LayOutAfterResizeFullHd(benchmark::State& state) {
    LayOutAfterResize(state, kFullHd);
}
BENCHMARK(BM_LayOutAfterResizeFullHd)->Unit(benchmark::kMillisecond);

// Main as the program runs it (window shown and painted once, layout, LoadINI with no
// outline file, so an empty board with the pieces at home), then the whole window painted.
void BM_StartUp(benchmark::State& state) {
    SilentMessages messages;
    auto& services = kv::platform::services();
    kv::platform::MessageBoxes* previous = services.messages;
    services.messages = &messages;
    for (auto _ : state) {
        kv::frmForma* window = kv::Main();
        window->repaint();
        state.PauseTiming();
        delete window;
        QApplication::processEvents();
        state.ResumeTiming();
    }
    services.messages = previous;
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The first start-up in a fresh process, Qt's own start included, measured once.
    QElapsedTimer wall;
    wall.start();
    const double cpu0 = ProcessCpuMs();
    QApplication app(argc, argv);
    kv::LoadQtTranslations(app);
    const double appWall = wall.nsecsElapsed() / 1e6;
    const double appCpu = ProcessCpuMs() - cpu0;
    {
        SilentMessages messages;
        kv::platform::services().messages = &messages;
        wall.restart();
        const double cpu1 = ProcessCpuMs();
        kv::frmForma* window = kv::Main();
        window->repaint();
        std::printf(
            "Cold start-up in a fresh process: QApplication %.1f ms wall / %.1f ms CPU; "
            "Main to first painted board %.1f ms wall / %.1f ms CPU\n",
            appWall, appCpu, wall.nsecsElapsed() / 1e6, ProcessCpuMs() - cpu1);
        delete window;
        kv::platform::RestoreDefaultServices();
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
