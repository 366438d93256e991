#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Fits a picture drawn freely to the pieces: keeps as much of it as distinct pieces cover.

A picture (line 1 its name, line 2 ignored, then rows of '#' and '.') rarely has a tiling as
drawn. This packs distinct pentominoes inside it, leaving as few of its cells out as it
can, and writes the drawing of what they cover with the line of pieces left out, ready for
scripts/make_outlines.sh. The search is deterministic. Standard library only.

Usage: tools/fit_art.py PICTURE.txt OUT.txt [--most-left N]
"""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_art  # noqa: E402


def pack(cells, skips, node_limit=400_000):
    """Distinct pieces covering all cells but `skips` of them; their placements, or None."""
    order = sorted(cells, key=lambda c: (c[1], c[0]))
    # Placements whose first cell in row order is c, for every cell c.
    starts = {c: [] for c in order}
    for p, shapes in check_art.ORIENTATIONS.items():
        for shape in shapes:
            first = min(shape, key=lambda c: (c[1], c[0]))
            for c in order:
                placed = frozenset((c[0] + x - first[0], c[1] + y - first[1]) for x, y in shape)
                if placed <= cells:
                    starts[c].append((p, placed))
    taken, used, chosen = set(), set(), []
    nodes = [0]

    def run(i, left):
        nodes[0] += 1
        if nodes[0] > node_limit:
            return False
        while i < len(order) and order[i] in taken:
            i += 1
        if i == len(order):
            return True
        c = order[i]
        for p, placed in starts[c]:
            if p in used or placed & taken:
                continue
            taken.update(placed)
            used.add(p)
            chosen.append((p, placed))
            if run(i + 1, left):
                return True
            chosen.pop()
            used.discard(p)
            taken.difference_update(placed)
        if left > 0:
            taken.add(c)
            if run(i + 1, left - 1):
                taken.discard(c)
                return True
            taken.discard(c)
        return False

    return chosen if run(0, skips) else None


def main():
    ap = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    ap.add_argument('picture')
    ap.add_argument('out')
    ap.add_argument('--most-left', type=int, default=9, help='cells of the picture that may go')
    args = ap.parse_args()
    with open(args.picture, encoding='utf-8') as f:
        lines = f.read().split('\n')
    name = lines[0]
    cells = {(x, y) for y, row in enumerate(lines[2:]) for x, ch in enumerate(row) if ch == '#'}
    for pieces in range(min(12, len(cells) // 5), 0, -1):
        skips = len(cells) - 5 * pieces
        if skips > args.most_left:
            break
        chosen = pack(cells, skips)
        if chosen is None:
            continue
        kept = set().union(*(placed for _, placed in chosen))
        xs = [x for x, _ in kept]
        ys = [y for _, y in kept]
        rows = [''.join('#' if (x, y) in kept else '.' for x in range(min(xs), max(xs) + 1))
                for y in range(min(ys), max(ys) + 1)]
        used = {p for p, _ in chosen}
        excluded = [p for p in range(1, 13) if p not in used]
        with open(args.out, 'w', encoding='utf-8') as f:
            f.write('\n'.join([name, ' '.join(map(str, excluded)) or '-'] + rows) + '\n')
        print(f'{args.out}: «{name}», {len(kept)} of {len(cells)} cells kept')
        return 0
    print(f'{args.picture}: no packing leaves at most {args.most_left} cells out', file=sys.stderr)
    return 1


if __name__ == '__main__':
    sys.exit(main())
