// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Outline drawings: the plain-text sources the outline files are made from.
//
// Line 1 is the outline name (UTF-8). Line 2 lists the excluded piece numbers 1..12,
// separated by blanks or commas; it is empty, or "-", when all twelve are in play. Every
// further line is a row of the drawing: '#' for an outline cell, '.' or a blank for none.
// Blank lines at the end are dropped. The drawing, as wide as its longest row, is centred
// on the 35 x 24 board: it starts at column (35 - width) div 2 and row (24 - height) div 2.
#pragma once

#include <QByteArray>
#include <QString>

#include "outlines/OutlineWriter.h"

namespace kv {

struct ArtOutline {
    OutlineDraft draft;  // cells in row order
    QString fault;       // empty when the drawing makes a sound outline
};

// Reads a drawing. The fault names the line (and column) where that helps.
ArtOutline ParseOutlineArt(const QByteArray& text);

// The drawing of an outline whose cells lie on the board. It is the outline's bounding box,
// widened with '.' where needed so that reading it back puts every cell where it was.
QByteArray OutlineArtText(const OutlineDraft& draft);

}  // namespace kv
