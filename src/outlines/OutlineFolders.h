// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The two outline folders: the shipped Examples beside the program, read only once
// installed, and the player's own, where the outline editor saves and where a player may
// copy any outline file. Used by the library, Continue and the editor.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "paths/Paths.h"

namespace kv {

// UserExamplesPath, the player's outline folder, is in paths/Paths.h.

struct OutlineFileEntry {
    QString file;      // file name, no folder, as the player reads it
    QString path;      // full path
    QByteArray bytes;  // full path as it is on disk: the name may not be UTF-8
    bool own = false;  // from the player's folder
};

// The "*.kvt" plain files (any letter case) of both folders, in no particular order. A file
// name found in both is listed twice: neither copy hides the other.
std::vector<OutlineFileEntry> ListOutlineFiles();

// Full paths of the plain files named fileName (a bare file name): the player's first, then
// the shipped one. Empty when neither folder holds such a file; a folder of that name is no
// outline.
QStringList FindOutlines(const QString& fileName);

}  // namespace kv
