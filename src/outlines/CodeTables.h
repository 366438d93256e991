// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The substitution that scrambles two lines of an outline file, keyed by its name.
#pragma once

#include <QByteArray>
#include <cstdint>

namespace kv {

// The generator outline files are scrambled with: a 24-bit linear congruential sequence,
// restarted from a negative seed as classic BASIC's Rnd does.
class BasicRnd {
  public:
    // Restarts from a negative seed; returns the value of the restart (which callers drop).
    double Restart(double seed);
    // The next value, 0 <= r < 1.
    double Next();
    // The next draw of p = 32 + whole part of r * 224, in integers.
    int NextByte();
    std::uint32_t State() const { return x_; }

  private:
    void Step() { x_ = (x_ * 1140671485u + 12820163u) & 0xFFFFFFu; }
    std::uint32_t x_ = 0x50000;
};

// EncodeTable[plain] = stored, DecodeTable[stored] = plain; entries 0..31 are 0.
extern int EncodeTable[256];
extern int DecodeTable[256];

// Builds both tables for an outline name given as the bytes of line 1.
void MakeCodeTables(const QByteArray& name);
// The plain text of a scrambled line by the current DecodeTable; bytes below 32 become 0.
QByteArray DecodeLine(const QByteArray& text);
// The stored form of a plain line by the current EncodeTable (for tools and tests).
QByteArray EncodeLine(const QByteArray& text);
// Forgets the tables once a file has been read.
void DiscardCodeTables();

}  // namespace kv
