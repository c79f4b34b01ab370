// The whole program on Debian's EDICT: romaji typed into the search box with
// the input method on and Enter fill the result window, and the status bar
// tells how many results there are; a sentence in the reading view, its
// words searched one by one.
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>

#include "dict/DictionaryStore.h"
#include "search/AppState.h"
#include "text/FuzzySearch.h"
#include "ui/app/AppWiring.h"
#include "ui/app/WholeProgram.h"
#include "ui/common/CommandIds.h"
#include "ui/search/ReaderView.h"
#include "ui/search/SearchEdit.h"
#include "ui/support/UiTestSupport.h"

namespace mirudex::ui {
namespace {

namespace fs = std::filesystem;

class SearchProgramTest : public test::UiTest {};

TEST_F(SearchProgramTest, RomajiWithTheImeAndEnterOnDebiansEdict)
{
    const fs::path real = test::RealDataDir();
    if (real.empty())
        GTEST_SKIP() << "no real data (run scripts/setup-data.sh build-data)";
    registry_.SetBOOL(".\\Misc\\FirstTime", false);
    registry_.SetBOOL(".\\Misc\\IME", true);
    registry_.SetSTRING(".\\Dictionaries\\EDICT\\0\\Path", (real / "DICT" / "edict").string());
    registry_.SetSTRING(".\\Dictionaries\\KANJIDIC\\Path", (real / "DICT" / "kanjidic").string());
    registry_.SetSTRING(".\\Dictionaries\\RADKFILE\\Path", (real / "radkfile.dat").string());
    WholeProgram whole(registry_);
    auto& [store, rules, state, services, program, panes] = whole;
    program.Start();
    MainWindow* w = program.mainWindow();
    ASSERT_NE(w, nullptr);
    ASSERT_GT(store.edict_dictionaries.at(0)->count, 100000);

    SearchWindow* search = panes.searchWindow();
    SearchEdit* edit = search->edit();
    ASSERT_TRUE(edit->ImeOn()) << "the input method starts on from the options";
    EXPECT_EQ(platform_.LastStatus(1), u"IME -on-");
    edit->selectAll();
    for (char c : std::string("neko"))
        QTest::keyClick(edit, c);
    EXPECT_EQ(edit->toPlainText(), QString::fromUtf16(u"ねこ"));
    QTest::keyClick(edit, Qt::Key_Return);

    const size_t found = state.edict_results[0].size();
    ASSERT_GT(found, 0u);
    EXPECT_EQ(platform_.LastStatus(0), u"Search complete (" + QString::number(found).toStdU16String() + u" results) ");
    EXPECT_FALSE(state.kanji_results.empty());
    EXPECT_EQ(edit->textCursor().selectedText(), QString::fromUtf16(u"ねこ"));

    // The picture shows the status texts the program gave (the test platform records them).
    w->SetStatusText(0, QString::fromStdU16String(platform_.LastStatus(0)));
    w->SetStatusText(1, QString::fromStdU16String(platform_.LastStatus(1)));
    w->resize(900, 640);
    QTest::qWait(50);
    test::SaveShot(w, "search-in-main-window");

    EXPECT_EQ(whole.Exit(), 0);
    Registry saved;
    ASSERT_TRUE(saved.Load("Options.mxreg"));
    EXPECT_TRUE(saved.GetBOOL(".\\Misc\\IME"));
}

// The reading view, on from the options, over Debian's EDICT: a sentence is
// read into its words, its first word fills the result window, and a click
// on its verb gives the verb's dictionary form first, with its kanji.
TEST_F(SearchProgramTest, ASentenceInTheReadingViewOnDebiansEdict)
{
    const fs::path real = test::RealDataDir();
    if (real.empty())
        GTEST_SKIP() << "no real data (run scripts/setup-data.sh build-data)";
    registry_.SetBOOL(".\\Misc\\FirstTime", false);
    registry_.SetBOOL(".\\Misc\\Reader", true);
    registry_.SetSTRING(".\\Dictionaries\\EDICT\\0\\Path", (real / "DICT" / "edict").string());
    registry_.SetSTRING(".\\Dictionaries\\KANJIDIC\\Path", (real / "DICT" / "kanjidic").string());
    fs::copy_file(real / "fuzzysearch.uni.dat", "fuzzysearch.uni.dat");
    WholeProgram whole(registry_);
    auto& [store, rules, state, services, program, panes] = whole;
    program.Start();
    SearchWindow* search = panes.searchWindow();
    ASSERT_TRUE(search->ReaderShown());
    ReaderView* reader = search->reader();

    search->edit()->setPlainText(QString::fromUtf16(u"猫が魚を食べました。"));
    search->edit()->selectAll();
    QTest::keyClick(search->edit(), Qt::Key_Return);
    std::vector<std::u16string> surfaces;
    for (const search::ReadToken& token : reader->tokens())
        surfaces.push_back(token.surface);
    ASSERT_EQ(surfaces, (std::vector<std::u16string>{u"猫", u"が", u"魚", u"を", u"食べました", u"。"}));
    ASSERT_FALSE(state.edict_results[0].empty());
    EXPECT_EQ(state.edict_results[0][0].word, u"猫");

    QTest::mouseClick(reader->viewport(), Qt::LeftButton, {}, reader->TokenRect(4).center());
    ASSERT_FALSE(state.edict_results[0].empty());
    EXPECT_EQ(state.edict_results[0][0].word, u"食べる");
    EXPECT_EQ(state.edict_results[0][0].kana, u"たべる");
    EXPECT_TRUE(std::any_of(state.kanji_results.begin(), state.kanji_results.end(), [](const dict::KanjiRecord& k) {
        return k.code == 0x98DF;
    })) << "the kanji pane shows 食";
    EXPECT_EQ(reader->TextWithReadings(), u"猫[ねこ]が魚[さかな]を食[た]べました。");
    program.mainWindow()->resize(900, 640);
    QTest::qWait(50);
    test::SaveShot(program.mainWindow(), "reading-view-in-main-window");
    EXPECT_EQ(whole.Exit(), 0);
}

}  // namespace
}  // namespace mirudex::ui
