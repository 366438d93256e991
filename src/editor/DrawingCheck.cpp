// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/DrawingCheck.h"

#include <QStringList>
#include <algorithm>
#include <array>

#include "model/Model.h"

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

bool Stopped(const std::atomic<bool>* stop) {
    return stop && stop->load();
}

}  // namespace

DrawingCheck CheckDrawing(const std::vector<BoardCell>& cells, const std::atomic<bool>* stop) {
    DrawingCheck check = FindCoveringSets(cells, stop);
    CountSet(cells, check, 0, stop);
    return check;
}

void CountSet(const std::vector<BoardCell>& cells, DrawingCheck& check, std::size_t set,
              const std::atomic<bool>* stop) {
    if (check.stopped || set >= check.leftOut.size()) return;
    std::array<bool, 13> available{};
    for (int p = 1; p <= kPieces; ++p) available[static_cast<std::size_t>(p)] = true;
    for (const int p : check.leftOut[set]) available[static_cast<std::size_t>(p)] = false;
    PentominoSolver solver(cells, available);
    solver.SetStop(stop);
    // Every core: a round 60-cell drawing takes seconds to count on one.
    const std::uint64_t count = solver.Count(0).upToSymmetry;
    // A count cut short is too low: it must not be shown.
    if (Stopped(stop)) {
        check.stopped = true;
    } else {
        check.counts[set] = count;
    }
}

DrawingCheck FindCoveringSets(const std::vector<BoardCell>& cells, const std::atomic<bool>* stop) {
    DrawingCheck check;
    const int n = static_cast<int>(cells.size());
    if (n < 5 || n > 60 || n % 5 != 0) return check;
    const int used = n / 5;

    // The used pieces as a rising combination, advanced in lexicographic order: the set
    // using the lowest pieces comes first.
    std::vector<int> chosen(static_cast<std::size_t>(used));
    for (int i = 0; i < used; ++i) chosen[static_cast<std::size_t>(i)] = i + 1;
    for (;;) {
        if (Stopped(stop)) {
            check.stopped = true;
            return check;
        }
        std::array<bool, 13> available{};
        for (const int p : chosen) available[static_cast<std::size_t>(p)] = true;
        PentominoSolver solver(cells, available);
        solver.SetStop(stop);
        if (std::optional<Tiling> tiling = solver.First()) {
            std::vector<int> out;
            for (int p = 1; p <= kPieces; ++p) {
                if (!available[static_cast<std::size_t>(p)]) out.push_back(p);
            }
            check.leftOut.push_back(std::move(out));
            check.tilings.push_back(std::move(*tiling));
            check.counts.push_back(kNotCounted);
        }
        // Next combination: raise the last entry that still can rise, reset those after it.
        int i = used - 1;
        while (i >= 0 && chosen[static_cast<std::size_t>(i)] == kPieces - used + 1 + i) --i;
        if (i < 0) break;
        ++chosen[static_cast<std::size_t>(i)];
        for (int j = i + 1; j < used; ++j) {
            chosen[static_cast<std::size_t>(j)] = chosen[static_cast<std::size_t>(j - 1)] + 1;
        }
    }
    // A search cut short inside may have missed sets.
    if (Stopped(stop)) {
        check = DrawingCheck{};
        check.stopped = true;
    }
    return check;
}

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
    if (cells.empty()) return draft;
    int minC = kColumns, maxC = -1, minR = kRows, maxR = -1;
    for (const auto& c : cells) {
        minC = std::min(minC, c.column);
        maxC = std::max(maxC, c.column);
        minR = std::min(minR, c.row);
        maxR = std::max(maxR, c.row);
    }
    const int left = (kColumns - (maxC - minC + 1)) / 2;
    const int top = (kRows - (maxR - minR + 1)) / 2;
    for (const auto& c : cells) draft.cells.push_back({c.column - minC + left, c.row - minR + top});
    std::sort(draft.cells.begin(), draft.cells.end(), [](const BoardCell& a, const BoardCell& b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    return draft;
}

}  // namespace kv
