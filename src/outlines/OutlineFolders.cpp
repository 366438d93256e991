#include "outlines/OutlineFolders.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include "settings/Settings.h"

namespace kv {

namespace {

void AddFiles(const QString& folder, std::vector<OutlineFileEntry>& into, QSet<QString>& seen) {
    QDirIterator it(folder, {QStringLiteral("*.kvt")}, QDir::Files);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        if (seen.contains(info.fileName())) continue;
        seen.insert(info.fileName());
        into.push_back({info.fileName(), folder + info.fileName()});
    }
}

}  // namespace

QString UserExamplesPath() {
    // GenericDataLocation is $XDG_DATA_HOME, or ~/.local/share when it is unset.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                           QStringLiteral("/kvelt/Examples");
    QDir().mkpath(folder);
    return folder + QLatin1Char('/');
}

std::vector<OutlineFileEntry> ListOutlineFiles() {
    std::vector<OutlineFileEntry> files;
    QSet<QString> seen;
    AddFiles(UserExamplesPath(), files, seen);  // first, so that its names win
    AddFiles(ExamplesPath, files, seen);
    return files;
}

QString FindOutline(const QString& fileName) {
    const QString own = UserExamplesPath() + fileName;
    // Only a plain file counts: a folder of that name must not hide the shipped outline.
    if (!fileName.isEmpty() && QFileInfo(own).isFile()) return own;
    return ExamplesPath + fileName;
}

}  // namespace kv
