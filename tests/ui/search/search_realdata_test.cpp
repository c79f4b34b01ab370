// The search window on Debian's EDICT (prepared by scripts/setup-data.sh):
// romaji typed with the input method on, Enter, and the result list filled.
// With MIRUDEX_SCREENSHOT_DIR set, the window is also saved as a picture there.
#include <gtest/gtest.h>

#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "dict/DictionaryStore.h"
#include "search/AppState.h"
#include "support/TestSupport.h"
#include "ui/search/SearchCommands.h"
#include "ui/search/SearchEdit.h"
#include "ui/search/SearchWindow.h"

using namespace mirudex;
using namespace mirudex::ui;

namespace {

namespace fs = std::filesystem;

class SearchRealData : public test::WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        const fs::path real = test::RealDataDir();
        if (real.empty())
            GTEST_SKIP() << "no real data (run scripts/setup-data.sh build-data)";
        options.LoadFromText(DefaultOptionsText());
        // The prepared directory holds the dictionary's index file: use it in place.
        auto d = std::make_unique<dict::Dictionary>();
        d->path = (real / "DICT" / "edict").string();
        d->name = "Standard EDICT";
        d->encoding = "EUC-JP";
        dict::EDICT_Index_Load(*d, options);
        store.edict_dictionaries.push_back(std::move(d));
        options.SetSTRING(".\\Dictionaries\\KANJIDIC\\Path", (real / "DICT" / "kanjidic").string());
        dict::KANJIDIC_Index_Load(store.kanji_index, options);
        state = std::make_unique<search::AppState>(options, store);
    }
    void TearDown() override
    {
        window.reset();
        state.reset();
        WorkDirTest::TearDown();
    }

    Registry options;
    dict::DictionaryStore store;
    std::unique_ptr<search::AppState> state;
    std::unique_ptr<SearchWindow> window;
};

TEST_F(SearchRealData, RomajiWithTheImeThenEnterFillsTheResultList)
{
    ASSERT_GT(store.edict_dictionaries[0]->count, 100000);
    window = std::make_unique<SearchWindow>(*state);
    window->resize(800, 145);
    window->RestoreToolbars(0);
    window->show();
    SearchEdit* edit = window->edit();
    window->FocusSearchBox(true);
    for (char c : std::string("benkyou"))
        QTest::keyClick(edit, c);
    EXPECT_EQ(edit->toPlainText(), QString::fromUtf16(u"べんきょう"));
    QTest::keyClick(edit, Qt::Key_Return);

    const auto& results = state->edict_results[0];
    ASSERT_FALSE(results.empty());
    RecordProperty("results", static_cast<int>(results.size()));
    EXPECT_TRUE(std::any_of(results.begin(), results.end(), [](const dict::Entry& e) { return e.word == u"勉強"; }));
    EXPECT_EQ(platform_.LastStatus(0),
              u"Search complete (" + std::u16string(QString::number(results.size()).toStdU16String()) + u" results) ");
    EXPECT_FALSE(state->kanji_results.empty()) << "the kanji of the found words";

    // A random word from the real dictionary.
    window->OnCommand(ID_RANDOM_WORD);
    ASSERT_EQ(state->edict_results[0].size(), 1u);
    EXPECT_FALSE(state->edict_results[0][0].word.empty());

    if (const char* dir = std::getenv("MIRUDEX_SCREENSHOT_DIR"); dir && *dir) {
        edit->setPlainText(QString::fromUtf16(u"べんきょう　勉強する　ねこ"));
        edit->selectAll();
        QTest::qWait(50);  // let the window paint once before it is grabbed
        ASSERT_TRUE(window->grab().save(QString::fromUtf8(dir) + "/search-window.png"));
    }
}

}  // namespace
