#!/usr/bin/python3
"""Draws Ledgerly's image assets into resources/images/.

Run with the system Python (standard library only):

    /usr/bin/python3 tools/make_assets.py

Every picture is drawn from code here, so a change of colour or shape is a
change of this script followed by a re-run; the generated files are committed
next to it and compiled into the program through resources/ledgerly.qrc.

Formats:
- the frame, title-button and title-icon images are uncompressed 24-bit BMP
  files (the skin cuts and keys them pixel by pixel);
- the menu pictures are 24-bit BMP (opaque, white background);
- the print-preview glyphs are 16-colour (4-bit) BMP files on a magenta
  RGB(255, 0, 255) background, which the preview masks out;
- the sign-in picture and the program icons are PNG with an alpha channel.

Every picture the windows show also comes drawn at twice the size
("NAME@2x"), for screens of 150 % and more: the same layout, with lines twice
as thick and gradients, diagonals and curves drawn at the finer grid. The
installed program icons (dist/icons/: PNG from 16 to 256 pixels and an SVG)
are drawn from the same shapes as the icons inside the program.
"""

import math
import os
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "resources", "images")
DIST_ICONS = os.path.join(ROOT, "dist", "icons")

MAGENTA = (255, 0, 255)
WHITE = (255, 255, 255)
GREEN = (0, 255, 0)
RED = (255, 0, 0)


# --- file writers -------------------------------------------------------------


def write_bmp24(path, pixels):
    """pixels: list of rows (top row first) of (r, g, b) tuples."""
    h = len(pixels)
    w = len(pixels[0])
    row_bytes = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):  # BMP rows run bottom-up
        row = bytearray()
        for r, g, b in pixels[y]:
            row += bytes((b, g, r))
        row += b"\0" * (row_bytes - len(row))
        data += row
    header_size = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(data), 0, 0, header_size)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(file_header + info + data)


# The 16 colours of the classic 4-bit palette.
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def write_bmp4(path, pixels):
    """A 16-colour BMP; every pixel must be one of PALETTE16."""
    h = len(pixels)
    w = len(pixels[0])
    index = {c: i for i, c in enumerate(PALETTE16)}
    row_bytes = ((w + 1) // 2 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(0, w, 2):
            hi = index[pixels[y][x]]
            lo = index[pixels[y][x + 1]] if x + 1 < w else 0
            row.append((hi << 4) | lo)
        row += b"\0" * (row_bytes - len(row))
        data += row
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE16)
    header_size = 14 + 40 + len(palette)
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(data), 0, 0, header_size)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(data), 2835, 2835, 16, 16)
    with open(path, "wb") as f:
        f.write(file_header + info + palette + data)


def write_png(path, pixels):
    """pixels: rows of (r, g, b, a) tuples; 8-bit RGBA PNG."""
    h = len(pixels)
    w = len(pixels[0])
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for px in row:
            raw += bytes(px)

    def chunk(kind, body):
        c = struct.pack(">I", len(body)) + kind + body
        return c + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


# --- helpers ------------------------------------------------------------------


def clamp(v):
    return max(0, min(255, int(round(v))))


def grey(v):
    v = clamp(v)
    return (v, v, v)


def mix(a, b, t):
    return tuple(clamp(a[i] + (b[i] - a[i]) * t) for i in range(3))


def grid(w, h, colour):
    return [[colour] * w for _ in range(h)]


class Canvas:
    """A small anti-aliased RGBA canvas for the PNG pictures.

    Shapes are given as inside-tests on real coordinates (pixel (x, y) covers
    [x, x+1) × [y, y+1)); each pixel is sampled on an N × N grid and the shape's
    colour is composited over what is there by its coverage.
    """

    SAMPLES = 4

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * w for _ in range(h)]

    def fill(self, inside, colour, alpha=1.0, bbox=None):
        n = self.SAMPLES
        if bbox is None:
            bbox = getattr(inside, "bbox", (0, 0, self.w, self.h))
        x0, y0, x1, y1 = bbox
        x0, y0 = max(0, int(math.floor(x0))), max(0, int(math.floor(y0)))
        x1, y1 = min(self.w, int(math.ceil(x1))), min(self.h, int(math.ceil(y1)))
        for y in range(y0, y1):
            for x in range(x0, x1):
                hits = 0
                for sy in range(n):
                    for sx in range(n):
                        if inside(x + (sx + 0.5) / n, y + (sy + 0.5) / n):
                            hits += 1
                if hits:
                    self.blend(x, y, colour, alpha * hits / (n * n))

    def blend(self, x, y, colour, a):
        r, g, b, da = self.px[y][x]
        out_a = a + da * (1 - a)
        if out_a <= 0:
            return
        mixc = [(colour[i] * a + (r, g, b)[i] * da * (1 - a)) / out_a for i in range(3)]
        self.px[y][x] = (mixc[0], mixc[1], mixc[2], out_a)

    def rows(self):
        return [[(clamp(r), clamp(g), clamp(b), clamp(a * 255)) for r, g, b, a in row]
                for row in self.px]


class Shape:
    """A filled shape: an inside-test on real coordinates, a bounding box
    (x0, y0, x1, y1) and its SVG element."""

    def __call__(self, x, y):
        return self.inside(x, y)


def _num(v):
    return ("%.3f" % v).rstrip("0").rstrip(".")


def _paint(colour, alpha, attr="fill"):
    text = '%s="#%02x%02x%02x"' % ((attr,) + tuple(colour))
    if alpha < 1:
        text += ' %s-opacity="%s"' % (attr, _num(alpha))
    return text


class rrect(Shape):
    """A rounded rectangle."""

    def __init__(self, x0, y0, x1, y1, r):
        self.x0, self.y0, self.x1, self.y1, self.r = x0, y0, x1, y1, r
        self.bbox = (x0, y0, x1, y1)

    def inside(self, x, y):
        x0, y0, x1, y1, r = self.x0, self.y0, self.x1, self.y1, self.r
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r

    def svg(self, colour, alpha):
        return '<rect x="%s" y="%s" width="%s" height="%s" rx="%s" %s/>' % (
            _num(self.x0), _num(self.y0), _num(self.x1 - self.x0), _num(self.y1 - self.y0),
            _num(self.r), _paint(colour, alpha))


class circle(Shape):
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r
        self.bbox = (cx - r, cy - r, cx + r, cy + r)

    def inside(self, x, y):
        return (x - self.cx) ** 2 + (y - self.cy) ** 2 <= self.r * self.r

    def svg(self, colour, alpha):
        return '<circle cx="%s" cy="%s" r="%s" %s/>' % (
            _num(self.cx), _num(self.cy), _num(self.r), _paint(colour, alpha))


class ring(Shape):
    def __init__(self, cx, cy, r_out, r_in):
        self.cx, self.cy, self.r_out, self.r_in = cx, cy, r_out, r_in
        self.bbox = (cx - r_out, cy - r_out, cx + r_out, cy + r_out)

    def inside(self, x, y):
        d2 = (x - self.cx) ** 2 + (y - self.cy) ** 2
        return self.r_in * self.r_in <= d2 <= self.r_out * self.r_out

    def svg(self, colour, alpha):
        return '<circle cx="%s" cy="%s" r="%s" fill="none" stroke-width="%s" %s/>' % (
            _num(self.cx), _num(self.cy), _num((self.r_out + self.r_in) / 2),
            _num(self.r_out - self.r_in), _paint(colour, alpha, "stroke"))


class segment(Shape):
    """A thick line with round ends."""

    def __init__(self, ax, ay, bx, by, half_width):
        self.ax, self.ay, self.bx, self.by, self.hw = ax, ay, bx, by, half_width
        self.bbox = (min(ax, bx) - half_width, min(ay, by) - half_width,
                     max(ax, bx) + half_width, max(ay, by) + half_width)

    def inside(self, x, y):
        dx, dy = self.bx - self.ax, self.by - self.ay
        length2 = dx * dx + dy * dy
        t = 0.0 if length2 == 0 else max(
            0.0, min(1.0, ((x - self.ax) * dx + (y - self.ay) * dy) / length2))
        px, py = self.ax + t * dx, self.ay + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= self.hw * self.hw

    def svg(self, colour, alpha):
        return ('<line x1="%s" y1="%s" x2="%s" y2="%s" stroke-width="%s" '
                'stroke-linecap="round" %s/>') % (
            _num(self.ax), _num(self.ay), _num(self.bx), _num(self.by), _num(2 * self.hw),
            _paint(colour, alpha, "stroke"))


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


# --- drawing at a scale ---------------------------------------------------------
#
# A picture drawn at scale k has k × k pixels for each pixel of its plain
# (k = 1) drawing. `centre(X, k)` is where the middle of pixel X of the large
# drawing lies on the plain drawing's grid, so that shading computed from it
# is the same function as at k = 1, sampled more finely.


def centre(i, k):
    return (i + 0.5) / k - 0.5


def upscale2x(pixels):
    """The Scale2x pixel-art enlargement: each pixel becomes four, and a
    corner takes a neighbour's colour where two neighbours agree, so that
    diagonals get finer steps instead of doubled ones. No colour is mixed."""
    h, w = len(pixels), len(pixels[0])
    out = [[None] * (2 * w) for _ in range(2 * h)]
    for y in range(h):
        for x in range(w):
            e = pixels[y][x]
            b = pixels[y - 1][x] if y > 0 else e
            h_ = pixels[y + 1][x] if y + 1 < h else e
            d = pixels[y][x - 1] if x > 0 else e
            f = pixels[y][x + 1] if x + 1 < w else e
            if b != h_ and d != f:
                e0 = d if d == b else e
                e1 = f if b == f else e
                e2 = d if d == h_ else e
                e3 = f if h_ == f else e
            else:
                e0 = e1 = e2 = e3 = e
            out[2 * y][2 * x], out[2 * y][2 * x + 1] = e0, e1
            out[2 * y + 1][2 * x], out[2 * y + 1][2 * x + 1] = e2, e3
    return out


# --- RES_FORM: the frame image ---------------------------------------------------

FORM_W, FORM_H = 443, 56
OUTLINE = (97, 97, 97)
INNER_LINE = (167, 167, 167)
INSIDE = (240, 240, 240)
STRIP = (196, 212, 225, 234)  # rows 32..35 of the title band


def title_shade(x, y, xf, yf):
    """Grey level of the title gradient (rows 1..31) at pixel (x, y), whose
    middle lies at (xf, yf).

    Darker towards the bottom, and darker again near the left and right ends.
    The darkening at the ends stays inside the fixed corner pieces (the first
    and the last 100 columns), so the middle columns, which the skin stretches,
    are the same across and stretch without seams.
    """
    t = (yf - 1) / 30.0
    v = 96 - 44 * t  # 96 at the top, 52 at row 31
    if y == 1:
        v += 22  # a thin highlight under the outline
    elif y == 2:
        v += 8
    dist = min(xf, FORM_W - 1 - xf)
    if dist < 100:
        v -= 20 * (1 - dist / 100.0) ** 2
    # The right middle piece's source is one grey level lighter than the left
    # one's: invisible on screen, but it lets a check of the frame tell where
    # one middle piece ends and the other begins.
    if 191 <= x <= 316:
        v += 1
    return v


def strip_shade(yf):
    """The light strip under the gradient, growing lighter downwards."""
    yf = max(32.0, min(35.0, yf))
    i = min(2, int(yf) - 32)
    return STRIP[i] + (STRIP[i + 1] - STRIP[i]) * (yf - 32 - i)


def form_pixel(x, y, xf, yf):
    last = FORM_W - 1
    # Guides: rows 36 and 49, columns 126 and 317 through all bands; the
    # title band's guide columns 9, 190 and 428 are marked at row 7.
    if y in (36, 49) or x in (126, 317):
        return GREEN
    if y == 7 and x in (9, 190, 428):
        return RED
    if y < 36:  # title band
        if y == 0 or x in (0, last):
            return OUTLINE
        if y <= 31:
            return grey(title_shade(x, y, xf, yf))
        if x in (1, last - 1):
            return INNER_LINE
        return grey(strip_shade(yf))
    # Side band (rows 37..48) and bottom band (rows 50..55): the outline
    # and a lighter inner line along the outer edges.
    if x in (0, last) or y == 55:
        return OUTLINE
    if x in (1, last - 1) or y == 54:
        return INNER_LINE
    return INSIDE


def make_form(k=1):
    return [[form_pixel(X // k, Y // k, centre(X, k), centre(Y, k)) for X in range(FORM_W * k)]
            for Y in range(FORM_H * k)]


# --- RES_TITLE: the title-bar buttons ------------------------------------------------


def button_cell(face_top, face_bottom, border, symbol, k):
    """One 20 × 20 cell: a rounded square on magenta with a white symbol."""
    x0, y0, x1, y1 = 1, 1, 18, 18
    cell = grid(20 * k, 20 * k, MAGENTA)
    for Y in range(20 * k):
        y = Y // k
        for X in range(20 * k):
            x = X // k
            if not (x0 <= x <= x1 and y0 <= y <= y1):
                continue
            if x in (x0, x1) and y in (y0, y1):
                continue  # cut corners: a softly rounded square
            if x in (x0, x1) or y in (y0, y1):
                cell[Y][X] = border
                continue
            c = mix(face_top, face_bottom, (centre(Y, k) - y0) / (y1 - y0))
            if y == y0 + 1:
                c = mix(c, WHITE, 0.25)  # a faint highlight inside the top edge
            cell[Y][X] = symbol(c, x, y, centre(X, k) + 0.5, centre(Y, k) + 0.5, k)
    return cell


def minimize_symbol(c, x, y, cx, cy, k):
    return WHITE if y in (12, 13) and 6 <= x <= 13 else c


def close_symbol(c, x, y, cx, cy, k):
    # A white cross, two pixels thick, anti-aliased against the button face
    # over one pixel of the drawing's grid.
    if not (5.5 <= cx <= 14.5 and 5.5 <= cy <= 14.5):
        return c
    d1 = abs((cx - 10) - (cy - 10)) / math.sqrt(2)
    d2 = abs((cx - 10) + (cy - 10)) / math.sqrt(2)
    cover = max(0.0, min(1.0, 0.5 + (1.1 - min(d1, d2)) * k))
    return mix(c, WHITE, cover) if cover > 0 else c


def make_title(k=1):
    cells = [
        button_cell((110, 110, 110), (66, 66, 66), (40, 40, 40), minimize_symbol, k),   # minimize up
        button_cell((150, 150, 150), (108, 108, 108), (60, 60, 60), minimize_symbol, k),  # minimize down
        grid(20 * k, 20 * k, MAGENTA),                                                  # unused
        button_cell((214, 74, 60), (168, 36, 28), (100, 20, 16), close_symbol, k),     # close up
        button_cell((250, 112, 96), (222, 56, 44), (130, 26, 20), close_symbol, k),    # close down
        grid(20 * k, 20 * k, MAGENTA),                                                  # unused
    ]
    return [[cells[X // (20 * k)][Y][X % (20 * k)] for X in range(120 * k)]
            for Y in range(20 * k)]


# --- RES_ICON: the small title-bar icon --------------------------------------------------


def make_icon(k=1):
    """Two chevrons on white (white is keyed out, so edges are not mixed
    with it): a pixel is blue where its middle lies inside a chevron."""
    shades = ((150, 172, 204), (112, 136, 172))
    img = grid(17 * k, 13 * k, WHITE)
    for Y in range(13 * k):
        bend = abs(centre(Y, k) - 6)
        for X in range(17 * k):
            xc = centre(X, k)
            for n, x0 in enumerate((3, 9)):
                if x0 + 3.5 - bend <= xc <= x0 + 6.5 - bend:
                    img[Y][X] = shades[n]
    return img


# --- the "Menu" pictures ------------------------------------------------------------------

# A small bold pixel font: just the letters the pictures need.
FONT = {
    "M": ["XX....XX",
          "XXX..XXX",
          "XXXXXXXX",
          "XX.XX.XX",
          "XX....XX",
          "XX....XX",
          "XX....XX",
          "XX....XX"],
    "e": [".XXXX.",
          "XX..XX",
          "XXXXXX",
          "XX....",
          "XX...X",
          ".XXXX."],
    "n": ["XX.XX.",
          "XXX.XX",
          "XX..XX",
          "XX..XX",
          "XX..XX",
          "XX..XX"],
    "u": ["XX..XX",
          "XX..XX",
          "XX..XX",
          "XX..XX",
          "XX.XXX",
          ".XX.XX"],
}


def make_menu(colour, k=1):
    img = grid(43, 13, WHITE)
    baseline = 9  # last row of the letters
    x = 2
    for ch in "Menu":
        glyph = FONT[ch]
        top = baseline - len(glyph) + 1
        for gy, line in enumerate(glyph):
            for gx, bit in enumerate(line):
                if bit == "X":
                    img[top + gy][x + gx] = colour
        x += len(glyph[0]) + 1
    # A small downward triangle after the word.
    tx = x + 3
    for row in range(4):
        for cx in range(row, 7 - row):
            img[5 + row][tx + cx] = colour
    # Twice the size: the same bitmap with finer diagonals.
    return upscale2x(img) if k == 2 else img


# --- PNG pictures: program icon and sign-in picture ------------------------------------------

BOOK = (30, 96, 120)
BOOK_DARK = (18, 64, 84)
PAGES = (246, 244, 236)
PAGE_LINE = (176, 196, 210)
GOLD = (236, 180, 40)
GOLD_DARK = (176, 122, 16)
GOLD_LIGHT = (255, 224, 120)


def draw_ledger(c, s, coin=True):
    """The program's mark: a ledger book with a gold coin, scaled to s pixels."""
    k = s / 48.0

    def sc(*v):
        return [a * k for a in v]

    # Shadow, pages block, cover.
    c.fill(rrect(*sc(8, 6, 42, 44), 3 * k), (0, 0, 0), 0.25)
    c.fill(rrect(*sc(9, 4, 40, 42), 2.5 * k), PAGES)
    c.fill(rrect(*sc(6, 3, 37, 41), 3 * k), BOOK)
    c.fill(rrect(*sc(6, 3, 12, 41), 2.5 * k), BOOK_DARK)  # spine
    for yy in (11, 17, 23, 29):  # ruled lines of the label
        c.fill(segment(*sc(16, yy, 32, yy), 0.9 * k), PAGE_LINE)
    c.fill(rrect(*sc(15, 7, 33, 9.5), 1 * k), (210, 226, 232))
    if coin:
        c.fill(circle(*sc(35, 34), 10.5 * k), GOLD_DARK)
        c.fill(circle(*sc(35, 34), 9.2 * k), GOLD)
        c.fill(ring(*sc(35, 34), 7.2 * k, 6.0 * k), GOLD_DARK)
        c.fill(circle(*sc(33, 31.5), 3.0 * k), GOLD_LIGHT, 0.6)
        # An "L" on the coin.
        c.fill(segment(*sc(33, 30, 33, 38), 1.2 * k), GOLD_DARK)
        c.fill(segment(*sc(33, 38, 38, 38), 1.2 * k), GOLD_DARK)


def make_program_icon(size):
    c = Canvas(size, size)
    draw_ledger(c, size)
    return c.rows()


class SvgCanvas:
    """Collects the shapes of a drawing as SVG elements."""

    def __init__(self, size):
        self.size = size
        self.elements = []

    def fill(self, shape, colour, alpha=1.0):
        self.elements.append(shape.svg(colour, alpha))

    def text(self):
        return ('<?xml version="1.0" encoding="UTF-8"?>\n'
                '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
                'viewBox="0 0 %d %d">\n  %s\n</svg>\n') % (
                    self.size, self.size, self.size, self.size, "\n  ".join(self.elements))


def make_program_svg():
    c = SvgCanvas(48)
    draw_ledger(c, 48)
    return c.text()


def make_login_picture(k=1):
    c = Canvas(48 * k, 48 * k)
    draw_ledger(c, 48 * k, coin=False)

    def sc(*v):
        return [a * k for a in v]

    # A golden key lying across the lower right of the book.
    c.fill(segment(*sc(22, 34, 42, 34, 2.0)), GOLD_DARK)
    c.fill(segment(*sc(22, 34, 42, 34, 1.2)), GOLD)
    c.fill(segment(*sc(37, 34, 37, 39, 1.3)), GOLD_DARK)
    c.fill(segment(*sc(41, 34, 41, 38, 1.3)), GOLD_DARK)
    c.fill(circle(*sc(18, 34, 8)), GOLD_DARK)
    c.fill(circle(*sc(18, 34, 6.6)), GOLD)
    c.fill(circle(*sc(16.5, 32, 2.5)), GOLD_LIGHT, 0.6)
    c.fill(circle(*sc(18, 34, 2.6)), GOLD_DARK)
    # Punch the key's hole through to the background.
    n = Canvas.SAMPLES
    for y in range(30 * k, 39 * k):
        for x in range(14 * k, 23 * k):
            hits = sum(1 for sy in range(n) for sx in range(n)
                       if ((x + (sx + .5) / n) / k - 18) ** 2 +
                       ((y + (sy + .5) / n) / k - 34) ** 2 <= 1.7 ** 2)
            if hits:
                r, g, b, a = c.px[y][x]
                c.px[y][x] = (r, g, b, a * (1 - hits / (n * n)))
    return c.rows()


# --- print-preview glyphs (18 × 18, 16 colours, magenta background) ---------------------------

BLACK = PALETTE16[0]
NAVY = PALETTE16[4]
BLUE = PALETTE16[12]
SILVER = PALETTE16[7]
GREY = PALETTE16[8]
LIME = PALETTE16[10]


class Glyph:
    """An 18 × 18 glyph drawn k times as large: pixels are set on the
    18 × 18 grid (k × k blocks), polygons are filled at the finer grid."""

    def __init__(self, k):
        self.k = k
        self.img = grid(18 * k, 18 * k, MAGENTA)

    def put(self, x, y, colour):
        k = self.k
        for Y in range(y * k, (y + 1) * k):
            for X in range(x * k, (x + 1) * k):
                self.img[Y][X] = colour

    def polygon(self, points, colour):
        test = polygon(points)
        k = self.k
        for Y in range(18 * k):
            for X in range(18 * k):
                if test((X + 0.5) / k, (Y + 0.5) / k):
                    self.img[Y][X] = colour


def triangle(g, tip_x, base_x, colour=BLUE, outline=NAVY):
    """A triangle pointing left (tip_x < base_x) or right, rows 3..14."""
    g.polygon([(tip_x, 9), (base_x, 3), (base_x, 15)], outline)
    step = 1 if base_x > tip_x else -1
    g.polygon([(tip_x + 2.2 * step, 9), (base_x - 1 * step, 5.0), (base_x - 1 * step, 13.0)],
              colour)


def bar(g, x0):
    for y in range(3, 15):
        for x in (x0, x0 + 1, x0 + 2):
            g.put(x, y, NAVY if x != x0 + 1 or y in (3, 14) else BLUE)


def make_glyph(kind, k=1):
    g = Glyph(k)
    if kind == "first":
        bar(g, 3)
        triangle(g, 6, 15)
    elif kind == "prev":
        triangle(g, 4, 13)
    elif kind == "next":
        triangle(g, 14, 5)
    elif kind == "last":
        triangle(g, 12, 3)
        bar(g, 12)
    elif kind == "print":
        draw_printer(g)
    return g.img


def draw_printer(g):
    def rect(x0, y0, x1, y1, fill, edge=BLACK):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                on_edge = x in (x0, x1) or y in (y0, y1)
                g.put(x, y, edge if on_edge else fill)

    rect(4, 1, 13, 7, WHITE)              # paper going in
    rect(1, 6, 16, 13, SILVER)            # body
    for x in range(2, 16):
        g.put(x, 7, WHITE)                # light upper edge of the body
    for x in range(2, 16):
        g.put(x, 12, GREY)                # shade at the foot
    rect(4, 11, 13, 16, WHITE)            # printed page coming out
    for y in (13, 15):
        for x in range(6, 12):
            g.put(x, y, GREY)             # printed lines
    g.put(13, 9, LIME)                    # ready light
    g.put(14, 9, LIME)
    for x in range(5, 13):
        g.put(x, 3, SILVER)
        g.put(x, 5, SILVER)


# --- main -------------------------------------------------------------------------------------


def enlarged(pixels, factor):
    """An enlarged RGBA copy for looking at a picture; alpha over a checkerboard."""
    out = []
    for y, row in enumerate(pixels):
        line = []
        for x, px in enumerate(row):
            for _ in range(factor):
                line.append(px)
        for sub in range(factor):
            shown = []
            for i, px in enumerate(line):
                r, g, b = px[:3]
                a = px[3] / 255.0 if len(px) == 4 else 1.0
                check = 204 if ((i // 4) + ((y * factor + sub) // 4)) % 2 else 153
                shown.append((clamp(r * a + check * (1 - a)), clamp(g * a + check * (1 - a)),
                              clamp(b * a + check * (1 - a)), 255))
            out.append(shown)
    return out



# Sizes of the installed program icons (share/icons/hicolor/<n>x<n>/apps).
ICON_SIZES = (16, 32, 48, 64, 128, 256)


def main():
    preview = sys.argv[2] if len(sys.argv) > 2 and sys.argv[1] == "--preview" else None
    os.makedirs(OUT, exist_ok=True)
    pictures = []
    # Each picture of the windows at its size and at twice its size.
    for k, suffix in ((1, ""), (2, "@2x")):
        pictures += [
            ("form%s.bmp" % suffix, write_bmp24, make_form(k)),
            ("title%s.bmp" % suffix, write_bmp24, make_title(k)),
            ("icon%s.bmp" % suffix, write_bmp24, make_icon(k)),
            ("menu_up%s.bmp" % suffix, write_bmp24, make_menu((0, 72, 200), k)),
            ("menu_down%s.bmp" % suffix, write_bmp24, make_menu((220, 24, 24), k)),
            ("login%s.png" % suffix, write_png, make_login_picture(k)),
            ("about_icon%s.png" % suffix, write_png, make_program_icon(32 * k)),
        ]
        for kind in ("first", "prev", "next", "last", "print"):
            pictures.append(("preview_%s%s.bmp" % (kind, suffix), write_bmp4, make_glyph(kind, k)))
    pictures.append(("app_icon.png", write_png, make_program_icon(48)))
    for name, writer, pixels in pictures:
        writer(os.path.join(OUT, name), pixels)
        if preview:
            # --preview DIR: also write enlarged PNG copies to look at.
            os.makedirs(preview, exist_ok=True)
            factor = 3 if len(pixels[0]) > 200 else 10
            write_png(os.path.join(preview, name.split(".")[0] + ".png"), enlarged(pixels, factor))

    # The program's icon for the desktop: PNG at each size and the SVG.
    os.makedirs(DIST_ICONS, exist_ok=True)
    for size in ICON_SIZES:
        write_png(os.path.join(DIST_ICONS, "ledgerly-%d.png" % size), make_program_icon(size))
    with open(os.path.join(DIST_ICONS, "ledgerly.svg"), "w", encoding="utf-8") as f:
        f.write(make_program_svg())
    return 0


if __name__ == "__main__":
    sys.exit(main())
