// The result window as a screen reader reads it: a table with a row per entry
// of the list and the columns word, reading and meanings, the texts the rows
// show (the reading in romaji when the rows show romaji), the meanings all
// of them even where a compact row shows only the first sense.

#include "ui/results/ResultWindow.h"

#include <iterator>

#include "platform/qt/QtText.h"

namespace mirudex::ui {

namespace {

constexpr int kColumnItems[] = {kItemWord, kItemKana, kItemMeaning};

}  // namespace

int ResultWindow::AccessibleRowCount() const
{
    // Only a running worker fills the list: until it hands it over, the
    // window reads nothing of it, not even its size.
    return host_.ThreadSearching() ? 0 : static_cast<int>(host_.Results(index_).size());
}

QStringList ResultWindow::AccessibleColumnNames() const { return {tr("Word"), tr("Reading"), tr("Meanings")}; }

QString ResultWindow::AccessibleCellText(int row, int column) const
{
    if (row < 0 || row >= AccessibleRowCount() || column < 0 || column >= static_cast<int>(std::size(kColumnItems)))
        return {};
    return Q(CellText(host_.Results(index_)[static_cast<size_t>(row)], kColumnItems[column], CurrentRowTexts()));
}

bool ResultWindow::AccessibleRowSelected(int row) const
{
    return row >= 0 && row < AccessibleRowCount() && host_.Results(index_)[static_cast<size_t>(row)].selected;
}

QRect ResultWindow::AccessibleRowRect(int row) const
{
    if (row < rows_.first || row > rows_.last || row >= AccessibleRowCount())
        return {};
    const QRect area = entriesArea();
    return QRect(area.left(), area.top() + (row - rows_.first) * entryHeight_, area.width(), entryHeight_);
}

}  // namespace mirudex::ui
