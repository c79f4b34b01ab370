#include <chrono>
#include <thread>

#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "search/Worker.h"
#include "support/TestSupport.h"
#include "userdata/AppBindings.h"

using namespace mirudex;
using namespace mirudex::userdata;

namespace {

const std::string kCatEuc = "\xc7\xad [\xa4\xcd\xa4\xb3] /(n) cat/\n";

class AppBindingsTest : public test::WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        options_.LoadFromText(DefaultOptionsText());
        state_ = std::make_unique<search::AppState>(options_, store_);
    }
    void TearDown() override
    {
        state_.reset();
        WorkDirTest::TearDown();
    }
    // Waits as the progress-window loop would, answering `answer` once the
    // worker has ended (1) or at once (ESC, quit).
    WorkerWait Wait(int answer)
    {
        return [this, answer] {
            if (answer == 1)
                while (search::WorkerRunning(*state_))
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
            return answer;
        };
    }
    Registry options_;
    dict::DictionaryStore store_;
    StudyListFile file_;
    std::unique_ptr<search::AppState> state_;
};

TEST_F(AppBindingsTest, StudyListLoadsThroughTheWorker)
{
    test::WriteFile("cats.list", kCatEuc + kCatEuc);
    StudyListContext context = StudyListContextOf(*state_, WorkerLoadRunner(*state_, Wait(1)), file_);
    ASSERT_TRUE(OpenStudyList(StudyListOf(*state_), context, "cats.list"));
    ASSERT_EQ(state_->edict_results[search::kStudyList].size(), 2u);
    EXPECT_EQ(state_->edict_results[search::kStudyList][0].word, u"猫");
    EXPECT_FALSE(search::WorkerRunning(*state_));
    EXPECT_TRUE(options_.GetBOOL(".\\Dictionaries\\Indexing"));

    // Stopped at once: the list stays, the worker is gone.
    StudyListContext stopped = StudyListContextOf(*state_, WorkerLoadRunner(*state_, Wait(0)), file_);
    EXPECT_FALSE(ImportStudyList(StudyListOf(*state_), stopped, "cats.list"));
    EXPECT_EQ(StudyListOf(*state_).size(), 2u);
    EXPECT_FALSE(search::WorkerRunning(*state_));

    // Another worker running: refused, nothing changes.
    state_->thread_searching = true;
    StudyListContext refused = StudyListContextOf(*state_, WorkerLoadRunner(*state_, Wait(1)), file_);
    EXPECT_FALSE(ImportStudyList(StudyListOf(*state_), refused, "cats.list"));
    EXPECT_EQ(StudyListOf(*state_).size(), 2u);
    state_->thread_searching = false;
}

TEST_F(AppBindingsTest, StartupLoadStoppedWithEscapeLeavesTheFileAsItIs)
{
    std::string big;
    for (int i = 0; i < 20000; ++i)
        big += kCatEuc;
    test::WriteFile("studylist.default", big);
    StudyListContext stopped = StudyListContextOf(*state_, WorkerLoadRunner(*state_, Wait(0)), file_);
    LoadStudyListAtStartup(StudyListOf(*state_), stopped);
    EXPECT_TRUE(StudyListOf(*state_).empty());
    EXPECT_FALSE(search::WorkerRunning(*state_));

    // Entries added in this run do not replace the file at exit; the user is told.
    dict::Entry e;
    e.word = u"犬";
    e.rawLine = "\xb8\xa4 /dog/\n";
    StudyListOf(*state_).push_back(e);
    EXPECT_FALSE(SaveStudyListAtExit(StudyListOf(*state_), stopped, true));
    EXPECT_EQ(test::ReadFile("studylist.default"), big);
    const auto boxes = platform_.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find(u"your study list to the file studylist.default"), std::u16string::npos);
    EXPECT_NE(boxes[0].text.find(u"its loading was stopped"), std::u16string::npos);
}

TEST_F(AppBindingsTest, AddAndCopyWorkOnTheResultLists)
{
    dict::Entry e;
    e.word = u"猫";
    e.kana = u"ねこ";
    e.meanings = {u"cat"};
    e.selected = true;
    state_->edict_results[search::kResultList] = {e, e};
    state_->edict_results[search::kResultList][1].selected = false;

    EXPECT_EQ(AddToStudyList(*state_, search::kResultList), 1u);
    EXPECT_EQ(AddToStudyList(*state_, search::kStudyList), 0u);  // not offered in the study list itself
    ASSERT_EQ(StudyListOf(*state_).size(), 1u);
    EXPECT_FALSE(StudyListOf(*state_)[0].selected);

    EXPECT_EQ(CopyEntries(*state_, search::kResultList, CopyKind::Formatted, 1), 0);
    EXPECT_EQ(platform_.ClipboardText(), std::u16string(u"猫 (ねこ) :: cat"));
    EXPECT_EQ(CopyEntries(*state_, 5, CopyKind::Word, 1), -1);
}

}  // namespace
