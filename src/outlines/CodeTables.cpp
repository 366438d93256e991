// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "outlines/CodeTables.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <unordered_map>

namespace kv {

int EncodeTable[256];
int DecodeTable[256];

double BasicRnd::Restart(double seed) {
    const auto b = std::bit_cast<std::uint32_t>(static_cast<float>(seed));
    x_ = (b + (b >> 24)) & 0xFFFFFFu;
    return Next();
}

double BasicRnd::Next() {
    Step();
    return x_ / 16777216.0;
}

int BasicRnd::NextByte() {
    Step();
    return 32 + static_cast<int>((static_cast<std::uint64_t>(x_) * 224u) >> 24);
}

void MakeCodeTables(const QByteArray& name) {
    long long seed = -4716;
    for (const char ch : name) seed -= static_cast<unsigned char>(ch);
    // A build takes over a thousand draws, and the same tables are asked for again and again:
    // by the preview and then the load of one file, by the fuzzer's runs, and by the library
    // checking thousands of files whose names share far fewer byte sums. Kept per seed, at
    // 512 bytes a seed, a few thousand at most.
    struct Tables {
        std::uint8_t encode[256];
        std::uint8_t decode[256];
    };
    static std::unordered_map<long long, Tables> built;
    auto found = built.find(seed);
    if (found == built.end()) {
        if (built.size() >= 4096) built.clear();
        Tables t{};
        BasicRnd rnd;
        rnd.Restart(static_cast<double>(seed));
        // The generator has full period, so every plain byte is hit and each loop ends.
        for (int s = 32; s <= 255; ++s) {
            int p = rnd.NextByte();
            while (t.encode[p] != 0) p = rnd.NextByte();
            t.encode[p] = static_cast<std::uint8_t>(s);
            t.decode[s] = static_cast<std::uint8_t>(p);
        }
        found = built.emplace(seed, t).first;
    }
    for (int i = 0; i < 256; ++i) {
        EncodeTable[i] = found->second.encode[i];
        DecodeTable[i] = found->second.decode[i];
    }
}

QByteArray DecodeLine(const QByteArray& text) {
    QByteArray plain(text.size(), '\0');
    for (qsizetype i = 0; i < text.size(); ++i) {
        plain[i] = static_cast<char>(DecodeTable[static_cast<unsigned char>(text[i])]);
    }
    return plain;
}

QByteArray EncodeLine(const QByteArray& text) {
    QByteArray stored(text.size(), '\0');
    for (qsizetype i = 0; i < text.size(); ++i) {
        stored[i] = static_cast<char>(EncodeTable[static_cast<unsigned char>(text[i])]);
    }
    return stored;
}

void DiscardCodeTables() {
    std::memset(EncodeTable, 0, sizeof EncodeTable);
    std::memset(DecodeTable, 0, sizeof DecodeTable);
}

}  // namespace kv
