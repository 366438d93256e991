#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Kvelt developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the game's small pictures and writes them as PNG files into src/resources.

Run once after changing a drawing; the PNG files are committed. Uses only the standard
library so that it runs anywhere.
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'src', 'resources')

# Piece colours as (red, green, blue), pieces 1..12.
PIECE_RGB = [(0, 0, 255), (0, 255, 0), (255, 0, 0), (255, 255, 0), (255, 0, 255),
             (255, 128, 64), (0, 0, 191), (0, 128, 0), (191, 0, 0), (191, 191, 0),
             (191, 0, 191), (212, 57, 0)]


def write_png(path, width, height, pixels):
    """pixels: list of rows of (r, g, b), or of (r, g, b, a) for a picture with alpha."""
    raw = b''.join(b'\x00' + bytes(v for px in row for v in px) for row in pixels)
    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff))
    png = (b'\x89PNG\r\n\x1a\n' +
           chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8,
                                      6 if len(pixels[0][0]) == 4 else 2, 0, 0, 0)) +
           chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))
    with open(path, 'wb') as f:
        f.write(png)


def hand_mask():
    """An open hand, palm towards the viewer, fingers up, thumb to the left: 16 x 17."""
    mask = [[0] * 16 for _ in range(17)]
    def rect(x1, y1, x2, y2, value=1):
        for y in range(y1, y2 + 1):
            for x in range(x1, x2 + 1):
                mask[y][x] = value
    rect(3, 3, 5, 9)     # index finger
    rect(6, 1, 8, 9)     # middle finger
    rect(9, 2, 11, 9)    # ring finger
    rect(12, 4, 14, 9)   # little finger
    rect(3, 8, 14, 15)   # palm
    rect(0, 7, 2, 11)    # thumb
    rect(1, 12, 3, 13)   # ball of the thumb
    for x, y in ((3, 15), (14, 15), (0, 7), (0, 11)):
        mask[y][x] = 0
    return mask


def hand_tile(background):
    mask = hand_mask()
    tile = []
    for y in range(17):
        row = []
        for x in range(17):
            inside = x < 16 and mask[y][x]
            if not inside:
                row.append(background)
                continue
            edge = False
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if not (0 <= nx < 16 and 0 <= ny < 17) or not mask[ny][nx]:
                    edge = True
            # The cleft between two fingers.
            if y < 9 and x in (6, 9, 12):
                edge = True
            row.append((0, 0, 0) if edge else (255, 255, 255))
        tile.append(row)
    return tile


def hand_strip():
    tiles = [hand_tile(rgb) for rgb in PIECE_RGB]
    rows = []
    for y in range(17):
        row = []
        for t in tiles:
            row.extend(t[y])
        rows.append(row)
    write_png(os.path.join(OUT, 'hand_strip.png'), 204, 17, rows)


# The twelve pieces in a 6 x 10 rectangle, by their letters; number = 1 + 'XITUVWZLNYFP'.index.
EMBLEM_TILING = [
    'IFLLLL',
    'IFFFXL',
    'ITFXXX',
    'ITTTXW',
    'ITNNWW',
    'NNNWWZ',
    'PPVZZZ',
    'PPVZUU',
    'PYVVVU',
    'YYYYUU',
]
PIECE_LETTERS = 'XITUVWZLNYFP'


def emblem():
    """The About window's emblem, 71 x 126: the pentomino rectangle on the window's grey."""
    width, height, cell = 71, 126, 11
    rows, cols = len(EMBLEM_TILING), len(EMBLEM_TILING[0])
    left = (width - cols * cell - 1) // 2
    top = (height - rows * cell - 1) // 2
    grey, black = (224, 224, 224), (0, 0, 0)
    pixels = [[grey] * width for _ in range(height)]

    def piece_at(c, r):
        if 0 <= c < cols and 0 <= r < rows:
            return EMBLEM_TILING[r][c]
        return None

    for r in range(rows):
        for c in range(cols):
            letter = piece_at(c, r)
            colour = PIECE_RGB[PIECE_LETTERS.index(letter)]
            x0, y0 = left + c * cell, top + r * cell
            # The cell with its right and bottom border lines; a border between two cells
            # of the same piece takes the piece's colour, so each piece is one solid shape.
            for y in range(y0, y0 + cell + 1):
                for x in range(x0, x0 + cell + 1):
                    on_left, on_top = x == x0, y == y0
                    on_right, on_bottom = x == x0 + cell, y == y0 + cell
                    edge = ((on_left and piece_at(c - 1, r) != letter) or
                            (on_top and piece_at(c, r - 1) != letter) or
                            (on_right and piece_at(c + 1, r) != letter) or
                            (on_bottom and piece_at(c, r + 1) != letter))
                    if edge:
                        pixels[y][x] = black
                    elif pixels[y][x] != black:
                        pixels[y][x] = colour
    write_png(os.path.join(OUT, 'emblem.png'), width, height, pixels)


if __name__ == '__main__':
    hand_strip()
    emblem()
