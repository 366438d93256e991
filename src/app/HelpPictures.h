// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The help document's pictures, drawn by the game itself so that they show it as it is.
// The tool kvelt-help-pictures writes them into data/help (scripts/update-help-pictures.sh);
// the tests keep the shipped files equal to what the game draws now.
#pragma once

#include <QImage>
#include <QList>
#include <QString>

namespace kv {

class frmForma;

struct HelpPicture {
    QString file;  // name inside the folder "help" beside the help document
    QImage image;
};

// The outline drawn on the board in the picture "rectangle.png", as the help gives it.
extern const char kHelpRectangleArt[];

// Draws every picture in window, which must be shown and laid out, with the outline files
// of ExamplesPath. The board is left as the last picture needs it. A picture whose outline
// cannot be loaded comes out null.
QList<HelpPicture> MakeHelpPictures(frmForma* window);

}  // namespace kv
