// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Everything loading a file may change, to tell that a refused file changed nothing.
#pragma once

#include <QImage>
#include <QString>
#include <cstring>

#include "app/MainWindow.h"
#include "model/Model.h"
#include "outlines/Outline.h"
#include "positions/Positions.h"
#include "view/BoardDrawing.h"

namespace kvtest {

struct Snapshot {
    Snapshot() {
        image = kv::BoardCanvas->Image().copy();
        title = kv::MainForm()->windowTitle();
        std::memcpy(board, kv::BoardCells, sizeof board);
        std::memcpy(outline, kv::OutlineCells, sizeof outline);
        std::memcpy(pos, kv::PiecePos, sizeof pos);
        std::memcpy(orientation, kv::PieceOrientation, sizeof orientation);
        std::memcpy(excluded, kv::PieceExcluded, sizeof excluded);
        current = kv::CurrentPiece;
        loaded = kv::OutlineLoaded;
        outlinePath = kv::OutlinePath;
        positionPath = kv::PositionPath;
    }
    bool operator==(const Snapshot& o) const {
        return image == o.image && title == o.title && !std::memcmp(board, o.board, sizeof board) &&
               !std::memcmp(outline, o.outline, sizeof outline) &&
               !std::memcmp(pos, o.pos, sizeof pos) &&
               !std::memcmp(orientation, o.orientation, sizeof orientation) &&
               !std::memcmp(excluded, o.excluded, sizeof excluded) && current == o.current &&
               loaded == o.loaded && outlinePath == o.outlinePath && positionPath == o.positionPath;
    }
    QImage image;
    QString title;
    int board[kv::kColumns][kv::kRows];
    int outline[kv::kColumns][kv::kRows];
    int pos[kv::kPieces + 1][2];
    int orientation[kv::kPieces + 1];
    int excluded[kv::kPieces + 1];
    int current, loaded;
    QString outlinePath, positionPath;
};

}  // namespace kvtest
