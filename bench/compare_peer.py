#!/usr/bin/python3
"""Times Pillow on the pixels that bench_compare exported.

compare_peer.py DIR RUNS  ->  "name milliseconds" lines (median of RUNS)
"""
import io
import statistics
import struct
import sys
import time

from PIL import Image

W, H = 128, 192


def median_ms(runs, job):
    times = []
    for _ in range(runs):
        t0 = time.perf_counter()
        job()
        times.append((time.perf_counter() - t0) * 1000.0)
    return statistics.median(times)


def main():
    folder, runs = sys.argv[1], int(sys.argv[2])
    raw = open(folder + "/layers.raw", "rb").read()
    size = W * H * 4
    layers = [Image.frombytes("RGBA", (W, H), raw[i:i + size]) for i in range(0, len(raw), size)]

    cells = []
    data = open(folder + "/cells.raw", "rb").read()
    pos = 0
    while pos < len(data):
        w, h = struct.unpack_from("<HH", data, pos)
        pos += 4
        cells.append(Image.frombytes("RGBA", (w, h), data[pos:pos + w * h * 4]))
        pos += w * h * 4

    def flatten():
        base = Image.new("RGBA", (W, H), (0, 0, 0, 0))
        for layer in layers:
            base = Image.alpha_composite(base, layer)
        return base

    pngs = []

    def save():
        pngs.clear()
        for cell in cells:
            out = io.BytesIO()
            cell.save(out, format="PNG", compress_level=6)
            pngs.append(out.getvalue())

    def load():
        for png in pngs:
            Image.open(io.BytesIO(png)).load()

    def render():
        flatten().resize((W * 4, H * 4), Image.NEAREST)

    def colourshift():
        for cell in cells:
            alpha = cell.getchannel("A")
            h, s, v = cell.convert("RGB").convert("HSV").split()
            h = h.point(lambda x: (x + 21) % 256)
            out = Image.merge("HSV", (h, s, v)).convert("RGB")
            out.putalpha(alpha)

    print("flatten %.3f" % median_ms(runs, flatten))
    print("save %.3f" % median_ms(runs, save))
    print("load %.3f" % median_ms(runs, load))
    print("render %.3f" % median_ms(runs, render))
    print("colourshift %.3f" % median_ms(runs, colourshift))


if __name__ == "__main__":
    main()
