// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outlines/OutlineArt.h"

#include <QList>
#include <QStringDecoder>
#include <algorithm>
#include <set>

#include "solver/Board.h"
#include "solver/Bounds.h"
#include "solver/PieceTable.h"

namespace kv {

namespace {

// Width and start of a drawing side that puts the cells from first to first + extent - 1
// where they are, when the drawing is centred on a board side of the given size.
std::pair<int, int> Padding(int first, int extent, int board) {
    for (int size = extent; size <= board; ++size) {
        const int margin = first - CentredStart(size, board);
        if (margin >= 0 && margin + extent <= size) return {size, margin};
    }
    return {board, first};
}

}  // namespace

ArtOutline ParseOutlineArt(const QByteArray& text) {
    ArtOutline out;
    QByteArray body = text;
    if (body.startsWith("\xEF\xBB\xBF")) body.remove(0, 3);
    QList<QByteArray> lines = body.split('\n');
    for (auto& line : lines) {
        if (line.endsWith('\r')) line.chop(1);
    }
    while (!lines.isEmpty() && lines.back().trimmed().isEmpty()) lines.removeLast();
    if (lines.isEmpty()) {
        out.fault = QStringLiteral("the file is empty");
        return out;
    }

    QStringDecoder utf8(QStringDecoder::Utf8);
    QList<QString> text16;
    for (int i = 0; i < lines.size(); ++i) {
        text16.append(utf8.decode(lines[i]));
        if (utf8.hasError()) {
            out.fault = QStringLiteral("line %1: not UTF-8 text").arg(i + 1);
            return out;
        }
    }
    out.draft.name = text16[0].trimmed();

    const QString pieces = text16.size() > 1 ? text16[1].trimmed() : QString();
    if (pieces != QStringLiteral("-")) {
        QString list = pieces;
        list.replace(QLatin1Char(','), QLatin1Char(' '));
        std::set<int> seen;
        for (const QString& token : list.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            bool ok = false;
            const int p = token.toInt(&ok);
            if (!ok || p < 1 || p > kPieces) {
                out.fault =
                    QStringLiteral("line 2: unknown piece number \"%1\" (pieces are 1 to 12)")
                        .arg(token);
                return out;
            }
            if (!seen.insert(p).second) {
                out.fault = QStringLiteral("line 2: piece %1 is listed twice").arg(p);
                return out;
            }
            out.draft.excluded.push_back(p);
        }
    }

    int width = 0;
    const int height = std::max<int>(0, text16.size() - 2);
    for (int r = 0; r < height; ++r) {
        const QList<uint> row = text16[r + 2].toUcs4();
        for (int c = 0; c < row.size(); ++c) {
            const uint ch = row[c];
            if (ch != '#' && ch != '.' && ch != ' ') {
                const char32_t u = ch;
                out.fault =
                    QStringLiteral(
                        "line %1, column %2: unknown character \u00AB%3\u00BB in the drawing "
                        "(only '#', '.' and blanks)")
                        .arg(r + 3)
                        .arg(c + 1)
                        .arg(u < 32 ? QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'))
                                    : QString::fromUcs4(&u, 1));
                return out;
            }
        }
        width = std::max(width, static_cast<int>(row.size()));
    }
    if (width > kColumns || height > kRows) {
        out.fault = QStringLiteral("the drawing is %1 x %2 cells, larger than the 35 x 24 board")
                        .arg(width)
                        .arg(height);
        return out;
    }
    // The drawing's box is centred, blank margins and all, not the box of its cells.
    const BoardCell corner = CentredCorner(width, height);
    for (int r = 0; r < height; ++r) {
        const QString& row = text16[r + 2];
        for (int c = 0; c < row.size(); ++c) {
            if (row[c] == QLatin1Char('#'))
                out.draft.cells.push_back({corner.column + c, corner.row + r});
        }
    }
    out.fault = OutlineFault(out.draft);
    return out;
}

QByteArray OutlineArtText(const OutlineDraft& draft) {
    QByteArray out = draft.name.toUtf8() + '\n';
    if (draft.excluded.empty()) {
        out += "-\n";
    } else {
        QByteArrayList numbers;
        for (const int p : draft.excluded) numbers.append(QByteArray::number(p));
        out += numbers.join(' ') + '\n';
    }
    if (draft.cells.empty()) return out;
    const CellBounds box = BoundsOf(draft.cells);
    const auto [width, left] = Padding(box.minC, box.Width(), kColumns);
    const auto [height, top] = Padding(box.minR, box.Height(), kRows);
    QList<QByteArray> rows(height, QByteArray(width, '.'));
    for (const auto& c : draft.cells) {
        const int x = c.column - box.minC + left, y = c.row - box.minR + top;
        if (x >= 0 && x < width && y >= 0 && y < height) rows[y][x] = '#';
    }
    for (const auto& row : rows) out += row + '\n';
    return out;
}

}  // namespace kv
