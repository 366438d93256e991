// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/OpenSave.h"

#include "platform/Services.h"

namespace kv {

QString apiOpenSave(bool save, const QString& initialName, const QString& filter,
                    const QString& folder) {
    platform::FileDialogs* files = platform::services().files;
    if (!files) return {};
    // Only the first description and pattern pair is offered; no caller passes more.
    const QStringList parts = filter.split(QChar(0));
    const QString description = parts.value(0);
    const QString pattern = parts.value(1);
    return files->OpenSave(save, initialName, description, pattern, folder);
}

}  // namespace kv
