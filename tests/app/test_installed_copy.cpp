// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Where the game writes is decided when it is built: a plain build keeps everything beside
// itself, even in a folder it cannot write, and an installed copy reads its data from the
// data folder compiled in and writes only into the player's own folders, even where it
// could write beside itself (as root can).
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "app/Main.h"
#include "app/MainWindow.h"
#include "outlines/Outline.h"
#include "platform/Files.h"
#include "positions/Positions.h"
#include "settings/Settings.h"
#include "support/OutlineWriter.h"
#include "support/TestSupport.h"
#include "windows/OpenUrl.h"

using namespace kv;

class InstalledCopyTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> root_;
    QTemporaryDir home_;
    QString plain_;  // a plain build's program folder, Examples beside the game
    QString games_;  // an installed copy's program folder, as under /usr/games
    QString data_;   // and its data folder, as /usr/share/games/kvelt
    QString startFolder_ = QDir::currentPath();

    frmForma* Start() { return Main(); }
    void Exit(frmForma* window) {
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Every file under the temporary root, with its size: what the game must leave alone.
    QStringList Tree() const {
        QStringList files;
        QDirIterator it(root_->path(),
                        QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            files << it.filePath() + QLatin1Char(' ') + QString::number(it.fileInfo().size());
        }
        files.sort();
        return files;
    }
    QString UserIni() const {
        return platform::UserSettingsFolder() + QStringLiteral("/Kvelt.ini");
    }

  private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        // The documents folder is not one the test mode moves: a home of the test's own.
        QVERIFY(home_.isValid());
        qputenv("HOME", QFile::encodeName(home_.path()));
    }

    void init() {
        kvtest::FreshModel();
        root_ = std::make_unique<QTemporaryDir>();
        QDir dir(root_->path());
        plain_ = dir.filePath(QStringLiteral("build/bin"));
        games_ = dir.filePath(QStringLiteral("usr/games"));
        data_ = dir.filePath(QStringLiteral("usr/share/games/kvelt"));
        QVERIFY(dir.mkpath(games_));
        for (const QString& folder : {plain_, data_}) {
            QVERIFY(dir.mkpath(folder + QStringLiteral("/Examples")));
            for (const char* name : {"0001.kvt", "0002.kvt"}) {
                QVERIFY(
                    kvtest::WriteBytes(folder + QStringLiteral("/Examples/") + QLatin1String(name),
                                       kvtest::OutlineBytes(name, kvtest::BlockCells(60))));
            }
        }
        QFile::remove(UserIni());
        QDir::setCurrent(root_->path());
    }

    void cleanup() {
        QFile::setPermissions(plain_, QFileDevice::Permissions(0x7755));
        QDir::setCurrent(startFolder_);
        platform::SetProgramFolder(QString());
        platform::SetInstalledLayout(QString());
        QFile::remove(UserIni());
        root_.reset();
    }

    void plainBuildKeepsEverythingBesideItself() {
        platform::SetProgramFolder(plain_);
        QVERIFY(!platform::InstalledCopy());
        QCOMPARE(platform::DataFolder(), plain_);
        kvtest::Fakes fakes;
        frmForma* window = Start();
        QCOMPARE(ExamplesPath, plain_ + QStringLiteral("/Examples/"));
        QCOMPARE(OutlineName, QStringLiteral("0001.kvt"));
        OpenKvelt(ExamplesPath + QStringLiteral("0002.kvt"));
        SaveFile();
        QCOMPARE(fakes.files.lastFolder, ExamplesPath);
        QCOMPARE(DocumentUrl(QStringLiteral("Справка.html")),
                 QUrl::fromLocalFile(plain_ + QStringLiteral("/Справка.html")));
        Exit(window);
        QCOMPARE(kvtest::ReadBytes(plain_ + QStringLiteral("/Kvelt.ini")),
                 (plain_ + QStringLiteral("/Examples/0002.kvt")).toUtf8() + "\r\n");
        QVERIFY(!QFile::exists(UserIni()));

        SaveFileUrl(QStringLiteral("https://example.org/"));
        QVERIFY(QFile::exists(plain_ + QStringLiteral("/Examples/0.html")));

        // Not a write test: a program folder closed to writing still holds the settings file
        // (whose writing then fails silently).
        QVERIFY(QFile::setPermissions(plain_, QFileDevice::Permissions(0x5555)));
        QCOMPARE(SettingsFilePath(), plain_ + QStringLiteral("/Kvelt.ini"));
    }

    // Every folder here may be written, as everything is for root: the installed copy still
    // leaves them as they are.
    void installedCopyWritesOnlyIntoThePlayersFolders() {
        platform::SetProgramFolder(games_);
        platform::SetInstalledLayout(QStringLiteral("../share/games/kvelt"));
        QVERIFY(platform::InstalledCopy());
        QCOMPARE(platform::DataFolder(), data_);
        const QStringList before = Tree();
        const QString positions = QDir::homePath() + QStringLiteral("/Documents/Квелт/");
        QDir(positions).removeRecursively();

        kvtest::Fakes fakes;
        frmForma* window = Start();
        QCOMPARE(ExamplesPath, data_ + QStringLiteral("/Examples/"));
        QCOMPARE(OutlineName, QStringLiteral("0001.kvt"));
        OpenKvelt(ExamplesPath + QStringLiteral("0002.kvt"));
        // The first save: the dialog starts in the player's positions folder, made on first use.
        fakes.files.answer = positions + QStringLiteral("first");
        SaveFile();
        QCOMPARE(fakes.files.lastFolder, positions);
        QVERIFY(
            kvtest::ReadBytes(positions + QStringLiteral("first.fgr")).startsWith("0002.kvt\r\n"));
        // F1 opens the help document of the data folder.
        QCOMPARE(DocumentUrl(QStringLiteral("Справка.html")),
                 QUrl::fromLocalFile(data_ + QStringLiteral("/Справка.html")));
        SaveFileUrl(QStringLiteral("https://example.org/"));
        const QString page = platform::UserCacheFolder() + QStringLiteral("/0.html");
        QVERIFY(kvtest::ReadBytes(page).contains("url=https://example.org/'"));
        QCOMPARE(fakes.shell.opened.last(), QUrl::fromLocalFile(page));
        QFile::remove(page);
        Exit(window);
        QCOMPARE(kvtest::ReadBytes(UserIni()),
                 (data_ + QStringLiteral("/Examples/0002.kvt")).toUtf8() + "\r\n");
        QCOMPARE(Tree(), before);

        // The next start reads it back; a settings file in the current folder comes first.
        kvtest::FreshModel();
        ResetOutlineState();
        window = Start();
        QCOMPARE(OutlineName, QStringLiteral("0002.kvt"));
        Exit(window);
        QVERIFY(kvtest::WriteBytes(root_->filePath(QStringLiteral("Kvelt.ini")),
                                   (data_ + QStringLiteral("/Examples/0001.kvt")).toUtf8()));
        kvtest::FreshModel();
        ResetOutlineState();
        window = Start();
        QCOMPARE(OutlineName, QStringLiteral("0001.kvt"));
        Exit(window);
        QVERIFY(fakes.messages.errors.isEmpty());
    }
};

QTEST_MAIN(InstalledCopyTest)
#include "test_installed_copy.moc"
