// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The outline library over a folder of 10,000 outline files: building the list (warm file
// cache) and one preview.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <memory>

#include "model/Model.h"
#include "outlines/CodeTables.h"
#include "outlines/ListDialog.h"
#include "outlines/Outline.h"
#include "outlines/OutlineFolders.h"
#include "platform/TextCodec.h"
#include "settings/Settings.h"

namespace {

constexpr int kFiles = 10000;

std::unique_ptr<QTemporaryDir> gFolder;

// Writes kFiles full outline files with names in mixed case and script, in no order.
void MakeFolder() {
    gFolder = std::make_unique<QTemporaryDir>();
    if (!gFolder->isValid()) qFatal("no temporary folder");
    kv::ExamplesPath = gFolder->path() + QLatin1Char('/');
    // The player's outline folder too, empty, or the player's own outlines would be counted.
    qputenv("XDG_DATA_HOME", QFile::encodeName(gFolder->path() + QStringLiteral("/home")));
    const QStringList words = {QStringLiteral("Квелт"), QStringLiteral("арка"),
                               QStringLiteral("Башня"), QStringLiteral("мост"),
                               QStringLiteral("Zebra"), QStringLiteral("house")};
    QRandomGenerator rnd(1234);
    for (int i = 0; i < kFiles; ++i) {
        const QString name = words[rnd.bounded(words.size())] + QLatin1Char(' ') +
                             QString::number(rnd.bounded(100000));
        const QByteArray nameBytes = kv::platform::ToCp1251(name);
        // Sixty different cells: a sound outline, which the list checks to its end.
        QByteArray plain;
        QSet<int> taken;
        while (taken.size() < 60) {
            const int cell = static_cast<int>(rnd.bounded(35 * 24));
            if (taken.contains(cell)) continue;
            taken.insert(cell);
            plain += QByteArray::number(cell % 35).rightJustified(2, ' ') +
                     QByteArray::number(cell / 35).rightJustified(2, ' ');
        }
        kv::MakeCodeTables(nameBytes);
        const QByteArray bytes = nameBytes + "\r\n" + kv::EncodeLine(plain) + "\r\n0\r\n" +
                                 kv::EncodeLine("end of the outline file") + "\r\n";
        QFile out(kv::ExamplesPath + QStringLiteral("%1.kvt").arg(i, 5, 10, QLatin1Char('0')));
        if (!out.open(QIODevice::WriteOnly)) qFatal("cannot write an outline");
        out.write(bytes);
    }
    kv::DiscardCodeTables();
}

// The first opening of a session: every file read and checked.
void BM_OpenLibraryFirst(benchmark::State& state) {
    kv::OutlineName = QStringLiteral("no such outline");
    for (auto _ : state) {
        state.PauseTiming();
        kv::ForgetListedOutlines();
        state.ResumeTiming();
        kv::frmList dialog;
        if (dialog.lstKvelt()->count() != kFiles) state.SkipWithError("wrong count");
    }
}
BENCHMARK(BM_OpenLibraryFirst)->Unit(benchmark::kMillisecond);

// The whole opening again, the files unchanged since the last: the dialog's controls and
// the list.
void BM_OpenLibrary(benchmark::State& state) {
    kv::OutlineName = QStringLiteral("no such outline");
    for (auto _ : state) {
        kv::frmList dialog;
        benchmark::DoNotOptimize(dialog.lstKvelt()->count());
    }
}
BENCHMARK(BM_OpenLibrary)->Unit(benchmark::kMillisecond);

// ListLoad alone on an open dialog (it first empties the list it already holds), the files
// unchanged.
void BM_ListLoad(benchmark::State& state) {
    kv::OutlineName = QStringLiteral("no such outline");
    kv::frmList dialog;
    for (auto _ : state) {
        dialog.ListLoad();
        if (dialog.lstKvelt()->count() != kFiles) state.SkipWithError("wrong count");
        if (dialog.lstKvelt()->item(0)->text().endsWith(kv::DamagedMark()))
            state.SkipWithError("the outlines read as damaged");
    }
}
BENCHMARK(BM_ListLoad)->Unit(benchmark::kMillisecond);

// One preview: the selection moves to another entry, whose file is read and drawn.
void BM_Preview(benchmark::State& state) {
    kv::OutlineName = QStringLiteral("no such outline");
    kv::frmList dialog;
    int row = 0;
    for (auto _ : state) {
        row = (row + 4999) % kFiles;
        dialog.lstKvelt()->setCurrentRow(row);
        if (dialog.ShownIndex() != row) state.SkipWithError("not previewed");
    }
}
BENCHMARK(BM_Preview)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    MakeFolder();
    kv::BuildPieceSet();
    {
        // Warm the file cache.
        kv::frmList warm;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gFolder.reset();
    return 0;
}
