#include "outlines/Hints.h"

#include <algorithm>
#include <bit>
#include <map>

#include "model/Model.h"

namespace kv {

namespace {

BoardCell CellOf(const PiecePlacement& t, int k) {
    return {t.column + PieceCells[t.piece][k][t.orientation][0],
            t.row + PieceCells[t.piece][k][t.orientation][1]};
}

bool Orientable(const PiecePlacement& t) {
    return t.orientation >= 1 && t.orientation <= 8;
}

}  // namespace

std::array<bool, 13> WellPlaced(const HintPosition& position) {
    std::map<BoardCell, int> outline, covered;  // covered: how many pieces in play lie there
    for (const BoardCell& c : position.outline) outline[c] = 1;
    for (int p = 1; p <= kPieces; ++p) {
        if (!position.inPlay[p] || !Orientable(position.pieces[p])) continue;
        for (int k = 0; k < 5; ++k) ++covered[CellOf(position.pieces[p], k)];
    }
    std::array<bool, 13> well{};
    for (int p = 1; p <= kPieces; ++p) {
        if (!position.inPlay[p] || !Orientable(position.pieces[p])) continue;
        well[p] = true;
        for (int k = 0; k < 5 && well[p]; ++k) {
            const BoardCell c = CellOf(position.pieces[p], k);
            well[p] = outline.count(c) != 0 && covered[c] == 1;
        }
    }
    return well;
}

KeepingSearch::KeepingSearch(const std::vector<BoardCell>& outline,
                             const std::array<bool, 13>& inPlay) {
    cells_ = outline;
    std::sort(cells_.begin(), cells_.end());
    cells_.erase(std::unique(cells_.begin(), cells_.end()), cells_.end());
    for (int p = 1; p <= kPieces; ++p) {
        if (inPlay[p]) inPlay_ |= 1u << p;
    }
    const int n = static_cast<int>(cells_.size());
    possible_ = n <= 60 && n == 5 * std::popcount(inPlay_);
    if (!possible_ || n == 0) return;
    full_ = (std::uint64_t{1} << n) - 1;

    int maxC = cells_[0].column, maxR = cells_[0].row;
    minC_ = maxC;
    minR_ = maxR;
    for (const BoardCell& c : cells_) {
        minC_ = std::min(minC_, c.column);
        minR_ = std::min(minR_, c.row);
        maxC = std::max(maxC, c.column);
        maxR = std::max(maxR, c.row);
    }
    width_ = maxC - minC_ + 1;
    height_ = maxR - minR_ + 1;
    index_.assign(static_cast<std::size_t>(width_) * height_, -1);
    for (int i = 0; i < n; ++i) {
        index_[static_cast<std::size_t>(cells_[i].row - minR_) * width_ + cells_[i].column -
               minC_] = i;
    }
    neighbours_.assign(n, 0);
    for (int i = 0; i < n; ++i) {
        const BoardCell c = cells_[i];
        for (const int j : {IndexOf(c.column - 1, c.row), IndexOf(c.column + 1, c.row),
                            IndexOf(c.column, c.row - 1), IndexOf(c.column, c.row + 1)}) {
            if (j >= 0) neighbours_[i] |= std::uint64_t{1} << j;
        }
    }
    // Every orientation at every reference cell; the reference cell is one of the piece's
    // own cells, so this meets every place. Turns that give the same cells count once.
    for (int p = 1; p <= kPieces; ++p) {
        if (!inPlay[p]) continue;
        const std::size_t first = places_.size();
        for (int o = 1; o <= 8; ++o) {
            for (const BoardCell& c : cells_) {
                const std::uint64_t mask = MaskOf({p, o, c.column, c.row});
                if (mask == 0) continue;
                const bool seen = std::any_of(places_.begin() + first, places_.end(),
                                              [mask](const Place& x) { return x.mask == mask; });
                if (!seen) places_.push_back({mask, p, o, c.column, c.row});
            }
        }
    }
}

int KeepingSearch::IndexOf(int column, int row) const {
    if (column < minC_ || row < minR_ || column >= minC_ + width_ || row >= minR_ + height_) {
        return -1;
    }
    return index_[static_cast<std::size_t>(row - minR_) * width_ + column - minC_];
}

std::uint64_t KeepingSearch::MaskOf(const PiecePlacement& placement) const {
    if (!Orientable(placement) || placement.piece < 1 || placement.piece > kPieces) return 0;
    std::uint64_t mask = 0;
    for (int k = 0; k < 5; ++k) {
        const BoardCell c = CellOf(placement, k);
        const int i = IndexOf(c.column, c.row);
        if (i < 0) return 0;
        mask |= std::uint64_t{1} << i;
    }
    return mask;
}

// Every empty region must hold a whole number of pieces.
bool KeepingSearch::RegionsFillable(std::uint64_t filled) const {
    for (std::uint64_t empty = full_ & ~filled; empty != 0;) {
        std::uint64_t region = empty & (~empty + 1);
        for (std::uint64_t frontier = region; frontier != 0;) {
            const std::uint64_t more = neighbours_[std::countr_zero(frontier)] & empty & ~region;
            frontier = (frontier & (frontier - 1)) | more;
            region |= more;
        }
        if (std::popcount(region) % 5 != 0) return false;
        empty &= ~region;
    }
    return true;
}

bool KeepingSearch::Run(std::uint64_t filled, std::uint32_t remaining) {
    ++nodes_;
    if (remaining == 0) return filled == full_;
    // How many places are left for each remaining piece and over each empty cell.
    int forPiece[kPieces + 1] = {};
    int forCell[64] = {};
    for (const Place& x : places_) {
        if (!(remaining >> x.piece & 1u) || (x.mask & filled)) continue;
        ++forPiece[x.piece];
        for (std::uint64_t m = x.mask; m != 0; m &= m - 1) ++forCell[std::countr_zero(m)];
    }
    int piece = 0, cell = -1, fewest = 1 << 30;
    for (std::uint32_t left = remaining; left != 0; left &= left - 1) {
        const int p = std::countr_zero(left);
        if (forPiece[p] == 0) return false;
        if (forPiece[p] < fewest) {
            fewest = forPiece[p];
            piece = p;
        }
    }
    for (std::uint64_t empty = full_ & ~filled; empty != 0; empty &= empty - 1) {
        const int i = std::countr_zero(empty);
        if (forCell[i] == 0) return false;
        if (forCell[i] < fewest) {
            fewest = forCell[i];
            cell = i;
            piece = 0;
        }
    }
    const std::uint64_t cellBit = cell >= 0 ? std::uint64_t{1} << cell : 0;
    for (std::size_t k = 0; k < places_.size(); ++k) {
        const Place& x = places_[k];
        if (!(remaining >> x.piece & 1u) || (x.mask & filled)) continue;
        if (piece != 0 ? x.piece != piece : !(x.mask & cellBit)) continue;
        if (!RegionsFillable(filled | x.mask)) continue;
        chosen_.push_back(static_cast<int>(k));
        if (Run(filled | x.mask, remaining & ~(1u << x.piece))) return true;
        chosen_.pop_back();
    }
    return false;
}

std::vector<PiecePlacement> KeepingSearch::Solve(const std::array<PiecePlacement, 13>& pieces,
                                                 const std::array<bool, 13>& keep) {
    if (!possible_) return {};
    std::uint64_t filled = 0;
    std::uint32_t remaining = inPlay_;
    std::vector<PiecePlacement> tiling;
    for (int p = 1; p <= kPieces; ++p) {
        if (!keep[p] || !(inPlay_ >> p & 1u)) continue;
        const std::uint64_t mask = MaskOf(pieces[p]);
        if (mask == 0 || (mask & filled)) return {};
        filled |= mask;
        remaining &= ~(1u << p);
        tiling.push_back(pieces[p]);
    }
    chosen_.clear();
    if (!RegionsFillable(filled) || !Run(filled, remaining)) return {};
    for (const int k : chosen_) {
        const Place& x = places_[k];
        tiling.push_back({x.piece, x.orientation, x.column, x.row});
    }
    std::sort(tiling.begin(), tiling.end(),
              [](const PiecePlacement& a, const PiecePlacement& b) { return a.piece < b.piece; });
    return tiling;
}

HintPlan PlanHint(const HintPosition& position) {
    HintPlan plan;
    KeepingSearch search(position.outline, position.inPlay);
    const std::array<bool, 13> well = WellPlaced(position);
    plan.solution = search.Solve(position.pieces, well);
    if (!plan.solution.empty()) return plan;
    // Without a tiling of the bare outline no choice of pieces to take away would help.
    const std::vector<PiecePlacement> any = search.Solve(position.pieces, {});
    if (any.empty()) return plan;

    std::vector<int> placed;
    for (int p = 1; p <= kPieces; ++p) {
        if (well[p]) placed.push_back(p);
    }
    const int m = static_cast<int>(placed.size());
    // Smaller sets first, each size in lexicographic order, so the first set that works
    // is a smallest one with the lowest pieces.
    for (int size = 1; size < m; ++size) {
        std::vector<int> pick(size);
        for (int i = 0; i < size; ++i) pick[i] = i;
        while (true) {
            std::array<bool, 13> keep = well;
            for (const int i : pick) keep[placed[i]] = false;
            plan.solution = search.Solve(position.pieces, keep);
            if (!plan.solution.empty()) {
                for (const int i : pick) plan.remove.push_back(placed[i]);
                return plan;
            }
            int i = size - 1;
            while (i >= 0 && pick[i] == m - size + i) --i;
            if (i < 0) break;
            ++pick[i];
            for (int j = i + 1; j < size; ++j) pick[j] = pick[j - 1] + 1;
        }
    }
    plan.solution = any;
    plan.remove = placed;
    return plan;
}

}  // namespace kv
