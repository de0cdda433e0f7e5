"""Small drawing helpers shared by the icon sets."""

INK = (40, 48, 64, 255)
PAPER = (250, 250, 246, 255)
BLUE = (50, 101, 255, 255)
GREEN = (40, 160, 60, 255)
RED = (210, 40, 40, 255)
YELLOW = (240, 200, 40, 255)
GREY = (150, 150, 150, 255)


def scale(v, w, h):
    """Maps a point or box given on a 0..1 square onto a w x h icon."""
    out = []
    for i, c in enumerate(v):
        out.append(round(c * ((w if i % 2 == 0 else h) - 1)))
    return out


def frame(d, w, h, fill=PAPER, outline=INK, inset=0):
    d.rectangle([inset, inset, w - 1 - inset, h - 1 - inset], fill=fill, outline=outline)


def arrow(d, w, h, direction, colour=INK):
    """A filled triangle pointing up, down, left or right, filling the icon."""
    pts = {
        "up": [(w / 2, 1), (w - 2, h - 2), (1, h - 2)],
        "down": [(1, 1), (w - 2, 1), (w / 2, h - 2)],
        "left": [(1, h / 2), (w - 2, 1), (w - 2, h - 2)],
        "right": [(1, 1), (w - 2, h / 2), (1, h - 2)],
    }[direction]
    d.polygon(pts, fill=colour)
