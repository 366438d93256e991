// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Keys and mouse buttons in the codes the play handlers speak: Windows virtual-key codes
// and the buttons 1 left, 2 right, 4 middle.
#pragma once

#include <Qt>

class QKeyEvent;

namespace kv::platform {

inline constexpr int VK_RETURN = 13;
inline constexpr int VK_ESCAPE = 27;
inline constexpr int VK_SPACE = 32;
inline constexpr int VK_PRIOR = 33;  // Page Up
inline constexpr int VK_NEXT = 34;   // Page Down
inline constexpr int VK_HOME = 36;
inline constexpr int VK_LEFT = 37;
inline constexpr int VK_UP = 38;
inline constexpr int VK_RIGHT = 39;
inline constexpr int VK_DOWN = 40;
// Letter keys are 'A' to 'Z', named by the Latin letter on the key.

// The virtual-key code of a key event, 0 for keys the game does not know. A letter key gives
// the same code under a Russian layout as under a Latin one: a Cyrillic letter counts as the
// Latin letter on the same key of the standard keyboards (Ч as X, Я as Z).
int VirtualKeyCode(const QKeyEvent* event);
int VirtualKeyCode(int qtKey);
// 1 left, 2 right, 4 middle, 0 for any other button.
int MouseButtonCode(Qt::MouseButton button);

}  // namespace kv::platform
