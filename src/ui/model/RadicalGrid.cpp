#include "ui/model/RadicalGrid.h"

#include <algorithm>

namespace mirudex::ui {

void RadicalGrid::Resize(int lineHeight, int clientWidth, int clientHeight)
{
    cell = lineHeight + 2 * kMargin;
    columns = cell > 0 ? std::max(clientWidth, 0) / cell : 0;
    visibleRows = cell > 0 ? std::max(clientHeight, 0) / cell + 1 : 0;
}

int RadicalGrid::LastIndex() const
{
    if (!HasCells())
        return FirstIndex() - 1;
    return FirstIndex() + std::min(visibleRows * columns, count - FirstIndex() - 1);
}

int RadicalGrid::CellX(int j) const { return HasCells() ? (j - FirstIndex()) % columns * cell : 0; }

int RadicalGrid::CellY(int j) const { return HasCells() ? (j - FirstIndex()) / columns * cell : 0; }

int RadicalGrid::IndexAt(int x, int y) const
{
    if (!HasCells() || x < 0 || y < 0)
        return -1;
    return x / cell + columns * (y / cell + firstRow);
}

int RadicalGrid::ScrollMaximum() const
{
    if (!HasCells())
        return 0;
    return std::max(0, RangeMax() - std::max(visibleRows - 1, 0));
}

}  // namespace mirudex::ui
