// The start-up loader and the settings file "Kvelt.ini".
#pragma once

#include <QByteArray>
#include <QString>

namespace kv {

// The outline folder with a trailing separator.
extern QString ExamplesPath;

// Builds ExamplesPath from a program folder path.
QString MakeExamplesPath(const QString& programFolder);
// Prepares the puzzle at start-up: piece set, settings file, first outline, pieces home.
void LoadINI();
// Writes the path of the outline on the board to the settings file.
void SaveINI();

// The first field of the settings file's contents.
QString ReadSettingsPath(const QByteArray& contents);

}  // namespace kv
