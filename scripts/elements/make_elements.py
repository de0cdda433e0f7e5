#!/usr/bin/python3
"""Draws the starter element library: bodies, clothes and hair in both layouts.

Every element of a layout is drawn on one shared figure (the same head, body
and feet in each cell), on a transparent ground, and holds only its own part,
so that a body, then a garment, then a hair, stacked in that order, make one
character. Rows are the directions (facing down, left, right, up), columns
the walking poses. The PNGs are committed; run this again (with Debian's
/usr/bin/python3 and python3-pil) after changing a drawing.
    scripts/elements/make_elements.py          draw into the project's elements/
    scripts/elements/make_elements.py FOLDER   draw into FOLDER/XP and FOLDER/VX
"""
import pathlib
import sys

from PIL import Image

HERE = pathlib.Path(__file__).resolve().parent
OUT = HERE.parent.parent / "elements"

STAND, STEP_A, STEP_B = 0, 1, 2
DOWN, LEFT, RIGHT, UP = 0, 1, 2, 3

# Heights of the figure's parts in one cell; both layouts share the widths.
LAYOUTS = {
    "XP": dict(cell=(32, 48), poses=[STAND, STEP_A, STAND, STEP_B],
               head=(10, 24), torso=(25, 35), arm=(26, 34), leg=(36, 43), foot=(44, 45), eye=17, mouth=22),
    "VX": dict(cell=(32, 32), poses=[STEP_A, STAND, STEP_B],
               head=(3, 16), torso=(17, 23), arm=(17, 22), leg=(24, 27), foot=(28, 29), eye=9, mouth=14),
}


def rect(x0, y0, x1, y1):
    return {(x, y) for x in range(x0, x1 + 1) for y in range(y0, y1 + 1)}


def ellipse(x0, y0, x1, y1):
    cx, cy = (x0 + x1 + 1) / 2, (y0 + y1 + 1) / 2
    rx, ry = (x1 - x0 + 1) / 2, (y1 - y0 + 1) / 2
    return {(x, y) for x in range(x0, x1 + 1) for y in range(y0, y1 + 1)
            if ((x + 0.5 - cx) / rx) ** 2 + ((y + 0.5 - cy) / ry) ** 2 <= 1.0}


def dilate(mask):
    return mask | {(x + dx, y + dy) for x, y in mask for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))}


def tone(rgb, k):
    return tuple(max(0, min(255, round(c * k))) for c in rgb)


def stamp(cell, mask, rgb, line=None):
    """Paints a shape lit from the upper left, ringed by a dark line."""
    ring = dilate(mask) - mask
    for p in ring:
        cell[p] = line or tone(rgb, 0.42)
    for x, y in mask:
        if (x + 1, y) not in mask or (x, y + 1) not in mask:
            cell[(x, y)] = tone(rgb, 0.78)
        elif (x - 1, y) not in mask and (x, y - 1) not in mask:
            cell[(x, y)] = tone(rgb, 1.15)
        else:
            cell[(x, y)] = rgb


def figure(direction, pose, g):
    """The shared figure of one cell, as its parts in drawing order, facing
    down, left or up (right is left mirrored)."""
    (hy0, hy1), (ty0, ty1), (ay0, ay1) = g["head"], g["torso"], g["arm"]
    (ly0, ly1), (fy0, fy1) = g["leg"], g["foot"]
    parts = []
    if direction == LEFT:
        front, back = (rect(11, ly0 + 1, 14, ly1), rect(9, fy0, 14, fy1)), \
                      (rect(16, ly0 + 1, 19, ly1 - 1), rect(15, fy0 - 1, 20, fy1 - 1))
        if pose == STAND:
            parts += [("leg", rect(13, ly0, 18, ly1)), ("foot", rect(11, fy0, 18, fy1))]
        else:
            far, near = (front, back) if pose == STEP_B else (back, front)
            parts += [("leg", far[0]), ("foot", far[1]), ("leg", near[0]), ("foot", near[1])]
        parts.append(("torso", rect(12, ty0, 19, ty1)))
        arm = rect(14, ay0, 17, ay1)
        if pose != STAND:
            hand = rect(11, ay1 - 3, 14, ay1 - 1) if pose == STEP_A else rect(17, ay1 - 3, 20, ay1 - 1)
            arm = rect(14, ay0, 17, ay1 - 3) | hand
        parts += [("arm", arm), ("head", ellipse(9, hy0, 22, hy1))]
    else:
        lift_l, lift_r = int(pose == STEP_B), int(pose == STEP_A)
        for x0, lift in ((11, lift_l), (16, lift_r)):
            parts += [("leg", rect(x0, ly0, x0 + 4, ly1 - lift)), ("foot", rect(x0, fy0 - lift, x0 + 4, fy1 - lift))]
        parts.append(("torso", rect(11, ty0, 20, ty1)))
        parts += [("arm", rect(8, ay0, 10, ay1 - lift_r)), ("arm", rect(21, ay0, 23, ay1 - lift_l))]
        parts.append(("head", ellipse(8, hy0, 23, hy1)))
    return parts


def body(skin):
    def draw(cell, direction, parts, g):
        for kind, mask in parts:
            stamp(cell, mask, skin)
        eye, mouth, dark = g["eye"], g["mouth"], (40, 28, 32)
        eyes = [] if direction == UP else [11] if direction == LEFT else [12, 18]
        for x in eyes:
            for p in rect(x, eye, x + 1, eye + 2):
                cell[p] = dark
            cell[(x, eye)] = (250, 250, 250)
        if direction == DOWN:
            cell[(15, mouth)] = cell[(16, mouth)] = tone(skin, 0.6)
        elif direction == LEFT:
            cell[(10, mouth)] = tone(skin, 0.6)
    return draw


def garment(top, bottom, shoes, dress=False):
    def draw(cell, direction, parts, g):
        (ty0, ty1), (ay0, ay1), (ly0, ly1) = g["torso"], g["arm"], g["leg"]
        for i, (kind, mask) in enumerate(parts):
            if kind == "leg" and not dress:
                stamp(cell, mask, bottom)
            elif kind == "foot":
                # The shoe climbs one row up the leg.
                stamp(cell, mask | {(x, y - 1) for x, y in mask}, shoes)
            elif kind == "torso":
                cloth = set(mask)
                if dress:
                    x0, x1 = min(x for x, _ in mask), max(x for x, _ in mask)
                    skirt_end = ly0 + (ly1 - ly0) // 2 + 1
                    for y in range(ty1 - 2, skirt_end + 1):
                        spread = (y - ty1 + 3) // 2
                        cloth |= rect(x0 - spread, y, x1 + spread, y)
                later_arms = set()
                for kind2, mask2 in parts[i + 1:]:
                    if kind2 == "arm":
                        later_arms |= dilate(mask2)
                stamp(cell, cloth - later_arms, top)
                belt = ty1 - 3 if not dress else ty0 + (ty1 - ty0) // 2
                for x, y in cloth - later_arms:
                    if y == belt and (x, y) in cell and (x + 1, y) in cloth - later_arms and (x - 1, y) in cloth - later_arms:
                        cell[(x, y)] = bottom if not dress else tone(top, 0.6)
            elif kind == "arm":
                sleeve_end = ay0 + (ay1 - ay0) // 2 if dress else ay1 - 3
                stamp(cell, {(x, y) for x, y in mask if y <= sleeve_end}, top)
    return draw


def hair(rgb, long=False):
    def draw(cell, direction, parts, g):
        (hy0, hy1), (ty0, ty1) = g["head"], g["torso"]
        head = dict(parts)["head"]
        cap = dilate(head)
        if direction == UP:
            mask = cap - {(x, y) for x, y in cap if y > hy1 - 1 and not long}
            if long:
                mask |= rect(9, hy1 - 2, 22, ty0 + (ty1 - ty0) // 2)
        elif direction == LEFT:
            mask = {(x, y) for x, y in cap if y <= hy0 + 3 or (x >= 16 and y <= hy1 - 3) or (x <= 11 and y <= hy0 + 5)}
            if long:
                mask |= rect(16, hy1 - 4, 21, ty0 + (ty1 - ty0) // 2)
        else:
            fringe = {(x, hy0 + 4) for x in (11, 12, 13, 17, 18, 19, 20)} | {(x, hy0 + 5) for x in (12, 18, 19)}
            mask = {(x, y) for x, y in cap if y <= hy0 + 3 or ((x <= 9 or x >= 22) and y <= hy0 + 8)} | fringe
            if long:
                mask |= rect(7, hy0 + 6, 9, ty0 + 4) | rect(22, hy0 + 6, 24, ty0 + 4)
        stamp(cell, mask, rgb)
        # A shine across the crown.
        shine = hy0 + 1
        for x in range(11, 15) if direction != LEFT else range(13, 17):
            if (x, shine) in mask and (x, shine - 1) in mask:
                cell[(x, shine)] = tone(rgb, 1.35)
    return draw


ELEMENTS = {
    "Corps": {
        "peau_claire.png": body((246, 204, 170)),
        "peau_mate.png": body((214, 160, 112)),
        "peau_foncee.png": body((140, 92, 62)),
    },
    "Vêtements": {
        "tunique_verte.png": garment((70, 140, 70), (112, 82, 56), (70, 50, 40)),
        "tunique_rouge.png": garment((176, 52, 48), (60, 66, 100), (52, 40, 36)),
        "robe_bleue.png": garment((72, 100, 186), (72, 100, 186), (120, 60, 50), dress=True),
    },
    "Cheveux": {
        "court_brun.png": hair((118, 74, 40)),
        "court_noir.png": hair((52, 48, 60)),
        "long_blond.png": hair((226, 190, 90), long=True),
    },
}


def draw_sheet(draw, g):
    w, h = g["cell"]
    poses = g["poses"]
    sheet = Image.new("RGBA", (w * len(poses), h * 4), (0, 0, 0, 0))
    for row, direction in enumerate((DOWN, LEFT, RIGHT, UP)):
        for col, pose in enumerate(poses):
            base = LEFT if direction == RIGHT else direction
            cell = {}
            draw(cell, base, figure(base, pose, g), g)
            for (x, y), rgb in cell.items():
                if direction == RIGHT:
                    x = w - 1 - x
                if not (0 < x < w - 1 and 0 < y < h - 1):
                    sys.exit(f"a pose leaves its cell at ({x}, {y})")
                sheet.putpixel((col * w + x, row * h + y), rgb + (255,))
    return sheet


def main():
    out = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else OUT
    count = 0
    for layout, g in LAYOUTS.items():
        for category, items in ELEMENTS.items():
            folder = out / layout / category
            folder.mkdir(parents=True, exist_ok=True)
            for name, draw in items.items():
                # No text chunks or times: drawing again gives the same bytes.
                draw_sheet(draw, g).save(folder / name, "PNG", optimize=True)
                count += 1
    print(f"{count} elements in {out}")


if __name__ == "__main__":
    main()
