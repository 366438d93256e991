// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The outline library over a folder of 10,000 outline files, with their grades and a progress
// store holding a record for every other one: building the list (warm file cache) and one
// preview.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <map>
#include <memory>

#include "model/Model.h"
#include "outlines/CodeTables.h"
#include "outlines/ListDialog.h"
#include "outlines/Outline.h"
#include "outlines/OutlineFolders.h"
#include "outlines/ShippedGrades.h"
#include "platform/Files.h"
#include "platform/TextCodec.h"
#include "play/ProgressStore.h"
#include "settings/Settings.h"

namespace {

constexpr int kFiles = 10000;

std::unique_ptr<QTemporaryDir> gFolder;

// Writes kFiles full outline files with names in mixed case and script, in no order.
void MakeFolder() {
    gFolder = std::make_unique<QTemporaryDir>();
    if (!gFolder->isValid()) qFatal("no temporary folder");
    // The program folder with Examples and the grades file beside it, as the build lays it out.
    kv::platform::SetProgramFolder(gFolder->path());
    kv::ExamplesPath = gFolder->path() + QStringLiteral("/Examples/");
    QDir().mkpath(kv::ExamplesPath);
    // The player's outline folder too, empty, or the player's own outlines would be counted.
    qputenv("XDG_DATA_HOME", QFile::encodeName(gFolder->path() + QStringLiteral("/home")));
    QByteArray grades;
    kv::ProgressStore store(kv::ProgressStore::DefaultFolder());
    std::map<QString, QByteArray> records;
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
        int cells[60][2];
        while (taken.size() < 60) {
            const int cell = static_cast<int>(rnd.bounded(35 * 24));
            if (taken.contains(cell)) continue;
            cells[taken.size()][0] = cell % 35;
            cells[taken.size()][1] = cell / 35;
            taken.insert(cell);
            plain += QByteArray::number(cell % 35).rightJustified(2, ' ') +
                     QByteArray::number(cell / 35).rightJustified(2, ' ');
        }
        kv::MakeCodeTables(nameBytes);
        const QByteArray bytes = nameBytes + "\r\n" + kv::EncodeLine(plain) + "\r\n0\r\n" +
                                 kv::EncodeLine("end of the outline file") + "\r\n";
        const QString file = QStringLiteral("%1.kvt").arg(i, 5, 10, QLatin1Char('0'));
        QFile out(kv::ExamplesPath + file);
        if (!out.open(QIODevice::WriteOnly)) qFatal("cannot write an outline");
        out.write(bytes);
        kv::OutlineGrade grade;
        grade.grade = 1 + i % 5;
        grade.tilings = 1 + static_cast<std::uint64_t>(i % 400);
        grades += kv::GradeLine(file, grade);
        if (i % 2 == 0) {
            const int none[13] = {};
            kv::ProgressRecord r = kv::NewRecord(kv::OutlineKey(cells, 60, none));
            r.state = i % 4 ? kv::OutlineState::InProgress : kv::OutlineState::SolvedAlone;
            if (r.Solved()) {
                r.bestMs = 60000 + i;
                r.bestSteps = 40;
                r.bestHints = 0;
                r.firstSolved = r.lastSolved = "2026-12-01";
            }
            QByteArray& text = records[store.FileOf(r.key)];
            if (text.isEmpty()) text = kv::kProgressHeader + '\n';
            text += kv::FormatRecord(r) + '\n';
        }
    }
    kv::DiscardCodeTables();
    QDir().mkpath(kv::ProgressStore::DefaultFolder());
    for (const auto& [path, text] : records) {
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly)) qFatal("cannot write the store");
        out.write(text);
    }
    QFile gradesFile(gFolder->path() + QStringLiteral("/grades.txt"));
    if (!gradesFile.open(QIODevice::WriteOnly)) qFatal("cannot write the grades");
    gradesFile.write(grades);
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
        if (!dialog.Grade(0) || !dialog.Grade(kFiles - 1))
            state.SkipWithError("the grades were not read");
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
