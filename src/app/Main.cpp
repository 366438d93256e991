// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/MainWindow.h"
#include "platform/Services.h"
#include "settings/Settings.h"
#include "windows/VictoryWindow.h"

namespace kv {

void LoadQtTranslations(QApplication& app) {
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
    window->show();
    // Let the window paint once before the loading below.
    if (auto* events = platform::services().events) events->ProcessPendingEvents();
    window->LayOut();
    LoadINI();
    return window;
}

}  // namespace kv
