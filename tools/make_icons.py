#!/usr/bin/env python3
"""Draw Quillet's icons and write them as Windows .ico files.

    python3 tools/make_icons.py               # writes src/res/Quillet.ico and the Tray*.ico faces
    python3 tools/make_icons.py --preview DIR # also writes enlarged PNG previews to DIR

The pictures are pixel art kept below as character grids, one character per
pixel, with a shared palette. Each .ico holds a 16x16 and a 32x32 image as
classic 8 bits-per-pixel DIBs (256-colour palette, XOR bitmap plus 1-bit AND
mask). With only a 1-bit mask there is no anti-aliasing against the
background, so every edge is drawn crisp and the 16x16 images are drawn by
hand rather than scaled down.

Beside them each .ico holds 32-bit images with alpha in the sizes Windows asks
for at higher DPI (16, 20, 24, 32, 40, 48 and 256 pixels): 16 and 32 are the
grids themselves; 20 to 48 are the 32x32 grid resampled by area, which gives
soft edges through alpha; 256 is the 32x32 grid at eight times. The 32-bit
images are stored as PNG, which Windows Vista and later read at any size: as
uncompressed DIBs they would make up 60 KB of the exe, as PNG a few KB. Standard library only; the output is
deterministic, so running the script reproduces the committed files exactly.
"""

import os
import struct
import sys
import zlib

# Character -> colour. '.' is transparent (masked out; its XOR colour is black).
PALETTE = [
    ('.', (0x00, 0x00, 0x00)),  # transparent
    ('K', (0x1A, 0x22, 0x30)),  # outline, ticks, hands
    ('b', (0x6C, 0xA6, 0xF2)),  # bezel, lit side
    ('B', (0x2F, 0x74, 0xD8)),  # bezel
    ('D', (0x1D, 0x4E, 0x9E)),  # bezel, shaded side
    ('W', (0xFF, 0xFF, 0xFF)),  # dial
    ('w', (0xD8, 0xE0, 0xEA)),  # dial, shadow under the bezel
    ('t', (0x8A, 0x96, 0xA4)),  # minor ticks
    ('R', (0xE5, 0x39, 0x35)),  # red hand
    ('L', (0xEE, 0xF2, 0xF6)),  # crown highlight
    ('M', (0xB8, 0xC2, 0xCE)),  # crown metal
    ('m', (0x84, 0x90, 0x9E)),  # crown metal, shaded
    ('Y', (0xFF, 0xC8, 0x8A)),  # elapsed-time sector (tray)
    ('y', (0xB0, 0xB8, 0xC4)),  # elapsed-time sector, paused (tray)
]

APP_32 = [
    ".............KKKKKK.............",
    ".............KLMMmK.............",
    ".............KKKKKK.......KK....",
    "..............KMmK.......KLMK...",
    "............KKKKKKKK....KLMMmK..",
    "..........KKbbbbbbbbKK..KMMmK...",
    "........KKbbbbbbbbbbBBKKKmKK....",
    ".......KbbbbwwwwwwwwBBBBKK......",
    "......KbbbwwWWWKKWWWwwBBBK......",
    ".....KbbbwWtWWWKKWWWtWWBBBK.....",
    "....KbbbwWWWWWWWWWWWWWWWBBBK....",
    "....KbbwWWWWWWWKKWWWWWWWWBBK....",
    "...KbbwWWWWWWWWKKWWWWWWWWWBBK...",
    "...KbbwtWWWWWWWKKWWWWWWWtWBBK...",
    "..KbbwWWWWWWWWWKKWWWWWWWWWWDDK..",
    "..KbbwWWWWWWWWWKKWWWWWWWWWWDDK..",
    "..KbbwWWWWWWWWWKKWWWWWWWWWWDDK..",
    "..KbbwKKWWWWWWKRRKWWWWWWKKWDDK..",
    "..KbbwKKWWWWWWKRRKWWWWWWKKWDDK..",
    "..KbbwWWWWWWWWWKKRRRWWWWWWWDDK..",
    "..KbbwWWWWWWWWWWWWRRRWWWWWWDDK..",
    "..KbbwWWWWWWWWWWWWWRRRWWWWWDDK..",
    "...KBBwtWWWWWWWWWWWWRRRWtWDDK...",
    "...KBBwWWWWWWWWWWWWWWRRRWWDDK...",
    "....KBBWWWWWWWWWWWWWWWWWWDDK....",
    "....KBBBWWWWWWWWWWWWWWWWDDDK....",
    ".....KBBBWWtWWWKKWWWtWWDDDK.....",
    "......KBBBWWWWWKKWWWWWDDDK......",
    ".......KBBBBWWWWWWWWDDDDK.......",
    "........KKBBDDDDDDDDDDKK........",
    "..........KKDDDDDDDDKK..........",
    "............KKKKKKKK............",
]

APP_16 = [
    ".....KKKKK......",
    ".....KMMmK......",
    ".......m........",
    ".....KKKKK..K...",
    "...KKbbbbBKKMK..",
    "..KbbWWKWWBBKK..",
    "..KbWWWWWWWBK...",
    ".KbWWWWKWWWWBK..",
    ".KbWWWWKWWWWDK..",
    ".KbKWWWKWWWKDK..",
    ".KBWWWWWRWWWDK..",
    ".KBWWWWWWRWWDK..",
    "..KBWWWWWWRDK...",
    "..KBDWWKWWDDK...",
    "...KKDDDDDKK....",
    ".....KKKKK......",
]

# The tray icon is the same stopwatch with the elapsed time since twelve
# shaded, so it reads as "running" next to the application icon.
TRAY_32 = [
    ".............KKKKKK.............",
    ".............KLMMmK.............",
    ".............KKKKKK.......KK....",
    "..............KMmK.......KLMK...",
    "............KKKKKKKK....KLMMmK..",
    "..........KKbbbbbbbbKK..KMMmK...",
    "........KKbbbbbbbbbbBBKKKmKK....",
    ".......KbbbbwwwwYYYYBBBBKK......",
    "......KbbbwwWWWKKYYYYYBBBK......",
    ".....KbbbwWtWWWKKYYYtYYBBBK.....",
    "....KbbbwWWWWWWWYYYYYYYYBBBK....",
    "....KbbwWWWWWWWKKYYYYYYYYBBK....",
    "...KbbwWWWWWWWWKKYYYYYYYYYBBK...",
    "...KbbwtWWWWWWWKKYYYYYYYtYBBK...",
    "..KbbwWWWWWWWWWKKYYYYYYYYYYDDK..",
    "..KbbwWWWWWWWWWKKYYYYYYYYYYDDK..",
    "..KbbwWWWWWWWWWKKYYYYYYYYYYDDK..",
    "..KbbwKKWWWWWWKRRKYYYYYYKKYDDK..",
    "..KbbwKKWWWWWWKRRKYYYYYYKKYDDK..",
    "..KbbwWWWWWWWWWKKRRRYYYYYYYDDK..",
    "..KbbwWWWWWWWWWWWWRRRYYYYYYDDK..",
    "..KbbwWWWWWWWWWWWWWRRRYYYYYDDK..",
    "...KBBwtWWWWWWWWWWWWRRRYtYDDK...",
    "...KBBwWWWWWWWWWWWWWWRRRYYDDK...",
    "....KBBWWWWWWWWWWWWWWWWYYDDK....",
    "....KBBBWWWWWWWWWWWWWWWWDDDK....",
    ".....KBBBWWtWWWKKWWWtWWDDDK.....",
    "......KBBBWWWWWKKWWWWWDDDK......",
    ".......KBBBBWWWWWWWWDDDDK.......",
    "........KKBBDDDDDDDDDDKK........",
    "..........KKDDDDDDDDKK..........",
    "............KKKKKKKK............",
]

TRAY_16 = [
    ".....KKKKK......",
    ".....KMMmK......",
    ".......m........",
    ".....KKKKK..K...",
    "...KKbbbbBKKMK..",
    "..KbbWWKYYBBKK..",
    "..KbWWWWYYYBK...",
    ".KbWWWWKYYYYBK..",
    ".KbWWWWKYYYYDK..",
    ".KbKWWWKYYYKDK..",
    ".KBWWWWWRYYYDK..",
    ".KBWWWWWWRYYDK..",
    "..KBWWWWWWRDK...",
    "..KBDWWKWWDDK...",
    "...KKDDDDDKK....",
    ".....KKKKK......",
]


def check(name, grid, size):
    if len(grid) != size or any(len(row) != size for row in grid):
        raise SystemExit('%s is not %dx%d' % (name, size, size))
    known = set(ch for ch, _ in PALETTE)
    for y, row in enumerate(grid):
        for x, ch in enumerate(row):
            if ch not in known:
                raise SystemExit('%s: unknown colour %r at %d,%d' % (name, ch, x, y))


def palette_index():
    return dict((ch, i) for i, (ch, _) in enumerate(PALETTE))


def dib(grid):
    """One icon image: BITMAPINFOHEADER, 256 RGBQUADs, XOR bitmap, AND mask."""
    size = len(grid)
    index = palette_index()
    colours = [rgb for _, rgb in PALETTE] + [(0, 0, 0)] * (256 - len(PALETTE))
    quads = b''.join(struct.pack('<BBBB', b_, g_, r_, 0) for r_, g_, b_ in colours)
    xor_stride = (size + 3) // 4 * 4
    and_stride = (size + 31) // 32 * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(grid):  # DIBs are stored bottom-up
        xor += bytes(index[ch] for ch in row) + b'\0' * (xor_stride - size)
        bits = bytearray(and_stride)
        for x, ch in enumerate(row):
            if ch == '.':
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    image = bytes(xor) + bytes(mask)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 8, 0,
                         len(image), 0, 0, 0, 0)
    return header + quads + image


ALPHA_SIZES = [16, 20, 24, 32, 40, 48, 256]


def rgba(grid):
    """Rows of (r, g, b, a); '.' is fully transparent."""
    colour = dict(PALETTE)
    return [[(0, 0, 0, 0) if ch == '.' else colour[ch] + (255,) for ch in row]
            for row in grid]


def resample(pixels, size):
    """Each target pixel is the area-weighted average of the source pixels it
    covers, with colours weighted by their alpha."""
    src = len(pixels)
    scale = src / size

    def spans(i):
        lo, hi = i * scale, (i + 1) * scale
        j = int(lo)
        while j < hi and j < src:
            yield j, min(hi, j + 1) - max(lo, j)
            j += 1

    out = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy, wy in spans(y):
                for sx, wx in spans(x):
                    r, g, b, a = pixels[sy][sx]
                    w = wx * wy * a
                    acc[0] += r * w
                    acc[1] += g * w
                    acc[2] += b * w
                    acc[3] += w
            area = scale * scale
            alpha = acc[3] / area
            if acc[3] == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(int(round(c / acc[3])) for c in acc[:3]) +
                           (int(round(alpha)),))
        out.append(row)
    return out


def enlarge(pixels, factor):
    return [[px for px in row for _ in range(factor)]
            for row in pixels for _ in range(factor)]


def alpha_image(small, large, size):
    if size == 16:
        return rgba(small)
    if size == 256:
        return enlarge(rgba(large), 8)
    if size == 32:
        return rgba(large)
    return resample(rgba(large), size)


def png_bytes(pixels, alpha=False):
    height, width = len(pixels), len(pixels[0])
    channels = 4 if alpha else 3
    raw = b''.join(b'\0' + bytes(c for px in row for c in px[:channels])
                   for row in pixels)

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff))

    colour_type = 6 if alpha else 2
    return (b'\x89PNG\r\n\x1a\n' +
            chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, colour_type, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def ico(small, large):
    entries = [(16, 8, dib(small)), (32, 8, dib(large))]
    for size in ALPHA_SIZES:
        pixels = alpha_image(small, large, size)
        image = png_bytes(pixels, alpha=True)
        entries.append((size, 32, image))
    out = struct.pack('<HHH', 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, bits, image in entries:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, bits,
                           len(image), offset)
        offset += len(image)
    return out + b''.join(image for _, _, image in entries)


def png(path, pixels):
    """Write a list of rows of (r, g, b) tuples as a PNG."""
    with open(path, 'wb') as f:
        f.write(png_bytes(pixels))


def preview(path, grids):
    """Each grid 8x and 1x, on a light and on a dark background."""
    colour = dict(PALETTE)
    backgrounds = [(0xF3, 0xF3, 0xF3), (0x20, 0x20, 0x20)]
    pad = 8
    scales = [8, 1]
    width = pad + sum((len(g) * s + pad) for s in scales for g in grids)
    band = 32 * 8 + 2 * pad
    rows = []
    for bg in backgrounds:
        canvas = [[bg] * width for _ in range(band)]
        x0 = pad
        for s in scales:
            for g in grids:
                for y, row in enumerate(g):
                    for x, ch in enumerate(row):
                        if ch == '.':
                            continue
                        for dy in range(s):
                            line = canvas[pad + y * s + dy]
                            for dx in range(s):
                                line[x0 + x * s + dx] = colour[ch]
                x0 += len(g) * s + pad
        rows += canvas
    png(path, rows)


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir)
    # The notification-area icon has a face for each state of a count: running (the sector
    # shaded), paused (the sector greyed) and stopped (the application icon itself).
    paused = lambda grid: [row.replace('Y', 'y') for row in grid]
    icons = [
        ('Quillet', APP_16, APP_32),
        ('Tray', TRAY_16, TRAY_32),
        ('TrayPaused', paused(TRAY_16), paused(TRAY_32)),
    ]
    for name, small, large in icons:
        check(name + ' 16x16', small, 16)
        check(name + ' 32x32', large, 32)
        with open(os.path.join(root, 'src', 'res', name + '.ico'), 'wb') as f:
            f.write(ico(small, large))
    if len(sys.argv) == 3 and sys.argv[1] == '--preview':
        os.makedirs(sys.argv[2], exist_ok=True)
        for name, small, large in icons:
            preview(os.path.join(sys.argv[2], name + '.png'), [large, small])


if __name__ == '__main__':
    main()
