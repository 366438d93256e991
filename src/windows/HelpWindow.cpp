// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/HelpWindow.h"

#include <QAction>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

#include "platform/Services.h"
#include "view/WindowStyle.h"
#include "windows/OpenUrl.h"

namespace kv {

QString HelpDocumentName() {
    return QStringLiteral("Справка.html");
}

HelpWindow::HelpWindow(const QUrl& document, QWidget* parent) : QWidget(parent, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Справка — ") + platform::AppTitle());
    resize(820, 680);

    browser_ = new QTextBrowser(this);
    // Links are followed here, so that one leading off the help goes to the desktop.
    browser_->setOpenLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, &HelpWindow::Follow);

    back_ = new QAction(QStringLiteral("Назад"), this);
    back_->setShortcut(QKeySequence::Back);
    back_->setEnabled(false);
    connect(back_, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
    forward_ = new QAction(QStringLiteral("Вперёд"), this);
    forward_->setShortcut(QKeySequence::Forward);
    forward_->setEnabled(false);
    connect(forward_, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
    find_ = new QAction(QStringLiteral("Найти"), this);
    find_->setShortcut(QKeySequence::Find);
    auto* close = new QAction(this);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, &QWidget::close);
    // Window-wide, so that they work from the find field as from the text.
    for (QAction* action : {back_, forward_, find_, close}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }

    auto* tools = new QToolBar(this);
    tools->addAction(back_);
    tools->addAction(forward_);
    tools->addAction(find_);

    findBar_ = new QWidget(this);
    auto* findRow = new QHBoxLayout(findBar_);
    findRow->setContentsMargins(6, 2, 6, 4);
    findRow->addWidget(new QLabel(QStringLiteral("Найти:"), findBar_));
    findField_ = new QLineEdit(findBar_);
    findRow->addWidget(findField_, 1);
    findBar_->hide();
    connect(find_, &QAction::triggered, this, [this] {
        findBar_->show();
        findField_->setFocus();
        findField_->selectAll();
    });
    connect(findField_, &QLineEdit::returnPressed, this, &HelpWindow::FindNext);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(browser_, 1);
    layout->addWidget(findBar_);

    browser_->setSource(document);
    browser_->setFocus();
}

bool HelpWindow::FindNext() {
    const QString text = findField_->text();
    if (text.isEmpty()) return false;
    if (browser_->find(text)) return true;
    // From the top once more: the text may lie before the cursor.
    const QTextCursor before = browser_->textCursor();
    browser_->moveCursor(QTextCursor::Start);
    if (browser_->find(text)) return true;
    browser_->setTextCursor(before);
    platform::Tell(QStringLiteral("В справке нет «%1».").arg(text));
    return false;
}

void HelpWindow::Follow(const QUrl& link) {
    const QUrl target = browser_->source().resolved(link);
    if (target.isLocalFile() || target.scheme() == QLatin1String("qrc")) {
        browser_->setSource(target);
        return;
    }
    if (!OpenURL(target.toString())) {
        platform::Tell(QStringLiteral("Ссылка не открылась: браузера нет."));
    }
}

HelpWindow* ShowHelpWindow(const QString& path) {
    static QPointer<HelpWindow> open;
    if (!open) {
        // Owned by the main window so that it closes with the game.
        open = new HelpWindow(QUrl::fromLocalFile(path), platform::MainWidget());
        CentreOnScreen(open);
    }
    open->show();
    open->raise();
    open->activateWindow();
    return open;
}

void CallHelp() {
    if (OpenURL(HelpDocumentName())) return;
    const QString path = DocumentUrl(HelpDocumentName()).toLocalFile();
    if (!QFileInfo(path).isFile()) {
        platform::Tell(QStringLiteral("Справки нет: в папке игры не найден файл «%1».")
                           .arg(HelpDocumentName()));
        return;
    }
    ShowHelpWindow(path);
    platform::Tell(QStringLiteral("Браузер не открыл справку, она показана в окне игры."));
}

}  // namespace kv
