#!/usr/bin/env bash
# Measures the core against Pillow on the same 255-element XP 128x192
# character, in one run. Prints "name ours_ms peer_ms ratio" per figure, the
# undo history's extra memory, and the worst ratio.
#   bench/compare.sh [runs]   (default 7)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-7}"
bash scripts/deps.sh --tests
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DSK_SANITIZE=OFF >/dev/null
cmake --build build -- -j"$(nproc)" bench_compare >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen ./build/bench_compare "$work" "$runs" >"$work/ours.txt"
/usr/bin/python3 bench/compare_peer.py "$work" "$runs" >"$work/peer.txt"

awk '
  FNR == NR { ours[$1] = $2; next }
  { peer[$1] = $2; names[++n] = $1 }
  END {
    worst = 0
    for (i = 1; i <= n; i++) {
      k = names[i]; r = ours[k] / peer[k]
      printf "%s %.3f %.3f %.3f\n", k, ours[k], peer[k], r
      if (r > worst) { worst = r; wname = k }
    }
    printf "history_mib %.3f\n", ours["history_mib"]
    printf "worst %s %.3f\n", wname, worst
  }' "$work/ours.txt" "$work/peer.txt"
