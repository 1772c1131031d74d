#!/usr/bin/env python3
"""Draws the program's pictures: the tray icon (a 32 x 32, 16-colour .ico file) and the
about box's banner (a 410 x 55 bitmap).

Run from the repository root: python3 scripts/make_icons.py
The results, src/resources/trayicon.ico and src/resources/about.bmp, are committed beside
this script.
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
        indices += [0] * (len(indices) % 2)
        row = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, len(indices), 2))
        row += b'\0' * ((4 - len(row) % 4) % 4)
        rows.append(row)
    pixels = b''.join(reversed(rows))  # bottom-up
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, len(pixels), 2835, 2835, 16, 0)
    colours = b''.join(struct.pack('<BBBB', *c) for c in palette)
    offset = 14 + len(info) + len(colours)
    return struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset) + info + colours + pixels


if __name__ == '__main__':
    with open('src/resources/trayicon.ico', 'wb') as f:
        f.write(ico(draw()))
    with open('src/resources/about.bmp', 'wb') as f:
        f.write(banner())
