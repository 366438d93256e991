#!/usr/bin/env python3
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
    """pixels: list of rows of (r, g, b)."""
    raw = b''.join(b'\x00' + bytes(v for px in row for v in px) for row in pixels)
    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff))
    png = (b'\x89PNG\r\n\x1a\n' +
           chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0)) +
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


if __name__ == '__main__':
    hand_strip()
