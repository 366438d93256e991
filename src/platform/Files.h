// Opening files the way the game reports it: a missing file is told apart from every
// other reason a file cannot be opened.
#pragma once

#include <QString>

class QFile;

namespace kv::platform {

enum class OpenResult { Opened, NotFound, CannotOpen };

// Opens file for reading.
OpenResult OpenForReading(QFile& file);
// "Файл не найден." or "Файл открыть не возможно.".
QString OpenFailureText(OpenResult result);

// The folder of the running program, with no trailing separator.
QString ProgramFolder();
// True when files can be created in folder.
bool FolderWritable(const QString& folder);
// True when files can be created in the program folder. An installed copy usually lives
// where the player cannot write.
bool ProgramFolderWritable();
// Per-user folders for what cannot go beside an installed program: settings and cache.
// Created on demand; no trailing separator.
QString UserSettingsFolder();
QString UserCacheFolder();
// Where the player's positions go when the Examples folder cannot take them: «Квелт» in the
// documents folder, created on demand; no trailing separator.
QString UserPositionsFolder();

// Makes ProgramFolder answer folder instead (tests run the game from a folder of their
// own); an empty text restores the real one.
void SetProgramFolder(const QString& folder);

}  // namespace kv::platform
