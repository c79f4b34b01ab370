#include <cstdint>
#include <iterator>
#include <optional>
#include <vector>

#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "platform/api/Utf.h"
#include "support/TestSupport.h"
#include "text/Encoding.h"
#include "userdata/Copy.h"

using namespace mirudex;
using namespace mirudex::userdata;

namespace {

dict::Entry MakeEntry(std::u16string word, std::u16string kana, std::vector<std::u16string> meanings,
                      std::vector<std::u16string> info = {}, bool selected = true)
{
    dict::Entry e;
    e.word = std::move(word);
    e.kana = std::move(kana);
    e.meanings = std::move(meanings);
    e.info = std::move(info);
    e.selected = selected;
    return e;
}

int ComboPositionOf(std::string_view iconvName)
{
    for (const text::EncodingRow& row : text::EncodingTable())
        if (row.iconvName && row.iconvName == iconvName)
            return row.position;
    return -1;
}

class CopyTest : public test::WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        options_.LoadFromText(DefaultOptionsText());
    }
    std::u16string Formatted(const dict::Entry& e) { return FormatEntry(e, options_); }
    Registry options_;
    const dict::Entry hon_ = MakeEntry(u"本", u"ほん", {u"book", u"main"}, {u"noun", u"prefix"});
};

TEST_F(CopyTest, DefaultFormatLaysOutOneEntry)
{
    ASSERT_EQ(CopyEntries({hon_}, CopyKind::Formatted, options_, 1), 0);
    EXPECT_EQ(platform_.ClipboardText(), std::u16string(u"本 (ほん) :: book | main"));
}

TEST_F(CopyTest, FormatLanguage)
{
    struct Case {
        const char* format;
        std::u16string expected;
    };
    const std::vector<Case> cases = {
        {"{%word\\t%kana}", u"本\tほん"},
        {"{%info}", u"noun, prefix"},
        {"{\\n\\:\\t}", u"\n:\t"},
        {"{%word%word}", u"本本"},  // every occurrence, one at a time
        {"{%%word}", u"%本"},
        {"{\\\\:}", u":"},  // the colon brought in completes another escape
        {"{%kanaword}", u"ほんword"},
        {"{literal}", u"literal"},
        {"{}", u""},
        {"{", u""},  // shorter than two: empty, not an error
        {"", u""},
        {"[%word]", u"本"},  // first and last character go whatever they are
        {"{【%word】}", u"【本】"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        options_.SetSTRING(".\\Results\\Copy\\Format", c.format);
        EXPECT_EQ(Formatted(hon_), c.expected);
    }
}

TEST_F(CopyTest, ValuesAreReplacedInsideValuesButNeverEndlessly)
{
    options_.SetSTRING(".\\Results\\Copy\\Format", "{%meaning / %meaning}");
    // A meaning bringing its own key in again stays as it is; other keys in it are replaced.
    const dict::Entry e = MakeEntry(u"語", u"ご", {u"see %meaning", u"%word here", u"a\\nb"});
    EXPECT_EQ(Formatted(e), u"see %meaning | 語 here | a\\nb / see %meaning | 語 here | a\\nb");

    // Keys that bring each other in.
    options_.SetSTRING(".\\Results\\Copy\\Format", "{%word}");
    const dict::Entry loop = MakeEntry(u"%kana", u"%word", {});
    EXPECT_EQ(Formatted(loop), u"%word");
}

// The rule as first written: the first key by priority that may be replaced
// anywhere, at its first such occurrence, then again from the top. Slow
// (every step searches the whole text) but plainly right: the expansion
// must give the same text.
std::u16string ReferenceExpansion(std::u16string text, const std::vector<std::u16string>& values)
{
    const std::u16string keys[] = {u"\\n", u"\\t", u"\\:", u"%word", u"%kana", u"%info", u"%meaning"};
    std::vector<unsigned> mask(text.size(), 0);
    for (bool replaced = true; replaced;) {
        replaced = false;
        for (size_t k = 0; k < 7 && !replaced; ++k) {
            for (size_t pos = text.find(keys[k]); pos != std::u16string::npos; pos = text.find(keys[k], pos + 1)) {
                bool ok = k < 3;
                unsigned inherited = 1u << k;
                for (size_t i = pos; i < pos + keys[k].size(); ++i) {
                    inherited |= mask[i];
                    if (k < 3 && (mask[i] & 0x78))
                        ok = false;
                    if (k >= 3 && !(mask[i] & (1u << k)))
                        ok = true;
                }
                if (!ok)
                    continue;
                text.replace(pos, keys[k].size(), values[k]);
                mask.erase(mask.begin() + pos, mask.begin() + pos + keys[k].size());
                mask.insert(mask.begin() + pos, values[k].size(), inherited);
                replaced = true;
                break;
            }
        }
    }
    return text;
}

TEST_F(CopyTest, ExpansionGivesWhatTheRuleOfPriorityGives)
{
    struct Case {
        std::u16string format, word, kana, meaning, info;
    };
    const Case cases[] = {
        {u"%%kana", u"w", u"word", u"m", u"i"},  // a key made across a value's edge
        {u"\\\\:n", u"w", u"k", u"m", u"i"},     // \\: gives \: again
        {u"\\%wordn", u"", u"k", u"m", u"i"},    // an empty value leaves \n behind
        {u"%word%kana", u"%kan", u"a%info", u"m", u"%word"},
        {u"%meaning", u"%info", u"%word", u"%kana%%word", u"\\n%meaning"},
        {u"%info%info\\t", u"x", u"y", u"%meaning", u"%in"},
        {u"%wor%kana", u"W", u"d%kana", u"m", u"i"},
    };
    for (const Case& c : cases) {
        const dict::Entry e = MakeEntry(c.word, c.kana, {c.meaning}, {c.info});
        EXPECT_EQ(FormatEntry(c.format, e, c.info, c.meaning),
                  ReferenceExpansion(c.format, {u"\n", u"\t", u":", c.word, c.kana, c.info, c.meaning}))
            << Utf16ToUtf8(c.format);
    }
    // Texts pieced together from parts of keys.
    const std::u16string pieces[] = {u"%", u"word", u"kana", u"info", u"meaning", u"\\",
                                     u"n", u":",    u"x",    u"%wo",  u"rd"};
    uint32_t seed = 12345;
    auto next = [&] { return (seed = seed * 1103515245 + 12345) >> 16; };
    auto piece = [&](size_t count) {
        std::u16string out;
        for (size_t i = 0; i < count; ++i)
            out += pieces[next() % std::size(pieces)];
        return out;
    };
    for (int round = 0; round < 300; ++round) {
        const std::u16string format = piece(6), word = piece(3), kana = piece(3), meaning = piece(3), info = piece(2);
        const dict::Entry e = MakeEntry(word, kana, {meaning}, {info});
        ASSERT_EQ(FormatEntry(format, e, info, meaning),
                  ReferenceExpansion(format, {u"\n", u"\t", u":", word, kana, info, meaning}))
            << Utf16ToUtf8(format) << " / " << Utf16ToUtf8(word) << " / " << Utf16ToUtf8(kana) << " / "
            << Utf16ToUtf8(meaning) << " / " << Utf16ToUtf8(info);
    }
}

// A line crafted to nest the keys: each %kana of the word brings thirty
// %meaning, each of which brings thirty %info. Every key is still replaced;
// a nesting that would make more than the bound is cut there.
TEST_F(CopyTest, NestedKeysAreAllReplacedWithinTheBound)
{
    auto times = [](std::u16string_view text, size_t n) {
        std::u16string out;
        for (size_t i = 0; i < n; ++i)
            out += text;
        return out;
    };
    const dict::Entry crafted =
        MakeEntry(times(u"%kana", 30), times(u"%meaning", 30), {times(u"%info", 30)}, {u"noun"});
    const std::u16string text = Formatted(crafted);
    // word: 30 x 30 x 30 "noun"; " (", kana: 30 x 30 "noun", ") :: ", meaning: 30 "noun".
    EXPECT_EQ(text.size(), 27000u * 4 + 2 + 900 * 4 + 5 + 30 * 4);
    EXPECT_EQ(text.find(u'%'), std::u16string::npos);
    EXPECT_EQ(text.substr(108000, 6), u" (noun");

    OpenLog(0);
    const dict::Entry huge =
        MakeEntry(times(u"%kana", 100), times(u"%meaning", 100), {times(u"%info", 100)}, {times(u"x", 100)});
    EXPECT_LE(Formatted(huge).size(), kMaxCopyTextLength);
    EXPECT_NE(Log().find("WARNING: the copy format makes more than 1000000 characters; the rest is left out.\n"),
              std::string::npos);
}

TEST_F(CopyTest, SeparatorsOfOneEntryAreNotEscapeExpanded)
{
    options_.SetSTRING(".\\Results\\Copy\\SepMeaning", "{\\n}");
    options_.SetSTRING(".\\Results\\Copy\\SepInfo", "{\\t}");
    EXPECT_EQ(JoinMeanings(hon_, options_), u"book\\nmain");
    EXPECT_EQ(JoinInfo(hon_, options_), u"noun\\tprefix");
    EXPECT_EQ(Formatted(hon_), u"本 (ほん) :: book\\nmain");
    EXPECT_EQ(JoinMeanings(MakeEntry(u"a", u"a", {u"one"}), options_), u"one");
    EXPECT_EQ(JoinMeanings(MakeEntry(u"a", u"a", {}), options_), u"");
}

TEST_F(CopyTest, SelectedEntriesAreJoinedBySepMultiple)
{
    const dict::Entry neko = MakeEntry(u"猫", u"ねこ", {u"cat"});
    const dict::Entry unselected = MakeEntry(u"犬", u"いぬ", {u"dog"}, {}, false);
    const dict::Entry noWord = MakeEntry(u"", u"", {u"x"});
    struct Case {
        const char* name;
        std::vector<dict::Entry> list;
        CopyKind kind;
        std::u16string expected;
    };
    const std::vector<Case> cases = {
        {"two words by a line feed", {hon_, unselected, neko}, CopyKind::Word, u"本\n猫"},
        {"kana", {hon_, neko}, CopyKind::Kana, u"ほん\nねこ"},
        {"meanings", {hon_, neko}, CopyKind::Meanings, u"book | main\ncat"},
        {"formatted", {neko, hon_}, CopyKind::Formatted, u"猫 (ねこ) :: cat\n本 (ほん) :: book | main"},
        {"empty first entry gets no separator", {noWord, neko}, CopyKind::Word, u"猫"},
        {"nothing selected", {unselected}, CopyKind::Word, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SelectedEntriesText(c.list, c.kind, options_), c.expected);
    }

    options_.SetSTRING(".\\Results\\Copy\\SepMultiple", "{ \\t\\: }");
    EXPECT_EQ(SelectedEntriesText({hon_, neko}, CopyKind::Word, options_), u"本 \t: 猫");
}

// %senses: the meanings sense by sense with each sense's markers, the
// glosses joined by SepMeaning; the other keys give what they always gave.
TEST_F(CopyTest, SensesKeyGivesTheMeaningsBySenseWithTheirMarkers)
{
    dict::MarkerTable markers;
    markers.Add(u"n", u"noun");
    markers.Add(u"abbr", u"abbreviation");
    dict::Entry neko = MakeEntry(u"猫", u"ねこ", {u"(n) (1) cat", u"feline", u"(n) (4) (abbr) wheelbarrow", u"(P)"});
    dict::SetInfo(neko, markers);
    neko.selected = true;
    options_.SetSTRING(".\\Results\\Copy\\Format", "{%word\\t%senses\\n%meaning}");
    EXPECT_EQ(SelectedEntriesText({neko}, CopyKind::Formatted, options_),
              u"猫\t(n) (1) cat | feline; (2) (abbr) wheelbarrow\n(1) cat | feline | (4) wheelbarrow");
    options_.SetSTRING(".\\Results\\Copy\\SepMeaning", "{, }");
    EXPECT_EQ(JoinSenses(neko, options_), u"(n) (1) cat, feline; (2) (abbr) wheelbarrow");
    // Keys in other values are replaced as usual; a gloss reading "%senses"
    // is not replaced inside itself (no endless expansion).
    dict::Entry odd = MakeEntry(u"%senses", u"k", {u"(n) x %senses"});
    dict::SetInfo(odd, markers);
    EXPECT_EQ(FormatEntry(u"%senses|%word", odd, u"", u"", JoinSenses(odd, options_)), u"(n) x %senses|(n) x %senses");
    // An entry never split into senses has none to give.
    EXPECT_EQ(FormatEntry(u"[%senses]", hon_, u"", u""), u"[]");
}

TEST_F(CopyTest, NothingSelectedStillEmptiesTheClipboard)
{
    platform_.SetClipboardText(u"former");
    EXPECT_EQ(CopyEntries({MakeEntry(u"犬", u"いぬ", {}, {}, false)}, CopyKind::Word, options_, 1), 0);
    EXPECT_EQ(platform_.ClipboardText(), std::u16string());
}

TEST_F(CopyTest, ClipboardEncodings)
{
    const int eucjp = ComboPositionOf("EUC-JP");
    ASSERT_GE(eucjp, 0);
    ASSERT_EQ(CopyEntries({hon_}, CopyKind::Word, options_, eucjp), 0);
    EXPECT_EQ(platform_.ClipboardBytes("EUC-JP"), std::string("\xcb\xdc"));
    EXPECT_EQ(platform_.ClipboardEncoding(), text::IconvNameForRow(text::RowOfComboPosition(eucjp)));
    EXPECT_FALSE(platform_.ClipboardText().has_value());

    // An encoding with zero bytes keeps every byte.
    const int utf16be = ComboPositionOf("UTF-16BE");
    ASSERT_EQ(CopyTextUsingComboboxEncoding(u"ab", utf16be), 0);
    EXPECT_EQ(platform_.ClipboardBytes("UTF-16BE"), std::string("\0a\0b", 4));

    // Unicode row: ordinary text.
    ASSERT_EQ(CopyTextUsingComboboxEncoding(u"本", 1), 0);
    EXPECT_EQ(platform_.ClipboardText(), std::u16string(u"本"));
}

TEST_F(CopyTest, TextAnEncodingCannotHoldIsCopiedUpToThatCharacter)
{
    struct Case {
        const char* encoding;
        std::u16string text;
        std::optional<std::string> clipboard;  // nullopt: what was there before stays
        std::u16string named;                  // the character the message names
    };
    const Case cases[] = {
        {"SHIFT_JIS", u"café", "caf", u"'é' (U+00E9)"},
        {"ASCII", u"猫", std::nullopt, u"'猫' (U+732B)"},
        {"ASCII", u"a猫b", "a", u"'猫' (U+732B)"},
        {"EUC-JP", u"x😀y", "x", u"'😀' (U+1F600)"},
        // Stateful encodings need more room than four bytes a character, and
        // a part copied still ends in the initial shift state.
        {"ISO-2022-JP-2", u"é", "\x1b$(D+1\x1b(B", u""},
        {"ISO-2022-JP-2", u"猫é", "\x1b$BG-\x1b$(D+1\x1b(B", u""},
        {"ISO-2022-KR", u"猫é", std::string("\x1b$)C\x0eY^\x0f"), u"'é' (U+00E9)"},
        {"ISO-2022-KR", u"한", "\x1b$)C\x0eGQ\x0f", u""},
        {"ISO-2022-CN", u"中", "\x1b$)A\x0eVP\x0f", u""},
        {"ISO-2022-CN-EXT", u"中é", "\x1b$)A\x0eVP(&\x0f", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.encoding);
        platform_.Clear();
        platform_.SetClipboardText(u"what the user copied before");
        const int position = ComboPositionOf(c.encoding);
        ASSERT_GE(position, 0);
        ASSERT_EQ(CopyTextUsingComboboxEncoding(c.text, position), 0);
        const auto boxes = platform_.MessageBoxes();
        if (c.named.empty()) {
            EXPECT_TRUE(boxes.empty());
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_NE(boxes[0].text.find(c.named), std::u16string::npos) << Utf16ToUtf8(boxes[0].text);
        }
        if (c.clipboard) {
            EXPECT_EQ(platform_.ClipboardBytes(c.encoding), c.clipboard);
        } else {
            EXPECT_EQ(platform_.ClipboardText(), std::u16string(u"what the user copied before"));
        }
    }
}

TEST_F(CopyTest, PositionsWithoutAnEncodingCopyNothing)
{
    OpenLog();
    platform_.SetClipboardText(u"former");
    EXPECT_EQ(CopyTextUsingComboboxEncoding(u"x", 999), -1);
    EXPECT_EQ(CopyTextUsingComboboxEncoding(u"x", 0), -1);  // a heading
    EXPECT_EQ(platform_.ClipboardText(), std::u16string(u"former"));
    EXPECT_NE(Log().find("CopyTextUsingComboboxEncoding(): ERROR: index out of bounds (index: -1).\n"),
              std::string::npos);
}

}  // namespace
