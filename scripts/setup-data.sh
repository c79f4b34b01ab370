#!/usr/bin/env bash
# Prepares a Mirudex working directory DIR with Debian's dictionaries and our
# own data files:
#   DIR/DICT/edict, DIR/DICT/kanjidic   (links to the edict and kanjidic packages' files)
#   DIR/DICT/enamdict                    (a link to the enamdict package's names dictionary:
#                                         dictionary 2 of the default options, switched off)
#   DIR/radkfile.dat                     (the xjdic package's radical file, as Shift-JIS)
#   DIR/partsofspeech.mxf, DIR/fuzzysearch.uni.dat (ours)
# Existing user files in DIR (options, history, study lists) are left alone.
set -euo pipefail
SRC="$(cd "$(dirname "$0")/.." && pwd)"
DIR="${1:?usage: setup-data.sh DIR}"
mkdir -p "$DIR/DICT"

for f in edict kanjidic enamdict; do
    if [ ! -e "/usr/share/edict/$f" ]; then
        echo "setup-data: /usr/share/edict/$f is missing (install the $f package)" >&2
        exit 1
    fi
    ln -sf "/usr/share/edict/$f" "$DIR/DICT/$f"
done

# The radical file comes from the xjdic package, unpacked without installing it.
if [ ! -s "$DIR/radkfile.dat" ]; then
    cache="${XDG_CACHE_HOME:-$HOME/.cache}/mirudex"
    mkdir -p "$cache"
    if [ ! -s "$cache/radkfile" ]; then
        tmp="$(mktemp -d)"
        (cd "$tmp" && apt-get download xjdic >/dev/null 2>&1 || { apt-get update -qq && apt-get download xjdic >/dev/null; })
        dpkg-deb -x "$tmp"/xjdic_*.deb "$tmp/x"
        cp "$tmp/x/var/lib/xjdic/radkfile" "$cache/radkfile"
        rm -rf "$tmp"
    fi
    iconv -f EUC-JP -t SHIFT_JIS "$cache/radkfile" > "$DIR/radkfile.dat.tmp"
    mv "$DIR/radkfile.dat.tmp" "$DIR/radkfile.dat"
fi

for f in partsofspeech.mxf fuzzysearch.uni.dat; do
    if [ -e "$SRC/data/$f" ]; then
        cp "$SRC/data/$f" "$DIR/$f"
    fi
done
echo "$DIR"
