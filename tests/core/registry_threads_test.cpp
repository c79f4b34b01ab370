// The options store read from two threads at once, as the window thread and a
// search worker do: lookups by path never disturb each other or the current
// key, and writes of the window thread are safe while a worker reads.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "support/TestSupport.h"

using namespace mirudex;

namespace {

class RegistryThreadsTest : public test::WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        options_.LoadFromText(DefaultOptionsText());
    }

    // Runs reader on a second thread `rounds` times while window runs on this
    // one; a fatal exit on either side is counted, not let out.
    template <typename Reader, typename Window>
    void RunBoth(int rounds, Reader reader, Window window)
    {
        std::atomic<bool> done{false};
        std::thread worker([&] {
            try {
                for (int i = 0; i < rounds; ++i)
                    reader();
            } catch (const platform::FatalExit&) {
                ++fatalExits_;
            }
            done = true;
        });
        try {
            while (!done)
                window();
        } catch (const platform::FatalExit&) {
            ++fatalExits_;
        }
        worker.join();
    }

    Registry options_;
    std::atomic<int> fatalExits_{0};
};

// What a search reads per entry and at its start, always by absolute path.
void ReadLikeASearch(Registry& options, int& wrong)
{
    wrong += options.GetINT(".\\Buffer\\EDICT") != 5000;
    wrong += options.GetBOOL(".\\Dictionaries\\Indexing") != true;
    wrong += options.GetString(".\\Dictionaries\\EDICT\\0\\Path") != "DICT\\edict";
    wrong += !options.DataExists(".\\Search\\Toolbars\\Fuzzy");
    wrong += options.GetINT(".\\Dictionaries\\EDICT\\Number") != 2;
}

TEST_F(RegistryThreadsTest, TwoReadersNeverEndTheProgram)
{
    const int rounds = test::TestRounds(10) * 2000;
    int workerWrong = 0, windowWrong = 0;
    RunBoth(
        rounds, [&] { ReadLikeASearch(options_, workerWrong); },
        [&] {
            // The window thread: absolute reads (hover, buttons, the wait) and a
            // caller that really works relative to a key.
            windowWrong += options_.GetINT(".\\Results\\Size") != 200;
            windowWrong += options_.GetString(".\\Kanji\\Fonts\\Kanji\\Font").empty();
            options_.CD(".\\Dictionaries\\EDICT");
            windowWrong += options_.GetINT("Number") != 2;
            windowWrong += options_.GetString("0\\Encoding") != "EUC-JP";
            options_.CD(".");
        });
    EXPECT_EQ(fatalExits_, 0);
    EXPECT_EQ(workerWrong, 0);
    EXPECT_EQ(windowWrong, 0);
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

TEST_F(RegistryThreadsTest, WindowWritesWhileAWorkerReads)
{
    const int rounds = test::TestRounds(10) * 2000;
    int workerWrong = 0;
    int step = 0;
    RunBoth(
        rounds,
        [&] {
            ReadLikeASearch(options_, workerWrong);
            // Items the window changes: any value of theirs, never a torn one.
            const int language = options_.GetINT(".\\Search\\Language");
            workerWrong += language < 0 || language > 7;
            workerWrong += options_.GetString(".\\Misc\\Font\\Font").size() > 64;
        },
        [&] {
            ++step;
            // The language buttons, the reverse-conjugation button, a
            // dictionary switched on and off, new items and keys in the keys
            // the worker reads through.
            options_.SetINT(".\\Search\\Language", step % 8);
            options_.SetBOOL(".\\Search\\Toolbars\\Fuzzy", step % 2 == 0);
            options_.SetSTRING(".\\Misc\\Font\\Font", step % 2 ? "IPAGothic" : "A much longer font face name");
            options_.CD(".\\Dictionaries\\EDICT");
            options_.CD("0");
            options_.SetBOOL("On", step % 3 != 0);
            options_.CD(".");
            options_.SetINT(".\\Buffer\\New" + std::to_string(step % 50), step);
            options_.CD(".\\Dictionaries\\EDICT");
            options_.MakeKey("9");
            options_.CD(".");
            options_.DeleteKey(".\\Dictionaries\\EDICT\\9");
        });
    EXPECT_EQ(fatalExits_, 0);
    EXPECT_EQ(workerWrong, 0);
}

// Lookups leave the current key where the caller put it, whatever the path.
TEST_F(RegistryThreadsTest, LookupsNeverMoveTheCurrentKey)
{
    struct Case {
        const char* cd;
        std::string (*lookup)(Registry&);
        const char* expected;
    };
    const Case cases[] = {
        {".\\Dictionaries\\EDICT", [](Registry& r) { return std::to_string(r.GetINT(".\\Results\\Size")); }, "200"},
        {".\\Dictionaries\\EDICT", [](Registry& r) { return r.GetString("0\\Path"); }, "DICT\\edict"},
        {".\\Dictionaries\\EDICT", [](Registry& r) { return r.GetString("..\\KANJIDIC\\Path"); }, "DICT\\kanjidic"},
        {".\\Dictionaries\\EDICT", [](Registry& r) { return std::string(r.DataExists("0\\On") ? "yes" : "no"); },
         "yes"},
        {".\\Window", [](Registry& r) { return std::to_string(r.GetBOOL(".\\Misc\\AlwaysOnTop")); }, "0"},
        {".\\Window", [](Registry& r) { return std::string(r.DataExists(".\\.\\Misc\\..\\Misc\\IME") ? "y" : "n"); },
         "y"},
    };
    for (const Case& c : cases) {
        options_.CD(".");
        options_.CD(c.cd);
        const std::string before = options_.current().PathText();
        EXPECT_EQ(c.lookup(options_), c.expected) << c.cd;
        EXPECT_EQ(options_.current().PathText(), before) << c.cd;
    }
    // A setter by a path through keys also leaves it.
    options_.CD(".\\Window");
    options_.SetINT("..\\Results\\Size", 150);
    EXPECT_EQ(options_.current().PathText(), "Window\\");
    EXPECT_EQ(options_.GetINT(".\\Results\\Size"), 150);
}

}  // namespace
