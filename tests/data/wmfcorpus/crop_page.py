#!/usr/bin/env python3
"""Cuts the picture out of LibreOffice's PNG of a metafile.

usage: crop_page.py PAGE.png FILE.wmf OUT.png
LibreOffice draws a metafile at its own size (the placeable header's, at 96
pixels per inch) in the middle of an A4 page; this keeps that middle part,
composited onto white, as an RGB PNG."""
import struct, sys, zlib

def load(path):
    d = open(path, "rb").read()
    i, idat = 8, b""
    while i < len(d):
        n, t = struct.unpack(">I4s", d[i:i + 8])
        c = d[i + 8:i + 8 + n]
        if t == b"IHDR":
            w, h, depth, ctype = struct.unpack(">IIBB", c[:10])
        elif t == b"IDAT":
            idat += c
        i += 12 + n
    assert depth == 8 and ctype in (2, 6)
    bpp = 4 if ctype == 6 else 3
    raw, s, rows, prev, o = zlib.decompress(idat), w * bpp, [], bytearray(w * bpp), 0
    for _ in range(h):
        f, line = raw[o], bytearray(raw[o + 1:o + 1 + s])
        o += 1 + s
        for x in range(s):
            a = line[x - bpp] if x >= bpp else 0
            b, c = prev[x], (prev[x - bpp] if x >= bpp else 0)
            if f == 1: line[x] = (line[x] + a) & 255
            elif f == 2: line[x] = (line[x] + b) & 255
            elif f == 3: line[x] = (line[x] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line)
        prev = line
    return w, h, bpp, rows

page, wmf, out = sys.argv[1:4]
w, h, bpp, rows = load(page)
hdr = open(wmf, "rb").read(22)
l, t, r, b = struct.unpack("<4h", hdr[6:14])
inch = struct.unpack("<H", hdr[14:16])[0]
pw, ph = round(abs(r - l) * 96 / inch), round(abs(b - t) * 96 / inch)
x0, y0 = round((w - pw) / 2), round((h - ph) / 2)
raw = b""
for y in range(y0, y0 + ph):
    line = bytearray()
    for x in range(x0, x0 + pw):
        px = rows[y][x * bpp:x * bpp + bpp]
        alpha = px[3] if bpp == 4 else 255
        line += bytes((c * alpha + 255 * (255 - alpha)) // 255 for c in px[:3])
    raw += b"\0" + bytes(line)

def chunk(t, c):
    return struct.pack(">I", len(c)) + t + c + struct.pack(">I", zlib.crc32(t + c) & 0xFFFFFFFF)

open(out, "wb").write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", pw, ph, 8, 2, 0, 0, 0)) +
                      chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))
