#!/usr/bin/env python3
"""Draws the preview window's button images and its two cursors as PNG files.

The images are the project's own work, drawn by this script, and carry the
project's licence. Run it from this folder to write them again.
"""
import struct
import zlib

BLACK = (0, 0, 0, 255)
WHITE = (255, 255, 255, 255)
GREY = (128, 128, 128, 255)
LIGHT = (200, 200, 200, 255)
BLUE = (30, 80, 200, 255)
GREEN = (20, 140, 40, 255)
BROWN = (140, 80, 30, 255)
SKIN = (250, 220, 180, 255)
CLEAR = (0, 0, 0, 0)


class Image:
    def __init__(self, size):
        self.size = size
        self.px = [[CLEAR] * size for _ in range(size)]

    def dot(self, x, y, c):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.px[y][x] = c

    def fill(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        self.line(x0, y0, x1, y0, c)
        self.line(x0, y1, x1, y1, c)
        self.line(x0, y0, x0, y1, c)
        self.line(x1, y0, x1, y1, c)

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.dot(x0, y0, c)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def ring(self, cx, cy, r, c, fill=None):
        for y in range(self.size):
            for x in range(self.size):
                d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
                if fill is not None and d < r - 0.5:
                    self.dot(x, y, fill)
                elif abs(d - r) < 0.6:
                    self.dot(x, y, c)

    def arrow(self, tip_x, y, direction, c):
        # A solid triangle pointing left (-1) or right (+1), 9 pixels high.
        for i in range(5):
            x = tip_x - direction * i
            self.line(x, y - i, x, y + i, c)
        self.fill(min(tip_x - direction * 4, tip_x - direction * 9), y - 1,
                  max(tip_x - direction * 4, tip_x - direction * 9), y + 1, c)

    def save(self, name):
        raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in self.px)
        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
        png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", self.size, self.size, 8, 6, 0, 0, 0))
        png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
        with open(name + ".png", "wb") as f:
            f.write(png)


def page(img, x0, y0, x1, y1):
    img.fill(x0, y0, x1, y1, WHITE)
    img.frame(x0, y0, x1, y1, BLACK)


def printer():
    i = Image(16)
    page(i, 4, 1, 11, 6)
    i.fill(1, 6, 14, 11, LIGHT)
    i.frame(1, 6, 14, 11, BLACK)
    i.dot(12, 8, GREEN)
    page(i, 4, 10, 11, 14)
    i.line(5, 12, 10, 12, GREY)
    i.save("print")


def arrows():
    for name, tip, d in (("prev", 2, -1), ("next", 13, 1)):
        i = Image(16)
        i.arrow(tip, 7, d, BLUE)
        i.save(name)
    i = Image(16)
    i.fill(2, 2, 3, 12, BLUE)
    i.arrow(5, 7, -1, BLUE)
    i.save("first")
    i = Image(16)
    i.fill(12, 2, 13, 12, BLUE)
    i.arrow(10, 7, 1, BLUE)
    i.save("last")


def pages():
    i = Image(16)
    page(i, 4, 1, 11, 14)
    i.save("fit_page")
    i = Image(16)
    page(i, 1, 4, 14, 11)
    i.line(3, 7, 12, 7, GREY)
    i.save("fit_width")
    i = Image(16)
    page(i, 3, 1, 12, 14)
    for x in (6, 9):
        i.line(x, 4, x, 11, BLACK)
    for y in (6, 9):
        i.line(5, y, 10, y, BLACK)
    i.save("page_number")
    i = Image(16)
    i.fill(1, 1, 14, 14, WHITE)
    for v in (1, 5, 10, 14):
        i.line(v, 1, v, 14, GREY)
        i.line(1, v, 14, v, GREY)
    i.save("grid")


def magnifier(i, cx, cy, r, handle):
    i.ring(cx, cy, r, BLACK, fill=WHITE)
    for t in range(handle):
        i.fill(cx + r - 1 + t, cy + r - 1 + t, cx + r + t, cy + r + t, BROWN)


HAND = [
    "......##........",
    "...##.#o#.......",
    "..#oo##o#.##....",
    "..#oo##o##oo#...",
    "..#oo##o##oo#...",
    "..#oo##o##oo#.#.",
    "...#o##o##oo##o#",
    ".##.#o#o##oo#oo#",
    "#oo##oooooooooo#",
    "#ooo#ooooooooo#.",
    ".#oooooooooooo#.",
    "..#ooooooooooo#.",
    "...#oooooooooo#.",
    "....#oooooooo#..",
    ".....#ooooooo#..",
    ".....#########..",
]


def hand(i, ox, oy):
    # An open hand with spread fingers, from the pixel map above.
    for y, row in enumerate(HAND):
        for x, c in enumerate(row):
            if c == "#":
                i.dot(ox + x, oy + y, BLACK)
            elif c == "o":
                i.dot(ox + x, oy + y, SKIN)


def tools():
    i = Image(16)
    magnifier(i, 6, 6, 5, 5)
    i.save("zoom")
    i = Image(16)
    hand(i, 0, 0)
    i.save("hand")
    i = Image(16)
    i.fill(3, 1, 11, 14, BROWN)
    i.frame(3, 1, 11, 14, BLACK)
    i.dot(9, 8, (255, 210, 0, 255))
    i.line(12, 14, 14, 14, BLACK)
    i.save("close")
    i = Image(16)
    i.line(3, 3, 12, 12, (200, 0, 0, 255))
    i.line(12, 3, 3, 12, (200, 0, 0, 255))
    i.line(4, 3, 12, 11, (200, 0, 0, 255))
    i.line(11, 3, 3, 11, (200, 0, 0, 255))
    i.save("cancel")


def cursors():
    # The zoom cursor: a magnifier whose centre, the hot spot (10, 10), holds a cross-hair.
    i = Image(32)
    magnifier(i, 10, 10, 8, 9)
    i.line(6, 10, 14, 10, BLACK)
    i.line(10, 6, 10, 14, BLACK)
    i.save("zoom_cursor")
    # The hand cursor: the open hand doubled in size; its hot spot (7, 14) lies on the palm.
    small = Image(16)
    hand(small, 0, 0)
    i = Image(32)
    for y in range(16):
        for x in range(16):
            i.fill(2 * x, 2 * y, 2 * x + 1, 2 * y + 1, small.px[y][x])
    i.save("hand_cursor")


printer()
arrows()
pages()
tools()
cursors()
