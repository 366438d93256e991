#include "settings/Settings.h"

#include <QBuffer>
#include <QFile>
#include <QWidget>

#include "model/History.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "outlines/Outline.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/TextFields.h"
#include "view/BoardDrawing.h"

namespace kv {

QString ExamplesPath;

namespace {
const QString kSettingsName = QStringLiteral("Kvelt.ini");
}

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

QString ReadSettingsPath(const QByteArray& contents) {
    QByteArray copy = contents;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    platform::FieldReader reader(buffer);
    // The file never leaves this machine, so it is in the system's encoding (UTF-8).
    return QString::fromUtf8(reader.ReadTextField());
}

void LoadINI() {
    ExamplesPath = MakeExamplesPath(platform::ProgramFolder());
    if (QWidget* window = platform::MainWidget()) window->setWindowTitle(platform::AppTitle());
    BuildPieceSet();
    ClearOutlineGrid();

    // From here on a failing step is passed over silently.
    QString path;
    // The current folder, as the game always looked; an installed copy keeps its settings
    // in the player's own folder instead, since it cannot write beside itself.
    QFile settings(platform::ProgramFolderWritable()
                       ? kSettingsName
                       : platform::UserSettingsFolder() + QLatin1Char('/') + kSettingsName);
    if (platform::OpenForReading(settings) == platform::OpenResult::Opened) {
        path = ReadSettingsPath(settings.read(64 * 1024));
        settings.close();
    }
    if (path.isEmpty()) path = ExamplesPath + QStringLiteral("0001.kvt");
    if (OpenKvelt(path) == 1) NewPole();
    FiguryPoMestam();
    ShowAllFigury();
    CurrentPiece = FirstPieceInPlay();
    UstanovkaFigury(-1);
    StartHistory();
}

void SaveINI() {
    const QString folder = platform::ProgramFolderWritable() ? platform::ProgramFolder()
                                                             : platform::UserSettingsFolder();
    QFile settings(folder + QLatin1Char('/') + kSettingsName);
    if (!settings.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    settings.write(OutlinePath.toUtf8() + "\r\n");
    settings.close();
}

}  // namespace kv
