// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The open and save dialogs behind FileDialogs::OpenSave, built apart so they can be
// looked at before they run.
#pragma once

#include <QString>
#include <memory>

class QFileDialog;

namespace kv::platform {

// Qt's own file dialog as OpenSave runs it: the caller's filter and "Все файлы (*.*)",
// Russian sizes and dates in its detail columns, the columns wide enough to read.
std::unique_ptr<QFileDialog> NewFileDialog(bool save, const QString& initialName,
                                           const QString& description, const QString& pattern,
                                           const QString& folder);

}  // namespace kv::platform
