// The result windows' host over the program's search state: shared sort
// state, copying through the encoding row, the study list and the hooks.
#include <gtest/gtest.h>

#include <QTest>

#include "search/AppState.h"
#include "support/TestSupport.h"
#include "ui/results/ResultAppHost.h"
#include "ui/results/result_test_host.h"

using namespace mirudex;
using namespace mirudex::ui;
using mirudex::test::MakeEntry;

namespace {

class ResultAppHostTest : public test::WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        options_.LoadFromText(DefaultOptionsText());
        LoadFonts(options_, resources_.fonts, 96);
        LoadResultColors(options_, resources_.result);
        MakeSortArrows(resources_);
        state_ = std::make_unique<search::AppState>(options_, store_);
        host_ = std::make_unique<AppResultHost>(*state_);
    }

    Registry options_;
    dict::DictionaryStore store_;
    Resources resources_;
    std::unique_ptr<search::AppState> state_;
    std::unique_ptr<AppResultHost> host_;
};

}  // namespace

TEST_F(ResultAppHostTest, BothWindowsShareTheSortStateButOnlyTheClickedOneIsSorted)
{
    state_->edict_results[0] = {MakeEntry(u"本", u"ほん", {u"book"}), MakeEntry(u"猫", u"ねこ", {u"cat"})};
    state_->edict_results[1] = {MakeEntry(u"犬", u"いぬ", {u"dog"}), MakeEntry(u"猫", u"ねこ", {u"cat"})};
    state_->edict_sort = {{kItemKana, false}, {kItemWord, false}};
    ResultWindow results(0, *host_, options_, resources_, nullptr);
    ResultWindow study(1, *host_, options_, resources_, nullptr);
    results.SetUpForNewResults();
    EXPECT_EQ(state_->edict_results[0][0].kana, u"ねこ");

    EXPECT_TRUE(study.ClickHeaderItem(kItemMeaning));
    EXPECT_EQ(state_->edict_sort.primary.key, kItemMeaning);
    EXPECT_EQ(state_->edict_sort.secondary.key, kItemKana);
    EXPECT_EQ(state_->edict_results[1][0].word, u"猫") << "c before d";
    EXPECT_EQ(state_->edict_results[0][0].kana, u"ねこ") << "the other window keeps its order";
    const ResultSortView view = host_->SortView();
    EXPECT_EQ(view.primary, kItemMeaning);
    EXPECT_FALSE(view.primaryDescending);
}

TEST_F(ResultAppHostTest, CopyAddAndHooks)
{
    state_->edict_results[0] = {MakeEntry(u"本", u"ほん", {u"book", u"main"}), MakeEntry(u"猫", u"ねこ", {u"cat"})};
    state_->edict_results[0][0].selected = true;
    state_->edict_results[0][0].rawLine = "raw\n";

    host_->encodingPosition = [] { return 1; };  // "Normal Unicode (Windows)"
    host_->CopyEntries(0, 3);
    EXPECT_EQ(platform_.ClipboardText(), std::u16string(u"本 (ほん) :: book | main"));
    host_->CopyEntries(0, 1);
    EXPECT_EQ(platform_.ClipboardText(), std::u16string(u"ほん"));

    int studySetUps = 0;
    host_->studySetUp = [&] { ++studySetUps; };
    host_->AddToStudyList(0);
    host_->AddToStudyList(0);
    ASSERT_EQ(state_->edict_results[1].size(), 2u);
    EXPECT_EQ(state_->edict_results[1][1].rawLine, "raw\n");
    EXPECT_FALSE(state_->edict_results[1][0].selected);
    EXPECT_EQ(studySetUps, 2);
    host_->AddToStudyList(1);
    EXPECT_EQ(state_->edict_results[1].size(), 2u) << "the study list does not add to itself";

    std::vector<std::pair<std::u16string, bool>> texts;
    host_->searchText = [&](std::u16string_view t, bool go) { texts.emplace_back(std::u16string(t), go); };
    int kanjiSetUps = 0;
    host_->kanjiSetUp = [&] { ++kanjiSetUps; };
    state_->kanji_results.resize(3);
    host_->ShowKanjiOf({u"本"});
    EXPECT_TRUE(state_->kanji_results.empty()) << "no kanji dictionary loaded: the list is only cleared";
    EXPECT_EQ(kanjiSetUps, 1);
    host_->SetSearchText(u"＿本", true);
    EXPECT_EQ(texts, (std::vector<std::pair<std::u16string, bool>>{{u"＿本", true}}));
    host_->FocusSearchBox();  // no hook: nothing happens

    state_->thread_searching = true;
    EXPECT_TRUE(host_->ThreadSearching());
    state_->thread_searching = false;
    state_->SEARCH_LOCK = true;
    EXPECT_TRUE(host_->SearchLock());
    state_->SEARCH_LOCK = false;
}
