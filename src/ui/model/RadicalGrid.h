#pragma once
// Cell arithmetic of the radical lookup window, free of Qt: square cells in
// rows of `columns`, scrolled by whole rows. A client narrower than one cell
// has no columns; the grid then has no cells and no point maps to a radical.

namespace mirudex::ui {

struct RadicalGrid {
    static constexpr int kMargin = 3;

    int cell = 0;
    int columns = 0;
    int visibleRows = 0;
    int firstRow = 0;
    int count = 0;  // radicals in the table

    // Cell size from the font's line height; columns and rows from the client size.
    void Resize(int lineHeight, int clientWidth, int clientHeight);
    bool HasCells() const { return columns > 0 && cell > 0; }
    int FirstIndex() const { return firstRow * columns; }
    // Last index drawn (inclusive).
    int LastIndex() const;
    // Top-left pixel of index j's cell (j between the first and the last index).
    int CellX(int j) const;
    int CellY(int j) const;
    // The index at a client point; a point right of the last full column maps
    // to the first cell of the next row. -1 when the grid has no cells. The
    // result may be at or beyond count.
    int IndexAt(int x, int y) const;
    // Scroll range end (count / columns + 1) and the highest row position.
    int RangeMax() const { return columns > 0 ? count / columns + 1 : 0; }
    int ScrollMaximum() const;
};

}  // namespace mirudex::ui
