#!/usr/bin/env bash
# Sets up, builds, and plays the plug-in in the simulated host.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
build/linux/tools/rotorstrike-sim "${@:-build/sim-out}"
