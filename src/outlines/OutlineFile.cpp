// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outlines/OutlineFile.h"

#include <algorithm>

#include "outlines/CodeTables.h"
#include "outlines/OutlineWriter.h"
#include "platform/TextFields.h"

namespace kv {

namespace {
// Sixty cells of four characters: the most of line 2 any outline can use.
constexpr qsizetype kCellTextUsed = 60 * 4;
}  // namespace

int CellField(const QByteArray& cellText, qsizetype pos) {
    // A field cut short by the end of the text holds what is left of it.
    if (pos < 0 || pos >= cellText.size()) return 0;
    const auto value = platform::NumberValue(
        QByteArrayView(cellText).sliced(pos, std::min<qsizetype>(2, cellText.size() - pos)));
    return value ? static_cast<int>(*value) : 0;
}

QByteArray ReadOutlineName(QIODevice& device) {
    platform::FieldReader reader(device);
    return reader.ReadLine();
}

namespace {

// The one parse, whether the bytes are in memory or come from a file.
OutlineContent ReadOutline(platform::FieldReader& reader, bool withPieces) {
    OutlineContent out;
    out.name = reader.ReadLine();
    MakeCodeTables(out.name);
    // The line is passed over to its end whatever its length, but only what can hold cells
    // is kept.
    out.cellText = DecodeLine(reader.ReadLine(kCellTextUsed));
    out.count = reader.ReadNumber().value_or(0);
    if (withPieces) {
        // A count the format cannot mean still reads only what the file holds.
        for (long long i = 0; i < out.count && !reader.AtEnd(); ++i) {
            const auto p = reader.ReadNumber();
            if (p && *p >= 1 && *p <= 12) out.excluded[*p] = 1;
        }
    }
    // 59 - 5n, held to the 60 entries the list has whatever n the file holds.
    out.lastCell = static_cast<int>(
        std::clamp<long long>(59 - 5 * std::clamp<long long>(out.count, -100, 100), -1, 59));
    for (int i = 0; i <= out.lastCell; ++i) {
        out.cells[i][0] = CellField(out.cellText, 4 * i);
        out.cells[i][1] = CellField(out.cellText, 4 * i + 2);
    }
    DiscardCodeTables();
    return out;
}

}  // namespace

OutlineContent ReadOutline(QByteArrayView bytes, bool withPieces) {
    platform::FieldReader reader(bytes);
    return ReadOutline(reader, withPieces);
}

OutlineContent ReadOutline(QIODevice& device, bool withPieces) {
    // Read as it goes rather than whole: a file with a line of gigabytes costs a chunk.
    platform::FieldReader reader(device);
    return ReadOutline(reader, withPieces);
}

QByteArray ReadOutlineFile(QIODevice& device) {
    // A plain file says its size: no buffer of the whole limit for a file of 300 bytes.
    const qint64 size = device.isSequential() ? kOutlineFileLimit : device.size();
    return device.read(std::min<qint64>(size, kOutlineFileLimit) + 1);
}

StrictOutline CheckOutlineFile(const QByteArray& bytes) {
    if (bytes.size() > kOutlineFileLimit) {
        StrictOutline out;
        out.fault = QStringLiteral("longer than %1 bytes, more than any outline file holds")
                        .arg(kOutlineFileLimit);
        return out;
    }
    return ReadOutlineStrict(bytes);
}

}  // namespace kv
