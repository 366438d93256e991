// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/Play.h"

#include "model/Model.h"
#include "model/Operations.h"
#include "play/History.h"
#include "view/BoardDrawing.h"

namespace kv {

void StartPlay(bool home) {
    if (home) FiguryPoMestam();
    ShowAllFigury();
    CurrentPiece = FirstPieceInPlay();
    UstanovkaFigury(-1);
    StartHistory();
}

}  // namespace kv
