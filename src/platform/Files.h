// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Opening files the way the game reports it: a missing file is told apart from every
// other reason a file cannot be opened.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QFile;

namespace kv::platform {

enum class OpenResult { Opened, NotFound, CannotOpen };

// Opens file for reading. A name with no file under it in UTF-8 is tried in Windows-1251,
// so that a file listed by ListFolder opens by the name it was listed under.
OpenResult OpenForReading(QFile& file);
// Opens the file the system knows by the bytes path, for reading.
OpenResult OpenForReading(QFile& file, const QByteArray& path);

// A file of a folder as ListFolder finds it.
struct FolderFile {
    QString name;      // as the player reads it
    QByteArray bytes;  // as it is on disk
};
// The plain files of folder (no hidden ones) whose names end in suffix, an ASCII text
// matched in any letter case; in no particular order. Names are read from their bytes: a
// name that is not UTF-8 is taken as Windows-1251, the code page of files from Windows
// archives. QDir cannot be used: it replaces such bytes and loses the file.
QList<FolderFile> ListFolder(const QString& folder, const QByteArray& suffix);
// The bytes of path for the system: its UTF-8 form, or, when nothing has that name but a
// file has its last part in Windows-1251, that file's.
QByteArray NativePath(const QString& path);
// True when path (found as NativePath finds it) is a plain file, not a folder or a device.
bool IsPlainFile(const QString& path);
// "Файл не найден." or "Файл открыть не возможно.".
QString OpenFailureText(OpenResult result);

// The folder of the running program, with no trailing separator.
QString ProgramFolder();
// True when files can be created in folder.
bool FolderWritable(const QString& folder);
// True when files can be created in the program folder.
bool ProgramFolderWritable();
// The folder of what ships with the game (Examples, the help document and its pictures), with
// no trailing separator: the program folder of a plain build, and for an installed copy the
// data folder it was built for.
QString DataFolder();
// True for a copy built to be installed (decided when building, not by a write test): it
// writes only into the player's own folders, never beside itself, even when run as root.
bool InstalledCopy();
// Makes the running program an installed copy whose data folder is dataFolder, taken
// relative to the program folder unless absolute; an empty text makes it a plain build.
// The installed game's main calls it with the folder compiled in.
void SetInstalledLayout(const QString& dataFolder);
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
