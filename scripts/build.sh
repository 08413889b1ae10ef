#!/usr/bin/env bash
# Configures and builds the Linux preset: the plug-in, the simulated host, tests and tools.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset linux >/dev/null
cmake --build --preset linux
