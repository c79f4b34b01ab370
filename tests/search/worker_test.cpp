// The worker: the multiple-substrings order, the single-worker rule, a run on
// a real thread with its hand-over, and a stopped search keeping its results.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "SearchFixture.h"
#include "core/DebugLog.h"
#include "search/JapaneseSearch.h"
#include "search/KanjiSearch.h"
#include "search/Worker.h"

namespace mirudex::search::test {
namespace {

class WorkerTest : public SearchTest {
protected:
    void SetUp() override
    {
        SearchTest::SetUp();
        AddDictionary("edict", {"猫 [ねこ] /(n) cat/", "子猫 [こねこ] /(n) kitten/", "根 [ね] /root/"});
        SetKanjidic({"猫 U732b S11 F1702 ビョウ ねこ {cat}", "子 U5b50 S3 F56 シ ス こ {child}"});
    }

    void WaitForWorker()
    {
        for (int i = 0; i < 1000 && WorkerRunning(*state_); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_FALSE(WorkerRunning(*state_));
    }
};

TEST_F(WorkerTest, SubstringsShortestFirstThenByPosition)
{
    OpenLog(1);
    state_->search_options.match_substrings = true;
    std::u16string text = U("こねこ");
    SearchRequest request{&text, TS_NORMAL};
    Thread_Search(*state_, &request);
    const std::string log = Log();
    std::vector<std::string> searched;
    for (size_t at = log.find("   text1: "); at != std::string::npos; at = log.find("   text1: ", at + 1))
        searched.push_back(log.substr(at + 10, log.find('\n', at) - at - 10));
    // The second こ would only find again what the first found.
    EXPECT_EQ(searched, (std::vector<std::string>{"こねこ", "こ", "ね", "こね", "ねこ"}));
    EXPECT_EQ(Words(), (std::vector<std::u16string>{u"根", u"猫", u"子猫"}));
    EXPECT_FALSE(state_->search_options.words_only);
    EXPECT_EQ(KanjiCodes(), (std::vector<std::u16string>{u"猫", u"子"}));

    // A wildcard: only the whole text.
    dlog::Close();
    OpenLog(1);
    text = u"こね_";
    Thread_Search(*state_, &request);
    EXPECT_EQ(Log().find("   text1: こ\n"), std::string::npos);
}

// A long text in the multiple-substrings mode: once the result list is full
// no further substring is searched, and the truncation is reported.
TEST_F(WorkerTest, SubstringsEndWhenTheResultListIsFull)
{
    OpenLog(1);
    state_->search_options.match_substrings = true;
    state_->search_options.results_field = u"2";
    std::u16string text = U("ねこ") + std::u16string(478, u'ね');
    SearchRequest request{&text, TS_NORMAL};
    Thread_Search(*state_, &request);
    const std::string log = Log();
    size_t searches = 0;
    for (size_t at = log.find("   text1: "); at != std::string::npos; at = log.find("   text1: ", at + 1))
        ++searches;
    // The whole text, ね and こ (each searched once, however often they
    // come), then ねこ at position 0 fills the list with 猫.
    EXPECT_EQ(searches, 4u);
    EXPECT_EQ(Words(), (std::vector<std::u16string>{u"根", u"猫"}));
    EXPECT_TRUE(state_->last_search_result & kStatusTruncated);
    EXPECT_EQ(SearchCompleteText(*state_), u"Search complete (2 results) -Results truncated-");
}

// Every entry once, however many substrings find it, in the order of the
// sort keys; the terminal tool's mode (TS_NO_KANJI) searches the substrings
// too and leaves the kanji list alone.
TEST_F(WorkerTest, SubstringsListEachEntryOnce)
{
    state_->search_options.match_substrings = true;
    state_->kanji_results.assign(1, dict::KanjiRecord{});
    for (int mode : {TS_NORMAL, TS_NO_KANJI}) {
        SCOPED_TRACE(mode);
        std::u16string text = U("ねこねこ");
        SearchRequest request{&text, mode};
        Thread_Search(*state_, &request);
        HandOverFinishedSearch(*state_, mode == TS_NORMAL);
        EXPECT_EQ(Words(), (std::vector<std::u16string>{u"根", u"猫", u"子猫"}));
        EXPECT_FALSE(state_->last_search_result & kStatusTruncated);
        EXPECT_EQ(KanjiCodes().size(), 2u);  // 猫 and 子; the mode without kanji keeps them
    }
    // A sentence: the words in it, each once; the kanji text's substrings in the headwords.
    std::u16string text = U("子猫と猫と子猫");
    SearchRequest request{&text, TS_NO_KANJI};
    Thread_Search(*state_, &request);
    EXPECT_EQ(Words(), (std::vector<std::u16string>{u"猫", u"子猫"}));
    // No room for all: truncated.
    state_->search_options.results_field = u"1";
    text = U("ねこねこ");
    Thread_Search(*state_, &request);
    EXPECT_EQ(Words().size(), 1u);
    EXPECT_TRUE(state_->last_search_result & kStatusTruncated);
}

TEST_F(WorkerTest, SecondStartIsRefusedAndTheFlagNeverSticks)
{
    std::u16string text = U("ねこ");
    SearchRequest request{&text, TS_NORMAL};
    state_->thread_searching = true;
    EXPECT_FALSE(Load_Thread_Search(*state_, request));
    ASSERT_EQ(platform_.MessageBoxes().size(), 1u);
    EXPECT_EQ(platform_.MessageBoxes()[0].text,
              u"There is still a search/dictionary-load going on.  Load_Thread_Search() will not open a new one.");
    EXPECT_EQ(platform_.MessageBoxes()[0].caption, u"Error");
    state_->thread_searching = false;

    ASSERT_TRUE(Load_Thread_Search(*state_, request));
    WaitForWorker();
    HandOverFinishedSearch(*state_);
    EXPECT_EQ(Words(), (std::vector<std::u16string>{u"猫"}));
    EXPECT_EQ(KanjiCodes(), (std::vector<std::u16string>{u"猫"}));
    EXPECT_EQ(SearchCompleteText(*state_), u"Search complete (1 results) ");

    // TS_EDICT_ONLY keeps the kanji list.
    text = U("こねこ");
    request.mode = TS_EDICT_ONLY;
    ASSERT_TRUE(Load_Thread_Search(*state_, request));
    WaitForWorker();
    HandOverFinishedSearch(*state_, false);
    EXPECT_EQ(Words(), (std::vector<std::u16string>{u"子猫"}));
    EXPECT_EQ(KanjiCodes(), (std::vector<std::u16string>{u"猫"}));
}

TEST_F(WorkerTest, StatusTextCountsKanjiInformationAndTellsOfTheJapaneseSearch)
{
    struct Case {
        bool conversion;
        const char* text;
        const char16_t* status;
    } cases[] = {
        {false, "KN:cat", u"Search complete (1 results) "},  // the kanji 猫
        {false, "JP:KN:ねこ", u"Search complete (2 results) "},
        {false, "neko", u"Search complete (0 results) "},
        {true, "neko", u"Search complete (1 results) -Nothing in English: searched as Japanese-"},
    };
    for (const Case& c : cases) {
        state_->search_options.romaji_conversion = c.conversion;
        std::u16string text = U(c.text);
        SearchRequest request{&text, TS_NORMAL};
        Thread_Search(*state_, &request);
        HandOverFinishedSearch(*state_);
        EXPECT_EQ(SearchCompleteText(*state_), c.status) << c.text;
    }
    state_->search_options.results_field = u"1";
    std::u16string text = U("ne_");
    SearchRequest request{&text, TS_NORMAL};
    Thread_Search(*state_, &request);
    EXPECT_EQ(SearchCompleteText(*state_),
              u"Search complete (1 results) -Results truncated- -Nothing in English: searched as Japanese-");
    // 0 is no maximum.
    state_->search_options.results_field = u"0";
    text = U("ne_");
    Thread_Search(*state_, &request);
    EXPECT_EQ(SearchCompleteText(*state_), u"Search complete (2 results) -Nothing in English: searched as Japanese-");
}

// Asks the worker to stop as soon as it reaches the second dictionary.
class StoppingPlatform : public platform::RecordingPlatform {
public:
    AppState* state = nullptr;
    void SetStatusText(int part, std::u16string_view text) override
    {
        RecordingPlatform::SetStatusText(part, text);
        if (state && text.find(u"Second") != std::u16string_view::npos)
            RequestStop(*state);
    }
};

TEST_F(WorkerTest, StoppedSearchKeepsWhatItFound)
{
    AddDictionary("second", {"猫 [ねこ] /(n) cat (second)/"}, "Second");
    StoppingPlatform stopper;
    stopper.state = state_.get();
    std::u16string text = U("＿");
    SearchRequest request{&text, TS_NORMAL};
    ASSERT_TRUE(Load_Thread_Search(*state_, request));
    WaitForWorker();
    HandOverStoppedSearch(*state_);
    EXPECT_FALSE(state_->thread_searching);
    EXPECT_EQ(state_->edict_results[0].size(), 3u);  // the first dictionary only
    EXPECT_EQ(KanjiCodes().size(), 2u);              // collected again from what was found
    EXPECT_EQ(SearchAbortedText(*state_), u"Search aborted (3 results)");
}

TEST_F(WorkerTest, RadicalIntersectionInBothOrders)
{
    dict::RadicalRecord a, b;
    a.kanji = u"子猫孫";
    b.kanji = u"猫子";
    a.selected = b.selected = 1;
    store_.radical_table.records = {a, b};
    EXPECT_EQ(RadicalSearch(*state_), 2);
    EXPECT_EQ(KanjiCodes(), (std::vector<std::u16string>{u"子", u"猫"}));
    store_.radical_table.records = {b, a};
    RadicalSearch(*state_);
    EXPECT_EQ(KanjiCodes(), (std::vector<std::u16string>{u"猫", u"子"}));
    EXPECT_EQ(platform_.LastStatus(0), u"Radical Search complete (2 results)");
    store_.radical_table.records[0].selected = 0;
    store_.radical_table.records[1].selected = 0;
    EXPECT_EQ(RadicalSearch(*state_), 0);
}

TEST_F(WorkerTest, KanjiSearchReadingsAndMeanings)
{
    SetKanjidic({"猫 U732b S11 F1702 ビョウ ねこ {cat}", "子 U5b50 S3 F56 シ ス こ {child}",
                 "亜 U4e9c G8 S7 F1509 P4-7-1 ア つ.ぐ T1 や つぎ T2 ねこ {Asia} {come after}", "# a comment",
                 "唖 U5516 S10 ア {mute} {cat}"});
    ASSERT_TRUE(store_.kanji_index.terms) << "searched through the index";
    struct Case {
        bool fold;
        const char* text;
        std::vector<std::u16string> codes;
    } cases[] = {
        {false, "cat", {u"猫", u"唖"}},
        {false, "ねこ", {u"猫", u"亜"}},  // a radical reading too
        {false, "ネコ", {}},
        {true, "ネコ", {u"猫", u"亜"}},
        {true, "びょう", {u"猫"}},
        {true, "ビョウ", {u"猫"}},
        {false, "＿", {u"猫", u"子", u"亜", u"唖"}},
        {false, "c＿", {u"猫", u"子", u"亜", u"唖"}},
        {false, "co＿", {u"亜"}},
        {false, "＿at", {u"猫", u"唖"}},
        {false, "？at", {u"猫", u"唖"}},
        {false, "＿te＿", {u"亜", u"唖"}},
        {false, "come after", {u"亜"}},  // a meaning of several words, whole
        {false, "come", {}},
        {false, "Cat", {}},  // case counts
        {false, "つ.ぐ", {u"亜"}},
        {false, "つぐ", {}},
        {false, "つ？ぐ", {u"亜"}},
        {false, "ア", {u"亜", u"唖"}},
        {false, "や", {u"亜"}},  // a name reading
        {true, "ヤ", {u"亜"}},
        {true, "＿ギ", {u"亜"}},
        {false, "or?", {}},
        // The codes of a line are not searched: grade, strokes, frequency, SKIP, Unicode.
        {false, "G8", {}},
        {false, "S11", {}},
        {false, "F56", {}},
        {false, "P4-7-1", {}},
        {false, "U732b", {}},
        {false, "732b", {}},
        {false, "dog", {}},
        {false, "", {}},
    };
    for (const Case& c : cases) {
        state_->search_options.kana_insensitive = c.fold;
        state_->kanji_results.clear();
        SearchFor_Kanji(*state_, U(c.text));
        auto fast = KanjiCodes();
        EXPECT_EQ(fast, c.codes) << c.text;
        state_->kanji_results.clear();
        ReferenceSearchFor_Kanji(*state_, U(c.text));
        EXPECT_EQ(KanjiCodes(), fast) << c.text;
    }
    state_->search_options.kana_insensitive = false;
    // The records found through the index are whole.
    state_->kanji_results.clear();
    SearchFor_Kanji(*state_, U("come after"));
    ASSERT_EQ(state_->kanji_results.size(), 1u);
    const dict::KanjiRecord& asia = state_->kanji_results[0];
    EXPECT_EQ(asia.meanings, (std::vector<std::u16string>{u"Asia", u"come after"}));
    EXPECT_EQ(asia.nanori, (std::vector<std::u16string>{u"や", u"つぎ"}));
    EXPECT_EQ(asia.radicalReadings, (std::vector<std::u16string>{u"ねこ"}));
    EXPECT_EQ(asia.strokes, 7);
    EXPECT_EQ(asia.frequency, 1509);
    // Already present: not added again.
    state_->kanji_results.clear();
    SearchFor_Kanji(*state_, U("cat"));
    SearchFor_Kanji(*state_, U("cat"));
    EXPECT_EQ(KanjiCodes().size(), 2u);
    // A stop request ends the search with nothing more added (the last check of this test).
    state_->kanji_results.clear();
    RequestStop(*state_);
    SearchFor_Kanji(*state_, U("cat"));
    EXPECT_TRUE(state_->kanji_results.empty());
}

}  // namespace
}  // namespace mirudex::search::test
