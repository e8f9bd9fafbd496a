#!/usr/bin/env python3
"""Writes metafile seeds whose bitmap records carry compressed DIBs
(RLE8, RLE4, embedded PNG and JPEG) into fuzz/corpus/fuzz_wmf and
fuzz/corpus/fuzz_metafilefile.

    python3 fuzz/make_wmf_dib_seeds.py

The JPEG is fuzz/corpus/fuzz_picturefile/gray.jpg; the PNG is made here."""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SRCCOPY = 0x00CC0020
PATCOPY = 0x00F00021


def info_header(w, h, bits, compression, size_image, colours=0):
    return struct.pack('<IiiHHIIiiII', 40, w, h, 1, bits, compression, size_image, 2835, 2835, colours, 0)


def palette(entries):
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in entries)


def rle8_dib():
    # 4x4, each row a run of one colour, the last row absolute.
    rows = [b'\x04\x00', b'\x04\x01', b'\x02\x02\x02\x03', b'\x00\x04\x00\x01\x02\x03']
    data = b''.join(r + b'\x00\x00' for r in rows[:-1]) + rows[-1] + b'\x00\x01'
    pal = palette([(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0)])
    return info_header(4, 4, 8, 1, len(data), 4) + pal + data


def rle4_dib():
    # 6x3: runs of alternating nibbles, a delta and an absolute run.
    data = b'\x06\x01\x00\x00' + b'\x00\x02\x01\x00\x04\x23\x00\x00' + b'\x00\x04\x12\x30\x00\x01'
    pal = palette([(0, 0, 0), (255, 0, 0), (0, 255, 0), (0, 0, 255)])
    return info_header(6, 3, 4, 2, len(data), 4) + pal + data


def png_bytes():
    w, h = 3, 2
    raw = b''.join(b'\x00' + bytes([255, 0, 0, 0, 255, 0, 0, 0, 255]) for _ in range(h))

    def chunk(tag, body):
        return struct.pack('>I', len(body)) + tag + body + struct.pack('>I', zlib.crc32(tag + body))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))


def png_dib():
    png = png_bytes()
    return info_header(3, 2, 0, 5, len(png)) + png


def jpeg_dib():
    with open(os.path.join(HERE, 'corpus', 'fuzz_picturefile', 'gray.jpg'), 'rb') as f:
        jpg = f.read()
    return info_header(8, 8, 0, 4, len(jpg)) + jpg


def tall_rle8_dib():
    # 4 x 16,000,000 (64 megapixels) that ends at once: all colour index 0.
    data = b'\x00\x01'
    return info_header(4, 16000000, 8, 1, len(data), 2) + palette([(255, 0, 0), (0, 0, 255)]) + data


def record(fn, params):
    if len(params) % 2:
        params += b'\x00'
    return struct.pack('<IH', 3 + len(params) // 2, fn) + params


def words(*ws):
    return b''.join(struct.pack('<H', w & 0xFFFF) for w in ws)


def stretchdib(dib, dst, src):
    # rop, colour use, source h, w, y, x, destination h, w, y, x
    return record(0x0F43, struct.pack('<I', SRCCOPY) + words(0, src[3], src[2], src[1], src[0],
                                                             dst[3], dst[2], dst[1], dst[0]) + dib)


def dibstretchblt(dib, dst, src):
    return record(0x0B41, struct.pack('<I', SRCCOPY) + words(src[3], src[2], src[1], src[0],
                                                             dst[3], dst[2], dst[1], dst[0]) + dib)


def pattern_brush(dib):
    # BS_DIBPATTERNPT, DIB_RGB_COLORS, the bitmap; then select and fill.
    return (record(0x0142, words(6, 0) + dib) + record(0x012D, words(0))
            + record(0x041B, words(90, 90, 10, 10)))


def metafile(records, placeable):
    body = b''.join(records) + record(0x0000, b'')
    header = struct.pack('<HHHIHIH', 1, 9, 0x300, (18 + len(body)) // 2, 1, 0, 0)
    prefix = b''
    if placeable:
        p = struct.pack('<IHhhhhHI', 0x9AC6CDD7, 0, 0, 0, 100, 100, 1440, 0)
        checksum = 0
        for i in range(0, 20, 2):
            checksum ^= struct.unpack_from('<H', p, i)[0]
        prefix = p + struct.pack('<H', checksum)
    mapping = record(0x020B, words(0, 0)) + record(0x020C, words(100, 100))
    return prefix + header + mapping + body


def main():
    seeds = {
        'dib-rle-stretchdib.wmf': [stretchdib(rle8_dib(), (0, 0, 50, 50), (0, 0, 4, 4)),
                                   stretchdib(rle4_dib(), (50, 50, 50, 30), (1, 0, 4, 3))],
        'dib-rle-stretchblt-brush.wmf': [dibstretchblt(rle4_dib(), (0, 0, 100, 40), (0, 0, 6, 3)),
                                         pattern_brush(rle8_dib())],
        'dib-png-jpeg.wmf': [stretchdib(png_dib(), (0, 0, 60, 40), (0, 0, 3, 2)),
                             dibstretchblt(jpeg_dib(), (40, 40, 60, 60), (0, 0, 8, 8)),
                             pattern_brush(png_dib())],
        # A huge bitmap drawn small, from the tallest source a record can say.
        'dib-rle-tall.wmf': [stretchdib(tall_rle8_dib(), (0, 0, 50, 50), (0, 0, 4, 32767)),
                             dibstretchblt(tall_rle8_dib(), (50, 50, 50, 50), (0, 0, 4, 32767))],
    }
    for target in ('fuzz_wmf', 'fuzz_metafilefile'):
        for name, records in seeds.items():
            placeable = target == 'fuzz_metafilefile' and name != 'dib-png-jpeg.wmf'
            with open(os.path.join(HERE, 'corpus', target, name), 'wb') as f:
                f.write(metafile(records, placeable))


if __name__ == '__main__':
    main()
