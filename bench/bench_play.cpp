// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Speed of play on a real (offscreen) main window: one accepted arrow move of the current
// piece, and the start-up sequence up to the first painted board.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>

#include "app/Main.h"
#include "BenchSupport.h"
#include "app/MainWindow.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "platform/Services.h"
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

void MoveWith(benchmark::State& state, kv::platform::EventPump* pump) {
    auto& services = kv::platform::services();
    kv::platform::EventPump* previousPump = services.events;
    CountingVictory victory;
    services.victory = &victory;
    services.events = pump;
    const auto window = BoardInPlay();
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
