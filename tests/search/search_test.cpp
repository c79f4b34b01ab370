// The Japanese, English and kanji searches and the dispatcher on small
// dictionaries written by the tests, each compared with the plain way of
// searching where a faster way is used.
#include <gtest/gtest.h>

#include "SearchFixture.h"
#include "search/Dispatcher.h"
#include "search/EnglishSearch.h"
#include "search/JapaneseSearch.h"
#include "search/KanjiSearch.h"
#include "text/FuzzySearch.h"

namespace mirudex::search::test {
namespace {

const std::vector<std::string> kLines = {
    "平仮名 [ひらがな] /(n) hiragana/(P)/",
    "平仮名文 [ひらがなぶん] /(n) hiragana text/",
    "非平仮名 [ひひらがな] /(n) non-hiragana/",
    "片仮名 [かたかな] /(n) katakana/",
    "カタカナ /(n) katakana (written in katakana)/",
    "猫 [ねこ] /(n) cat/(P)/",
    "子猫 [こねこ] /(n) kitten/",
    "日本 [にほん] /(n) Japan/(P)/",
    "走る [はしる] /(v5r) to run (esp. fast)/(P)/",
    "再走 [さいそう] /(n) rerun/",
    "走行 [そうこう] /(n) running/",
    "逃げる [にげる] /(v1) to run away/",
    "木 [き] /(n) tree/wood/",
    "目 [め] /(n) eye/",
};

class EngineTest : public SearchTest {
protected:
    void SetUp() override
    {
        SearchTest::SetUp();
        AddDictionary("edict", kLines);
    }

    std::vector<std::u16string> Japanese(const std::string& pattern)
    {
        state_->edict_results[0].clear();
        SearchFor(*state_, U(pattern));
        std::vector<std::u16string> fast = Words();
        auto copy = state_->edict_results[0];
        state_->edict_results[0].clear();
        ReferenceSearchFor(*state_, U(pattern));
        ExpectSameEntries(copy, state_->edict_results[0]);
        return fast;
    }

    std::vector<std::u16string> English(const std::string& text, SearchType type)
    {
        state_->search_options.type = type;
        state_->edict_results[0].clear();
        const int status = SearchFor_English(*state_, U(text));
        auto fast = state_->edict_results[0];
        state_->edict_results[0].clear();
        EXPECT_EQ(ReferenceSearchFor_English(*state_, U(text)), status) << text;
        ExpectSameEntries(fast, state_->edict_results[0]);
        return Words();
    }

    using W = std::vector<std::u16string>;
};

TEST_F(EngineTest, HiraganaInEachType)
{
    EXPECT_EQ(Japanese("ひらがな"), (W{u"平仮名"}));
    EXPECT_EQ(Japanese("ひらがな＿"), (W{u"平仮名", u"平仮名文"}));
    EXPECT_EQ(Japanese("＿ひらがな"), (W{u"平仮名", u"非平仮名"}));
    EXPECT_EQ(Japanese("＿ひらがな＿"), (W{u"平仮名", u"平仮名文", u"非平仮名"}));
    // Any non-kana character compares headwords.
    EXPECT_EQ(Japanese("猫"), (W{u"猫"}));
    EXPECT_EQ(Japanese("＿猫"), (W{u"猫", u"子猫"}));
    // ＿ alone matches everything, ？ alone every one-character reading.
    EXPECT_EQ(Japanese("＿").size(), kLines.size());
    EXPECT_EQ(Japanese("？"), (W{u"木", u"目"}));
    EXPECT_EQ(Japanese("？ね？"), (W{u"子猫"}));
}

TEST_F(EngineTest, KanaInsensitiveBothWaysAndWordsOnly)
{
    EXPECT_EQ(Japanese("カタカナ"), (W{u"カタカナ"}));
    state_->search_options.kana_insensitive = true;
    EXPECT_EQ(Japanese("カタカナ"), (W{u"片仮名", u"カタカナ"}));
    EXPECT_EQ(Japanese("かたかな"), (W{u"片仮名", u"カタカナ"}));
    state_->search_options.kana_insensitive = false;
    EXPECT_EQ(Japanese("かたかな"), (W{u"片仮名"}));
    state_->search_options.words_only = true;
    EXPECT_EQ(Japanese("かたかな"), W{});
    EXPECT_EQ(Japanese("カタカナ"), (W{u"カタカナ"}));
}

TEST_F(EngineTest, MaximumNumberOfResults)
{
    struct Case {
        int max;
        size_t count;
        int status;
    } cases[] = {{0, 0, 1}, {5, 5, 1}, {-1, kLines.size(), 0}, {static_cast<int>(kLines.size()), kLines.size(), 0}};
    for (const Case& c : cases) {
        state_->max_results = c.max;
        state_->edict_results[0].clear();
        EXPECT_EQ(SearchFor(*state_, u"＿"), c.status) << c.max;
        EXPECT_EQ(state_->edict_results[0].size(), c.count) << c.max;
    }
    // Exactly five matches and a maximum of five: the bit comes from testing a further entry.
    state_->max_results = 1;
    state_->edict_results[0].clear();
    EXPECT_EQ(SearchFor(*state_, U("め")), 0);  // the last entry matches: no entry after it
    state_->edict_results[0].clear();
    EXPECT_EQ(SearchFor(*state_, U("き")), 1);
}

TEST_F(EngineTest, DisabledDictionaryIsListedButNotSearched)
{
    AddDictionary("second", {"猫 [ねこ] /(n) cat (second)/"}, "Second", false);
    OpenLog(1);
    EXPECT_EQ(Japanese("ねこ"), (W{u"猫"}));
    EXPECT_NE(Log().find("Processing DICT 2 / 2 (Second)"), std::string::npos);
    for (const auto& s : platform_.StatusTexts())
        EXPECT_EQ(s.text.find(u"Second"), std::u16string::npos);
    store_.edict_dictionaries.back()->on = true;
    EXPECT_EQ(Japanese("ねこ"), (W{u"猫", u"猫"}));
}

TEST_F(EngineTest, EnglishTypesAndPhrases)
{
    EXPECT_EQ(English("run", SearchType::Middle), (W{u"走る", u"再走", u"走行", u"逃げる"}));
    EXPECT_EQ(English("run", SearchType::Exact), (W{u"走る", u"逃げる"}));
    EXPECT_EQ(English("run", SearchType::Beginning), (W{u"走る", u"走行", u"逃げる"}));
    EXPECT_EQ(English("run", SearchType::End), (W{u"走る", u"再走", u"逃げる"}));
    EXPECT_EQ(English("\"to run\"", SearchType::Middle), (W{u"走る"}));
    EXPECT_EQ(English(" \"to run\"", SearchType::Middle), (W{u"走る", u"逃げる"}));
    EXPECT_EQ(English("RUN Away", SearchType::Exact), (W{u"逃げる"}));
    EXPECT_EQ(English("hiragana text", SearchType::Middle), (W{u"平仮名文"}));
    EXPECT_EQ(English("42!", SearchType::Middle).size(), kLines.size());
    EXPECT_EQ(English("P", SearchType::Exact), (W{u"平仮名", u"猫", u"日本", u"走る"}));
    state_->max_results = 2;
    EXPECT_EQ(English("n", SearchType::Exact).size(), 2u);
}

TEST_F(EngineTest, EnglishSkipsAMissingDictionary)
{
    AddDictionary("moved", {"走 [そう] /to run/"}, "Moved");
    std::filesystem::remove("moved");
    AddDictionary("third", {"駆ける [かける] /(v1) to run/"}, "Third");
    OpenLog(0);
    EXPECT_EQ(English("run", SearchType::Exact), (W{u"走る", u"逃げる", u"駆ける"}));
    EXPECT_NE(Log().find("ERROR: Could not open dictionary 'moved'; skipping it."), std::string::npos);
}

TEST_F(EngineTest, EnglishOddLinesAsTheLineReaderGivesThem)
{
    // No slash, a carriage return, and a last line without a line feed.
    mirudex::test::WriteFile("odd", Euc("壱 [いち] /one/\r\n") + "nomeaning line\n" + Euc("弐 [に] /two/one/\n") +
                                        Euc("参 [さん] /three one/"));
    auto d = std::make_unique<dict::Dictionary>();
    d->path = "odd";
    d->name = "Odd";
    d->encoding = "EUC-JP";
    dict::EDICT_Index_Load(*d, options_);
    store_.edict_dictionaries.clear();
    store_.edict_dictionaries.push_back(std::move(d));
    EXPECT_EQ(English("one", SearchType::Exact), (W{u"壱", u"弐", u"参"}));
    EXPECT_EQ(English("\"one\"", SearchType::Exact), (W{u"壱", u"弐"}));
}

TEST_F(EngineTest, DispatcherPrefixesAndLanguage)
{
    struct Case {
        int stored;
        const char* text;
        const char* rewritten;
        W words;
    } cases[] = {
        {0, "EN:cat", "cat", {u"猫"}},
        {0, "neko", "neko", {}},  // all ASCII: English
        {0, "ねこ", "ねこ", {u"猫"}},
        {1, "EN:cat", "ｃａｔ", {u"猫"}},       // both searches; the Japanese one finds nothing
        {0, "JP:EN:KN:ねこ", "ねこ", {u"猫"}},  // English skipped: kana
        {0, "En:cat", "En:cat", {}},            // mixed case is no prefix
        {0, "EN:", "", {}},
        {0, "jp:_猫", "＿猫", {u"猫", u"子猫"}},
    };
    for (const Case& c : cases) {
        options_.SetINT(".\\Search\\Language", c.stored);
        state_->edict_results[0].clear();
        std::u16string text = U(c.text);
        Edict_SearchFor(*state_, text);
        EXPECT_EQ(text, U(c.rewritten)) << c.text;
        EXPECT_EQ(Words(), c.words) << c.text;
    }
    std::u16string empty;
    state_->edict_results[0].assign(1, dict::Entry{});
    EXPECT_EQ(Edict_SearchFor(*state_, empty), -1);
    EXPECT_EQ(state_->edict_results[0].size(), 1u);
}

TEST_F(EngineTest, DispatcherRomajiAndResultsField)
{
    state_->search_options.romaji_conversion = true;
    std::u16string text = u"jp:neko";
    Edict_SearchFor(*state_, text);
    EXPECT_EQ(text, U("ねこ"));
    EXPECT_EQ(Words(), (W{u"猫"}));

    // A field of 0, empty or negative is no maximum; 1 cuts the list at one.
    for (const char16_t* field : {u"0", u"", u"-1", u"1"}) {
        state_->search_options.results_field = field;
        state_->edict_results[0].clear();
        text = u"JP:_neko";
        const bool one = field == std::u16string_view(u"1");
        EXPECT_EQ(Edict_SearchFor(*state_, text), one ? 1 : 0);
        EXPECT_EQ(state_->edict_results[0].size(), one ? 1u : 2u);
    }
}

TEST_F(EngineTest, RomajiThatFindsNothingInEnglishIsSearchedAsJapanese)
{
    struct Case {
        bool conversion;
        int stored;
        const char* text;
        const char* rewritten;
        W words;
        bool fellBack;
    } cases[] = {
        {true, 0, "neko", "ねこ", {u"猫"}, true},
        {true, 0, "_neko", "＿ねこ", {u"猫", u"子猫"}, true},  // wildcards are no obstacle
        {true, 0, "cat", "cat", {u"猫"}, false},               // English found it
        {true, 0, "dog", "dog", {}, false},                    // どg: not wholly kana
        {true, 0, "ne ko", "ne ko", {}, false},                // a blank is not kana
        {false, 0, "neko", "neko", {}, false},                 // conversion off
        {true, 0, "EN:neko", "neko", {}, false},               // English was asked for
        {true, 2, "neko", "neko", {}, false},                  // ... or stored
    };
    for (const Case& c : cases) {
        state_->search_options.romaji_conversion = c.conversion;
        options_.SetINT(opt::search::kLanguage, c.stored);
        state_->edict_results[0].clear();
        std::u16string text = U(c.text);
        const int status = Edict_SearchFor(*state_, text);
        EXPECT_EQ(text, U(c.rewritten)) << c.text;
        EXPECT_EQ(Words(), c.words) << c.text;
        EXPECT_EQ((status & kStatusSearchedAsJapanese) != 0, c.fellBack) << c.text;
    }
}

TEST_F(EngineTest, KanjiPreparationKeepsWildcards)
{
    EXPECT_EQ(PrepareKanjiText(U("ｗａｔｅｒ＿")), U("water＿"));
    EXPECT_EQ(PrepareKanjiText(U("？ｍｉｚｕ！")), U("？mizu!"));
    EXPECT_EQ(PrepareKanjiText(U("みず ")), U("みず "));
}

}  // namespace
}  // namespace mirudex::search::test

namespace mirudex::search::test {
namespace {

TEST_F(SearchTest, TwoVariantsFindingOneEntryListItTwice)
{
    AddDictionary("edict", {"食べる [たべる] /(v1,vt) to eat/", "見る [みる] /(v1,vt) to see/"});
    text::FuzzyRules rules;
    // Two routes to the same dictionary form: directly, and through the past form.
    rules.AddRule({u"＿ました", {u"＿る", u"＿た"}});
    rules.AddRule({u"＿た", {u"＿る"}});
    AppState state(options_, store_, &rules);
    state.search_options.type = SearchType::Exact;
    state.search_options.results_field = u"-1";
    options_.SetBOOL(".\\Search\\Toolbars\\Fuzzy", true);
    std::u16string text = U("食べました");
    Edict_SearchFor(state, text);
    std::vector<std::u16string> words;
    for (const auto& e : state.edict_results[kResultList])
        words.push_back(e.word);
    EXPECT_EQ(words, (std::vector<std::u16string>{u"食べる", u"食べる"}));

    options_.SetBOOL(".\\Search\\Toolbars\\Fuzzy", false);
    state.edict_results[kResultList].clear();
    text = U("食べました");
    // Without reverse conjugation the text itself finds nothing: its
    // dictionary forms are searched instead, each once, and the status says so.
    EXPECT_TRUE(Edict_SearchFor(state, text) & kStatusSearchedConjugations);
    words.clear();
    for (const auto& e : state.edict_results[kResultList])
        words.push_back(e.word);
    EXPECT_EQ(words, (std::vector<std::u16string>{u"食べる"}));
    // A text found as typed is not searched again.
    state.edict_results[kResultList].clear();
    text = U("食べる");
    EXPECT_FALSE(Edict_SearchFor(state, text) & kStatusSearchedConjugations);
    EXPECT_EQ(state.edict_results[kResultList].size(), 1u);
}

}  // namespace
}  // namespace mirudex::search::test
