// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// What the game keeps for the player about each outline: whether it is solved, the best
// solve, the time spent, and the position and steps of an outline not yet solved. One text
// file per group of records under $XDG_DATA_HOME/kvelt/progress/ (docs/progress.md).
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace kv {

// In the order of rank: a record never falls back to a lower state.
enum class OutlineState { NotStarted, InProgress, Shown, SolvedWithHints, SolvedAlone };

// Where every piece stands and which one is current, as the history keeps it.
struct KeptArrangement {
    int current = 0;
    int place[13][3] = {};  // pieces 1..12: column, row, orientation
    bool operator==(const KeptArrangement&) const = default;
};

struct ProgressRecord {
    QByteArray key;  // OutlineKey of the outline
    OutlineState state = OutlineState::NotStarted;
    // The best solve without «Решение»: time, and fewest steps (perhaps of another solve);
    // hints: those used in the fastest solve. -1 while there is none.
    std::int64_t bestMs = -1;
    int bestSteps = -1;
    int bestHints = -1;
    QByteArray firstSolved;    // "yyyy-MM-dd", local date; empty until solved
    QByteArray lastSolved;     // the same, of the latest solve
    QByteArray lastPlayed;     // "yyyy-MM-ddTHH:mm:ssZ"
    std::int64_t totalMs = 0;  // all the time played on it
    // The attempt under way: its time, hints, and whether «Решение» was used in it.
    std::int64_t attemptMs = 0;
    int attemptHints = 0;
    bool attemptShown = false;
    // A cached grade (the player's own outlines), once graded: 0 when there is no tiling.
    bool graded = false;
    int grade = 0;
    std::uint64_t tilings = 0;
    bool tilingsCapped = false;
    // While unsolved: the steps since the outline was loaded and the one on the board.
    std::vector<KeptArrangement> history;
    int historyIndex = 0;

    bool Solved() const { return state >= OutlineState::SolvedWithHints; }
    bool operator==(const ProgressRecord&) const = default;
};

// A record of key with nothing played yet.
inline ProgressRecord NewRecord(const QByteArray& key) {
    ProgressRecord r;
    r.key = key;
    return r;
}

// The key of an outline: its cells (as they lie on the board, in any order) and the pieces
// it leaves out; 40 hex digits. A copied or renamed file has the same key.
QByteArray OutlineKey(const int (*cells)[2], int cellCount, const int* excluded13);

// One record as a line of the store (no line end), and back. Parsing refuses anything but a
// line this writer could have written (unknown fields aside).
QByteArray FormatRecord(const ProgressRecord& record);
std::optional<ProgressRecord> ParseRecord(QByteArrayView line);
// A whole file of the store: its first line, then one record a line. nullopt when any line
// is damaged: the file is then set aside whole, never half read.
extern const QByteArray kProgressHeader;
std::optional<std::vector<ProgressRecord>> ParseProgressFile(QByteArrayView bytes);

class ProgressStore {
  public:
    // folder: where the record files are; made on the first write.
    explicit ProgressStore(QString folder);
    ~ProgressStore();
    ProgressStore(const ProgressStore&) = delete;
    ProgressStore& operator=(const ProgressStore&) = delete;

    // $XDG_DATA_HOME/kvelt/progress (~/.local/share/kvelt/progress).
    static QString DefaultFolder();
    const QString& Folder() const { return folder_; }
    // The file that holds the record of key.
    QString FileOf(const QByteArray& key) const;

    // Every record, after the writes handed over so far are done. A damaged file is renamed
    // "NN-damaged-K.txt" and its records are not read; the player is told once.
    QHash<QByteArray, ProgressRecord> LoadAll();
    // One record, or nullopt when there is none (or its file is damaged).
    std::optional<ProgressRecord> Load(const QByteArray& key);
    // Hands a copy of the record to the writer thread, which formats and writes it: a long
    // history costs the caller a copy, never its formatting. Writes of one key not yet done
    // are replaced by the newest.
    void Save(const ProgressRecord& record);
    // Waits until every record handed over is written (or has failed).
    void Flush();
    // Writes at once, on the calling thread: reads the record's file again, so that what
    // another running copy wrote there stays, replaces or adds this line, and puts the file
    // in place atomically. False when it could not be written; the old file is then whole.
    bool Write(const QByteArray& key, const QByteArray& line);

    // Called on the user-interface thread's side with the reason for a failed write or a
    // damaged file; Journey tells the player. Runs on the thread that failed.
    std::function<void(const QString&)> onTrouble;

  private:
    void Run();
    // A damaged file is set aside; why goes to trouble when given, else to onTrouble.
    std::optional<std::vector<ProgressRecord>> ReadFile(const QString& path,
                                                        QString* trouble = nullptr);

    QString folder_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<ProgressRecord> queue_;
    bool busy_ = false;
    bool quit_ = false;
    std::thread writer_;
};

QByteArray StateWord(OutlineState state);

}  // namespace kv
