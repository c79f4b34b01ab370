#include <string>
#include <vector>

#include "platform/api/Utf.h"
#include "text/CharClass.h"
#include "text/Romaji.h"

#include <gtest/gtest.h>

using namespace mirudex;
using namespace mirudex::text;

namespace {

std::string U8(const std::u16string& s) { return Utf16ToUtf8(s); }

TEST(CharClass, RangesAtTheirEdges)
{
    struct Case {
        char16_t c;
        bool hiragana, katakana, kanaOrWildcard, printable, fullwidthAscii;
    };
    const std::vector<Case> cases = {
        {0x3040, false, false, false, false, false}, {u'ぁ', true, false, true, false, false},
        {u'ゖ', true, false, true, false, false},    {0x3097, false, false, false, false, false},
        {u'ゝ', false, false, false, false, false},  {u'ゞ', false, false, false, false, false},
        {u'゠', false, true, true, false, false},    {u'ァ', false, true, true, false, false},
        {u'・', false, true, true, false, false},    {u'ー', false, true, true, false, false},
        {u'ヿ', false, true, true, false, false},    {0x3100, false, false, false, false, false},
        {u'？', false, false, true, false, true},    {u'＿', false, false, true, false, true},
        {u'！', false, false, false, false, true},   {u'～', false, false, false, false, true},
        {0xFF00, false, false, false, false, false}, {0xFF5F, false, false, false, false, false},
        {u' ', false, false, false, true, false},    {u'~', false, false, false, true, false},
        {0x7F, false, false, false, false, false},   {0x1F, false, false, false, false, false},
        {u'猫', false, false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.c));
        EXPECT_EQ(IsHiragana(c.c), c.hiragana);
        EXPECT_EQ(IsKatakana(c.c), c.katakana);
        EXPECT_EQ(IsKana(c.c), c.hiragana || c.katakana);
        EXPECT_EQ(IsKanaOrWildcard(c.c), c.kanaOrWildcard);
        EXPECT_EQ(IsPrintableAscii(c.c), c.printable);
        EXPECT_EQ(IsFullwidthAscii(c.c), c.fullwidthAscii);
    }
    EXPECT_TRUE(IsVowel(u'a') && IsVowel(u'u') && !IsVowel(u'A') && !IsVowel(u'y'));
    EXPECT_TRUE(IsAsciiLetter(u'Z') && IsAsciiLetter(u'a') && !IsAsciiLetter(u'@') && !IsAsciiLetter(u'['));
}

TEST(CharClass, Mappings)
{
    EXPECT_EQ(ToKatakana(u'ぁ'), u'ァ');
    EXPECT_EQ(ToKatakana(u'ゖ'), u'ヶ');
    EXPECT_EQ(ToKatakana(u'ー'), u'ー');
    EXPECT_EQ(ToKatakana(u'猫'), u'猫');
    EXPECT_EQ(ToKatakana(u'ゝ'), u'ゝ');
    EXPECT_EQ(ToHiragana(u'ア'), u'あ');
    EXPECT_EQ(ToHiragana(u'ー'), char16_t{0x309C});
    EXPECT_EQ(ToHiragana(u'あ'), u'あ');
    EXPECT_EQ(ToFullwidth(u'?'), u'？');
    EXPECT_EQ(ToFullwidth(u'_'), u'＿');
    EXPECT_EQ(ToFullwidth(u'!'), u'！');
    EXPECT_EQ(ToFullwidth(u'~'), u'～');
    EXPECT_EQ(ToFullwidth(u' '), 0);
    EXPECT_EQ(ToFullwidth(u'あ'), 0);
    EXPECT_EQ(ToHalfwidth(u'ａ'), u'a');
    EXPECT_EQ(ToHalfwidth(u'＿'), u'_');
    EXPECT_EQ(ToHalfwidth(u'a'), 0);
    EXPECT_EQ(ToHalfwidth(u'　'), 0);
    EXPECT_EQ(ToLowerAscii(u'A'), u'a');
    EXPECT_EQ(ToLowerAscii(u'['), u'[');
    EXPECT_EQ(ToUpperAscii(u'z'), u'Z');
    EXPECT_EQ(ToUpperAscii(u'ａ'), u'ａ');

    EXPECT_EQ(ToKatakana(std::u16string_view(u"ねこ・ネコー？猫")), u"ネコ・ネコー？猫");
    EXPECT_EQ(ToUpperAscii(std::u16string_view(u"Kana-n'")), u"KANA-N'");
    EXPECT_EQ(ToLowerAscii(std::u16string_view(u"KaNA")), u"kana");
    EXPECT_EQ(ToFullwidthText(u"cat_? 1~"), u"ｃａｔ＿？ １～");
    EXPECT_EQ(ToFullwidthText(u"ねこ　猫"), u"ねこ　猫");
    EXPECT_EQ(ToFullwidthText(u""), u"");
}

TEST(CharClass, StringTests)
{
    struct Case {
        std::u16string text;
        bool allKana, allKanaOrWildcard, allPrintable, noUpper;
    };
    const std::vector<Case> cases = {
        {u"", true, true, true, true},
        {u"ねこ", true, true, false, true},
        {u"ラーメン・", true, true, false, true},
        {u"＿ねこ？", false, true, false, true},
        {u"猫", false, false, false, true},
        {u"neko cat", false, false, true, true},
        {u"Neko", false, false, true, false},
        {u"ねこ ", false, false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(U8(c.text));
        EXPECT_EQ(IsAllKana(c.text), c.allKana);
        EXPECT_EQ(IsAllKanaOrWildcard(c.text), c.allKanaOrWildcard);
        EXPECT_EQ(IsAllPrintableAscii(c.text), c.allPrintable);
        EXPECT_EQ(HasNoUpperCase(c.text), c.noUpper);
    }
}

TEST(Romaji, ToKana)
{
    struct Case {
        std::u16string romaji;
        std::u16string finalKana;
        std::u16string previewKana;  // empty: same as final
    };
    const std::vector<Case> cases = {
        {u"", u"", u""},
        {u"konnichiha", u"こんにちは", u""},
        {u"onna", u"おんな", u""},
        {u"konn", u"こんん", u"こんn"},
        {u"kan'i", u"かんい", u""},
        {u"kanji", u"かんじ", u""},
        {u"kitte", u"きって", u""},
        {u"shashin", u"しゃしん", u"しゃしn"},
        {u"Kana", u"カな", u""},
        {u"KANJI", u"カンジ", u""},
        {u"ra-men", u"らーめん", u"らーめn"},
        {u"fairu", u"ふぁいる", u""},
        {u"xtsu", u"っ", u""},
        {u"ltsu", u"っ", u""},
        {u"kak", u"かk", u""},
        {u"kan", u"かん", u"かn"},
        {u"nna", u"んな", u""},
        {u"nn", u"んん", u"んn"},
        {u"n'", u"ん", u""},
        {u"nya", u"にゃ", u""},
        {u"xya", u"ゃ", u""},
        {u"lya", u"ゃ", u""},
        {u"kye", u"kye", u""},
        {u"kyo", u"きょ", u""},
        {u"Kyo", u"キョ", u""},
        {u"KaNa", u"カナ", u""},
        {u"KAna", u"カな", u""},
        {u"-", u"ー", u""},
        {u"*", u"・", u""},
        {u"X-*", u"X-・", u""},
        {u"'", u"'", u""},
        {u"va", u"ゔぁ", u""},
        {u"Va", u"ヴァ", u""},
        {u"Fairu", u"ファいる", u""},
        {u"fu", u"ふ", u""},
        {u"Fu", u"フ", u""},
        {u"vu", u"ゔ", u""},
        {u"ja", u"じゃ", u""},
        {u"jo", u"じょ", u""},
        {u"chi", u"ち", u""},
        {u"cha", u"ちゃ", u""},
        {u"tsu", u"つ", u""},
        {u"dzu", u"づ", u""},
        {u"sho", u"しょ", u""},
        // Hepburn spellings: tch, m before b/m/p, the small-vowel sounds.
        {u"matcha", u"まっちゃ", u""},
        {u"kotchi", u"こっち", u""},
        {u"MATCHA", u"マッチャ", u""},
        {u"shimbun", u"しんぶん", u"しんぶn"},
        {u"sammai", u"さんまい", u""},
        {u"sampo", u"さんぽ", u""},
        {u"SHIMBUN", u"シンブン", u"シンブN"},
        {u"mya", u"みゃ", u""},
        {u"she", u"しぇ", u""},
        {u"chekku", u"ちぇっく", u""},
        {u"CHEKKU", u"チェック", u""},
        {u"je", u"じぇ", u""},
        {u"Jetto", u"ジェっと", u""},
        {u"ye", u"いぇ", u""},
        {u"tsa", u"つぁ", u""},
        // Spellings other input methods accept.
        {u"jyuudou", u"じゅうどう", u""},
        {u"jya", u"じゃ", u""},
        {u"JYO", u"ジョ", u""},
        {u"jye", u"じぇ", u""},
        {u"cya", u"ちゃ", u""},
        {u"cyuu", u"ちゅう", u""},
        {u"cyo", u"ちょ", u""},
        {u"cye", u"ちぇ", u""},
        {u"thi", u"てぃ", u""},
        {u"THI-", u"ティー", u""},
        {u"dhi", u"でぃ", u""},
        {u"dhu", u"でゅ", u""},
        {u"kwa", u"くぁ", u""},
        {u"twu", u"とぅ", u""},
        {u"xtu", u"っ", u""},
        {u"xa", u"ぁ", u""},
        {u"la", u"ぁ", u""},
        {u"kkyo", u"っきょ", u""},
        {u"tso", u"つぉ", u""},
        {u"shi", u"し", u""},
        {u"tc", u"っc", u""},
        {u"maccha", u"まっちゃ", u""},
        {u"Kitte", u"キって", u""},
        {u"KITTE", u"キッテ", u""},
        {u"k?a", u"？か", u""},
        {u"ka_", u"か＿", u""},
        {u"123", u"１２３", u""},
        {u"ne ko", u"ね こ", u""},
        {u"ねko猫", u"ねこ猫", u""},
        {u"wo", u"を", u""},
        {u"lka", u"ゕ", u""},
        {u"xke", u"ゖ", u""},
        {u"Q", u"Q", u""},
        {u"strong", u"stroんg", u"stroんg"},
        {u"gakkou", u"がっこう", u""},
        {u"nihon", u"にほん", u"にほn"},
        {u"NN", u"ンン", u"ンN"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(U8(c.romaji));
        EXPECT_EQ(U8(RomajiToKana(c.romaji, true)), U8(c.finalKana));
        EXPECT_EQ(U8(RomajiToKana(c.romaji, false)), U8(c.previewKana.empty() ? c.finalKana : c.previewKana));
    }
}

TEST(Romaji, SyllablesAndTheirTable)
{
    EXPECT_EQ(SyllableToKana(u"va"), u"ヷ");
    EXPECT_EQ(SyllableToKana(u"VA"), u"ヷ");
    EXPECT_EQ(SyllableToKana(u"kya"), u"きゃ");
    EXPECT_EQ(SyllableToKana(u"KYA"), u"キャ");
    EXPECT_EQ(SyllableToKana(u"kYa"), u"キャ");
    EXPECT_EQ(SyllableToKana(u"kye"), u"");
    EXPECT_EQ(SyllableToKana(u"lyu"), u"ゅ");
    EXPECT_EQ(SyllableToKana(u"xyo"), u"ょ");
    EXPECT_EQ(SyllableToKana(u"N"), u"ン");
    EXPECT_EQ(SyllableToKana(u""), u"");
    EXPECT_EQ(SyllableToKana(u"shi"), u"") << "Hepburn is rewritten before the lookup, not by it";
    EXPECT_EQ(LookupSyllable(u"ka"), u'か');
    EXPECT_EQ(LookupSyllable(u"n'"), u'ん');
    EXPECT_EQ(LookupSyllable(u"-"), u'ー');
    EXPECT_EQ(LookupSyllable(u"KA"), 0);
    EXPECT_EQ(LookupSyllable(u"k"), 0);

    // Each hiragana's romaji is a key of the syllable table giving it back,
    // and katakana reads as the same key in upper case.
    for (char16_t h = 0x3041; h <= 0x3096; ++h) {
        SCOPED_TRACE(static_cast<int>(h));
        std::u16string key = KanaCharToRomaji(h);
        ASSERT_FALSE(key.empty());
        EXPECT_EQ(LookupSyllable(key), h);
        EXPECT_EQ(KanaCharToRomaji(ToKatakana(h)), ToUpperAscii(std::u16string_view(key)));
        EXPECT_EQ(SyllableToKana(ToUpperAscii(std::u16string_view(key))), std::u16string(1, ToKatakana(h)));
    }
}

TEST(Romaji, CharToRomaji)
{
    const std::vector<std::pair<char16_t, std::u16string>> cases = {
        {u'あ', u"a"},  {u'ぁ', u"la"},  {u'っ', u"ltu"}, {u'ゃ', u"lya"}, {u'ん', u"n"},  {u'ゖ', u"lke"},
        {u'カ', u"KA"}, {u'ッ', u"LTU"}, {u'ヴ', u"VU"},  {u'ヵ', u"LKA"}, {u'ヷ', u"va"}, {u'ヸ', u"vi"},
        {u'ヹ', u"ve"}, {u'ヺ', u"vo"},  {u'・', u"*"},   {u'ー', u"-"},   {u'ヽ', u""},   {u'゠', u""},
        {u'ゝ', u""},   {u'゛', u""},    {u'ａ', u"a"},   {u'＿', u"_"},   {u'！', u"!"},  {u'猫', u""},
        {u'a', u""},    {u'　', u""},
    };
    for (const auto& [ch, romaji] : cases) {
        SCOPED_TRACE(static_cast<int>(ch));
        EXPECT_EQ(KanaCharToRomaji(ch), romaji);
    }
}

TEST(Romaji, KanaToRomaji)
{
    const std::vector<std::pair<std::u16string, std::u16string>> cases = {
        {u"", u""},
        {u"がっこう", u"gakkou"},
        {u"ファイル", u"FAIRU"},
        {u"きゃ", u"kya"},
        {u"猫", u""},
        {u"ねこ", u"neko"},
        {u"しゃしん", u"syasin"},
        {u"キョウ", u"KYOU"},
        {u"かんい", u"kan'i"},
        {u"こんにちは", u"kon'nitiha"},
        {u"かんじ", u"kanzi"},
        {u"きって", u"kitte"},
        {u"まっちゃ", u"mattya"},
        {u"きぇ", u"kye"},
        {u"チェ", u"TYE"},
        {u"ティ", u"TELI"},
        {u"ヴァ", u"VA"},
        {u"ふぃ", u"fi"},
        {u"ふ", u"hu"},
        {u"ゔ", u"vu"},
        {u"っ", u"ltu"},
        {u"ッ", u"LTU"},
        {u"っa", u"ltu"},
        {u"ラーメン", u"RA-MEN"},
        {u"ネコ・イヌ", u"NEKO*INU"},
        {u"き", u"ki"},
        {u"きa", u"ki"},
        {u"ｃａｔ", u"cat"},
        {u"ほんや", u"honya"},
        {u"ほんだ", u"honda"},
        {u"食べる", u"beru"},
    };
    for (const auto& [kana, romaji] : cases) {
        SCOPED_TRACE(U8(kana));
        EXPECT_EQ(U8(KanaToRomaji(kana)), U8(romaji));
    }
}

}  // namespace
