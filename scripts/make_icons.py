#!/usr/bin/env python3
"""Draws the program's pictures: the tray icon (a 32 x 32, 16-colour .ico file), the
about box's banner (a 410 x 55 bitmap) and the tool bar glyphs (ten 16 x 16 images in a
strip, magenta where transparent; toolbar_1.bmp in 24 bits, toolbar_0.bmp in 16 colours).

Run from the repository root: python3 scripts/make_icons.py
The results in src/resources/ are committed beside this script.
"""
import math
import struct

SIZE = 32
# The 16-colour palette, as (blue, green, red, 0).
PALETTE = [(0, 0, 0, 0), (0x70, 0x50, 0x30, 0), (0xE0, 0xE0, 0xE0, 0), (0xFF, 0xFF, 0xFF, 0),
           (0x00, 0x00, 0xFF, 0)] + [(0, 0, 0, 0)] * 11
TRANSPARENT, DARK, LIGHT, WHITE, RED = None, 1, 2, 3, 4


def draw():
    """The face: a dark disc with a light rim, twelve marks and hands at ten past ten."""
    pixels = [[TRANSPARENT] * SIZE for _ in range(SIZE)]
    c = (SIZE - 1) / 2
    for y in range(SIZE):
        for x in range(SIZE):
            d = math.hypot(x - c, y - c)
            if d <= 15.5:
                pixels[y][x] = LIGHT if d > 13.5 else DARK

    def line(angle, inner, outer, colour):
        a = math.radians(angle - 90)
        steps = int((outer - inner) * 4) + 1
        for i in range(steps):
            r = inner + (outer - inner) * i / max(steps - 1, 1)
            x, y = round(c + r * math.cos(a)), round(c + r * math.sin(a))
            pixels[y][x] = colour

    for hour in range(12):
        line(hour * 30, 10.5, 12.5, WHITE)
    line(300, 0, 7.5, WHITE)   # hour hand at ten
    line(60, 0, 11, WHITE)     # minute hand at two
    line(180, 0, 11, RED)      # second hand
    return pixels


def ico(pixels):
    xor = b''
    mask = b''
    for row in reversed(pixels):  # bottom-up rows
        nibbles = [p if p is not None else 0 for p in row]
        xor += bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, SIZE, 2))
        bits = 0
        for x, p in enumerate(row):
            if p is None:
                bits |= 1 << (SIZE - 1 - x)
        mask += struct.pack('>I', bits)
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 4, 0, len(xor) + len(mask), 0, 0,
                         16, 0)
    palette = b''.join(struct.pack('<BBBB', *p) for p in PALETTE)
    image = header + palette + xor + mask
    directory = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', SIZE, SIZE, 16, 0, 1, 4,
                                                          len(image), 6 + 16)
    return directory + image


def nibbles(indices):
    """Palette indices packed two to a byte, as a 16-colour bitmap row holds them."""
    indices = indices + [0] * (len(indices) % 2)
    return bytes((indices[i] << 4) | indices[i + 1] for i in range(0, len(indices), 2))


def bitmap_file(width, height, bits, rows, palette=()):
    """A .bmp file from its rows (top row first, unpadded) and palette ((blue, green, red, 0)
    entries; none for 24 bits)."""
    data = b''.join(row + b'\0' * ((4 - len(row) % 4) % 4) for row in reversed(rows))
    colours = b''.join(struct.pack('<BBBB', *c) for c in palette)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0, len(data), 2835, 2835,
                       len(palette), 0)
    offset = 14 + len(info) + len(colours)
    return struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset) + info + colours + data


def banner(width=410, height=55):
    """A dark blue band, lighter to the right in 15 steps, with a clock face at its right end,
    as a 16-colour bitmap."""
    palette = [(int(0x70 + 0x40 * k / 14), int(0x50 + 0x30 * k / 14), int(0x30 + 0x20 * k / 14), 0)
               for k in range(15)] + [(0xE0, 0xE0, 0xE0, 0)]
    ring = 15
    cx, cy, radius = width - 40, height / 2, 20
    rows = []
    for y in range(height):
        indices = []
        for x in range(width):
            d = math.hypot(x - cx, y - cy)
            hand = (abs(x - cx) < 1.5 and cy - 14 < y <= cy) or (abs(y - cy) < 1.5 and cx <= x < cx + 10)
            indices.append(ring if radius - 2.5 < d <= radius or hand else x * 15 // width)
        rows.append(nibbles(indices))
    return bitmap_file(width, height, 4, rows, palette)


MAGENTA = (0xFF, 0x00, 0xFF)
INK, GREEN, RED_INK, BLUE, YELLOW = (0x30, 0x30, 0x30), (0x20, 0x90, 0x20), (0xC0, 0x20, 0x20), \
    (0x30, 0x60, 0xC0), (0xE0, 0xB0, 0x20)

# Each glyph as 16 rows of 16 characters: '.' transparent, other letters a colour.
GLYPH_COLOURS = {'k': INK, 'g': GREEN, 'r': RED_INK, 'b': BLUE, 'y': YELLOW}
GLYPHS = [
    # 0 add
    ["......gggg......"] * 6 + ["gggggggggggggggg"] * 4 + ["......gggg......"] * 6,
    # 1 remove
    ["................"] * 6 + ["rrrrrrrrrrrrrrrr"] * 4 + ["................"] * 6,
    # 2 configure: a slider panel
    ["................", "kkkkkkkkkkkkkkkk", "k..............k", "k.bbb..........k",
     "k.bbbkkkkkkkkk.k", "k.bbb..........k", "k..............k", "k.......bbb....k",
     "k.kkkkkkbbbkkk.k", "k.......bbb....k", "k..............k", "k....bbb.......k",
     "k.kkkbbbkkkkkk.k", "k....bbb.......k", "kkkkkkkkkkkkkkkk", "................"],
    # 3 set as primary: a star
    [".......yy.......", ".......yy.......", "......yyyy......", "......yyyy......",
     "yyyyyyyyyyyyyyyy", ".yyyyyyyyyyyyyy.", "...yyyyyyyyyy...", "....yyyyyyyy....",
     "....yyyyyyyy....", "...yyyyyyyyyy...", "...yyyy..yyyy...", "..yyy......yyy..",
     "..yy........yy..", ".yy..........yy.", "................", "................"],
    # 4 reset position: an arrow to the upper left corner
    ["kkkkkkkk........", "kkkkkkk.........", "kkkkkk..........", "kkkkkkk.........",
     "kkk.kkkk........", "kk...kkkk.......", "k.....kkkk......", ".......kkkk.....",
     "........kkkk....", ".........kkkk...", "..........kkkk..", "...........kkkk.",
     "............kkk.", ".............k..", "................", "................"],
    # 5 edit: a pencil
    ["............kk..", "...........kkkk.", "..........kyykkk", ".........kyyyyk.",
     "........kyyyyk..", ".......kyyyyk...", "......kyyyyk....", ".....kyyyyk.....",
     "....kyyyyk......", "...kyyyyk.......", "..kkyyyk........", "..kkkyk.........",
     "..kkkk..........", "..kk............", "................", "................"],
    # 6 loop: two arrows around
    ["................", "....bbbbbbb.....", "...bb.....bb.b..", "..bb.......bbb..",
     "..b.......bbbb..", "..b.............", "..b.............", "..b...........b.",
     ".............b..", ".............b..", "..bbbb.......b..", "..bbb.......bb..",
     "..b.bb.....bb...", ".....bbbbbbb....", "................", "................"],
    # 7 browse: a folder
    ["................", "................", ".yyyyy..........", "yk...ky.........",
     "ykkkkkkkkkkkkk..", "yk...........k..", "yk...........k..", "yk...........k..",
     "yk...........k..", "yk...........k..", "yk...........k..", "ykkkkkkkkkkkkk..",
     "................", "................", "................", "................"],
    # 8 play
    ["................", "...gg...........", "...gggg.........", "...gggggg.......",
     "...gggggggg.....", "...gggggggggg...", "...gggggggggggg.", "...gggggggggggg.",
     "...gggggggggg...", "...gggggggg.....", "...gggggg.......", "...gggg.........",
     "...gg...........", "................", "................", "................"],
    # 9 stop
    ["................", "................", "..rrrrrrrrrrrr..", "..rrrrrrrrrrrr..",
     "..rrrrrrrrrrrr..", "..rrrrrrrrrrrr..", "..rrrrrrrrrrrr..", "..rrrrrrrrrrrr..",
     "..rrrrrrrrrrrr..", "..rrrrrrrrrrrr..", "..rrrrrrrrrrrr..", "..rrrrrrrrrrrr..",
     "..rrrrrrrrrrrr..", "..rrrrrrrrrrrr..", "................", "................"],
]


def toolbar(bits):
    """The glyph strip as a bitmap of 24 bits, or of 4 bits with a palette of its colours."""
    width, height = 16 * len(GLYPHS), 16
    colours = [MAGENTA] + list(GLYPH_COLOURS.values())
    rows = []
    for y in range(height):
        pixels = []
        for glyph in GLYPHS:
            for ch in glyph[y]:
                pixels.append(MAGENTA if ch == '.' else GLYPH_COLOURS[ch])
        if bits == 24:
            rows.append(b''.join(bytes((b, g, r)) for (r, g, b) in pixels))
        else:
            rows.append(nibbles([colours.index(p) for p in pixels]))
    palette = () if bits == 24 else \
        [(b, g, r, 0) for (r, g, b) in colours + [(0, 0, 0)] * (16 - len(colours))]
    return bitmap_file(width, height, bits, rows, palette)


if __name__ == '__main__':
    with open('src/resources/trayicon.ico', 'wb') as f:
        f.write(ico(draw()))
    with open('src/resources/about.bmp', 'wb') as f:
        f.write(banner())
    for bits, name in ((24, 'toolbar_1.bmp'), (4, 'toolbar_0.bmp')):
        with open('src/resources/' + name, 'wb') as f:
            f.write(toolbar(bits))
