#include <filesystem>
#include <functional>

#include "core/DebugLog.h"
#include "core/DefaultOptions.h"
#include "core/OptionsStartup.h"
#include "core/Registry.h"
#include "support/TestSupport.h"

using namespace mirudex;

class StartupOptionsTest : public test::WorkDirTest {
protected:
    // An options file as an older version wrote it: defaults without some
    // items, with the given version and a changed font size.
    void WriteOldFile(const std::string& version, bool withEncoding = true)
    {
        Registry r;
        r.LoadFromText(DefaultOptionsText());
        r.SetSTRING(".\\Misc\\Version", version);
        r.SetINT(".\\Search\\Font\\Size", 17);
        r.CD(".\\Search");
        auto& data = r.current().data;
        std::erase_if(data, [](const RegistryData& d) { return d.name == "Language"; });
        if (!withEncoding) {
            r.CD(".\\Dictionaries\\EDICT");
            r.MakeKey("1");
            r.CD("1");
            r.SetSTRING("Path", "DICT\\second");
            r.CD("..");
            r.SetINT("Number", 2);
            r.CD("0");
            std::erase_if(r.current().data, [](const RegistryData& d) { return d.name == "Encoding"; });
        }
        ASSERT_TRUE(r.Save("Options.mxreg"));
    }
};

TEST_F(StartupOptionsTest, MissingFileIsWrittenFromTheDefaultsAndLoaded)
{
    OpenLog();
    Registry r;
    EXPECT_TRUE(LoadOptionsAtStartup(r));
    EXPECT_EQ(test::ReadFile("Options.mxreg"), DefaultOptionsText());
    EXPECT_EQ(r.GetINT(".\\Results\\Size"), 200);
    UpgradeOptionsIfOlder(r);
    dlog::Close();
    EXPECT_EQ(Log(),
              "Loading Options...............FAILED\n"
              "   Creating and using default options file...\n"
              "Loading Options...OKAY\n");
}

TEST_F(StartupOptionsTest, ExistingFileLoads)
{
    OpenLog(1);
    WriteDefaultOptionsFile("Options.mxreg");
    Registry r;
    EXPECT_TRUE(LoadOptionsAtStartup(r));
    LogOptionsTree(r);
    dlog::Close();
    std::string log = Log();
    EXPECT_EQ(log.rfind("Loading Options...............OKAY\nHere's Mirudex's registry:\n[.]\n   [Window]\n", 0), 0u);
    EXPECT_NE(log.find("      RememberSize = FALSE\n"), std::string::npos);
    EXPECT_EQ(log.substr(log.size() - 19), "(End of registry).\n");
}

TEST_F(StartupOptionsTest, OlderVersionsGainEveryMissingItem)
{
    for (const char* version : {"1.0.6", "1.0.7.501", "0.9"}) {
        SCOPED_TRACE(version);
        WriteOldFile(version);
        OpenLog();
        Registry r;
        ASSERT_TRUE(LoadOptionsAtStartup(r));
        UpgradeOptionsIfOlder(r);
        EXPECT_EQ(r.GetINT(".\\Search\\Language"), 0);
        EXPECT_EQ(r.GetINT(".\\Search\\Font\\Size"), 17);
        EXPECT_EQ(r.GetString(".\\Misc\\Version"), "1.0.7.502");
        EXPECT_FALSE(std::filesystem::exists(kTempOptionsFileName));
        dlog::Close();
        EXPECT_EQ(Log(),
                  "Loading Options...............OKAY\n"
                  "************************\n"
                  "***   OPTIONS FILE   ***\n"
                  "************************\n"
                  "   temp_optionsfile_temp made okay.\n"
                  "*** Made new dat: Search\\Language\n"
                  "   temp_optionsfile_temp removed sucessfully.\n");
    }
}

TEST_F(StartupOptionsTest, SameOrNewerVersionsAreLeftAlone)
{
    for (const char* version : {"1.0.8", "1.0.7.502", "2"}) {
        SCOPED_TRACE(version);
        WriteOldFile(version);
        Registry r;
        ASSERT_TRUE(LoadOptionsAtStartup(r));
        UpgradeOptionsIfOlder(r);
        EXPECT_FALSE(r.DataExists(".\\Search\\Language"));
        EXPECT_EQ(r.GetString(".\\Misc\\Version"), version);
    }
}

TEST_F(StartupOptionsTest, MissingVersionUpgradesAndMissingEncodingIsRepaired)
{
    WriteOldFile("1.0.6", /*withEncoding=*/false);
    Registry r;
    ASSERT_TRUE(LoadOptionsAtStartup(r));
    r.CD(".\\Misc");
    std::erase_if(r.current().data, [](const RegistryData& d) { return d.name == "Version"; });
    UpgradeOptionsIfOlder(r);
    EXPECT_EQ(r.GetString(".\\Misc\\Version"), "1.0.7.502");
    EXPECT_EQ(r.GetString(".\\Dictionaries\\EDICT\\1\\Encoding"), "EUC-JP");
    // Key 0 lacked Encoding too, but the merge already gave it the default's.
    EXPECT_EQ(r.GetString(".\\Dictionaries\\EDICT\\0\\Encoding"), "EUC-JP");
    EXPECT_EQ(r.current().PathText(), "");
}

TEST_F(StartupOptionsTest, FileWithoutMiscEndsTheProgram)
{
    test::WriteFile("Options.mxreg", "KEY_START :: Window\nKEY_STOP\n");
    Registry r;
    ASSERT_TRUE(LoadOptionsAtStartup(r));
    EXPECT_FATAL_EXIT(UpgradeOptionsIfOlder(r), -1);
    ASSERT_EQ(platform_.MessageBoxes().size(), 1u);
    EXPECT_NE(platform_.MessageBoxes()[0].text.find(u"There is no path by the name 'Misc'"), std::u16string::npos);
}

TEST_F(StartupOptionsTest, FileThatCannotBeUsedIsLeftAloneAndEndsTheProgram)
{
    struct Case {
        const char* name;
        std::function<void()> make;
        std::u16string reason;
    };
    const Case cases[] = {
        {"a directory in its place",
         [] {
             std::filesystem::create_directory("Options.mxreg");
             test::WriteFile("Options.mxreg/keep", "x");
         },
         u"It could not be read: Is a directory."},
        {"keys nested 25,000 deep",
         [] {
             std::string text;
             for (int i = 0; i < 25000; ++i)
                 text += "KEY_START :: d\n";
             test::WriteFile("Options.mxreg", text);
         },
         u"Its keys are nested more than 64 deep, so the file is damaged."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all("Options.mxreg");
        c.make();
        const auto before =
            std::filesystem::is_directory("Options.mxreg") ? std::string("dir") : test::ReadFile("Options.mxreg");
        platform_.Clear();
        OpenLog();
        Registry r;
        EXPECT_FATAL_EXIT(LoadOptionsAtStartup(r), -1);
        dlog::Close();
        const auto boxes = platform_.MessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, u"Error");
        EXPECT_NE(boxes[0].text.find(c.reason), std::u16string::npos);
        EXPECT_NE(boxes[0].text.find(u"left as it is"), std::u16string::npos);
        // Nothing was written over it.
        EXPECT_EQ(std::filesystem::is_directory("Options.mxreg") ? std::string("dir") : test::ReadFile("Options.mxreg"),
                  before);
        EXPECT_NE(Log().find("Loading Options...............FAILED\n   ERROR: Options.mxreg"), std::string::npos);
        EXPECT_EQ(Log().find("Creating and using default options file"), std::string::npos);
    }
}

TEST_F(StartupOptionsTest, LeftoversOfAnInterruptedSaveAreRemovedAtStart)
{
    WriteOldFile("1.0.7.502");
    test::WriteFile("Options.mxreg.aQ3zR9", std::string(1000, 'x'));
    test::WriteFile("Options.mxreg.pL0kM2~", std::string(1000, 'x'));
    Registry r;
    ASSERT_TRUE(LoadOptionsAtStartup(r));
    EXPECT_FALSE(std::filesystem::exists("Options.mxreg.aQ3zR9"));
    EXPECT_FALSE(std::filesystem::exists("Options.mxreg.pL0kM2~"));
}

TEST_F(StartupOptionsTest, ItemsAddedWithoutAVersionAreGivenToEveryFile)
{
    for (bool setBefore : {false, true}) {
        SCOPED_TRACE(setBefore);
        WriteOldFile("1.0.7.502");
        Registry r;
        ASSERT_TRUE(LoadOptionsAtStartup(r));
        UpgradeOptionsIfOlder(r);
        if (setBefore) {
            r.SetBOOL(opt::misc::kCloseToTray, true);
            r.SetBOOL(opt::misc::kReader, true);
        }
        AddItemsWithoutVersion(r);
        EXPECT_FALSE(r.GetBOOL(opt::misc::kGrabSelection));
        EXPECT_EQ(r.GetBOOL(opt::misc::kCloseToTray), setBefore) << "a value the file holds is kept";
        EXPECT_EQ(r.GetBOOL(opt::misc::kReader), setBefore) << "the reading view's switch too";
        EXPECT_FALSE(r.DataExists(opt::search::kLanguage)) << "nothing else is added";
        EXPECT_EQ(r.current().PathText(), "");
    }
}
