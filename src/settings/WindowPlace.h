// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window's size, position and maximised state, kept for each player from one run
// to the next in a file of its own in the per-user settings folder ("Kvelt.ini" keeps its
// one line).
#pragma once

#include <QString>

class QWidget;

namespace kv {

// The file: "window-place" in the per-user settings folder.
QString WindowPlacePath();
// Writes the window's place; a maximised window keeps the size it has when restored.
void SaveWindowPlace(const QWidget* window);
// Gives the window the place last saved, clamped to the screen it opens on, where showing
// it leaves it; false, and the window untouched, when there is none to be read.
bool RestoreWindowPlace(QWidget* window);

// The size a resizable dialog was closed at, kept beside the main window's place in a file
// named for it ("library-size" for the outline library), as "width height". Dialogs open over
// the main window, so only the size is kept.
QString DialogSizePath(const QString& name);
void SaveDialogSize(const QWidget* dialog, const QString& name);
// Gives the dialog the size last saved, no smaller than its minimum and no larger than the
// screen's free area; false, and the dialog untouched, when there is none to be read.
bool RestoreDialogSize(QWidget* dialog, const QString& name);

}  // namespace kv
