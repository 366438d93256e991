// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outlines/OutlineFolders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <ctime>

#include "outlines/OutlineFile.h"
#include "outlines/OutlineWriter.h"

#include "paths/Paths.h"
#include "platform/Files.h"

namespace kv {

namespace {

void AddFiles(const QString& folder, bool own, std::vector<OutlineFileEntry>& into) {
    QByteArray prefix = QFile::encodeName(folder);
    if (!prefix.endsWith('/')) prefix += '/';
    for (const platform::FolderFile& f : platform::ListFolder(folder, ".kvt")) {
        into.push_back({f.name, folder + f.name, prefix + f.bytes, own});
    }
}

struct KeptOutline {
    off_t size = 0;
    timespec modified{};
    timespec changed{};
    ListedOutline outline;
};

bool Same(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool Earlier(const timespec& a, const timespec& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// By the path's bytes: two names may read alike.
QHash<QByteArray, KeptOutline>& Kept() {
    static QHash<QByteArray, KeptOutline> kept;
    return kept;
}
int gRead = 0;

// What ReadOutlineFile gives of the plain file at path, size bytes long: up to one byte past
// the limit. Read straight, as thousands are read in a row and a QFile costs more than the
// reading itself. False when it cannot be opened.
bool ReadPlainFile(const QByteArray& path, off_t size, QByteArray& bytes) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    // One byte more than the size says: a file growing meanwhile is still seen too long.
    bytes.resize(static_cast<qsizetype>(std::min<off_t>(size, kOutlineFileLimit) + 1));
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, static_cast<size_t>(bytes.size() - got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += n;
    }
    ::close(fd);
    bytes.truncate(got);
    return true;
}

}  // namespace

ListedOutline ListOutline(const OutlineFileEntry& f) {
    // Taken first: a file written after it has a later time than any kept, even where the
    // clock moves in ticks coarser than the times stored.
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    struct stat st;
    // Only a plain file: opening a named pipe or a device could wait for ever.
    if (::stat(f.bytes.constData(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    QHash<QByteArray, KeptOutline>& kept = Kept();
    const auto found = kept.constFind(f.bytes);
    if (found != kept.cend() && found->size == st.st_size && Same(found->modified, st.st_mtim) &&
        Same(found->changed, st.st_ctim)) {
        return found->outline;
    }
    QByteArray bytes;
    // Why it cannot be opened does not matter (it is left out); nor is that kept, as a file
    // may become readable with no change of its times.
    if (!ReadPlainFile(f.bytes, st.st_size, bytes)) return {};
    ++gRead;
    const StrictOutline outline = CheckOutlineFile(bytes);
    ListedOutline listed;
    listed.opened = true;
    listed.damaged = !outline.fault.isEmpty();
    // A damaged file's first line may be anything: it goes by its file name.
    listed.name = listed.damaged ? f.file : outline.draft.name;
    if (!listed.damaged) listed.draft = outline.draft;
    // A file changed in the same tick as this reading could keep its times: kept only when
    // its last change lies before.
    if (Earlier(st.st_mtim, now) && Earlier(st.st_ctim, now)) {
        kept.insert(f.bytes, {st.st_size, st.st_mtim, st.st_ctim, listed});
    } else {
        kept.remove(f.bytes);
    }
    return listed;
}

void ForgetListedOutlines() {
    Kept().clear();
}

int ListedOutlinesRead() {
    return gRead;
}

std::vector<OutlineFileEntry> ListOutlineFiles() {
    std::vector<OutlineFileEntry> files;
    AddFiles(UserExamplesPath(), true, files);
    AddFiles(ExamplesPath, false, files);
    return files;
}

QStringList FindOutlines(const QString& fileName) {
    QStringList found;
    if (fileName.isEmpty()) return found;
    for (const QString& folder : {UserExamplesPath(), ExamplesPath}) {
        // Only a plain file counts: a folder of that name must not pass for the outline.
        if (platform::IsPlainFile(folder + fileName)) found << folder + fileName;
    }
    return found;
}

}  // namespace kv
