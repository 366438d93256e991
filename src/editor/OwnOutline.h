// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Saving an outline the player drew: always a new file in the player's outline folder,
// named after the outline. Used by the outline editor.
#pragma once

#include <QString>
#include <functional>

#include "outlines/OutlineWriter.h"

namespace kv {

// The file name (without ".kvt") made from an outline name: letters, digits, blanks, "-" and
// "_" are kept, anything else becomes "_" (a comma would cut the name short in a position
// file, a slash would make a folder); "Квелт" when nothing is left. Cut at a whole character
// so that with " (1000)" and ".kvt" its UTF-8 bytes stay within the 255 a file name may have.
QString OutlineFileStem(const QString& name);

struct SavedOutline {
    QString path;   // the file written; empty when nothing was
    QString error;  // the message for the player when nothing was written
};

// Writes draft, which must have no fault, into UserExamplesPath() as "stem.kvt", or
// "stem (2).kvt" and so on: the first name that neither folder holds, so that neither a file
// of the player's is replaced nor a shipped outline hidden. Never replaces a file, even one
// made meanwhile by another program: the file is created only if it is not there, else the
// next name is taken. A failed write leaves no file behind. chosen, when set, is called with
// each path picked, just before the file is made (tests make a file appear there).
SavedOutline SaveOwnOutline(const OutlineDraft& draft,
                            const std::function<void(const QString&)>& chosen = {});

struct KnownOutline {
    QString name;  // line 1 of the file
    QString file;  // file name, no folder
    QString path;  // full path; empty when no outline was found
};

// An outline file of the player's folder or the shipped one with the same left-out pieces and
// the same cells as draft, wherever on the board they stand (saving centres a drawing, so
// only the shape counts). The file at skip is not looked at.
KnownOutline FindSameOutline(const OutlineDraft& draft, const QString& skip = {});

}  // namespace kv
