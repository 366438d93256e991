// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The standard buttons of message boxes and dialogs speak Russian, as on a Russian desktop.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QtTest>

#include "app/Main.h"

class TranslationsTest : public QObject {
    Q_OBJECT
private slots:
    void standardButtonsAreRussian() {
        QMessageBox before(QMessageBox::Warning, QString(), QString(),
                           QMessageBox::Yes | QMessageBox::No);
        QVERIFY(!before.button(QMessageBox::Yes)->text().contains(QStringLiteral("Да")));

        kv::LoadQtTranslations(*qApp);
        QMessageBox box(QMessageBox::Warning, QString(), QString(),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        const auto plain = [&](QMessageBox::StandardButton b) {
            return box.button(b)->text().remove(QLatin1Char('&'));
        };
        QCOMPARE(plain(QMessageBox::Yes), QStringLiteral("Да"));
        QCOMPARE(plain(QMessageBox::No), QStringLiteral("Нет"));
        QCOMPARE(plain(QMessageBox::Cancel), QStringLiteral("Отмена"));
    }
};

QTEST_MAIN(TranslationsTest)
#include "test_translations.moc"
