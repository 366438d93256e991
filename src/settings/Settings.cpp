// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/Settings.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QWidget>

#include "model/Model.h"
#include "model/Operations.h"
#include "outlines/Outline.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/TextFields.h"
#include "play/Play.h"
#include "play/Progress.h"
#include "positions/Positions.h"
#include "view/BoardDrawing.h"

namespace kv {

namespace {
const QString kSettingsName = QStringLiteral("Kvelt.ini");
}

QString ReadSettingsPath(const QByteArray& contents) {
    QByteArray copy = contents;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    platform::FieldReader reader(buffer);
    // The file never leaves this machine, so it is in the system's encoding (UTF-8).
    return QString::fromUtf8(reader.ReadTextField());
}

void LoadINI() {
    ExamplesPath = MakeExamplesPath(platform::DataFolder());
    if (QWidget* window = platform::MainWidget()) window->setWindowTitle(platform::AppTitle());
    BuildPieceSet();
    ClearOutlineGrid();

    // From here on a failing step is passed over silently.
    QString path;
    // The current folder's file as always; started from elsewhere (the launcher starts in
    // the player's home), the one the last exit wrote.
    QFile settings(QFileInfo::exists(kSettingsName) ? kSettingsName : SettingsFilePath());
    if (platform::OpenForReading(settings) == platform::OpenResult::Opened) {
        path = ReadSettingsPath(settings.read(64 * 1024));
        settings.close();
    }
    if (path.isEmpty()) path = ExamplesPath + QStringLiteral("0001.kvt");
    if (OpenKvelt(path) == 1) NewPole();
    PositionPath.clear();
    StartPlay();
    JourneyLoaded(true);
}

QString SettingsFilePath() {
    // An installed copy never writes beside itself: it keeps the file in the player's folder.
    return SettingsFolder() + QLatin1Char('/') + kSettingsName;
}

QByteArray SettingsLine(const QString& path) {
    // Unquoted, the reader would stop at a comma and drop blanks at the start.
    const auto blank = [](QChar ch) { return ch == QLatin1Char(' ') || ch == QLatin1Char('\t'); };
    const bool quote = path.contains(QLatin1Char(',')) ||
                       (!path.isEmpty() && (blank(path.front()) || blank(path.back())));
    const QByteArray bytes = path.toUtf8();
    return (quote ? '"' + bytes + '"' : bytes) + "\r\n";
}

void SaveINI() {
    QFile settings(SettingsFilePath());
    if (!settings.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    settings.write(SettingsLine(OutlinePath));
    settings.close();
}

}  // namespace kv
