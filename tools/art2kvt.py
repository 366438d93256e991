#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Encodes outline drawings (data/outlines/NNNN.txt) into the game's outline files
(data/Examples/NNNN.kvt).

The library is normally rebuilt with scripts/make_outlines.sh and the kvelt-outline tool;
this script writes the same bytes without a build, and decodes them again to make sure.

File layout, CR LF line ends, Windows-1251:
  1. the outline name;
  2. the cells, each as column and row in two characters right-aligned with blanks, in
     the order check_art.board_cells gives, scrambled by the name's code table;
  3. "0", or the count of pieces left out followed by their numbers, comma-separated;
  4. a short scrambled trailer.
The code table comes from the generator classic BASIC's Rnd uses, restarted from the
seed -4716 minus the sum of the name's bytes.

Standard library only.
"""
import argparse
import glob
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_art  # noqa: E402

TRAILER = b'kvelt'


class BasicRnd:
    def __init__(self):
        self.x = 0x50000

    def step(self):
        self.x = (self.x * 1140671485 + 12820163) % (1 << 24)
        return self.x

    def restart(self, seed):
        b = struct.unpack('<I', struct.pack('<f', float(seed)))[0]
        self.x = (b + (b >> 24)) % (1 << 24)
        return self.step() / (1 << 24)  # the restart's own value, which callers drop

    def draw(self):
        return 32 + ((self.step() * 224) >> 24)


def code_tables(name_bytes):
    """(encode, decode): encode[plain] = stored, decode[stored] = plain."""
    rnd = BasicRnd()
    rnd.restart(-4716 - sum(name_bytes))
    encode = [0] * 256
    decode = [0] * 256
    for s in range(32, 256):
        p = rnd.draw()
        while encode[p] != 0:
            p = rnd.draw()
        encode[p] = s
        decode[s] = p
    return encode, decode


def self_test():
    """The generator against known values; the tables must be inverse permutations."""
    rnd = BasicRnd()
    first = rnd.restart(-4716)
    assert f'{first:.8f}' == '0.43286824', first
    draws = [rnd.draw() for _ in range(5)]
    assert draws == [138, 130, 136, 50, 213], draws
    encode, decode = code_tables('Прямоугольник 6х10'.encode('cp1251'))
    assert sorted(encode[32:]) == list(range(32, 256))
    assert all(decode[encode[p]] == p for p in range(32, 256))


def kvt_bytes(name, excluded, cells):
    name_bytes = name.encode('cp1251')
    encode, _ = code_tables(name_bytes)
    plain = ''.join(f'{c:>2}{r:>2}' for c, r in cells).encode('ascii')
    count = ','.join(str(v) for v in [len(excluded)] + excluded).encode('ascii')
    lines = [name_bytes, bytes(encode[b] for b in plain), count,
             bytes(encode[b] for b in TRAILER)]
    return b''.join(line + b'\r\n' for line in lines)


def decode_kvt(data):
    """(name, excluded, cells) read back the way the game reads them."""
    lines = data.split(b'\r\n')
    _, decode = code_tables(lines[0])
    plain = bytes(decode[b] for b in lines[1]).decode('ascii')
    fields = [int(v) for v in lines[2].split(b',')]
    cells = [(int(plain[i:i + 2]), int(plain[i + 2:i + 4])) for i in range(0, len(plain), 4)]
    return lines[0].decode('cp1251'), fields[1:1 + fields[0]], cells


def main():
    ap = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    here = os.path.dirname(os.path.abspath(__file__))
    ap.add_argument('--src', default=os.path.join(here, '..', 'data', 'outlines'))
    ap.add_argument('--out', default=os.path.join(here, '..', 'data', 'Examples'))
    args = ap.parse_args()
    self_test()
    os.makedirs(args.out, exist_ok=True)
    files = sorted(glob.glob(os.path.join(args.src, '*.txt')))
    for path in files:
        with open(path, encoding='utf-8') as f:
            try:
                name, excluded, drawn = check_art.parse_art(f.read())
            except check_art.ArtError as e:
                print(f'{path}: {e}')
                return 1
        cells = check_art.board_cells(drawn)
        data = kvt_bytes(name, excluded, cells)
        if decode_kvt(data) != (name, excluded, cells):
            print(f'{path}: does not decode back to itself')
            return 1
        target = os.path.join(args.out, os.path.splitext(os.path.basename(path))[0] + '.kvt')
        with open(target, 'wb') as f:
            f.write(data)
    print(f'{len(files)} outlines written to {os.path.normpath(args.out)}')
    return 0


if __name__ == '__main__':
    sys.exit(main())
