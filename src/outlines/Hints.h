// What the game's hint and solution commands know: which pieces lie well, a tiling of the
// outline that keeps them, and, when none does, the fewest of them to take away. Qt-free;
// used by Podskazka and ShowReshenie (src/model/Podskazka.cpp), their tests and bench_hint.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "outlines/Solver.h"

namespace kv {

// The board as a hint sees it.
struct HintPosition {
    std::vector<BoardCell> outline;           // the outline's cells
    std::array<bool, 13> inPlay{};            // [p]: the outline uses piece p
    std::array<PiecePlacement, 13> pieces{};  // [p]: where piece p stands, orientation 1..8
};

// Pieces in play that lie wholly inside the outline and overlap no other piece in play.
std::array<bool, 13> WellPlaced(const HintPosition& position);

// Tilings of an outline by all the pieces in play, some of them kept where they lie. It
// fills the cell with the fewest ways left, or places the piece with the fewest places left,
// so a wrong piece is found out within a few hundred steps: filling cells in a fixed order,
// as PentominoSolver does, can take seconds to prove that no tiling keeps it.
class KeepingSearch {
  public:
    KeepingSearch(const std::vector<BoardCell>& outline, const std::array<bool, 13>& inPlay);

    // A tiling by every piece in play (ordered by piece number) in which each piece p with
    // keep[p] covers the cells it covers in pieces[p]. Empty when there is none: the outline
    // holds no 5 cells per piece in play, or has more than 60 cells, a kept piece leaves the
    // outline or overlaps another kept piece, or the pieces do not fit.
    std::vector<PiecePlacement> Solve(const std::array<PiecePlacement, 13>& pieces,
                                      const std::array<bool, 13>& keep);
    // Search steps taken since construction.
    std::uint64_t Nodes() const { return nodes_; }

  private:
    struct Place {
        std::uint64_t mask;
        int piece, orientation, column, row;
    };
    int IndexOf(int column, int row) const;
    std::uint64_t MaskOf(const PiecePlacement& placement) const;  // 0 when it leaves the outline
    bool RegionsFillable(std::uint64_t filled) const;
    bool Run(std::uint64_t filled, std::uint32_t remaining);

    std::vector<BoardCell> cells_;
    int minC_ = 0, minR_ = 0, width_ = 0, height_ = 0;
    std::vector<int> index_;  // cell index by (row - minR_) * width_ + column - minC_, or -1
    std::vector<std::uint64_t> neighbours_;
    std::vector<Place> places_;  // every place of every piece in play, distinct cell sets
    std::uint32_t inPlay_ = 0;   // bit p for piece p
    std::uint64_t full_ = 0;
    bool possible_ = true;
    std::vector<int> chosen_;
    std::uint64_t nodes_ = 0;
};

struct HintPlan {
    // A tiling by every piece in play, ordered by piece number, keeping every well-placed
    // piece not in remove. Empty when the outline has no tiling at all.
    std::vector<PiecePlacement> solution;
    // A smallest set of well-placed pieces without which a tiling keeps the rest, ascending;
    // of several such sets the one whose lowest pieces are lowest. Empty when the solution
    // keeps every well-placed piece.
    std::vector<int> remove;
};

HintPlan PlanHint(const HintPosition& position);

}  // namespace kv
