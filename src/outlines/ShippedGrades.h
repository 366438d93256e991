// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The grades of the shipped outlines, computed when the game is built so that listing the
// library costs no search.
#pragma once

#include <QByteArray>
#include <QString>
#include <map>

#include "solver/Grade.h"

namespace kv {

// One line of the grades file: "FILE<TAB>GRADE<TAB>TILINGS<TAB>NODES", TILINGS followed by
// "+" when the count stopped at its cap.
QByteArray GradeLine(const QString& fileName, const OutlineGrade& grade);
// The grades in the text of a grades file; lines that do not read as one are skipped.
std::map<QString, OutlineGrade> ParseGrades(const QByteArray& text);

// The grades of the shipped outlines, generated at build time into "grades.txt" beside
// Examples in the program folder (and installed beside Examples in the data folder),
// keyed by the outline's file name as listed (e.g. "Кошка.kvt"). Empty when the file is missing.
std::map<QString, OutlineGrade> ReadShippedGrades();

}  // namespace kv
