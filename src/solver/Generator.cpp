// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/Generator.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "solver/Board.h"
#include "solver/Bounds.h"
#include "solver/PieceTable.h"
#include "solver/SolverThreads.h"

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
constexpr int kWalk = 60;   // pieces moved to bring a unique shape to the grade asked
// Attempts run side by side; a fixed number, so that the looseness changes between the
// same attempts whatever the threads.
constexpr int kBatch = 4;
constexpr std::uint64_t kCountCap = 64;
// Moves that bring the tilings down pick among more places than the growth did: a ragged
// spot forces the pieces sooner, and the walk that follows makes the shape compact again.
// The counts of compact shapes of many tilings are where the time went.
constexpr int kLooserDown = 2;

using Offsets = std::array<BoardCell, 5>;

// Each piece's orientations with identical cell sets dropped, moved to their top left.
const std::array<std::vector<Offsets>, 13>& Orientations() {
    static const std::array<std::vector<Offsets>, 13> table = [] {
        std::array<std::vector<Offsets>, 13> out;
        for (int p = 1; p <= kPieces; ++p) {
            for (int o = 1; o <= 8; ++o) {
                Offsets cells;
                for (int k = 0; k < 5; ++k) {
                    cells[k] = {kPieceTable.cells[p][k][o][0], kPieceTable.cells[p][k][o][1]};
                }
                cells = MovedTo(cells, {0, 0});
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

bool WithoutHoles(const Shape& shape);

// Lays piece p against the shape in one of the most compact places: looseness 0 picks among
// the two most compact, higher values among 2^(looseness + 1), so the border grows ragged.
// Without holes, a place that would wall in empty cells is passed over for the next pick,
// so that no count is spent on a shape that could never be kept. False when the piece finds
// no place within the size allowed.
bool Lay(int p, int looseness, bool holes, SplitMix64& rng, Shape& shape) {
    const auto& shapes = Orientations();
    std::vector<Candidate> candidates;
    for (int o = 0; o < static_cast<int>(shapes[p].size()); ++o) {
        for (int c = shape.minC - 5; c <= shape.maxC + 1; ++c) {
            for (int r = shape.minR - 5; r <= shape.maxR + 1; ++r) {
                int contacts = 0;
                bool free = true;
                int lowC = shape.minC, highC = shape.maxC, lowR = shape.minR, highR = shape.maxR;
                for (const auto& off : shapes[p][o]) {
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
    // A stable order of its own: the same on every standard library.
    std::stable_sort(
        candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
            return a.contacts != b.contacts ? a.contacts > b.contacts : a.spread < b.spread;
        });
    while (!candidates.empty()) {
        const int pool = std::min<int>(static_cast<int>(candidates.size()), 2 << looseness);
        const auto pick = candidates.begin() + rng.Below(pool);
        Shape grown = shape;
        grown.Add(p, pick->orientation, pick->column, pick->row);
        if (holes || WithoutHoles(grown)) {
            shape = std::move(grown);
            return true;
        }
        candidates.erase(pick);
    }
    return false;
}

bool Grow(const std::vector<int>& order, int looseness, bool holes, SplitMix64& rng, Shape& shape) {
    const auto& table = Orientations();
    shape.Add(order[0], rng.Below(static_cast<int>(table[order[0]].size())), kArea / 2 - 2,
              kArea / 2 - 2);
    for (std::size_t i = 1; i < order.size(); ++i) {
        if (!Lay(order[i], looseness, holes, rng, shape)) return false;
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
    std::vector<BoardCell> cells;
    for (int c = shape.minC; c <= shape.maxC; ++c) {
        for (int r = shape.minR; r <= shape.maxR; ++r) {
            if (shape.filled[c][r]) cells.push_back({c, r});
        }
    }
    // Moving keeps the order, so the cells stay sorted.
    return CentredOnBoard(std::move(cells));
}

bool Halted(const std::atomic<bool>* stop) {
    return stop && stop->load(std::memory_order_relaxed);
}

// Whether grade a is at least as near the asked one as b: nearer in grade, or as near and
// with a search effort no farther from it.
bool AtLeastAsNear(const OutlineGrade& a, const OutlineGrade& b, int asked) {
    const int da = std::abs(a.grade - asked), db = std::abs(b.grade - asked);
    if (da != db) return da < db;
    if (a.grade < asked) return a.nodes >= b.nodes;
    if (a.grade > asked) return a.nodes <= b.nodes;
    return true;
}

struct Found {
    std::vector<BoardCell> cells;
    OutlineGrade grade;
};

// One attempt: a shape grown from its own seed, brought down to one tiling, then walked
// toward the asked grade. It reads nothing that other attempts write, so attempts may run
// on any thread in any order and each gives the same result. abandoned() tells it that its
// result is no longer wanted.
class Attempt {
  public:
    Attempt(const GeneratorRequest& request, const std::vector<int>& pieces, std::uint64_t seed,
            int looseness, std::function<bool()> abandoned)
        : request_(request),
          pieces_(pieces),
          rng_(seed),
          looseness_(looseness),
          abandoned_(std::move(abandoned)) {}

    std::optional<Found> Run() {
        std::vector<int> order = pieces_;
        for (std::size_t i = 0; i + 1 < order.size(); ++i) {
            std::swap(order[i], order[i + rng_.Below(static_cast<int>(order.size() - i))]);
        }
        Shape shape;
        if (!Grow(order, looseness_, request_.holes, rng_, shape)) return std::nullopt;
        // Pieces moved one at a time to other places along the border, kept where the
        // tilings do not grow in number, until one is left.
        std::uint64_t count = Tilings(Centred(shape), kCountCap);
        for (int step = 0; step < kSteps && count > 1; ++step) {
            if (Gone()) return std::nullopt;
            // Still as many tilings as counted a quarter of the way in: the shape is too
            // open to come down to one, and its counts are the dearest of all.
            if (step == kSteps / 4 && count >= kCountCap) return std::nullopt;
            Shape moved;
            if (!Moved(shape, looseness_ + kLooserDown, moved)) continue;
            const std::uint64_t now = Tilings(Centred(moved), count + 1);
            if (now <= count) {
                shape = std::move(moved);
                count = now;
            }
        }
        // Counted to the end with one tiling found: that count is the proof.
        if (count != 1 || Gone()) return std::nullopt;
        Found best{Centred(shape), {}};
        // A symmetric shape would have its one tiling counted up to a symmetry the player
        // does not see; such shapes are walked on but never given.
        const bool plain = PentominoSolver(best.cells, request_.pieces).Symmetries() == 1;
        best.grade = GradeOutline(best.cells, request_.pieces, request_.stop);
        if (Gone()) return std::nullopt;
        // The walk: a piece moved at a time, kept while the tiling stays one and the grade
        // comes no farther from the asked one. A unique shape is settled in a few thousand
        // nodes, far fewer than a shape of many tilings takes, so the walk is cheap.
        bool found = plain;
        for (int step = 0; step < kWalk && !(found && best.grade.grade == request_.grade); ++step) {
            if (Gone()) return std::nullopt;
            Shape moved;
            if (!Moved(shape, looseness_, moved)) continue;
            std::vector<BoardCell> cells = Centred(moved);
            const PentominoSolver solver(cells, request_.pieces);
            if (solver.Symmetries() > 1 || Tilings(solver, 2) != 1) continue;
            const OutlineGrade grade = GradeOutline(cells, request_.pieces, request_.stop);
            if (Gone()) return std::nullopt;
            if (!found || AtLeastAsNear(grade, best.grade, request_.grade)) {
                shape = std::move(moved);
                best = {std::move(cells), grade};
                found = true;
            }
        }
        if (!found) return std::nullopt;
        return best;
    }

  private:
    bool Gone() const { return Halted(request_.stop) || abandoned_(); }

    // Tilings counted up to cap; every one of them, turned ones apart.
    std::uint64_t Tilings(const PentominoSolver& solver, std::uint64_t cap) const {
        std::uint64_t found = 0;
        solver.ForEach([&](const Tiling&) { return ++found < cap; }, 1);
        return found;
    }
    std::uint64_t Tilings(const std::vector<BoardCell>& cells, std::uint64_t cap) const {
        PentominoSolver solver(cells, request_.pieces);
        solver.SetStop(request_.stop);
        return Tilings(solver, cap);
    }

    // The shape with one piece, drawn at random, laid again elsewhere along the border.
    bool Moved(const Shape& shape, int looseness, Shape& moved) {
        const std::size_t i =
            static_cast<std::size_t>(rng_.Below(static_cast<int>(pieces_.size())));
        moved = Without(shape, i);
        return Connected(moved) && (request_.holes || WithoutHoles(moved)) &&
               Lay(shape.placed[i].piece, looseness, request_.holes, rng_, moved);
    }

    const GeneratorRequest& request_;
    const std::vector<int>& pieces_;
    SplitMix64 rng_;
    int looseness_;
    std::function<bool()> abandoned_;
};

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

    // Attempts run a batch at a time on the threads asked for. Each has a seed of its own
    // drawn in order, and the batch's result is that of its lowest attempt that reached the
    // grade, so one thread and many give the same outline.
    SplitMix64 seeds(request.seed);
    // Harder grades want compact shapes, easier ones ragged borders that force the pieces;
    // the looseness follows the grades found, batch by batch.
    int looseness = 5 - request.grade;
    std::optional<GeneratedOutline> nearest;
    int uniqueFound = 0;
    const int threads = solver_threads::ThreadCount(request.threads);
    for (int first = 0; first < kAttempts && uniqueFound < kUniqueTries; first += kBatch) {
        std::array<std::uint64_t, kBatch> seed;
        for (auto& s : seed) s = seeds.Next();
        std::array<std::optional<Found>, kBatch> results;
        // The lowest attempt of the batch that reached the grade; later ones give up.
        std::atomic<int> reached{kBatch};
        solver_threads::Share(threads, kBatch, [&](std::size_t i) {
            const int index = static_cast<int>(i);
            if (reached.load() < index) return;
            Attempt attempt(request, pieces, seed[i], looseness, [&reached, index] {
                return reached.load(std::memory_order_relaxed) < index;
            });
            results[i] = attempt.Run();
            if (results[i] && results[i]->grade.grade == request.grade) {
                for (int seen = reached.load(); seen > index;) {
                    if (reached.compare_exchange_weak(seen, index)) break;
                }
            }
        });
        if (Halted(request.stop)) return std::nullopt;
        for (int i = 0; i < kBatch; ++i) {
            if (!results[i]) continue;
            const OutlineGrade& grade = results[i]->grade;
            ++uniqueFound;
            // Ties go to the earlier attempt, as they do between threads.
            if (!nearest || !AtLeastAsNear(nearest->grade, grade, request.grade)) {
                nearest = GeneratedOutline{results[i]->cells, request.pieces, grade, first + i + 1};
            }
            if (grade.grade == request.grade) return nearest;
            if (grade.grade < request.grade) {
                looseness = std::max(0, looseness - 1);
            } else {
                looseness = std::min(6, looseness + 1);
            }
        }
    }
    return nearest;
}

}  // namespace kv
