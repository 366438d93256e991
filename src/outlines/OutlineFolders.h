// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The two outline folders: the shipped Examples beside the program, read only once
// installed, and the player's own, where the outline editor saves and where a player may
// copy any outline file. Used by the library, Continue and the editor.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace kv {

// The player's outline folder with a trailing "/": $XDG_DATA_HOME/kvelt/Examples/, that is
// ~/.local/share/kvelt/Examples/ by default. Created on first use; when it cannot be made
// the path is still returned, and reading it simply finds nothing.
QString UserExamplesPath();

struct OutlineFileEntry {
    QString file;      // file name, no folder, as the player reads it
    QString path;      // full path
    QByteArray bytes;  // full path as it is on disk: the name may not be UTF-8
};

// The "*.kvt" files (any letter case) of both folders, in no particular order. A file name
// found in both is listed once, from the player's folder: the player's own copy wins.
std::vector<OutlineFileEntry> ListOutlineFiles();

// Full path of the outline with a bare file name: in the player's folder when a file of that
// name is there, else in ExamplesPath (whether or not it exists, so that the loader tells why
// it cannot be opened).
QString FindOutline(const QString& fileName);

}  // namespace kv
