#!/usr/bin/env python3
"""Writes dist/korvel.png, the engine's logo in xboard's engine list: 100 x 50 pixels, a strip of
board squares under the name KORVEL in a five-by-seven pixel font, each dot two pixels wide and four high.
Only the standard library (zlib for the picture's data)."""
import struct
import sys
import zlib

WIDTH, HEIGHT, DOTX, DOTY = 100, 50, 2, 4
LIGHT, DARK, INK, PAPER = (238, 216, 170), (181, 136, 99), (40, 30, 20), (250, 246, 235)
LETTERS = {
    "K": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "V": ["10001", "10001", "10001", "10001", "01010", "01010", "00100"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
}


def picture():
    """The rows of RGB pixels: paper above, the name on it, a row of squares at the foot."""
    rows = [[PAPER] * WIDTH for _ in range(HEIGHT)]
    square = WIDTH // 10
    for y in range(HEIGHT - square, HEIGHT):
        for x in range(WIDTH):
            rows[y][x] = LIGHT if (x // square) % 2 == 0 else DARK
    left, top = (WIDTH - (6 * 6 - 1) * DOTX) // 2, 6
    for i, letter in enumerate("KORVEL"):
        for r, line in enumerate(LETTERS[letter]):
            for c, bit in enumerate(line):
                if bit == "1":
                    for y in range(DOTY):
                        for x in range(DOTX):
                            rows[top + r * DOTY + y][left + (i * 6 + c) * DOTX + x] = INK
    return rows


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(rows):
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "dist/korvel.png"
    with open(out, "wb") as f:
        f.write(png(picture()))
