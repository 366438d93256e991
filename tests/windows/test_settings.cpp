// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Start-up and exit: the outline folder, the settings file "Kvelt.ini" read from the
// current folder (or, when there is none there, from the program folder) and written to
// the program folder, and the first outline with the pieces at home.
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "app/Main.h"
#include "app/MainWindow.h"
#include "model/Model.h"
#include "outlines/Outline.h"
#include "platform/Files.h"
#include "platform/SystemColors.h"
#include "settings/Settings.h"
#include "support/OutlineWriter.h"
#include "support/TestSupport.h"
#include "view/BoardDrawing.h"

using namespace kv;

namespace {

bool AnyBlackCell() {
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            if (BoardCanvas->Pixel(c * CellSize + 1, r * CellSize + 1) == kvtest::Rgb(0)) {
                return true;
            }
        }
    }
    return false;
}

// Pieces 1..6 wait in column 3, pieces 7..12 in column 31, four rows apart.
QPoint Home(int p) {
    return QPoint(p <= 6 ? 3 : 31, 4 * ((p - 1) % 6) + 1);
}

}  // namespace

class SettingsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> root_;
    QString program_, elsewhere_, examples_;
    QString startFolder_ = QDir::currentPath();

    QString Outline(const QString& name) const { return examples_ + name; }
    void WriteSettings(const QString& folder, const QByteArray& contents) {
        QVERIFY(kvtest::WriteBytes(folder + QStringLiteral("/Kvelt.ini"), contents));
    }

    // Start-up as the program does it; the window is gone again after Exit.
    frmForma* Start() {
        frmForma* window = Main();
        return window;
    }
    void Exit(frmForma* window) {
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(MainForm() == nullptr);
    }

  private slots:
    void init() {
        kvtest::FreshModel();
        root_ = std::make_unique<QTemporaryDir>();
        QDir dir(root_->path());
        QVERIFY(dir.mkpath(QStringLiteral("Квелт/Examples")));
        QVERIFY(dir.mkpath(QStringLiteral("elsewhere")));
        program_ = dir.filePath(QStringLiteral("Квелт"));
        elsewhere_ = dir.filePath(QStringLiteral("elsewhere"));
        examples_ = program_ + QStringLiteral("/Examples/");
        QVERIFY(kvtest::WriteBytes(Outline(QStringLiteral("0001.kvt")),
                                   kvtest::OutlineBytes("First", kvtest::BlockCells(60))));
        QVERIFY(kvtest::WriteBytes(Outline(QStringLiteral("Второй.kvt")),
                                   kvtest::OutlineBytes("\xC2\xF2\xEE\xF0\xEE\xE9",
                                                        kvtest::BlockCells(50, 5, 3), {1, 2})));
        QVERIFY(kvtest::WriteBytes(Outline(QStringLiteral("a,b.kvt")),
                                   kvtest::OutlineBytes("Comma", kvtest::BlockCells(60, 20, 2))));
        platform::SetProgramFolder(program_);
        QVERIFY(QDir::setCurrent(program_));
    }
    void cleanup() {
        QDir::setCurrent(startFolder_);
        platform::SetProgramFolder(QString());
        root_.reset();
    }

    void examplesPath_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("windows") << "C:\\Games\\Kvelt"
                                 << "C:\\Games\\Kvelt\\Examples\\";
        QTest::newRow("drive root") << "C:\\"
                                    << "C:\\Examples\\";
        QTest::newRow("linux") << "/opt/kvelt"
                               << "/opt/kvelt/Examples/";
        QTest::newRow("root") << "/"
                              << "/Examples/";
        QTest::newRow("backslash in a name") << "/home/a\\b"
                                             << "/home/a\\b/Examples/";
    }
    void examplesPath() {
        QFETCH(QString, folder);
        QFETCH(QString, expected);
        QCOMPARE(MakeExamplesPath(folder), expected);
    }

    void settingsFirstField_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("expected");
        QTest::newRow("CR LF") << QByteArray("/k/Examples/x.kvt\r\nmore\r\n")
                               << "/k/Examples/x.kvt";
        QTest::newRow("LF") << QByteArray("/k/x.kvt\n") << "/k/x.kvt";
        QTest::newRow("no line end") << QByteArray("/k/x.kvt") << "/k/x.kvt";
        QTest::newRow("leading blanks") << QByteArray("   /k/a b.kvt\r\n") << "/k/a b.kvt";
        QTest::newRow("comma") << QByteArray("/k/a,b.kvt\r\n") << "/k/a";
        QTest::newRow("quoted") << QByteArray(" \"/k/a,b.kvt\"\r\n") << "/k/a,b.kvt";
        QTest::newRow("open quote") << QByteArray("\"/k/a\r\n/k/b\r\n") << "/k/a";
        QTest::newRow("empty line") << QByteArray("\r\n/k/x.kvt\r\n") << "";
        QTest::newRow("empty") << QByteArray() << "";
        QTest::newRow("utf-8") << QByteArray("/дом/Квелт.kvt\r\n") << "/дом/Квелт.kvt";
    }
    void settingsFirstField() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, expected);
        QCOMPARE(ReadSettingsPath(contents), expected);
    }

    void firstStartShowsTheDefaultOutline() {
        kvtest::Fakes fakes;
        frmForma* window = Start();
        QVERIFY(fakes.messages.errors.isEmpty());
        QCOMPARE(ExamplesPath, examples_);
        QCOMPARE(OutlinePath, Outline(QStringLiteral("0001.kvt")));
        QCOMPARE(window->windowTitle(), QStringLiteral("Головоломка «Квелт» - First"));
        QCOMPARE(OutlineLoaded, 1);
        QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
        // Every piece at home in orientation 1; the first one lifted, the others set down.
        QCOMPARE(CurrentPiece, 1);
        for (int p = 1; p <= kPieces; ++p) {
            QCOMPARE(QPoint(PiecePos[p][0], PiecePos[p][1]), Home(p));
            QCOMPARE(PieceOrientation[p], 1);
            for (int k = 0; k < 5; ++k) {
                const int c = PieceCellColumn(p, k), r = PieceCellRow(p, k);
                QCOMPARE(BoardCells[c][r], p == 1 ? 0 : p);
                const QRgb pixel = BoardCanvas->Pixel(c * CellSize + 1, r * CellSize + 1);
                const bool reference = p == 1 && c == PiecePos[1][0] && r == PiecePos[1][1];
                if (!reference) QCOMPARE(pixel, kvtest::Rgb(PieceColor[p]));
            }
        }
        // The hand marker on the reference cell of piece 1.
        const int x = PiecePos[1][0] * CellSize, y = PiecePos[1][1] * CellSize;
        bool marker = false;
        for (int dy = 1; dy < CellSize; ++dy) {
            for (int dx = 1; dx < CellSize; ++dx) {
                marker |= BoardCanvas->Pixel(x + dx, y + dy) != kvtest::Rgb(PieceColor[1]);
            }
        }
        QVERIFY(marker);
        QCOMPARE(BoardCanvas->Pixel(12 * CellSize + 1, 9 * CellSize + 1), kvtest::Rgb(0));
        Exit(window);
        QCOMPARE(kvtest::ReadBytes(program_ + "/Kvelt.ini"), Outline("0001.kvt").toUtf8() + "\r\n");
    }

    void rememberedOutlineWithPiecesLeftOut() {
        kvtest::Fakes fakes;
        WriteSettings(program_, Outline(QStringLiteral("Второй.kvt")).toUtf8() + "\r\n");
        frmForma* window = Start();
        QVERIFY(fakes.messages.errors.isEmpty());
        QCOMPARE(window->windowTitle(), QStringLiteral("Головоломка «Квелт» - Второй"));
        QCOMPARE(OutlineLastCell, 49);
        // Pieces 1 and 2 are out: piece 3 is current, nothing is drawn where 1 and 2 wait.
        QCOMPARE(CurrentPiece, 3);
        for (int p : {1, 2}) {
            QCOMPARE(BoardCells[Home(p).x()][Home(p).y()], 0);
            QCOMPARE(BoardCanvas->Pixel(Home(p).x() * CellSize + 1, Home(p).y() * CellSize + 1),
                     kvtest::Rgb(platform::COLOR_BTNFACE));
        }
        QCOMPARE(BoardCells[Home(3).x()][Home(3).y()], 0);
        QCOMPARE(BoardCells[Home(4).x()][Home(4).y()], 4);
        Exit(window);
        QCOMPARE(kvtest::ReadBytes(program_ + "/Kvelt.ini"),
                 Outline(QStringLiteral("Второй.kvt")).toUtf8() + "\r\n");
    }

    void outlineOpenedDuringTheRunIsRememberedAndShownNextTime() {
        kvtest::Fakes fakes;
        frmForma* window = Start();
        QCOMPARE(OpenKvelt(Outline(QStringLiteral("Второй.kvt"))), 0);
        Exit(window);
        QCOMPARE(kvtest::ReadBytes(program_ + "/Kvelt.ini"),
                 Outline(QStringLiteral("Второй.kvt")).toUtf8() + "\r\n");
        kvtest::FreshModel();
        window = Start();
        QCOMPARE(OutlinePath, Outline(QStringLiteral("Второй.kvt")));
        QCOMPARE(OutlineName, QStringLiteral("Второй"));
        QVERIFY(fakes.messages.errors.isEmpty());
        Exit(window);
    }

    void pathWithACommaIsCutThere() {
        kvtest::Fakes fakes;
        WriteSettings(program_, Outline(QStringLiteral("a,b.kvt")).toUtf8() + "\r\n");
        frmForma* window = Start();
        QCOMPARE(fakes.messages.errors, QStringList{QStringLiteral("Файл не найден.")});
        // The empty grid, the pieces still at home, the first one current.
        QVERIFY(!AnyBlackCell());
        QCOMPARE(window->windowTitle(), QStringLiteral("Головоломка «Квелт»"));
        QVERIFY(OutlinePath.isEmpty());
        QCOMPARE(OutlineLoaded, 0);
        QCOMPARE(CurrentPiece, 1);
        QCOMPARE(BoardCells[Home(12).x()][Home(12).y()], 12);
        QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
        // Closing after the failed load forgets the outline: an empty line.
        Exit(window);
        QCOMPARE(kvtest::ReadBytes(program_ + "/Kvelt.ini"), QByteArray("\r\n"));

        // In quotes the same path is read whole.
        kvtest::FreshModel();
        WriteSettings(program_, '"' + Outline(QStringLiteral("a,b.kvt")).toUtf8() + "\"\r\n");
        window = Start();
        QCOMPARE(window->windowTitle(), QStringLiteral("Головоломка «Квелт» - Comma"));
        Exit(window);
    }

    void missingRememberedOutlineAndTheNextStart() {
        kvtest::Fakes fakes;
        WriteSettings(program_, Outline(QStringLiteral("gone.kvt")).toUtf8() + "\r\n");
        frmForma* window = Start();
        QCOMPARE(fakes.messages.errors, QStringList{QStringLiteral("Файл не найден.")});
        Exit(window);
        QCOMPARE(kvtest::ReadBytes(program_ + "/Kvelt.ini"), QByteArray("\r\n"));
        // The empty line sends the next start to the default outline.
        kvtest::FreshModel();
        window = Start();
        QCOMPARE(OutlinePath, Outline(QStringLiteral("0001.kvt")));
        QCOMPARE(fakes.messages.errors.size(), 1);
        Exit(window);
    }

    // Started from elsewhere (the launcher starts in the player's home), the outline
    // remembered in the program folder comes back; a settings file in the current folder
    // is the one read.
    void settingsAreReadFromTheCurrentFolderElseFromWhereTheyAreWritten() {
        kvtest::Fakes fakes;
        WriteSettings(program_, Outline(QStringLiteral("Второй.kvt")).toUtf8() + "\r\n");
        QVERIFY(QDir::setCurrent(elsewhere_));
        frmForma* window = Start();
        QCOMPARE(OutlinePath, Outline(QStringLiteral("Второй.kvt")));
        QCOMPARE(ExamplesPath, examples_);
        QCOMPARE(OpenKvelt(Outline(QStringLiteral("0001.kvt"))), 0);
        Exit(window);
        // Written to the program folder, not to the current one.
        QCOMPARE(kvtest::ReadBytes(program_ + "/Kvelt.ini"), Outline("0001.kvt").toUtf8() + "\r\n");
        QVERIFY(!QFile::exists(elsewhere_ + "/Kvelt.ini"));

        kvtest::FreshModel();
        WriteSettings(elsewhere_, Outline(QStringLiteral("Второй.kvt")).toUtf8() + "\r\n");
        window = Start();
        QCOMPARE(OutlinePath, Outline(QStringLiteral("Второй.kvt")));
        Exit(window);
        QVERIFY(fakes.messages.errors.isEmpty());
    }

    // What the exit writes, the next start reads back whole, whatever the path holds.
    void settingsRoundTrip_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("quoted");
        QTest::newRow("plain") << "/k/Examples/x.kvt" << false;
        QTest::newRow("comma in a folder") << "/home/a,b/Квелт/Examples/x.kvt" << true;
        QTest::newRow("blank at the start") << " /k/x.kvt" << true;
        QTest::newRow("tab at the start") << "\t/k/x.kvt" << true;
        QTest::newRow("blank at the end") << "/k/x.kvt " << true;
        QTest::newRow("blank inside") << "/k/a b.kvt" << false;
    }
    void settingsRoundTrip() {
        QFETCH(QString, path);
        QFETCH(bool, quoted);
        OutlinePath = path;
        SaveINI();
        const QByteArray written = kvtest::ReadBytes(program_ + "/Kvelt.ini");
        QCOMPARE(written.startsWith('"'), quoted);
        QCOMPARE(ReadSettingsPath(written), path);
    }

    void settingsFileFailuresAreSilent() {
        kvtest::Fakes fakes;
        // A folder where the settings file should be: nothing read, nothing written.
        QVERIFY(QDir(program_).mkdir(QStringLiteral("Kvelt.ini")));
        frmForma* window = Start();
        QCOMPARE(OutlinePath, Outline(QStringLiteral("0001.kvt")));
        Exit(window);
        QVERIFY(QFileInfo(program_ + "/Kvelt.ini").isDir());
        QVERIFY(fakes.messages.errors.isEmpty());

        // A program folder that has gone: the default outline cannot be opened, and the
        // settings file cannot be written; only the outline's failure is reported.
        kvtest::FreshModel();
        platform::SetProgramFolder(root_->path() + QStringLiteral("/gone"));
        QVERIFY(QDir::setCurrent(elsewhere_));
        window = Start();
        QCOMPARE(fakes.messages.errors, QStringList{QStringLiteral("Файл открыть не возможно.")});
        Exit(window);
        QVERIFY(!QFileInfo::exists(root_->path() + QStringLiteral("/gone")));
        QCOMPARE(fakes.messages.errors.size(), 1);
    }

    void outlineLeavingOutEveryPieceDoesNotBreakStartUp() {
        kvtest::Fakes fakes;
        QVERIFY(kvtest::WriteBytes(
            Outline(QStringLiteral("0001.kvt")),
            kvtest::OutlineBytes("None", {}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12})));
        frmForma* window = Start();
        // No outline can leave out every piece: such a file is damaged, refused like one
        // that cannot be opened, and the game starts on the empty grid with every piece.
        QCOMPARE(fakes.messages.errors, QStringList{QStringLiteral("Файл открыть не возможно.")});
        QCOMPARE(OutlineLoaded, 0);
        QCOMPARE(CurrentPiece, 1);
        Exit(window);
    }
};

QTEST_MAIN(SettingsTest)
#include "test_settings.moc"
