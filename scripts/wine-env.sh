# Sourced by the project's scripts: picks the Wine that runs here and the
# matching build flavour, and sets up a private prefix inside the build tree.
# Needs ROOT set by the caller.

# A kernel without 32-bit emulation cannot start Wine's 32-bit loader; the
# same sources then run their tests as a 64-bit build under wine64.
# LUMO_FORCE_ARCH=x86_64 picks the 64-bit flavour anyway (to compare the two).
if [ "${LUMO_FORCE_ARCH:-}" != x86_64 ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    LUMO_ARCH=i686
    WINE_LOADER=/usr/lib/wine/wine
    WINE_SERVER=/usr/lib/wine/wineserver32
    export WINEARCH=win32
else
    LUMO_ARCH=x86_64
    WINE_LOADER=/usr/lib/wine/wine64
    WINE_SERVER=/usr/lib/wine/wineserver64
    export WINEARCH=win64
fi
LUMO_BUILD_ROOT="${LUMO_BUILD_ROOT:-$ROOT/build}"
BUILD_DIR="$LUMO_BUILD_ROOT/$LUMO_ARCH"
export WINELOADER="$WINE_LOADER" WINESERVER="$WINE_SERVER"
export WINEPREFIX="$BUILD_DIR/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d;winebus.sys=d"
# The prefix links its shell folders to $HOME: keep them inside the build too.
export HOME="$BUILD_DIR/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache" XDG_DATA_HOME="$HOME/.local/share"
mkdir -p "$HOME"

LUMO_STARTED_XVFB_PID=""
LUMO_STARTED_HOLDER_PID=""

# LUMO_XVFB_SCREEN (e.g. 3840x2160) sets the virtual screen's size.
lumo_start_xvfb() {
    if [ -n "${DISPLAY:-}" ] && [ -z "${LUMO_FORCE_XVFB:-}" ]; then return; fi
    local fifo; fifo="$(mktemp -u)"; mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${LUMO_XVFB_SCREEN:-1920x1080}x24" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    LUMO_STARTED_XVFB_PID=$!
    local num; read -r -t 20 num <"$fifo" || true
    rm -f "$fifo"
    if [ -z "$num" ]; then echo "Xvfb did not start" >&2; return 1; fi
    export DISPLAY=":$num"
}

lumo_wine() { timeout "${LUMO_WINE_TIMEOUT:-120}" "$WINE_LOADER" "$@"; }

# Creates the prefix when missing; the registry settings make windows
# unmanaged (no window manager on Xvfb) and give GDI+ the fonts it asks for.
lumo_prepare_prefix() {
    mkdir -p "$WINEPREFIX"
    "$WINE_SERVER" -p 2>/dev/null || true  # already running for this prefix
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        # wineboot's other exit codes say little; a time-out or a registry
        # without the system's environment is a failure. The server writes
        # system.reg only when it saves, so the registry is asked, not the file.
        local status=0
        lumo_wine wineboot >/dev/null 2>&1 || status=$?
        if [ "$status" = 124 ] || ! lumo_wine reg query \
                'HKLM\System\CurrentControlSet\Control\Session Manager\Environment' /v windir >/dev/null 2>&1; then
            echo "wineboot did not set up the Wine prefix in $WINEPREFIX (exit $status; 124 is the ${LUMO_WINE_TIMEOUT:-120} s time-out)." >&2
            return 1
        fi
        if ! lumo_wine reg import "$ROOT/scripts/test-prefix.reg" >/dev/null 2>&1; then
            echo "The test settings (scripts/test-prefix.reg) could not be imported into $WINEPREFIX." >&2
            return 1
        fi
    fi
}

# Configures the build of this flavour; extra arguments go to cmake.
lumo_configure() {
    cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$LUMO_ARCH.cmake" \
        "-DCMAKE_CROSSCOMPILING_EMULATOR=$WINE_LOADER" "$@" >/dev/null
}

# Wine's Direct2D draws through the system's OpenGL of the flavour it runs;
# without it every render target fails.
lumo_check_gl() {
    local abi="libc6,x86-64"
    [ "$LUMO_ARCH" = i686 ] && abi="libc6"
    if ! /sbin/ldconfig -p | grep -q "libGL.so.1 ($abi)"; then
        echo "Wine cannot draw with Direct2D here: the $LUMO_ARCH OpenGL library (libGL.so.1) is missing; run scripts/setup.sh." >&2
        return 1
    fi
}

lumo_start_holder() {
    local holder="$1" ready="$BUILD_DIR/holder.ready"
    [ -f "$holder" ] || return 0
    rm -f "$ready"
    "$WINE_LOADER" "$holder" "$(winepath_of "$ready")" >/dev/null 2>&1 &
    LUMO_STARTED_HOLDER_PID=$!
    local i
    for i in $(seq 1 200); do
        [ -f "$ready" ] && return 0
        sleep 0.1
    done
    echo "desktop holder did not come up" >&2
}

# Wine maps / to drive Z:.
winepath_of() { echo "Z:${1//\//\\}"; }

lumo_stop_all() {
    if [ -n "$LUMO_STARTED_HOLDER_PID" ]; then kill "$LUMO_STARTED_HOLDER_PID" 2>/dev/null || true; fi
    "$WINE_SERVER" -k 2>/dev/null || true
    if [ -n "$LUMO_STARTED_XVFB_PID" ]; then kill "$LUMO_STARTED_XVFB_PID" 2>/dev/null || true; fi
}
