#!/usr/bin/env bash
# Builds everything and runs every test offscreen.
#   ./test.sh             Release build in build/
#   ./test.sh --sanitize  address + undefined-behaviour sanitizers in build-sanitize/;
#                         any sanitizer report fails the run
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/deps.sh --tests

build=build
extra=(-DCMAKE_BUILD_TYPE=Release -DSK_SANITIZE=OFF)
if [ "${1:-}" = "--sanitize" ]; then
  build=build-sanitize
  extra=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DSK_SANITIZE=ON)
  export ASAN_OPTIONS="halt_on_error=1:exitcode=23:detect_leaks=1"
  export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=24"
fi

cmake -S . -B "$build" -G Ninja "${extra[@]}" >/dev/null
cmake --build "$build" -- -j"$(nproc)"

export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
