#pragma once
// The main window's client area: the status bar along the bottom and the five
// panes laid out by the pane tree above it, with the dividers between them
// dragged by the mouse.
//
// Tree shape: root top/bottom (search pane above); its child 1 left/right:
// the kanji column (kanji window, or kanji over radical lookup) and the result
// column (result window, or result over study list).

#include <QWidget>

#include "ui/main/Panes.h"
#include "ui/model/PaneNode.h"

namespace mirudex::ui {

class StatusBar;

enum class PaneId { Search, Result, StudyList, Kanji, Radical };

// Which divider a drag moves.
enum class DragState { None = 0, Top = 1, Columns = 2, KanjiColumn = 3, ResultColumn = 4 };

class ClientArea : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDefaultTopDivider = 145;
    static constexpr int kDefaultBottomDivider = 220;

    // Makes the status bar and the panes (logging each), sized for a first
    // client area of width by height.
    ClientArea(PaneFactory& factory, int width, int height, QWidget* parent);

    // Checks the saved divider positions (with the warning) and builds the tree.
    void BuildLayout(bool rememberSize, int savedTop, int savedBottom);

    StatusBar* statusBar() const { return statusBar_; }
    QWidget* pane(PaneId id) const { return panes_[static_cast<int>(id)].widget(); }
    PaneNode& root() { return root_; }
    PaneNode* kanjiColumn();
    PaneNode* resultColumn();
    const PaneNode* kanjiColumn() const;
    const PaneNode* resultColumn() const;
    // Height of the usable area (client less status bar and one pixel).
    int usableHeight() const { return usableHeight_; }

    // Shows or hides the radical lookup pane under the kanji window, or the
    // study list under the result window. False when the column is too low to split.
    bool ShowLowerPane(PaneId lower, bool show);
    bool lowerPaneShown(PaneId lower) const;
    // Height of a shown lower pane (study list or radical lookup), -1 when it
    // is hidden. The pane keeps it when the window grows or shrinks: the
    // result window and the kanji window take the difference.
    int LowerPaneHeight(PaneId lower) const;
    // Moves the divider above a shown lower pane so that the pane is height
    // high; false (nothing changed) when it is hidden or the column has no
    // room for that height.
    bool SetLowerPaneHeight(PaneId lower, int height);

    // The values saved at exit: top pane height and kanji column width.
    int TopDivider() const;
    int BottomDivider() const;
    DragState dragState() const { return drag_; }

    // Lays out for a new client size (skipped while minimised).
    void Relayout(bool minimised);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void EndDrag(bool release);
    static bool OnDivider(const PaneNode* node, int x, int y);

    StatusBar* statusBar_;
    WidgetPane panes_[5];
    PaneNode root_;
    int usableHeight_ = 0;
    bool radicalShown_ = false;
    bool studyListShown_ = false;
    bool built_ = false;
    DragState drag_ = DragState::None;
    QPoint last_;
};

}  // namespace mirudex::ui
