#!/usr/bin/python3
"""Runs ImageMagick's convert over a set of generated inputs, one timed pass.

batch_peer.py SET INPUT_DIR OUTPUT_DIR ARG_MAX  ->  "milliseconds commands"

SET is "sheets" (2003 sheets of eight 288x256 -> 8 XP files each) or "xp"
(XP singles 96x128 -> one VX file each), named as the worker names them.
Each input is one parenthesised sequence; the list is split into several
commands only where the argument limit requires it.

SET "merge" stacks the tilesets of INPUT_DIR, by name, into OUTPUT_DIR/out.png
in one command, under the policy of bench/magick, which lets the tall result
through.
"""
import os
import subprocess
import sys
import time

CONVERT = "/usr/bin/convert"  # a stand-in named convert may come first on PATH


def sheet_sequence(name, out):
    base = name[:-4]
    args = ["(", name, "-crop", "24x32", "+repage"]
    columns, rows = (1, 0, 1, 2), (2, 3, 1, 0)  # XP frame (c, r) takes 2003 frame (columns[c], rows[r])
    for k in range(8):
        bx, by = (k % 4) * 3, 0 if k < 4 else 4
        for r in rows:
            tiles = ",".join(str((by + r) * 12 + bx + c) for c in columns)
            args += ["(", "-clone", tiles, "+append", ")"]
        args += ["(", "-clone", "96-99", "-append", "-write", "PNG32:%s/%s_%d.png" % (out, base, k + 1), ")",
                 "-delete", "96--1"]
    return args + ["-delete", "0--1", ")"]


def xp_sequence(name, out):
    return ["(", name, "-crop", "24x128", "+repage",
            "(", "-clone", "1,0,3", "+append", "-write", "PNG32:%s/$%s.png" % (out, name[:-4]), ")",
            "-delete", "0--1", ")"]


def arg_bytes(args):
    return sum(len(a.encode()) + 1 + 8 for a in args)


def merge(inputs, out):
    names = sorted(n for n in os.listdir(inputs) if n.endswith(".png"))
    command = [CONVERT] + names + ["-crop", "256x+0+0", "+repage", "-append", "-depth", "8",
                                   "PNG32:%s/out.png" % out]
    env = dict(os.environ, MAGICK_CONFIGURE_PATH=os.path.join(os.path.dirname(os.path.abspath(__file__)), "magick"))
    os.makedirs(out, exist_ok=True)
    t0 = time.perf_counter()
    subprocess.run(command, cwd=inputs, check=True, env=env)
    print("%.3f 1" % ((time.perf_counter() - t0) * 1000.0))


def main():
    kind, inputs, out, arg_max = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
    if kind == "merge":
        return merge(inputs, out)
    sequence = sheet_sequence if kind == "sheets" else xp_sequence
    env_bytes = sum(len(k) + len(v) + 2 + 8 for k, v in os.environ.items())
    budget = arg_max - env_bytes - 4096
    # convert needs an image left to write: a 1x1 one, discarded by null:
    tail = ["xc:none", "null:"]
    commands, current = [], [CONVERT]
    for name in sorted(n for n in os.listdir(inputs) if n.endswith(".png")):
        seq = sequence(name, out)
        if len(current) > 1 and arg_bytes(current + seq + tail) > budget:
            commands.append(current + tail)
            current = [CONVERT]
        current += seq
    commands.append(current + tail)
    os.makedirs(out, exist_ok=True)
    t0 = time.perf_counter()
    for command in commands:
        subprocess.run(command, cwd=inputs, check=True)
    print("%.3f %d" % ((time.perf_counter() - t0) * 1000.0, len(commands)))


if __name__ == "__main__":
    main()
