// Searches started from the kanji window run the dictionary-only search on the
// worker: the entries change, the kanji list stays.
#include <optional>

#include "core/Format.h"
#include "dict/DictionaryStore.h"
#include "search/AppState.h"
#include "search/Worker.h"
#include "text/Encoding.h"
#include "ui/kanji/KanjiWindowSearch.h"
#include "ui/kanji/kanji_fixture.h"

using namespace mirudex;
using namespace mirudex::ui;

namespace {

class KanjiSearchTest : public test::KanjiFixture {
protected:
    void SetUp() override
    {
        KanjiFixture::SetUp();
        options_.SetBOOL(".\\Dictionaries\\Indexing", false);
        std::string bytes;
        for (const char* line : {"日本 [にほん] /Japan/", "毎日 [まいにち] /every day/", "日曜日 [にちようび] /Sunday/",
                                 "休日 [きゅうじつ] /holiday/", "月 [つき] /moon/"}) {
            bytes += text::ConvertEncoding(line, "UTF-8", "EUC-JP").value_or("") + "\n";
        }
        test::WriteFile("edict", bytes);
        auto d = std::make_unique<dict::Dictionary>();
        d->path = "edict";
        d->name = "Test";
        d->encoding = "EUC-JP";
        d->on = true;
        dict::EDICT_Index_Load(*d, options_);
        store_.edict_dictionaries.push_back(std::move(d));
        state_ = std::make_unique<search::AppState>(options_, store_);
        state_->kanji_results = {test::Kanji(u'日', u"ニチ", u"ひ", u"day", 4),
                                 test::Kanji(u'月', u"ゲツ", u"つき", u"moon", 4)};
    }
    void TearDown() override
    {
        if (state_)
            search::StopWorker(*state_);
        window_.reset();
        state_.reset();
        KanjiFixture::TearDown();
    }

    std::vector<std::u16string> Words() const
    {
        std::vector<std::u16string> out;
        for (const auto& e : state_->edict_results[search::kResultList])
            out.push_back(e.word);
        std::sort(out.begin(), out.end());
        return out;
    }

    dict::DictionaryStore store_;
    std::unique_ptr<search::AppState> state_;
};

TEST_F(KanjiSearchTest, ContextSearchesKeepTheKanjiListAndReportTheCount)
{
    KanjiWindow window(KanjiContextFromState(*state_, resources_), nullptr);
    int shown = 0;
    std::vector<std::u16string> copied;
    ConnectKanjiSearch(window, *state_, KanjiSearchHooks{{}, [&] { ++shown; }, {}, [] { return 1; }});
    window.resize(400, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, QPoint(20, window.geometry().listTop + 2));
    ASSERT_EQ(window.selected(), 0);

    struct Case {
        int id;
        std::vector<std::u16string> words;
    };
    const Case cases[] = {
        {KanjiWindow::kSearchEnding, {u"休日", u"日曜日", u"毎日"}},
        {KanjiWindow::kSearchStarting, {u"日曜日", u"日本"}},
        {KanjiWindow::kSearchAnywhere, {u"休日", u"日曜日", u"日本", u"毎日"}},
    };
    for (const auto& c : cases) {
        window.OnMenuCommand(c.id);
        EXPECT_EQ(Words(), c.words) << c.id;
        EXPECT_FALSE(state_->thread_searching.load());
        ASSERT_EQ(state_->kanji_results.size(), 2u) << "the kanji list stays";
        EXPECT_EQ(platform_.LastStatus(0), Format(u"Search complete (%i results) ", static_cast<int>(c.words.size())));
    }
    EXPECT_EQ(shown, 3);

    window.OnMenuCommand(KanjiWindow::kCopyFirst + 6);
    EXPECT_EQ(platform_.ClipboardText().value_or(u""),
              u"日\nStrokes: 4\nFrequency: 0 / 2501\nOn: ニチ\nKun: ひ\nNanori: \nRadical Readings: \nMeaning: day");
}

}  // namespace
