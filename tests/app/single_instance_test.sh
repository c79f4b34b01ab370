#!/usr/bin/env bash
# One running Mirudex: a second start hands its search to the first and ends
# at once; mirudex-lookup --show does the same; a socket left by a killed
# Mirudex is replaced by the next one.
#   single_instance_test.sh PATH-TO-mirudex PATH-TO-mirudex-lookup
set -u
. "$(dirname "$0")/../support/checks.sh"
MIRUDEX="$1"
LOOKUP="$2"

work="$(mktemp -d "${TMPDIR:-/tmp}/mirudex-instance-XXXXXX")"
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill -KILL "$p" 2>/dev/null && wait "$p" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR="$work/run" HOME="$work/home" QT_QPA_PLATFORM=offscreen
unset MIRUDEX_HOME XDG_DATA_HOME
mkdir -m 700 "$XDG_RUNTIME_DIR" && mkdir "$HOME"

# A prepared working folder with a small dictionary and no first-time messages.
W="$work/w"
mkdir -p "$W/DICT"
printf '%s\n' '猫 [ねこ] /(n) cat/(P)/' '犬 [いぬ] /(n) dog/(P)/' | iconv -f UTF-8 -t EUC-JP > "$W/DICT/edict"
printf '%s\n' '猫 U732b S11 F1702 ビョウ ねこ {cat}' | iconv -f UTF-8 -t EUC-JP > "$W/DICT/kanjidic"
printf '%s\n' 'KEY_START :: Misc' '	BOOL :: FirstTime :: FALSE' 'KEY_STOP' > "$W/Options.mxreg"

log() { iconv -f UTF-16LE -t UTF-8 "$W/out.uni.txt" 2>/dev/null | tr -d '\r'; }
wait_for() {  # wait_for SECONDS COMMAND...: true once COMMAND succeeds
    local end=$((SECONDS + $1)); shift
    until "$@"; do
        [ "$SECONDS" -ge "$end" ] && return 1
        sleep 0.1
    done
}
searched() { log | grep -qF "Text exists: $1"; }

"$MIRUDEX" --workdir "$W" >"$work/first.out" 2>&1 &
pids+=($!)
first=$!
wait_for 20 test -S "$XDG_RUNTIME_DIR/mirudex.socket"; check "the first one listens" 0 $?

# A second start hands over before it looks for a folder of its own: nothing
# is made under HOME, and it ends without waiting for the search.
timeout 10 "$MIRUDEX" --search ねこ; status=$?
check "second start: status 0" 0 "$status"
check "second start: no folder of its own" no "$([ -e "$HOME/.local/share/mirudex" ] && echo yes || echo no)"
wait_for 30 searched ねこ; check "the first one searched ねこ" 0 $?
check "the first one still runs" yes "$(kill -0 "$first" 2>/dev/null && echo yes)"

timeout 10 "$MIRUDEX" 犬 >/dev/null 2>&1; check "mirudex TEXT: status 0" 0 $?
wait_for 30 searched 犬; check "the first one searched 犬" 0 $?
timeout 10 "$LOOKUP" --show いぬ; check "mirudex-lookup --show: status 0" 0 $?
wait_for 30 searched いぬ; check "the first one searched いぬ" 0 $?
timeout 10 "$MIRUDEX" --show; check "--show: status 0" 0 $?
# Nothing highlighted: an empty text only raises the window.
err="$(timeout 10 "$MIRUDEX" --search "" 2>&1)"; status=$?
check "--search '': raised, status 0, no usage" "0 " "$status $err"
err="$(timeout 10 "$LOOKUP" --show "" 2>&1)"; status=$?
check "mirudex-lookup --show '': raised, status 0" "0 " "$status $err"
check "after the empty texts: still running" yes "$(kill -0 "$first" 2>/dev/null && echo yes)"

# Killed: its socket stays behind, and the next start replaces it.
kill -KILL "$first"; wait "$first" 2>/dev/null
rm -f "$W/out.uni.txt"
check "a stale socket is left" yes "$([ -S "$XDG_RUNTIME_DIR/mirudex.socket" ] && echo yes)"
"$MIRUDEX" --workdir "$W" ねこ >"$work/second.out" 2>&1 &
pids+=($!)
wait_for 30 searched ねこ; check "the next one searches its own command line" 0 $?
timeout 10 "$MIRUDEX" --search いぬ; status=$?
check "after a stale socket: handed over, status 0" 0 "$status"
check "after a stale socket: still no folder of its own" no "$([ -e "$HOME/.local/share/mirudex" ] && echo yes || echo no)"
wait_for 30 searched いぬ; check "the replacement searched いぬ" 0 $?

{ kill -KILL "${pids[@]}"; wait; } 2>/dev/null
pids=()

# A runtime folder others may write into (mode 1777) is not used: a listener
# put there hears nothing, and the program listens in its private folder.
shared="$work/shared"
mkdir -m 1777 "$shared" && mkdir "$work/tmp"
python3 -c '
import os, socket, sys
s = socket.socket(socket.AF_UNIX)
s.bind(sys.argv[1])
os.chmod(sys.argv[1], 0o777)
s.listen(4)
while True:
    c, _ = s.accept()
    with open(sys.argv[2], "ab") as heard:
        heard.write(c.recv(4096))
    c.sendall(b"OK\n")
    c.close()
' "$shared/mirudex.socket" "$work/heard" &
pids+=($!)
wait_for 10 test -S "$shared/mirudex.socket"
rm -f "$W/out.uni.txt"
XDG_RUNTIME_DIR="$shared" TMPDIR="$work/tmp" "$MIRUDEX" --workdir "$W" ねこ >"$work/shared.out" 2>&1 &
pids+=($!)
wait_for 30 searched ねこ; check "runtime folder of mode 1777: the program searched its own text" 0 $?
contains "runtime folder of mode 1777: says why it is not used" "is not this user's alone; using $work/tmp/mirudex-" \
    "$(cat "$work/shared.out")"
wait_for 20 test -S "$work/tmp/mirudex-$(id -u)/mirudex.socket"
check "runtime folder of mode 1777: listens in the private folder" 0 $?
XDG_RUNTIME_DIR="$shared" TMPDIR="$work/tmp" timeout 10 "$MIRUDEX" --search いぬ 2>/dev/null
check "runtime folder of mode 1777: the next start hands over, status 0" 0 $?
wait_for 30 searched いぬ; check "runtime folder of mode 1777: the running one searched いぬ" 0 $?
check "runtime folder of mode 1777: the listener there heard nothing" "" "$(cat "$work/heard" 2>/dev/null)"
{ kill -KILL "${pids[@]}"; wait; } 2>/dev/null
pids=()

# mirudex-lookup --show with none running starts Mirudex beside it, on its own:
# the command ends at once, its output closed.
rm -f "$W/out.uni.txt" "$XDG_RUNTIME_DIR/mirudex.socket"
out="$(PATH="$(dirname "$MIRUDEX"):$PATH" timeout 10 "$LOOKUP" --workdir "$W" --show 猫)"; status=$?
check "--show with none running: status 0 at once" "0 " "$status $out"
wait_for 30 searched 猫; check "the Mirudex it started searched 猫" 0 $?
started="$(pgrep -x -f "(\S*/)?mirudex --workdir $W --search 猫")"
check "the Mirudex it started runs on its own" yes "$([ -n "$started" ] && echo yes)"
[ -n "$started" ] && kill -KILL $started

# On a real X server: text highlighted in another program is searched when
# the option is on (xclip owns the primary selection here).
if command -v xvfb-run >/dev/null && command -v xclip >/dev/null; then
    rm -f "$W/out.uni.txt" "$XDG_RUNTIME_DIR/mirudex.socket"
    printf '%s\n' 'KEY_START :: Misc' '	BOOL :: FirstTime :: FALSE' '	BOOL :: GrabSelection :: TRUE' \
        '	BOOL :: GrabClipboard-AutoSearch :: TRUE' 'KEY_STOP' > "$W/Options.mxreg"
    # The functions above, for the shell that runs inside the X server's session.
    { declare -f log wait_for searched; cat <<'INNER'; } > "$work/x11.sh"
"$MIRUDEX" --workdir "$W" >"$W/x11.out" 2>&1 &
# Running once a search handed to it is done.
wait_for 30 test -S "$XDG_RUNTIME_DIR/mirudex.socket" && timeout 10 "$MIRUDEX" --search 犬 && wait_for 30 searched 犬
printf 猫 | xclip -selection primary -loops 1 &
wait_for 30 searched 猫; status=$?
kill -KILL %1 2>/dev/null; wait
exit $status
INNER
    W="$W" MIRUDEX="$MIRUDEX" QT_QPA_PLATFORM=xcb xvfb-run -a bash "$work/x11.sh" 2>/dev/null
    status=$?
    [ "$status" -eq 0 ] || cat "$W/x11.out"
    check "X11: highlighted text searched" 0 "$status"
fi

# One Mirudex per working folder, whatever its runtime folder. A start with
# another runtime folder hands over through the socket the folder's lock
# names; an import meanwhile survives the running program's exit.
printf '%s\n' 'KEY_START :: Misc' '	BOOL :: FirstTime :: FALSE' 'KEY_STOP' > "$W/Options.mxreg"
rm -f "$W/out.uni.txt" "$XDG_RUNTIME_DIR/mirudex.socket"
RUN2="$work/run2"
mkdir -m 700 "$RUN2"
"$MIRUDEX" --workdir "$W" >"$work/owner.out" 2>&1 &
pids+=($!)
owner=$!
wait_for 20 test -S "$XDG_RUNTIME_DIR/mirudex.socket"; check "the folder's owner listens" 0 $?
options_read() { log | grep -q 'Loading Options\.*OKAY'; }
wait_for 30 options_read; check "the folder's owner read its options" 0 $?
cp "$(dirname "$0")/../data/jmdict-sample.xml" "$work/JM::dict.xml"
timeout 60 "$LOOKUP" --workdir "$W" --import-jmdict "$work/JM::dict.xml" 2>"$work/import.err"
check "an import while it runs: status 0" 0 $?
XDG_RUNTIME_DIR="$RUN2" timeout 20 "$MIRUDEX" --workdir "$W" --search 犬 2>"$work/other.err"; status=$?
check "another runtime folder: handed over, status 0" 0 "$status"
wait_for 30 searched 犬; check "the folder's owner searched 犬" 0 $?
check "another runtime folder: it did not listen" no "$([ -e "$RUN2/mirudex.socket" ] && echo yes || echo no)"
# Its socket gone, the owner cannot be reached: the new start says so and
# opens nothing (the owner's log is left as it was).
rm -f "$XDG_RUNTIME_DIR/mirudex.socket"
XDG_RUNTIME_DIR="$RUN2" timeout 15 "$MIRUDEX" --workdir "$W" 2>"$work/taken.err"
grep -q "is already running in the folder $W (process $owner)" "$work/taken.err"
check "an unreachable owner: the start says so" 0 $?
searched 犬; check "an unreachable owner: its log untouched" 0 $?
kill -TERM "$owner"; wait "$owner"; check "the owner ends with status 0" 0 $?
grep -qF 'DICT\JM%3A%3Adict.edict2' "$W/Options.mxreg"; check "the import survived the owner's exit" 0 $?
out="$(timeout 30 "$LOOKUP" --workdir "$W" --json 猫 2>&1)"
contains "the imported dictionary is searched" "esp. the domestic cat" "$out"

# Killed outright, the owner lets go of the folder: a start from another runtime folder runs there.
"$MIRUDEX" --workdir "$W" >"$work/killed.out" 2>&1 &
pids+=($!)
killed=$!
wait_for 20 test -S "$XDG_RUNTIME_DIR/mirudex.socket"; check "the next owner listens" 0 $?
kill -KILL "$killed"; wait "$killed" 2>/dev/null
XDG_RUNTIME_DIR="$RUN2" "$MIRUDEX" --workdir "$W" >"$work/after.out" 2>&1 &
pids+=($!)
wait_for 20 test -S "$RUN2/mirudex.socket"; check "after SIGKILL the folder is free" 0 $?
{ kill -KILL "${pids[@]}"; wait; } 2>/dev/null
pids=()

"$MIRUDEX" --bogus >/dev/null 2>&1; check "a usage error: status 2" 2 $?
"$MIRUDEX" --help | grep -q -- --search; check "--help" 0 $?

report
