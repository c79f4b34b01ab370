#pragma once
// The kanji window: the kanji of the last search (kanji_results) as a table
// under two header bars (1211: Kanji, On, Kun, #; 1221: Kanji, Meaning), each
// entry two rows high, with selection, scrolling, sort clicks on the header
// items, a hover card after 700 ms of rest and a context menu that searches
// the dictionaries for words with the kanji or copies its data.
//
// Threads: user-interface thread only. kanji_results is rebuilt by the search
// worker while thread_searching is set; during that time (and while the search
// command holds SEARCH_LOCK) the window neither paints the list nor acts on it
// or reads it: painting shows only the background (nothing at all under the
// lock) and clicks, keys and menus are ignored.

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dict/Kanjidic.h"
#include "dict/Radicals.h"
#include "search/Sorting.h"
#include "ui/common/AccessiblePanes.h"
#include "ui/common/HoverCardFrame.h"
#include "ui/common/HoverCardWatch.h"
#include "ui/common/Resources.h"
#include "ui/model/KanjiWindowLayout.h"
#include "ui/model/KanjiWindowText.h"

class QAction;
class QMenu;
class QScrollBar;

namespace mirudex {
class Registry;
}

namespace mirudex::search {
class AppState;
}

namespace mirudex::ui {

class KanjiHeaderBar;
class KanjiHoverCard;

// What the kanji window works on. Everything is owned elsewhere and outlives
// the window.
struct KanjiWindowContext {
    Registry& options;
    const Resources& resources;
    std::vector<dict::KanjiRecord>& kanji_results;
    search::KanjiSortState& sort;
    const dict::RadicalTable& radicals;
    // thread_searching and SEARCH_LOCK, read without locking.
    std::function<bool()> thread_searching;
    std::function<bool()> search_lock;
};

// The program's context: the shared state's kanji list, kanji sort, radical
// table and worker flags.
KanjiWindowContext KanjiContextFromState(search::AppState& state, const Resources& resources);

class KanjiWindow : public QWidget, public AccessibleTableSource {
    Q_OBJECT
public:
    static constexpr int kId1 = 1211;  // header bar 1
    static constexpr int kId2 = 1221;  // header bar 2
    static constexpr int kHoverDelayMs = 700;
    static constexpr int kHoverSlop = 10;

    // Context-menu command ids.
    enum MenuId {
        kSearchThis = 1,
        kSearchStarting = 2,
        kSearchEnding = 3,
        kSearchAnywhere = 4,
        kCopyFirst = 5,  // 5..11 copy kinds 0..6
        kCopyLast = 11,
    };

    KanjiWindow(KanjiWindowContext context, QWidget* parent);
    ~KanjiWindow() override;

    // Runs a dictionary-only search (TS_EDICT_ONLY) for the text, waits for it
    // and shows its results; set by whoever owns the search machinery.
    std::function<void(const std::u16string& text)> searchDictionaries;
    // Puts a copied text on the clipboard in the chosen encoding.
    std::function<void(const std::u16string& text)> copyText;
    // Shows a context menu at a global position and returns the chosen action
    // (nullptr when dismissed). Replaceable so tests can choose.
    std::function<QAction*(QMenu& menu, const QPoint& globalPos)> runMenu;
    // Where Tab sends the keyboard focus (the result window).
    QPointer<QWidget> tabTarget;

    KanjiHeaderBar* Header(int id) const;
    const KanjiListGeometry& geometry() const { return geom_; }
    int selected() const { return selected_; }
    int firstVisible() const { return first_; }
    // The number of entries; 0 while a worker may be filling the list, so
    // that nothing reads it (not even its size) before the hand-over.
    int EntryCount() const;
    // The open hover card's content and its window (nullptr when none is open).
    KanjiHoverCard* hoverCard() const;
    HoverCardFrame* hoverFrame() const { return card_; }
    int hoverIndex() const { return hoverIndex_; }

    // A new kanji result list was installed: no selection, scrolled to the
    // top, laid out again and repainted.
    void SetUpForNewResults();
    // Lays the window out again from its fonts and size (after a font change).
    void Relayout();
    // Header item click (also replayed at start-up): changes the sort, shows
    // the arrows, re-sorts and repaints. Item 0 of header 2 is ignored.
    void HeaderItemClicked(int headerId, int item);
    // Writes the items' percentages to .\Kanji\HeaderWindow1\Header0..3 and
    // .\Kanji\HeaderWindow2\Header0..1.
    void SaveHeaderPercentages(Registry& options) const;
    // Copies the selected entry's text of that kind; nothing without a selection.
    void CopyKanjiInfo(KanjiCopyKind kind);
    // Acts on a context-menu id as the menu does.
    void OnMenuCommand(int id);
    // Shows the hover card for the entry under the last mouse position now, as
    // the 700 ms rest notice does (when the rules allow it).
    void OnHoverTimeout();
    // Client width less the scroll bar, and the list's drawing height.
    int ClientWidth() const;

    // What a screen reader reads: a row per kanji, with its readings, strokes and meanings.
    int AccessibleRowCount() const override { return EntryCount(); }
    QStringList AccessibleColumnNames() const override;
    QString AccessibleCellText(int row, int column) const override;
    bool AccessibleRowSelected(int row) const override { return row >= 0 && row == selected_; }
    int AccessibleCurrentRow() const override { return selected_; }
    void AccessibleSelectRow(int row) override;
    QRect AccessibleRowRect(int row) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    bool Busy() const;
    void UpdateScrollBar();
    void Scroll(ScrollRequest request);
    void SelectAt(int y);
    void DestroyCard();
    void ReplayMouseMove(const QPoint& pos);
    void HandleMove(const QPoint& pos);
    void ShowContextMenu(const QPoint& globalPos);
    void BuildMenu(QMenu& menu);
    void SearchSelected(KanjiSearchKind kind);
    void PaintEntry(QPainter& p, int i, int y0);
    void ShowArrow(const search::KanjiSortLevel& level, bool primary, bool show);

    // Header tracking: begin (refused for the last item), a step, the end.
    bool BeginTrack(KanjiHeaderBar* bar, int item);
    void Track(KanjiHeaderBar* bar, int item, int proposed);
    void EndTrack();

    KanjiWindowContext ctx_;
    KanjiHeaderBar* header1_ = nullptr;
    KanjiHeaderBar* header2_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    KanjiListGeometry geom_;
    int selected_ = -1;
    int first_ = 0;
    QTimer hoverTimer_;
    int hoverIndex_ = -1;
    QPoint hoverOrigin_;
    QPoint lastMouse_;
    QPointer<HoverCardFrame> card_;
    HoverCardWatch watch_;
};

}  // namespace mirudex::ui
