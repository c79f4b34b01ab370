#pragma once
// Watches the program for as long as a pane's hover card is open and closes
// the card as soon as the mouse is no longer on the pane, whatever way it
// went: the pointer entering any other widget (a window that covers the pane,
// a pane the pointer crossed into while the leave notice was lost to a menu),
// a click or a wheel turn anywhere but on the pane, a pop-up menu opening,
// the pane's window losing activation, or the pane being hidden. The pane's
// own leave notice closes the card as well.
//
// User-interface thread only.

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace mirudex::ui {

class HoverCardWatch : public QObject {
public:
    // close is called at most once per Start(), on the user-interface thread.
    HoverCardWatch(QWidget* pane, std::function<void()> close);
    ~HoverCardWatch() override;

    // A card was shown: watch the application until Stop() or until closing.
    void Start();
    void Stop();
    bool Watching() const { return watching_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool OnPane(QObject* object) const;
    void Close();

    QPointer<QWidget> pane_;
    std::function<void()> close_;
    bool watching_ = false;
};

}  // namespace mirudex::ui
