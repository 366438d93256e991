// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outlines/OutlineFolders.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStandardPaths>

#include "platform/Files.h"
#include "settings/Settings.h"

namespace kv {

namespace {

void AddFiles(const QString& folder, std::vector<OutlineFileEntry>& into, QSet<QString>& seen) {
    QByteArray prefix = QFile::encodeName(folder);
    if (!prefix.endsWith('/')) prefix += '/';
    for (const platform::FolderFile& f : platform::ListFolder(folder, ".kvt")) {
        if (seen.contains(f.name)) continue;
        seen.insert(f.name);
        into.push_back({f.name, folder + f.name, prefix + f.bytes});
    }
}

}  // namespace

QString UserExamplesPath() {
    // GenericDataLocation is $XDG_DATA_HOME, or ~/.local/share when it is unset.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                           QStringLiteral("/kvelt/Examples");
    QDir().mkpath(folder);
    return folder + QLatin1Char('/');
}

std::vector<OutlineFileEntry> ListOutlineFiles() {
    std::vector<OutlineFileEntry> files;
    QSet<QString> seen;
    AddFiles(UserExamplesPath(), files, seen);  // first, so that its names win
    AddFiles(ExamplesPath, files, seen);
    return files;
}

QString FindOutline(const QString& fileName) {
    const QString own = UserExamplesPath() + fileName;
    // Only a plain file counts: a folder of that name must not hide the shipped outline.
    if (!fileName.isEmpty() && platform::IsPlainFile(own)) return own;
    return ExamplesPath + fileName;
}

}  // namespace kv
