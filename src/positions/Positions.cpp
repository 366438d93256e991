// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "positions/Positions.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <limits>
#include <vector>

#include "model/Operations.h"
#include "outlines/Outline.h"
#include "outlines/OutlineFile.h"
#include "outlines/OutlineFolders.h"
#include "outlines/OutlineWriter.h"
#include "paths/Paths.h"
#include "platform/Files.h"
#include "platform/OpenSave.h"
#include "platform/Services.h"
#include "platform/TextCodec.h"
#include "platform/TextFields.h"
#include "play/Play.h"
#include "play/Progress.h"
#include "view/BoardDrawing.h"

namespace kv {

QString PositionPath;

namespace {

const QString kExtension = QStringLiteral(".fgr");
const QString kExists = QStringLiteral("Файл уже существует.") + QStringLiteral("\r\n") +
                        QStringLiteral("Заменить его?");
const QString kProtected = QStringLiteral("Файл защищён от записи.");
const QString kCannotSave = QStringLiteral("Файл сохранить не возможно.");
const QString kCannotOpen = QStringLiteral("Файл открыть не возможно.");

QString PositionFilter() {
    return QStringLiteral("Положение фигур (*.fgr)") + QChar(0) + QStringLiteral("*.fgr");
}

void ShowError(const QString& text) {
    if (auto* messages = platform::services().messages) messages->ShowError(text);
}

// A path with no full stop anywhere (folders included) gets the position extension.
QString WithExtension(const QString& path) {
    return path.contains(QLatin1Char('.')) ? path : path + kExtension;
}

// " 3 " or "-1 ": a blank where a minus sign would stand, and one blank after.
QByteArray NumberLine(int value) {
    QByteArray line;
    if (value >= 0) line += ' ';
    line += QByteArray::number(value);
    line += " \r\n";
    return line;
}

// The system refuses write access to path itself or to the folder it would be made in.
bool WriteRefused(const QString& path) {
    const QFileInfo target(path);
    if (target.isDir()) return true;
    if (target.exists()) return !target.isWritable();
    const QFileInfo folder(target.absolutePath());
    return folder.isDir() && !folder.isWritable();
}

void ApplyPosition(const PositionContent& content) {
    for (int p = 1; p <= kPieces; ++p) {
        PiecePos[p][0] = content.pos[p][0];
        PiecePos[p][1] = content.pos[p][1];
        PieceOrientation[p] = content.orientation[p];
    }
}

// An outline file the position may have been saved on, read ahead: which pieces are in
// play is known only from the outline.
struct Candidate {
    QString path;
    QByteArray bytes;
    bool sound = false;  // opens and is no damaged file
    bool fits = false;   // and the position's pieces fit it
};

Candidate ReadAhead(const QString& path, const PositionContent& content) {
    Candidate candidate{path, {}};
    QFile file(path);
    if (platform::OpenForReading(file) != platform::OpenResult::Opened) return candidate;
    candidate.bytes = ReadOutlineFile(file);
    candidate.sound = CheckOutlineFile(candidate.bytes).fault.isEmpty();
    candidate.fits =
        candidate.sound && PositionFits(content, ReadOutline(candidate.bytes).excluded);
    return candidate;
}

// The outline file to continue on, looked for by its file name in the player's folder and
// in Examples. When both hold it, the one the pieces fit; when they fit both, the player
// chooses. nullopt when Continue stops here (the player has been told why, or cancelled).
std::optional<QString> ChooseOutline(const QString& fileName, const PositionContent& content) {
    const QStringList paths = FindOutlines(fileName);
    // In neither folder: the loader says why it cannot be opened.
    if (paths.isEmpty()) return ExamplesPath + fileName;
    std::vector<Candidate> candidates;
    for (const QString& path : paths) candidates.push_back(ReadAhead(path, content));

    std::vector<const Candidate*> fitting;
    for (const Candidate& c : candidates) {
        if (c.fits) fitting.push_back(&c);
    }
    if (fitting.empty()) {
        const bool anySound = std::any_of(candidates.begin(), candidates.end(),
                                          [](const Candidate& c) { return c.sound; });
        // None opens as an outline: the loader says why.
        if (!anySound) return candidates.front().path;
        ShowError(kCannotOpen);
        platform::Tell(
            QStringLiteral("Фигуры положения не помещаются в квелт «%1».").arg(fileName));
        return std::nullopt;
    }
    // Two copies of the same file are one outline: nothing to ask.
    if (fitting.size() == 1 || fitting[0]->bytes == fitting[1]->bytes) return fitting[0]->path;
    auto* questions = platform::services().questions;
    const int answer =
        questions ? questions->Choose(
                        QStringLiteral("Квелт «%1» есть и среди своих, и среди поставляемых, "
                                       "и фигуры подходят к обоим. Какой открыть?")
                            .arg(fileName),
                        {QStringLiteral("Свой"), QStringLiteral("Из поставки")})
                  : -1;
    if (answer < 0 || answer >= static_cast<int>(fitting.size())) return std::nullopt;
    return fitting[static_cast<std::size_t>(answer)]->path;
}

}  // namespace

QString FileNamePart(const QString& path) {
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return path.mid(cut + 1);
}

std::optional<PositionContent> ReadPosition(QIODevice& device) {
    platform::FieldReader reader(device);
    PositionContent content;
    content.outlineName = reader.ReadTextField();
    // Save writes a bare file name, looked for in the outline folders; a name with a folder
    // in it would reach any file on the machine, so it is no position of this game.
    if (content.outlineName.contains('/') || content.outlineName.contains('\\')) {
        return std::nullopt;
    }
    auto next = [&reader](int& into) {
        const std::optional<long long> value = reader.ReadNumber();
        if (!value || *value < std::numeric_limits<int>::min() ||
            *value > std::numeric_limits<int>::max()) {
            return false;
        }
        into = static_cast<int>(*value);
        return true;
    };
    for (int p = 1; p <= kPieces; ++p) {
        if (!next(content.pos[p][0]) || !next(content.pos[p][1]) || !next(content.orientation[p])) {
            return std::nullopt;
        }
        if (content.orientation[p] < 0 || content.orientation[p] > 8) return std::nullopt;
    }
    return content;
}

std::optional<PositionContent> ReadPosition(const QByteArray& bytes) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return ReadPosition(buffer);
}

bool PositionFits(const PositionContent& content, const int excluded[kPieces + 1]) {
    for (int p = 1; p <= kPieces; ++p) {
        if (excluded[p] == 1) continue;
        // Only the orientations the palette offers: turning the I piece counts on 1 or 2.
        const int o = content.orientation[p];
        if (o < 1 || o > OrientationCount[p]) return false;
        if (!PlacedPieceOnBoard(p, o, content.pos[p][0], content.pos[p][1])) return false;
    }
    return true;
}

std::optional<QByteArray> PositionFileBytes() {
    bool encoded = false;
    QByteArray bytes = platform::ToCp1251(FileNamePart(OutlinePath), &encoded);
    // A name written with "?" in place of a character would never be found again.
    if (!encoded) return std::nullopt;
    bytes += "\r\n";
    for (int p = 1; p <= kPieces; ++p) {
        bytes += NumberLine(PiecePos[p][0]);
        bytes += NumberLine(PiecePos[p][1]);
        bytes += NumberLine(PieceOrientation[p]);
    }
    return bytes;
}

void SaveFile() {
    if (OutlineLoaded != 1) return;
    if (!PositionPath.isEmpty()) {
        SaveFigury(PositionPath);
    } else {
        SaveAs();
    }
}

void SaveAs() {
    const QString proposed = PositionPath.isEmpty() ? OutlineName : FileNamePart(PositionPath);
    QString path = apiOpenSave(true, proposed, PositionFilter(), PositionsFolder());
    if (path.isEmpty()) return;
    path = WithExtension(path);
    if (OutlineLoaded == 1) SaveFigury(path);
}

void SaveFigury(const QString& path) {
    const std::optional<QByteArray> bytes = PositionFileBytes();
    if (!bytes) {
        ShowError(kCannotSave);
        return;
    }
    const QFileInfo target(path);
    if (path != PositionPath && target.exists() && !target.isDir()) {
        auto* messages = platform::services().messages;
        if (!messages || !messages->AskYesNo(kExists)) return;
    }
    if (WriteRefused(path)) {
        ShowError(kProtected);
        return;
    }
    // Written beside the target and put in its place only once all of it is on the disk,
    // so a failed save leaves the old file as it was. A folder that takes no new files
    // still lets the player overwrite a file of theirs there: that one is written in place.
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) {
        ShowError(WriteRefused(path) ? kProtected : kCannotSave);
        return;
    }
    // A short write (disk full, size limit) is no error to the file itself, and commit
    // overlooks a failing flush of its buffer and, for a file written in place, any error
    // at all: check both here.
    const bool written = file.write(*bytes) == bytes->size() && file.flush();
    if (!written) file.cancelWriting();
    if (!file.commit() || !written) {
        ShowError(kCannotSave);
        return;
    }
    PositionPath = path;
}

void Prodolgit() {
    QString path = apiOpenSave(false, QString(), PositionFilter(), PositionsFolder());
    if (path.isEmpty()) return;
    path = WithExtension(path);

    // Everything is read and checked before anything on the board changes.
    std::optional<PositionContent> content;
    {
        QFile file(path);
        const platform::OpenResult opened = platform::OpenForReading(file);
        if (opened != platform::OpenResult::Opened) {
            ShowError(platform::OpenFailureText(opened));
            return;
        }
        content = ReadPosition(file);
    }
    if (!content) {
        ShowError(kCannotOpen);
        return;
    }

    const std::optional<QString> outlinePath =
        ChooseOutline(platform::FromCp1251(content->outlineName), *content);
    if (!outlinePath) return;
    if (OpenKvelt(*outlinePath) != 0) return;

    // Checked again against the outline now loaded: had its file changed since it was read
    // ahead, the pieces go home rather than off the board.
    const bool fits = PositionFits(*content, PieceExcluded);
    if (fits) ApplyPosition(*content);
    PositionPath = fits ? path : QString();
    StartPlay(/*home=*/!fits);
    JourneyLoaded(false);
    if (!fits) ShowError(kCannotOpen);
}

}  // namespace kv
