#!/usr/bin/env python3
"""Draws Tolvak's bitmaps from scratch.

Regenerate with (from the repository root):

    python3 resources/art/draw_images.py

It writes both files into the resources folder, one level above this script:

    resources/tree_images.bmp  ten 16x16 tree pictures in one 160x16 strip,
                               24-bit, magenta (255,0,255) background
    resources/Tolvak.ico       application icon, 16/32/48 px, 32-bit BGRA

Only the Python standard library is used.  The tree pictures are hand-placed
pixel art (no smoothing, so no colour ever bleeds into the magenta key);
the application icon is drawn from polygons with 4x4 supersampling, which
gives it soft edges through the alpha channel.
"""

import math
import os
import struct

MAGENTA = (255, 0, 255)
CELL = 16

# Picture order inside the strip; the program indexes the image list by these.
TREE_PICTURES = [
    "folder_closed",    # 0
    "shortcut",         # 1
    "folder_open",      # 2
    "source_folder",    # 3
    "imported_item",    # 4
    "check_running",    # 5
    "link_dead",        # 6
    "link_alive",       # 7
    "delete",           # 8
    "link_unsure",      # 9
]


# ---------------------------------------------------------------------------
# Small raster helpers
# ---------------------------------------------------------------------------

class Cell:
    """A 16x16 picture; None marks a transparent pixel."""

    def __init__(self, size=CELL):
        self.size = size
        self.px = [[None] * size for _ in range(size)]

    def set(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.px[y][x] = colour

    def get(self, x, y):
        if 0 <= x < self.size and 0 <= y < self.size:
            return self.px[y][x]
        return None

    def rect(self, x0, y0, x1, y1, colour):
        """Fills the rectangle with corners (x0,y0) and (x1,y1), inclusive."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, colour)

    def paint_map(self, rows, palette, ox=0, oy=0):
        """Paints a character map; '.' (or any char not in palette) is skipped."""
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch in palette:
                    self.set(ox + dx, oy + dy, palette[ch])

    def paint_silhouette(self, rows, fill, outline, ox=0, oy=0):
        """Fills the '#' pixels of rows and rings them with an outline."""
        def inside(x, y):
            dx, dy = x - ox, y - oy
            return (0 <= dy < len(rows) and 0 <= dx < len(rows[dy])
                    and rows[dy][dx] == "#")
        self.paint_mask(inside, fill, outline)

    def paint_mask(self, inside, fill, outline):
        """Paints every pixel where inside(x, y) holds with fill, then rings
        the shape with a one pixel outline (4-neighbour)."""
        mask = [[inside(x, y) for x in range(self.size)] for y in range(self.size)]

        def on(x, y):
            return 0 <= x < self.size and 0 <= y < self.size and mask[y][x]

        for y in range(self.size):
            for x in range(self.size):
                if on(x, y):
                    self.set(x, y, fill(x, y) if callable(fill) else fill)
                elif any(on(x + dx, y + dy)
                         for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                    self.set(x, y, outline)


def check_map(rows, name):
    assert len(rows) <= CELL, name
    for row in rows:
        assert len(row) == CELL, "%s: row %r is %d wide" % (name, row, len(row))


# ---------------------------------------------------------------------------
# Tree pictures
# ---------------------------------------------------------------------------

FOLDER_YELLOW = {
    "k": (96, 64, 0),        # outline
    "w": (255, 248, 200),    # highlight
    "y": (248, 216, 96),     # body
    "s": (200, 150, 32),     # shade
}

FOLDER_BLUE = {
    "k": (0, 40, 104),
    "w": (208, 232, 255),
    "y": (96, 160, 232),
    "s": (40, 100, 176),
}

PAGE_WHITE = {
    "k": (64, 64, 64),
    "w": (255, 255, 255),
    "l": (192, 192, 192),    # dog-ear and text lines
}

PAGE_TEAL = {
    "k": (24, 80, 88),
    "w": (208, 240, 240),
    "l": (96, 168, 176),
}

CLOSED_FOLDER_MAP = [
    "................",
    "................",
    ".kkkkk..........",
    "kwwwwwk.........",
    "kwyyyyykkkkkkkk.",
    "kwwwwwwwwwwwwwwk",
    "kwyyyyyyyyyyyysk",
    "kwyyyyyyyyyyyysk",
    "kwyyyyyyyyyyyysk",
    "kwyyyyyyyyyyyysk",
    "kwyyyyyyyyyyyysk",
    "kwyyyyyyyyyyyysk",
    "kwyyyyyyyyyyyysk",
    "kssssssssssssssk",
    ".kkkkkkkkkkkkkk.",
    "................",
]

OPEN_FOLDER_MAP = [
    "................",
    "................",
    ".kkkkk..........",
    "kwwwwwk.........",
    "kwsssssskkkkkk..",
    "kwsssssssssssk..",
    "kwssssssssssssk.",
    "kwsskkkkkkkkkkkk",
    "kwskwwwwwwwwwwwk",
    "kwskyyyyyyyyyysk",
    "kwkyyyyyyyyyysk.",
    "kskyyyyyyyyyysk.",
    "kkyyyyyyyyyysk..",
    "kksssssssssssk..",
    "kkkkkkkkkkkkk...",
    "................",
]

PAGE_MAP = [
    ".kkkkkkkk.......",
    ".kwwwwwwkk......",
    ".kwwwwwwklk.....",
    ".kwwwwwwkllk....",
    ".kwwwwwwkkkkk...",
    ".kwwwwwwwwwwk...",
    ".kwllllllllwk...",
    ".kwwwwwwwwwwk...",
    ".kwllllllllwk...",
    ".kwwwwwwwwwwk...",
    ".kwllllllllwk...",
    ".kwwwwwwwwwwk...",
    ".kwllllllllwk...",
    ".kwwwwwwwwwwk...",
    ".kkkkkkkkkkkk...",
    "................",
]

GLOBE_MAP = [
    "..BBBBB..",
    ".BccbbbB.",
    "BccGGbbbB",
    "BcGGGbbGB",
    "BbGGbbbGB",
    "BbbGbbGGB",
    "BbbbbbGbB",
    ".BbbbbbB.",
    "..BBBBB..",
]

GLOBE = {
    "B": (0, 40, 136),
    "b": (40, 112, 224),
    "c": (160, 208, 255),
    "G": (32, 160, 56),
}

# Star shapes, fill only; the outline is added around them when painted.
SMALL_STAR = [
    "...#...",
    "..###..",
    "#######",
    ".#####.",
    "..###..",
    ".##.##.",
    ".#...#.",
]

LARGE_STAR = [
    "....#....",
    "....#....",
    "...###...",
    "#########",
    ".#######.",
    "..#####..",
    "..#####..",
    ".###.###.",
    ".##...##.",
]

STAR_LINE = (144, 64, 0)
STAR_GOLD = (255, 184, 0)
STAR_LIGHT = (255, 232, 96)

RIBBON_MAP = [
    "rrR",
    "rrR",
    "rrR",
    "rrR",
    "rrR",
    "rrR",
    "rrR",
    "rrR",
    "r.R",
]

RIBBON = {
    "r": (232, 32, 32),
    "R": (136, 0, 0),
}

HOURGLASS_MAP = [
    "................",
    "..kkkkkkkkkkkk..",
    "..knnnnnnnnnnk..",
    "..kkkkkkkkkkkk..",
    "...kwwwwwwwwk...",
    "...kwyyyyyywk...",
    "....kwyyyywk....",
    ".....kwyywk.....",
    "......kyyk......",
    ".....kwyywk.....",
    "....kwwyywwk....",
    "...kwwyyyywwk...",
    "...kyyyyyyyyk...",
    "..kkkkkkkkkkkk..",
    "..knnnnnnnnnnk..",
    "..kkkkkkkkkkkk..",
]

HOURGLASS = {
    "k": (48, 32, 16),
    "n": (176, 112, 48),     # wooden caps
    "w": (224, 240, 255),    # empty glass
    "y": (240, 200, 96),     # sand
}

CHECK_MAP = [
    "................",
    "................",
    "............kk..",
    "...........kghk.",
    "..........kgggk.",
    ".........kgggk..",
    "..kk....kgggk...",
    ".khgk..kgggk....",
    ".kgggkkgggk.....",
    "..kggggggk......",
    "...kgggggk......",
    "....kgggk.......",
    ".....kgk........",
    "......k.........",
    "................",
    "................",
]

CHECK = {
    "k": (0, 72, 0),
    "g": (32, 176, 32),
    "h": (144, 232, 128),
}


def draw_folder_closed(c):
    c.paint_map(CLOSED_FOLDER_MAP, FOLDER_YELLOW)


def draw_folder_open(c):
    c.paint_map(OPEN_FOLDER_MAP, FOLDER_YELLOW)


def draw_shortcut(c):
    c.paint_map(PAGE_MAP, PAGE_WHITE)
    c.paint_map(GLOBE_MAP, GLOBE, ox=7, oy=7)


def draw_source_folder(c):
    c.paint_map(CLOSED_FOLDER_MAP, FOLDER_BLUE)
    c.paint_map(RIBBON_MAP, RIBBON, ox=10, oy=3)


def draw_imported_item(c):
    c.paint_map(PAGE_MAP, PAGE_TEAL)
    c.paint_silhouette(SMALL_STAR, star_fill(8, 8), STAR_LINE, ox=8, oy=8)


def draw_check_running(c):
    c.paint_map(HOURGLASS_MAP, HOURGLASS)


def star_fill(ox, oy):
    """Gold with a lighter upper-left corner, for a star painted at ox, oy."""
    def fill(x, y):
        return STAR_LIGHT if (x - ox) + (y - oy) <= 4 and y - oy <= 2 else STAR_GOLD
    return fill


# Half widths of the rows of a round badge 14 pixels across (rows 1..14).
DISC_HALF_WIDTHS = [3, 5, 6, 6, 7, 7, 7, 7, 7, 7, 6, 6, 5, 3]


def in_disc(x, y):
    row = y - 1
    if not 0 <= row < len(DISC_HALF_WIDTHS):
        return False
    half = DISC_HALF_WIDTHS[row]
    return 8 - half <= x <= 7 + half


def draw_disc(c, body, light, dark):
    """Disc with its rim drawn on its own edge pixels, lit from the top left."""
    for y in range(CELL):
        for x in range(CELL):
            if not in_disc(x, y):
                continue
            edge = not all(in_disc(x + dx, y + dy)
                           for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            if edge:
                c.set(x, y, dark)
            elif x + y <= 8:
                c.set(x, y, light)
            else:
                c.set(x, y, body)


def draw_link_dead(c):
    white = (255, 255, 255)
    draw_disc(c, (216, 32, 32), (248, 104, 88), (112, 0, 0))

    # White cross, three pixels thick.
    for i in range(5, 11):
        for d in (-1, 0, 1):
            c.set(i + d, i, white)
            c.set(15 - (i + d), i, white)


def draw_link_alive(c):
    c.paint_map(CHECK_MAP, CHECK)


# A question mark for a page whose answer is neither "there" nor "gone" (401, 429, 5xx ...).
QUESTION_MAP = [
    "..XXX.",
    ".X...X",
    ".....X",
    "....X.",
    "...X..",
    "...X..",
    "......",
    "...X..",
]


def draw_link_unsure(c):
    white = (255, 255, 255)
    # The same disc as the dead picture, in amber.
    draw_disc(c, (232, 160, 16), (252, 208, 96), (128, 80, 0))

    for row, line in enumerate(QUESTION_MAP):
        for col, mark in enumerate(line):
            if mark == "X":
                c.set(5 + col, 4 + row, white)


def draw_delete(c):
    red = (224, 16, 16)
    light = (255, 120, 104)
    dark = (96, 0, 0)

    def in_cross(x, y):
        if not (2 <= x <= 13 and 2 <= y <= 13):
            return False
        return abs(x - y) <= 1 or abs(x + y - 15) <= 1

    def shade(x, y):
        # the centre line of the falling bar catches the light
        return light if x == y and 3 <= x <= 12 else red

    c.paint_mask(in_cross, shade, dark)


DRAWERS = {
    "folder_closed": draw_folder_closed,
    "shortcut": draw_shortcut,
    "folder_open": draw_folder_open,
    "source_folder": draw_source_folder,
    "imported_item": draw_imported_item,
    "check_running": draw_check_running,
    "link_dead": draw_link_dead,
    "link_alive": draw_link_alive,
    "delete": draw_delete,
    "link_unsure": draw_link_unsure,
}


def build_strip():
    """Returns rows (top to bottom) of RGB tuples for the whole strip."""
    for name, rows in (("closed folder", CLOSED_FOLDER_MAP),
                       ("open folder", OPEN_FOLDER_MAP),
                       ("page", PAGE_MAP),
                       ("hourglass", HOURGLASS_MAP),
                       ("check", CHECK_MAP)):
        check_map(rows, name)

    width = CELL * len(TREE_PICTURES)
    strip = [[MAGENTA] * width for _ in range(CELL)]
    for index, name in enumerate(TREE_PICTURES):
        cell = Cell()
        DRAWERS[name](cell)
        for y in range(CELL):
            for x in range(CELL):
                colour = cell.px[y][x]
                if colour is not None:
                    assert colour != MAGENTA, name
                    strip[y][index * CELL + x] = colour
    # The image list takes its mask colour from the top-left pixel.
    assert strip[0][0] == MAGENTA
    return strip


def write_bmp24(path, rows):
    """Writes a bottom-up 24-bit BMP with a BITMAPINFOHEADER."""
    height = len(rows)
    width = len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        pixels += line
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0,
                       len(pixels), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


# ---------------------------------------------------------------------------
# Application icon: a folder with a gold star in front of it
# ---------------------------------------------------------------------------

def point_in_polygon(px, py, poly):
    inside = False
    n = len(poly)
    j = n - 1
    for i in range(n):
        xi, yi = poly[i]
        xj, yj = poly[j]
        if (yi > py) != (yj > py):
            if px < (xj - xi) * (py - yi) / (yj - yi) + xi:
                inside = not inside
        j = i
    return inside


def inset_polygon(poly, d):
    """Moves every edge of a clockwise (screen coordinates) polygon inwards by
    d and joins neighbouring edges where they meet."""
    n = len(poly)
    lines = []
    for i in range(n):
        (x0, y0), (x1, y1) = poly[i], poly[(i + 1) % n]
        ex, ey = x1 - x0, y1 - y0
        length = math.hypot(ex, ey)
        nx, ny = -ey / length, ex / length      # points inside for clockwise
        lines.append(((x0 + nx * d, y0 + ny * d), (ex, ey)))
    out = []
    for i in range(n):
        (p, r) = lines[i - 1]
        (q, s) = lines[i]
        cross = r[0] * s[1] - r[1] * s[0]
        if abs(cross) < 1e-9:
            out.append(q)
            continue
        t = ((q[0] - p[0]) * s[1] - (q[1] - p[1]) * s[0]) / cross
        out.append((p[0] + r[0] * t, p[1] + r[1] * t))
    return out


def star_polygon(cx, cy, outer, inner, rotation=-90.0):
    pts = []
    for i in range(10):
        radius = outer if i % 2 == 0 else inner
        a = math.radians(rotation + i * 36.0)
        pts.append((cx + radius * math.cos(a), cy + radius * math.sin(a)))
    return pts


class Canvas:
    """RGBA canvas (straight alpha, 0..1 floats) with supersampled polygons."""

    SS = 4

    def __init__(self, size):
        self.size = size
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]

    def polygon(self, poly, colour):
        """colour is an (r, g, b) tuple or a function of (x, y) in pixels."""
        xs = [p[0] for p in poly]
        ys = [p[1] for p in poly]
        x0 = max(0, int(math.floor(min(xs))))
        x1 = min(self.size - 1, int(math.ceil(max(xs))))
        y0 = max(0, int(math.floor(min(ys))))
        y1 = min(self.size - 1, int(math.ceil(max(ys))))
        ss = self.SS
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                hits = 0
                for sy in range(ss):
                    for sx in range(ss):
                        if point_in_polygon(x + (sx + 0.5) / ss,
                                            y + (sy + 0.5) / ss, poly):
                            hits += 1
                if hits:
                    rgb = colour(x + 0.5, y + 0.5) if callable(colour) else colour
                    self.blend(x, y, rgb, hits / float(ss * ss))

    def blend(self, x, y, rgb, a):
        r0, g0, b0, a0 = self.px[y][x]
        out_a = a + a0 * (1.0 - a)
        if out_a <= 0.0:
            return
        mix = [(c / 255.0 * a + c0 * a0 * (1.0 - a)) / out_a
               for c, c0 in zip(rgb, (r0, g0, b0))]
        self.px[y][x] = (mix[0], mix[1], mix[2], out_a)

    def outlined(self, poly, fill, outline, width):
        self.polygon(poly, outline)
        self.polygon(inset_polygon(poly, width), fill)

    def to_bgra_rows(self):
        rows = []
        for row in self.px:
            line = []
            for r, g, b, a in row:
                line.append(tuple(int(round(v * 255.0)) for v in (b, g, r, a)))
            rows.append(line)
        return rows


def lerp_colour(c0, c1, t):
    t = max(0.0, min(1.0, t))
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


ICON16_FOLDER_MAP = [
    "................",
    ".kkkkk..........",
    "kwwwwwk.........",
    "kwyyyyykkkkkkk..",
    "kwwwwwwwwwwwwwk.",
    "kwyyyyyyyyyyysk.",
    "kwyyyyyyyyyyysk.",
    "kwyyyyyyyyyyysk.",
    "kwyyyyyyyyyyysk.",
    "kwyyyyyyyyyyysk.",
    "kwyyyyyyyyyyysk.",
    "kwyyyyyyyyyyysk.",
    "kwyyyyyyyyyyysk.",
    "ksssssssssssssk.",
    ".kkkkkkkkkkkkk..",
    "................",
]

ICON_FOLDER = {
    "k": (104, 68, 8),
    "w": (255, 244, 200),
    "y": (244, 214, 128),
    "s": (204, 160, 64),
}


def draw_app_icon_16():
    """The 16 pixel icon is placed by hand so it stays sharp."""
    check_map(ICON16_FOLDER_MAP, "icon folder")
    c = Cell(16)
    c.paint_map(ICON16_FOLDER_MAP, ICON_FOLDER)
    c.paint_silhouette(LARGE_STAR, star_fill(6, 6), STAR_LINE, ox=6, oy=6)
    rows = []
    for line in c.px:
        rows.append([(0, 0, 0, 0) if p is None else (p[2], p[1], p[0], 255)
                     for p in line])
    return rows


def draw_app_icon(size):
    s = float(size)
    w = float(max(1, round(s / 24.0)))    # outline width in whole pixels
    cv = Canvas(size)

    def at(fx, fy):
        # folder corners sit on whole pixels so its straight edges stay sharp
        return (round(fx * s), round(fy * s))

    folder_line = ICON_FOLDER["k"]
    back_fill = ICON_FOLDER["s"]
    front_top = (255, 240, 184)
    front_bottom = ICON_FOLDER["y"]

    # Folder back with its tab (clockwise in screen coordinates).
    back = [at(0.04, 0.16), at(0.38, 0.16), at(0.46, 0.26),
            at(0.92, 0.26), at(0.92, 0.86), at(0.04, 0.86)]
    cv.outlined(back, back_fill, folder_line, w)

    # Front flap.
    front = [at(0.04, 0.36), at(0.92, 0.36), at(0.92, 0.86), at(0.04, 0.86)]
    cv.outlined(front, lambda x, y: lerp_colour(
        front_top, front_bottom, (y / s - 0.36) / 0.5), folder_line, w)

    # Gold star in front, lower right.
    star_top = (255, 236, 96)
    star_bottom = (255, 160, 0)
    cx, cy, outer = 0.64 * s, 0.62 * s, 0.36 * s
    star = star_polygon(cx, cy, outer, outer * 0.45)
    cv.outlined(star, lambda x, y: lerp_colour(
        star_top, star_bottom, (y - (cy - outer)) / (1.6 * outer)),
        STAR_LINE, w)
    return cv.to_bgra_rows()


def ico_entry_data(bgra_rows):
    size = len(bgra_rows)
    mask_stride = ((size + 31) // 32) * 4
    pixels = bytearray()
    mask = bytearray()
    for row in reversed(bgra_rows):
        bits = bytearray(mask_stride)
        for x, (b, g, r, a) in enumerate(row):
            pixels += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                       len(pixels) + len(mask), 0, 0, 0, 0)
    return info + pixels + mask


def write_ico(path, images):
    """images: list of square BGRA row lists, smallest first."""
    blobs = [ico_entry_data(rows) for rows in images]
    header = struct.pack("<HHH", 0, 1, len(blobs))
    offset = len(header) + 16 * len(blobs)
    entries = b""
    for rows, blob in zip(images, blobs):
        size = len(rows)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0,
                               1, 32, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(header + entries + b"".join(blobs))


def main():
    resources = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    bmp_path = os.path.join(resources, "tree_images.bmp")
    ico_path = os.path.join(resources, "Tolvak.ico")
    write_bmp24(bmp_path, build_strip())
    write_ico(ico_path, [draw_app_icon_16(), draw_app_icon(32), draw_app_icon(48)])
    print("wrote", bmp_path)
    print("wrote", ico_path)


if __name__ == "__main__":
    main()
