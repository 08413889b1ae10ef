#!/usr/bin/env bash
# Fuzzes the settings file's text for longer than the test command does (default 10 minutes;
# give another number of seconds as the first argument). New inputs go to build/fuzz/found;
# fold the useful ones into the committed corpus with
#   build/fuzz/fuzz/profile_fuzz -merge=1 fuzz/corpus build/fuzz/found
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
mkdir -p build/fuzz/found
exec build/fuzz/fuzz/profile_fuzz -max_total_time="${1:-600}" -print_final_stats=1 build/fuzz/found fuzz/corpus
