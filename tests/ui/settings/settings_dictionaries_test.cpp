// The Dictionaries page (renaming and removing dictionaries in the options
// and the loaded list), Change Description, and Add Dictionary with the real
// load worker over small dictionaries of our own.
#include <gtest/gtest.h>

#include <QComboBox>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/api/Utf.h"
#include "search/AppState.h"
#include "search/Worker.h"
#include "text/Encoding.h"
#include "ui/common/ProgressWindow.h"
#include "ui/settings/AddDictionaryDialog.h"
#include "ui/settings/ChangeDescriptionDialog.h"
#include "ui/settings/SettingsDictionariesPage.h"
#include "ui/settings/settings_test_fixture.h"
#include "ui/support/UiTestSupport.h"

using namespace mirudex;
using namespace mirudex::ui;
using platform::Answer;

namespace {

std::string DictKey(int i, const char* item) { return ".\\Dictionaries\\EDICT\\" + std::to_string(i) + "\\" + item; }

class DictionariesPageTest : public test::SettingsTest {
protected:
    // n configured and loaded (empty) dictionaries d0 .. d<n-1>, every other one off.
    void Configure(int n)
    {
        options.DeleteKey(".\\Dictionaries\\EDICT\\0");
        options.CD(".\\Dictionaries\\EDICT");
        for (int i = 0; i < n; ++i)
            options.MakeKey(std::to_string(i));
        options.CD(".");
        for (int i = 0; i < n; ++i) {
            const std::string s = std::to_string(i);
            options.SetSTRING(DictKey(i, "Path"), "DICT\\d" + s);
            options.SetSTRING(DictKey(i, "Name"), "Dictionary " + s);
            options.SetSTRING(DictKey(i, "Encoding"), i == 2 ? "UTF-8" : "EUC-JP");
            options.SetBOOL(DictKey(i, "On"), i % 2 == 0);
        }
        options.SetINT(".\\Dictionaries\\EDICT\\Number", n);
        store.edict_dictionaries = dict::ConfiguredDictionaries(options);
        page = std::make_unique<SettingsDictionariesPage>(*context, nullptr);
        page->show();
        list = page->findChild<QListWidget*>(QStringLiteral("1036"));
    }
    void Select(int row) { list->setCurrentRow(row); }
    void Click(int id) { QTest::mouseClick(page->findChild<QPushButton*>(QString::number(id)), Qt::LeftButton); }
    std::vector<std::string> StoreNames() const
    {
        std::vector<std::string> names;
        for (const auto& d : store.edict_dictionaries)
            names.push_back(d->name);
        return names;
    }
    std::vector<std::string> ListNames() const
    {
        std::vector<std::string> names;
        for (int i = 0; i < list->count(); ++i)
            names.push_back(list->item(i)->text().toStdString());
        return names;
    }

    std::unique_ptr<SettingsDictionariesPage> page;
    QListWidget* list = nullptr;
};

TEST_F(DictionariesPageTest, DeleteMovesTheLaterDictionariesDownOneKey)
{
    struct Case {
        int remove;
        std::vector<int> left;  // former numbers, in their new order
    };
    const Case cases[] = {{0, {1, 2, 3}}, {2, {0, 1, 3}}, {3, {0, 1, 2}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.remove);
        Configure(4);
        EXPECT_EQ(ListNames(),
                  (std::vector<std::string>{"Dictionary 0", "Dictionary 1", "Dictionary 2", "Dictionary 3"}));
        Select(c.remove);
        platform_.Clear();
        platform_.ScriptAnswers({Answer::Yes});
        Click(1002);
        ASSERT_EQ(platform_.MessageBoxes().size(), 1u);
        EXPECT_EQ(platform_.MessageBoxes()[0].text, u"Are you sure that you want to delete this dictionary?");
        EXPECT_EQ(platform_.MessageBoxes()[0].caption, u"Warning");
        EXPECT_EQ(platform_.MessageBoxes()[0].buttons, platform::Buttons::YesNo);

        EXPECT_EQ(options.GetINT(".\\Dictionaries\\EDICT\\Number"), 3);
        std::vector<std::string> expected;
        for (int k = 0; k < 3; ++k) {
            const int former = c.left[static_cast<size_t>(k)];
            const std::string s = std::to_string(former);
            EXPECT_EQ(options.GetString(DictKey(k, "Path")), "DICT\\d" + s);
            EXPECT_EQ(options.GetString(DictKey(k, "Name")), "Dictionary " + s);
            EXPECT_EQ(options.GetString(DictKey(k, "Encoding")), former == 2 ? "UTF-8" : "EUC-JP");
            EXPECT_EQ(options.GetBOOL(DictKey(k, "On")), former % 2 == 0);
            EXPECT_EQ(store.edict_dictionaries[static_cast<size_t>(k)]->path, "DICT\\d" + s);
            expected.push_back("Dictionary " + s);
        }
        options.CD(".\\Dictionaries\\EDICT");
        EXPECT_EQ(options.current().FindChild("3"), nullptr);
        options.CD(".");
        EXPECT_EQ(StoreNames(), expected);
        EXPECT_EQ(ListNames(), expected);
    }
}

TEST_F(DictionariesPageTest, NothingChangesWhenRefusedOrUnselected)
{
    Configure(2);
    const std::string before = options.SaveToText();
    Click(1002);  // nothing selected
    EXPECT_TRUE(platform_.MessageBoxes().empty());

    Select(1);
    platform_.ScriptAnswers({Answer::No});
    Click(1002);
    EXPECT_EQ(platform_.MessageBoxes().size(), 1u);

    // A worker may be searching the list: no question, a note, nothing removed or renamed.
    busy = true;
    platform_.Clear();
    bool asked = false;
    page->askDescription = [&](int) {
        asked = true;
        return std::optional<QString>("Renamed");
    };
    Click(1002);
    Click(1001);
    ASSERT_EQ(platform_.MessageBoxes().size(), 2u);
    EXPECT_EQ(platform_.MessageBoxes()[0].caption, u"Note");
    EXPECT_EQ(platform_.MessageBoxes()[1].caption, u"Note");
    EXPECT_FALSE(asked);
    EXPECT_EQ(options.SaveToText(), before);
    EXPECT_EQ(store.edict_dictionaries.size(), 2u);
    EXPECT_EQ(list->count(), 2);
}

TEST_F(DictionariesPageTest, ChangeDescriptionRenamesInTheListTheOptionsAndTheMenu)
{
    Configure(3);
    std::vector<int> asked;
    std::optional<QString> answer;
    page->askDescription = [&](int index) {
        asked.push_back(index);
        return answer;
    };
    Click(1001);  // nothing selected
    EXPECT_TRUE(asked.empty());

    Select(1);
    answer = std::nullopt;  // Cancel
    Click(1001);
    EXPECT_EQ(options.GetString(DictKey(1, "Name")), "Dictionary 1");

    answer = QString("Names :: and places");
    Click(1001);
    EXPECT_EQ(asked, (std::vector<int>{1, 1}));
    EXPECT_EQ(options.GetString(DictKey(1, "Name")), "Names \\:\\: and places");
    EXPECT_EQ(store.edict_dictionaries[1]->name, "Names \\:\\: and places");
    EXPECT_EQ(list->item(1)->text(), "Names \\:\\: and places");
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_TRUE(list->item(1)->isSelected());
    // The options file keeps the name through a save and load.
    Registry reloaded;
    reloaded.LoadFromText(options.SaveToText());
    EXPECT_EQ(reloaded.GetString(DictKey(1, "Name")), "Names \\:\\: and places");
}

// Under the list: the selected dictionary's own header line (its makers and
// date) and the kanji dictionary's, read from the files.
TEST_F(DictionariesPageTest, ShowsTheHeaderLinesOfTheSelectedAndTheKanjiDictionary)
{
    std::filesystem::create_directories("DICT");
    mirudex::test::WriteFile("DICT/d0", text::ConvertEncoding("\u3000？？？ /EDICT, EDICT_SUB(P)/Copyright EDRDG - "
                                                              "2021/Created: 2021-02-03/\n猫 [ねこ] /(n) cat/\n",
                                                              "UTF-8", "EUC-JP")
                                            .value());
    mirudex::test::WriteFile("DICT/d1", "dog /(n) dog/\n");
    mirudex::test::WriteFile("DICT/kanji", "# KANJIDIC/Copyright EDRDG - 2016/2022-08-23/\n");
    options.SetSTRING(".\\Dictionaries\\KANJIDIC\\Path", "DICT\\kanji");
    Configure(2);
    auto* headers = page->findChild<QLabel*>(QStringLiteral("headers"));
    ASSERT_NE(headers, nullptr);
    EXPECT_EQ(headers->text(), QStringLiteral("Kanji: KANJIDIC / Copyright EDRDG - 2016 / 2022-08-23"));
    Select(0);
    EXPECT_EQ(headers->text(), QStringLiteral("Dictionary 0: EDICT, EDICT_SUB(P) / Copyright EDRDG - 2021 / "
                                              "Created: 2021-02-03\nKanji: KANJIDIC / Copyright EDRDG - 2016 / "
                                              "2022-08-23"));
    Select(1);
    EXPECT_TRUE(headers->text().startsWith(QStringLiteral("Dictionary 1: the file has no header line.\n")));
}

TEST(ChangeDescriptionDialogTest, ShowsTheDictionaryAndReturnsTheTypedDescription)
{
    ChangeDescriptionDialog dialog("DICT\\d0", "Dictionary 0", nullptr);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Change Desciption");
    EXPECT_EQ(dialog.findChild<QLabel*>("1037")->text(), "DICT\\d0");
    EXPECT_EQ(dialog.findChild<QLabel*>("1038")->text(), "Dictionary 0");
    auto* edit = dialog.findChild<QLineEdit*>("1000");
    EXPECT_EQ(edit->text(), "Dictionary 0");
    EXPECT_EQ(test::UnnamedControls(&dialog), std::vector<std::string>{});
    edit->setText(QString(6000, u'x'));
    EXPECT_EQ(dialog.description().size(), ChangeDescriptionDialog::kMaxDescription);
    edit->setText("Renamed");
    QTest::mouseClick(dialog.findChild<QPushButton*>("1"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.description(), "Renamed");

    dialog.show();
    QTest::mouseClick(dialog.findChild<QPushButton*>("2"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

// ---- Add Dictionary --------------------------------------------------------

class AddDictionaryTest : public test::SettingsTest {
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        options.SetBOOL(".\\Dictionaries\\Indexing", false);
        state = std::make_unique<search::AppState>(options, store);
        // One configured dictionary (the defaults' names dictionary left out).
        options.SetINT(opt::dictionaries::edict::kNumber, 1);
        store.edict_dictionaries = dict::ConfiguredDictionaries(options);
        dialog = std::make_unique<AddDictionaryDialog>(*state, nullptr);
        dialog->SetProgramDir(std::filesystem::current_path().u16string());
        dialog->SetWaiter([this](int flags) {
            waits.push_back(flags);
            return waitAnswer(flags);
        });
        dialog->SetQuitForwarder([this] { ++quitsForwarded; });
        dialog->show();
    }
    void TearDown() override
    {
        dialog.reset();
        state.reset();
        SettingsTest::TearDown();
    }

    QLineEdit* EditOf(int id) const { return dialog->findChild<QLineEdit*>(QString::number(id)); }
    void Click(int id) { QTest::mouseClick(dialog->findChild<QPushButton*>(QString::number(id)), Qt::LeftButton); }
    void WriteDictionary(const std::string& name)
    {
        const std::string lines = "日本 [にほん] /(n) Japan/\n猫 [ねこ] /(n) cat/\nカタカナ /(n) katakana/\n";
        test::WriteFile(name, text::ConvertEncoding(lines, "UTF-8", "EUC-JP").value_or(""));
    }
    // Waits as the progress wait does once the worker is done.
    static int WaitUntilDone(const search::AppState& s)
    {
        while (search::WorkerRunning(s))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return kWaitFinished;
    }

    std::unique_ptr<search::AppState> state;
    std::unique_ptr<AddDictionaryDialog> dialog;
    std::vector<int> waits;
    std::function<int(int)> waitAnswer = [this](int) { return WaitUntilDone(*state); };
    int quitsForwarded = 0;
};

TEST_F(AddDictionaryTest, OpensWithPlaceholdersAndBrowseGuessesTheEncodingFromTheExtension)
{
    EXPECT_EQ(dialog->windowTitle(), "Add Dictionary");
    EXPECT_EQ(EditOf(1000)->text(), "(Click on Browse to pick a dictionary file)");
    EXPECT_TRUE(EditOf(1000)->isReadOnly());
    EXPECT_EQ(EditOf(1004)->text(), "EUC-JP");
    EXPECT_EQ(EditOf(1002)->text(), "(Description for the dictionary)");
    EXPECT_EQ(test::UnnamedControls(dialog.get()), std::vector<std::string>{});

    const std::u16string mxiNote =
        u"This is probably a Mirudex Index (.mxi) file.  Make sure that this is really what you want.";
    struct Case {
        std::string path;
        const char* encoding;  // after Browse, starting from "SHIFT_JIS"
        std::u16string note;   // message box text, or empty
    };
    const Case cases[] = {
        {"/data/edict", "EUC-JP", u""},
        {"/data/enamdict.utf", "UTF-8", u""},
        {"/data/compdic.dct", "EUC-JP", u""},
        {"/data/lingdic.asc", "EUC-JP", u""},
        {"/data/edict.mxi", "SHIFT_JIS", mxiNote},
        {"/data/words.UTF", "SHIFT_JIS",
         u"File:\n/data/words.UTF\n\nThis file looks like it has an extention.\nMake sure that this is what you want."},
        {"/data/v1.2/edict", "SHIFT_JIS",
         u"File:\n/data/v1.2/edict\n\nThis file looks like it has an extention.\nMake sure that this is what you "
         u"want."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EditOf(1004)->setText("SHIFT_JIS");
        platform_.Clear();
        platform_.ScriptFiles({c.path});
        Click(1001);
        ASSERT_EQ(platform_.Choosers().size(), 1u);
        EXPECT_EQ(platform_.Choosers()[0].title, u"Please select a dictionary to use.");
        EXPECT_EQ(EditOf(1004)->text(), c.encoding);
        if (c.note.empty()) {
            EXPECT_TRUE(platform_.MessageBoxes().empty());
        } else {
            ASSERT_EQ(platform_.MessageBoxes().size(), 1u);
            EXPECT_EQ(platform_.MessageBoxes()[0].text, c.note);
            EXPECT_EQ(platform_.MessageBoxes()[0].caption, u"Note");
        }
        EXPECT_EQ(EditOf(1000)->text().toStdString(), c.path);
        EXPECT_EQ(EditOf(1002)->text().toStdString(), c.path);
        EXPECT_TRUE(dialog->fileChosen());
    }
    const std::string log = Log();
    EXPECT_NE(log.find("About to open the File Open dialog box...\nFile picked successfully\nFile: /data/edict\n"
                       "Extention: \nOkay, we CAN LOAD the dictionary.\n"),
              std::string::npos);
    EXPECT_NE(log.find("Extention: .2/edict\n"), std::string::npos);
}

TEST_F(AddDictionaryTest, CancelledBrowseAndOkWithoutAFileAddNothing)
{
    Click(1001);  // the chooser is cancelled
    EXPECT_FALSE(dialog->fileChosen());
    EXPECT_EQ(EditOf(1000)->text(), "(Click on Browse to pick a dictionary file)");
    const std::string before = options.SaveToText();
    Click(1);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(store.edict_dictionaries.size(), 1u);
    EXPECT_EQ(options.SaveToText(), before);
    EXPECT_NE(Log().find("IDOK\n"), std::string::npos);
}

TEST_F(AddDictionaryTest, ALoadedDictionaryJoinsTheListAndTheOptions)
{
    std::filesystem::create_directory("DICT");
    WriteDictionary("DICT/mine");
    const std::string chosen = (std::filesystem::current_path() / "DICT/mine").string();
    platform_.ScriptFiles({chosen});
    Click(1001);
    EditOf(1002)->setText("My words");
    Click(1);

    EXPECT_EQ(waits, std::vector<int>{3});
    EXPECT_FALSE(search::WorkerRunning(*state));
    EXPECT_FALSE(dialog->isVisible());
    ASSERT_EQ(store.edict_dictionaries.size(), 2u);
    const dict::Dictionary& added = *store.edict_dictionaries[1];
    EXPECT_EQ(added.path, "DICT/mine");  // the program's directory is dropped
    EXPECT_EQ(added.name, "My words");
    EXPECT_EQ(added.encoding, "EUC-JP");
    EXPECT_TRUE(added.on);
    ASSERT_EQ(added.count, 3);
    EXPECT_EQ(added.index[1].word, u"猫");
    EXPECT_EQ(added.index[1].kana, u"ねこ");

    EXPECT_EQ(options.GetINT(".\\Dictionaries\\EDICT\\Number"), 2);
    EXPECT_EQ(options.GetString(DictKey(1, "Path")), "DICT/mine");
    EXPECT_EQ(options.GetString(DictKey(1, "Name")), "My words");
    EXPECT_EQ(options.GetString(DictKey(1, "Encoding")), "EUC-JP");
    EXPECT_TRUE(options.GetBOOL(DictKey(1, "On")));
    // The next start loads it as one of the configured dictionaries.
    auto configured = dict::ConfiguredDictionaries(options);
    ASSERT_EQ(configured.size(), 2u);
    EXPECT_EQ(configured[1]->path, "DICT/mine");

    const auto status = platform_.StatusTexts();
    ASSERT_FALSE(status.empty());
    EXPECT_EQ(status.front().text, u"Loading Dictionary: " + Utf8ToUtf16(chosen) + u"...");
    EXPECT_EQ(status.back().text, u"Dictionary loaded.");
    EXPECT_NE(Log().find("Dictionary loading... okay.\n"), std::string::npos);
}

// The Format list: automatic (told from the file, nothing stored) or a form
// the options keep for the next start.
TEST_F(AddDictionaryTest, TheChosenFormatReadsTheLinesAndIsKept)
{
    const std::string lines = "猫;貓 [ねこ;ネコ] /(n) cat/EntL1467640X/\n犬 [いぬ] /(n) dog/EntL1/\n";
    struct Case {
        int choice;
        dict::LineForm form;
        size_t records;
        const char* stored;  // empty: none
    };
    const Case cases[] = {
        // EDICT2: a record for each form (猫 ねこ, 貓, ネコ, 犬 いぬ).
        {0, dict::LineForm::Edict2, 4, ""},
        {1, dict::LineForm::Edict, 2, "EDICT"},
        {2, dict::LineForm::Edict2, 4, "EDICT2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.choice);
        const std::string name = "d" + std::to_string(c.choice);
        test::WriteFile(name, text::ConvertEncoding(lines, "UTF-8", "EUC-JP").value_or(""));
        dialog = std::make_unique<AddDictionaryDialog>(*state, nullptr);
        dialog->SetProgramDir(std::filesystem::current_path().u16string());
        dialog->SetWaiter([this](int) { return WaitUntilDone(*state); });
        dialog->show();
        platform_.ScriptFiles({name});
        Click(1001);
        auto* format = dialog->findChild<QComboBox*>(QStringLiteral("1005"));
        ASSERT_NE(format, nullptr);
        ASSERT_EQ(format->count(), 3);
        format->setCurrentIndex(c.choice);
        Click(1);
        const dict::Dictionary& added = *store.edict_dictionaries.back();
        EXPECT_EQ(added.form, c.form);
        EXPECT_EQ(added.index.size(), c.records);
        const int n = options.GetINT(".\\Dictionaries\\EDICT\\Number") - 1;
        EXPECT_EQ(options.DataExists(DictKey(n, "Format")), *c.stored != 0);
        if (*c.stored) {
            EXPECT_EQ(options.GetString(DictKey(n, "Format")), c.stored);
        }
        EXPECT_EQ(dict::ConfiguredDictionaries(options).back()->format, c.stored);
    }
}

TEST_F(AddDictionaryTest, StoppedOrClosingLoadsAddNothing)
{
    struct Case {
        int waitResult;
        int quits;
    };
    for (const Case c : {Case{kWaitEscPressed, 0}, Case{kWaitQuitArrived, 1}}) {
        SCOPED_TRACE(c.waitResult);
        WriteDictionary("big");
        dialog = std::make_unique<AddDictionaryDialog>(*state, nullptr);
        dialog->SetWaiter([&](int) { return c.waitResult; });
        quitsForwarded = 0;
        dialog->SetQuitForwarder([this] { ++quitsForwarded; });
        dialog->show();
        platform_.Clear();
        platform_.ScriptFiles({"big"});
        Click(1001);
        Click(1);
        EXPECT_FALSE(search::WorkerRunning(*state));
        EXPECT_EQ(store.edict_dictionaries.size(), 1u);
        EXPECT_EQ(options.GetINT(".\\Dictionaries\\EDICT\\Number"), 1);
        EXPECT_EQ(platform_.LastStatus(0), u"Dictionary loading... aborted.");
        EXPECT_EQ(quitsForwarded, c.quits);
        EXPECT_FALSE(dialog->isVisible());
    }
    EXPECT_NE(Log().find("Dictionary loading... aborted.\n"), std::string::npos);
}

TEST_F(AddDictionaryTest, ADictionaryThatCannotBeReadIsNotAdded)
{
    platform_.ScriptFiles({"missing"});
    Click(1001);
    Click(1);
    EXPECT_EQ(store.edict_dictionaries.size(), 1u);
    EXPECT_EQ(options.GetINT(".\\Dictionaries\\EDICT\\Number"), 1);
    EXPECT_EQ(platform_.LastStatus(0), u"Dictionary loading... failed.");
    EXPECT_NE(Log().find("EDICT_Index_Load: ERROR: missing not opened.\n"), std::string::npos);
}

TEST_F(AddDictionaryTest, EveryButtonIsIgnoredWhileAWorkerRuns)
{
    state->thread_searching = true;
    platform_.ScriptFiles({"/data/edict"});
    Click(1001);
    EXPECT_TRUE(platform_.Choosers().empty());
    Click(2);
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    Click(1);
    EXPECT_TRUE(dialog->isVisible());
    state->thread_searching = false;
    Click(2);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST_F(AddDictionaryTest, APathTheOptionsCannotHoldIsRefused)
{
    WriteDictionary("a::b");
    platform_.ScriptFiles({"a::b"});
    Click(1001);
    platform_.Clear();
    Click(1);
    EXPECT_TRUE(waits.empty());
    ASSERT_EQ(platform_.MessageBoxes().size(), 1u);
    EXPECT_EQ(platform_.MessageBoxes()[0].caption, u"Error");
    EXPECT_EQ(store.edict_dictionaries.size(), 1u);
}

// The dictionary dialogs in each language the program ships: the controls'
// mnemonics are there, lead somewhere and differ; the texts are translated.
TEST_F(AddDictionaryTest, DictionaryDialogsHaveTheirOwnMnemonicsInEveryLanguage)
{
    struct Language {
        const char* locale;
        const char* addTitle;
        const char* changeTitle;
    };
    const Language languages[] = {{"en_US", "Add Dictionary", "Change Desciption"},
                                  {"ja_JP", "辞書の追加", "説明の変更"},
                                  {"de_DE", "Wörterbuch hinzufügen", "Beschreibung ändern"}};
    for (const Language& language : languages) {
        SCOPED_TRACE(language.locale);
        test::LanguageScope scope(language.locale);
        AddDictionaryDialog add(*state, nullptr);
        add.show();
        EXPECT_EQ(add.windowTitle(), QString::fromUtf8(language.addTitle));
        for (const std::string& problem : test::MnemonicProblems(&add))
            ADD_FAILURE() << "Add Dictionary: " << problem;
        ChangeDescriptionDialog change("DICT\\d0", "Dictionary 0", nullptr);
        change.show();
        EXPECT_EQ(change.windowTitle(), QString::fromUtf8(language.changeTitle));
        for (const std::string& problem : test::MnemonicProblems(&change))
            ADD_FAILURE() << "Change Description: " << problem;
    }
}

}  // namespace
