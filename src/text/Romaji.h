#pragma once
// Romaji to kana and, for display, kana back to romaji.
//
// The romanisation is the program's own: Kunrei-style keys ("si", "ti",
// "tu", "hu", "zi") are the syllable table's keys; Hepburn forms ("shi",
// "chi", "tsu", "fu", "ji", "sha", ...) are rewritten to them before lookup,
// and Hepburn's other habits are understood too: "tch" for a small tsu before
// "ch" (matcha), "m" for ん before b, m and p (shimbun), and "she" "che" "je"
// "ye" "tsa" ... for the sounds written with a small vowel (しぇ ちぇ);
// small kana are typed with a leading "l" or "x"; a syllable typed with any
// upper-case letter comes out in katakana. Every function is pure and may be
// called from any thread.

#include <string>
#include <string_view>

namespace mirudex::text {

// Converts a whole text. finalText is true for a text about to be searched;
// false for the live preview while typing, where a last "n" is left as a
// letter because the next key may still make it な, に, ....
// Characters that are not romaji pass through: kana unchanged, printable
// ASCII U+0021..U+007E as its fullwidth form (so _ and ? become the search
// wildcards ＿ and ？), everything else (the space included) unchanged.
std::u16string RomajiToKana(std::u16string_view text, bool finalText);

// Converts one pending syllable: empty when it has no kana, else one or two
// characters. Any upper-case letter in it gives katakana.
std::u16string SyllableToKana(std::u16string_view syllable);

// The syllable table: the kana of a lower-case key, or 0 when there is none.
// A hiragana for most keys; the katakana ヷ ヸ ヹ ヺ and ・ ー for "va" "vi"
// "ve" "vo" "*" "-".
char16_t LookupSyllable(std::u16string_view key);

// Display conversion: kana to romaji, katakana in upper case, fullwidth ASCII
// back to ASCII; characters without a romaji form (kanji) give nothing.
std::u16string KanaToRomaji(std::u16string_view text);
std::u16string KanaCharToRomaji(char16_t ch);

}  // namespace mirudex::text
