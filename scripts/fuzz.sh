#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of
# seconds (default 60). Any crash, sanitizer report, leak, timeout or
# out-of-memory fails the run; the input that found it is kept in fuzz-findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
bash scripts/deps.sh --tests

build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSK_FUZZ=ON \
  -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build "$build" -- -j"$(nproc)"

mkdir -p fuzz-findings
status=0
for bin in "$build"/fuzz_*; do
  [ -f "$bin" ] && [ -x "$bin" ] || continue
  name=$(basename "$bin")
  corpus="$build/corpus/$name"
  rm -rf "$corpus"
  SK_FUZZ_SEEDS="$corpus" "$bin" >/dev/null 2>&1 || true
  echo "fuzz: $name for ${seconds}s ($(ls "$corpus" | wc -l) seeds)"
  if ! QT_QPA_PLATFORM=offscreen "$bin" "$corpus" -max_total_time="$seconds" -rss_limit_mb=1024 -timeout=5 \
       -artifact_prefix="fuzz-findings/$name-" -print_final_stats=1 >"$build/$name.log" 2>&1; then
    echo "fuzz: $name FAILED"; tail -40 "$build/$name.log"; status=1
  else
    grep -E '^stat::number_of_executed_units' "$build/$name.log" || true
  fi
done
exit $status
