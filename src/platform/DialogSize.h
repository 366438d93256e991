// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The sizes the player leaves resizable dialogs at, kept in the per-user settings folder.
#pragma once

#include <QString>

class QWidget;

namespace kv {

// The size a resizable dialog was closed at, kept beside the main window's place in a file
// named for it ("library-size" for the outline library), as "width height". Dialogs open over
// the main window, so only the size is kept.
QString DialogSizePath(const QString& name);
void SaveDialogSize(const QWidget* dialog, const QString& name);
// Gives the dialog the size last saved, no smaller than its minimum and no larger than the
// screen's free area; false, and the dialog untouched, when there is none to be read.
bool RestoreDialogSize(QWidget* dialog, const QString& name);

}  // namespace kv
