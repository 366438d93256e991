// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The help document in a window of the game, for a desktop that has no browser to show it.
#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

class QAction;
class QLineEdit;
class QTextBrowser;

namespace kv {

// The help file, its pictures and its links between sections, with back, forward and find.
// Esc closes it.
class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(const QUrl& document, QWidget* parent = nullptr);

    QTextBrowser* Browser() const { return browser_; }
    QAction* BackAction() const { return back_; }
    QAction* ForwardAction() const { return forward_; }
    QAction* FindAction() const { return find_; }
    QLineEdit* FindField() const { return findField_; }

    // Selects the next place of the find field's text after the cursor, going round to the
    // top once; false (and the player told) when the text is nowhere.
    bool FindNext();

  private:
    void Follow(const QUrl& link);

    QTextBrowser* browser_ = nullptr;
    QAction* back_ = nullptr;
    QAction* forward_ = nullptr;
    QAction* find_ = nullptr;
    QWidget* findBar_ = nullptr;
    QLineEdit* findField_ = nullptr;
};

// Shows the help file at path in the game's help window, the one already open if there is
// one, brought to the front.
HelpWindow* ShowHelpWindow(const QString& path);

// F1: the help document "Справка.html" with the desktop's browser, or, when the desktop
// cannot open it, in the game's help window.
void CallHelp();

// The name of the help document in the program folder.
QString HelpDocumentName();

}  // namespace kv
