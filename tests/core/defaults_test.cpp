#include <variant>

#include "core/DebugLog.h"
#include "core/DefaultOptions.h"
#include "core/OptionsStartup.h"
#include "core/Registry.h"
#include "support/TestSupport.h"

using namespace mirudex;

namespace {

using Value = std::variant<int, bool, const char*>;
struct Expected {
    const char* path;
    Value value;
};

// Every key of the default file with its value.
const Expected kDefaults[] = {
    {".\\Window\\RememberSize", false},
    {".\\Window\\Window_x", 352},
    {".\\Window\\Window_y", 213},
    {".\\Window\\Window_w", 800},
    {".\\Window\\Window_h", 600},
    {".\\Window\\Div_vert", 145},
    {".\\Window\\Div_vert_bottom_horiz", 220},
    {".\\Window\\StudyList_h", -1},
    {".\\Window\\RadicalLookup_h", -1},
    {".\\Search\\Font\\Font", "Arial"},
    {".\\Search\\Font\\Size", 9},
    {".\\Search\\Font\\Color", 0},
    {".\\Search\\Toolbars\\Type", 40007},
    {".\\Search\\Toolbars\\Substr", false},
    {".\\Search\\Toolbars\\Word", false},
    {".\\Search\\Toolbars\\Fuzzy", false},
    {".\\Search\\Toolbars\\Romaji-conversion", false},
    {".\\Search\\Toolbars\\Kana-sensitive", false},
    {".\\Search\\Toolbars\\Show", true},
    {".\\Search\\Toolbars\\Encoding", 1},
    {".\\Search\\RecentList\\Enabled", true},
    {".\\Search\\RecentList\\Max", 40},
    {".\\Search\\RecentList\\Load", true},
    {".\\Search\\WindowBG", 16777215},
    {".\\Search\\ShowInitialText", true},
    {".\\Search\\AlwaysSearchFocus", false},
    {".\\Search\\Language", 0},
    {".\\Dictionaries\\EDICT\\0\\Path", "DICT\\edict"},
    {".\\Dictionaries\\EDICT\\0\\Name", "Standard EDICT"},
    {".\\Dictionaries\\EDICT\\0\\Encoding", "EUC-JP"},
    {".\\Dictionaries\\EDICT\\0\\On", true},
    {".\\Dictionaries\\EDICT\\Number", 2},
    {".\\Dictionaries\\KANJIDIC\\Path", "DICT\\kanjidic"},
    {".\\Dictionaries\\KANJIDIC\\Name", "Standard KANJIDIC"},
    {".\\Dictionaries\\RADKFILE\\Path", "radkfile.dat"},
    {".\\Dictionaries\\Indexing", true},
    {".\\Buffer\\EDICT", 5000},
    {".\\Buffer\\KANJIDIC", 2000},
    {".\\Buffer\\RADKFILE", 1000},
    {".\\Results\\Fonts\\Word\\Font", "MS Mincho"},
    {".\\Results\\Fonts\\Word\\Size", 12},
    {".\\Results\\Fonts\\Word\\Color", 8388608},
    {".\\Results\\Fonts\\Kana\\Font", "MS Mincho"},
    {".\\Results\\Fonts\\Kana\\Size", 12},
    {".\\Results\\Fonts\\Kana\\Color", 0},
    {".\\Results\\Fonts\\Meaning\\Font", "Arial"},
    {".\\Results\\Fonts\\Meaning\\Size", 8},
    {".\\Results\\Fonts\\Meaning\\Color", 0},
    {".\\Results\\Fonts\\Info\\Font", "Times New Roman"},
    {".\\Results\\Fonts\\Info\\Size", 8},
    {".\\Results\\Fonts\\Info\\Color", 7347451},
    {".\\Results\\Colors\\BG1", 16777215},
    {".\\Results\\Colors\\BG2", 12632256},
    {".\\Results\\Colors\\BGWindow", 16777215},
    {".\\Results\\Colors\\Border_Inside", 8421440},
    {".\\Results\\Colors\\Border_Outside", 0},
    {".\\Results\\Copy\\Format", "{%word (%kana) \\:\\: %meaning}"},
    {".\\Results\\Copy\\SepInfo", "{, }"},
    {".\\Results\\Copy\\SepMeaning", "{ | }"},
    {".\\Results\\Copy\\SepMultiple", "{\\n}"},
    {".\\Results\\Size", 200},
    {".\\Results\\Sort1", 6},
    {".\\Results\\Sort1 Asc", true},
    {".\\Results\\Sort2", 1},
    {".\\Results\\Sort2 Asc", true},
    {".\\Results\\CompactRows", false},
    {".\\StudyList\\On", true},
    {".\\StudyList\\File", "studylist.default"},
    {".\\Kanji\\Fonts\\Kanji\\Font", "MS Mincho"},
    {".\\Kanji\\Fonts\\Kanji\\Size", 24},
    {".\\Kanji\\Fonts\\Kanji\\Color", 8388608},
    {".\\Kanji\\Fonts\\On\\Font", "MS Mincho"},
    {".\\Kanji\\Fonts\\On\\Size", 10},
    {".\\Kanji\\Fonts\\On\\Color", 1210497},
    {".\\Kanji\\Fonts\\Kun\\Color", 2433279},
    {".\\Kanji\\Fonts\\Meaning\\Font", "Arial"},
    {".\\Kanji\\Fonts\\Meaning\\Size", 8},
    {".\\Kanji\\Fonts\\Meaning\\Color", 0},
    {".\\Kanji\\Colors\\BG1", 16777215},
    {".\\Kanji\\Colors\\BG2", 12632256},
    {".\\Kanji\\Colors\\BGWindow", 16777215},
    {".\\Kanji\\Colors\\Border_Inside", 8421504},
    {".\\Kanji\\Colors\\Border_Outside", 0},
    {".\\Kanji\\HeaderWindow1\\Header0", 20},
    {".\\Kanji\\HeaderWindow1\\Header1", 34},
    {".\\Kanji\\HeaderWindow1\\Header2", 34},
    {".\\Kanji\\HeaderWindow1\\Header3", 11},
    {".\\Kanji\\HeaderWindow2\\Header0", 20},
    {".\\Kanji\\HeaderWindow2\\Header1", 80},
    {".\\Kanji\\Sort1 Level", 1},
    {".\\Kanji\\Sort1 Button", 0},
    {".\\Kanji\\Sort1 Asc", true},
    {".\\Kanji\\Sort2 Level", 1},
    {".\\Kanji\\Sort2 Button", 3},
    {".\\Kanji\\Sort2 Asc", true},
    {".\\RadicalLookup\\On", true},
    {".\\RadicalLookup\\CtrlClick", false},
    {".\\Misc\\Font\\Font", "Arial"},
    {".\\Misc\\Font\\Size", 8},
    {".\\Misc\\FirstTime", true},
    {".\\Misc\\AlwaysOnTop", false},
    {".\\Misc\\GrabClipboard", false},
    {".\\Misc\\GrabClipboard-AutoSearch", false},
    {".\\Misc\\Version", "1.0.7.502"},
    {".\\Misc\\IME", true},
    {".\\Misc\\ROMAjiMode", false},
};

struct HeaderItem {
    int header, percentage, position;
};
// The result window shows Relevance, the first sort key, after the lengths.
const HeaderItem kResultItems[] = {{0, 30, 0}, {1, 30, 0}, {0, 52, 1}, {1, 70, 1}, {0, 5, 2}, {0, 5, 3}, {0, 8, 4}};
const HeaderItem kStudyItems[] = {{0, 19, 0}, {0, 20, 1}, {-1, 28, 1}, {0, 61, 2}, {-1, 80, 2}, {-1, 100, 3}};

class DefaultOptionsTest : public test::WorkDirTest {};

}  // namespace

TEST_F(DefaultOptionsTest, EveryKeyReadsBackWithItsValue)
{
    ASSERT_TRUE(WriteDefaultOptionsFile("Options.mxreg"));
    Registry r;
    ASSERT_TRUE(r.Load("Options.mxreg"));
    for (const auto& e : kDefaults) {
        SCOPED_TRACE(e.path);
        if (auto* i = std::get_if<int>(&e.value)) {
            EXPECT_EQ(r.GetINT(e.path), *i);
        } else if (auto* b = std::get_if<bool>(&e.value)) {
            // A BOOL read as INT gives 0: make sure the kind is BOOL too.
            EXPECT_EQ(r.GetBOOL(e.path), *b);
            EXPECT_EQ(r.GetSTRING(e.path), nullptr);
        } else {
            const std::string* s = r.GetSTRING(e.path);
            ASSERT_NE(s, nullptr);
            EXPECT_EQ(*s, std::get<const char*>(e.value));
        }
    }
    for (int n = 0; n < 6; ++n) {
        std::string base = ".\\Results\\HeaderItems\\" + std::to_string(n) + "\\";
        EXPECT_EQ(r.GetINT(base + "Header"), kResultItems[n].header);
        EXPECT_EQ(r.GetINT(base + "Percentage"), kResultItems[n].percentage);
        EXPECT_EQ(r.GetINT(base + "Position"), kResultItems[n].position);
        base = ".\\StudyList\\HeaderItems\\" + std::to_string(n) + "\\";
        EXPECT_EQ(r.GetINT(base + "Header"), kStudyItems[n].header);
        EXPECT_EQ(r.GetINT(base + "Percentage"), kStudyItems[n].percentage);
        EXPECT_EQ(r.GetINT(base + "Position"), kStudyItems[n].position);
    }
    const std::string relevance = ".\\Results\\HeaderItems\\6\\";
    EXPECT_EQ(r.GetINT(relevance + "Header"), kResultItems[6].header);
    EXPECT_EQ(r.GetINT(relevance + "Percentage"), kResultItems[6].percentage);
    EXPECT_EQ(r.GetINT(relevance + "Position"), kResultItems[6].position);
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

TEST_F(DefaultOptionsTest, FileLayoutAndCommentsSurviveLoadThenSave)
{
    const std::string text = DefaultOptionsText();
    EXPECT_EQ(text.rfind("#\n# Mirudex options file (v2)\n#\nKEY_START :: Window\n", 0), 0u);
    EXPECT_NE(text.find("KEY_STOP\n\nKEY_START :: Results\n#\n# Results\n#\n"), std::string::npos);
    EXPECT_NE(text.find("\t\tKEY_START :: 3\n# Meaning\n\t\t\tINT :: Header :: 1\n"), std::string::npos);
    EXPECT_NE(text.find("KEY_START :: StudyList\n#\n# Study List\n#\n"), std::string::npos);
    EXPECT_NE(text.find("KEY_START :: Buffer\n#\n# Buffers\n#\n"), std::string::npos);
    EXPECT_NE(text.find("STRING :: Format :: {%word (%kana) \\:\\: %meaning}\n"), std::string::npos);
    EXPECT_EQ(text.find("%%"), std::string::npos);

    Registry r;
    r.LoadFromText(text);
    std::string saved = r.SaveToText();
    // Root comments first, then the keys; blank lines are not written back.
    EXPECT_EQ(saved.rfind("#\n# Mirudex options file (v2)\n#\nKEY_START :: Window\n", 0), 0u);
    EXPECT_EQ(saved.find("\n\n"), std::string::npos);
    // Data after child keys: Number follows keys 0 and 1, Indexing follows RADKFILE.
    EXPECT_NE(saved.find("\t\tKEY_STOP\n\t\tINT :: Number :: 2\n\tKEY_STOP\n"), std::string::npos);
    Registry again;
    again.LoadFromText(saved);
    EXPECT_EQ(again.SaveToText(), saved);
}

TEST_F(DefaultOptionsTest, UnwritableDefaultFileShowsTheError)
{
    EXPECT_FALSE(WriteDefaultOptionsFile("no/such/dir/Options.mxreg"));
    auto boxes = platform_.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"Couldn't create a new options file.");
    EXPECT_EQ(boxes[0].caption, u"Error");
}

// The defaults' dictionaries (EDICT and the names dictionary) go into a file
// without a dictionary list of its own, never into a list the user has.
TEST_F(DefaultOptionsTest, MergingTheDefaultsLeavesTheUsersDictionaryListAlone)
{
    const std::string ownList =
        "KEY_START :: Dictionaries\n\tKEY_START :: EDICT\n\t\tKEY_START :: 0\n\t\t\tSTRING :: Path :: DICT\\mine\n"
        "\t\t\tSTRING :: Name :: Mine\n\t\t\tSTRING :: Encoding :: UTF-8\n\t\t\tBOOL :: On :: TRUE\n\t\tKEY_STOP\n"
        "\t\tKEY_START :: 1\n\t\t\tSTRING :: Name :: No path\n\t\tKEY_STOP\n"
        "\t\tINT :: Number :: NUMBER\n\tKEY_STOP\nKEY_STOP\n";
    for (const char* number : {"1", "2"}) {
        SCOPED_TRACE(number);
        std::string text = ownList;
        text.replace(text.find("NUMBER"), 6, number);
        Registry options;
        options.LoadFromText(text);
        Registry defaults;
        defaults.LoadFromText(DefaultOptionsText());
        MergeDefaultOptions(options, defaults);
        EXPECT_EQ(options.GetINT(opt::dictionaries::edict::kNumber), std::stoi(number));
        EXPECT_EQ(options.GetString(opt::dictionaries::edict::Path(0)), "DICT\\mine");
        const RegistryKey* second = options.root().FindChild("Dictionaries")->FindChild("EDICT")->FindChild("1");
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(second->FindData("Path"), nullptr);  // not filled with another dictionary's path
        EXPECT_TRUE(options.DataExists(opt::dictionaries::jmdict::kLanguage));  // everything else merged
    }
    Registry bare;
    bare.LoadFromText("KEY_START :: Misc\nKEY_STOP\n");
    Registry defaults;
    defaults.LoadFromText(DefaultOptionsText());
    MergeDefaultOptions(bare, defaults);
    EXPECT_EQ(bare.GetINT(opt::dictionaries::edict::kNumber), 2);
    EXPECT_EQ(bare.GetString(opt::dictionaries::edict::Path(1)), "DICT\\enamdict");
    EXPECT_FALSE(bare.GetBOOL(opt::dictionaries::edict::On(1)));
}
