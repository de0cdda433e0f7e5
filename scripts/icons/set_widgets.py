"""Icons of the shared widgets and question tiles, at the sizes their layouts
rely on, and of the element lists and the preview."""
from functools import partial

from glyphs import (BLUE, G, GREEN, GREY, INK, RED, arrow, badge, check, cross, curved, double_arrow, eye, figure,
                    floppy, half_eye, icon, magnifier, pause, play, small)


def list_arrow(direction):
    """Drawn in the top-left 31 x 31: the lists place it so that the last row
    and column fall outside the widget."""

    def draw(d, w, h):
        g = G(w - 1, h - 1)
        g.rect(1, 1, 31, 31, fill=(235, 235, 235, 255), outline=GREY, width=1)
        with g.at(6, 6, 0.625):
            arrow(g, direction, INK)
        g.finish(d)

    return (32, 32, draw)


def crowd(g):
    for i in range(8):
        with g.at((i % 4) * 8, 2 + (i // 4) * 15, 0.25 * 1.0):
            figure(g, [BLUE, GREEN, RED, GREY][i % 4])


ICONS = {
    "search.png": icon(256, 256, magnifier),
    "alone.png": icon(64, 64, figure),
    "all.png": icon(64, 64, crowd),
    "saveDialog.png": icon(48, 48, floppy),
    "dontSaveDialog.png": icon(48, 48, floppy, small(cross, 12, 12, 0.625)),
    "undoDialog.png": icon(48, 48, partial(curved, clockwise=False, colour=RED)),
    "icon_xp.png": icon(50, 48, badge("XP")),
    "icon_vx.png": icon(50, 44, badge("VX", GREEN)),
    "myOk.png": icon(32, 32, lambda g: g.ellipse(1, 1, 31, 31, fill=(220, 245, 220, 255), outline=GREEN), check),
    "ok.png": icon(32, 32, check),
    "remove.png": icon(32, 32, cross),
    "up2.png": list_arrow(90),
    "down2.png": list_arrow(-90),
    "lecture.png": icon(45, 45, play),
    "pause.png": icon(45, 45, pause),
    "lecture_hover.png": icon(45, 45, partial(play, hover=True)),
    "pause_hover.png": icon(45, 45, partial(pause, hover=True)),
    "show.png": icon(32, 32, eye),
    "hide.png": icon(32, 32, partial(eye, open_=False)),
    "hideshow.png": icon(32, 32, half_eye),
    "move.png": icon(32, 32, double_arrow),
    "movingVertical.png": icon(32, 32, lambda g: g.line([(2, 16), (30, 16)], RED, 2.5),
                               small(double_arrow, 8, 0, 0.5), small(double_arrow, 8, 16, 0.5)),
    "suivant.png": icon(32, 32, partial(arrow, direction=0, colour=GREEN)),
}
