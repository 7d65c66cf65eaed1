#!/usr/bin/env python3
"""Writes the menu pictures Hash.bmp (202) and Compare.bmp (201) from the pixel maps
below: 16 x 16, 32 bits per pixel, uncompressed (BI_RGB), every alpha byte zero."""
import os
import struct

COLOURS = {
    '.': (0xFF, 0xFF, 0xFF),   # background
    'o': (0x5A, 0x5A, 0x5A),   # page outline
    'b': (0x1F, 0x5F, 0xA8),   # blue mark
    'r': (0xC0, 0x39, 0x2B),   # red mark
}

# A page with a hash sign.
HASH = [
    "................",
    "..oooooooooo....",
    "..o........oo...",
    "..o..b..b..o.o..",
    "..o..b..b..oooo.",
    "..obbbbbbbb...o.",
    "..o..b..b.....o.",
    "..o..b..b.....o.",
    "..obbbbbbbb...o.",
    "..o..b..b.....o.",
    "..o..b..b.....o.",
    "..o...........o.",
    "..o...........o.",
    "..ooooooooooooo.",
    "................",
    "................",
]

# Two pages with an equals sign between them.
COMPARE = [
    "................",
    "oooooo....oooooo",
    "o....o....o....o",
    "o.bb.o....o.rr.o",
    "o....o....o....o",
    "o.bb.o....o.rr.o",
    "o....o.bb.o....o",
    "o.bb.o....o.rr.o",
    "o....o.bb.o....o",
    "o.bb.o....o.rr.o",
    "o....o....o....o",
    "o.bb.o....o.rr.o",
    "o....o....o....o",
    "oooooo....oooooo",
    "................",
    "................",
]


def bitmap(rows):
    assert len(rows) == 16 and all(len(row) == 16 for row in rows)
    pixels = b''.join(
        bytes((blue, green, red, 0))
        for row in reversed(rows)          # bottom-up rows
        for red, green, blue in (COLOURS[ch] for ch in row))
    info = struct.pack('<IiiHHIIiiII', 40, 16, 16, 1, 32, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


here = os.path.dirname(os.path.abspath(__file__))
for name, rows in (('Hash.bmp', HASH), ('Compare.bmp', COMPARE)):
    with open(os.path.join(here, name), 'wb') as out:
        out.write(bitmap(rows))
