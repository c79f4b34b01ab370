#!/usr/bin/env bash
# Runs a window test program on a private X server (xvfb-run), optionally
# with a window manager (openbox), for the tests that need a real window
# system: run-x11.sh [--wm] PROGRAM [ARGS...]
# The screen is 1280x1024 unless MIRUDEX_X11_SCREEN says otherwise (WxHxDEPTH);
# the program finds the window manager's name in MIRUDEX_X11_WM (empty: none).
# Exits 77 (ctest: skipped) when xvfb-run or the window manager is missing.
set -euo pipefail

wm=""
if [ "${1:-}" = "--wm" ]; then
    wm=openbox
    shift
fi
command -v xvfb-run >/dev/null || { echo "xvfb-run is not installed"; exit 77; }
if [ -n "$wm" ]; then
    command -v "$wm" >/dev/null || { echo "$wm is not installed"; exit 77; }
    command -v xprop >/dev/null || { echo "xprop is not installed"; exit 77; }
fi

export QT_QPA_PLATFORM=xcb
export MIRUDEX_REQUIRE_X11=1
export MIRUDEX_X11_WM="$wm"
screen="${MIRUDEX_X11_SCREEN:-1280x1024x24}"
# A start number of its own, so that parallel runs rarely try the same display.
first=$((100 + RANDOM % 800))

exec xvfb-run -a -n "$first" -s "-screen 0 $screen -nolisten tcp" bash -c '
    set -euo pipefail
    wm="$1"; shift
    if [ -n "$wm" ]; then
        wm_log="$(mktemp "${TMPDIR:-/tmp}/run-x11-wm-XXXXXX")"
        wm_pid=""
        trap "[ -n \"\$wm_pid\" ] && kill \$wm_pid 2>/dev/null; rm -f $wm_log" EXIT
        taken() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
        # Until the window manager has taken the screen. One that ends
        # before it has (a starved or refused start) is started again, up
        # to three times.
        for attempt in 1 2 3; do
            "$wm" --sm-disable >"$wm_log" 2>&1 &
            wm_pid=$!
            for _ in $(seq 1 300); do
                taken && break
                kill -0 "$wm_pid" 2>/dev/null || break
                sleep 0.05
            done
            taken && break
            kill "$wm_pid" 2>/dev/null || true
            wait "$wm_pid" 2>/dev/null || true
            wm_pid=""
            echo "run-x11.sh: $wm did not take the screen (start $attempt):"
            cat "$wm_log"
        done
        taken || { echo "$wm did not start"; exit 1; }
    fi
    # On a loaded machine the server now and then does not show a window
    # within the test'"'"'s wait; a second run tells a fault from that.
    status=0
    "$@" || status=$?
    if [ "$status" -ne 0 ] && [ "$status" -ne 77 ]; then
        echo "run-x11.sh: failed with status $status; running once more"
        status=0
        "$@" || status=$?
    fi
    exit "$status"
' run-x11 "$wm" "$@"
