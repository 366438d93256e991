#include "windows/AboutWindow.h"

namespace kv {

// Arrives with the help and About work; until then the command does nothing.
void ShowAbout() {}

}  // namespace kv
