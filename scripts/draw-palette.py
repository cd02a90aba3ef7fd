#!/usr/bin/env python3
"""Draws the colour strip of the annotation toolbar (340 x 11 pixels): a pure red run,
the hue circle from red back to red, then a ramp from white to black."""
import colorsys
import struct
import sys
import zlib

WIDTH, HEIGHT = 340, 11
RED_RUN, RAMP = 20, 40


def colour(x):
    if x < RED_RUN:
        return (255, 0, 0)
    if x >= WIDTH - RAMP:
        level = round(255 * (1 - (x - (WIDTH - RAMP)) / (RAMP - 1)))
        return (level, level, level)
    hue = (x - RED_RUN) / (WIDTH - RAMP - RED_RUN)
    return tuple(round(c * 255) for c in colorsys.hsv_to_rgb(hue, 1.0, 1.0))


def png(pixels):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in pixels)
    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


row = [colour(x) for x in range(WIDTH)]
with open(sys.argv[1], "wb") as out:
    out.write(png([row] * HEIGHT))
