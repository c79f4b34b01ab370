// The maximum number of results keeps the most relevant English entries; a
// line with several headword forms is one result; the relevance sort key.
#include <algorithm>

#include "SearchFixture.h"
#include "dict/IndexTable.h"
#include "search/Candidates.h"
#include "search/Dispatcher.h"
#include "search/EnglishSearch.h"
#include "search/JapaneseSearch.h"

namespace mirudex::search::test {
namespace {

using W = std::vector<std::u16string>;

class RelevanceTest : public SearchTest {
protected:
    W English(const std::string& text, int max, SearchType type = SearchType::Middle)
    {
        state_->search_options.type = type;
        state_->max_results = max;
        auto& list = state_->edict_results[kResultList];
        list.clear();
        const int status = SearchFor_English(*state_, U(text));
        auto fast = list;
        list.clear();
        EXPECT_EQ(ReferenceSearchFor_English(*state_, U(text)), status) << text;
        ExpectSameEntries(fast, list);
        W words;
        for (const dict::Entry& e : fast)
            words.push_back(e.word);
        return words;
    }
};

TEST_F(RelevanceTest, TheMaximumKeepsTheMostRelevantInDictionaryOrder)
{
    AddDictionary("edict", {
                               "猫舌 [ねこじた] /(n) sensitivity to hot food, like a cat's tongue/",
                               "子猫 [こねこ] /(n) kitten; young cat/(P)/",
                               "招き猫 [まねきねこ] /(n) beckoning cat (figurine)/",
                               "猫 [ねこ] /(n) cat (esp. the domestic cat)/(P)/",
                               "家猫 [いえねこ] /(n) house cat/",
                               "走る [はしる] /(v5r) to run/(P)/",
                               "駆ける [かける] /(v1) to run (of a horse)/",
                               "逃げ出す [にげだす] /(v5s) to run away/(P)/",
                           });
    struct Case {
        const char* text;
        int max;
        W expected;
    };
    const Case cases[] = {
        // The whole meaning first (a marker at either end does not count), then
        // common words, then shorter lines; kept in dictionary order.
        {"cat", 1, {u"猫"}},
        {"cat", 2, {u"子猫", u"猫"}},
        {"cat", 3, {u"子猫", u"猫", u"家猫"}},
        {"cat", 5, {u"猫舌", u"子猫", u"招き猫", u"猫", u"家猫"}},
        {"cat", -1, {u"猫舌", u"子猫", u"招き猫", u"猫", u"家猫"}},
        // "to " is left out on both sides.
        {"run", 1, {u"走る"}},
        {"to run", 2, {u"走る", u"駆ける"}},
        {"\"to run\"", 1, {u"走る"}},
        {"CAT", 1, {u"猫"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " max " + std::to_string(c.max));
        EXPECT_EQ(English(c.text, c.max), c.expected);
    }
}

TEST_F(RelevanceTest, TheTruncationMarkAsBefore)
{
    AddDictionary("edict", {"猫 [ねこ] /cat/", "犬 [いぬ] /dog/", "子猫 [こねこ] /kitten; young cat/"});
    struct Case {
        int max;
        int status;
    };
    // More found than the maximum, or exactly as many with records after the last one.
    for (const Case& c : {Case{1, 1}, Case{2, 0}, Case{3, 0}, Case{0, 1}, Case{-1, 0}}) {
        SCOPED_TRACE(c.max);
        state_->max_results = c.max;
        state_->edict_results[kResultList].clear();
        EXPECT_EQ(SearchFor_English(*state_, u"cat"), c.status);
    }
    state_->max_results = 1;
    state_->edict_results[kResultList].clear();
    EXPECT_EQ(SearchFor_English(*state_, u"dog"), 1) << "a record follows the only match";
}

TEST_F(RelevanceTest, ALineWithSeveralFormsIsOneResult)
{
    // One line, two headword forms: two records at the same offset.
    const std::string line = Euc("猫;ネコ [ねこ] /(n) cat/(P)/") + "\n" + Euc("犬 [いぬ] /(n) dog/") + "\n";
    mirudex::test::WriteFile("forms", line);
    auto d = std::make_unique<dict::Dictionary>();
    d->path = "forms";
    d->name = "Forms";
    d->encoding = "EUC-JP";
    dict::IndexRecords records;
    records.Add(0, u"猫", u"ねこ", false);
    records.Add(0, u"ネコ", u"ねこ", false);
    records.Add(static_cast<int64_t>(line.find('\n') + 1), u"犬", u"いぬ", false);
    ASSERT_TRUE(d->index.Adopt(dict::BuildIndexImage(records, line)));
    d->count = static_cast<int32_t>(d->index.size());
    store_.edict_dictionaries.push_back(std::move(d));

    struct Case {
        const char* text;
        bool english;
        size_t found;
    };
    const Case cases[] = {{"ねこ", false, 1}, {"＿こ", false, 1}, {"猫", false, 1},     {"ネコ", false, 1},
                          {"＿", false, 2},   {"cat", true, 1},   {"\"cat\"", true, 1}, {"n", true, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        state_->edict_results[kResultList].clear();
        state_->search_options.kana_insensitive = true;
        if (c.english)
            SearchFor_English(*state_, U(c.text));
        else
            SearchFor(*state_, U(c.text));
        EXPECT_EQ(state_->edict_results[kResultList].size(), c.found);
    }
}

TEST_F(RelevanceTest, RelevanceAsASortKey)
{
    AddDictionary("edict", {"猫舌 [ねこじた] /(n) like a cat's tongue/", "子猫 [こねこ] /(n) young cat/(P)/",
                            "猫 [ねこ] /(n) cat/(P)/"});
    state_->edict_sort.primary = {kSortRelevance, false};
    state_->edict_sort.secondary = {kSortWord, false};
    state_->search_options.type = SearchType::Middle;
    state_->search_options.results_field = u"-1";
    state_->options.SetINT(opt::search::kLanguage, kLangEnglish);
    std::u16string text = u"cat";
    Edict_SearchFor(*state_, text);
    EXPECT_EQ(Words(), (W{u"猫", u"子猫", u"猫舌"}));

    // Japanese: the form that is the text itself first.
    state_->edict_results[kResultList].clear();
    state_->options.SetINT(opt::search::kLanguage, kLangJapanese);
    text = u"ねこ";
    state_->search_options.type = SearchType::Beginning;
    Edict_SearchFor(*state_, text);
    EXPECT_EQ(Words().front(), u"猫");
}

}  // namespace
}  // namespace mirudex::search::test
