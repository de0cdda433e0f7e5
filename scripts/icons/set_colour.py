"""The colour tools: slider cursor, colour inversion, adding to the palette."""
from shapes import INK


def cursor(d, w, h):
    # An upward wedge whose tip, on the two middle columns, points at the
    # track above it.
    d.polygon([(2, 0), (3, 0), (w - 1, h - 1), (0, h - 1)], fill=INK)


ICONS = {
    "cursor.png": (6, 6, cursor),
}
