// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The outline library: listing the Examples folder, the preview, loading and cancelling.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPoint>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTimer>
#include <QtTest>

#include <cstdio>

#include "app/MainWindow.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "outlines/CodeTables.h"
#include "outlines/ListDialog.h"
#include "outlines/Outline.h"
#include "outlines/OutlineFolders.h"
#include "platform/Services.h"
#include "platform/TextCodec.h"
#include "play/History.h"
#include "play/ProgressStore.h"
#include "settings/Settings.h"
#include "settings/WindowPlace.h"
#include "solver/Grade.h"
#include "support/OutlineWriter.h"
#include "support/Snapshot.h"
#include "support/TestSupport.h"
#include "view/BoardDrawing.h"
#include "view/PictureBox.h"

using namespace kv;

namespace {

// An Examples folder of our own, made the game's for the life of the object.
struct Library {
    Library() { ExamplesPath = dir.path() + QLatin1Char('/'); }

    // Writes a sound outline file in folder (Examples unless given): the name in
    // Windows-1251, the cells scrambled by the name's tables, the count with the excluded
    // pieces. The cells given come first; the rest of the 60 - 5n that the count needs
    // fill the bottom rows from the left, past those given.
    QString Write(const QString& file, const QString& name, const QList<QPoint>& cells,
                  const QList<int>& excluded = {}, const QString& folder = {}) const {
        QList<QPoint> all = cells;
        for (int i = 0; all.size() < 60 - 5 * excluded.size(); ++i) {
            const QPoint filler(i % kColumns, kRows - 1 - i / kColumns);
            if (!cells.contains(filler)) all << filler;
        }
        return WriteRaw(file, kvtest::OutlineBytes(platform::ToCp1251(name), all, excluded),
                        folder);
    }

    QString WriteRaw(const QString& file, const QByteArray& bytes,
                     const QString& folder = {}) const {
        const QString path = (folder.isEmpty() ? ExamplesPath : folder) + file;
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(path));
        out.write(bytes);
        return path;
    }

    QTemporaryDir dir;
};

QStringList Entries(const frmList& dialog) {
    QStringList out;
    for (int i = 0; i < dialog.lstKvelt()->count(); ++i) out << dialog.lstKvelt()->item(i)->text();
    return out;
}

// Selects an entry the way the player does.
void ClickEntry(frmList& dialog, int row) {
    QListWidget* list = dialog.lstKvelt();
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

QRgb Background() {
    return kvtest::Rgb(0x8000000F);
}
QRgb Black() {
    return kvtest::Rgb(0);
}

// True when every pixel of the rectangle (corners included) has the colour.
bool AllOf(const Canvas& canvas, int x1, int y1, int x2, int y2, QRgb colour) {
    for (int y = y1; y <= y2; ++y) {
        for (int x = x1; x <= x2; ++x) {
            if (canvas.Pixel(x, y) != colour) return false;
        }
    }
    return true;
}

// Right-most column of the preview holding anything but the background, -1 if none.
int RightmostInk(const Canvas& canvas) {
    for (int x = canvas.Width() - 1; x >= 0; --x) {
        for (int y = 0; y < canvas.Height(); ++y) {
            if (canvas.Pixel(x, y) != Background()) return x;
        }
    }
    return -1;
}

const QList<QPoint> kSomeCells = {{10, 10}, {11, 10}, {12, 10}, {13, 10}, {14, 10}};

}  // namespace

class ListDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { kvtest::FreshModel(); }

    void listedAlphabeticallyWhateverTheCaseAndTheFilesOrder() {
        Library lib;
        // File names run against the names, so neither the folder's nor the file names'
        // order can pass for the alphabet.
        lib.Write(QStringLiteral("a.kvt"), QStringLiteral("Вал"), kSomeCells);
        lib.Write(QStringLiteral("b.KVT"), QStringLiteral("береза"), kSomeCells);
        lib.Write(QStringLiteral("c.Kvt"), QStringLiteral("Бочка"), kSomeCells);
        lib.Write(QStringLiteral("d.kvt"), QStringLiteral("Арка"), kSomeCells);
        lib.Write(QStringLiteral("e.kvt"), QStringLiteral("автобус"), kSomeCells);
        lib.Write(QStringLiteral("f.kvt"), QStringLiteral("zebra"), kSomeCells);
        lib.Write(QStringLiteral("g.kvt"), QStringLiteral("Apple"), kSomeCells);
        lib.WriteRaw(QStringLiteral("h.kvt"), QByteArray());  // empty: no name at all
        // Not outline files.
        lib.Write(QStringLiteral("notes.txt"), QStringLiteral("Заметки"), kSomeCells);
        lib.Write(QStringLiteral("old.kvt.bak"), QStringLiteral("Старый"), kSomeCells);
        QVERIFY(QDir(lib.dir.path()).mkdir(QStringLiteral("folder.kvt")));

        OutlineName = QStringLiteral("Нет такого");
        frmList dialog;
        // In the Russian order the Russian alphabet comes first.
        QCOMPARE(Entries(dialog),
                 QStringList({QStringLiteral("1) автобус"), QStringLiteral("2) Арка"),
                              QStringLiteral("3) береза"), QStringLiteral("4) Бочка"),
                              QStringLiteral("5) Вал"), QStringLiteral("6) Apple"),
                              QStringLiteral("7) h.kvt (повреждён)"), QStringLiteral("8) zebra")}));
        QCOMPARE(OutlineFileNames, QStringList({QStringLiteral("e.kvt"), QStringLiteral("d.kvt"),
                                                QStringLiteral("b.KVT"), QStringLiteral("c.Kvt"),
                                                QStringLiteral("a.kvt"), QStringLiteral("g.kvt"),
                                                QStringLiteral("h.kvt"), QStringLiteral("f.kvt")}));
    }

    // Russian alphabetical order: Ё sorts with Е and before Ж, not after Я as its code
    // would put it; letter case is ignored.
    void russianAlphabetPutsYoWithYe() {
        Library lib;
        const QStringList names = {QStringLiteral("яблоко"), QStringLiteral("Жук"),
                                   QStringLiteral("Ель"),    QStringLiteral("ёлка"),
                                   QStringLiteral("Ёж"),     QStringLiteral("Еда")};
        for (int i = 0; i < names.size(); ++i) {
            lib.Write(QStringLiteral("%1.kvt").arg(i), names[i], kSomeCells);
        }
        frmList dialog;
        QCOMPARE(Entries(dialog),
                 QStringList({QStringLiteral("1) Еда"), QStringLiteral("2) Ёж"),
                              QStringLiteral("3) ёлка"), QStringLiteral("4) Ель"),
                              QStringLiteral("5) Жук"), QStringLiteral("6) яблоко")}));
    }

    // A file name in Windows-1251 bytes, as unpacked from a Windows archive, is not valid
    // UTF-8: it is listed under its name read as Windows-1251, previewed and loaded.
    void windowsNamedFileIsListedAndOpens() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        Library lib;
        const QByteArray bytes = platform::ToCp1251(QStringLiteral("Ёлка.kvt"));
        const QString written =
            lib.Write(QStringLiteral("tmp.kvt"), QStringLiteral("Ёлка"), kSomeCells);
        const QByteArray renamed = QFile::encodeName(ExamplesPath) + bytes;
        QVERIFY(::rename(QFile::encodeName(written).constData(), renamed.constData()) == 0);
        // QTemporaryDir cannot remove what QDir cannot name.
        const auto removeIt = qScopeGuard([&renamed] { ::unlink(renamed.constData()); });
        lib.Write(QStringLiteral("a.kvt"), QStringLiteral("Арка"), kSomeCells);

        OutlineName = QStringLiteral("Ёлка");
        frmList dialog;
        QCOMPARE(Entries(dialog),
                 QStringList({QStringLiteral("1) Арка"), QStringLiteral("2) Ёлка")}));
        QCOMPARE(OutlineFileNames[1], QStringLiteral("Ёлка.kvt"));
        QCOMPARE(dialog.lblNameFile()->text(), QStringLiteral("Файл: Ёлка.kvt"));
        QVERIFY(AllOf(dialog.picSilet()->canvas(), 50, 50, 74, 54, Black()));
        OutlineName.clear();
        dialog.OK_Click();
        QVERIFY(fakes.messages.errors.isEmpty());
        QCOMPARE(OutlineName, QStringLiteral("Ёлка"));
    }

    void sameNameListedByFileAndTheLastExactMatchSelected() {
        Library lib;
        lib.Write(QStringLiteral("q2.kvt"), QStringLiteral("Дом"), kSomeCells);
        lib.Write(QStringLiteral("q1.kvt"), QStringLiteral("Дом"), kSomeCells);
        // Equal but for case: listed among them, never taken for the current outline.
        lib.Write(QStringLiteral("q9.kvt"), QStringLiteral("дом"), kSomeCells);
        lib.Write(QStringLiteral("a.kvt"), QStringLiteral("Арка"), kSomeCells);

        OutlineName = QStringLiteral("Дом");
        frmList dialog;
        QCOMPARE(Entries(dialog),
                 QStringList({QStringLiteral("1) Арка"), QStringLiteral("2) Дом"),
                              QStringLiteral("3) Дом"), QStringLiteral("4) дом")}));
        QCOMPARE(OutlineFileNames.mid(1, 2),
                 QStringList({QStringLiteral("q1.kvt"), QStringLiteral("q2.kvt")}));
        QCOMPARE(dialog.SelectedIndex(), 2);
        QCOMPARE(dialog.ShownIndex(), 2);
        QCOMPARE(dialog.lblNameFile()->text(), QStringLiteral("Файл: q2.kvt"));
        QCOMPARE(dialog.PreviewName(), platform::ToCp1251(QStringLiteral("Дом")));
        QVERIFY(AllOf(dialog.picSilet()->canvas(), 50, 50, 74, 54, Black()));
    }

    void nothingSelectedWhenNoNameMatches() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        Library lib;
        lib.Write(QStringLiteral("a.kvt"), QStringLiteral("Арка"), kSomeCells);
        lib.Write(QStringLiteral("b.kvt"), QStringLiteral("Бочка"), kSomeCells);
        OutlineName = QStringLiteral("арка");  // case counts

        frmList dialog;
        QSignalSpy closed(&dialog, &QDialog::finished);
        QCOMPARE(dialog.lstKvelt()->count(), 2);
        QCOMPARE(dialog.SelectedIndex(), -1);
        QCOMPARE(dialog.ShownIndex(), -2);
        QCOMPARE(dialog.lblNameFile()->text(), QString());
        QVERIFY(AllOf(dialog.picSilet()->canvas(), 0, 0, 174, 119, Background()));

        const QString caption = game.window->windowTitle();
        dialog.OK_Click();
        QCOMPARE(closed.count(), 0);
        QCOMPARE(OutlineName, QStringLiteral("арка"));
        QCOMPARE(game.window->windowTitle(), caption);
        QVERIFY(fakes.messages.errors.isEmpty());

        // Once chosen, the entry previews and OK loads it.
        dialog.lstKvelt()->setCurrentRow(1);
        QCOMPARE(dialog.lblNameFile()->text(), QStringLiteral("Файл: b.kvt"));
        dialog.OK_Click();
        QCOMPARE(closed.count(), 1);
        QCOMPARE(OutlineName, QStringLiteral("Бочка"));
    }

    void emptyOrMissingFolderListsNothing() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        Library lib;
        for (const QString& folder :
             {lib.dir.path() + QLatin1Char('/'), lib.dir.path() + QStringLiteral("/Missing/")}) {
            ExamplesPath = folder;
            OutlineName = QString();
            frmList dialog;
            QSignalSpy closed(&dialog, &QDialog::finished);
            QCOMPARE(dialog.lstKvelt()->count(), 0);
            QVERIFY(OutlineFileNames.isEmpty());
            dialog.lstKvelt_Click();
            dialog.OK_Click();
            QCOMPARE(dialog.ShownIndex(), -2);
            QCOMPARE(dialog.lblNameFile()->text(), QString());
            QCOMPARE(closed.count(), 0);
            QCOMPARE(OutlineLoaded, 0);
            QVERIFY2(fakes.messages.errors.isEmpty(), qPrintable(folder));
        }
        // The main window's wait pointer is gone once the list stands.
        QCOMPARE(game.window->cursor().shape(), Qt::ArrowCursor);
    }

    void unreadableFileLeftOutSilently() {
        kvtest::Fakes fakes;
        Library lib;
        lib.Write(QStringLiteral("a.kvt"), QStringLiteral("Арка"), kSomeCells);
        const QString locked =
            lib.Write(QStringLiteral("b.kvt"), QStringLiteral("Бочка"), kSomeCells);
        QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions()));
        if (QFile file(locked); file.open(QIODevice::ReadOnly)) {
            QSKIP("this user reads files whatever their permissions");
        }
        frmList dialog;
        QCOMPARE(Entries(dialog), QStringList{QStringLiteral("1) Арка")});
        QCOMPARE(OutlineFileNames, QStringList{QStringLiteral("a.kvt")});
        QVERIFY(fakes.messages.errors.isEmpty());
    }

    void previewDrawsTheWholeBoardAtFivePixelsACell() {
        Library lib;
        // The four corner cells of the board and a block of 51 cells, (12, 9) to (21, 13)
        // and (12, 14): the 55 cells of an outline that leaves one piece out.
        const QList<QPoint> cells =
            QList<QPoint>{{0, 0}, {34, 0}, {0, 23}, {34, 23}} + kvtest::BlockCells(51);
        lib.Write(QStringLiteral("0001.kvt"), QStringLiteral("Углы"), cells, {4});
        OutlineName = QStringLiteral("Углы");
        // A full outline whose last cell, (30, 20), lies apart from all the others.
        lib.Write(QStringLiteral("0002.kvt"), QStringLiteral("Блок"),
                  kvtest::BlockCells(59) << QPoint(30, 20));

        frmList dialog;
        QCOMPARE(dialog.lblNameFile()->text(), QStringLiteral("Файл: 0001.kvt"));
        const Canvas& c = dialog.picSilet()->canvas();
        QCOMPARE(c.Width(), 175);
        QCOMPARE(c.Height(), 120);
        QVERIFY(AllOf(c, 0, 0, 4, 4, Black()));
        QVERIFY(AllOf(c, 170, 0, 174, 4, Black()));
        QVERIFY(AllOf(c, 0, 115, 4, 119, Black()));
        QVERIFY(AllOf(c, 170, 115, 174, 119, Black()));
        QVERIFY(AllOf(c, 60, 45, 109, 69, Black()));
        QVERIFY(AllOf(c, 60, 70, 64, 74, Black()));
        // No grid and nothing beyond the squares.
        QVERIFY(AllOf(c, 5, 0, 169, 4, Background()));
        QVERIFY(AllOf(c, 0, 5, 59, 114, Background()));
        QVERIFY(AllOf(c, 110, 5, 169, 114, Background()));
        QVERIFY(AllOf(c, 60, 5, 109, 44, Background()));
        QVERIFY(AllOf(c, 65, 70, 109, 114, Background()));
        QVERIFY(AllOf(c, 60, 75, 64, 114, Background()));
        QVERIFY(AllOf(c, 5, 115, 169, 119, Background()));

        dialog.lstKvelt()->setCurrentRow(0);
        QCOMPARE(dialog.lblNameFile()->text(), QStringLiteral("Файл: 0002.kvt"));
        QVERIFY(AllOf(c, 60, 45, 109, 69, Black()));  // the block's 59 cells
        QVERIFY(AllOf(c, 150, 100, 154, 104, Black()));
        QVERIFY(AllOf(c, 155, 100, 174, 119, Background()));
        // The outline on the board is not touched by a preview.
        QCOMPARE(OutlineLoaded, 0);
        QCOMPARE(OutlineName, QStringLiteral("Углы"));
    }

    void previewReadsAFileOnlyWhenTheSelectionMoves() {
        Library lib;
        const QString first =
            lib.Write(QStringLiteral("a.kvt"), QStringLiteral("Арка"), {{3, 3}, {4, 3}});
        lib.Write(QStringLiteral("b.kvt"), QStringLiteral("Бочка"), {{30, 20}});
        OutlineName = QStringLiteral("Арка");

        frmList dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QImage shown = dialog.picSilet()->canvas().Image().copy();
        QVERIFY(AllOf(dialog.picSilet()->canvas(), 15, 15, 24, 19, Black()));

        // The shown entry clicked again: the file, gone meanwhile, is not read.
        QVERIFY(QFile::remove(first));
        ClickEntry(dialog, 0);
        dialog.lstKvelt_Click();
        QCOMPARE(dialog.picSilet()->canvas().Image(), shown);
        QCOMPARE(dialog.ShownIndex(), 0);

        // Away and back: now it is read, and the message is printed into the preview.
        ClickEntry(dialog, 1);
        QCOMPARE(dialog.ShownIndex(), 1);
        QVERIFY(AllOf(dialog.picSilet()->canvas(), 150, 100, 154, 104, Black()));
        ClickEntry(dialog, 0);
        const Canvas& c = dialog.picSilet()->canvas();
        QCOMPARE(dialog.ShownIndex(), 0);
        QCOMPARE(dialog.lblNameFile()->text(), QStringLiteral("Файл: a.kvt"));
        QVERIFY(!AllOf(c, 0, 0, 40, 20, Background()));      // text at the top left
        QVERIFY(AllOf(c, 0, 30, 174, 119, Background()));    // and nothing else
        QVERIFY(!AllOf(c, 15, 15, 24, 19, Black()));         // the old preview is gone
        QCOMPARE(dialog.cursor().shape(), Qt::ArrowCursor);  // wait pointer gone
        const int notFoundWidth = RightmostInk(c);

        // A file there but not readable as one gets the other, longer message.
        QVERIFY(QDir(lib.dir.path()).mkdir(QStringLiteral("a.kvt")));
        ClickEntry(dialog, 1);
        ClickEntry(dialog, 0);
        QVERIFY(AllOf(c, 0, 30, 174, 119, Background()));
        QVERIFY2(RightmostInk(c) > notFoundWidth + 20,
                 qPrintable(QStringLiteral("%1 vs %2").arg(RightmostInk(c)).arg(notFoundWidth)));
        // Both messages fit inside the preview.
        QVERIFY(AllOf(c, 174, 0, 174, 119, Background()));

        // The dialog stays usable.
        ClickEntry(dialog, 1);
        QVERIFY(AllOf(dialog.picSilet()->canvas(), 150, 100, 154, 104, Black()));
    }

    // Every file of both folders in one order: a file name in both is listed twice, the
    // player's copy marked, and each entry names, previews and loads its own file. A folder
    // bearing an outline's file name is no outline and hides none.
    void everyFileOfBothFoldersListedAndTheOwnMarked() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        Library lib;
        kvtest::OwnOutlines own;
        const QString rectangle = QStringLiteral("Прямоугольник 6х10");
        lib.Write(QStringLiteral("b.kvt"), rectangle, kSomeCells);
        lib.Write(QStringLiteral("c.kvt"), QStringLiteral("Гамма"), kSomeCells);
        lib.Write(QStringLiteral("b.kvt"), rectangle, kvtest::BlockCells(60, 0, 0), {}, own.path);
        lib.Write(QStringLiteral("a.kvt"), QStringLiteral("Альфа"), kSomeCells, {}, own.path);
        QVERIFY(QDir(own.path).mkdir(QStringLiteral("c.kvt")));
        QVERIFY(QDir(own.path).mkdir(QStringLiteral("d.kvt")));

        frmList dialog;
        QCOMPARE(Entries(dialog),
                 QStringList({QStringLiteral("1) Альфа (свой)"), QStringLiteral("2) Гамма"),
                              QStringLiteral("3) Прямоугольник 6х10"),
                              QStringLiteral("4) Прямоугольник 6х10 (свой)")}));
        ClickEntry(dialog, 2);
        QCOMPARE(dialog.lblNameFile()->text(), QStringLiteral("Файл: b.kvt"));
        QCOMPARE(dialog.lblNameFile()->toolTip(), QDir::toNativeSeparators(ExamplesPath + "b.kvt"));
        QVERIFY(AllOf(dialog.picSilet()->canvas(), 50, 50, 74, 54, Black()));
        QVERIFY(AllOf(dialog.picSilet()->canvas(), 0, 0, 4, 4, Background()));
        ClickEntry(dialog, 3);
        QCOMPARE(dialog.lblNameFile()->text(), QStringLiteral("Файл: b.kvt"));
        QCOMPARE(dialog.lblNameFile()->toolTip(), QDir::toNativeSeparators(own.path + "b.kvt"));
        // The player's block starts at the board's corner; the shipped one has no cell there.
        QVERIFY(AllOf(dialog.picSilet()->canvas(), 0, 0, 4, 4, Black()));
        dialog.OK_Click();
        QVERIFY(fakes.messages.errors.isEmpty());
        QCOMPARE(OutlinePath, own.path + QStringLiteral("b.kvt"));
        QCOMPARE(OutlineName, rectangle);

        frmList again;
        ClickEntry(again, 1);
        again.OK_Click();
        QVERIFY(fakes.messages.errors.isEmpty());
        QCOMPARE(OutlinePath, ExamplesPath + QStringLiteral("c.kvt"));
    }

    // The label shows the whole file name as far as it fits, cut in the middle, so that
    // names alike at the start are still told apart; the tool tip holds the full path.
    void longFileNameCutInTheMiddle() {
        Library lib;
        const QString file = QStringLiteral("Прямоугольник 6х10, третий вариант.kvt");
        lib.Write(file, QStringLiteral("Прямоугольник 6х10"), kSomeCells);
        OutlineName = QStringLiteral("Прямоугольник 6х10");
        frmList dialog;
        const QLabel* label = dialog.lblNameFile();
        QVERIFY2(label->text().startsWith(QStringLiteral("Файл: Прям")), qPrintable(label->text()));
        QVERIFY2(label->text().endsWith(QStringLiteral("т.kvt")), qPrintable(label->text()));
        QVERIFY(label->text().contains(QChar(0x2026)));
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
        QCOMPARE(label->toolTip(), QDir::toNativeSeparators(ExamplesPath + file));
    }

    // A file that is no sound outline (what the outline tool's check refuses) is listed by
    // its file name and marked; its preview says so, and OK refuses it and changes nothing.
    // No tiling, or a name another file holds too, is no damage.
    void damagedFilesMarkedAndRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("entry");  // after the number
        QTest::addColumn<bool>("damaged");
        QByteArray noise(3000, Qt::Uninitialized);
        QRandomGenerator random(21);
        for (char& b : noise) b = static_cast<char>(random.bounded(256));
        const QByteArray name = platform::ToCp1251(QStringLiteral("Россыпь"));
        // Sixty cells, no two side by side: no piece covers any two of them.
        QList<QPoint> apart;
        for (int i = 0; apart.size() < 60; ++i) apart << QPoint(2 * (i % 17), 2 * (i / 17));
        QTest::newRow("empty file") << QByteArray() << "x.kvt (свой) (повреждён)" << true;
        QTest::newRow("3000 random bytes") << noise << "x.kvt (свой) (повреждён)" << true;
        QTest::newRow("a cell listed twice")
            << kvtest::OutlineBytes(name, kvtest::BlockCells(59) << QPoint(12, 9))
            << "x.kvt (свой) (повреждён)" << true;
        QTest::newRow("no tiling")
            << kvtest::OutlineBytes(name, apart) << "Россыпь (свой)" << false;
        QTest::newRow("the name of another outline")
            << kvtest::OutlineBytes(platform::ToCp1251(QStringLiteral("Арка")),
                                    kvtest::BlockCells(60))
            << "Арка (свой)" << false;
    }
    void damagedFilesMarkedAndRefused() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, entry);
        QFETCH(bool, damaged);
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        Library lib;
        kvtest::OwnOutlines own;
        QVERIFY(PlayKvelt(lib.Write(QStringLiteral("a.kvt"), QStringLiteral("Арка"), kSomeCells)));
        platform::Tell(QString());
        const QString path = lib.WriteRaw(QStringLiteral("x.kvt"), bytes, own.path);
        const kvtest::Snapshot before;

        frmList dialog;
        QSignalSpy closed(&dialog, &QDialog::finished);
        const int row = static_cast<int>(OutlineFilePaths.indexOf(path));
        QVERIFY(row >= 0);
        QCOMPARE(dialog.lstKvelt()->item(row)->text(), QStringLiteral("%1) ").arg(row + 1) + entry);
        dialog.lstKvelt()->setCurrentRow(row);
        const Canvas& c = dialog.picSilet()->canvas();
        // A message at the top left, or the outline's cells.
        QCOMPARE(AllOf(c, 0, 30, 174, 119, Background()), damaged);
        QVERIFY(!AllOf(c, 0, 0, 174, 119, Background()));
        dialog.OK_Click();
        if (damaged) {
            QCOMPARE(fakes.messages.errors,
                     QStringList{QStringLiteral("Файл открыть не возможно.")});
            QVERIFY2(platform::LastTold().contains(QStringLiteral("x.kvt")) &&
                         platform::LastTold().contains(QStringLiteral("повреждён")),
                     qPrintable(platform::LastTold()));
            QCOMPARE(closed.count(), 0);
            QVERIFY(kvtest::Snapshot() == before);
        } else {
            QVERIFY(fakes.messages.errors.isEmpty());
            QCOMPARE(closed.count(), 1);
            QCOMPARE(OutlinePath, path);
        }
    }

    void okLoadsWithThePiecesSentHomeAndTheLowestInPlayLifted() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        Library lib;
        lib.Write(QStringLiteral("a.kvt"), QStringLiteral("Арка"), kSomeCells);
        lib.Write(QStringLiteral("p.kvt"), QStringLiteral("Без креста"), {{5, 5}, {6, 5}}, {1});
        // Pieces scattered from an earlier game.
        PiecePos[2][0] = 17;
        PiecePos[2][1] = 12;
        PieceOrientation[2] = 5;
        CurrentPiece = 7;
        StartHistory();
        PiecePos[7][0] = 20;
        RecordStep();

        frmList dialog;
        QSignalSpy accepted(&dialog, &QDialog::accepted);
        QCOMPARE(dialog.SelectedIndex(), -1);
        dialog.lstKvelt()->setCurrentRow(1);
        dialog.OK_Click();

        QCOMPARE(accepted.count(), 1);
        QVERIFY(fakes.messages.errors.isEmpty());
        QCOMPARE(OutlineName, QStringLiteral("Без креста"));
        QCOMPARE(OutlinePath, ExamplesPath + QStringLiteral("p.kvt"));
        QCOMPARE(game.window->windowTitle(), QStringLiteral("Головоломка «Квелт» - Без креста"));
        QCOMPARE(PieceExcluded[1], 1);
        QCOMPARE(CurrentPiece, 2);
        QCOMPARE(PiecePos[2][0], 3);
        QCOMPARE(PiecePos[2][1], 5);
        QCOMPARE(PieceOrientation[2], 1);
        // Every piece in play but the lifted one is set down; piece 1 is nowhere.
        int counts[kPieces + 1] = {};
        for (int c = 0; c < kColumns; ++c) {
            for (int r = 0; r < kRows; ++r) {
                if (BoardCells[c][r] >= 1 && BoardCells[c][r] <= kPieces)
                    ++counts[BoardCells[c][r]];
            }
        }
        QCOMPARE(counts[1], 0);
        QCOMPARE(counts[2], 0);
        for (int p = 3; p <= kPieces; ++p) QCOMPARE(counts[p], 5);
        QVERIFY(OutlineFileNames.isEmpty());
        // The steps of the earlier game are forgotten.
        QVERIFY(!CanOtmena() && !CanPovtor());
    }

    void doubleClickAndEnterDoWhatOkDoes() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        Library lib;
        lib.Write(QStringLiteral("a.kvt"), QStringLiteral("Арка"), kSomeCells);
        lib.Write(QStringLiteral("b.kvt"), QStringLiteral("Бочка"), kSomeCells, {3, 9});
        OutlineName = QStringLiteral("Арка");
        {
            frmList dialog;
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QCOMPARE(dialog.focusWidget(), dialog.lstKvelt());
            QSignalSpy accepted(&dialog, &QDialog::accepted);
            QListWidget* list = dialog.lstKvelt();
            // A real double-click: a click, then the double-click event.
            const QPoint at = list->visualItemRect(list->item(1)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QCOMPARE(accepted.count(), 0);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            QCOMPARE(accepted.count(), 1);
            QCOMPARE(OutlineName, QStringLiteral("Бочка"));
            QCOMPARE(PieceExcluded[3] + PieceExcluded[9], 2);
        }
        {
            frmList dialog;
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QSignalSpy accepted(&dialog, &QDialog::accepted);
            QCOMPARE(dialog.SelectedIndex(), 1);  // the outline now on the board
            QTest::keyClick(dialog.lstKvelt(), Qt::Key_Up);
            QTest::keyClick(dialog.lstKvelt(), Qt::Key_Return);
            QCOMPARE(accepted.count(), 1);
            QCOMPARE(OutlineName, QStringLiteral("Арка"));
        }
        QVERIFY(fakes.messages.errors.isEmpty());
    }

    void failedLoadKeepsTheDialogOpen() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        Library lib;
        const QString path = lib.Write(QStringLiteral("a.kvt"), QStringLiteral("Арка"), kSomeCells);
        OutlineName = QStringLiteral("Арка");

        frmList dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QSignalSpy closed(&dialog, &QDialog::finished);
        QVERIFY(QFile::remove(path));
        QTest::mouseClick(dialog.OK(), Qt::LeftButton);

        QCOMPARE(fakes.messages.errors, QStringList{QStringLiteral("Файл не найден.")});
        QCOMPARE(closed.count(), 0);
        QVERIFY(dialog.isVisible());
        QCOMPARE(OutlineFileNames, QStringList{QStringLiteral("a.kvt")});
        QCOMPARE(OutlineLoaded, 0);
        QCOMPARE(game.window->windowTitle(), QStringLiteral("Головоломка «Квелт»"));
    }

    void cancelAfterSeveralPreviewsChangesNothing() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        Library lib;
        const QString current =
            lib.Write(QStringLiteral("c.kvt"), QStringLiteral("Вал"), kSomeCells, {1});
        lib.Write(QStringLiteral("a.kvt"), QStringLiteral("Арка"), {{0, 0}});
        lib.Write(QStringLiteral("b.kvt"), QStringLiteral("Бочка"), {{1, 1}}, {5});
        // A game in progress, started as the program starts one.
        QCOMPARE(OpenKvelt(current), 0);
        FiguryPoMestam();
        ShowAllFigury();
        CurrentPiece = FirstPieceInPlay();
        UstanovkaFigury(-1);
        MoveFigury(12, 12);

        const QImage board = BoardCanvas->Image().copy();
        const QString caption = game.window->windowTitle();
        std::vector<int> cells(&BoardCells[0][0], &BoardCells[0][0] + kColumns * kRows);
        std::vector<int> outline(&OutlineCells[0][0], &OutlineCells[0][0] + kColumns * kRows);
        const int piece = CurrentPiece;

        frmList dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.SelectedIndex(), 2);
        ClickEntry(dialog, 0);
        ClickEntry(dialog, 1);
        QCOMPARE(dialog.PreviewName(), platform::ToCp1251(QStringLiteral("Бочка")));
        QSignalSpy rejected(&dialog, &QDialog::rejected);
        QTest::mouseClick(dialog.kNo(), Qt::LeftButton);

        QCOMPARE(rejected.count(), 1);
        QVERIFY(!dialog.isVisible());
        QVERIFY(OutlineFileNames.isEmpty());
        QCOMPARE(BoardCanvas->Image(), board);
        QCOMPARE(game.window->windowTitle(), caption);
        QCOMPARE(OutlineName, QStringLiteral("Вал"));
        QCOMPARE(OutlinePath, current);
        QCOMPARE(CurrentPiece, piece);
        QCOMPARE(PieceExcluded[1], 1);
        QCOMPARE(PieceExcluded[5], 0);
        QVERIFY(std::equal(cells.begin(), cells.end(), &BoardCells[0][0]));
        QVERIFY(std::equal(outline.begin(), outline.end(), &OutlineCells[0][0]));
        QVERIFY(fakes.messages.errors.isEmpty());

        // The close box empties the file list as well.
        frmList again;
        QCOMPARE(OutlineFileNames.size(), 3);
        again.show();
        again.close();
        QVERIFY(OutlineFileNames.isEmpty());
    }

    void openedModallyFromTheMainWindow() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        Library lib;
        lib.Write(QStringLiteral("a.kvt"), QStringLiteral("Арка"), kSomeCells);
        QWidget* parent = nullptr;
        bool modal = false;
        int entries = -1;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<frmList*>(QApplication::activeModalWidget());
            if (!dialog) return;
            parent = dialog->parentWidget();
            modal = dialog->isModal();
            entries = dialog->lstKvelt()->count();
            dialog->kNo()->click();
        });
        // Should the dialog not be the modal window, the test must still end.
        QTimer::singleShot(5000, [] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
            }
        });
        game.window->MenuListKvelt_Click();
        QCOMPARE(parent, static_cast<QWidget*>(game.window));
        QVERIFY(modal);
        QCOMPARE(entries, 1);
        QVERIFY(OutlineFileNames.isEmpty());
    }

    // The size the player leaves the library at is the size it opens at next; nothing kept,
    // or a size below the design, opens it as designed.
    void opensAtTheSizeItWasLeftAt() {
        kvtest::GameWindow game;
        kvtest::Fakes fakes;
        Library lib;
        lib.Write(QStringLiteral("a.kvt"), QStringLiteral("Арка"), kSomeCells);
        const QString kept = DialogSizePath(ListSizeName());
        QFile::remove(kept);
        const auto forget = qScopeGuard([&kept] { QFile::remove(kept); });
        auto open = [&](const QSize& leaveAt) {
            QSize opened;
            QTimer::singleShot(0, [&] {
                auto* dialog = qobject_cast<frmList*>(QApplication::activeModalWidget());
                if (!dialog) return;
                opened = dialog->size();
                if (leaveAt.isValid()) dialog->resize(leaveAt);
                dialog->kNo()->click();
            });
            game.window->MenuListKvelt_Click();
            return opened;
        };
        const QSize designed(597, 202 + frmList::kJourneyHeight);
        QCOMPARE(open(QSize(700, 350)), designed);
        QVERIFY(QFile::exists(kept));
        QCOMPARE(open(QSize()), QSize(700, 350));
        QFile small(kept);
        QVERIFY(small.open(QIODevice::WriteOnly | QIODevice::Truncate));
        small.write("100 50\n");
        small.close();
        QCOMPARE(open(QSize()), designed);
    }

    // A second opening reads only the files changed since the first: by their size, or, at
    // the same size and modification time, by the time of the change.
    void unchangedFilesAreNotReadAgain() {
        Library lib;
        const QString a = lib.Write(QStringLiteral("a.kvt"), QStringLiteral("Арка"), kSomeCells);
        const QString b = lib.Write(QStringLiteral("b.kvt"), QStringLiteral("Бочка"), kSomeCells);
        lib.Write(QStringLiteral("c.kvt"), QStringLiteral("Вал"), kSomeCells);
        // A file changed in the clock tick of its reading is read again each time: the
        // clock must have moved past the writing first.
        auto settled = [](const QString& path) {
            return QTest::qWaitFor([&] {
                return QFileInfo(path).metadataChangeTime().addMSecs(50) <
                       QDateTime::currentDateTime();
            });
        };
        QVERIFY(settled(a) && settled(b));
        ForgetListedOutlines();
        int read = ListedOutlinesRead();
        {
            frmList dialog;
            QCOMPARE(Entries(dialog),
                     QStringList({QStringLiteral("1) Арка"), QStringLiteral("2) Бочка"),
                                  QStringLiteral("3) Вал")}));
        }
        QCOMPARE(ListedOutlinesRead(), read + 3);
        read = ListedOutlinesRead();
        {
            frmList dialog;
            QCOMPARE(dialog.lstKvelt()->count(), 3);
        }
        QCOMPARE(ListedOutlinesRead(), read);

        // Same size, its modification time put back: only the change time tells.
        struct stat before;
        QVERIFY(::stat(QFile::encodeName(a).constData(), &before) == 0);
        lib.Write(QStringLiteral("a.kvt"), QStringLiteral("Азот"), kSomeCells);
        const timespec times[2] = {before.st_atim, before.st_mtim};
        QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(a).constData(), times, 0) == 0);
        struct stat after;
        QVERIFY(::stat(QFile::encodeName(a).constData(), &after) == 0);
        QCOMPARE(after.st_size, before.st_size);
        QCOMPARE(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
        lib.WriteRaw(QStringLiteral("b.kvt"), QByteArray("Ящик\r\n"));  // now damaged
        frmList dialog;
        QCOMPARE(Entries(dialog), QStringList({QStringLiteral("1) Азот"), QStringLiteral("2) Вал"),
                                               QStringLiteral("3) b.kvt (повреждён)")}));
        QCOMPARE(ListedOutlinesRead(), read + 2);
    }

    void growsWithItsWindow_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("cell");
        QTest::addColumn<QRect>("list");
        QTest::addColumn<QRect>("preview");
        QTest::addColumn<QPoint>("label");  // its width is the preview's, its height 20
        QTest::addColumn<QPoint>("ok");     // both buttons keep their size
        QTest::addColumn<QPoint>("cancel");
        QTest::newRow("designed") << QSize(597, 202) << 5 << QRect(8, 8, 401, 180)
                                  << QRect(416, 8, 175, 120) << QPoint(416, 132) << QPoint(416, 156)
                                  << QPoint(512, 156);
        // Held to 7 by the width: (900 - 21) * 175 / 576 = 267 pixels, 7 cells of 35.
        QTest::newRow("900x400") << QSize(900, 400) << 7 << QRect(8, 8, 634, 378)
                                 << QRect(649, 8, 245, 168) << QPoint(649, 180) << QPoint(719, 354)
                                 << QPoint(815, 354);
        // Held to 9 by the height: (300 - 82) / 24; the list takes the width.
        QTest::newRow("1400x300") << QSize(1400, 300) << 9 << QRect(8, 8, 1064, 278)
                                  << QRect(1079, 8, 315, 216) << QPoint(1079, 228)
                                  << QPoint(1219, 254) << QPoint(1315, 254);
        QTest::newRow("1400x700") << QSize(1400, 700) << 11 << QRect(8, 8, 994, 678)
                                  << QRect(1009, 8, 385, 264) << QPoint(1009, 276)
                                  << QPoint(1219, 654) << QPoint(1315, 654);
    }

    // Resized, the list and the preview take the room, the preview in whole cells of its
    // own size, drawn again from what was read (the file may be gone meanwhile); at the
    // designed size every control is where it was designed.
    void growsWithItsWindow() {
        QFETCH(QSize, size);
        QFETCH(int, cell);
        QFETCH(QRect, list);
        QFETCH(QRect, preview);
        QFETCH(QPoint, label);
        QFETCH(QPoint, ok);
        QFETCH(QPoint, cancel);
        Library lib;
        const QString path =
            lib.Write(QStringLiteral("a.kvt"), QStringLiteral("Углы"), {{0, 0}, {34, 23}, {10, 5}});
        OutlineName = QStringLiteral("Углы");
        frmList dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        // The size asked for is the designed part's; the journey's strip lies below it.
        const QSize strip(0, frmList::kJourneyHeight);
        QCOMPARE(dialog.minimumSize(), QSize(597, 202) + strip);
        QVERIFY(QFile::remove(path));
        dialog.resize(size + strip);
        QTRY_COMPARE(dialog.size(), size + strip);
        QCOMPARE(dialog.PreviewCell(), cell);
        QCOMPARE(dialog.lstKvelt()->geometry(), list);
        QCOMPARE(dialog.picSilet()->geometry(), preview);
        QCOMPARE(dialog.lblNameFile()->geometry(), QRect(label, QSize(preview.width(), 20)));
        QCOMPARE(dialog.OK()->geometry(), QRect(ok, QSize(89, 33)));
        QCOMPARE(dialog.kNo()->geometry(), QRect(cancel, QSize(81, 33)));
        QCOMPARE(dialog.lblNameFile()->text(), QStringLiteral("Файл: a.kvt"));
        const Canvas& c = dialog.picSilet()->canvas();
        QCOMPARE(QSize(c.Width(), c.Height()), preview.size());
        QVERIFY(AllOf(c, 0, 0, cell - 1, cell - 1, Black()));
        QVERIFY(AllOf(c, 10 * cell, 5 * cell, 11 * cell - 1, 6 * cell - 1, Black()));
        QVERIFY(AllOf(c, 34 * cell, 23 * cell, 35 * cell - 1, 24 * cell - 1, Black()));
        // Only those cells: their neighbours stay clear.
        QVERIFY(AllOf(c, cell, 0, 10 * cell - 1, 5 * cell - 1, Background()));
        QVERIFY(AllOf(c, 11 * cell, 5 * cell, 12 * cell - 1, 6 * cell - 1, Background()));
        QVERIFY(AllOf(c, 10 * cell, 6 * cell, 11 * cell - 1, 7 * cell - 1, Background()));
        // Nothing smaller than designed.
        dialog.resize(300, 100);
        QTRY_COMPARE(dialog.size(), QSize(597, 202) + strip);
        QCOMPARE(dialog.picSilet()->geometry(), QRect(416, 8, 175, 120));
        QVERIFY(AllOf(c, 50, 25, 54, 29, Black()));
    }

    // The journey beside the designed part: marks after the names, the record and grade of
    // the outline selected with its whole path, the player's own outline graded once and the
    // grade kept, and «Только нерешённые».
    void journeyMarksGradesAndTheUnsolvedFilter() {
        kvtest::OwnOutlines own;
        kvtest::Fakes fakes;
        Library lib;
        const QString a = lib.Write(QStringLiteral("a.kvt"), QStringLiteral("Арка"), kSomeCells);
        lib.Write(QStringLiteral("b.kvt"), QStringLiteral("Башня"), {{3, 3}});
        lib.Write(QStringLiteral("c.kvt"), QStringLiteral("Вал"), {{4, 4}});
        QVERIFY(kvtest::WriteBytes(own.path + "d.kvt",
                                   kvtest::OutlineBytes("Dom", kvtest::BlockCells(60))));
        // Two rows of thirty: no piece but I, L, N, P, U and Y fits in two rows, so no tiling.
        QList<QPoint> strip;
        for (int i = 0; i < 60; ++i) strip << QPoint(i % 30, i / 30);
        QVERIFY(kvtest::WriteBytes(own.path + "e.kvt", kvtest::OutlineBytes("Dva", strip)));
        OutlineName = QStringLiteral("Арка");
        QVERIFY(PlayKvelt(a));
        const auto keyOf = [] {
            return OutlineKey(OutlineCellList, OutlineLastCell + 1, PieceExcluded);
        };
        const QByteArray keyA = keyOf();
        QVERIFY(PlayKvelt(lib.dir.path() + "/b.kvt"));
        ProgressRecord solved = NewRecord(keyA), playing = NewRecord(keyOf());
        solved.state = OutlineState::SolvedAlone;
        solved.bestMs = 65000;
        solved.bestSteps = 12;
        solved.bestHints = 0;
        solved.firstSolved = "2026-12-08";
        playing.state = OutlineState::InProgress;
        {
            ProgressStore store(ProgressStore::DefaultFolder());
            store.Save(solved);
            store.Save(playing);
        }
        OutlineName = QStringLiteral("Арка");
        {
            frmList dialog;
            QCOMPARE(Entries(dialog), QStringList({"1) Арка ✓", "2) Башня (начат)", "3) Вал",
                                                   "4) Dom (свой)", "5) Dva (свой)"}));
            QCOMPARE(dialog.lblJourney()->text(),
                     "Из библиотеки: " + QDir::toNativeSeparators(a) +
                         "\nСложность ещё не известна. Лучшее время 1:05, меньше всего шагов: 12");
            // Graded on the job runner as listed, once.
            QCOMPARE(fakes.jobs.runs, 1);
            std::array<bool, 13> all{};
            all.fill(true);
            std::vector<BoardCell> cells;
            for (const QPoint& p : kvtest::BlockCells(60)) cells.push_back({p.x(), p.y()});
            const OutlineGrade grade = GradeOutline(cells, all);
            QCOMPARE(dialog.Grade(3).value_or(OutlineGrade()).grade, grade.grade);
            QVERIFY(dialog.Grade(4).has_value());
            QCOMPARE(dialog.Grade(4)->grade, 0);
            ClickEntry(dialog, 4);
            QVERIFY2(dialog.lblJourney()->text().contains(QStringLiteral("Решений нет")),
                     qPrintable(dialog.lblJourney()->text()));
            ClickEntry(dialog, 3);
            QVERIFY2(dialog.lblJourney()->text().contains(
                         QStringLiteral("Сложность %1 из 5, решений: %2")
                             .arg(grade.grade)
                             .arg(grade.tilings)),
                     qPrintable(dialog.lblJourney()->text()));
            QVERIFY(dialog.lblJourney()->text().startsWith(
                "Свой квелт: " + QDir::toNativeSeparators(own.path + "d.kvt")));

            dialog.chkUnsolved()->setChecked(true);
            QVERIFY(dialog.lstKvelt()->isRowHidden(0));
            QVERIFY(!dialog.lstKvelt()->isRowHidden(1) && !dialog.lstKvelt()->isRowHidden(3));
            ClickEntry(dialog, 1);
            dialog.chkUnsolved()->setChecked(false);
            QVERIFY(!dialog.lstKvelt()->isRowHidden(0));
            QCOMPARE(dialog.SelectedIndex(), 1);
        }
        // The grades kept, no tiling too: the next listing asks the solver nothing.
        {
            frmList again;
            QCOMPARE(fakes.jobs.runs, 1);
            QVERIFY(again.Grade(3).has_value());
            QCOMPARE(again.Grade(4).value_or(OutlineGrade{.grade = -1}).grade, 0);
        }
        // An edited file is another outline: graded afresh, as that one.
        QList<QPoint> fixed;
        for (int i = 0; i < 60; ++i) fixed << QPoint(i % 10, i / 10);
        QVERIFY(kvtest::WriteBytes(own.path + "e.kvt", kvtest::OutlineBytes("Dva", fixed)));
        frmList edited;
        QCOMPARE(fakes.jobs.runs, 2);
        QVERIFY(edited.Grade(4).value_or(OutlineGrade()).grade > 0);
    }

    void laidOutLegiblyAtItsDesignSize() {
        Library lib;
        lib.Write(QStringLiteral("0001.kvt"), QStringLiteral("Очень длинное название квелта"),
                  kSomeCells);
        OutlineName = QStringLiteral("Очень длинное название квелта");
        frmList dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Список квелтов"));
        // Grown downwards for the journey; the designed part as it was.
        QCOMPARE(dialog.size(), QSize(597, 202 + frmList::kJourneyHeight));
        QVERIFY(dialog.lblJourney()->geometry().top() >= 202);
        QVERIFY(dialog.chkUnsolved()->geometry().top() >= 202);
        QCOMPARE(dialog.lstKvelt()->geometry(), QRect(8, 8, 401, 180));
        QCOMPARE(dialog.picSilet()->geometry(), QRect(416, 8, 175, 120));
        QCOMPARE(dialog.lblNameFile()->geometry(), QRect(416, 132, 175, 20));
        QCOMPARE(dialog.OK()->geometry(), QRect(416, 156, 89, 33));
        QCOMPARE(dialog.kNo()->geometry(), QRect(512, 156, 81, 33));
        QVERIFY(dialog.OK()->isDefault());
        QCOMPARE(dialog.kNo()->text(), QStringLiteral("Отмена"));

        // Whatever font stands in for the design's, the texts fit their controls.
        for (QPushButton* button : {dialog.OK(), dialog.kNo()}) {
            QVERIFY(button->font().bold());
            QCOMPARE(button->font().pointSizeF(), 12.0);
            const QFontMetrics m(button->font());
            QVERIFY2(m.horizontalAdvance(button->text()) + 8 <= button->width() &&
                         m.height() + 4 <= button->height(),
                     qPrintable(button->text()));
        }
        for (QWidget* w : {static_cast<QWidget*>(dialog.lstKvelt()),
                           static_cast<QWidget*>(dialog.lblNameFile())}) {
            QVERIFY(w->font().bold());
            QCOMPARE(w->font().pointSizeF(), 9.75);
        }
        const QFontMetrics label(dialog.lblNameFile()->font());
        QVERIFY(label.height() <= dialog.lblNameFile()->height());
        QVERIFY(label.horizontalAdvance(dialog.lblNameFile()->text()) <=
                dialog.lblNameFile()->width());
        // A name as long as this one is shown whole in the list.
        QListWidget* list = dialog.lstKvelt();
        QVERIFY(list->fontMetrics().horizontalAdvance(list->item(0)->text()) <
                list->viewport()->width());
        QVERIFY(list->visualItemRect(list->item(0)).height() >= list->fontMetrics().height());
    }
};

QTEST_MAIN(ListDialogTest)
#include "test_list_dialog.moc"
