// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/DrawingCheck.h"

#include <QStringList>
#include <algorithm>

#include "model/Model.h"
#include "solver/Bounds.h"

namespace kv {

namespace {

const QString kCells = QStringLiteral("Клеток: %1 — ");
const QString kAllPieces = QStringLiteral("все двенадцать фигур");
const QString kWithout = QStringLiteral("без %1 %2");
const QString kNeed = QStringLiteral("нужно %1");
const QString kNeedEither = QStringLiteral("нужно %1 или %2");
const QString kNoSet = QStringLiteral("Эти клетки не покрыть никаким набором фигур.");
const QString kAllCount = QStringLiteral("Покрывается всеми фигурами: %1.");
const QString kSetsCount = QStringLiteral("Покрывают: %1. %2: %3.");
const QString kAllBut = QStringLiteral("все, кроме %1");
const QString kAll = QStringLiteral("все фигуры");
const QString kCount = QStringLiteral("%1 %2 с точностью до симметрии");
const QString kCounting = QStringLiteral("решения ещё считаются");
const QString kNotCountedText = QStringLiteral("решения не сосчитаны");
const QString kMore = QStringLiteral(" и ещё %1");
constexpr int kSetsShown = 8;  // a longer list would not fit the window's answer line

// "фигуры" after 1, 21, ...; "фигур" otherwise (genitive after «без»).
QString Pieces(int n) {
    return n % 10 == 1 && n % 100 != 11 ? QStringLiteral("фигуры") : QStringLiteral("фигур");
}

QString Solutions(std::uint64_t n) {
    const std::uint64_t tens = n % 100, last = n % 10;
    if (tens >= 11 && tens <= 14) return QStringLiteral("решений");
    if (last == 1) return QStringLiteral("решение");
    if (last >= 2 && last <= 4) return QStringLiteral("решения");
    return QStringLiteral("решений");
}

QString Letters(const std::vector<int>& pieces) {
    QString text;
    for (const int p : pieces) {
        if (!text.isEmpty()) text += QLatin1Char('+');
        text += QLatin1Char(PieceLetter(p));
    }
    return text;
}

}  // namespace

QString CellCountText(int cells) {
    QString text = kCells.arg(cells);
    if (cells >= 5 && cells <= 60 && cells % 5 == 0) {
        const int out = 12 - cells / 5;
        return text + (out == 0 ? kAllPieces : kWithout.arg(out).arg(Pieces(out)));
    }
    if (cells < 5) return text + kNeed.arg(5);
    if (cells > 60) return text + kNeed.arg(60);
    const int below = cells / 5 * 5;
    return text + kNeedEither.arg(below).arg(below + 5);
}

QString SetText(const std::vector<int>& leftOut) {
    if (leftOut.empty()) return kAll;
    std::vector<int> used;
    for (int p = 1; p <= kPieces; ++p) {
        if (std::find(leftOut.begin(), leftOut.end(), p) == leftOut.end()) used.push_back(p);
    }
    return used.size() <= leftOut.size() ? Letters(used) : kAllBut.arg(Letters(leftOut));
}

QString CheckText(const DrawingCheck& check, std::size_t set, bool counting) {
    if (set >= check.leftOut.size()) return kNoSet;
    const std::uint64_t n = check.counts[set];
    const QString count = n != kNotCounted ? kCount.arg(n).arg(Solutions(n))
                                           : (counting ? kCounting : kNotCountedText);
    if (check.leftOut[set].empty()) return kAllCount.arg(count);
    QStringList sets;
    for (std::size_t i = 0; i < check.leftOut.size() && i < kSetsShown; ++i) {
        sets << SetText(check.leftOut[i]);
    }
    // Sets are told apart by "; ": one set is written with "+" and may hold a comma.
    QString list = sets.join(QStringLiteral("; "));
    if (check.leftOut.size() > kSetsShown) list += kMore.arg(check.leftOut.size() - kSetsShown);
    QString chosen = SetText(check.leftOut[set]);
    chosen[0] = chosen[0].toUpper();
    return kSetsCount.arg(list, chosen, count);
}

OutlineDraft CentredDraft(const QString& name, const std::vector<BoardCell>& cells,
                          const std::vector<int>& excluded) {
    OutlineDraft draft;
    draft.name = name;
    draft.excluded = excluded;
    draft.cells = CentredOnBoard(cells);
    std::sort(draft.cells.begin(), draft.cells.end(), [](const BoardCell& a, const BoardCell& b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    return draft;
}

}  // namespace kv
