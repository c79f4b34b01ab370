#!/usr/bin/env bash
# mirudex-lookup from a terminal: the text modes, a look-up in a working
# directory with a small dictionary, its options and exit statuses, and (when
# prepared) a look-up on Debian's dictionaries.
#   cli_test.sh PATH-TO-mirudex-lookup SOURCE-DIR
set -u
. "$(dirname "$0")/../support/checks.sh"
LOOKUP="$1"
SRC="$2"


work="$(mktemp -d "${TMPDIR:-/tmp}/mirudex-cli-XXXXXX")"
trap 'rm -rf "$work"' EXIT
cd "$work"
# The working folder comes from the rules alone: nothing from the caller's environment.
unset MIRUDEX_HOME
export XDG_DATA_HOME="$work/xdg" XDG_CACHE_HOME="$work/cache"

# The terminal tool's own options.
help="$("$LOOKUP" --help)"; status=$?
check "--help: status 0" 0 "$status"
for option in --kana --romaji --read --variants --show --workdir --no-kana-insensitive --no-words-only "Exit status"; do
    contains "--help names $option" "$option" "$help"
done
check "-h is --help" "$help" "$("$LOOKUP" -h)"
version="$("$LOOKUP" --version)"; status=$?
check "--version: status 0 and the program's name" "0 mirudex-lookup" "$status ${version%% *}"

# Text modes.
check "kana" "しゃしん" "$("$LOOKUP" --kana shashin)"
check "kana, upper case is katakana" "カタカナ" "$("$LOOKUP" --kana KATAKANA)"
check "romaji" "neko" "$("$LOOKUP" --romaji ねこ)"
variants="$("$LOOKUP" --variants 食べました --rules "$SRC/data/fuzzysearch.uni.dat")"
check "variants: the text first" "食べました" "$(head -1 <<<"$variants")"
contains "variants: the dictionary form" "食べる" "$variants"
contains "variants after romaji conversion" "たべる" "$("$LOOKUP" --variants tabemashita --convert --rules "$SRC/data/fuzzysearch.uni.dat")"

# Text that is not UTF-8 is refused with a clear message, whatever the mode.
for bytes in '\xc0\xaf' '\xed\xa0\x80' '\xf4\x90\x80\x80' 'a\xe7\x8c'; do
    for mode in --kana --romaji --variants; do
        err="$("$LOOKUP" "$mode" "$(printf "$bytes")" 2>&1 >/dev/null)"; status=$?
        check "$mode refuses $bytes: status 2" 2 "$status"
        contains "$mode refuses $bytes: the message" "the text is not valid UTF-8" "$err"
    done
done

# Rules that only lengthen their text end at the bound of variants.
printf '＿る:＿られる,＿させる\n' | iconv -f UTF-8 -t UTF-16LE > grow.dat
printf '＿:＿あ,＿い\n' | iconv -f UTF-8 -t UTF-16LE > double.dat
check "growing rules: bounded" 256 "$(timeout 20 "$LOOKUP" --variants 食べる --rules grow.dat | wc -l)"
check "doubling rules: bounded" 256 "$(timeout 20 "$LOOKUP" --variants 食べる --rules double.dat | wc -l)"

# A working directory with a small dictionary (stored as EUC-JP, as EDICT is).
mkdir -p DICT
printf '%s\n' \
    '猫 [ねこ] /(n) cat/(P)/' \
    '子猫 [こねこ] /(n) kitten/' \
    '走る [はしる] /(v5r,vi) to run/(P)/' \
    '本 [ほん] /(n) book/main/' \
    '割合 [わりあい] /(n) rate of 100%/a back\slash rate/' \
    '取る [とる] /(v5r,vt) (1) to take/to pick up/(v5r,vt) (2) (col) to steal/(v5r,vt) (3) to take (notes) (col)/(P)/' |
    iconv -f UTF-8 -t EUC-JP > DICT/edict
printf '%s\n' '猫 U732b S11 F1702 ビョウ ねこ {cat}' | iconv -f UTF-8 -t EUC-JP > DICT/kanjidic
cp "$SRC/data/partsofspeech.mxf" "$SRC/data/fuzzysearch.uni.dat" .
# An options file makes this a prepared folder: the current directory is the
# working folder, and the defaults fill in every item the file lacks.
options_file() { printf '%s\n' 'KEY_START :: Misc' 'KEY_STOP' "$@" > Options.mxreg; }
options_file

out="$("$LOOKUP" ねこ)"; status=$?
check "exact kana look-up" "猫 (ねこ) :: cat" "$out"
check "found: status 0" 0 "$status"
check "the options file is not written" "$(printf '%s\n' 'KEY_START :: Misc' 'KEY_STOP')" "$(cat Options.mxreg)"
check "the index file is written" "yes" "$([ -e DICT/edict.mxi ] && echo yes || echo no)"
check "beginning type" "$(printf '猫 (ねこ) :: cat')" "$("$LOOKUP" --type begin ね)"
check "middle type, a new user's order: the word itself first" "$(printf '猫 (ねこ) :: cat\n子猫 (こねこ) :: kitten')" "$("$LOOKUP" --type middle ね)"
check "middle type, sorted by reading" "$(printf '子猫 (こねこ) :: kitten\n猫 (ねこ) :: cat')" "$("$LOOKUP" --sort kana --type middle ね)"
check "English by automatic choice" "走る (はしる) :: to run" "$("$LOOKUP" --type middle run)"
check "romaji conversion" "本 (ほん) :: book | main" "$("$LOOKUP" --convert --lang jp hon)"
check "maximum and the truncation line" "$(printf '猫 (ねこ) :: cat\n-Results truncated-')" "$("$LOOKUP" --max 1 --type middle ね)"
check "the index's companion file is written" "yes" "$([ -e DICT/edict.mxs ] && echo yes || echo no)"
check "English: the maximum keeps the most relevant" "$(printf '猫 (ねこ) :: cat\n-Results truncated-')" \
    "$("$LOOKUP" --lang en --type middle --max 1 cat)"
# An English look-up is printed straight from the dictionary's lines; with
# --kanji it takes the program's own route (the kanji follow the entries).
for text in cat rate take; do
    check "English printed from the lines equals the program's entries: $text" "$("$LOOKUP" --lang en --kanji --max -1 "$text" | head -n 1)" "$("$LOOKUP" --lang en --max -1 "$text")"
done
check "sorted by relevance first" "$(printf '猫 (ねこ) :: cat\n子猫 (こねこ) :: kitten')" \
    "$("$LOOKUP" --type middle --sort relevance ね)"
check "an unknown sort key" 2 "$("$LOOKUP" --sort size ね >/dev/null 2>&1; echo $?)"
json="$("$LOOKUP" --json 猫)"
check "json" '{"common":true,"info":["noun (common) (futsuumeishi)"],"kana":"ねこ","meanings":["cat"],"senses":[{"descriptions":["noun (common) (futsuumeishi)"],"glosses":["cat"],"tags":["n"]}],"word":"猫"}' "$(sed 's/"info":\[[^]]*\]/"info":["noun (common) (futsuumeishi)"]/' <<<"$json")"
contains "json has the marker's description" '"info":[' "$json"
# Each sense with its own glosses and markers, each once; the flat fields
# stay, without a doubled blank where a marker was taken out.
json="$("$LOOKUP" --json 取る)"
check "json senses: tags and glosses of each sense" "v5r,vt:to take|to pick up v5r,vt,col:to steal v5r,vt,col:to take (notes)" \
    "$(jq -r '.senses | map((.tags | join(",")) + ":" + (.glosses | join("|"))) | join(" ")' <<<"$json")"
check "json senses: a description for each tag" "transitive verb|colloquialism" \
    "$(jq -r '.senses[1].descriptions[1:] | join("|")' <<<"$json")"
check "json: the flat meanings keep their numbers, one blank each" "(1) to take|to pick up|(2) to steal|(3) to take (notes) " \
    "$(jq -r '.meanings | join("|")' <<<"$json")"
check "json: flat info keeps every marker and the common word" 9 "$(jq -r '.info | length' <<<"$json")"
options_file 'KEY_START :: Results' '	KEY_START :: Copy' '		STRING :: Format :: {%word\t%senses}' '	KEY_STOP' 'KEY_STOP'
check "the copy format's %senses" "$(printf '取る\t(v5r) (vt) (1) to take | to pick up; (2) (col) to steal; (3) (col) to take (notes)')" "$("$LOOKUP" 取る)"
check "%senses in an English look-up printed from the entries" "$(printf '取る\t(v5r) (vt) (1) to take | to pick up; (2) (col) to steal; (3) (col) to take (notes)')" "$("$LOOKUP" --lang en steal)"
options_file
# --read: the text's words, one a line (surface, dictionary form, reading, first meaning).
out="$("$LOOKUP" --read 子猫が走りました。本)"; status=$?
check "read: status 0" 0 "$status"
check "read: one line a word" "$(printf '子猫\t子猫\tこねこ\tkitten\nが\t\t\t\n走りました\t走る\tはしる\tto run\n。\t\t\t\n本\t本\tほん\tbook')" "$out"
json="$("$LOOKUP" --read --json 'ねこ 12')"
check "read --json: every line parses" "true" "$(jq -R 'fromjson | type == "object"' <<<"$json" 2>&1 | sort -u)"
check "read --json: surface, word, kana, reading, meanings" "$(printf 'ねこ|猫|ねこ|ねこ|cat\n ||||\n12||||')" \
    "$(jq -r '[.surface, .word, .kana, .reading, (.meanings | join(","))] | join("|")' <<<"$json")"
check "read: the surfaces give the text back" "Cats: 猫と子猫、2匹" "$("$LOOKUP" --read --json 'Cats: 猫と子猫、2匹' | jq -r .surface | paste -sd '')"
check "read: nothing found, status 1" 1 "$("$LOOKUP" --read いぬ >/dev/null; echo $?)"
check "read from standard input, one text a line" "猫 本" "$(printf '猫\n\n本\n' | "$LOOKUP" --read --json | jq -r .word | xargs)"
check "read: a text beginning with a prefix is read as it stands" "EN:" "$("$LOOKUP" --read --json EN:猫 | jq -r .surface | head -n 2 | paste -sd '')"
check "read with --kana refused" 2 "$("$LOOKUP" --kana --read ねこ >/dev/null 2>&1; echo $?)"
contains "kanji results" "$(printf '猫\tビョウ\tねこ\tcat\t11\t1702')" "$("$LOOKUP" --kanji --lang kanji cat)"
check "a text beginning with a dash after --" "1" "$("$LOOKUP" -- -x >/dev/null; echo $?)"
"$LOOKUP" いぬ >/dev/null; check "nothing found: status 1" 1 $?
"$LOOKUP" --type sideways ねこ >/dev/null 2>&1; check "usage error: status 2" 2 $?
# No text, and standard input a terminal: a usage error (under script(1)).
if command -v script >/dev/null; then
    script -qec "$LOOKUP >/dev/null 2>&1; echo status \$?" /dev/null </dev/null > typed.out
    contains "no text on a terminal: status 2" "status 2" "$(tr -d '\r' < typed.out)"
fi
err="$("$LOOKUP" "$(printf 'a\xc0\xafb')" 2>&1 >/dev/null)"; status=$?
check "look-up of text that is not UTF-8: status 2" 2 "$status"
err="$("$LOOKUP" --show "$(printf 'a\xc0\xafb')" 2>&1 >/dev/null)"; status=$?
check "--show with text that is not UTF-8: status 2 and the message" \
    "2 mirudex-lookup: the text is not valid UTF-8 (a byte sequence that is no character at byte 2)" "$status $err"
check "look-up of text that is not UTF-8: the message" \
    "mirudex-lookup: the text is not valid UTF-8 (a byte sequence that is no character at byte 2)" "$err"
mv DICT/edict DICT/edict.away
err="$("$LOOKUP" ねこ 2>&1)"; status=$?
check "missing dictionary: status 2" 2 "$status"
contains "missing dictionary: a clear message" "DICT" "$err"
mv DICT/edict.away DICT/edict
rm Options.mxreg && mkdir Options.mxreg
"$LOOKUP" ねこ >/dev/null 2>&1; check "unreadable options: status 2" 2 $?
rmdir Options.mxreg
yes 'KEY_START :: d' | head -25000 > Options.mxreg
err="$("$LOOKUP" ねこ 2>&1)"; status=$?
check "options nested 25,000 deep: status 2, no crash" 2 "$status"
contains "options nested too deep: a clear message" "cannot read Options.mxreg (its keys are nested too deep" "$err"
rm Options.mxreg && options_file

# Paths that cannot even be looked at end nothing with an exception.
mv DICT/edict.mxi DICT/edict.mxi.away
ln -s edict.mxi DICT/edict.mxi
out="$("$LOOKUP" ねこ 2>&1)"; status=$?
check "index linking to itself: found" "0 猫 (ねこ) :: cat" "$status $out"
check "index linking to itself: replaced by a real index" "no" "$([ -L DICT/edict.mxi ] && echo yes || echo no)"
mv DICT/edict DICT/edict.away && ln -s edict DICT/edict
err="$("$LOOKUP" ねこ 2>&1)"; status=$?
check "dictionary linking to itself: status 2" 2 "$status"
contains "dictionary linking to itself: a clear message" "cannot open dictionary file: DICT/edict" "$err"
rm DICT/edict && mv DICT/edict.away DICT/edict

# A switched-off dictionary whose file is gone does not stop a look-up.
printf '%s\n' 'KEY_START :: Dictionaries' '	KEY_START :: EDICT' \
    '		KEY_START :: 0' '			STRING :: Path :: DICT\edict' '			STRING :: Name :: Standard EDICT' \
    '			STRING :: Encoding :: EUC-JP' '			BOOL :: On :: TRUE' '		KEY_STOP' \
    '		KEY_START :: 1' '			STRING :: Path :: DICT\gone' '			STRING :: Name :: Gone' \
    '			STRING :: Encoding :: EUC-JP' '			BOOL :: On :: FALSE' '		KEY_STOP' \
    '		INT :: Number :: 2' '	KEY_STOP' 'KEY_STOP' > Options.mxreg
out="$("$LOOKUP" ねこ 2>&1)"; status=$?
check "switched-off dictionary missing: found" "0 猫 (ねこ) :: cat" "$status $out"
# Set-up errors: a dictionary that is a folder, an entry without its path.
sed -i 's/DICT\\gone/DICT/; 1,/On :: FALSE/s/On :: FALSE/On :: TRUE/' Options.mxreg
err="$("$LOOKUP" ねこ 2>&1)"; status=$?
check "a dictionary that is a folder: status 2" 2 "$status"
contains "a dictionary that is a folder: the message" "the dictionary file is a folder: DICT" "$err"
grep -v 'Path :: DICT$' Options.mxreg > options.tmp && mv options.tmp Options.mxreg
err="$("$LOOKUP" ねこ 2>&1)"; status=$?
check "a dictionary entry without its path: status 2 and the item" \
    '2 mirudex-lookup: Options.mxreg lacks Dictionaries\EDICT\1\Path' "$status $err"
options_file

# Settings from the options file, switched on or off for one look-up.
options_file 'KEY_START :: Search' '	KEY_START :: Toolbars' '		BOOL :: Kana-sensitive :: TRUE' \
    '		BOOL :: Word :: TRUE' '	KEY_STOP' 'KEY_STOP'
"$LOOKUP" ネコ >/dev/null; check "kana-sensitive from the options" 1 $?
"$LOOKUP" --kana-insensitive --no-words-only ネコ >/dev/null; check "--kana-insensitive" 0 $?
"$LOOKUP" ねこ >/dev/null; check "words only (headwords) from the options" 1 $?
check "--no-words-only" "猫 (ねこ) :: cat" "$("$LOOKUP" --no-words-only ねこ)"
options_file
"$LOOKUP" ネコ >/dev/null; check "kana-insensitive by default" 0 $?
"$LOOKUP" --no-kana-insensitive ネコ >/dev/null; check "--no-kana-insensitive" 1 $?
"$LOOKUP" --words-only ねこ >/dev/null; check "--words-only" 1 $?

# Kanji searches, limits, empty texts and "--".
out="$("$LOOKUP" KN:cat)"; status=$?
check "KN: without --kanji prints the kanji" "$(printf '0 猫\tビョウ\tねこ\tcat\t11\t1702')" "$status $out"
# A kanji search alone reads the kanji dictionary (and writes its index file),
# not the word dictionaries; a later text of the same run searches those too.
rm -f DICT/edict.mxi DICT/edict.mxs DICT/kanjidic.mxk
"$LOOKUP" KN:cat >/dev/null
check "KN: alone: the kanji index file only" "no yes" \
    "$([ -e DICT/edict.mxi ] && echo yes || echo no) $([ -e DICT/kanjidic.mxk ] && echo yes || echo no)"
check "KN: and then a word, one run" "$(printf '猫\tビョウ\tねこ\tcat\t11\t1702\n猫 (ねこ) :: cat')" \
    "$(printf 'KN:cat\nねこ\n' | "$LOOKUP" -)"
# 0 is no maximum, on the command line and in the options file, as in the program's Results box.
out="$("$LOOKUP" --sort kana --max 0 --type middle ね)"; status=$?
check "--max 0: no maximum" "$(printf '0 子猫 (こねこ) :: kitten\n猫 (ねこ) :: cat')" "$status $out"
options_file 'KEY_START :: Results' '	INT :: Size :: 0' 'KEY_STOP'
check "Size :: 0 in the options: no maximum" "$(printf '子猫 (こねこ) :: kitten\n猫 (ねこ) :: cat')" "$("$LOOKUP" --sort kana --type middle ね)"
check "--max 1 over Size :: 0" "$(printf '猫 (ねこ) :: cat\n-Results truncated-')" "$("$LOOKUP" --max 1 --type middle ね)"
options_file
for bad in '' x 1x -; do
    err="$("$LOOKUP" --max "$bad" ねこ 2>&1 >/dev/null)"; status=$?
    check "--max '$bad': status 2" 2 "$status"
    contains "--max '$bad': the message" "--max needs a" "$err"
done
contains "--help says what 0 is" "0: no maximum" "$help"

# --json: every line on standard output is JSON, also when the maximum cut
# the list; the note goes to standard error.
json="$("$LOOKUP" --json --max 1 --type middle ね 2>json.err)"; status=$?
check "--json cut short: status 0" 0 "$status"
check "--json cut short: every line parses" "true" "$(jq -R 'fromjson | type == "object"' <<<"$json" 2>&1 | sort -u)"
check "--json cut short: the note on standard error" "-Results truncated-" "$(cat json.err)"
json="$("$LOOKUP" --json --kanji --lang kanji cat)"
check "--json kanji: every line parses" "true" "$(jq -R 'fromjson | type == "object"' <<<"$json" 2>&1 | sort -u)"
check "--json kanji: the kanji" "猫" "$(jq -r .kanji <<<"$json")"

# Every write is checked: a full output ends with a message and status 2.
for args in "ねこ" "--json ねこ" "--kana neko" "--help" "--lang kanji cat" "--max 0 --type middle ね"; do
    err="$("$LOOKUP" $args 2>&1 >/dev/full)"; status=$?
    check "$args > /dev/full: status 2" 2 "$status"
    contains "$args > /dev/full: the message" "mirudex-lookup: write error: No space left on device" "$err"
done
err="$(yes ねこ | head -n 20000 | "$LOOKUP" 2>&1 >/dev/full)"; status=$?
check "20,000 look-ups from standard input > /dev/full: status 2, one message" \
    "2 mirudex-lookup: write error: No space left on device" "$status $err"

# Texts from standard input, one a line: with no text, or "-".
out="$(printf 'ねこ\n\nいぬ\r\nはしる\n' | "$LOOKUP")"; status=$?
check "standard input: each line looked up" "$(printf '0 猫 (ねこ) :: cat\n走る (はしる) :: to run')" "$status $out"
out="$(printf 'いぬ\n' | "$LOOKUP" -)"; status=$?
check "standard input with -: nothing found, status 1" "1 " "$status $out"
check "standard input: a last line without its end" "猫 (ねこ) :: cat" "$(printf 'ねこ' | "$LOOKUP" --json - | jq -r '.word + " (" + .kana + ") :: " + .meanings[0]')"
"$LOOKUP" </dev/null; check "empty standard input: nothing found" 1 $?
err="$(printf 'ねこ\nKN:\n' | "$LOOKUP" 2>&1 >/dev/null)"; status=$?
check "standard input: a line that is only a prefix: status 2" 2 "$status"
contains "standard input: a line that is only a prefix: the message" "nothing to look up after the prefix" "$err"
check "-- - looks up '-'" 1 "$(echo ねこ | "$LOOKUP" --lang jp -- - >/dev/null; echo $?)"
check "--kana from standard input" "$(printf 'しゃしん\n\nねこ')" "$(printf 'shashin\n\nneko\n' | "$LOOKUP" --kana)"
check "--romaji -" "neko" "$(echo ねこ | "$LOOKUP" --romaji -)"

# --option=value is --option value.
check "--type=middle --max=1" "$(printf '猫 (ねこ) :: cat\n-Results truncated-')" "$("$LOOKUP" --type=middle --max=1 ね)"
check "--lang=en --sort=relevance" "猫 (ねこ) :: cat" "$("$LOOKUP" --lang=en --sort=relevance cat)"
check "--workdir=DIR" "猫 (ねこ) :: cat" "$(cd / && "$LOOKUP" --workdir="$work" ねこ)"
check "--variants --rules=FILE" "食べました" "$("$LOOKUP" --variants --rules="$SRC/data/fuzzysearch.uni.dat" 食べました | head -1)"
check "--type= (empty)" 2 "$("$LOOKUP" --type= ねこ >/dev/null 2>&1; echo $?)"
err="$("$LOOKUP" --json=yes ねこ 2>&1)"; status=$?
check "--json=yes: refused" "2" "$status"
contains "--json=yes: the message" "--json takes no value" "$err"

# Several substrings at once: the words of a sentence, each once.
out="$("$LOOKUP" --sort kana --substrings 子猫が本を走る)"; status=$?
check "--substrings: the words of a sentence, each once" \
    "$(printf '0 子猫 (こねこ) :: kitten\n猫 (ねこ) :: cat\n走る (はしる) :: to run\n本 (ほん) :: book | main')" "$status $out"
check "--substrings: the same with --kanji" "$out" "$("$LOOKUP" --sort kana --substrings --kanji 子猫が本を走る | grep ' :: ')"
check "--substrings: each entry once" "$(printf '子猫 (こねこ) :: kitten\n猫 (ねこ) :: cat')" "$("$LOOKUP" --sort kana --substrings ねこねこ)"
check "--substrings, --json: each entry once" "子猫 猫" "$("$LOOKUP" --sort kana --substrings --json ねこねこ | jq -r .word | xargs)"
check "--substrings ねこ: the whole text first" "猫 (ねこ) :: cat" "$("$LOOKUP" --substrings ねこ)"
for text in KN: EN: 'JP:KN:' ''; do
    "$LOOKUP" "$text" >/dev/null 2>&1; check "nothing to look up in '$text': status 2" 2 $?
done
"$LOOKUP" -- --kana >/dev/null; check "-- --kana is a look-up of '--kana'" 1 $?
check "--kana -- --romaji converts '--romaji'" "ーーろまじ" "$("$LOOKUP" --kana -- --romaji)"
"$LOOKUP" --kana ねこ --json >/dev/null 2>&1; check "look-up options refused with --kana" 2 $?
"$LOOKUP" --workdir >/dev/null 2>&1; check "--workdir without a folder" 2 $?

# The working folder: --workdir and MIRUDEX_HOME name it from anywhere; a
# folder that is a file is a set-up error.
mkdir "$work/elsewhere" && cd "$work/elsewhere"
check "--workdir" "猫 (ねこ) :: cat" "$("$LOOKUP" --workdir "$work" ねこ)"
check "MIRUDEX_HOME" "猫 (ねこ) :: cat" "$(MIRUDEX_HOME="$work" "$LOOKUP" ねこ)"
check "--workdir before MIRUDEX_HOME" "猫 (ねこ) :: cat" "$(MIRUDEX_HOME=/nonexistent/x "$LOOKUP" --workdir .. ねこ)"
# A damaged index file (emptied, cut short) is made again without a question.
for damage in empty cut; do
    [ -s "$work/DICT/edict.mxi" ] || { check "index file made ($damage)" yes no; continue; }
    if [ "$damage" = empty ]; then : > "$work/DICT/edict.mxi"; else truncate -s 37 "$work/DICT/edict.mxi"; fi
    for round in 1 2; do
        out="$("$LOOKUP" --workdir "$work" ねこ 2>"$work/err")"
        check "$damage index file ($round): found" "猫 (ねこ) :: cat" "$out"
        check "$damage index file ($round): not asked" "" "$(grep -i 'erase' "$work/err")"
    done
    check "$damage index file: made again" yes "$([ "$(stat -c %s "$work/DICT/edict.mxi")" -gt 37 ] && echo yes)"
done
touch afile
err="$("$LOOKUP" --workdir afile ねこ 2>&1)"; status=$?
check "a working folder that is a file: status 2" 2 "$status"
contains "a working folder that is a file: the message" "is not a folder" "$err"
cd "$work"

# A JMdict file imported into DICT/ and registered as the next dictionary.
cd "$work"
err="$("$LOOKUP" --workdir "$work" --import-jmdict "$SRC/tests/data/jmdict-sample.xml" 2>&1 >/dev/null)"; status=$?
check "import: status 0" 0 "$status"
contains "import: progress on standard error" "Importing JMdict... 100%" "$err"
contains "import: what was written" "12 entries written to DICT/jmdict-sample.edict2 (added as dictionary 2)" "$err"
contains "import: registered" "STRING :: Path :: DICT\\jmdict-sample.edict2" "$(cat Options.mxreg)"
contains "import: searched" "thank you | thanks" "$("$LOOKUP" --lang en --type middle "thank you")"
err="$("$LOOKUP" --import-jmdict "$SRC/tests/data/jmdict-sample.xml" 2>&1 >/dev/null)"
contains "import again: replaces, not added twice" "(replacing dictionary 2)" "$err"
check "import again: still three dictionaries" 1 "$(grep -c 'INT :: Number :: 3' Options.mxreg)"
# Names the options file cannot hold as plain text: stored escaped, read back
# exactly, registered once however often imported.
cp "$SRC/tests/data/jmdict-sample.xml" "JM::dict.xml"
cp "$SRC/tests/data/jmdict-sample.xml" "$(printf 'new\nline.xml')"
for round in 1 2; do
    for name in "JM::dict.xml" "$(printf 'new\nline.xml')"; do
        "$LOOKUP" --import-jmdict "$name" >/dev/null 2>&1; check "import of '$name' ($round): status 0" 0 $?
    done
done
check "names with :: and a line end: five dictionaries" 1 "$(grep -c 'INT :: Number :: 5' Options.mxreg)"
contains "a name with :: escaped" 'STRING :: Path :: ESCAPED :: DICT\JM%3A%3Adict.edict2' "$(cat Options.mxreg)"
contains "a name with a line end escaped" 'STRING :: Path :: ESCAPED :: DICT\new%0Aline.edict2' "$(cat Options.mxreg)"
"$LOOKUP" ねこ >/dev/null 2>&1; check "the options file still reads" 0 $?
rm -f "JM::dict.xml" "$(printf 'new\nline.xml')" DICT/JM* DICT/new*
# Entries left out are counted in what the import says.
{
    printf '<JMdict><entry><ent_seq>1</ent_seq><r_ele><reb>ねこ</reb></r_ele><sense><gloss>cat</gloss></sense></entry>'
    printf '<entry><ent_seq>2</ent_seq><r_ele><reb>うま</reb></r_ele><sense><gloss>%s</gloss></sense></entry>' \
        "$(head -c 70000 /dev/zero | tr '\0' h)"
    printf '<entry><ent_seq>3</ent_seq><r_ele><reb>いぬ</reb></r_ele><sense><gloss xml:lang="ger">Hund</gloss>'
    printf '</sense></entry></JMdict>'
} > left-out.xml
err="$("$LOOKUP" --import-jmdict left-out.xml 2>&1 >/dev/null)"; status=$?
check "import leaving entries out: status 0" 0 "$status"
contains "import: entries without glosses counted" "1 entries without glosses in 'eng' left out" "$err"
contains "import: entries too large counted" "1 entries larger than an entry may be left out" "$err"
rm -f left-out.xml DICT/left-out*
printf 'not xml' > broken.xml
err="$("$LOOKUP" --import-jmdict broken.xml 2>&1)"; status=$?
check "import of a damaged file: status 2" 2 "$status"
contains "import of a damaged file: why" "is damaged" "$err"
check "usage of --import-jmdict" 2 "$("$LOOKUP" --import-jmdict 2>/dev/null; echo $?)"
check "--language only with --import-jmdict" 2 "$("$LOOKUP" --language ger ねこ 2>/dev/null; echo $?)"
contains "--help names --import-jmdict" "--import-jmdict FILE [--language LANG]" "$help"
rm -f Options.mxreg broken.xml DICT/jmdict-sample.edict2*

# --build-indexes: the shared index files of dictionaries, made in a folder
# of their own; files that fit are kept, a dictionary that is gone takes its
# files along, and a look-up of a program not installed by the package (this
# one) never reads them.
mkdir -p "$work/sys" && printf '%s\n' '猫 [ねこ] /(n) cat/(P)/' | iconv -f UTF-8 -t EUC-JP > "$work/sys/edict"
err="$("$LOOKUP" --build-indexes "$work/shared" "$work/sys/edict" "$work/sys/enamdict" 2>&1)"; status=$?
check "--build-indexes: status 0 (a dictionary that is not there is no error)" 0 "$status"
contains "--build-indexes: says what it made" "$work/sys/edict: 1 entries, index files in $work/shared" "$err"
check "--build-indexes: the link and the files" "edict edict.mxi edict.mxs" "$(ls "$work/shared" | xargs)"
check "--build-indexes: the link leads to the dictionary" "$work/sys/edict" "$(readlink "$work/shared/edict")"
made="$(stat -c %i.%Y "$work/shared/edict.mxs")"
sleep 1
"$LOOKUP" --build-indexes "$work/shared" "$work/sys/edict" 2>/dev/null
check "--build-indexes: files that fit are kept" "$made" "$(stat -c %i.%Y "$work/shared/edict.mxs")"
mv "$work/sys/edict" "$work/sys/gone"
"$LOOKUP" --build-indexes "$work/shared" "$work/sys/edict" 2>/dev/null; status=$?
check "--build-indexes: a dictionary gone takes its files along" "0 " "$status $(ls -A "$work/shared")"
printf 'x\n' > "$work/sys/edict"
err="$("$LOOKUP" --build-indexes "$work/shared" "$work/sys/edict" 2>&1)"; status=$?
check "--build-indexes: a file without entries fails" 2 "$status"
contains "--build-indexes: why" "no entries could be read" "$err"
check "--build-indexes needs a folder" 2 "$("$LOOKUP" --build-indexes 2>/dev/null; echo $?)"
check "--build-indexes is a mode of its own" 2 "$("$LOOKUP" --build-indexes "$work/shared" --kana x 2>/dev/null; echo $?)"
check "--build-indexes takes no working folder" 2 \
    "$("$LOOKUP" --build-indexes "$work/shared" --workdir "$work" 2>/dev/null; echo $?)"
contains "--help names --build-indexes" "--build-indexes FOLDER [FILE...]" "$help"

# Debian's dictionaries, when prepared.
real="${MIRUDEX_REAL_DATA:-$SRC/build-data}"
if [ -e "$real/DICT/edict" ]; then
    mkdir -p "$work/real/DICT" && cd "$work/real"
    ln -s "$real/DICT/edict" DICT/edict
    ln -s "$real/DICT/kanjidic" DICT/kanjidic
    cp "$SRC/data/partsofspeech.mxf" "$SRC/data/fuzzysearch.uni.dat" .
    printf '%s\n' 'KEY_START :: Misc' 'KEY_STOP' > Options.mxreg
    contains "real: ねこ" "猫 (ねこ) :: (1) cat" "$("$LOOKUP" ねこ)"
    contains "real: 日本" "日本 (にほん) :: Japan" "$("$LOOKUP" 日本)"
    contains "real: reverse conjugation" "食べる (たべる)" "$("$LOOKUP" --fuzzy 食べました)"
    check "real: read a sentence" "猫|猫 が|が 魚|魚 を|を 食べました|食べる" \
        "$("$LOOKUP" --read --json 猫が魚を食べました | jq -r '.surface + "|" + .word' | xargs)"
    contains "real: English" "愛猫家 (あいびょうか) :: cat lover" "$("$LOOKUP" --lang en cat)"
    # English printed from the dictionary's lines against the entries the program fills.
    for args in "--type exact to" "--type middle --sort word water" "--type end --sort relevance ing"; do
        streamed="$("$LOOKUP" --lang en --max -1 $args)"
        filled="$("$LOOKUP" --lang en --max -1 --kanji $args | head -n "$(wc -l <<<"$streamed")")"
        check "real: English from the lines equals the filled entries ($args)" "yes" \
            "$([ -n "$streamed" ] && [ "$streamed" = "$filled" ] && echo yes || echo no)"
    done
    check "real: the second run reads the index file" "yes" "$([ -s DICT/edict.mxi ] && echo yes || echo no)"
    contains "real: from the index" "猫 (ねこ) :: (1) cat" "$("$LOOKUP" ねこ)"
fi

# An unprepared folder: the default working folder is made from Debian's
# dictionaries and the program's own files, and used from then on.
if [ -e /usr/share/edict/edict ] && [ -e /usr/share/edict/kanjidic ]; then
    mkdir -p "$work/empty" && cd "$work/empty"
    contains "default folder: found" "猫 (ねこ) :: (1) cat" "$("$LOOKUP" ねこ)"
    check "default folder: dictionaries linked" "/usr/share/edict/edict /usr/share/edict/kanjidic" \
        "$(readlink "$XDG_DATA_HOME/mirudex/DICT/edict") $(readlink "$XDG_DATA_HOME/mirudex/DICT/kanjidic")"
    check "default folder: the program's files" "yes" \
        "$([ -s "$XDG_DATA_HOME/mirudex/partsofspeech.mxf" ] && [ -s "$XDG_DATA_HOME/mirudex/fuzzysearch.uni.dat" ] && echo yes)"
    check "default folder: nothing written where the command was given" "" "$(ls -A)"
fi

report
