// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The reader of outline codes, over any text a clipboard may hold. A random text seldom gets
// past the checksum, so inputs whose first byte is odd have a sound checksum made for them:
// the reader behind it meets every payload as well.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

#include "outlines/OutlineCode.h"
#include "outlines/OutlineWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const QByteArray rest(reinterpret_cast<const char*>(data) + 1,
                          static_cast<qsizetype>(size - 1));
    const QString text = (data[0] & 1) ? kv::CodeText(rest) : QString::fromUtf8(rest);
    const kv::OutlineCode code = kv::DecodeOutline(text);
    if (code.fault != kv::CodeFault::None) {
        // Refused: no outline, and a reason in one line for the tool and one for the player.
        const QString reason = kv::CodeFaultText(code);
        if (!code.draft.cells.empty() || reason.isEmpty() || reason.contains(QLatin1Char('\n')) ||
            kv::CodeRefusal(code).isEmpty()) {
            __builtin_trap();
        }
        return 0;
    }
    // Accepted: a sound outline, whose own code reads back as the same outline.
    if (!kv::OutlineFault(code.draft).isEmpty()) __builtin_trap();
    const kv::OutlineCode again = kv::EncodeOutline(code.draft);
    if (again.fault != kv::CodeFault::None) __builtin_trap();
    const kv::OutlineCode back = kv::DecodeOutline(again.text);
    if (back.fault != kv::CodeFault::None || back.draft.name != code.draft.name ||
        back.draft.excluded != code.draft.excluded || back.draft.cells != code.draft.cells) {
        __builtin_trap();
    }
    return 0;
}
