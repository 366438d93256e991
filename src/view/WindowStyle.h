// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// What the game's windows share: their font and their place in the middle of the screen.
#pragma once

#include <QFont>

class QWidget;

namespace kv {

// Bold "MS Sans Serif" at the given size; fontconfig stands a sans serif in where it is absent.
QFont DialogFont(qreal points);

// Keeps a top-level window in the middle of its owner's screen (or the primary screen),
// frame included: placed now by its bare size, and once more when first shown, since the
// frame is known only then.
void CentreOnScreen(QWidget* window);
// Leaves a window where it has been put since: its centring on first show is dropped.
void KeepPlace(QWidget* window);

}  // namespace kv
