#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need.
# Quiet and quick when everything is already there; runs apt-get update only
# when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
  libbenchmark-dev
  xvfb xauth locales
  clang-14 libclang-rt-14-dev python3-pil
)

# --shot: what scripts/shot.sh drives the program with. Only on request, so
# that the test run installs no more than it needs.
for arg in "$@"; do
  if [ "$arg" = "--shot" ]; then packages+=(xdotool imagemagick); fi
done

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

if [ "${#missing[@]}" -gt 0 ]; then
  echo "deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The settings tests check that numbers never follow the user's locale, so a
# French locale must really exist on the machine.
if ! locale -a 2>/dev/null | grep -qi '^fr_FR\.utf-\?8$'; then
  $SUDO localedef -i fr_FR -f UTF-8 fr_FR.UTF-8 >/dev/null 2>&1 || true
fi
