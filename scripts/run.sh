#!/usr/bin/env bash
# Sets up, builds, and plays Level 1 of the plug-in in the simulated host with the autopilot;
# the timeline, the screenshots and the map of the chase go to build/sim-out. Any option of
# rotorstrike-sim may follow (--level, --seed, --game-dir, --quiet, ...).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
exec build/linux/tools/rotorstrike-sim --out build/sim-out "$@"
