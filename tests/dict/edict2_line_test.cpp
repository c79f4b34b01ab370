#include <gtest/gtest.h>

#include "DictTestUtil.h"
#include "dict/Edict2Line.h"

namespace mirudex::dict::test {
namespace {

using Forms = std::vector<Edict2Form>;
using Texts = std::vector<std::u16string>;

Edict2Form F(const char* text, Texts tags = {}, Texts restrictedTo = {})
{
    return {U(text), std::move(tags), std::move(restrictedTo)};
}

TEST(Edict2Line, SplitsFormsReadingsTagsAndRestrictions)
{
    struct Case {
        const char* line;
        Forms headwords;
        Forms readings;
        Texts fields;
        const char* entryId;
    };
    const Case cases[] = {
        {"猫;ネコ [ねこ(P);ネコ] /(n) (1) cat/(2) shamisen/(P)/EntL1467640X/\n",
         {F("猫"), F("ネコ")},
         {F("ねこ", {u"P"}), F("ネコ")},
         {u"(n) (1) cat", u"(2) shamisen", u"(P)"},
         "EntL1467640X"},
        // Tags on written forms, several groups and a comma list.
        {"噛む(P);咬む;嚙む(oK)(iK,io) [かむ(P)] /(v5m,vt) to bite/EntL1589210/",
         {F("噛む", {u"P"}), F("咬む"), F("嚙む", {u"oK", u"iK", u"io"})},
         {F("かむ", {u"P"})},
         {u"(v5m,vt) to bite"},
         "EntL1589210"},
        // Restricted readings: a comma list of written forms, blanks after ';'.
        {"あっと言う間;あっという間;あっとゆう間 [あっというま(あっと言う間,あっという間); "
         "あっとゆうま(あっとゆう間)(ik)] /(exp) a blink of time/EntL2208410/",
         {F("あっと言う間"), F("あっという間"), F("あっとゆう間")},
         {F("あっというま", {}, {u"あっと言う間", u"あっという間"}), F("あっとゆうま", {u"ik"}, {u"あっとゆう間"})},
         {u"(exp) a blink of time"},
         "EntL2208410"},
        // A kana-only entry: its readings are its headwords, no brackets.
        {"ネコ;ねこ(ik) /(n) cat/EntL9000010/", {F("ネコ"), F("ねこ", {u"ik"})}, {}, {u"(n) cat"}, "EntL9000010"},
        // A form outside the Basic Multilingual Plane (a surrogate pair).
        {"𠮟る;叱る [しかる] /(v5r,vt) to scold/EntL1305920X/",
         {F("𠮟る"), F("叱る")},
         {F("しかる")},
         {u"(v5r,vt) to scold"},
         "EntL1305920X"},
        // Plain EDICT: one form, no id; a group that is part of the headword stays.
        {"日本 [にほん] /(n) Japan/", {F("日本")}, {F("にほん")}, {u"(n) Japan"}, ""},
        {"(株) [かぶ] /(abbr) stock company/", {F("(株)")}, {F("かぶ")}, {u"(abbr) stock company"}, ""},
        // An id-like text that is not the last field is a meaning; text after the last '/' is ignored.
        {"語 [ご] /EntL12/word/ tail", {F("語")}, {F("ご")}, {u"EntL12", u"word"}, ""},
        {"語 [ご] /EntLx/", {F("語")}, {F("ご")}, {u"EntLx"}, ""},
        // Damaged lines: no closing bracket, no slash at all, nothing before the slash.
        {"語 [ご /word/", {F("語")}, {F("ご")}, {u"word"}, ""},
        {"語 [ご]", {F("語")}, {F("ご")}, {}, ""},
        {"/word/", {}, {}, {u"word"}, ""},
        {"", {}, {}, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const Edict2Line parsed = ParseEdict2Line(U(c.line));
        EXPECT_EQ(parsed.headwords, c.headwords);
        EXPECT_EQ(parsed.readings, c.readings);
        EXPECT_EQ(parsed.fields, c.fields);
        EXPECT_EQ(parsed.entryId, U(c.entryId));
    }
}

TEST(Edict2Line, ReadingOfAFormFollowsTheRestrictions)
{
    const Edict2Line line = ParseEdict2Line(U("空く;開く;明く [あく;すく(空く)(P)] /(v5k,vi) to open/EntL1/"));
    EXPECT_EQ(ReadingOf(line, u"空く"), u"あく");
    const Edict2Line restricted = ParseEdict2Line(U("空く;開く [すく(空く);あく] /(v5k,vi) to open/EntL1/"));
    EXPECT_EQ(ReadingOf(restricted, u"空く"), u"すく");
    EXPECT_EQ(ReadingOf(restricted, u"開く"), u"あく");
    EXPECT_EQ(ReadingOf(ParseEdict2Line(U("ネコ /(n) cat/")), u"ネコ"), u"");
}

TEST(Edict2Line, DetectsTheFormFromTheRawBytes)
{
    struct Case {
        std::string line;
        bool edict2;
    };
    const Case cases[] = {
        {Euc("猫;ネコ [ねこ;ネコ] /(n) cat/"), true},
        {Euc("猫 [ねこ] /(n) cat/EntL1467640X/\n"), true},
        {Euc("猫 [ねこ] /(n) cat/EntL1467640/\r\n"), true},
        {"\xe7\x8c\xab [\xe3\x81\xad\xe3\x81\x93] /(n) cat/EntL1467640X/", true},  // UTF-8
        {Euc("猫 [ねこ] /(n) cat/(P)/"), false},
        {Euc("猫 [ねこ] /(n) cat; feline/"), false},  // a ';' among the meanings is no headword list
        {Euc("猫 [ねこ] /EntL12/cat/"), false},
        {Euc("　？？？ /EDICT, EDICT_SUB(P), EDICT2 Japanese-English Electronic Dictionary Files/"), false},
        {"", false},
        {"/", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LooksLikeEdict2(c.line), c.edict2) << c.line;
}

}  // namespace
}  // namespace mirudex::dict::test
