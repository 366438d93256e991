// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Where the game reads and writes: the shipped outline folder, the player's own outline
// folder, and the folders positions, redirect pages and the settings file go to. One low
// module (Qt Core) for the outlines, positions, windows, editor and settings; the desktop's
// own folders (XDG) come from platform/Files.h.
#pragma once

#include <QString>

namespace kv {

// The outline folder with a trailing separator.
extern QString ExamplesPath;

// Builds ExamplesPath from a program folder path.
QString MakeExamplesPath(const QString& programFolder);

// The player's outline folder with a trailing "/": $XDG_DATA_HOME/kvelt/Examples/, that is
// ~/.local/share/kvelt/Examples/ by default. Created on first use; when it cannot be made
// the path is still returned, and reading it simply finds nothing.
QString UserExamplesPath();

// Where the open and save dialogs of positions start, with a trailing separator: Examples,
// or, for an installed copy (whose Examples folder is the system's), the player's positions
// folder in the documents folder.
QString PositionsFolder();

// Where the About window's redirect pages go, with a trailing separator: Examples, or the
// per-user cache folder for an installed copy.
QString RedirectPagesFolder();

// The folder the settings file is written to, no trailing separator: the program folder, or
// the per-user settings folder for an installed copy.
QString SettingsFolder();

}  // namespace kv
