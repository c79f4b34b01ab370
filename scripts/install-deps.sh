#!/usr/bin/env bash
# Installs, with apt-get, whatever Mirudex needs to build, test and run that
# this machine does not have yet. Safe to run again: installs only what is missing.
set -euo pipefail

packages=(
    qt6-base-dev cmake g++ ninja-build pkg-config clang-format
    libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev nlohmann-json3-dev
    libx11-dev libxtst-dev
    xvfb xauth xclip openbox x11-utils fonts-ipafont-gothic fonts-ipafont-mincho
    xdotool imagemagick
    dpkg-dev desktop-file-utils appstream
    edict kanjidic
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
