// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outlines/OutlineFolders.h"

#include <QFile>

#include "paths/Paths.h"
#include "platform/Files.h"

namespace kv {

namespace {

void AddFiles(const QString& folder, bool own, std::vector<OutlineFileEntry>& into) {
    QByteArray prefix = QFile::encodeName(folder);
    if (!prefix.endsWith('/')) prefix += '/';
    for (const platform::FolderFile& f : platform::ListFolder(folder, ".kvt")) {
        into.push_back({f.name, folder + f.name, prefix + f.bytes, own});
    }
}

}  // namespace

std::vector<OutlineFileEntry> ListOutlineFiles() {
    std::vector<OutlineFileEntry> files;
    AddFiles(UserExamplesPath(), true, files);
    AddFiles(ExamplesPath, false, files);
    return files;
}

QStringList FindOutlines(const QString& fileName) {
    QStringList found;
    if (fileName.isEmpty()) return found;
    for (const QString& folder : {UserExamplesPath(), ExamplesPath}) {
        // Only a plain file counts: a folder of that name must not pass for the outline.
        if (platform::IsPlainFile(folder + fileName)) found << folder + fileName;
    }
    return found;
}

}  // namespace kv
