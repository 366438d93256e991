// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The open and save dialogs as the position commands ask for them.
#pragma once

#include <QString>

namespace kv {

// Asks for a file name in the open (save = false) or save dialog, starting in folder (with
// a trailing separator) with initialName filled in. filter is the caller's description, a NUL
// character and its pattern; the dialog adds "Все файлы (*.*)" after it. Returns the full path, or
// an empty text on cancel.
QString apiOpenSave(bool save, const QString& initialName, const QString& filter,
                    const QString& folder);

}  // namespace kv
