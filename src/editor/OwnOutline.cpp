// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/OwnOutline.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <set>

#include "model/Model.h"
#include "outlines/OutlineFile.h"
#include "outlines/OutlineFolders.h"
#include "paths/Paths.h"
#include "platform/Files.h"
#include "platform/TextCodec.h"
#include "solver/Bounds.h"

namespace kv {

namespace {
const QString kProtected = QStringLiteral("Файл защищён от записи.");
const QString kCannotSave = QStringLiteral("Файл сохранить не возможно.");
const QString kStem = QStringLiteral("Квелт");
constexpr int kTries = 1000;
// A file name holds at most 255 bytes on the common file systems; the longest name made
// here adds " (1000).kvt" to the stem.
constexpr qsizetype kNameBytes = 255;
const QString kLongestEnd = QStringLiteral(" (%1).kvt").arg(kTries);

// Cells moved so that their bounding box starts at (0, 0), as a set.
std::set<BoardCell> Shape(const std::vector<BoardCell>& cells) {
    const std::vector<BoardCell> moved = MovedTo(cells, {0, 0});
    return {moved.begin(), moved.end()};
}
}  // namespace

QString OutlineFileStem(const QString& name) {
    QString stem;
    for (const QChar ch : name) {
        const bool keep = ch.isLetterOrNumber() || ch == QLatin1Char(' ') ||
                          ch == QLatin1Char('-') || ch == QLatin1Char('_');
        stem += keep ? ch : QLatin1Char('_');
    }
    // Leading blanks are skipped when a position file is read back.
    stem = stem.simplified();
    const qsizetype room = kNameBytes - QFile::encodeName(kLongestEnd).size();
    if (QFile::encodeName(stem).size() > room) {
        qsizetype bytes = 0, end = 0;
        while (end < stem.size()) {
            // A letter outside the first plane is two QChars and must not be split.
            const qsizetype next = end + (stem[end].isHighSurrogate() ? 2 : 1);
            bytes += QFile::encodeName(stem.mid(end, next - end)).size();
            if (bytes > room) break;
            end = next;
        }
        stem = stem.left(end).trimmed();
    }
    return stem.isEmpty() ? kStem : stem;
}

SavedOutline SaveOwnOutline(const OutlineDraft& draft,
                            const std::function<void(const QString&)>& chosen) {
    const QByteArray bytes = WriteOutline(draft);
    const QString folder = UserExamplesPath();
    const QString stem = OutlineFileStem(draft.name);
    for (int i = 1; i <= kTries; ++i) {
        const QString file =
            (i == 1 ? stem : stem + QStringLiteral(" (%1)").arg(i)) + QStringLiteral(".kvt");
        if (QFileInfo::exists(folder + file) || QFileInfo::exists(ExamplesPath + file)) continue;
        if (chosen) chosen(folder + file);
        QFile out(folder + file);
        // NewOnly: made by this call or not at all, so a file that appeared since the look
        // above is never replaced.
        if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (out.exists()) continue;
            const QFileInfo dir(folder);
            return {{}, dir.isDir() && !dir.isWritable() ? kProtected : kCannotSave};
        }
        if (out.write(bytes) != bytes.size() || !out.flush()) {
            out.close();
            out.remove();
            return {{}, kCannotSave};
        }
        out.close();
        return {folder + file, {}};
    }
    return {{}, kCannotSave};
}

KnownOutline FindSameOutline(const OutlineDraft& draft, const QString& skip) {
    const std::set<BoardCell> shape = Shape(draft.cells);
    const std::set<int> excluded(draft.excluded.begin(), draft.excluded.end());
    for (const OutlineFileEntry& f : ListOutlineFiles()) {
        // No program folder known: the shipped listing would be the working folder's.
        if (!f.own && ExamplesPath.isEmpty()) continue;
        if (!skip.isEmpty() && QFileInfo(f.path) == QFileInfo(skip)) continue;
        QFile file;
        if (platform::OpenForReading(file, f.bytes) != platform::OpenResult::Opened) continue;
        const OutlineContent outline = ReadOutline(file);
        std::set<int> out;
        for (int p = 1; p <= kPieces; ++p) {
            if (outline.excluded[p] != 0) out.insert(p);
        }
        if (out != excluded || outline.lastCell + 1 != static_cast<int>(shape.size())) continue;
        std::vector<BoardCell> cells;
        for (int k = 0; k <= outline.lastCell; ++k) {
            cells.push_back({outline.cells[k][0], outline.cells[k][1]});
        }
        if (Shape(cells) == shape) return {platform::FromCp1251(outline.name), f.file, f.path};
    }
    return {};
}

}  // namespace kv
