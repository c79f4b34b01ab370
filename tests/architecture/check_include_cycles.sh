#!/usr/bin/env bash
# Fails when the source files include each other in a circle. A header and its
# source file are one unit (dict/Dictionary.h and dict/Dictionary.cpp), so a
# circle through two .cpp files that include each other's headers counts.
# Prints the units of each circle (tsort's report).
#   check_include_cycles.sh SOURCE-DIR
set -u
SRC="$1/src"
[ -d "$SRC" ] || { echo "check_include_cycles.sh: no $SRC"; exit 2; }

edges() {
    cd "$SRC" || exit 2
    find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | sort | while read -r file; do
        unit="${file%.*}"
        echo "$unit $unit"
        sed -n 's/^#include "\([^"]*\)\.h".*/\1/p' "$file" | while read -r included; do
            [ -f "$included.h" ] && [ "$included" != "$unit" ] && echo "$unit $included"
        done
    done
}

# The check itself must see a circle where there is one.
if printf 'a b\nb a\n' | tsort >/dev/null 2>&1; then
    echo "check_include_cycles.sh: tsort does not report circles here"
    exit 2
fi

report="$(edges | tsort 2>&1 >/dev/null)"
if [ -n "$report" ]; then
    echo "Source files include each other in a circle:"
    echo "$report"
    exit 1
fi
