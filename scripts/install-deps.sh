#!/usr/bin/env bash
# Installs, with apt-get, whatever Mirudex needs to build, test and run that
# this machine does not have yet. Safe to run again: installs only what is missing.
set -euo pipefail

packages=(
    qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n cmake g++ ninja-build pkg-config clang-format
    libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev nlohmann-json3-dev
    libexpat1-dev libcurl4-openssl-dev
    libx11-dev libxtst-dev
    xvfb xauth xclip openbox x11-utils fonts-ipafont-gothic fonts-ipafont-mincho
    xdotool imagemagick jq python3
    dbus-bin dbus-daemon at-spi2-core python3-pyatspi
    dpkg-dev desktop-file-utils appstream lintian devscripts
    edict kanjidic enamdict
    nginx openssl ca-certificates
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
    # nginx is only started by the tests themselves (on a free loopback port,
    # with their own configuration): its package must not start a server.
    no_services=""
    if [ ! -e /usr/sbin/policy-rc.d ]; then
        no_services=/usr/sbin/policy-rc.d
        printf '#!/bin/sh\nexit 101\n' | $SUDO tee "$no_services" >/dev/null
        $SUDO chmod +x "$no_services"
    fi
    status=0
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" || status=$?
    if [ -n "$no_services" ]; then $SUDO rm -f "$no_services"; fi
    exit "$status"
fi
