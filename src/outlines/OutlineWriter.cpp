// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outlines/OutlineWriter.h"

#include <algorithm>

#include "outlines/CodeTables.h"
#include "outlines/OutlineFile.h"
#include "platform/TextCodec.h"
#include "platform/TextFields.h"
#include "solver/Board.h"
#include "solver/PieceTable.h"

namespace kv {

namespace {

QString Hex(char32_t u) {
    return QString::number(u, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

QString Cell(const BoardCell& c) {
    return QStringLiteral("(%1, %2)").arg(c.column).arg(c.row);
}

}  // namespace

QString OutlineFault(const OutlineDraft& draft) {
    if (draft.name.isEmpty()) return QStringLiteral("the name is empty");
    bool encodable = false;
    platform::ToCp1251(draft.name, &encodable);
    const bool control = std::any_of(draft.name.begin(), draft.name.end(), [](QChar ch) {
        return ch.unicode() < 32 || ch.unicode() == 127;
    });
    // Only a faulty name is looked at character by character, to name its first fault: the
    // library checks the name of every file it lists.
    for (const char32_t u :
         encodable && !control ? decltype(draft.name.toUcs4()){} : draft.name.toUcs4()) {
        const QString ch = QString::fromUcs4(&u, 1);
        // Line 1 ends at the first CR or LF; other control bytes would show as garbage.
        if (u < 32 || u == 127) {
            return QStringLiteral("the name holds a control character (U+%1)").arg(Hex(u));
        }
        bool ok = false;
        platform::ToCp1251(ch, &ok);
        if (!ok) {
            return QStringLiteral(
                       "the name holds \u00AB%1\u00BB (U+%2), which Windows-1251 has no byte for")
                .arg(ch, Hex(u));
        }
    }
    // Flags rather than sets: the library checks every file of both folders each time it opens.
    bool listed[kPieces + 1] = {};
    int left = 0;
    for (const int p : draft.excluded) {
        if (p < 1 || p > kPieces) {
            return QStringLiteral("unknown piece number %1 (pieces are 1 to 12)").arg(p);
        }
        if (listed[p]) return QStringLiteral("piece %1 is listed twice").arg(p);
        listed[p] = true;
        ++left;
    }
    if (left == kPieces) return QStringLiteral("all twelve pieces are left out");
    bool seen[kColumns][kRows] = {};
    for (const auto& c : draft.cells) {
        if (!OnBoard(c.column, c.row)) {
            return QStringLiteral("cell %1 lies off the 35 x 24 board").arg(Cell(c));
        }
        if (seen[c.column][c.row]) return QStringLiteral("cell %1 is listed twice").arg(Cell(c));
        seen[c.column][c.row] = true;
    }
    const int inPlay = kPieces - left;
    if (static_cast<int>(draft.cells.size()) != 5 * inPlay) {
        return QStringLiteral("wrong cell count: %1 cells, but %2 pieces in play cover %3")
            .arg(draft.cells.size())
            .arg(inPlay)
            .arg(5 * inPlay);
    }
    return {};
}

QByteArray WriteOutline(const OutlineDraft& draft) {
    const QByteArray name = platform::ToCp1251(draft.name);
    QByteArray cellText;
    for (const auto& c : draft.cells) {
        cellText += QByteArray::number(c.column).rightJustified(2, ' ');
        cellText += QByteArray::number(c.row).rightJustified(2, ' ');
    }
    QByteArray count = QByteArray::number(static_cast<qsizetype>(draft.excluded.size()));
    for (const int p : draft.excluded) count += ',' + QByteArray::number(p);
    // The last line is read by nothing; it holds the cell count as a plain reminder.
    const QByteArray last = QByteArray::number(static_cast<qsizetype>(draft.cells.size()));

    MakeCodeTables(name);
    QByteArray out =
        name + "\r\n" + EncodeLine(cellText) + "\r\n" + count + "\r\n" + EncodeLine(last) + "\r\n";
    DiscardCodeTables();
    return out;
}

StrictOutline ReadOutlineStrict(const QByteArray& bytes) {
    StrictOutline out;
    platform::FieldReader reader(bytes);
    const QByteArray name = reader.ReadLine();
    const QByteArray stored = reader.ReadLine();
    out.draft.name = platform::FromCp1251(name);

    const auto count = reader.ReadNumber();
    if (!count) {
        out.fault = QStringLiteral("no count of excluded pieces after the cell line");
        return out;
    }
    if (*count < 0 || *count > kPieces - 1) {
        out.fault = QStringLiteral("count of excluded pieces %1 is not 0 to 11").arg(*count);
        return out;
    }
    for (long long i = 0; i < *count; ++i) {
        const auto p = reader.ReadNumber();
        if (!p) {
            out.fault =
                QStringLiteral("%1 excluded pieces announced, %2 listed").arg(*count).arg(i);
            return out;
        }
        out.draft.excluded.push_back(static_cast<int>(std::clamp<long long>(*p, -999, 999)));
    }

    for (const char ch : stored) {
        if (static_cast<unsigned char>(ch) < 32) {
            out.fault =
                QStringLiteral("the cell line holds a control byte, so it cannot be decoded");
            return out;
        }
    }
    MakeCodeTables(name);
    const QByteArray cellText = DecodeLine(stored);
    DiscardCodeTables();
    const int cellCount = 5 * (kPieces - static_cast<int>(*count));
    // Longer is read without harm, but says the count and the cells disagree.
    if (cellText.size() != 4 * cellCount) {
        out.fault = QStringLiteral("the cell line holds %1 characters, %2 cells need %3")
                        .arg(cellText.size())
                        .arg(cellCount)
                        .arg(4 * cellCount);
        return out;
    }
    out.draft.cells.reserve(static_cast<std::size_t>(cellCount));
    for (int i = 0; i < cellCount; ++i) {
        int value[2] = {};
        for (int a = 0; a < 2; ++a) {
            // Looked at in place: the library checks thousands of files in a row.
            const char* field = cellText.constData() + 4 * i + 2 * a;
            const auto digitOrBlank = [](char ch) { return ch == ' ' || (ch >= '0' && ch <= '9'); };
            if (!digitOrBlank(field[0]) || !digitOrBlank(field[1]) ||
                (field[0] == ' ' && field[1] == ' ')) {
                out.fault = QStringLiteral("cell %1 of the cell line is not two numbers: \"%2\"")
                                .arg(i + 1)
                                .arg(QString::fromLatin1(cellText.mid(4 * i, 4)));
                return out;
            }
            // A blank before or after one digit: the number is that digit alone. The game's
            // own reader, compared below, reads the field its own way.
            value[a] = field[0] == ' '   ? field[1] - '0'
                       : field[1] == ' ' ? field[0] - '0'
                                         : 10 * (field[0] - '0') + (field[1] - '0');
        }
        out.draft.cells.push_back({value[0], value[1]});
    }
    out.fault = OutlineFault(out.draft);
    if (!out.fault.isEmpty()) return out;

    // The game's reader must see the very same outline.
    const OutlineContent game = ReadOutline(bytes);
    bool same = game.lastCell == cellCount - 1;
    for (int i = 0; same && i < cellCount; ++i) {
        same = game.cells[i][0] == out.draft.cells[i].column &&
               game.cells[i][1] == out.draft.cells[i].row;
    }
    for (int p = 1; same && p <= kPieces; ++p) {
        const bool listed = std::find(out.draft.excluded.begin(), out.draft.excluded.end(), p) !=
                            out.draft.excluded.end();
        same = (game.excluded[p] == 1) == listed;
    }
    if (!same) out.fault = QStringLiteral("the game reads a different outline from this file");
    return out;
}

}  // namespace kv
