// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Keys.h"

#include <QKeyEvent>

namespace kv::platform {

namespace {

// The Russian keyboard (ЙЦУКЕН) over the Latin one (QWERTY), letter by letter from А to Я;
// 0 where the Cyrillic letter sits on no Latin letter's key.
constexpr char kLatinOfCyrillic[32 + 1] = "F\0DULT\0PBQRKVYJGHCNEA\0WXIO\0SM\0\0Z";

int LatinOfCyrillic(int qtKey) {
    if (qtKey >= 0x0430 && qtKey <= 0x044F) qtKey -= 0x20;  // а..я as А..Я
    if (qtKey < 0x0410 || qtKey > 0x042F) return 0;
    return kLatinOfCyrillic[qtKey - 0x0410];
}

}  // namespace

int VirtualKeyCode(int qtKey) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;  // 'A'..'Z'
    if (const int latin = LatinOfCyrillic(qtKey)) return latin;
    switch (qtKey) {
        case Qt::Key_Return:
        case Qt::Key_Enter:  // the keypad's Enter
            return VK_RETURN;
        case Qt::Key_Escape:
            return VK_ESCAPE;
        case Qt::Key_Space:
            return VK_SPACE;
        case Qt::Key_PageUp:
            return VK_PRIOR;
        case Qt::Key_PageDown:
            return VK_NEXT;
        case Qt::Key_Home:
            return VK_HOME;
        case Qt::Key_Left:
            return VK_LEFT;
        case Qt::Key_Up:
            return VK_UP;
        case Qt::Key_Right:
            return VK_RIGHT;
        case Qt::Key_Down:
            return VK_DOWN;
        default:
            return 0;
    }
}

int VirtualKeyCode(const QKeyEvent* event) {
    if (!event) return 0;
    const int code = VirtualKeyCode(event->key());
    // A letter with Ctrl or Alt is a command (Ctrl+Z with nothing to take back reaches the
    // board), never a piece's letter.
    const bool command =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return command && code >= 'A' && code <= 'Z' ? 0 : code;
}

int MouseButtonCode(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

}  // namespace kv::platform
