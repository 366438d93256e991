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
#include "settings/Settings.h"
#include "support/OutlineWriter.h"
#include "support/TestSupport.h"
#include "windows/OpenUrl.h"

using namespace kv;

namespace {

}  // namespace

class InstalledCopyTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> root_;
    QString program_;
    QString startFolder_ = QDir::currentPath();
    bool locked_ = false;

    // Immutable even for the superuser, who writes into read-only folders at will.
    bool Lock() {
        locked_ = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), program_}) == 0;
        return locked_ && !platform::ProgramFolderWritable();
    }

    frmForma* Start() { return Main(); }
    void Exit(frmForma* window) {
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

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
        if (locked_) QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), program_});
        locked_ = false;
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

        // The next start reads it back, whatever the current folder holds.
        QVERIFY(kvtest::WriteBytes(root_->filePath(QStringLiteral("Kvelt.ini")), "nonsense.kvt\r\n"));
        kvtest::FreshModel();
        ResetOutlineState();
        window = Start();
        QCOMPARE(OutlineName, QStringLiteral("0002.kvt"));
        QVERIFY(fakes.messages.errors.isEmpty());
        Exit(window);
        QFile::remove(userIni);
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
