#!/usr/bin/env bash
# mirudex-lookup from a terminal: the text modes, a look-up in a working
# directory with a small dictionary, its options and exit statuses, and (when
# prepared) a look-up on Debian's dictionaries.
#   cli_test.sh PATH-TO-mirudex-lookup SOURCE-DIR
set -u
LOOKUP="$1"
SRC="$2"
failures=0
passes=0

check() {  # check NAME EXPECTED ACTUAL
    if [ "$2" == "$3" ]; then
        passes=$((passes + 1))
    else
        echo "FAIL: $1"
        echo "  expected: $2"
        echo "  actual:   $3"
        failures=$((failures + 1))
    fi
}

contains() {  # contains NAME NEEDLE HAYSTACK
    if grep -qF -- "$2" <<<"$3"; then
        passes=$((passes + 1))
    else
        echo "FAIL: $1: '$2' not in:"
        echo "$3" | head -20
        failures=$((failures + 1))
    fi
}

work="$(mktemp -d /tmp/mirudex-cli-XXXXXX)"
trap 'rm -rf "$work"' EXIT
cd "$work"

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
    '本 [ほん] /(n) book/main/' | iconv -f UTF-8 -t EUC-JP > DICT/edict
printf '%s\n' '猫 U732b S11 F1702 ビョウ ねこ {cat}' | iconv -f UTF-8 -t EUC-JP > DICT/kanjidic
cp "$SRC/data/partsofspeech.mxf" "$SRC/data/fuzzysearch.uni.dat" .

out="$("$LOOKUP" ねこ)"; status=$?
check "exact kana look-up" "猫 (ねこ) :: cat" "$out"
check "found: status 0" 0 "$status"
check "no options file is written" "no" "$([ -e Options.mxreg ] && echo yes || echo no)"
check "the index file is written" "yes" "$([ -e DICT/edict.mxi ] && echo yes || echo no)"
check "beginning type" "$(printf '猫 (ねこ) :: cat')" "$("$LOOKUP" --type begin ね)"
check "middle type, sorted by reading" "$(printf '子猫 (こねこ) :: kitten\n猫 (ねこ) :: cat')" "$("$LOOKUP" --type middle ね)"
check "English by automatic choice" "走る (はしる) :: to run" "$("$LOOKUP" --type middle run)"
check "romaji conversion" "本 (ほん) :: book | main" "$("$LOOKUP" --convert --lang jp hon)"
check "maximum and the truncation line" "$(printf '猫 (ねこ) :: cat\n-Results truncated-')" "$("$LOOKUP" --max 1 --type middle ね)"
json="$("$LOOKUP" --json 猫)"
check "json" '{"info":["noun (common) (futsuumeishi)"],"kana":"ねこ","meanings":["cat"],"word":"猫"}' "$(sed 's/"info":\[[^]]*\]/"info":["noun (common) (futsuumeishi)"]/' <<<"$json")"
contains "json has the marker's description" '"info":[' "$json"
contains "kanji results" "$(printf '猫\tビョウ\tねこ\tcat\t11\t1702')" "$("$LOOKUP" --kanji --lang kanji cat)"
check "a text beginning with a dash after --" "1" "$("$LOOKUP" -- -x >/dev/null; echo $?)"
"$LOOKUP" いぬ >/dev/null; check "nothing found: status 1" 1 $?
"$LOOKUP" --type sideways ねこ >/dev/null 2>&1; check "usage error: status 2" 2 $?
"$LOOKUP" >/dev/null 2>&1; check "no text: status 2" 2 $?
err="$("$LOOKUP" "$(printf 'a\xc0\xafb')" 2>&1 >/dev/null)"; status=$?
check "look-up of text that is not UTF-8: status 2" 2 "$status"
check "look-up of text that is not UTF-8: the message" \
    "mirudex-lookup: the text is not valid UTF-8 (a byte sequence that is no character at byte 2)" "$err"
mv DICT/edict DICT/edict.away
err="$("$LOOKUP" ねこ 2>&1)"; status=$?
check "missing dictionary: status 2" 2 "$status"
contains "missing dictionary: a clear message" "DICT" "$err"
mv DICT/edict.away DICT/edict
mkdir Options.mxreg
"$LOOKUP" ねこ >/dev/null 2>&1; check "unreadable options: status 2" 2 $?
rmdir Options.mxreg

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
rm Options.mxreg

# A JMdict file imported into DICT/ and registered as the next dictionary.
err="$("$LOOKUP" --import-jmdict "$SRC/tests/data/jmdict-sample.xml" 2>&1 >/dev/null)"; status=$?
check "import: status 0" 0 "$status"
contains "import: progress on standard error" "Importing JMdict... 100%" "$err"
contains "import: what was written" "12 entries written to DICT/jmdict-sample.edict2 (added as dictionary 2)" "$err"
contains "import: registered" "STRING :: Path :: DICT\\jmdict-sample.edict2" "$(cat Options.mxreg)"
contains "import: searched" "thank you | thanks" "$("$LOOKUP" --lang en --type middle "thank you")"
err="$("$LOOKUP" --import-jmdict "$SRC/tests/data/jmdict-sample.xml" 2>&1 >/dev/null)"
contains "import again: replaces, not added twice" "(replacing dictionary 2)" "$err"
check "import again: still three dictionaries" 1 "$(grep -c 'INT :: Number :: 3' Options.mxreg)"
printf 'not xml' > broken.xml
err="$("$LOOKUP" --import-jmdict broken.xml 2>&1)"; status=$?
check "import of a damaged file: status 2" 2 "$status"
contains "import of a damaged file: why" "is damaged" "$err"
check "usage of --import-jmdict" 2 "$("$LOOKUP" --import-jmdict 2>/dev/null; echo $?)"
rm -f Options.mxreg broken.xml DICT/jmdict-sample.edict2*

# Debian's dictionaries, when prepared.
real="${MIRUDEX_REAL_DATA:-$SRC/build-data}"
if [ -e "$real/DICT/edict" ]; then
    mkdir -p "$work/real/DICT" && cd "$work/real"
    ln -s "$real/DICT/edict" DICT/edict
    ln -s "$real/DICT/kanjidic" DICT/kanjidic
    cp "$SRC/data/partsofspeech.mxf" "$SRC/data/fuzzysearch.uni.dat" .
    contains "real: ねこ" "猫 (ねこ) :: (1) cat" "$("$LOOKUP" ねこ)"
    contains "real: 日本" "日本 (にほん) :: Japan" "$("$LOOKUP" 日本)"
    contains "real: reverse conjugation" "食べる (たべる)" "$("$LOOKUP" --fuzzy 食べました)"
    contains "real: English" "愛猫家 (あいびょうか) :: cat lover" "$("$LOOKUP" --lang en cat)"
    check "real: the second run reads the index file" "yes" "$([ -s DICT/edict.mxi ] && echo yes || echo no)"
    contains "real: from the index" "猫 (ねこ) :: (1) cat" "$("$LOOKUP" ねこ)"
fi

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
