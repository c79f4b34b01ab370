#!/usr/bin/env bash
# Formats every C++ source file of the project with clang-format and the
# repository's .clang-format:
#   scripts/format.sh           rewrite the files in place
#   scripts/format.sh --check   change nothing; list the files that differ and fail
set -euo pipefail
cd "$(dirname "$0")/.."
CLANG_FORMAT="${CLANG_FORMAT:-clang-format}"
mapfile -t files < <(git ls-files -- '*.cpp' '*.h' | while read -r f; do [ -e "$f" ] && echo "$f"; done)
if [ "${1:-}" = "--check" ]; then
    bad=()
    for f in "${files[@]}"; do
        if ! "$CLANG_FORMAT" --style=file "$f" | cmp -s - "$f"; then
            bad+=("$f")
        fi
    done
    if ((${#bad[@]})); then
        echo "Not formatted (run scripts/format.sh or 'cmake --build build --target format'):" >&2
        printf '  %s\n' "${bad[@]}" >&2
        exit 1
    fi
    exit 0
fi
"$CLANG_FORMAT" -i --style=file "${files[@]}"
