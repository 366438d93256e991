// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Making outline files, and reading one strictly to find what keeps it from being a sound
// outline. The game reads with ReadOutline and never refuses a file; the outline tool
// uses these to write only sound files and to check the shipped ones.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "solver/Solver.h"

namespace kv {

struct OutlineDraft {
    QString name;
    std::vector<int> excluded;     // piece numbers, in the order written
    std::vector<BoardCell> cells;  // in the order written
};

// The first fault that keeps the draft from being a sound outline: a name that is empty,
// holds a control character or a character Windows-1251 has no byte for; more than eleven
// excluded pieces, a piece number outside 1..12 or listed twice; a cell off the board or
// listed twice; a cell count other than 60 - 5n. Empty when there is none. Solvability is
// not looked at.
QString OutlineFault(const OutlineDraft& draft);

// The bytes of the outline file of a draft without faults: the name in Windows-1251, the
// cell text scrambled, "n,p1,...,pn", a scrambled last line; CR LF line ends.
QByteArray WriteOutline(const OutlineDraft& draft);

struct StrictOutline {
    OutlineDraft draft;  // what could be read
    QString fault;       // empty when the file is a sound outline
};

// Reads an outline file field by field, as the game does, but says what is wrong: a count
// or piece number that is missing or out of range, a cell text that is not four characters a cell,
// holds anything but digits and blanks or bytes that cannot have been scrambled, and every fault of
// OutlineFault. Also makes sure the game's own reader sees the same outline.
StrictOutline ReadOutlineStrict(const QByteArray& bytes);

}  // namespace kv
