#!/usr/bin/env bash
# Renders the program's icon (packaging/icons/io.github.mirudex.Mirudex.svg)
# into the PNG sizes the desktop's icon theme uses, beside it:
#   packaging/icons/<N>x<N>/io.github.mirudex.Mirudex.png
# Needs rsvg-convert (Debian's librsvg2-bin). The PNGs are kept in the
# repository, so building never needs it.
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
ID=io.github.mirudex.Mirudex
for size in 16 24 32 48 64 128 256; do
    mkdir -p "${size}x${size}"
    rsvg-convert -w "$size" -h "$size" "$ID.svg" -o "${size}x${size}/$ID.png"
done
