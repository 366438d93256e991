// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The menu bar: the items, the enabling of the save items, shortcuts that work without
// opening a menu, the help document and the two ways out.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include "app/MainWindow.h"
#include "outlines/Outline.h"
#include "platform/Files.h"
#include "settings/Settings.h"
#include "support/PlaySupport.h"
#include "support/TestSupport.h"
#include "view/PictureBox.h"

using namespace kv;

namespace {

// Closes whatever modal window a command opens, so that no check waits on a dialog.
class ModalCloser {
  public:
    ModalCloser() {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ++closed;
                modal->close();
            }
        });
        timer_.start();
    }
    int closed = 0;

  private:
    QTimer timer_;
};

// Keys go to the widget with the focus (the board), as the player's would.
void Press(frmForma* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, key, modifiers);
}

void OpenMenu(frmForma* window) {
    emit window->Menu()->aboutToShow();
}

}  // namespace

class MenusTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void cleanup() { platform::SetProgramFolder(QString()); }

    void itemsCaptionsAndShortcutsInDisplayOrder() {
        kvtest::GameWindow game;
        const QList<QAction*> bar = game.window->menuBar()->actions();
        QCOMPARE(bar.size(), 3);
        QCOMPARE(bar[0]->menu(), game.window->Menu());
        QCOMPARE(bar[1]->menu(), game.window->Igra());
        QCOMPARE(bar[2]->menu(), game.window->Help());
        QCOMPARE(bar[0]->text(), QStringLiteral("Меню"));
        QCOMPARE(bar[1]->text(), QStringLiteral("Игра"));
        QCOMPARE(bar[2]->text(), QStringLiteral("Справка"));

        struct Item {
            QString caption;
            QKeySequence shortcut;
            bool enabled = true;  // at start-up
            QKeySequence other = {};
        };
        const QList<Item> menu = {
            {QStringLiteral("Продолжить"), QKeySequence(Qt::CTRL | Qt::Key_O)},
            {QStringLiteral("Сохранить"), QKeySequence(Qt::CTRL | Qt::Key_S)},
            {QStringLiteral("Сохранить как..."), {}},
            {QStringLiteral("Список квелтов"), QKeySequence(Qt::Key_F4)},
            {QString(), {}},
            {QStringLiteral("Выход"), {}}};
        const QList<Item> help = {{QStringLiteral("Вызов справки"), QKeySequence(Qt::Key_F1)},
                                  {QStringLiteral("О программе"), {}}};
        // Nothing to take back or do again before the first step; on the empty board no
        // piece is in play to hint, solve or start again with.
        const QList<Item> igra = {
            {QStringLiteral("Отменить"), QKeySequence(Qt::CTRL | Qt::Key_Z), false},
            {QStringLiteral("Повторить"), QKeySequence(Qt::CTRL | Qt::Key_Y), false,
             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
            {QString(), {}},
            {QStringLiteral("Подсказка"), QKeySequence(Qt::CTRL | Qt::Key_H), false},
            {QStringLiteral("Решение"), {}, false},
            {QStringLiteral("Начать заново"), QKeySequence(Qt::CTRL | Qt::Key_N), false},
            {QString(), {}},
            {QStringLiteral("Повернуть по часовой стрелке"), QKeySequence(Qt::Key_PageDown)},
            {QStringLiteral("Повернуть против часовой стрелки"), QKeySequence(Qt::Key_PageUp)},
            {QStringLiteral("Отразить"), QKeySequence(Qt::Key_Home)},
            {QString(), {}},
            {QStringLiteral("Редактор квелтов..."), QKeySequence(Qt::CTRL | Qt::Key_E)},
            {QStringLiteral("Новый квелт..."), {}},
            {QStringLiteral("Квелт дня..."), {}},

            // Enabled once the game keeps the player's journey (not in this window).
            {QStringLiteral("Следующий нерешённый"), QKeySequence(Qt::Key_F3), false},
            {QStringLiteral("Успехи..."), {}, false}};
        auto check = [](QMenu* m, const QList<Item>& expected) {
            const QList<QAction*> actions = m->actions();
            QCOMPARE(actions.size(), expected.size());
            for (int i = 0; i < actions.size(); ++i) {
                const bool separator = expected[i].caption.isEmpty();
                QCOMPARE(actions[i]->isSeparator(), separator);
                if (separator) continue;
                QCOMPARE(actions[i]->text(), expected[i].caption);
                QCOMPARE(actions[i]->shortcut(), expected[i].shortcut);
                if (!expected[i].other.isEmpty()) {
                    QCOMPARE(actions[i]->shortcuts(),
                             QList<QKeySequence>({expected[i].shortcut, expected[i].other}));
                }
                // No mnemonic letters anywhere.
                QVERIFY(!actions[i]->text().contains(QLatin1Char('&')));
                QVERIFY(actions[i]->isVisible());
                QCOMPARE(actions[i]->isEnabled(), expected[i].enabled);
            }
        };
        check(game.window->Menu(), menu);
        check(game.window->Igra(), igra);
        check(game.window->Help(), help);
    }

    void saveItemsFollowTheOutlineEachTimeTheMenuOpens() {
        kvtest::Fakes fakes;
        kvtest::GameWindow game;
        frmForma* w = game.window;
        OutlineLoaded = 0;
        OpenMenu(w);
        QVERIFY(!w->MenuSave()->isEnabled());
        QVERIFY(!w->MenuSaveAs()->isEnabled());
        // The other items are not touched.
        QVERIFY(w->MenuProdolgit()->isEnabled());
        QVERIFY(w->MenuListKvelt()->isEnabled());

        // Loading an outline alone changes nothing until the menu opens again.
        OutlineLoaded = 1;
        QVERIFY(!w->MenuSave()->isEnabled());
        OpenMenu(w);
        QVERIFY(w->MenuSave()->isEnabled());
        QVERIFY(w->MenuSaveAs()->isEnabled());

        // The comparison is a signed one.
        OutlineLoaded = -1;
        OpenMenu(w);
        QVERIFY(!w->MenuSave()->isEnabled());
        QVERIFY(!w->MenuSaveAs()->isEnabled());
    }

    void saveShortcutWorksUntilTheMenuDisablesIt() {
        kvtest::Fakes fakes;
        kvtest::GameWindow game;
        frmForma* w = game.window;
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QSignalSpy saves(w->MenuSave(), &QAction::triggered);
        OutlineLoaded = 0;

        // Before the menu has ever opened the item is enabled whatever OutlineLoaded is.
        Press(w, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(saves.count(), 1);

        OpenMenu(w);
        Press(w, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(saves.count(), 1);
        QCOMPARE(fakes.files.calls, 0);
        QVERIFY(fakes.messages.errors.isEmpty());

        OutlineLoaded = 1;
        OpenMenu(w);
        Press(w, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(saves.count(), 2);
    }

    void shortcutsReachTheirItemsWithoutOpeningAMenu() {
        kvtest::Fakes fakes;
        kvtest::GameWindow game;
        ModalCloser closer;
        frmForma* w = game.window;
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QSignalSpy library(w->MenuListKvelt(), &QAction::triggered);
        QSignalSpy resume(w->MenuProdolgit(), &QAction::triggered);
        QSignalSpy help(w->HelpCallHelp(), &QAction::triggered);

        Press(w, Qt::Key_F4);
        QCOMPARE(library.count(), 1);
        // The library dialog was modal: the main window takes the keys again once it is active.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        Press(w, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(resume.count(), 1);
        Press(w, Qt::Key_F1);
        QCOMPARE(help.count(), 1);
        QCOMPARE(fakes.shell.opened.size(), 1);
        QVERIFY(!w->Menu()->isVisible());
        QVERIFY(!w->Help()->isVisible());
        // Plain letters are no shortcuts.
        Press(w, Qt::Key_S);
        Press(w, Qt::Key_O);
        QCOMPARE(resume.count(), 1);
    }

    // The turn items act on the current piece from the menu and by their keys, also with the
    // orientation palette open (it closes first).
    void turnItemsTurnTheCurrentPiece() {
        kvtest::Fakes fakes;
        kvtest::GameWindow game;
        frmForma* w = game.window;
        QVERIFY(kvtest::Activate(w));
        kvtest::StartPlay();
        kvtest::Player player(w);
        player.Key(Qt::Key_T);
        QCOMPARE(CurrentPiece, 3);
        w->IgraVpravo()->trigger();
        QCOMPARE(PieceOrientation[3], 2);
        w->IgraOtrazit()->trigger();
        QCOMPARE(PieceOrientation[3], 7);
        w->IgraVlevo()->trigger();
        QCOMPARE(PieceOrientation[3], 6);
        player.Key(Qt::Key_Space);
        QVERIFY(w->picPovorot()->isVisible());
        player.Key(Qt::Key_PageDown);
        QVERIFY(!w->picPovorot()->isVisible());
        QCOMPARE(PieceOrientation[3], 7);
        QCOMPARE(QApplication::focusWidget(), w->picPole());
        player.Key(Qt::Key_Home);
        QCOMPARE(PieceOrientation[3], 2);
        player.Key(Qt::Key_PageUp);
        QCOMPARE(PieceOrientation[3], 1);
        player.Key(Qt::Key_X);
        player.Key(Qt::Key_PageUp);
        QCOMPARE(PieceOrientation[1], 1);
        QCOMPARE(platform::LastTold(),
                 QStringLiteral("X не поворачивается: у неё одно положение."));
    }

    void helpOpensTheDocumentBesideTheProgramFromAnyFolder() {
        kvtest::Fakes fakes;
        kvtest::GameWindow game;
        QTemporaryDir program, elsewhere;
        QVERIFY(program.isValid() && elsewhere.isValid());
        platform::SetProgramFolder(program.path());
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(elsewhere.path()));

        game.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(game.window));
        Press(game.window, Qt::Key_F1);
        game.window->HelpCallHelp()->trigger();
        QDir::setCurrent(before);

        const QUrl expected = QUrl::fromLocalFile(program.path() + QStringLiteral("/Справка.html"));
        QCOMPARE(fakes.shell.opened, QList<QUrl>({expected, expected}));
    }

    void exitAndTheCloseBoxBothWriteTheSettings() {
        kvtest::Fakes fakes;
        QTemporaryDir program;
        QVERIFY(program.isValid());
        platform::SetProgramFolder(program.path());
        const QString settings = program.filePath(QStringLiteral("Kvelt.ini"));
        auto readBack = [&] {
            QFile file(settings);
            if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("<no file>");
            return ReadSettingsPath(file.readAll());
        };

        {
            kvtest::GameWindow game;
            OutlinePath = program.filePath(QStringLiteral("Examples/0003.kvt"));
            game.window->MenuExit()->trigger();
            QVERIFY(!game.window->isVisible());
            QCOMPARE(readBack(), OutlinePath);
        }
        QVERIFY(QFile::remove(settings));
        {
            kvtest::GameWindow game;
            OutlinePath = program.filePath(QStringLiteral("Examples/0007.kvt"));
            // What the window manager's close box sends.
            QVERIFY(game.window->windowHandle());
            game.window->windowHandle()->close();
            QVERIFY(!game.window->isVisible());
            QCOMPARE(readBack(), OutlinePath);
        }
    }
};

QTEST_MAIN(MenusTest)
#include "test_menus.moc"
