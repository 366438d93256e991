// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/Generator.h"

#include <algorithm>
#include <cstdlib>

#include "solver/Board.h"
#include "solver/PieceTable.h"

namespace kv {

namespace {

// The shape grows in a square of its own, wide enough for any piece to be laid against
// any side of the largest shape allowed.
constexpr int kArea = 40;
// Columns 6 to 28 lie between the home columns; every row is free.
constexpr int kMostWidth = 23;
constexpr int kMostHeight = 24;
constexpr int kAttempts = 4000;
// Unique shapes of other grades seen before the nearest is taken: a grade the pieces cannot
// reach (three pieces are never hard) must not keep the search going.
constexpr int kUniqueTries = 40;
constexpr int kSteps = 80;  // pieces moved to bring the tilings down to one
constexpr std::uint64_t kCountCap = 64;

using Offsets = std::array<BoardCell, 5>;

// Each piece's orientations with identical cell sets dropped, moved to their top left.
const std::array<std::vector<Offsets>, 13>& Orientations() {
    static const std::array<std::vector<Offsets>, 13> table = [] {
        std::array<std::vector<Offsets>, 13> out;
        for (int p = 1; p <= kPieces; ++p) {
            for (int o = 1; o <= 8; ++o) {
                Offsets cells;
                int minC = 99, minR = 99;
                for (int k = 0; k < 5; ++k) {
                    cells[k] = {kPieceTable.cells[p][k][o][0], kPieceTable.cells[p][k][o][1]};
                    minC = std::min(minC, cells[k].column);
                    minR = std::min(minR, cells[k].row);
                }
                for (auto& c : cells) c = {c.column - minC, c.row - minR};
                std::sort(cells.begin(), cells.end());
                if (std::find(out[p].begin(), out[p].end(), cells) == out[p].end()) {
                    out[p].push_back(cells);
                }
            }
        }
        return out;
    }();
    return table;
}

struct Placed {
    int piece;
    int orientation;  // index into Orientations()[piece]
    int column;
    int row;
};

struct Shape {
    std::array<std::array<bool, kArea>, kArea> filled{};
    int minC = kArea, maxC = -1, minR = kArea, maxR = -1;
    std::vector<Placed> placed;

    bool At(int c, int r) const {
        return c >= 0 && c < kArea && r >= 0 && r < kArea && filled[c][r];
    }
    void Add(int p, int orientation, int c, int r) {
        placed.push_back({p, orientation, c, r});
        for (const auto& o : Orientations()[p][orientation]) {
            const int x = c + o.column, y = r + o.row;
            filled[x][y] = true;
            minC = std::min(minC, x);
            maxC = std::max(maxC, x);
            minR = std::min(minR, y);
            maxR = std::max(maxR, y);
        }
    }
};

struct Candidate {
    int contacts;  // sides shared with the shape: the more, the shorter the border
    int spread;    // how far the bounding box is from square
    int orientation;
    int column;
    int row;
};

// Lays the pieces in the given order; looseness 0 takes one of the two most compact places
// for each piece, higher values one of 2^(looseness + 1), so the border grows ragged.
// False when some piece found no place within the size allowed.
bool Lay(int p, int looseness, SplitMix64& rng, Shape& shape);

bool Grow(const std::vector<int>& order, int looseness, SplitMix64& rng, Shape& shape) {
    const auto& table = Orientations();
    shape.Add(order[0], rng.Below(static_cast<int>(table[order[0]].size())), kArea / 2 - 2,
              kArea / 2 - 2);
    for (std::size_t i = 1; i < order.size(); ++i) {
        if (!Lay(order[i], looseness, rng, shape)) return false;
    }
    return true;
}

// Lays piece p against the shape, in one of the most compact places (see Grow).
bool Lay(int p, int looseness, SplitMix64& rng, Shape& shape) {
    const auto& shapes = Orientations()[p];
    std::vector<Candidate> candidates;
    {
        candidates.clear();
        for (int o = 0; o < static_cast<int>(shapes.size()); ++o) {
            for (int c = shape.minC - 5; c <= shape.maxC + 1; ++c) {
                for (int r = shape.minR - 5; r <= shape.maxR + 1; ++r) {
                    int contacts = 0;
                    bool free = true;
                    int lowC = shape.minC, highC = shape.maxC, lowR = shape.minR,
                        highR = shape.maxR;
                    for (const auto& off : shapes[o]) {
                        const int x = c + off.column, y = r + off.row;
                        if (x < 0 || y < 0 || x >= kArea || y >= kArea || shape.At(x, y)) {
                            free = false;
                            break;
                        }
                        contacts += shape.At(x - 1, y) + shape.At(x + 1, y) + shape.At(x, y - 1) +
                                    shape.At(x, y + 1);
                        lowC = std::min(lowC, x);
                        highC = std::max(highC, x);
                        lowR = std::min(lowR, y);
                        highR = std::max(highR, y);
                    }
                    if (!free || contacts == 0) continue;
                    const int width = highC - lowC + 1, height = highR - lowR + 1;
                    if (width > kMostWidth || height > kMostHeight) continue;
                    candidates.push_back({contacts, std::abs(width - height), o, c, r});
                }
            }
        }
        if (candidates.empty()) return false;
        // A stable order of its own: the same on every standard library.
        std::stable_sort(
            candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
                return a.contacts != b.contacts ? a.contacts > b.contacts : a.spread < b.spread;
            });
        const int pool = std::min<int>(static_cast<int>(candidates.size()), 2 << looseness);
        const Candidate& pick = candidates[rng.Below(pool)];
        shape.Add(p, pick.orientation, pick.column, pick.row);
    }
    return true;
}

// The shape of the pieces placed but the one at index skip.
Shape Without(const Shape& shape, std::size_t skip) {
    Shape rest;
    for (std::size_t i = 0; i < shape.placed.size(); ++i) {
        if (i != skip) {
            const Placed& q = shape.placed[i];
            rest.Add(q.piece, q.orientation, q.column, q.row);
        }
    }
    return rest;
}

bool Connected(const Shape& shape) {
    int cells = 0, sc = -1, sr = -1;
    for (int c = shape.minC; c <= shape.maxC; ++c) {
        for (int r = shape.minR; r <= shape.maxR; ++r) {
            if (shape.filled[c][r]) {
                ++cells;
                sc = c;
                sr = r;
            }
        }
    }
    if (cells == 0) return true;
    std::array<std::array<bool, kArea>, kArea> seen{};
    std::vector<std::pair<int, int>> todo{{sc, sr}};
    seen[sc][sr] = true;
    int reached = 1;
    while (!todo.empty()) {
        const auto [x, y] = todo.back();
        todo.pop_back();
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int nx = x + dx, ny = y + dy;
            if (!shape.At(nx, ny) || seen[nx][ny]) continue;
            seen[nx][ny] = true;
            ++reached;
            todo.push_back({nx, ny});
        }
    }
    return reached == cells;
}

// True when every empty cell of the bounding box reaches its edge through empty cells.
bool WithoutHoles(const Shape& shape) {
    const int w = shape.maxC - shape.minC + 3, h = shape.maxR - shape.minR + 3;
    std::vector<char> seen(static_cast<std::size_t>(w) * h, 0);
    auto filled = [&](int x, int y) { return shape.At(x + shape.minC - 1, y + shape.minR - 1); };
    std::vector<std::pair<int, int>> todo{{0, 0}};
    seen[0] = 1;
    int reached = 1;
    while (!todo.empty()) {
        const auto [x, y] = todo.back();
        todo.pop_back();
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int nx = x + dx, ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
            char& s = seen[static_cast<std::size_t>(ny) * w + nx];
            if (s || filled(nx, ny)) continue;
            s = 1;
            ++reached;
            todo.push_back({nx, ny});
        }
    }
    int cells = 0;
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) cells += filled(x, y);
    }
    return reached + cells == w * h;
}

std::vector<BoardCell> Centred(const Shape& shape) {
    const int width = shape.maxC - shape.minC + 1, height = shape.maxR - shape.minR + 1;
    const int left = (kColumns - width) / 2, top = (kRows - height) / 2;
    std::vector<BoardCell> cells;
    for (int c = shape.minC; c <= shape.maxC; ++c) {
        for (int r = shape.minR; r <= shape.maxR; ++r) {
            if (shape.filled[c][r]) cells.push_back({left + c - shape.minC, top + r - shape.minR});
        }
    }
    std::sort(cells.begin(), cells.end());
    return cells;
}

bool Halted(const std::atomic<bool>* stop) {
    return stop && stop->load(std::memory_order_relaxed);
}

}  // namespace

std::array<bool, 13> PiecesForCount(int count, std::uint64_t seed) {
    std::array<bool, 13> pieces{};
    std::array<int, kPieces> all{};
    for (int p = 0; p < kPieces; ++p) all[p] = p + 1;
    SplitMix64 rng(seed ^ 0x5851F42D4C957F2DULL);
    for (int i = 0; i < kPieces - 1; ++i) std::swap(all[i], all[i + rng.Below(kPieces - i)]);
    for (int i = 0; i < std::clamp(count, 0, kPieces); ++i) pieces[all[i]] = true;
    return pieces;
}

bool ClearOfHomes(const std::vector<BoardCell>& cells) {
    for (const auto& c : cells) {
        if (!OnBoard(c.column, c.row) || (c.column >= 1 && c.column <= 5) ||
            (c.column >= 29 && c.column <= 33)) {
            return false;
        }
    }
    return true;
}

std::optional<GeneratedOutline> GenerateOutline(const GeneratorRequest& request) {
    std::vector<int> pieces;
    for (int p = 1; p <= kPieces; ++p) {
        if (request.pieces[p]) pieces.push_back(p);
    }
    if (pieces.size() < 3 || request.grade < 1 || request.grade > 5) return std::nullopt;

    // Tilings of a shape, counted up to cap; every one of them, turned ones apart. The
    // count stops at the same number whatever the threads.
    auto tilings = [&](const Shape& shape, std::uint64_t cap, int threads = 1) {
        PentominoSolver solver(Centred(shape), request.pieces);
        solver.SetStop(request.stop);
        std::uint64_t found = 0;
        solver.ForEach([&](const Tiling&) { return ++found < cap; }, threads);
        return found;
    };

    SplitMix64 rng(request.seed);
    // Harder grades want compact shapes, easier ones ragged borders that force the pieces;
    // the looseness follows the grades found on the way.
    int looseness = 5 - request.grade;
    std::optional<GeneratedOutline> nearest;
    int uniqueFound = 0;
    for (int attempt = 1; attempt <= kAttempts && uniqueFound < kUniqueTries; ++attempt) {
        if (Halted(request.stop)) return std::nullopt;
        std::vector<int> order = pieces;
        for (std::size_t i = 0; i + 1 < order.size(); ++i) {
            std::swap(order[i], order[i + rng.Below(static_cast<int>(order.size() - i))]);
        }
        Shape shape;
        if (!Grow(order, looseness, rng, shape)) continue;
        // Pieces moved one at a time to other places along the border, kept where the
        // tilings do not grow in number, until one is left.
        std::uint64_t count = tilings(shape, kCountCap);
        for (int step = 0; step < kSteps && count > 1; ++step) {
            if (Halted(request.stop)) return std::nullopt;
            const std::size_t i =
                static_cast<std::size_t>(rng.Below(static_cast<int>(order.size())));
            Shape moved = Without(shape, i);
            if (!Connected(moved) || !Lay(shape.placed[i].piece, looseness, rng, moved)) continue;
            const std::uint64_t now = tilings(moved, count + 1);
            if (now <= count) {
                shape = moved;
                count = now;
            }
        }
        if (count != 1) continue;
        if (!request.holes && !WithoutHoles(shape)) continue;
        std::vector<BoardCell> cells = Centred(shape);
        if (PentominoSolver(cells, request.pieces).Symmetries() > 1) continue;
        // The proof, on the threads asked for: counted up to 2, one tiling.
        if (tilings(shape, 2, request.threads) != 1) continue;
        const OutlineGrade grade = GradeOutline(cells, request.pieces, request.stop);
        if (Halted(request.stop)) return std::nullopt;
        ++uniqueFound;
        if (!nearest || std::abs(grade.grade - request.grade) <
                            std::abs(nearest->grade.grade - request.grade)) {
            nearest = GeneratedOutline{std::move(cells), request.pieces, grade, attempt};
        }
        if (grade.grade == request.grade) break;
        if (grade.grade < request.grade) {
            looseness = std::max(0, looseness - 1);
        } else {
            looseness = std::min(6, looseness + 1);
        }
    }
    return nearest;
}

}  // namespace kv
