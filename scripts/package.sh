#!/usr/bin/env bash
# Sets up, builds Rotorstrike.asi and makes the release archive
# build/windows/Rotorstrike-<version>-win64.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target release-package
ls -l build/windows/Rotorstrike-*-win64.zip
