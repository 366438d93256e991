// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/ProgressStore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <bit>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <numeric>

#include "solver/Board.h"

namespace kv {

const QByteArray kProgressHeader = QByteArrayLiteral("kvelt-progress 1");

namespace {

constexpr const char* kStates[] = {"new", "playing", "shown", "helped", "solved"};
// No outline lasts longer, and no history either: a bigger number is damage.
constexpr std::int64_t kMaxMs = std::int64_t(1) << 50;
constexpr int kMaxSteps = 1 << 20;

bool IsHexKey(QByteArrayView key) {
    if (key.size() != 40) return false;
    return std::all_of(key.begin(), key.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// A decimal number in lo..hi, optionally negative; the whole view.
bool Number(QByteArrayView text, std::int64_t lo, std::int64_t hi, std::int64_t& out) {
    if (text.isEmpty() || text.size() > 19) return false;
    qsizetype i = 0;
    const bool negative = text[0] == '-';
    if (negative && ++i == text.size()) return false;
    std::int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        v = v * 10 + (text[i] - '0');
        if (v > (std::int64_t(1) << 53)) return false;
    }
    if (negative) v = -v;
    if (v < lo || v > hi) return false;
    out = v;
    return true;
}

// Splits text at sep into exactly n numbers in lo..hi.
bool Numbers(QByteArrayView text, char sep, std::int64_t lo, std::int64_t hi, std::int64_t* out,
             int n) {
    // Each field's end found as it is read, not searched for: a history holds thousands of
    // numbers of a digit or two, shorter than a search costs.
    const char* at = text.data();
    const char* const end = at + text.size();
    for (int k = 0; k < n; ++k) {
        const bool last = k + 1 == n;
        const char* const from = at;
        while (at != end && (last || *at != sep)) ++at;
        if (!last && at == end) return false;
        if (!Number(QByteArrayView(from, at - from), lo, hi, out[k])) return false;
        if (!last) ++at;
    }
    return true;
}

bool IsDate(QByteArrayView d) {
    static const char pattern[] = "dddd-dd-dd";
    if (d.size() != 10) return false;
    for (int i = 0; i < 10; ++i) {
        if (pattern[i] == 'd' ? (d[i] < '0' || d[i] > '9') : d[i] != pattern[i]) return false;
    }
    return true;
}

bool IsTime(QByteArrayView t) {
    return t.size() == 20 && IsDate(t.first(10)) && t[10] == 'T' && t[19] == 'Z' &&
           std::isdigit(static_cast<unsigned char>(t[11])) && t[13] == ':' && t[16] == ':';
}

void AppendArrangement(QByteArray& out, const KeptArrangement& a) {
    out += QByteArray::number(a.current);
    out += ':';
    for (int p = 1; p <= 12; ++p) {
        for (int k = 0; k < 3; ++k) {
            if (p > 1 || k > 0) out += ',';
            out += QByteArray::number(a.place[p][k]);
        }
    }
}

bool ParseArrangement(QByteArrayView text, KeptArrangement& a) {
    const qsizetype colon = text.indexOf(':');
    std::int64_t v = 0;
    if (colon < 0 || !Number(text.first(colon), 1, 12, v)) return false;
    a.current = static_cast<int>(v);
    std::int64_t n[36];
    if (!Numbers(text.sliced(colon + 1), ',', -64, 64, n, 36)) return false;
    for (int p = 1; p <= 12; ++p) {
        a.place[p][0] = static_cast<int>(n[3 * (p - 1)]);
        a.place[p][1] = static_cast<int>(n[3 * (p - 1) + 1]);
        a.place[p][2] = static_cast<int>(n[3 * (p - 1) + 2]);
        if (a.place[p][2] < 1 || a.place[p][2] > 8) return false;
    }
    return true;
}

bool ParseField(QByteArrayView name, QByteArrayView value, ProgressRecord& r) {
    std::int64_t n[4];
    if (name == "state") {
        for (int s = 0; s < 5; ++s) {
            if (value == kStates[s]) {
                r.state = static_cast<OutlineState>(s);
                return true;
            }
        }
        return false;
    }
    if (name == "best") {
        if (!Numbers(value, ',', 0, kMaxMs, n, 3) || n[1] > kMaxSteps || n[2] > kMaxSteps)
            return false;
        r.bestMs = n[0];
        r.bestSteps = static_cast<int>(n[1]);
        r.bestHints = static_cast<int>(n[2]);
        return true;
    }
    if (name == "first" || name == "solved") {
        if (!IsDate(value)) return false;
        (name == "first" ? r.firstSolved : r.lastSolved) = value.toByteArray();
        return true;
    }
    if (name == "last") {
        if (!IsTime(value)) return false;
        r.lastPlayed = value.toByteArray();
        return true;
    }
    if (name == "time") {
        if (!Number(value, 0, kMaxMs, n[0])) return false;
        r.totalMs = n[0];
        return true;
    }
    if (name == "attempt") {
        if (!Numbers(value, ',', 0, kMaxMs, n, 3) || n[1] > kMaxSteps || n[2] > 1) return false;
        r.attemptMs = n[0];
        r.attemptHints = static_cast<int>(n[1]);
        r.attemptShown = n[2] == 1;
        return true;
    }
    if (name == "grade") {
        // Not graded yet is no field at all; grade 0, no tiling, is kept like the others.
        if (!Numbers(value, ',', 0, std::int64_t(1) << 53, n, 3) || n[0] > 5 || n[2] > 1 ||
            (n[0] == 0 && n[1] != 0))
            return false;
        r.graded = true;
        r.grade = static_cast<int>(n[0]);
        r.tilings = static_cast<std::uint64_t>(n[1]);
        r.tilingsCapped = n[2] == 1;
        return true;
    }
    if (name == "history") {
        const qsizetype semi = value.indexOf(';');
        if (semi < 0 || !Number(value.first(semi), 0, kMaxSteps, n[0])) return false;
        value = value.sliced(semi + 1);
        r.history.clear();
        while (true) {
            const qsizetype end = value.indexOf(';');
            KeptArrangement a;
            if (!ParseArrangement(end < 0 ? value : value.first(end), a)) return false;
            r.history.push_back(a);
            if (end < 0) break;
            value = value.sliced(end + 1);
            if (static_cast<int>(r.history.size()) > kMaxSteps) return false;
        }
        if (n[0] >= static_cast<std::int64_t>(r.history.size())) return false;
        r.historyIndex = static_cast<int>(n[0]);
        return true;
    }
    // A later version's field: kept out, not damage.
    return true;
}

}  // namespace

QByteArray StateWord(OutlineState state) {
    return kStates[static_cast<int>(state)];
}

QByteArray OutlineKey(const int (*cells)[2], int cellCount, const int* excluded13) {
    // The library keys every file it lists: the text is made without allocations.
    int sorted[64];
    const int n = std::clamp(cellCount, 0, 64);
    // Cells of the board, each once, as every sound outline has them, are put in order by a
    // bit per cell, far cheaper than a sort; anything else is sorted.
    constexpr int kBoardKeys = kColumns * 64;
    std::uint64_t bits[kBoardKeys / 64] = {};
    bool distinct = true;
    for (int i = 0; i < n && distinct; ++i) {
        const int c = cells[i][0] * 64 + cells[i][1];
        distinct = OnBoard(cells[i][0], cells[i][1]) && !(bits[c / 64] >> (c % 64) & 1);
        if (distinct) bits[c / 64] |= std::uint64_t{1} << (c % 64);
    }
    if (distinct) {
        int at = 0;
        for (int w = 0; w < kBoardKeys / 64; ++w) {
            for (std::uint64_t b = bits[w]; b; b &= b - 1) {
                sorted[at++] = w * 64 + std::countr_zero(b);
            }
        }
    } else {
        for (int i = 0; i < n; ++i) sorted[i] = cells[i][0] * 64 + cells[i][1];
        std::sort(sorted, sorted + n);
    }
    char text[64 * 8 + 64];
    int at = 0;
    const auto put = [&](int v) {
        if (v < 0) {
            text[at++] = '-';
            v = -v;
        }
        if (v >= 10) text[at++] = static_cast<char>('0' + v / 10 % 10);
        text[at++] = static_cast<char>('0' + v % 10);
    };
    for (int i = 0; i < n; ++i) {
        put(sorted[i] / 64);
        text[at++] = ',';
        put(sorted[i] % 64);
        text[at++] = ' ';
    }
    text[at++] = '|';
    for (int p = 1; p <= 12; ++p) {
        if (excluded13[p] != 1) continue;
        text[at++] = ' ';
        put(p);
    }
    return QCryptographicHash::hash(QByteArrayView(text, at), QCryptographicHash::Sha1).toHex();
}

QByteArray FormatRecord(const ProgressRecord& r) {
    QByteArray out;
    out.reserve(160 + static_cast<qsizetype>(r.history.size()) * 110);
    out += r.key;
    out += "\tstate=";
    out += kStates[static_cast<int>(r.state)];
    if (r.bestMs >= 0) {
        out += "\tbest=" + QByteArray::number(r.bestMs) + ',' + QByteArray::number(r.bestSteps) +
               ',' + QByteArray::number(r.bestHints);
    }
    if (!r.firstSolved.isEmpty()) out += "\tfirst=" + r.firstSolved;
    if (!r.lastSolved.isEmpty()) out += "\tsolved=" + r.lastSolved;
    if (!r.lastPlayed.isEmpty()) out += "\tlast=" + r.lastPlayed;
    out += "\ttime=" + QByteArray::number(r.totalMs);
    if (r.attemptMs > 0 || r.attemptHints > 0 || r.attemptShown) {
        out += "\tattempt=" + QByteArray::number(r.attemptMs) + ',' +
               QByteArray::number(r.attemptHints) + ',' + (r.attemptShown ? '1' : '0');
    }
    if (r.graded) {
        out += "\tgrade=" + QByteArray::number(r.grade) + ',' + QByteArray::number(r.tilings) +
               ',' + (r.tilingsCapped ? '1' : '0');
    }
    if (!r.history.empty()) {
        out += "\thistory=" + QByteArray::number(r.historyIndex);
        for (const KeptArrangement& a : r.history) {
            out += ';';
            AppendArrangement(out, a);
        }
    }
    return out;
}

std::optional<ProgressRecord> ParseRecord(QByteArrayView line) {
    ProgressRecord r;
    qsizetype tab = line.indexOf('\t');
    if (tab < 0 || !IsHexKey(line.first(tab))) return std::nullopt;
    r.key = line.first(tab).toByteArray();
    bool stated = false;
    while (tab >= 0) {
        line = line.sliced(tab + 1);
        tab = line.indexOf('\t');
        const QByteArrayView field = tab < 0 ? line : line.first(tab);
        const qsizetype eq = field.indexOf('=');
        if (eq <= 0) return std::nullopt;
        const QByteArrayView name = field.first(eq);
        if (!ParseField(name, field.sliced(eq + 1), r)) return std::nullopt;
        stated = stated || name == "state";
    }
    if (!stated) return std::nullopt;
    // A solve has its date and its numbers; a kept position belongs to an unsolved outline.
    if (r.Solved() && (r.bestMs < 0 || r.firstSolved.isEmpty())) return std::nullopt;
    return r;
}

std::optional<std::vector<ProgressRecord>> ParseProgressFile(QByteArrayView bytes) {
    std::vector<ProgressRecord> records;
    if (!bytes.startsWith(kProgressHeader)) return std::nullopt;
    qsizetype at = 0;
    bool first = true;
    while (at < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', at);
        // Every line ends in a line feed: a file cut short is damaged.
        if (end < 0) return std::nullopt;
        QByteArrayView line = bytes.sliced(at, end - at);
        at = end + 1;
        if (first) {
            if (line != kProgressHeader) return std::nullopt;
            first = false;
            continue;
        }
        std::optional<ProgressRecord> r = ParseRecord(line);
        if (!r) return std::nullopt;
        records.push_back(std::move(*r));
    }
    if (first) return std::nullopt;
    return records;
}

ProgressStore::ProgressStore(QString folder) : folder_(std::move(folder)) {
    writer_ = std::thread([this] { Run(); });
}

ProgressStore::~ProgressStore() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    writer_.join();
}

QString ProgressStore::DefaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/kvelt/progress");
}

QString ProgressStore::FileOf(const QByteArray& key) const {
    // Sixteen files by the key's first digit: a write rewrites a sixteenth of the records.
    return folder_ + QLatin1Char('/') + QLatin1Char(key.isEmpty() ? '0' : key[0]) +
           QStringLiteral(".txt");
}

std::optional<std::vector<ProgressRecord>> ProgressStore::ReadFile(const QString& path,
                                                                   QString* trouble) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::vector<ProgressRecord>{};
    const QByteArray bytes = file.readAll();
    file.close();
    std::optional<std::vector<ProgressRecord>> records = ParseProgressFile(bytes);
    if (records) return records;
    // Set aside under a name of its own, so that nothing reads it again and the player's
    // records can still be looked at by hand.
    const QFileInfo info(path);
    QString aside;
    for (int k = 1;; ++k) {
        aside = info.path() + QLatin1Char('/') + info.completeBaseName() +
                QStringLiteral("-damaged-%1.txt").arg(k);
        if (!QFileInfo::exists(aside)) break;
    }
    const bool moved = QFile::rename(path, aside);
    const QString why = moved
                            ? QStringLiteral("Записи об успехах повреждены: файл отложен как «%1».")
                                  .arg(QFileInfo(aside).fileName())
                            : QStringLiteral("Записи об успехах повреждены и не читаются.");
    if (trouble) {
        *trouble = why;
    } else if (onTrouble) {
        onTrouble(why);
    }
    return std::nullopt;
}

QHash<QByteArray, ProgressRecord> ProgressStore::LoadAll() {
    Flush();
    // The second half of the files read and parsed on a thread of its own meanwhile: the
    // parse is the cost, and the machine has a second core. Its trouble is told from here.
    static constexpr char kDigits[] = "0123456789abcdef";
    std::optional<std::vector<ProgressRecord>> files[16];
    QString trouble[16];
    std::thread second([&] {
        for (int i = 8; i < 16; ++i)
            files[i] = ReadFile(FileOf(QByteArray(1, kDigits[i])), &trouble[i]);
    });
    for (int i = 0; i < 8; ++i) files[i] = ReadFile(FileOf(QByteArray(1, kDigits[i])), &trouble[i]);
    second.join();
    QHash<QByteArray, ProgressRecord> all;
    all.reserve(std::accumulate(std::begin(files), std::end(files), qsizetype(0),
                                [](qsizetype n, const auto& f) {
                                    return n + (f ? static_cast<qsizetype>(f->size()) : 0);
                                }));
    for (int i = 0; i < 16; ++i) {
        if (!trouble[i].isEmpty() && onTrouble) onTrouble(trouble[i]);
        std::optional<std::vector<ProgressRecord>>& records = files[i];
        const char digit = kDigits[i];
        if (!records) continue;
        for (ProgressRecord& r : *records) {
            // A record in the wrong file was not written by this store.
            if (r.key[0] == digit) all.insert(r.key, std::move(r));
        }
    }
    return all;
}

std::optional<ProgressRecord> ProgressStore::Load(const QByteArray& key) {
    Flush();
    std::optional<std::vector<ProgressRecord>> records = ReadFile(FileOf(key));
    if (!records) return std::nullopt;
    for (ProgressRecord& r : *records) {
        if (r.key == key) return std::move(r);
    }
    return std::nullopt;
}

void ProgressStore::Save(const ProgressRecord& record) {
    {
        std::lock_guard lock(mutex_);
        const auto same = std::find_if(queue_.begin(), queue_.end(), [&](const ProgressRecord& w) {
            return w.key == record.key;
        });
        if (same != queue_.end()) {
            *same = record;
        } else {
            queue_.push_back(record);
        }
    }
    wake_.notify_one();
}

void ProgressStore::Flush() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

void ProgressStore::Run() {
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return quit_ || !queue_.empty(); });
        if (queue_.empty()) break;  // quit, with everything written
        const ProgressRecord record = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        Write(record.key, FormatRecord(record));
        lock.lock();
        busy_ = false;
        if (queue_.empty()) idle_.notify_all();
    }
    idle_.notify_all();
}

bool ProgressStore::Write(const QByteArray& key, const QByteArray& line) {
    const QString path = FileOf(key);
    QByteArray old;
    {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) old = file.readAll();
    }
    // What is there may be another copy's newer records: it is kept line by line. A file
    // that is not the store's own is set aside rather than overwritten.
    if (!old.isEmpty() && !ParseProgressFile(old)) {
        ReadFile(path);
        old.clear();
    }
    QByteArray bytes;
    bytes.reserve(old.size() + line.size() + 32);
    bytes += kProgressHeader + '\n';
    bool replaced = false;
    const QByteArray prefix = key + '\t';
    qsizetype at = old.indexOf('\n') + 1;
    while (at > 0 && at < old.size()) {
        const qsizetype end = old.indexOf('\n', at);
        const QByteArrayView was = QByteArrayView(old).sliced(at, end - at);
        if (was.startsWith(prefix)) {
            if (!replaced) bytes += line + '\n';
            replaced = true;
        } else {
            bytes += was;
            bytes += '\n';
        }
        at = end + 1;
    }
    if (!replaced) bytes += line + '\n';

    QDir().mkpath(folder_);
    QSaveFile out(path);
    // commit overlooks a flush of its buffer that fails (a full disk) and would put an empty
    // file in place: the flush is checked here, and a failed write is cancelled.
    bool written =
        out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.flush();
    if (!written) out.cancelWriting();
    written = out.commit() && written;
    if (!written && onTrouble) {
        onTrouble(QStringLiteral(
            "Успехи не записаны: нет места на диске или доступа. Игра идёт дальше."));
    }
    return written;
}

}  // namespace kv
