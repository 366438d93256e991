// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Services.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QThreadPool>
#include <QWidget>

#include "platform/MessageBox.h"

namespace kv::platform {

QString AppTitle() {
    return QStringLiteral("Головоломка «Квелт»");
}

namespace {

QPointer<QWidget> gMainWidget;
QString gLastTold;

class QtEventPump final : public EventPump {
  public:
    void ProcessPendingEvents() override { QCoreApplication::processEvents(); }
};

class QtMessageBoxes final : public MessageBoxes {
  public:
    void ShowError(const QString& text) override {
        NewMessageBox(QMessageBox::Critical, text, QMessageBox::Ok)->exec();
    }
    bool AskYesNo(const QString& text) override {
        const auto box =
            NewMessageBox(QMessageBox::Warning, text, QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::No);
        return box->exec() == QMessageBox::Yes;
    }
    void ShowCopyable(const QString& text) override { NewCopyableMessageBox(text)->exec(); }
};

class QtQuestions final : public Questions {
  public:
    int Choose(const QString& text, const QStringList& answers) override {
        const auto box = NewMessageBox(QMessageBox::Question, text, QMessageBox::Cancel);
        box->button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
        QList<QAbstractButton*> buttons;
        for (const QString& answer : answers) {
            buttons << box->addButton(answer, QMessageBox::AcceptRole);
        }
        if (!buttons.isEmpty()) box->setDefaultButton(qobject_cast<QPushButton*>(buttons[0]));
        box->exec();
        return static_cast<int>(buttons.indexOf(box->clickedButton()));
    }
};

class QtShell final : public Shell {
  public:
    bool Open(const QUrl& url) override { return QDesktopServices::openUrl(url); }
};

class ThreadPoolJobs final : public JobRunner {
  public:
    void Run(QObject* receiver, std::function<void()> work, std::function<void()> done) override {
        // The pointer is made and read on this thread only; the worker never sees receiver.
        QPointer<QObject> alive(receiver);
        QThreadPool::globalInstance()->start(
            [alive, work = std::move(work), done = std::move(done)]() mutable {
                work();
                // Posted to the application object, which outlives every window.
                QMetaObject::invokeMethod(
                    QCoreApplication::instance(),
                    [alive, done = std::move(done)] {
                        if (alive) done();
                    },
                    Qt::QueuedConnection);
            });
    }
};

class QtClipboard final : public Clipboard {
  public:
    QString Text() override { return QGuiApplication::clipboard()->text(); }
    void SetText(const QString& text) override { QGuiApplication::clipboard()->setText(text); }
};

QtEventPump gEvents;
ThreadPoolJobs gJobs;
QtMessageBoxes gMessages;
QtShell gShell;
QtQuestions gQuestions;
QtClipboard gClipboard;

Services MakeDefaults() {
    Services s;
    s.events = &gEvents;
    s.messages = &gMessages;
    s.shell = &gShell;
    s.files = DefaultFileDialogs();
    s.jobs = &gJobs;
    s.questions = &gQuestions;
    s.clipboard = &gClipboard;
    return s;
}

}  // namespace

Services& services() {
    static Services current = MakeDefaults();
    return current;
}

void RestoreDefaultServices() {
    VictoryPresenter* victory = services().victory;
    StatusLine* status = services().status;
    services() = MakeDefaults();
    services().victory = victory;
    services().status = status;
}

void Tell(const QString& text) {
    gLastTold = text;
    if (services().status) services().status->Show(text);
}
QString LastTold() {
    return gLastTold;
}

void SetMainWidget(QWidget* widget) {
    gMainWidget = widget;
}
QWidget* MainWidget() {
    return gMainWidget.data();
}

void SetPointer(QWidget* widget, Pointer pointer) {
    if (!widget) return;
    switch (pointer) {
        case Pointer::Default:
            widget->unsetCursor();
            break;
        case Pointer::Wait:
            widget->setCursor(Qt::WaitCursor);
            break;
        case Pointer::PointingHand:
            widget->setCursor(Qt::PointingHandCursor);
            break;
    }
}

}  // namespace kv::platform
