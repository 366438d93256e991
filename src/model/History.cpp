// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/History.h"

#include <deque>
#include <vector>

#include "model/Operations.h"
#include "platform/Services.h"
#include "view/BoardDrawing.h"

namespace kv {

std::function<void()> HistoryChanged;

namespace {

struct Entry {
    Arrangement arrangement;
};

// steps[0] is the arrangement after the load; steps[index] is the one on the board.
std::vector<Entry> steps;
std::size_t index = 0;
int compoundDepth = 0;
int finishingDepth = 0;
std::deque<std::function<void()>> waiting;

void Notify() {
    if (HistoryChanged) HistoryChanged();
}

bool InPlay(int p) {
    return p >= 1 && p <= kPieces && PieceExcluded[p] != 1;
}

}  // namespace

Arrangement ArrangementNow() {
    Arrangement a;
    for (int p = 0; p <= kPieces; ++p) {
        a.pos[p][0] = PiecePos[p][0];
        a.pos[p][1] = PiecePos[p][1];
        a.orientation[p] = PieceOrientation[p];
    }
    a.current = CurrentPiece;
    return a;
}

void ShowArrangement(const Arrangement& a) {
    bool changes[kPieces + 1] = {};
    for (int p = 1; p <= kPieces; ++p) {
        changes[p] =
            InPlay(p) && (p == CurrentPiece || p == a.current || PiecePos[p][0] != a.pos[p][0] ||
                          PiecePos[p][1] != a.pos[p][1] || PieceOrientation[p] != a.orientation[p]);
    }
    // Out of BoardCells first, so that erasing shows what lies under them without them.
    const int was = CurrentPiece;
    for (int p = 1; p <= kPieces; ++p) {
        if (!changes[p] || p == was) continue;
        CurrentPiece = p;
        UstanovkaFigury(-1);
    }
    for (int p = 1; p <= kPieces; ++p) {
        if (!changes[p]) continue;
        CurrentPiece = p;
        ShowFigury(0);
    }
    for (int p = 1; p <= kPieces; ++p) {
        if (!changes[p]) continue;
        PiecePos[p][0] = a.pos[p][0];
        PiecePos[p][1] = a.pos[p][1];
        PieceOrientation[p] = a.orientation[p];
        if (p == a.current) continue;
        CurrentPiece = p;
        ShowFigury(-1);
        UstanovkaFigury(+1);
    }
    CurrentPiece = a.current;
    // In play the current piece is drawn over whatever it lies on.
    if (InPlay(CurrentPiece)) ShowFigury(-1);
}

namespace {

// Walking the list is no move of play: a covered outline is told, never celebrated again.
void WalkTo(std::size_t to) {
    index = to;
    ShowArrangement(steps[index].arrangement);
    Notify();
    if (OutlineCovered()) platform::Tell(QStringLiteral("Квелт собран"));
}

}  // namespace

void StartHistory() {
    steps.assign(1, {ArrangementNow()});
    index = 0;
    Notify();
}

void RecordStep(bool) {
    if (compoundDepth > 0 || steps.empty()) return;
    const Arrangement now = ArrangementNow();
    if (now == steps[index].arrangement) return;
    steps.resize(index + 1);
    steps.push_back({now});
    ++index;
    Notify();
}

bool CanOtmena() {
    return !steps.empty() && index > 0;
}
bool CanPovtor() {
    return index + 1 < steps.size();
}

void Otmena() {
    if (CanOtmena()) WalkTo(index - 1);
}

void Povtor() {
    if (CanPovtor()) WalkTo(index + 1);
}

bool CanNachatZanovo() {
    if (!InPlay(CurrentPiece)) return false;
    for (int p = 1; p <= kPieces; ++p) {
        int column = 0;
        int row = 0;
        HomePlace(p, column, row);
        if (InPlay(p) && (PiecePos[p][0] != column || PiecePos[p][1] != row ||
                          PieceOrientation[p] != 1)) {
            return true;
        }
    }
    return false;
}

void NachatZanovo() {
    if (!CanNachatZanovo()) {
        if (InPlay(CurrentPiece)) platform::Tell(QStringLiteral("Все фигуры уже дома"));
        return;
    }
    const Arrangement before = ArrangementNow();
    FiguryPoMestam();
    Arrangement home = ArrangementNow();
    home.current = FirstPieceInPlay();
    for (int p = 1; p <= kPieces; ++p) {
        PiecePos[p][0] = before.pos[p][0];
        PiecePos[p][1] = before.pos[p][1];
        PieceOrientation[p] = before.orientation[p];
    }
    ShowArrangement(home);
    RecordStep(false);
}

CompoundStep::CompoundStep() {
    // Entered at once, so that «Отменить» is there for the player while the step is made.
    if (compoundDepth++ == 0 && !steps.empty()) {
        steps.resize(index + 1);
        steps.push_back({ArrangementNow()});
        ++index;
        open_ = true;
        Notify();
    }
    BeginFinishing();
}

CompoundStep::~CompoundStep() {
    Close(false);
}

void CompoundStep::Close(bool) {
    if (closed_) return;
    closed_ = true;
    --compoundDepth;
    if (open_) {
        steps[index] = {ArrangementNow()};
        if (steps[index].arrangement == steps[index - 1].arrangement) {
            steps.pop_back();
            --index;
        }
        Notify();
    }
    EndFinishing();
}

void BeginFinishing() {
    ++finishingDepth;
}

void EndFinishing() {
    if (--finishingDepth > 0) return;
    while (finishingDepth == 0 && !waiting.empty()) {
        const std::function<void()> command = std::move(waiting.front());
        waiting.pop_front();
        command();
    }
}

void WhenIdle(std::function<void()> command) {
    if (finishingDepth > 0) {
        waiting.push_back(std::move(command));
    } else {
        command();
    }
}

std::vector<Arrangement> HistorySteps() {
    std::vector<Arrangement> out;
    out.reserve(steps.size());
    for (const Entry& e : steps) out.push_back(e.arrangement);
    return out;
}

std::size_t HistoryIndex() {
    return index;
}

void ResetHistory() {
    steps.clear();
    index = 0;
    compoundDepth = 0;
    finishingDepth = 0;
    waiting.clear();
    Notify();
}

}  // namespace kv
