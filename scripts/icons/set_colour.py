"""The colour tools: slider cursor, colour inversion, adding to the palette."""
from shapes import BLUE, GREEN, GREY, INK, RED, YELLOW


def cursor(d, w, h):
    # An upward wedge whose tip, on the two middle columns, points at the
    # track above it.
    d.polygon([(2, 0), (3, 0), (w - 1, h - 1), (0, h - 1)], fill=INK)


def inversion(d, w, h):
    # Two opposed arrows: the colours trade places.
    d.line([(1, 4), (w - 5, 4)], fill=INK, width=2)
    d.polygon([(w - 1, 4), (w - 5, 0), (w - 5, 8)], fill=INK)
    d.line([(4, h - 5), (w - 2, h - 5)], fill=BLUE, width=2)
    d.polygon([(0, h - 5), (4, h - 9), (4, h - 1)], fill=BLUE)


def add_to_palette(d, w, h):
    cells = [RED, YELLOW, BLUE, GREY]
    for i, colour in enumerate(cells):
        x = 1 + (i % 2) * 6
        y = 1 + (i // 2) * 6
        d.rectangle([x, y, x + 5, y + 5], fill=colour, outline=INK)
    d.rectangle([w - 6, h - 12, w - 4, h - 1], fill=GREEN)
    d.rectangle([w - 10, h - 8, w - 1, h - 6], fill=GREEN)


ICONS = {
    "cursor.png": (6, 6, cursor),
    "inversion.png": (20, 16, inversion),
    "addToPalette.png": (16, 16, add_to_palette),
}
