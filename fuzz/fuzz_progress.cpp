// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// A file of the progress store: whatever it holds, the reader either refuses it whole or
// gives records that are sound and that the writer puts back byte for byte.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "play/ProgressStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto records = kv::ParseProgressFile(bytes);
    if (!records) return 0;
    for (const kv::ProgressRecord& r : *records) {
        if (r.key.size() != 40) __builtin_trap();
        if (!r.history.empty() &&
            (r.historyIndex < 0 || r.historyIndex >= static_cast<int>(r.history.size())))
            __builtin_trap();
        if (r.Solved() && (r.bestMs < 0 || r.firstSolved.isEmpty())) __builtin_trap();
        for (const kv::KeptArrangement& a : r.history) {
            if (a.current < 1 || a.current > 12) __builtin_trap();
            for (int p = 1; p <= 12; ++p) {
                if (a.place[p][2] < 1 || a.place[p][2] > 8) __builtin_trap();
            }
        }
        // What was read is what the writer writes: read again, it is the same record.
        const auto again = kv::ParseRecord(kv::FormatRecord(r));
        if (!again || !(*again == r)) __builtin_trap();
    }
    return 0;
}
