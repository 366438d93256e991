// A copy installed where the player cannot write: the settings file and the redirect pages
// go to the player's own folders, while a writable program folder keeps the usual places.
#include <QDir>
#include <QFile>
#include <QProcess>
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
    QString program_;
    QString startFolder_ = QDir::currentPath();
    QStringList immutable_;

    // The program folder and its Examples as an installed copy has them: closed to writing.
    // The superuser writes into read-only folders at will, so for it they are made
    // immutable too.
    bool Lock() {
        bool locked = true;
        for (const QString& folder : {program_, program_ + QStringLiteral("/Examples")}) {
            QFile::setPermissions(folder, QFileDevice::Permissions(0x5555));
            if (platform::FolderWritable(folder) &&
                QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), folder}) == 0) {
                immutable_ << folder;
            }
            locked = locked && !platform::FolderWritable(folder);
        }
        return locked;
    }

    frmForma* Start() { return Main(); }
    void Exit(frmForma* window) {
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
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
        QVERIFY(dir.mkpath(QStringLiteral("kvelt/Examples")));
        program_ = dir.filePath(QStringLiteral("kvelt"));
        for (const char* name : {"0001.kvt", "0002.kvt"}) {
            QVERIFY(kvtest::WriteBytes(program_ + QStringLiteral("/Examples/") + QLatin1String(name),
                                       kvtest::OutlineBytes(name, kvtest::BlockCells(60))));
        }
        platform::SetProgramFolder(program_);
        QFile::remove(platform::UserSettingsFolder() + QStringLiteral("/Kvelt.ini"));
        QDir::setCurrent(root_->path());
    }

    void cleanup() {
        for (const QString& folder : immutable_) {
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), folder});
        }
        immutable_.clear();
        for (const QString& folder : {program_, program_ + QStringLiteral("/Examples")}) {
            QFile::setPermissions(folder, QFileDevice::Permissions(0x7755));
        }
        QDir::setCurrent(startFolder_);
        platform::SetProgramFolder(QString());
        root_.reset();
    }

    void writableProgramFolderKeepsTheUsualPlaces() {
        QVERIFY(platform::ProgramFolderWritable());
        kvtest::Fakes fakes;
        frmForma* window = Start();
        QCOMPARE(OutlineName, QStringLiteral("0001.kvt"));
        OpenKvelt(ExamplesPath + QStringLiteral("0002.kvt"));
        Exit(window);
        QCOMPARE(kvtest::ReadBytes(program_ + QStringLiteral("/Kvelt.ini")),
                 (program_ + QStringLiteral("/Examples/0002.kvt")).toUtf8() + "\r\n");
        QVERIFY(!QFile::exists(platform::UserSettingsFolder() + QStringLiteral("/Kvelt.ini")));

        SaveFileUrl(QStringLiteral("https://example.org/"));
        QVERIFY(QFile::exists(program_ + QStringLiteral("/Examples/0.html")));
    }

    void readOnlyProgramFolderRemembersInTheUserFolder() {
        if (!Lock()) QSKIP("cannot make a folder unwritable here");
        kvtest::Fakes fakes;
        frmForma* window = Start();
        QCOMPARE(OutlineName, QStringLiteral("0001.kvt"));
        OpenKvelt(ExamplesPath + QStringLiteral("0002.kvt"));
        Exit(window);
        const QString userIni = platform::UserSettingsFolder() + QStringLiteral("/Kvelt.ini");
        QCOMPARE(kvtest::ReadBytes(userIni), (program_ + QStringLiteral("/Examples/0002.kvt")).toUtf8() + "\r\n");
        QVERIFY(!QFile::exists(program_ + QStringLiteral("/Kvelt.ini")));

        // The next start reads it back; a settings file in the current folder comes first.
        kvtest::FreshModel();
        ResetOutlineState();
        window = Start();
        QCOMPARE(OutlineName, QStringLiteral("0002.kvt"));
        Exit(window);
        QVERIFY(kvtest::WriteBytes(root_->filePath(QStringLiteral("Kvelt.ini")),
                                   (program_ + QStringLiteral("/Examples/0001.kvt")).toUtf8()));
        kvtest::FreshModel();
        ResetOutlineState();
        window = Start();
        QCOMPARE(OutlineName, QStringLiteral("0001.kvt"));
        Exit(window);
        QVERIFY(fakes.messages.errors.isEmpty());
        QFile::remove(userIni);
    }

    // The first save of an installed copy: its Examples folder takes no files, so the
    // dialogs start in the player's positions folder, made on first use.
    void readOnlyExamplesSavesInThePositionsFolder() {
        if (!Lock()) QSKIP("cannot make a folder unwritable here");
        const QString positions = QDir::homePath() + QStringLiteral("/Documents/Квелт/");
        QDir(positions).removeRecursively();
        kvtest::Fakes fakes;
        frmForma* window = Start();
        fakes.files.answer = positions + QStringLiteral("first");
        SaveFile();
        QCOMPARE(fakes.files.lastFolder, positions);
        QVERIFY(fakes.messages.errors.isEmpty());
        QVERIFY(
            kvtest::ReadBytes(positions + QStringLiteral("first.fgr")).startsWith("0001.kvt\r\n"));
        Exit(window);
    }

    void readOnlyProgramFolderWritesRedirectPagesToTheCache() {
        if (!Lock()) QSKIP("cannot make a folder unwritable here");
        kvtest::Fakes fakes;
        ExamplesPath = MakeExamplesPath(program_);
        SaveFileUrl(QStringLiteral("https://example.org/"));
        const QString page = platform::UserCacheFolder() + QStringLiteral("/0.html");
        QVERIFY(kvtest::ReadBytes(page).contains("url=https://example.org/'"));
        QCOMPARE(fakes.shell.opened.size(), 1);
        QCOMPARE(fakes.shell.opened.first(), QUrl::fromLocalFile(page));
        QFile::remove(page);
    }
};

QTEST_MAIN(InstalledCopyTest)
#include "test_installed_copy.moc"
