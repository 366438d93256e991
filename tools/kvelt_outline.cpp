// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// kvelt-outline: makes outline files from drawings, shows and solves them, and checks a
// folder of them. It reads and writes through the game's library, so the file format and
// the code tables have one implementation.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <array>
#include <cstdio>
#include <map>

#include "outlines/OutlineArt.h"
#include "outlines/OutlineFile.h"
#include "outlines/OutlineWriter.h"
#include "platform/TextCodec.h"
#include "solver/Board.h"
#include "solver/Solver.h"

namespace {

using namespace kv;

constexpr int kOk = 0;
constexpr int kFault = 1;
constexpr int kUsage = 2;

const char kUsageText[] = R"txt(Usage: kvelt-outline COMMAND ...
  or:  kvelt-outline --help | --version

Makes, shows, solves and checks the game's outline files (*.kvt).

      --help     display this help and exit
      --version  output version information and exit

  encode ART.txt -o FILE.kvt
      Makes an outline file from a drawing. Nothing is written when the drawing is not a
      sound outline; the fault is told in one line and the exit status is 1.
  show FILE.kvt
      Prints the outline as a drawing; encode makes the same outline from it again.
  solve FILE.kvt [--count] [--all]
      Prints one way to cover the outline with its pieces, each shown by its letter
      (X I T U V W Z L N Y F P). --count prints the number of tilings instead, as
      "N solutions (M up to symmetry)": N counts turned and mirrored tilings apart, M counts
      tilings that a symmetry of the outline maps onto each other once. --all prints every
      tiling, then the count. The exit status is 1 when there is no tiling.
  check DIR
      Checks every *.kvt in DIR: it is at most 64 KiB, decodes, holds 60 - 5n distinct
      cells on the board, leaves out only pieces 1 to 12, each once, no two files share a
      name, and the outline has a tiling. One line per faulty file; the exit status is 1 if
      any is faulty. The game refuses to load a file that fails before the last two checks.

The drawing (ART.txt, UTF-8):
  line 1     the outline name (it must fit Windows-1251)
  line 2     the numbers of the pieces left out, 1 to 12, separated by blanks or commas;
             empty or "-" when all twelve are in play
  then       rows of '#' (outline cell) and '.' (no cell); a blank counts as '.', blank
             lines at the end are dropped
The drawing, as wide as its longest row, is centred on the 35 x 24 board: it starts at
column (35 - width) div 2 and row (24 - height) div 2. It needs 60 - 5n cells when n
pieces are left out. Pieces: 1 X, 2 I, 3 T, 4 U, 5 V, 6 W, 7 Z, 8 L, 9 N, 10 Y, 11 F, 12 P.

Exit status: 0 done, 1 refused or faulty, 2 wrong command line.

Home page: <)txt" KVELT_HOMEPAGE R"txt(>
)txt";

const char kVersionText[] = "kvelt-outline (Kvelt) " KVELT_VERSION R"txt(
Copyright (C) )txt" KVELT_YEAR R"txt( The Kvelt developers
License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.
This is free software: you are free to change and redistribute it.
There is NO WARRANTY, to the extent permitted by law.
)txt";

void Out(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
}

void OutBytes(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
}

// Faults and refusals: always one line.
void Err(const QString& text) {
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stderr);
}

int UsageError(const QString& text) {
    Err(QStringLiteral("kvelt-outline: %1 (see kvelt-outline --help)").arg(text));
    return kUsage;
}

bool ReadAll(const QString& path, QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Err(QStringLiteral("%1: cannot read: %2").arg(path, file.errorString()));
        return false;
    }
    bytes = file.readAll();
    return true;
}

std::array<bool, 13> PiecesInPlay(const OutlineDraft& draft) {
    std::array<bool, 13> available{};
    for (int p = 1; p <= kPieces; ++p) available[p] = true;
    for (const int p : draft.excluded) {
        if (p >= 1 && p <= kPieces) available[p] = false;
    }
    return available;
}

int Encode(const QStringList& args) {
    QString art, output;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("-o") || args[i] == QLatin1String("--output")) {
            if (i + 1 >= args.size()) return UsageError(QStringLiteral("-o needs a file name"));
            output = args[++i];
        } else if (args[i].startsWith(QLatin1Char('-'))) {
            return UsageError(QStringLiteral("unknown option %1").arg(args[i]));
        } else if (art.isEmpty()) {
            art = args[i];
        } else {
            return UsageError(QStringLiteral("encode takes one drawing"));
        }
    }
    if (art.isEmpty()) return UsageError(QStringLiteral("encode needs a drawing"));
    if (output.isEmpty()) return UsageError(QStringLiteral("encode needs -o FILE.kvt"));

    QByteArray text;
    if (!ReadAll(art, text)) return kFault;
    const ArtOutline parsed = ParseOutlineArt(text);
    if (!parsed.fault.isEmpty()) {
        Err(QStringLiteral("%1: %2").arg(art, parsed.fault));
        return kFault;
    }
    const QByteArray bytes = WriteOutline(parsed.draft);

    // Read back what is about to be written, by the strict reader and the game's own.
    const StrictOutline back = ReadOutlineStrict(bytes);
    const OutlineContent game = ReadOutline(bytes);
    if (!back.fault.isEmpty() || back.draft.cells != parsed.draft.cells ||
        back.draft.excluded != parsed.draft.excluded || back.draft.name != parsed.draft.name ||
        platform::FromCp1251(game.name) != parsed.draft.name) {
        Err(QStringLiteral("%1: the outline file made from it does not read back the same%2")
                .arg(art, back.fault.isEmpty() ? QString() : QStringLiteral(": ") + back.fault));
        return kFault;
    }

    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        Err(QStringLiteral("%1: cannot write: %2").arg(output, file.errorString()));
        return kFault;
    }
    Out(QStringLiteral("%1: \u00AB%2\u00BB, %3 cells, %4 pieces in play\n")
            .arg(output, parsed.draft.name)
            .arg(parsed.draft.cells.size())
            .arg(kPieces - parsed.draft.excluded.size()));
    return kOk;
}

int Show(const QStringList& args) {
    if (args.size() != 1 || args[0].startsWith(QLatin1Char('-'))) {
        return UsageError(QStringLiteral("show takes one outline file"));
    }
    QByteArray bytes;
    if (!ReadAll(args[0], bytes)) return kFault;
    const StrictOutline strict = ReadOutlineStrict(bytes);
    if (strict.fault.isEmpty()) {
        OutBytes(OutlineArtText(strict.draft));
        return kOk;
    }
    // A faulty file is drawn as the game would load it, then the fault is told.
    const OutlineContent game = ReadOutline(bytes);
    OutlineDraft seen;
    seen.name = platform::FromCp1251(game.name);
    for (int p = 1; p <= kPieces; ++p) {
        if (game.excluded[p]) seen.excluded.push_back(p);
    }
    for (int i = 0; i <= game.lastCell; ++i) {
        if (OnBoard(game.cells[i][0], game.cells[i][1])) {
            seen.cells.push_back({game.cells[i][0], game.cells[i][1]});
        }
    }
    OutBytes(OutlineArtText(seen));
    Err(QStringLiteral("%1: %2").arg(args[0], strict.fault));
    return kFault;
}

QString Solutions(std::uint64_t n) {
    return QStringLiteral("%1 solution%2").arg(n).arg(n == 1 ? "" : "s");
}

int Solve(const QStringList& args) {
    QString path;
    bool count = false, all = false;
    for (const QString& a : args) {
        if (a == QLatin1String("--count")) {
            count = true;
        } else if (a == QLatin1String("--all")) {
            all = true;
        } else if (a.startsWith(QLatin1Char('-'))) {
            return UsageError(QStringLiteral("unknown option %1").arg(a));
        } else if (path.isEmpty()) {
            path = a;
        } else {
            return UsageError(QStringLiteral("solve takes one outline file"));
        }
    }
    if (path.isEmpty()) return UsageError(QStringLiteral("solve needs an outline file"));
    QByteArray bytes;
    if (!ReadAll(path, bytes)) return kFault;
    const StrictOutline outline = ReadOutlineStrict(bytes);
    if (!outline.fault.isEmpty()) {
        Err(QStringLiteral("%1: %2").arg(path, outline.fault));
        return kFault;
    }
    const PentominoSolver solver(outline.draft.cells, PiecesInPlay(outline.draft));
    auto print = [&](const Tiling& tiling) {
        for (const auto& row : DrawTiling(outline.draft.cells, tiling)) {
            OutBytes(QByteArray::fromStdString(row) + '\n');
        }
    };

    std::uint64_t found = 0;
    if (all) {
        found = solver.ForEach([&](const Tiling& tiling) {
            if (found > 0) Out(QStringLiteral("\n"));
            print(tiling);
            ++found;
            return true;
        });
        if (!count) Out(QStringLiteral("%1\n").arg(Solutions(found)));
    }
    if (count) {
        const SolutionCount n = solver.Count(0);  // on every core
        Out(QStringLiteral("%1 (%2 up to symmetry)\n").arg(Solutions(n.all)).arg(n.upToSymmetry));
        found = n.all;
    } else if (!all) {
        const auto tiling = solver.First();
        if (tiling) {
            print(*tiling);
            found = 1;
        } else {
            Out(QStringLiteral("No solution.\n"));
        }
    }
    return found > 0 ? kOk : kFault;
}

int Check(const QStringList& args) {
    if (args.size() != 1 || args[0].startsWith(QLatin1Char('-'))) {
        return UsageError(QStringLiteral("check takes one folder"));
    }
    const QDir dir(args[0]);
    if (!QFileInfo(args[0]).isDir()) {
        Err(QStringLiteral("%1: no such folder").arg(args[0]));
        return kUsage;
    }
    const QStringList files =
        dir.entryList({QStringLiteral("*.kvt")}, QDir::Files | QDir::Hidden, QDir::Name);
    if (files.isEmpty()) {
        Out(QStringLiteral("Note: %1 holds no *.kvt files; nothing to check.\n").arg(args[0]));
        return kOk;
    }
    int faulty = 0;
    std::map<QString, QString> names;  // outline name -> first file holding it
    for (const QString& name : files) {
        QFile file(dir.filePath(name));
        QString fault;
        if (!file.open(QIODevice::ReadOnly)) {
            fault = QStringLiteral("cannot read: %1").arg(file.errorString());
        } else {
            // The game's own test of damage: what fails here, the game refuses to load.
            const StrictOutline outline = CheckOutlineFile(ReadOutlineFile(file));
            fault = outline.fault;
            if (fault.isEmpty()) {
                const auto [it, fresh] = names.emplace(outline.draft.name, name);
                if (!fresh) {
                    // The library finds the outline on the board by its name.
                    fault = QStringLiteral("same name \u00AB%1\u00BB as %2")
                                .arg(outline.draft.name, it->second);
                } else if (!PentominoSolver(outline.draft.cells, PiecesInPlay(outline.draft))
                                .First()) {
                    fault = QStringLiteral("no solution");
                }
            }
        }
        if (!fault.isEmpty()) {
            Err(QStringLiteral("%1: %2").arg(name, fault));
            ++faulty;
        }
    }
    Out(QStringLiteral("%1 outline file%2 checked, %3 faulty\n")
            .arg(files.size())
            .arg(files.size() == 1 ? "" : "s")
            .arg(faulty));
    return faulty == 0 ? kOk : kFault;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) return UsageError(QStringLiteral("no command"));
    // As GNU programs do, --help or --version anywhere wins over everything else.
    for (const QString& a : args) {
        if (a == QLatin1String("--help")) {
            Out(QString::fromUtf8(kUsageText));
            return kOk;
        }
        if (a == QLatin1String("--version")) {
            Out(QString::fromUtf8(kVersionText));
            return kOk;
        }
    }
    const QString command = args.takeFirst();
    if (command == QLatin1String("-h") || command == QLatin1String("help")) {
        Out(QString::fromUtf8(kUsageText));
        return kOk;
    }
    if (command == QLatin1String("encode")) return Encode(args);
    if (command == QLatin1String("show")) return Show(args);
    if (command == QLatin1String("solve")) return Solve(args);
    if (command == QLatin1String("check")) return Check(args);
    return UsageError(QStringLiteral("unknown command %1").arg(command));
}
