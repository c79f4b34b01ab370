#include "text/Romaji.h"

#include <array>
#include <iterator>

#include "text/CharClass.h"

namespace mirudex::text {
namespace {

struct Syllable {
    std::u16string_view key;
    char16_t kana;
};

// The syllable table. Rows whose kana is not a hiragana (ヷ..ヺ, ・, ー) are
// fixed: they are never shifted to katakana, they are katakana already.
constexpr Syllable kSyllables[] = {
    {u"la", u'ぁ'},  {u"xa", u'ぁ'},  {u"a", u'あ'},   {u"li", u'ぃ'},  {u"xi", u'ぃ'},  {u"i", u'い'},
    {u"lu", u'ぅ'},  {u"xu", u'ぅ'},  {u"u", u'う'},   {u"le", u'ぇ'},  {u"xe", u'ぇ'},  {u"e", u'え'},
    {u"lo", u'ぉ'},  {u"xo", u'ぉ'},  {u"o", u'お'},   {u"ka", u'か'},  {u"ga", u'が'},  {u"ki", u'き'},
    {u"gi", u'ぎ'},  {u"ku", u'く'},  {u"gu", u'ぐ'},  {u"ke", u'け'},  {u"ge", u'げ'},  {u"ko", u'こ'},
    {u"go", u'ご'},  {u"sa", u'さ'},  {u"za", u'ざ'},  {u"si", u'し'},  {u"zi", u'じ'},  {u"su", u'す'},
    {u"zu", u'ず'},  {u"se", u'せ'},  {u"ze", u'ぜ'},  {u"so", u'そ'},  {u"zo", u'ぞ'},  {u"ta", u'た'},
    {u"da", u'だ'},  {u"ti", u'ち'},  {u"di", u'ぢ'},  {u"ltu", u'っ'}, {u"xtu", u'っ'}, {u"tu", u'つ'},
    {u"du", u'づ'},  {u"te", u'て'},  {u"de", u'で'},  {u"to", u'と'},  {u"do", u'ど'},  {u"na", u'な'},
    {u"ni", u'に'},  {u"nu", u'ぬ'},  {u"ne", u'ね'},  {u"no", u'の'},  {u"ha", u'は'},  {u"ba", u'ば'},
    {u"pa", u'ぱ'},  {u"hi", u'ひ'},  {u"bi", u'び'},  {u"pi", u'ぴ'},  {u"hu", u'ふ'},  {u"bu", u'ぶ'},
    {u"pu", u'ぷ'},  {u"he", u'へ'},  {u"be", u'べ'},  {u"pe", u'ぺ'},  {u"ho", u'ほ'},  {u"bo", u'ぼ'},
    {u"po", u'ぽ'},  {u"ma", u'ま'},  {u"mi", u'み'},  {u"mu", u'む'},  {u"me", u'め'},  {u"mo", u'も'},
    {u"lya", u'ゃ'}, {u"xya", u'ゃ'}, {u"ya", u'や'},  {u"lyu", u'ゅ'}, {u"xyu", u'ゅ'}, {u"yu", u'ゆ'},
    {u"lyo", u'ょ'}, {u"xyo", u'ょ'}, {u"yo", u'よ'},  {u"ra", u'ら'},  {u"ri", u'り'},  {u"ru", u'る'},
    {u"re", u'れ'},  {u"ro", u'ろ'},  {u"lwa", u'ゎ'}, {u"xwa", u'ゎ'}, {u"wa", u'わ'},  {u"wi", u'ゐ'},
    {u"we", u'ゑ'},  {u"wo", u'を'},  {u"n", u'ん'},   {u"n'", u'ん'},  {u"vu", u'ゔ'},  {u"lka", u'ゕ'},
    {u"xka", u'ゕ'}, {u"lke", u'ゖ'}, {u"xke", u'ゖ'}, {u"va", u'ヷ'},  {u"vi", u'ヸ'},  {u"ve", u'ヹ'},
    {u"vo", u'ヺ'},  {u"*", u'・'},   {u"-", u'ー'},
};

// Kana to romaji, indexed by code point - U+3041: for every hiragana the key
// the syllable table lists first for it.
constexpr std::u16string_view kHiraganaRomaji[] = {
    u"la", u"a",  u"li",  u"i",  u"lu",  u"u",  u"le",  u"e",  u"lo",  u"o",   u"ka",  u"ga", u"ki", u"gi", u"ku",
    u"gu", u"ke", u"ge",  u"ko", u"go",  u"sa", u"za",  u"si", u"zi",  u"su",  u"zu",  u"se", u"ze", u"so", u"zo",
    u"ta", u"da", u"ti",  u"di", u"ltu", u"tu", u"du",  u"te", u"de",  u"to",  u"do",  u"na", u"ni", u"nu", u"ne",
    u"no", u"ha", u"ba",  u"pa", u"hi",  u"bi", u"pi",  u"hu", u"bu",  u"pu",  u"he",  u"be", u"pe", u"ho", u"bo",
    u"po", u"ma", u"mi",  u"mu", u"me",  u"mo", u"lya", u"ya", u"lyu", u"yu",  u"lyo", u"yo", u"ra", u"ri", u"ru",
    u"re", u"ro", u"lwa", u"wa", u"wi",  u"we", u"wo",  u"n",  u"vu",  u"lka", u"lke",
};

static_assert(std::size(kHiraganaRomaji) == 0x3096 - 0x3041 + 1, "every hiragana has its romaji");

// Katakana with no hiragana counterpart: ヷ ヸ ヹ ヺ ・ ー (U+30F7..U+30FC).
constexpr std::array<std::u16string_view, 6> kKatakanaOnlyRomaji = {{u"va", u"vi", u"ve", u"vo", u"*", u"-"}};

// Hepburn spellings and the keys they stand for.
struct Rewrite {
    std::u16string_view from;
    std::u16string_view to;
};
constexpr std::array<Rewrite, 4> kTwoLetterRewrites = {
    {{u"ja", u"zya"}, {u"ji", u"zi"}, {u"ju", u"zyu"}, {u"jo", u"zyo"}}};
constexpr std::array<Rewrite, 16> kThreeLetterRewrites = {{
    // Spellings other input methods accept for the same syllables.
    {u"jya", u"zya"},
    {u"jyu", u"zyu"},
    {u"jyo", u"zyo"},
    {u"cya", u"tya"},
    {u"cyu", u"tyu"},
    {u"cyo", u"tyo"},
    {u"shi", u"si"},
    {u"sha", u"sya"},
    {u"shu", u"syu"},
    {u"sho", u"syo"},
    {u"chi", u"ti"},
    {u"cha", u"tya"},
    {u"chu", u"tyu"},
    {u"cho", u"tyo"},
    {u"tsu", u"tu"},
    {u"dzu", u"du"},
}};
constexpr std::array<Rewrite, 2> kFourLetterRewrites = {{{u"ltsu", u"ltu"}, {u"xtsu", u"ltu"}}};

// Syllables written as two kana: f- as ふ + small vowel, v- as ゔ + small vowel.
struct TwoKana {
    std::u16string_view syllable;
    std::u16string_view first;
    std::u16string_view second;  // empty: one kana only
};
constexpr std::array<TwoKana, 11> kTwoKanaSyllables = {{
    {u"fa", u"hu", u"la"},
    {u"fi", u"hu", u"li"},
    {u"fu", u"hu", u""},
    {u"fe", u"hu", u"le"},
    {u"fo", u"hu", u"lo"},
    {u"va", u"vu", u"la"},
    {u"vi", u"vu", u"li"},
    {u"ve", u"vu", u"le"},
    {u"vo", u"vu", u"lo"},
    {u"je", u"zi", u"le"},  // じぇ
    {u"ye", u"i", u"le"},   // いぇ
}};
// Hepburn's three-letter spellings of sounds written with a small vowel: しぇ
// ちぇ and つぁ つぃ つぇ つぉ, and those other input methods accept: じぇ ちぇ
// てぃ でぃ てゅ でゅ くぁ ぐぁ とぅ どぅ. None of them has a row of its own.
constexpr std::array<TwoKana, 16> kThreeLetterTwoKana = {{
    {u"jye", u"zi", u"le"},
    {u"cye", u"ti", u"le"},
    {u"thi", u"te", u"li"},
    {u"dhi", u"de", u"li"},
    {u"thu", u"te", u"lyu"},
    {u"dhu", u"de", u"lyu"},
    {u"kwa", u"ku", u"la"},
    {u"gwa", u"gu", u"la"},
    {u"twu", u"to", u"lu"},
    {u"dwu", u"do", u"lu"},
    {u"she", u"si", u"le"},
    {u"che", u"ti", u"le"},
    {u"tsa", u"tu", u"la"},
    {u"tsi", u"tu", u"li"},
    {u"tse", u"tu", u"le"},
    {u"tso", u"tu", u"lo"},
}};

template <std::size_t N>
void ApplyRewrite(std::u16string& buffer, const std::array<Rewrite, N>& rewrites)
{
    for (const auto& r : rewrites) {
        if (buffer == r.from) {
            buffer = r.to;
            return;
        }
    }
}

// Step 3 of a syllable's conversion: a fixed row as it is, others shifted.
char16_t Shifted(char16_t kana, char16_t shift)
{
    return IsHiragana(kana) ? static_cast<char16_t>(kana + shift) : kana;
}

std::u16string Cased(std::u16string_view key, bool upper) { return upper ? ToUpperAscii(key) : std::u16string(key); }

bool IsRomajiCharacter(char16_t c) { return IsAsciiLetter(c) || c == u'\'' || c == u'-' || c == u'*'; }

// Emits a two-kana syllable and empties the buffer when it is one of them.
template <std::size_t N>
bool EmitTwoKana(std::u16string& out, std::u16string& buffer, bool upper, const std::array<TwoKana, N>& table)
{
    for (const auto& pair : table) {
        if (buffer == pair.syllable) {
            out += SyllableToKana(Cased(pair.first, upper));
            if (!pair.second.empty())
                out += SyllableToKana(Cased(pair.second, upper));
            buffer.clear();
            return true;
        }
    }
    return false;
}

// Hepburn writes ん as m before b, m and p (shimbun, sammai, sampo).
bool IsHepburnSyllabicM(std::u16string_view pair)
{
    return pair[0] == u'm' && (pair[1] == u'b' || pair[1] == u'm' || pair[1] == u'p');
}

}  // namespace

char16_t LookupSyllable(std::u16string_view key)
{
    for (const auto& s : kSyllables) {
        if (s.key == key)
            return s.kana;
    }
    return 0;
}

std::u16string SyllableToKana(std::u16string_view syllable)
{
    const char16_t shift = HasNoUpperCase(syllable) ? 0 : kKatakanaShift;
    const std::u16string s = ToLowerAscii(syllable);
    std::u16string out;
    if (s.size() == 3 && s[1] == u'y' && s[0] != u'l' && s[0] != u'x') {
        // kya: the i-syllable of its consonant and a small ya.
        const char16_t first = LookupSyllable(std::u16string{s[0], u'i'});
        const char16_t second = LookupSyllable(std::u16string{u'l', u'y', s[2]});
        if (first != 0 && second != 0) {
            out.push_back(Shifted(first, shift));
            out.push_back(Shifted(second, shift));
        }
        return out;
    }
    if (const char16_t kana = LookupSyllable(s); kana != 0)
        out.push_back(Shifted(kana, shift));
    return out;
}

std::u16string RomajiToKana(std::u16string_view text, bool finalText)
{
    std::u16string out;
    std::u16string buffer;  // the pending syllable, in lower case
    bool upper = false;     // the pending syllable had an upper-case letter
    const std::size_t last = text.empty() ? 0 : text.size() - 1;

    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (IsUpperAscii(c)) {
            upper = true;
            c = ToLowerAscii(c);
        }
        if (!IsRomajiCharacter(c)) {
            // Not romaji: kana as they are, ASCII made fullwidth. The pending
            // syllable waits for its next letter.
            const char16_t wide = ToFullwidth(c);
            out.push_back(wide != 0 ? wide : c);
            continue;
        }

        buffer.push_back(c);
        const bool vowel = IsVowel(c);
        if (!vowel && buffer.size() == 2) {
            if (IsHepburnSyllabicM(buffer)) {
                out += SyllableToKana(upper ? u"N" : u"n");
                buffer.erase(0, 1);
            } else if (buffer[0] == u't' && buffer[1] == u'c') {
                out += SyllableToKana(upper ? u"LTU" : u"ltu");  // Hepburn's tch: a small tsu before ch
                buffer.erase(0, 1);
            } else if (buffer[0] == buffer[1] && buffer[0] == u'n') {
                out += SyllableToKana(upper ? u"N" : u"n");  // nn: ん, and one n stays pending
                buffer = u"n";
            } else if (buffer[0] == buffer[1]) {
                out += SyllableToKana(upper ? u"LTU" : u"ltu");  // a doubled consonant: small tsu
                buffer.erase(0, 1);
            } else if (buffer[0] == u'n' && buffer[1] != u'\'' && buffer[1] != u'y') {
                out += SyllableToKana(upper ? u"N" : u"n");
                buffer.erase(0, 1);
            }
        }
        if (!vowel && c != u'\'' && c != u'-' && c != u'*' && i != last)
            continue;  // the syllable goes on

        // The syllable is complete.
        if (buffer.size() == 2) {
            ApplyRewrite(buffer, kTwoLetterRewrites);
            EmitTwoKana(out, buffer, upper, kTwoKanaSyllables);
        } else if (buffer.size() == 3) {
            ApplyRewrite(buffer, kThreeLetterRewrites);
            EmitTwoKana(out, buffer, upper, kThreeLetterTwoKana);
        } else if (buffer.size() == 4) {
            ApplyRewrite(buffer, kFourLetterRewrites);
        }
        if (upper)
            buffer = ToUpperAscii(buffer);
        const std::u16string kana = SyllableToKana(buffer);
        if (kana.empty())
            out += buffer;  // no kana for it: the letters stay
        else if (!finalText && i == last && ToLowerAscii(buffer) == u"n")
            out += buffer;
        else
            out += kana;
        buffer.clear();
        upper = false;
    }
    return out;
}

std::u16string KanaCharToRomaji(char16_t ch)
{
    if (IsKatakana(ch)) {
        if (ch >= u'ヷ' && ch <= u'ー')
            return std::u16string(kKatakanaOnlyRomaji[ch - u'ヷ']);
        const char16_t hiragana = ToHiragana(ch);
        if (!IsHiragana(hiragana))
            return {};
        return ToUpperAscii(kHiraganaRomaji[hiragana - 0x3041]);
    }
    if (IsHiragana(ch))
        return std::u16string(kHiraganaRomaji[ch - 0x3041]);
    if (IsFullwidthAscii(ch))
        return std::u16string(1, ToHalfwidth(ch));
    return {};
}

std::u16string KanaToRomaji(std::u16string_view text)
{
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t current = text[i];
        const char16_t base = ToHiragana(current);
        const bool hasNext = i + 1 < text.size();
        const char16_t next = hasNext ? text[i + 1] : char16_t{0};
        const char16_t nextBase = ToHiragana(next);
        const bool nextIsKana = hasNext && IsKana(next);
        const bool upper = IsKatakana(current);
        const std::u16string romaji = KanaCharToRomaji(current);

        if (nextIsKana && std::u16string_view(u"きぎしじちぢにひびぴみり").find(base) != std::u16string_view::npos) {
            if (nextBase == u'ゃ' || nextBase == u'ゅ' || nextBase == u'ょ') {
                out.push_back(romaji[0]);  // k + ya
                out += KanaCharToRomaji(next).substr(1);
                ++i;
            } else if (nextBase == u'ぃ' || nextBase == u'ぇ') {
                out.push_back(romaji[0]);  // k + y + e
                out.push_back(upper ? u'Y' : u'y');
                out.push_back(KanaCharToRomaji(next).back());
                ++i;
            } else {
                out += romaji;
            }
        } else if (base == u'っ') {
            if (nextIsKana) {
                // Doubles the next consonant: きって gives kitte.
                const std::u16string following = KanaCharToRomaji(next);
                if (!following.empty())
                    out.push_back(following[0]);
            } else {
                out += romaji;
            }
        } else if ((base == u'ふ' || base == u'ゔ') && hasNext &&
                   std::u16string_view(u"ぁぃぅぇぉ").find(nextBase) != std::u16string_view::npos) {
            const char16_t consonant = base == u'ふ' ? u'f' : u'v';
            out.push_back(upper ? ToUpperAscii(consonant) : consonant);
            out.push_back(KanaCharToRomaji(next).back());
            ++i;
        } else if (base == u'ん') {
            out += romaji;
            // kan'i, not kani: ん before a vowel or an n-syllable.
            if (nextIsKana && ((nextBase >= u'ぁ' && nextBase <= u'お') || (nextBase >= u'な' && nextBase <= u'の')))
                out.push_back(u'\'');
        } else {
            out += romaji;
        }
    }
    return out;
}

}  // namespace mirudex::text
