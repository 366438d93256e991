// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The outline on the board and loading one from its file.
#pragma once

#include <QByteArray>
#include <QString>

namespace kv {

extern QString OutlineName;  // line 1 of the outline file on the board
extern QString OutlinePath;  // full path of that file
extern int OutlineCellList[60][2];
extern int OutlineLastCell;
extern int OutlineLoaded;  // 0 until the first successful load, then 1

// Loads the outline file at path onto a cleared board. 0 when loaded; 1 when the file
// cannot be opened or is damaged (the player has seen why, and nothing has changed). The
// position file of the game before is the caller's to forget.
int OpenKvelt(const QString& path);
// Draws the cells of the outline black.
void ShowKvelt();

// Forgets the outline, as before the first load (for a fresh start in tests).
void ResetOutlineState();

}  // namespace kv
