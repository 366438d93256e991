// frmOprog: "О программе".
#pragma once

namespace kv {

// Shows frmOprog modally.
void ShowAbout();

}  // namespace kv
