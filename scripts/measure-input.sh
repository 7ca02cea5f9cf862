#!/usr/bin/env bash
# Measures under Wine, with the maker's library stand-in beside the probe: a
# real click on an effect until the library's call, the colour picker's first
# opening, and how often a colour drag in the picker reaches the library.
# Builds first (tests on). Usage: measure-input.sh [clicks] [WIDTHxHEIGHT]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
CLICKS="${1:-20}"
bash "$ROOT/scripts/setup.sh"
source "$ROOT/scripts/wine-env.sh"
trap lumo_stop_all EXIT

if [ -n "${2:-}" ]; then
    export LUMO_XVFB_SCREEN="$2"
    unset DISPLAY
fi
lumo_start_xvfb
lumo_prepare_prefix
lumo_configure -DLUMO_BUILD_TESTS=ON
cmake --build "$BUILD_DIR" -j "$(nproc)" --target input_latency_probe desktop_holder >/dev/null
lumo_start_holder "$BUILD_DIR/tests/desktop_holder.exe"

echo "== $LUMO_ARCH effect clicks and a colour drag, screen $(xdpyinfo 2>/dev/null | awk '/dimensions/ {print $2}')"
LUMO_NBHWCTL_LOG="$(winepath_of "$BUILD_DIR/probes/input/calls.log")" \
    lumo_wine "$BUILD_DIR/probes/input/input_latency_probe.exe" "$CLICKS"
