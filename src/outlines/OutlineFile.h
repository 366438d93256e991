// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The outline file: its name line, the scrambled cell text, the excluded pieces. Reading
// is split from the board so that the library preview, the tools and the fuzzers run the
// very code the game loads outlines with.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>

namespace kv {

struct StrictOutline;

struct OutlineContent {
    QByteArray name;      // line 1 as stored (Windows-1251)
    QByteArray cellText;  // line 2 decoded, as far as cells can be read from it
    long long count = 0;  // n, the number of pieces left out, as read
    int lastCell = -1;    // index of the last cell: 59 - 5n, held to what the list holds
    int cells[60][2] = {};
    int excluded[13] = {};
};

// Reads an outline from its bytes, or from the start of device. With withPieces false the
// piece numbers after the count are not read (the library preview needs no more). Never
// fails: content that cannot be read counts as 0, as the game always has.
OutlineContent ReadOutline(QByteArrayView bytes, bool withPieces = true);
OutlineContent ReadOutline(QIODevice& device, bool withPieces = true);

// Value of the two-character field at 0-based position pos of the cell text.
int CellField(const QByteArray& cellText, qsizetype pos);

// Line 1 alone, as the library lists it.
QByteArray ReadOutlineName(QIODevice& device);

// The most an outline file can hold. Sixty cells and twelve pieces need a few hundred
// bytes; only the name and the last line could be longer, and nothing sane makes them so.
constexpr qsizetype kOutlineFileLimit = 64 * 1024;

// The file from the start of device, up to one byte past kOutlineFileLimit: enough for
// CheckOutlineFile to tell a file that is too long, and a 16 MiB file costs no more.
QByteArray ReadOutlineFile(QIODevice& device);

// Reads the bytes of an outline file as "kvelt-outline check" does, so that the game, the
// library and the tool refuse the very same files: the fault is empty for a sound outline,
// else says what damages it (too long, or a fault of ReadOutlineStrict). Whether the
// outline has a tiling, or shares its name with another, is no damage and is not looked at.
StrictOutline CheckOutlineFile(const QByteArray& bytes);

}  // namespace kv
