#!/usr/bin/env bash
# Installs the Debian packages that are missing. Quiet and quick when
# everything is already there; runs apt-get update only when something is
# missing.
#   scripts/deps.sh          what the editor needs to build and run (run.sh)
#   scripts/deps.sh --tests  also what the tests, benchmarks and fuzzing need
#                            (test.sh, scripts/fuzz.sh, bench/)
#   --shot, --bench-peer     what scripts/shot.sh and bench/batch_compare.sh need
# Options add up. A user who is neither root nor has sudo is shown the command
# to run as root.
set -euo pipefail

packages=(build-essential cmake ninja-build qt6-base-dev qt6-base-dev-tools qt6-translations-l10n zlib1g-dev)
frenchLocale=0
for option in "$@"; do
  case "$option" in
    --tests)
      packages+=(libbenchmark-dev xvfb xauth locales clang-14 libclang-rt-14-dev python3-pil)
      frenchLocale=1
      ;;
    # What scripts/shot.sh drives the program with.
    --shot) packages+=(xdotool imagemagick) ;;
    # The image program bench/batch_compare.sh measures against.
    --bench-peer) packages+=(imagemagick) ;;
    *)
      echo "deps: unknown option $option (known: --tests, --shot, --bench-peer)" >&2
      exit 2
      ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# The settings tests check that numbers never follow the user's locale, so a
# French locale must really exist on the machine.
needLocale=0
if [ "$frenchLocale" -eq 1 ] && ! locale -a 2>/dev/null | grep -qi '^fr_FR\.utf-\?8$'; then
  needLocale=1
fi

if [ "${#missing[@]}" -eq 0 ] && [ "$needLocale" -eq 0 ]; then
  exit 0
fi

asRoot=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    asRoot=(sudo)
  else
    # Without the packages nothing builds; without the locale only the
    # locale checks of the settings tests are weaker.
    if [ "$needLocale" -eq 1 ]; then
      echo "deps: no French locale; as root run: localedef -i fr_FR -f UTF-8 fr_FR.UTF-8" >&2
    fi
    if [ "${#missing[@]}" -gt 0 ]; then
      echo "deps: missing packages; as root run, then try again:" >&2
      echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
      exit 1
    fi
    exit 0
  fi
fi

if [ "${#missing[@]}" -gt 0 ]; then
  echo "deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${asRoot[@]}" apt-get update -qq
  "${asRoot[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
if [ "$needLocale" -eq 1 ]; then
  "${asRoot[@]}" localedef -i fr_FR -f UTF-8 fr_FR.UTF-8 >/dev/null 2>&1 || true
fi
