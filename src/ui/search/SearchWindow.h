#pragma once
// The search window: the pane at the top of the main window where the user
// types the text to look up and sets how it is searched. It holds the band
// strip, the text box (1111) with its romaji input method and the history
// drop-down (1121); it runs the search command on the worker, pastes and
// copies in the chosen encoding and picks random words and kanji.
//
// The tool bar commands arrive through OnCommand(id), from a click or sent by
// the program (start-up restores the toggles by marking a button and sending
// its command; the handlers read the button's state).
//
// With the reading view on (ShowReader), a searched text that reads as more
// than one word (Japanese, without a search prefix or wildcards) is read on
// the worker and shown in the reading view under the text box instead of
// being searched as a whole; its first word is then searched as a word is
// (SearchWord). A text of one word is searched as ever.
//
// After a search or a random pick the window emits resultsReady() (result
// list 0 and kanji_results are new: the result and kanji windows set
// themselves up for them) or kanjiReady() (kanji_results only); both come
// before the status text of the search.
//
// Threads: user-interface thread only. During a search the window waits in a
// nested loop; meanwhile it refuses a second search (SEARCH_LOCK) and random
// picks, which would touch the lists the worker fills. The worker runs on
// copies of the search text and settings taken when the search starts, so
// the tool bar and the text box stay live: a button clicked during a search
// counts from the next search on and is never undone by the worker, and text
// typed during a search is left as it is by the hand-over (which otherwise
// writes the searched text back and restores the selection).

#include <QWidget>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "search/Reader.h"
#include "ui/common/SearchPaneControl.h"
#include "userdata/History.h"

namespace mirudex {
class Registry;
}
namespace mirudex::search {
class AppState;
}

namespace mirudex::ui {

class HistoryDropDown;
class ReaderView;
class SearchBands;
class SearchEdit;

class SearchWindow : public QWidget, public SearchPaneControl {
    Q_OBJECT
public:
    // Waits for the search worker with the flags of the progress wait
    // (1: a quit ends the wait, 2: ESC does); returns 1 finished, 0 ESC, 2 quit.
    using Waiter = std::function<int(int flags)>;

    SearchWindow(search::AppState& state, QWidget* parent = nullptr);
    ~SearchWindow() override;

    void OnCommand(int id) override;

    // The wait of the search command; by default the progress window
    // ("Searching...", with the ESC line) and the program's wait loop.
    void SetWaiter(Waiter waiter) { waiter_ = std::move(waiter); }
    // Where Tab sends the keyboard (the kanji window).
    void SetKanjiWindow(QWidget* window) { kanjiWindow_ = window; }
    // Called when a quit arrived during a search wait, to pass it on (by
    // default the quit request is posted again).
    void SetQuitForwarder(std::function<void()> forward) { forwardQuit_ = std::move(forward); }
    void SetMiscFont(const QFont& font);

    // The romaji-conversion toggle (the clipboard grab switches it off around its search).
    bool RomajiConversion() const override;
    void SetRomajiConversion(bool on) override;
    void SelectAllText() override;
    void ReplaceText(std::u16string_view text) override;
    void FocusSearchText() override;
    bool ReaderShown() const override { return readerOn_; }
    void ShowReader(bool on) override;

    // Searches a word of the reading view: the text as a Japanese search (a
    // word's dictionary form, so never split into substrings) on the worker,
    // the text box and the history left alone; the results come with
    // resultsReady(). False when it did not run (a search or load runs) or
    // was stopped.
    bool SearchWord(std::u16string_view word);
    // The longest text the reading view reads, in UTF-16 units; the rest of a
    // longer text is left out.
    static constexpr size_t kMaxReadUnits = 5000;

    // Start-up: marks the buttons from the options and sends the toggles'
    // commands (language already checked, 0..7); selects all and focuses the
    // text box with the input method on or off.
    void RestoreToolbars(int language);
    void FocusSearchBox(bool imeOn);
    // Exit: writes the tool bar state, the results field and the input method back.
    void SaveToolbars();

    userdata::HistoryList& history() { return history_; }
    SearchEdit* edit() const { return edit_; }
    SearchBands* bands() const { return bands_; }
    HistoryDropDown* historyList() const { return historyList_; }
    ReaderView* reader() const { return reader_; }
    bool ShowConverted() const;

signals:
    void resultsReady();
    void kanjiReady();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyLook();
    void SetInitialText();
    void Layout();
    void SearchCommand();
    void PasteWithEncoding();
    void CopyWithEncoding();
    void Cut();
    void OnLanguage(int id);
    void RandomWord();
    void RandomKanji();
    void OpenHistory();
    void FocusKanjiWindow();
    int DefaultWait(int flags);
    int Wait(int flags) { return waiter_ ? waiter_(flags) : DefaultWait(flags); }
    // Reads text on the worker; nothing when it was refused, stopped or a quit came.
    std::optional<std::vector<search::ReadToken>> ReadOnWorker(std::u16string_view text);

    search::AppState& state_;
    Registry& options_;
    SearchBands* bands_ = nullptr;
    SearchEdit* edit_ = nullptr;
    HistoryDropDown* historyList_ = nullptr;
    ReaderView* reader_ = nullptr;
    bool readerOn_ = false;
    userdata::HistoryList history_;
    Waiter waiter_;
    std::function<void()> forwardQuit_;
    QWidget* kanjiWindow_ = nullptr;
    std::mt19937 random_;
};

}  // namespace mirudex::ui
