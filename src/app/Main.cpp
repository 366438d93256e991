// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/Journey.h"
#include "app/MainWindow.h"
#include "platform/Services.h"
#include "settings/Settings.h"
#include "settings/WindowPlace.h"
#include "windows/VictoryWindow.h"

namespace kv {

void LoadQtTranslations(QApplication& app) {
    // The game speaks Russian on any desktop: C, C.UTF-8 or en_US.UTF-8 alike get Russian
    // names, numbers and dates wherever Qt asks the default locale.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ru"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        app.installTranslator(translator);
    } else {
        delete translator;
    }
}

frmForma* Main() {
    static VictoryWindowPresenter victory;
    if (!platform::services().victory) platform::services().victory = &victory;
    auto* window = new frmForma;
    window->setAttribute(Qt::WA_DeleteOnClose);
    // Before the first outline is loaded, so that its kept position comes back.
    window->AttachJourney(
        new Journey(std::make_unique<ProgressStore>(ProgressStore::DefaultFolder()), window));
    // The place of the last exit; the first start opens centred at the designed size.
    RestoreWindowPlace(window);
    window->show();
    // Let the window paint once before the loading below.
    if (auto* events = platform::services().events) events->ProcessPendingEvents();
    window->LayOut();
    LoadINI();
    return window;
}

}  // namespace kv
