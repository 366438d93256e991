// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Sharing a search among threads. Internal to the solver.
#pragma once

#include <cstddef>
#include <functional>

namespace kv::solver_threads {

// The threads a search asks for: 0 or less means one per core.
int ThreadCount(int threads);

// Runs job(i) for i in 0..count-1 on the calling thread and threads - 1 more, each taking
// the next index left.
void Share(int threads, std::size_t count, const std::function<void(std::size_t)>& job);

}  // namespace kv::solver_threads
