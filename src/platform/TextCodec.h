// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Windows-1251, the single-byte code page of the game's text files.
#pragma once

#include <QByteArray>
#include <QString>

namespace kv::platform {

QString FromCp1251(const QByteArray& bytes);
// ok (if given) is false when a character has no Windows-1251 byte; such characters
// become "?".
QByteArray ToCp1251(const QString& text, bool* ok = nullptr);

}  // namespace kv::platform
