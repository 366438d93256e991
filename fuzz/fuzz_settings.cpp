// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The settings file's first field.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "settings/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString path = kv::ReadSettingsPath(bytes);
    // The field never runs past a line end or a comma outside quotes.
    if (path.size() > bytes.size()) __builtin_trap();
    return 0;
}
