// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <array>

namespace kv::platform {

namespace {

// Bytes 0x80..0xBF; 0xC0..0xFF are А..я in order. 0x98 is unassigned.
constexpr char16_t kHigh[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

char16_t ByteToChar(unsigned char b) {
    if (b < 0x80) return b;
    if (b >= 0xC0) return static_cast<char16_t>(0x0410 + (b - 0xC0));
    return kHigh[b - 0x80];
}

// Our own table answers when the Qt build has no ICU code page.
QString TableDecode(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (const char ch : bytes) out.append(QChar(ByteToChar(static_cast<unsigned char>(ch))));
    return out;
}

QByteArray TableEncode(const QString& text, bool* ok) {
    static const std::array<int, 0x10000> reverse = [] {
        std::array<int, 0x10000> r{};
        r.fill(-1);
        for (int b = 255; b >= 0; --b) {
            const char16_t c = ByteToChar(static_cast<unsigned char>(b));
            if (c != 0xFFFD) r[c] = b;
        }
        return r;
    }();
    QByteArray out;
    out.reserve(text.size());
    bool good = true;
    for (const QChar ch : text) {
        const int b = reverse[ch.unicode()];
        if (b < 0) {
            good = false;
            out.append('?');
        } else {
            out.append(static_cast<char>(b));
        }
    }
    if (ok) *ok = good;
    return out;
}

}  // namespace

QString FromCp1251(const QByteArray& bytes) {
    // ASCII and А..я, all an outline's name usually holds, read alike by every decoder; the
    // library decodes thousands of names in a row, and a decoder costs more than a table.
    if (std::none_of(bytes.begin(), bytes.end(), [](char ch) {
            const auto b = static_cast<unsigned char>(ch);
            return b >= 0x80 && b < 0xC0;
        })) {
        return TableDecode(bytes);
    }
    QStringDecoder decoder("windows-1251");
    if (!decoder.isValid()) return TableDecode(bytes);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) return TableDecode(bytes);
    return text;
}

QByteArray ToCp1251(const QString& text, bool* ok) {
    // The table is exact for every character of the code page and says which are not.
    return TableEncode(text, ok);
}

}  // namespace kv::platform
