"""The program's own mark."""
from shapes import BLUE, INK, PAPER


def sk(d, w, h):
    d.rounded_rectangle([0, 0, w - 1, h - 1], radius=6, fill=BLUE, outline=INK)
    d.text((7, 9), "SK", fill=PAPER)


ICONS = {
    "SK.png": (32, 32, sk),
}
