#pragma once
// The result window ("ResultWindow"): a custom-drawn table of dictionary
// entries under two header bars (1311 on top, 1321 below). Index 0 shows the
// search results, index 1 the study list; both are this class.
//
// Threads: user-interface thread only. While the host reports a worker
// (ThreadSearching or SearchLock) the window paints only its background (or
// nothing under SearchLock) and ignores every action that reads or changes
// its list.

#include <QFrame>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

#include "ui/common/AccessiblePanes.h"
#include "ui/common/HoverCardFrame.h"
#include "ui/common/HoverCardWatch.h"
#include "ui/model/ResultHeaderItems.h"
#include "ui/model/ResultSelection.h"
#include "ui/results/ResultHost.h"
#include "ui/results/ResultHoverCard.h"
#include "ui/results/ResultRowPainter.h"

class QScrollBar;

namespace mirudex {
class Registry;
}

namespace mirudex::ui {

struct Resources;
class ResultHeaderBar;

inline constexpr int kResultHeaderTop = 1311;
inline constexpr int kResultHeaderBottom = 1321;
inline constexpr int kResultHoverDelayMs = 700;

// Context menu item ids.
enum ResultMenuId : int {
    kMenuKanjiInWord = 1,
    kMenuWordsStarting = 2,
    kMenuWordsEnding = 3,
    kMenuWordsAnywhere = 4,
    kMenuCopyWord = 5,
    kMenuCopyKana = 6,
    kMenuCopyMeanings = 7,
    kMenuCopyAll = 8,
    kMenuAddToStudyList = 20,
    kMenuRemove = 21,      // study list window only: as the Delete key
    kMenuUndoRemove = 22,  // study list window only: as Ctrl+Z
};

// How many removals Ctrl+Z can take back, the latest first.
inline constexpr size_t kUndoRemovals = 20;

class ResultWindow : public QFrame, public AccessibleTableSource {
    Q_OBJECT
public:
    // Loads the header items of this index from the options and lays out.
    ResultWindow(int index, ResultHost& host, Registry& options, const Resources& resources, QWidget* parent);
    ~ResultWindow() override;

    int index() const { return index_; }

    // Header items: the ones in use, and writing them back to the options (shutdown).
    const ResultHeaderItems& headerItems() const { return items_; }
    void SetHeaderItems(const ResultHeaderItems& items);
    void SaveHeaderItems();
    ResultHeaderBar* headerBar(int bar) const { return bars_[static_cast<size_t>(bar)]; }

    // Puts every item on its bar in display order and lays both bars out.
    void ArrangeHeaderItems();
    // Normalises the percentages and sizes the items of one bar.
    void LayoutHeaderBar(int bar, int width, int height);
    // The layout of a resize to the present client size, then a repaint.
    void Relayout();
    // After the list was replaced: sort, no anchor or current entry, scroll to the top, lay out, repaint.
    void SetUpForNewResults();
    // After a worker that may have filled the list: lays out and repaints,
    // unless the window was laid out empty and the list is still empty.
    void RelayoutAfterWorker();

    // A click on header item id as the bar showing it delivers it (sorting);
    // false when no bar shows the item.
    bool ClickHeaderItem(int id);
    // Opens "Result Window Header Bars" (modal).
    void OpenHeaderDialog();

    int EntryAtPoint(int y) const;
    void SelectEntry(int e, int flags);
    const SelectionState& selection() const { return selection_; }
    const VisibleRows& visibleRows() const { return rows_; }
    int entryHeight() const { return entryHeight_; }
    int rowHeight(int bar) const { return rowHeight_[static_cast<size_t>(bar)]; }
    // The entries area in widget coordinates.
    QRect entriesArea() const;
    int scrollPosition() const;
    // The open hover card's content and its window (nullptr when none is open).
    ResultHoverCard* hoverCard() const;
    HoverCardFrame* hoverFrame() const { return hover_; }
    // The mouse rests on a row and the card will open when the 700 ms are up.
    bool hoverPending() const { return hoverTimer_.isActive(); }

    // Acts on a context menu item for the current entry.
    void OnMenuCommand(int id);
    // The context menu as it is offered (items carry their id in data()).
    std::unique_ptr<QMenu> BuildContextMenu();
    // Shows a menu and returns the chosen id (0: none). Tests replace it.
    void SetMenuRunner(std::function<int(QMenu&, QPoint)> runner) { menuRunner_ = std::move(runner); }
    // Removes the selected entries (Delete, "Remove"), keeping them for Undo.
    void RemoveSelected();
    // Puts back what the latest removal took out (Ctrl+Z, "Undo Remove"); false when there is none.
    bool UndoRemove();
    size_t undoableRemovals() const { return removals_.size(); }
    // Forgets the laid-out cell texts (Relayout does it too).
    void ClearTextCache() { textCache_.Clear(); }

    // What a screen reader reads: a row per entry, its word, reading and meanings.
    int AccessibleRowCount() const override;
    QStringList AccessibleColumnNames() const override;
    QString AccessibleCellText(int row, int column) const override;
    bool AccessibleRowSelected(int row) const override;
    int AccessibleCurrentRow() const override { return selection_.current; }
    void AccessibleSelectRow(int row) override { SelectEntry(row, 0); }
    QRect AccessibleRowRect(int row) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    std::vector<dict::Entry>& list() { return host_.Results(index_); }
    // How the cells show their texts under the present options.
    RowTexts CurrentRowTexts() const;
    bool Busy() const { return host_.ThreadSearching() || host_.SearchLock(); }
    QRect ClientRect() const;
    // .\Results\CompactRows: one line per entry, and its cells.
    bool Compact() const;
    std::vector<RowCell> CompactCells(const QRect& area) const;
    // Point in client coordinates (the frame's contents, the scroll bar excluded).
    QPoint ToClient(QPointF widgetPoint) const;

    void OnItemClicked(int id);
    void OnItemMoved(int bar, int oldPlace, int newPlace);
    void OnDividerTracked(int bar, int id, int newWidth);
    void OnDividerDoubleClicked(int bar);
    void OnDialogChoice(int id, int bar);
    const QPixmap* ArrowFor(int id) const;

    int ReadableCount();
    void UpdateScrollBar();
    void OnScrolled(int value);
    void ScrollTo(int value);
    void ScrollBy(int lines);
    void PressAt(QPoint client, int flags);
    void EnterKey();
    void ShowHover();
    void CloseHover();
    int ModifierFlags(Qt::KeyboardModifiers modifiers) const;

    const int index_;
    ResultHost& host_;
    Registry& options_;
    const Resources& resources_;
    ResultHeaderItems items_{};
    std::array<ResultHeaderBar*, kBarCount> bars_{};
    QScrollBar* scroll_ = nullptr;

    SelectionState selection_;
    VisibleRows rows_;
    int laidOutCount_ = -1;  // the entries the last layout could read; -1 before the first
    int entryHeight_ = 1;
    std::array<int, kBarCount> rowHeight_{};
    // Removals Ctrl+Z can take back, the latest last. A list replaced as a
    // whole (a search, a loaded study list) forgets them.
    std::vector<Removal> removals_;
    int areaTop_ = 0;

    QTimer hoverTimer_;
    QPointer<HoverCardFrame> hover_;
    HoverCardWatch watch_;
    int hoverEntry_ = -1;
    QPoint hoverPos_;
    QPoint lastMouse_;
    int wheelRest_ = 0;

    std::function<int(QMenu&, QPoint)> menuRunner_;
    CellTextCache textCache_;
};

}  // namespace mirudex::ui
