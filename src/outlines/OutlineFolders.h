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

#include "outlines/OutlineWriter.h"
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

// What the library lists of an outline file.
struct ListedOutline {
    bool opened = false;   // false: the file cannot be opened, and is left out
    bool damaged = false;  // the file opens but is no sound outline
    QString name;          // the outline's name, or the file name for a damaged file
    OutlineDraft draft;    // what a sound file holds
    QByteArray key;        // of a sound file, when ListOutlines was given a way to make it
};

// The key ListOutlines keeps with a sound outline: always the same function for a draft.
using OutlineKeyOf = QByteArray (*)(const OutlineDraft& draft);

// Reads and checks the outline file f as the library lists it (the check of
// "kvelt-outline check"). The answer is kept for the session under the file's path, size,
// modification and change time: the next listing reads only the files changed since.
ListedOutline ListOutline(const OutlineFileEntry& f);
// ListOutline of every file, in their order, each folder opened once for them all. With
// keyOf, each sound outline's key is made when its file is read and kept with the answer.
std::vector<ListedOutline> ListOutlines(const std::vector<OutlineFileEntry>& files,
                                        OutlineKeyOf keyOf = nullptr);
// Forgets every kept answer, so that the next listing reads every file again.
void ForgetListedOutlines();
// How many files ListOutline has read in this session rather than answered from what it kept.
int ListedOutlinesRead();

// Full paths of the plain files named fileName (a bare file name): the player's first, then
// the shipped one. Empty when neither folder holds such a file; a folder of that name is no
// outline.
QStringList FindOutlines(const QString& fileName);

}  // namespace kv
