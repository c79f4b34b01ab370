// The result and study list windows on Debian's EDICT: a search for ねこ
// fills the result window; an entry added to the study list shows there.
// With MIRUDEX_SCREENSHOT_DIR set, pictures of both windows and of the hover
// card are written for the documentation.
#include <gtest/gtest.h>

#include <QTest>
#include <filesystem>

#include "dict/Dictionary.h"
#include "dict/DictionaryStore.h"
#include "search/AppState.h"
#include "search/Dispatcher.h"
#include "support/TestSupport.h"
#include "ui/results/ResultAppHost.h"
#include "ui/results/result_test_host.h"

using namespace mirudex;
using namespace mirudex::ui;
namespace fs = std::filesystem;

namespace {

class ResultRealData : public test::WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        const fs::path real = test::RealDataDir();
        if (real.empty())
            GTEST_SKIP() << "no real data (run scripts/setup-data.sh build-data)";
        options_.LoadFromText(DefaultOptionsText());
        dict::LoadMarkers(store_.marker_table, test::ProgramDataPath("partsofspeech.mxf").string());
        auto d = std::make_unique<dict::Dictionary>();
        d->path = (real / "DICT" / "edict").string();
        d->name = "Standard EDICT";
        d->encoding = "EUC-JP";
        dict::EDICT_Index_Load(*d, options_);
        store_.edict_dictionaries.push_back(std::move(d));
        state_ = std::make_unique<search::AppState>(options_, store_);
        LoadFonts(options_, resources_.fonts, 96);
        LoadResultColors(options_, resources_.result);
        MakeSortArrows(resources_);
    }
    void TearDown() override
    {
        state_.reset();
        WorkDirTest::TearDown();
    }

    Registry options_;
    dict::DictionaryStore store_;
    std::unique_ptr<search::AppState> state_;
    Resources resources_;
};

}  // namespace

TEST_F(ResultRealData, NekoFillsTheResultWindowAndAnAddedEntryTheStudyList)
{
    std::u16string text = u"ねこ";
    search::Edict_SearchFor(*state_, text);
    ASSERT_GE(state_->edict_results[0].size(), 2u);

    AppResultHost host(*state_);
    ResultWindow results(0, host, options_, resources_, nullptr);
    ResultWindow study(1, host, options_, resources_, nullptr);
    host.studySetUp = [&study] { study.SetUpForNewResults(); };
    // The stored sort as start-up replays it: Word (Sort2), then Kana (Sort1).
    results.ClickHeaderItem(options_.GetINT(".\\Results\\Sort2"));
    results.ClickHeaderItem(options_.GetINT(".\\Results\\Sort1"));
    results.resize(760, 420);
    study.resize(760, 200);
    results.SetUpForNewResults();
    results.show();
    study.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&results));

    const auto& list = state_->edict_results[0];
    for (size_t j = 1; j < list.size(); ++j)
        EXPECT_LE(list[j - 1].kana, list[j].kana) << "sorted by the default keys (Kana, then Word)";
    int neko = -1;
    for (size_t j = 0; j < list.size(); ++j)
        if (list[j].word == u"猫")
            neko = static_cast<int>(j);
    ASSERT_GE(neko, 0);
    EXPECT_FALSE(list[static_cast<size_t>(neko)].meanings.empty());
    ASSERT_LE(neko, results.visibleRows().last);

    const char* out = std::getenv("MIRUDEX_SCREENSHOT_DIR");
    auto save = [out](QWidget& w, const char* name) {
        if (out)
            w.grab().save(QString::fromStdString((fs::path(out) / name).string()));
    };
    save(results, "result-window.png");

    const QRect area = results.entriesArea();
    const QPoint row(area.left() + 40, area.top() + neko * results.entryHeight() + results.entryHeight() / 2);
    QTest::mouseClick(&results, Qt::LeftButton, {}, row);
    host.AddToStudyList(0);
    ASSERT_EQ(state_->edict_results[1].size(), 1u);
    EXPECT_EQ(state_->edict_results[1][0].word, u"猫");
    EXPECT_FALSE(state_->edict_results[1][0].rawLine.empty());
    EXPECT_EQ(study.visibleRows().last, 0);

    save(study, "study-list.png");
    if (!out)
        return;
    ResultHoverCard card(list[static_cast<size_t>(neko)], resources_.fonts, resources_.result, 96, nullptr);
    card.show();
    save(card, "result-hover-card.png");
}
