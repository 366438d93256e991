// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Saving the arrangement of the pieces to a position file and continuing from one.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <optional>

#include "model/Model.h"

namespace kv {

// Full path of the position file last saved or continued; empty when there is none.
extern QString PositionPath;

// The Save, Save as and Continue commands, and the writer behind the first two.
void SaveFile();
void SaveAs();
void SaveFigury(const QString& path);
void Prodolgit();

// What a position file holds: the outline's file name and where each of the twelve pieces
// stands and how it is turned.
struct PositionContent {
    QByteArray outlineName;  // first field, Windows-1251 bytes
    int pos[kPieces + 1][2] = {};
    int orientation[kPieces + 1] = {};
};

// Reads a position file from the start of device. nullopt when a number is missing or is
// not a number, lies beyond 32 bits, or an orientation lies outside 0..8 (0 is what a piece
// never yet in play holds). Whether the pieces in play fit the board is PositionFits.
std::optional<PositionContent> ReadPosition(QIODevice& device);
std::optional<PositionContent> ReadPosition(const QByteArray& bytes);

// True when every piece in play (excluded[p] other than 1) has an orientation from 1 to its
// OrientationCount and all five cells on the board. So a piece the position never had in
// play (orientation 0) must be one that the outline leaves out.
bool PositionFits(const PositionContent& content, const int excluded[kPieces + 1]);

// The text after the last "\" or "/" of a path.
QString FileNamePart(const QString& path);

// The position file for the arrangement on the board now. nullopt when the outline's file
// name has a character Windows-1251 cannot hold.
std::optional<QByteArray> PositionFileBytes();

}  // namespace kv
