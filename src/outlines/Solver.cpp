#include "outlines/Solver.h"

#include <algorithm>
#include <bit>

#include "model/Model.h"

namespace kv {

namespace {

struct Shape {
    int orientation;
    std::array<BoardCell, 5> offsets;
};

// The piece table is built once by the game at start-up; a tool or a test may come here
// first. The table is constant, so building it again changes nothing.
void EnsurePieceSet() {
    if (PieceCells[2][0][1][0] != -2) BuildPieceSet();
}

// The smallest and largest column and row of a non-empty cell list.
struct CellBounds {
    int minC, maxC, minR, maxR;
};
CellBounds Bounds(const std::vector<BoardCell>& cells) {
    CellBounds b{cells[0].column, cells[0].column, cells[0].row, cells[0].row};
    for (const auto& c : cells) {
        b.minC = std::min(b.minC, c.column);
        b.maxC = std::max(b.maxC, c.column);
        b.minR = std::min(b.minR, c.row);
        b.maxR = std::max(b.maxR, c.row);
    }
    return b;
}

// Each piece's orientations with identical cell sets dropped (X has one, I two, ...).
const std::array<std::vector<Shape>, 13>& DistinctShapes() {
    static const std::array<std::vector<Shape>, 13> shapes = [] {
        EnsurePieceSet();
        std::array<std::vector<Shape>, 13> out;
        for (int p = 1; p <= kPieces; ++p) {
            std::vector<std::array<BoardCell, 5>> seen;
            for (int o = 1; o <= 8; ++o) {
                std::array<BoardCell, 5> offsets;
                for (int k = 0; k < 5; ++k)
                    offsets[k] = {PieceCells[p][k][o][0], PieceCells[p][k][o][1]};
                std::array<BoardCell, 5> normal = offsets;
                int minC = 99, minR = 99;
                for (const auto& c : normal) {
                    minC = std::min(minC, c.column);
                    minR = std::min(minR, c.row);
                }
                for (auto& c : normal) c = {c.column - minC, c.row - minR};
                std::sort(normal.begin(), normal.end());
                if (std::find(seen.begin(), seen.end(), normal) != seen.end()) continue;
                seen.push_back(normal);
                out[p].push_back({o, offsets});
            }
        }
        return out;
    }();
    return shapes;
}

// The eight symmetries of the square grid as maps of (x, y).
BoardCell Apply(int symmetry, BoardCell c) {
    const int x = c.column, y = c.row;
    switch (symmetry) {
        case 0:
            return {x, y};
        case 1:
            return {-y, x};
        case 2:
            return {-x, -y};
        case 3:
            return {y, -x};
        case 4:
            return {-x, y};
        case 5:
            return {x, -y};
        case 6:
            return {y, x};
        default:
            return {-y, -x};
    }
}

}  // namespace

char PieceLetter(int piece) {
    static constexpr char kLetters[] = "?XITUVWZLNYFP";
    return piece >= 1 && piece <= kPieces ? kLetters[piece] : '?';
}

PentominoSolver::PentominoSolver(const std::vector<BoardCell>& cells,
                                 const std::array<bool, 13>& available) {
    cells_ = cells;
    std::sort(cells_.begin(), cells_.end());
    cells_.erase(std::unique(cells_.begin(), cells_.end()), cells_.end());
    for (int p = 1; p <= kPieces; ++p) {
        if (available[p]) availableMask_ |= 1u << (p - 1);
    }
    const int n = static_cast<int>(cells_.size());
    if (n == 0) return;

    const auto [minC, maxC, minR, maxR] = Bounds(cells_);
    const int width = maxC - minC + 1, height = maxR - minR + 1;
    // Filling along the shorter side keeps the ragged edge of the search short.
    if (width < height) {
        std::sort(cells_.begin(), cells_.end(), [](const BoardCell& a, const BoardCell& b) {
            return a.row != b.row ? a.row < b.row : a.column < b.column;
        });
    }
    std::vector<int> index(static_cast<std::size_t>(width) * height, -1);
    // Copied in: clang before 16 cannot capture structured bindings.
    auto at = [&, minC = minC, maxC = maxC, minR = minR, maxR = maxR](int column, int row) -> int {
        if (column < minC || column > maxC || row < minR || row > maxR) return -1;
        return index[static_cast<std::size_t>(row - minR) * width + (column - minC)];
    };
    for (int i = 0; i < n; ++i) {
        index[static_cast<std::size_t>(cells_[i].row - minR) * width + (cells_[i].column - minC)] =
            i;
    }

    // Symmetries of the outline: those that map its cell set, moved back to the same
    // corner, onto itself.
    for (int s = 0; s < 8; ++s) {
        std::vector<BoardCell> image(n);
        int imgC = 1 << 30, imgR = 1 << 30;
        for (int i = 0; i < n; ++i) {
            image[i] = Apply(s, cells_[i]);
            imgC = std::min(imgC, image[i].column);
            imgR = std::min(imgR, image[i].row);
        }
        std::vector<int> perm(n);
        bool maps = true;
        for (int i = 0; i < n && maps; ++i) {
            perm[i] = at(image[i].column - imgC + minC, image[i].row - imgR + minR);
            maps = perm[i] >= 0;
        }
        if (maps) symmetries_.push_back(std::move(perm));
    }

    if (n > 60 || n % 5 != 0 || n > 5 * std::popcount(availableMask_)) {
        solvable_ = false;
        return;
    }

    neighbours_.assign(n, 0);
    for (int i = 0; i < n; ++i) {
        const BoardCell c = cells_[i];
        for (const int j : {at(c.column - 1, c.row), at(c.column + 1, c.row),
                            at(c.column, c.row - 1), at(c.column, c.row + 1)}) {
            if (j >= 0) neighbours_[i] |= std::uint64_t{1} << j;
        }
    }
    std::vector<std::vector<Place>> buckets(static_cast<std::size_t>(n) * 12);
    const auto& shapes = DistinctShapes();
    for (int p = 1; p <= kPieces; ++p) {
        if (!available[p]) continue;
        for (const Shape& shape : shapes[p]) {
            for (int r = minR - 2; r <= maxR + 2; ++r) {
                for (int c = minC - 2; c <= maxC + 2; ++c) {
                    std::uint64_t mask = 0;
                    bool inside = true;
                    for (const auto& d : shape.offsets) {
                        const int i = at(c + d.column, r + d.row);
                        if (i < 0) {
                            inside = false;
                            break;
                        }
                        mask |= std::uint64_t{1} << i;
                    }
                    if (!inside) continue;
                    std::uint64_t around = 0;
                    for (std::uint64_t left = mask; left != 0; left &= left - 1) {
                        around |= neighbours_[std::countr_zero(left)];
                    }
                    buckets[std::countr_zero(mask) * 12 + (p - 1)].push_back(
                        {mask, around & ~mask, p, shape.orientation, c, r});
                }
            }
        }
    }
    bucket_.reserve(buckets.size() + 1);
    for (const auto& b : buckets) {
        bucket_.push_back(static_cast<std::uint32_t>(places_.size()));
        places_.insert(places_.end(), b.begin(), b.end());
    }
    bucket_.push_back(static_cast<std::uint32_t>(places_.size()));
}

struct PentominoSolver::Search {
    Search(const PentominoSolver& solver)
        : places(solver.places_.data()),
          bucket(solver.bucket_.data()),
          neighbours(solver.neighbours_.data()),
          cancel(solver.cancel_) {}

    const Place* places;
    const std::uint32_t* bucket;
    const std::uint64_t* neighbours;
    const std::atomic<bool>* cancel;
    int chosen[kPieces] = {};
    int depth = 0;
    std::uint64_t found = 0;
    bool stop = false;
    std::function<bool(const int* chosen, int depth)> leaf;

    // False when a piece just placed leaves a small empty region next to it that five-cell
    // pieces cannot fill. Regions above kLimit cells are left to the search: walking them
    // costs more than it saves.
    bool Fillable(std::uint64_t filled, std::uint64_t around) const {
        const std::uint64_t empty = ~filled;
        for (std::uint64_t border = around & empty; border != 0;) {
            std::uint64_t region = border & (~border + 1);
            int grown = 0;
            for (std::uint64_t frontier = region; frontier != 0 && grown < kLimit; ++grown) {
                const std::uint64_t more = neighbours[std::countr_zero(frontier)] & empty & ~region;
                frontier = (frontier & (frontier - 1)) | more;
                region |= more;
            }
            if (grown < kLimit && std::popcount(region) % 5 != 0) return false;
            border &= ~region;
        }
        return true;
    }
    static constexpr int kLimit = 8;

    // Fills the lowest empty cell in every way the remaining pieces allow. Cells above the
    // outline's count are set from the start, so a full mask is a tiling.
    template <bool kVisit>
    void Run(std::uint64_t filled, std::uint32_t remaining) {
        if (cancel && cancel->load(std::memory_order_relaxed)) {
            stop = true;
            return;
        }
        if (filled == ~std::uint64_t{0}) {
            ++found;
            if constexpr (kVisit) stop = !leaf(chosen, depth);
            return;
        }
        const std::uint32_t* b = bucket + std::countr_one(filled) * 12;
        for (std::uint32_t left = remaining; left != 0; left &= left - 1) {
            const int p = std::countr_zero(left);
            const std::uint32_t end = b[p + 1];
            for (std::uint32_t k = b[p]; k < end; ++k) {
                const std::uint64_t m = places[k].mask;
                if ((m & filled) || !Fillable(filled | m, places[k].around)) continue;
                chosen[depth++] = static_cast<int>(k);
                Run<kVisit>(filled | m, remaining & ~(1u << p));
                --depth;
                if (stop) return;
            }
        }
    }
};

Tiling PentominoSolver::ToTiling(const std::vector<int>& chosen) const {
    Tiling tiling;
    for (const int k : chosen) {
        const Place& place = places_[k];
        tiling.push_back({place.piece, place.orientation, place.column, place.row});
    }
    std::sort(tiling.begin(), tiling.end(),
              [](const PiecePlacement& a, const PiecePlacement& b) { return a.piece < b.piece; });
    return tiling;
}

std::uint64_t PentominoSolver::Transform(int symmetry, std::uint64_t mask) const {
    std::uint64_t out = 0;
    for (; mask != 0; mask &= mask - 1) {
        out |= std::uint64_t{1} << symmetries_[symmetry][std::countr_zero(mask)];
    }
    return out;
}

int PentominoSolver::Anchor(std::uint32_t avail) const {
    // X when it may be used: one orientation and the hardest piece to fit, so placing it
    // first cuts the search most. Otherwise the piece with the fewest placements.
    if (avail & 1u) return 1;
    int anchor = 0;
    std::size_t fewest = SIZE_MAX;
    for (std::uint32_t left = avail; left != 0; left &= left - 1) {
        const int p = std::countr_zero(left) + 1;
        const auto n = static_cast<std::size_t>(std::count_if(
            places_.begin(), places_.end(), [p](const Place& x) { return x.piece == p; }));
        if (n < fewest) {
            anchor = p;
            fewest = n;
        }
    }
    return anchor;
}

std::vector<PentominoSolver::AnchorClass> PentominoSolver::Classes(int anchor) const {
    std::vector<AnchorClass> classes;
    for (std::size_t k = 0; k < places_.size(); ++k) {
        if (places_[k].piece != anchor) continue;
        const std::uint64_t mask = places_[k].mask;
        AnchorClass c{static_cast<int>(k), {}, {}};
        std::vector<std::uint64_t> images;
        bool smallest = true;
        for (int s = 0; s < Symmetries() && smallest; ++s) {
            const std::uint64_t image = Transform(s, mask);
            if (image < mask) smallest = false;
            if (image == mask) c.stabiliser.push_back(s);
            if (std::find(images.begin(), images.end(), image) == images.end()) {
                images.push_back(image);
                c.images.push_back(s);
            }
        }
        if (smallest) classes.push_back(std::move(c));
    }
    return classes;
}

int PentominoSolver::PlaceOf(int piece, std::uint64_t mask) const {
    for (std::size_t k = bucket_[std::countr_zero(mask) * 12 + piece - 1];
         k < bucket_[std::countr_zero(mask) * 12 + piece]; ++k) {
        if (places_[k].mask == mask) return static_cast<int>(k);
    }
    return -1;
}

std::uint64_t PentominoSolver::ForEach(const std::function<bool(const Tiling&)>& visit) const {
    if (!solvable_) return 0;
    const int needed = static_cast<int>(cells_.size()) / 5;
    if (needed == 0) {
        visit({});
        return 1;
    }
    const std::uint64_t full = ~std::uint64_t{0} >> (64 - cells_.size());
    std::uint64_t visited = 0;
    bool stop = false;
    if (Symmetries() == 1) {
        // Without symmetries every anchor place would be searched, most of them far from
        // where the search starts; one search with the anchor among the others is quicker.
        Search search(*this);
        search.leaf = [&](const int* chosen, int depth) {
            ++visited;
            return visit(ToTiling(std::vector<int>(chosen, chosen + depth)));
        };
        search.Run<true>(~full, availableMask_);
        return visited;
    }
    // Each class of anchor places is searched at its smallest member only, and every
    // tiling found there is handed out in each of the class's places by the symmetries
    // that lead there. Besides sparing work, the smallest member lies where the search
    // starts, so it is also the cheapest one to search.
    for (std::uint32_t avail = availableMask_; std::popcount(avail) >= needed && !stop;) {
        const int anchor = Anchor(avail);
        const std::uint32_t rest = avail & ~(1u << (anchor - 1));
        for (const AnchorClass& c : Classes(anchor)) {
            Search search(*this);
            search.leaf = [&](const int* chosen, int depth) {
                for (const int s : c.images) {
                    std::vector<int> image(chosen, chosen + depth);
                    for (int& k : image)
                        k = PlaceOf(places_[k].piece, Transform(s, places_[k].mask));
                    ++visited;
                    if (!visit(ToTiling(image))) return false;
                }
                return true;
            };
            search.chosen[search.depth++] = c.place;
            search.Run<true>(~full | places_[c.place].mask, rest);
            if ((stop = search.stop)) break;
        }
        avail = rest;
    }
    return visited;
}

std::optional<Tiling> PentominoSolver::First() const {
    std::optional<Tiling> first;
    ForEach([&](const Tiling& tiling) {
        first = tiling;
        return false;
    });
    return first;
}

SolutionCount PentominoSolver::Count() const {
    SolutionCount result;
    result.symmetries = Symmetries();
    if (!solvable_) return result;
    const int g = Symmetries();
    const int needed = static_cast<int>(cells_.size()) / 5;
    if (needed == 0) {
        result.all = result.upToSymmetry = 1;
        return result;
    }
    const std::uint64_t full = ~std::uint64_t{0} >> (64 - cells_.size());
    // Burnside: the tilings up to symmetry are (sum over the group of the tilings each
    // symmetry fixes) / g. The identity fixes all of them; `fixed` gathers the rest.
    std::uint64_t all = 0, fixed = 0;
    if (g == 1) {
        // See ForEach: one search with every piece free is quicker then.
        Search search(*this);
        search.Run<false>(~full, availableMask_);
        result.all = result.upToSymmetry = search.found;
        return result;
    }
    // Tilings are split by where the anchor piece lies. Places of the anchor that a
    // symmetry maps onto each other have equally many tilings, so each class is searched
    // at one place and its count weighted by the size of the class.
    for (std::uint32_t avail = availableMask_; std::popcount(avail) >= needed;) {
        const int anchor = Anchor(avail);
        const std::uint32_t rest = avail & ~(1u << (anchor - 1));
        for (const AnchorClass& c : Classes(anchor)) {
            const std::uint64_t weight = c.images.size();
            const std::uint64_t mask = places_[c.place].mask;
            Search search(*this);
            search.chosen[search.depth++] = c.place;
            if (c.stabiliser.size() == 1) {
                search.Run<false>(~full | mask, rest);
            } else {
                // Only a symmetry that keeps the anchor in place can fix a tiling.
                std::uint64_t fixedHere = 0;
                search.leaf = [&](const int* chosen, int depth) {
                    for (std::size_t s = 1; s < c.stabiliser.size(); ++s) {
                        bool invariant = true;
                        for (int d = 0; d < depth && invariant; ++d) {
                            const std::uint64_t m = places_[chosen[d]].mask;
                            invariant = Transform(c.stabiliser[s], m) == m;
                        }
                        if (invariant) ++fixedHere;
                    }
                    return true;
                };
                search.Run<true>(~full | mask, rest);
                fixed += weight * fixedHere;
            }
            if (search.stop) return result;
            all += weight * search.found;
        }
        // With pieces to spare, the tilings without the anchor are counted next.
        avail = rest;
    }
    result.all = all;
    result.upToSymmetry = (all + fixed) / g;
    return result;
}

std::vector<std::string> DrawTiling(const std::vector<BoardCell>& cells, const Tiling& tiling) {
    if (cells.empty()) return {};
    EnsurePieceSet();
    const auto [minC, maxC, minR, maxR] = Bounds(cells);
    std::vector<std::string> rows(maxR - minR + 1, std::string(maxC - minC + 1, '.'));
    for (const auto& c : cells) rows[c.row - minR][c.column - minC] = '#';
    for (const auto& t : tiling) {
        for (int k = 0; k < 5; ++k) {
            const int c = t.column + PieceCells[t.piece][k][t.orientation][0] - minC;
            const int r = t.row + PieceCells[t.piece][k][t.orientation][1] - minR;
            if (r >= 0 && r < static_cast<int>(rows.size()) && c >= 0 &&
                c < static_cast<int>(rows[r].size())) {
                rows[r][c] = PieceLetter(t.piece);
            }
        }
    }
    return rows;
}

}  // namespace kv
