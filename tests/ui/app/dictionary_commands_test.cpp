// The Dictionaries pop-up's Import JMdict... and Download Current
// Dictionary... in the real program: the pop-up's items reach the commands,
// an import becomes a registered, searchable dictionary behind the progress
// window, and what the user declines or a failed download changes nothing.
#include <gtest/gtest.h>

#include <QMenu>
#include <QTest>
#include <filesystem>

#include "core/Registry.h"
#include "dict/DictionaryOptions.h"
#include "dict/DictionaryStore.h"
#include "search/AppState.h"
#include "text/FuzzySearch.h"
#include "ui/app/AppWiring.h"
#include "ui/app/DictionaryCommands.h"
#include "ui/common/CommandIds.h"
#include "ui/main/DictionariesPopup.h"
#include "ui/main/MainWindow.h"
#include "ui/support/UiTestSupport.h"

namespace mirudex::ui {
namespace {

class DictionaryCommandsTest : public test::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        registry_.SetBOOL(opt::misc::kFirstTime, false);
        state = std::make_unique<search::AppState>(registry_, store, &rules);
        services = std::make_unique<AppStateServices>(*state);
        program = std::make_unique<Program>(registry_, services.get());
        panes = std::make_unique<AppPaneFactory>(*state, program->resources(), *services);
        program->SetPaneFactory(panes.get());
        panes->WireProgram(*program, rules);
        program->Start();
        main = program->mainWindow();
        DictionaryCommandHooks hooks;
        hooks.chooseLanguage = [this](const std::string& current) {
            languageAsked = current;
            return language;
        };
        ConnectDictionaryCommands(*main, *state, hooks);
    }
    void TearDown() override
    {
        program.reset();
        panes.reset();
        services.reset();
        state.reset();
        UiTest::TearDown();
    }

    dict::DictionaryStore store;
    text::FuzzyRules rules;
    std::unique_ptr<search::AppState> state;
    std::unique_ptr<AppStateServices> services;
    std::unique_ptr<Program> program;
    std::unique_ptr<AppPaneFactory> panes;
    MainWindow* main = nullptr;
    std::optional<std::string> language = "eng";
    std::string languageAsked;
};

TEST_F(DictionaryCommandsTest, ThePopupItemsRunTheirCommands)
{
    std::vector<int> run;
    main->SetCommandHandler(ID_IMPORT_JMDICT, [&run] { run.push_back(ID_IMPORT_JMDICT); });
    main->SetCommandHandler(ID_DOWNLOAD_DICTIONARY, [&run] { run.push_back(ID_DOWNLOAD_DICTIONARY); });
    for (int id : {ID_IMPORT_JMDICT, ID_DOWNLOAD_DICTIONARY}) {
        main->OnCommand(ID_DICTIONARIES);
        auto* popup = main->findChild<DictionariesPopup*>();
        ASSERT_NE(popup, nullptr);
        QTRY_VERIFY(popup->menu() && popup->menu()->isVisible());
        QAction* item = popup->item(id);
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->isEnabled());
        item->trigger();
        QTRY_COMPARE(run.size(), size_t(id == ID_IMPORT_JMDICT ? 1 : 2));
        EXPECT_EQ(run.back(), id);
        if (popup->menu())
            popup->menu()->close();
    }
    // Refused while a worker runs.
    state->thread_searching = true;
    main->OnCommand(ID_IMPORT_JMDICT);
    state->thread_searching = false;
    EXPECT_EQ(run.size(), 2u);
    EXPECT_EQ(platform_.MessageBoxes().back().text,
              u"Please finish any searches or dictionary-loads before installing a dictionary.\n");
}

TEST_F(DictionaryCommandsTest, AnImportedJmdictFileIsRegisteredAndSearchable)
{
    const size_t before = store.edict_dictionaries.size();
    const int number = registry_.GetINT(opt::dictionaries::edict::kNumber);
    registry_.SetSTRING(opt::dictionaries::jmdict::kLanguage, "ger");
    language = "eng";
    platform_.ScriptFiles({mirudex::test::FixturePath("jmdict-sample.xml").string()});
    main->OnCommand(ID_IMPORT_JMDICT);

    EXPECT_EQ(languageAsked, "ger");  // the last language chosen is offered first
    EXPECT_EQ(registry_.GetString(opt::dictionaries::jmdict::kLanguage), "eng");
    EXPECT_FALSE(state->thread_searching);
    ASSERT_EQ(store.edict_dictionaries.size(), before + 1);
    const dict::Dictionary& added = *store.edict_dictionaries.back();
    EXPECT_EQ(added.path, "DICT\\jmdict-sample.edict2");
    EXPECT_EQ(added.encoding, "UTF-8");
    EXPECT_EQ(added.form, dict::LineForm::Edict2);
    EXPECT_GT(added.count, 12);  // a record for every form of the 12 entries
    EXPECT_EQ(registry_.GetINT(opt::dictionaries::edict::kNumber), number + 1);
    EXPECT_EQ(dict::FindConfiguredDictionary(registry_, "DICT\\jmdict-sample.edict2"), number);
    EXPECT_EQ(platform_.LastStatus(0), u"Dictionary installed.");
    ASSERT_FALSE(platform_.MessageBoxes().empty());
    EXPECT_NE(platform_.MessageBoxes().back().text.find(u"12 entries"), std::u16string::npos);

    // Importing the same file again replaces the dictionary; it is not added twice.
    platform_.ScriptFiles({mirudex::test::FixturePath("jmdict-sample.xml").string()});
    main->OnCommand(ID_IMPORT_JMDICT);
    EXPECT_EQ(store.edict_dictionaries.size(), before + 1);
    EXPECT_EQ(registry_.GetINT(opt::dictionaries::edict::kNumber), number + 1);
}

TEST_F(DictionaryCommandsTest, DecliningOrAFailedDownloadChangesNothing)
{
    const std::string options = registry_.SaveToText();
    const size_t before = store.edict_dictionaries.size();

    // No file chosen, or no language: nothing happens.
    platform_.ScriptFiles({std::nullopt});
    main->OnCommand(ID_IMPORT_JMDICT);
    language.reset();
    platform_.ScriptFiles({mirudex::test::FixturePath("jmdict-sample.xml").string()});
    main->OnCommand(ID_IMPORT_JMDICT);

    // The download asked about and declined; then one from a port nobody listens on.
    platform_.ScriptAnswers({platform::Answer::No});
    main->OnCommand(ID_DOWNLOAD_DICTIONARY);
    EXPECT_NE(platform_.MessageBoxes().back().text.find(u"JMdict_e.gz"), std::u16string::npos);
    EXPECT_EQ(registry_.SaveToText(), options);

    registry_.SetSTRING(opt::dictionaries::download::kURL, "http://127.0.0.1:9/JMdict_e.gz");
    platform_.ScriptAnswers({platform::Answer::Yes});
    main->OnCommand(ID_DOWNLOAD_DICTIONARY);
    EXPECT_EQ(platform_.LastStatus(0), u"Dictionary install... failed.");
    EXPECT_EQ(platform_.MessageBoxes().back().caption, u"Error");
    EXPECT_EQ(store.edict_dictionaries.size(), before);
    EXPECT_FALSE(std::filesystem::exists("DICT/JMdict_e.edict2"));
    EXPECT_FALSE(std::filesystem::exists("DICT/JMdict_e.edict2.download"));
}

}  // namespace
}  // namespace mirudex::ui
