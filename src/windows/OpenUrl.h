// Opening the help document and web pages with the user's default application.
#pragma once

#include <QString>

namespace kv {

// Hands a document (a path relative to the program folder, an absolute path or a web
// address) to the desktop; reports nothing.
void OpenURL(const QString& document);
// Writes a one-line redirect page into Examples and opens it.
void SaveFileUrl(const QString& address);

}  // namespace kv
