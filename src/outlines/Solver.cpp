// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outlines/Solver.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <mutex>
#include <system_error>
#include <thread>

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
    rectangle_ = n == width * height;
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

    std::vector<std::uint64_t>& neighbours = neighbours_;
    neighbours.assign(n, 0);
    for (int i = 0; i < n; ++i) {
        const BoardCell c = cells_[i];
        for (const int j : {at(c.column - 1, c.row), at(c.column + 1, c.row),
                            at(c.column, c.row - 1), at(c.column, c.row + 1)}) {
            if (j < 0) continue;
            neighbours[i] |= std::uint64_t{1} << j;
            if (j < i) continue;
            auto k = std::find(shifts_.begin(), shifts_.end(), j - i) - shifts_.begin();
            if (k == static_cast<std::ptrdiff_t>(shifts_.size())) {
                shifts_.push_back(j - i);
                adjacent_.push_back(0);
            }
            adjacent_[k] |= std::uint64_t{1} << i;
        }
    }

    // The last neighbour of each cell, when it is not the next cell; else the top bit, which
    // no place covers. A cell's places are tried in four groups by whether they cover it and
    // the next cell, each group piece by piece: on the shipped outlines that finds first
    // tilings sooner than trying them piece by piece.
    std::vector<int> side(n, 63);
    for (int i = 0; i < n; ++i) {
        const int last = 63 - std::countl_zero(neighbours[i]);
        if (last > i + 1) side[i] = last;
    }

    // Each place once: where the shape's first cell lies on an outline cell.
    struct Found {
        std::uint64_t mask;
        int key;  // (lowest cell * 4 + group) * 12 + piece - 1
        Place place;
    };
    std::vector<Found> found;
    const std::uint64_t outline = ~std::uint64_t{0} >> (64 - n);
    const auto& shapes = DistinctShapes();
    for (int p = 1; p <= kPieces; ++p) {
        if (!available[p]) continue;
        for (const Shape& shape : shapes[p]) {
            const BoardCell first = shape.offsets[0];
            for (int i = 0; i < n; ++i) {
                const int c = cells_[i].column - first.column, r = cells_[i].row - first.row;
                std::uint64_t mask = std::uint64_t{1} << i;
                for (int k = 1; k < 5 && mask != 0; ++k) {
                    const int j = at(c + shape.offsets[k].column, r + shape.offsets[k].row);
                    mask = j < 0 ? 0 : mask | std::uint64_t{1} << j;
                }
                if (mask == 0) continue;
                // A place that walls in a cell or two against the outline's edge never fits.
                if (!NoPockets(~outline | mask, adjacent_.data(), shifts_.data(),
                               static_cast<int>(shifts_.size()))) {
                    continue;
                }
                const int low = std::countr_zero(mask);
                const bool next = (mask >> (low + 1)) & 1;
                const bool last = (mask >> side[low]) & 1;
                // Covering only the last neighbour first, then neither, then only the next
                // cell, then both.
                const int group = next ? (last ? 3 : 2) : (last ? 0 : 1);
                found.push_back(
                    {mask, (low * 4 + group) * 12 + p - 1, {p, shape.orientation, c, r}});
            }
        }
    }
    // Grouped by key, keeping the order found within a key (a counting sort).
    std::vector<std::uint32_t> start(static_cast<std::size_t>(n) * 48 + 1, 0);
    for (const Found& f : found) ++start[f.key + 1];
    for (std::size_t key = 1; key < start.size(); ++key) start[key] += start[key - 1];
    masks_.resize(found.size());
    pieceOf_.resize(found.size());
    places_.resize(found.size());
    cellStart_.resize(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) cellStart_[i] = static_cast<std::uint16_t>(start[i * 48]);
    for (const Found& f : found) {
        const std::uint32_t k = start[f.key]++;
        masks_[k] = f.mask;
        pieceOf_[k] = static_cast<std::uint8_t>(f.place.piece - 1);
        places_[k] = f.place;
    }

    // The tables that pick a cell's places by the filled cells after it and by the pieces
    // left, four cells or four pieces to an entry.
    int reach = 1;
    for (const std::uint64_t mask : masks_) {
        reach = std::max(reach, 63 - std::countl_zero(mask) - std::countr_zero(mask));
    }
    windowNibbles_ = (reach + 3) / 4;
    const int stride = (3 + windowNibbles_) * 16;
    choice_.assign(static_cast<std::size_t>(n) * stride, 0);
    for (int i = 0; i < n; ++i) {
        std::uint64_t* table = &choice_[static_cast<std::size_t>(i) * stride];
        // The places of each piece, and those covering each cell after i; then their unions
        // and what is left of them, four at a time.
        std::array<std::uint64_t, 12> ofPiece{};
        std::array<std::uint64_t, 64> covering{};
        std::uint64_t all = 0;
        for (int k = cellStart_[i]; k < cellStart_[i + 1]; ++k) {
            const std::uint64_t bit = std::uint64_t{1} << (k - cellStart_[i]);
            all |= bit;
            ofPiece[pieceOf_[k]] |= bit;
            for (std::uint64_t m = masks_[k] >> (i + 1); m != 0; m &= m - 1) {
                covering[std::countr_zero(m)] |= bit;
            }
        }
        for (int q = 0; q < 3; ++q) {
            std::uint64_t* entry = table + q * 16;
            for (int v = 1; v < 16; ++v) {
                entry[v] = entry[v & (v - 1)] | ofPiece[4 * q + std::countr_zero(unsigned(v))];
            }
        }
        for (int q = 0; q < windowNibbles_; ++q) {
            std::uint64_t* entry = table + (3 + q) * 16;
            entry[0] = all;
            for (int v = 1; v < 16; ++v) {
                entry[v] = entry[v & (v - 1)] & ~covering[4 * q + std::countr_zero(unsigned(v))];
            }
        }
    }
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

Tiling PentominoSolver::ToTiling(const int* chosen, int count) const {
    Tiling tiling;
    for (int i = 0; i < count; ++i) {
        const Place& place = places_[chosen[i]];
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
        const std::uint64_t mask = masks_[k];
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
    const int low = std::countr_zero(mask);
    for (int k = cellStart_[low]; k < cellStart_[low + 1]; ++k) {
        if (masks_[k] == mask && pieceOf_[k] == piece - 1) return k;
    }
    return -1;
}

// Where the searches begin, in the order one thread takes them. With symmetries, each
// class of anchor places is searched at its smallest member only: every tiling found there
// stands for one in each place of the class, which the symmetries that lead there give.
// Besides sparing work, the smallest member lies where the search starts, so it is also
// the cheapest one to search. With pieces to spare, the tilings without the anchor follow,
// split by the next anchor. classes receives the anchor classes the starts point into.
std::vector<PentominoSolver::Start> PentominoSolver::Starts(
    std::vector<AnchorClass>& classes) const {
    const std::uint64_t full = ~std::uint64_t{0} >> (64 - cells_.size());
    if (Symmetries() == 1) {
        // Every anchor place would be searched, most of them far from where the search
        // starts; one search with the anchor among the others is quicker.
        return {{~full, availableMask_, -1, nullptr}};
    }
    const int needed = static_cast<int>(cells_.size()) / 5;
    std::vector<std::pair<std::uint32_t, std::size_t>> levels;  // pieces left, first class
    for (std::uint32_t avail = availableMask_; std::popcount(avail) >= needed;) {
        const int anchor = Anchor(avail);
        levels.push_back({avail & ~(1u << (anchor - 1)), classes.size()});
        for (AnchorClass& c : Classes(anchor)) classes.push_back(std::move(c));
        avail = levels.back().first;
    }
    std::vector<Start> starts;
    for (std::size_t l = 0; l < levels.size(); ++l) {
        const std::size_t end = l + 1 < levels.size() ? levels[l + 1].second : classes.size();
        for (std::size_t c = levels[l].second; c < end; ++c) {
            starts.push_back(
                {~full | masks_[classes[c].place], levels[l].first, classes[c].place, &classes[c]});
        }
    }
    return starts;
}

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

namespace {

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

}  // namespace

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
