// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The modal and outside-world things the logic needs, behind small interfaces so that
// tests put fakes in their place and never block.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

class QObject;
class QWidget;

namespace kv::platform {

// The title of every message box.
QString AppTitle();

// Lets the window system handle what is pending, once.
class EventPump {
  public:
    virtual ~EventPump() = default;
    virtual void ProcessPendingEvents() = 0;
};

// What the victory window says under its word, and whether it offers «Следующий».
struct VictoryNote {
    QString line;
    bool offerNext = false;
};

// Shows the victory window modally; returns when the player has closed it.
class VictoryPresenter {
  public:
    virtual ~VictoryPresenter() = default;
    virtual void ShowVictory() = 0;
    // The same with a note; true when the player chose «Следующий».
    virtual bool ShowVictoryNoted(const VictoryNote&) {
        ShowVictory();
        return false;
    }
};

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Error icon, one OK button.
    virtual void ShowError(const QString& text) = 0;
    // Warning icon, Yes and No with No the default; true for Yes.
    virtual bool AskYesNo(const QString& text) = 0;
    // Information icon, one OK button; the player can select the text and copy it.
    virtual void ShowCopyable(const QString& text) = 0;
};

// A question whose answers are the caller's own, for a choice that Yes and No cannot put.
class Questions {
  public:
    virtual ~Questions() = default;
    // Question icon, one button per answer (the first the default) and "Отмена"; the index
    // of the answer chosen, -1 for "Отмена" or the close box.
    virtual int Choose(const QString& text, const QStringList& answers) = 0;
};

class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    // The open (save = false) or save dialog starting in folder with initialName filled in.
    // filter holds the caller's description and pattern; the dialog adds "all files".
    // Returns the full path, or an empty text on cancel.
    virtual QString OpenSave(bool save, const QString& initialName, const QString& description,
                             const QString& pattern, const QString& folder) = 0;
};

// Opens a document or web address with the user's default application; false when the
// desktop has nothing to open it with (no launcher, no browser it knows of).
class Shell {
  public:
    virtual ~Shell() = default;
    virtual bool Open(const QUrl& url) = 0;
};

// Runs long work away from the user-interface thread. work runs on a worker thread and
// must touch only what it was handed; done runs afterwards on the user-interface thread,
// and not at all once receiver is gone. A job that must end early is told so by its own
// stop flag, never by the runner.
class JobRunner {
  public:
    virtual ~JobRunner() = default;
    virtual void Run(QObject* receiver, std::function<void()> work, std::function<void()> done) = 0;
};

// The main window's status line: one short message to the player at a time, in Russian.
class StatusLine {
  public:
    virtual ~StatusLine() = default;
    virtual void Show(const QString& text) = 0;
};

// The desktop's clipboard, for text only.
class Clipboard {
  public:
    virtual ~Clipboard() = default;
    virtual QString Text() = 0;
    virtual void SetText(const QString& text) = 0;
};

struct Services {
    EventPump* events = nullptr;
    VictoryPresenter* victory = nullptr;
    MessageBoxes* messages = nullptr;
    FileDialogs* files = nullptr;
    Shell* shell = nullptr;
    JobRunner* jobs = nullptr;
    StatusLine* status = nullptr;
    Questions* questions = nullptr;
    Clipboard* clipboard = nullptr;
};

// The real file dialogs (Qt's own widget-based dialog, the same on every desktop).
FileDialogs* DefaultFileDialogs();

// The services in force; each slot starts with the real implementation, except the
// victory window, which the main window installs.
Services& services();
// Puts the real implementations back (for tests that swapped in fakes).
void RestoreDefaultServices();

// Tells the player text in the status line; nothing while there is none. The last text told
// is kept, so that what was said can be read back.
void Tell(const QString& text);
QString LastTold();

// The window that owns message boxes and dialogs (the main window once it exists).
void SetMainWidget(QWidget* widget);
QWidget* MainWidget();

// Mouse pointers.
enum class Pointer { Default, Wait, PointingHand };
void SetPointer(QWidget* widget, Pointer pointer);

}  // namespace kv::platform
