#!/usr/bin/env bash
# Screenshot of the real program under a virtual X server, for checking what a
# window really looks like.
#   scripts/shot.sh OUT.png [--keys "ctrl+n Return"] [--type TEXT] [--click X,Y[,BUTTON]] [--mouse "STEPS"] [--first-run] [files...]
# The program runs in a temporary folder laid out like the one run.sh starts
# it from (a copy of elements/, links to palette/, degrade/, help/ and the
# default character), with a settings file that skips the first-run messages
# unless --first-run is given. Keys are typed with xdotool (its key names,
# space separated) after the pointer was moved onto the window; --type types
# TEXT as it stands (into a file dialog's name field, say); --click presses a
# button (1 the left one, default; 4 and 5 the wheel) at X,Y in the main
# window's coordinates; --mouse runs xdotool commands separated by ";", in
# which WIN stands for the window (a pen stroke: "mousemove 600 200;
# mousedown 1; mousemove 650 230; mouseup 1"). The steps run in the order
# given, a second apart. Needs xvfb,
# xdotool and ImageMagick: scripts/deps.sh --shot installs them.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"

# Second stage, inside xvfb-run: start, wait for the window, type, grab, close.
if [ "${SK_SHOT_STAGE:-}" = inner ]; then
  cd "$SK_SHOT_DIR"
  QT_QPA_PLATFORM=xcb "$SK_SHOT_BIN" "$@" >"$SK_SHOT_DIR/program.log" 2>&1 &
  pid=$!
  window=""
  for _ in $(seq 150); do
    window="$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1 || true)"
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || { echo "shot: the program ended before showing a window" >&2; cat "$SK_SHOT_DIR/program.log" >&2; exit 1; }
    sleep 0.1
  done
  [ -n "$window" ] || { echo "shot: no window was mapped within 15 s" >&2; kill "$pid"; exit 1; }
  # Let the first paint land before anything is typed or grabbed.
  sleep 1
  if [ -n "$SK_SHOT_STEPS" ]; then
    xdotool mousemove --window "$window" 20 20
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    # One step a line: "key NAMES" or "type TEXT".
    while IFS= read -r step; do
      case "$step" in
        # Word splitting is wanted: one xdotool key name per word.
        # shellcheck disable=SC2086
        key\ *) xdotool key --delay 150 ${step#key } ;;
        type\ *) xdotool type --delay 50 -- "${step#type }" ;;
        click\ *)
          IFS=, read -r x y button <<<"${step#click }"
          xdotool mousemove --window "$window" "$x" "$y" click "${button:-1}" ;;
        mouse\ *)
          IFS=';' read -ra commands <<<"${step#mouse }"
          for command in "${commands[@]}"; do
            # shellcheck disable=SC2086
            xdotool ${command//WIN/$window}
          done ;;
      esac
      sleep 1
    done <<<"$SK_SHOT_STEPS"
  fi
  import -window root "$SK_SHOT_OUT"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  exit 0
fi

usage() { sed -n '4p' "$0" | sed 's/^#  */usage: /' >&2; exit 2; }

out="" steps="" firstRun=0
files=()
while [ $# -gt 0 ]; do
  case "$1" in
    --keys) [ $# -ge 2 ] || usage; steps+="key $2"$'\n'; shift 2 ;;
    --mouse) [ $# -ge 2 ] || usage; steps+="mouse $2"$'\n'; shift 2 ;;
    --type) [ $# -ge 2 ] || usage; steps+="type $2"$'\n'; shift 2 ;;
    --click) [ $# -ge 2 ] && [[ "$2" =~ ^[0-9]+,[0-9]+(,[0-9])?$ ]] || usage; steps+="click $2"$'\n'; shift 2 ;;
    --first-run) firstRun=1; shift ;;
    -h|--help) usage ;;
    *) if [ -z "$out" ]; then out="$1"; else files+=("$(realpath -m -- "$1")"); fi; shift ;;
  esac
done
[ -n "$out" ] || usage
out="$(realpath -m -- "$out")"

for tool in xvfb-run xdotool import; do
  command -v "$tool" >/dev/null || { echo "shot: $tool is missing; run scripts/deps.sh --shot" >&2; exit 1; }
done

bin="$root/build/sorvelkit"
if [ ! -f "$root/build/build.ninja" ]; then
  cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSK_SANITIZE=OFF >/dev/null
fi
cmake --build "$root/build" -- -j4 sorvelkit >/dev/null

dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
# A copy of the library, so that a window storing into it never writes into the project.
if [ -e "$root/elements" ]; then cp -R "$root/elements" "$dir/elements"; fi
for entry in palette degrade help default.sk; do
  if [ -e "$root/$entry" ]; then ln -s "$root/$entry" "$dir/$entry"; fi
done
# An empty settings file on a first run still keeps what the program writes
# in this folder rather than beside the program, where later runs would find it.
if [ "$firstRun" -eq 0 ]; then
  printf '[showAgain]\nshowWelcome=0\n' >"$dir/sorvelkit.ini"
else
  : >"$dir/sorvelkit.ini"
fi

SK_SHOT_STAGE=inner SK_SHOT_DIR="$dir" SK_SHOT_BIN="$bin" SK_SHOT_OUT="$out" SK_SHOT_STEPS="$steps" \
  xvfb-run -a -s "-screen 0 1280x800x24" "$0" "${files[@]}"
echo "$out"
