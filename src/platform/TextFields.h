// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// Reading the fields of the game's text files the way they were written: lines ended by
// CR LF (LF alone reads the same), numbers separated by commas, blanks or line ends, and a
// first text field that may be quoted.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <optional>

namespace kv::platform {

// Reads bytes held in memory, or a device in chunks of its own; either way the same code
// splits the fields. A random-access device is put back at the first byte not consumed when
// the reader goes, so readers may follow one another on one file.
class FieldReader {
  public:
    explicit FieldReader(QIODevice& device) : device_(&device) {}
    // The bytes are not copied: they must outlive the reader.
    explicit FieldReader(QByteArrayView bytes)
        : chunk_(QByteArray::fromRawData(bytes.data(), bytes.size())) {}
    ~FieldReader();
    FieldReader(const FieldReader&) = delete;
    FieldReader& operator=(const FieldReader&) = delete;

    // The rest of the current line without its line end. With keep given, only its first
    // keep bytes are returned; the rest of the line is still passed over.
    QByteArray ReadLine(qsizetype keep = -1);
    // A text field: leading blanks skipped, up to a comma or the line end; a field that
    // begins with a double quote runs to the closing quote, without the quotes (a quote
    // left open ends with its line).
    QByteArray ReadTextField();
    // One number. Leading blanks and line ends are skipped; the field ends at a comma, a
    // blank or a line end. nullopt at the end of the data or for a field without digits.
    std::optional<long long> ReadNumber();
    bool AtEnd() { return !Fill(); }

  private:
    // True while there is a byte to read, fetching the next chunk when needed.
    bool Fill() {
        if (pos_ < chunk_.size()) return true;
        if (!device_) return false;
        chunk_ = device_->read(kChunkSize);
        pos_ = 0;
        return !chunk_.isEmpty();
    }
    bool Peek(char& ch) {
        if (!Fill()) return false;
        ch = chunk_.at(pos_);  // never detach: the chunk may be the caller's bytes
        return true;
    }
    bool Get(char& ch) {
        if (!Peek(ch)) return false;
        ++pos_;
        return true;
    }
    void SkipLineEnd();

    static constexpr qint64 kChunkSize = 4096;
    QIODevice* device_ = nullptr;  // none when reading from memory
    QByteArray chunk_;
    qsizetype pos_ = 0;
};

// The value of a number's text: optional blanks, an optional sign, digits; stops at the
// first other character. nullopt when there are no digits. Saturates far beyond 32 bits.
std::optional<long long> NumberValue(QByteArrayView text);

}  // namespace kv::platform
