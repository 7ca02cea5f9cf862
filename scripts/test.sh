#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under Wine in a
# private prefix; stops whatever it started.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$ROOT/scripts/setup.sh"
source "$ROOT/scripts/wine-env.sh"
trap lumo_stop_all EXIT

JOBS="$(nproc)"
lumo_check_gl
lumo_start_xvfb
# The prefix is made while the build runs.
lumo_prepare_prefix &
PREFIX_JOB=$!

lumo_configure -DLUMO_BUILD_TESTS=ON
cmake --build "$BUILD_DIR" -j "$JOBS"
if [ "$LUMO_ARCH" != i686 ]; then
    # The shipped program is 32-bit whatever this machine can run.
    cmake -S "$ROOT" -B "$LUMO_BUILD_ROOT/i686" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-i686.cmake" -DLUMO_BUILD_TESTS=OFF >/dev/null
    cmake --build "$LUMO_BUILD_ROOT/i686" -j "$JOBS"
fi
wait "$PREFIX_JOB"

# One process holds the desktop and Wine's services for the whole run; it is
# up before the first test so no test becomes their parent.
lumo_start_holder "$BUILD_DIR/tests/desktop_holder.exe"

cd "$BUILD_DIR"
# Each entry carries its own time limit (tests/CMakeLists.txt).
ctest -j "$JOBS" --output-on-failure "$@"
