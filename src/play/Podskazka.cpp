// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/Podskazka.h"

#include <QStringList>
#include <algorithm>

#include "model/Model.h"
#include "model/Operations.h"
#include "platform/Services.h"
#include "play/History.h"
#include "solver/PlacedCells.h"
#include "view/BoardDrawing.h"

namespace kv {

namespace {

bool InPlay(int p) {
    return p >= 1 && p <= kPieces && PieceExcluded[p] != 1;
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

// A set piece (never the current one) moved without becoming current: lifted and erased,
// drawn and set down at the new place; the current piece is drawn again in case the piece
// lay over it.
void MoveSetPiece(const PiecePlacement& t) {
    Arrangement a = ArrangementNow();
    a.pos[t.piece][0] = t.column;
    a.pos[t.piece][1] = t.row;
    a.orientation[t.piece] = t.orientation;
    bool changes[kPieces + 1] = {};
    changes[t.piece] = true;
    ShowPieces(a, changes);
}

PiecePlacement HomeOf(int p) {
    PiecePlacement home{p, 1, 0, 0};
    HomePlace(p, home.column, home.row);
    return home;
}

void SendHome(int p) {
    if (p == CurrentPiece) {
        MoveCurrentTo(HomeOf(p));
    } else {
        MoveSetPiece(HomeOf(p));
    }
}

// The piece letters of the game's messages, pieces 1..12.
QString Letters(const std::vector<int>& pieces) {
    static const char kLetters[] = "?XITUVWZLNYFP";
    QStringList letters;
    for (const int p : pieces) letters << QString(QLatin1Char(kLetters[p]));
    return letters.join(QStringLiteral(", "));
}

// Why a hint or the solution has nothing to put on the board, or an empty text when it has.
QString NothingToDo(const HintPlan* plan) {
    if (!InPlay(CurrentPiece)) return QStringLiteral("На поле нет фигур");
    if (OutlineCovered()) return QStringLiteral("Квелт уже собран");
    if (plan && plan->solution.empty()) {
        return QStringLiteral("У квелта нет решения: фигуры его не покрывают");
    }
    return {};
}

bool Refused(const HintPlan* plan) {
    const QString why = NothingToDo(plan);
    if (!why.isEmpty()) platform::Tell(why);
    return !why.isEmpty();
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

bool CanPodskazka() {
    return NothingToDo(nullptr).isEmpty();
}

void Podskazka() {
    if (Refused(nullptr)) return;
    const HintPlan plan = PlanHint(PositionNow());
    if (Refused(&plan)) return;
    CompoundStep step;
    if (!plan.remove.empty()) {
        // Never a piece at home: the plan leaves those out of the sets it takes away.
        const int wrong = plan.remove.front();
        platform::Tell(
            QStringLiteral("Фигура %1 лежала неверно — отправлена домой").arg(Letters({wrong})));
        SendHome(wrong);
        step.Close();
        return;
    }
    PiecePlacement target[kPieces + 1] = {};
    for (const PiecePlacement& t : plan.solution) target[t.piece] = t;
    auto there = [&target](int p) {
        return SortedPlacedCells(PlacementNow(p)) == SortedPlacedCells(target[p]);
    };
    int q = CurrentPiece;
    if (there(q)) {
        q = 0;
        for (int p = 1; p <= kPieces && q == 0; ++p) {
            if (InPlay(p) && !there(p)) q = p;
        }
        if (q == 0) return;
    }
    // Pieces in the way go home: those on the places being filled, and those under the
    // current piece, which must lie clear before it is set down for q. One whose home is
    // itself in the way, or taken, would come back onto a place or a piece: it goes to its
    // own place instead, and its place is then in the way too.
    bool placing[kPieces + 1] = {};
    placing[q] = true;
    std::vector<int> home;
    for (bool grew = true; grew;) {
        grew = false;
        std::vector<BoardCell> blocked;
        for (int p = 1; p <= kPieces; ++p) {
            if (!placing[p]) continue;
            const std::vector<BoardCell> cells = SortedPlacedCells(target[p]);
            blocked.insert(blocked.end(), cells.begin(), cells.end());
        }
        if (q != CurrentPiece) {
            const std::vector<BoardCell> current = SortedPlacedCells(PlacementNow(CurrentPiece));
            blocked.insert(blocked.end(), current.begin(), current.end());
        }
        home.clear();
        std::vector<BoardCell> taken = blocked;
        for (int p = 1; p <= kPieces; ++p) {
            if (!InPlay(p) || placing[p] || p == CurrentPiece) continue;
            const std::vector<BoardCell> cells = SortedPlacedCells(PlacementNow(p));
            if (Meet(cells, blocked)) {
                home.push_back(p);
            } else {
                taken.insert(taken.end(), cells.begin(), cells.end());
            }
        }
        for (const int p : home) {
            if (Meet(SortedPlacedCells(HomeOf(p)), taken)) {
                placing[p] = grew = true;
                break;
            }
        }
    }
    std::vector<int> placed;
    for (int p = 1; p <= kPieces; ++p) {
        if (placing[p]) placed.push_back(p);
    }
    platform::Tell(placed.size() == 1
                       ? QStringLiteral("Фигура %1 поставлена на место").arg(Letters(placed))
                       : QStringLiteral("Фигуры %1 поставлены на место").arg(Letters(placed)));
    for (const int p : home) MoveSetPiece(HomeOf(p));
    for (const int p : placed) {
        if (p != q) MoveSetPiece(target[p]);
    }
    if (q != CurrentPiece) MakeCurrent(q);
    MoveCurrentTo(target[q]);
    step.Close();
}

void ShowReshenie() {
    if (Refused(nullptr)) return;
    const HintPlan plan = PlanHint(PositionNow());
    if (Refused(&plan)) return;
    Arrangement solved = ArrangementNow();
    for (const PiecePlacement& t : plan.solution) {
        solved.pos[t.piece][0] = t.column;
        solved.pos[t.piece][1] = t.row;
        solved.orientation[t.piece] = t.orientation;
    }
    platform::Tell(plan.remove.empty()
                       ? QStringLiteral("Все фигуры поставлены по решению")
                       : QStringLiteral("Все фигуры поставлены по решению; неверно лежали: %1")
                             .arg(Letters(plan.remove)));
    CompoundStep step;
    ShowArrangement(solved);
    // Moved where it lies: the victory test runs as after any move.
    MoveFigury(PiecePos[CurrentPiece][0], PiecePos[CurrentPiece][1]);
    step.Close();
}

}  // namespace kv
