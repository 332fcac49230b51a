#!/usr/bin/env python3
"""Draws every image of the installer skin and the application icon.

    python3 tools/skin/make_skin.py [--out DIR]

Writes DIR/skin/res/... (PNG, 32-bit RGBA) and DIR/resources/quorvane.ico;
DIR defaults to the repository root. Standard library only.

Shapes are signed distance functions: a pixel's coverage is how far its centre
lies inside the shape's edge, clamped to one pixel, which gives anti-aliased
edges without supersampling. Images shown on a control of half their size
(the table in IMAGES) are drawn at twice the control size with every length
doubled, so they stay crisp when the toolkit scales them down.
"""

import argparse
import math
import os
import struct
import zlib

# Colour scheme.
BLUE = 0x389BFD         # brand blue, large buttons, selected check box
BLUE_HOT = 0x5FAFFD     # hover
BLUE_DOWN = 0x2C7CCA    # pressed
BLUE_DEEP = 0x1F6FD6    # logo gradient end
BLUE_LIGHT = 0x6CB9FF   # logo gradient start
GREY_TEXT = 0x333333
GREY_GLYPH = 0x7A7A7A
GREY_LINE = 0xC8C8C8
WHITE = 0xFFFFFF


def rgb(c):
    return ((c >> 16) & 255) / 255.0, ((c >> 8) & 255) / 255.0, (c & 255) / 255.0


def mix(c1, c2, t):
    a, b = rgb(c1), rgb(c2)
    t = min(1.0, max(0.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


# ---------------------------------------------------------------------------
# Distance functions: negative inside, positive outside, in pixels.

def sd_circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def sd_round_rect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hw, hh = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

    def f(x, y):
        qx, qy = abs(x - cx) - hw, abs(y - cy) - hh
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r
    return f


def sd_segment(ax, ay, bx, by, r):
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy

    def f(x, y):
        t = 0.0 if ll == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / ll))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - r
    return f


def sd_polyline(points, r):
    segs = [sd_segment(*points[i], *points[i + 1], r) for i in range(len(points) - 1)]
    return lambda x, y: min(s(x, y) for s in segs)


def sd_outline(f, width):
    """A band of the given width centred on the edge of f."""
    return lambda x, y: abs(f(x, y)) - width / 2.0


def sd_union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def sd_subtract(f, g):
    return lambda x, y: max(f(x, y), -g(x, y))


# ---------------------------------------------------------------------------
# Canvas with premultiplied float RGBA pixels.

class Canvas:
    def __init__(self, w, h, fill=None):
        self.w, self.h = w, h
        n = w * h
        if fill is None:
            self.r, self.g, self.b, self.a = [0.0] * n, [0.0] * n, [0.0] * n, [0.0] * n
        else:
            cr, cg, cb = rgb(fill)
            self.r, self.g, self.b, self.a = [cr] * n, [cg] * n, [cb] * n, [1.0] * n

    def draw(self, sdf, paint, alpha=1.0, box=None):
        """Composites a shape over the canvas.

        paint is a colour (0xRRGGBB) or a function (x, y) -> (r, g, b);
        box (x0, y0, x1, y1) limits the pixels visited to where the shape is.
        """
        x0, y0, x1, y1 = box if box else (0, 0, self.w, self.h)
        x0, y0 = max(0, int(math.floor(x0)) - 1), max(0, int(math.floor(y0)) - 1)
        x1, y1 = min(self.w, int(math.ceil(x1)) + 1), min(self.h, int(math.ceil(y1)) + 1)
        solid = None if callable(paint) else rgb(paint)
        for y in range(y0, y1):
            py = y + 0.5
            row = y * self.w
            for x in range(x0, x1):
                px = x + 0.5
                cov = 0.5 - sdf(px, py)
                if cov <= 0.0:
                    continue
                k = (1.0 if cov >= 1.0 else cov) * alpha
                cr, cg, cb = solid if solid else paint(px, py)
                i = row + x
                inv = 1.0 - k
                self.r[i] = cr * k + self.r[i] * inv
                self.g[i] = cg * k + self.g[i] * inv
                self.b[i] = cb * k + self.b[i] * inv
                self.a[i] = k + self.a[i] * inv

    def png(self):
        raw = bytearray()
        for y in range(self.h):
            raw.append(0)
            for i in range(y * self.w, (y + 1) * self.w):
                raw += bytes(straight_rgba(self.r[i], self.g[i], self.b[i], self.a[i]))
        return encode_png(self.w, self.h, bytes(raw))

    def bgra_rows_bottom_up(self):
        out = bytearray()
        for y in reversed(range(self.h)):
            for i in range(y * self.w, (y + 1) * self.w):
                r, g, b, a = straight_rgba(self.r[i], self.g[i], self.b[i], self.a[i])
                out += bytes((b, g, r, a))
        return bytes(out)


def straight_rgba(r, g, b, a):
    if a <= 0.0:
        return 0, 0, 0, 0
    q = lambda v: max(0, min(255, int(round(v / a * 255.0))))
    return q(r), q(g), q(b), max(0, min(255, int(round(a * 255.0))))


def encode_png(w, h, raw):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    ihdr = struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# ---------------------------------------------------------------------------
# The product logo: a rounded tile in a blue diagonal gradient carrying a white
# "Q": a ring crossed by a short tail that starts inside it, with a small dot at
# the centre.

def q_mark(cx, cy, r, stroke):
    """The ring and tail of the logo's "Q" around (cx, cy), ring radius r."""
    ring = sd_outline(sd_circle(cx, cy, r), stroke)
    d0, d1 = 0.62 * r / math.sqrt(2.0), 1.42 * r / math.sqrt(2.0)
    tail = sd_segment(cx + d0, cy + d0, cx + d1, cy + d1, stroke / 2.0)
    return sd_union(ring, tail)


def draw_logo(c, x0, y0, size):
    s = float(size)

    def grad(x, y):
        t = ((x - x0) + (y - y0)) / (2.0 * s)
        return mix(BLUE_LIGHT, BLUE_DEEP, t)
    box = (x0, y0, x0 + s, y0 + s)
    c.draw(sd_round_rect(x0, y0, x0 + s, y0 + s, 0.26 * s), grad, box=box)
    cx, cy = x0 + 0.48 * s, y0 + 0.48 * s
    c.draw(q_mark(cx, cy, 0.215 * s, 0.1 * s), WHITE, box=box)
    if size >= 32:
        c.draw(sd_circle(cx, cy, 0.045 * s), WHITE, alpha=0.9, box=box)


# ---------------------------------------------------------------------------
# Backgrounds: white with light-blue shapes, the same family on every page.

def background(logo=None, watermark=False, confetti=False):
    c = Canvas(700, 420, WHITE)
    soft = [
        (sd_circle(668, -36, 196), 0.075, (440, 0, 700, 170)),
        (sd_circle(712, 70, 118), 0.06, (590, 0, 700, 190)),
        (sd_circle(-40, 440, 168), 0.07, (0, 270, 130, 420)),
        (sd_circle(70, 470, 120), 0.05, (0, 348, 192, 420)),
    ]
    for f, a, box in soft:
        c.draw(f, BLUE, alpha=a, box=box)
    c.draw(sd_outline(sd_circle(612, 352, 44), 2.0), BLUE, alpha=0.16, box=(566, 306, 658, 398))
    c.draw(sd_circle(664, 262, 3), BLUE, alpha=0.25, box=(659, 257, 669, 267))
    if not watermark:
        # Small marks on the left, where the progress page has its text.
        c.draw(sd_circle(552, 118, 5), BLUE, alpha=0.22, box=(545, 111, 559, 125))
        c.draw(sd_circle(128, 140, 3.5), BLUE, alpha=0.22, box=(122, 134, 134, 146))
        c.draw(sd_outline(sd_circle(96, 168, 9), 2.0), BLUE, alpha=0.2, box=(85, 157, 107, 179))
    c.draw(sd_segment(520, 440, 720, 300, 22), BLUE, alpha=0.04, box=(490, 270, 700, 420))
    if watermark:
        # A large faint copy of the mark beside the feature list.
        cx, cy, r = 548, 190, 80
        c.draw(q_mark(cx, cy, r, 30), BLUE, alpha=0.06, box=(cx - r - 16, cy - r - 16, 700, 320))
    if confetti:
        # Light dashes and dots around the heading of the finished page.
        for x0, y0, x1, y1, a in ((196, 118, 206, 110, 0.35), (486, 104, 496, 114, 0.35),
                                  (170, 160, 170, 160, 0.3), (520, 150, 520, 150, 0.3),
                                  (238, 88, 238, 88, 0.25), (452, 182, 460, 188, 0.3),
                                  (226, 188, 234, 184, 0.25), (540, 96, 540, 96, 0.2)):
            r = 2.5 if (x0, y0) != (x1, y1) else 3.0
            c.draw(sd_segment(x0, y0, x1, y1, r), BLUE, alpha=a,
                   box=(min(x0, x1) - r, min(y0, y1) - r, max(x0, x1) + r, max(y0, y1) + r))
    if logo:
        draw_logo(c, *logo)
    return c


# ---------------------------------------------------------------------------
# Buttons and small parts. "k" is the drawing scale (2 for images shown at half
# their size).

def large_button(top, bottom):
    k = 2
    c = Canvas(208 * k, 44 * k)
    shape = sd_round_rect(0, 0, 208 * k, 44 * k, 22 * k)
    c.draw(shape, lambda x, y: mix(top, bottom, y / (44.0 * k)))
    return c


def path_frame():
    k = 2
    c = Canvas(520 * k, 40 * k)
    outer = sd_round_rect(0, 0, 520 * k, 40 * k, 6 * k)
    c.draw(outer, WHITE)
    c.draw(sd_outline(sd_round_rect(0.5 * k, 0.5 * k, 519.5 * k, 39.5 * k, 5.5 * k), 1.0 * k), BLUE)
    return c


def path_button(fill, alpha):
    k = 2
    c = Canvas(60 * k, 32 * k)
    c.draw(sd_round_rect(0, 0, 60 * k, 32 * k, 4 * k), fill, alpha=alpha)
    return c


def progress(fill, alpha=1.0):
    c = Canvas(583, 10)
    c.draw(sd_round_rect(0, 0, 583, 10, 5), fill, alpha=alpha)
    return c


def check_box(selected):
    c = Canvas(16, 16)
    if selected:
        c.draw(sd_round_rect(0, 0, 16, 16, 3), BLUE)
        c.draw(sd_polyline([(4.0, 8.3), (6.9, 11.1), (12.1, 5.3)], 0.85), WHITE)
    else:
        c.draw(sd_round_rect(0, 0, 16, 16, 3), WHITE)
        c.draw(sd_outline(sd_round_rect(0.5, 0.5, 15.5, 15.5, 2.5), 1.0), GREY_LINE)
    return c


def title_button(glyph, state):
    """48 x 48 (a 24-pixel button at twice the size); state 1 normal .. 4 disabled."""
    k = 2
    c = Canvas(24 * k, 24 * k)
    ink = {1: GREY_GLYPH, 2: BLUE, 3: BLUE_DOWN, 4: 0xCCCCCC}[state]
    if state in (2, 3):
        c.draw(sd_round_rect(0, 0, 24 * k, 24 * k, 6 * k), BLUE, alpha=0.12 if state == 2 else 0.22)
    w = 0.75 * k
    if glyph == "min":
        shape = sd_segment(7 * k, 12 * k, 17 * k, 12 * k, w)
    else:
        shape = sd_union(sd_segment(7.5 * k, 7.5 * k, 16.5 * k, 16.5 * k, w),
                         sd_segment(16.5 * k, 7.5 * k, 7.5 * k, 16.5 * k, w))
    c.draw(shape, ink)
    return c


def box_close(state):
    c = Canvas(24, 24)
    ink = {1: 0xA0A0A0, 2: BLUE, 3: BLUE_DOWN}[state]
    if state > 1:
        c.draw(sd_circle(12, 12, 12), BLUE, alpha=0.12 if state == 2 else 0.22)
    c.draw(sd_union(sd_segment(8, 8, 16, 16, 0.75), sd_segment(16, 8, 8, 16, 0.75)), ink)
    return c


def round_badge(size, mark):
    """A blue disc with a white "i" or "!" of the given pixel size."""
    c = Canvas(size, size)
    s = float(size)
    h = s / 2.0
    c.draw(sd_circle(h, h, h), BLUE)
    stem = 0.05 * s
    if mark == "i":
        c.draw(sd_circle(h, 0.29 * s, 0.068 * s), WHITE)
        c.draw(sd_segment(h, 0.45 * s, h, 0.73 * s, stem), WHITE)
    else:
        c.draw(sd_segment(h, 0.26 * s, h, 0.56 * s, stem), WHITE)
        c.draw(sd_circle(h, 0.72 * s, 0.068 * s), WHITE)
    return c


def box_button(fill, border=None, k=1):
    c = Canvas(76 * k, 32 * k)
    c.draw(sd_round_rect(0, 0, 76 * k, 32 * k, 3 * k), fill)
    if border is not None:
        c.draw(sd_outline(sd_round_rect(0.5 * k, 0.5 * k, 75.5 * k, 31.5 * k, 2.5 * k), 1.0 * k), border)
    return c


def logo_image(size):
    c = Canvas(size, size)
    draw_logo(c, 0, 0, size)
    return c


# ---------------------------------------------------------------------------
# The skin's images: archive path -> drawing.

IMAGES = {
    "res/mainWnd/bk01.png": lambda: background(logo=(305, 65, 90)),
    "res/mainWnd/bk02.png": lambda: background(),
    "res/mainWnd/bk03.png": lambda: background(watermark=True),
    "res/mainWnd/bk04.png": lambda: background(logo=(54, 23, 24), confetti=True),
    "res/mainWnd/installBtn1.png": lambda: large_button(0x4AA8FF, 0x2F93FB),
    "res/mainWnd/installBtn2.png": lambda: large_button(0x66B6FF, 0x45A3FE),
    "res/mainWnd/installBtn3.png": lambda: large_button(0x2F88E6, 0x2B7AD0),
    "res/mainWnd/installDirEdit.png": path_frame,
    "res/mainWnd/installDirEdit1.png": lambda: path_button(BLUE, 0.08),
    "res/mainWnd/installDirEdit2.png": lambda: path_button(BLUE, 0.15),
    "res/mainWnd/installDirEdit3.png": lambda: path_button(BLUE, 0.24),
    "res/mainWnd/installPrg1.png": lambda: progress(0xE3F0FF),
    "res/mainWnd/installPrg2.png": lambda: progress(BLUE),
    "res/mainWnd/treatyCb1.png": lambda: check_box(False),
    "res/mainWnd/treatyCb2.png": lambda: check_box(True),
    "res/common/logo.png": lambda: logo_image(36),
    "res/MessageBoxWnd/closeBtn1.png": lambda: box_close(1),
    "res/MessageBoxWnd/closeBtn2.png": lambda: box_close(2),
    "res/MessageBoxWnd/closeBtn3.png": lambda: box_close(3),
    "res/MessageBoxWnd/tips.png": lambda: round_badge(24, "i"),
    "res/MessageBoxWnd/warn.png": lambda: round_badge(32, "!"),
    "res/MessageBoxWnd/ok1.png": lambda: box_button(WHITE, 0xD0D0D0),
    "res/MessageBoxWnd/ok2.png": lambda: box_button(0xF5FAFF, BLUE_HOT),
    "res/MessageBoxWnd/ok3.png": lambda: box_button(0xE8F3FF, BLUE_DOWN),
    "res/MessageBoxWnd/cancel1.png": lambda: box_button(BLUE),
    "res/MessageBoxWnd/cancel2.png": lambda: box_button(0x52A9FE, k=2),
    "res/MessageBoxWnd/cancel3.png": lambda: box_button(BLUE_DOWN),
}
for _n in range(1, 5):
    IMAGES["res/common/minbtn%d.png" % _n] = (lambda n: lambda: title_button("min", n))(_n)
    IMAGES["res/common/closebtn%d.png" % _n] = (lambda n: lambda: title_button("close", n))(_n)

ICON_SIZES = (256, 128, 96, 72, 64, 48, 32, 24, 16)


def write_icon(path):
    """An icon file of the logo at every size: 32-bit images, PNG for 256."""
    images = []
    for size in ICON_SIZES:
        c = logo_image(size)
        if size >= 256:
            data = c.png()
        else:
            mask_stride = ((size + 31) // 32) * 4
            header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
            data = header + c.bgra_rows_bottom_up() + bytes(mask_stride * size)
        images.append((size, data))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data in images)
    with open(path, "wb") as f:
        f.write(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=os.path.normpath(os.path.join(here, "..", "..")),
                    help="root under which skin/res and resources/ are written")
    ap.add_argument("--only", nargs="*", help="draw only these archive paths")
    args = ap.parse_args()
    for name, draw in sorted(IMAGES.items()):
        if args.only and name not in args.only:
            continue
        path = os.path.join(args.out, "skin", *name.split("/"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(draw().png())
    if not args.only:
        os.makedirs(os.path.join(args.out, "resources"), exist_ok=True)
        write_icon(os.path.join(args.out, "resources", "quorvane.ico"))


if __name__ == "__main__":
    main()
