#!/usr/bin/env python3
"""Draws the program's logo (216 x 40 pixels) into logo.png.

A blue label with a row of marker stripes, followed by the letters "VSL" in
a blocky 5 x 7 pixel face scaled up four times. Standard library only.
"""
import struct
import zlib

WIDTH, HEIGHT = 216, 40
WHITE = (255, 255, 255)
BLUE = (20, 70, 160)
LIGHT = (210, 225, 245)
DARK = (30, 30, 30)

GLYPHS = {
    "V": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
}

pixels = [[WHITE] * WIDTH for _ in range(HEIGHT)]


def fill(x0, y0, x1, y1, colour):
    for y in range(max(0, y0), min(HEIGHT, y1)):
        for x in range(max(0, x0), min(WIDTH, x1)):
            pixels[y][x] = colour


# The label: a blue card with light marker stripes.
fill(4, 4, 92, 36, BLUE)
for i in range(6):
    fill(10 + i * 13, 10, 19 + i * 13, 30, LIGHT)

# The letters.
x = 104
for letter in "VSL":
    for row, bits in enumerate(GLYPHS[letter]):
        for col, bit in enumerate(bits):
            if bit == "1":
                fill(x + col * 4, 6 + row * 4, x + col * 4 + 4, 6 + row * 4 + 4, DARK)
    x += 6 * 4 + 12


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


raw = b"".join(b"\x00" + bytes(c for p in row for c in p) for row in pixels)
png = (b"\x89PNG\r\n\x1a\n"
       + chunk(b"IHDR", struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0))
       + chunk(b"IDAT", zlib.compress(raw, 9))
       + chunk(b"IEND", b""))
with open("logo.png", "wb") as f:
    f.write(png)
