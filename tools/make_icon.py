#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the desktop icon: five pentominoes tiling a 5 x 5 square, in the game's colours.

Writes src/resources/icons/kvelt-<size>.png and the scalable kvelt.svg; run once after
changing the drawing.
"""
import os

from make_pictures import write_png

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'src', 'resources', 'icons')

TILING = ["IIIII",
          "LLLLP",
          "LWWPP",
          "WWYPP",
          "WYYYY"]
COLOURS = {'I': (0, 255, 0), 'L': (0, 128, 0), 'P': (212, 57, 0), 'W': (255, 128, 64),
           'Y': (191, 191, 0)}
GRID = (60, 60, 60)


def icon(size):
    cell = (size - 1) // 5
    margin = (size - (5 * cell + 1)) // 2
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            gx, gy = x - margin, y - margin
            if not (0 <= gx <= 5 * cell and 0 <= gy <= 5 * cell):
                row.append((0, 0, 0, 0))
                continue
            c, r = min(gx // cell, 4), min(gy // cell, 4)
            piece = TILING[r][c]
            # Lines only where two pieces meet, and around the square.
            edge = gx % cell == 0 and (gx == 0 or gx == 5 * cell or TILING[r][c - 1] != piece)
            edge |= gy % cell == 0 and (gy == 0 or gy == 5 * cell or TILING[r - 1][c] != piece)
            row.append(GRID + (255,) if edge else COLOURS[piece] + (255,))
        rows.append(row)
    return rows


def svg(cell=50, margin=3, line=2):
    """The same drawing as paths: one filled path per piece, so that no seams show between
    its cells at any scale, and one stroked path for the lines where pieces meet."""
    size = 5 * cell + 2 * margin
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
           % (size, size, size, size)]
    for piece in sorted(COLOURS):
        squares = ''.join('M%d %dh%dv%dh-%dz' % (margin + c * cell, margin + r * cell, cell, cell, cell)
                          for r in range(5) for c in range(5) if TILING[r][c] == piece)
        out.append('<path fill="#%02x%02x%02x" d="%s"/>' % (COLOURS[piece] + (squares,)))
    lines = []
    for r in range(6):
        for c in range(5):
            if r in (0, 5) or TILING[r - 1][c] != TILING[r][c]:
                lines.append('M%d %dh%d' % (margin + c * cell, margin + r * cell, cell))
    for c in range(6):
        for r in range(5):
            if c in (0, 5) or TILING[r][c - 1] != TILING[r][c]:
                lines.append('M%d %dv%d' % (margin + c * cell, margin + r * cell, cell))
    out.append('<path fill="none" stroke="#%02x%02x%02x" stroke-width="%d" stroke-linecap="square" d="%s"/>'
               % (GRID + (line, ''.join(lines))))
    out.append('</svg>')
    return '\n'.join(out) + '\n'


if __name__ == '__main__':
    os.makedirs(OUT, exist_ok=True)
    for size in (48, 128, 256):
        write_png(os.path.join(OUT, 'kvelt-%d.png' % size), size, size, icon(size))
    with open(os.path.join(OUT, 'kvelt.svg'), 'w', encoding='utf-8') as f:
        f.write(svg())
