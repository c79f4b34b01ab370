#pragma once
// Character classes and per-character mappings over single UTF-16 code units:
// fixed ranges only, no locale and no Unicode tables. The search decides with
// them whether a text is English or Japanese and a reading or a written form,
// folds hiragana and katakana together, and moves ASCII to and from its
// fullwidth forms. All functions are pure and safe from any thread.

#include <string>
#include <string_view>

namespace mirudex::text {

// Between a hiragana and the katakana of the same sound (あ + 0x60 = ア).
inline constexpr char16_t kKatakanaShift = 0x60;
// The offset of the fullwidth forms of ASCII U+0021..U+007E.
inline constexpr char16_t kFullwidthOffset = 0xFEE0;
// Search wildcards: any run of characters, and exactly one character.
inline constexpr char16_t kWildcardAny = u'＿';  // U+FF3F
inline constexpr char16_t kWildcardOne = u'？';  // U+FF1F

// ぁ..ゖ; the sound marks and iteration marks U+3099..U+309F are not hiragana.
constexpr bool IsHiragana(char16_t c) { return c >= 0x3041 && c <= 0x3096; }
// The whole katakana block, ・ ー and the iteration marks included.
constexpr bool IsKatakana(char16_t c) { return c >= 0x30A0 && c <= 0x30FF; }
constexpr bool IsKana(char16_t c) { return IsHiragana(c) || IsKatakana(c); }
constexpr bool IsKanaOrWildcard(char16_t c) { return IsKana(c) || c == kWildcardOne || c == kWildcardAny; }
// Lower-case vowels only.
constexpr bool IsVowel(char16_t c) { return c == u'a' || c == u'e' || c == u'i' || c == u'o' || c == u'u'; }
// U+0020..U+007E: the space counts as printable.
constexpr bool IsPrintableAscii(char16_t c) { return c >= 0x20 && c <= 0x7E; }
constexpr bool IsUpperAscii(char16_t c) { return c >= u'A' && c <= u'Z'; }
constexpr bool IsLowerAscii(char16_t c) { return c >= u'a' && c <= u'z'; }
constexpr bool IsAsciiLetter(char16_t c) { return IsUpperAscii(c) || IsLowerAscii(c); }
constexpr bool IsFullwidthAscii(char16_t c) { return c >= 0xFF01 && c <= 0xFF5E; }

// Each mapping returns the character unchanged outside its source range,
// except ToFullwidth and ToHalfwidth, which return 0 there (no such form).
constexpr char16_t ToKatakana(char16_t c) { return IsHiragana(c) ? static_cast<char16_t>(c + kKatakanaShift) : c; }
// ー ・ and the other katakana above U+30F6 land on U+3097..U+309F, which are
// no hiragana: only good for looking a character up in the romaji table.
constexpr char16_t ToHiragana(char16_t c) { return IsKatakana(c) ? static_cast<char16_t>(c - kKatakanaShift) : c; }
constexpr char16_t ToLowerAscii(char16_t c) { return IsUpperAscii(c) ? static_cast<char16_t>(c + 0x20) : c; }
constexpr char16_t ToUpperAscii(char16_t c) { return IsLowerAscii(c) ? static_cast<char16_t>(c - 0x20) : c; }
constexpr char16_t ToFullwidth(char16_t c)
{
    return c >= 0x21 && c <= 0x7E ? static_cast<char16_t>(c + kFullwidthOffset) : char16_t{0};
}
constexpr char16_t ToHalfwidth(char16_t c)
{
    return IsFullwidthAscii(c) ? static_cast<char16_t>(c - kFullwidthOffset) : char16_t{0};
}

// Characters outside the Basic Multilingual Plane (𠮟 U+20B9F) are two code
// units, a high and a low surrogate. Every count of characters, every cut of
// a text and the wildcard that stands for one character take such a pair as
// one character; a surrogate alone is never kana, ASCII or a kanji of the
// kanji dictionary.
constexpr bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
constexpr bool IsSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }
// Units of the character that starts at pos: 2 for a whole pair, 1 for any
// other unit, 0 at or past the end.
size_t CharacterLength(std::u16string_view text, size_t pos);
// Characters in text, a pair counting once.
size_t CharacterCount(std::u16string_view text);
// The longest length of at most maxUnits units that does not cut a pair.
size_t CharacterBoundary(std::u16string_view text, size_t maxUnits);

// String tests; each is true for an empty text.
bool IsAllKana(std::u16string_view text);
bool IsAllKanaOrWildcard(std::u16string_view text);
bool IsAllPrintableAscii(std::u16string_view text);
bool HasNoUpperCase(std::u16string_view text);

// Per-string mappings; the result has the input's length.
std::u16string ToKatakana(std::u16string_view text);
std::u16string ToLowerAscii(std::u16string_view text);
std::u16string ToUpperAscii(std::u16string_view text);

// The fullwidth mapping a search text gets before it is searched: every
// character U+0021..U+007E becomes its fullwidth form, so letters and digits
// meet the fullwidth ones of the dictionaries and the typed wildcards _ and ?
// become ＿ and ？. Everything else is kept, the space included: a blank
// stays a blank, as the dictionaries write it in their few spaced headwords.
std::u16string ToFullwidthText(std::u16string_view text);

}  // namespace mirudex::text
