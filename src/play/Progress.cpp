// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "play/Progress.h"

#include <algorithm>

namespace kv {

namespace {
ProgressKeeper* gKeeper = nullptr;
}  // namespace

ProgressKeeper* Progress() {
    return gKeeper;
}

void SetProgress(ProgressKeeper* keeper) {
    gKeeper = keeper;
}

void JourneyLoaded(bool restore) {
    if (gKeeper) gKeeper->Loaded(restore);
}

QString FormatDuration(std::int64_t ms) {
    const std::int64_t s = std::max<std::int64_t>(ms, 0) / 1000;
    const auto two = [](std::int64_t v) {
        return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
    };
    if (s < 3600) return QStringLiteral("%1:%2").arg(s / 60).arg(two(s % 60));
    return QStringLiteral("%1:%2:%3").arg(s / 3600).arg(two(s / 60 % 60)).arg(two(s % 60));
}

}  // namespace kv
