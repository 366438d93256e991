// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The start-up loader and the settings file "Kvelt.ini".
#pragma once

#include <QByteArray>
#include <QString>

#include "paths/Paths.h"

namespace kv {
// Prepares the puzzle at start-up: piece set, settings file, first outline, pieces home.
// The settings file is read from the current folder when there is one there, otherwise
// from SettingsFilePath.
void LoadINI();
// Writes the path of the outline on the board to SettingsFilePath.
void SaveINI();

// Where SaveINI writes the settings file: the program folder, or the per-user settings
// folder when the program folder cannot be written.
QString SettingsFilePath();
// The settings file's line for path: in double quotes when a comma or a blank at either
// end would otherwise cut it short on reading; CR LF at the end.
QByteArray SettingsLine(const QString& path);

// The first field of the settings file's contents.
QString ReadSettingsPath(const QByteArray& contents);

}  // namespace kv
