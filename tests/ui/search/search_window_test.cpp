// The search window with the real worker and small dictionaries of our own:
// the search command, the write-back of the searched text, history, paste and
// copy in an encoding, the language buttons, the option state and random
// picks; the reading view under the text box, and where its readings go.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>
#include <QToolButton>
#include <algorithm>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "dict/DictionaryStore.h"
#include "platform/api/Utf.h"
#include "platform/qt/QtText.h"
#include "search/AppState.h"
#include "search/Worker.h"
#include "support/TestSupport.h"
#include "text/Encoding.h"
#include "text/FuzzySearch.h"
#include "ui/common/QuitRequest.h"
#include "ui/common/Resources.h"
#include "ui/model/Furigana.h"
#include "ui/results/ResultHoverCard.h"
#include "ui/search/HistoryDropDown.h"
#include "ui/search/ReaderView.h"
#include "ui/search/SearchBands.h"
#include "ui/search/SearchCommands.h"
#include "ui/search/SearchEdit.h"
#include "ui/search/SearchWindow.h"
#include "ui/support/UiTestSupport.h"

using namespace mirudex;
using namespace mirudex::ui;

namespace {

std::string Euc(const std::string& utf8) { return text::ConvertEncoding(utf8, "UTF-8", "EUC-JP").value_or(""); }

class SearchWindowTest : public test::WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        OpenLog(0);
        options.LoadFromText(DefaultOptionsText());
        options.SetBOOL(".\\Dictionaries\\Indexing", false);
        state = std::make_unique<search::AppState>(options, store);
    }
    void TearDown() override
    {
        window.reset();
        state.reset();
        WorkDirTest::TearDown();
    }

    void MakeWindow()
    {
        window = std::make_unique<SearchWindow>(*state);
        window->resize(700, 140);
        window->RestoreToolbars(options.GetINT(".\\Search\\Language"));
        window->FocusSearchBox(false);
        window->show();
        edit = window->edit();
    }

    void AddDictionary(const std::vector<std::string>& lines, bool on = true)
    {
        std::string bytes;
        for (const std::string& line : lines)
            bytes += Euc(line) + "\n";
        const std::string file = "edict" + std::to_string(store.edict_dictionaries.size());
        test::WriteFile(file, bytes);
        auto d = std::make_unique<dict::Dictionary>();
        d->path = file;
        d->name = file;
        d->encoding = "EUC-JP";
        d->on = on;
        dict::EDICT_Index_Load(*d, options);
        store.edict_dictionaries.push_back(std::move(d));
    }

    void AddSmallDictionary()
    {
        AddDictionary({"猫 [ねこ] /(n) cat/", "写真 [しゃしん] /(n) photograph/", "犬 [いぬ] /(n) dog/",
                       "子犬 [こいぬ] /(n) puppy/"});
    }

    void SetText(const QString& text)
    {
        edit->setPlainText(text);
        edit->selectAll();
    }
    void Type(const char* keys)
    {
        for (const char* k = keys; *k; ++k)
            QTest::keyClick(edit, *k);
    }
    void Click(int id) { QTest::mouseClick(window->bands()->Button(id), Qt::LeftButton); }
    size_t Results() const { return state->edict_results[search::kResultList].size(); }

    // The reverse-conjugation rules the program ships, for the reading view.
    void LoadRules()
    {
        ASSERT_TRUE(rules.LoadFuzzySearchInfo(
            (std::filesystem::path(MIRUDEX_SOURCE_DIR) / "data" / text::kFuzzyRulesFileName).string()));
        state->fuzzy_rules = &rules;
    }

    Registry options;
    dict::DictionaryStore store;
    text::FuzzyRules rules;
    std::unique_ptr<search::AppState> state;
    std::unique_ptr<SearchWindow> window;
    SearchEdit* edit = nullptr;
};

TEST_F(SearchWindowTest, EnterSearchesAndShowsTheConvertedTextWhenAsked)
{
    AddSmallDictionary();
    MakeWindow();
    Click(ID_ROMAJI_CONVERSION);
    Click(ID_LANG_JAPANESE);  // romaji alone would be an English search
    ASSERT_TRUE(window->RomajiConversion());
    ASSERT_TRUE(window->ShowConverted()) << "the default shows the converted string";

    struct Case {
        bool show;
        const char* typed;
        const char16_t* after;
        size_t results;
    };
    const Case cases[] = {
        {true, "neko", u"ねこ", 1},
        {false, "neko", u"neko", 1},
        {true, "inu", u"いぬ", 1},
    };
    for (const Case& c : cases) {
        if (window->ShowConverted() != c.show)
            Click(ID_SHOW_CONVERTED);
        SetText(QString());
        Type(c.typed);
        QSignalSpy ready(window.get(), &SearchWindow::resultsReady);
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(ready.size(), 1);
        EXPECT_EQ(edit->toPlainText(), Q(c.after)) << c.typed;
        EXPECT_EQ(edit->textCursor().selectedText(), Q(c.after)) << "the searched range stays selected";
        EXPECT_EQ(Results(), c.results) << c.typed;
        EXPECT_EQ(platform_.LastStatus(0), u"Search complete (1 results) ");
        EXPECT_FALSE(state->SEARCH_LOCK);
    }
}

// An emptied or 0 Results box is no maximum: saved as 0, and every search
// after a restart lists all it finds.
TEST_F(SearchWindowTest, AnEmptyOrZeroResultsBoxIsNoMaximumAcrossRestarts)
{
    AddSmallDictionary();
    options.SetINT(".\\Results\\Size", 1);
    for (const char* box : {"1", "", "0", "restart"}) {
        SCOPED_TRACE(box);
        if (std::string_view(box) == "restart") {
            window.reset();
            MakeWindow();
            EXPECT_EQ(window->bands()->resultsField()->text(), "0");
        } else {
            if (!window) {
                MakeWindow();
                Click(ID_LANG_JAPANESE);
            }
            window->bands()->resultsField()->setText(QString::fromUtf8(box));
        }
        SetText(QStringLiteral("_"));
        QTest::keyClick(edit, Qt::Key_Return);
        const bool one = std::string_view(box) == "1";
        EXPECT_EQ(Results(), one ? 1u : 4u);
        EXPECT_EQ(platform_.LastStatus(0),
                  one ? u"Search complete (1 results) -Results truncated-" : u"Search complete (4 results) ");
        window->SaveToolbars();
        EXPECT_EQ(options.GetINT(".\\Results\\Size"), one ? 1 : 0);
    }
}

TEST_F(SearchWindowTest, RomajiTypedWithTheImeIsFinishedByTheSearch)
{
    AddSmallDictionary();
    MakeWindow();
    Click(ID_ROMAJI_CONVERSION);
    SetText(QString());
    edit->SetImeOn(true);
    Type("shashin");
    EXPECT_EQ(edit->toPlainText(), Q(u"しゃしn"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(edit->toPlainText(), Q(u"しゃしん"));
    ASSERT_EQ(Results(), 1u);
    EXPECT_EQ(state->edict_results[0][0].word, u"写真");
    EXPECT_EQ(edit->inputMethod().compositionStart(), edit->textCursor().position());
    EXPECT_EQ(edit->inputMethod().pending(), u"");
}

TEST_F(SearchWindowTest, TheImesLastNIsKanaWhenTheSearchStartsAndLeftOverLettersGetAHint)
{
    AddSmallDictionary();
    MakeWindow();
    ASSERT_FALSE(window->RomajiConversion()) << "the defaults: the input method alone makes kana";
    const std::u16string hint = u"-For English, press CAPS LOCK to turn the input method off and type it again-";
    struct Case {
        bool ime;
        const char* typed;
        const char16_t* after;
        size_t results;
        bool hinted;
    };
    const Case cases[] = {
        {true, "shashin", u"しゃしん", 1, false},  // しゃしn until Enter
        {true, "neko", u"ねこ", 1, false},        {true, "kan", u"かん", 0, false},
        {true, "dog", u"どｇ", 0, true},  // English typed with the input method on
        {false, "dog", u"dog", 1, false},
    };
    for (const Case& c : cases) {
        SetText(QString());
        edit->SetImeOn(c.ime);
        Type(c.typed);
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(edit->toPlainText(), Q(c.after)) << c.typed;
        EXPECT_EQ(Results(), c.results) << c.typed;
        const std::u16string status = platform_.LastStatus(0);
        EXPECT_EQ(status.find(hint) != std::u16string::npos, c.hinted) << Utf16ToUtf8(status);
        EXPECT_EQ(status.find(u"  "), std::u16string::npos) << Utf16ToUtf8(status);
    }
    // The Search button finishes the composition too.
    SetText(QString());
    edit->SetImeOn(true);
    Type("kan");
    window->OnCommand(ID_SEARCH_GO);
    EXPECT_EQ(edit->toPlainText(), Q(u"かん"));
}

TEST_F(SearchWindowTest, PrefixedTextStaysAndThePartAfterTheColonIsSelected)
{
    AddSmallDictionary();
    MakeWindow();
    Click(ID_ROMAJI_CONVERSION);
    SetText("en:dog");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(edit->toPlainText(), "en:dog");
    EXPECT_EQ(edit->textCursor().selectedText(), "dog");
    EXPECT_EQ(Results(), 1u);
    EXPECT_EQ(state->edict_results[0][0].word, u"犬");
    EXPECT_EQ(window->history().at(0), u"en:dog");
}

TEST_F(SearchWindowTest, TwoLinesAreSearchedAsOneAndBlanksAreTrimmed)
{
    AddSmallDictionary();
    MakeWindow();
    SetText(QString());
    Type("ne");
    QTest::keyClick(edit, Qt::Key_Return, Qt::ShiftModifier);
    Type("ko");
    EXPECT_EQ(edit->toPlainText(), "ne\nko");
    Click(ID_ROMAJI_CONVERSION);
    Click(ID_LANG_JAPANESE);
    Click(ID_SHOW_CONVERTED);  // off: the box keeps its two lines
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(window->history().at(0), u"neko") << "the history holds no line break";
    EXPECT_EQ(Results(), 1u);
    EXPECT_EQ(edit->toPlainText(), "ne\nko");

    SetText("neko   ");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(window->history().at(0), u"neko");

    SetText("   ");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(window->history().at(0), u" ") << "blanks alone leave one blank";
    EXPECT_NE(Log().find("   Text exists:  \n"), std::string::npos);

    SetText(QString());
    platform_.Clear();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(platform_.LastStatus(0), u"(no text to search for)");
    EXPECT_EQ(window->history().size(), 3u);
}

TEST_F(SearchWindowTest, ASearchIsRefusedWhileAWorkerRuns)
{
    AddSmallDictionary();
    MakeWindow();
    SetText("neko");
    state->thread_searching = true;  // a dictionary is loading
    platform_.Clear();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_NE(Log().find("WARNING :: THREAD_SEARCHING :: (aborting new search)\n"), std::string::npos);
    EXPECT_FALSE(state->SEARCH_LOCK);
    EXPECT_TRUE(platform_.StatusTexts().empty());
    EXPECT_TRUE(platform_.MessageBoxes().empty()) << "the starter is never reached";
    EXPECT_TRUE(window->history().empty());
    state->thread_searching = false;

    state->SEARCH_LOCK = true;
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_NE(Log().find("WARNING :: SEARCH_LOCK :: (aborting new search)\n"), std::string::npos);
    EXPECT_TRUE(state->SEARCH_LOCK) << "the running command keeps its lock";
    state->SEARCH_LOCK = false;
}

TEST_F(SearchWindowTest, EscAndQuitDuringTheWait)
{
    AddSmallDictionary();
    MakeWindow();
    struct Case {
        int waitResult;
        bool quitPassedOn;
    };
    for (const Case c : {Case{0, false}, Case{2, true}}) {
        int flagsSeen = 0;
        bool quit = false;
        window->SetWaiter([&](int flags) {
            flagsSeen = flags;
            return c.waitResult;
        });
        window->SetQuitForwarder([&] { quit = true; });
        SetText("jp:neko");
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_EQ(flagsSeen, 3);
        EXPECT_FALSE(state->thread_searching) << "the worker was stopped";
        EXPECT_FALSE(state->SEARCH_LOCK);
        EXPECT_EQ(edit->toPlainText(), "jp:neko") << "nothing is written back";
        EXPECT_EQ(edit->textCursor().selectedText(), "neko");
        EXPECT_EQ(platform_.LastStatus(0),
                  u"Search aborted (" + std::u16string(Results() ? u"1" : u"0") + u" results)");
        EXPECT_EQ(quit, c.quitPassedOn);
    }

    // Without a forwarder the quit request is posted again, so the program still ends.
    window->SetQuitForwarder(nullptr);
    window->SetWaiter([](int) { return 2; });
    quit::Reset();
    SetText("neko");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(quit::Pending());
    quit::Reset();
}

// Holds the worker at its n-th "Searching in dictionary" status text until
// released, so that the test acts while the search is half done.
class GatePlatform : public platform::RecordingPlatform {
public:
    explicit GatePlatform(int holdAt) : holdAt_(holdAt) {}

    void SetStatusText(int part, std::u16string_view text) override
    {
        RecordingPlatform::SetStatusText(part, text);
        if (!text.starts_with(u"Searching in dictionary") || ++seen_ != holdAt_)
            return;
        std::unique_lock lock(mutex_);
        held_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return open_; });
    }
    bool WaitUntilHeld()
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(30), [this] { return held_; });
    }
    void Open()
    {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }

private:
    const int holdAt_;
    int seen_ = 0;  // the worker's alone
    std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = false, open_ = false;
};

TEST_F(SearchWindowTest, ClicksAndTypingDuringASearchChangeNothingTheWorkerReads)
{
    AddDictionary({"子犬 [こいぬ] /(n) puppy/", "子 [こ] /(n) child/", "犬 [いぬ] /(n) dog/", "猫 [ねこ] /(n) cat/"});
    MakeWindow();
    Click(ID_LANG_JAPANESE);
    Click(ID_MATCH_SUBSTRINGS);
    ASSERT_FALSE(window->bands()->IsChecked(ID_WORDS_ONLY));
    // Held at the first substring's search: the multiple-substrings mode is
    // on, and switches words-only on for itself (the text has kanji).
    GatePlatform gate(2);
    window->SetWaiter([&](int) {
        EXPECT_TRUE(gate.WaitUntilHeld());
        Click(ID_WORDS_ONLY);
        Click(ID_LANG_ENGLISH);
        Click(ID_TYPE_BEGINNING);
        window->bands()->resultsField()->setText(QStringLiteral("1"));
        Type("x");
        gate.Open();
        while (search::WorkerRunning(*state))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return 1;
    });
    SetText(QString::fromUtf16(u"子犬"));
    QTest::keyClick(edit, Qt::Key_Return);

    // What was found is what the settings at the start give: the whole text,
    // then 子 and 犬 in the headwords, up to 200 results, Japanese only.
    std::vector<std::u16string> words;
    for (const dict::Entry& e : state->edict_results[search::kResultList])
        words.push_back(e.word);
    std::sort(words.begin(), words.end());
    EXPECT_EQ(words, (std::vector<std::u16string>{u"子", u"子犬", u"犬"}));
    EXPECT_EQ(gate.LastStatus(0), u"Search complete (3 results) ");
    // The clicks count from now on; none was undone by the worker.
    EXPECT_TRUE(window->bands()->IsChecked(ID_WORDS_ONLY));
    EXPECT_TRUE(state->search_options.words_only);
    EXPECT_EQ(state->search_options.type, search::SearchType::Beginning);
    EXPECT_EQ(state->search_options.results_field, u"1");
    EXPECT_EQ(options.GetINT(".\\Search\\Language"), 3);
    // The text typed during the search stays as it was typed.
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("x"));
    EXPECT_FALSE(state->SEARCH_LOCK);
}

TEST_F(SearchWindowTest, TabGoesToTheKanjiWindowAndPointingFocusesTheBox)
{
    QWidget frame;
    frame.resize(700, 400);
    auto* search = new SearchWindow(*state, &frame);
    search->setGeometry(0, 0, 700, 140);
    auto* kanji = new QWidget(&frame);
    kanji->setObjectName("KanjiWindow");
    kanji->setFocusPolicy(Qt::StrongFocus);
    kanji->setGeometry(0, 150, 300, 200);
    frame.show();
    frame.activateWindow();
    MIRUDEX_WAIT_FOR(frame.isActiveWindow());
    search->FocusSearchBox(false);
    MIRUDEX_WAIT_FOR(search->edit()->hasFocus());
    QTest::keyClick(search->edit(), Qt::Key_Tab);
    MIRUDEX_WAIT_FOR(kanji->hasFocus());
    QTextCursor caret = search->edit()->textCursor();
    caret.clearSelection();
    search->edit()->setTextCursor(caret);

    QTest::mouseMove(search->edit()->viewport(), QPoint(20, 20));
    MIRUDEX_WAIT_FOR(search->edit()->hasFocus());
    EXPECT_EQ(search->edit()->textCursor().selectedText().size(), search->edit()->toPlainText().size())
        << "all of the text is selected";
}

TEST_F(SearchWindowTest, HistoryAfterThreeSearchesAndCtrlSpace)
{
    AddSmallDictionary();
    MakeWindow();
    for (const char* text : {"a", "b", "c"}) {
        SetText(text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    HistoryDropDown* list = window->historyList();
    EXPECT_EQ(list->objectName(), "1121");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(0), "c");
    EXPECT_EQ(list->itemText(2), "a");

    SetText("x");
    QTest::keyClick(edit, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_TRUE(list->view()->isVisible());
    EXPECT_EQ(list->currentIndex(), 0);
    QTest::keyClick(list->view(), Qt::Key_Down);
    QTest::keyClick(list->view(), Qt::Key_Return);
    MIRUDEX_WAIT_FOR(!list->view()->isVisible());
    EXPECT_EQ(edit->toPlainText(), "b") << "the chosen item replaces the selection";
    EXPECT_EQ(window->history().size(), 3u) << "choosing does not search";

    // Nothing selected, the caret inside the text: the chosen item still
    // replaces the whole text (not put in at the caret), as one undo step.
    for (const int caret : {0, 1, 5}) {
        edit->setPlainText(QStringLiteral("green"));
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(caret);
        edit->setTextCursor(cursor);
        QTest::keyClick(edit, Qt::Key_Space, Qt::ControlModifier);
        ASSERT_TRUE(list->view()->isVisible());
        QTest::keyClick(list->view(), Qt::Key_Return);
        MIRUDEX_WAIT_FOR(!list->view()->isVisible());
        EXPECT_EQ(edit->toPlainText(), "c") << "caret at " << caret;
        edit->undo();
        EXPECT_EQ(edit->toPlainText(), "green") << "caret at " << caret;
    }

    options.SetBOOL(".\\Search\\RecentList\\Enabled", false);
    QTest::keyClick(edit, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_FALSE(list->view()->isVisible());
}

TEST_F(SearchWindowTest, CopyAndPasteInTheChosenEncoding)
{
    MakeWindow();
    QComboBox* encodings = window->bands()->encodingList();
    SetText("keep");
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->toPlainText(), "keep") << "an empty clipboard pastes nothing over the selection";

    encodings->setCurrentIndex(3);
    ASSERT_EQ(encodings->currentText(), "EUC-JP");
    platform_.SetClipboardBytes("\xA4", "EUC-JP");  // half a character
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->toPlainText(), "keep");
    EXPECT_EQ(platform_.MessageBoxes().size(), 1u) << "the failed conversion is reported";
    SetText(Q(u"日本語のテキスト"));
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(platform_.ClipboardEncoding(), "EUC-JP");
    EXPECT_EQ(platform_.ClipboardBytes("EUC-JP"), Euc("日本語のテキスト"));

    SetText(QString());
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->toPlainText(), Q(u"日本語のテキスト"));
    EXPECT_EQ(edit->LastUndoKind(), UndoKind::Paste);

    // Unicode text with the first row; cut takes the selection away.
    encodings->setCurrentIndex(1);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit->toPlainText(), "");
    EXPECT_EQ(platform_.ClipboardText(), u"日本語のテキスト");
    EXPECT_EQ(edit->LastUndoKind(), UndoKind::Cut);
    window->OnCommand(ID_ENCODE_PASTE);
    EXPECT_EQ(edit->toPlainText(), Q(u"日本語のテキスト"));

    // 8-bit text without a Unicode form is UTF-8 here, read strictly: an
    // overlong "/" is no text at all, in the first row as in the UTF-8 row.
    SetText(QString());
    platform_.SetClipboardBytes("a\xC0\xAF", "UTF-8");
    window->OnCommand(ID_ENCODE_PASTE);
    EXPECT_EQ(edit->toPlainText(), "");
    encodings->setCurrentIndex(10);
    ASSERT_EQ(encodings->currentText(), "UTF-8");
    window->OnCommand(ID_ENCODE_PASTE);
    EXPECT_EQ(edit->toPlainText(), "");
    platform_.SetClipboardBytes("\xE7\x8C\xAB/", "UTF-8");
    window->OnCommand(ID_ENCODE_PASTE);
    EXPECT_EQ(edit->toPlainText(), Q(u"猫/"));
}

TEST_F(SearchWindowTest, LanguageButtons)
{
    MakeWindow();
    SearchBands* bands = window->bands();
    auto language = [&] { return options.GetINT(".\\Search\\Language"); };
    EXPECT_TRUE(bands->IsChecked(ID_LANG_AUTOMATIC));

    Click(ID_LANG_JAPANESE);
    EXPECT_EQ(language(), 1);
    EXPECT_FALSE(bands->IsChecked(ID_LANG_AUTOMATIC));
    Click(ID_LANG_JAPANESE);  // the only forced language released
    EXPECT_EQ(language(), 0);
    EXPECT_TRUE(bands->IsChecked(ID_LANG_AUTOMATIC));
    EXPECT_FALSE(bands->IsChecked(ID_LANG_JAPANESE));

    Click(ID_LANG_JAPANESE);
    Click(ID_LANG_KANJI);
    EXPECT_EQ(language(), 5);
    Click(ID_LANG_JAPANESE);
    EXPECT_EQ(language(), 4);
    Click(ID_LANG_AUTOMATIC);
    EXPECT_EQ(language(), 0);
    EXPECT_FALSE(bands->IsChecked(ID_LANG_KANJI));
    EXPECT_TRUE(bands->IsChecked(ID_LANG_AUTOMATIC));
    Click(ID_LANG_AUTOMATIC);
    EXPECT_TRUE(bands->IsChecked(ID_LANG_AUTOMATIC)) << "automatic stays down when nothing is forced";
}

TEST_F(SearchWindowTest, KeysOfTheSearchTypesAndLanguagesPressTheirButtons)
{
    MakeWindow();
    window->activateWindow();
    MIRUDEX_WAIT_FOR(window->isActiveWindow());
    SearchBands* bands = window->bands();
    auto language = [&] { return options.GetINT(".\\Search\\Language"); };
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifier modifier;
        int id;
        search::SearchType type;
    };
    const QString before = edit->toPlainText();
    const Case types[] = {{Qt::Key_4, Qt::ControlModifier, ID_TYPE_EXACT, search::SearchType::Exact},
                          {Qt::Key_2, Qt::ControlModifier, ID_TYPE_MIDDLE, search::SearchType::Middle},
                          {Qt::Key_3, Qt::ControlModifier, ID_TYPE_END, search::SearchType::End},
                          {Qt::Key_1, Qt::ControlModifier, ID_TYPE_BEGINNING, search::SearchType::Beginning}};
    for (const Case& c : types) {
        SCOPED_TRACE(c.id);
        QTest::keyClick(edit, c.key, c.modifier);
        EXPECT_TRUE(bands->IsChecked(c.id));
        EXPECT_EQ(state->search_options.type, c.type);
    }
    EXPECT_EQ(edit->toPlainText(), before) << "the keys type nothing";

    // The languages: Alt and the initial, as clicks on their buttons.
    QTest::keyClick(edit, Qt::Key_J, Qt::AltModifier);
    EXPECT_EQ(language(), 1);
    QTest::keyClick(edit, Qt::Key_K, Qt::AltModifier);
    EXPECT_EQ(language(), 5);
    QTest::keyClick(edit, Qt::Key_E, Qt::AltModifier);
    EXPECT_TRUE(bands->IsChecked(ID_LANG_ENGLISH));
    QTest::keyClick(edit, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(language(), 0);
    EXPECT_TRUE(bands->IsChecked(ID_LANG_AUTOMATIC));
    EXPECT_FALSE(bands->IsChecked(ID_LANG_JAPANESE) || bands->IsChecked(ID_LANG_KANJI));
    EXPECT_EQ(edit->toPlainText(), before);

    // Find keys inside the search window itself.
    edit->setPlainText(QStringLiteral("ねこ"));
    QTextCursor caret = edit->textCursor();
    caret.clearSelection();
    edit->setTextCursor(caret);
    window->FocusSearchText();
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->textCursor().selectedText(), QStringLiteral("ねこ"));
}

TEST_F(SearchWindowTest, OptionStateIsRestoredAndSaved)
{
    options.SetINT(".\\Search\\Toolbars\\Type", 2);
    options.SetBOOL(".\\Search\\Toolbars\\Fuzzy", true);
    options.SetBOOL(".\\Search\\Toolbars\\Substr", true);
    options.SetBOOL(".\\Search\\Toolbars\\Kana-sensitive", true);
    options.SetBOOL(".\\Search\\Toolbars\\Show", false);
    options.SetINT(".\\Search\\Toolbars\\Encoding", 3);
    options.SetINT(".\\Search\\Language", 3);
    options.SetINT(".\\Results\\Size", 50);
    MakeWindow();
    SearchBands* bands = window->bands();
    EXPECT_TRUE(bands->IsChecked(ID_TYPE_END));
    EXPECT_EQ(state->search_options.type, search::SearchType::End);
    EXPECT_TRUE(bands->IsChecked(ID_REVERSE_CONJUGATION));
    EXPECT_TRUE(options.GetBOOL(".\\Search\\Toolbars\\Fuzzy"));
    EXPECT_TRUE(state->search_options.match_substrings);
    EXPECT_FALSE(state->search_options.kana_insensitive);
    EXPECT_FALSE(bands->IsChecked(ID_KANA_INSENSITIVE));
    EXPECT_FALSE(window->ShowConverted());
    EXPECT_TRUE(bands->IsChecked(ID_LANG_JAPANESE));
    EXPECT_TRUE(bands->IsChecked(ID_LANG_ENGLISH));
    EXPECT_FALSE(bands->IsChecked(ID_LANG_AUTOMATIC));
    EXPECT_EQ(bands->encodingList()->currentText(), "EUC-JP");
    EXPECT_EQ(bands->resultsField()->text(), "50");
    EXPECT_EQ(state->search_options.results_field, u"50");

    Click(ID_REVERSE_CONJUGATION);
    Click(ID_KANA_INSENSITIVE);
    QTest::keyClicks(bands->resultsField(), "0");
    edit->SetImeOn(true);
    window->SaveToolbars();
    EXPECT_EQ(options.GetINT(".\\Search\\Toolbars\\Type"), 40006);
    EXPECT_FALSE(options.GetBOOL(".\\Search\\Toolbars\\Fuzzy"));
    EXPECT_FALSE(options.GetBOOL(".\\Search\\Toolbars\\Kana-sensitive"));
    EXPECT_TRUE(options.GetBOOL(".\\Search\\Toolbars\\Substr"));
    EXPECT_FALSE(options.GetBOOL(".\\Search\\Toolbars\\Show"));
    EXPECT_EQ(options.GetINT(".\\Search\\Toolbars\\Encoding"), 3);
    EXPECT_EQ(options.GetINT(".\\Results\\Size"), 500);
    EXPECT_TRUE(options.GetBOOL(".\\Misc\\IME"));
}

TEST_F(SearchWindowTest, TextBoxLookAndInitialText)
{
    options.SetSTRING(".\\Search\\Font\\Font", "DejaVu Serif");
    options.SetINT(".\\Search\\Font\\Size", 12);
    options.SetINT(".\\Search\\Font\\Color", 0x0000FF);  // red
    options.SetINT(".\\Search\\WindowBG", 0xFFEEDD);
    MakeWindow();
    EXPECT_EQ(edit->objectName(), "1111");
    EXPECT_EQ(window->windowTitle(), "(SearchWindow)");
    EXPECT_EQ(edit->font().families().front(), "DejaVu Serif");
    EXPECT_EQ(edit->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(0xDD, 0xEE, 0xFF));
    const QStringList lines = edit->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0], "   Press CAPSLOCK to toggle the IME.");
    EXPECT_EQ(lines[5],
              "      English searches behave like Google searches.  Start the search with \"s to search for "
              "EXACTLY that text");
    EXPECT_EQ(lines[7], "Check for updates & important news often: Options-->Check for Updates.");
    EXPECT_EQ(edit->geometry().bottom(), window->historyList()->geometry().bottom());

    window.reset();
    options.SetBOOL(".\\Search\\ShowInitialText", false);
    MakeWindow();
    EXPECT_EQ(edit->toPlainText(), "Search for...");
}

TEST_F(SearchWindowTest, RandomWordAndKanji)
{
    AddSmallDictionary();
    AddDictionary({"本 [ほん] /(n) book/"});
    for (auto& d : store.edict_dictionaries)
        d->on = false;
    MakeWindow();
    state->edict_results[0].resize(3);
    window->OnCommand(ID_RANDOM_WORD);
    EXPECT_TRUE(state->edict_results[0].empty());
    const std::string log = Log();
    EXPECT_NE(log.find("   Warning: d == -1\n"), std::string::npos);
    EXPECT_EQ(log.find("   Picked a dictionary\n"), std::string::npos) << "disabled dictionaries are skipped";

    store.edict_dictionaries[1]->on = true;
    QSignalSpy ready(window.get(), &SearchWindow::resultsReady);
    window->OnCommand(ID_RANDOM_WORD);
    ASSERT_EQ(Results(), 1u);
    EXPECT_EQ(state->edict_results[0][0].word, u"本");
    EXPECT_FALSE(state->edict_results[0][0].meanings.empty());
    EXPECT_EQ(ready.size(), 1);
    EXPECT_NE(Log().find("   Random word: Dictionary #2/2 :: Word: #1/1\n"), std::string::npos);

    test::WriteFile("kanjidic", Euc("本 4B5C U672c B75 G1 S5 F10 P4-5-1 {book} {main}") + "\n");
    options.SetSTRING(".\\Dictionaries\\KANJIDIC\\Path", "kanjidic");
    dict::KANJIDIC_Index_Load(store.kanji_index, options);
    QSignalSpy kanji(window.get(), &SearchWindow::kanjiReady);
    window->OnCommand(ID_RANDOM_KANJI);
    ASSERT_EQ(state->kanji_results.size(), 1u);
    EXPECT_EQ(state->kanji_results[0].code, 0x672C);
    EXPECT_EQ(kanji.size(), 1);
}

// ---- the reading view ----

TEST(FuriganaTest, TheReadingStandsOverTheKanjiOnly)
{
    const struct {
        const char16_t* word;
        const char16_t* reading;
        const char16_t* pieces;  // BracketReadings of the pieces
    } cases[] = {
        {u"食べました", u"たべました", u"食[た]べました"},
        {u"猫", u"ねこ", u"猫[ねこ]"},
        {u"お茶", u"おちゃ", u"お茶[ちゃ]"},
        // Kana between kanji split the reading between them.
        {u"取り消す", u"とりけす", u"取[と]り消[け]す"},
        {u"聞き手", u"ききて", u"聞[き]き手[て]"},
        // Kana in the other script match all the same.
        {u"見ル", u"みる", u"見[み]ル"},
        // Kana that are not in the reading: the kanji between the kana both
        // ends share take the rest.
        {u"一ヶ月", u"いっかげつ", u"一ヶ月[いっかげつ]"},
        {u"お一ヶ月だ", u"おいっかげつだ", u"お一ヶ月[いっかげつ]だ"},
        // Nothing to write over: no kanji, no reading, a reading the kana use up.
        {u"ねこ", u"ねこ", u"ねこ"},
        {u"コーヒー", u"", u"コーヒー"},
        {u"猫", u"", u"猫"},
        {u"食べ", u"べ", u"食べ"},
        // A kanji outside the basic plane (two units) takes its reading whole.
        {u"\U00020B9Fる", u"しかる", u"\U00020B9F[しか]る"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BracketReadings(FuriganaPieces(c.word, c.reading)), std::u16string(c.pieces)) << Utf16ToUtf8(c.word);
    EXPECT_EQ(FuriganaPieces(u"取り消す", u"とりけす"),
              (std::vector<RubyPiece>{{u"取", u"と"}, {u"り", u""}, {u"消", u"け"}, {u"す", u""}}));
    EXPECT_TRUE(FuriganaPieces(u"", u"ねこ").empty());

    // HTML: ruby around the kanji, the text escaped, line ends kept as breaks.
    const std::vector<RubyPiece> pieces = {{u"食", u"た"}, {u"べた<b>&\"x\"\n", u""}, {u"猫", u"ね<こ"}};
    EXPECT_EQ(RubyHtml(pieces),
              u"<ruby>食<rt>た</rt></ruby>べた&lt;b&gt;&amp;&quot;x&quot;<br>\n<ruby>猫<rt>ね&lt;こ</rt></ruby>");
    EXPECT_EQ(BracketReadings(pieces), u"食[た]べた<b>&\"x\"\n猫[ね<こ]");
}

class ReadingViewTest : public SearchWindowTest {
protected:
    void SetUp() override
    {
        SearchWindowTest::SetUp();
        AddDictionary({"猫 [ねこ] /(n) cat/(P)/", "犬 [いぬ] /(n) dog/(P)/", "を /(prt) object marker/(P)/",
                       "見る [みる] /(v1,vt) to see/(P)/", "見る目 [みるめ] /(n) discernment/", "見 [けん] /(n) view/",
                       "見物 [けんぶつ] /(n,vs) sightseeing/"});
        LoadRules();
        MakeWindow();
        window->resize(700, 300);
        window->ShowReader(true);
        reader = window->reader();
    }

    void Enter(const char16_t* text)
    {
        SetText(Q(text));
        QTest::keyClick(edit, Qt::Key_Return);
    }
    std::vector<std::u16string> Surfaces() const
    {
        std::vector<std::u16string> surfaces;
        for (const search::ReadToken& token : reader->tokens())
            surfaces.push_back(token.surface);
        return surfaces;
    }
    std::u16string FirstResult() const
    {
        const auto& list = state->edict_results[search::kResultList];
        return list.empty() ? std::u16string() : list[0].word;
    }
    void ClickToken(int i) { QTest::mouseClick(reader->viewport(), Qt::LeftButton, {}, reader->TokenRect(i).center()); }

    ReaderView* reader = nullptr;
};

TEST_F(ReadingViewTest, ASentenceIsShownWordByWordAndEachWordSearchesItsDictionaryForm)
{
    ASSERT_TRUE(reader->isVisible());
    QSignalSpy ready(window.get(), &SearchWindow::resultsReady);
    Enter(u"猫を見ました。犬");
    ASSERT_EQ(Surfaces(), (std::vector<std::u16string>{u"猫", u"を", u"見ました", u"。", u"犬"}));
    // The first word is chosen and searched; the box keeps the text, and the
    // history has it as it has every searched text.
    EXPECT_EQ(reader->current(), 0);
    EXPECT_EQ(FirstResult(), u"猫");
    EXPECT_EQ(ready.size(), 1);
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("猫を見ました。犬"));
    EXPECT_EQ(window->history().at(0), u"猫を見ました。犬");
    EXPECT_FALSE(state->SEARCH_LOCK);

    // A click on a conjugated word: its dictionary form comes first, and it
    // is searched as a word even with substrings switched on (見 alone and
    // 見物 stay out), in the position the buttons ask for.
    Click(ID_MATCH_SUBSTRINGS);
    Click(ID_TYPE_BEGINNING);
    ClickToken(2);
    EXPECT_EQ(reader->current(), 2);
    ASSERT_EQ(Results(), 2u);
    EXPECT_EQ(FirstResult(), u"見る");
    EXPECT_EQ(state->edict_results[0][1].word, u"見る目");
    EXPECT_TRUE(state->search_options.match_substrings) << "the button is left as it was";
    EXPECT_EQ(platform_.LastStatus(0).substr(0, 26), u"Search complete (2 results");
    EXPECT_EQ(ready.size(), 2);

    // The arrow keys step from word to word over the punctuation, and stop at the ends.
    const struct {
        Qt::Key key;
        int current;
        const char16_t* first;
    } steps[] = {
        {Qt::Key_Right, 4, u"犬"}, {Qt::Key_Right, 4, u"犬"}, {Qt::Key_Left, 2, u"見る"}, {Qt::Key_Left, 1, u"を"},
        {Qt::Key_Left, 0, u"猫"},  {Qt::Key_Left, 0, u"猫"},  {Qt::Key_End, 4, u"犬"},    {Qt::Key_Home, 0, u"猫"},
    };
    for (const auto& step : steps) {
        QTest::keyClick(reader, step.key);
        EXPECT_EQ(reader->current(), step.current) << step.key;
        EXPECT_EQ(FirstResult(), step.first) << step.key;
    }
    // Punctuation is not chosen, nor is anything while a search holds the lock.
    ClickToken(3);
    EXPECT_EQ(reader->current(), 0);
    state->SEARCH_LOCK = true;
    QTest::keyClick(reader, Qt::Key_Right);
    EXPECT_EQ(reader->current(), 0);
    state->SEARCH_LOCK = false;
}

TEST_F(ReadingViewTest, OneWordOtherTextsAndTheViewSwitchedOffAreSearchedAsEver)
{
    Enter(u"猫を見た");
    ASSERT_EQ(reader->tokens().size(), 3u);
    const struct {
        bool on;
        const char16_t* text;
        size_t results;
    } cases[] = {
        {true, u"見ました", 1},       // one word: searched with the box's reverse conjugation
        {true, u"猫", 1},             // one word
        {true, u"猫\uFF3F", 1},       // a wildcard asks for a search of the whole text
        {true, u"JP:猫を", 0},        // so does a prefix
        {true, u"cat dog", 0},        // English
        {false, u"猫を見ました", 0},  // the view switched off
    };
    for (const auto& c : cases) {
        window->ShowReader(c.on);
        EXPECT_EQ(reader->isVisible(), c.on);
        Enter(c.text);
        EXPECT_EQ(reader->tokens().size(), 3u) << Utf16ToUtf8(c.text) << ": the view keeps its text";
        EXPECT_EQ(Results(), c.results) << Utf16ToUtf8(c.text);
    }
}

TEST_F(ReadingViewTest, CopyGivesTheTextWithReadingsAsPlainTextAndRuby)
{
    Enter(u"猫を見ました<犬&>");
    ASSERT_GT(reader->tokens().size(), 4u);
    QTest::keyClick(reader, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(platform_.ClipboardText(), std::optional<std::u16string>(u"猫[ねこ]を見[み]ました<犬[いぬ]&>"));
    EXPECT_EQ(platform_.ClipboardHtml(),
              std::optional<std::u16string>(u"<ruby>猫<rt>ねこ</rt></ruby>を<ruby>見<rt>み</rt></ruby>ました&lt;"
                                            u"<ruby>犬<rt>いぬ</rt></ruby>&amp;&gt;"));
    // A copy of another kind leaves no HTML behind.
    platform_.SetClipboardText(u"x");
    EXPECT_EQ(platform_.ClipboardHtml(), std::nullopt);
}

TEST_F(ReadingViewTest, ReadingsSitOverTheirKanjiAndLongTextsWrap)
{
    Enter(u"猫を見ました。犬");
    // 見ました: one reading, over 見 alone, centred on it and above it.
    const std::vector<ReaderView::RubyBox> boxes = reader->RubyBoxes(2);
    ASSERT_EQ(boxes.size(), 1u);
    const QRect word = reader->TokenRect(2);
    EXPECT_LE(std::abs(boxes[0].ruby.center().x() - boxes[0].text.center().x()), 1);
    EXPECT_LE(boxes[0].ruby.bottom(), boxes[0].text.top());
    EXPECT_EQ(boxes[0].text.left(), word.left()) << "the reading is no wider than 見";
    EXPECT_LT(boxes[0].text.right(), word.center().x()) << "ました has nothing over it";
    EXPECT_TRUE(reader->RubyBoxes(1).empty()) << "を is kana";
    EXPECT_EQ(reader->TokenAt(word.center()), 2);
    EXPECT_EQ(reader->TokenAt(QPoint(-5, -5)), -1);

    // A line end starts a new line; the punctuation before it stays shown on the first.
    Enter(u"猫を見た。\n犬");
    ASSERT_EQ(Surfaces(), (std::vector<std::u16string>{u"猫", u"を", u"見た", u"。\n", u"犬"}));
    EXPECT_EQ(reader->TokenRect(3).top(), reader->TokenRect(0).top());
    EXPECT_GT(reader->TokenRect(3).width(), 0) << "。 is drawn";
    EXPECT_GT(reader->TokenRect(4).top(), reader->TokenRect(3).bottom());
    EXPECT_EQ(reader->TokenRect(4).left(), reader->TokenRect(0).left());
    EXPECT_EQ(reader->TextWithReadings(), u"猫[ねこ]を見[み]た。\n犬[いぬ]");

    // A long text wraps onto several lines within the view's width, and the
    // view scrolls to keep the chosen word in sight.
    std::u16string longText;
    for (int i = 0; i < 60; ++i)
        longText += u"猫を見ました。";
    Enter(longText.c_str());
    const int last = static_cast<int>(reader->tokens().size()) - 2;
    EXPECT_GT(reader->TokenRect(last).top(), reader->TokenRect(0).top());
    for (int i = 0; i < static_cast<int>(reader->tokens().size()); ++i)
        EXPECT_LE(reader->TokenRect(i).right(), reader->viewport()->width()) << i;
    QTest::keyClick(reader, Qt::Key_End);
    EXPECT_TRUE(reader->viewport()->rect().contains(reader->TokenRect(last))) << "the last word is in sight";
    test::SaveShot(window.get(), "reading-view");
}

// On a real X server, with its fonts: the readings are drawn over their
// kanji, and resting the pointer on a word shows its card beside the word.
TEST(ReadingViewX11, ReadingsAreDrawnOverTheirKanjiAndTheCardShowsOnHover)
{
    MIRUDEX_SKIP_UNLESS_X11();
    platform::RecordingPlatform platform;
    Registry options;
    options.LoadFromText(DefaultOptionsText());
    ReaderView reader(options);
    auto token = [](search::TokenKind kind, std::u16string surface, std::u16string form, std::u16string kana,
                    std::u16string reading) {
        search::ReadToken t;
        t.kind = kind;
        t.surface = std::move(surface);
        t.form = form;
        t.reading = std::move(reading);
        t.entry.word = std::move(form);
        t.entry.kana = std::move(kana);
        t.entry.meanings = {u"to eat"};
        return t;
    };
    reader.SetTokens({token(search::TokenKind::Word, u"食べました", u"食べる", u"たべる", u"たべました"),
                      token(search::TokenKind::Punctuation, u"、", u"", u"", u""),
                      token(search::TokenKind::Word, u"日本", u"日本", u"にほん", u"にほん")});
    reader.resize(400, 150);
    reader.move(60, 60);
    reader.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&reader, 20000));

    // Ink in the reading's band lies over the kanji, not over the kana after it.
    const QImage shot = reader.viewport()->grab().toImage();
    const qreal ratio = shot.devicePixelRatio();
    for (int i : {0, 2}) {
        for (const ReaderView::RubyBox& box : reader.RubyBoxes(i)) {
            int left = INT_MAX, right = -1;
            for (int y = box.ruby.top(); y <= box.ruby.bottom(); ++y)
                for (int x = reader.TokenRect(i).left(); x <= reader.TokenRect(i).right(); ++x)
                    if (qGray(shot.pixel(int(x * ratio), int(y * ratio))) < 128) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                    }
            ASSERT_GE(right, 0) << "the reading of token " << i << " is drawn";
            EXPECT_GE(left, box.text.left() - box.ruby.width() / 2);
            EXPECT_LE(right, box.text.right() + box.ruby.width() / 2);
            EXPECT_NEAR((left + right) / 2.0, box.text.center().x(), 3.0) << "centred over its kanji";
            EXPECT_LT(box.ruby.bottom(), box.text.top() + 1);
        }
    }

    // Resting on a word opens its card beside it; punctuation has none; leaving closes it.
    const QPoint at = reader.viewport()->mapToGlobal(reader.TokenRect(0).center());
    test::MovePointer(at);
    test::MovePointer(at + QPoint(1, 0));
    MIRUDEX_WAIT_FOR(reader.hoverCard() != nullptr);
    const QRect word(reader.viewport()->mapToGlobal(reader.TokenRect(0).topLeft()), reader.TokenRect(0).size());
    EXPECT_FALSE(reader.hoverCard()->geometry().intersects(word)) << "the card leaves the word free";
    EXPECT_TRUE(reader.hoverCard()->isVisible());
    test::MovePointer(reader.mapToGlobal(QPoint(-40, -40)));
    MIRUDEX_WAIT_FOR(reader.hoverCard() == nullptr);
}

// The tool bar pictures under a dark colour scheme: every picture's outline
// and lettering (its pixels next to the transparent ground) stands out from
// the background; on the light scheme they stay as drawn.
TEST(SearchBandsPictures, StandOutFromADarkPaletteAndStayAsDrawnOnALightOne)
{
    SearchBands bands;
    const int ids[] = {ID_SEARCH_GO, ID_TYPE_EXACT, ID_ROMAJI_CONVERSION, ID_LANG_JAPANESE, ID_RANDOM_WORD};
    auto edgeContrast = [&bands](int id, const QColor& background) {
        const QIcon icon = bands.Action(id)->icon();
        const QImage picture =
            icon.pixmap(icon.availableSizes().front()).toImage().convertToFormat(QImage::Format_ARGB32);
        double lowest = 21.0;
        auto clear = [&picture](int x, int y) {
            return x < 0 || y < 0 || x >= picture.width() || y >= picture.height() || qAlpha(picture.pixel(x, y)) < 128;
        };
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (!clear(x, y) && (clear(x - 1, y) || clear(x + 1, y) || clear(x, y - 1) || clear(x, y + 1)))
                    lowest = std::min(lowest, ContrastRatio(picture.pixelColor(x, y), background));
        return lowest;
    };
    const QColor dark(49, 54, 59);
    double asDrawn = 21.0;
    for (int id : ids)
        asDrawn = std::min(asDrawn, edgeContrast(id, dark));
    EXPECT_LT(asDrawn, 3.0) << "as drawn, some outline is too dark for the dark scheme";

    QPalette palette(dark);
    bands.setPalette(palette);
    for (int id : ids)
        EXPECT_GE(edgeContrast(id, dark), 3.0) << id;

    bands.setPalette(QPalette(QColor(239, 239, 239)));
    const QImage drawn =
        QImage(QStringLiteral(":/search/%1.png").arg(ID_SEARCH_GO)).convertToFormat(QImage::Format_ARGB32);
    const QIcon icon = bands.Action(ID_SEARCH_GO)->icon();
    EXPECT_EQ(icon.pixmap(drawn.size()).toImage().convertToFormat(QImage::Format_ARGB32), drawn)
        << "on a light scheme the pictures are as drawn";
}

}  // namespace
