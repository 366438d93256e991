#include "platform/Files.h"

#include <QCoreApplication>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace kv::platform {

OpenResult OpenForReading(QFile& file) {
    const QFileInfo info(file.fileName());
    if (file.fileName().isEmpty()) return OpenResult::NotFound;
    if (!info.exists()) {
        // A missing folder is not a missing file.
        return info.absoluteDir().exists() ? OpenResult::NotFound : OpenResult::CannotOpen;
    }
    // Only a plain file: a folder cannot be read, and opening a named pipe or a device
    // could wait for ever.
    if (!info.isFile()) return OpenResult::CannotOpen;
    return file.open(QIODevice::ReadOnly) ? OpenResult::Opened : OpenResult::CannotOpen;
}

QString OpenFailureText(OpenResult result) {
    return result == OpenResult::NotFound ? QStringLiteral("Файл не найден.")
                                          : QStringLiteral("Файл открыть не возможно.");
}

namespace {
QString gProgramFolder;
}

QString ProgramFolder() {
    return gProgramFolder.isEmpty() ? QCoreApplication::applicationDirPath() : gProgramFolder;
}

void SetProgramFolder(const QString& folder) { gProgramFolder = folder; }

bool FolderWritable(const QString& folder) {
    // Ask by trying: permission bits say nothing of read-only mounts or immutable folders.
    QTemporaryFile probe(folder + QStringLiteral("/.kvelt-write-probe-XXXXXX"));
    return probe.open();
}

bool ProgramFolderWritable() {
    return FolderWritable(ProgramFolder());
}

static QString UserFolder(QStandardPaths::StandardLocation location) {
    const QString folder = QStandardPaths::writableLocation(location);
    QDir().mkpath(folder);
    return folder;
}

QString UserSettingsFolder() { return UserFolder(QStandardPaths::AppConfigLocation); }
QString UserCacheFolder() { return UserFolder(QStandardPaths::CacheLocation); }

QString UserPositionsFolder() {
    // Saved games are the player's documents, so they go where the desktop keeps those.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                           QStringLiteral("/Квелт");
    QDir().mkpath(folder);
    return folder;
}

}  // namespace kv::platform
