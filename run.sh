#!/usr/bin/env bash
# Builds the editor (Release) and starts it with the given files, from the
# folder that holds elements/, palette/, degrade/ and help/.
set -euo pipefail
# File arguments are relative to the caller's folder: resolve them before
# leaving it.
args=()
for f in "$@"; do args+=("$(realpath -m -- "$f")"); done
cd "$(dirname "$0")"
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DSK_SANITIZE=OFF >/dev/null
cmake --build build -- -j"$(nproc)" sorvelkit
exec ./build/sorvelkit "${args[@]}"
