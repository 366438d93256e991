// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/Main.h"
#include "platform/Files.h"

namespace {

// Qt aborts with a long plugin trace when there is no display; say it in one line instead.
bool DisplayAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform) return true;  // the user chose a platform; let Qt judge
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

int main(int argc, char** argv) {
    if (!DisplayAvailable()) {
        std::fprintf(stderr,
                     "kvelt: no display available (DISPLAY and WAYLAND_DISPLAY are not set)\n");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kvelt"));
    QApplication::setDesktopFileName(QStringLiteral(KVELT_APP_ID));
    kv::LoadQtTranslations(app);
#ifdef KVELT_INSTALLED_DATA_DIR
    // The installed game: its data lies where the install rules put it, relative to itself.
    kv::platform::SetInstalledLayout(QStringLiteral(KVELT_INSTALLED_DATA_DIR));
#endif
    kv::Main();
    return app.exec();
}
