// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The progress store with 10,000 records: loading them all, writing one (atomically, to
// disk), and a move of play with the journey attached and its record handed to the writer,
// beside the same move without it.
#include <fcntl.h>
#include <unistd.h>
#include <QCryptographicHash>
#include <QTemporaryDir>

#include "BenchSupport.h"
#include "app/Journey.h"
#include "outlines/Outline.h"
#include "platform/Services.h"
#include "play/History.h"
#include "play/ProgressStore.h"

namespace {

constexpr int kRecords = 10000;

// A tenth in progress with twenty steps kept, the rest solved.
kv::ProgressRecord Sample(int i) {
    kv::ProgressRecord r;
    const QByteArray n = QByteArray::number(i);
    r.key = QCryptographicHash::hash(n, QCryptographicHash::Sha1).toHex();
    r.totalMs = 1000 * i;
    r.lastPlayed = "2026-12-08T10:22:01Z";
    if (i % 10 == 0) {
        r.state = kv::OutlineState::InProgress;
        r.attemptMs = 5000;
        for (int s = 0; s < 20; ++s) {
            kv::KeptArrangement a;
            a.current = 1 + s % 12;
            for (int p = 1; p <= 12; ++p) {
                a.place[p][0] = 2 + (p + s) % 30;
                a.place[p][1] = p;
                a.place[p][2] = 1 + (p + s) % 8;
            }
            r.history.push_back(a);
        }
        r.historyIndex = 19;
    } else {
        r.state = i % 3 ? kv::OutlineState::SolvedAlone : kv::OutlineState::SolvedWithHints;
        r.bestMs = 60000 + i;
        r.bestSteps = 30 + i % 50;
        r.bestHints = i % 3 ? 0 : 2;
        r.firstSolved = r.lastSolved = "2026-12-01";
        r.graded = true;
        r.grade = 1 + i % 5;
        r.tilings = 1 + i % 300;
    }
    return r;
}

struct FullStore {
    FullStore() : store(dir.path()) {
        // Written file by file in one go, as the store itself lays them out.
        std::map<QString, QByteArray> files;
        for (int i = 0; i < kRecords; ++i) {
            const kv::ProgressRecord r = Sample(i);
            QByteArray& bytes = files[store.FileOf(r.key)];
            if (bytes.isEmpty()) bytes = kv::kProgressHeader + '\n';
            bytes += kv::FormatRecord(r) + '\n';
        }
        for (const auto& [path, bytes] : files) {
            QFile out(path);
            if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
                qFatal("cannot write the store");
        }
    }
    QTemporaryDir dir;
    kv::ProgressStore store;
};

void BM_LoadAllRecords(benchmark::State& state) {
    FullStore full;
    for (auto _ : state) {
        const auto all = full.store.LoadAll();
        if (all.size() != kRecords) state.SkipWithError("records lost");
    }
}
// The process's time: the load parses half the files on a second thread.
BENCHMARK(BM_LoadAllRecords)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// One record written at once: its file read again, the line replaced, the file put in place
// (QSaveFile, synced to disk).
void BM_SaveOneRecord(benchmark::State& state) {
    FullStore full;
    kv::ProgressRecord r = Sample(10);
    for (auto _ : state) {
        ++r.totalMs;
        if (!full.store.Write(r.key, kv::FormatRecord(r))) state.SkipWithError("not written");
    }
    if (full.store.Load(r.key)->totalMs != r.totalMs) state.SkipWithError("not read back");
}
BENCHMARK(BM_SaveOneRecord)->Unit(benchmark::kMillisecond);

// The sync alone that SaveOneRecord's commit makes: as there, a new file of the record file's
// bytes written beside it and put in its place (neither timed), only its fdatasync timed, to
// tell the disk from the code.
void BM_SyncOfOneFile(benchmark::State& state) {
    FullStore full;
    QFile in(full.store.FileOf(Sample(10).key));
    if (!in.open(QIODevice::ReadOnly)) state.SkipWithError("no store file");
    const QByteArray bytes = in.readAll();
    const QByteArray path = QFile::encodeName(full.dir.path() + QStringLiteral("/sync.txt"));
    const QByteArray fresh = path + ".new";
    for (auto _ : state) {
        state.PauseTiming();
        const int fd = ::open(fresh.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 || ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())) !=
                          static_cast<ssize_t>(bytes.size())) {
            state.SkipWithError("not written");
        }
        state.ResumeTiming();
        if (::fdatasync(fd) != 0) state.SkipWithError("not synced");
        state.PauseTiming();
        ::close(fd);
        if (::rename(fresh.constData(), path.constData()) != 0) state.SkipWithError("not renamed");
        state.ResumeTiming();
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_SyncOfOneFile)->Unit(benchmark::kMillisecond);

class NoEvents final : public kv::platform::EventPump {
  public:
    void ProcessPendingEvents() override {}
};

// An arrow move of bench_play's kind on a 60-cell outline, with or without the journey; with
// it, every move also hands the record (twenty steps and more) to the writer thread, which
// writes while the next moves are made.
void MoveWith(benchmark::State& state, bool journeyed) {
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
    NoEvents none;
    auto& services = kv::platform::services();
    services.events = &none;
    services.victory = nullptr;
    const auto window = kvbench::EmptyBoardWindow();
    kv::Journey* journey = nullptr;
    if (journeyed) {
        journey = new kv::Journey(
            std::make_unique<kv::ProgressStore>(kv::ProgressStore::DefaultFolder()), window.get());
        window->AttachJourney(journey);
    }
    for (int i = 0; i < 60; ++i) {
        kv::OutlineCellList[i][0] = 12 + i % 10;
        kv::OutlineCellList[i][1] = 9 + i / 10;
        kv::OutlineCells[12 + i % 10][9 + i / 10] = 1;
    }
    kv::OutlineLastCell = 59;
    kv::OutlineLoaded = 1;
    kv::ShowKvelt();
    kv::FiguryPoMestam();
    kv::ShowAllFigury();
    kv::CurrentPiece = 12;
    kv::UstanovkaFigury(-1);
    kv::StartHistory();
    if (journey) journey->Loaded(false);
    int column = 17;
    for (auto _ : state) {
        column = column == 17 ? 18 : 17;
        kv::MoveFigury(column, 10);
        if (journey) journey->Store().Save(journey->Record());
    }
    if (journey) {
        journey->Flush();
        state.counters["steps kept"] = static_cast<double>(journey->Record().history.size());
    }
    services.events = nullptr;
}

void BM_MoveAlone(benchmark::State& state) {
    MoveWith(state, false);
}
BENCHMARK(BM_MoveAlone)->Unit(benchmark::kMicrosecond);

void BM_MoveWithSave(benchmark::State& state) {
    MoveWith(state, true);
}
BENCHMARK(BM_MoveWithSave)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return kvbench::RunOffscreen(argc, argv);
}
