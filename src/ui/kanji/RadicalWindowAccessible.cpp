// The radical lookup window as a screen reader reads it: each radical a
// check box named by the radical, described by its stroke count, checked
// when picked.

#include "ui/kanji/RadicalWindow.h"

namespace mirudex::ui {

QString RadicalWindow::AccessibleButtonName(int button) const
{
    if (button < 0 || button >= ctx_.radicals.count())
        return {};
    return QString(QChar(ctx_.radicals.records[static_cast<size_t>(button)].radical));
}

QString RadicalWindow::AccessibleButtonDescription(int button) const
{
    if (button < 0 || button >= ctx_.radicals.count())
        return {};
    const dict::RadicalRecord& r = ctx_.radicals.records[static_cast<size_t>(button)];
    return tr("Strokes: %1").arg(static_cast<int>(r.strokes));
}

bool RadicalWindow::AccessibleButtonChecked(int button) const
{
    return button >= 0 && button < ctx_.radicals.count() &&
           ctx_.radicals.records[static_cast<size_t>(button)].selected != 0;
}

void RadicalWindow::AccessibleToggleButton(int button)
{
    // A click without Ctrl: where Ctrl+click picks several, a plain one
    // keeps this radical alone.
    if (!Busy())
        Toggle(button, false);
}

QRect RadicalWindow::AccessibleButtonRect(int button) const
{
    if (!grid_.HasCells() || button < grid_.FirstIndex() || button > grid_.LastIndex())
        return {};
    return QRect(grid_.CellX(button), grid_.CellY(button), grid_.cell, grid_.cell);
}

}  // namespace mirudex::ui
