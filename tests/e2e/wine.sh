#!/usr/bin/env bash
# The Wine of the end-to-end tests: one prefix for the whole test run, made in a temporary
# folder, headless, asking to install nothing, and with a sound device that plays to
# nowhere (ALSA's null device), so that Wine's PlaySoundA plays the cues to the end.
#   wine.sh create RECORD        makes the prefix and writes its folder into RECORD
#   wine.sh run RECORD CMD...    runs CMD in that Wine
#   wine.sh remove RECORD        stops its wineserver and removes the folder
set -euo pipefail
action=$1 record=$2
shift 2

enter() {
  folder=$(cat "$record")
  export WINEPREFIX=$folder/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export ALSA_CONFIG_PATH=$folder/alsa-null.conf
  unset DISPLAY WAYLAND_DISPLAY
}

case $action in
  create)
    # A prefix that a killed run left behind goes first.
    if [ -f "$record" ]; then "$0" remove "$record"; fi
    mktemp -d "${TMPDIR:-/tmp}/rotorstrike-wine.XXXXXX" > "$record"
    enter
    printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' > "$ALSA_CONFIG_PATH"
    start=$(date +%s%N)
    wine wineboot --init > "$folder/wineboot.log" 2>&1 || { cat "$folder/wineboot.log"; exit 1; }
    echo "wine prefix made in $(( ($(date +%s%N) - start) / 1000000 )) ms: $WINEPREFIX"
    ;;
  run)
    enter
    exec "$@"
    ;;
  remove)
    [ -f "$record" ] || exit 0
    enter
    wineserver --kill 2> /dev/null || true
    rm -rf "$folder" "$record"
    ;;
  *)
    echo "usage: wine.sh create|run|remove RECORD [CMD...]" >&2
    exit 2
    ;;
esac
