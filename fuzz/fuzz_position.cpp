// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The position file as Continue reads and checks it before anything changes.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "model/Model.h"
#include "positions/Positions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool built = (kv::BuildPieceSet(), true);
    (void)built;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto content = kv::ReadPosition(bytes);
    if (!content) return 0;
    for (int p = 1; p <= kv::kPieces; ++p) {
        if (content->orientation[p] < 0 || content->orientation[p] > 8) __builtin_trap();
    }
    // Whatever the outline leaves out, a position that fits keeps every cell on the board.
    int excluded[kv::kPieces + 1] = {};
    for (int mask : {0, 0xAAA, 0x555, 0xFFE}) {
        for (int p = 1; p <= kv::kPieces; ++p) excluded[p] = (mask >> (p - 1)) & 1;
        if (!kv::PositionFits(*content, excluded)) continue;
        for (int p = 1; p <= kv::kPieces; ++p) {
            if (excluded[p]) continue;
            const int o = content->orientation[p];
            if (o < 1 || o > kv::OrientationCount[p]) __builtin_trap();
            for (int k = 0; k < 5; ++k) {
                const int c = content->pos[p][0] + kv::PieceCells[p][k][o][0];
                const int r = content->pos[p][1] + kv::PieceCells[p][k][o][1];
                if (!kv::OnBoard(c, r)) __builtin_trap();
            }
        }
    }
    return 0;
}
