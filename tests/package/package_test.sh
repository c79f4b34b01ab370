#!/usr/bin/env bash
# The Debian package: built with CPack from the build folder, unpacked into a
# temporary root (dpkg -x), and its programs run from there: they find their
# data beside themselves and prepare a working folder from Debian's
# dictionaries. lintian finds no error and no warning in it (what it is told
# to pass over carries its reason), hardening-check passes on both programs,
# every option --help names is in the program's man page, and the desktop
# entry and AppStream data pass their validators when those are installed.
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
for package in xjdic enamdict "fonts-ipafont-mincho | fonts-noto-cjk | fonts-vlgothic" qt6-translations-l10n; do
    contains "recommends $package" "$package" "$recommends"
done
contains "the maintainer has a name and an address" "Mirudex developers <" "$(dpkg-deb -f "$deb" Maintainer)"
files="$(dpkg-deb -c "$deb" | awk '{print $6}')"
for f in usr/bin/mirudex usr/bin/mirudex-lookup usr/share/mirudex/partsofspeech.mxf \
    usr/share/mirudex/fuzzysearch.uni.dat usr/share/doc/mirudex/index.html \
    usr/share/doc/mirudex/copyright usr/share/doc/mirudex/changelog.gz usr/share/lintian/overrides/mirudex \
    "usr/share/applications/$ID.desktop" "usr/share/metainfo/$ID.metainfo.xml" \
    "usr/share/icons/hicolor/scalable/apps/$ID.svg" "usr/share/icons/hicolor/48x48/apps/$ID.png" \
    usr/share/man/man1/mirudex.1.gz usr/share/man/man1/mirudex-lookup.1.gz; do
    contains "the package holds $f" "./$f" "$files"
done
check "no dictionary data in the package" "" "$(grep -iE '/(edict|kanjidic|radkfile|enamdict|jmdict)[^/]*$' <<<"$files")"

dpkg -x "$deb" "$work/root"
bin="$work/root/usr/bin"
doc="$work/root/usr/share/doc/mirudex"

# The licence and the credit of the dictionaries' owners.
copyright="$(cat "$doc/copyright" 2>/dev/null)"
contains "copyright: machine-readable" \
    "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" "$copyright"
for text in "License: GPL-3.0+" "Electronic Dictionary Research and Development Group" \
    "https://www.edrdg.org/edrdg/licence.html" "Qt 6"; do
    contains "copyright names $text" "$text" "$copyright"
done
metainfo="$(cat "$work/root/usr/share/metainfo/$ID.metainfo.xml")"
for text in "<project_license>GPL-3.0-or-later</project_license>" "<metadata_license>CC0-1.0</metadata_license>" \
    "Electronic Dictionary Research and Development Group"; do
    contains "the AppStream data carries $text" "$text" "$metainfo"
done
# The desktop entry and the AppStream data in the languages the program speaks.
entry="$(cat "$work/root/usr/share/applications/$ID.desktop")"
for lang in de ja; do
    for key in Name GenericName Comment Keywords; do
        contains "the desktop entry has $key[$lang]" "$key[$lang]=" "$entry"
    done
    for tag in name summary; do
        contains "the AppStream data has a $tag in $lang" "<$tag xml:lang=\"$lang\">" "$metainfo"
    done
done
contains "the Japanese comment is Japanese" "Comment[ja]=EDICT と KANJIDIC で日本語・英語の単語や漢字を調べます" "$entry"
guide="$(cat "$doc/index.html" 2>/dev/null)"
contains "the guide credits the Group" "Electronic Dictionary Research and Development Group" "$guide"
contains "the guide names the licence" "GNU General Public License" "$guide"
# The guide's pictures, and no other: each one it shows is there.
shown="$(grep -oE 'src="[^"]+"' <<<"$guide" | sed 's/^src="//; s/"$//' | sort -u)"
shipped="$(cd "$doc" && find . -name '*.png' | sed 's|^\./||' | sort)"
check "the pictures shipped are those the guide shows" "$shown" "$shipped"

# lintian, as a Debian packager runs it.
if command -v lintian >/dev/null; then
    out="$(lintian --info --pedantic "$deb" 2>&1)"
    check "lintian: no error, no warning" "" "$(grep -E '^[EW]: ' <<<"$out")"
    echo "$out" | grep -E '^[IPX]: ' | sort -u
    # Every override has its reason in the comment right above it.
    overrides="$work/root/usr/share/lintian/overrides/mirudex"
    check "every lintian override has a written reason" "" \
        "$(awk '/^#/ {reason = 1; next} /^[^#[:space:]]/ && !reason {print} {reason = 0}' "$overrides")"
else
    check "lintian is installed (scripts/install-deps.sh)" yes no
fi
if [ "${MIRUDEX_HARDENED:-ON}" != ON ]; then
    echo "hardening-check: not a hardened build (a sanitizer or fuzzing build), not checked"
elif command -v hardening-check >/dev/null; then
    # Control-flow protection is not asked: Debian's own C start files carry
    # no CET note, so no program linked on Debian has it.
    for program in mirudex mirudex-lookup; do
        out="$(hardening-check --nocfprotection "$bin/$program" 2>&1)"; status=$?
        check "hardening-check $program" 0 "$status"
        [ "$status" -eq 0 ] || echo "$out"
    done
else
    check "hardening-check is installed (devscripts, scripts/install-deps.sh)" yes no
fi

# Every option a program's --help names is in its man page.
for program in mirudex mirudex-lookup; do
    page="$(zcat "$work/root/usr/share/man/man1/$program.1.gz" | sed 's/\\-/-/g')"
    help="$("$bin/$program" --help 2>&1)"
    options="$(grep -oE '(^|[^[:alnum:]_-])--?[a-z][a-z-]*' <<<"$help" | grep -oE -- '--?[a-z][a-z-]*' | sort -u)"
    check "$program --help names options" yes "$([ -n "$options" ] && echo yes)"
    for option in $options; do
        check "$program's man page has $option" yes \
            "$(grep -qE -- "(^|[^[:alnum:]_-])$option([^[:alnum:]_-]|\$)" <<<"$page" && echo yes)"
    done
done
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

# The index files every user shares. dpkg installs the package into a root
# of its own (its maintainer scripts run without a chroot and find the root
# in DPKG_ROOT), beside a small dictionary package of ours in place of
# Debian's edict: postinst makes the shared index, a new user's look-ups
# and first start use it and write little, an upgrade of the dictionary
# package makes it again (the trigger), and removing the package removes it.
R="$work/sys"
mkdir -p "$R/var/lib/dpkg/info" "$R/var/lib/dpkg/updates" "$work/dictpkg"
touch "$R/var/lib/dpkg/status"
dictionary_package() {  # dictionary_package VERSION LINE...: an "edict" package with these lines
    local version="$1" dir="$work/dictpkg/edict-$1"; shift
    rm -rf "$dir" && mkdir -p "$dir/DEBIAN" "$dir/usr/share/edict"
    printf 'Package: edict\nVersion: %s\nArchitecture: all\nMaintainer: Test <test@example.invalid>\n' "$version" \
        > "$dir/DEBIAN/control"
    printf 'Description: hand-written dictionary lines\n' >> "$dir/DEBIAN/control"
    printf '%s\n' "$@" | iconv -f UTF-8 -t EUC-JP > "$dir/usr/share/edict/edict"
    printf '%s\n' '猫 U732b S11 F1702 ビョウ ねこ {cat}' | iconv -f UTF-8 -t EUC-JP > "$dir/usr/share/edict/kanjidic"
    printf '%s\n' '太郎 [たろう] /Tarou (m)/' | iconv -f UTF-8 -t EUC-JP > "$dir/usr/share/edict/enamdict"
    dpkg-deb --root-owner-group -b "$dir" "$work/dictpkg/edict_$version.deb" >/dev/null
}
in_root() { dpkg --root="$R" --force-script-chrootless --force-not-root "$@" >>"$work/dpkg.log" 2>&1; }
# What the rest of a system would hold: every other package the program
# depends on, provided by one empty package (dpkg runs the triggers of a
# package only while its dependencies are there).
mkdir -p "$work/dictpkg/base/DEBIAN"
provided="$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/|.*//; s/(.*)//; s/[[:space:]]//g' | grep -vx edict |
    sed 's/$/ (= 9:99)/' | paste -sd, | sed 's/,/, /g')"
printf 'Package: test-base\nVersion: 1\nArchitecture: all\nMaintainer: Test <test@example.invalid>\n%s\n%s\n' \
    "Provides: $provided" "Description: the rest of the system" > "$work/dictpkg/base/DEBIAN/control"
dpkg-deb --root-owner-group -b "$work/dictpkg/base" "$work/dictpkg/base.deb" >/dev/null
dictionary_package 1 '猫 [ねこ] /(n) cat/(P)/' '犬 [いぬ] /(n) dog/(P)/'
in_root -i "$work/dictpkg/base.deb" "$work/dictpkg/edict_1.deb"
in_root -i "$deb"; status=$?
check "dpkg installs the package into a root of its own" 0 "$status"
[ "$status" -eq 0 ] || tail -20 "$work/dpkg.log"
shared="$R/var/cache/mirudex"
check "postinst: the shared folder links Debian's edict" "$R/usr/share/edict/edict" "$(readlink "$shared/edict")"
for f in edict.mxi edict.mxs; do
    check "postinst: the shared folder holds $f, readable by every user" yes \
        "$([ -f "$shared/$f" ] && [ "$(stat -c %a "$shared/$f")" = 644 ] && echo yes)"
done
check "postinst: the names dictionary's too" "enamdict enamdict.mxi enamdict.mxs" "$(ls "$shared" | grep enamdict | xargs)"
check "the triggers file names the dictionaries" \
    "$(printf 'interest-noawait /usr/share/edict/edict\ninterest-noawait /usr/share/edict/enamdict')" \
    "$(cat "$R/var/lib/dpkg/info/mirudex.triggers" 2>/dev/null)"

# A new user; Debian's dictionaries are the root's (the preparation links
# them from the system's place, which the root stands for here).
U="$work/user/.local/share/mirudex"
mkdir -p "$U/DICT" "$work/user/run" && chmod 700 "$work/user/run"
ln -s "$R/usr/share/edict/edict" "$U/DICT/edict"
ln -s "$R/usr/share/edict/kanjidic" "$U/DICT/kanjidic"
ln -s "$R/usr/share/edict/enamdict" "$U/DICT/enamdict"
# The radical file comes converted from the caller's copy, as for anyone (about 200 KB).
cache="${XDG_CACHE_HOME:-${HOME:-/nonexistent}/.cache}"
user() { env -u MIRUDEX_HOME -u XDG_DATA_HOME HOME="$work/user" XDG_RUNTIME_DIR="$work/user/run" \
    XDG_CACHE_HOME="$cache" QT_QPA_PLATFORM=offscreen "$@"; }
written() { find "$U" -type f -printf '%s\n' | awk '{n += $1} END {print n + 0}'; }
out="$(user "$R/usr/bin/mirudex-lookup" ねこ)"
contains "new user: the look-up finds ねこ" "猫 (ねこ) :: cat" "$out"
check "new user: no index files of their own" "" "$(ls "$U/DICT" | grep -E '\.mx[is]$')"
# The desktop program's first start, up to its first search (the first-time
# messages already seen: they would wait for a click).
printf '%s\n' 'KEY_START :: Misc' '	BOOL :: FirstTime :: FALSE' 'KEY_STOP' > "$U/Options.mxreg"
user "$R/usr/bin/mirudex" ねこ >"$work/desktop.out" 2>&1 &
desktop=$!
for _ in $(seq 300); do
    iconv -f UTF-16LE -t UTF-8 "$U/out.uni.txt" 2>/dev/null | grep -qF "Text exists: ねこ" && break
    sleep 0.1
done
contains "new user: the first start searched ねこ" "Text exists: ねこ" \
    "$(iconv -f UTF-16LE -t UTF-8 "$U/out.uni.txt" 2>/dev/null)"
kill -TERM "$desktop" 2>/dev/null; wait "$desktop" 2>/dev/null
check "new user: the first start made no index files" "" "$(ls "$U/DICT" | grep -E '\.mx[is]$')"
check "new user: under 1 MB written (saved at the exit too)" yes "$([ "$(written)" -lt 1048576 ] && echo yes)"
echo "new user: $(written) bytes written in the working folder: $(cd "$U" && find . -type f | sort | xargs)"

# The dictionary package is upgraded: its trigger makes the shared index again.
before="$(stat -c %Y.%s "$shared/edict.mxi")"
dictionary_package 2 '寝子 [ねこ] /(n) sleeping child/' '猫 [ねこ] /(n) cat/(P)/' '犬 [いぬ] /(n) dog/(P)/'
sleep 1
in_root -i "$work/dictpkg/edict_2.deb"
check "the upgrade's trigger made the shared index again" yes \
    "$([ "$(stat -c %Y.%s "$shared/edict.mxi")" != "$before" ] && echo yes)"
out="$(user "$R/usr/bin/mirudex-lookup" ねこ)"
contains "after the upgrade: the new entry is found" "寝子 (ねこ) :: sleeping child" "$out"
check "after the upgrade: still no index files of the user's own" "" "$(ls "$U/DICT" | grep -E '\.mx[is]$')"

in_root -r mirudex; status=$?
check "dpkg removes the package" 0 "$status"
check "postrm: the shared folder is gone" no "$([ -e "$shared" ] && echo yes || echo no)"

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
