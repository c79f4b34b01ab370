#!/usr/bin/env bash
# Installs what is missing, builds Mirudex, prepares the real dictionaries for
# the real-data tests, and runs every test. The exit status is the result.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

# Every source file must be formatted; the suite still runs so that all
# faults show at once, and the result then fails.
format_status=0
scripts/format.sh --check || format_status=1

scripts/build.sh

# Real-data tests read Debian's dictionaries from here.
scripts/setup-data.sh build-data >/dev/null

export MIRUDEX_REAL_DATA="$PWD/build-data"
export XDG_RUNTIME_DIR="$(mktemp -d /tmp/mirudex-runtime-XXXXXX)"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT

ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure --parallel "$(nproc)" "$@"
exit "$format_status"
