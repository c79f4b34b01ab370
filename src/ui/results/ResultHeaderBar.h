#pragma once
// One header bar of a result window (control 1311 on top, 1321 below): button
// items with a label and an optional sort arrow at the right. The user
// clicks an item (sorting), drags it to another place, drags the divider at
// its right edge to resize it, double-clicks a divider or right-clicks the
// bar. The bar only reports these; the result window changes the header items
// and lays the bar out again.

#include <QFont>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

namespace mirudex::ui {

class ResultHeaderBar : public QWidget {
    Q_OBJECT
public:
    struct Item {
        int id = 0;
        QString label;
        int width = 0;
    };
    // The sort arrow to show at the right of item id, or nullptr; asked at every paint.
    using ArrowSource = std::function<const QPixmap*(int id)>;

    ResultHeaderBar(int controlId, const QFont& font, QWidget* parent);

    int controlId() const { return controlId_; }
    // The height a bar needs for its font.
    int PreferredHeight() const;

    // Items in display order.
    void SetItems(std::vector<Item> items);
    void SetArrowSource(ArrowSource source) { arrows_ = std::move(source); }
    const std::vector<Item>& items() const { return items_; }
    // Left and right edge of item id in bar coordinates; false when it is not on the bar.
    bool ItemRect(int id, int& left, int& right) const;
    // The place in display order of item id, or -1.
    int PlaceOf(int id) const;

    // Ends a divider drag: the rest of the drag is ignored.
    void StopTracking()
    {
        tracking_ = -1;
        stopped_ = true;
    }

signals:
    void itemClicked(int id);
    void itemMoved(int oldPlace, int newPlace);
    // The divider right of item id dragged so that the item is newWidth wide.
    void dividerTracked(int id, int newWidth);
    void dividerReleased();
    void dividerDoubleClicked();
    void rightClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // The item whose right edge is within reach of x, or -1.
    int DividerAt(int x) const;
    // The place of the item under x (clamped to the items).
    int PlaceAt(int x) const;

    int controlId_;
    std::vector<Item> items_;
    ArrowSource arrows_;
    int tracking_ = -1;      // place of the item whose divider is dragged
    bool stopped_ = false;   // tracking refused until the button is released
    int pressedPlace_ = -1;  // item pressed for a click or a drag
    int pressX_ = 0;
    bool dragging_ = false;
    int dropPlace_ = -1;
};

}  // namespace mirudex::ui
