// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HelpPictures.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include "app/MainWindow.h"
#include "model/Model.h"
#include "model/Operations.h"
#include "outlines/Outline.h"
#include "outlines/OutlineArt.h"
#include "outlines/OutlineWriter.h"
#include "paths/Paths.h"
#include "play/Play.h"
#include "positions/Positions.h"
#include "view/BoardDrawing.h"
#include "view/Palettes.h"
#include "view/PictureBox.h"

namespace kv {

const char kHelpRectangleArt[] =
    "Прямоугольник 10 на 5\n"
    "1, 2\n"
    "##########\n"
    "##########\n"
    "##########\n"
    "##########\n"
    "##########\n";

namespace {

// What the board shows straight after an outline is chosen; false when it cannot be loaded.
bool StartOutline(const QString& path) {
    if (OpenKvelt(path) == 1) return false;
    PositionPath.clear();
    StartPlay();
    return true;
}

// A palette as the player sees it, frame included; it is closed again afterwards.
QImage GrabPalette(PictureBox* palette, PictureBox* board) {
    QApplication::processEvents();
    const QImage image = palette->grab().toImage().convertToFormat(QImage::Format_RGB32);
    board->setFocus();
    palette->hide();
    palette->canvas().Clear();
    return image;
}

}  // namespace

QList<HelpPicture> MakeHelpPictures(frmForma* window) {
    PictureBox* board = window->picPole();
    QList<HelpPicture> pictures;
    auto boardImage = [board](bool loaded) {
        return loaded ? board->canvas().Image().convertToFormat(QImage::Format_RGB32) : QImage();
    };

    // The board at the first start: the default outline, the pieces at home.
    const bool start = StartOutline(ExamplesPath + QStringLiteral("0001.kvt"));
    pictures.append({QStringLiteral("start.png"), boardImage(start)});
    // The piece palette on the same board, and the orientations of piece 8 (L).
    if (start) {
        VyborFigury();
        pictures.append(
            {QStringLiteral("pieces.png"), GrabPalette(window->picVyborFigury(), board)});
        MakeCurrent(8);
        VyborPovorota();
        pictures.append(
            {QStringLiteral("orientations.png"), GrabPalette(window->picPovorot(), board)});
    } else {
        pictures.append({QStringLiteral("pieces.png"), QImage()});
        pictures.append({QStringLiteral("orientations.png"), QImage()});
    }

    // The help's own example drawing, made into an outline file as the outline tool does.
    bool rectangle = false;
    const ArtOutline art = ParseOutlineArt(QByteArray(kHelpRectangleArt));
    QTemporaryDir folder;
    if (art.fault.isEmpty() && folder.isValid()) {
        const QString path = folder.filePath(QStringLiteral("rectangle.kvt"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(WriteOutline(art.draft)) > 0) {
            file.close();
            rectangle = StartOutline(path);
        }
    }
    pictures.append({QStringLiteral("rectangle.png"), boardImage(rectangle)});
    return pictures;
}

}  // namespace kv
