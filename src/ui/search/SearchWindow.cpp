#include "ui/search/SearchWindow.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPainter>
#include <QTextBlock>
#include <algorithm>
#include <climits>
#include <memory>
#include <optional>

#include "core/DebugLog.h"
#include "core/Registry.h"
#include "dict/DictionaryStore.h"
#include "platform/api/Platform.h"
#include "platform/api/Utf.h"
#include "platform/qt/QtText.h"
#include "platform/qt/Translation.h"
#include "search/AppState.h"
#include "search/JapaneseSearch.h"
#include "search/Worker.h"
#include "text/CharClass.h"
#include "text/Encoding.h"
#include "text/Romaji.h"
#include "ui/common/ProgressWindow.h"
#include "ui/common/QuitRequest.h"
#include "ui/common/Resources.h"
#include "ui/model/Furigana.h"
#include "ui/search/HistoryDropDown.h"
#include "ui/search/ReaderView.h"
#include "ui/search/SearchBands.h"
#include "ui/search/SearchCommands.h"
#include "ui/search/SearchEdit.h"
#include "userdata/Copy.h"

namespace mirudex::ui {

namespace {

constexpr int kRandomTries = 100;

constexpr std::u16string_view kHelpText =
    u"   Press CAPSLOCK to toggle the IME.\n"
    u"   English does English searches; Japanese does Japanese searches.\n"
    u"\n"
    u"      Japanese searches allow wildcards: _ (any number of characters), ? (just one character).\n"
    u"\n"
    u"      English searches behave like Google searches.  Start the search with \"s to search for EXACTLY that "
    u"text\n"
    u"\n"
    u"Check for updates & important news often: Options-->Check for Updates.";

QString Q8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

void Status(std::u16string_view text) { platform::Get().SetStatusText(0, text); }

// "EN:", "en:", "JP:", "jp:", "KN:" or "kn:" at the start: the text chooses its own search.
bool HasSearchPrefix(std::u16string_view text)
{
    for (std::u16string_view prefix : {u"EN:", u"en:", u"JP:", u"jp:", u"KN:", u"kn:"})
        if (text.substr(0, 3) == prefix)
            return true;
    return false;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\u3000'; }

// Kana with Latin letters beside them (どg): English typed with the input method on.
bool MixesKanaAndLatin(std::u16string_view text)
{
    const auto latin = [](char16_t c) {
        return text::IsAsciiLetter(c) || (text::IsFullwidthAscii(c) && text::IsAsciiLetter(text::ToHalfwidth(c)));
    };
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return text::IsKana(c); }) &&
           std::any_of(text.begin(), text.end(), latin);
}

// Text the reading view takes: Japanese, without a search prefix or wildcards
// (which ask for a search of the text as a whole).
bool ReadableText(std::u16string_view text)
{
    if (HasSearchPrefix(text))
        return false;
    bool japanese = false;
    for (char16_t c : text) {
        if (c == u'_' || c == u'?' || c == search::kWildcardAny || c == search::kWildcardOne)
            return false;
        japanese = japanese || text::IsKana(c) || IsKanjiChar(c);
    }
    return japanese;
}

bool HasJapanese(std::u16string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return text::IsKana(c) || IsKanjiChar(c); });
}

// Tokens that are not punctuation or blanks.
size_t WordCount(const std::vector<search::ReadToken>& tokens)
{
    return static_cast<size_t>(std::count_if(tokens.begin(), tokens.end(), [](const search::ReadToken& token) {
        return token.kind != search::TokenKind::Punctuation;
    }));
}

void Select(SearchEdit* edit, int from, int to)
{
    const int end = edit->document()->characterCount() - 1;
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(std::clamp(from, 0, end));
    cursor.setPosition(std::clamp(to, 0, end), QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
}

}  // namespace

SearchWindow::SearchWindow(search::AppState& state, QWidget* parent)
    : QWidget(parent), state_(state), options_(state.options), random_(std::random_device{}())
{
    setObjectName(QStringLiteral("SearchWindow"));
    setWindowTitle(QStringLiteral("(SearchWindow)"));
    // The window's own background is white (paintEvent) but its palette stays
    // the system's: the band strip and its captions draw on the system's
    // colours, the text box on the option colours, never one on the other.
    setAttribute(Qt::WA_OpaquePaintEvent);

    dlog::Write(u"Search Window: WM_CREATE:\n");
    bands_ = new SearchBands(this);
    connect(bands_, &SearchBands::commandTriggered, this, &SearchWindow::OnCommand);
    QLineEdit* field = bands_->resultsField();
    field->setText(QString::number(options_.GetINT(opt::results::kSize)));
    state_.search_options.results_field = U16(field->text());
    connect(field, &QLineEdit::textChanged, this,
            [this](const QString& text) { state_.search_options.results_field = U16(text); });

    edit_ = new SearchEdit([](std::u16string_view text, bool final) { return text::RomajiToKana(text, final); }, this);
    edit_->setAccessibleName(QCoreApplication::translate("Mirudex", "Search text"));
    edit_->setAccessibleDescription(QCoreApplication::translate(
        "Mirudex", "Type kana, kanji, romaji or English and press Enter; Ctrl+Space lists recent searches"));
    ApplyLook();
    SetInitialText();
    connect(edit_, &SearchEdit::command, this, &SearchWindow::OnCommand);
    connect(edit_, &SearchEdit::cutRequested, this, &SearchWindow::Cut);
    connect(edit_, &SearchEdit::focusKanjiWindow, this, &SearchWindow::FocusKanjiWindow);
    connect(edit_, &SearchEdit::openHistory, this, &SearchWindow::OpenHistory);

    historyList_ = new HistoryDropDown(history_, this);
    historyList_->lower();                         // it lies under the text box; only its dropped list is seen
    historyList_->setFocusPolicy(Qt::ClickFocus);  // Ctrl+Space opens it; Tab passes it over
    historyList_->setAccessibleName(QCoreApplication::translate("Mirudex", "Recent searches"));
    // A text from the history is a whole search text: it replaces what the box holds (one undo step).
    connect(historyList_, &HistoryDropDown::chosen, this, [this](const QString& text) {
        edit_->selectAll();
        edit_->ReplaceSelection(text);
    });
    connect(historyList_, &HistoryDropDown::closed, this, [this] { edit_->setFocus(); });
    SetMiscFont(MakeFont(Q8(options_.GetString(opt::misc::font::kFont)), options_.GetINT(opt::misc::font::kSize),
                         logicalDpiY()));

    reader_ = new ReaderView(options_, this);
    reader_->setAccessibleName(QCoreApplication::translate("Mirudex", "Reading view"));
    reader_->setAccessibleDescription(QCoreApplication::translate(
        "Mirudex", "The searched text word by word; Left and Right choose a word and search it"));
    reader_->hide();
    reader_->busy = [this] { return state_.SEARCH_LOCK || state_.thread_searching.load(); };
    reader_->onSearch = [this](std::u16string_view word) { return SearchWord(word); };
    dlog::Write(u"END: Search Window: WM_CREATE:\n");
    Layout();
}

SearchWindow::~SearchWindow()
{
    delete historyList_;  // its model observes history_, which goes first
}

void SearchWindow::ApplyLook()
{
    const std::string face = options_.GetString(opt::search::font::kFont);
    const int size = options_.GetINT(opt::search::font::kSize);
    edit_->setFont(MakeFont(Q8(face), size, logicalDpiY()));
    QPalette pal = edit_->palette();
    pal.setColor(QPalette::Text, ColorFromColorref(options_.GetINT(opt::search::font::kColor)));
    pal.setColor(QPalette::Base, ColorFromColorref(options_.GetINT(opt::search::kWindowBG)));
    edit_->setPalette(pal);
}

void SearchWindow::SetInitialText()
{
    // Set as it stands: a percent sign in it is text, not a format.
    const bool help = options_.GetBOOL(opt::search::kShowInitialText);
    edit_->setPlainText(help ? platform::ShownText(Q(kHelpText))
                             : QCoreApplication::translate("Mirudex", "Search for..."));
    edit_->document()->clearUndoRedoStacks();
}

void SearchWindow::SetMiscFont(const QFont& font)
{
    bands_->SetMiscFont(font);
    historyList_->setFont(font);
    historyList_->view()->setFont(font);
}

void SearchWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
}

void SearchWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Layout();
}

void SearchWindow::Layout()
{
    const int bandHeight = bands_->heightForWidth(width());
    bands_->setGeometry(0, 0, width(), bandHeight);
    // The text box overlaps the strip's last pixel row.
    const int top = std::max(0, bandHeight - 1);
    const int below = std::max(0, height() - bandHeight + 1);
    int editHeight = below;
    if (readerOn_) {
        // The text box keeps two lines; the reading view takes the rest.
        const int twoLines = 2 * edit_->fontMetrics().lineSpacing() + 12;
        editHeight = std::min(below, std::max(below / 3, twoLines));
        reader_->setGeometry(0, top + editHeight, width(), below - editHeight);
    }
    edit_->setGeometry(0, top, width(), editHeight);
    const int listHeight = historyList_->sizeHint().height();
    historyList_->setGeometry(0, top + editHeight - listHeight, 100, listHeight);
    historyList_->view()->setMinimumWidth(width());
    historyList_->lower();
}

bool SearchWindow::ShowConverted() const { return bands_->IsChecked(ID_SHOW_CONVERTED); }

void SearchWindow::ReplaceText(std::u16string_view text)
{
    edit_->selectAll();
    edit_->ReplaceSelection(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())), UndoKind::Paste);
    edit_->selectAll();
}

bool SearchWindow::RomajiConversion() const { return state_.search_options.romaji_conversion; }

void SearchWindow::SetRomajiConversion(bool on)
{
    bands_->SetChecked(ID_ROMAJI_CONVERSION, on);
    OnCommand(ID_ROMAJI_CONVERSION);
}

void SearchWindow::SelectAllText() { edit_->selectAll(); }

void SearchWindow::FocusSearchText()
{
    edit_->selectAll();
    edit_->setFocus(Qt::ShortcutFocusReason);
}

void SearchWindow::ShowReader(bool on)
{
    readerOn_ = on;
    reader_->setVisible(on);
    Layout();
}

void SearchWindow::OnCommand(int id)
{
    search::SearchOptions& so = state_.search_options;
    switch (id) {
    case ID_TYPE_BEGINNING:
    case ID_TYPE_MIDDLE:
    case ID_TYPE_END:
    case ID_TYPE_EXACT:
        bands_->SetChecked(id, true);
        so.type = static_cast<search::SearchType>(id - ID_TYPE_BEGINNING);
        break;
    case ID_ROMAJI_CONVERSION: so.romaji_conversion = bands_->IsChecked(id); break;
    case ID_KANA_INSENSITIVE: so.kana_insensitive = bands_->IsChecked(id); break;
    case ID_MATCH_SUBSTRINGS: so.match_substrings = bands_->IsChecked(id); break;
    case ID_WORDS_ONLY: so.words_only = bands_->IsChecked(id); break;
    case ID_SHOW_CONVERTED: break;  // read from the button when a search ends
    case ID_REVERSE_CONJUGATION:
        options_.SetBOOL(opt::search::toolbars::kFuzzy, !options_.GetBOOL(opt::search::toolbars::kFuzzy));
        break;
    case ID_LANG_JAPANESE:
    case ID_LANG_ENGLISH:
    case ID_LANG_KANJI:
    case ID_LANG_AUTOMATIC: OnLanguage(id); break;
    case ID_SEARCH_GO: SearchCommand(); break;
    case ID_ENCODE_PASTE: PasteWithEncoding(); break;
    case ID_ENCODE_COPY: CopyWithEncoding(); break;
    case ID_RANDOM_WORD: RandomWord(); break;
    case ID_RANDOM_KANJI: RandomKanji(); break;
    default: break;
    }
}

void SearchWindow::OnLanguage(int id)
{
    const int bit = text::LanguageOfCommand(id);
    const int language = options_.GetINT(opt::search::kLanguage);
    int next = 0;
    if (bit == 0) {
        for (int other : {ID_LANG_JAPANESE, ID_LANG_ENGLISH, ID_LANG_KANJI})
            if (language & text::LanguageOfCommand(other))
                bands_->SetChecked(other, false);
    } else if (language == bit) {
        bands_->SetChecked(id, false);  // the only forced language is released
    } else {
        next = language ^ bit;
        bands_->SetChecked(id, (next & bit) != 0);
    }
    bands_->SetChecked(ID_LANG_AUTOMATIC, next == 0);
    options_.SetINT(opt::search::kLanguage, next);
}

int SearchWindow::DefaultWait(int flags)
{
    struct Probe : WorkerProbe {
        explicit Probe(const search::AppState& state) : state(state) {}
        bool Running() const override { return search::WorkerRunning(state); }
        const search::AppState& state;
    } probe(state_);
    CreateThreadWindow(options_, window(), QCoreApplication::translate("Mirudex", "Searching..."), true);
    return WaitForWorker(probe, flags);
}

void SearchWindow::SearchCommand()
{
    if (state_.SEARCH_LOCK) {
        dlog::Write(u"WARNING :: SEARCH_LOCK :: (aborting new search)\n");
        return;
    }
    state_.SEARCH_LOCK = true;
    if (state_.thread_searching) {
        dlog::Write(u"WARNING :: THREAD_SEARCHING :: (aborting new search)\n");
        state_.SEARCH_LOCK = false;
        return;
    }
    Status(u"Searching...");
    edit_->FinishComposition();
    if (!edit_->textCursor().hasSelection())
        edit_->selectAll();
    const int selStart = edit_->textCursor().selectionStart();
    const int selEnd = edit_->textCursor().selectionEnd();
    dlog::Write(u"   Selection: %i--%i.\n", selStart, selEnd);
    if (selStart == selEnd) {
        Status(u"(no text to search for)");
        state_.SEARCH_LOCK = false;
        return;
    }

    std::u16string text = edit_->SelectedText();
    while (text.size() >= 2 && IsBlank(text.back()))
        text.pop_back();
    dlog::Write(u"   Text exists: %s\n", text);
    if (text.empty()) {
        Status(u"Search text error");
        state_.SEARCH_LOCK = false;
        return;
    }
    const std::u16string unconverted = text;
    std::erase_if(text, [](char16_t c) { return c == u'\n' || c == u'\r'; });
    userdata::AddToHistory(history_, options_, text);

    if (readerOn_ && ReadableText(unconverted)) {
        std::optional<std::vector<search::ReadToken>> tokens = ReadOnWorker(unconverted);
        if (!tokens) {
            state_.SEARCH_LOCK = false;
            return;
        }
        if (WordCount(*tokens) > 1) {
            dlog::Write(u"   Text read into %i tokens for the reading view.\n", static_cast<int>(tokens->size()));
            reader_->SetTokens(std::move(*tokens));
            edit_->selectAll();
            state_.SEARCH_LOCK = false;
            reader_->Choose(reader_->NextWord(-1, 1));
            return;
        }
        // One word: searched as ever.
    }

    // The worker gets copies of the text and of the settings; what the box
    // holds now tells at the hand-over whether the user typed meanwhile.
    const QString boxBefore = edit_->toPlainText();
    search::SearchRequest request{&text, search::TS_NORMAL};
    if (!search::Load_Thread_Search(state_, request)) {
        // Refused or not started: the starter has said why; nothing changed.
        Status(u"Search aborted (0 results)");
        state_.SEARCH_LOCK = false;
        return;
    }
    dlog::Write(u"   Load_Thread_Search() called.\n");
    const int waited = Wait(kWaitQuitFlag | kWaitEscFlag);

    // Text typed during the search stays as the user left it.
    const bool boxUntouched = edit_->toPlainText() == boxBefore;
    if (waited == kWaitFinished) {
        search::HandOverFinishedSearch(state_);
        emit resultsReady();
        if (!boxUntouched) {
            dlog::Write(u"      Search window text changed during the search; left as it is.\n");
            Status(search::SearchCompleteText(state_));
            state_.SEARCH_LOCK = false;
            return;
        }
        // The box shows what was searched for: the dispatcher's text (kana for
        // romaji) when asked, the text as typed when it chose its own search.
        const bool useConverted = ShowConverted() && !HasSearchPrefix(unconverted);
        const std::u16string& shown = useConverted ? text : unconverted;
        edit_->ReplaceSelection(Q(shown));
        dlog::Write(u"      Search window text set (%s).\n", shown);
        edit_->selectAll();
        if (HasSearchPrefix(unconverted))
            Select(edit_, selStart + static_cast<int>(unconverted.rfind(u':')) + 1, INT_MAX);
        else
            Select(edit_, selStart, selEnd);
        std::u16string status = search::SearchCompleteText(state_);
        if (state_.edict_results[search::kResultList].empty() && edit_->ImeOn() && MixesKanaAndLatin(unconverted))
            status += std::u16string(status.ends_with(u' ') ? u"" : u" ") +
                      u"-For English, press CAPS LOCK to turn the input method off and type it again-";
        Status(status);
    } else {
        search::HandOverStoppedSearch(state_);
        if (boxUntouched) {
            edit_->selectAll();
            if (HasSearchPrefix(unconverted))
                Select(edit_, 3, INT_MAX);
        }
        emit resultsReady();
        Status(search::SearchAbortedText(state_));
        if (waited == kWaitQuitArrived) {
            if (forwardQuit_)
                forwardQuit_();
            else
                quit::Post(quit::Code());  // the program still ends
        }
    }
    state_.SEARCH_LOCK = false;
}

std::optional<std::vector<search::ReadToken>> SearchWindow::ReadOnWorker(std::u16string_view text)
{
    auto input = std::make_shared<std::u16string>(text.substr(0, text::CharacterBoundary(text, kMaxReadUnits)));
    auto tokens = std::make_shared<std::vector<search::ReadToken>>();
    search::AppState& state = state_;
    Status(u"Reading...");
    if (!search::Load_Thread_Run(state_, u"Load_Thread_Read", [&state, input, tokens] {
            *tokens = search::ReadText(state, *input);
            state.thread_searching.store(false);
        }))
        return std::nullopt;
    const int waited = Wait(kWaitQuitFlag | kWaitEscFlag);
    // The reading is short (a text is read in milliseconds): a stop waits for it.
    search::StopWorker(state_);
    if (waited == kWaitFinished)
        return std::move(*tokens);
    Status(u"Reading aborted");
    if (waited == kWaitQuitArrived) {
        if (forwardQuit_)
            forwardQuit_();
        else
            quit::Post(quit::Code());
    }
    return std::nullopt;
}

bool SearchWindow::SearchWord(std::u16string_view word)
{
    if (word.empty() || state_.SEARCH_LOCK || state_.thread_searching)
        return false;
    state_.SEARCH_LOCK = true;
    Status(u"Searching...");
    // A word is searched as Japanese whatever language the buttons force,
    // and as itself: never split into substrings.
    std::u16string text = HasJapanese(word) ? u"JP:" + std::u16string(word) : std::u16string(word);
    search::SearchOptions& so = state_.search_options;
    const bool substrings = so.match_substrings;
    so.match_substrings = false;
    search::SearchRequest request{&text, search::TS_NORMAL};
    const bool started = search::Load_Thread_Search(state_, request);
    so.match_substrings = substrings;  // the worker runs on its own copy
    if (!started) {
        Status(u"Search aborted (0 results)");
        state_.SEARCH_LOCK = false;
        return false;
    }
    const int waited = Wait(kWaitQuitFlag | kWaitEscFlag);
    if (waited == kWaitFinished) {
        search::HandOverFinishedSearch(state_);
        emit resultsReady();
        Status(search::SearchCompleteText(state_));
    } else {
        search::HandOverStoppedSearch(state_);
        emit resultsReady();
        Status(search::SearchAbortedText(state_));
        if (waited == kWaitQuitArrived) {
            if (forwardQuit_)
                forwardQuit_();
            else
                quit::Post(quit::Code());
        }
    }
    state_.SEARCH_LOCK = false;
    return waited == kWaitFinished;
}

void SearchWindow::PasteWithEncoding()
{
    const int index = bands_->encodingList()->currentIndex();
    const int row = text::RowOfComboPosition(index);
    if (row < 0) {
        dlog::Write(u"ID_ENCODE_PASTE: Error: index out of bounds (index: %i).\n", index);
        return;
    }
    // Nothing to take (an empty clipboard, a heading row, a failed conversion)
    // leaves the selection as it is.
    std::optional<std::u16string> text;
    platform::Platform& platform = platform::Get();
    if (row == 1)
        text = platform.ClipboardText();
    if (!text) {
        const char* encoding = text::IconvNameForRow(row);
        std::optional<std::string> bytes = encoding ? platform.ClipboardBytes(encoding) : std::nullopt;
        if (!bytes)
            return;
        std::u16string converted;
        if (row == 1) {  // 8-bit text without a Unicode form: this system's 8-bit text is UTF-8
            std::optional<std::u16string> decoded = DecodeUtf8(*bytes);
            if (!decoded) {
                dlog::Write(u"ID_ENCODE_PASTE: the clipboard's text is not valid UTF-8; nothing pasted.\n");
                return;
            }
            converted = std::move(*decoded);
        } else if (text::ConvertEncodingToWide(*bytes, encoding, "UTF-16LE", converted) != 0)
            return;
        text = std::move(converted);
    }
    edit_->ReplaceSelection(Q(*text), UndoKind::Paste);
}

void SearchWindow::CopyWithEncoding()
{
    if (!edit_->textCursor().hasSelection())
        return;
    const std::u16string text = edit_->SelectedText();
    if (!text.empty())
        userdata::CopyTextUsingComboboxEncoding(text, bands_->encodingList()->currentIndex());
}

void SearchWindow::Cut()
{
    if (!edit_->textCursor().hasSelection())
        return;
    CopyWithEncoding();
    edit_->ReplaceSelection(QString(), UndoKind::Cut);
}

void SearchWindow::FocusKanjiWindow()
{
    QWidget* target = kanjiWindow_;
    if (!target)
        target = window()->findChild<QWidget*>(QStringLiteral("KanjiWindow"));
    if (target)
        target->setFocus(Qt::TabFocusReason);
}

void SearchWindow::OpenHistory()
{
    if (!options_.GetBOOL(opt::search::recent_list::kEnabled))
        return;
    historyList_->setCurrentIndex(0);
    historyList_->setFocus();
    historyList_->showPopup();
}

void SearchWindow::RandomWord()
{
    dlog::Write(u"ID_RANDOM_WORD :: Begin\n");
    if (state_.thread_searching || state_.SEARCH_LOCK) {
        dlog::Write(u"   Warning: a search or load is running.\n");
        return;
    }
    auto& dictionaries = state_.store.edict_dictionaries;
    if (dictionaries.empty()) {
        dlog::Write(u"   Warning: edict_dictionaries.size() <= 0\n");
        return;
    }
    state_.kanji_results.clear();
    state_.edict_results[search::kResultList].clear();
    dlog::Write(u"   kanjidic results and edict resuls cleared.\n");

    const int count = static_cast<int>(dictionaries.size());
    int d = -1;
    for (int tries = 0; tries < kRandomTries; ++tries) {
        const int pick = static_cast<int>(random_() % static_cast<unsigned>(count));
        const dict::Dictionary& candidate = *dictionaries[static_cast<size_t>(pick)];
        if (candidate.on) {
            dlog::Write(u"   Picked a dictionary\n");
            if (candidate.count > 0) {
                d = pick;
                break;
            }
        }
    }
    if (d < 0) {
        dlog::Write(u"   Warning: d == -1\n");
        emit resultsReady();
        return;
    }
    const dict::Dictionary& dictionary = *dictionaries[static_cast<size_t>(d)];
    const int w = static_cast<int>(random_() % static_cast<unsigned>(dictionary.count));
    dlog::Write(u"   Random word: Dictionary #%i/%i :: Word: #%i/%i\n", d + 1, count, w + 1, dictionary.count);
    dict::Entry entry;
    dict::LoadInfoInto(options_, dictionary, entry, dictionary.index[static_cast<size_t>(w)]);
    dict::SetInfo(entry, state_.store.marker_table);
    const std::u16string word = entry.word;
    state_.edict_results[search::kResultList].push_back(std::move(entry));
    search::CollectWordKanji(state_, word);
    emit resultsReady();
    dlog::Write(u"End :: ID_RANDOM_WORD\n");
}

void SearchWindow::RandomKanji()
{
    dlog::Write(u"ID_RANDOM_KANJI :: Begin\n");
    if (state_.thread_searching || state_.SEARCH_LOCK) {
        dlog::Write(u"   Warning: a search or load is running.\n");
        return;
    }
    state_.kanji_results.clear();
    const dict::KanjiIndex& index = state_.store.kanji_index;
    const int count = static_cast<int>(index.entries.size());
    if (count > 0) {
        const int k = static_cast<int>(random_() % static_cast<unsigned>(count));
        dlog::Write(u"   Random kanji: #%i/%i\n", k + 1, count);
        dict::KanjiRecord record;
        dict::LoadKANJIDICInfoInto(index, options_, record, &index.entries[static_cast<size_t>(k)]);
        state_.kanji_results.push_back(std::move(record));
    } else {
        dlog::Write(u"   Warning: the kanji dictionary is empty.\n");
    }
    emit kanjiReady();
    dlog::Write(u"End :: ID_RANDOM_KANJI\n");
}

void SearchWindow::RestoreToolbars(int language)
{
    if (language == 0) {
        bands_->SetChecked(ID_LANG_AUTOMATIC, true);
    } else {
        for (int id : {ID_LANG_JAPANESE, ID_LANG_ENGLISH, ID_LANG_KANJI})
            bands_->SetChecked(id, (language & text::LanguageOfCommand(id)) != 0);
    }
    const int stored = options_.GetINT(opt::search::toolbars::kType);
    const int type = stored >= 0 && stored <= 3 ? ID_TYPE_BEGINNING + stored : stored;
    if (bands_->Action(type) && type >= ID_TYPE_BEGINNING && type <= ID_TYPE_EXACT) {
        bands_->SetChecked(type, true);
        OnCommand(type);
    }
    auto press = [this](int id) {
        bands_->SetChecked(id, true);
        OnCommand(id);
    };
    if (options_.GetBOOL(opt::search::toolbars::kSubstr))
        press(ID_MATCH_SUBSTRINGS);
    if (options_.GetBOOL(opt::search::toolbars::kWord))
        press(ID_WORDS_ONLY);
    if (options_.GetBOOL(opt::search::toolbars::kFuzzy)) {
        options_.SetBOOL(opt::search::toolbars::kFuzzy, false);
        press(ID_REVERSE_CONJUGATION);
    }
    if (options_.GetBOOL(opt::search::toolbars::kRomajiConversion))
        press(ID_ROMAJI_CONVERSION);
    if (!options_.GetBOOL(opt::search::toolbars::kKanaSensitive))
        press(ID_KANA_INSENSITIVE);
    else
        state_.search_options.kana_insensitive = false;
    if (options_.GetBOOL(opt::search::toolbars::kShow))
        press(ID_SHOW_CONVERTED);
    // A stored encoding this system cannot convert falls back to Unicode.
    const int encoding = options_.GetINT(opt::search::toolbars::kEncoding);
    const char* name = text::IconvNameForRow(text::RowOfComboPosition(encoding));
    bands_->encodingList()->setCurrentIndex(name && !bands_->EncodingAvailable(encoding) ? 1 : encoding);
}

void SearchWindow::FocusSearchBox(bool imeOn)
{
    edit_->selectAll();
    edit_->setFocus();
    edit_->SetImeOn(imeOn);
}

void SearchWindow::SaveToolbars()
{
    // 0 (also an empty box) is no maximum; no other value is kept for it.
    const std::u16string field = U16(bands_->resultsField()->text());
    options_.SetINT(opt::results::kSize, std::max(search::ParseResultsField(field), 0));
    state_.max_results = search::MaxResultsOfField(field);
    options_.SetINT(opt::search::toolbars::kType, ID_TYPE_BEGINNING + static_cast<int>(state_.search_options.type));
    options_.SetBOOL(opt::search::toolbars::kSubstr, bands_->IsChecked(ID_MATCH_SUBSTRINGS));
    options_.SetBOOL(opt::search::toolbars::kWord, bands_->IsChecked(ID_WORDS_ONLY));
    options_.SetBOOL(opt::search::toolbars::kRomajiConversion, bands_->IsChecked(ID_ROMAJI_CONVERSION));
    options_.SetBOOL(opt::search::toolbars::kShow, bands_->IsChecked(ID_SHOW_CONVERTED));
    options_.SetBOOL(opt::search::toolbars::kKanaSensitive, !bands_->IsChecked(ID_KANA_INSENSITIVE));
    options_.SetINT(opt::search::toolbars::kEncoding, bands_->encodingList()->currentIndex());
    options_.SetBOOL(opt::misc::kIME, edit_->ImeOn());
}

}  // namespace mirudex::ui
