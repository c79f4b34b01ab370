#include <random>
#include <string>
#include <vector>

#include "platform/api/Utf.h"
#include "text/CharClass.h"
#include "text/Wildcard.h"

#include <gtest/gtest.h>

using namespace mirudex;
using namespace mirudex::text;

namespace {

// The matcher written the plain recursive way, as the reference.
bool ReferenceMatch(std::u16string_view t, std::u16string_view p)
{
    if (p.empty())
        return t.empty();
    if (t.empty()) {
        for (char16_t c : p) {
            if (c != u'＿')
                return false;
        }
        return true;
    }
    if (p[0] == u'？')
        return ReferenceMatch(t.substr(1), p.substr(1));
    if (p[0] == u'＿') {
        for (std::size_t n = t.size() + 1; n-- > 0;) {
            if (ReferenceMatch(t.substr(n), p.substr(1)))
                return true;
        }
        return false;
    }
    return p[0] == t[0] && ReferenceMatch(t.substr(1), p.substr(1));
}

TEST(WildcardMatch, Cases)
{
    struct Case {
        std::u16string text;
        std::u16string pattern;
        bool match;
    };
    const std::vector<Case> cases = {
        {u"", u"", true},
        {u"", u"＿", true},
        {u"", u"＿＿", true},
        {u"", u"？", false},
        {u"ねこ", u"", false},
        {u"ねこ", u"ねこ", true},
        {u"ねこ", u"ねこ＿", true},
        {u"ねこ", u"＿ねこ", true},
        {u"ねこ", u"＿ね＿こ＿", true},
        {u"ねこ", u"ね", false},
        {u"ね", u"ねこ", false},
        {u"ねこ", u"？こ", true},
        {u"ねこ", u"？", false},
        {u"ねこ", u"？？", true},
        {u"ねこ", u"？？？", false},
        {u"ねこ", u"ネコ", false},
        {u"ｃａｔ", u"ｃＡｔ", false},
        {u"たべました", u"＿ました", true},
        {u"ました", u"＿ました", true},
        {u"ましたか", u"＿ました", false},
        {u"ねこねこ", u"＿ねこ", true},
        {u"ねこねこ", u"ね＿こ", true},
        {u"ねこねこい", u"＿ね？", false},
        {u"abcabd", u"＿ab？", true},
        {u"＿", u"ね", false},
        {u"＿", u"＿", true},
        {u"？", u"？", true},
        {u"ね", u"＿？＿", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.text) + " / " + Utf16ToUtf8(c.pattern));
        EXPECT_EQ(WildcardMatch(c.text, c.pattern), c.match);
        EXPECT_EQ(ReferenceMatch(c.text, c.pattern), c.match);
    }
}

TEST(WildcardMatch, AgreesWithTheRecursiveReference)
{
    // Small alphabets make near misses and long runs likely; the text may hold
    // the wildcard characters themselves, which are literal there.
    const std::u16string textAlphabet = u"あいう＿？";
    const std::u16string patternAlphabet = u"あい＿＿？";
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> textLength(0, 9);
    std::uniform_int_distribution<int> patternLength(0, 7);
    int matches = 0;
    for (int round = 0; round < 200000; ++round) {
        std::u16string text, pattern;
        for (int n = textLength(rng); n > 0; --n)
            text.push_back(textAlphabet[rng() % textAlphabet.size()]);
        for (int n = patternLength(rng); n > 0; --n)
            pattern.push_back(patternAlphabet[rng() % patternAlphabet.size()]);
        const bool expected = ReferenceMatch(text, pattern);
        ASSERT_EQ(WildcardMatch(text, pattern), expected) << Utf16ToUtf8(text) << " / " << Utf16ToUtf8(pattern);
        matches += expected;
    }
    EXPECT_GT(matches, 10000) << "the random cases must exercise matches too";
}

TEST(WildcardMatch, ManyRunsAgainstALongTextAnswer)
{
    // The recursive reading of this pattern takes time exponential in the
    // number of ＿; the matcher must not.
    const std::u16string text(20000, u'あ');
    EXPECT_FALSE(WildcardMatch(text, u"＿あ＿あ＿あ＿あ＿あ＿あ＿あ＿あ＿い"));
    EXPECT_TRUE(WildcardMatch(text + u"い", u"＿あ＿あ＿あ＿あ＿あ＿あ＿あ＿あ＿い"));
    EXPECT_FALSE(WildcardMatch(text, u"＿？＿？＿？＿？＿い＿"));
}

}  // namespace

// Characters outside the Basic Multilingual Plane are two units: one
// character for ？, for the counts and for every cut.
TEST(SurrogatePairs, AreOneCharacter)
{
    struct Case {
        std::u16string_view text, pattern;
        bool match;
    };
    const Case cases[] = {
        {u"𠮟る", u"？る", true},   {u"𠮟る", u"？？る", false}, {u"𠮟る", u"？？", true},
        {u"𠮟る", u"＿る", true},   {u"𠮟る", u"𠮟＿", true},    {u"叱る", u"𠮟＿", false},
        {u"大𠮟", u"＿？", true},   {u"大𠮟", u"＿？？", true},  {u"大𠮟", u"＿？？？", false},
        {u"𠮟𠮟", u"＿？𠮟", true}, {u"𠮟", u"？", true},        {u"𠮟", u"？？", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WildcardMatch(c.text, c.pattern), c.match) << "case " << (&c - cases);

    EXPECT_EQ(CharacterCount(u"𠮟る"), 2u);
    EXPECT_EQ(CharacterCount(u"\xD842"), 1u);  // a high surrogate alone
    EXPECT_EQ(CharacterLength(u"𠮟る", 0), 2u);
    EXPECT_EQ(CharacterLength(u"𠮟る", 2), 1u);
    EXPECT_EQ(CharacterLength(u"𠮟る", 3), 0u);
    EXPECT_EQ(CharacterBoundary(u"a𠮟る", 2), 1u);  // not between the two halves
    EXPECT_EQ(CharacterBoundary(u"a𠮟る", 3), 3u);
    EXPECT_EQ(CharacterBoundary(u"a𠮟る", 9), 4u);
    EXPECT_FALSE(IsKana(u"𠮟"[0]));
    EXPECT_FALSE(IsAllKanaOrWildcard(u"𠮟る"));  // a written form: compared with headwords
}
