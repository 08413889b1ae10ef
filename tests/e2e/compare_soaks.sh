#!/usr/bin/env bash
# The Linux soak and the Wine soak of one seed, with only the faults both make, compared:
#   compare_soaks.sh LINUX_RECORD WINE_RECORD
# Each record holds a line for each frame and one for each level's end (its outcome and the
# progress the file holds). Every level must end alike in both. Where the frames part, the
# first frame that differs is printed, with its level, also when the outcomes agree.
set -euo pipefail
linux=$1 wine=$2
levels() { grep '^level ' "$1" || true; }

parting=$(cmp "$linux" "$wine" 2>/dev/null | sed -n 's/.* line \([0-9]*\).*/\1/p' || true)
if [ -n "$parting" ]; then
  level=$(head -n "$((parting - 1))" "$linux" | grep -c '^level ' || true)
  echo "the records part at line $parting, in level $((level + 1)) (frame, natives, reads, writes, failed writes, player x y z, texts):"
  echo "  linux: $(sed -n "${parting}p" "$linux")"
  echo "  wine:  $(sed -n "${parting}p" "$wine")"
else
  echo "the records are the same, frame for frame"
fi
count=$(levels "$linux" | wc -l)
if [ "$count" -eq 0 ] || [ "$count" -ne "$(levels "$wine" | wc -l)" ]; then
  echo "FAILED: the runs played $count and $(levels "$wine" | wc -l) levels"
  exit 1
fi
if ! diff <(levels "$linux") <(levels "$wine") > /dev/null; then
  echo "FAILED: a level ended otherwise:"
  diff <(levels "$linux") <(levels "$wine") | head -n 4
  exit 1
fi
echo "all $count levels ended alike, and the file holds the same progress after each"
