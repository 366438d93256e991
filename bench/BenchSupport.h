// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// What the benchmark programs share: the shipped library as the build lays it out, and a
// main that runs the benchmarks offscreen with the piece set built.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/MainWindow.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "outlines/OutlineWriter.h"
#include "view/BoardDrawing.h"

namespace kvbench {

// The sound outlines of the library copied into the program folder beside the benchmarks'
// folder, in file-name order.
inline std::vector<kv::OutlineDraft> ShippedOutlines() {
    std::vector<kv::OutlineDraft> list;
    const auto folder =
        std::filesystem::canonical("/proc/self/exe").parent_path() / ".." / "bin" / "Examples";
    const QDir dir(QString::fromStdString(folder.string()));
    for (const QString& name : dir.entryList({QStringLiteral("*.kvt")}, QDir::Files)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) continue;
        const kv::StrictOutline outline = kv::ReadOutlineStrict(file.readAll());
        if (outline.fault.isEmpty()) list.push_back(outline.draft);
    }
    return list;
}

// The main window shown and laid out at its design size, over an empty board with the piece
// set built: what a benchmark of play starts from.
inline std::unique_ptr<kv::frmForma> EmptyBoardWindow() {
    auto window = std::make_unique<kv::frmForma>();
    window->show();
    QApplication::processEvents();
    window->LayOut();
    kv::BuildPieceSet();
    kv::ClearOutlineGrid();
    kv::NewPole();
    return window;
}

// The whole main of a benchmark program that needs widgets and the piece set.
inline int RunOffscreen(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kv::BuildPieceSet();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace kvbench
