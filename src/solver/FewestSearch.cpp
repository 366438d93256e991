// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The fewest-places search for one tiling, for outlines the fixed order takes too long on.
#include <atomic>
#include <bit>
#include <climits>

#include "solver/Solver.h"
#include "solver/SolverThreads.h"

namespace kv {

using solver_threads::Share;

// The places over each cell, in table order: cover[coverFrom[i]..coverFrom[i + 1]). Built
// only when the fewest-places search runs, as few outlines need it.
struct PentominoSolver::FewestTables {
    explicit FewestTables(const PentominoSolver& solver) {
        const auto& masks = solver.masks_;
        const int n = solver.CellCount();
        coverFrom.assign(n + 1, 0);
        for (const std::uint64_t mask : masks) {
            for (std::uint64_t m = mask; m != 0; m &= m - 1) ++coverFrom[std::countr_zero(m) + 1];
        }
        for (int i = 0; i < n; ++i) coverFrom[i + 1] += coverFrom[i];
        cover.resize(coverFrom[n]);
        std::vector<int> fill(coverFrom.begin(), coverFrom.end() - 1);
        for (std::size_t k = 0; k < masks.size(); ++k) {
            for (std::uint64_t m = masks[k]; m != 0; m &= m - 1) {
                cover[fill[std::countr_zero(m)]++] = static_cast<std::uint16_t>(k);
            }
        }
    }
    std::vector<int> coverFrom;
    std::vector<std::uint16_t> cover;
};

// A search for one tiling that takes, at each step, the empty cell with the fewest places
// left or, when every piece left must be used, the piece with the fewest. A cell or a piece
// with none left ends the branch, and so does an empty region that no whole number of
// pieces fills. Each node counts the places afresh: dearer than a step in fixed order,
// but on a ragged region it needs a few hundred of them where the fixed order needs
// thousands.
struct PentominoSolver::FewestSearch {
    FewestSearch(const PentominoSolver& solver, const FewestTables& tables)
        : masks(solver.masks_.data()),
          pieceOf(solver.pieceOf_.data()),
          firstOf(solver.cellStart_.data()),
          cover(tables.cover.data()),
          coverFrom(tables.coverFrom.data()),
          neighbours(solver.neighbours_.data()),
          cancel(solver.cancel_) {}

    // Places covering one cell, or one piece's places when fewer: no
    // more than 63 shapes times 5 cells.
    static constexpr int kMostChildren = 320;
    static constexpr int kCountBits = 9;

    const std::uint64_t* masks;
    const std::uint8_t* pieceOf;
    const std::uint16_t* firstOf;  // the solver's cellStart_
    const std::uint16_t* cover;
    const int* coverFrom;
    const std::uint64_t* neighbours;
    const std::atomic<bool>* cancel;
    const std::atomic<int>* finish = nullptr;  // as in Search
    int work = 0;

    int chosen[kPieces] = {};
    int depth = 0;
    bool stop = false;

    bool Halted() const {
        return (cancel && cancel->load(std::memory_order_relaxed)) ||
               (finish && finish->load(std::memory_order_relaxed) < work);
    }

    // Every piece has five cells, so every empty region must hold a multiple of five.
    bool RegionsFillable(std::uint64_t filled) const {
        for (std::uint64_t empty = ~filled; empty != 0;) {
            std::uint64_t region = empty & (~empty + 1);
            for (std::uint64_t frontier = region; frontier != 0;) {
                const std::uint64_t more = neighbours[std::countr_zero(frontier)] & empty & ~region;
                frontier = (frontier & (frontier - 1)) | more;
                region |= more;
            }
            if (std::popcount(region) % 5 != 0) return false;
            empty &= ~region;
        }
        return true;
    }

    // The places to try next, in the order of the solver's tables; returns how many.
    int Children(std::uint64_t filled, std::uint32_t remaining, int* out) const {
        // How many free places lie over each cell, as binary numbers written across masks:
        // bit j of cell i's count is bit i of count[j]. No cell lies under 512 places.
        std::uint64_t count[kCountBits] = {};
        int forPiece[kPieces] = {};
        const std::uint64_t* const mask = masks;
        const std::uint8_t* const piece = pieceOf;
        // Places lie grouped by their lowest cell: those of a filled one are all taken.
        for (std::uint64_t empty = ~filled; empty != 0; empty &= empty - 1) {
            const int i = std::countr_zero(empty);
            for (int k = firstOf[i], end = firstOf[i + 1]; k < end; ++k) {
                if (!(remaining >> piece[k] & 1u) || (mask[k] & filled) != 0) continue;
                ++forPiece[piece[k]];
                for (std::uint64_t carry = mask[k], *bit = count; carry != 0; ++bit) {
                    const std::uint64_t next = *bit & carry;
                    *bit ^= carry;
                    carry = next;
                }
            }
        }
        // The empty cells with the fewest places, found from the highest bit down; their
        // count read off the lowest of them.
        const std::uint64_t empty = ~filled;
        std::uint64_t least = empty;
        for (int j = kCountBits - 1; j >= 0; --j) {
            if ((least & ~count[j]) != 0) least &= ~count[j];
        }
        const int cell = std::countr_zero(least);
        int fewest = 0;
        for (int j = 0; j < kCountBits; ++j) fewest |= static_cast<int>(count[j] >> cell & 1u) << j;
        if (fewest == 0) return 0;  // a cell no piece left can cover
        // With no piece to spare, every piece left must find a place; one with no more places
        // than any cell goes next.
        int chosenPiece = -1;
        if (5 * std::popcount(remaining) == std::popcount(empty)) {
            for (std::uint32_t left = remaining; left != 0; left &= left - 1) {
                const int p = std::countr_zero(left);
                if (forPiece[p] == 0) return 0;
                if (forPiece[p] <= fewest) {
                    fewest = forPiece[p] - 1;  // ties go to the first piece found
                    chosenPiece = p;
                }
            }
        }
        int n = 0;
        auto consider = [&](int k) {
            if (!(remaining >> pieceOf[k] & 1u) || (masks[k] & filled) != 0) return;
            if (RegionsFillable(filled | masks[k])) out[n++] = k;
        };
        if (chosenPiece < 0) {
            for (int j = coverFrom[cell]; j < coverFrom[cell + 1]; ++j) consider(cover[j]);
            return n;
        }
        for (std::uint64_t empty = ~filled; empty != 0; empty &= empty - 1) {
            const int i = std::countr_zero(empty);
            for (int k = firstOf[i], end = firstOf[i + 1]; k < end; ++k) {
                if (pieceOf[k] == chosenPiece) consider(k);
            }
        }
        return n;
    }

    // True once every cell is filled; chosen[0..depth) then holds the tiling.
    bool Run(std::uint64_t filled, std::uint32_t remaining) {
        if (Halted()) {
            stop = true;
            return false;
        }
        if (filled == ~std::uint64_t{0}) return true;
        int next[kMostChildren];
        const int count = Children(filled, remaining, next);
        for (int i = 0; i < count; ++i) {
            chosen[depth++] = next[i];
            if (Run(filled | masks[next[i]], remaining & ~(1u << pieceOf[next[i]]))) return true;
            --depth;
            if (stop) return false;
        }
        return false;
    }
};

// The first step's places are shared out as pieces of work; as in First, the earliest
// piece holding a tiling wins, so every thread count gives the tiling one thread finds.
std::optional<Tiling> PentominoSolver::FirstByFewest(int threads) const {
    const std::uint64_t start = ~(~std::uint64_t{0} >> (64 - cells_.size()));
    const FewestTables tables(*this);
    const FewestSearch root(*this, tables);
    if (!root.RegionsFillable(start)) return std::nullopt;
    int next[FewestSearch::kMostChildren];
    const int count = root.Children(start, availableMask_, next);
    std::atomic<int> finish{INT_MAX};
    std::vector<Tiling> firsts(static_cast<std::size_t>(count));
    Share(threads, static_cast<std::size_t>(count), [&](std::size_t i) {
        const int index = static_cast<int>(i);
        if (finish.load(std::memory_order_relaxed) < index) return;
        FewestSearch search(*this, tables);
        search.finish = &finish;
        search.work = index;
        search.chosen[search.depth++] = next[i];
        if (!search.Run(start | masks_[next[i]], availableMask_ & ~(1u << pieceOf_[next[i]]))) {
            return;
        }
        firsts[i] = ToTiling(search.chosen, search.depth);
        for (int seen = finish.load(); seen > index;) {
            if (finish.compare_exchange_weak(seen, index)) break;
        }
    });
    if (cancel_ && cancel_->load()) return std::nullopt;
    const int f = finish.load();
    if (f >= count) return std::nullopt;
    return firsts[static_cast<std::size_t>(f)];
}

}  // namespace kv
