// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Model.h"
#include "model/Operations.h"
#include "model/Steps.h"
#include "platform/Services.h"
#include "view/BoardDrawing.h"

namespace kv {

bool OutlineCovered() {
    for (int j = 1; j <= kPieces; ++j) {
        if (PieceExcluded[j] == 1) continue;
        for (int k = 0; k < 5; ++k) {
            const int c = PieceCellColumn(j, k);
            const int r = PieceCellRow(j, k);
            if (!OnBoard(c, r) || OutlineCells[c][r] == 0) return false;
            // A set piece holds its own number; anything else there is an overlap.
            if (BoardCells[c][r] > 0 && BoardCells[c][r] != j) return false;
        }
    }
    return true;
}

bool ShiftFigury(int column, int row) {
    const int p = CurrentPiece;
    if (!PlacedPieceOnBoard(p, PieceOrientation[p], column, row)) return false;
    ShowFigury(0);
    PiecePos[p][0] = column;
    PiecePos[p][1] = row;
    ShowFigury(-1);
    return true;
}

void MoveFigury(int column, int row) {
    if (!ShiftFigury(column, row)) return;
    // Recorded before the yield: a move made by a queued event is the next step.
    RecordStep();
    FinishMove();
}

void FinishMove() {
    BeginFinishing();
    auto& svc = platform::services();
    if (svc.events) svc.events->ProcessPendingEvents();
    // Queued events may have moved the piece again; the test reads the state as it is now.
    if (OutlineCovered() && svc.victory) svc.victory->ShowVictory();
    EndFinishing();
}

}  // namespace kv
