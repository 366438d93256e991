#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Generates the library's plain outlines by packing pieces into compact shapes.

Each outline is grown from a random set of distinct pieces: the first is laid down, and
every further piece goes where it touches the shape and leaves the shortest border (one of
the few best places, picked at random). The shape is the union of the pieces, so it can
always be covered by them; it is then checked like a hand drawing (check_art) and written
as data/outlines/NNNN.txt. The output is the same on every run (fixed seed), so running
it again rewrites the same files; it owns the numbers from --first on, the hand drawings
keep the numbers below.

Standard library only.
"""
import argparse
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_art  # noqa: E402

# Pieces in play -> how many outlines; names by how hard they are.
PLAN = [(3, 6), (4, 7), (5, 7), (6, 5), (7, 5), (8, 5), (9, 5), (10, 5), (11, 5), (12, 5)]
GRADES = [(5, 'Разминка'), (8, 'Этюд'), (11, 'Задача'), (12, 'Испытание')]
SEED = 4716


def grade_name(pieces):
    return next(word for limit, word in GRADES if pieces <= limit)


def border(cells):
    return sum((x + dx, y + dy) not in cells
               for x, y in cells for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))


def grow(pieces, rng, choices=3):
    """Lays the pieces one by one into a compact union; returns its cells."""
    shape = set(rng.choice(check_art.ORIENTATIONS[pieces[0]]))
    for p in pieces[1:]:
        candidates = []
        near = {(x + dx, y + dy) for x, y in shape
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))} - shape
        for orient in check_art.ORIENTATIONS[p]:
            for nx, ny in near:
                for sx, sy in orient:
                    placed = {(nx + dx - sx, ny + dy - sy) for dx, dy in orient}
                    if placed & shape:
                        continue
                    union = shape | placed
                    xs = [x for x, _ in union]
                    ys = [y for _, y in union]
                    # Short border first, then a squarer bounding box.
                    spread = abs((max(xs) - min(xs)) - (max(ys) - min(ys)))
                    candidates.append((border(union), spread, sorted(placed)))
        candidates = sorted(set((b, s, tuple(c)) for b, s, c in candidates))
        best = candidates[:choices]
        shape |= set(rng.choice(best)[2])
    return shape


def art_text(name, excluded, cells):
    xs = [x for x, _ in cells]
    ys = [y for _, y in cells]
    rows = [''.join('#' if (x, y) in cells else '.' for x in range(min(xs), max(xs) + 1))
            for y in range(min(ys), max(ys) + 1)]
    # Lay wide rather than tall, as the board is.
    if len(rows) > len(rows[0]):
        rows = [''.join(row[i] for row in rows) for i in range(len(rows[0]))]
    pieces_line = ' '.join(map(str, excluded)) if excluded else '-'
    return '\n'.join([name, pieces_line] + rows) + '\n'


def main():
    ap = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    here = os.path.dirname(os.path.abspath(__file__))
    ap.add_argument('--out', default=os.path.join(here, '..', 'data', 'outlines'))
    ap.add_argument('--first', type=int, default=51, help='number of the first file')
    args = ap.parse_args()
    rng = random.Random(SEED)
    number = args.first
    counters = {}
    seen = set()
    for in_play, count in PLAN:
        made = 0
        while made < count:
            pieces = sorted(rng.sample(range(1, 13), in_play))
            cells = grow(pieces, rng)
            key = frozenset(cells)
            if key in seen:
                continue
            seen.add(key)
            word = grade_name(in_play)
            counters[word] = counters.get(word, 0) + 1
            name = f'{word} {counters[word]:02d}'
            excluded = [p for p in range(1, 13) if p not in pieces]
            path = os.path.join(args.out, f'{number:04d}.txt')
            with open(path, 'w', encoding='utf-8') as f:
                f.write(art_text(name, excluded, cells))
            fault = check_art.check_file(path)
            if fault:
                print(f'{path}: {fault}')
                return 1
            number += 1
            made += 1
    print(f'{number - args.first} outlines written, {args.first:04d}..{number - 1:04d}')
    return 0


if __name__ == '__main__':
    sys.exit(main())
