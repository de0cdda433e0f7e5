#!/usr/bin/python3
"""Draws the program's icons into resources/icon/.

Every module scripts/icons/set_*.py holds a dict ICONS mapping a file name to
(width, height, draw), where draw(d, w, h) paints on a PIL ImageDraw of a
transparent RGBA image of that size. The PNGs are committed; run this again
(with Debian's /usr/bin/python3 and python3-pil) after changing a drawing.
    scripts/icons/make_icons.py            draw every icon
    scripts/icons/make_icons.py NAME...    draw only these
"""
import importlib
import pathlib
import sys

from PIL import Image, ImageDraw

HERE = pathlib.Path(__file__).resolve().parent
OUT = HERE.parent.parent / "resources" / "icon"


def load_sets():
    icons = {}
    sys.path.insert(0, str(HERE))
    for path in sorted(HERE.glob("set_*.py")):
        module = importlib.import_module(path.stem)
        for name, entry in module.ICONS.items():
            if name in icons:
                sys.exit(f"{name} is drawn twice ({path.name})")
            icons[name] = entry
    return icons


def main():
    icons = load_sets()
    wanted = sys.argv[1:] or sorted(icons)
    OUT.mkdir(parents=True, exist_ok=True)
    for name in wanted:
        w, h, draw = icons[name]
        img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
        draw(ImageDraw.Draw(img), w, h)
        # Fixed metadata so that drawing again gives the same bytes.
        img.save(OUT / name, "PNG", optimize=True)
    print(f"{len(wanted)} icons in {OUT}")


if __name__ == "__main__":
    main()
