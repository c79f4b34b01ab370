#include "ui/model/PaneNode.h"

#include <algorithm>

namespace mirudex::ui {

int PaneNode::SetPosition(int x, int y, int width, int height)
{
    rect_ = {x, y, width, height};
    if (window_) {
        window_->PlacePane(rect_);
        return 0;
    }
    if (kind_ == SplitKind::TopBottom) {
        int a = chosen_;
        if (keepBottom_) {
            // The bottom child keeps its height as long as there is room for it.
            a = height - bar_ - std::min(chosen_, std::max(0, height - bar_));
        } else if (height < a + bar_) {
            a = height - bar_;
        }
        children_[0]->SetPosition(x, y, width, a);
        children_[1]->SetPosition(x, y + a + bar_, width, height - a - bar_);
    } else if (kind_ == SplitKind::LeftRight) {
        const int a = children_[0]->rect_.width;
        children_[0]->SetPosition(x, y, a, height);
        children_[1]->SetPosition(x + a + bar_, y, width - a - bar_, height);
    }
    return 0;
}

int PaneNode::Split(SplitKind kind, int position)
{
    switch (kind) {
    case SplitKind::None:
        if (kind_ == SplitKind::None)
            return kPaneNotSplit;
        kind_ = SplitKind::None;
        children_[0].reset();
        children_[1].reset();
        return 0;
    case SplitKind::TopBottom:
    case SplitKind::LeftRight: break;
    default: return kPaneBadKind;
    }
    if (kind_ != SplitKind::None)
        return kPaneAlreadySplit;
    const PaneRect r = rect_;
    if (kind == SplitKind::TopBottom) {
        if (position + bar_ >= r.height)
            return kPaneNoRoom;
    } else if (position + bar_ >= r.width) {
        return kPaneNoRoom;
    }
    // A split node lays out its children; a window it held is no longer placed by it.
    window_ = nullptr;
    chosen_ = kind == SplitKind::TopBottom && keepBottom_ ? r.height - position - bar_ : position;
    children_[0] = std::make_unique<PaneNode>();
    children_[1] = std::make_unique<PaneNode>();
    kind_ = kind;
    if (kind == SplitKind::TopBottom) {
        children_[0]->rect_ = {r.x, r.y, r.width, position};
        children_[1]->rect_ = {r.x, r.y + position + bar_, r.width, r.height - position - bar_};
    } else {
        children_[0]->rect_ = {r.x, r.y, position, r.height};
        children_[1]->rect_ = {r.x + position + bar_, r.y, r.width - position - bar_, r.height};
    }
    return 0;
}

int PaneNode::AttachWindow(PaneWindow* window)
{
    if (kind_ != SplitKind::None)
        return kPaneNotLeaf;
    window_ = window;
    if (window_)
        window_->PlacePane(rect_);
    return 0;
}

int PaneNode::MoveDivider(int delta)
{
    if (kind_ == SplitKind::None)
        return kPaneIsLeaf;
    PaneRect c0 = children_[0]->rect_;
    PaneRect c1 = children_[1]->rect_;
    if (kind_ == SplitKind::TopBottom) {
        c0.height += delta;
        c1.y += delta;
        c1.height -= delta;
        if (c0.y + c0.height < rect_.y || c1.y >= rect_.y + rect_.height)
            return kPaneNoRoom;
    } else {
        c0.width += delta;
        c1.x += delta;
        c1.width -= delta;
        if (c0.x + c0.width < rect_.x || c1.x >= rect_.x + rect_.width)
            return kPaneNoRoom;
    }
    children_[0]->SetPosition(c0.x, c0.y, c0.width, c0.height);
    children_[1]->SetPosition(c1.x, c1.y, c1.width, c1.height);
    chosen_ = kind_ == SplitKind::TopBottom ? (keepBottom_ ? c1.height : c0.height) : c0.width;
    return 0;
}

void PaneNode::KeepBottomHeight(bool keep)
{
    if (keep == keepBottom_)
        return;
    keepBottom_ = keep;
    if (kind_ == SplitKind::TopBottom)
        chosen_ = keep ? children_[1]->rect_.height : children_[0]->rect_.height;
}

PaneRect PaneNode::DividerRect() const
{
    if (kind_ == SplitKind::None)
        return {};
    const PaneRect c0 = children_[0]->rect_;
    if (kind_ == SplitKind::TopBottom)
        return {c0.x, c0.y + c0.height, c0.width, bar_};
    return {c0.x + c0.width, c0.y, bar_, c0.height};
}

bool PaneNode::HitTestDividers(int px, int py, PaneCursor* cursor) const
{
    if (kind_ == SplitKind::None)
        return false;
    if (DividerRect().Contains(px, py)) {
        if (cursor)
            *cursor = kind_ == SplitKind::TopBottom ? PaneCursor::NorthSouth : PaneCursor::WestEast;
        return true;
    }
    return children_[0]->HitTestDividers(px, py, cursor) || children_[1]->HitTestDividers(px, py, cursor);
}

}  // namespace mirudex::ui
