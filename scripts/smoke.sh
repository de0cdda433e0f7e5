#!/usr/bin/env bash
# Smoke check of the real program on a real X server: it starts, maps its
# window and shows a character.
#   scripts/smoke.sh [PROGRAM [PROJECT]]
# PROGRAM defaults to build/sorvelkit (built first). PROJECT defaults to
# scripts/smoke/magenta.sk, a project saved by the program's own writer whose
# one element fills every cell with opaque magenta (255, 0, 255), a colour
# nothing else on screen uses. The screenshot stays in build/smoke.png, the
# program's output in build/smoke.log. Exits non-zero with a one-line reason
# when a check fails.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
shot="$root/build/smoke.png"
log="$root/build/smoke.log"

fail() { echo "smoke: $*" >&2; exit 1; }

# Second stage, inside xvfb-run: start, wait for the window, grab, stop.
if [ "${SK_SMOKE_STAGE:-}" = inner ]; then
  cd "$SK_SMOKE_DIR"
  env -u QT_QPA_PLATFORM "$SK_SMOKE_BIN" "$SK_SMOKE_PROJECT" >"$log" 2>&1 &
  pid=$!
  window=""
  for _ in $(seq 200); do
    window="$(xdotool search --onlyvisible --name '^Sorvel Kit' 2>/dev/null | head -n 1 || true)"
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || fail "the program ended before showing a window titled \"Sorvel Kit\" (see $log)"
    sleep 0.1
  done
  if [ -z "$window" ]; then
    kill "$pid" 2>/dev/null || true
    fail "no window titled \"Sorvel Kit\" was mapped within 20 s"
  fi
  # The first paint, and a few frames of the animated preview.
  sleep 2
  import -window root "$shot"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  exit 0
fi

[ $# -le 2 ] || fail "usage: scripts/smoke.sh [PROGRAM [PROJECT]]"
bin="${1:-$root/build/sorvelkit}"
project="${2:-$root/scripts/smoke/magenta.sk}"

bash "$root/scripts/deps.sh" --shot
if [ $# -eq 0 ]; then
  if [ ! -f "$root/build/build.ninja" ]; then
    cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSK_SANITIZE=OFF >/dev/null
  fi
  cmake --build "$root/build" -- -j4 sorvelkit >/dev/null
fi
mkdir -p "$root/build"
[ -x "$bin" ] || fail "no program at $bin"
[ -f "$project" ] || fail "no project at $project"
bin="$(realpath -- "$bin")"
project="$(realpath -- "$project")"

# The folder the program runs from, laid out like the one run.sh uses, with
# the first-run messages already seen.
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
for entry in elements palette degrade help default.sk; do
  if [ -e "$root/$entry" ]; then ln -s "$root/$entry" "$dir/$entry"; fi
done
printf '[showAgain]\nshowWelcome=0\n' >"$dir/sorvelkit.ini"
rm -f "$shot"

SK_SMOKE_STAGE=inner SK_SMOKE_DIR="$dir" SK_SMOKE_BIN="$bin" SK_SMOKE_PROJECT="$project" \
  xvfb-run -a -s "-screen 0 1280x800x24" "$0"

[ -s "$shot" ] || fail "no screenshot was taken"
colours="$(identify -format '%k' "$shot")"
[ "$colours" -ge 16 ] || fail "the screen is nearly blank: $colours colours (at least 16 expected)"
magenta="$(convert "$shot" -alpha off -fill black +opaque '#FF00FF' -fill white -opaque '#FF00FF' \
  -format '%[fx:round(mean*w*h)]' info:)"
[ "$magenta" -ge 1000 ] || fail "the character is not shown: $magenta magenta pixels (at least 1000 expected)"
echo "smoke: the program shows the character ($colours colours, $magenta magenta pixels); screenshot $shot"
