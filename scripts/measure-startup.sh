#!/usr/bin/env bash
# Measures Lumo.exe's start-up under Wine: time from process start until the
# main window is up (and until it is gone after WM_CLOSE), and until a mode
# start ends unseen; the main window's building steps and first complete
# frame in one process; private memory, objects and idle CPU and timer
# messages after start-up, at 1920 x 1080 and on a 3840 x 2160 screen.
# Builds first (tests on). Usage: measure-startup.sh [runs] [idle seconds]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
RUNS="${1:-5}"
IDLE_SECONDS="${2:-10}"
bash "$ROOT/scripts/setup.sh"
source "$ROOT/scripts/wine-env.sh"
trap lumo_stop_all EXIT

lumo_start_xvfb
lumo_prepare_prefix
lumo_configure -DLUMO_BUILD_TESTS=ON
cmake --build "$BUILD_DIR" -j "$(nproc)" --target Lumo startup_probe main_window_probe desktop_holder empty_program >/dev/null

lumo_start_holder "$BUILD_DIR/tests/desktop_holder.exe"

# Wine maps the Unix root to Z:.
LUMO_EXE="$BUILD_DIR/app/Lumo.exe"
LUMO_EXE_WIN="Z:${LUMO_EXE//\//\\}"
probe() { lumo_wine "$BUILD_DIR/tests/startup_probe.exe" "$LUMO_EXE_WIN" "$RUNS" "$@"; }
EMPTY_EXE="$BUILD_DIR/bench/empty_program.exe"
# Wine reports neither private memory nor GDI/USER counts: the program's
# Linux process is measured instead, once its fade-in is over, and its CPU
# time (all threads) over the idle seconds.
# Usage: footprint <program> <pattern of its command line> <window title>.
footprint() {
    LUMO_WINE_TIMEOUT=0 lumo_wine "$1" >/dev/null 2>&1 &
    local wine_pid=$! pid="" i p
    for i in $(seq 1 100); do
        pid=""
        for p in $(pgrep -f "$2" || true); do
            # Only ours: other prefixes may run the program meanwhile.
            tr '\0' '\n' 2>/dev/null <"/proc/$p/environ" | grep -qx "WINEPREFIX=$WINEPREFIX" && pid="$p"
        done 2>/dev/null
        [ -n "$pid" ] && xwininfo -root -children 2>/dev/null | grep -q "\"$3\"" && break
        sleep 0.1
    done
    sleep 3
    if [ -z "$pid" ] || [ ! -r "/proc/$pid/smaps_rollup" ]; then echo "footprint: program not found"; return; fi
    awk '/^Rss:/ {rss=$2} /^Private_Clean:/ {pc=$2} /^Private_Dirty:/ {pd=$2}
         END {printf "after start-up: private memory %.1f MB (resident %.1f MB)\n", (pc+pd)/1024, rss/1024}' \
        "/proc/$pid/smaps_rollup"
    local ticks; ticks="$(getconf CLK_TCK)"
    local before; before="$(awk '{print $14+$15}' "/proc/$pid/stat")"
    sleep "$IDLE_SECONDS"
    local after; after="$(awk '{print $14+$15}' "/proc/$pid/stat")"
    echo "idle ${IDLE_SECONDS} s after the fade-in: $(( (after - before) * 1000 / ticks )) ms CPU in the process"
    kill "$pid" 2>/dev/null || true
    wait "$wine_pid" 2>/dev/null || true
}

echo "== an empty GUI program (Wine's own cost of a process start)"
lumo_wine "$BUILD_DIR/tests/startup_probe.exe" "Z:${EMPTY_EXE//\//\\}" "$RUNS"
echo "== mode start: -chkdefault (reset effect, no controller here; writes the seed Basic.ini)"
probe -chkdefault
echo "== $LUMO_ARCH Lumo.exe, plain start (main window, closed with WM_CLOSE), footprint at $(xdpyinfo 2>/dev/null | awk '/dimensions/ {print $2}')"
probe
footprint "$LUMO_EXE" 'Lumo\.exe' "VYL Lumo Core"
echo "== Wine's own notepad beside it (what any Wine GUI process costs here)"
footprint notepad 'notepad' "Untitled - Notepad"
echo "== $LUMO_ARCH main window in one process: building steps, first complete frame, idle ${IDLE_SECONDS} s"
lumo_wine "$BUILD_DIR/tests/main_window_probe.exe" "$RUNS" "$IDLE_SECONDS"
echo "== mode start: -apply 9 (rejected index, ends at once)"
probe -apply 9
echo "== mode start: -background (outside UWP mode ends at once)"
probe -background

# The same window on a 3840 x 2160 screen ("4K" skins at 200 %).
lumo_stop_all
export LUMO_XVFB_SCREEN=3840x2160
unset DISPLAY
lumo_start_xvfb
lumo_prepare_prefix
lumo_start_holder "$BUILD_DIR/tests/desktop_holder.exe"
echo "== $LUMO_ARCH Lumo.exe on a 3840 x 2160 screen, footprint"
probe
footprint "$LUMO_EXE" 'Lumo\.exe' "VYL Lumo Core"
echo "== $LUMO_ARCH main window in one process on a 3840 x 2160 screen"
lumo_wine "$BUILD_DIR/tests/main_window_probe.exe" "$RUNS" 0
