// The maximum number of results keeps the most relevant English entries; a
// line with several headword forms is one result; the relevance sort key.
#include <algorithm>
#include <filesystem>
#include <map>

#include "SearchFixture.h"
#include "dict/IndexTable.h"
#include "dict/Relevance.h"
#include "search/Candidates.h"
#include "search/Dispatcher.h"
#include "search/EnglishSearch.h"
#include "search/JapaneseSearch.h"
#include "search/Sorting.h"

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
        // A common word inside a gloss goes before a rare one with a note.
        {"to run", 2, {u"走る", u"逃げ出す"}},
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

// The rank of a searched text in hand-made meanings: which sense, which
// gloss, whole or inside, notes and usage marks; and the index's word-by-word
// ranks agree with the rank worked out from the line, word for word.
TEST(RelevanceRanks, SensesGlossesNotesAndMarks)
{
    using namespace dict;
    struct Case {
        const char* meanings;
        const char* text;
        uint32_t rank;
    };
    const Case cases[] = {
        {"/(n) (1) cat/(n) (2) dog/", "cat", 0},
        {"/(n) (1) cat/(n) (2) dog/", "dog", kRankSecondSense},
        {"/(n) (1) a/(n) (2) b/(n) (3) cat/", "cat", kRankLaterSense},
        {"/(n) cat/feline/", "feline", kRankLaterGloss},
        {"/(n) cat (esp. the domestic cat)/", "cat", kRankNote},
        {"/(n) cat's eye/", "cat", kRankInside},
        {"/(n) (1) a/(n) (2) (arch) cat/", "cat", kRankSecondSense + kRankMarked},
        {"/(n) (1) (sl) a/b/(n) (2) c/", "b", kRankLaterGloss + kRankMarked},
        {"/(v5r,vt) to eat/to have/", "eat", 0},
        {"/(v5r,vt) to eat/to have/", "to eat", 0},
        {"/(n) the cat/", "cat", 0},
        {"/(n) a cat/", "a cat", 0},
        {"/(n) dog/", "cat", kRankWorstMatch},
        {"/(n) domestic animal (e.g. cat)/", "cat", kRankInside},
        {"/{physics} (n) work/job/(P)/", "work", 0},
        {"/(n) green tea/tea/(P)/", "green tea", 0},
        {"/(n) tea/green tea/(P)/", "green tea", kRankLaterGloss},
        // The word that ends a gloss of two or three words is its head.
        {"/(n) (1) railway station/train station/", "station", kRankPhraseHead},
        {"/(n) (1) a/(n) (2) police station/", "station", kRankSecondSense + kRankPhraseHead},
        {"/(n) station master/", "station", kRankInside},
        {"/(n) the big old railway station/", "station", kRankInside},
        {"/(n) old railway station/", "railway station", kRankPhraseHead},
        {"/(n) big (very) railway station/", "railway station", kRankPhraseHead},
        // A later gloss can still do better than an earlier one.
        {"/(n) (1) (arch) cat/(n) (2) cat/", "cat", kRankSecondSense},
        {"/(n) (1) wild cat/(n) (2) cat/", "cat", kRankPhraseHead},
        {"/(n) (1) catalogue/(n) (2) cat/(P)/", "cat", kRankSecondSense},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.meanings) + " " + c.text);
        std::string lowered = c.meanings;
        LowerAscii(lowered);
        EXPECT_EQ(PhraseRank(lowered, c.text), c.rank);
        // Every word of the line: the best rank the index keeps for it is
        // the rank the line gives the word searched alone.
        std::map<std::string, uint32_t> best;
        ForEachMeaningWord(c.meanings, [&](std::string_view word, uint32_t rank) {
            std::string w(word);
            LowerAscii(w);
            auto [it, added] = best.emplace(w, rank);
            if (!added)
                it->second = std::min(it->second, rank);
        });
        for (const auto& [word, rank] : best)
            EXPECT_EQ(rank, PhraseRank(lowered, word)) << word;
    }
}

TEST(RelevanceRanks, AnEntrysOwnRank)
{
    using namespace dict;
    const uint32_t common = EntryPenalty(EntryRank("/(n) cat/(P)/", u"猫", 0), false);
    EXPECT_EQ(EntryPenalty(EntryRank("/(n) cat/", u"猫", 0), false), common + kRankUncommon);
    // A usage mark counts in the first sense only.
    EXPECT_EQ(EntryPenalty(EntryRank("/(n) (arch) cat/(P)/", u"猫", 0), false), common + kRankMarked);
    EXPECT_EQ(EntryPenalty(EntryRank("/(n) (1) cat/(n) (2) (arch) x/(P)/", u"猫", 0), false), common);
    // A katakana headword is a loanword for English searches only.
    const uint16_t loan = EntryRank("/(n) head/(P)/", u"ヘッド", 0);
    EXPECT_EQ(EntryPenalty(loan, false), common);
    EXPECT_EQ(EntryPenalty(loan, true), common + kRankLoanword);
    EXPECT_EQ(EntryPenalty(EntryRank("/(n) head/(P)/", u"あたま", 0), true), common);
    // Senses after the first part near ties in English searches only, at most four of them.
    const uint16_t three = EntryRank("/(n) (1) a/(n) (2) b/(n) (3) c/(P)/", u"猫", 0);
    EXPECT_EQ(EntryPenalty(three, true), common - 2 * kRankSenseStep);
    EXPECT_EQ(EntryPenalty(three, false), common);
    EXPECT_EQ(EntryPenalty(EntryRank("/(1) a/(2) b/(3) c/(4) d/(5) e/(6) f/(7) g/(P)/", u"猫", 0), true),
              common - kRankSenseSteps * kRankSenseStep);
    // First of all a prefix, suffix or counter: after the word that stands alone.
    EXPECT_EQ(EntryPenalty(EntryRank("/(pref) (1) new/(n) (2) newness/(P)/", u"新", 0), false), common + kRankBound);
    EXPECT_EQ(EntryPenalty(EntryRank("/(ctr) counter for stations/(P)/", u"駅", 0), false), common + kRankBound);
    EXPECT_EQ(EntryPenalty(EntryRank("/(n,n-suf) child/(P)/", u"子", 0), false), common);
    EXPECT_EQ(EntryPenalty(EntryRank("/(n) (1) x/(suf) (2) y/(P)/", u"子", 0), false), common);
    // Productivity: steps of doubling, a single character needing eight times as many.
    EXPECT_EQ(ProductivitySteps(100, 2), 7u);
    EXPECT_EQ(ProductivitySteps(100, 1), 4u);
    EXPECT_EQ(ProductivitySteps(100000, 2), kRankProductivitySteps);
    EXPECT_EQ(ProductivitySteps(0, 3), 0u);
    EXPECT_EQ(EntryPenalty(EntryRank("/(n) school/(P)/", u"学校", 7), false), common - 7 * kRankProductivityStep);
    EXPECT_EQ(EntryPenalty(EntryRank("/(n) cat/(P)/", u"猫", 100), false), kRankSenseSteps * kRankSenseStep);
    // A verb's compounds are built on its continuative stem.
    struct Stem {
        const char* meanings;
        std::u16string_view word, stem;
    };
    for (const Stem& c :
         {Stem{"/(v5k,vt) (1) to write/(P)/", u"書く", u"書き"}, Stem{"/(v5t,vi) to wait/(P)/", u"待つ", u"待ち"},
          Stem{"/(v1,vt) to eat/(P)/", u"食べる", u"食べ"}, Stem{"/(v5r,vi) (1) to run/(P)/", u"走る", u"走り"},
          Stem{"/(n) school/(P)/", u"学校", u""}, Stem{"/(v5k) to write/", u"かく", u""},
          Stem{"/(adj-i) good/", u"良い", u""}, Stem{"/(n) (1) x/(v5k) y/", u"書く", u""}}) {
        SCOPED_TRACE(c.meanings);
        EXPECT_EQ(VerbStem(c.meanings, c.word), c.stem);
    }
}

// Whole searches on hand-made dictionaries, sorted by relevance as a new
// user's options sort them.
TEST_F(RelevanceTest, TheEverydayWordFirst)
{
    AddDictionary("edict", {
                               "ヘッド /(n) (1) head/(n) (2) chief/(P)/",
                               "首領 [しゅりょう] /(n) head/chief/boss/",
                               "先頭 [せんとう] /(n) (1) the lead/the head/(P)/",
                               "頭 [あたま] /(n) (1) head/(n) (2) hair/(P)/",
                               "頭 [かぶ] /(ok) (n) head/",
                               "ネ申 [かみ] /(n) (net-sl) god/",
                               "上 [かみ] /(n) (1) upper reaches (of a river)/(n) (2) top/(P)/",
                               "紙 [かみ] /(n) paper/(P)/",
                               "紙袋 [かみぶくろ] /(n) paper bag/(P)/",
                               "和紙 [わし] /(n) Japanese paper/(P)/",
                               "紙幣 [しへい] /(n) paper money/(P)/",
                               "食べる [たべる] /(v1,vt) to eat/(P)/",
                               "ステーション /(n) station/(P)/",
                               "駅 [えき] /(n) (1) railway station/train station/(ctr) (2) counter for stations/(P)/",
                               "新 [しん] /(pref) (1) new/(n) (2) newness/(P)/",
                               "新しい [あたらしい] /(adj-i) (1) new/(adj-i) (2) fresh/(P)/",
                               "教員 [きょういん] /(n) teacher/(P)/",
                               "先生 [せんせい] /(n) (1) teacher/master/(n) (2) doctor/(P)/",
                               // 月 read つき stands in four headwords, 付 read つき in none
                               // (in seven read ふ): 月 is the word a learner reads as つき.
                               "付 [つき] /(n) tie/(P)/",
                               "月 [つき] /(n) moon/month/(P)/",
                               "月見 [つきみ] /(n) moon viewing/",
                               "三日月 [みかづき] /(n) new moon/",
                               "月日 [つきひ] /(n) time/",
                               "月夜 [つきよ] /(n) moonlit night/",
                               "付近 [ふきん] /(n) area/",
                               "付録 [ふろく] /(n) appendix/",
                               "交付 [こうふ] /(n) issue/",
                               "付与 [ふよ] /(n) grant/",
                               "寄付 [きふ] /(n) donation/",
                               "給付 [きゅうふ] /(n) benefit/",
                               "添付 [てんぷ] /(n) attachment/",
                           });
    state_->edict_sort.primary = {kSortRelevance, false};
    state_->edict_sort.secondary = {kSortKana, false};
    state_->search_options.results_field = u"200";
    struct Case {
        const char* text;
        int language;
        W expected;
    };
    const Case cases[] = {
        // The whole gloss, common, native; then a later gloss; then the
        // loanword; then the rare word; the archaic reading last.
        {"head", kLangEnglish, {u"頭", u"先頭", u"ヘッド", u"首領", u"頭"}},
        {"かみ", kLangJapanese, {u"紙", u"上", u"ネ申"}},
        // The head of "railway station" before the loanword; the word that
        // stands alone before the prefix; the teacher of many senses.
        {"station", kLangEnglish, {u"駅", u"ステーション"}},
        {"new", kLangEnglish, {u"新しい", u"新", u"三日月"}},
        {"teacher", kLangEnglish, {u"先生", u"教員"}},
        {"つき", kLangJapanese, {u"月", u"付"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        state_->options.SetINT(opt::search::kLanguage, c.language);
        state_->edict_results[kResultList].clear();
        std::u16string text = U(c.text);
        Edict_SearchFor(*state_, text);
        EXPECT_EQ(Words(), c.expected);
    }
    // A maximum of two keeps the two most relevant, the everyday word first.
    state_->search_options.results_field = u"2";
    state_->options.SetINT(opt::search::kLanguage, kLangJapanese);
    state_->edict_results[kResultList].clear();
    std::u16string text = u"かみ";
    EXPECT_EQ(Edict_SearchFor(*state_, text) & kStatusTruncated, kStatusTruncated);
    EXPECT_EQ(Words(), (W{u"紙", u"上"}));
}

// A word searched alone takes only its best-ranked lines from the index; when
// one of them turns out not to match (the file changed under its index), the
// lines left out are taken after all, so the maximum and its mark stay true.
TEST_F(RelevanceTest, ALineThatNoLongerMatchesMakesRoomForTheNext)
{
    // Lines around the four, so that the file's identity (its first and last
    // kilobytes, size and time) does not see the two changed in the middle.
    std::vector<std::string> lines, changed;
    for (int i = 0; i < 400; ++i) {
        lines.push_back("語" + std::to_string(i) + " [ご] /(n) filler word/");
        if (i == 199)
            lines.insert(lines.end(), {"犬 [いぬ] /(n) cat/(P)/", "狗 [いぬ] /(n) cat/(P)/", "虎 [とら] /(n) big cat/",
                                       "猫 [ねこ] /(n) cat/"});
    }
    dict::PrepareStructures(AddDictionary("edict", lines), dict::kAllStructures);
    std::string bytes;
    for (std::string line : lines) {
        if (line.starts_with("犬") || line.starts_with("狗"))
            line.replace(line.find("cat"), 3, "cow");
        bytes += Euc(line) + "\n";
    }
    const auto time = std::filesystem::last_write_time("edict");
    mirudex::test::WriteFile("edict", bytes);
    std::filesystem::last_write_time("edict", time);
    state_->edict_sort.primary = {kSortRelevance, false};
    state_->options.SetINT(opt::search::kLanguage, kLangEnglish);
    state_->search_options.results_field = u"1";
    std::u16string text = u"cat";
    EXPECT_EQ(Edict_SearchFor(*state_, text) & kStatusTruncated, kStatusTruncated);
    EXPECT_EQ(Words(), (W{u"猫"}));
    state_->search_options.results_field = u"5";
    state_->edict_results[kResultList].clear();
    text = u"cat";
    EXPECT_EQ(Edict_SearchFor(*state_, text) & kStatusTruncated, 0);
    EXPECT_EQ(Words(), (W{u"猫", u"虎"}));
}

}  // namespace
}  // namespace mirudex::search::test
