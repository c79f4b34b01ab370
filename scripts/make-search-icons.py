#!/usr/bin/env python3
"""Draws the button pictures of the search window's tool bars.

Every picture is 16 x 15 pixels (the Search button 45 x 15), drawn here from
simple shapes and a 3 x 5 letter set, and written as a PNG with a transparent
background into src/ui/icons/search/. Only the standard library is used.

Run from the source tree: scripts/make-search-icons.py
"""

import os
import struct
import sys
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "ui", "icons", "search")

# 3 x 5 letters, rows top to bottom, "#" = ink.
LETTERS = {
    "A": [".#.", "#.#", "###", "#.#", "#.#"],
    "C": [".##", "#..", "#..", "#..", ".##"],
    "E": ["###", "#..", "##.", "#..", "###"],
    "G": [".##", "#..", "#.#", "#.#", ".##"],
    "H": ["#.#", "#.#", "###", "#.#", "#.#"],
    "J": ["..#", "..#", "..#", "#.#", ".#."],
    "K": ["#.#", "#.#", "##.", "#.#", "#.#"],
    "N": ["#.#", "###", "###", "#.#", "#.#"],
    "O": [".#.", "#.#", "#.#", "#.#", ".#."],
    "P": ["##.", "#.#", "##.", "#..", "#.."],
    "R": ["##.", "#.#", "##.", "#.#", "#.#"],
    "S": [".##", "#..", ".#.", "..#", "##."],
    "W": ["#.#", "#.#", "###", "###", "#.#"],
    "a": ["...", ".##", "#.#", "#.#", ".##"],
    "?": ["##.", "..#", ".#.", "...", ".#."],
    "=": ["...", "###", "...", "###", "..."],
}

BLACK = (0, 0, 0, 255)
WHITE = (255, 255, 255, 255)
GREY = (128, 128, 128, 255)
LIGHT = (200, 200, 200, 255)
RED = (200, 24, 24, 255)
BLUE = (24, 64, 200, 255)
GREEN = (16, 140, 40, 255)
ORANGE = (240, 140, 20, 255)
PURPLE = (140, 50, 190, 255)
NAVY = (0, 0, 128, 255)
TEAL = (0, 128, 128, 255)


class Picture:
    def __init__(self, width=16, height=15):
        self.w, self.h = width, height
        self.px = [[(0, 0, 0, 0)] * width for _ in range(height)]

    def dot(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x, y, w, h, c):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.dot(xx, yy, c)

    def frame(self, x, y, w, h, c):
        for xx in range(x, x + w):
            self.dot(xx, y, c)
            self.dot(xx, y + h - 1, c)
        for yy in range(y, y + h):
            self.dot(x, yy, c)
            self.dot(x + w - 1, yy, c)

    def line(self, x0, y0, x1, y1, c):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.dot(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), c)

    def text(self, x, y, s, c):
        for ch in s:
            for r, row in enumerate(LETTERS[ch]):
                for k, v in enumerate(row):
                    if v == "#":
                        self.dot(x + k, y + r, c)
            x += 4

    def save(self, name):
        raw = b"".join(b"\x00" + b"".join(struct.pack("4B", *p) for p in row) for row in self.px)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        png = b"\x89PNG\r\n\x1a\n"
        png += chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0))
        png += chunk(b"IDAT", zlib.compress(raw, 9))
        png += chunk(b"IEND", b"")
        with open(os.path.join(OUT, name + ".png"), "wb") as f:
            f.write(png)


def text_line(p, x0, x1, y, c):
    """A row of text as dots: where the searched text is not."""
    for x in range(x0, x1 + 1, 2):
        p.dot(x, y, c)


def position(name, block_x):
    """Substring mode: the searched text (a solid bar) inside a word (dots)."""
    p = Picture()
    p.frame(0, 2, 16, 11, GREY)
    p.rect(1, 3, 14, 9, WHITE)
    text_line(p, 2, 13, 7, GREY)
    p.rect(block_x, 5, 5, 5, NAVY)
    p.save(name)


def labelled(name, label, ink, paper):
    p = Picture()
    p.rect(1, 2, 14, 11, paper)
    p.frame(1, 2, 14, 11, ink)
    p.text(8 - (len(label) * 4 - 1) // 2, 5, label, ink)
    p.save(name)


def main():
    os.makedirs(OUT, exist_ok=True)

    # Language tool bar.
    labelled("40022", "JP", RED, WHITE)
    labelled("40023", "EN", BLUE, WHITE)
    labelled("40027", "KN", GREEN, WHITE)
    labelled("40024", "A?", BLACK, LIGHT)

    # Substring tool bar.
    position("40004", 2)
    position("40005", 6)
    position("40006", 10)
    p = Picture()  # exact: the bar alone between brackets
    p.line(2, 3, 2, 11, BLACK)
    p.line(2, 3, 4, 3, BLACK)
    p.line(2, 11, 4, 11, BLACK)
    p.line(13, 3, 13, 11, BLACK)
    p.line(11, 3, 13, 3, BLACK)
    p.line(11, 11, 13, 11, BLACK)
    p.rect(5, 5, 6, 5, NAVY)
    p.save("40007")

    # Option tool bar.
    p = Picture()  # several substrings
    for x, y in ((1, 2), (6, 6), (11, 10)):
        p.rect(x, y, 4, 3, NAVY)
    text_line(p, 1, 14, 13, GREY)
    p.save("40017")
    labelled("40018", "W", TEAL, WHITE)
    p = Picture()  # kana-insensitive: a = A
    p.text(1, 5, "a", RED)
    p.text(6, 5, "=", BLACK)
    p.text(11, 5, "A", BLUE)
    p.save("40012")
    p = Picture()  # reverse conjugation: a turning arrow
    for x, y in ((5, 2), (6, 2), (7, 2), (8, 2), (9, 2), (10, 3), (11, 4), (12, 5), (12, 6), (12, 7), (12, 8),
                 (11, 9), (10, 10), (9, 11), (8, 11), (7, 11), (6, 11), (5, 11), (4, 10), (3, 9), (3, 8)):
        p.dot(x, y, GREEN)
        p.dot(x, y + 1 if y < 7 else y - 1, GREEN)
    p.line(1, 7, 3, 9, GREEN)
    p.line(5, 7, 3, 9, GREEN)
    p.save("40025")

    # Conversion tool bar.
    p = Picture()  # romaji to kana: R -> K
    p.text(0, 5, "R", BLUE)
    p.line(5, 7, 9, 7, BLACK)
    p.line(8, 6, 9, 7, BLACK)
    p.line(8, 8, 9, 7, BLACK)
    p.text(12, 5, "K", RED)
    p.save("40011")
    p = Picture()  # show the converted string: an eye
    p.line(1, 7, 4, 4, BLACK)
    p.line(4, 4, 11, 4, BLACK)
    p.line(11, 4, 14, 7, BLACK)
    p.line(1, 7, 4, 10, BLACK)
    p.line(4, 10, 11, 10, BLACK)
    p.line(11, 10, 14, 7, BLACK)
    p.rect(6, 5, 4, 5, TEAL)
    p.rect(7, 6, 2, 3, BLACK)
    p.save("40019")

    # Search button: a magnifying glass and the word.
    p = Picture(45, 15)
    p.frame(2, 2, 7, 7, NAVY)
    p.rect(3, 3, 5, 5, (220, 235, 255, 255))
    p.line(8, 8, 11, 11, NAVY)
    p.line(9, 8, 12, 11, NAVY)
    p.text(16, 5, "SEARCH", BLACK)
    p.save("40010")

    # Random tool bar: coloured dice.
    for name, ink, letter in (("40034", ORANGE, "W"), ("40035", PURPLE, "K")):
        p = Picture()
        p.rect(1, 1, 14, 13, ink)
        p.frame(1, 1, 14, 13, BLACK)
        p.rect(3, 3, 2, 2, WHITE)
        p.rect(11, 10, 2, 2, WHITE)
        p.text(7, 5, letter, WHITE)
        p.save(name)
    return 0


if __name__ == "__main__":
    sys.exit(main())
