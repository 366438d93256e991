// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SystemColors.h"

namespace kv::platform {

namespace {

// The classic Windows defaults the game was designed with, so that the board looks the
// same on every desktop theme.
QRgb SystemColour(std::uint32_t index) {
    switch (index) {
        case 5:  // COLOR_WINDOW
            return qRgb(255, 255, 255);
        case 7:  // COLOR_MENUTEXT
            return qRgb(0, 0, 0);
        case 12:  // COLOR_APPWORKSPACE
            return qRgb(171, 171, 171);
        case 15:  // COLOR_BTNFACE
            return qRgb(240, 240, 240);
        case 16:  // COLOR_BTNSHADOW
            return qRgb(160, 160, 160);
        case 20:  // COLOR_BTNHIGHLIGHT
            return qRgb(255, 255, 255);
        case 21:  // COLOR_3DDKSHADOW
            return qRgb(105, 105, 105);
        case 22:  // COLOR_3DLIGHT
            return qRgb(227, 227, 227);
        default:
            return qRgb(0, 0, 0);
    }
}

}  // namespace

QRgb ToRgb(std::uint32_t colour) {
    if (colour & 0x80000000u) return SystemColour(colour & 0xFFu);
    return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

}  // namespace kv::platform
