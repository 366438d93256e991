#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks outline drawings (data/outlines/NNNN.txt) before they are encoded.

A drawing is: line 1 the outline name, line 2 the numbers of the pieces left out (blank or
"-" when all twelve play), then rows of '#' (outline cell) and '.' (no cell). The drawing's
bounding box is centred on the 35 x 24 board: left = (35 - width) // 2, top = (24 - height)
// 2, and its cells are listed row by row, left to right.

For each file this checks the name (non-empty, Windows-1251), the piece numbers, the cell
count (60 - 5n), the size, and that the pieces in play tile the drawing exactly. With --fit
it instead looks for any set of distinct pieces that tiles the drawing and prints the line
of pieces left out, which is how a hand drawing gets its second line.

Standard library only.
"""
import argparse
import glob
import os
import sys

BOARD_W, BOARD_H = 35, 24

# Piece number -> definition string: five (column, row) offsets as 2-character fields.
PIECE_DEFS = {
    1: " 0-1-1 0 0 0 1 0 0 1",  # X
    2: "-2 0-1 0 0 0 1 0 2 0",  # I
    3: " 0-1 0 0-1 1 0 1 1 1",  # T
    4: "-1-1 1-1-1 0 0 0 1 0",  # U
    5: " 0-2 0-1 0 0 1 0 2 0",  # V
    6: "-1-1-1 0 0 0 0 1 1 1",  # W
    7: "-1-1 0-1 0 0 0 1 1 1",  # Z
    8: "-1-1-1 0 0 0 1 0 2 0",  # L
    9: "-1-1 0-1 0 0 1 0 2 0",  # N
    10: " 0-1-1 0 0 0 1 0 2 0",  # Y
    11: "-1-1-1 0 0 0 1 0 0 1",  # F
    12: " 0-1-1 0 0 0-1 1 0 1",  # P
}
LETTERS = " XITUVWZLNYFP"


def piece_cells(p):
    d = PIECE_DEFS[p]
    return [(int(d[4 * k:4 * k + 2]), int(d[4 * k + 2:4 * k + 4])) for k in range(5)]


def orientations(p):
    """The distinct shapes of piece p, each normalised to start at (0, 0)."""
    transforms = [lambda x, y: (x, y), lambda x, y: (-y, x), lambda x, y: (-x, -y),
                  lambda x, y: (y, -x), lambda x, y: (-y, -x), lambda x, y: (x, -y),
                  lambda x, y: (y, x), lambda x, y: (-x, y)]
    shapes = set()
    for t in transforms:
        cells = [t(x, y) for x, y in piece_cells(p)]
        mx = min(x for x, _ in cells)
        my = min(y for _, y in cells)
        shapes.add(frozenset((x - mx, y - my) for x, y in cells))
    return [sorted(s) for s in sorted(shapes, key=sorted)]


ORIENTATIONS = {p: orientations(p) for p in PIECE_DEFS}


class ArtError(Exception):
    pass


def parse_art(text):
    """Returns (name, excluded pieces sorted, drawing cells as (column, row))."""
    lines = text.replace('\r\n', '\n').split('\n')
    if len(lines) < 3:
        raise ArtError('too short: needs a name line, a pieces line and a drawing')
    name = lines[0]
    if not name.strip():
        raise ArtError('empty name')
    try:
        name.encode('cp1251')
    except UnicodeEncodeError as e:
        raise ArtError(f'name has a character Windows-1251 cannot hold: {name[e.start]!r}')
    pieces_line = lines[1].strip()
    excluded = []
    if pieces_line not in ('', '-'):
        for field in pieces_line.replace(',', ' ').split():
            if not field.isdigit() or not 1 <= int(field) <= 12:
                raise ArtError(f'unknown piece number {field!r}')
            if int(field) in excluded:
                raise ArtError(f'piece {field} left out twice')
            excluded.append(int(field))
    if len(excluded) > 11:
        raise ArtError('leaves out every piece')
    cells = []
    rows = lines[2:]
    while rows and not rows[-1].strip():
        rows.pop()
    for y, row in enumerate(rows):
        row = row.rstrip()
        for x, ch in enumerate(row):
            if ch == '#':
                cells.append((x, y))
            elif ch != '.':
                raise ArtError(f'row {y + 1}: unexpected character {ch!r}')
    if not cells:
        raise ArtError('no cells drawn')
    want = 60 - 5 * len(excluded)
    if len(cells) != want:
        raise ArtError(f'{len(cells)} cells drawn, {want} needed for {12 - len(excluded)} pieces')
    w = max(x for x, _ in cells) - min(x for x, _ in cells) + 1
    h = max(y for _, y in cells) - min(y for _, y in cells) + 1
    if w > BOARD_W or h > BOARD_H:
        raise ArtError(f'drawing is {w} x {h}, the board is {BOARD_W} x {BOARD_H}')
    return name, sorted(excluded), cells


def board_cells(cells):
    """The drawing centred on the board, row by row and left to right."""
    mx = min(x for x, _ in cells)
    my = min(y for _, y in cells)
    w = max(x for x, _ in cells) - mx + 1
    h = max(y for _, y in cells) - my + 1
    left = (BOARD_W - w) // 2
    top = (BOARD_H - h) // 2
    return sorted(((x - mx + left, y - my + top) for x, y in cells), key=lambda c: (c[1], c[0]))


def solve(cells, pieces, node_limit=5_000_000):
    """Tiles cells with distinct pieces from the pool, each used at most once.

    Returns a list of (piece, [cells]) for the first tiling found, None when there is none,
    or raises TimeoutError when node_limit placements were tried without an answer.
    Cells are filled in order along the drawing's shorter side first, always taking the
    first empty cell, so every placement tried must cover it.
    """
    xs = [x for x, _ in cells]
    ys = [y for _, y in cells]
    wide = max(xs) - min(xs) > max(ys) - min(ys)
    order = sorted(cells, key=(lambda c: (c[0], c[1])) if wide else (lambda c: (c[1], c[0])))
    index = {c: i for i, c in enumerate(order)}
    n = len(order)
    # anchored[i]: placements (piece, mask) whose first cell in the fill order is cell i.
    anchored = [[] for _ in range(n)]
    for p in pieces:
        for shape in ORIENTATIONS[p]:
            # Put the shape's first cell on each outline cell in turn.
            sx, sy = shape[0]
            for cx, cy in order:
                placed = [(cx + dx - sx, cy + dy - sy) for dx, dy in shape]
                if all(c in index for c in placed):
                    ids = [index[c] for c in placed]
                    mask = 0
                    for i in ids:
                        mask |= 1 << i
                    anchored[min(ids)].append((p, mask))
    # Deduplicate (a shape placed at different anchors can give the same mask).
    for i in range(n):
        anchored[i] = list(dict.fromkeys(anchored[i]))
    full = (1 << n) - 1
    nodes = 0
    used = set()
    chosen = []

    def search(filled):
        nonlocal nodes
        if filled == full:
            return True
        free = ~filled & full
        i = (free & -free).bit_length() - 1
        for p, mask in anchored[i]:
            if p in used or mask & filled:
                continue
            nodes += 1
            if nodes > node_limit:
                raise TimeoutError
            used.add(p)
            chosen.append((p, mask))
            if search(filled | mask):
                return True
            chosen.pop()
            used.discard(p)
        return False

    sys.setrecursionlimit(10000)
    if not search(0):
        return None
    return [(p, [order[i] for i in range(n) if mask >> i & 1]) for p, mask in chosen]


def drawing_of(solution):
    cells = {c: LETTERS[p] for p, cs in solution for c in cs}
    xs = [x for x, _ in cells]
    ys = [y for _, y in cells]
    return '\n'.join(''.join(cells.get((x, y), '.') for x in range(min(xs), max(xs) + 1))
                     for y in range(min(ys), max(ys) + 1))


def check_file(path, show=False, node_limit=5_000_000):
    """Returns None when the drawing is a valid, solvable outline, else the fault."""
    try:
        with open(path, encoding='utf-8') as f:
            name, excluded, cells = parse_art(f.read())
    except (ArtError, UnicodeDecodeError, OSError) as e:
        return str(e)
    pieces = [p for p in range(1, 13) if p not in excluded]
    try:
        solution = solve(cells, pieces, node_limit)
    except TimeoutError:
        return f'undecided after {node_limit} placements'
    if solution is None:
        return 'no tiling with the pieces in play'
    if show:
        print(f'{os.path.basename(path)}: {name}')
        print(drawing_of(solution))
    return None


def fit_file(path):
    """Prints a line of pieces left out under which the drawing can be tiled."""
    with open(path, encoding='utf-8') as f:
        lines = f.read().replace('\r\n', '\n').split('\n')
    # Check everything but the count, which --fit is there to find.
    cells = [(x, y) for y, row in enumerate(lines[2:]) for x, ch in enumerate(row) if ch == '#']
    if len(cells) % 5:
        print(f'{path}: {len(cells)} cells is not a multiple of 5')
        return False
    solution = solve(cells, list(range(1, 13)), node_limit=20_000_000)
    if solution is None:
        print(f'{path}: no tiling with distinct pieces')
        return False
    used = {p for p, _ in solution}
    left_out = [p for p in range(1, 13) if p not in used]
    print(f'{path}: pieces left out: {" ".join(map(str, left_out)) or "-"}')
    print(drawing_of(solution))
    return True


def main():
    ap = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    ap.add_argument('paths', nargs='*', help='ART files or folders (default: data/outlines)')
    ap.add_argument('--show', action='store_true', help='print the tiling found')
    ap.add_argument('--fit', action='store_true', help='find which pieces tile a drawing')
    args = ap.parse_args()
    paths = args.paths or [os.path.join(os.path.dirname(__file__), '..', 'data', 'outlines')]
    files = []
    for p in paths:
        files += sorted(glob.glob(os.path.join(p, '*.txt'))) if os.path.isdir(p) else [p]
    if args.fit:
        return 0 if all([fit_file(f) for f in files]) else 1
    faults = 0
    names = {}
    for f in files:
        fault = check_file(f, args.show)
        if fault is None:
            with open(f, encoding='utf-8') as fh:
                name = fh.readline().rstrip('\r\n')
            if name in names:
                fault = f'same name as {names[name]}'
            names[name] = os.path.basename(f)
        if fault:
            faults += 1
            print(f'{f}: {fault}')
    print(f'{len(files) - faults} of {len(files)} outlines valid')
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
