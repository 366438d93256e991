// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Everything the game does with the bytes of an outline file: the full load, the
// library's line-1 read and its preview read.
#include <QBuffer>
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "outlines/OutlineFile.h"
#include "platform/TextCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const kv::OutlineContent full = kv::ReadOutline(bytes, true);
    const kv::OutlineContent preview = kv::ReadOutline(bytes, false);
    if (full.lastCell < -1 || full.lastCell > 59 || preview.lastCell != full.lastCell)
        __builtin_trap();
    for (int i = 0; i <= full.lastCell; ++i) {
        // The preview reads the same cells the load does.
        if (full.cells[i][0] != preview.cells[i][0] || full.cells[i][1] != preview.cells[i][1]) {
            __builtin_trap();
        }
    }
    for (int p = 0; p < 13; ++p) {
        if (full.excluded[p] != 0 && (p == 0 || full.excluded[p] != 1)) __builtin_trap();
    }
    // The library lists by the name the load reads, though it reads the name from the file.
    QByteArray copy = bytes.toByteArray();
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    if (kv::ReadOutlineName(buffer) != full.name) __builtin_trap();
    (void)kv::platform::FromCp1251(full.name);
    return 0;
}
