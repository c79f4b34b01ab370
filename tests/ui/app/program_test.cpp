// The program's run: start-up and shutdown logs, the saved placement, the
// start-up load with its progress window, and a quit during that load.
#include <QTimer>
#include <atomic>
#include <filesystem>
#include <thread>

#include "core/BuildConfig.h"
#include "core/DebugLog.h"
#include "core/DefaultOptions.h"
#include "platform/api/Utf.h"
#include "ui/app/Program.h"
#include "ui/common/ProgressWindow.h"
#include "ui/common/QuitRequest.h"
#include "ui/support/UiTestSupport.h"

namespace mirudex::ui {
namespace {

// A worker that runs until released.
class FakeWorker : public WorkerProbe {
public:
    ~FakeWorker() { Release(); }
    bool Start()
    {
        running_ = true;
        thread_ = std::thread([this] {
            while (!release_)
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            running_ = false;
        });
        return true;
    }
    void Release()
    {
        release_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    bool Running() const override { return running_; }

private:
    std::atomic<bool> running_{false};
    std::atomic<bool> release_{false};
    std::thread thread_;
};

class ProgramTest : public test::UiTest {
protected:
    // Runs start-up, a loop ended by the window's Exit command, and shutdown.
    int RunToExit(Program& program)
    {
        program.Start();
        QTimer::singleShot(0, [&] { program.mainWindow()->OnCommand(40001); });
        program.RunLoop();
        return program.Shutdown();
    }
    // True when every line occurs in the log, in this order.
    ::testing::AssertionResult LogHasInOrder(const std::vector<std::string>& lines)
    {
        const std::string log = Log();
        size_t at = 0;
        for (const std::string& line : lines) {
            const size_t found = log.find(line, at);
            if (found == std::string::npos)
                return ::testing::AssertionFailure() << "missing after offset " << at << ": " << line << "\nlog:\n"
                                                     << log;
            at = found + line.size();
        }
        return ::testing::AssertionSuccess();
    }
};

TEST_F(ProgramTest, LevelZeroLogOfAFullRun)
{
    dlog::SetLevel(0);
    registry_.SetBOOL(".\\Misc\\FirstTime", false);
    Program program(registry_);
    EXPECT_EQ(RunToExit(program), 0);
    EXPECT_EQ(Log(),
              "Intializing GDI+..............OKAY\n"
              "Intializing Common Controls...OKAY\n"
              "Loading cursors...............OKAY\n"
              "Loading bitmaps...............OKAY\n"
              "Loading Fuzzy Search Data.....FAILED\n"
              "Loading Result Window Fonts...OKAY\n"
              "Loading Result Window Colors..OKAY\n"
              "Loading Kanji Window Fonts....OKAY\n"
              "Loading Kanji Window Colors...OKAY\n"
              "Loading miscellaneous fonts...OKAY\n"
              "Creating main window...\n"
              "Main Window: WM_CREATE:\n"
              "Creating search window...\n"
              "(search window created)\n"
              "Creating result window...\n"
              "(result window created)\n"
              "Creating studylist window...\n"
              "(studylist window created)\n"
              "Creating kanji window...\n"
              "(kanji window created)\n"
              "Creating radical-lookup window...\n"
              "(radical lookup window created)\n"
              "Divided vertically: 0.\n"
              "   Top: Window set.\n"
              "   Bottom: Divided horizontally: 0.\n"
              "   Bottom: Left: Window Set.\n"
              "   Bottom: Right: Window Set.\n"
              "END: Main Window: WM_CREATE\n"
              "Main window created okay.\n"
              // The radical pane is on, but this run has no radical file.
              "Warning: ID_WINDOW_RADICALLOOKUP: Radical Lookup info has not been loaded yet.\n"
              "********************************\n"
              "***   Saving Options.mxreg   ***\n"
              "********************************\n"
              "Options.mxreg saved successfully.\n"
              "**************************\n"
              "***   Cleaning up...   ***\n"
              "**************************\n"
              "*********************\n"
              "***   All done!   ***\n"
              "*********************\n");
    EXPECT_TRUE(platform_.MessageBoxes().empty());
    EXPECT_EQ(platform_.LastStatus(0), u"Mirudex is ready to go.");
    EXPECT_EQ(platform_.LastStatus(1), u"IME -on-");
}

TEST_F(ProgramTest, LevelOneLogAndFirstTimeMessages)
{
    LocalServices services;
    services.dictionaries = {{u"edict", true}, {u"names", false}};
    FakeWorker worker;
    Program program(registry_, &services);
    program.parts().loadWorker = &worker;
    bool progressSeen = false;
    program.parts().startLoadAllDictionaries = [&] {
        ProgressWindow* w = CurrentProgressWindow();
        progressSeen = w && w->text() == QStringLiteral("Loading...") && !w->escLine();
        QTimer::singleShot(30, [&] { worker.Release(); });
        return worker.Start();
    };
    EXPECT_EQ(RunToExit(program), 0);
    EXPECT_TRUE(progressSeen);
    EXPECT_EQ(CurrentProgressWindow(), nullptr);
    EXPECT_TRUE(LogHasInOrder({
        "Intializing GDI+..............OKAY\n",
        "Loading cursors...............\n   cursor_arrow: OKAY\n   cursor_resize_horizontal: OKAY\n"
        "   cursor_resize_vertical: OKAY\n   cursor_hand: OKAY\n",
        "Loading bitmaps...............\n   bitmap_sort_asc1: OKAY\n   bitmap_sort_asc2: OKAY\n"
        "   bitmap_sort_dsc1: OKAY\n   bitmap_sort_dsc2: OKAY\n",
        "Loading Fuzzy Search Data.....\nFAILED\n",
        "Loading Result Window Fonts...\n   hfont_result_word: OKAY\n   hfont_result_kana: OKAY\n"
        "   hfont_result_meaning: OKAY\n   hfont_result_info: OKAY\n",
        "Loading Result Window Colors..OKAY\n",
        "Loading Kanji Window Fonts....\n   hfont_kanji_kanji: OKAY\n   hfont_kanji_onkun: OKAY\n"
        "   hfont_kanji_meaning: OKAY\n",
        "Loading Kanji Window Colors...OKAY\n",
        "Loading miscellaneous fonts...\n   hfont_msgothic12: OKAY\n",
        "Creating main window...\n",
        "Main Window: WM_CREATE:\n",
        "Creating search window...\n(search window created)\nCreating result window...\n(result window created)\n"
        "Creating studylist window...\n(studylist window created)\nCreating kanji window...\n(kanji window created)\n"
        "Creating radical-lookup window...\n(radical lookup window created)\n",
        "Divided vertically: 0.\n   Top: Window set.\n   Bottom: Divided horizontally: 0.\n"
        "   Bottom: Left: Window Set.\n   Bottom: Right: Window Set.\nEND: Main Window: WM_CREATE\n",
        "Main window created okay.\n",
        "Toolbar buttons checked.\n",
        "Result and Kanji Window sort buttons checked.\n",
        "Main Window updated.\n",
        "Load_Thread_LoadAllEDICTS() called.\n",
        "   hwnd_searching destroyed.\n",
        "C O M M E N C I N G    M A I N    M E S S A G E    L O O P\n",
        "E N D    O F    M A I N    M E S S A G E    L O O P\n",
        "***   Saving Options.mxreg   ***\n",
        "Options.mxreg saved successfully.\n",
        "***   Cleaning up...   ***\n",
        "Deleting EDICT 1 / 2...OKAY\nDeleting EDICT 2 / 2...OKAY\n",
        "***   All done!   ***\n",
    }));

    const auto boxes = platform_.MessageBoxes();
    ASSERT_EQ(boxes.size(), 5u);
    for (const auto& box : boxes)
        EXPECT_EQ(box.caption, u"This is the first time that Mirudex has been opened.");
    const FirstTimeFacts facts = CurrentFirstTimeFacts();
    EXPECT_EQ(boxes[0].text, FirstTimeText(0, facts));
    // What the texts name is there: the guide, the working folder with its
    // options file, the Japanese fonts installed (or what to install).
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(facts.guidePath))) << Utf16ToUtf8(facts.guidePath);
    EXPECT_NE(boxes[0].text.find(u"(Help > User Guide):\n     " + facts.guidePath + u"\n"), std::u16string::npos);
    EXPECT_EQ(std::filesystem::path(facts.workingFolder), std::filesystem::current_path());
    EXPECT_NE(boxes[0].text.find(u"'Options.mxreg' in Mirudex's working folder,\n     " + facts.workingFolder + u"\n"),
              std::u16string::npos);
    EXPECT_NE(facts.japaneseFonts.find(u"IPA"), std::u16string::npos) << Utf16ToUtf8(facts.japaneseFonts);
    EXPECT_NE(boxes[0].text.find(u"settings:\n     " + facts.japaneseFonts + u"\n"), std::u16string::npos);
    FirstTimeFacts noFont = facts;
    noFont.japaneseFonts.clear();
    EXPECT_NE(FirstTimeText(0, noFont).find(u"none is installed on this system.\nFor example:\n     sudo apt install "
                                            u"fonts-ipafont-mincho"),
              std::u16string::npos);
    // In the user's language, with the same values in them (a value that
    // holds "%1" stays as it is).
    FirstTimeFacts odd = facts;
    odd.workingFolder = u"/home/a%1b";
    std::vector<std::u16string> english;
    for (int i = 0; i < 4; ++i)
        english.push_back(FirstTimeText(i, odd));
    for (const char* locale : {"ja_JP", "de_DE"}) {
        SCOPED_TRACE(locale);
        const test::LanguageScope language(locale);
        for (int i = 0; i < 4; ++i)
            EXPECT_NE(FirstTimeText(i, odd), english[static_cast<size_t>(i)]) << i;
        const std::u16string first = FirstTimeText(0, odd);
        for (const std::u16string& value : {facts.guidePath, odd.workingFolder, facts.japaneseFonts})
            EXPECT_NE(first.find(value), std::u16string::npos) << Utf16ToUtf8(value);
        EXPECT_NE(FirstTimeText(3, odd).find(build::kContactAddress), std::u16string::npos);
    }
    for (int i = 0; i < 5; ++i)
        for (const char16_t* gone : {u"Documentation folder", u"Arial Unicode MS", u"options.mxreg", u"optons",
                                     u"normaly", u"Engish", u"web site"})
            EXPECT_EQ(FirstTimeText(i, noFont).find(gone), std::u16string::npos) << i << " " << Utf16ToUtf8(gone);
    EXPECT_EQ(boxes[4].buttons, platform::Buttons::YesNo);
    EXPECT_EQ(boxes[3].text.substr(boxes[3].text.size() - 1), u"\n");
    // Answered Yes: never again.
    Registry saved;
    ASSERT_TRUE(saved.Load("Options.mxreg"));
    EXPECT_FALSE(saved.GetBOOL(".\\Misc\\FirstTime"));
}

TEST_F(ProgramTest, QuitDuringTheLoadEndsWithStatusZeroAndSavesNothing)
{
    FakeWorker worker;
    registry_.SetBOOL(".\\Misc\\FirstTime", false);
    Program program(registry_);
    program.parts().loadWorker = &worker;
    program.parts().startLoadAllDictionaries = [&] { return worker.Start(); };
    bool stopped = false;
    program.parts().stopLoadWorker = [&] {
        stopped = true;
        worker.Release();
    };
    QTimer::singleShot(40, [&] { program.mainWindow()->close(); });
    EXPECT_FATAL_EXIT(program.Start(), 0);
    EXPECT_TRUE(stopped);
    EXPECT_FALSE(std::filesystem::exists("Options.mxreg"));
    EXPECT_EQ(Log().find("Saving Options.mxreg"), std::string::npos);
}

// Without a font that has kana and kanji the start says, once, what to
// install; with one it says nothing.
TEST_F(ProgramTest, AStartWithoutAJapaneseFontSaysWhatToInstall)
{
    registry_.SetBOOL(".\\Misc\\FirstTime", false);
    for (const bool hasFont : {true, false}) {
        SCOPED_TRACE(hasFont);
        platform_.Clear();
        platform_.SetHasFonts(hasFont);
        const size_t checksBefore = platform_.FontChecks().size();
        Program program(registry_);
        program.Start();
        ASSERT_EQ(platform_.FontChecks().size(), checksBefore + 1);
        const std::u16string asked = platform_.FontChecks().back();
        EXPECT_NE(asked.find(u'\u3042'), std::u16string::npos) << "hiragana";
        EXPECT_NE(asked.find(u'\u6F22'), std::u16string::npos) << "kanji";
        const auto boxes = platform_.MessageBoxes();
        if (hasFont) {
            EXPECT_TRUE(boxes.empty());
            continue;
        }
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, NoJapaneseFontText());
        for (const char16_t* font : {u"fonts-ipafont-mincho", u"fonts-noto-cjk", u"fonts-vlgothic"})
            EXPECT_NE(boxes[0].text.find(font), std::u16string::npos);
        EXPECT_NE(Log().find("WARNING: No installed font has kana and kanji.\n"), std::string::npos);
    }
    platform_.SetHasFonts(true);
}

TEST_F(ProgramTest, PlacementIsCheckedAtStartAndSavedAtExit)
{
    struct Case {
        int x, y, w, h;
        bool warned;
    };
    const Case cases[] = {
        {100, 50, 700, 500, false}, {100, 50, 20, 500, true},    {100, 50, 700, 29, true},
        {-301, 50, 700, 500, true}, {100, 3001, 700, 500, true}, {-300, 3000, 700, 500, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.w << "x" << c.h);
        platform_.Clear();
        std::filesystem::remove("Options.mxreg");
        Registry registry;
        registry.LoadFromText(DefaultOptionsText());
        registry.CD(".");
        registry.SetBOOL(".\\Misc\\FirstTime", false);
        registry.SetBOOL(".\\Window\\RememberSize", true);
        registry.SetINT(".\\Window\\Window_x", c.x);
        registry.SetINT(".\\Window\\Window_y", c.y);
        registry.SetINT(".\\Window\\Window_w", c.w);
        registry.SetINT(".\\Window\\Window_h", c.h);
        Program program(registry);
        program.Start();
        const QSize size = program.mainWindow()->size();
        if (c.warned) {
            ASSERT_EQ(platform_.MessageBoxes().size(), 1u);
            EXPECT_EQ(platform_.MessageBoxes()[0].caption, u"Warning:");
            EXPECT_EQ(platform_.MessageBoxes()[0].text,
                      u"The window position settings were incorrect.\n\nThey have been restored to the defaults.");
            EXPECT_EQ(size, QSize(800, 600));
            // Not changed until the exit saves the real placement.
            EXPECT_EQ(registry.GetINT(".\\Window\\Window_w"), c.w);
        } else {
            EXPECT_TRUE(platform_.MessageBoxes().empty());
            EXPECT_EQ(size, QSize(c.w, c.h));
        }
        // The default options show the study list; the radical pane needs the radical table.
        EXPECT_TRUE(program.mainWindow()->studyListPaneShown());
        EXPECT_FALSE(program.mainWindow()->radicalPaneShown());
        QTimer::singleShot(0, [&] { program.mainWindow()->close(); });
        program.RunLoop();
        EXPECT_EQ(program.Shutdown(), 0);
        Registry saved;
        ASSERT_TRUE(saved.Load("Options.mxreg"));
        EXPECT_EQ(saved.GetINT(".\\Window\\Window_w"), size.width());
        EXPECT_EQ(saved.GetINT(".\\Window\\Window_h"), size.height());
        EXPECT_EQ(saved.GetINT(".\\Window\\Div_vert"), 145);
        EXPECT_EQ(saved.GetINT(".\\Window\\Div_vert_bottom_horiz"), 220);
        EXPECT_TRUE(saved.GetBOOL(".\\StudyList\\On"));
        EXPECT_FALSE(saved.GetBOOL(".\\RadicalLookup\\On"));
    }
}

TEST_F(ProgramTest, StartupChecksAndReplayedToggles)
{
    registry_.SetBOOL(".\\Misc\\FirstTime", false);
    registry_.SetINT(".\\Search\\Language", 9);
    registry_.SetINT(".\\Results\\Sort1", 7);
    registry_.SetINT(".\\Results\\Sort2", 6);
    registry_.SetBOOL(".\\Misc\\AlwaysOnTop", true);
    registry_.SetBOOL(".\\StudyList\\On", true);
    registry_.SetBOOL(".\\Misc\\IME", false);
    LocalServices services;
    services.studyListCount = 3;
    Program program(registry_, &services);
    int language = -1;
    std::vector<int> sorts;
    program.parts().restoreToolbars = [&](MainWindow&, int value) { language = value; };
    program.parts().restoreResultSort = [&](MainWindow&, bool primary, int column, bool) {
        sorts.push_back(primary ? 100 + column : column);
    };
    EXPECT_EQ(RunToExit(program), 0);
    EXPECT_EQ(language, 0);
    EXPECT_EQ(registry_.GetINT(".\\Search\\Language"), 0);
    EXPECT_EQ(sorts, std::vector<int>{6});  // Relevance is a key the window saves
    EXPECT_TRUE(LogHasInOrder({"WARNING: The language type is invalid; setting it to default.\n",
                               "ERROR: The primary button to sort on is wrong (7)\n"}));
    EXPECT_TRUE(registry_.GetBOOL(".\\Misc\\AlwaysOnTop"));
    EXPECT_EQ(platform_.LastStatus(1), u"IME -off-");
    EXPECT_EQ(services.studyListCalls, (std::vector<std::string>{"load at start-up", "save at exit, shown"}));
}

}  // namespace
}  // namespace mirudex::ui
