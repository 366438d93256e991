// frmList: the library of outlines in the Examples folder.
#pragma once

namespace kv {

// Shows frmList modally over the main window.
void ShowListKvelt();

}  // namespace kv
