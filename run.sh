#!/usr/bin/env bash
# Builds the editor (Release) and starts it with the given files, from the
# folder that holds elements/, palette/, degrade/ and help/, where the
# settings file "sorvelkit.ini" lives too.
set -euo pipefail
# File arguments are relative to the caller's folder: resolve them before
# leaving it.
args=()
for f in "$@"; do args+=("$(realpath -m -- "$f")"); done
cd "$(dirname "$0")"
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DSK_SANITIZE=OFF >/dev/null
cmake --build build -- -j"$(nproc)" sorvelkit
# The program keeps its settings in the current folder once a file is there,
# and beside the binary otherwise, where a clean build would lose them.
[ -e sorvelkit.ini ] || : >sorvelkit.ini
exec ./build/sorvelkit "${args[@]}"
