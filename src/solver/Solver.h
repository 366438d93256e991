// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Covering an outline with the game's pieces: exact cover by depth-first search over
// 64-bit masks of the outline's own cells, on one thread or several. Used by the game's
// hint and solution and by its outline editor, by the outline tool, the tests and the
// benchmarks.
#pragma once

#include <array>
#include <atomic>
#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "solver/Bounds.h"
#include "solver/PieceTable.h"

namespace kv {

// One piece of a tiling: its orientation (1..8) and where its reference cell stands.
struct PiecePlacement {
    int piece = 0;
    int orientation = 0;
    int column = 0;
    int row = 0;
};

using Tiling = std::vector<PiecePlacement>;  // ordered by piece number

struct SolutionCount {
    std::uint64_t all = 0;           // every tiling, mirror images and turns counted apart
    std::uint64_t upToSymmetry = 0;  // tilings that no symmetry of the outline maps onto another
    int symmetries = 1;              // size of the outline's symmetry group, 1..8
    std::uint64_t nodes = 0;         // pieces the search placed on the way, for measuring it
};

// Pieces by number 1..12; available[p] says piece p may be used. Every available piece is
// used at most once and every cell of the outline exactly once; available pieces that the
// cell count leaves over stay unused (with 60 - 5n cells and 12 - n pieces every one is
// used).
//
// Every search takes a thread count: 1 searches on the calling thread only, n > 1 shares the
// search among the calling thread and n - 1 more (fewer if the system has no more to give),
// and 0 or less means one per core. The solver's tables are read-only once built, so one
// solver may serve several searches at once. It reads only the constant piece table, so it
// may be built on any thread.
class PentominoSolver {
  public:
    PentominoSolver(const std::vector<BoardCell>& cells, const std::array<bool, 13>& available);

    // The same tiling for every thread count: the first one a search on one thread finds.
    // Nothing when there is none; proving that is the longest search of all. On a full
    // rectangle the cells are filled in order, as when counting; on any other outline (an
    // outline less the pieces already laid, a drawing being checked) each step takes the
    // cell with the fewest places left, or the piece with the fewest, which finds out a
    // dead end within a few hundred steps where the fixed order may take many thousands.
    std::optional<Tiling> First(int threads = 1) const;
    SolutionCount Count(int threads = 1) const;
    // Calls visit with every tiling until it returns false; returns how many it was given.
    // With several threads visit is called from any of them, one call at a time, and the
    // order of the tilings differs from run to run.
    std::uint64_t ForEach(const std::function<bool(const Tiling&)>& visit, int threads = 1) const;

    // Lets another thread cut a search short: once *stop is true, First returns nothing,
    // ForEach stops visiting and Count returns what it has, which callers must discard.
    void SetStop(const std::atomic<bool>* stop) { cancel_ = stop; }
    // How many steps First takes in fixed order on an outline other than a rectangle before
    // it turns to the fewest-places search; tests set 0 to reach that search on small ones.
    void SetFixedOrderSteps(std::uint64_t steps) { fixedOrderSteps_ = steps; }

    int Symmetries() const { return static_cast<int>(symmetries_.size()); }
    int CellCount() const { return static_cast<int>(cells_.size()); }

  private:
    struct Place {
        int piece;
        int orientation;
        int column;
        int row;
    };
    struct Search;
    struct FewestSearch;
    struct FewestTables;
    struct Start;
    struct Work;
    struct Grid;
    // A class of places of the anchor piece that symmetries of the outline map onto each
    // other, given by its smallest mask.
    struct AnchorClass {
        int place;                    // index into places_
        std::vector<int> stabiliser;  // symmetries keeping it in place, identity first
        std::vector<int> images;      // one symmetry to each place of the class, identity first
    };

    // The constructor's steps, in order; the last two only when the cell count allows a
    // tiling.
    void FindSymmetries(const Grid& grid);
    void FindAdjacency(const Grid& grid);
    void FindPlaces(const Grid& grid);
    void BuildChoiceTables();

    std::vector<AnchorClass> Classes(int anchor) const;
    int PlaceOf(int piece, std::uint64_t mask) const;

    int Anchor(std::uint32_t available) const;
    Tiling ToTiling(const int* chosen, int count) const;
    std::uint64_t Transform(int symmetry, std::uint64_t mask) const;
    std::vector<Start> Starts(std::vector<AnchorClass>& classes) const;
    std::vector<Work> Split(const std::vector<Start>& starts, int threads) const;
    std::optional<Tiling> FirstByFewest(int threads) const;

    std::vector<BoardCell> cells_;  // in search order: along the shorter side first
    // The places of the pieces, grouped by lowest cell: the cells each covers, the piece,
    // and where it stands.
    std::vector<std::uint64_t> masks_;
    std::vector<std::uint8_t> pieceOf_;
    std::vector<Place> places_;
    // The places whose lowest cell is i: from cellStart_[i] to cellStart_[i + 1], at most 63,
    // first those that cover i's last neighbour but not the next cell, then neither, then
    // the next cell only, then both (see PentominoSolver::Search).
    std::vector<std::uint16_t> cellStart_;
    // For each cell i, its places as bits of a mask, bit b for place cellStart_[i] + b: 3
    // tables of 16 picking those of the pieces left, four pieces to a table, then one table
    // per four cells after i picking those that miss the filled ones.
    std::vector<std::uint64_t> choice_;
    int windowNibbles_ = 0;  // tables of four cells: to the farthest any place reaches
    // Neighbouring cells i and i + shifts_[k] for every bit i of adjacent_[k]: the
    // outline's adjacency as a few shifts of whole masks.
    std::vector<std::uint64_t> adjacent_;
    std::vector<int> shifts_;
    std::vector<std::uint64_t> neighbours_;  // of each cell
    bool rectangle_ = false;                 // the outline fills its bounding box
    std::uint32_t availableMask_ = 0;        // bit p - 1 for piece p
    bool solvable_ = true;                   // false when the cell count alone rules out a tiling
    // Cell permutations of the symmetries that map the outline onto itself; [0] is identity.
    std::vector<std::vector<int>> symmetries_;
    const std::atomic<bool>* cancel_ = nullptr;
    // Every shipped outline finishes in fixed order within 20,000 steps; few enough that
    // a proof of no tiling for a hint still takes milliseconds.
    std::uint64_t fixedOrderSteps_ = 150000;
};

// The outline's bounding box drawn with each piece's letter (XITUVWZLNYFP), '.' elsewhere.
std::vector<std::string> DrawTiling(const std::vector<BoardCell>& cells, const Tiling& tiling);

// Letter of piece p, 1..12.
char PieceLetter(int piece);

}  // namespace kv
