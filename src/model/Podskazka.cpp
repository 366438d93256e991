// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Podskazka.h"

#include <algorithm>

#include "model/History.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "view/BoardDrawing.h"

namespace kv {

namespace {

bool InPlay(int p) {
    return p >= 1 && p <= kPieces && PieceExcluded[p] != 1;
}

std::vector<BoardCell> CellsOf(const PiecePlacement& t) {
    std::vector<BoardCell> cells;
    for (int k = 0; k < 5; ++k) {
        cells.push_back({t.column + PieceCells[t.piece][k][t.orientation][0],
                         t.row + PieceCells[t.piece][k][t.orientation][1]});
    }
    std::sort(cells.begin(), cells.end());
    return cells;
}

PiecePlacement PlacementNow(int p) {
    return {p, PieceOrientation[p], PiecePos[p][0], PiecePos[p][1]};
}

bool Meet(const std::vector<BoardCell>& a, const std::vector<BoardCell>& b) {
    return std::any_of(a.begin(), a.end(), [&b](const BoardCell& c) {
        return std::find(b.begin(), b.end(), c) != b.end();
    });
}

// Turns the current piece and moves it there; the move runs the victory test.
void MoveCurrentTo(const PiecePlacement& t) {
    if (PieceOrientation[CurrentPiece] != t.orientation) Povorot(t.orientation);
    MoveFigury(t.column, t.row);
}

// A set piece moved without becoming current: lifted and erased, drawn and set down at the
// new place; the current piece is drawn again in case the piece lay over it.
void MoveSetPiece(const PiecePlacement& t) {
    const int current = CurrentPiece;
    CurrentPiece = t.piece;
    UstanovkaFigury(-1);
    ShowFigury(0);
    PiecePos[t.piece][0] = t.column;
    PiecePos[t.piece][1] = t.row;
    PieceOrientation[t.piece] = t.orientation;
    ShowFigury(-1);
    UstanovkaFigury(+1);
    CurrentPiece = current;
    ShowFigury(-1);
}

void SendHome(int p) {
    PiecePlacement home{p, 1, 0, 0};
    HomePlace(p, home.column, home.row);
    if (p == CurrentPiece) {
        MoveCurrentTo(home);
    } else {
        MoveSetPiece(home);
    }
}

// Nothing to do for a hint: no piece in play, the outline covered, or no tiling at all.
bool NothingToDo(const HintPlan& plan) {
    return plan.solution.empty();
}

}  // namespace

HintPosition PositionNow() {
    HintPosition position;
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            if (OutlineCells[c][r] != 0) position.outline.push_back({c, r});
        }
    }
    for (int p = 1; p <= kPieces; ++p) {
        position.inPlay[p] = InPlay(p);
        position.pieces[p] = PlacementNow(p);
    }
    return position;
}

void Podskazka() {
    if (!InPlay(CurrentPiece) || OutlineCovered()) return;
    const HintPlan plan = PlanHint(PositionNow());
    if (NothingToDo(plan)) return;
    CompoundStep step;
    if (!plan.remove.empty()) {
        const int wrong = plan.remove.front();
        const bool current = wrong == CurrentPiece;
        SendHome(wrong);
        step.Close(current);
        return;
    }
    PiecePlacement target[kPieces + 1] = {};
    for (const PiecePlacement& t : plan.solution) target[t.piece] = t;
    auto there = [&target](int p) { return CellsOf(PlacementNow(p)) == CellsOf(target[p]); };
    int q = CurrentPiece;
    if (there(q)) {
        q = 0;
        for (int p = 1; p <= kPieces && q == 0; ++p) {
            if (InPlay(p) && !there(p)) q = p;
        }
        if (q == 0) return;
    }
    // Pieces in the way go home: those on q's place, and those under the current piece,
    // which must lie clear before it is set down for q.
    std::vector<BoardCell> blocked = CellsOf(target[q]);
    if (q != CurrentPiece) {
        const std::vector<BoardCell> current = CellsOf(PlacementNow(CurrentPiece));
        blocked.insert(blocked.end(), current.begin(), current.end());
    }
    for (int p = 1; p <= kPieces; ++p) {
        if (InPlay(p) && p != q && p != CurrentPiece && Meet(CellsOf(PlacementNow(p)), blocked)) {
            SendHome(p);
        }
    }
    if (q != CurrentPiece) {
        UstanovkaFigury(+1);
        CurrentPiece = q;
        UstanovkaFigury(-1);
    }
    MoveCurrentTo(target[q]);
    step.Close(true);
}

void ShowReshenie() {
    if (!InPlay(CurrentPiece) || OutlineCovered()) return;
    const HintPlan plan = PlanHint(PositionNow());
    if (NothingToDo(plan)) return;
    Arrangement solved = ArrangementNow();
    for (const PiecePlacement& t : plan.solution) {
        solved.pos[t.piece][0] = t.column;
        solved.pos[t.piece][1] = t.row;
        solved.orientation[t.piece] = t.orientation;
    }
    CompoundStep step;
    ShowArrangement(solved);
    // Moved where it lies: the victory test runs as after any move.
    MoveFigury(PiecePos[CurrentPiece][0], PiecePos[CurrentPiece][1]);
    step.Close(true);
}

}  // namespace kv
