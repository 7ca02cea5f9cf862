#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it under Wine, on
# the current display or, when there is none, on a virtual one (Xvfb).
# Arguments go to the program (for example: -chkdefault, -Lang=3).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$ROOT/scripts/setup.sh"
source "$ROOT/scripts/wine-env.sh"
trap lumo_stop_all EXIT

if [ -z "${DISPLAY:-}" ]; then
    lumo_start_xvfb
    echo "No display: running on the virtual display $DISPLAY (screenshot: DISPLAY=$DISPLAY import -window root shot.png)"
fi
lumo_prepare_prefix &
PREFIX_JOB=$!
lumo_configure
cmake --build "$BUILD_DIR" -j "$(nproc)" --target Lumo
wait "$PREFIX_JOB"

echo "Starting $BUILD_DIR/app/Lumo.exe ($LUMO_ARCH) under Wine; close its window to end."
LUMO_WINE_TIMEOUT=0 lumo_wine "$BUILD_DIR/app/Lumo.exe" "$@"
