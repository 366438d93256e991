// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window's size, position and maximised state, kept for each player from one run
// to the next in a file of its own in the per-user settings folder ("Kvelt.ini" keeps its
// one line).
#pragma once

#include <QString>

#include "platform/DialogSize.h"

class QWidget;

namespace kv {

// The file: "window-place" in the per-user settings folder.
QString WindowPlacePath();
// Writes the window's place; a maximised window keeps the size it has when restored.
void SaveWindowPlace(const QWidget* window);
// Gives the window the place last saved, clamped to the screen it opens on, where showing
// it leaves it; false, and the window untouched, when there is none to be read.
bool RestoreWindowPlace(QWidget* window);

}  // namespace kv
