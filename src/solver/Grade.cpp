// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/Grade.h"

#include <algorithm>
#include <cmath>

namespace kv {

namespace {

// The split of a count depends on the thread count it is asked for, and so do its nodes:
// grading always asks for two, and the machine runs them on as many cores as it has.
constexpr int kGradeSplit = 2;

// Upper bounds of log2(nodes per tiling) for grades 1 to 4; above the last is grade 5.
// Chosen from the spread of the shipped library (see the grades table in the notes).
constexpr double kGradeBounds[] = {6.0, 8.5, 10.0, 11.5};

}  // namespace

int GradeOf(std::uint64_t tilings, std::uint64_t nodes) {
    if (tilings == 0) return 0;
    const double effort = std::log2(static_cast<double>(nodes) / static_cast<double>(tilings));
    int grade = 1;
    for (const double bound : kGradeBounds) {
        if (effort > bound) ++grade;
    }
    return grade;
}

OutlineGrade GradeOutline(const std::vector<BoardCell>& cells,
                          const std::array<bool, 13>& available, const std::atomic<bool>* stop) {
    PentominoSolver solver(cells, available);
    solver.SetStop(stop);
    const SolutionCount count = solver.Count(kGradeSplit);
    OutlineGrade result;
    if (stop && stop->load()) return result;
    result.tilings = std::min(count.upToSymmetry, kGradeTilingCap);
    result.tilingsCapped = count.upToSymmetry > kGradeTilingCap;
    result.nodes = count.nodes;
    result.grade = GradeOf(count.upToSymmetry, count.nodes);
    return result;
}

}  // namespace kv
