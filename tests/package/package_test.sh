#!/usr/bin/env bash
# The Debian package: built with CPack from the build folder, unpacked into a
# temporary root (dpkg -x), and its programs run from there: they find their
# data beside themselves and prepare a working folder from Debian's
# dictionaries. The desktop entry and AppStream data pass their validators
# when those are installed.
#   package_test.sh BUILD-DIR
set -u
. "$(dirname "$0")/../support/checks.sh"
BUILD="$1"

work="$(mktemp -d "${TMPDIR:-/tmp}/mirudex-package-XXXXXX")"
trap 'rm -rf "$work"' EXIT
ID=io.github.mirudex.Mirudex

cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1
check "cpack builds the package" 0 $?
deb="$(ls "$work"/out/*.deb 2>/dev/null | head -1)"
if [ -z "$deb" ]; then
    cat "$work/cpack.log"
    echo "$passes passed, $((failures + 1)) failed"
    exit 1
fi

depends="$(dpkg-deb -f "$deb" Depends)"
for package in edict kanjidic libqt6widgets6 "libcurl4 | libcurl3-gnutls" ca-certificates; do
    contains "depends on $package" "$package" "$depends"
done
recommends="$(dpkg-deb -f "$deb" Recommends)"
for package in xjdic enamdict; do
    contains "recommends $package" "$package" "$recommends"
done
files="$(dpkg-deb -c "$deb" | awk '{print $6}')"
for f in usr/bin/mirudex usr/bin/mirudex-lookup usr/share/mirudex/partsofspeech.mxf \
    usr/share/mirudex/fuzzysearch.uni.dat usr/share/mirudex/docs/index.html \
    "usr/share/applications/$ID.desktop" "usr/share/metainfo/$ID.metainfo.xml" \
    "usr/share/icons/hicolor/scalable/apps/$ID.svg" "usr/share/icons/hicolor/48x48/apps/$ID.png" \
    usr/share/man/man1/mirudex.1.gz usr/share/man/man1/mirudex-lookup.1.gz; do
    contains "the package holds $f" "./$f" "$files"
done
check "no dictionary data in the package" "" "$(grep -iE '/(edict|kanjidic|radkfile|enamdict|jmdict)[^/]*$' <<<"$files")"

dpkg -x "$deb" "$work/root"
bin="$work/root/usr/bin"
version="$("$bin/mirudex-lookup" --version)"; status=$?
check "installed mirudex-lookup --version" "0 mirudex-lookup" "$status ${version%% *}"
version="$("$bin/mirudex" --version)"; status=$?
check "installed mirudex --version" "0 mirudex" "$status ${version%% *}"

# A look-up from an empty folder: the default working folder is prepared
# from the installed data (marked here, so that its copy shows where it came
# from) and Debian's dictionaries.
if [ -e /usr/share/edict/edict ] && [ -e /usr/share/edict/kanjidic ]; then
    echo >> "$work/root/usr/share/mirudex/partsofspeech.mxf"
    mkdir -p "$work/home" "$work/empty" && cd "$work/empty"
    out="$(env -u MIRUDEX_HOME -u XDG_DATA_HOME HOME="$work/home" XDG_CACHE_HOME="$work/cache" \
        "$bin/mirudex-lookup" ねこ)"; status=$?
    check "installed look-up: found" 0 "$status"
    contains "installed look-up: ねこ" "猫 (ねこ) :: (1) cat" "$out"
    folder="$work/home/.local/share/mirudex"
    check "the working folder's data comes from the installed program's share/mirudex" yes \
        "$(cmp -s "$folder/partsofspeech.mxf" "$work/root/usr/share/mirudex/partsofspeech.mxf" && echo yes)"
    check "the dictionaries are Debian's" /usr/share/edict/edict "$(readlink "$folder/DICT/edict")"
fi

if command -v desktop-file-validate >/dev/null; then
    out="$(desktop-file-validate "$work/root/usr/share/applications/$ID.desktop" 2>&1)"
    check "desktop-file-validate" "0 " "$? $out"
fi
if command -v appstreamcli >/dev/null; then
    out="$(appstreamcli validate --no-net "$work/root/usr/share/metainfo/$ID.metainfo.xml" 2>&1)"; status=$?
    check "appstreamcli validate --no-net" 0 "$status"
    [ "$status" -eq 0 ] || echo "$out"
fi

report
