// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Choosing k of some pieces in a fixed order, for the searches that try sets of pieces:
// which set covers a drawing, which pieces a hint takes away.
#pragma once

#include <cstddef>
#include <vector>

namespace kv {

// Hands visit every choice of k of the items, each as a rising list in the items' order, the
// choices in lexicographic order (the one with the first items first), until visit returns
// true. Whether one did. One empty choice for k = 0; none when k is out of 0..size.
template <class Visit>
bool ForEachCombination(const std::vector<int>& items, int k, Visit&& visit) {
    const int n = static_cast<int>(items.size());
    if (k < 0 || k > n) return false;
    const auto size = static_cast<std::size_t>(k);
    std::vector<int> pick(size);  // indices into items, rising
    for (std::size_t i = 0; i < size; ++i) pick[i] = static_cast<int>(i);
    std::vector<int> chosen(size);
    for (;;) {
        for (std::size_t i = 0; i < size; ++i) chosen[i] = items[static_cast<std::size_t>(pick[i])];
        if (visit(static_cast<const std::vector<int>&>(chosen))) return true;
        // Next: raise the last index that still can rise, and those after it one above it.
        int i = k - 1;
        while (i >= 0 && pick[static_cast<std::size_t>(i)] == n - k + i) --i;
        if (i < 0) return false;
        ++pick[static_cast<std::size_t>(i)];
        for (int j = i + 1; j < k; ++j)
            pick[static_cast<std::size_t>(j)] = pick[static_cast<std::size_t>(j - 1)] + 1;
    }
}

}  // namespace kv
