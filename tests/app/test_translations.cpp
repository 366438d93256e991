// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The game speaks Russian on any desktop: the standard buttons of message boxes and dialogs,
// and the names, sizes and dates of the file dialogs, under C, C.UTF-8 and en_US.UTF-8 as
// on a Russian desktop (CTest runs this program under each).
#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include "app/Main.h"
#include "platform/FileDialogs.h"
#include "support/OutlineWriter.h"

class TranslationsTest : public QObject {
    Q_OBJECT
    // Qt's file dialog keeps its column widths in the user's settings: a fresh folder for
    // them, as a player has before the first dialog.
    QTemporaryDir config_;
  private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path())); }

    void standardButtonsAreRussian() {
        QMessageBox before(QMessageBox::Warning, QString(), QString(),
                           QMessageBox::Yes | QMessageBox::No);
        QVERIFY(!before.button(QMessageBox::Yes)->text().contains(QStringLiteral("Да")));
        QCOMPARE(QLocale().language(), QLocale::system().language());

        kv::LoadQtTranslations(*qApp);
        QMessageBox box(QMessageBox::Warning, QString(), QString(),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        const auto plain = [&](QMessageBox::StandardButton b) {
            return box.button(b)->text().remove(QLatin1Char('&'));
        };
        QCOMPARE(plain(QMessageBox::Yes), QStringLiteral("Да"));
        QCOMPARE(plain(QMessageBox::No), QStringLiteral("Нет"));
        QCOMPARE(plain(QMessageBox::Cancel), QStringLiteral("Отмена"));
        QCOMPARE(QLocale().language(), QLocale::Russian);
    }

    // Every detail column reads whole: Russian titles, a size with a decimal comma, a Russian
    // type and a date as Russians write it.
    void fileDialogColumnsAreRussianAndReadable() {
        kv::LoadQtTranslations(*qApp);
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("Положение.fgr"));
        QVERIFY(kvtest::WriteBytes(file, QByteArray(1500, 'a') + "\r\n"));
        const QDateTime when(QDate(2026, 12, 8), QTime(7, 16, 4));
        {
            QFile stamp(file);
            QVERIFY(stamp.open(QIODevice::ReadWrite));
            QVERIFY(stamp.setFileTime(when, QFileDevice::FileModificationTime));
        }
        const auto dialog =
            kv::platform::NewFileDialog(true, QString(), QStringLiteral("Положение фигур (*.fgr)"),
                                        QStringLiteral("*.fgr"), folder.path());
        dialog->setViewMode(QFileDialog::Detail);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        auto* tree = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
        QVERIFY(tree);
        QAbstractItemModel* model = tree->model();
        QModelIndex row;
        QTRY_VERIFY((row = model->index(0, 0, tree->rootIndex())).isValid() &&
                    model->data(row).toString() == QStringLiteral("Положение.fgr") &&
                    !model->data(row.siblingAtColumn(2)).toString().isEmpty());

        const QLocale russian(QLocale::Russian, QLocale::Russia);
        const QStringList expected = {QStringLiteral("Положение.fgr"),
                                      russian.formattedDataSize(1502), QString(),
                                      russian.toString(when, QLocale::ShortFormat)};
        QCOMPARE(model->data(row.siblingAtColumn(1)).toString(), expected[1]);
        QVERIFY2(expected[1].contains(QLatin1Char(',')), qPrintable(expected[1]));
        QCOMPARE(model->data(row.siblingAtColumn(3)).toString(), expected[3]);
        QVERIFY(expected[3].startsWith(QStringLiteral("08.12.2026")));
        const QString type = model->data(row.siblingAtColumn(2)).toString();
        QVERIFY2(type.contains(QRegularExpression(QStringLiteral("[а-яё]"))), qPrintable(type));
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Имя"));
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Размер"));
        QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Тип"));

        // Nothing elided: each text and each title fits its column, and the columns fit the
        // dialog.
        QHeaderView* header = tree->header();
        const QFontMetrics metrics(tree->font());
        int total = 0;
        for (int column = 0; column < 4; ++column) {
            const QString text = model->data(row.siblingAtColumn(column)).toString();
            const QString title = model->headerData(column, Qt::Horizontal).toString();
            const int needed = std::max(metrics.horizontalAdvance(text),
                                        QFontMetrics(header->font()).horizontalAdvance(title));
            QVERIFY2(header->sectionSize(column) > needed + 8,
                     qPrintable(QStringLiteral("%1: %2 <= %3")
                                    .arg(text)
                                    .arg(header->sectionSize(column))
                                    .arg(needed)));
            total += header->sectionSize(column);
        }
        QVERIFY2(tree->viewport()->width() >= total,
                 qPrintable(QStringLiteral("%1 < %2").arg(tree->viewport()->width()).arg(total)));
    }
};

QTEST_MAIN(TranslationsTest)
#include "test_translations.moc"
