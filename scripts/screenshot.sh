#!/usr/bin/env bash
# Builds Lumo.exe, starts it on a private virtual screen (Xvfb) and saves a
# picture of its main window once the fade-in is over.
# Usage: screenshot.sh [output.png] [WIDTHxHEIGHT] [program arguments...]
# Default: docs/main-window.png at 1920x1080.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OUT="${1:-$ROOT/docs/main-window.png}"
export LUMO_XVFB_SCREEN="${2:-1920x1080}"
shift $(( $# > 2 ? 2 : $# ))
SETTLE_SECONDS="${LUMO_SCREENSHOT_SETTLE:-4}"

bash "$ROOT/scripts/setup.sh"
source "$ROOT/scripts/wine-env.sh"
trap lumo_stop_all EXIT
# Always our own screen of the asked size, whatever display this shell has.
unset DISPLAY
lumo_start_xvfb
lumo_prepare_prefix
lumo_configure
cmake --build "$BUILD_DIR" -j "${LUMO_JOBS:-8}" --target Lumo >/dev/null

LUMO_WINE_TIMEOUT=0 lumo_wine "$BUILD_DIR/app/Lumo.exe" "$@" >/dev/null 2>&1 &
PROGRAM_PID=$!
window=""
for _ in $(seq 1 100); do
    window="$(xwininfo -root -children 2>/dev/null | awk '/"VYL Lumo Core"/ {print $1; exit}')"
    [ -n "$window" ] && break
    sleep 0.2
done
if [ -z "$window" ]; then
    echo "the main window did not appear" >&2
    exit 1
fi
# The fade-in and the first frames of every child.
sleep "$SETTLE_SECONDS"
mkdir -p "$(dirname "$OUT")"
import -window "$window" "$OUT"
echo "saved $OUT ($(identify -format '%wx%h' "$OUT"), screen $LUMO_XVFB_SCREEN)"
kill "$PROGRAM_PID" 2>/dev/null || true
