// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// New outlines whose tiling is unique: the pieces are laid one by one into a connected
// shape, more compact for a harder grade, and the solver keeps the shape only when it
// proves that one tiling covers it and grades it as asked.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "solver/Grade.h"
#include "solver/Solver.h"

namespace kv {

// SplitMix64: its output is defined by its arithmetic alone, so the same seed gives the
// same outlines with every compiler and library.
class SplitMix64 {
  public:
    explicit SplitMix64(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // 0 .. n - 1 for n >= 1 (the bias of a remainder is far below anything that matters).
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }

  private:
    std::uint64_t state_;
};

struct GeneratorRequest {
    std::array<bool, 13> pieces{};  // pieces[p]: piece p (1..12) is in play; 3 to 12 of them
    int grade = 3;                  // 1..5
    std::uint64_t seed = 0;
    bool holes = false;  // whether the outline may enclose empty cells
    int threads = 1;     // for the solver's searches; the result does not depend on it
    const std::atomic<bool>* stop = nullptr;
};

struct GeneratedOutline {
    std::vector<BoardCell> cells;  // on the 35 x 24 board, centred, home columns free
    std::array<bool, 13> pieces{};
    OutlineGrade grade;  // Unique() holds; grade as asked when it could be reached
    int attempts = 0;    // shapes tried
};

// The pieces 1..count in the order the library names them (X I T U V W Z L N Y F P) are not
// what a player expects of "n pieces": a random choice of n, drawn from the seed.
std::array<bool, 13> PiecesForCount(int count, std::uint64_t seed);

// Nothing when *stop was raised or the request is out of range. Otherwise an outline with
// one tiling up to its symmetry (it has none of its own: symmetric shapes are passed over).
// When no shape of the asked grade turns up within the attempts, the unique one of the
// nearest grade found is given; with no unique one at all, nothing.
std::optional<GeneratedOutline> GenerateOutline(const GeneratorRequest& request);

// Whether cells lie on the board clear of the home columns (1 to 5 and 29 to 33).
bool ClearOfHomes(const std::vector<BoardCell>& cells);

}  // namespace kv
