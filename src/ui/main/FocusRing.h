#pragma once
// A frame drawn around the pane that has the keyboard focus. The panes draw
// their own content and no focus of their own; the ring lies over the focused
// one (it takes no clicks) and follows it as it moves, resizes or hides.
// User-interface thread only.

#include <QPointer>
#include <QWidget>
#include <vector>

namespace mirudex::ui {

class FocusRing : public QWidget {
    Q_OBJECT
public:
    // Watches the keyboard focus for these panes, all children of parent.
    FocusRing(const std::vector<QWidget*>& panes, QWidget* parent);

    // The pane the ring is drawn around, or nullptr.
    QWidget* target() const { return target_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FocusChanged(QWidget* now);
    void Follow();

    std::vector<QPointer<QWidget>> panes_;
    QPointer<QWidget> target_;
};

}  // namespace mirudex::ui
