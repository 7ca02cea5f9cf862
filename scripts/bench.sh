#!/usr/bin/env bash
# Builds the tests' flavour and runs every benchmark under Wine.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$ROOT/scripts/setup.sh"
source "$ROOT/scripts/wine-env.sh"
trap lumo_stop_all EXIT
lumo_start_xvfb
lumo_prepare_prefix
lumo_configure -DLUMO_BUILD_TESTS=ON
cmake --build "$BUILD_DIR" -j "$(nproc)"
for bench in "$BUILD_DIR"/bench/*_bench.exe; do
    echo "== $(basename "$bench")"
    lumo_wine "$bench"
done
