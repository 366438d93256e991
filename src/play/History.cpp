// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/History.h"

#include <algorithm>

#include "model/Operations.h"
#include "platform/Services.h"
#include "view/BoardDrawing.h"

namespace kv {

namespace {

// The owners alive, oldest first; the last one keeps the steps.
std::vector<GameHistory*> owners;

bool InPlay(int p) {
    return p >= 1 && p <= kPieces && PieceExcluded[p] != 1;
}

}  // namespace

struct HistoryAccess {
    static GameHistory* Current() { return owners.empty() ? nullptr : owners.back(); }
    static bool Alive(const GameHistory* owner) {
        return owner && std::find(owners.begin(), owners.end(), owner) != owners.end();
    }
    static void Notify(GameHistory& owner) {
        if (owner.observer_) owner.observer_->HistoryChanged();
    }
    static History& Steps(GameHistory& owner) { return owner.history_; }
    static int& CompoundDepth(GameHistory& owner) { return owner.compoundDepth_; }
    static int& FinishingDepth(GameHistory& owner) { return owner.finishingDepth_; }
    static std::deque<std::function<void()>>& Waiting(GameHistory& owner) { return owner.waiting_; }
};

GameHistory::GameHistory(HistoryObserver* observer) : observer_(observer) {
    owners.push_back(this);
}

GameHistory::~GameHistory() {
    owners.erase(std::find(owners.begin(), owners.end(), this));
}

void History::Start(const Arrangement& now) {
    steps.assign(1, now);
    index = 0;
}

bool History::Record(const Arrangement& now) {
    if (steps.empty() || now == steps[index]) return false;
    steps.resize(index + 1);
    steps.push_back(now);
    ++index;
    return true;
}

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
    ShowPieces(a, changes);
}

void ShowPieces(const Arrangement& a, const bool changes[kPieces + 1]) {
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

using H = HistoryAccess;

// Walking the list is no move of play: a covered outline is told, never celebrated again.
void WalkTo(GameHistory& owner, std::size_t to) {
    History& history = H::Steps(owner);
    history.index = to;
    ShowArrangement(history.steps[history.index]);
    H::Notify(owner);
    if (OutlineCovered()) platform::Tell(QStringLiteral("Квелт собран"));
}

}  // namespace

std::vector<Arrangement> HistorySteps() {
    const GameHistory* owner = H::Current();
    return owner ? owner->Steps().steps : std::vector<Arrangement>();
}

std::size_t HistoryIndex() {
    const GameHistory* owner = H::Current();
    return owner ? owner->Steps().index : 0;
}

void StartHistory() {
    GameHistory* owner = H::Current();
    if (!owner) return;
    H::Steps(*owner).Start(ArrangementNow());
    H::Notify(*owner);
}

void RecordStep() {
    GameHistory* owner = H::Current();
    if (!owner || H::CompoundDepth(*owner) > 0) return;
    if (H::Steps(*owner).Record(ArrangementNow())) H::Notify(*owner);
}

bool CanOtmena() {
    const GameHistory* owner = H::Current();
    return owner && owner->Steps().CanUndo();
}
bool CanPovtor() {
    const GameHistory* owner = H::Current();
    return owner && owner->Steps().CanRedo();
}

void Otmena() {
    if (CanOtmena()) WalkTo(*H::Current(), H::Current()->Steps().index - 1);
}

void Povtor() {
    if (CanPovtor()) WalkTo(*H::Current(), H::Current()->Steps().index + 1);
}

bool CanNachatZanovo() {
    if (!InPlay(CurrentPiece)) return false;
    for (int p = 1; p <= kPieces; ++p) {
        int column = 0;
        int row = 0;
        HomePlace(p, column, row);
        if (InPlay(p) &&
            (PiecePos[p][0] != column || PiecePos[p][1] != row || PieceOrientation[p] != 1)) {
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
    ShowArrangement(HomeArrangement());
    RecordStep();
}

Arrangement HomeArrangement() {
    // As FiguryPoMestam would leave the board, without touching it.
    Arrangement home = ArrangementNow();
    for (int p = 1; p <= kPieces; ++p) {
        if (PieceExcluded[p] != 0) continue;
        home.orientation[p] = 1;
        HomePlace(p, home.pos[p][0], home.pos[p][1]);
    }
    home.current = FirstPieceInPlay();
    return home;
}

CompoundStep::CompoundStep() : owner_(H::Current()) {
    if (!owner_) return;
    // Entered at once, so that «Отменить» is there for the player while the step is made.
    History& history = H::Steps(*owner_);
    if (H::CompoundDepth(*owner_)++ == 0 && !history.steps.empty()) {
        history.steps.resize(history.index + 1);
        history.steps.push_back(ArrangementNow());
        ++history.index;
        open_ = true;
        H::Notify(*owner_);
    }
    BeginFinishing();
}

CompoundStep::~CompoundStep() {
    Close();
}

void CompoundStep::Close() {
    if (closed_) return;
    closed_ = true;
    // The owner may be gone: a drag open while the window is torn down.
    if (!H::Alive(owner_)) return;
    --H::CompoundDepth(*owner_);
    if (open_) {
        History& history = H::Steps(*owner_);
        history.steps[history.index] = ArrangementNow();
        if (history.steps[history.index] == history.steps[history.index - 1]) {
            history.steps.pop_back();
            --history.index;
        }
        H::Notify(*owner_);
    }
    EndFinishing();
}

void BeginFinishing() {
    if (GameHistory* owner = H::Current()) ++H::FinishingDepth(*owner);
}

void EndFinishing() {
    GameHistory* owner = H::Current();
    if (!owner || --H::FinishingDepth(*owner) > 0) return;
    auto& waiting = H::Waiting(*owner);
    while (H::FinishingDepth(*owner) == 0 && !waiting.empty()) {
        const std::function<void()> command = std::move(waiting.front());
        waiting.pop_front();
        command();
    }
}

void WhenIdle(std::function<void()> command) {
    GameHistory* owner = H::Current();
    if (owner && H::FinishingDepth(*owner) > 0) {
        H::Waiting(*owner).push_back(std::move(command));
    } else {
        command();
    }
}

}  // namespace kv
