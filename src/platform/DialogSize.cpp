// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/DialogSize.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>

#include "platform/Files.h"

namespace kv {

QString DialogSizePath(const QString& name) {
    return platform::UserSettingsFolder() + QLatin1Char('/') + name;
}

void SaveDialogSize(const QWidget* dialog, const QString& name) {
    if (!dialog) return;
    // Nothing is reported, as for the main window's place.
    QFile file(DialogSizePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    file.write(QByteArray::number(dialog->width()) + ' ' + QByteArray::number(dialog->height()) +
               '\n');
}

bool RestoreDialogSize(QWidget* dialog, const QString& name) {
    if (!dialog) return false;
    // Looked for without making the settings folder, as the main window's place is.
    QFile file(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
               QLatin1Char('/') + name);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QList<QByteArray> fields = file.read(64).simplified().split(' ');
    bool okWidth = false, okHeight = false;
    if (fields.size() != 2) return false;
    QSize size(fields[0].toInt(&okWidth), fields[1].toInt(&okHeight));
    if (!okWidth || !okHeight) return false;
    const QWidget* over = dialog->parentWidget() ? dialog->parentWidget() : dialog;
    const QScreen* screen = over->screen() ? over->screen() : QGuiApplication::primaryScreen();
    if (screen) size = size.boundedTo(screen->availableGeometry().size());
    dialog->resize(size.expandedTo(dialog->minimumSize()));
    return true;
}

}  // namespace kv
