#!/usr/bin/env bash
# Builds the Linux tests with coverage, runs them, and prints the line and branch coverage
# of the plug-in (src/) and of the platform code compiled on Linux (the profile file).
# The Windows backend (platform/windows/) is not compiled on Linux, so it is not measured
# here: the checks on the built .asi cover it. Not part of the test command.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh gcovr
build=build/coverage
# The soak runs 100 levels here: an instrumented build is slow, and more levels reach no
# more lines.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DROTORSTRIKE_TOOLS=ON -DROTORSTRIKE_SOAK_LEVELS=100 \
  -DCMAKE_CXX_FLAGS="--coverage -fprofile-update=atomic" -DCMAKE_EXE_LINKER_FLAGS="--coverage" >/dev/null
cmake --build "$build"
find "$build" -name '*.gcda' -delete
ctest --test-dir "$build" --output-on-failure >/dev/null
echo "Coverage of the plug-in and the Linux platform code (platform/windows/ is not compiled here):"
gcovr --root . --object-directory "$build" --exclude-directories "$build/CMakeFiles/[0-9]" --filter 'src/' --filter 'platform/' \
  --exclude 'platform/windows/' --exclude-unreachable-branches --exclude-throw-branches \
  --print-summary --txt - | tail -n 40
