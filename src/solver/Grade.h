// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// How hard an outline is, from what the solver learns by counting its tilings: an outline
// of many tilings that the search finds with little backtracking is easy; one whose search
// wanders long for each tiling it finds is hard.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

#include "solver/Solver.h"

namespace kv {

struct OutlineGrade {
    int grade = 0;               // 1 (easiest) .. 5 (hardest); 0 when there is no tiling
    std::uint64_t tilings = 0;   // tilings up to the outline's symmetry, counted up to a cap
    bool tilingsCapped = false;  // true when the count stopped at the cap ("at least")
    std::uint64_t nodes = 0;     // the search effort the grade used
    bool Unique() const { return tilings == 1 && !tilingsCapped; }  // «единственное решение»
};

// Tilings counted beyond this are reported as this many, "at least".
constexpr std::uint64_t kGradeTilingCap = 9999;

// The grade of a count: searched nodes per tiling up to symmetry, on a log scale.
int GradeOf(std::uint64_t tilings, std::uint64_t nodes);

// Deterministic: the same on every machine and for any thread count. The count always
// shares its search out as for two threads, so its nodes do not depend on how many cores
// run it. When *stop turns true the result is empty (grade 0) and must be discarded.
OutlineGrade GradeOutline(const std::vector<BoardCell>& cells,
                          const std::array<bool, 13>& available,
                          const std::atomic<bool>* stop = nullptr);

}  // namespace kv
