#!/usr/bin/env bash
# Draws docs/images/first-start.png: the installed program's first start
# (the Debian package unpacked into a temporary root, a user with nothing
# prepared) on a virtual X server. Needs a build (BUILD_DIR, default build),
# xvfb-run and ImageMagick's import.
set -euo pipefail
cd "$(dirname "$0")/.."
SRC="$PWD"
BUILD="${BUILD_DIR:-build}"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$tmp/out" >/dev/null
dpkg -x "$tmp"/out/*.deb "$tmp/root"
mkdir -p "$tmp/home" "$tmp/run"
chmod 700 "$tmp/run"
env -i PATH="$PATH" HOME="$tmp/home" XDG_RUNTIME_DIR="$tmp/run" LANG=C.UTF-8 \
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
        "$0/usr/bin/mirudex" &
        sleep 6
        import -window root -crop 800x600+0+0 +repage "$1"
        kill %1' "$tmp/root" "$SRC/docs/images/first-start.png"
echo "docs/images/first-start.png"
