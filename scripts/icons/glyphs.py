"""A 32-unit drawing grid with the glyphs the canvas, shell and widget icon
sets are built from. Drawn four times over size and scaled down, so that the
small icons keep smooth edges."""
import contextlib
import math

from PIL import Image, ImageDraw

from shapes import BLUE, GREEN, GREY, INK, PAPER, RED, YELLOW

SS = 4
LIGHT = (190, 214, 255, 255)
ORANGE = (240, 140, 30, 255)
PINK = (240, 150, 170, 255)
WHITE = (255, 255, 255, 255)


class G:
    """Coordinates are units of a 32 x 32 square stretched over the image."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.img = Image.new("RGBA", (w * SS, h * SS), (0, 0, 0, 0))
        self.d = ImageDraw.Draw(self.img)
        self.t = (0.0, 0.0, 1.0)

    @contextlib.contextmanager
    def at(self, dx, dy, k):
        """Draws the glyphs of the block shrunk by k with their origin at (dx, dy)."""
        old = self.t
        ox, oy, ok = old
        self.t = (ox + dx * ok, oy + dy * ok, ok * k)
        yield
        self.t = old

    def p(self, pts):
        ox, oy, k = self.t
        return [((ox + x * k) * self.w * SS / 32, (oy + y * k) * self.h * SS / 32) for x, y in pts]

    def u(self, width):
        return max(1, round(width * self.t[2] * min(self.w, self.h) * SS / 32))

    def box(self, x0, y0, x1, y1):
        (a, b), (c, e) = self.p([(x0, y0), (x1, y1)])
        return [min(a, c), min(b, e), max(a, c), max(b, e)]

    def rect(self, x0, y0, x1, y1, fill=None, outline=INK, width=1.5, radius=0):
        self.d.rounded_rectangle(self.box(x0, y0, x1, y1), radius=self.u(radius) if radius else 0, fill=fill,
                                 outline=outline, width=self.u(width) if outline else 0)

    def ellipse(self, x0, y0, x1, y1, fill=None, outline=INK, width=1.5):
        self.d.ellipse(self.box(x0, y0, x1, y1), fill=fill, outline=outline, width=self.u(width) if outline else 0)

    def line(self, pts, fill=INK, width=1.5):
        self.d.line(self.p(pts), fill=fill, width=self.u(width), joint="curve")

    def poly(self, pts, fill=None, outline=INK, width=1.5):
        self.d.polygon(self.p(pts), fill=fill)
        if outline:
            self.line(list(pts) + [pts[0]], outline, width)

    def arc(self, x0, y0, x1, y1, start, end, fill=INK, width=2.5):
        self.d.arc(self.box(x0, y0, x1, y1), start, end, fill=fill, width=self.u(width))

    def pie(self, x0, y0, x1, y1, start, end, fill):
        self.d.pieslice(self.box(x0, y0, x1, y1), start, end, fill=fill)

    def finish(self, d):
        d._image.alpha_composite(self.img.resize((self.w, self.h), Image.LANCZOS))


def icon(w, h, *glyphs):
    """An icon entry drawing the given glyph functions in order."""

    def draw(d, w_, h_):
        g = G(w_, h_)
        for glyph in glyphs:
            glyph(g)
        g.finish(d)

    return (w, h, draw)


def small(glyph, dx=16, dy=16, k=0.5):
    """The glyph shrunk into a corner, for badges over a main glyph."""

    def draw(g):
        with g.at(dx, dy, k):
            glyph(g)

    return draw


# ---- glyphs: each draws on the whole 32-unit square

def page(g, fill=PAPER):
    g.poly([(7, 2), (20, 2), (26, 8), (26, 30), (7, 30)], fill)
    g.line([(20, 2), (20, 8), (26, 8)])


def floppy(g, colour=BLUE):
    g.poly([(3, 3), (25, 3), (29, 7), (29, 29), (3, 29)], colour)
    g.rect(9, 3, 22, 11, fill=GREY, outline=INK, width=1)
    g.rect(7, 16, 25, 29, fill=PAPER, outline=INK, width=1)
    for y in (20, 24):
        g.line([(10, y), (22, y)], GREY, 1)


def folder(g, open_=False):
    g.poly([(2, 7), (11, 7), (14, 10), (28, 10), (28, 27), (2, 27)], YELLOW)
    if open_:
        g.poly([(6, 14), (31, 14), (27, 27), (2, 27)], (250, 225, 110, 255))


def cross(g, colour=RED, width=4.5):
    g.line([(8, 8), (24, 24)], colour, width)
    g.line([(24, 8), (8, 24)], colour, width)


def check(g, colour=GREEN, width=4.5):
    g.line([(6, 17), (13, 24), (26, 8)], colour, width)


def plus(g, colour=GREEN, width=5):
    g.line([(16, 5), (16, 27)], colour, width)
    g.line([(5, 16), (27, 16)], colour, width)


def minus(g, colour=RED, width=5):
    g.line([(5, 16), (27, 16)], colour, width)


def arrow(g, direction, colour=INK):
    """A block arrow across the square; direction in degrees, 0 to the right."""
    shape = [(4, 12), (18, 12), (18, 5), (29, 16), (18, 27), (18, 20), (4, 20)]
    a = math.radians(direction)
    pts = [(16 + (x - 16) * math.cos(a) + (y - 16) * math.sin(a), 16 - (x - 16) * math.sin(a) + (y - 16) * math.cos(a))
           for x, y in shape]
    g.poly(pts, colour, INK, 1)


def double_arrow(g, vertical=True, colour=INK):
    pts = [(16, 2), (24, 10), (19, 10), (19, 22), (24, 22), (16, 30), (8, 22), (13, 22), (13, 10), (8, 10)]
    if not vertical:
        pts = [(y, x) for x, y in pts]
    g.poly(pts, colour, None)


def curved(g, clockwise, colour=BLUE, start=200, end=340):
    """An arc with an arrow head at its end; angles as PIL counts them (clockwise from 3 o'clock)."""
    g.arc(5, 5, 27, 27, start, end, colour, 4)
    tip = end if clockwise else start
    a = math.radians(tip)
    cx, cy = 16 + 11 * math.cos(a), 16 + 11 * math.sin(a)
    # Tangent pointing along the direction of travel.
    s = 1 if clockwise else -1
    tx, ty = -math.sin(a) * s, math.cos(a) * s
    nx, ny = math.cos(a), math.sin(a)
    g.poly([(cx + tx * 6, cy + ty * 6), (cx + nx * 5, cy + ny * 5), (cx - nx * 5, cy - ny * 5)], colour, None)


def pencil(g):
    g.poly([(21, 4), (28, 11), (11, 28), (4, 28), (4, 21)], YELLOW)
    g.poly([(4, 21), (11, 28), (4, 28)], INK, None)
    g.line([(18, 7), (25, 14)])


def eraser(g):
    g.poly([(18, 4), (29, 15), (17, 27), (6, 16)], PINK)
    g.poly([(6, 16), (12, 10), (23, 21), (17, 27)], LIGHT)
    g.line([(3, 29), (29, 29)], GREY, 1.5)


def pipette(g):
    g.line([(6, 26), (19, 13)], INK, 3.5)
    g.line([(6, 26), (4, 28)], BLUE, 3)
    g.ellipse(17, 5, 27, 15, fill=INK, outline=None)
    g.line([(15, 11), (21, 17)], INK, 3)


def eye(g, open_=True):
    pts = [(2 + i, 16 - 9 * math.sin(math.pi * i / 28)) for i in range(29)]
    pts += [(30 - i, 16 + 9 * math.sin(math.pi * i / 28)) for i in range(29)]
    g.poly(pts, WHITE)
    g.ellipse(11, 11, 21, 21, fill=BLUE, outline=None)
    g.ellipse(14, 14, 18, 18, fill=INK, outline=None)
    if not open_:
        g.line([(4, 28), (28, 4)], RED, 3.5)


def half_eye(g):
    eye(g)
    g.poly([(16, 2), (31, 2), (31, 30), (16, 30)], (120, 120, 120, 150), None)


def magnifier(g, sign=None):
    g.line([(19, 19), (29, 29)], INK, 5)
    g.ellipse(3, 3, 22, 22, fill=LIGHT, outline=INK, width=2.5)
    if sign:
        with g.at(5.5, 5.5, 0.5):
            sign(g)


def scissors(g):
    g.line([(8, 4), (22, 22)], GREY, 2.5)
    g.line([(24, 4), (10, 22)], GREY, 2.5)
    g.ellipse(3, 20, 12, 29, outline=RED, width=2.5)
    g.ellipse(20, 20, 29, 29, outline=RED, width=2.5)


def clipboard(g):
    g.rect(5, 5, 27, 30, fill=ORANGE, radius=2)
    g.rect(9, 9, 23, 27, fill=PAPER, outline=None)
    g.rect(11, 2, 21, 8, fill=GREY, radius=1)


def book(g):
    g.rect(6, 3, 26, 29, fill=(150, 50, 50, 255), radius=2)
    g.rect(9, 6, 24, 26, fill=PAPER, outline=None)
    for y in (10, 14, 18):
        g.line([(12, y), (21, y)], GREY, 1.2)


def grid(g, n=3, colour=INK):
    g.rect(3, 3, 29, 29, fill=WHITE, outline=colour)
    for i in range(1, n):
        c = 3 + 26 * i / n
        g.line([(c, 3), (c, 29)], colour, 1.2)
        g.line([(3, c), (29, c)], colour, 1.2)


def dashed_rect(g, x0=4, y0=4, x1=28, y1=28, colour=INK):
    for a, b in [((x0, y0), (x1, y0)), ((x1, y0), (x1, y1)), ((x1, y1), (x0, y1)), ((x0, y1), (x0, y0))]:
        n = 6
        for i in range(0, n, 2):
            f, e = i / n, (i + 1) / n
            g.line([(a[0] + (b[0] - a[0]) * f, a[1] + (b[1] - a[1]) * f),
                    (a[0] + (b[0] - a[0]) * e, a[1] + (b[1] - a[1]) * e)], colour, 2)


def colour_wheel(g):
    hues = [RED, ORANGE, YELLOW, GREEN, (40, 200, 200, 255), BLUE, (130, 60, 200, 255), (220, 60, 160, 255)]
    for i, c in enumerate(hues):
        g.pie(2, 2, 30, 30, i * 45, (i + 1) * 45, c)
    g.ellipse(10, 10, 22, 22, fill=WHITE, outline=None)


def checker(g):
    for i in range(4):
        for j in range(4):
            g.rect(4 + 6 * i, 4 + 6 * j, 10 + 6 * i, 10 + 6 * j, fill=WHITE if (i + j) % 2 else GREY, outline=None)
    g.rect(4, 4, 28, 28)


def figure(g, colour=BLUE):
    """A small character: head, body, legs."""
    g.ellipse(11, 2, 21, 12, fill=(250, 210, 170, 255))
    g.poly([(9, 13), (23, 13), (24, 24), (8, 24)], colour)
    g.line([(12, 24), (12, 30)], INK, 3)
    g.line([(20, 24), (20, 30)], INK, 3)


def layers(g, count=2, top=LIGHT):
    for i in reversed(range(count)):
        o = i * 5
        g.poly([(3 + o, 20 - o), (16 + o, 13 - o), (29 + o - 5 * (count - 1), 20 - o), (16 + o, 27 - o)],
               top if i == 0 else GREY)


def letters(g, text, colour=INK, width=3):
    """Stroke letters X, P, V and ? laid side by side over the square."""
    strokes = {
        "X": [[(0, 0), (1, 1)], [(1, 0), (0, 1)]],
        "V": [[(0, 0), (0.5, 1), (1, 0)]],
        "P": [[(0.1, 1), (0.1, 0), (0.7, 0), (0.95, 0.25), (0.7, 0.5), (0.1, 0.5)]],
        "?": [[(0.1, 0.25), (0.3, 0.02), (0.7, 0.02), (0.9, 0.25), (0.5, 0.5), (0.5, 0.7)], [(0.5, 0.88), (0.5, 0.98)]],
    }
    n = len(text)
    cw = 24 / n
    for i, ch in enumerate(text):
        x0 = 4 + i * cw + cw * 0.12
        for stroke in strokes[ch]:
            g.line([(x0 + x * cw * 0.76, 6 + y * 20) for x, y in stroke], colour, width)


def badge(text, colour=BLUE):
    def draw(g):
        g.rect(1, 1, 31, 31, fill=colour, outline=INK, radius=5)
        letters(g, text, WHITE, 3.5)

    return draw


def heart(g, colour=RED):
    pts = []
    for i in range(41):
        t = math.pi * 2 * i / 40
        x = 16 * math.sin(t) ** 3
        y = 13 * math.cos(t) - 5 * math.cos(2 * t) - 2 * math.cos(3 * t) - math.cos(4 * t)
        pts.append((16 + x * 0.85, 15 - y * 0.85))
    g.poly(pts, colour)


def target(g):
    for r, c in [(14, RED), (10, WHITE), (6, RED), (2, WHITE)]:
        g.ellipse(16 - r, 16 - r, 16 + r, 16 + r, fill=c, outline=None)


def play(g, hover=False):
    g.ellipse(2, 2, 30, 30, fill=(90, 140, 255, 255) if hover else BLUE, outline=INK)
    g.poly([(12, 9), (24, 16), (12, 23)], WHITE, None)


def pause(g, hover=False):
    g.ellipse(2, 2, 30, 30, fill=(90, 140, 255, 255) if hover else BLUE, outline=INK)
    g.rect(11, 9, 14.5, 23, fill=WHITE, outline=None)
    g.rect(17.5, 9, 21, 23, fill=WHITE, outline=None)


def cursor_arrow(g):
    g.poly([(7, 3), (7, 26), (13, 20), (17, 29), (21, 27), (17, 19), (25, 19)], WHITE, INK, 1.5)


def triangle_pair(g, horizontal=True):
    pts_a = [(14, 5), (14, 27), (3, 27)]
    pts_b = [(18, 5), (18, 27), (29, 27)]
    if not horizontal:
        pts_a = [(y, x) for x, y in pts_a]
        pts_b = [(y, x) for x, y in pts_b]
    g.poly(pts_a, BLUE)
    g.poly(pts_b, LIGHT)
    a, b = ((16, 2), (16, 30)) if horizontal else ((2, 16), (30, 16))
    g.line([a, b], RED, 1.5)
