// Covering an outline with the game's pieces: exact cover by depth-first search over
// 64-bit masks of the outline's own cells. Used by the outline tool, its tests and the
// benchmarks; the game itself never solves anything.
#pragma once

#include <array>
#include <atomic>
#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kv {

struct BoardCell {
    int column = 0;
    int row = 0;
    auto operator<=>(const BoardCell&) const = default;
};

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
};

// Pieces by number 1..12; available[p] says piece p may be used. Every available piece is
// used at most once and every cell of the outline exactly once; available pieces that the
// cell count leaves over stay unused (with 60 - 5n cells and 12 - n pieces every one is
// used).
class PentominoSolver {
  public:
    PentominoSolver(const std::vector<BoardCell>& cells, const std::array<bool, 13>& available);

    std::optional<Tiling> First() const;
    SolutionCount Count() const;
    // Calls visit with every tiling until it returns false; returns how many it was given.
    std::uint64_t ForEach(const std::function<bool(const Tiling&)>& visit) const;

    // Lets another thread cut a search short: once *stop is true, First returns nothing,
    // ForEach stops visiting and Count returns what it has, which callers must discard.
    void SetStop(const std::atomic<bool>* stop) { cancel_ = stop; }

    int Symmetries() const { return static_cast<int>(symmetries_.size()); }
    int CellCount() const { return static_cast<int>(cells_.size()); }

  private:
    struct Place {
        std::uint64_t mask;
        std::uint64_t around;  // outline cells next to the piece
        int piece;
        int orientation;
        int column;
        int row;
    };
    struct Search;
    // A class of places of the anchor piece that symmetries of the outline map onto each
    // other, given by its smallest mask.
    struct AnchorClass {
        int place;                    // index into places_
        std::vector<int> stabiliser;  // symmetries keeping it in place, identity first
        std::vector<int> images;      // one symmetry to each place of the class, identity first
    };

    std::vector<AnchorClass> Classes(int anchor) const;
    int PlaceOf(int piece, std::uint64_t mask) const;

    int Anchor(std::uint32_t available) const;
    Tiling ToTiling(const std::vector<int>& chosen) const;
    std::uint64_t Transform(int symmetry, std::uint64_t mask) const;

    std::vector<BoardCell> cells_;           // in search order: along the shorter side first
    std::vector<Place> places_;              // grouped by lowest cell, then by piece
    std::vector<std::uint64_t> neighbours_;  // of each cell, among the outline's cells
    // First place of (cell i, piece p) is places_[bucket_[i * 12 + p - 1]].
    std::vector<std::uint32_t> bucket_;
    std::uint32_t availableMask_ = 0;  // bit p - 1 for piece p
    bool solvable_ = true;             // false when the cell count alone rules out a tiling
    // Cell permutations of the symmetries that map the outline onto itself; [0] is identity.
    std::vector<std::vector<int>> symmetries_;
    const std::atomic<bool>* cancel_ = nullptr;
};

// The outline's bounding box drawn with each piece's letter (XITUVWZLNYFP), '.' elsewhere.
std::vector<std::string> DrawTiling(const std::vector<BoardCell>& cells, const Tiling& tiling);

// Letter of piece p, 1..12.
char PieceLetter(int piece);

}  // namespace kv
