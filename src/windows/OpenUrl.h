// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Opening the help document and web pages with the user's default application.
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace kv {

// Hands a document (a path relative to the program folder, an absolute path or a web
// address) to the desktop and returns at once: true when the desktop took it, false when
// it has nothing to open it with, so that the caller can offer another way.
bool OpenURL(const QString& document);
// Writes a one-line redirect page to address into Examples as "0.html", "1.html", ...
// (the first number whose file can be created) and opens it; when no page can be written,
// opens the address itself. False as OpenURL.
bool SaveFileUrl(const QString& address);

// What OpenURL hands to the desktop for document.
QUrl DocumentUrl(const QString& document);
// The redirect page's bytes (Windows-1251, CR LF); ok is false when the address has a
// character the code page lacks.
QByteArray RedirectPage(const QString& address, bool* ok = nullptr);

// How many numbered page names SaveFileUrl tries before it gives up on the folder.
inline constexpr int kRedirectPageAttempts = 100;

}  // namespace kv
