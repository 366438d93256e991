// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/TextCodec.h"

namespace kv::platform {

OpenResult OpenForReading(QFile& file) {
    if (!file.fileName().isEmpty()) {
        const QByteArray native = NativePath(file.fileName());
        if (native != QFile::encodeName(file.fileName())) return OpenForReading(file, native);
    }
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

OpenResult OpenForReading(QFile& file, const QByteArray& path) {
    struct stat st;
    if (::stat(path.constData(), &st) != 0) {
        if (errno != ENOENT) return OpenResult::CannotOpen;
        // A missing folder is not a missing file.
        const qsizetype slash = path.lastIndexOf('/');
        const QByteArray folder =
            slash < 0 ? QByteArray(".") : path.left(std::max<qsizetype>(slash, 1));
        struct stat folderInfo;
        return ::stat(folder.constData(), &folderInfo) == 0 && S_ISDIR(folderInfo.st_mode)
                   ? OpenResult::NotFound
                   : OpenResult::CannotOpen;
    }
    // Only a plain file: see above.
    if (!S_ISREG(st.st_mode)) return OpenResult::CannotOpen;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return OpenResult::CannotOpen;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return OpenResult::CannotOpen;
    }
    return OpenResult::Opened;
}

QList<FolderFile> ListFolder(const QString& folder, const QByteArray& suffix) {
    QList<FolderFile> files;
    const QByteArray folderBytes = QFile::encodeName(folder);
    DIR* dir = ::opendir(folderBytes.constData());
    if (!dir) return files;
    const QByteArray prefix = folderBytes.endsWith('/') ? folderBytes : folderBytes + '/';
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray bytes(entry->d_name);
        if (bytes.startsWith('.') || bytes.size() < suffix.size() ||
            qstrnicmp(bytes.constData() + bytes.size() - suffix.size(), suffix.constData(),
                      suffix.size()) != 0) {
            continue;
        }
        bool plain = entry->d_type == DT_REG;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat st;
            plain = ::stat((prefix + bytes).constData(), &st) == 0 && S_ISREG(st.st_mode);
        }
        if (!plain) continue;
        // Checked rather than given a decoder each, as thousands are listed in a row; the
        // decoder still reads a name that begins as a byte order mark, which it passes over.
        QString name;
        if (!bytes.isValidUtf8()) {
            name = FromCp1251(bytes);
        } else if (bytes.startsWith("\xEF\xBB\xBF")) {
            name = QStringDecoder(QStringDecoder::Utf8)(bytes);
        } else {
            name = QString::fromUtf8(bytes);
        }
        files.append({name, bytes});
    }
    ::closedir(dir);
    return files;
}

QByteArray NativePath(const QString& path) {
    const QByteArray utf8 = QFile::encodeName(path);
    struct stat st;
    if (::lstat(utf8.constData(), &st) == 0) return utf8;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    bool ok = false;
    const QByteArray name = ToCp1251(path.mid(slash + 1), &ok);
    if (!ok || name == QFile::encodeName(path.mid(slash + 1))) return utf8;  // nothing else to try
    const QByteArray cp1251 = QFile::encodeName(path.left(slash + 1)) + name;
    return ::lstat(cp1251.constData(), &st) == 0 ? cp1251 : utf8;
}

bool IsPlainFile(const QString& path) {
    struct stat st;
    return ::stat(NativePath(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

QString OpenFailureText(OpenResult result) {
    return result == OpenResult::NotFound ? QStringLiteral("Файл не найден.")
                                          : QStringLiteral("Файл открыть не возможно.");
}

namespace {
QString gProgramFolder;
QString gInstalledData;  // empty for a plain build
}  // namespace

QString ProgramFolder() {
    return gProgramFolder.isEmpty() ? QCoreApplication::applicationDirPath() : gProgramFolder;
}

void SetProgramFolder(const QString& folder) {
    gProgramFolder = folder;
}

bool FolderWritable(const QString& folder) {
    // Ask by trying: permission bits say nothing of read-only mounts or immutable folders.
    QTemporaryFile probe(folder + QStringLiteral("/.kvelt-write-probe-XXXXXX"));
    return probe.open();
}

bool ProgramFolderWritable() {
    return FolderWritable(ProgramFolder());
}

QString DataFolder() {
    if (gInstalledData.isEmpty()) return ProgramFolder();
    return QDir::cleanPath(QDir(ProgramFolder()).absoluteFilePath(gInstalledData));
}

bool InstalledCopy() {
    return !gInstalledData.isEmpty();
}

void SetInstalledLayout(const QString& dataFolder) {
    gInstalledData = dataFolder;
}

static QString UserFolder(QStandardPaths::StandardLocation location) {
    const QString folder = QStandardPaths::writableLocation(location);
    QDir().mkpath(folder);
    return folder;
}

QString UserSettingsFolder() {
    return UserFolder(QStandardPaths::AppConfigLocation);
}
QString UserCacheFolder() {
    return UserFolder(QStandardPaths::CacheLocation);
}

QString UserPositionsFolder() {
    // Saved games are the player's documents, so they go where the desktop keeps those.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                           QStringLiteral("/Квелт");
    QDir().mkpath(folder);
    return folder;
}

}  // namespace kv::platform
