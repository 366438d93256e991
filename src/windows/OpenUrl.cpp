#include "windows/OpenUrl.h"

namespace kv {

// Arrives with the help and About work; until then these do nothing.
void OpenURL(const QString&) {}
void SaveFileUrl(const QString&) {}

}  // namespace kv
