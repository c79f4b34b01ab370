// Result sorting: the stored defaults, header clicks, the two stable passes,
// the Meaning fallback and unset levels, and the kanji rules.
#include <gtest/gtest.h>

#include "SearchFixture.h"
#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "search/Sorting.h"

namespace mirudex::search::test {
namespace {

dict::Entry E(const char* word, const char* kana, std::vector<std::string> meanings = {"x"})
{
    dict::Entry e;
    e.word = U(word);
    e.kana = U(kana);
    for (const auto& m : meanings)
        e.meanings.push_back(U(m));
    return e;
}

std::vector<std::u16string> WordsOf(const std::vector<dict::Entry>& list)
{
    std::vector<std::u16string> out;
    for (const auto& e : list)
        out.push_back(e.word);
    return out;
}

TEST(SortingTest, StoredDefaultsGiveRelevanceThenKana)
{
    Registry options;
    options.LoadFromText(DefaultOptionsText());
    EntrySortState entries;
    KanjiSortState kanji;
    RestoreSortStates(options, entries, kanji);
    EXPECT_EQ(entries.primary.key, kSortRelevance);
    EXPECT_FALSE(entries.primary.descending);
    EXPECT_EQ(entries.secondary.key, kSortKana);
    EXPECT_EQ(kanji.primary.header, kKanjiHeader1);
    EXPECT_EQ(kanji.primary.item, 0);
    EXPECT_EQ(kanji.secondary.item, 3);

    std::vector<dict::Entry> list = {E("b", "か"), E("a", "か"), E("c", "あ")};
    list[0].relevance = 2;
    list[2].relevance = 5;
    EXPECT_TRUE(SortEntries(list, entries));
    EXPECT_EQ(WordsOf(list), (std::vector<std::u16string>{u"a", u"b", u"c"}));

    // The kana order is one click away, relevance then second; saved and
    // restored again, also with a flipped primary.
    ClickEntrySortKey(entries, kSortKana);
    EXPECT_TRUE(SortEntries(list, entries));
    EXPECT_EQ(WordsOf(list), (std::vector<std::u16string>{u"c", u"a", u"b"}));
    ClickEntrySortKey(entries, kSortKana);
    SaveSortStates(options, entries, kanji);
    EntrySortState again;
    KanjiSortState kanjiAgain;
    RestoreSortStates(options, again, kanjiAgain);
    EXPECT_EQ(again.primary.key, kSortKana);
    EXPECT_TRUE(again.primary.descending);
    EXPECT_EQ(again.secondary.key, kSortRelevance);
    EXPECT_FALSE(again.secondary.descending);
}

TEST(SortingTest, ClicksFlipOrShiftLevels)
{
    EntrySortState s;
    s.primary = {kSortKana, false};
    s.secondary = {kSortWord, true};
    EXPECT_FALSE(ClickEntrySortKey(s, kSortInfo));
    EXPECT_TRUE(ClickEntrySortKey(s, kSortKana));
    EXPECT_TRUE(s.primary.descending);
    EXPECT_EQ(s.secondary.key, kSortWord);
    EXPECT_TRUE(s.secondary.descending);
    EXPECT_TRUE(ClickEntrySortKey(s, kSortMeaning));
    EXPECT_EQ(s.primary.key, kSortMeaning);
    EXPECT_FALSE(s.primary.descending);
    EXPECT_EQ(s.secondary.key, kSortKana);
    EXPECT_TRUE(s.secondary.descending);

    KanjiSortState k;
    EXPECT_FALSE(ClickKanjiSortKey(k, kKanjiHeader2, 0));
    EXPECT_TRUE(ClickKanjiSortKey(k, kKanjiHeader1, 3));
    EXPECT_TRUE(ClickKanjiSortKey(k, kKanjiHeader2, 1));
    EXPECT_EQ(k.primary.header, kKanjiHeader2);
    EXPECT_EQ(k.secondary.item, 3);
}

TEST(SortingTest, EntryKeysAndFallbacks)
{
    struct Case {
        EntrySortState state;
        std::vector<std::u16string> expected;
    } cases[] = {
        // Both unset: word length, shortest first; ties keep their order.
        {{{kSortUnset, false}, {kSortUnset, true}}, {u"日", u"本", u"日本", u"日本語"}},
        {{{kSortWordLength, true}, {kSortUnset, false}}, {u"日本語", u"日本", u"日", u"本"}},
        {{{kSortKanaLength, false}, {kSortWord, true}}, {u"日", u"本", u"日本", u"日本語"}},
        {{{kSortWord, true}, {kSortUnset, false}}, {u"本", u"日本語", u"日本", u"日"}},
        // Meaning: first letters, then the secondary key among equals.
        {{{kSortMeaning, false}, {kSortWord, false}}, {u"日本", u"日本語", u"日", u"本"}},
        {{{kSortMeaning, true}, {kSortWord, false}}, {u"本", u"日", u"日本", u"日本語"}},
    };
    for (const Case& c : cases) {
        std::vector<dict::Entry> list = {E("日本語", "にほんご", {"Japanese"}), E("日", "ひ", {"sun"}),
                                         E("本", "ほん", {"x"}), E("日本", "にほん", {"Japan"})};
        SortEntries(list, c.state);
        EXPECT_EQ(WordsOf(list), c.expected) << c.state.primary.key << "/" << c.state.secondary.key;
    }

    // Entries without meanings go by word length against the others, both directions alike.
    std::vector<dict::Entry> list = {E("abc", "a", {"z"}), E("a", "a", {}), E("ab", "a", {""})};
    SortEntries(list, {{kSortMeaning, true}, {kSortUnset, false}});
    EXPECT_EQ(WordsOf(list), (std::vector<std::u16string>{u"a", u"ab", u"abc"}));
    std::vector<dict::Entry> empty;
    EXPECT_FALSE(SortEntries(empty, {}));
}

// The order of record keys is the order SortEntries gives the entries, for
// every pair of levels that does not look at meanings, both directions, with
// ties (equal texts, equal lengths, equal relevance) kept in their order.
TEST(SortingTest, SortedOrderOfKeysEqualsSortEntries)
{
    // Texts that agree in their first four units and differ later, a text
    // that is the start of another, units above 0x7FFF (Ａ, a surrogate pair).
    const char* rows[][2] = {{"日本", "にほん"},
                             {"二本", "にほん"},
                             {"日", "ひ"},
                             {"日本語", "にほんご"},
                             {"日", "にち"},
                             {"本", "ほん"},
                             {"ア", "あ"},
                             {"𠀋", "あ"},
                             {"ありがとう", "ありがとう"},
                             {"ありがとうございます", "ありがとうございます"},
                             {"ありがた", "ありがた"},
                             {"ありが", "ありがと"},
                             {"ＡＢＣＤＥ", "abcde"},
                             {"ＡＢＣＤ", "abcd"},
                             {"abcdf", "abcdf"},
                             {"abcde", "abc"}};
    std::vector<dict::Entry> entries;
    std::vector<EntryKeys> keys;
    for (size_t i = 0; i < std::size(rows); ++i) {
        entries.push_back(E(rows[i][0], rows[i][1]));
        entries.back().relevance = i % 3;
    }
    for (const auto& e : entries)
        keys.push_back({e.word, e.kana, e.relevance});
    const int levels[] = {kSortUnset, kSortWord, kSortKana, kSortWordLength, kSortKanaLength, kSortRelevance};
    for (int primary : levels)
        for (int secondary : levels)
            for (int directions = 0; directions < 4; ++directions) {
                const EntrySortState state{{primary, (directions & 1) != 0}, {secondary, (directions & 2) != 0}};
                std::vector<dict::Entry> sorted = entries;
                SortEntries(sorted, state);
                std::vector<std::u16string> byKeys;
                for (uint32_t i : SortedOrder(keys, state))
                    byKeys.push_back(entries[i].word + u"/" + entries[i].kana);
                std::vector<std::u16string> expected;
                for (const auto& e : sorted)
                    expected.push_back(e.word + u"/" + e.kana);
                EXPECT_EQ(byKeys, expected) << primary << " " << secondary << " " << directions;
            }
}

TEST(SortingTest, KanjiKeys)
{
    auto K = [](char16_t code, std::vector<std::u16string> on, uint8_t strokes) {
        dict::KanjiRecord r;
        r.code = code;
        r.onReadings = std::move(on);
        r.strokes = strokes;
        return r;
    };
    auto codes = [](const std::vector<dict::KanjiRecord>& list) {
        std::u16string s;
        for (const auto& r : list)
            s.push_back(static_cast<char16_t>(r.code));
        return s;
    };
    std::vector<dict::KanjiRecord> base = {K(u'水', {u"スイ"}, 4), K(u'一', {}, 1), K(u'火', {u"カ"}, 4)};

    auto list = base;
    SortKanji(list, {{kKanjiHeader1, 1, false}, {}});
    EXPECT_EQ(codes(list), u"一火水");  // no on reading: before the others ascending
    list = base;
    SortKanji(list, {{kKanjiHeader1, 1, true}, {}});
    EXPECT_EQ(codes(list), u"水火一");  // and after them descending
    list = base;
    SortKanji(list, {{kKanjiHeader1, 3, true}, {kKanjiHeader1, 0, false}});
    EXPECT_EQ(codes(list), u"水火一");
    list = base;
    SortKanji(list, {});  // no level set: unchanged
    EXPECT_EQ(codes(list), u"水一火");
}

}  // namespace
}  // namespace mirudex::search::test
