// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// What the loaders, the library and «Успехи» see of the player's journey: the keeper of the
// progress store that the game installs (the journey in app/), and nothing while none is
// installed (tests, tools).
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "play/ProgressStore.h"
#include "solver/Grade.h"

namespace kv {

class ProgressKeeper {
  public:
    virtual ProgressStore& Store() = 0;
    // The record of the outline in play as it stands, and its key (empty: none in play).
    virtual const ProgressRecord& Record() const = 0;
    virtual const QByteArray& Key() const = 0;
    // An outline was loaded and its history started afresh. restore: bring back what the
    // store keeps for it (the library, start-up, the next outline; not Continue).
    virtual void Loaded(bool restore) = 0;
    // Keeps the grade the library found for an outline of the player's own.
    virtual void CacheGrade(const QByteArray& key, const OutlineGrade& grade) = 0;

  protected:
    ~ProgressKeeper() = default;
};

// The keeper installed, or nullptr.
ProgressKeeper* Progress();
void SetProgress(ProgressKeeper* keeper);

// The loaders' hook; nothing happens while no keeper is installed.
void JourneyLoaded(bool restore);

// "1:05", "1:02:03".
QString FormatDuration(std::int64_t ms);

}  // namespace kv
