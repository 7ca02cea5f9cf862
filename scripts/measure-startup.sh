#!/usr/bin/env bash
# Measures Lumo.exe's start-up under Wine: time from process start until the
# bare dialog is up (and until it is gone after WM_CLOSE), and until a mode
# start ends unseen. Builds first (tests on). Usage: measure-startup.sh [runs]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
RUNS="${1:-5}"
bash "$ROOT/scripts/setup.sh"
source "$ROOT/scripts/wine-env.sh"
trap lumo_stop_all EXIT

lumo_start_xvfb
lumo_prepare_prefix
lumo_configure -DLUMO_BUILD_TESTS=ON
cmake --build "$BUILD_DIR" -j "$(nproc)" --target Lumo startup_probe desktop_holder empty_program >/dev/null

lumo_start_holder "$BUILD_DIR/tests/desktop_holder.exe"

# Wine maps the Unix root to Z:.
LUMO_EXE="$BUILD_DIR/app/Lumo.exe"
LUMO_EXE_WIN="Z:${LUMO_EXE//\//\\}"
probe() { lumo_wine "$BUILD_DIR/tests/startup_probe.exe" "$LUMO_EXE_WIN" "$RUNS" "$@"; }
EMPTY_EXE="$BUILD_DIR/bench/empty_program.exe"
echo "== an empty GUI program (Wine's own cost of a process start)"
lumo_wine "$BUILD_DIR/tests/startup_probe.exe" "Z:${EMPTY_EXE//\//\\}" "$RUNS"
echo "== mode start: -chkdefault (reset effect, no controller here; writes the seed Basic.ini)"
probe -chkdefault
echo "== $LUMO_ARCH Lumo.exe, plain start (bare dialog, closed with WM_CLOSE)"
probe
echo "== mode start: -apply 9 (rejected index, ends at once)"
probe -apply 9
echo "== mode start: -background (outside UWP mode ends at once)"
probe -background
