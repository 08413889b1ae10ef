#!/usr/bin/env bash
# Prints the table of what a frame of the plug-in costs in each steady state (natives,
# processor time, instructions, allocations, the floor) and what a settings load costs,
# against their goals. Builds the Linux preset, counts each frame's instructions under
# callgrind (installing valgrind if it is missing), then runs the benchmark; any further
# arguments go to it (Google Benchmark's flags, e.g. --benchmark_filter=settings).
# Exit status 1 when a natives or allocation count is not what it must be. Not part of the
# test command: those counts are tests of their own there (frame_cost_tests).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh valgrind
cmake --preset linux >/dev/null
cmake --build --preset linux --target rotorstrike-bench >/dev/null
bench=build/linux/bench/rotorstrike-bench
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "Counting each frame's instructions under callgrind..."
valgrind --tool=callgrind --callgrind-out-file="$work/cg.%p" --collect-atstart=no \
  --toggle-collect=rotorstrikeMeasuredFrames --dump-after=rotorstrikeMeasuredFrames \
  "$bench" --count-instructions >"$work/order" 2>"$work/valgrind.log" || {
  cat "$work/valgrind.log" >&2
  exit 1
}
# The k-th dump holds the k-th measured call, as the order file lists them: N frames, then
# 2N of the same; a frame's instructions are the difference over N.
for dump in $(ls "$work" | grep -E '^cg\.[0-9]+\.[0-9]+$' | sort -t. -k3,3n); do
  grep -m1 '^summary:' "$work/$dump" | cut -d' ' -f2
done | paste -d' ' "$work/order" - | awk '
  { key = $1 " " $2 }
  !(key in first) { first[key] = $4; frames[key] = $3; next }
  { printf "%s %.0f\n", key, ($4 - first[key]) / frames[key] }' >"$work/instructions"

"$bench" --instructions="$work/instructions" "$@"
