#include <sys/stat.h>

#include "core/DebugLog.h"
#include "core/DefaultOptions.h"
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

TEST_F(RegistryTest, LastLineWithoutLineEndIsNotReadAndEndOfFileClosesKeys)
{
    Registry r = Parse("KEY_START :: A\n\tKEY_START :: B\n\t\tINT :: x :: 1\n\tKEY_STOP\n\tINT :: last :: 5");
    EXPECT_EQ(r.GetINT(".\\A\\B\\x"), 1);
    EXPECT_FALSE(r.DataExists(".\\A\\last"));
    Registry r2 = Parse("KEY_START :: A\n\tINT :: x :: 1\nKEY_STOP");
    EXPECT_EQ(r2.GetINT(".\\A\\x"), 1);
    EXPECT_EQ(r2.SaveToText(), "KEY_START :: A\n\tINT :: x :: 1\nKEY_STOP\n");
    // CR LF files read like LF files.
    Registry r3 = Parse("KEY_START :: A\r\n# note\r\n\tINT :: x :: 7\r\nKEY_STOP\r\n");
    EXPECT_EQ(r3.GetINT(".\\A\\x"), 7);
    EXPECT_EQ(r3.SaveToText(), "KEY_START :: A\n# note\n\tINT :: x :: 7\nKEY_STOP\n");
}

TEST_F(RegistryTest, LongLinesAreReadInPieces)
{
    std::string longValue(6000, 'v');
    Registry r = Parse("KEY_START :: A\n\tSTRING :: s :: " + longValue + "\n\tINT :: after :: 3\nKEY_STOP\n");
    // The first piece holds the first 4,998 characters; the rest is a line of its own.
    ASSERT_TRUE(r.DataExists(".\\A\\s"));
    EXPECT_EQ(r.GetString(".\\A\\s").size(), Registry::kMaxLineLength - std::string("\tSTRING :: s :: ").size());
    EXPECT_EQ(r.GetINT(".\\A\\after"), 3);
}

TEST_F(RegistryTest, RepeatedKeyBlockReadsIntoTheFirstKey)
{
    Registry r = Parse(
        "KEY_START :: A\n\tINT :: x :: 1\nKEY_STOP\n"
        "KEY_START :: A\n\tINT :: y :: 2\nKEY_STOP\n");
    ASSERT_EQ(r.root().children.size(), 1u);
    EXPECT_EQ(r.root().children[0]->data.size(), 2u);
    EXPECT_EQ(r.GetINT(".\\A\\y"), 2);
    // Saved once, so that the file does not grow from one start to the next.
    const std::string block = "KEY_START :: A\n\tINT :: x :: 1\n\tINT :: y :: 2\nKEY_STOP\n";
    EXPECT_EQ(r.SaveToText(), block);
    EXPECT_EQ(Parse(r.SaveToText()).SaveToText(), block);
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
    EXPECT_EQ(r.GetString("..\\KANJIDIC\\Path"), "DICT\\kanjidic");
    EXPECT_EQ(r.current().PathText(), "") << "each .. ends one level higher";
    r.CD(".\\Dictionaries\\EDICT");
    EXPECT_EQ(r.GetINT(".\\Results\\Size"), 200);
    EXPECT_EQ(r.current().PathText(), "");
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
