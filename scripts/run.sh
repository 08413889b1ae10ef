#!/usr/bin/env bash
# Sets up, builds, and plays the whole campaign of the plug-in in the simulated host with the
# autopilot, Level 1 to Level 5, with an animated replay of each level; each level's timeline,
# screenshots, chase map and replay go to build/sim-out/NN-level-L. Options of rotorstrike-sim
# given instead replace the campaign (--level 2, --win-rate 100, --seed 7 --campaign, ...).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# Only what the main job needs: the Linux preset's simulator (scripts/build.sh builds it all).
cmake --preset linux >/dev/null
cmake --build --preset linux --target rotorstrike-sim
if [ $# -eq 0 ]; then set -- --campaign --replay; fi
exec build/linux/tools/rotorstrike-sim --out build/sim-out "$@"
