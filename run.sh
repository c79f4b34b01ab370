#!/usr/bin/env bash
# Installs what is missing, builds Mirudex, prepares its working directory with
# Debian's dictionaries, and starts it there.
#   ./run.sh [--workdir DIR] [program arguments...]
set -euo pipefail
cd "$(dirname "$0")"
SRC="$PWD"

WORKDIR="${XDG_DATA_HOME:-$HOME/.local/share}/mirudex"
if [ "${1:-}" = "--workdir" ]; then
    WORKDIR="$2"
    shift 2
fi

scripts/install-deps.sh
scripts/build.sh
scripts/setup-data.sh "$WORKDIR"

exec "$SRC/${BUILD_DIR:-build}/src/app/mirudex" --workdir "$WORKDIR" "$@"
