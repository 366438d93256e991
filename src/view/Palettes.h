// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The two pop-up palettes over the board: pieces (picVyborFigury) and orientations
// (picPovorot).
#pragma once

namespace kv {

class PictureBox;

// Hooks the palettes' events up; the board gets the focus back when one closes.
void ConnectPalettes(PictureBox* pieces, PictureBox* orientations, PictureBox* board);
// Closes whichever palette is open; the board gets the focus back.
void ClosePalettes();
// Opens the piece palette.
void VyborFigury();
// Toggles piece 2, or opens the orientation palette for pieces 3..12.
void VyborPovorota();

}  // namespace kv
