#!/usr/bin/env python3
"""Draws the desktop icon: five pentominoes tiling a 5 x 5 square, in the game's colours.

Writes src/resources/icons/kvelt-<size>.png; run once after changing the drawing.
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


if __name__ == '__main__':
    os.makedirs(OUT, exist_ok=True)
    for size in (48, 128, 256):
        write_png(os.path.join(OUT, 'kvelt-%d.png' % size), size, size, icon(size))
