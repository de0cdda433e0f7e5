#!/usr/bin/env bash
# Builds the editor (Release) and starts it with the given files, from the
# folder that holds elements/, palette/, degrade/ and help/.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DSK_SANITIZE=OFF >/dev/null
cmake --build build -- -j"$(nproc)" sorvelkit
args=()
for f in "$@"; do args+=("$(realpath -m -- "$f")"); done
exec ./build/sorvelkit "${args[@]}"
