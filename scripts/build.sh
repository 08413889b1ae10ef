#!/usr/bin/env bash
# Configures and builds the Linux preset (the plug-in, the simulated host, tests and tools)
# and the windows preset (Rotorstrike.asi, cross-built with mingw-w64, and its checks).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset linux >/dev/null
cmake --build --preset linux
cmake --preset windows >/dev/null
cmake --build --preset windows
