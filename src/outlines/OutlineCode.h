// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// An outline as one line of text, to paste into a chat: "KV1-" and, in base64url without
// padding, its name in UTF-8, the pieces it leaves out, its cells as a bitmap of their
// bounding box, and a CRC-32. Used by the editor's clipboard buttons and the outline tool;
// docs/outline-codes.md describes the layout.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <cstdint>

#include "outlines/OutlineWriter.h"

namespace kv {

// A new layout gets a new number, so that an old game says why it cannot read the code.
inline constexpr char kCodePrefix[] = "KV1-";
// The name's UTF-8 bytes are counted in one byte.
inline constexpr int kCodeNameLimit = 255;
// The longest code: the longest name and a bitmap of the whole board.
inline constexpr int kCodeTextLimit = 4 + (1 + kCodeNameLimit + 2 + 4 + 105 + 4 + 2) / 3 * 4;

enum class CodeFault {
    None,
    Empty,          // nothing but blanks
    Foreign,        // not "KV1-" and no other version either
    Version,        // "KVn-" of another version n (detail)
    TooLong,        // longer than any code (detail: its length)
    Character,      // a character base64url has not (detail)
    CutShort,       // fewer characters than its contents need
    Checksum,       // the checksum does not match: a character changed
    Contents,       // the checksum matches but the bytes are no outline (detail says how)
    NoName,         // the name is empty
    LongName,       // the name is more than kCodeNameLimit UTF-8 bytes (detail: how many)
    NameCharacter,  // a control character or one Windows-1251 has not (detail)
    Outline,        // any other fault an outline file would have (detail, from OutlineFault)
};

struct OutlineCode {
    QString text;        // the code (EncodeOutline)
    OutlineDraft draft;  // the outline, cells row by row, pieces ascending (DecodeOutline)
    CodeFault fault = CodeFault::None;
    QString detail;
};

// The code of an outline; a fault (and no text) when the draft is not a sound outline or its
// name is too long for a code.
OutlineCode EncodeOutline(const OutlineDraft& draft);
// The outline of a code; blanks and line breaks anywhere in text are passed over, as a chat
// may wrap a long line. The outline has passed the checks of an outline file: once written,
// CheckOutlineFile finds no fault in it. Whether it has a tiling is not looked at.
OutlineCode DecodeOutline(QStringView text);

// One line in English for the outline tool; one Russian phrase, without a capital or a full
// stop, for the player ("код обрезан").
QString CodeFaultText(const OutlineCode& code);
QString CodeRefusal(const OutlineCode& code);

// The parts a code is made of, for the tests and the fuzzer: CRC-32 as zlib has it, and the
// text for a payload (its checksum appended, base64url, the prefix).
std::uint32_t Crc32(QByteArrayView bytes);
QString CodeText(const QByteArray& payload);

}  // namespace kv
