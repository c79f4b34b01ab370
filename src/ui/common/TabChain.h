#pragma once
// The order Tab visits a window's controls. The panes draw their own content
// and take Tab as a key; they pass it on with NextTabStop, so that the whole
// window forms one chain set by SetTabChain. User-interface thread only.

#include <QWidget>
#include <vector>

namespace mirudex::ui {

// Tab (forward) or Shift+Tab from `from`: the next control along the window's
// focus chain that takes Tab and is shown and enabled; nullptr when `from` is
// the only one.
inline QWidget* NextTabStop(QWidget* from, bool forward)
{
    QWidget* w = from;
    for (;;) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == from)
            return nullptr;
        if (w->window() == from->window() && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(from->window()) &&
            w->isEnabled() && !w->focusProxy())
            return w;
    }
}

// Orders the controls (nullptr entries are left out) one after the other in
// their window's chain; hidden ones are passed over when Tab is pressed.
inline void SetTabChain(const std::vector<QWidget*>& controls)
{
    QWidget* previous = nullptr;
    for (QWidget* w : controls) {
        if (!w)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

}  // namespace mirudex::ui
