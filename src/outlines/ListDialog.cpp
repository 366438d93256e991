#include "outlines/ListDialog.h"

namespace kv {

// The library dialog arrives with its own work; until then the command does nothing.
void ShowListKvelt() {}

}  // namespace kv
