#!/usr/bin/env python3
"""Draws the program's own pictures (window icon, About picture) as PNG
files into src/ui/images. Pure standard library, so the pictures can be
redrawn anywhere:  python3 scripts/make-images.py"""
import math
import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "ui", "images")


def write_png(path, width, height, pixel):
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows.extend(bytes(pixel(x, y)))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(rows), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(4))


def coverage(inside, x, y, samples=4):
    """Fraction of the pixel (x, y) for which inside(px, py) holds."""
    hits = 0
    for i in range(samples):
        for j in range(samples):
            if inside(x + (i + 0.5) / samples, y + (j + 0.5) / samples):
                hits += 1
    return hits / (samples * samples)


def eye_picture(width, height, scale):
    """An eye (to see, miru) on an indigo tile: white almond, red iris."""
    indigo = (38, 52, 120, 255)
    white = (255, 255, 255, 255)
    red = (200, 30, 45, 255)
    dark = (20, 20, 30, 255)
    clear = (0, 0, 0, 0)
    cx, cy = width / 2, height / 2
    r_tile = 0.18 * min(width, height)
    half_w = 0.42 * min(width, height * 1.4) * scale
    half_h = 0.22 * min(width, height * 1.4) * scale

    def in_tile(px, py):
        dx = max(r_tile - px, 0, px - (width - r_tile))
        dy = max(r_tile - py, 0, py - (height - r_tile))
        return dx * dx + dy * dy <= r_tile * r_tile

    def in_almond(px, py):
        t = (px - cx) / half_w
        if abs(t) >= 1:
            return False
        return abs(py - cy) <= half_h * (1 - t * t)

    def in_circle(r):
        return lambda px, py: (px - cx) ** 2 + (py - cy) ** 2 <= r * r

    iris = in_circle(half_h * 0.9)
    pupil = in_circle(half_h * 0.38)

    def pixel(x, y):
        c = mix(clear, indigo, coverage(in_tile, x, y))
        c = mix(c, white, coverage(in_almond, x, y))
        both = lambda px, py: in_almond(px, py) and iris(px, py)
        c = mix(c, red, coverage(both, x, y))
        c = mix(c, dark, coverage(pupil, x, y))
        return c

    return pixel


def main():
    os.makedirs(OUT, exist_ok=True)
    write_png(os.path.join(OUT, "icon111.png"), 32, 32, eye_picture(32, 32, 1.0))
    write_png(os.path.join(OUT, "about129.png"), 160, 96, eye_picture(160, 96, 1.0))

if __name__ == "__main__":
    main()
