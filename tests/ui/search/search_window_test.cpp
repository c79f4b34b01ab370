// The search window with the real worker and small dictionaries of our own:
// the search command, the write-back of the searched text, history, paste and
// copy in an encoding, the language buttons, the option state and random picks.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>
#include <QToolButton>
#include <algorithm>
#include <chrono>
#include <condition_variable>
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
#include "ui/common/QuitRequest.h"
#include "ui/search/HistoryDropDown.h"
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

    Registry options;
    dict::DictionaryStore store;
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

}  // namespace
