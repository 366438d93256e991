// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Saving an outline the player drew: always a new file in the player's outline folder,
// named after the outline. Used by the outline editor.
#pragma once

#include <QString>

#include "outlines/OutlineWriter.h"

namespace kv {

// The file name (without ".kvt") made from an outline name: letters, digits, blanks, "-" and
// "_" are kept, anything else becomes "_" (a comma would cut the name short in a position
// file, a slash would make a folder); "Квелт" when nothing is left.
QString OutlineFileStem(const QString& name);

struct SavedOutline {
    QString path;   // the file written; empty when nothing was
    QString error;  // the message for the player when nothing was written
};

// Writes draft, which must have no fault, into UserExamplesPath() as "stem.kvt", or
// "stem (2).kvt" and so on: the first name that neither folder holds, so that neither a file
// of the player's is replaced nor a shipped outline hidden. Never replaces a file, even one
// made meanwhile by another program. A failed write leaves no file behind.
SavedOutline SaveOwnOutline(const OutlineDraft& draft);

}  // namespace kv
