// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Fakes for the modal things and a main window laid out at its design size, shared by
// the tests.
#pragma once

#include <QColor>
#include <QList>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Services.h"
#include "solver/Solver.h"

class QWidget;

namespace kv {
class frmForma;
struct OutlineContent;
}  // namespace kv

namespace kvtest {

class FakeMessages final : public kv::platform::MessageBoxes {
  public:
    void ShowError(const QString& text) override { errors << text; }
    bool AskYesNo(const QString& text) override {
        questions << text;
        return answerYes;
    }
    void ShowCopyable(const QString& text) override { copyable << text; }
    QStringList errors;
    QStringList questions;
    QStringList copyable;
    bool answerYes = false;
};

// Records each question; answers with answer (-1: "Отмена").
class FakeQuestions final : public kv::platform::Questions {
  public:
    int Choose(const QString& text, const QStringList& answers) override {
        asked << text;
        lastAnswers = answers;
        return answer;
    }
    QStringList asked;
    QStringList lastAnswers;
    int answer = -1;
};

class FakeVictory final : public kv::platform::VictoryPresenter {
  public:
    void ShowVictory() override { ++shown; }
    // Keeps the note; answers «Следующий» when chooseNext is set.
    bool ShowVictoryNoted(const kv::platform::VictoryNote& note) override {
        ++shown;
        notes << note.line;
        return chooseNext;
    }
    int shown = 0;
    QStringList notes;
    bool chooseNext = false;
};

// Counts the yields; runs nothing unless told to (a test can queue work into it).
class FakeEvents final : public kv::platform::EventPump {
  public:
    void ProcessPendingEvents() override {
        ++calls;
        if (onProcess) onProcess();
    }
    int calls = 0;
    std::function<void()> onProcess;
};

class FakeFiles final : public kv::platform::FileDialogs {
  public:
    QString OpenSave(bool save, const QString& initialName, const QString& description,
                     const QString& pattern, const QString& folder) override {
        lastSave = save;
        lastInitialName = initialName;
        lastDescription = description;
        lastPattern = pattern;
        lastFolder = folder;
        ++calls;
        return answer;
    }
    QString answer;
    int calls = 0;
    bool lastSave = false;
    QString lastInitialName, lastDescription, lastPattern, lastFolder;
};

// Records what it is asked to open; with fails set it reports, as a desktop without a
// browser does, that it could not.
class FakeShell final : public kv::platform::Shell {
  public:
    bool Open(const QUrl& url) override {
        opened << url;
        return !fails;
    }
    QList<QUrl> opened;
    bool fails = false;
};

// Runs each job at once on the calling thread. With hold set the answer waits until Finish,
// as one that a worker has sent but the event loop not yet delivered: a test can change
// things in between. With holdWork set the work waits too, as a search still going: a stop
// flag raised meanwhile is seen by the work.
class FakeJobs final : public kv::platform::JobRunner {
  public:
    void Run(QObject* receiver, std::function<void()> work, std::function<void()> done) override {
        ++runs;
        if (!holdWork) work();
        held.push_back(
            {QPointer<QObject>(receiver), holdWork ? std::move(work) : nullptr, std::move(done)});
        if (!hold && !holdWork) Finish();
    }
    // Runs the held work and delivers the held answers to receivers still alive.
    void Finish() {
        auto jobs = std::move(held);
        held.clear();
        for (auto& job : jobs) {
            if (job.work) job.work();
            if (job.receiver) job.done();
        }
    }
    struct Held {
        QPointer<QObject> receiver;
        std::function<void()> work;
        std::function<void()> done;
    };
    std::vector<Held> held;
    bool hold = false;
    bool holdWork = false;
    int runs = 0;
};

// A clipboard of its own: what was set, and what the next read gives.
class FakeClipboard final : public kv::platform::Clipboard {
  public:
    QString Text() override { return text; }
    void SetText(const QString& t) override {
        text = t;
        ++sets;
    }
    QString text;
    int sets = 0;
};

// Installs the fakes for the lifetime of the object and puts the real services back.
struct Fakes {
    Fakes();
    ~Fakes();
    FakeMessages messages;
    FakeVictory victory;
    FakeEvents events;
    FakeFiles files;
    FakeShell shell;
    FakeJobs jobs;
    FakeQuestions questions;
    FakeClipboard clipboard;
};

// The player's outline folder ($XDG_DATA_HOME/kvelt/Examples) in a fresh temporary folder
// for the life of the object; path ends in "/".
struct OwnOutlines {
    OwnOutlines();
    ~OwnOutlines();
    QTemporaryDir home;
    QString path;
    QByteArray oldHome;
    bool testMode = false;
};

// The first of a window's own controls that overlaps another or reaches out of the window,
// hidden ones included (they show in the same place), described; empty when none does.
QString LayoutFault(const QWidget* window);

// The model with its piece set built and nothing on the board.
void FreshModel();

// A main window shown offscreen at its design client size and laid out as at start-up,
// its board cleared to the empty grid (no outline, no pieces). Deletes the window at the end.
struct GameWindow {
    GameWindow();
    ~GameWindow();
    kv::frmForma* window = nullptr;
};

// Opaque colour of a program colour value.
QRgb Rgb(std::uint32_t colour);

// The cells piece p covers where it stands, in its own orientation, cell 0 first.
QList<QPoint> CellsOf(int p);
// The cells a placement covers, read from the game's piece table, sorted so that two
// placements compare as sets.
std::vector<kv::BoardCell> CellsOf(const kv::PiecePlacement& t);
// An outline file's cells in the order the file lists them.
QList<QPoint> CellsOf(const kv::OutlineContent& content);

}  // namespace kvtest
