// The Japanese, English and kanji searches and the dispatcher on small
// dictionaries written by the tests, each compared with the plain way of
// searching where a faster way is used.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "SearchFixture.h"
#include "platform/api/Utf.h"
#include "search/Dispatcher.h"
#include "search/EnglishSearch.h"
#include "search/JapaneseSearch.h"
#include "search/KanjiSearch.h"
#include "search/Reader.h"
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

namespace mirudex::search::test {
namespace {

// A small dictionary for reading sentences: particles, verbs and adjectives
// to conjugate, loanwords, and two entries for 魚, the common one first.
const std::vector<std::string> kReaderLines = {
    "猫 [ねこ] /(n) cat/(P)/",
    "魚 [うお] /(n) fish (archaic)/",
    "魚 [さかな] /(n) fish/(P)/",
    "が /(prt) subject marker/(P)/",
    "を /(prt) object marker/(P)/",
    "は /(prt) topic marker/(P)/",
    "で /(prt) at; by means of/(P)/",
    "食べる [たべる] /(v1,vt) to eat/(P)/",
    "飲む [のむ] /(v5m,vt) to drink/(P)/",
    "行く [いく] /(v5k-s) to go/(P)/",
    "する /(vs-i) to do/(P)/",
    "高い [たかい] /(adj-i) high/expensive/(P)/",
    "寒い [さむい] /(adj-i) cold/(P)/",
    "です /(cop) be/(P)/",
    "コーヒー /(n) coffee/(P)/",
    "コンピューター /(n) computer/(P)/",
    "ケーキ /(n) cake/(P)/",
    "本 [ほん] /(n) book/(P)/",
    "日本 [にほん] /(n) Japan/(P)/",
    "日本語 [にほんご] /(n) Japanese (language)/(P)/",
    "私 [わたし] /(pn) I/(P)/",
    "円 [えん] /(n) yen/(P)/",
    "昨日 [きのう] /(n) yesterday/(P)/",
    "今日 [きょう] /(n) today/(P)/",
    "勉強 [べんきょう] /(n,vs) study/(P)/",
};

class ReaderTest : public SearchTest {
protected:
    void SetUp() override
    {
        SearchTest::SetUp();
        AddDictionary("edict", kReaderLines);
        ASSERT_TRUE(rules_.LoadFuzzySearchInfo(
            (std::filesystem::path(MIRUDEX_SOURCE_DIR) / "data" / text::kFuzzyRulesFileName).string()));
        state_->fuzzy_rules = &rules_;
    }

    // The tokens as "surface|form" ("surface|" when no entry was found).
    std::vector<std::string> Read(const std::string& text)
    {
        const std::u16string wide = U(text);
        const std::vector<ReadToken> tokens = ReadText(*state_, wide);
        std::vector<std::string> out;
        std::u16string joined;
        for (const ReadToken& t : tokens) {
            EXPECT_EQ(t.start, joined.size()) << text;
            joined += t.surface;
            out.push_back(Utf16ToUtf8(t.surface) + "|" + Utf16ToUtf8(t.found() ? t.entry.word : u""));
            EXPECT_EQ(t.found(), !t.form.empty());
        }
        EXPECT_EQ(joined, wide) << "the tokens must give the text back";
        return out;
    }

    text::FuzzyRules rules_;
};

TEST_F(ReaderTest, SentencesSplitIntoTheirWordsEachWithItsDictionaryForm)
{
    const struct {
        const char* text;
        std::vector<std::string> tokens;
    } cases[] = {
        // Verbs: polite past, negative polite past, the -te iru form of a noun with する.
        {"猫が魚を食べました。", {"猫|猫", "が|が", "魚|魚", "を|を", "食べました|食べる", "。|"}},
        {"昨日コーヒーを飲みませんでした", {"昨日|昨日", "コーヒー|コーヒー", "を|を", "飲みませんでした|飲む"}},
        {"日本語を勉強している", {"日本語|日本語", "を|を", "勉強している|勉強"}},
        {"私は行きたい", {"私|私", "は|は", "行きたい|行く"}},
        {"飲んで食べた", {"飲んで|飲む", "食べた|食べる"}},
        // Adjectives: past, negative, -te form.
        {"高かった！", {"高かった|高い", "！|"}},
        {"今日は寒くない", {"今日|今日", "は|は", "寒くない|寒い"}},
        {"寒くて高い", {"寒くて|寒い", "高い|高い"}},
        // Katakana loanwords, also written in hiragana; numbers; the longest word first.
        {"ケーキは500円です", {"ケーキ|ケーキ", "は|は", "500|", "円|円", "です|です"}},
        {"こんぴゅーたーで日本語", {"こんぴゅーたー|コンピューター", "で|で", "日本語|日本語"}},
        {"日本の本", {"日本|日本", "の|", "本|本"}},
        {"３２０円", {"３２０|", "円|円"}},
        // Latin text, blanks and a word no dictionary holds (読む), joined into one token.
        {"Mirudexで本を読む", {"Mirudex|", "で|で", "本|本", "を|を", "読む|"}},
        {"「猫」, cat 猫", {"「|", "猫|猫", "」, |", "cat|", " |", "猫|猫"}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Read(c.text), c.tokens) << c.text;
}

TEST_F(ReaderTest, TokensCarryTheEntryAndTheReadingOfTheSurface)
{
    const std::u16string text = U("猫が魚を食べました");
    const std::vector<ReadToken> tokens = ReadText(*state_, text);
    ASSERT_EQ(tokens.size(), 5u);
    // The common 魚 [さかな] is chosen over the uncommon 魚 [うお].
    EXPECT_EQ(tokens[2].entry.kana, U("さかな"));
    EXPECT_EQ(tokens[2].entry.meanings, std::vector<std::u16string>{u"(n) fish"});
    EXPECT_EQ(tokens[2].reading, U("さかな"));
    EXPECT_EQ(tokens[4].form, U("食べる"));
    EXPECT_EQ(tokens[4].entry.kana, U("たべる"));
    EXPECT_EQ(tokens[4].reading, U("たべました"));
    EXPECT_EQ(tokens[4].kind, TokenKind::Word);
    EXPECT_EQ(tokens[1].reading, U("が"));

    // Without reverse conjugation only the stem is a word... and not even
    // that here: 食べ is no entry, so the characters stand alone.
    state_->fuzzy_rules = nullptr;
    const std::vector<ReadToken> plain = ReadText(*state_, U("食べました"));
    ASSERT_FALSE(plain.empty());
    EXPECT_FALSE(plain[0].found());
    // A dictionary switched off is not read.
    state_->fuzzy_rules = &rules_;
    store_.edict_dictionaries[0]->on = false;
    for (const ReadToken& t : ReadText(*state_, text))
        EXPECT_FALSE(t.found());
}

TEST_F(ReaderTest, AnyTextComesBackFromItsTokens)
{
    // Random texts from the dictionary's characters, conjugation endings,
    // digits, Latin letters, punctuation, blanks, a kanji outside the
    // basic plane and its halves alone.
    const std::u16string alphabet = U("猫魚食べるました飲んでかったくないを円日本語コーヒーーケ5５aZ。、「」！ \n読") +
                                    U("\U00020B9F") + u"\xD842\xDFB7";
    std::mt19937 random(28);
    for (int round = 0; round < 300; ++round) {
        std::u16string text;
        const size_t length = random() % 40;
        for (size_t i = 0; i < length; ++i)
            text += alphabet[random() % alphabet.size()];
        const std::vector<ReadToken> tokens = ReadText(*state_, text);
        std::u16string joined;
        for (const ReadToken& t : tokens) {
            ASSERT_FALSE(t.surface.empty());
            ASSERT_EQ(t.start, joined.size());
            joined += t.surface;
        }
        ASSERT_EQ(joined, text) << Utf16ToUtf8(text);
    }
}

}  // namespace
}  // namespace mirudex::search::test
