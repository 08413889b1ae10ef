#!/usr/bin/env bash
# Installs what this project needs and a fresh Debian 12 machine may lack, and any further
# packages named (scripts/bench.sh asks for valgrind, scripts/coverage.sh for gcovr): the one
# place that installs. Idempotent: apt runs only when a package is missing.
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev libgmock-dev)
# The frame-cost benchmark.
packages+=(libbenchmark-dev)
# The windows preset: the mingw-w64 cross compilers (posix thread model), binutils
# (windres, dlltool, objdump) and the Windows headers and libraries.
packages+=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev)
# Screenshots of the simulated screen: cairo, and a font it can find.
packages+=(libcairo2-dev pkg-config fonts-dejavu-core)
# The animated replay: giflib.
packages+=(libgif-dev)
# The fuzz preset: clang with libFuzzer, whose runtime is only a recommended package.
packages+=(clang libclang-rt-14-dev)
# The end-to-end tests: Wine runs the real Rotorstrike.asi and our 64-bit test programs
# (wine64 is the 64-bit loader; no 32-bit Wine is needed).
packages+=(wine wine64)
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
