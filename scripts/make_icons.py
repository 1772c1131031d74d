#!/usr/bin/env python3
"""Draws the program's pictures: the program's icon (16 to 256 pixels, 32-bit), the
about box's banner (a 410 x 55 bitmap) and the tool bar glyphs (ten 16 x 16 images in a
strip, magenta where transparent; toolbar_1.bmp in 24 bits, toolbar_0.bmp in 16 colours; the
24-bit strip again at 24 and 32 pixels for screens of more dots per inch).

Run from the repository root: python3 scripts/make_icons.py
The results in src/resources/ are committed beside this script.
"""
import math
import struct
import zlib

# The program's icon: one image per size, each drawn for its size, in 32-bit colour with
# alpha; the largest PNG-compressed, as the system expects it.
ICON_SIZES = (16, 20, 24, 32, 48, 256)
RIM, FACE, HANDS, SECONDS = (0x30, 0x50, 0x70), (0xF7, 0xF7, 0xF2), (0x1E, 0x2B, 0x3A), \
    (0xD0, 0x20, 0x20)


def segment_distance(px, py, ax, ay, bx, by):
    """Distance from a point to the segment a-b."""
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def clock_face(size):
    """The face at ten past ten as rows of (r, g, b, a). Line widths and what is drawn at all
    follow the size, so that the hands stay two pixels wide even at 16 pixels; edges are
    smoothed by each pixel's coverage."""
    c = size / 2
    radius = c - 0.25
    rim = max(1.0, size / 22)
    hand = max(1.0, size * 0.05)  # half the hour hand's width
    # (from, to as parts of the radius, half width, angle in degrees from 12, colour)
    # Small faces have no marks to keep clear of: their hands reach further.
    reach = 1.1 if size < 20 else 1.0
    strokes = [(-0.12, 0.52 * reach, hand, 300, HANDS),
               (-0.12, 0.78 * reach, hand * 0.8, 60, HANDS)]
    if size >= 20:
        marks = range(0, 360, 30 if size >= 32 else 90)
        strokes = [(0.72 if a % 90 == 0 else 0.78, 0.9, max(0.5, size / 40), a, RIM)
                   for a in marks] + strokes
    if size >= 32:
        strokes.append((-0.2, 0.86, max(0.5, size / 80), 180, SECONDS))
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            px, py = x + 0.5, y + 0.5
            d = math.hypot(px - c, py - c)
            alpha = max(0.0, min(1.0, radius - d + 0.5))
            colour = RIM if d > radius - rim else FACE
            for start, end, half, angle, ink in strokes:
                a = math.radians(angle)
                ux, uy = math.sin(a), -math.cos(a)
                cover = half + 0.5 - segment_distance(px, py, c + ux * start * radius,
                                                      c + uy * start * radius,
                                                      c + ux * end * radius, c + uy * end * radius)
                cover = max(0.0, min(1.0, cover))
                colour = tuple(round(k * (1 - cover) + i * cover) for k, i in zip(colour, ink))
            cap = max(0.0, min(1.0, hand * 1.4 + 0.5 - d))
            colour = tuple(round(k * (1 - cap) + i * cap) for k, i in zip(colour, HANDS))
            row.append(colour + (round(alpha * 255),))
        rows.append(row)
    return rows


def png(rows):
    """A PNG file of rows of (r, g, b, a)."""
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + \
            struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b''.join(b'\0' + bytes(v for p in row for v in p) for row in rows)
    header = struct.pack('>IIBBBBB', len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + \
        chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')


def icon_image(rows):
    """One image of an .ico file: a 32-bit bitmap with its mask, or PNG at 256 pixels."""
    size = len(rows)
    if size >= 256:
        return png(rows)
    xor = b''.join(bytes(v for (r, g, b, a) in row for v in (b, g, r, a)) for row in reversed(rows))
    stride = (size + 31) // 32 * 4
    mask = b''
    for row in reversed(rows):
        bits = [1 if p[3] == 0 else 0 for p in row] + [0] * (stride * 8 - size)
        mask += bytes(int(''.join(map(str, bits[i:i + 8])), 2) for i in range(0, len(bits), 8))
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0,
                         0, 0, 0)
    return header + xor + mask


def ico(sizes=ICON_SIZES):
    images = [icon_image(clock_face(size)) for size in sizes]
    offset = 6 + 16 * len(images)
    directory = struct.pack('<HHH', 0, 1, len(images))
    for size, image in zip(sizes, images):
        directory += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(image),
                                 offset)
        offset += len(image)
    return directory + b''.join(images)


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


def scaled(glyph, factor, block):
    """A glyph at factor times its size: each pixel becomes factor x factor pixels, listed row
    by row by block(at, x, y), where at reads a pixel of the glyph (its edges repeated
    outwards)."""
    size = len(glyph)

    def at(x, y):
        return glyph[min(max(y, 0), size - 1)][min(max(x, 0), size - 1)]
    rows = [[''] * (factor * size) for _ in range(factor * size)]
    for y in range(size):
        for x in range(size):
            for k, pixel in enumerate(block(at, x, y)):
                rows[factor * y + k // factor][factor * x + k % factor] = pixel
    return [''.join(row) for row in rows]


def scale2x(glyph):
    """Twice the size, diagonals kept smooth (the EPX rule): a corner of a pixel takes a
    neighbour's colour where the two neighbours at that corner agree."""
    def block(at, x, y):
        p, a, b, c, d = at(x, y), at(x, y - 1), at(x + 1, y), at(x - 1, y), at(x, y + 1)
        return [c if c == a and c != d and a != b else p, a if a == b and a != c and b != d else p,
                d if d == c and d != b and c != a else p, b if b == d and b != a and d != c else p]
    return scaled(glyph, 2, block)


def scale3x(glyph):
    """Three times the size by the same kind of rule (AdvMAME3x)."""
    def block(at, x, y):
        a, b, c = at(x - 1, y - 1), at(x, y - 1), at(x + 1, y - 1)
        d, e, f = at(x - 1, y), at(x, y), at(x + 1, y)
        g, h, i = at(x - 1, y + 1), at(x, y + 1), at(x + 1, y + 1)
        if b == h or d == f:
            return [e] * 9
        return [d if d == b else e,
                b if (d == b and e != c) or (b == f and e != a) else e,
                f if b == f else e,
                d if (d == b and e != g) or (d == h and e != a) else e,
                e,
                f if (b == f and e != i) or (h == f and e != c) else e,
                d if d == h else e,
                h if (d == h and e != i) or (h == f and e != g) else e,
                f if h == f else e]
    return scaled(glyph, 3, block)


# The glyphs at the sizes the screen's DPI asks for: 16 at 96 dots per inch, 24 at 144, 32 at 192.
GLYPH_SIZES = {16: lambda g: g, 24: lambda g: [row[::2] for row in scale3x(g)[::2]], 32: scale2x}


def toolbar(bits, size=16):
    """The glyph strip as a bitmap of 24 bits, or of 4 bits with a palette of its colours."""
    glyphs = [GLYPH_SIZES[size](glyph) for glyph in GLYPHS]
    width, height = size * len(glyphs), size
    colours = [MAGENTA] + list(GLYPH_COLOURS.values())
    rows = []
    for y in range(height):
        pixels = []
        for glyph in glyphs:
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
        f.write(ico())
    with open('src/resources/about.bmp', 'wb') as f:
        f.write(banner())
    for bits, size, name in ((24, 16, 'toolbar_1.bmp'), (4, 16, 'toolbar_0.bmp'),
                             (24, 24, 'toolbar_1_24.bmp'), (24, 32, 'toolbar_1_32.bmp')):
        with open('src/resources/' + name, 'wb') as f:
            f.write(toolbar(bits, size))
