#!/usr/bin/env bash
# Installs what is missing, builds Mirudex, prepares the real dictionaries for
# the real-data tests, and runs every test. The exit status is the result.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
scripts/build.sh

# Real-data tests read Debian's dictionaries from here.
scripts/setup-data.sh build-data >/dev/null

export MIRUDEX_REAL_DATA="$PWD/build-data"
export XDG_RUNTIME_DIR="$(mktemp -d /tmp/mirudex-runtime-XXXXXX)"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT

ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure --parallel "$(nproc)" "$@"
