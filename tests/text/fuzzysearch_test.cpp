#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "core/DebugLog.h"
#include "platform/api/Utf.h"
#include "support/TestSupport.h"
#include "text/Encoding.h"
#include "text/FuzzySearch.h"

using namespace mirudex;
using namespace mirudex::text;

namespace {

using Texts = std::vector<std::u16string>;

class FuzzySearchTest : public test::WorkDirTest {
protected:
    // Writes the rule file as UTF-16LE from UTF-16 text.
    static void WriteRules(const std::u16string& text, const std::string& path = kFuzzyRulesFileName)
    {
        test::WriteFile(path, Utf16Bytes(text));
    }
    static FuzzyRules Rules(std::initializer_list<FuzzyRule> list)
    {
        FuzzyRules rules;
        for (const auto& r : list)
            rules.AddRule(r);
        return rules;
    }
};

TEST_F(FuzzySearchTest, ReadsRulesLineByLine)
{
    OpenLog(1);
    WriteRules(
        u"\uFEFF＿あ:＿い\r\n"
        u"# ＿う:＿え\n"
        u"＿ました:＿る,＿う\r\n"
        u"\n"
        u"no colon here\n"
        u":＿x\n"
        u"a:b,,c\n"
        u"＿く:＿い\r\r\n" +
        std::u16string(1100, u'x') +
        u":＿y\n"
        u"＿x:＿y");
    FuzzyRules rules;
    ASSERT_TRUE(rules.LoadFuzzySearchInfo());
    const auto& r = rules.Rules();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].pattern, u"＿ました");
    EXPECT_EQ(r[0].replacements, (Texts{u"＿る", u"＿う"}));
    EXPECT_EQ(r[1].pattern, u"a");
    EXPECT_EQ(r[1].replacements, (Texts{u"b", u"", u"c"}));
    EXPECT_EQ(r[2].pattern, u"＿く");
    EXPECT_EQ(r[2].replacements, (Texts{u"＿い"}));
    EXPECT_EQ(r[3].pattern, u"＿x");  // the last line, without a line break
    dlog::Close();
    EXPECT_EQ(Log(),
              "LoadFuzzySearchInfo()\n"
              "WARNING: LoadFuzzySearchInfo(): Couldn't find a ':' on this line: \n"
              "WARNING: LoadFuzzySearchInfo(): Couldn't find a ':' on this line: no colon here\n"
              "WARNING: LoadFuzzySearchInfo(): Couldn't find a ':' on this line: :＿x\n"
              "WARNING: LoadFuzzySearchInfo(): a line is too long; it is skipped: " +
                  std::string(1023, 'x') +
                  "\n"
                  "All done.\n");
}

TEST_F(FuzzySearchTest, MissingFileLeavesNoRules)
{
    OpenLog(0);
    FuzzyRules rules;
    rules.AddRule({u"＿た", {u"＿る"}});
    EXPECT_FALSE(rules.LoadFuzzySearchInfo());
    EXPECT_TRUE(rules.Empty());
    EXPECT_EQ(rules.FuzzySearch(u"たべた"), (Texts{u"たべた"}));
    dlog::Close();
    EXPECT_EQ(Log(), "ERROR: LoadFuzzySearchInfo(): Couldn't open 'fuzzysearch.uni.dat'.\nFuzzySearch(たべた)...\n");
}

TEST_F(FuzzySearchTest, VariantsComeDepthFirst)
{
    struct Case {
        const char* name;
        FuzzyRules rules;
        std::u16string text;
        Texts expected;
    };
    const std::vector<Case> cases = {
        {"no rules", FuzzyRules(), u"たべました", {u"たべました"}},
        {"candidate expanded before the next replacement",
         Rules({{u"＿ました", {u"＿る", u"＿う"}}, {u"＿る", {u"＿"}}}),
         u"たべました",
         {u"たべました", u"たべる", u"たべ", u"たべう"}},
        {"pattern without a leading ＿ never applies",
         Rules({{u"たべました", {u"＿る"}}}),
         u"たべました",
         {u"たべました"}},
        {"replacement without a leading ＿ is ignored",
         Rules({{u"＿ました", {u"る", u"＿る"}}}),
         u"たべました",
         {u"たべました", u"たべる"}},
        {"ending found at its last occurrence", Rules({{u"＿る", {u"＿"}}}), u"るする", {u"るする", u"るす"}},
        {"pattern must match the whole text", Rules({{u"＿た", {u"＿る"}}}), u"たべたい", {u"たべたい"}},
        {"wildcard in the pattern matches but the ending is literal",
         Rules({{u"＿？た", {u"＿る"}}}),
         u"たべた",
         {u"たべた"}},
        {"two routes list a text twice",
         Rules({{u"＿ました", {u"＿ます"}}, {u"＿した", {u"＿す"}}, {u"＿ます", {u"＿る"}}}),
         u"たべました",
         {u"たべました", u"たべます", u"たべる", u"たべます", u"たべる"}},
        {"an empty candidate is dropped", Rules({{u"＿する", {u"＿"}}}), u"する", {u"する"}},
        {"a text deriving itself stops",
         Rules({{u"＿る", {u"＿る", u"＿す"}}, {u"＿す", {u"＿る"}}}),
         u"たべる",
         {u"たべる", u"たべす"}},
        // An ending is matched where a character begins, never inside a pair.
        {"ending that is the second half of a pair",
         Rules({{u"＿\xDFC4", {u"＿x"}}}),
         u"a\U00020BC4",
         {u"a\U00020BC4"}},
        {"ending that is a whole pair", Rules({{u"＿\U00020BC4", {u"＿x"}}}), u"a\U00020BC4", {u"a\U00020BC4", u"ax"}},
        {"ending after a lone first half",
         Rules({{u"＿\xDFC4", {u"＿x"}}}),
         u"\xD842\xD842\xDFC4",
         {u"\xD842\xD842\xDFC4"}},
        {"ending after a lone second half",
         Rules({{u"＿\xDFC4", {u"＿x"}}}),
         u"\xDFC4\xDFC4",
         {u"\xDFC4\xDFC4", u"\xDFC4x"}},
        {"the whole text is the ending", Rules({{u"＿る", {u"＿す"}}}), u"る", {u"る", u"す"}},
        {"a long text",
         Rules({{u"＿ました", {u"＿る"}}}),
         std::u16string(20000, u'た') + u"ました",
         {std::u16string(20000, u'た') + u"ました", std::u16string(20000, u'た') + u"る"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.rules.FuzzySearch(c.text), c.expected);
    }
}

TEST_F(FuzzySearchTest, GrowingRulesStopAtTheDepthLimit)
{
    FuzzyRules rules = Rules({{u"＿る", {u"＿るる"}}});
    Texts variants = rules.FuzzySearch(u"る");
    ASSERT_EQ(variants.size(), FuzzyRules::kMaxDepth + 1);
    EXPECT_EQ(variants.back(), std::u16string(FuzzyRules::kMaxDepth + 1, u'る'));
}

TEST_F(FuzzySearchTest, LogsEachSearchAndEachAddedText)
{
    OpenLog(1);
    FuzzyRules rules = Rules({{u"＿ました", {u"＿る"}}, {u"＿る", {u"＿"}}});
    rules.FuzzySearch(u"たべました");
    dlog::Close();
    // Each variant once, however deep it was found.
    EXPECT_EQ(Log(),
              "FuzzySearch(たべました)...\n"
              "   FUZZYSEARCH: Added: たべる\n"
              "FuzzySearch(たべる)...\n"
              "   FUZZYSEARCH: Added: たべ\n"
              "FuzzySearch(たべ)...\n");
}

// Rules that only lengthen their text double the variants at every step:
// the list ends at its bound, in depth-first order, and the log stays as
// short as the list.
TEST_F(FuzzySearchTest, RulesThatOnlyLengthenTheTextStopAtTheVariantBound)
{
    struct Case {
        std::u16string rules;
        std::u16string text;
        std::u16string second;  // the first candidate, expanded first
    };
    const Case cases[] = {
        {u"＿る:＿られる,＿させる\n", u"食べる", u"食べられる"},
        {u"＿:＿あ,＿い\n", u"食べる", u"食べるあ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.rules));
        OpenLog(1);
        WriteRules(c.rules);
        FuzzyRules rules;
        ASSERT_TRUE(rules.LoadFuzzySearchInfo());
        const Texts variants = rules.FuzzySearch(c.text);
        dlog::Close();
        ASSERT_EQ(variants.size(), FuzzyRules::kMaxVariants);
        EXPECT_EQ(variants[0], c.text);
        EXPECT_EQ(variants[1], c.second);
        const std::string log = Log();
        const size_t lines = static_cast<size_t>(std::count(log.begin(), log.end(), '\n'));
        EXPECT_LE(lines, 2 * FuzzyRules::kMaxVariants + 4);
        EXPECT_NE(log.find("WARNING: FuzzySearch(): more than 256 variants of 食べる; the rest are left out.\n"),
                  std::string::npos);
    }
}

TEST_F(FuzzySearchTest, AStopRequestEndsTheExpansion)
{
    FuzzyRules rules = Rules({{u"＿", {u"＿あ", u"＿い"}}});
    std::atomic<bool> stop{true};
    EXPECT_EQ(rules.FuzzySearch(u"た", &stop), (Texts{u"た"}));
    stop = false;
    EXPECT_EQ(rules.FuzzySearch(u"た", &stop).size(), FuzzyRules::kMaxVariants);
}

}  // namespace
