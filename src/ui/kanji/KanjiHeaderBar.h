#pragma once
// One header bar of the kanji window: button-style items laid out from whole
// percentages of the bar's width, each with its text and an optional sort
// arrow right of the text (an item too narrow for both cuts its text short,
// never the arrow). Dragging an item's right edge asks the owner for a
// tracking step; pressing and releasing on one item is a click. The owner
// decides what a step or a click does (KanjiWindow).
//
// User-interface thread only.

#include <QPixmap>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "ui/model/KanjiWindowLayout.h"

namespace mirudex::ui {

class KanjiHeaderBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kInitialWidth = 100;
    static constexpr int kInitialHeight = 16;
    // Half-width of the zone around an item's right edge that starts tracking.
    static constexpr int kGrip = 3;

    // id is the control id (objectName); texts and percents give the items.
    KanjiHeaderBar(int id, const std::vector<QString>& texts, const std::vector<int>& percents, QWidget* parent);

    int id() const { return id_; }
    int count() const { return static_cast<int>(texts_.size()); }
    KanjiHeaderItems& items() { return items_; }
    const KanjiHeaderItems& items() const { return items_; }
    int ItemLeft(int item) const;
    int ItemWidth(int item) const { return items_.widths[item]; }
    int Percent(int item) const { return items_.percents[item]; }
    QString Text(int item) const { return texts_[item]; }

    // Lays the items out to total pixels and sizes the bar to it, as tall as
    // its font asks (PreferredHeight).
    void LayOut(int total);
    // 16 pixels, or the font's height and a little room when that is more.
    int PreferredHeight() const;

    void SetArrow(int item, const QPixmap& arrow);
    void ClearArrow(int item);
    bool HasArrow(int item) const { return !arrows_[item].isNull(); }
    const QPixmap& Arrow(int item) const { return arrows_[item]; }

    // What the owner does: begin tracking (false refuses it), one step with
    // the proposed width, the end of tracking, and an item click.
    std::function<bool(int item)> onBeginTrack;
    std::function<void(int item, int proposedWidth)> onTrack;
    std::function<void(int item)> onEndTrack;
    std::function<void(int item)> onItemClick;

    // The item whose right edge is within kGrip of x, or -1.
    int GripAt(int x) const;
    int ItemAt(int x) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int id_;
    std::vector<QString> texts_;
    std::vector<QPixmap> arrows_;
    KanjiHeaderItems items_;
    int tracking_ = -1;
    int pressed_ = -1;
};

}  // namespace mirudex::ui
