// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Start-up.
#pragma once

class QApplication;

namespace kv {

class frmForma;

// Makes Russian the default locale and installs Qt's own Russian texts for the standard
// buttons of message boxes and dialogs, whatever the system's locale.
void LoadQtTranslations(QApplication& app);
// Shows the main window, lays it out and prepares the puzzle. Returns the window.
frmForma* Main();

}  // namespace kv
