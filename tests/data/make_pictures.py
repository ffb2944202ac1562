#!/usr/bin/env python3
"""Writes the small pictures of the loader tests: valid BMP, GIF and PNG variants whose pixels are
the letter grids of tests/image/picture_decoders_test.cpp, JPEG, WebP, HEIC and AVIF variants made
with ImageMagick's convert (among them JPEGs stored turned, with the EXIF orientation that stands
them upright, and one in Adobe RGB with its profile, beside ImageMagick's sRGB rendering of it),
and broken files of each kind. Run from anywhere; it writes beside itself. Needs colord's
profiles.

Letters: K black, W white, R red, G green, B blue; in pictures with transparency also T (fully
transparent) and H (red at opacity 128)."""
import os
import struct
import subprocess
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
RGB = {'K': (0, 0, 0), 'W': (255, 255, 255), 'R': (255, 0, 0), 'G': (0, 255, 0), 'B': (0, 0, 255)}

FOUR = ["RGBWK", "KRGBW", "WKRGB"]     # 5 x 3, most variants
SEE_THROUGH = ["RGBWK", "TRHBW", "WKTGB"]  # 5 x 3, pictures with transparency
# Colour and opacity of each letter in pictures with transparency; T hides green.
RGBA = {**{c: v + (255,) for c, v in RGB.items()}, 'T': (0, 255, 0, 0), 'H': (255, 0, 0, 128)}
TWO = ["RBRBB", "BRRBR", "RRBBB"]      # 5 x 3, one bit a pixel: palette R, B
RLE8_SKIPS = ["KKKGK", "RRKKK", "WKRGB"]
RLE4_SKIPS = ["KGGGK", "GWKWW", "RBRBR"]


def write(name, data):
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(data)


# ---- BMP ----------------------------------------------------------------------------------

def palette_for(bits):
    """Palettes with the letters at scattered indices and grey filler elsewhere."""
    if bits == 1:
        return [RGB['R'], RGB['B']]
    places = {4: {0: 'K', 3: 'R', 7: 'G', 12: 'B', 15: 'W'},
              8: {0: 'K', 17: 'R', 100: 'G', 201: 'B', 255: 'W'}}[bits]
    return [RGB[places[i]] if i in places else (i, i, i) for i in range(1 << bits)]


def index_of(palette, letter):
    return palette.index(RGB[letter])


def pack_bits(indices, bits):
    out = bytearray()
    acc = 0
    n = 0
    for i in indices:
        acc = (acc << bits) | i
        n += bits
        if n == 8:
            out.append(acc)
            acc = n = 0
    if n:
        out.append(acc << (8 - n))
    return bytes(out)


def channel(value8, mask):
    if mask == 0:
        return 0
    shift = (mask & -mask).bit_length() - 1
    top = mask >> shift
    return round(value8 * top / 255) << shift


def encode_pixel(letter, bits, palette, masks):
    r, g, b = RGB[letter]
    if bits <= 8:
        return index_of(palette, letter)
    if bits == 24:
        return bytes((b, g, r))
    v = channel(r, masks[0]) | channel(g, masks[1]) | channel(b, masks[2])
    return struct.pack('<H' if bits == 16 else '<I', v)


def plain_rows(grid, bits, palette=None, masks=None):
    """Rows in top-down order, each padded to 4 bytes."""
    rows = []
    for line in grid:
        px = [encode_pixel(c, bits, palette, masks) for c in line]
        data = pack_bits(px, bits) if bits <= 8 else b''.join(px)
        rows.append(data + b'\0' * (-len(data) % 4))
    return rows


def bmp(width, height, bits, pixels, compression=0, palette=None, header=40, masks=None,
        colours_used=0, offset=None, alpha_mask=None):
    """A BMP with the given info header size (12 OS/2, 40, 52, 56, 64, 108, 124)."""
    if header == 12:
        info = struct.pack('<IHHHH', 12, width, height, 1, bits)
    else:
        info = struct.pack('<IiiHHIIiiII', header, width, height, 1, bits, compression,
                           len(pixels), 2835, 2835, colours_used, 0)
        extra = b''
        if masks and header >= 52:
            extra = struct.pack('<III', *masks)
            if header >= 56:
                extra += struct.pack('<I', alpha_mask or 0)
        info += extra + b'\0' * (header - len(info) - len(extra))
    after = b''
    if masks and header == 40:
        after = struct.pack('<III', *masks) + (struct.pack('<I', alpha_mask) if alpha_mask else b'')
    table = b''
    if palette:
        for r, g, b in palette:
            table += bytes((b, g, r)) + (b'' if header == 12 else b'\0')
    start = 14 + len(info) + len(after) + len(table)
    if offset is None:
        offset = start
    body = info + after + table + b'\0' * max(0, offset - start)
    return b'BM' + struct.pack('<IHHI', 14 + len(body) + len(pixels), 0, 0, offset) + body + pixels


def plain_bmp(grid, bits, top_down=False, header=40, masks=None, compression=None, **kw):
    palette = palette_for(bits) if bits <= 8 else None
    if bits == 16 and masks is None:
        use = (0x7C00, 0x03E0, 0x001F)
    elif bits == 32 and masks is None:
        use = (0xFF0000, 0xFF00, 0xFF)
    else:
        use = masks
    rows = plain_rows(grid, bits, palette, use)
    if not top_down:
        rows.reverse()
    if compression is None:
        compression = 3 if masks else 0
    return bmp(len(grid[0]), -len(grid) if top_down else len(grid), bits, b''.join(rows),
               compression=compression, palette=palette, header=header, masks=masks, **kw)


def rle8_skips():
    p = palette_for(8)
    i = lambda c: index_of(p, c)
    data = bytes([1, i('W'), 0, 2, 1, 0, 0, 3, i('R'), i('G'), i('B'), 0, 0, 0,   # bottom row
                  2, i('R'), 0, 2, 1, 1,                                       # middle, then down
                  1, i('G'), 0, 1])                                            # top row, end
    return bmp(5, 3, 8, data, compression=1, palette=p)


def rle4_skips():
    p = palette_for(4)
    i = lambda c: index_of(p, c)
    data = bytes([5, i('R') << 4 | i('B'), 0, 0,                              # bottom row
                  0, 3, i('G') << 4 | i('W'), i('K') << 4, 2, i('W') << 4 | i('W'), 0, 0,
                  0, 2, 1, 0, 3, i('G') << 4 | i('G'), 0, 1])                  # top row
    return bmp(5, 3, 4, data, compression=2, palette=p)


def rle8_runs():
    """FOUR coded with runs only, one pixel each, bottom row first."""
    p = palette_for(8)
    data = b''
    for line in reversed(FOUR):
        for c in line:
            data += bytes([1, index_of(p, c)])
        data += b'\0\0'
    return bmp(5, 3, 8, data + b'\0\1', compression=1, palette=p)


def valid_bmps():
    five = lambda bits: palette_for(bits)
    yield 'bmp-1.bmp', plain_bmp(TWO, 1)
    yield 'bmp-1-topdown.bmp', plain_bmp(TWO, 1, top_down=True)
    for bits in (4, 8, 16, 24, 32):
        yield f'bmp-{bits}.bmp', plain_bmp(FOUR, bits)
        yield f'bmp-{bits}-topdown.bmp', plain_bmp(FOUR, bits, top_down=True)
    yield 'bmp-16-565.bmp', plain_bmp(FOUR, 16, masks=(0xF800, 0x07E0, 0x001F))
    yield 'bmp-16-565-topdown.bmp', plain_bmp(FOUR, 16, top_down=True, masks=(0xF800, 0x07E0, 0x001F))
    swapped = (0x0000FF00, 0x00FF0000, 0xFF000000)
    yield 'bmp-32-fields.bmp', plain_bmp(FOUR, 32, masks=swapped)
    yield 'bmp-32-fields-topdown.bmp', plain_bmp(FOUR, 32, top_down=True, masks=swapped)
    yield 'bmp-16-header52.bmp', plain_bmp(FOUR, 16, header=52, masks=(0x7C00, 0x03E0, 0x001F))
    yield 'bmp-32-header56-alpha.bmp', plain_bmp(FOUR, 32, header=56, masks=(0xFF0000, 0xFF00, 0xFF),
                                                 alpha_mask=0xFF000000)
    yield 'bmp-24-header108.bmp', plain_bmp(FOUR, 24, header=108)
    yield 'bmp-32-alpha.bmp', alpha_bmp()
    yield 'bmp-32-header124-topdown.bmp', plain_bmp(FOUR, 32, top_down=True, header=124,
                                                    masks=(0x3FF00000, 0x000FFC00, 0x000003FF))
    yield 'bmp-8-header64.bmp', plain_bmp(FOUR, 8, header=64)
    yield 'bmp-8-five-colours.bmp', bmp_five_colours()
    for bits in (1, 4, 8, 24):
        yield f'bmp-os2-{bits}.bmp', plain_bmp(TWO if bits == 1 else FOUR, bits, header=12)
    yield 'bmp-rle8.bmp', rle8_runs()
    yield 'bmp-rle8-skips.bmp', rle8_skips()
    yield 'bmp-rle4-skips.bmp', rle4_skips()


def alpha_bmp():
    """A 32-bit BMP with a 124-byte header whose alpha mask the pixels fill: SEE_THROUGH."""
    rows = [b''.join(bytes((b, g, r, a)) for r, g, b, a in (RGBA[c] for c in line))
            for line in reversed(SEE_THROUGH)]
    return bmp(5, 3, 32, b''.join(rows), compression=3, header=124,
               masks=(0xFF0000, 0xFF00, 0xFF), alpha_mask=0xFF000000)


def bmp_five_colours():
    """An 8-bit BMP whose colour table declares only the five colours it uses."""
    palette = [RGB[c] for c in 'KRGBW']
    rows = [bytes(palette.index(RGB[c]) for c in line) for line in reversed(FOUR)]
    rows = [r + b'\0' * (-len(r) % 4) for r in rows]
    return bmp(5, 3, 8, b''.join(rows), palette=palette, colours_used=5)


def broken_bmps():
    good8 = plain_bmp(FOUR, 8)
    yield 'broken-bmp-os2-cut.bmp', plain_bmp(FOUR, 8, header=12)[:-7]
    rle8 = rle8_runs()
    yield 'broken-bmp-rle8-cut.bmp', rle8[:-10]
    yield 'broken-bmp-rle4-cut.bmp', rle4_skips()[:-6]
    # 16 x 8388620 in 216 bytes: a few rows of runs, then the end of the bitmap.
    p = palette_for(4)
    runs = (bytes([16, 0x3C, 0, 0]) * 40 + b'\0\1')
    tall = bmp(16, 8388620, 4, runs, compression=2, palette=p)
    yield 'broken-bmp-rle4-tall.bmp', tall
    v5 = bytearray(plain_bmp(FOUR, 24, header=124))
    v5[10:14] = struct.pack('<I', 66)   # pixel data said to start inside the header
    yield 'broken-bmp-header124-pixels-at-66.bmp', bytes(v5)
    p8 = palette_for(8)
    yield 'broken-bmp-rle8-run-past-row.bmp', bmp(5, 3, 8, bytes([6, 0, 0, 1]), compression=1, palette=p8)
    yield 'broken-bmp-rle8-delta-past-end.bmp', bmp(5, 3, 8, bytes([0, 2, 1, 3, 0, 1]), compression=1,
                                                    palette=p8)
    yield 'broken-bmp-rle8-topdown.bmp', bmp(5, -3, 8, bytes([0, 1]), compression=1, palette=p8)
    rows = bytes([0, 1, 5, 1, 0, 0, 0, 0]) * 3
    yield 'broken-bmp-index-outside-table.bmp', bmp(5, 3, 8, rows, palette=[RGB['K'], RGB['W']],
                                                    colours_used=2)
    yield 'broken-bmp-fields-overlap.bmp', plain_bmp(FOUR, 32, masks=(0xFF0000, 0xFFFF00, 0xFF))
    yield 'broken-bmp-fields-gap.bmp', plain_bmp(FOUR, 16, masks=(0xF00F, 0x0FF0, 0))
    odd = bytearray(good8)
    odd[28] = 7
    yield 'broken-bmp-7-bits.bmp', bytes(odd)
    odd = bytearray(good8)
    odd[14] = 20
    yield 'broken-bmp-header-20.bmp', bytes(odd)
    odd = bytearray(plain_bmp(FOUR, 24))
    odd[30] = 4
    yield 'broken-bmp-jpeg-inside.bmp', bytes(odd)
    odd = bytearray(good8)
    odd[10:14] = struct.pack('<I', len(good8) + 1)
    yield 'broken-bmp-offset-past-end.bmp', bytes(odd)


def unsupported_bmps():
    """Valid kinds of BMP that the loader does not read."""
    four = [RGB[c] for c in 'RGBW']
    yield 'unsupported-bmp-2-bits.bmp', bmp(5, 3, 2, pack_bits([0, 1, 2, 3, 0], 2) + b'\0\0' * 3,
                                            palette=four)
    yield 'unsupported-bmp-64-bits.bmp', bmp(5, 3, 64, b'\0' * 40 * 3)
    yield 'unsupported-bmp-cmyk.bmp', bmp(5, 3, 32, b'\0' * 20 * 3, compression=11)
    # OS/2 2 headers: compression 3 is Huffman 1D for 1 bit, 4 is run-length coded 24 bits.
    yield 'unsupported-bmp-os2-huffman.bmp', bmp(5, 3, 1, b'\0' * 12, compression=3, header=64,
                                                 palette=four[:2])
    yield 'unsupported-bmp-os2-rle24.bmp', bmp(5, 3, 24, bytes([5, 0, 0, 255, 0, 0]) * 3 + b'\0\1',
                                               compression=4, header=64)


# ---- GIF ----------------------------------------------------------------------------------

def lzw(indices, min_size):
    clear = 1 << min_size
    codes = [(clear, min_size + 1)]
    width = min_size + 1
    table = {(i,): i for i in range(clear)}
    nxt = clear + 2
    w = ()
    for k in indices:
        if w + (k,) in table:
            w += (k,)
            continue
        codes.append((table[w], width))
        if nxt < 4096:
            table[w + (k,)] = nxt
            nxt += 1
            if nxt > (1 << width) and width < 12:
                width += 1
        else:
            codes.append((clear, width))
            table = {(i,): i for i in range(clear)}
            nxt = clear + 2
            width = min_size + 1
        w = (k,)
    if w:
        codes.append((table[w], width))
    codes.append((clear + 1, width))
    acc = n = 0
    out = bytearray()
    for c, wd in codes:
        acc |= c << n
        n += wd
        while n >= 8:
            out.append(acc & 255)
            acc >>= 8
            n -= 8
    if n:
        out.append(acc)
    return bytes(out)


def sub_blocks(data):
    out = bytearray()
    for i in range(0, len(data), 255):
        out.append(len(data[i:i + 255]))
        out += data[i:i + 255]
    return bytes(out) + b'\0'


def colour_table(colours):
    n = max(1, (len(colours) - 1).bit_length())
    padded = colours + [(0, 0, 0)] * ((1 << n) - len(colours))
    return n - 1, b''.join(bytes(c) for c in padded)


def gif(sw, sh, table, background, rect, pixels, transparent=None, local=None, interlace=False):
    out = bytearray(b'GIF89a' + struct.pack('<HH', sw, sh))
    if table:
        size, data = colour_table(table)
        out += bytes([0x80 | size << 4 | size, background, 0]) + data
    else:
        out += bytes([0, background, 0])
    if transparent is not None:
        out += bytes([0x21, 0xF9, 4, 1, 0, 0, transparent, 0])
    x, y, w, h = rect
    flags = 0x40 if interlace else 0
    local_data = b''
    if local:
        size, local_data = colour_table(local)
        flags |= 0x80 | size
    out += b',' + struct.pack('<HHHH', x, y, w, h) + bytes([flags]) + local_data
    rows = [pixels[r * w:(r + 1) * w] for r in range(h)]
    if interlace:
        order = [*range(0, h, 8), *range(4, h, 8), *range(2, h, 4), *range(1, h, 2)]
        rows = [rows[r] for r in order]
    flat = [p for row in rows for p in row]
    min_size = max(2, max(flat).bit_length())
    return bytes(out) + bytes([min_size]) + sub_blocks(lzw(flat, min_size)) + b';'


def valid_gifs():
    table = [RGB[c] for c in 'RGBW']
    yield 'gif-offset.gif', gif(4, 3, table, 2, (1, 1, 2, 2), [0, 1, 3, 0])
    yield 'gif-transparent.gif', gif(4, 3, table, 2, (1, 1, 2, 2), [0, 1, 3, 0], transparent=1)
    yield 'gif-clipped.gif', gif(3, 2, table, 2, (1, 1, 3, 2), [0, 1, 3, 0, 1, 3])
    yield 'gif-local-table.gif', gif(3, 2, table[:2], 1, (0, 0, 2, 2), [0, 1, 1, 0],
                                     local=[RGB['B'], RGB['W']])
    yield 'gif-no-screen-size.gif', gif(0, 0, table, 0, (0, 0, 2, 2), [0, 1, 1, 0])
    # 2 x 9, row y coloured by y mod 4, stored interlaced.
    yield 'gif-interlaced.gif', gif(2, 9, table, 0, (0, 0, 2, 9), [y % 4 for y in range(9) for _ in (0, 1)],
                                    interlace=True)


def broken_gifs():
    big = gif(16, 16, [RGB[c] for c in 'RGBW'], 0, (0, 0, 16, 16), [(x * 7 + y) % 4 for y in range(16) for x in range(16)])
    yield 'broken-gif-cut-in-data.gif', big[:len(big) - 12]
    # 16 x 32767 declared, about 1 KB of data.
    tall = gif(16, 32767, [RGB[c] for c in 'RGBW'], 0, (0, 0, 16, 32767), [0] * (16 * 2000))
    yield 'broken-gif-tall.gif', tall[:1000]
    yield 'broken-gif-index-outside-table.gif', gif(2, 2, [RGB['R'], RGB['G']], 0, (0, 0, 2, 2), [0, 1, 5, 7])
    yield 'broken-gif-no-colour-table.gif', gif(2, 2, None, 0, (0, 0, 2, 2), [0, 1, 1, 0])
    yield 'broken-gif-no-image.gif', b'GIF89a\x02\x00\x02\x00\x80\x00\x00' + b'\0\0\0\xff\xff\xff' + b';'


# ---- PNG ----------------------------------------------------------------------------------

def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))


def png_row(samples, depth):
    if depth == 16:
        return b''.join(struct.pack('>H', v) for v in samples)
    return pack_bits(samples, depth)


ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2),
         (0, 1, 1, 2)]   # first column, first row, column step, row step of each pass


def png(rows, colour_type, depth, palette=None, trns=None, interlace=False, extra=b''):
    """rows: lists of pixels, each a tuple of samples (one for grey and palette indices)."""
    height, width = len(rows), len(rows[0])
    raw = b''
    passes = ADAM7 if interlace else [(0, 0, 1, 1)]
    for x0, y0, dx, dy in passes:
        for y in range(y0, height, dy):
            pixels = rows[y][x0::dx]
            if pixels:
                raw += b'\0' + png_row([v for p in pixels for v in p], depth)
    out = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, depth,
                                                             colour_type, 0, 0, int(interlace)))
    out += extra
    if palette:
        out += chunk(b'PLTE', b''.join(bytes(c) for c in palette))
    if trns is not None:
        out += chunk(b'tRNS', trns)
    return out + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')


def scaled(grid, n):
    return [''.join(c * n for c in line) for line in grid for _ in range(n)]


# The profile and EXIF block of png-meta.png and webp-meta.webp, kept by the decoders as stored.
ICC = b'\0\0\1\x90' + b'not a real profile, kept as it is' * 12
EXIF = b'MM\0*\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0\0\0\0\0'


def pngs():
    rgb = lambda grid: [[RGB[c] for c in line] for line in grid]
    rgba = lambda grid: [[RGBA[c] for c in line] for line in grid]
    yield 'png-rgb.png', png(rgb(FOUR), 2, 8)
    yield 'png-interlaced.png', png(rgb(scaled(FOUR, 3)), 2, 8, interlace=True)
    # Grey at 16 bits: D is 0x20C0, which rounds to 33 (dropping the low byte would give 32).
    grey = {'K': 0, 'W': 0xFFFF, 'D': 0x20C0}
    yield 'png-grey16.png', png([[(grey[c],) for c in line] for line in ["KWDK", "DDWK"]], 0, 16)
    # Two-bit grey with grey 1 (85) transparent.
    yield 'png-grey2-trns.png', png([[(v,) for v in row] for row in ([0, 1, 2, 3], [3, 1, 0, 1])],
                                    0, 2, trns=struct.pack('>H', 1))
    table = [RGB[c] for c in 'KRGBW'] + [(0, 255, 0), (255, 0, 0)]   # T and H last
    index = {c: i for i, c in enumerate('KRGBWTH')}
    yield 'png-palette.png', png([[(index[c],) for c in line] for line in FOUR], 3, 4, palette=table)
    yield 'png-palette-trns.png', png([[(index[c],) for c in line] for line in SEE_THROUGH], 3, 8,
                                      palette=table, trns=bytes([255] * 5 + [0, 128]))
    yield 'png-rgba.png', png(rgba(SEE_THROUGH), 6, 8)
    yield 'png-rgba16-interlaced.png', png([[tuple(v * 257 for v in p) for p in row]
                                            for row in rgba(scaled(SEE_THROUGH, 2))], 6, 16,
                                           interlace=True)
    yield 'png-grey-alpha.png', png([[(RGBA[c][0], RGBA[c][3]) for c in line]
                                     for line in ["KWTK", "WTKT"]], 4, 8)
    meta = chunk(b'iCCP', b'test\0\0' + zlib.compress(ICC)) + chunk(b'eXIf', EXIF)
    yield 'png-meta.png', png(rgb(FOUR), 2, 8, extra=meta)
    yield 'png-animated.png', apng(rgb(FOUR), rgb(["KKKKK"] * 3))


def apng(first, second):
    """An animated PNG of two frames: the default image (its IDAT) is the first."""
    control = lambda n: struct.pack('>IIIIIHHBB', n, len(first[0]), len(first), 0, 0, 1, 2, 0, 0)
    still = png(first, 2, 8)
    idat = still.index(b'IDAT') - 4
    frame = png(second, 2, 8)
    at = frame.index(b'IDAT')
    data = frame[at + 4:at + 4 + struct.unpack('>I', frame[at - 4:at])[0]]
    return (still[:idat] + chunk(b'acTL', struct.pack('>II', 2, 0)) + chunk(b'fcTL', control(0)) +
            still[idat:-12] + chunk(b'fcTL', control(1)) +
            chunk(b'fdAT', struct.pack('>I', 2) + data) + still[-12:])


def broken_pngs():
    good = png([[RGB[c] for c in line] for line in scaled(FOUR, 8)], 2, 8)
    yield 'broken-png-cut.png', good[:len(good) - 30]
    # 65535 x 65535 and 16384 x 16384 declared in a few hundred bytes.
    for name, side in (('broken-png-huge.png', 65535), ('broken-png-16384.png', 16384)):
        yield name, good[:16] + struct.pack('>II', side, side) + good[24:29] + struct.pack(
            '>I', zlib.crc32(b'IHDR' + struct.pack('>II', side, side) + good[24:29])) + good[33:]
    bad_crc = bytearray(good)
    bad_crc[40] ^= 1
    yield 'broken-png-idat-crc.png', bytes(bad_crc)


# ---- WebP, HEIC, AVIF ---------------------------------------------------------------------

def pam(grid):
    """A PAM picture with alpha of the letters in RGBA."""
    header = b'P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n'
    return header % (len(grid[0]), len(grid)) + b''.join(bytes(RGBA[c]) for r in grid for c in r)


def convert_to(suffix, args, source):
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, 'in.pam')
        with open(src, 'wb') as f:
            f.write(source)
        out = os.path.join(tmp, 'out.' + suffix)
        subprocess.run(['/usr/bin/convert', src, *args, out], check=True)
        with open(out, 'rb') as f:
            return f.read()


def riff(chunks):
    body = b''.join(kind + struct.pack('<I', len(data)) + data + b'\0' * (len(data) & 1)
                    for kind, data in chunks)
    return b'RIFF' + struct.pack('<I', 4 + len(body)) + b'WEBP' + body


def webp_chunks(data):
    at, chunks = 12, []
    while at < len(data):
        kind, size = data[at:at + 4], struct.unpack('<I', data[at + 4:at + 8])[0]
        chunks.append((kind, data[at + 8:at + 8 + size]))
        at += 8 + size + (size & 1)
    return chunks


def webp_with_metadata(lossless):
    """The extended format around a plain lossless picture: a profile before it, EXIF after."""
    (kind, data), = webp_chunks(lossless)
    assert kind == b'VP8L'
    width, height = (struct.unpack('<I', data[1:5])[0] & 0x3FFF) + 1, \
        ((struct.unpack('<I', data[1:5])[0] >> 14) & 0x3FFF) + 1
    vp8x = struct.pack('<I', 0x20 | 0x10 | 0x08) + struct.pack('<I', width - 1)[:3] + \
        struct.pack('<I', height - 1)[:3]
    return riff([(b'VP8X', vp8x), (b'ICCP', ICC), (b'VP8L', data), (b'EXIF', b'Exif\0\0' + EXIF)])


def webps():
    lossless = convert_to('webp', ['-define', 'webp:lossless=true', '-define', 'webp:exact=true'],
                          pam(SEE_THROUGH))
    yield 'webp-lossless.webp', lossless
    yield 'webp-named.jpg', lossless   # told by its content, not its name
    # 16383 x 16383 declared by the lossless header of a 5 x 3 picture's data.
    (kind, data), = webp_chunks(lossless)
    bits = struct.unpack('<I', data[1:5])[0]
    huge = data[:1] + struct.pack('<I', bits & ~0xFFFFFFF | 16382 | 16382 << 14) + data[5:]
    yield 'broken-webp-huge.webp', riff([(kind, huge)])
    yield 'broken-webp-cut.webp', lossless[:-10]
    yield 'webp-lossy.webp', convert_to('webp', ['-quality', '95'], pam(scaled(SEE_THROUGH, 16)))
    yield 'webp-meta.webp', webp_with_metadata(convert_to(
        'webp', ['-define', 'webp:lossless=true'], pam(FOUR)))
    # Two frames: the first one shows.
    yield 'webp-animated.webp', animated_webp()


def animated_webp():
    with tempfile.TemporaryDirectory() as tmp:
        names = []
        for i, grid in enumerate((SEE_THROUGH, FOUR)):
            names.append(os.path.join(tmp, f'{i}.pam'))
            with open(names[-1], 'wb') as f:
                f.write(pam(grid))
        out = os.path.join(tmp, 'out.webp')
        subprocess.run(['/usr/bin/convert', '-delay', '50', *names, '-define', 'webp:lossless=true',
                        out], check=True)
        with open(out, 'rb') as f:
            return f.read()


def heif(grid, av1, bits=8, icc=None, orientation=1):
    """A HEIC (HEVC) or AVIF (AV1) picture with alpha, made with libheif's encoders."""
    import ctypes
    lib = ctypes.CDLL('libheif.so.1')

    class Error(ctypes.Structure):
        _fields_ = [('code', ctypes.c_int), ('subcode', ctypes.c_int), ('message', ctypes.c_char_p)]

    class Options(ctypes.Structure):
        _fields_ = [('version', ctypes.c_uint8), ('save_alpha_channel', ctypes.c_uint8),
                    ('macos_workaround', ctypes.c_uint8), ('two_colr_boxes', ctypes.c_uint8),
                    ('nclx', ctypes.c_void_p), ('macos_no_nclx', ctypes.c_uint8),
                    ('image_orientation', ctypes.c_int)]

    for f in ('heif_context_get_encoder_for_format', 'heif_image_create', 'heif_image_add_plane',
              'heif_context_encode_image', 'heif_context_write_to_file',
              'heif_image_set_raw_color_profile', 'heif_encoder_set_lossy_quality'):
        getattr(lib, f).restype = Error
    lib.heif_context_alloc.restype = ctypes.c_void_p
    lib.heif_image_get_plane.restype = ctypes.POINTER(ctypes.c_uint8)
    lib.heif_encoding_options_alloc.restype = ctypes.POINTER(Options)

    def check(error):
        if error.code:
            raise RuntimeError(error.message)

    ctx = ctypes.c_void_p(lib.heif_context_alloc())
    encoder = ctypes.c_void_p()
    check(lib.heif_context_get_encoder_for_format(ctx, 4 if av1 else 1, ctypes.byref(encoder)))
    check(lib.heif_encoder_set_lossy_quality(encoder, 95))
    height, width = len(grid), len(grid[0])
    image = ctypes.c_void_p()
    wide = bits > 8
    check(lib.heif_image_create(width, height, 1, 15 if wide else 11, ctypes.byref(image)))
    check(lib.heif_image_add_plane(image, 10, width, height, bits))
    stride = ctypes.c_int()
    plane = lib.heif_image_get_plane(image, 10, ctypes.byref(stride))
    for y, line in enumerate(grid):
        for x, c in enumerate(line):
            for k, v in enumerate(RGBA[c]):
                if wide:
                    v = round(v * ((1 << bits) - 1) / 255)
                    plane[y * stride.value + 8 * x + 2 * k] = v & 255
                    plane[y * stride.value + 8 * x + 2 * k + 1] = v >> 8
                else:
                    plane[y * stride.value + 4 * x + k] = v
    if icc:
        check(lib.heif_image_set_raw_color_profile(image, b'prof', icc, len(icc)))
    options = lib.heif_encoding_options_alloc()
    options.contents.image_orientation = orientation
    check(lib.heif_context_encode_image(ctx, image, encoder, options, None))
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, 'out')
        check(lib.heif_context_write_to_file(ctx, out.encode()))
        with open(out, 'rb') as f:
            return f.read()


def heifs():
    big = scaled(SEE_THROUGH, 16)
    yield 'heic-alpha.heic', heif(big, av1=False)
    yield 'avif-alpha.avif', heif(big, av1=True)
    yield 'heic-10bit.heic', heif(big, av1=False, bits=10)
    # Stored 5 x 3 with the orientation "turned 90 degrees clockwise": shown 3 x 5.
    yield 'heic-turned.heic', heif(scaled(FOUR, 16), av1=False, icc=ICC, orientation=6)
    small = heif(FOUR, av1=False)
    yield 'broken-heic-cut.heic', small[:-40]
    # The images' size declared as 60000 x 60000 (their 'ispe' properties).
    huge = bytearray(small)
    at = huge.find(b'ispe')
    while at >= 0:
        huge[at + 8:at + 16] = struct.pack('>II', 60000, 60000)
        at = huge.find(b'ispe', at + 1)
    yield 'broken-heic-huge.heic', bytes(huge)
    # Its grid of one tile (libheif writes one in place of a crop) said to make 20000 x 20000.
    at = small.index(b'idat') + 8
    yield 'broken-heic-grid.heic', small[:at] + struct.pack('>HH', 20000, 20000) + small[at + 4:]


# ---- JPEG ---------------------------------------------------------------------------------

def convert(args, source_ppm):
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, 'in.ppm')
        with open(src, 'wb') as f:
            f.write(source_ppm)
        out = os.path.join(tmp, 'out.jpg')
        subprocess.run(['/usr/bin/convert', src, *args, '-strip', out], check=True)
        with open(out, 'rb') as f:
            return f.read()


def grid_ppm(grid, scale):
    """A PPM of the letter grid, each letter a scale x scale square."""
    rows = [b''.join(bytes(RGB[c]) * scale for c in line) * scale for line in grid]
    return b'P6 %d %d 255\n' % (len(grid[0]) * scale, len(grid) * scale) + b''.join(rows)


def quadrants(letters, width=16, height=16):
    """A PPM of four squares: letters[0] letters[1] above letters[2] letters[3]."""
    rows = []
    for y in range(height):
        row = b''
        for x in range(width):
            row += bytes(RGB[letters[(2 * y // height) * 2 + 2 * x // width]])
        rows.append(row)
    return f'P6 {width} {height} 255\n'.encode() + b''.join(rows)


def start_of_frame(data):
    i = 2
    while True:
        assert data[i] == 0xFF
        marker = data[i + 1]
        length = data[i + 2] << 8 | data[i + 3]
        if marker in (0xC0, 0xC1, 0xC2):
            return i
        i += 2 + length


def with_size(data, width, height):
    at = start_of_frame(data) + 5
    return data[:at] + struct.pack('>HH', height, width) + data[at + 4:]


def noise(width=32, height=32):
    """A PPM of pseudo-random colours, whose scan is long enough to cut."""
    state = 12345
    data = bytearray()
    for _ in range(width * height * 3):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        data.append(state >> 23)
    return b'P6 %d %d 255\n' % (width, height) + bytes(data)


def segment(marker, body):
    return bytes((0xFF, marker)) + struct.pack('>H', len(body) + 2) + body


def exif_segment(orientation, big):
    """An APP1 segment whose EXIF block holds the orientation tag alone."""
    order = '>' if big else '<'
    tiff = (b'MM' if big else b'II') + struct.pack(order + 'HI', 42, 8)
    tiff += struct.pack(order + 'HHHIHHI', 1, 0x0112, 3, 1, orientation, 0, 0)
    return segment(0xE1, b'Exif\0\0' + tiff)


def after_start(jpeg, *segments):
    return jpeg[:2] + b''.join(segments) + jpeg[2:]


def icc_segments(profile, chunks):
    """The profile in `chunks` APP2 segments, numbered as a reader joins them."""
    size = -(-len(profile) // chunks)
    return [segment(0xE2, b'ICC_PROFILE\0' + bytes((i + 1, chunks)) + profile[i * size:(i + 1) * size])
            for i in range(chunks)]


# The operation that stores an upright picture so that orientation tag N stands it upright again.
STORED_AS = {2: '-flop', 3: '-rotate 180', 4: '-flip', 5: '-transpose', 6: '-rotate 270',
             7: '-transverse', 8: '-rotate 90'}
PROFILES = '/usr/share/color/icc/colord/'


def turned_jpegs():
    upright = grid_ppm(["RGB", "WKK"], 8)
    for n, op in STORED_AS.items():
        stored = convert([*op.split(), '-quality', '95', '-sampling-factor', '1x1'], upright)
        yield 'jpeg-orientation-%d.jpg' % n, after_start(stored, exif_segment(n, big=n % 2 == 1))


def profile_jpegs():
    """A 48 x 32 picture in Adobe RGB stored a quarter turn anticlockwise, its profile in two
    segments, and ImageMagick's upright sRGB rendering of it as a 24-bit BMP; and a picture whose
    profile segments are both numbered first of two, which a reader leaves out."""
    with open(PROFILES + 'AdobeRGB1998.icc', 'rb') as f:
        profile = f.read()
    plain = convert(['-quality', '95', '-sampling-factor', '1x1'], quadrants('RGBW'))
    first, second = icc_segments(profile, 2)
    yield 'jpeg-icc-mismatched.jpg', after_start(plain, first, second[:16] + b'\x01' + second[17:])
    stored = convert(['-rotate', '270', '-quality', '95', '-sampling-factor', '1x1'], noise(48, 32))
    jpeg = after_start(stored, exif_segment(6, big=False), *icc_segments(profile, 2))
    yield 'jpeg-adobe-rgb.jpg', jpeg
    with tempfile.TemporaryDirectory() as tmp:
        src, out = os.path.join(tmp, 'in.jpg'), os.path.join(tmp, 'out.bmp')
        with open(src, 'wb') as f:
            f.write(jpeg)
        subprocess.run(['/usr/bin/convert', src, '-auto-orient', '-intent', 'Relative',
                        '-profile', PROFILES + 'sRGB.icc', '-strip', 'BMP3:' + out], check=True)
        with open(out, 'rb') as f:
            yield 'jpeg-adobe-rgb-srgb.bmp', f.read()


def jpegs():
    rgbw = quadrants('RGBW')
    yield 'jpeg-444.jpg', convert(['-quality', '95', '-sampling-factor', '1x1'], rgbw)
    yield 'jpeg-progressive.jpg', convert(['-quality', '95', '-sampling-factor', '1x1', '-interlace', 'JPEG'], rgbw)
    yield 'jpeg-grey.jpg', convert(['-quality', '95', '-colorspace', 'Gray'], quadrants('KWWK'))
    yield 'jpeg-cmyk.jpg', convert(['-quality', '95', '-colorspace', 'CMYK'], rgbw)
    # Flaws around pixels that all come from the file: the end-of-image marker missing, stray
    # bytes before it.
    sequential = convert(['-quality', '95', '-sampling-factor', '1x1'], rgbw)
    yield 'jpeg-no-end-marker.jpg', sequential[:-2]
    yield 'jpeg-stray-bytes.jpg', sequential[:-2] + b'\x55' * 8 + sequential[-2:]
    progressive = convert(['-quality', '95', '-sampling-factor', '1x1', '-interlace', 'JPEG'], rgbw)
    yield 'jpeg-progressive-no-end-marker.jpg', progressive[:-2]
    yield 'jpeg-large.jpg', convert(['-quality', '95', '-sampling-factor', '1x1'],
                                    quadrants('RGBW', 256, 256))
    base = convert(['-quality', '50', '-sampling-factor', '2x2'], rgbw)
    noisy = convert(['-quality', '90'], noise())
    scan = noisy.index(b'\xff\xda')
    yield 'broken-jpeg-short-scan.jpg', noisy[:scan + 200] + b'\xff\xd9'
    yield 'broken-jpeg-cut-in-scan.jpg', noisy[:scan + 200]
    garbled = bytearray(noisy)
    garbled[scan + 100:scan + 106] = b'\xfe' * 6   # a code no Huffman table has
    yield 'broken-jpeg-bad-code.jpg', bytes(garbled)
    # Cut between two scans, before the fifth, with no end-of-image marker.
    fifth = [i for i in range(len(progressive) - 1) if progressive[i:i + 2] == b'\xff\xda'][4]
    yield 'broken-jpeg-progressive-cut-between-scans.jpg', progressive[:fifth]
    yield 'broken-jpeg-tall.jpg', with_size(base, 16, 40000)
    yield 'broken-jpeg-16384.jpg', with_size(base, 16384, 16384)
    bogus = bytearray(base)
    at = start_of_frame(base)
    bogus[at + 2:at + 4] = b'\x00\x01'   # a marker length shorter than its own two bytes
    yield 'broken-jpeg-bad-marker.jpg', bytes(bogus)


def main():
    for group in (valid_bmps(), broken_bmps(), unsupported_bmps(), valid_gifs(), broken_gifs(),
                  jpegs(), turned_jpegs(), profile_jpegs(), pngs(), broken_pngs(), webps(), heifs()):
        for name, data in group:
            write(name, data)


if __name__ == '__main__':
    main()
