// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Reading an outline (tables, decoding, parsing) and start-up to the first painted board.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>

#include "../tests/support/OutlineWriter.h"
#include "app/MainWindow.h"
#include "model/Model.h"
#include "outlines/CodeTables.h"
#include "outlines/Outline.h"
#include "outlines/OutlineFile.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "settings/Settings.h"
#include "view/PictureBox.h"

namespace {

QByteArray SampleOutline() {
    return kvtest::OutlineBytes("\xCA\xE2\xE5\xEB\xF2 0001", kvtest::BlockCells(50), {5, 7});
}

void BM_FirstStartUp(benchmark::State& state);
BENCHMARK(BM_FirstStartUp)->Unit(benchmark::kMillisecond)->Iterations(1)->MeasureProcessCPUTime();

// The code tables for the name, then line 2 decoded and every field of the file parsed.
void BM_ReadOutline(benchmark::State& state) {
    const QByteArray bytes = SampleOutline();
    for (auto _ : state) {
        const kv::OutlineContent content = kv::ReadOutline(bytes);
        benchmark::DoNotOptimize(content.cells[0][0]);
    }
}
BENCHMARK(BM_ReadOutline)->Unit(benchmark::kMicrosecond);

// Two names in turn: the tables of the last name are kept, and a build is what is timed.
void BM_MakeCodeTables(benchmark::State& state) {
    bool first = true;
    for (auto _ : state) {
        kv::MakeCodeTables(first ? "\xCA\xE2\xE5\xEB\xF2 0001" : "\xCA\xE2\xE5\xEB\xF2 0002");
        first = !first;
        benchmark::DoNotOptimize(kv::DecodeTable[40]);
    }
}
BENCHMARK(BM_MakeCodeTables)->Unit(benchmark::kMicrosecond);

// Main's steps with the default outline from a program folder of its own: the window shown
// and laid out, LoadINI, and the board painted.
void StartUp(benchmark::State& state) {
    QTemporaryDir program;
    QDir(program.path()).mkpath(QStringLiteral("Examples"));
    kvtest::WriteBytes(program.filePath(QStringLiteral("Examples/0001.kvt")), SampleOutline());
    kv::platform::SetProgramFolder(program.path());
    const QString startFolder = QDir::currentPath();
    QDir::setCurrent(program.path());  // no Kvelt.ini there: the default outline
    for (auto _ : state) {
        auto* window = new kv::frmForma;
        window->show();
        QCoreApplication::processEvents();
        window->LayOut();
        kv::LoadINI();
        window->picPole()->repaint();
        state.PauseTiming();
        if (kv::OutlineLoaded != 1) state.SkipWithError("the default outline did not load");
        delete window;
        kv::ResetOutlineState();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    QDir::setCurrent(startFolder);
    kv::platform::SetProgramFolder(QString());
}
// The first start-up of the process pays for fonts, styles and resources once; it runs
// before anything else has touched a widget.
void BM_FirstStartUp(benchmark::State& state) {
    StartUp(state);
}
void BM_StartUp(benchmark::State& state) {
    StartUp(state);
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace

int main(int argc, char** argv) {
    // The offscreen platform's remarks about window hints are of no interest here.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtWarningMsg && type != QtDebugMsg && type != QtInfoMsg) {
            fprintf(stderr, "%s\n", qPrintable(text));
        }
    });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
