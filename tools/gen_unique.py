#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Makes the library's outlines of one tiling with `kvelt-outline generate`.

For every piece count from 3 to 12 and every grade it asks the generator for outlines from
fixed seeds (every third with holes allowed), keeps those whose shape is new, names each by
the grade the generator reached and its piece count, and writes its drawing (`kvelt-outline show`) as data/outlines/NNNN.txt
from --first on. The generator is deterministic, so running this again rewrites the same
files; scripts/make_outlines.sh then encodes them with the rest.

Standard library only. Usage: tools/gen_unique.py TOOL [--first N] [--per K]
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

WORDS = {1: 'Лёгкий', 2: 'Простой', 3: 'Средний', 4: 'Трудный', 5: 'Мастер'}
SEED_BASE = 26000


def normal(rows):
    cells = {(x, y) for y, row in enumerate(rows) for x, ch in enumerate(row) if ch == '#'}
    return frozenset(cells)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    here = os.path.dirname(os.path.abspath(__file__))
    ap.add_argument('tool')
    ap.add_argument('--out', default=os.path.join(here, '..', 'data', 'outlines'))
    ap.add_argument('--first', type=int, default=130)
    ap.add_argument('--per', type=int, default=6, help='seeds for each piece count and grade')
    args = ap.parse_args()
    number = args.first
    seen = set()
    counters = {}
    with tempfile.TemporaryDirectory() as tmp:
        kvt = os.path.join(tmp, 'g.kvt')
        for pieces in range(3, 13):
            for grade in range(1, 6):
                for k in range(args.per):
                    seed = SEED_BASE + pieces * 1000 + grade * 100 + k
                    made = subprocess.run(
                        [args.tool, 'generate', '--pieces', str(pieces), '--grade', str(grade),
                         '--seed', str(seed), *(['--holes'] if k % 3 == 2 else []), '-o', kvt],
                        capture_output=True, text=True)
                    if made.returncode != 0:
                        print(f'{pieces} pieces, grade {grade}, seed {seed}: {made.stderr.strip()}')
                        continue
                    reached = int(re.search(r'grade (\d)', made.stdout).group(1))
                    shown = subprocess.run([args.tool, 'show', kvt], capture_output=True,
                                           text=True, check=True).stdout.split('\n')
                    rows = [r for r in shown[2:] if r]
                    key = (normal(rows), shown[1])
                    if key in seen:
                        continue
                    seen.add(key)
                    counters[(reached, pieces)] = counters.get((reached, pieces), 0) + 1
                    name = f'{WORDS[reached]} {pieces}.{counters[(reached, pieces)]}'
                    path = os.path.join(args.out, f'{number:04d}.txt')
                    with open(path, 'w', encoding='utf-8') as f:
                        f.write('\n'.join([name, shown[1]] + rows) + '\n')
                    number += 1
    print(f'{number - args.first} outlines written, {args.first:04d}..{number - 1:04d}')
    return 0


if __name__ == '__main__':
    sys.exit(main())
