// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outlines/OutlineCode.h"

#include <QRegularExpression>
#include <algorithm>
#include <array>

#include "outlines/OutlineFile.h"
#include "platform/TextCodec.h"
#include "solver/Board.h"
#include "solver/Bounds.h"
#include "solver/PieceTable.h"

namespace kv {

namespace {

// The payload: name length, name, a 12-bit mask of the pieces left out, the box (left, top,
// width, height), its bitmap row by row with the first cell in the high bit, the CRC-32.
constexpr int kBoxBytes = 2 + 4;
constexpr int kCrcBytes = 4;
// Text beyond this is not even stripped of its blanks.
constexpr qsizetype kRawTextLimit = 8 * 1024;

// The value of a base64url character, -1 for any other.
int Sextet(QChar ch) {
    const char16_t u = ch.unicode();
    if (u >= 'A' && u <= 'Z') return u - 'A';
    if (u >= 'a' && u <= 'z') return u - 'a' + 26;
    if (u >= '0' && u <= '9') return u - '0' + 52;
    if (u == '-') return 62;
    if (u == '_') return 63;
    return -1;
}

OutlineCode Fault(CodeFault fault, const QString& detail = {}) {
    OutlineCode code;
    code.fault = fault;
    code.detail = detail;
    return code;
}

QString Hex(char32_t u) {
    return QString::number(u, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

// A character of a fault as a reason shows it: control characters by their number alone,
// so that the reason stays one line.
bool Control(const QString& ch) {
    const char32_t u = ch.isEmpty() ? 0 : ch.toUcs4().value(0);
    return u < 32 || (u >= 127 && u < 160) || u == 0x2028 || u == 0x2029;
}

QString CharacterEn(const QString& ch) {
    const QString hex = Hex(ch.isEmpty() ? 0 : ch.toUcs4().value(0));
    return Control(ch) ? QStringLiteral("a control character (U+%1)").arg(hex)
                       : QStringLiteral("\u00AB%1\u00BB (U+%2)").arg(ch, hex);
}

QString CharacterRu(const QString& ch) {
    return Control(ch) ? QStringLiteral("управляющего знака")
                       : QStringLiteral("знака «%1»").arg(ch);
}

// The faults of a name that a player can mend, before the rest of OutlineFault.
OutlineCode NameFault(const QString& name) {
    if (name.isEmpty()) return Fault(CodeFault::NoName);
    const qsizetype bytes = name.toUtf8().size();
    if (bytes > kCodeNameLimit) return Fault(CodeFault::LongName, QString::number(bytes));
    for (const char32_t u : name.toUcs4()) {
        const QString ch = QString::fromUcs4(&u, 1);
        bool ok = false;
        platform::ToCp1251(ch, &ok);
        if (u < 32 || u == 127 || !ok) return Fault(CodeFault::NameCharacter, ch);
    }
    return {};
}

// Every fault an outline file would have; the name's first, in the words of a code.
OutlineCode DraftFault(const OutlineDraft& draft) {
    OutlineCode code = NameFault(draft.name);
    if (code.fault != CodeFault::None) return code;
    const QString fault = OutlineFault(draft);
    if (!fault.isEmpty()) return Fault(CodeFault::Outline, fault);
    return {};
}

// Strict base64url without padding: cut for a length no encoder makes; false as well for
// leftover bits that are not zero, which a changed or a lost last character gives.
bool FromBase64Url(QStringView text, QByteArray& out, bool& cut) {
    cut = text.size() % 4 == 1;
    if (cut) return false;
    out.reserve(text.size() * 3 / 4);
    std::uint32_t bits = 0;
    int held = 0;
    for (const QChar ch : text) {
        bits = (bits << 6) | static_cast<std::uint32_t>(Sextet(ch));
        held += 6;
        if (held >= 8) {
            held -= 8;
            out += static_cast<char>((bits >> held) & 0xFF);
        }
    }
    return (bits & ((1u << held) - 1)) == 0;
}

}  // namespace

std::uint32_t Crc32(QByteArrayView bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char b : bytes)
        crc = table[(crc ^ static_cast<unsigned char>(b)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

QString CodeText(const QByteArray& payload) {
    QByteArray bytes = payload;
    const std::uint32_t crc = Crc32(payload);
    for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>((crc >> shift) & 0xFF);
    return QLatin1String(kCodePrefix) +
           QString::fromLatin1(
               bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

OutlineCode EncodeOutline(const OutlineDraft& draft) {
    OutlineCode code = DraftFault(draft);
    if (code.fault != CodeFault::None) return code;
    // A draft without faults has cells; none would have no box.
    if (draft.cells.empty()) return Fault(CodeFault::Outline, QStringLiteral("no cells"));
    const CellBounds box = BoundsOf(draft.cells);
    const int left = box.minC, top = box.minR, width = box.Width(), height = box.Height();
    const QByteArray name = draft.name.toUtf8();
    int mask = 0;
    for (const int p : draft.excluded) mask |= 1 << (p - 1);
    QByteArray payload;
    payload += static_cast<char>(name.size());
    payload += name;
    payload += static_cast<char>(mask >> 8);
    payload += static_cast<char>(mask & 0xFF);
    for (const int v : {left, top, width, height}) payload += static_cast<char>(v);
    QByteArray bitmap((width * height + 7) / 8, '\0');
    for (const BoardCell& c : draft.cells) {
        const int bit = (c.row - top) * width + (c.column - left);
        bitmap[bit / 8] = static_cast<char>(bitmap[bit / 8] | (0x80 >> (bit % 8)));
    }
    payload += bitmap;
    code.text = CodeText(payload);
    code.draft = draft;
    return code;
}

OutlineCode DecodeOutline(QStringView text) {
    if (text.size() > kRawTextLimit) return Fault(CodeFault::TooLong, QString::number(text.size()));
    QString plain;
    plain.reserve(text.size());
    for (const QChar ch : text) {
        if (!ch.isSpace()) plain += ch;
    }
    if (plain.isEmpty()) return Fault(CodeFault::Empty);
    const QLatin1String prefix(kCodePrefix);
    if (!plain.startsWith(prefix)) {
        static const QRegularExpression other(QStringLiteral("^KV(\\d{1,9})-"));
        const QRegularExpressionMatch match = other.match(plain);
        if (match.hasMatch() && match.captured(1).toInt() != 1) {
            return Fault(CodeFault::Version, QString::number(match.captured(1).toInt()));
        }
        return Fault(CodeFault::Foreign);
    }
    if (plain.size() > kCodeTextLimit)
        return Fault(CodeFault::TooLong, QString::number(plain.size()));
    const QStringView body = QStringView(plain).sliced(prefix.size());
    for (const QChar ch : body) {
        if (Sextet(ch) < 0) return Fault(CodeFault::Character, QString(ch));
    }
    QByteArray bytes;
    bool cut = false;
    const bool clean = FromBase64Url(body, bytes, cut);
    if (cut) return Fault(CodeFault::CutShort);

    // What the header says the payload holds; only to tell a cut code from a changed one
    // before the checksum is trusted.
    const auto at = [&bytes](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const qsizetype nameSize = bytes.isEmpty() ? 0 : at(0);
    const qsizetype boxAt = 1 + nameSize + 2;
    const bool header = bytes.size() >= boxAt + 4;
    int left = 0, top = 0, width = 0, height = 0;
    if (header) {
        left = at(boxAt);
        top = at(boxAt + 1);
        width = at(boxAt + 2);
        height = at(boxAt + 3);
    }
    const bool onBoard =
        header && width >= 1 && height >= 1 && left + width <= kColumns && top + height <= kRows;
    const qsizetype bitmapSize = (width * height + 7) / 8;
    const qsizetype size = 1 + nameSize + kBoxBytes + bitmapSize + kCrcBytes;

    if (bytes.size() < 1 + kBoxBytes + 1 + kCrcBytes) return Fault(CodeFault::CutShort);
    const QByteArrayView payload = QByteArrayView(bytes).first(bytes.size() - kCrcBytes);
    std::uint32_t stored = 0;
    for (qsizetype i = bytes.size() - kCrcBytes; i < bytes.size(); ++i)
        stored = stored << 8 | at(i);
    if (!clean || Crc32(payload) != stored) {
        // Cut short: the header is whole and sound, and says there should be more.
        if ((!header || onBoard) && bytes.size() < size) return Fault(CodeFault::CutShort);
        return Fault(CodeFault::Checksum);
    }

    // A sound checksum over bytes this game does not make: another program's, or a bug's.
    if (!header) return Fault(CodeFault::Contents, QStringLiteral("no room for the box"));
    const QByteArray name = bytes.mid(1, nameSize);
    const QString nameText = QString::fromUtf8(name);
    if (nameText.toUtf8() != name) {
        return Fault(CodeFault::Contents, QStringLiteral("the name is not UTF-8"));
    }
    const int mask = at(1 + nameSize) << 8 | at(2 + nameSize);
    if (mask >> kPieces)
        return Fault(CodeFault::Contents, QStringLiteral("pieces beyond the twelve"));
    if (!onBoard) {
        return Fault(CodeFault::Contents,
                     QStringLiteral("a box of %1 x %2 at (%3, %4), off the board")
                         .arg(width)
                         .arg(height)
                         .arg(left)
                         .arg(top));
    }
    if (bytes.size() != size) {
        return Fault(CodeFault::Contents,
                     QStringLiteral("%1 bytes where the box needs %2").arg(bytes.size()).arg(size));
    }
    const qsizetype bitmapAt = boxAt + 4;
    const int spare = static_cast<int>(bitmapSize * 8 - width * height);
    if (bitmapSize > 0 && (at(bitmapAt + bitmapSize - 1) & ((1 << spare) - 1)) != 0) {
        return Fault(CodeFault::Contents, QStringLiteral("bits after the last cell"));
    }

    OutlineCode code;
    code.text = plain;
    code.draft.name = nameText;
    for (int p = 1; p <= kPieces; ++p) {
        if (mask & (1 << (p - 1))) code.draft.excluded.push_back(p);
    }
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) {
            const int bit = r * width + c;
            if (at(bitmapAt + bit / 8) & (0x80 >> (bit % 8)))
                code.draft.cells.push_back({left + c, top + r});
        }
    }
    const OutlineCode fault = DraftFault(code.draft);
    if (fault.fault != CodeFault::None) return fault;
    // The very check a file of it would meet when the game or the tool opens it.
    const StrictOutline file = CheckOutlineFile(WriteOutline(code.draft));
    if (!file.fault.isEmpty()) return Fault(CodeFault::Outline, file.fault);
    return code;
}

QString CodeFaultText(const OutlineCode& code) {
    switch (code.fault) {
        case CodeFault::None:
            return {};
        case CodeFault::Empty:
            return QStringLiteral("the code is empty");
        case CodeFault::Foreign:
            return QStringLiteral("not an outline code: it does not begin with %1")
                .arg(QLatin1String(kCodePrefix));
        case CodeFault::Version:
            return QStringLiteral("a code of version KV%1; this version reads %2 only")
                .arg(code.detail, QLatin1String(kCodePrefix).chopped(1));
        case CodeFault::TooLong:
            return QStringLiteral("%1 characters, longer than any outline code (%2 at most)")
                .arg(code.detail)
                .arg(kCodeTextLimit);
        case CodeFault::Character:
            return QStringLiteral("%1 cannot stand in a code").arg(CharacterEn(code.detail));
        case CodeFault::CutShort:
            return QStringLiteral("the code is cut short");
        case CodeFault::Checksum:
            return QStringLiteral("the code is damaged: its checksum does not match");
        case CodeFault::Contents:
            return QStringLiteral("the code holds no outline this game made: %1").arg(code.detail);
        case CodeFault::NoName:
            return QStringLiteral("the name is empty");
        case CodeFault::LongName:
            return QStringLiteral("the name is %1 bytes in UTF-8, more than the %2 a code holds")
                .arg(code.detail)
                .arg(kCodeNameLimit);
        case CodeFault::NameCharacter:
            return QStringLiteral("the name holds %1, which an outline name cannot hold")
                .arg(CharacterEn(code.detail));
        case CodeFault::Outline:
            return code.detail;
    }
    return {};
}

QString CodeRefusal(const OutlineCode& code) {
    switch (code.fault) {
        case CodeFault::None:
            return {};
        case CodeFault::Empty:
            return QStringLiteral("текст пуст");
        case CodeFault::Foreign:
            return QStringLiteral("это не код квелта, код начинается с «%1»")
                .arg(QLatin1String(kCodePrefix));
        case CodeFault::Version:
            return QStringLiteral("код версии KV%1, а игра читает %2")
                .arg(code.detail, QLatin1String(kCodePrefix).chopped(1));
        case CodeFault::TooLong:
            return QStringLiteral("текст длиннее любого кода");
        case CodeFault::Character:
            return QStringLiteral("%1 в коде быть не может").arg(CharacterRu(code.detail));
        case CodeFault::CutShort:
            return QStringLiteral("код обрезан");
        case CodeFault::Checksum:
            return QStringLiteral("код повреждён, не сходится контрольная сумма");
        case CodeFault::Contents:
            return QStringLiteral("код испорчен или сделан не этой игрой");
        case CodeFault::NoName:
            return QStringLiteral("у квелта нет названия");
        case CodeFault::LongName:
            return QStringLiteral("название слишком длинное");
        case CodeFault::NameCharacter:
            return QStringLiteral("%1 в названии быть не может").arg(CharacterRu(code.detail));
        case CodeFault::Outline:
            return QStringLiteral("клетки и фигуры квелта не сходятся");
    }
    return {};
}

}  // namespace kv
