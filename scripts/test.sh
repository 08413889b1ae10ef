#!/usr/bin/env bash
# Sets up, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
ctest --preset linux
ctest --preset windows
# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize
ctest --preset sanitize
# The settings file's text under libFuzzer: a fixed seed and run count over the corpus.
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
ctest --preset fuzz
