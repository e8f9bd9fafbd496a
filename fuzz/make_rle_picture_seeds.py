#!/usr/bin/env python3
"""Writes seeds of run-length bitmaps made by an image converter, and of the
stored bitmaps that declare tens of megapixels in a few bytes of runs, for
the picture readers' fuzz targets:

    python3 fuzz/make_rle_picture_seeds.py

or, for the bitmaps below that fuzzing found too costly to decode whole
alone (no converter needed):

    python3 fuzz/make_rle_picture_seeds.py --costly

ImageMagick (Debian's imagemagick; CONVERT names another `convert`) draws a
small picture and writes it as BMP3:
    convert -size 64x48 gradient:red-blue -fill yellow -draw 'circle 20,20 30,30'
            -fill black -draw 'rectangle 40,5 60,15' src.png
    convert src.png -colors 256 -type Palette -compress RLE BMP3:rle8.bmp
    convert src.png -colors 16 -type Palette -compress None BMP3:pal4.bmp
and the same turned by 90 degrees (-rotate 90). ImageMagick writes RLE8
only, so the RLE4 bitmaps are its 4-bit rows encoded here (runs of equal
nibble pairs, the rest as absolute runs). Top-down forms are the
uncompressed ones with the height negated and the rows reversed, and the
run-length ones with the height negated alone (which readers refuse).

From these:
  fuzz_picturefile/  the BMP files;
  fuzz_dib/          their packed DIBs (first byte 0), split forms (1),
                     packed-bitmap records (2), header-and-bits records (3)
                     and image-object records (4), some with source windows
                     at the ends of 32 bits;
  fuzz_collection/   collections of image objects holding them;
  fuzz_wmf/, fuzz_metafilefile/  metafiles drawing them by STRETCHDIB.

Costly ones (costly()): an RLE8 bitmap of 16777210 x 3 pixels in 66 bytes
of header, colour table and runs, as a packed DIB, a split form and both
holders (the older one 74 bytes); an image object declaring 8388611 x 5
pixels in a collection; a BMP file of RLE4 at 33 x 47367 pixels, its runs
one short run each row, and the same declared with a run and an early end;
metafiles drawing the first.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import make_wmf_dib_seeds as wmfseeds  # noqa: E402

INT32_MIN, INT32_MAX = -2**31, 2**31 - 1


def convert_tool():
    named = os.environ.get('CONVERT')
    if named:
        return named
    # The Debian package's own, should another `convert` come first.
    return '/usr/bin/convert' if os.path.exists('/usr/bin/convert') else 'convert'


def run(*args):
    subprocess.run([convert_tool(), *args], check=True)


def converted(folder):
    """The BMP files the converter writes, by name."""
    src = os.path.join(folder, 'src.png')
    run('-size', '64x48', 'gradient:red-blue', '-fill', 'yellow', '-draw', 'circle 20,20 30,30',
        '-fill', 'black', '-draw', 'rectangle 40,5 60,15', src)
    out = {}
    for turn, suffix in ((None, ''), ('90', '_rot90')):
        extra = ['-rotate', turn] if turn else []
        for name, opts in (('rle8', ['-colors', '256', '-type', 'Palette', '-compress', 'RLE']),
                           ('pal4', ['-colors', '16', '-type', 'Palette', '-compress', 'None']),
                           ('pal8', ['-colors', '256', '-type', 'Palette', '-compress', 'None'])):
            path = os.path.join(folder, name + suffix + '.bmp')
            run(src, *extra, *opts, 'BMP3:' + path)
            with open(path, 'rb') as f:
                out['im_' + name + suffix] = f.read()
    return out


def split_file(bmp):
    """Header block (header and colour table) and bits of a BMP file."""
    offset = struct.unpack_from('<I', bmp, 10)[0]
    return bmp[14:offset], bmp[offset:]


def bmp_file(header, bits):
    return b'BM' + struct.pack('<IHHI', 14 + len(header) + len(bits), 0, 0, 14 + len(header)) + header + bits


def with_fields(header, **fields):
    """The header with some 32-bit fields replaced (height, compression, size_image)."""
    at = {'height': 8, 'compression': 16, 'size_image': 20}
    h = bytearray(header)
    for name, value in fields.items():
        fmt = '<i' if name == 'height' else '<I'
        struct.pack_into(fmt, h, at[name], value)
    h[14:16] = struct.pack('<H', fields.get('bits', struct.unpack_from('<H', header, 14)[0]))
    return bytes(h)


def rle4_row(nib):
    """One row of nibbles as RLE4: runs of a repeated pair of three pixels
    or more, the pixels between as absolute runs (one or two pixels as a
    short run)."""
    w = len(nib)

    def run_at(x):
        n = 1
        while x + n < w and n < 255 and nib[x + n] == nib[x + (n % 2)]:
            n += 1
        return n
    out = bytearray()
    x = 0
    while x < w:
        n = run_at(x)
        if n >= 3:
            out += bytes([n, (nib[x] << 4) | nib[x + 1]])
            x += n
            continue
        end = x
        while end < w and end - x < 254 and run_at(end) < 3:
            end += 1
        m = end - x
        if m < 3:
            out += bytes([m, (nib[x] << 4) | (nib[x + 1] if m > 1 else 0)])
        else:
            packed = bytearray((nib[x + i] << 4) | (nib[x + i + 1] if i + 1 < m else 0) for i in range(0, m, 2))
            if len(packed) % 2:
                packed.append(0)
            out += bytes([0, m]) + packed
        x += m
    return bytes(out) + b'\x00\x00'


def rle4_rows(bits, width, height):
    """4-bit rows (bottom-up) encoded as RLE4, with the end of the bitmap."""
    stride = ((width * 4 + 31) // 32) * 4
    rows = b''
    for r in range(height):
        row = bits[r * stride:(r + 1) * stride]
        rows += rle4_row([(row[x // 2] >> (0 if x % 2 else 4)) & 15 for x in range(width)])
    return rows + b'\x00\x01'


def rle_variants(files):
    """RLE4 forms of the 4-bit files, and top-down forms of every file."""
    out = {}
    for name, bmp in files.items():
        header, bits = split_file(bmp)
        width, height = struct.unpack_from('<ii', header, 4)
        bpp, compression = struct.unpack_from('<HI', header, 14)
        if name.startswith('im_pal4'):
            runs = rle4_rows(bits, width, height)
            h4 = with_fields(header, compression=2, size_image=len(runs))
            out[name.replace('pal4', 'rle4')] = bmp_file(h4, runs)
            out[name.replace('pal4', 'rle4') + '_topdown'] = bmp_file(with_fields(h4, height=-height), runs)
        if compression == 0:
            stride = ((width * bpp + 31) // 32) * 4
            rows = [bits[r * stride:(r + 1) * stride] for r in range(height)]
            out[name + '_topdown'] = bmp_file(with_fields(header, height=-height), b''.join(reversed(rows)))
        elif name.startswith('im_rle8'):
            out[name + '_topdown'] = bmp_file(with_fields(header, height=-height), bits)
    return out


def declared_huge():
    """Bitmaps whose few bytes of runs declare tens of megapixels: header
    block and runs."""
    def header(w, h, four, runs):
        table = b''.join(struct.pack('<I', 0xFF0000 if i == 0 else 0x0000FF) for i in range(16 if four else 256))
        return struct.pack('<IiiHHIIiiII', 40, w, h, 1, 4 if four else 8, 2 if four else 1, len(runs),
                           2835, 2835, 0, 0) + table
    per_row = b'\x10\x12\x00\x00' * 27 + b'\x00\x01'
    return {
        'rle8_8192x8192': (header(8192, 8192, False, b'\x00\x01'), b'\x00\x01'),
        'rle4_2097197x27': (header(2097197, 27, True, per_row), per_row),
    }


def costly():
    """Seeds of bitmaps whose few bytes declare more pixels than are worth
    decoding whole, by target and name."""
    def header(w, h, four, runs, colours):
        table = b''.join(struct.pack('<I', 0xFF0000 if i == 0 else 0x0000FF) for i in range(colours))
        return struct.pack('<IiiHHIIiiII', 40, w, h, 1, 4 if four else 8, 2 if four else 1, len(runs),
                           2835, 2835, colours, 0) + table
    out = {}
    # Two colours and 18 bytes of runs: long runs, a delta, the end.
    runs = b'\xff\x01\x00\x00' + b'\xff\x01\x00\x00' + b'\x00\x02\x10\x00' + b'\xff\x01\x00\x00' + b'\x00\x01'
    runs = runs[:18]
    wide = header(16777210, 3, False, runs, 2)
    out['fuzz_dib', 'costly_rle8_16777210x3_packed.bin'] = b'\x00' + wide + runs
    out['fuzz_dib', 'costly_rle8_16777210x3_split.bin'] = b'\x01' + struct.pack('<H', len(wide)) + wide + runs
    out['fuzz_dib', 'costly_rle8_16777210x3_record165.bin'] = b'\x02' + packed_holder(wide + runs)
    out['fuzz_dib', 'costly_rle8_16777210x3_record163.bin'] = b'\x03' + old_holder(wide, runs)
    out['fuzz_dib', 'costly_rle8_16777210x3_object163.bin'] = b'\x04' + image_object(163, old_holder(wide, runs))
    # Five rows of runs across the width, a run of each kind.
    row = b'\xff\x01\x00\x04\x01\x00\x01\x00\x00\x00'
    runs5 = row * 5 + b'\x00\x01'
    tall = header(8388611, 5, False, runs5, 2)
    out['fuzz_collection', 'costly_image_rle8_8388611x5'] = collection([image_object(165, packed_holder(tall + runs5))])
    out['fuzz_collection', 'costly_image163_rle8_8388611x5'] = collection([image_object(163, old_holder(tall, runs5))])
    out['fuzz_dib', 'costly_rle8_8388611x5_object165.bin'] = b'\x04' + image_object(165, packed_holder(tall + runs5))
    # RLE4, 33 x 47367: one short run each row, and a run then the end.
    each_row = b'\x21\x12\x00\x00' * 47367 + b'\x00\x01'
    out['fuzz_picturefile', 'costly_rle4_33x47367_rows.bmp'] = bmp_file(header(33, 47367, True, each_row, 16), each_row)
    early = b'\x21\x12\x00\x00\x00\x01'
    out['fuzz_picturefile', 'costly_rle4_33x47367_early.bmp'] = bmp_file(header(33, 47367, True, early, 16), early)
    # The wide one drawn by a metafile, whole and a corner.
    for target in ('fuzz_wmf', 'fuzz_metafilefile'):
        records = [wmfseeds.stretchdib(wide + runs, (0, 0, 100, 100), (0, 0, 16777210, 3)),
                   wmfseeds.dibstretchblt(wide + runs, (10, 60, 30, 30), (0, 0, 300, 3))]
        out[target, 'costly-rle8-16777210x3.wmf'] = wmfseeds.metafile(records, target == 'fuzz_metafilefile')
    return out


def i16(v):
    return struct.pack('<h', v if -32768 <= v < 32768 else struct.unpack('<h', struct.pack('<H', v & 0xFFFF))[0])


def old_holder(header, bits):
    w, h = struct.unpack_from('<ii', header, 4)
    return i16(1234) + i16(w) + i16(abs(h)) + i16(len(header)) + header + bits


def packed_holder(packed):
    w, h = struct.unpack_from('<ii', packed, 4)
    return i16(1156) + i16(w) + i16(abs(h)) + struct.pack('<i', len(packed)) + packed


def image_object(tag, holder, window=(0, 0, 100, 100), stretch=0, box=(0, 0, 20000, 10000)):
    """An image object record (key 189) without its key."""
    name = b'C:\\Bilder\\seed.bmp'.ljust(128, b'\x00')
    return (struct.pack('<iiii', *box) + bytes(13) + name + i16(tag) + holder
            + i16(1) + bytes([stretch, 1]) + struct.pack('<iiii', *window) + bytes(24) + i16(0))


def collection(objects):
    return struct.pack('<Hhh', len(objects), 0, 0) + b''.join(i16(189) + o for o in objects)


def write(target, name, data):
    folder = os.path.join(HERE, 'corpus', target)
    with open(os.path.join(folder, name), 'wb') as f:
        f.write(data)


def main():
    for (target, name), data in sorted(costly().items()):
        write(target, name, data)
    if sys.argv[1:] == ['--costly']:
        return
    folder = tempfile.mkdtemp()
    try:
        files = converted(folder)
    finally:
        shutil.rmtree(folder)
    files.update(rle_variants(files))
    windows = {
        'window_min': (INT32_MIN, 0, 100, 100),
        'window_max': (50, 0, INT32_MAX, 100),
        'window_up': (0, INT32_MIN, 100, INT32_MAX),
    }
    for name, bmp in sorted(files.items()):
        write('fuzz_picturefile', name + '.bmp', bmp)
        header, bits = split_file(bmp)
        packed = header + bits
        write('fuzz_dib', name + '_packed.bin', b'\x00' + packed)
        write('fuzz_dib', name + '_split.bin', b'\x01' + struct.pack('<H', len(header)) + packed)
        if not name.endswith('_topdown') or 'rle' not in name:
            write('fuzz_dib', name + '_record165.bin', b'\x02' + packed_holder(packed))
            write('fuzz_dib', name + '_record163.bin', b'\x03' + old_holder(header, bits))
    # Source windows at the ends of 32 bits, on the packed and the older
    # holder, in image-object records and in collections.
    header, bits = split_file(files['im_rle8'])
    objects = []
    for wname, window in windows.items():
        for tag, holder in ((165, packed_holder(header + bits)), (163, old_holder(header, bits))):
            record = image_object(tag, holder, window, stretch=1)
            write('fuzz_dib', 'im_rle8_%s_object%d.bin' % (wname, tag), b'\x04' + record)
            objects.append(record)
    write('fuzz_collection', 'images_far_windows', collection(objects))
    # Tens of megapixels declared in a few bytes.
    for name, (header, runs) in declared_huge().items():
        write('fuzz_dib', name + '_record165.bin', b'\x02' + packed_holder(header + runs))
        write('fuzz_dib', name + '_object165.bin', b'\x04' + image_object(165, packed_holder(header + runs)))
        if name.startswith('rle8'):
            write('fuzz_dib', name + '_record163.bin', b'\x03' + old_holder(header, runs))
            write('fuzz_collection', 'images_twelve_' + name,
                  collection([image_object(163, old_holder(header, runs))] * 12))
        write('fuzz_collection', 'image_' + name, collection([image_object(165, packed_holder(header + runs))]))
    # Metafiles drawing the converter's bitmaps, whole and in part.
    for target in ('fuzz_wmf', 'fuzz_metafilefile'):
        for name in ('im_rle8', 'im_rle4', 'im_rle8_rot90', 'im_rle4_rot90'):
            header, bits = split_file(files[name])
            dib = header + bits
            w, h = struct.unpack_from('<ii', header, 4)
            records = [wmfseeds.stretchdib(dib, (0, 0, 100, 100), (0, 0, w, h)),
                       wmfseeds.dibstretchblt(dib, (10, 60, 30, 30), (w // 4, h // 4, w // 2, h // 2))]
            write(target, 'dib-' + name.replace('_', '-') + '.wmf',
                  wmfseeds.metafile(records, target == 'fuzz_metafilefile'))


if __name__ == '__main__':
    main()
