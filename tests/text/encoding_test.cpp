#include <iconv.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/BuildConfig.h"
#include "core/DebugLog.h"
#include "platform/api/Utf.h"
#include "support/TestSupport.h"
#include "text/Encoding.h"

using namespace mirudex;
using namespace mirudex::text;

namespace {

class EncodingTest : public test::WorkDirTest {};

std::string Bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values)
        s.push_back(static_cast<char>(v));
    return s;
}

TEST_F(EncodingTest, ConvertsEucJpKanaToUtf16)
{
    auto out = ConvertEncoding(Bytes({0xA4, 0xA2}), "EUC-JP", "UTF-16LE");
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(*out, Bytes({0x42, 0x30}));
    EXPECT_EQ(out->c_str()[2], '\0');

    auto empty = ConvertEncoding("", "EUC-JP", "UTF-16LE");
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->empty());
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

TEST_F(EncodingTest, StringFormsReadTheOutputAsZeroTerminatedText)
{
    std::u16string wide = u"stale";
    EXPECT_EQ(ConvertEncodingToWide(Bytes({0xC7, 0xAD, 0x00, 0xA4, 0xA2}), "EUC-JP", "UTF-16LE", wide), 0);
    EXPECT_EQ(wide, u"猫");

    std::string narrow;
    EXPECT_EQ(ConvertEncodingToNarrow(Utf16Bytes(u"ねこ"), "UTF-16LE", "EUC-JP", narrow), 0);
    EXPECT_EQ(narrow, Bytes({0xA4, 0xCD, 0xA4, 0xB3}));
    EXPECT_EQ(ConvertEncodingToNarrow(Utf16Bytes(u"猫 cat"), "UTF-16LE", "UTF-8", narrow), 0);
    EXPECT_EQ(narrow, "猫 cat");

    // Failure clears the output.
    EXPECT_EQ(ConvertEncodingToWide(Bytes({0xA4}), "EUC-JP", "UTF-16LE", wide), -1);
    EXPECT_TRUE(wide.empty());
    narrow = "stale";
    EXPECT_EQ(ConvertEncodingToNarrow(Utf16Bytes(u"猫"), "UTF-16LE", "ISO-8859-1", narrow), -1);
    EXPECT_TRUE(narrow.empty());
}

TEST_F(EncodingTest, FailuresGiveTheirMessagesAndLogLines)
{
    const std::u16string contact = build::kContactAddress;
    struct Case {
        const char* name;
        std::string input;
        const char* source;
        const char* target;
        std::u16string text;
        std::u16string caption;
        std::string log;
    };
    const std::vector<Case> cases = {
        {"unknown source", "abc", "NO-SUCH-CODE", "UTF-16LE",
         u"conversion from 'NO-SUCH-CODE' to 'UTF-16LE' not available\n\nPlease report this error to Quillon (" +
             contact + u"), please.",
         u"Error: iconv_open", "ERROR: ConvertEncoding(): errno == EINVAL.\n"},
        {"unknown target", "abc", "UTF-8", "NOPE",
         u"conversion from 'UTF-8' to 'NOPE' not available"
         u"\n\nPlease report this error to Quillon (" +
             contact + u"), please.",
         u"Error: iconv_open", "ERROR: ConvertEncoding(): errno == EINVAL.\n"},
        {"truncated EUC-JP", Bytes({'a', 0xA4, 0xA2, 0xA4}), "EUC-JP", "UTF-16LE",
         u"An incomplete multibyte sequence has been encountered in the input.", u"Error: iconv",
         "ERROR: ConvertEncoding(): Iconv: inbytes is not zero\n"
         "ERROR: ConvertEncoding(): nconv == -1 | errno == INVAL.\n"},
        {"invalid EUC-JP pair", Bytes({0xA4, 0x21, 'a'}), "EUC-JP", "UTF-16LE",
         u"An invalid multibyte sequence has been encountered in the input.", u"Error: iconv",
         "ERROR: ConvertEncoding(): Iconv: inbytes is not zero\n"
         "ERROR: ConvertEncoding(): nconv == -1 | errno == EILSEQ.\n"},
        {"unrepresentable character", Utf16Bytes(u"猫"), "UTF-16LE", "ASCII",
         u"An invalid multibyte sequence has been encountered in the input.", u"Error: iconv",
         "ERROR: ConvertEncoding(): Iconv: inbytes is not zero\n"
         "ERROR: ConvertEncoding(): nconv == -1 | errno == EILSEQ.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform_.Clear();
        dlog::Close();
        OpenLog(0);
        EXPECT_FALSE(ConvertEncoding(c.input, c.source, c.target).has_value());
        auto boxes = platform_.MessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, c.text);
        EXPECT_EQ(boxes[0].caption, c.caption);
        EXPECT_EQ(boxes[0].buttons, platform::Buttons::Ok);
        EXPECT_EQ(boxes[0].owner, platform::Owner::None);
        dlog::Close();
        EXPECT_EQ(Log(), c.log);
    }
}

TEST_F(EncodingTest, TargetsThatNeedMoreThanFourBytesAByteGetTheRoom)
{
    struct Case {
        const char* name;
        std::string input;
        const char* source;
        const char* target;
        std::string output;
    };
    const Case cases[] = {
        // glibc's UTF-32 writes a byte-order mark: 4 + 4 bytes for one input byte.
        {"byte-order mark", "a", "ASCII", "UTF-32", std::string("\xff\xfe\0\0a\0\0\0", 8)},
        // One character: designation, single shift, the character, and back.
        {"stateful", Utf16Bytes(u"é"), "UTF-16LE", "ISO-2022-JP-2", "\x1b$(D+1\x1b(B"},
        {"stateful, Korean", Utf16Bytes(u"한"), "UTF-16LE", "ISO-2022-KR", "\x1b$)C\x0eGQ\x0f"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ConvertEncoding(c.input, c.source, c.target), c.output);
    }
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

TEST_F(EncodingTest, ConvertingAsFarAsPossibleStopsAtTheFirstCharacterTheTargetLacks)
{
    struct Case {
        std::u16string text;
        const char* target;
        std::string bytes;
        size_t consumedUnits;
        Conversion result;
    };
    const Case cases[] = {
        {u"café", "SHIFT_JIS", "caf", 3, Conversion::Failed},
        {u"猫", "ASCII", "", 0, Conversion::Failed},
        {u"猫é", "ISO-2022-JP-2", "\x1b$BG-\x1b$(D+1\x1b(B", 2, Conversion::Converted},
        {u"aé", "ISO-2022-KR", "\x1b$)Ca", 1, Conversion::Failed},
        {u"", "EUC-JP", "", 0, Conversion::Converted},
    };
    for (const Case& c : cases) {
        const PartConversion part = ConvertAsFarAsPossible(Utf16Bytes(c.text), "UTF-16LE", c.target);
        EXPECT_EQ(part.bytes, c.bytes) << c.target;
        EXPECT_EQ(part.consumed, c.consumedUnits * 2) << c.target;
        EXPECT_EQ(part.result, c.result) << c.target;
    }
    EXPECT_TRUE(platform_.MessageBoxes().empty());
    EXPECT_EQ(ConvertAsFarAsPossible("x", "UTF-8", "NOPE").result, Conversion::UnknownEncoding);
    EXPECT_EQ(platform_.MessageBoxes().size(), 1u);
}

TEST_F(EncodingTest, IrreversibleConversionFailsSilently)
{
    EXPECT_FALSE(ConvertEncoding(Utf16Bytes(u"é"), "UTF-16LE", "ASCII//TRANSLIT").has_value());
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

TEST_F(EncodingTest, ReusedConverterStartsCleanAfterFailures)
{
    // A failed ISO-2022-JP conversion leaves the converter shifted; the next
    // call must not inherit that state.
    EXPECT_FALSE(ConvertEncoding(Bytes({0x1B, '$', 'B', 0x30}), "ISO-2022-JP", "UTF-16LE").has_value());
    auto ascii = ConvertEncoding("0\"", "ISO-2022-JP", "UTF-16LE");
    ASSERT_TRUE(ascii.has_value());
    EXPECT_EQ(*ascii, Utf16Bytes(u"0\""));
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(ConvertEncoding(Bytes({0xA4}), "EUC-JP", "UTF-16LE").has_value());
        EXPECT_EQ(ConvertEncoding(Bytes({0xA4, 0xA2}), "EUC-JP", "UTF-16LE"), Bytes({0x42, 0x30}));
    }
}

TEST_F(EncodingTest, StatefulTargetReturnsToItsInitialState)
{
    // あ in ISO-2022-JP: switch to JIS X 0208, the character, back to ASCII.
    auto out = ConvertEncoding(Utf16Bytes(u"あ"), "UTF-16LE", "ISO-2022-JP");
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(*out, Bytes({0x1B, '$', 'B', 0x24, 0x22, 0x1B, '(', 'B'}));
}

TEST_F(EncodingTest, VerboseLevelLogsTheIconvBlock)
{
    OpenLog(3);
    ASSERT_TRUE(ConvertEncoding(Bytes({0xA4, 0xA2}), "EUC-JP", "UTF-16LE").has_value());
    dlog::Close();
    EXPECT_EQ(Log(),
              "*****************\n***   ICONV   ***\n*****************\n"
              "out_buffer: size (original): 8\nout_buffer: size (outbytes): 2\nout_buffer:   <あ>\n");

    dlog::SetLevel(2);
    dlog::Open();
    ASSERT_TRUE(ConvertEncoding(Bytes({0xA4, 0xA2}), "EUC-JP", "UTF-16LE").has_value());
    dlog::Close();
    EXPECT_EQ(Log(), "");
}

TEST_F(EncodingTest, ConvertersArePerThread)
{
    std::vector<std::thread> threads;
    std::vector<int> good(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &good] {
            for (int i = 0; i < 500; ++i) {
                auto out = t % 2 ? ConvertEncoding(Bytes({0xA4, 0xA2}), "EUC-JP", "UTF-16LE")
                                 : ConvertEncoding(Bytes({0x82, 0xA0}), "SHIFT_JIS", "UTF-16LE");
                if (out == Bytes({0x42, 0x30}))
                    ++good[t];
            }
        });
    }
    for (auto& th : threads)
        th.join();
    for (int g : good)
        EXPECT_EQ(g, 500);
}

TEST(EncodingTable, RowsAreThoseOfTheComboBox)
{
    auto table = EncodingTable();
    ASSERT_EQ(table.size(), 106u);
    ASSERT_EQ(kEncodingRowCount, 106);
    struct Row {
        int row;
        std::u16string display;
        const char* iconv;
    };
    const std::vector<Row> fixed = {
        {0, u"<<<<  W I N D O W S    U N I C O D E  >>>>", nullptr},
        {1, u"Normal Unicode (Windows)", "UTF-16LE"},
        {2, u"<<<<<<<<<<  J A P A N E S E  >>>>>>>>>>", nullptr},
        {3, u"EUC-JP", "EUC-JP"},
        {4, u"Shift JIS (SJIS)", "SHIFT_JIS"},
        {5, u"CP932 (Microsoft SJIS)", "CP932"},
        {6, u"ISO-2022-JP (~1983)", "ISO-2022-JP"},
        {7, u"ISO-2022-JP-1 (~1990)", "ISO-2022-JP-1"},
        {8, u"ISO-2022-JP-2 (Multi-lingual extention)", "ISO-2022-JP-2"},
        {9, u"<<<<<<<<<<<  U N I C O D E  >>>>>>>>>>>", nullptr},
        {10, u"UTF-8", "UTF-8"},
        {25, u"JAVA", "JAVA"},
        {26, u"<<<<<<<<<<<  C H I N E S E  >>>>>>>>>>>", nullptr},
        {36, u"ISO-2022-CN-EXT", "ISO-2022-CN-EXT"},
        {37, u"<<<<<<<<<  E U R O P E A N  >>>>>>>>>", nullptr},
        {38, u"ASCII", "ASCII"},
        {62, u"MacRoman", "MacRoman"},
        {71, u"Macintosh", "Macintosh"},
        {72, u"<<<<<<<<<<<  S E M I T I C  >>>>>>>>>>>", nullptr},
        {79, u"MacArabic", "MacArabic"},
        {80, u"<<<<<<<<<<<  K O R E A N  >>>>>>>>>>>", nullptr},
        {84, u"JOHAB", "JOHAB"},
        {85, u"<<<<<<<<<  A R M E N I A N  >>>>>>>>>", nullptr},
        {86, u"ARMSCII-8", "ARMSCII-8"},
        {87, u"<<<<<<<<<  G E O R G I A N  >>>>>>>>>", nullptr},
        {89, u"Georgian-PS", "Georgian-PS"},
        {90, u"<<<<<<<<<<<<  T A J I K  >>>>>>>>>>>>", nullptr},
        {91, u"KOI8-T", "KOI8-T"},
        {92, u"<<<<<<<<<<<<<  T H A I  >>>>>>>>>>>>>", nullptr},
        {95, u"MacThai", "MacThai"},
        {96, u"<<<<<<<<<<  L A O T I A N  >>>>>>>>>>", nullptr},
        {98, u"CP1133", "CP1133"},
        {99, u"<<<<<<<  V I E T N A M E S E  >>>>>>>", nullptr},
        {102, u"CP1258", "CP1258"},
        {103, u"<<  P L A T F O R M  S P E C I F I C S  >>", nullptr},
        {104, u"HP-ROMAN8", "HP-ROMAN8"},
        {105, u"NEXTSTEP", "NEXTSTEP"},
    };
    for (const auto& r : fixed) {
        SCOPED_TRACE(r.row);
        EXPECT_EQ(table[r.row].displayName, r.display);
        if (r.iconv == nullptr)
            EXPECT_EQ(table[r.row].iconvName, nullptr);
        else
            EXPECT_STREQ(table[r.row].iconvName, r.iconv);
    }
    int separators = 0;
    for (int row = 0; row < 106; ++row) {
        EXPECT_EQ(table[row].position, row);
        if (table[row].iconvName == nullptr) {
            ++separators;
        } else if (row >= 9) {
            EXPECT_EQ(table[row].displayName, Widen(table[row].iconvName)) << row;
        }
    }
    EXPECT_EQ(separators, 14);
}

TEST(EncodingTable, ComboPositionsAndLanguageBits)
{
    EXPECT_EQ(RowOfComboPosition(1), 1);
    EXPECT_STREQ(IconvNameForRow(RowOfComboPosition(1)), "UTF-16LE");
    EXPECT_EQ(RowOfComboPosition(105), 105);
    EXPECT_LT(RowOfComboPosition(-1), 0);
    EXPECT_LT(RowOfComboPosition(106), 0);
    EXPECT_EQ(IconvNameForRow(0), nullptr);
    EXPECT_EQ(IconvNameForRow(-1), nullptr);
    EXPECT_EQ(IconvNameForRow(106), nullptr);

    EXPECT_EQ(LanguageOfCommand(40022), 1);
    EXPECT_EQ(LanguageOfCommand(40023), 2);
    EXPECT_EQ(LanguageOfCommand(40027), 4);
    EXPECT_EQ(LanguageOfCommand(40024), 0);
}

TEST_F(EncodingTest, UnknownLanguageCommandWarns)
{
    OpenLog(0);
    EXPECT_EQ(LanguageOfCommand(40025), 0);
    dlog::Close();
    EXPECT_EQ(Log(), "Warning: cannot convert ID to LANG.\n");
}

TEST_F(EncodingTest, EveryRowOpensUnlessGlibcLacksTheEncoding)
{
    // glibc has no converter at all for these; they keep their rows and fail.
    const std::set<std::string> missing = {"ISO-2022-JP-1", "C99",        "JAVA",      "HZ",         "MacIceland",
                                           "MacCroatian",   "MacRomania", "MacGreek",  "MacTurkish", "MacHebrew",
                                           "MacArabic",     "MacThai",    "MuleLao-1", "NEXTSTEP"};
    for (int row = 0; row < kEncodingRowCount; ++row) {
        const char* name = IconvNameForRow(row);
        if (name == nullptr)
            continue;
        SCOPED_TRACE(name);
        const std::string tableName = EncodingTable()[row].iconvName;
        iconv_t cd = iconv_open(name, "UTF-16LE");
        const bool opens = cd != reinterpret_cast<iconv_t>(-1);
        if (opens)
            iconv_close(cd);
        EXPECT_EQ(opens, missing.count(tableName) == 0);
        if (!opens) {
            EXPECT_EQ(std::string(name), tableName) << "a missing encoding is never replaced";
        }
    }
    platform_.Clear();
    EXPECT_FALSE(ConvertEncoding("a", "UTF-16LE", IconvNameForRow(105)).has_value());
    ASSERT_EQ(platform_.MessageBoxes().size(), 1u);
    EXPECT_EQ(platform_.MessageBoxes()[0].caption, u"Error: iconv_open");
}

TEST_F(EncodingTest, MacNamesMapToTheSameEncodingInGlibc)
{
    struct Case {
        int row;
        int byte;
        char16_t expected;
    };
    // A byte whose character differs between the Mac encodings.
    const std::vector<Case> cases = {
        {62, 0x8E, u'é'},       // MacRoman
        {62, 0xDE, u'\uFB01'},  // MacRoman: ﬁ
        {63, 0x81, u'\u0100'},  // MacCentralEurope: Ā
        {63, 0xDE, u'\u0159'},  // MacCentralEurope: ř
        {68, 0xA2, u'\u0490'},  // MacUkraine: Ґ
        {68, 0x80, u'\u0410'},  // MacUkraine: А
        {71, 0x8E, u'é'},       // Macintosh
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        std::u16string out;
        ASSERT_EQ(ConvertEncodingToWide(Bytes({c.byte}), IconvNameForRow(c.row), "UTF-16LE", out), 0);
        EXPECT_EQ(out, std::u16string(1, c.expected));
        // The table's own name is understood as well.
        ASSERT_EQ(ConvertEncodingToWide(Bytes({c.byte}), EncodingTable()[c.row].iconvName, "UTF-16LE", out), 0);
        EXPECT_EQ(out, std::u16string(1, c.expected));
    }
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

}  // namespace

namespace {

// The strict decoder refuses every ill-formed sequence and says where it
// starts; the showing form puts one U+FFFD for each.
TEST(StrictUtf8, RefusesWhatIsNotUtf8)
{
    struct Case {
        std::string bytes;
        bool valid;
        size_t offset;
        bool incomplete;
        std::u16string shown;  // Utf8ToUtf16
    };
    const Case cases[] = {
        {"", true, 0, false, u""},
        {"a/", true, 0, false, u"a/"},
        {Bytes({0xE7, 0x8C, 0xAB}), true, 0, false, u"猫"},
        {Bytes({0xF0, 0x9F, 0x90, 0x88}), true, 0, false, u"\U0001F408"},
        {Bytes({0xF4, 0x8F, 0xBF, 0xBF}), true, 0, false, u"\U0010FFFF"},
        {Bytes({0xEF, 0xBB, 0xBF, 0x61}), true, 0, false, u"\uFEFFa"},
        {Bytes({0x61, 0xC0, 0xAF}), false, 1, false, u"a\uFFFD\uFFFD"},       // overlong "/"
        {Bytes({0xE0, 0x80, 0xAF}), false, 0, false, u"\uFFFD\uFFFD\uFFFD"},  // overlong, three bytes
        {Bytes({0xF0, 0x80, 0x80, 0xAF}), false, 0, false, u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {Bytes({0xC1, 0xBF}), false, 0, false, u"\uFFFD\uFFFD"},
        {Bytes({0xED, 0xA0, 0x80}), false, 0, false, u"\uFFFD\uFFFD\uFFFD"},              // surrogate D800
        {Bytes({0xED, 0xBF, 0xBF}), false, 0, false, u"\uFFFD\uFFFD\uFFFD"},              // surrogate DFFF
        {Bytes({0xF4, 0x90, 0x80, 0x80}), false, 0, false, u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
        {Bytes({0xF5, 0x80, 0x80, 0x80}), false, 0, false, u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {Bytes({0x61, 0x80}), false, 1, false, u"a\uFFFD"},        // stray continuation
        {Bytes({0xE7, 0x8C, 0x41}), false, 0, false, u"\uFFFDA"},  // cut by another character
        {Bytes({0x61, 0xE7, 0x8C}), false, 1, true, u"a\uFFFD"},   // cut by the end
        {Bytes({0xF0, 0x9F}), false, 0, true, u"\uFFFD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.bytes));
        Utf8Fault fault;
        const std::optional<std::u16string> text = DecodeUtf8(c.bytes, &fault);
        EXPECT_EQ(text.has_value(), c.valid);
        if (text) {
            EXPECT_EQ(*text, c.shown);
            EXPECT_EQ(Utf16ToUtf8(*text), c.bytes);
        } else {
            EXPECT_EQ(fault.offset, c.offset);
            EXPECT_EQ(fault.incomplete, c.incomplete);
        }
        EXPECT_EQ(Utf8ToUtf16(c.bytes), c.shown);
    }
}

// UTF-8 files and clipboard bytes go through the same decoder, with the
// converter's own messages for what it refuses.
TEST_F(EncodingTest, Utf8InputIsDecodedStrictly)
{
    std::u16string out;
    EXPECT_EQ(ConvertEncodingToWide(Bytes({0xE7, 0x8C, 0xAB, 0x2F}), "UTF-8", "UTF-16LE", out), 0);
    EXPECT_EQ(out, u"猫/");
    EXPECT_EQ(ConvertEncodingToWide(Bytes({0xC0, 0xAF}), "utf8", "UTF-16LE", out), -1);
    EXPECT_EQ(ConvertEncodingToWide(Bytes({0xED, 0xA0, 0x80}), "UTF-8", "UTF-16LE", out), -1);
    EXPECT_EQ(ConvertEncodingToWide(Bytes({0x61, 0xE7, 0x8C}), "UTF-8", "UTF-16LE", out), -1);
    EXPECT_TRUE(out.empty());
    const auto boxes = platform_.MessageBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, u"An invalid multibyte sequence has been encountered in the input.");
    EXPECT_EQ(boxes[1].text, u"An invalid multibyte sequence has been encountered in the input.");
    EXPECT_EQ(boxes[2].text, u"An incomplete multibyte sequence has been encountered in the input.");
    EXPECT_EQ(boxes[2].caption, u"Error: iconv");
}

}  // namespace
