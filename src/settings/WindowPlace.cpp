// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/WindowPlace.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>
#include <algorithm>

#include "platform/Files.h"
#include "view/WindowStyle.h"

namespace kv {

QString WindowPlacePath() {
    return platform::UserSettingsFolder() + QStringLiteral("/window-place");
}

void SaveWindowPlace(const QWidget* window) {
    if (!window) return;
    // Like the settings file, nothing is reported: the next start merely opens centred.
    QFile file(WindowPlacePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    // saveGeometry keeps the normal geometry beside the maximised state. Text, one line.
    file.write(window->saveGeometry().toBase64() + '\n');
}

bool RestoreWindowPlace(QWidget* window) {
    if (!window) return false;
    // Looked for without making the settings folder, which a first start need not have.
    QFile file(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
               QStringLiteral("/window-place"));
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray geometry = QByteArray::fromBase64(file.read(64 * 1024).trimmed());
    if (geometry.isEmpty() || !window->restoreGeometry(geometry)) return false;
    KeepPlace(window);  // not centred again when shown
    return true;
}

}  // namespace kv
