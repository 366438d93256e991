// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Starting play on an outline, as start-up, the library, Continue, the editor and the help
// pictures do. (Making a piece current, which the palettes, the board input, the hint and
// the help pictures share, is the model's MakeCurrent.)
#pragma once

namespace kv {

// Starts play on the outline just loaded: the pieces home (unless home is false: a position
// just laid out keeps its places), every piece drawn, the lowest-numbered piece in play
// lifted as the current one, and the list of steps started afresh.
void StartPlay(bool home = true);

}  // namespace kv
