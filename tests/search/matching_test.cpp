// The text side of searching: search types, the results field, English
// word splitting and meaning tests, and the pattern matcher against the
// plain wildcard matcher.
#include <gtest/gtest.h>

#include <random>

#include "SearchFixture.h"
#include "platform/api/Utf.h"
#include "search/EnglishMatch.h"
#include "search/PatternMatcher.h"
#include "search/SearchOptions.h"
#include "text/CharClass.h"
#include "text/Wildcard.h"

namespace mirudex::search::test {
namespace {

TEST(SearchTypeTest, AddsWildcardsWithoutDoubling)
{
    struct Case {
        const char* text;
        SearchType type;
        const char* expected;
    } cases[] = {
        {"ねこ", SearchType::Beginning, "ねこ＿"}, {"ねこ＿", SearchType::Beginning, "ねこ＿"},
        {"ねこ", SearchType::Middle, "＿ねこ＿"},  {"＿ねこ", SearchType::Middle, "＿ねこ＿"},
        {"ねこ", SearchType::End, "＿ねこ"},       {"＿", SearchType::Middle, "＿"},
        {"ねこ", SearchType::Exact, "ねこ"},       {"", SearchType::Middle, ""},
    };
    for (const Case& c : cases) {
        std::u16string t = U(c.text);
        ApplySearchType(t, c.type);
        EXPECT_EQ(t, U(c.expected)) << c.text << " type " << static_cast<int>(c.type);
    }
    EXPECT_EQ(SearchTypeFromStored(40005), SearchType::Middle);
    EXPECT_EQ(SearchTypeFromStored(2), SearchType::End);
    EXPECT_EQ(SearchTypeFromStored(40007), SearchType::Exact);
}

TEST(SearchTypeTest, ResultsFieldReadsLikeAtoi)
{
    struct Case {
        std::u16string field;
        int value;
    } cases[] = {
        {u"200", 200}, {u"0", 0}, {u"-3", -3}, {u"  5x", 5}, {u"abc", 0}, {u"", 0}, {u"99999999999", 2147483647},
        {u"+7", 7}};
    for (const Case& c : cases) {
        EXPECT_EQ(ParseResultsField(c.field), c.value);
        // The maximum it sets: 0 (also no digits) and less are none.
        EXPECT_EQ(MaxResultsOfField(c.field), c.value > 0 ? c.value : -1) << c.value;
    }
}

TEST(EnglishQueryTest, SplitsWordsLikeTheSearchBox)
{
    struct Case {
        const char* text;
        bool exact;
        std::vector<std::string> words;
        const char* phrase;
    } cases[] = {
        {"don't", false, {"don", "t"}, ""},
        {"Cat", false, {"cat"}, ""},
        {"3d cat", false, {"d", "cat"}, ""},
        {"42!", false, {}, ""},
        {"\"to run\"", true, {}, "to run"},
        {" \"to run\"", false, {"to run"}, ""},
        {"run \"to go", false, {"run", "to go"}, ""},
        {"\"", true, {}, ""},
        {"ab\"cd\"", false, {"abcd"}, ""},
    };
    for (const Case& c : cases) {
        const EnglishQuery q = PrepareEnglishQuery(U(c.text));
        EXPECT_EQ(q.exact, c.exact) << c.text;
        EXPECT_EQ(q.words, c.words) << c.text;
        EXPECT_EQ(q.phrase, c.phrase) << c.text;
    }
}

TEST(EnglishQueryTest, SearchTypesOnRunRerunRunning)
{
    const char* to_run = "/(v5r) to run/";
    const char* rerun = "/(n) rerun/";
    const char* running = "/(n) running/";
    struct Case {
        SearchType type;
        bool toRun, rerun, running;
    } cases[] = {
        {SearchType::Beginning, true, false, true},
        {SearchType::Middle, true, true, true},
        {SearchType::End, true, true, false},
        {SearchType::Exact, true, false, false},
    };
    const EnglishQuery q = PrepareEnglishQuery(u"run");
    for (const Case& c : cases) {
        EXPECT_EQ(EnglishMeaningsMatch(q, to_run, c.type), c.toRun) << static_cast<int>(c.type);
        EXPECT_EQ(EnglishMeaningsMatch(q, rerun, c.type), c.rerun) << static_cast<int>(c.type);
        EXPECT_EQ(EnglishMeaningsMatch(q, running, c.type), c.running) << static_cast<int>(c.type);
    }
    // A failing occurrence does not hide a later good one.
    EXPECT_TRUE(FindEnglishWord("/rerun/run/", "run", SearchType::Exact));
    // Two words anywhere, in any order; markers belong to the text.
    const EnglishQuery two = PrepareEnglishQuery(u"fast run");
    EXPECT_TRUE(EnglishMeaningsMatch(two, "/to run (esp. fast)/", SearchType::Exact));
    EXPECT_TRUE(EnglishMeaningsMatch(PrepareEnglishQuery(u"n"), "/(n) x/", SearchType::Exact));
}

TEST(EnglishQueryTest, ExactPhraseTrimsOuterParentheses)
{
    const EnglishQuery q = PrepareEnglishQuery(u"\"to run\"");
    EXPECT_TRUE(EnglishMeaningsMatch(q, "/(v5r) to run (esp. fast)/", SearchType::Middle));
    EXPECT_TRUE(EnglishMeaningsMatch(q, "/to walk/to run/", SearchType::Middle));
    EXPECT_FALSE(EnglishMeaningsMatch(q, "/to run away/", SearchType::Middle));
    EXPECT_EQ(TrimMeaning("(v5r) to run (esp. fast)"), "to run");
    EXPECT_EQ(TrimMeaning("(1) (2)"), "(1) (2)");
    EXPECT_EQ(TrimMeaning(""), "");
    // The blank before the quote keeps the phrase as one term of a normal search.
    const EnglishQuery blank = PrepareEnglishQuery(u" \"to run\"");
    EXPECT_TRUE(EnglishMeaningsMatch(blank, "/to run away/", SearchType::Middle));
    EXPECT_FALSE(EnglishMeaningsMatch(blank, "/to walk, run/", SearchType::Middle));
}

// Random texts and patterns from a small alphabet: the prepared matcher
// answers exactly what the plain wildcard matcher answers on the same
// (folded) text.
TEST(PatternMatcherTest, AgreesWithWildcardMatch)
{
    const std::u16string alphabet = u"あいアイ猫＿？";
    std::mt19937 rng(7);
    auto randomText = [&](size_t maxLen, bool wild) {
        std::u16string s;
        const size_t len = rng() % (maxLen + 1);
        for (size_t i = 0; i < len; ++i)
            s.push_back(alphabet[rng() % (wild ? alphabet.size() : alphabet.size() - 2)]);
        return s;
    };
    for (int round = 0; round < 20000; ++round) {
        const bool fold = round % 2 == 0;
        std::u16string pattern = randomText(5, true);
        if (fold)
            pattern = text::ToKatakana(pattern);
        const PatternMatcher m(pattern, fold);
        for (int j = 0; j < 5; ++j) {
            const std::u16string t = randomText(6, false);
            const std::u16string compared = fold ? text::ToKatakana(t) : t;
            ASSERT_EQ(m.Matches(t), text::WildcardMatch(compared, pattern))
                << Utf16ToUtf8(t) << " / " << Utf16ToUtf8(pattern) << " fold " << fold;
        }
    }
}

}  // namespace
}  // namespace mirudex::search::test
