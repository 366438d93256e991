// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The solver's fixed-order search: the cells filled in the order of the solver's tables,
// a cell's places picked by table lookups, pockets of one or two cells cut off at once.
// Internal to the solver.
#pragma once

#include <atomic>
#include <bit>
#include <climits>
#include <cstdint>
#include <functional>

#include "solver/Solver.h"

namespace kv {

// False when the empty cells (bits clear in filled) hold a lone cell or two cells walled in
// together: no piece can fill those. Larger pockets are left to the search, which meets
// them soon enough; telling them apart costs more than it saves. The whole mask is tested
// at once, each shift of the adjacency counting neighbours for every cell.
// kClasses, when not 0, is the number of classes known when compiling: a rectangle's two.
template <int kClasses = 0>
bool NoPockets(std::uint64_t filled, const std::uint64_t* adjacent, const int* shifts,
               int classes) {
    if constexpr (kClasses != 0) classes = kClasses;
    const std::uint64_t empty = ~filled;
    std::uint64_t one = 0, two = 0;  // cells with at least one, two empty neighbours
    for (int k = 0; k < classes; ++k) {
        const std::uint64_t below = adjacent[k] & (empty >> shifts[k]);
        const std::uint64_t above = (adjacent[k] & empty) << shifts[k];
        two |= (one & below) | (one & above) | (below & above);
        one |= below | above;
    }
    // Without a branch on the way: most calls end here, and which way is hard to guess.
    std::uint64_t walled = empty & ~one;
    const std::uint64_t single = empty & ~two;
    for (int k = 0; k < classes; ++k) walled |= single & adjacent[k] & (single >> shifts[k]);
    return walled == 0;
}

// A start of the search: the anchor piece in one place of its class, or nothing placed
// when the outline has no symmetry.
struct PentominoSolver::Start {
    std::uint64_t filled;
    std::uint32_t remaining;
    int place;                  // the anchor's place, or -1
    const AnchorClass* anchor;  // nullptr when there is no anchor
};

// A piece of work for one thread: a start and the first pieces placed after it, in the
// order a search on one thread would place them.
struct PentominoSolver::Work {
    std::uint64_t filled;
    std::uint32_t remaining;
    int start;
    int depth;
    std::array<std::uint16_t, kPieces> chosen;
};

// The state of one depth-first search. It reads the solver's tables and writes only
// itself, so each thread runs its own.
struct PentominoSolver::Search {
    explicit Search(const PentominoSolver& solver)
        : masks(solver.masks_.data()),
          pieceOf(solver.pieceOf_.data()),
          cellStart(solver.cellStart_.data()),
          choice(solver.choice_.data()),
          nibbles(solver.windowNibbles_),
          adjacent(solver.adjacent_.data()),
          shifts(solver.shifts_.data()),
          classes(static_cast<int>(solver.shifts_.size())),
          cancel(solver.cancel_) {}

    const std::uint64_t* masks;
    const std::uint8_t* pieceOf;
    const std::uint16_t* cellStart;
    const std::uint64_t* choice;
    int nibbles;
    const std::uint64_t* adjacent;
    const int* shifts;
    int classes;
    const std::atomic<bool>* cancel;
    // Shared by the threads of one search: work after *finish is no longer wanted.
    const std::atomic<int>* finish = nullptr;
    int work = 0;

    int chosen[kPieces] = {};
    int depth = 0;
    std::uint64_t found = 0;
    std::uint64_t nodes = 0;
    bool stop = false;
    std::function<bool(const int* chosen, int depth)> leaf;
    std::uint64_t budget = UINT64_MAX;  // nodes a visiting search may take before it stops

    // The places that may cover the lowest empty cell, in search order; returns how many.
    // A few table lookups pick those of the pieces left that miss the filled cells; only
    // they are then tested for pockets.
    int Children(std::uint64_t filled, std::uint32_t remaining, int* out) const {
        const int low = std::countr_one(filled);
        const std::uint64_t* table = choice + static_cast<std::ptrdiff_t>(low) * (3 + nibbles) * 16;
        std::uint64_t fit = table[remaining & 15] | table[16 + (remaining >> 4 & 15)] |
                            table[32 + (remaining >> 8 & 15)];
        const std::uint64_t after = filled >> (low + 1);
        for (int q = 0; q < nibbles; ++q) fit &= table[(3 + q) * 16 + (after >> 4 * q & 15)];
        return classes == 2 ? WithoutPockets<2>(filled, fit, cellStart[low], out)
                            : WithoutPockets<0>(filled, fit, cellStart[low], out);
    }

    // The places of fit (bit b for place first + b) that leave no pocket, into out.
    template <int kClasses>
    int WithoutPockets(std::uint64_t filled, std::uint64_t fit, int first, int* out) const {
        int n = 0;
        for (; fit != 0; fit &= fit - 1) {
            const int k = first + std::countr_zero(fit);
            out[n] = k;
            n += NoPockets<kClasses>(filled | masks[k], adjacent, shifts, classes);
        }
        return n;
    }

    bool Halted() const {
        return (cancel && cancel->load(std::memory_order_relaxed)) ||
               (finish && finish->load(std::memory_order_relaxed) < work);
    }

    // Fills the lowest empty cell in every way the remaining pieces allow. Cells above the
    // outline's count are set from the start, so a full mask is a tiling.
    template <bool kVisit>
    void Run(std::uint64_t filled, std::uint32_t remaining) {
        ++nodes;
        if (Halted() || (kVisit && nodes > budget)) {
            stop = true;
            return;
        }
        if (filled == ~std::uint64_t{0}) {
            ++found;
            if constexpr (kVisit) stop = !leaf(chosen, depth);
            return;
        }
        int next[64];
        const int count = Children(filled, remaining, next);
        for (int i = 0; i < count; ++i) {
            const int k = next[i];
            chosen[depth++] = k;
            Run<kVisit>(filled | masks[k], remaining & ~(1u << pieceOf[k]));
            --depth;
            if (stop) return;
        }
    }

    // Runs from a piece of work, its pieces already placed.
    template <bool kVisit>
    void Run(const Work& w) {
        for (depth = 0; depth < w.depth; ++depth) chosen[depth] = w.chosen[depth];
        Run<kVisit>(w.filled, w.remaining);
    }
};

}  // namespace kv
