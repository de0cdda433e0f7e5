"""The element library, the element-file creator, the tileset windows and the
mass save: adding and removing, going back, and the tileset view's drop marker."""
from functools import partial

from glyphs import GREEN, RED, arrow, folder, grid, icon, layers, minus, plus, small
from shapes import BLUE


def drop_marker(d, w, h):
    # Sized to the gap between two entries of a tileset row: two wedges
    # pointing into the gap, joined by a bar.
    d.rectangle([w // 2 - 1, 0, w // 2, h - 1], fill=BLUE)
    d.polygon([(0, 0), (w - 1, 0), (w // 2, 5), (w // 2 - 1, 5)], fill=BLUE)
    d.polygon([(0, h - 1), (w - 1, h - 1), (w // 2, h - 6), (w // 2 - 1, h - 6)], fill=BLUE)


ICONS = {
    "add_folder.png": icon(32, 32, folder, small(plus, 14, 14, 0.55)),
    "add_qt.png": icon(32, 32, small(partial(grid, n=2), 0, 2, 0.8), small(plus, 14, 14, 0.55)),
    "previous.png": icon(32, 32, partial(arrow, direction=180, colour=GREEN)),
    "sub_dessin.png": icon(32, 32, layers, small(partial(minus, colour=RED), 14, 0, 0.5)),
    "moving.png": (10, 126, drop_marker),
}
