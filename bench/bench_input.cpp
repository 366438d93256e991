// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// From a key on the board to the board picture updated, and a held arrow key whose
// repeats pile up: every queued key-down must be handled in the same pass of the event
// loop, never left waiting behind drawing.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "app/MainWindow.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "outlines/Outline.h"
#include "platform/Services.h"
#include "platform/SystemColors.h"
#include "view/BoardDrawing.h"
#include "view/PictureBox.h"

namespace {

kv::frmForma* gWindow = nullptr;

// The main window laid out at its design size with all twelve pieces at home and the X
// piece current at (3, 1): Right and Left keys move it between columns 3 and 4.
void SetUp() {
    if (gWindow) return;
    kv::ResetModel();
    kv::ResetOutlineState();
    kv::BuildPieceSet();
    gWindow = new kv::frmForma;
    gWindow->show();
    QApplication::processEvents();
    gWindow->LayOut();
    kv::NewPole();
    kv::FiguryPoMestam();
    kv::ShowAllFigury();
    kv::CurrentPiece = 1;
    kv::UstanovkaFigury(-1);
    QApplication::processEvents();
}

void SendKey(QWidget* target, Qt::Key key, bool autoRepeat) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(target, &event);
}

// The hand of the X piece sits on its reference cell; the cell of column c, row 1 is
// plain piece colour when the piece's reference cell is elsewhere.
bool HandAt(int column) {
    const QRgb plain = kv::platform::ToRgb(kv::PieceColor[1]) | 0xFF000000u;
    for (int y = kv::CellSize + 1; y < 2 * kv::CellSize; ++y) {
        for (int x = column * kv::CellSize + 1; x < (column + 1) * kv::CellSize; ++x) {
            if (gWindow->picPole()->canvas().Pixel(x, y) != plain) return true;
        }
    }
    return false;
}

// One key event delivered to the board: the piece is erased, moved and drawn into the
// board picture, the pending events (its repaint among them) run once, the victory test runs.
void BM_KeyToBoardImage(benchmark::State& state) {
    SetUp();
    QWidget* board = gWindow->picPole();
    long long moves = 0;
    bool right = kv::PiecePos[1][0] == 3;
    for (auto _ : state) {
        SendKey(board, right ? Qt::Key_Right : Qt::Key_Left, false);
        right = !right;
        ++moves;
    }
    // Every key moved the piece and the picture shows it where the model has it.
    const int column = kv::PiecePos[1][0];
    if (column != (right ? 3 : 4) || !HandAt(column) || HandAt(7 - column)) {
        state.SkipWithError("a key did not move the piece on the board picture");
    }
    state.counters["moves"] = static_cast<double>(moves);
    state.SetItemsProcessed(moves);
}
BENCHMARK(BM_KeyToBoardImage)->Unit(benchmark::kMicrosecond);

// A held arrow key whose repeats have piled up: `burst` key-downs posted at once, then one
// pass of the event loop. Each accepted move yields to the pending events, so the rest of
// the burst is handled inside that pass; none may be left over.
void BM_HeldArrowBurst(benchmark::State& state) {
    SetUp();
    kv::PictureBox* board = gWindow->picPole();
    const int burst = static_cast<int>(state.range(0));
    int depth = 0;
    int deepest = 0;
    long long handled = 0;
    auto original = board->onKeyDown;
    board->onKeyDown = [&](QKeyEvent* event) {
        ++handled;
        deepest = std::max(deepest, ++depth);
        original(event);
        --depth;
    };
    long long posted = 0;
    long long leftOver = 0;
    double seconds = 0;
    for (auto _ : state) {
        const long long before = handled;
        for (int i = 0; i < burst; ++i) {
            const bool right = (kv::PiecePos[1][0] == 3) == (i % 2 == 0);
            QCoreApplication::postEvent(
                board, new QKeyEvent(QEvent::KeyPress, right ? Qt::Key_Right : Qt::Key_Left,
                                     Qt::NoModifier, QString(), true));
        }
        const auto start = std::chrono::steady_clock::now();
        QCoreApplication::processEvents();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        posted += burst;
        leftOver += burst - (handled - before);
    }
    board->onKeyDown = original;
    // Whatever a failing pass left behind must not leak into the next benchmark.
    QCoreApplication::sendPostedEvents(board, QEvent::KeyPress);
    if (leftOver != 0) state.SkipWithError("key events were left waiting after the pass");
    const int column = kv::PiecePos[1][0];
    if (!HandAt(column) || HandAt(7 - column)) {
        state.SkipWithError("the board picture does not show the piece where the model has it");
    }
    state.counters["posted"] = static_cast<double>(posted);
    state.counters["left_over"] = static_cast<double>(leftOver);
    state.counters["deepest_nesting"] = deepest;
    // Wall time of the pass that drains the burst, per key event.
    state.counters["us_per_event"] = posted ? seconds * 1e6 / static_cast<double>(posted) : 0;
    state.SetItemsProcessed(posted);
}
BENCHMARK(BM_HeldArrowBurst)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete gWindow;
    return 0;
}
