// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The one mapping from the program's colour values to screen colours.
#pragma once

#include <QColor>
#include <cstdint>

namespace kv::platform {

// Windows system colour indices the program uses, as 0x80000000 + index.
inline constexpr std::uint32_t COLOR_MENUTEXT = 0x80000007;
inline constexpr std::uint32_t COLOR_WINDOW = 0x80000005;
inline constexpr std::uint32_t COLOR_APPWORKSPACE = 0x8000000C;
inline constexpr std::uint32_t COLOR_BTNFACE = 0x8000000F;
// The four colours of a sunken 3-D edge.
inline constexpr std::uint32_t COLOR_BTNSHADOW = 0x80000010;
inline constexpr std::uint32_t COLOR_BTNHIGHLIGHT = 0x80000014;
inline constexpr std::uint32_t COLOR_3DDKSHADOW = 0x80000015;
inline constexpr std::uint32_t COLOR_3DLIGHT = 0x80000016;

// 0x00BBGGRR, or a system colour, to an opaque QRgb.
QRgb ToRgb(std::uint32_t colour);
inline QColor ToQColor(std::uint32_t colour) {
    return QColor::fromRgb(ToRgb(colour));
}

}  // namespace kv::platform
