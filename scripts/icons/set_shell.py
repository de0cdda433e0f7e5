"""The main window's menus and tool bars: files, edition, characters, help."""
import math
from functools import partial

from glyphs import (BLUE, GREEN, INK, LIGHT, ORANGE, RED, YELLOW, arrow, book, check, clipboard, colour_wheel,
                    cross, curved, floppy, folder, heart, icon, layers, letters, page, pencil, plus, scissors, small)


def two(glyph):
    """The glyph twice, the second over the first."""
    return [small(glyph, 0, 0, 0.75), small(glyph, 8, 8, 0.75)]


def page_with(text):
    return [page, small(partial(letters, text=text, colour=BLUE, width=4), 8, 12, 0.55)]


def tints(g):
    for i, c in enumerate([RED, GREEN, YELLOW]):
        with g.at(i * 8, i * 6, 0.6):
            floppy(g, c)


def copies(g):
    for o in (0, 7):
        with g.at(o - 3, o - 1, 0.85):
            page(g)


def tileset(g):
    for i, c in enumerate([GREEN, ORANGE, LIGHT, BLUE]):
        x, y = 3 + 7 * i, 3 + (i % 2) * 2
        g.rect(x, y, x + 12, y + 12, fill=c, width=1)
    with g.at(8, 14, 0.55):
        arrow(g, -90, YELLOW)


def merge_element(g):
    layers(g, 2)
    with g.at(9, 0, 0.45):
        arrow(g, -90, GREEN)


def cycle(g):
    curved(g, True, BLUE, 200, 340)
    curved(g, True, GREEN, 20, 160)


def conversion_mode(g):
    with g.at(0, 0, 0.6):
        page(g)
    with g.at(13, 13, 0.6):
        page(g, LIGHT)
    with g.at(14, 0, 0.5):
        arrow(g, -45, GREEN)


def star(g, colour=YELLOW):
    pts = [(16 + (13 if i % 2 == 0 else 5.5) * math.sin(math.pi * i / 5),
            17 - (13 if i % 2 == 0 else 5.5) * math.cos(math.pi * i / 5)) for i in range(10)]
    g.poly(pts, colour)


def help_disc(g):
    g.ellipse(1, 1, 31, 31, fill=BLUE, outline=INK)
    with g.at(5, 3, 0.7):
        letters(g, "?", (255, 255, 255, 255), 4.5)


def door(g):
    g.rect(7, 3, 25, 29, fill=(160, 100, 50, 255))
    g.ellipse(19, 15, 22, 18, fill=YELLOW, outline=None)
    with g.at(14, 14, 0.55):
        cross(g)


ICONS = {
    "Save.png": icon(32, 32, floppy),
    "SaveAll.png": icon(32, 32, *two(floppy)),
    "SaveAs2.png": icon(32, 32, floppy, small(pencil, 14, 14, 0.6)),
    "savemass.png": icon(32, 32, tints),
    "openLittle.png": icon(32, 32, partial(folder, open_=True)),
    "newXP.png": icon(32, 32, *page_with("XP")),
    "newVX.png": icon(32, 32, *page_with("VX")),
    "newCustom.png": icon(32, 32, page, small(star, 8, 10, 0.6)),
    "setCustom.png": icon(32, 32, page, small(star, 4, 6, 0.5), small(check, 14, 14, 0.55)),
    "Close.png": icon(32, 32, door),
    "Undo2.png": icon(32, 32, partial(curved, clockwise=False)),
    "Redo2.png": icon(32, 32, partial(curved, clockwise=True)),
    "cut.png": icon(32, 32, scissors),
    "copy.png": icon(32, 32, copies),
    "paste.png": icon(32, 32, clipboard),
    "Add.png": icon(32, 32, page, small(plus, 14, 14, 0.55)),
    "add_dessin.png": icon(32, 32, layers, small(plus, 14, 0, 0.5)),
    "dupliquer.png": icon(32, 32, partial(layers, count=3)),
    "sorvelElement.png": icon(32, 32, merge_element),
    "sorvel.png": icon(32, 32, tileset),
    "conversion.png": icon(32, 32, cycle),
    "conversionMode.png": icon(32, 32, conversion_mode),
    "restauration.png": icon(32, 32, cycle, small(partial(layers, count=1), 8, 8, 0.5)),
    "cerclechrom.png": icon(32, 32, colour_wheel),
    "book.png": icon(32, 32, book),
    "helpicon.png": icon(32, 32, help_disc),
    "helpdir.png": icon(16, 16, book),
    "helpfile.png": icon(16, 16, page, small(partial(letters, text="?", colour=BLUE, width=5), 8, 9, 0.55)),
    "donation.png": icon(64, 64, lambda g: g.ellipse(1, 1, 31, 31, fill=(255, 236, 200, 255), outline=ORANGE),
                         small(heart, 4, 5, 0.75)),
}
