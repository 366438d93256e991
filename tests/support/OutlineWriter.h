// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Writes outline files for tests: plain cell lists and piece lists in, scrambled bytes out,
// encoded with the game's own EncodeTable for the file's name. Also whole files in and out.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPoint>
#include <QString>

#include "outlines/CodeTables.h"

namespace kvtest {

// The stored form of a plain line under the tables of name (every byte 32..255).
inline QByteArray Scramble(const QByteArray& name, const QByteArray& plain) {
    kv::MakeCodeTables(name);
    QByteArray stored(plain.size(), '\0');
    for (qsizetype i = 0; i < plain.size(); ++i) {
        stored[i] = static_cast<char>(kv::EncodeTable[static_cast<unsigned char>(plain[i])]);
    }
    kv::DiscardCodeTables();
    return stored;
}

// Cell text: column and row of each cell as two right-aligned characters, padded with a
// blank (or a zero when zeroPadded).
inline QByteArray CellText(const QList<QPoint>& cells, bool zeroPadded = false) {
    QByteArray text;
    for (const QPoint& cell : cells) {
        for (const int value : {cell.x(), cell.y()}) {
            QByteArray field = QByteArray::number(value);
            while (field.size() < 2) field.prepend(zeroPadded ? '0' : ' ');
            text += field;
        }
    }
    return text;
}

// A whole file from its parts: name, plain cell text, the count and piece numbers exactly as
// they stand in the file (lines included), and the plain last line (none when empty).
inline QByteArray OutlineBytes(const QByteArray& name, const QByteArray& plainCellText,
                               const QByteArray& countText,
                               const QByteArray& plainLastLine = "Kvelt test",
                               const QByteArray& lineEnd = "\r\n") {
    QByteArray bytes =
        name + lineEnd + Scramble(name, plainCellText) + lineEnd + countText + lineEnd;
    if (!plainLastLine.isEmpty()) bytes += Scramble(name, plainLastLine) + lineEnd;
    return bytes;
}

// A file for cells and excluded pieces, the count and pieces on one line ("0", "2,5,7").
inline QByteArray OutlineBytes(const QByteArray& name, const QList<QPoint>& cells,
                               const QList<int>& excluded = {}) {
    QByteArray count = QByteArray::number(excluded.size());
    for (const int p : excluded) count += ',' + QByteArray::number(p);
    return OutlineBytes(name, CellText(cells), count);
}

// The first n cells of a block ten wide and six high whose top-left cell is (left, top).
inline QList<QPoint> BlockCells(int n, int left = 12, int top = 9) {
    QList<QPoint> cells;
    for (int i = 0; i < n; ++i) cells << QPoint(left + i % 10, top + i / 10);
    return cells;
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return file.write(bytes) == bytes.size();
}

// The whole file, or "<unreadable>" when it cannot be read.
inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

}  // namespace kvtest
