// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/OpenSave.h"

#include "platform/Files.h"
#include "platform/Services.h"
#include "settings/Settings.h"

namespace kv {

QString apiOpenSave(bool save, const QString& initialName, const QString& filter) {
    platform::FileDialogs* files = platform::services().files;
    if (!files) return {};
    // Only the first description and pattern pair is offered; no caller passes more.
    const QStringList parts = filter.split(QChar(0));
    const QString description = parts.value(0);
    const QString pattern = parts.value(1);
    // An installed copy's Examples folder is the system's: the player's own folder takes
    // the positions instead.
    const QString folder = platform::InstalledCopy()
                               ? platform::UserPositionsFolder() + QLatin1Char('/')
                               : ExamplesPath;
    return files->OpenSave(save, initialName, description, pattern, folder);
}

}  // namespace kv
