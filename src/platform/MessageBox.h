// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The game's message boxes, sized so that the window manager shows the whole title.
#pragma once

#include <QMessageBox>
#include <QString>
#include <memory>

namespace kv::platform {

// Width a caption bar needs to show title whole: the text in a bold title font, plus room
// for the window manager's icon and buttons. The window manager's own font is unknown, so
// the application's font stands in for it.
int TitleBarWidth(const QString& title);

// A message box titled AppTitle() over the main window, at least TitleBarWidth wide.
std::unique_ptr<QMessageBox> NewMessageBox(QMessageBox::Icon icon, const QString& text,
                                           QMessageBox::StandardButtons buttons);

// An information box with an OK button whose plain text the player can select and copy.
std::unique_ptr<QMessageBox> NewCopyableMessageBox(const QString& text);

}  // namespace kv::platform
