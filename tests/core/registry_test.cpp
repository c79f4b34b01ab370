#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <vector>

#include "core/DebugLog.h"
#include "core/DefaultOptions.h"
#include "core/OptionsFile.h"
#include "core/Registry.h"
#include "support/TestSupport.h"

using namespace mirudex;

class RegistryTest : public test::WorkDirTest {
protected:
    Registry Parse(const std::string& text)
    {
        Registry r;
        r.LoadFromText(text);
        return r;
    }
};

TEST_F(RegistryTest, ParserFollowsTheFileRules)
{
    // KEY_STOP first ends the whole parse.
    {
        Registry r = Parse("KEY_STOP\nKEY_START :: A\n\tINT :: x :: 1\nKEY_STOP\n");
        EXPECT_TRUE(r.root().children.empty());
    }
    // Values: lower-case true, atoi, blanks, empty value.
    Registry r = Parse(
        "KEY_START :: K\n"
        "\tBOOL :: lower :: true\n"
        "\tBOOL :: upper :: TRUE\n"
        "\tINT :: mixed :: 12abc\n"
        "\tINT :: letters :: abc\n"
        "\tINT :: negative :: -42\n"
        "\tSTRING :: padded ::    a value with inner blanks  \t\n"
        "\tSTRING :: empty ::\n"
        "\tSTRING :: Sort1 Asc :: keeps inner spaces of names\n"
        "   # blanks before a hash: not a comment, a one-field line\n"
        "\tSTRING :: a :: b :: c\n"
        "\tWORD :: unknown :: type\n"
        "KEY_STOP\n");
    EXPECT_FALSE(r.GetBOOL(".\\K\\lower"));
    EXPECT_TRUE(r.GetBOOL(".\\K\\upper"));
    EXPECT_EQ(r.GetINT(".\\K\\mixed"), 12);
    EXPECT_EQ(r.GetINT(".\\K\\letters"), 0);
    EXPECT_EQ(r.GetINT(".\\K\\negative"), -42);
    EXPECT_EQ(r.GetString(".\\K\\padded"), "a value with inner blanks");
    EXPECT_EQ(r.GetString(".\\K\\empty"), "");
    EXPECT_EQ(r.GetString(".\\K\\Sort1 Asc"), "keeps inner spaces of names");
    // More than three fields and unknown type words are dropped.
    EXPECT_FALSE(r.DataExists(".\\K\\a"));
    EXPECT_FALSE(r.DataExists(".\\K\\unknown"));
    EXPECT_TRUE(r.root().children[0]->comments.empty());
    EXPECT_EQ(r.SaveToText(),
              "KEY_START :: K\n"
              "\tBOOL :: lower :: FALSE\n"
              "\tBOOL :: upper :: TRUE\n"
              "\tINT :: mixed :: 12\n"
              "\tINT :: letters :: 0\n"
              "\tINT :: negative :: -42\n"
              "\tSTRING :: padded :: a value with inner blanks\n"
              "\tSTRING :: empty :: \n"
              "\tSTRING :: Sort1 Asc :: keeps inner spaces of names\n"
              "KEY_STOP\n");
}

TEST_F(RegistryTest, LastLineWithoutLineEndIsReadAndEndOfFileClosesKeys)
{
    Registry r = Parse("KEY_START :: A\n\tKEY_START :: B\n\t\tINT :: x :: 1\n\tKEY_STOP\n\tINT :: last :: 5");
    EXPECT_EQ(r.GetINT(".\\A\\B\\x"), 1);
    EXPECT_EQ(r.GetINT(".\\A\\last"), 5);
    Registry r2 = Parse("KEY_START :: A\n\tINT :: x :: 1\nKEY_STOP");
    EXPECT_EQ(r2.GetINT(".\\A\\x"), 1);
    EXPECT_EQ(r2.SaveToText(), "KEY_START :: A\n\tINT :: x :: 1\nKEY_STOP\n");
    // A last comment without a line end gets one, so the next line stays apart.
    Registry r4 = Parse("KEY_START :: A\nKEY_STOP\n# last");
    EXPECT_EQ(r4.SaveToText(), "# last\nKEY_START :: A\nKEY_STOP\n");
    // CR LF files read like LF files.
    Registry r3 = Parse("KEY_START :: A\r\n# note\r\n\tINT :: x :: 7\r\nKEY_STOP\r\n");
    EXPECT_EQ(r3.GetINT(".\\A\\x"), 7);
    EXPECT_EQ(r3.SaveToText(), "KEY_START :: A\n# note\n\tINT :: x :: 7\nKEY_STOP\n");
}

TEST_F(RegistryTest, LongLinesReadBackWhole)
{
    // A copy format or a comment of any length comes back as it was written.
    const std::string longValue = "{" + std::string(6000, 'v') + "}";
    const std::string longComment = "# " + std::string(9000, 'c') + "\n";
    Registry r = Parse(DefaultOptionsText());
    r.SetSTRING(".\\Results\\Copy\\Format", longValue);
    r.root().comments.push_back(longComment);
    ASSERT_TRUE(r.Save("Options.mxreg"));
    Registry back;
    ASSERT_EQ(back.LoadFile("Options.mxreg").status, RegistryLoad::Loaded);
    EXPECT_EQ(back.GetString(".\\Results\\Copy\\Format"), longValue);
    EXPECT_EQ(back.root().comments.back(), longComment);
    EXPECT_EQ(back.GetINT(".\\Results\\Size"), 200);
}

TEST_F(RegistryTest, RepeatedKeyBlocksAreMergedAndTheFileSettles)
{
    // A block repeated under one parent, at the top and further down, with
    // comments and data of its own in each copy.
    const std::string file =
        "# top\n"
        "KEY_START :: Window\n\tINT :: Window_x :: 1\n\tKEY_START :: Inner\n\t\tINT :: a :: 1\n\tKEY_STOP\nKEY_STOP\n"
        "KEY_START :: Misc\n\tKEY_START :: Inner\n\t\tINT :: b :: 2\n\tKEY_STOP\n"
        "\tKEY_START :: Inner\n# second\n\t\tINT :: c :: 3\n\tKEY_STOP\nKEY_STOP\n"
        "KEY_START :: Window\n\tINT :: Window_y :: 2\n\tKEY_START :: Inner\n\t\tINT :: d :: 4\n\tKEY_STOP\nKEY_STOP\n";
    Registry r = Parse(file);
    ASSERT_EQ(r.root().children.size(), 2u);
    EXPECT_EQ(r.GetINT(".\\Window\\Window_y"), 2);
    EXPECT_EQ(r.GetINT(".\\Window\\Inner\\d"), 4);
    EXPECT_EQ(r.GetINT(".\\Misc\\Inner\\c"), 3);

    // Three starts and exits of the program: the first save merges, the
    // next ones change nothing, byte for byte.
    test::WriteFile("Options.mxreg", file);
    std::vector<std::string> saved;
    for (int run = 0; run < 3; ++run) {
        Registry options;
        ASSERT_TRUE(options.Load("Options.mxreg"));
        ASSERT_TRUE(options.Save("Options.mxreg"));
        saved.push_back(test::ReadFile("Options.mxreg"));
    }
    EXPECT_EQ(saved[1], saved[0]);
    EXPECT_EQ(saved[2], saved[0]);
    EXPECT_EQ(saved[0],
              "# top\n"
              "KEY_START :: Window\n\tKEY_START :: Inner\n\t\tINT :: a :: 1\n\t\tINT :: d :: 4\n\tKEY_STOP\n"
              "\tINT :: Window_x :: 1\n\tINT :: Window_y :: 2\nKEY_STOP\n"
              "KEY_START :: Misc\n\tKEY_START :: Inner\n# second\n\t\tINT :: b :: 2\n\t\tINT :: c :: 3\n\tKEY_STOP\n"
              "KEY_STOP\n");
}

TEST_F(RegistryTest, RepeatedNestedNamesSaveInLinearSize)
{
    // Shapes that once made the save write a key once per path to it.
    std::string flat, nested, mixed;
    for (int i = 0; i < 30; ++i) {
        flat += "KEY_START :: x\nKEY_STOP\nKEY_START :: x\n";
        nested += "KEY_START :: x\nKEY_START :: x\n\tINT :: n :: 1\nKEY_STOP\n";
        mixed += "KEY_START :: x\n\tKEY_START :: x\n\tKEY_STOP\n\tKEY_START :: y\n";
    }
    for (const std::string& text : {flat, nested, mixed}) {
        Registry r;
        ASSERT_EQ(r.LoadFromText(text), RegistryLoad::Loaded);
        const std::string once = r.SaveToText();
        // Each key once (with its indentation), not once per path to it.
        EXPECT_LT(once.size(), 8 * text.size());
        Registry again;
        again.LoadFromText(once);
        EXPECT_EQ(again.SaveToText(), once);
    }
}

TEST_F(RegistryTest, FilesThatCannotBeUsedSayWhy)
{
    struct Case {
        const char* name;
        std::function<void()> make;
        RegistryLoad status;
        int error;
    };
    const std::string deep = [] {
        std::string text;
        for (int i = 0; i < 25000; ++i)
            text += "KEY_START :: d\n";
        return text;
    }();
    const std::string justDeepEnough = [] {
        std::string text;
        for (int i = 0; i < Registry::kMaxDepth; ++i)
            text += "KEY_START :: d\n";
        return text + "INT :: v :: 1\n";
    }();
    const Case cases[] = {
        {"missing", [] {}, RegistryLoad::Missing, ENOENT},
        {"a directory", [] { std::filesystem::create_directory("Options.mxreg"); }, RegistryLoad::Unreadable, EISDIR},
        {"nested too deep", [&] { test::WriteFile("Options.mxreg", deep); }, RegistryLoad::TooDeep, 0},
        {"as deep as allowed", [&] { test::WriteFile("Options.mxreg", justDeepEnough); }, RegistryLoad::Loaded, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all("Options.mxreg");
        c.make();
        Registry r;
        const RegistryLoadResult result = r.LoadFile("Options.mxreg");
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(r.Load("Options.mxreg"), c.status == RegistryLoad::Loaded);
    }
}

TEST_F(RegistryTest, WrongKindsAreQuietForGettersAndLoggedForSetters)
{
    OpenLog();
    Registry r = Parse(DefaultOptionsText());
    EXPECT_EQ(r.GetINT(".\\Misc\\AlwaysOnTop"), 0);
    EXPECT_FALSE(r.GetBOOL(".\\Results\\Size"));
    EXPECT_EQ(r.GetSTRING(".\\Results\\Size"), nullptr);
    r.SetINT(".\\Misc\\Version", 3);
    r.SetBOOL(".\\Results\\Size", true);
    r.SetSTRING(".\\Misc\\IME", "x");
    EXPECT_EQ(r.GetString(".\\Misc\\Version"), "1.0.7.502");
    EXPECT_EQ(r.GetINT(".\\Results\\Size"), 200);
    EXPECT_TRUE(r.GetBOOL(".\\Misc\\IME"));
    dlog::Close();
    EXPECT_EQ(Log(),
              "ERROR: GetSTRING(): Results\\\\Size :: type is not string.\n"
              "Registry: SetINT(): type of Misc\\\\Version is not int.\n"
              "Registry: SetBOOL(): type of Results\\\\Size is not bool.\n"
              "Registry: SetSTRING(): type of Misc\\\\IME is not string.\n");
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

TEST_F(RegistryTest, MissingItemsEndTheProgramWithTheLineToAdd)
{
    OpenLog();
    Registry r = Parse(DefaultOptionsText());
    EXPECT_FATAL_EXIT(r.GetINT(".\\Search\\Font\\Nope"), -1);
    auto boxes = platform_.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, u"Error");
    EXPECT_EQ(boxes[0].owner, platform::Owner::None);
    EXPECT_EQ(boxes[0].text,
              u"There is no data by the name 'Nope' in Mirudex's registry.\n\nYou can add the data by adding the "
              u"following to Options.mxreg:\n     INT :: Nope :: number\nunder 'Search\\Font\\'.\n\nThe safest option "
              u"would be to back up your Options.mxreg file and then delete it, so that Mirudex will make a new "
              u"one.\n\nMirudex will now quit to be safe.");

    platform_.Clear();
    EXPECT_FATAL_EXIT(r.GetBOOL(".\\Misc\\Nope"), -1);
    EXPECT_EQ(platform_.MessageBoxes().at(0).text,
              u"There is no data by the name 'Nope' in Mirudex's registry.\n\nYou can add the data by adding the "
              u"following to Options.mxreg:\n     BOOL :: Nope :: TRUE\nor\n     BOOL :: Nope :: FALSE\nunder "
              u"'Misc\\'.\n\nThe safest option would be to back up your Options.mxreg file and then delete it, so "
              u"that Mirudex will make a new one.\n\nMirudex will now quit to be safe.");

    platform_.Clear();
    r.CD(".");
    EXPECT_FATAL_EXIT(r.GetSTRING("Nope"), -1);
    EXPECT_NE(platform_.MessageBoxes().at(0).text.find(u"     STRING :: Nope :: some text\nunder ''."),
              std::u16string::npos);

    // SetINT and DataExists through a missing key: the CD message, under the root.
    for (int which = 0; which < 2; ++which) {
        platform_.Clear();
        r.CD(".");
        if (which == 0)
            EXPECT_FATAL_EXIT(r.SetINT(".\\NoSuchKey\\x", 1), -1);
        else
            EXPECT_FATAL_EXIT(r.DataExists("NoSuchKey\\x"), -1);
        EXPECT_EQ(platform_.MessageBoxes().at(0).text,
                  u"There is no path by the name 'NoSuchKey' in Mirudex's registry.\n\nYou can add the path by adding "
                  u"the following to Options.mxreg:\n     KEY_START :: NoSuchKey\n     KEY_STOP\nunder the key "
                  u"''.\n\nThe safest option would be to back up your Options.mxreg file and then delete it, so that "
                  u"Mirudex will make a new one.\n\nMirudex will now quit to be safe.");
    }
    dlog::Close();
    std::string log = Log();
    EXPECT_NE(log.find("Registry: GetINT(): 'Nope' not found.\n"), std::string::npos);
    EXPECT_NE(log.find("Registry: GetBOOL(): 'Nope' not found.\n"), std::string::npos);
    EXPECT_NE(log.find("ERROR: Registry: GetSTRING(): 'Nope' not found.\nERROR:\nThere is no data"), std::string::npos);
    EXPECT_NE(log.find("Registry: CD(): ERROR: path 'NoSuchKey' does not exist.\n"), std::string::npos);
}

TEST_F(RegistryTest, CurrentKeyAfterRelativeAndAbsolutePaths)
{
    Registry r = Parse(DefaultOptionsText());
    r.CD(".\\Dictionaries\\EDICT");
    EXPECT_EQ(r.GetINT("Number"), 2);
    EXPECT_EQ(r.current().PathText(), "Dictionaries\\EDICT\\");
    EXPECT_EQ(r.GetString("0\\Path"), "DICT\\edict");
    EXPECT_EQ(r.current().PathText(), "Dictionaries\\EDICT\\");
    // Lookups never move the current key, so that a reader on another thread
    // cannot pull it from under a caller working relative to it.
    EXPECT_EQ(r.GetString("..\\KANJIDIC\\Path"), "DICT\\kanjidic");
    EXPECT_EQ(r.current().PathText(), "Dictionaries\\EDICT\\");
    EXPECT_EQ(r.GetINT(".\\Results\\Size"), 200);
    EXPECT_EQ(r.current().PathText(), "Dictionaries\\EDICT\\");
    r.CD(".\\Window");
    r.SetINT("Brand New", 5);
    ASSERT_EQ(r.current().data.back().name, "Brand New");
    EXPECT_EQ(r.current().data.back().typeText, "INT");
    EXPECT_TRUE(r.DataExists("Brand New"));
    r.CD("..");
    r.CD("..");
    EXPECT_EQ(r.current().PathText(), "") << "the root's parent is the root";
}

TEST_F(RegistryTest, MakeAndDeleteKeys)
{
    Registry r = Parse(DefaultOptionsText());
    r.CD(".\\Dictionaries\\EDICT");
    r.MakeKey("1");
    r.MakeKey("1");
    r.MakeKey("a\\b");
    r.CD("1");
    r.SetSTRING("Path", "DICT\\other");
    r.CD(".");
    EXPECT_EQ(r.GetString(".\\Dictionaries\\EDICT\\1\\Path"), "DICT\\other");
    r.CD(".\\Dictionaries\\EDICT");
    EXPECT_EQ(r.current().children.size(), 2u);
    r.DeleteKey(".\\Dictionaries\\EDICT\\1");
    r.DeleteKey(".\\Dictionaries\\EDICT\\nothing");
    r.CD(".\\Dictionaries\\EDICT");
    EXPECT_EQ(r.current().children.size(), 1u);
}

TEST_F(RegistryTest, MergeAddsOnlyWhatIsMissing)
{
    OpenLog();
    Registry old = Parse(
        "KEY_START :: Search\n\tKEY_START :: Font\n\t\tINT :: Size :: 14\n\tKEY_STOP\n"
        "\tSTRING :: Language :: kept as text\nKEY_STOP\n");
    Registry defaults = Parse(DefaultOptionsText());
    old.MergeFrom(defaults);
    EXPECT_EQ(old.GetINT(".\\Search\\Font\\Size"), 14);
    EXPECT_EQ(old.GetString(".\\Search\\Font\\Font"), "Arial");
    EXPECT_EQ(old.GetString(".\\Search\\Language"), "kept as text") << "an existing item keeps its kind";
    EXPECT_EQ(old.GetINT(".\\Results\\Size"), 200);
    EXPECT_EQ(old.GetINT(".\\Results\\HeaderItems\\3\\Percentage"), 70);
    dlog::Close();
    std::string log = Log();
    EXPECT_NE(log.find("*** Made new dat: Search\\Font\\Font\n"), std::string::npos);
    EXPECT_NE(log.find("*** Made new key: Results\n"), std::string::npos);
    EXPECT_NE(log.find("*** Made new key: Results\\Fonts\n"), std::string::npos);
    EXPECT_EQ(log.find("Made new dat: Search\\Font\\Size"), std::string::npos);
    EXPECT_TRUE(old.root().children[0]->comments.empty()) << "comments are not merged";
}

TEST_F(RegistryTest, PrintWritesTheTreeToTheLog)
{
    OpenLog();
    Registry r = Parse(
        "KEY_START :: A\n\tKEY_START :: B\n\t\tBOOL :: on :: TRUE\n\tKEY_STOP\n"
        "\tINT :: n :: 4\n\tSTRING :: s :: text\nKEY_STOP\n");
    r.Print(0);
    dlog::Close();
    EXPECT_EQ(Log(), "[.]\n   [A]\n      [B]\n         on = TRUE\n      n = 4\n      s = text\n");
}

TEST_F(RegistryTest, SaveAndLoadFiles)
{
    Registry r = Parse(DefaultOptionsText());
    r.CD(".\\Window");
    ASSERT_TRUE(r.Save("Options.mxreg"));
    EXPECT_EQ(r.current().PathText(), "");
    Registry back;
    ASSERT_TRUE(back.Load("Options.mxreg"));
    EXPECT_EQ(back.SaveToText(), r.SaveToText());
    EXPECT_FALSE(back.Load("missing.mxreg"));
    EXPECT_FALSE(r.Save("no/such/dir/Options.mxreg"));
}

TEST_F(RegistryTest, FailedSaveLeavesTheOldFileIntact)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root can write into read-only directories";
    test::WriteFile("Options.mxreg", "KEY_START :: Old\nKEY_STOP\n");
    Registry r = Parse(DefaultOptionsText());
    chmod(".", 0500);
    EXPECT_FALSE(r.Save("Options.mxreg"));
    chmod(".", 0700);
    EXPECT_EQ(test::ReadFile("Options.mxreg"), "KEY_START :: Old\nKEY_STOP\n");
}

TEST_F(RegistryTest, SaveWhereNoFileCanBeCreatedLeavesTheOldFileIntact)
{
    // Even root cannot create files in /proc: the new contents never reach the old file.
    const std::string before = test::ReadFile("/proc/version");
    Registry r = Parse(DefaultOptionsText());
    EXPECT_FALSE(r.Save("/proc/version"));
    EXPECT_EQ(test::ReadFile("/proc/version"), before);
}

TEST_F(RegistryTest, FailedReplaceLeavesTheTargetAndNoTemporaryFile)
{
    // The new file is written completely, but it cannot take the target's place.
    std::filesystem::create_directory("Options.mxreg");
    test::WriteFile("Options.mxreg/keep", "x");
    Registry r = Parse(DefaultOptionsText());
    EXPECT_FALSE(r.Save("Options.mxreg"));
    EXPECT_EQ(test::ReadFile("Options.mxreg/keep"), "x");
    // No temporary file is left behind.
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator("."))
        files += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 0);
}

namespace {

// Every text value of the store, as a path from the root.
void CollectStrings(const RegistryKey& key, const std::string& path, std::vector<std::string>& out)
{
    for (const auto& child : key.children)
        CollectStrings(*child, path + child->name + "\\", out);
    for (const auto& d : key.data)
        if (d.kind == RegistryKind::STRING)
            out.push_back(path + d.name);
}

}  // namespace

TEST_F(RegistryTest, EveryTextOptionReadsBackExactlyWhatWasWritten)
{
    // Texts a plain line cannot carry: a separator, line ends, blanks at the
    // ends, control characters, and what the escape itself is made of.
    const std::vector<std::string> values = {
        "/tmp/JM::dict.xml",
        "week 1 :: verbs.list",
        "::",
        ":: leading",
        "trailing ::",
        "a:::b",
        "  leading blanks",
        "trailing blanks \t",
        " ",
        "\t",
        "line\nend",
        "line\r\nend\r\n",
        "\n",
        "ends with a line end\n",
        std::string("nul\0inside", 10),
        "100% %3A %% %zz %",
        "ESCAPED",
        "ESCAPED :: x",
        "{ braces }",
        "\\:\\:",
        "ordinary text",
        "",
    };
    Registry r = Parse(DefaultOptionsText());
    std::vector<std::string> paths;
    CollectStrings(r.root(), ".\\", paths);
    ASSERT_GT(paths.size(), 20u);
    for (const std::string& value : values) {
        SCOPED_TRACE(testing::PrintToString(value));
        for (const std::string& path : paths)
            r.SetSTRING(path, value);
        ASSERT_TRUE(r.Save("Options.mxreg"));
        Registry back;
        ASSERT_EQ(back.LoadFile("Options.mxreg").status, RegistryLoad::Loaded);
        for (const std::string& path : paths)
            ASSERT_EQ(back.GetString(path), value) << path;
        // Nothing else was lost, and saving again writes the same file.
        EXPECT_EQ(back.GetINT(".\\Results\\Size"), 200);
        EXPECT_EQ(back.SaveToText(), r.SaveToText());
    }
}

TEST_F(RegistryTest, EscapedValuesAndOldFiles)
{
    struct Case {
        std::string value;
        std::string line;  // as Save writes it
    };
    const Case cases[] = {
        {"plain value", "\tSTRING :: v :: plain value\n"},
        {"\\:\\: and {braces}", "\tSTRING :: v :: \\:\\: and {braces}\n"},
        {"100%", "\tSTRING :: v :: 100%\n"},
        {"JM::dict.xml", "\tSTRING :: v :: ESCAPED :: JM%3A%3Adict.xml\n"},
        {" a b ", "\tSTRING :: v :: ESCAPED :: %20a b%20\n"},
        {"a\nb%", "\tSTRING :: v :: ESCAPED :: a%0Ab%25\n"},
    };
    for (const Case& c : cases) {
        Registry r = Parse("KEY_START :: K\nKEY_STOP\n");
        r.SetSTRING(".\\K\\v", c.value);
        EXPECT_EQ(r.SaveToText(), "KEY_START :: K\n" + c.line + "KEY_STOP\n");
        EXPECT_EQ(Parse(r.SaveToText()).GetString(".\\K\\v"), c.value);
    }
    // Files written before read as they always did: their values are never
    // decoded, and four-field lines other than an escaped text stay ignored.
    Registry old = Parse(
        "KEY_START :: K\n"
        "\tSTRING :: percent :: %3A%3A\n"
        "\tSTRING :: format :: {\\:\\: }\n"
        "\tSTRING :: a :: b :: c\n"
        "\tINT :: n :: ESCAPED :: 5\n"
        "\tSTRING :: bad :: %zz%4 ::\n"
        "KEY_STOP\n");
    EXPECT_EQ(old.GetString(".\\K\\percent"), "%3A%3A");
    EXPECT_EQ(old.GetString(".\\K\\format"), "{\\:\\: }");
    EXPECT_FALSE(old.DataExists(".\\K\\a"));
    EXPECT_FALSE(old.DataExists(".\\K\\n"));
    // A damaged escape keeps what it cannot decode.
    EXPECT_EQ(Parse("\tSTRING :: v :: ESCAPED :: %zz%4%\n").GetString("v"), "%zz%4%");
}

namespace {

std::string DictionaryPaths(Registry& r)
{
    std::string out;
    const int n = r.GetINT(".\\Dictionaries\\EDICT\\Number");
    for (int i = 0; i < n; ++i)
        out += r.GetString(".\\Dictionaries\\EDICT\\" + std::to_string(i) + "\\Path") + ";";
    return out;
}

void AddDictionary(Registry& r, const std::string& path)
{
    const int n = r.GetINT(".\\Dictionaries\\EDICT\\Number");
    r.CD(".\\Dictionaries\\EDICT");
    r.MakeKey(std::to_string(n));
    r.CD(".");
    const std::string key = ".\\Dictionaries\\EDICT\\" + std::to_string(n);
    r.SetSTRING(key + "\\Path", path);
    r.SetSTRING(key + "\\Name", path);
    r.SetBOOL(key + "\\On", true);
    r.SetINT(".\\Dictionaries\\EDICT\\Number", n + 1);
}

}  // namespace

TEST_F(RegistryTest, MergeKeepsWhatOthersWroteAndWhatThisProcessChanged)
{
    OpenLog();
    Registry base = Parse(DefaultOptionsText());
    const std::string before = DictionaryPaths(base);
    struct Case {
        const char* what;
        std::function<void(Registry&)> ours;
        std::function<void(Registry&)> theirs;
        std::string dictionaries;  // after the merge
        int size;                  // .\Results\Size after the merge
        int buffer;                // .\Buffer\EDICT after the merge
    };
    const Case cases[] = {
        {"an import meanwhile, nothing changed here", [](Registry&) {},
         [](Registry& r) {
             AddDictionary(r, "DICT/jmdict.edict2");
             r.SetINT(".\\Buffer\\EDICT", 9000);
         },
         before + "DICT/jmdict.edict2;", 200, 9000},
        {"an import meanwhile, other settings changed here", [](Registry& r) { r.SetINT(".\\Results\\Size", 50); },
         [](Registry& r) {
             AddDictionary(r, "DICT/jmdict.edict2");
             r.SetINT(".\\Results\\Size", 70);
         },
         before + "DICT/jmdict.edict2;", 50, 5000},
        {"both added a dictionary under the same number", [](Registry& r) { AddDictionary(r, "DICT/mine"); },
         [](Registry& r) { AddDictionary(r, "DICT/theirs"); }, before + "DICT/mine;DICT/theirs;", 200, 5000},
        {"the same dictionary added by both", [](Registry& r) { AddDictionary(r, "DICT/same"); },
         [](Registry& r) { AddDictionary(r, "DICT/same"); }, before + "DICT/same;", 200, 5000},
        {"a dictionary removed here stays removed",
         [](Registry& r) {
             r.DeleteKey(".\\Dictionaries\\EDICT\\1");
             r.SetINT(".\\Dictionaries\\EDICT\\Number", 1);
         },
         [](Registry& r) { r.SetINT(".\\Buffer\\EDICT", 6000); }, "DICT\\edict;", 200, 6000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Registry ours = CopyOfOptions(base);
        Registry theirs = CopyOfOptions(base);
        Registry baseline = CopyOfOptions(base);
        c.ours(ours);
        c.theirs(theirs);
        MergeOutsideChanges(ours, baseline, theirs);
        EXPECT_EQ(DictionaryPaths(ours), c.dictionaries);
        EXPECT_EQ(ours.GetINT(".\\Results\\Size"), c.size);
        EXPECT_EQ(ours.GetINT(".\\Buffer\\EDICT"), c.buffer);
        // Merging the same file again changes nothing more.
        EXPECT_EQ(MergeOutsideChanges(ours, baseline, theirs), 0);
    }
    dlog::Close();
    EXPECT_NE(Log().find("Kept from the file: the dictionary DICT/jmdict.edict2"), std::string::npos);
}

TEST_F(RegistryTest, SaveKeepingOthersReadsTheFileAgainUnderItsLock)
{
    Registry options = Parse(DefaultOptionsText());
    ASSERT_TRUE(options.Save("Options.mxreg"));
    Registry baseline = CopyOfOptions(options);

    // Another program registers a dictionary while this one runs.
    {
        Registry other;
        ASSERT_TRUE(other.Load("Options.mxreg"));
        AddDictionary(other, "DICT/imported");
        ASSERT_TRUE(other.Save("Options.mxreg"));
    }
    options.SetINT(".\\Results\\Size", 30);
    ASSERT_TRUE(SaveOptionsKeepingOthers(options, baseline, "Options.mxreg"));
    Registry saved;
    ASSERT_TRUE(saved.Load("Options.mxreg"));
    EXPECT_NE(DictionaryPaths(saved).find("DICT/imported;"), std::string::npos);
    EXPECT_EQ(saved.GetINT(".\\Results\\Size"), 30);
    // The baseline follows what was written: a second save takes nothing again.
    EXPECT_EQ(baseline.SaveToText(), saved.SaveToText());

    // While another process holds the lock, the save waits for it.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        OptionsFileLock held;
        if (!held.Acquire("Options.mxreg", 1000))
            _exit(1);
        usleep(600 * 1000);
        Registry other;
        other.Load("Options.mxreg");
        AddDictionary(other, "DICT/second");
        _exit(other.Save("Options.mxreg") ? 0 : 1);
    }
    // Wait until the child has it.
    for (int i = 0; i < 200; ++i) {
        OptionsFileLock probe;
        if (!probe.Acquire("Options.mxreg", 0))
            break;
        probe.Release();
        usleep(10 * 1000);
    }
    options.SetINT(".\\Results\\Size", 40);
    ASSERT_TRUE(SaveOptionsKeepingOthers(options, baseline, "Options.mxreg"));
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    Registry last;
    ASSERT_TRUE(last.Load("Options.mxreg"));
    EXPECT_NE(DictionaryPaths(last).find("DICT/imported;DICT/second;"), std::string::npos);
    EXPECT_EQ(last.GetINT(".\\Results\\Size"), 40);

    // A lock that cannot be had in time is reported.
    const int fd = open("Options.mxreg.lock", O_RDWR);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);
    OptionsFileLock late;
    EXPECT_FALSE(late.Acquire("Options.mxreg", 50));
    EXPECT_EQ(late.error(), EWOULDBLOCK);
    close(fd);
    EXPECT_TRUE(late.Acquire("Options.mxreg", 50));
}
