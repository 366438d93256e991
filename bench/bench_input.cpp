// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// From a key on the board to the board picture updated, and a held arrow key whose
// repeats pile up: every queued key-down must be handled in the same pass of the event
// loop, never left waiting behind drawing. A drag's step from cell to cell, and a turn by
// the wheel or a key, up to the picture updated.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
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

void SendMouse(QWidget* target, QEvent::Type type, int c, int r, Qt::MouseButtons buttons) {
    const QPointF at(c * kv::CellSize + kv::CellSize / 2, r * kv::CellSize + kv::CellSize / 2);
    QMouseEvent event(type, at, target->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Whether cell (c, r) of the board picture is all of one colour.
bool Plain(int c, int r, kv::Colour colour) {
    const QRgb plain = kv::platform::ToRgb(colour) | 0xFF000000u;
    for (int y = r * kv::CellSize + 1; y < (r + 1) * kv::CellSize; ++y) {
        for (int x = c * kv::CellSize + 1; x < (c + 1) * kv::CellSize; ++x) {
            if (gWindow->picPole()->canvas().Pixel(x, y) != plain) return false;
        }
    }
    return true;
}

// A drag under way: the pointer enters a new cell, the piece is erased there and drawn here
// (no yield, no victory test until the release). The X, grabbed by its hand, goes back and
// forth between two cells.
void BM_DragCellToBoardImage(benchmark::State& state) {
    SetUp();
    QWidget* board = gWindow->picPole();
    const int c0 = kv::PiecePos[1][0];
    const int r0 = kv::PiecePos[1][1];
    SendMouse(board, QEvent::MouseButtonPress, c0, r0, Qt::LeftButton);
    bool right = true;
    long long moves = 0;
    for (auto _ : state) {
        SendMouse(board, QEvent::MouseMove, right ? 11 : 10, 10, Qt::LeftButton);
        right = !right;
        ++moves;
    }
    const int column = kv::PiecePos[1][0];
    const bool shown = gWindow->Dragging() && column == (right ? 10 : 11) &&
                       kv::PiecePos[1][1] == 10 && !Plain(column, 10, kv::PieceColor[1]) &&
                       Plain(column, 9, kv::PieceColor[1]);
    // Back home for the benchmarks after this one.
    SendMouse(board, QEvent::MouseMove, c0, r0, Qt::LeftButton);
    SendMouse(board, QEvent::MouseButtonRelease, c0, r0, Qt::NoButton);
    if (!shown) state.SkipWithError("the drag did not draw the piece where the pointer is");
    state.counters["moves"] = static_cast<double>(moves);
    state.SetItemsProcessed(moves);
}
BENCHMARK(BM_DragCellToBoardImage)->Unit(benchmark::kMicrosecond);

// A quarter turn by a wheel notch or by Page Down / Page Up on the board, up to the picture
// updated: erase, turn, draw, the pending events once, the victory test. The L turns back
// and forth between orientations 1 and 2.
void BM_TurnToBoardImage(benchmark::State& state) {
    SetUp();
    QWidget* board = gWindow->picPole();
    const bool wheel = state.range(0) != 0;
    const int was = kv::CurrentPiece;
    SendKey(board, Qt::Key_L, false);
    if (kv::CurrentPiece != 8) state.SkipWithError("the letter L did not take the L");
    const QPointF at(17 * kv::CellSize, 12 * kv::CellSize);
    bool clockwise = kv::PieceOrientation[8] == 1;
    long long turns = 0;
    for (auto _ : state) {
        if (wheel) {
            QWheelEvent event(at, board->mapToGlobal(at), QPoint(),
                              QPoint(0, clockwise ? -120 : 120), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(board, &event);
        } else {
            SendKey(board, clockwise ? Qt::Key_PageDown : Qt::Key_PageUp, false);
        }
        clockwise = !clockwise;
        ++turns;
    }
    // Every cell of the L where the model has it shows its colour.
    bool shown = kv::PieceOrientation[8] == (clockwise ? 1 : 2);
    for (int k = 0; k < 5; ++k) {
        const int c = kv::PieceCellColumn(8, k);
        const int r = kv::PieceCellRow(8, k);
        const bool hand = c == kv::PiecePos[8][0] && r == kv::PiecePos[8][1];
        shown = shown && Plain(c, r, kv::PieceColor[8]) != hand;
    }
    if (!shown) state.SkipWithError("the turns did not reach the board picture");
    SendKey(board, Qt::Key(kv::PieceLetters[was]), false);
    state.counters["turns"] = static_cast<double>(turns);
    state.SetItemsProcessed(turns);
}
BENCHMARK(BM_TurnToBoardImage)->Arg(0)->Arg(1)->ArgName("wheel")->Unit(benchmark::kMicrosecond);

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
