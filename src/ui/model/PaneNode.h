#pragma once
// The pane tree: the one layout engine of the main window. Each node is a leaf
// (optionally holding a pane window) or is split into two children, top and
// bottom or left and right, with a divider bar between them. Rectangles are
// position and size in the main window's client coordinates.
//
// Every operation answers 0 for success or a negative refusal code; a refused
// operation changes nothing. No Qt inside: windows are reached through
// PaneWindow, and the sizing cursor is reported to the caller.
//
// Threads: user-interface thread only.

#include <cstdint>
#include <memory>

namespace mirudex::ui {

struct PaneRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool Contains(int px, int py) const { return x <= px && px < x + width && y <= py && py < y + height; }
    bool IsEmpty() const { return width <= 0 || height <= 0; }
    friend bool operator==(const PaneRect&, const PaneRect&) = default;
};

// A window that a leaf places: moved to the rectangle (without changing its
// stacking order) and shown.
class PaneWindow {
public:
    virtual ~PaneWindow() = default;
    virtual void PlacePane(const PaneRect& rect) = 0;
};

enum class SplitKind : int { None = 0, TopBottom = 1, LeftRight = 2 };

// Sizing cursor a divider asks for.
enum class PaneCursor { None, NorthSouth, WestEast };

// Refusal codes.
inline constexpr int kPaneNotSplit = -100;     // unsplit of a leaf
inline constexpr int kPaneAlreadySplit = -99;  // split of a split node
inline constexpr int kPaneIsLeaf = -98;        // divider move on a leaf
inline constexpr int kPaneNoRoom = -97;        // the split or move does not fit
inline constexpr int kPaneNotLeaf = -96;       // window attached to a split node
inline constexpr int kPaneBadKind = -95;       // split kind outside 0..2

class PaneNode {
public:
    static constexpr std::int8_t kDefaultBar = 4;

    PaneNode() = default;
    PaneNode(const PaneNode&) = delete;
    PaneNode& operator=(const PaneNode&) = delete;

    // Stores the rectangle and lays out what is below: an attached window is
    // moved there; of two children the top or left one keeps its size (a top
    // child is cut to height - bar) and the other takes what remains. The size
    // kept is the one the split or the last divider move gave, so a top child
    // cut by a smaller rectangle gets its size back when the rectangle grows
    // again (a window shrunk and enlarged keeps its panes). A top/bottom node
    // told to keep its bottom child's height does the same the other way up:
    // the top child takes what the bottom one leaves.
    int SetPosition(int x, int y, int width, int height);
    // For a top/bottom split: which child keeps its height when the node's
    // rectangle changes (by default the top one). Kept across later splits.
    void KeepBottomHeight(bool keep);
    bool keepsBottomHeight() const { return keepBottom_; }
    // The height of the child kept (top or bottom) as the split or the last
    // divider move set it; 0 on a leaf.
    int keptSize() const { return IsLeaf() ? 0 : chosen_; }
    // Splits at position (height or width of child 0), or unsplits with None.
    int Split(SplitKind kind, int position);
    // Records the window of a leaf and places it (nullptr detaches).
    int AttachWindow(PaneWindow* window);
    // Moves the divider by delta pixels: the top/left part may shrink to zero,
    // the bottom/right part keeps at least one pixel.
    int MoveDivider(int delta);
    // The bar between the children; empty for a leaf.
    PaneRect DividerRect() const;
    // True when (px, py) is on this node's divider or one below; cursor (when
    // given) receives the sizing cursor of the divider hit.
    bool HitTestDividers(int px, int py, PaneCursor* cursor = nullptr) const;

    SplitKind kind() const { return kind_; }
    bool IsLeaf() const { return kind_ == SplitKind::None; }
    // Child 0 (top/left) or 1 (bottom/right); nullptr on a leaf.
    PaneNode* child(int index) { return children_[index].get(); }
    const PaneNode* child(int index) const { return children_[index].get(); }
    PaneWindow* window() const { return window_; }
    PaneRect rect() const { return rect_; }
    std::int8_t bar() const { return bar_; }

private:
    SplitKind kind_ = SplitKind::None;
    std::unique_ptr<PaneNode> children_[2];
    PaneWindow* window_ = nullptr;
    PaneRect rect_;
    std::int8_t bar_ = kDefaultBar;
    // Height or width of the child kept (child 0, or child 1 with keepBottom_)
    // as the split or the last divider move set it.
    int chosen_ = 0;
    bool keepBottom_ = false;
};

}  // namespace mirudex::ui
