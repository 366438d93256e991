// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The searches on one thread or several: the work split up level by level, shared out, and
// the answers put together as one thread would have found them.
#include <algorithm>
#include <climits>
#include <mutex>
#include <system_error>
#include <thread>

#include "solver/FixedOrderSearch.h"
#include "solver/Solver.h"
#include "solver/SolverThreads.h"

namespace kv {

namespace solver_threads {

int ThreadCount(int threads) {
    if (threads > 0) return threads;
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

// Runs job(i) for i in 0..count-1 on the calling thread and threads - 1 more, each taking
// the next index left.
void Share(int threads, std::size_t count, const std::function<void(std::size_t)>& job) {
    std::atomic<std::size_t> next{0};
    auto worker = [&] {
        for (std::size_t i; (i = next.fetch_add(1, std::memory_order_relaxed)) < count;) job(i);
    };
    std::vector<std::thread> helpers;
    const int extra = std::min<std::size_t>(threads - 1, count > 0 ? count - 1 : 0);
    for (int t = 0; t < extra; ++t) {
        try {
            helpers.emplace_back(worker);
        } catch (const std::system_error&) {
            break;  // no more threads to be had: those running share the work
        }
    }
    worker();
    for (auto& t : helpers) t.join();
}

}  // namespace solver_threads

using solver_threads::Share;
using solver_threads::ThreadCount;

// Cuts the starts into pieces of work, level by level of the search, until each thread
// has enough of them to keep busy while the slowest ones finish: the 6 x 10 rectangle has
// only eight starts, one far longer than the rest. Kept in the order one thread would
// search them.
std::vector<PentominoSolver::Work> PentominoSolver::Split(const std::vector<Start>& starts,
                                                          int threads) const {
    std::vector<Work> work;
    for (int i = 0; i < static_cast<int>(starts.size()); ++i) {
        Work w{starts[i].filled, starts[i].remaining, i, 0, {}};
        if (starts[i].place >= 0) w.chosen[w.depth++] = static_cast<std::uint16_t>(starts[i].place);
        work.push_back(w);
    }
    const std::size_t enough = threads > 1 ? 64 * static_cast<std::size_t>(threads) : 0;
    const Search search(*this);
    for (int level = 0; level < 4 && work.size() < enough; ++level) {
        std::vector<Work> deeper;
        for (const Work& w : work) {
            if (w.filled == ~std::uint64_t{0}) {
                deeper.push_back(w);
                continue;
            }
            int next[64];
            const int count = search.Children(w.filled, w.remaining, next);
            for (int i = 0; i < count; ++i) {
                Work d = w;
                d.filled |= masks_[next[i]];
                d.remaining &= ~(1u << pieceOf_[next[i]]);
                d.chosen[d.depth++] = static_cast<std::uint16_t>(next[i]);
                deeper.push_back(d);
            }
        }
        work = std::move(deeper);
    }
    return work;
}

std::uint64_t PentominoSolver::ForEach(const std::function<bool(const Tiling&)>& visit,
                                       int threads) const {
    if (!solvable_) return 0;
    if (cells_.empty()) {
        visit({});
        return 1;
    }
    threads = ThreadCount(threads);
    std::vector<AnchorClass> classes;
    const std::vector<Start> starts = Starts(classes);
    std::mutex lock;  // one visit at a time; guards visited
    std::uint64_t visited = 0;
    std::atomic<int> finish{INT_MAX};  // lowered to -1 once visit asks to stop
    // Hands one tiling to visit unless an earlier call asked to stop.
    auto give = [&](const Tiling& tiling) {
        const std::lock_guard<std::mutex> hold(lock);
        if (finish.load() < 0) return false;
        ++visited;
        if (visit(tiling)) return true;
        finish = -1;
        return false;
    };
    auto run = [&](const Work& w) {
        Search search(*this);
        search.finish = &finish;
        const AnchorClass* c = starts[w.start].anchor;
        search.leaf = [&](const int* chosen, int depth) {
            if (!c) return give(ToTiling(chosen, depth));
            for (const int s : c->images) {
                int image[kPieces];
                for (int d = 0; d < depth; ++d) {
                    image[d] = PlaceOf(places_[chosen[d]].piece, Transform(s, masks_[chosen[d]]));
                }
                if (!give(ToTiling(image, depth))) return false;
            }
            return true;
        };
        search.Run<true>(w);
    };
    const std::vector<Work> work = Split(starts, threads);
    Share(threads, work.size(), [&](std::size_t i) {
        if (finish.load(std::memory_order_relaxed) >= 0) run(work[i]);
    });
    return visited;
}

std::optional<Tiling> PentominoSolver::First(int threads) const {
    if (!solvable_) return std::nullopt;
    if (cells_.empty()) return Tiling{};
    threads = ThreadCount(threads);
    if (!rectangle_) {
        // Most outlines are settled either way within a few thousand steps in fixed order,
        // which takes them far more cheaply; the rest go to the fewest-places search. A
        // budget of steps, not of time, keeps the answer the same on every machine.
        std::vector<AnchorClass> classes;
        const std::vector<Start> starts = Starts(classes);
        Search search(*this);
        search.budget = fixedOrderSteps_;
        std::optional<Tiling> found;
        search.leaf = [&](const int* chosen, int depth) {
            found = ToTiling(chosen, depth);
            return false;
        };
        for (const Work& w : Split(starts, 1)) {
            search.Run<true>(w);
            if (search.stop) break;
        }
        if (cancel_ && cancel_->load()) return std::nullopt;
        if (found || !search.stop) return found;
        return FirstByFewest(threads);
    }
    std::vector<AnchorClass> classes;
    const std::vector<Start> starts = Starts(classes);
    const std::vector<Work> work = Split(starts, threads);
    // The earliest piece of work known to hold a tiling. Later pieces stop; earlier ones
    // go on, as one of them may hold a tiling one thread would have found first.
    std::atomic<int> finish{INT_MAX};
    std::vector<Tiling> firsts(work.size());  // slot i is written only by the one running i
    Share(threads, work.size(), [&](std::size_t i) {
        const int index = static_cast<int>(i);
        if (finish.load(std::memory_order_relaxed) < index) return;
        Search search(*this);
        search.finish = &finish;
        search.work = index;
        search.leaf = [&](const int* chosen, int depth) {
            firsts[i] = ToTiling(chosen, depth);
            for (int seen = finish.load(); seen > index;) {
                if (finish.compare_exchange_weak(seen, index)) break;
            }
            return false;
        };
        search.Run<true>(work[i]);
    });
    if (cancel_ && cancel_->load()) return std::nullopt;
    const int f = finish.load();
    if (f >= static_cast<int>(work.size())) return std::nullopt;
    return firsts[f];
}

SolutionCount PentominoSolver::Count(int threads) const {
    SolutionCount result;
    result.symmetries = Symmetries();
    if (!solvable_) return result;
    if (cells_.empty()) {
        result.all = result.upToSymmetry = 1;
        return result;
    }
    threads = ThreadCount(threads);
    std::vector<AnchorClass> classes;
    const std::vector<Start> starts = Starts(classes);
    const std::vector<Work> work = Split(starts, threads);
    // Burnside: the tilings up to symmetry are (sum over the group of the tilings each
    // symmetry fixes) / g. The identity fixes all of them; `fixed` gathers the rest.
    // Tilings are split by where the anchor piece lies. Places of the anchor that a
    // symmetry maps onto each other have equally many tilings, so each class is searched
    // at one place and its count weighted by the size of the class.
    std::mutex lock;  // guards the sums
    std::uint64_t all = 0, fixed = 0, nodes = 0;
    Share(threads, work.size(), [&](std::size_t i) {
        const AnchorClass* c = starts[work[i].start].anchor;
        const std::uint64_t weight = c ? c->images.size() : 1;
        Search search(*this);
        std::uint64_t fixedHere = 0;
        if (!c || c->stabiliser.size() == 1) {
            search.Run<false>(work[i]);
        } else {
            // Only a symmetry that keeps the anchor in place can fix a tiling.
            search.leaf = [&](const int* chosen, int depth) {
                for (std::size_t s = 1; s < c->stabiliser.size(); ++s) {
                    bool invariant = true;
                    for (int d = 0; d < depth && invariant; ++d) {
                        const std::uint64_t m = masks_[chosen[d]];
                        invariant = Transform(c->stabiliser[s], m) == m;
                    }
                    if (invariant) ++fixedHere;
                }
                return true;
            };
            search.Run<true>(work[i]);
        }
        const std::lock_guard<std::mutex> hold(lock);
        all += weight * search.found;
        fixed += weight * fixedHere;
        nodes += search.nodes;
    });
    result.all = all;
    result.upToSymmetry = (all + fixed) / Symmetries();
    result.nodes = nodes;
    return result;
}

}  // namespace kv
