// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/OpenUrl.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "paths/Paths.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/TextCodec.h"

namespace kv {

namespace {

// "https:", "mailto:" and the like; a scheme of one letter would be a drive.
bool HasScheme(const QString& document) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(document).hasMatch();
}

}  // namespace

QUrl DocumentUrl(const QString& document) {
    if (document.isEmpty()) return {};
    if (QDir::isAbsolutePath(document)) return QUrl::fromLocalFile(QDir::cleanPath(document));
    // QUrl keeps the Unicode text and percent-encodes it (as UTF-8) when it is handed on.
    if (HasScheme(document)) return QUrl(document, QUrl::TolerantMode);
    // The shell resolved a bare name against the program folder, not the current one; an
    // installed copy keeps its documents in its data folder.
    return QUrl::fromLocalFile(
        QDir::cleanPath(QDir(platform::DataFolder()).absoluteFilePath(document)));
}

bool OpenURL(const QString& document) {
    const QUrl url = DocumentUrl(document);
    if (!url.isValid() || url.isEmpty()) return false;
    platform::Shell* shell = platform::services().shell;
    return shell && shell->Open(url);
}

QByteArray RedirectPage(const QString& address, bool* ok) {
    const QString page = QStringLiteral("<html><head><meta http-equiv='refresh' content='0; url=") +
                         address +
                         QStringLiteral(
                             "'><meta http-equiv='Content-Type' content='text/html; "
                             "charset=windows-1251'><title>WWW</title></head><body></body></html>");
    return platform::ToCp1251(page, ok) + "\r\n";
}

bool SaveFileUrl(const QString& address) {
    bool encodable = true;
    const QByteArray page = RedirectPage(address, &encodable);
    QString written;
    // An installed copy never writes into its Examples folder: its pages go to the cache.
    const QString folder = RedirectPagesFolder();
    // A page that would carry "?" for some character would forward to the wrong address.
    for (int n = 0; encodable && n < kRedirectPageAttempts; ++n) {
        const QString path = folder + QString::number(n) + QStringLiteral(".html");
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) continue;
        file.write(page);  // write errors are not reported
        file.close();
        written = QFileInfo(file).absoluteFilePath();
        break;
    }
    if (platform::EventPump* events = platform::services().events) events->ProcessPendingEvents();
    // With no page to write the browser still gets where the link points.
    return OpenURL(written.isEmpty() ? address : written);
}

}  // namespace kv
