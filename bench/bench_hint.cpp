// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Speed of the «Игра» menu: a hint or the solution for every shipped outline from seeded
// positions (goal: 100 ms each), and one step taken back or done again on the real
// (offscreen) main window, redraw included (goal: 1 ms). Times are CPU times.
#include "BenchSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <ctime>
#include <filesystem>
#include <memory>
#include <random>
#include <vector>

#include "app/MainWindow.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "outlines/OutlineWriter.h"
#include "platform/Services.h"
#include "play/History.h"
#include "solver/Hints.h"
#include "view/BoardDrawing.h"

namespace {

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Case {
    kv::HintPosition position;
    int wrong = 0;  // pieces put at random free places besides the correct ones
};

// Every place of piece p wholly inside the outline on cells no other piece covers.
std::vector<kv::PiecePlacement> FreePlaces(const kv::HintPosition& h, int p,
                                           const std::vector<std::vector<int>>& owner) {
    std::vector<kv::PiecePlacement> places;
    for (const kv::BoardCell& c : h.outline) {
        for (int o = 1; o <= 8; ++o) {
            bool free = true;
            for (int k = 0; k < 5 && free; ++k) {
                const int col = c.column + kv::PieceCells[p][k][o][0];
                const int row = c.row + kv::PieceCells[p][k][o][1];
                free = kv::OnBoard(col, row) && owner[col][row] == 0;
            }
            if (free) places.push_back({p, o, c.column, c.row});
        }
    }
    return places;
}

// For each shipped outline, positions from a seeded generator: a random part of a solution
// in place and the other pieces at home, then none, one or two further pieces at random free
// places inside the outline (most of them wrong). Scattered: no part of a solution, three to
// six pieces at random free places.
std::vector<Case> Cases(bool scattered) {
    std::vector<Case> cases;
    std::mt19937 random(20261207);
    for (const kv::OutlineDraft& draft : kvbench::ShippedOutlines()) {
        kv::HintPosition bare;
        bare.outline = draft.cells;
        for (int p = 1; p <= kv::kPieces; ++p) bare.inPlay[p] = true;
        for (const int p : draft.excluded) bare.inPlay[p] = false;
        const std::optional<kv::Tiling> solution =
            kv::PentominoSolver(bare.outline, bare.inPlay).First();
        if (!solution) continue;
        for (int n = 0; n < 12; ++n) {
            Case c{bare, scattered ? 3 + n % 4 : n % 3};
            std::vector<std::vector<int>> owner(kv::kColumns, std::vector<int>(kv::kRows, 0));
            std::vector<int> away;
            for (const kv::PiecePlacement& t : *solution) {
                kv::PiecePlacement home{t.piece, 1, 0, 0};
                kv::HomePlace(t.piece, home.column, home.row);
                c.position.pieces[t.piece] = home;
                if (scattered || random() % 2 == 0) {
                    away.push_back(t.piece);
                    continue;
                }
                c.position.pieces[t.piece] = t;
                for (int k = 0; k < 5; ++k) {
                    owner[t.column + kv::PieceCells[t.piece][k][t.orientation][0]]
                         [t.row + kv::PieceCells[t.piece][k][t.orientation][1]] = t.piece;
                }
            }
            std::shuffle(away.begin(), away.end(), random);
            for (int w = 0; w < c.wrong && w < static_cast<int>(away.size()); ++w) {
                const auto places = FreePlaces(c.position, away[w], owner);
                if (places.empty()) continue;
                const kv::PiecePlacement t = places[random() % places.size()];
                c.position.pieces[t.piece] = t;
                for (int k = 0; k < 5; ++k) {
                    owner[t.column + kv::PieceCells[t.piece][k][t.orientation][0]]
                         [t.row + kv::PieceCells[t.piece][k][t.orientation][1]] = t.piece;
                }
            }
            cases.push_back(std::move(c));
        }
    }
    return cases;
}

// A hint and the solution both start with PlanHint; what follows on the board is a few
// cell fills (BM_OtmenaPovtor shows their cost).
void PlanAll(benchmark::State& state, const std::vector<Case>& cases) {
    if (cases.empty()) {
        // The shipped outlines are copied beside the program by the full build.
        state.SkipWithError("no outlines in bin/Examples: build the whole tree first");
        return;
    }
    std::vector<double> took(cases.size(), 0.0);
    int refuted = 0;
    for (auto _ : state) {
        refuted = 0;
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const double start = ThreadCpuMs();
            const kv::HintPlan plan = kv::PlanHint(cases[i].position);
            // The slowest of the runs, so that the figures are an upper bound.
            took[i] = std::max(took[i], ThreadCpuMs() - start);
            if (plan.solution.empty()) state.SkipWithError("no tiling for a shipped outline");
            refuted += !plan.remove.empty();
        }
    }
    std::vector<double> sorted = took;
    std::sort(sorted.begin(), sorted.end());
    state.counters["positions"] = static_cast<double>(cases.size());
    state.counters["no_keeping_tiling"] = refuted;
    state.counters["median_cpu_ms"] = sorted[sorted.size() / 2];
    state.counters["p99_cpu_ms"] = sorted[sorted.size() * 99 / 100];
    state.counters["worst_cpu_ms"] = sorted.back();
}

void BM_HintPlans(benchmark::State& state) {
    static const std::vector<Case> cases = Cases(false);
    PlanAll(state, cases);
}
BENCHMARK(BM_HintPlans)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_HintPlansScattered(benchmark::State& state) {
    static const std::vector<Case> cases = Cases(true);
    PlanAll(state, cases);
}
BENCHMARK(BM_HintPlansScattered)->Unit(benchmark::kMillisecond)->Iterations(3);

class NoVictory final : public kv::platform::VictoryPresenter {
  public:
    void ShowVictory() override {}
};

// The laid-out main window on the 6 x 10 outline, forty steps made: moves, turns and
// exchanges; then alternately the last step taken back and done again, each repainted.
void BM_OtmenaPovtor(benchmark::State& state) {
    NoVictory victory;
    auto& services = kv::platform::services();
    services.victory = &victory;
    auto window = kvbench::EmptyBoardWindow();
    for (int c = 12; c < 22; ++c) {
        for (int r = 9; r < 15; ++r) kv::OutlineCells[c][r] = 1;
    }
    kv::FiguryPoMestam();
    kv::ShowAllFigury();
    kv::CurrentPiece = 1;
    kv::UstanovkaFigury(-1);
    kv::StartHistory();
    for (int step = 0; step < 40; ++step) {
        const int p = step / 4 + 1;
        if (step % 4 == 0 && p != kv::CurrentPiece && !kv::Proverka()) {
            kv::UstanovkaFigury(+1);
            kv::CurrentPiece = p;
            kv::UstanovkaFigury(-1);
            kv::RecordStep();
        } else if (step % 4 == 1) {
            kv::Povorot(kv::PieceOrientation[kv::CurrentPiece] % 2 + 1);
        } else {
            kv::MoveFigury(13 + step % 8, 10 + step % 3);
        }
    }
    QApplication::processEvents();
    bool back = true;
    for (auto _ : state) {
        if (back) {
            kv::Otmena();
        } else {
            kv::Povtor();
        }
        back = !back;
        QApplication::processEvents();
    }
    if (!kv::CanOtmena()) state.SkipWithError("no steps were recorded");
    window.reset();
    services.victory = nullptr;
}
BENCHMARK(BM_OtmenaPovtor)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return kvbench::RunOffscreen(argc, argv);
}
