#!/usr/bin/env bash
# Sets up, builds, and runs every test. The tests of a preset run two at a time; those that
# share the Wine prefix or a folder are ordered by their fixtures, dependencies and locks.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
ctest --preset linux -j2
ctest --preset windows -j2
# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize
ctest --preset sanitize -j2
# The settings file's text under libFuzzer: a fixed seed and run count over the corpus.
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
ctest --preset fuzz -j2
