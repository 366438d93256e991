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
bool ReadPlainFile(int folder, const char* path, off_t size, QByteArray& bytes) {
    const int fd = ::openat(folder, path, O_RDONLY | O_CLOEXEC);
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

// ListOutline with the file looked up as path in the open folder (AT_FDCWD: path is whole).
ListedOutline ListOutlineIn(int folder, const char* path, const OutlineFileEntry& f,
                            OutlineKeyOf keyOf) {
    // Taken first: a file written after it has a later time than any kept, even where the
    // clock moves in ticks coarser than the times stored.
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    struct stat st;
    // Only a plain file: opening a named pipe or a device could wait for ever.
    if (::fstatat(folder, path, &st, 0) != 0 || !S_ISREG(st.st_mode)) return {};
    QHash<QByteArray, KeptOutline>& kept = Kept();
    const auto found = kept.find(f.bytes);
    if (found != kept.end() && found->size == st.st_size && Same(found->modified, st.st_mtim) &&
        Same(found->changed, st.st_ctim)) {
        if (keyOf && found->outline.key.isEmpty() && !found->outline.damaged) {
            found->outline.key = keyOf(found->outline.draft);
        }
        return found->outline;
    }
    QByteArray bytes;
    // Why it cannot be opened does not matter (it is left out); nor is that kept, as a file
    // may become readable with no change of its times.
    if (!ReadPlainFile(folder, path, st.st_size, bytes)) return {};
    ++gRead;
    const StrictOutline outline = CheckOutlineFile(bytes);
    ListedOutline listed;
    listed.opened = true;
    listed.damaged = !outline.fault.isEmpty();
    // A damaged file's first line may be anything: it goes by its file name.
    listed.name = listed.damaged ? f.file : outline.draft.name;
    if (!listed.damaged) {
        listed.draft = outline.draft;
        if (keyOf) listed.key = keyOf(listed.draft);
    }
    // A file changed in the same tick as this reading could keep its times: kept only when
    // its last change lies before.
    if (Earlier(st.st_mtim, now) && Earlier(st.st_ctim, now)) {
        kept.insert(f.bytes, {st.st_size, st.st_mtim, st.st_ctim, listed});
    } else {
        kept.remove(f.bytes);
    }
    return listed;
}

ListedOutline ListOutline(const OutlineFileEntry& f) {
    return ListOutlineIn(AT_FDCWD, f.bytes.constData(), f, nullptr);
}

std::vector<ListedOutline> ListOutlines(const std::vector<OutlineFileEntry>& files,
                                        OutlineKeyOf keyOf) {
    // Each folder opened once and its files found in it by name: a whole path walked for
    // each file, twice (its times, then its bytes), cost more than the reading.
    std::vector<std::pair<QByteArray, int>> folders;
    std::vector<ListedOutline> listed;
    listed.reserve(files.size());
    for (const OutlineFileEntry& f : files) {
        const qsizetype slash = f.bytes.lastIndexOf('/');
        if (slash < 0) {
            listed.push_back(ListOutlineIn(AT_FDCWD, f.bytes.constData(), f, keyOf));
            continue;
        }
        const QByteArray prefix = f.bytes.left(slash + 1);
        auto folder = std::find_if(folders.begin(), folders.end(),
                                   [&](const auto& open) { return open.first == prefix; });
        if (folder == folders.end()) {
            folders.emplace_back(prefix,
                                 ::open(prefix.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            folder = folders.end() - 1;
        }
        // A folder that cannot be opened so may still let its files be read by their paths.
        listed.push_back(
            folder->second < 0
                ? ListOutlineIn(AT_FDCWD, f.bytes.constData(), f, keyOf)
                : ListOutlineIn(folder->second, f.bytes.constData() + slash + 1, f, keyOf));
    }
    for (const auto& folder : folders) {
        if (folder.second >= 0) ::close(folder.second);
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
