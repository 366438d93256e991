// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// «Новый квелт» and «Квелт дня» over a fake job runner: the search runs when the test says,
// «Прервать» shows once it has taken 200 ms, the outline is saved into the player's folder
// under its made-up name and loaded onto the board, and a stopped search changes nothing.
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include "app/MainWindow.h"
#include "model/Model.h"
#include "outlines/Outline.h"
#include "outlines/OutlineWriter.h"
#include "platform/Services.h"
#include "support/TestSupport.h"
#include "windows/NewKveltDialog.h"

using namespace kv;

namespace {

std::vector<BoardCell> BoardOutline() {
    std::vector<BoardCell> cells;
    for (int i = 0; i <= OutlineLastCell; ++i) {
        cells.push_back({OutlineCellList[i][0], OutlineCellList[i][1]});
    }
    std::sort(cells.begin(), cells.end());
    return cells;
}

}  // namespace

class NewKveltTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { kvtest::FreshModel(); }

    // A new outline of the pieces and grade chosen: saved as «Случайный <date>, №1», then
    // №2, loaded, told; «Прервать» only after 200 ms of searching.
    void newOutlineIsSavedAndPlayed() {
        kvtest::Fakes fakes;
        kvtest::OwnOutlines own;
        kvtest::GameWindow game;
        fakes.jobs.holdWork = true;  // a search still going
        const QDate today = QDate::currentDate();
        for (int n = 1; n <= 2; ++n) {
            const QString name = RandomName(today);
            QVERIFY(name.endsWith(QStringLiteral("№%1").arg(n)));
            frmNewKvelt dialog(frmNewKvelt::Kind::Random, game.window);
            dialog.Pieces()->setValue(4);
            dialog.Grade()->setValue(1);
            dialog.show();
            QTest::mouseClick(dialog.Create(), Qt::LeftButton);
            QCOMPARE(fakes.jobs.held.size(), std::size_t{1});
            QVERIFY(!dialog.Create()->isEnabled());
            QVERIFY(dialog.Stop()->isHidden());
            QTRY_VERIFY_WITH_TIMEOUT(dialog.Stop()->isVisible(), 5000);
            fakes.jobs.Finish();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(OutlineName, name);
            QCOMPARE(OutlinePath, dialog.SavedPath());
            QVERIFY(dialog.SavedPath().startsWith(own.path));
            QFile file(dialog.SavedPath());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const StrictOutline saved = ReadOutlineStrict(file.readAll());
            QVERIFY2(saved.fault.isEmpty(), qPrintable(saved.fault));
            QCOMPARE(saved.draft.name, name);
            QCOMPARE(saved.draft.excluded.size(), std::size_t{8});
            std::vector<BoardCell> cells = saved.draft.cells;
            std::sort(cells.begin(), cells.end());
            QCOMPARE(BoardOutline(), cells);
            QVERIFY(platform::LastTold().contains(name));
            QVERIFY(platform::LastTold().contains(QStringLiteral("единственное")));
        }
        QVERIFY(RandomName(today).endsWith(QStringLiteral("№3")));
    }

    // «Прервать» stops the search: nothing is saved, the board keeps its outline, the status
    // line says why, and the dialog can search again.
    void stoppedSearchChangesNothing() {
        kvtest::Fakes fakes;
        kvtest::OwnOutlines own;
        kvtest::GameWindow game;
        fakes.jobs.holdWork = true;  // a search still going
        const QString before = OutlinePath;
        frmNewKvelt dialog(frmNewKvelt::Kind::Random, game.window);
        dialog.show();
        QTest::mouseClick(dialog.Create(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(dialog.Stop()->isVisible(), 5000);
        QTest::mouseClick(dialog.Stop(), Qt::LeftButton);
        fakes.jobs.Finish();
        QCOMPARE(platform::LastTold(), QStringLiteral("Поиск квелта прерван."));
        QCOMPARE(OutlinePath, before);
        QVERIFY(QDir(own.path).entryList({QStringLiteral("*.kvt")}, QDir::Files).isEmpty());
        QVERIFY(dialog.Create()->isEnabled());
        QVERIFY(dialog.Stop()->isHidden());
        QVERIFY(dialog.isVisible());
    }

    // The outline of a date is the same each time, named by the date, its grade rising
    // through the week; asked for again, the copy already saved is played.
    void outlineOfTheDay() {
        const QDate monday(2026, 12, 7);
        const int grades[] = {1, 2, 2, 3, 3, 4, 5};
        for (int d = 0; d < 7; ++d) QCOMPARE(DayRequest(monday.addDays(d)).grade, grades[d]);
        QCOMPARE(DayName(QDate(2026, 12, 8)), QStringLiteral("Квелт дня, 8 декабря 2026"));
        // The name gives its date back, every day of a leap year; nothing else gives one.
        for (QDate d(2028, 1, 1); d.year() == 2028; d = d.addDays(1))
            QCOMPARE(DayOfName(DayName(d)), d);
        for (const char* other : {"Квелт дня, 31 февраля 2026", "Квелт дня, 8 декабря 2026 ",
                                  "Квелт дня, 08 декабря 2026", "Случайный 8 декабря, №1"}) {
            QVERIFY2(!DayOfName(QString::fromUtf8(other)).isValid(), other);
        }
        QVERIFY(DayRequest(monday).seed != DayRequest(monday.addDays(7)).seed);

        kvtest::Fakes fakes;  // runs each job at once
        kvtest::OwnOutlines own;
        kvtest::GameWindow game;
        for (int round = 0; round < 2; ++round) {
            frmNewKvelt dialog(frmNewKvelt::Kind::Day, game.window);
            QCOMPARE(dialog.Date()->maximumDate(), QDate::currentDate());
            dialog.Date()->setDate(monday);
            dialog.show();
            QTest::mouseClick(dialog.Create(), Qt::LeftButton);
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(OutlineName, QStringLiteral("Квелт дня, 7 декабря 2026"));
            QCOMPARE(QDir(own.path).entryList({QStringLiteral("*.kvt")}, QDir::Files).size(), 1);
        }
    }
};

QTEST_MAIN(NewKveltTest)
#include "test_new_kvelt.moc"
