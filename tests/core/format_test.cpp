#include <gtest/gtest.h>

#include "core/Format.h"

using mirudex::Format;

TEST(Format, WideAndNarrowStringsFollowTheWindowsReading)
{
    std::string narrow = "edict";
    std::u16string wide = u"ねこ";
    EXPECT_EQ(Format(u"%S / %s", narrow, wide), u"edict / ねこ");
    EXPECT_EQ(Format(u"EDICT_Index_Load: ERROR: %S not opened.\n", "DICT/edict"),
              u"EDICT_Index_Load: ERROR: DICT/edict not opened.\n");
    // A byte above 127 in an 8-bit argument is widened, not decoded.
    EXPECT_EQ(Format(u"%S", std::string("\xA4\xCD")), std::u16string(u"\u00A4\u00CD"));
}

TEST(Format, NumbersWidthsAndPercent)
{
    EXPECT_EQ(Format(u"%i|%d|%u", -5, 42, 7u), u"-5|42|7");
    EXPECT_EQ(Format(u"%x %X %04x", 255, 255, 10), u"ff FF 000a");
    EXPECT_EQ(Format(u"[%5i][%-5i][%05i]", 12, 12, -12), u"[   12][12   ][-0012]");
    EXPECT_EQ(Format(u"%c%c", u'猫', 65), u"猫A");
    EXPECT_EQ(Format(u"100%% %s", u"done"), u"100% done");
    EXPECT_EQ(Format(u"%.2s|%3s", u"abcdef", u"a"), u"ab|  a");
    EXPECT_EQ(Format(u"%x", -1), u"ffffffff");
}

TEST(Format, MissingArgumentsAndOddFormatsAreSafe)
{
    EXPECT_EQ(Format(u"a %i b %s c"), u"a 0 b  c");
    EXPECT_EQ(Format(u"end %"), u"end %");
    EXPECT_EQ(Format(u"%q"), u"%q");
    EXPECT_EQ(Format(u"%s", static_cast<const char16_t*>(nullptr)), u"(null)");
}
