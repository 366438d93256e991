// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/OwnOutline.h"

#include <QFile>
#include <QFileInfo>

#include "outlines/OutlineFolders.h"
#include "settings/Settings.h"

namespace kv {

namespace {
const QString kProtected = QStringLiteral("Файл защищён от записи.");
const QString kCannotSave = QStringLiteral("Файл сохранить не возможно.");
const QString kStem = QStringLiteral("Квелт");
constexpr int kTries = 1000;
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
    return stem.isEmpty() ? kStem : stem;
}

SavedOutline SaveOwnOutline(const OutlineDraft& draft) {
    const QByteArray bytes = WriteOutline(draft);
    const QString folder = UserExamplesPath();
    const QString stem = OutlineFileStem(draft.name);
    for (int i = 1; i <= kTries; ++i) {
        const QString file =
            (i == 1 ? stem : stem + QStringLiteral(" (%1)").arg(i)) + QStringLiteral(".kvt");
        if (QFileInfo::exists(folder + file) || QFileInfo::exists(ExamplesPath + file)) continue;
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

}  // namespace kv
