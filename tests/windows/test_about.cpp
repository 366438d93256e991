// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Opening documents, the redirect page behind the site link, and the About window.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QPushButton>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <QAction>
#include <QLineEdit>
#include <QTextBrowser>
#include "app/HelpPictures.h"
#include "app/MainWindow.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "settings/Settings.h"
#include "support/OutlineWriter.h"
#include "support/TestSupport.h"
#include "view/PictureBox.h"
#include "windows/AboutWindow.h"
#include "windows/HelpWindow.h"
#include "windows/OpenUrl.h"

using namespace kv;

namespace {

// The page for the site link, byte for byte: "Пентамино" in Windows-1251 is CF E5 ED F2 E0
// EC E8 ED EE.
const QByteArray kSitePage =
    QByteArray(
        "<html><head><meta http-equiv='refresh' content='0; url=https://ru.wikipedia.org/"
        "wiki/") +
    QByteArray("\xCF\xE5\xED\xF2\xE0\xEC\xE8\xED\xEE") +
    QByteArray(
        "'><meta http-equiv='Content-Type' content='text/html; charset=windows-1251'>"
        "<title>WWW</title></head><body></body></html>\r\n");

// "Пентамино" as a browser sends it.
const QByteArray kEncodedWord = "%D0%9F%D0%B5%D0%BD%D1%82%D0%B0%D0%BC%D0%B8%D0%BD%D0%BE";

// An Examples folder of its own for each test.
struct ExamplesFolder {
    ExamplesFolder() {
        QDir(dir.path()).mkdir(QStringLiteral("Examples"));
        path = dir.path() + QStringLiteral("/Examples/");
        ExamplesPath = path;
    }
    QString File(const QString& name) const { return path + name; }
    QTemporaryDir dir;
    QString path;
};

}  // namespace

class AboutTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void cleanup() {
        platform::SetProgramFolder(QString());
        ExamplesPath.clear();
    }

    void documentsAreResolvedAgainstTheProgramFolder() {
        kvtest::Fakes fakes;
        QTemporaryDir program, elsewhere;
        platform::SetProgramFolder(program.path());
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        OpenURL(QStringLiteral("Справка.html"));
        OpenURL(QStringLiteral("Examples/../Справка.html"));
        OpenURL(QStringLiteral("/srv/docs/a b.html"));
        OpenURL(QStringLiteral("https://ru.wikipedia.org/wiki/Пентамино"));
        OpenURL(QString());  // nothing to open
        QDir::setCurrent(before);

        QCOMPARE(fakes.shell.opened.size(), 4);
        const QUrl help = QUrl::fromLocalFile(program.path() + QStringLiteral("/Справка.html"));
        QCOMPARE(fakes.shell.opened[0], help);
        QCOMPARE(fakes.shell.opened[1], help);
        QCOMPARE(fakes.shell.opened[2], QUrl::fromLocalFile(QStringLiteral("/srv/docs/a b.html")));
        QCOMPARE(fakes.shell.opened[3].toEncoded(),
                 QByteArray("https://ru.wikipedia.org/wiki/") + kEncodedWord);
    }

    void redirectPageIsWrittenAndOpenedAfterPendingEvents() {
        kvtest::Fakes fakes;
        ExamplesFolder examples;
        // An older, longer page of that name is replaced, not overwritten in part.
        {
            QFile old(examples.File(QStringLiteral("0.html")));
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(QByteArray(400, 'x'));
        }
        int openedBeforeEvents = -1;
        fakes.events.onProcess = [&] { openedBeforeEvents = int(fakes.shell.opened.size()); };

        SaveFileUrl(SiteAddress());

        QCOMPARE(kvtest::ReadBytes(examples.File(QStringLiteral("0.html"))), kSitePage);
        QCOMPARE(fakes.events.calls, 1);
        QCOMPARE(openedBeforeEvents, 0);
        QCOMPARE(fakes.shell.opened,
                 QList<QUrl>({QUrl::fromLocalFile(examples.File(QStringLiteral("0.html")))}));
        QVERIFY(!QFile::exists(examples.File(QStringLiteral("1.html"))));

        // The next link click overwrites the same page.
        SaveFileUrl(SiteAddress());
        QCOMPARE(fakes.shell.opened.size(), 2);
        QCOMPARE(fakes.shell.opened[1], fakes.shell.opened[0]);
        QVERIFY(!QFile::exists(examples.File(QStringLiteral("1.html"))));
    }

    void pagesThatCannotBeWrittenAreSkipped_data() {
        QTest::addColumn<int>("busy");
        QTest::newRow("0.html busy") << 1;
        QTest::newRow("all but the last") << kRedirectPageAttempts - 1;
    }
    void pagesThatCannotBeWrittenAreSkipped() {
        QFETCH(int, busy);
        kvtest::Fakes fakes;
        ExamplesFolder examples;
        // A folder in the way cannot be created as a file, even by root (who may write
        // read-only files).
        for (int n = 0; n < busy; ++n) {
            QVERIFY(QDir(examples.path).mkdir(QString::number(n) + ".html"));
        }
        SaveFileUrl(SiteAddress());
        const QString page = examples.File(QString::number(busy) + QStringLiteral(".html"));
        QCOMPARE(kvtest::ReadBytes(page), kSitePage);
        QCOMPARE(fakes.shell.opened, QList<QUrl>({QUrl::fromLocalFile(page)}));
        QVERIFY(QFileInfo(examples.File(QStringLiteral("0.html"))).isDir());
    }

    void withNoPageToWriteTheAddressIsOpenedDirectly() {
        kvtest::Fakes fakes;
        ExamplesFolder examples;
        // Every number up to the bound is taken: the search stops there.
        for (int n = 0; n < kRedirectPageAttempts; ++n) {
            QVERIFY(QDir(examples.path).mkdir(QString::number(n) + ".html"));
        }
        SaveFileUrl(SiteAddress());
        QVERIFY(!QFile::exists(examples.File(QString::number(kRedirectPageAttempts) + ".html")));
        QCOMPARE(fakes.shell.opened.size(), 1);
        QCOMPARE(fakes.shell.opened[0].toEncoded(),
                 QByteArray("https://ru.wikipedia.org/wiki/") + kEncodedWord);
        QCOMPARE(fakes.events.calls, 1);

        // A missing Examples folder ends the same way and creates nothing.
        const QString missing = examples.dir.path() + QStringLiteral("/Nowhere/");
        ExamplesPath = missing;
        SaveFileUrl(SiteAddress());
        QVERIFY(!QDir(missing).exists());
        QCOMPARE(fakes.shell.opened.size(), 2);
        QCOMPARE(fakes.shell.opened[1], fakes.shell.opened[0]);

        // An address the code page cannot carry would forward to a wrong one.
        ExamplesPath = examples.path;
        QDir(examples.path).rmdir(QStringLiteral("0.html"));
        SaveFileUrl(QStringLiteral("https://example.org/日本"));
        QVERIFY(!QFile::exists(examples.File(QStringLiteral("0.html"))));
        QCOMPARE(fakes.shell.opened.size(), 3);
        QCOMPARE(fakes.shell.opened[2].host(), QStringLiteral("example.org"));
        QCOMPARE(fakes.shell.opened[2].path(), QStringLiteral("/日本"));
    }

    void helpDocumentShipsBesideTheProgram() {
        const QString folder = qEnvironmentVariable("KVELT_PROGRAM_DIR");
        if (folder.isEmpty()) QSKIP("run through CTest, which names the program folder");
        const QByteArray bytes = kvtest::ReadBytes(folder + QStringLiteral("/Справка.html"));
        QVERIFY(bytes.startsWith("<!DOCTYPE html>"));
        QVERIFY(bytes.contains("<meta charset=\"utf-8\">"));
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8(bytes);
        QVERIFY(!utf8.hasError());
        // Every command the player has is explained.
        for (const char* word : {"F1",
                                 "F4",
                                 "Ctrl</kbd>+<kbd>O",
                                 "Ctrl</kbd>+<kbd>S",
                                 "Enter",
                                 "Esc",
                                 "Пробел",
                                 "←",
                                 "Левая",
                                 "Средняя",
                                 "Правая",
                                 "Палитра фигур",
                                 "Палитра поворотов",
                                 "Список квелтов",
                                 "Сохранить как...",
                                 "Продолжить",
                                 "kvelt-outline encode",
                                 "Examples",
                                 "60 − 5·n",
                                 "Перетаскивание",
                                 "Колесо мыши",
                                 "PgDn",
                                 "PgUp",
                                 "Home",
                                 "Буква фигуры",
                                 "Повернуть по часовой стрелке",
                                 "Повернуть против часовой стрелки",
                                 "Отразить",
                                 "F3",
                                 "Успехи...",
                                 "Новый квелт...",
                                 "Квелт дня...",
                                 "Только нерешённые",
                                 "Копировать код",
                                 "Вставить код",
                                 "Случайный"}) {
            QVERIFY2(text.contains(QString::fromUtf8(word)), word);
        }
    }

    // The help's pictures are the game's own drawing: each is shipped as the game draws it
    // now, and the help shows each one. A change of the drawing, the home places or the
    // default outline must come with new pictures (scripts/update-help-pictures.sh).
    void helpPicturesAreWhatTheGameDraws() {
        const QString folder = qEnvironmentVariable("KVELT_PROGRAM_DIR");
        if (folder.isEmpty()) QSKIP("run through CTest, which names the program folder");
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString help = utf8(kvtest::ReadBytes(folder + QStringLiteral("/Справка.html")));
        kvtest::GameWindow game;
        ExamplesPath = folder + QStringLiteral("/Examples/");
        const QList<HelpPicture> pictures = MakeHelpPictures(game.window);
        QCOMPARE(pictures.size(), 4);
        for (const HelpPicture& picture : pictures) {
            const QByteArray file = picture.file.toUtf8();
            QVERIFY2(!picture.image.isNull(), file.constData());
            const QImage shipped(folder + QStringLiteral("/help/") + picture.file);
            QVERIFY2(shipped.convertToFormat(QImage::Format_RGB32) == picture.image,
                     file.constData());
            QVERIFY2(help.contains(QStringLiteral("<img src=\"help/%1\" width=\"%2\" height=\"%3\"")
                                       .arg(picture.file)
                                       .arg(shipped.width())
                                       .arg(shipped.height())),
                     file.constData());
        }
        QCOMPARE(help.count(QStringLiteral("<img ")), pictures.size());
        // The example drawing pictured is the one the help prints.
        QVERIFY(help.contains(QString::fromUtf8(kHelpRectangleArt).trimmed() + "</pre>"));
    }

    void bandPictureIsWhiteBlueRed() {
        frmOprog about;
        const Canvas& canvas = about.Picture1()->canvas();
        QCOMPARE(canvas.Width(), 80);
        QCOMPARE(canvas.Height(), 45);
        const QRgb white = qRgb(255, 255, 255), blue = qRgb(0, 0, 255), red = qRgb(255, 0, 0);
        for (int y = 0; y < 45; ++y) {
            const QRgb expected = y <= 14 ? white : y <= 30 ? blue : red;
            for (int x = 0; x < 80; ++x) {
                if ((canvas.Pixel(x, y) | 0xFF000000u) != expected) {
                    QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3")
                                         .arg(x)
                                         .arg(y)
                                         .arg(canvas.Pixel(x, y), 8, 16)));
                }
            }
        }
    }

    void windowAsDrawn() {
        frmOprog about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QCOMPARE(about.windowTitle(), QStringLiteral("О программе"));
        QCOMPARE(about.size(), QSize(357, 211));
        QCOMPARE(about.minimumSize(), about.maximumSize());
        QVERIFY(about.windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(
            !(about.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

        const QImage shot = about.grab().toImage();
        auto at = [&](int x, int y) { return shot.pixel(x, y) | 0xFF000000u; };
        const QRgb face = qRgb(0xE0, 0xE0, 0xE0);
        QCOMPARE(at(350, 100), face);
        QCOMPARE(at(100, 140), face);
        // The engraved separator: dark over light, grey on either side of it.
        for (int x : {8, 100, 335}) {
            QCOMPARE(at(x, 152), qRgb(0, 0, 0));
            QCOMPARE(at(x, 153), qRgb(255, 255, 255));
            QCOMPARE(at(x, 151), face);
            QCOMPARE(at(x, 154), face);
        }
        QCOMPARE(at(7, 152), face);
        QCOMPARE(at(340, 152), face);
        // The emblem is there and drawn at its place.
        QVERIFY(!about.Image1()->pixmap().isNull());
        QCOMPARE(about.Image1()->pixmap().size(), QSize(71, 126));
        QCOMPARE(about.Image1()->geometry(), QRect(16, 8, 71, 126));
        QCOMPARE(shot.copy(16, 8, 71, 126).convertToFormat(QImage::Format_RGB32),
                 about.Image1()->pixmap().toImage().convertToFormat(QImage::Format_RGB32));
        // The band picture shows on screen as painted.
        QCOMPARE(at(8 + 40, 160 + 5), qRgb(255, 255, 255));
        QCOMPARE(at(8 + 40, 160 + 20), qRgb(0, 0, 255));
        QCOMPARE(at(8 + 40, 160 + 40), qRgb(255, 0, 0));
    }

    void textsFitTheirLabels() {
        frmOprog about;
        QList<QLabel*> labels = {about.Label2(3), about.Label2(4), about.Label2(5), about.Label1()};
        QCOMPARE(about.Label2(5)->text(), QStringLiteral("Сайт:"));
        QVERIFY(about.Label2(4)->text().contains(QStringLiteral("Справка.html")));
        for (QLabel* label : labels) {
            const QFontMetrics metrics(label->font());
            QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->text()));
            QVERIFY2(metrics.height() <= label->height(), qPrintable(label->text()));
            QVERIFY(label->font().bold());
            QVERIFY(label->font().pointSizeF() >= 9);
        }
    }

    void linkLooksLikeALinkAndOpensTheSiteThroughAPage() {
        kvtest::Fakes fakes;
        ExamplesFolder examples;
        frmOprog about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        LinkLabel* link = about.Label1();
        QCOMPARE(link->text(), QStringLiteral("Пентамино в Википедии"));
        QCOMPARE(link->palette().color(link->foregroundRole()), QColor(0, 0, 192));
        QVERIFY(link->font().underline());
        QVERIFY(!about.Label2(5)->font().underline());
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);

        Qt::CursorShape linkWhileBusy = Qt::ArrowCursor, windowWhileBusy = Qt::ArrowCursor;
        fakes.events.onProcess = [&] {
            linkWhileBusy = link->cursor().shape();
            windowWhileBusy = about.cursor().shape();
        };
        // Only the left button follows the link.
        QTest::mouseClick(link, Qt::RightButton);
        QCOMPARE(fakes.shell.opened.size(), 0);
        QTest::mouseClick(link, Qt::LeftButton);

        QCOMPARE(kvtest::ReadBytes(examples.File(QStringLiteral("0.html"))), kSitePage);
        QCOMPARE(fakes.shell.opened,
                 QList<QUrl>({QUrl::fromLocalFile(examples.File(QStringLiteral("0.html")))}));
        QCOMPARE(linkWhileBusy, Qt::WaitCursor);
        QCOMPARE(windowWhileBusy, Qt::WaitCursor);
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(about.cursor().shape(), Qt::ArrowCursor);
        QVERIFY(fakes.messages.copyable.isEmpty());

        // No browser: the address comes up for copying, the pointers already back.
        fakes.shell.fails = true;
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(fakes.shell.opened.size(), 2);
        QCOMPARE(fakes.messages.copyable, QStringList{SiteUnopenedText()});
        QVERIFY(SiteUnopenedText().endsWith(SiteAddress()));
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(about.cursor().shape(), Qt::ArrowCursor);
        QVERIFY(fakes.messages.errors.isEmpty());
    }

    void addressBoxLetsTheTextBeSelected() {
        const auto box = platform::NewCopyableMessageBox(SiteUnopenedText());
        QCOMPARE(box->windowTitle(), QStringLiteral("Головоломка «Квелт»"));
        QCOMPARE(box->icon(), QMessageBox::Information);
        QVERIFY(box->textInteractionFlags() & Qt::TextSelectableByMouse);
        QVERIFY(box->textInteractionFlags() & Qt::TextSelectableByKeyboard);
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        QVERIFY(label);
        QCOMPARE(label->text(), SiteUnopenedText());
        // The whole address as the player would select it.
        const int at = int(label->text().indexOf(SiteAddress()));
        label->setSelection(at, int(SiteAddress().size()));
        QCOMPARE(label->selectedText(), SiteAddress());
    }

    // F1 asks the desktop first; with no browser there the help comes up in the game's own
    // window, the status line says why, and F1 again brings back the same window.
    void helpWithoutABrowserOpensInAWindowOfTheGame() {
        const QString folder = qEnvironmentVariable("KVELT_PROGRAM_DIR");
        if (folder.isEmpty()) QSKIP("run through CTest, which names the program folder");
        kvtest::Fakes fakes;
        kvtest::GameWindow game;
        platform::SetMainWidget(game.window);
        platform::SetProgramFolder(folder);
        const QUrl help = QUrl::fromLocalFile(folder + QStringLiteral("/Справка.html"));

        game.window->HelpCallHelp()->trigger();
        QCOMPARE(fakes.shell.opened, QList<QUrl>{help});
        QVERIFY(game.window->findChildren<HelpWindow*>().isEmpty());

        fakes.shell.fails = true;
        game.window->HelpCallHelp()->trigger();
        QCOMPARE(fakes.shell.opened.size(), 2);
        const auto windows = game.window->findChildren<HelpWindow*>();
        QCOMPARE(windows.size(), 1);
        HelpWindow* window = windows.first();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY(window->isWindow());
        QCOMPARE(window->windowTitle(), QStringLiteral("Справка — Головоломка «Квелт»"));
        QCOMPARE(platform::LastTold(),
                 QStringLiteral("Браузер не открыл справку, она показана в окне игры."));
        QCOMPARE(window->Browser()->source(), help);
        QVERIFY(window->Browser()->toPlainText().contains(QStringLiteral("1. Цель игры")));
        // Its pictures are the shipped ones.
        const QImage start =
            window->Browser()
                ->document()
                ->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("help/start.png")))
                .value<QImage>();
        QVERIFY(!start.isNull());
        QCOMPARE(start.convertToFormat(QImage::Format_RGB32),
                 QImage(folder + QStringLiteral("/help/start.png"))
                     .convertToFormat(QImage::Format_RGB32));

        game.window->HelpCallHelp()->trigger();
        QCOMPARE(game.window->findChildren<HelpWindow*>().size(), 1);
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(game.window->findChildren<HelpWindow*>().isEmpty());

        // Without the file there is nothing to show, and the player is told so.
        QTemporaryDir empty;
        platform::SetProgramFolder(empty.path());
        game.window->HelpCallHelp()->trigger();
        QVERIFY(game.window->findChildren<HelpWindow*>().isEmpty());
        QVERIFY(platform::LastTold().contains(QStringLiteral("«Справка.html»")));
        platform::SetMainWidget(nullptr);
    }

    // A link between sections, back and forward by their keys, Ctrl+F and Enter to find,
    // Esc to close.
    void helpWindowFollowsLinksGoesBackAndFinds() {
        const QString folder = qEnvironmentVariable("KVELT_PROGRAM_DIR");
        if (folder.isEmpty()) QSKIP("run through CTest, which names the program folder");
        kvtest::Fakes fakes;
        QPointer<HelpWindow> window =
            new HelpWindow(QUrl::fromLocalFile(folder + QStringLiteral("/Справка.html")));
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTextBrowser* browser = window->Browser();
        QVERIFY(!window->BackAction()->isEnabled());
        QVERIFY(!window->ForwardAction()->isEnabled());

        // The contents' entry «Мышь» is the first place the word stands.
        const QTextCursor entry = browser->document()->find(QStringLiteral("Мышь"));
        QVERIFY(!entry.isNull());
        QVERIFY(entry.charFormat().isAnchor());
        // A click in the word's middle, with nothing selected (a press on a selection drags it).
        QTextCursor middle(browser->document());
        middle.setPosition(entry.selectionStart() + 2);
        QTest::mouseClick(browser->viewport(), Qt::LeftButton, {},
                          browser->cursorRect(middle).center());
        QCOMPARE(browser->source().fragment(), QStringLiteral("mouse"));
        QVERIFY(browser->verticalScrollBar()->value() > 0);
        QVERIFY(window->BackAction()->isEnabled());
        QVERIFY(!window->ForwardAction()->isEnabled());

        QTest::keySequence(window, QKeySequence(QKeySequence::Back));
        QCOMPARE(browser->source().fragment(), QString());
        QVERIFY(window->ForwardAction()->isEnabled());
        QVERIFY(!window->BackAction()->isEnabled());
        QTest::keySequence(window, QKeySequence(QKeySequence::Forward));
        QCOMPARE(browser->source().fragment(), QStringLiteral("mouse"));

        QTest::keySequence(window, QKeySequence(QKeySequence::Find));
        QLineEdit* field = window->FindField();
        QVERIFY(field->isVisible());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(field));
        QTest::keyClicks(field, QStringLiteral("Esc"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(browser->textCursor().selectedText(), QStringLiteral("Esc"));
        const int first = browser->textCursor().position();
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(browser->textCursor().selectedText(), QStringLiteral("Esc"));
        QVERIFY(browser->textCursor().position() > first);
        // From the end the search goes round to the top.
        browser->moveCursor(QTextCursor::End);
        field->clear();
        QTest::keyClicks(field, QStringLiteral("F1"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(browser->textCursor().selectedText(), QStringLiteral("F1"));
        QVERIFY(browser->textCursor().position() < first);
        // A word that is not there keeps the selection and says so.
        const int before = browser->textCursor().position();
        field->clear();
        QTest::keyClicks(field, QStringLiteral("Chess"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(browser->textCursor().position(), before);
        QCOMPARE(browser->textCursor().selectedText(), QStringLiteral("F1"));
        QCOMPARE(platform::LastTold(), QStringLiteral("В справке нет «Chess»."));

        QTest::keyClick(field, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!window);
    }

    void enterClosesTheWindowFromTheOkButton() {
        frmOprog about;
        about.show();
        about.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QCOMPARE(about.focusWidget(), static_cast<QWidget*>(about.OK()));
        QVERIFY(about.OK()->isDefault());
        QTest::keyClick(about.focusWidget(), Qt::Key_Return);
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }

    void aboutItemShowsTheWindowModallyAndEnterEndsIt() {
        kvtest::Fakes fakes;
        kvtest::GameWindow game;
        QString seenTitle;
        bool closedByEnter = false;
        // Looks at the modal window once it is up, then presses Enter in it.
        // Timers of this scope only, so that nothing fires into a later test.
        QTimer look, rescue;
        look.setSingleShot(true);
        rescue.setSingleShot(true);
        connect(&look, &QTimer::timeout, [&] {
            auto* about = qobject_cast<frmOprog*>(QApplication::activeModalWidget());
            if (!about) return;
            seenTitle = about->windowTitle();
            QTest::keyClick(about->focusWidget() ? about->focusWidget() : about, Qt::Key_Return);
            closedByEnter = !about->isVisible();
        });
        // Should Enter fail, the window is closed anyway so that the test ends.
        connect(&rescue, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        look.start(50);
        rescue.start(5000);
        game.window->HelpAbout()->trigger();
        QCOMPARE(seenTitle, QStringLiteral("О программе"));
        QVERIFY(closedByEnter);
        QVERIFY(!QApplication::activeModalWidget());
    }
};

QTEST_MAIN(AboutTest)
#include "test_about.moc"
