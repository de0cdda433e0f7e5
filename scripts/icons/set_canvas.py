"""The drawing tools, the drawing modes and the canvas's own marks."""
from functools import partial

from glyphs import (BLUE, GREEN, GREY, INK, LIGHT, ORANGE, RED, WHITE, checker, cross, curved, cursor_arrow, dashed_rect,
                    double_arrow, eraser, floppy, grid, icon, magnifier, minus, pencil, pipette, plus, small, target,
                    triangle_pair)


def shape_line(g):
    g.line([(5, 27), (27, 5)], INK, 2.5)
    for x, y in [(5, 27), (27, 5)]:
        g.ellipse(x - 3, y - 3, x + 3, y + 3, fill=BLUE, outline=None)


def fill_mode(fill, outline):
    return lambda g: g.rect(5, 7, 27, 25, fill=fill, outline=outline, width=3 if outline else 0)


def resize(g):
    g.rect(3, 3, 29, 29, outline=GREY, width=1.5)
    g.rect(3, 15, 15, 29, fill=LIGHT)
    g.line([(17, 15), (26, 6)], INK, 2.5)
    g.poly([(27, 5), (27, 13), (19, 5)], INK, None)


def cell_size(g):
    grid(g, 2)
    double_arrow(g, vertical=False, colour=BLUE)


def background(g):
    checker(g)
    g.rect(11, 11, 29, 29, fill=ORANGE)


def unsaved(g):
    floppy(g)
    g.ellipse(17, 1, 31, 15, fill=RED, outline=WHITE, width=1.5)


ICONS = {
    "Pen.png": icon(32, 32, pencil),
    "gomme.png": icon(32, 32, eraser),
    "pipette.png": icon(32, 32, pipette),
    "line.png": icon(32, 32, shape_line),
    "rect.png": icon(32, 32, lambda g: g.rect(4, 7, 28, 25, outline=INK, width=3)),
    "circle.png": icon(32, 32, lambda g: g.ellipse(3, 5, 29, 27, outline=INK, width=3)),
    "modeContour.png": icon(32, 32, fill_mode(None, BLUE)),
    "modePlein.png": icon(32, 32, fill_mode(BLUE, None)),
    "modePleinContour.png": icon(32, 32, fill_mode(LIGHT, INK)),
    "selectionCursor.png": icon(32, 32, cursor_arrow),
    "moveCursor.png": icon(32, 32, double_arrow, partial(double_arrow, vertical=False)),
    "sélectionCase.png": icon(32, 32, partial(grid, n=2, colour=GREY), partial(dashed_rect, x1=17, y1=17, colour=RED)),
    "zeffet.png": icon(32, 32, target),
    "grid.png": icon(32, 32, grid),
    "zoom-in-32.png": icon(32, 32, partial(magnifier, sign=plus)),
    "zoom-out-32.png": icon(32, 32, partial(magnifier, sign=minus)),
    "bg.png": icon(32, 32, background),
    "flipH.png": icon(32, 32, triangle_pair),
    "flipV.png": icon(32, 32, partial(triangle_pair, horizontal=False)),
    "rotation.png": icon(32, 32, lambda g: g.rect(10, 10, 22, 22, fill=LIGHT, width=1),
                         lambda g: curved(g, True, BLUE, 150, 420)),
    "rotationP90.png": icon(32, 32, lambda g: g.rect(11, 11, 21, 21, fill=LIGHT, width=1),
                            lambda g: curved(g, True, GREEN, 180, 270)),
    "rotationM90.png": icon(32, 32, lambda g: g.rect(11, 11, 21, 21, fill=LIGHT, width=1),
                            lambda g: curved(g, False, RED, 270, 360)),
    "redimension.png": icon(32, 32, resize),
    "taille.png": icon(32, 32, cell_size),
    "unsaved.png": icon(32, 32, unsaved),
    "deselection.png": icon(32, 32, dashed_rect, small(cross, 14, 14, 0.55)),
}
