"""The gradient editor: gradient types, spreads, the view's handles and the
stop bar's cursors. Handles and cursors are drawn pixel-exact without
smoothing: the editor hit-tests them by size and paints into the cursors'
window, and the handles must stay in their pure colours."""
import math
from functools import partial

from shapes import BLUE, INK, PAPER

PURE_RED = (255, 0, 0, 255)
PURE_GREEN = (0, 255, 0, 255)
PURE_BLUE = (0, 0, 255, 255)
BLACK = (0, 0, 0, 255)


def ring(colour, d, w, h):
    d.ellipse([0, 0, w - 1, h - 1], outline=colour, width=2)


def stop_cursor(colour, d, w, h):
    # Tip on the two middle columns at row 1, pointing at the bar above;
    # below it a frame whose 8 x 11 inside the bar fills with the stop's colour.
    d.polygon([(w // 2 - 1, 1), (w // 2, 1), (w - 1, 8), (0, 8)], fill=colour)
    d.rectangle([0, 9, w - 1, h - 1], outline=colour)


def mix(t):
    """The ramp colour at t in 0..1, from the blue to the paper."""
    return tuple(round(a + (b - a) * t) for a, b in zip(BLUE, PAPER))


def shaded(at, d, w, h):
    """Fills the inside of a frame with mix(at(x, y)), x and y in 0..1."""
    for y in range(1, h - 1):
        for x in range(1, w - 1):
            d.point((x, y), fill=mix(min(1.0, max(0.0, at(x / (w - 1), y / (h - 1))))))
    d.rectangle([0, 0, w - 1, h - 1], outline=INK)


def radial(x, y):
    return math.hypot(x - 0.5, y - 0.5) * 2


def conical(x, y):
    return (math.atan2(0.5 - y, x - 0.5) / (2 * math.pi)) % 1.0


# The spreads: a ramp over the middle third, then what lies past its ends.
def pad(x, y):
    return (x - 1 / 3) * 3


def reflect(x, y):
    t = abs((x - 1 / 3) * 3) % 2
    return 2 - t if t > 1 else t


def repeat(x, y):
    return ((x - 1 / 3) * 3) % 1.0


ICONS = {
    "pointR.png": (22, 22, partial(ring, PURE_RED)),
    "pointV.png": (22, 22, partial(ring, PURE_GREEN)),
    "pointB.png": (22, 22, partial(ring, PURE_BLUE)),
    "cursorColor.png": (10, 22, partial(stop_cursor, BLACK)),
    "cursorColorSelected.png": (10, 22, partial(stop_cursor, PURE_RED)),
    "lgradient.png": (22, 22, partial(shaded, lambda x, y: x)),
    "rgradient.png": (22, 22, partial(shaded, radial)),
    "cgradient.png": (22, 22, partial(shaded, conical)),
    "normalspread.png": (22, 22, partial(shaded, pad)),
    "reflectspread.png": (22, 22, partial(shaded, reflect)),
    "repeatspread.png": (22, 22, partial(shaded, repeat)),
}
