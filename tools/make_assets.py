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
"""

import math
import os
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "resources", "images")

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
        x0, y0, x1, y1 = bbox if bbox else (0, 0, self.w, self.h)
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


def rrect(x0, y0, x1, y1, r):
    """Inside-test of a rounded rectangle."""
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_out, r_in):
    return lambda x, y: r_in * r_in <= (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out


def segment(ax, ay, bx, by, half_width):
    """Inside-test of a thick line with round ends."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        px, py = ax + t * dx, ay + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= half_width * half_width
    return inside


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


# --- RES_FORM: the frame image ---------------------------------------------------

FORM_W, FORM_H = 443, 56
OUTLINE = (97, 97, 97)
INNER_LINE = (167, 167, 167)
INSIDE = (240, 240, 240)


def title_shade(x, y):
    """Grey level of the title gradient (rows 1..31).

    Darker towards the bottom, and darker again near the left and right ends.
    The darkening at the ends stays inside the fixed corner pieces (the first
    and the last 100 columns), so the middle columns, which the skin stretches,
    are the same across and stretch without seams.
    """
    t = (y - 1) / 30.0
    v = 96 - 44 * t  # 96 at the top, 52 at row 31
    if y == 1:
        v += 22  # a thin highlight under the outline
    elif y == 2:
        v += 8
    dist = min(x, FORM_W - 1 - x)
    if dist < 100:
        v -= 20 * (1 - dist / 100.0) ** 2
    # The right middle piece's source is one grey level lighter than the left
    # one's: invisible on screen, but it lets a check of the frame tell where
    # one middle piece ends and the other begins.
    if 191 <= x <= 316:
        v += 1
    return v


def make_form():
    img = grid(FORM_W, FORM_H, INSIDE)
    # Title band, rows 0..35.
    for y in range(0, 36):
        for x in range(FORM_W):
            if y <= 31:
                c = grey(title_shade(x, y))
            else:
                # Light strip, growing lighter downwards towards the inside colour.
                c = grey((196, 212, 225, 234)[y - 32])
            img[y][x] = c
    for y in range(0, 36):
        img[y][0] = OUTLINE
        img[y][FORM_W - 1] = OUTLINE
    for x in range(FORM_W):
        img[0][x] = OUTLINE
    for y in range(32, 36):
        img[y][1] = INNER_LINE
        img[y][FORM_W - 2] = INNER_LINE
    # Side band, rows 37..48: outline and inner line at both edges.
    for y in range(37, 49):
        img[y][0] = OUTLINE
        img[y][1] = INNER_LINE
        img[y][FORM_W - 2] = INNER_LINE
        img[y][FORM_W - 1] = OUTLINE
    # Bottom band, rows 50..55.
    for y in range(50, 56):
        img[y][0] = OUTLINE
        img[y][1] = INNER_LINE
        img[y][FORM_W - 2] = INNER_LINE
        img[y][FORM_W - 1] = OUTLINE
    for x in range(1, FORM_W - 1):
        img[54][x] = INNER_LINE
        img[55][x] = OUTLINE
    img[55][0] = OUTLINE
    img[55][FORM_W - 1] = OUTLINE
    # Guides: rows 36 and 49, columns 126 and 317 through all bands.
    for x in range(FORM_W):
        img[36][x] = GREEN
        img[49][x] = GREEN
    for y in range(FORM_H):
        img[y][126] = GREEN
        img[y][317] = GREEN
    # Title-band guide columns 9, 190 and 428, marked at row 7.
    for x in (9, 190, 428):
        img[7][x] = RED
    return img


# --- RES_TITLE: the title-bar buttons ------------------------------------------------


def button_cell(face_top, face_bottom, border, symbol):
    """One 20 × 20 cell: a rounded square on magenta with a white symbol."""
    cell = grid(20, 20, MAGENTA)
    x0, y0, x1, y1 = 1, 1, 18, 18
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            corner = (x in (x0, x1)) and (y in (y0, y1))
            if corner:
                continue  # cut corners: a softly rounded square
            edge = x in (x0, x1) or y in (y0, y1)
            if edge:
                cell[y][x] = border
            else:
                cell[y][x] = mix(face_top, face_bottom, (y - y0) / (y1 - y0))
    # A faint highlight inside the top edge.
    for x in range(x0 + 1, x1):
        cell[y0 + 1][x] = mix(cell[y0 + 1][x], WHITE, 0.25)
    symbol(cell)
    return cell


def minimize_symbol(cell):
    for y in (12, 13):
        for x in range(6, 14):
            cell[y][x] = WHITE


def close_symbol(cell):
    # A white cross, two pixels thick, anti-aliased against the button face.
    for y in range(4, 16):
        for x in range(4, 16):
            cx, cy = x + 0.5, y + 0.5
            d1 = abs((cx - 10) - (cy - 10)) / math.sqrt(2)
            d2 = abs((cx - 10) + (cy - 10)) / math.sqrt(2)
            d = min(d1, d2)
            inside_box = 5.5 <= cx <= 14.5 and 5.5 <= cy <= 14.5
            if not inside_box:
                continue
            cover = max(0.0, min(1.0, 1.6 - d))
            if cover > 0:
                cell[y][x] = mix(cell[y][x], WHITE, cover)


def make_title():
    cells = [
        button_cell((110, 110, 110), (66, 66, 66), (40, 40, 40), minimize_symbol),   # minimize up
        button_cell((150, 150, 150), (108, 108, 108), (60, 60, 60), minimize_symbol),  # minimize down
        grid(20, 20, MAGENTA),                                                       # unused
        button_cell((214, 74, 60), (168, 36, 28), (100, 20, 16), close_symbol),     # close up
        button_cell((250, 112, 96), (222, 56, 44), (130, 26, 20), close_symbol),    # close down
        grid(20, 20, MAGENTA),                                                       # unused
    ]
    img = grid(120, 20, MAGENTA)
    for i, cell in enumerate(cells):
        for y in range(20):
            for x in range(20):
                img[y][i * 20 + x] = cell[y][x]
    return img


# --- RES_ICON: the small title-bar icon --------------------------------------------------


def make_icon():
    img = grid(17, 13, WHITE)
    shades = ((150, 172, 204), (112, 136, 172))
    for n, x0 in enumerate((3, 9)):
        for y in range(13):
            cx = x0 + (6 - abs(y - 6))
            for x in range(cx - 2, cx + 1):
                img[y][x] = shades[n]
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


def make_menu(colour):
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
    return img


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


def make_login_picture():
    c = Canvas(48, 48)
    draw_ledger(c, 48, coin=False)
    # A golden key lying across the lower right of the book.
    c.fill(segment(22, 34, 42, 34, 2.0), GOLD_DARK)
    c.fill(segment(22, 34, 42, 34, 1.2), GOLD)
    c.fill(segment(37, 34, 37, 39, 1.3), GOLD_DARK)
    c.fill(segment(41, 34, 41, 38, 1.3), GOLD_DARK)
    c.fill(circle(18, 34, 8), GOLD_DARK)
    c.fill(circle(18, 34, 6.6), GOLD)
    c.fill(circle(16.5, 32, 2.5), GOLD_LIGHT, 0.6)
    c.fill(circle(18, 34, 2.6), GOLD_DARK)
    # Punch the key's hole through to the background.
    n = Canvas.SAMPLES
    for y in range(30, 39):
        for x in range(14, 23):
            hits = sum(1 for sy in range(n) for sx in range(n)
                       if (x + (sx + .5) / n - 18) ** 2 + (y + (sy + .5) / n - 34) ** 2 <= 1.7 ** 2)
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


def fill_polygon16(img, points, colour):
    test = polygon(points)
    for y in range(18):
        for x in range(18):
            if test(x + 0.5, y + 0.5):
                img[y][x] = colour


def triangle(img, tip_x, base_x, colour=BLUE, outline=NAVY):
    """A triangle pointing left (tip_x < base_x) or right, rows 3..14."""
    pts = [(tip_x, 9), (base_x, 3), (base_x, 15)]
    fill_polygon16(img, pts, outline)
    step = 1 if base_x > tip_x else -1
    inner = [(tip_x + 2.2 * step, 9), (base_x - 1 * step, 5.0), (base_x - 1 * step, 13.0)]
    fill_polygon16(img, inner, colour)


def bar(img, x0):
    for y in range(3, 15):
        for x in (x0, x0 + 1, x0 + 2):
            img[y][x] = NAVY if x != x0 + 1 or y in (3, 14) else BLUE


def make_glyph(kind):
    img = grid(18, 18, MAGENTA)
    if kind == "first":
        bar(img, 3)
        triangle(img, 6, 15)
    elif kind == "prev":
        triangle(img, 4, 13)
    elif kind == "next":
        triangle(img, 14, 5)
    elif kind == "last":
        triangle(img, 12, 3)
        bar(img, 12)
    elif kind == "print":
        draw_printer(img)
    return img


def draw_printer(img):
    def rect(x0, y0, x1, y1, fill, edge=BLACK):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                on_edge = x in (x0, x1) or y in (y0, y1)
                img[y][x] = edge if on_edge else fill

    rect(4, 1, 13, 7, WHITE)              # paper going in
    rect(1, 6, 16, 13, SILVER)            # body
    for x in range(2, 16):
        img[7][x] = WHITE                 # light upper edge of the body
    for x in range(2, 16):
        img[12][x] = GREY                 # shade at the foot
    rect(4, 11, 13, 16, WHITE)            # printed page coming out
    for y in (13, 15):
        for x in range(6, 12):
            img[y][x] = GREY              # printed lines
    img[9][13] = LIME                     # ready light
    img[9][14] = LIME
    for x in range(5, 13):
        img[3][x] = SILVER
        img[5][x] = SILVER


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


def main():
    preview = sys.argv[2] if len(sys.argv) > 2 and sys.argv[1] == "--preview" else None
    os.makedirs(OUT, exist_ok=True)
    pictures = [
        ("form.bmp", write_bmp24, make_form()),
        ("title.bmp", write_bmp24, make_title()),
        ("icon.bmp", write_bmp24, make_icon()),
        ("menu_up.bmp", write_bmp24, make_menu((0, 72, 200))),
        ("menu_down.bmp", write_bmp24, make_menu((220, 24, 24))),
        ("login.png", write_png, make_login_picture()),
        ("about_icon.png", write_png, make_program_icon(32)),
        ("app_icon.png", write_png, make_program_icon(48)),
    ]
    for kind in ("first", "prev", "next", "last", "print"):
        pictures.append(("preview_%s.bmp" % kind, write_bmp4, make_glyph(kind)))
    for name, writer, pixels in pictures:
        writer(os.path.join(OUT, name), pixels)
        if preview:
            # --preview DIR: also write enlarged PNG copies to look at.
            os.makedirs(preview, exist_ok=True)
            factor = 3 if len(pixels[0]) > 200 else 10
            write_png(os.path.join(preview, name.split(".")[0] + ".png"), enlarged(pixels, factor))
    return 0


if __name__ == "__main__":
    sys.exit(main())
