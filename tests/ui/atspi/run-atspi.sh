#!/usr/bin/env bash
# Reads Mirudex through the accessibility bus, as a screen reader does:
#   run-atspi.sh PROGRAM
# Starts PROGRAM on a private X server (xvfb-run) in a private D-Bus session
# (dbus-run-session) with the accessibility bus, in a working folder of its
# own whose dictionaries have three hand-written lines, searching 猫; then
# read_tree.py (pyatspi) must find 猫, its reading and "cat" in the cells of
# the result table, and 猫 with its On reading and meaning in the kanji table. Every wait is bounded; the program is ended with SIGTERM (its orderly
# shutdown), killed only when it does not end. Exits 77 (ctest: skipped) only
# when the accessibility bus cannot start at all; a missing tool is a failure
# (scripts/install-deps.sh installs them).
set -euo pipefail

program="$1"
here="$(cd "$(dirname "$0")" && pwd)"
python=/usr/bin/python3  # the system's, where Debian installs pyatspi
for tool in xvfb-run dbus-run-session dbus-send timeout "$python"; do
    command -v "$tool" >/dev/null || { echo "run-atspi.sh: $tool is not installed"; exit 1; }
done
"$python" -c 'import pyatspi' || { echo "run-atspi.sh: pyatspi (python3-pyatspi) is not installed"; exit 1; }

work="$(mktemp -d "${TMPDIR:-/tmp}/run-atspi-XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/DICT" "$work/runtime"
chmod 700 "$work/runtime"
# EUC-JP: 猫 [ねこ] /(n) cat/ and 犬 [いぬ] /(n) dog/; the kanji line of 猫.
printf '\xc7\xad [\xa4\xcd\xa4\xb3] /(n) cat/\n\xb8\xa4 [\xa4\xa4\xa4\xcc] /(n) dog/\n' >"$work/DICT/edict"
printf '\xc7\xad 732b U732b S11 F1702 \xa5\xd3\xa5\xe7\xa5\xa6 {cat}\n' >"$work/DICT/kanjidic"
# Options of an older version without the first-time messages: the program
# brings them up to date with its defaults.
printf 'KEY_START :: Misc\n\tBOOL :: FirstTime :: FALSE\n\tSTRING :: Version :: 0.0.0.1\nKEY_STOP\n' >"$work/Options.mxreg"

export QT_QPA_PLATFORM=xcb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export XDG_RUNTIME_DIR="$work/runtime"
export MIRUDEX_HOME=
first=$((100 + RANDOM % 800))

xvfb-run -a -n "$first" -s "-screen 0 1280x1024x24 -nolisten tcp" \
    timeout -k 10 240 dbus-run-session -- bash -c '
    set -uo pipefail
    program="$1"; work="$2"; reader="$3"; python="$4"
    # The session bus starts the accessibility bus on the first request.
    if ! timeout 30 dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >"$work/bus.txt" 2>&1; then
        echo "run-atspi.sh: the accessibility bus did not start:"
        cat "$work/bus.txt"
        exit 77
    fi
    "$program" --workdir "$work" --search 猫 >"$work/program.txt" 2>&1 &
    pid=$!
    status=0
    "$python" "$reader" "$pid" 90 "Search results=猫,ねこ,cat" "Kanji=猫,ビョウ,cat" || status=$?
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "run-atspi.sh: the program ended by itself:"
        cat "$work/program.txt"
        status=1
    fi
    kill -TERM "$pid" 2>/dev/null
    for _ in $(seq 1 300); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo "run-atspi.sh: the program did not end within 30 s of SIGTERM"
        kill -KILL "$pid" 2>/dev/null
        status=1
    fi
    wait "$pid" 2>/dev/null
    exit "$status"
' run-atspi "$program" "$work" "$here/read_tree.py" "$python"
