#!/usr/bin/env bash
# Installs everything the build and the tests need from Debian's packages.
# Idempotent: returns at once when all is already there.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DEPS_DIR="$ROOT/.deps"
TINYXML2_DIR="$DEPS_DIR/tinyxml2"

PACKAGES=(
    cmake make
    g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-tools
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine32:i386 wine64
    # Wine's Direct2D needs OpenGL of the flavour it runs; the 32-bit one is
    # only a Recommends of libwine:i386.
    libgl1:i386 libgl1-mesa-dri:i386
    xvfb xauth x11-utils imagemagick icoutils
    librsvg2-bin
    fonts-liberation fonts-dejavu-core
    dpkg-dev python3
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing_packages() {
    local pkg
    for pkg in "${PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            echo "$pkg"
        fi
    done
}

# A deb-src entry that mirrors the machine's own main-suite entry; a second
# Signed-By for the same source would make apt refuse every list.
ensure_deb_src() {
    local src=/etc/apt/sources.list.d/debian.sources
    local out=/etc/apt/sources.list.d/lumo-deb-src.sources
    [ -f "$out" ] && return 1
    if [ -f "$src" ] && grep -q '^Types: deb-src' "$src"; then return 1; fi
    if [ -f "$src" ]; then
        awk 'BEGIN{RS=""; ORS="\n\n"} /URIs: [^\n]*debian\/?(\n|$)/ && !done {
                 sub(/Types: deb/, "Types: deb-src"); print; done=1 }' "$src" | $SUDO tee "$out" >/dev/null
    else
        echo "deb-src http://deb.debian.org/debian bookworm main" | $SUDO tee /etc/apt/sources.list.d/lumo-deb-src.list >/dev/null
    fi
    return 0
}

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
    need_update=1
fi
if ensure_deb_src; then need_update=1; fi

missing="$(missing_packages)"
if [ -n "$missing" ] || [ ! -f "$TINYXML2_DIR/tinyxml2.cpp" ]; then
    need_update=1
fi
if [ "$need_update" -eq 1 ]; then
    $SUDO apt-get update -qq
fi
if [ -n "$missing" ]; then
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi

if [ ! -f "$TINYXML2_DIR/tinyxml2.cpp" ]; then
    mkdir -p "$DEPS_DIR"
    tmp="$(mktemp -d "$DEPS_DIR/src.XXXXXX")"
    (cd "$tmp" && apt-get source -qq --download-only tinyxml2 >/dev/null && dpkg-source -x --no-check ./*.dsc tinyxml2 >/dev/null)
    rm -rf "$TINYXML2_DIR"
    mv "$tmp/tinyxml2" "$TINYXML2_DIR"
    rm -rf "$tmp"
fi
