#!/usr/bin/env bash
# Renders the program icon from its drawing: 16, 32, 48 and 96 pixels in one
# .ico. Usage: make-icon.sh <svg> <ico> <work folder>
set -euo pipefail
svg="$1"; ico="$2"; work="$3"
mkdir -p "$work"
pngs=()
for size in 16 32 48 96; do
    rsvg-convert -w "$size" -h "$size" -o "$work/lumo-$size.png" "$svg"
    pngs+=("$work/lumo-$size.png")
done
icotool -c -o "$ico" "${pngs[@]}"
