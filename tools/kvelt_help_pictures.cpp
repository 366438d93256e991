// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// kvelt-help-pictures: writes the help document's pictures, drawn by the game itself.
//   kvelt-help-pictures EXAMPLES_FOLDER OUTPUT_FOLDER
// Runs without a display (offscreen); scripts/update-help-pictures.sh calls it.
#include <QApplication>
#include <QDir>
#include <cstdio>

#include "app/HelpPictures.h"
#include "app/MainWindow.h"
#include "model/Model.h"
#include "settings/Settings.h"
#include "view/BoardDrawing.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kvelt-help-pictures EXAMPLES_FOLDER OUTPUT_FOLDER\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString examples = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QDir out(QString::fromLocal8Bit(argv[2]));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "kvelt-help-pictures: cannot make %s\n", argv[2]);
        return 1;
    }
    kv::ExamplesPath = examples + QLatin1Char('/');
    kv::BuildPieceSet();
    kv::frmForma window;
    window.show();
    QApplication::processEvents();
    window.LayOut();
    kv::NewPole();
    int failures = 0;
    for (const kv::HelpPicture& picture : kv::MakeHelpPictures(&window)) {
        if (picture.image.isNull() || !picture.image.save(out.filePath(picture.file))) {
            std::fprintf(stderr, "kvelt-help-pictures: %s not made\n", qPrintable(picture.file));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
