#!/usr/bin/env bash
# Draws the user guide's pictures of the main window after a search, with the
# hover card of a result row open, on a virtual X server:
#   docs/images/main-window.png       plain scale
#   docs/images/main-window-2x.png    QT_SCALE_FACTOR=2
#   docs/images/main-window-dark.png  a dark desktop colour scheme
#   docs/images/main-window-ja.png    started with LANG=ja_JP.UTF-8 (the Japanese translation)
#   docs/images/main-window-de.png    started with LANG=de_DE.UTF-8 (the German translation)
#   docs/images/compact-rows.png      the result pane's compact rows (.\Results\CompactRows)
#   docs/images/main-window-edict2.png an EDICT2 dictionary (our small test file,
#                                      tests/data/edict2-sample.txt) before EDICT,
#                                      searched for EDICT2_SEARCH (default たべる)
#   docs/images/reader.png            the reading view with READ_TEXT (default
#                                      猫が魚を食べました。), its verb clicked and
#                                      the verb's card open
#   docs/images/long-card.png         the card of a long entry (LONG_SEARCH, default
#                                      取る) on a 1280x1024 screen: cut to the room
#                                      beside its row, with its scroll bar
#   docs/images/maximised.png         the window filling the screen with the study
#                                      list and radical panes shown: the result
#                                      pane has the extra height
# Needs a build (BUILD_DIR, default build), the dictionaries scripts/setup-data.sh
# links in, xvfb-run, xdotool and ImageMagick's import. SEARCH (default かみ) is the
# text searched.
#
# The dark scheme is the one a KDE Plasma desktop hands every Qt program: Qt's
# own KDE desktop theme reads the colours from kdeglobals in the user's
# configuration folder when XDG_CURRENT_DESKTOP=KDE and KDE_SESSION_VERSION=5,
# with no plugin and nothing in Mirudex itself.
set -euo pipefail
cd "$(dirname "$0")/.."
SRC="$PWD"
BUILD="${BUILD_DIR:-build}"
MIRUDEX="$SRC/$BUILD/src/app/mirudex"
SEARCH="${SEARCH:-かみ}"
EDICT2_SEARCH="${EDICT2_SEARCH:-たべる}"
LONG_SEARCH="${LONG_SEARCH:-取る}"
[ -x "$MIRUDEX" ] || { echo "make-window-pictures: no $MIRUDEX (build first)" >&2; exit 1; }
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# One prepared working folder, copied for every picture so each starts alike.
scripts/setup-data.sh "$tmp/data" >/dev/null
# No first-time messages; every other option keeps its default.
printf '#\n# Mirudex options file (v2)\n#\nKEY_START :: Misc\n\tBOOL :: FirstTime :: FALSE\nKEY_STOP\n' \
    >"$tmp/data/Options.mxreg"

# The same folder with the EDICT2 test file as dictionary 0, EDICT as 1.
cp -r "$tmp/data" "$tmp/edict2"
cp tests/data/edict2-sample.txt "$tmp/edict2/DICT/sample-edict2"
{
    printf '#\n# Mirudex options file (v2)\n#\nKEY_START :: Misc\n\tBOOL :: FirstTime :: FALSE\nKEY_STOP\n'
    printf 'KEY_START :: Dictionaries\n\tKEY_START :: EDICT\n'
    printf '\t\tKEY_START :: 0\n\t\t\tSTRING :: Path :: DICT\\sample-edict2\n\t\t\tSTRING :: Name :: JMdict (sample)\n'
    printf '\t\t\tSTRING :: Encoding :: UTF-8\n\t\t\tBOOL :: On :: TRUE\n\t\tKEY_STOP\n'
    printf '\t\tKEY_START :: 1\n\t\t\tSTRING :: Path :: DICT\\edict\n\t\t\tSTRING :: Name :: Standard EDICT\n'
    printf '\t\t\tSTRING :: Encoding :: EUC-JP\n\t\t\tBOOL :: On :: TRUE\n\t\tKEY_STOP\n'
    printf '\t\tINT :: Number :: 2\n\tKEY_STOP\nKEY_STOP\n'
} >"$tmp/edict2/Options.mxreg"

# The same folder with the reading view on and a taller search pane.
cp -r "$tmp/data" "$tmp/reader"
{
    printf '#\n# Mirudex options file (v2)\n#\nKEY_START :: Misc\n\tBOOL :: FirstTime :: FALSE\n'
    printf '\tBOOL :: Reader :: TRUE\nKEY_STOP\n'
    printf 'KEY_START :: Window\n\tBOOL :: RememberSize :: TRUE\n\tINT :: Window_x :: 0\n\tINT :: Window_y :: 0\n'
    printf '\tINT :: Window_w :: 900\n\tINT :: Window_h :: 620\n\tINT :: Div_vert :: 230\n'
    printf '\tINT :: Div_vert_bottom_horiz :: 220\nKEY_STOP\n'
} >"$tmp/reader/Options.mxreg"
# The same folder with one line per result.
cp -r "$tmp/data" "$tmp/compact"
printf 'KEY_START :: Results\n\tBOOL :: CompactRows :: TRUE\nKEY_STOP\n' >>"$tmp/compact/Options.mxreg"

mkdir -p "$tmp/dark/config"
cat >"$tmp/dark/config/kdeglobals" <<'EOF'
[General]
ColorScheme=Dark

[Colors:Button]
BackgroundNormal=49,54,59
BackgroundAlternate=64,69,74
ForegroundNormal=239,240,241
ForegroundInactive=161,169,177
DecorationFocus=61,174,233
DecorationHover=61,174,233

[Colors:Selection]
BackgroundNormal=61,174,233
BackgroundAlternate=29,153,243
ForegroundNormal=252,252,252
ForegroundInactive=161,169,177

[Colors:Tooltip]
BackgroundNormal=49,54,59
ForegroundNormal=239,240,241

[Colors:View]
BackgroundNormal=35,38,41
BackgroundAlternate=42,46,50
ForegroundNormal=239,240,241
ForegroundInactive=161,169,177
ForegroundLink=41,128,185
ForegroundVisited=127,140,141

[Colors:Window]
BackgroundNormal=49,54,59
BackgroundAlternate=64,69,74
ForegroundNormal=239,240,241
ForegroundInactive=161,169,177

[WM]
activeBackground=49,54,59
activeForeground=239,240,241
inactiveBackground=42,46,50
inactiveForeground=161,169,177
EOF

# The same folder with the study list and radical panes shown.
cp -r "$tmp/data" "$tmp/panes"
printf '%s\n' 'KEY_START :: StudyList' '	BOOL :: On :: TRUE' 'KEY_STOP' 'KEY_START :: RadicalLookup' \
    '	BOOL :: On :: TRUE' 'KEY_STOP' >>"$tmp/panes/Options.mxreg"

# draw NAME SCALE SCREEN [VARIABLE=VALUE...]: one picture of the folder DATA
# (default the prepared one) after a search for TEXT (default SEARCH). The pointer rests on the
# third result entry (placed in the window's own units, times SCALE) until
# the hover card is open, then the window and the card are cut out of the screen.
draw()
{
    local name="$1" scale="$2" screen="$3"
    shift 3
    local run="$tmp/$name"
    mkdir -p "$run/home" "$run/runtime"
    chmod 700 "$run/runtime"
    cp -r "${DATA:-$tmp/data}" "$run/work"
    env -i PATH="$PATH" HOME="$run/home" XDG_RUNTIME_DIR="$run/runtime" LANG=C.UTF-8 \
        ROW_Y="${ROW_Y:-314}" FILL="${FILL:-}" "$@" \
        xvfb-run -a -s "-screen 0 ${screen}x24" bash -c '
            set -euo pipefail
            mirudex="$1" work="$2" text="$3" scale="$4" out="$5"
            "$mirudex" --workdir "$work" &
            sleep 6
            "$mirudex" --workdir "$work" --search "$text"
            sleep 3
            window="$(xdotool search --onlyvisible --name "^Mirudex " | head -n 1)"
            eval "$(xdotool getwindowgeometry --shell "$window")"
            wx=$X wy=$Y ww=$WIDTH wh=$HEIGHT
            if [ -n "$FILL" ]; then
                # The window fills the screen, as maximised.
                xdotool windowmove "$window" 0 0 windowsize "$window" 100% 100%
                sleep 2
                eval "$(xdotool getwindowgeometry --shell "$window")"
                wx=$X wy=$Y ww=$WIDTH wh=$HEIGHT
                import -window root -crop ${ww}x${wh}+$wx+$wy +repage "$out"
                kill %1
                wait || true
                exit 0
            fi
            # Two small moves: the card waits for the pointer to rest on a row.
            xdotool mousemove $((wx + 300 * scale)) $((wy + ROW_Y * scale))
            sleep 0.3
            xdotool mousemove $((wx + 305 * scale)) $((wy + (ROW_Y + 2) * scale))
            sleep 1.5
            left=$wx top=$wy right=$((wx + ww)) bottom=$((wy + wh))
            card="$(xdotool search --onlyvisible --name "Result_Hover_Window" | head -n 1 || true)"
            if [ -z "$card" ]; then
                echo "make-window-pictures: no hover card opened for $out" >&2
                exit 1
            fi
            eval "$(xdotool getwindowgeometry --shell "$card")"
            ((X < left)) && left=$X
            ((Y < top)) && top=$Y
            ((X + WIDTH > right)) && right=$((X + WIDTH))
            ((Y + HEIGHT > bottom)) && bottom=$((Y + HEIGHT))
            import -window root -crop $((right - left))x$((bottom - top))+$left+$top +repage "$out"
            kill %1
            wait || true' draw "$MIRUDEX" "$run/work" "${TEXT:-$SEARCH}" "$scale" "$SRC/docs/images/$name.png"
    echo "docs/images/$name.png"
}

# draw_reader: the reading view after READ_TEXT was searched; the pointer
# clicks the word at READ_X, READ_Y (in the window) and then rests on it
# until its card is open.
draw_reader()
{
    local run="$tmp/reader-run"
    mkdir -p "$run/home" "$run/runtime"
    chmod 700 "$run/runtime"
    cp -r "$tmp/reader" "$run/work"
    env -i PATH="$PATH" HOME="$run/home" XDG_RUNTIME_DIR="$run/runtime" LANG=C.UTF-8 \
        xvfb-run -a -s "-screen 0 1280x900x24" bash -c '
            set -euo pipefail
            mirudex="$1" work="$2" text="$3" x="$4" y="$5" out="$6"
            "$mirudex" --workdir "$work" &
            sleep 6
            "$mirudex" --workdir "$work" --search "$text"
            sleep 3
            window="$(xdotool search --onlyvisible --name "^Mirudex " | head -n 1)"
            eval "$(xdotool getwindowgeometry --shell "$window")"
            wx=$X wy=$Y ww=$WIDTH wh=$HEIGHT
            xdotool mousemove $((wx + x)) $((wy + y)) click 1
            sleep 2
            xdotool mousemove $((wx + x + 2)) $((wy + y + 1))
            sleep 1.5
            left=$wx top=$wy right=$((wx + ww)) bottom=$((wy + wh))
            card="$(xdotool search --onlyvisible --name "Result_Hover_Window" | head -n 1 || true)"
            if [ -n "$card" ]; then
                eval "$(xdotool getwindowgeometry --shell "$card")"
                ((X < left)) && left=$X
                ((Y < top)) && top=$Y
                ((X + WIDTH > right)) && right=$((X + WIDTH))
                ((Y + HEIGHT > bottom)) && bottom=$((Y + HEIGHT))
            else
                echo "make-window-pictures: no card opened over the reading view" >&2
            fi
            import -window root -crop $((right - left))x$((bottom - top))+$left+$top +repage "$out"
            kill %1
            wait || true' draw "$MIRUDEX" "$run/work" "${READ_TEXT:-猫が魚を食べました。}" "${READ_X:-150}" \
        "${READ_Y:-150}" "$SRC/docs/images/reader.png"
    echo "docs/images/reader.png"
}

ONLY="${ONLY:-}"  # one picture's name: only that one is drawn
want() { [ -z "$ONLY" ] || [ "$ONLY" == "$1" ]; }
want main-window && draw main-window 1 1280x900
want main-window-2x && draw main-window-2x 2 2560x1800 QT_SCALE_FACTOR=2
want main-window-dark &&
    draw main-window-dark 1 1280x900 XDG_CURRENT_DESKTOP=KDE KDE_SESSION_VERSION=5 XDG_CONFIG_HOME="$tmp/dark/config"
want main-window-ja && draw main-window-ja 1 1280x900 LANG=ja_JP.UTF-8
want main-window-de && draw main-window-de 1 1280x900 LANG=de_DE.UTF-8
want main-window-edict2 && DATA="$tmp/edict2" TEXT="$EDICT2_SEARCH" draw main-window-edict2 1 1280x900
want reader && draw_reader
# The first result row: the exact match of a long entry.
want long-card && TEXT="$LONG_SEARCH" ROW_Y=230 draw long-card 1 1280x1024
want maximised && DATA="$tmp/panes" FILL=1 draw maximised 1 1280x1024
want compact-rows && DATA="$tmp/compact" draw compact-rows 1 1280x900
true
