// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "paths/Paths.h"

#include <QDir>
#include <QStandardPaths>

#include "platform/Files.h"

namespace kv {

QString ExamplesPath;

QString MakeExamplesPath(const QString& programFolder) {
    // A Windows folder is written with "\". Here "/" is the separator and "\" may be part
    // of a folder's name, so a path that holds any "/" keeps "/".
    const bool windowsStyle =
        programFolder.contains(QLatin1Char('\\')) && !programFolder.contains(QLatin1Char('/'));
    const QChar separator = windowsStyle ? QLatin1Char('\\') : QLatin1Char('/');
    QString path = programFolder;
    if (!path.endsWith(separator)) path += separator;
    return path + QStringLiteral("Examples") + separator;
}

QString UserExamplesPath() {
    // GenericDataLocation is $XDG_DATA_HOME, or ~/.local/share when it is unset.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                           QStringLiteral("/kvelt/Examples");
    QDir().mkpath(folder);
    return folder + QLatin1Char('/');
}

QString PositionsFolder() {
    return platform::InstalledCopy() ? platform::UserPositionsFolder() + QLatin1Char('/')
                                     : ExamplesPath;
}

QString RedirectPagesFolder() {
    return platform::InstalledCopy() ? platform::UserCacheFolder() + QLatin1Char('/')
                                     : ExamplesPath;
}

QString SettingsFolder() {
    // An installed copy never writes beside itself: it keeps the file in the player's folder.
    return platform::InstalledCopy() ? platform::UserSettingsFolder() : platform::ProgramFolder();
}

}  // namespace kv
