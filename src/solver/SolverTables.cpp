// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The solver's tables: the outline's cells in search order, its symmetries and adjacency,
// every place of every piece, and the lookups that pick a cell's places.
#include <algorithm>
#include <bit>
#include <climits>

#include "solver/FixedOrderSearch.h"
#include "solver/PieceTable.h"
#include "solver/PlacedCells.h"
#include "solver/Solver.h"

namespace kv {

namespace {

struct Shape {
    int orientation;
    std::array<BoardCell, 5> offsets;
};

// Each piece's orientations with identical cell sets dropped (X has one, I two, ...).
const std::array<std::vector<Shape>, 13>& DistinctShapes() {
    static const std::array<std::vector<Shape>, 13> shapes = [] {
        std::array<std::vector<Shape>, 13> out;
        for (int p = 1; p <= kPieces; ++p) {
            std::vector<std::array<BoardCell, 5>> seen;
            for (int o = 1; o <= 8; ++o) {
                std::array<BoardCell, 5> offsets;
                for (int k = 0; k < 5; ++k)
                    offsets[k] = {kPieceTable.cells[p][k][o][0], kPieceTable.cells[p][k][o][1]};
                std::array<BoardCell, 5> normal = MovedTo(offsets, {0, 0});
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

// Where each cell of the outline's bounding box stands in the search order, -1 off it.
struct PentominoSolver::Grid {
    int minC, maxC, minR, maxR, width;
    std::vector<int> index;
    int At(int column, int row) const {
        if (column < minC || column > maxC || row < minR || row > maxR) return -1;
        return index[static_cast<std::size_t>(row - minR) * width + (column - minC)];
    }
};

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

    const auto [minC, maxC, minR, maxR] = BoundsOf(cells_);
    const int width = maxC - minC + 1, height = maxR - minR + 1;
    rectangle_ = n == width * height;
    // Filling along the shorter side keeps the ragged edge of the search short.
    if (width < height) {
        std::sort(cells_.begin(), cells_.end(), [](const BoardCell& a, const BoardCell& b) {
            return a.row != b.row ? a.row < b.row : a.column < b.column;
        });
    }
    Grid grid{minC, maxC,  minR,
              maxR, width, std::vector<int>(static_cast<std::size_t>(width) * height, -1)};
    for (int i = 0; i < n; ++i) {
        grid.index[static_cast<std::size_t>(cells_[i].row - minR) * width +
                   (cells_[i].column - minC)] = i;
    }
    FindSymmetries(grid);
    if (n > 60 || n % 5 != 0 || n > 5 * std::popcount(availableMask_)) {
        solvable_ = false;
        return;
    }

    FindAdjacency(grid);
    FindPlaces(grid);
    BuildChoiceTables();
}

void PentominoSolver::FindSymmetries(const Grid& grid) {
    const int n = CellCount();
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
            perm[i] = grid.At(image[i].column - imgC + grid.minC, image[i].row - imgR + grid.minR);
            maps = perm[i] >= 0;
        }
        if (maps) symmetries_.push_back(std::move(perm));
    }
}

void PentominoSolver::FindAdjacency(const Grid& grid) {
    const int n = CellCount();
    std::vector<std::uint64_t>& neighbours = neighbours_;
    neighbours.assign(n, 0);
    for (int i = 0; i < n; ++i) {
        const BoardCell c = cells_[i];
        for (const int j : {grid.At(c.column - 1, c.row), grid.At(c.column + 1, c.row),
                            grid.At(c.column, c.row - 1), grid.At(c.column, c.row + 1)}) {
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
}

void PentominoSolver::FindPlaces(const Grid& grid) {
    const int n = CellCount();
    const std::vector<std::uint64_t>& neighbours = neighbours_;
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
        if (!(availableMask_ >> (p - 1) & 1u)) continue;
        for (const Shape& shape : shapes[p]) {
            const BoardCell first = shape.offsets[0];
            for (int i = 0; i < n; ++i) {
                const int c = cells_[i].column - first.column, r = cells_[i].row - first.row;
                std::uint64_t mask = std::uint64_t{1} << i;
                for (int k = 1; k < 5 && mask != 0; ++k) {
                    const int j = grid.At(c + shape.offsets[k].column, r + shape.offsets[k].row);
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
}

void PentominoSolver::BuildChoiceTables() {
    const int n = CellCount();
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

std::vector<std::string> DrawTiling(const std::vector<BoardCell>& cells, const Tiling& tiling) {
    if (cells.empty()) return {};
    const auto [minC, maxC, minR, maxR] = BoundsOf(cells);
    std::vector<std::string> rows(maxR - minR + 1, std::string(maxC - minC + 1, '.'));
    for (const auto& c : cells) rows[c.row - minR][c.column - minC] = '#';
    for (const auto& t : tiling) {
        for (int k = 0; k < 5; ++k) {
            const int c = PlacedCell(t, k).column - minC;
            const int r = PlacedCell(t, k).row - minR;
            if (r >= 0 && r < static_cast<int>(rows.size()) && c >= 0 &&
                c < static_cast<int>(rows[r].size())) {
                rows[r][c] = PieceLetter(t.piece);
            }
        }
    }
    return rows;
}

}  // namespace kv
