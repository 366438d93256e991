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
#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <optional>

#include "outlines/OutlineArt.h"
#include "outlines/OutlineCode.h"
#include "outlines/OutlineFile.h"
#include "outlines/OutlineWriter.h"
#include "outlines/ShippedGrades.h"
#include "platform/TextCodec.h"
#include "solver/Board.h"
#include "solver/Generator.h"
#include "solver/Grade.h"
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
  code FILE.kvt
      Prints the outline as one line of text, "KV1-" and a code of its name, cells and
      left-out pieces with a checksum, to paste into a chat or the game's editor. The file
      must pass check's tests of damage.
  encode --code TEXT -o FILE.kvt
      Makes the outline file of a code. A damaged or foreign code is refused in one line,
      with the exit status 1, and nothing is written.
  check DIR
      Checks every *.kvt in DIR: it is at most 64 KiB, decodes, holds 60 - 5n distinct
      cells on the board, leaves out only pieces 1 to 12, each once, no two files share a
      name, and the outline has a tiling. One line per faulty file; the exit status is 1 if
      any is faulty. The game refuses to load a file that fails before the last two checks.
  grade FILE.kvt|DIR... [-o GRADES.txt]
      Grades each outline 1 (easiest) to 5 (hardest) by counting its tilings: the fewer
      tilings and the longer the search wanders for each, the harder. Prints one line per
      outline, "FILE<TAB>GRADE<TAB>TILINGS<TAB>NODES" (TILINGS up to symmetry, with "+" when
      the count stopped at its cap; grade 0 when there is no tiling), a folder standing for
      its *.kvt files in name order; -o writes the lines into a file instead, as the build
      does for the shipped outlines' grades.txt. The same on every machine.
  generate --pieces N|--set LETTERS --grade G --seed S [--holes] [--name NAME] -o FILE.kvt
      Makes a new outline whose tiling by its pieces is unique up to its symmetry, as the
      solver proves by counting: N pieces (3 to 12) drawn from the seed, or the pieces
      of LETTERS (as "XIT..." above), of grade G (1 to 5), connected, centred and clear of
      the home columns; --holes lets it enclose empty cells. The same arguments give the
      same outline on every machine. When the pieces cannot reach the grade, the nearest
      one found is given and said. The name is "Случайный S" unless told.

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

int EncodeCode(const QStringList& args);

// Writes bytes as the whole of output, atomically; says why not on the error stream.
bool WriteWhole(const QString& output, const QByteArray& bytes) {
    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        Err(QStringLiteral("%1: cannot write: %2").arg(output, file.errorString()));
        return false;
    }
    return true;
}

int Encode(const QStringList& args) {
    if (args.contains(QLatin1String("--code"))) return EncodeCode(args);
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

    if (!WriteWhole(output, bytes)) return kFault;
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

int Code(const QStringList& args) {
    if (args.size() != 1 || args[0].startsWith(QLatin1Char('-'))) {
        return UsageError(QStringLiteral("code takes one outline file"));
    }
    QFile file(args[0]);
    if (!file.open(QIODevice::ReadOnly)) {
        Err(QStringLiteral("%1: cannot read: %2").arg(args[0], file.errorString()));
        return kFault;
    }
    const StrictOutline outline = CheckOutlineFile(ReadOutlineFile(file));
    if (!outline.fault.isEmpty()) {
        Err(QStringLiteral("%1: %2").arg(args[0], outline.fault));
        return kFault;
    }
    const OutlineCode code = EncodeOutline(outline.draft);
    if (code.fault != CodeFault::None) {
        Err(QStringLiteral("%1: no code: %2").arg(args[0], CodeFaultText(code)));
        return kFault;
    }
    Out(code.text + QLatin1Char('\n'));
    return kOk;
}

int EncodeCode(const QStringList& args) {
    QString text, output;
    bool hasText = false;
    for (int i = 0; i < args.size(); ++i) {
        const bool takesValue = args[i] == QLatin1String("--code") ||
                                args[i] == QLatin1String("-o") ||
                                args[i] == QLatin1String("--output");
        if (!takesValue) {
            return UsageError(args[i].startsWith(QLatin1Char('-'))
                                  ? QStringLiteral("unknown option %1").arg(args[i])
                                  : QStringLiteral("encode --code takes no drawing"));
        }
        if (i + 1 >= args.size())
            return UsageError(QStringLiteral("%1 needs a value").arg(args[i]));
        if (args[i] == QLatin1String("--code")) {
            if (hasText) return UsageError(QStringLiteral("encode takes one code"));
            text = args[++i];
            hasText = true;
        } else {
            output = args[++i];
        }
    }
    if (output.isEmpty()) return UsageError(QStringLiteral("encode needs -o FILE.kvt"));
    const OutlineCode code = DecodeOutline(text);
    if (code.fault != CodeFault::None) {
        Err(QStringLiteral("refused: %1").arg(CodeFaultText(code)));
        return kFault;
    }
    const QByteArray bytes = WriteOutline(code.draft);
    if (!WriteWhole(output, bytes)) return kFault;
    Out(QStringLiteral("%1: \u00AB%2\u00BB, %3 cells, %4 pieces in play\n")
            .arg(output, code.draft.name)
            .arg(code.draft.cells.size())
            .arg(kPieces - code.draft.excluded.size()));
    return kOk;
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

// Reads an outline the strict way, telling its fault in one line.
std::optional<OutlineDraft> ReadDraft(const QString& path) {
    QByteArray bytes;
    if (!ReadAll(path, bytes)) return std::nullopt;
    const StrictOutline outline = ReadOutlineStrict(bytes);
    if (!outline.fault.isEmpty()) {
        Err(QStringLiteral("%1: %2").arg(path, outline.fault));
        return std::nullopt;
    }
    return outline.draft;
}

int Grade(const QStringList& args) {
    QString output;
    QStringList paths;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("-o") || args[i] == QLatin1String("--output")) {
            if (i + 1 >= args.size()) return UsageError(QStringLiteral("-o needs a file name"));
            output = args[++i];
        } else if (args[i].startsWith(QLatin1Char('-'))) {
            return UsageError(QStringLiteral("unknown option %1").arg(args[i]));
        } else if (QFileInfo(args[i]).isDir()) {
            const QDir dir(args[i]);
            for (const QString& name :
                 dir.entryList({QStringLiteral("*.kvt")}, QDir::Files, QDir::Name)) {
                paths.push_back(dir.filePath(name));
            }
        } else {
            paths.push_back(args[i]);
        }
    }
    if (paths.isEmpty()) return UsageError(QStringLiteral("grade needs outline files"));
    QByteArray lines;
    int faulty = 0;
    for (const QString& path : paths) {
        const auto draft = ReadDraft(path);
        if (!draft) {
            ++faulty;
            continue;
        }
        lines +=
            GradeLine(QFileInfo(path).fileName(), GradeOutline(draft->cells, PiecesInPlay(*draft)));
    }
    if (faulty > 0) return kFault;
    if (output.isEmpty()) {
        OutBytes(lines);
        return kOk;
    }
    const QByteArray text = "# file\tgrade 1..5\ttilings up to symmetry\tnodes searched\n" + lines;
    if (!WriteWhole(output, text)) return kFault;
    return kOk;
}

int Generate(const QStringList& args) {
    QString output, name, pieceSet;
    int count = 0, grade = 0;
    bool seedGiven = false, holes = false;
    std::uint64_t seed = 0;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool valued = a == QLatin1String("-o") || a == QLatin1String("--output") ||
                            a == QLatin1String("--pieces") || a == QLatin1String("--set") ||
                            a == QLatin1String("--grade") || a == QLatin1String("--seed") ||
                            a == QLatin1String("--name");
        if (a == QLatin1String("--holes")) {
            holes = true;
            continue;
        }
        if (!valued) return UsageError(QStringLiteral("unknown argument %1").arg(a));
        if (i + 1 >= args.size()) return UsageError(QStringLiteral("%1 needs a value").arg(a));
        const QString v = args[++i];
        bool ok = true;
        if (a == QLatin1String("-o") || a == QLatin1String("--output")) {
            output = v;
        } else if (a == QLatin1String("--name")) {
            name = v;
        } else if (a == QLatin1String("--set")) {
            pieceSet = v;
        } else if (a == QLatin1String("--pieces")) {
            count = v.toInt(&ok);
            ok = ok && count >= 3 && count <= kPieces;
        } else if (a == QLatin1String("--grade")) {
            grade = v.toInt(&ok);
            ok = ok && grade >= 1 && grade <= 5;
        } else {
            seed = v.toULongLong(&ok);
            seedGiven = ok;
        }
        if (!ok) return UsageError(QStringLiteral("%1 %2 is out of range").arg(a, v));
    }
    if ((count == 0) == pieceSet.isEmpty()) {
        return UsageError(QStringLiteral("generate needs either --pieces or --set"));
    }
    if (grade == 0 || !seedGiven)
        return UsageError(QStringLiteral("generate needs --grade and --seed"));
    if (output.isEmpty()) return UsageError(QStringLiteral("generate needs -o FILE.kvt"));

    GeneratorRequest request;
    request.grade = grade;
    request.seed = seed;
    request.holes = holes;
    request.threads = 0;
    if (count > 0) {
        request.pieces = PiecesForCount(count, seed);
    } else {
        for (const QChar ch : pieceSet.toUpper()) {
            int p = 1;
            while (p <= kPieces && QLatin1Char(PieceLetter(p)) != ch) ++p;
            if (p > kPieces || request.pieces[p]) {
                return UsageError(
                    QStringLiteral("--set %1: each of X I T U V W Z L N Y F P at most once")
                        .arg(pieceSet));
            }
            request.pieces[p] = true;
        }
        if (std::count(request.pieces.begin(), request.pieces.end(), true) < 3) {
            return UsageError(QStringLiteral("--set needs at least three pieces"));
        }
    }
    const auto outline = GenerateOutline(request);
    if (!outline) {
        Err(QStringLiteral("no outline with one tiling was found for these pieces"));
        return kFault;
    }
    OutlineDraft draft;
    draft.name = name.isEmpty() ? QStringLiteral("Случайный %1").arg(seed) : name;
    draft.cells = outline->cells;
    for (int p = 1; p <= kPieces; ++p) {
        if (!outline->pieces[p]) draft.excluded.push_back(p);
    }
    const QByteArray bytes = WriteOutline(draft);
    const StrictOutline back = ReadOutlineStrict(bytes);
    if (!back.fault.isEmpty()) {
        Err(QStringLiteral("%1: %2").arg(output, back.fault));
        return kFault;
    }
    if (!WriteWhole(output, bytes)) return kFault;
    Out(QStringLiteral("%1: \u00AB%2\u00BB, %3 cells, grade %4, one tiling\n")
            .arg(output, draft.name)
            .arg(draft.cells.size())
            .arg(outline->grade.grade));
    if (outline->grade.grade != grade) {
        Err(QStringLiteral("note: these pieces gave no outline of grade %1; the nearest is %2")
                .arg(grade)
                .arg(outline->grade.grade));
    }
    return kOk;
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
    if (command == QLatin1String("grade")) return Grade(args);
    if (command == QLatin1String("generate")) return Generate(args);
    if (command == QLatin1String("code")) return Code(args);
    return UsageError(QStringLiteral("unknown command %1").arg(command));
}
