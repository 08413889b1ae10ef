#!/usr/bin/env bash
# The chaos soak of Rotorstrike.asi under Wine, as long as asked: the windows preset's build
# (configured and built when missing), a Wine prefix of its own, and the soak's options as
# they are (scripts/wine-soak.sh --help lists them):
#   scripts/wine-soak.sh --seed 7 --levels 1000
# A failure prints the line that replays it with this script.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/windows
[ -f "$build/CMakeCache.txt" ] || cmake --preset windows > /dev/null
cmake --build --preset windows --target standin-soak > /dev/null
record=$(mktemp)
trap 'tests/e2e/wine.sh remove "$record"' EXIT
tests/e2e/wine.sh create "$record" > /dev/null
tests/e2e/wine.sh run "$record" wine "$build/soak/standin-soak.exe" --asi "$PWD/$build/Rotorstrike.asi" \
  --standin "$PWD/$build/standin/ScriptHookV.dll" --program scripts/wine-soak.sh "$@" | tr -d '\r'
