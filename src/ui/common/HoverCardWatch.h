#pragma once
// Watches the program for as long as a pane's hover card is open and closes
// the card as soon as the mouse is no longer on the pane, whatever way it
// went: the pointer entering any other widget (a window that covers the pane,
// a pane the pointer crossed into while the leave notice was lost to a menu),
// a click or a wheel turn anywhere but on the pane, a pop-up menu opening,
// the pane's window losing activation, or the pane being hidden. The pointer
// may leave the pane for the card itself (crossing the narrow gap between the
// row and the card) and rest there: the card stays while the pointer is on its
// row, on the card or on that gap, and closes when it leaves the card for
// anywhere else.
//
// User-interface thread only.

#include <QObject>
#include <QPointer>
#include <QRect>
#include <functional>

class QWidget;

namespace mirudex::ui {

class HoverCardWatch : public QObject {
public:
    // close is called at most once per Start(), on the user-interface thread.
    HoverCardWatch(QWidget* pane, std::function<void()> close);
    ~HoverCardWatch() override;

    // A card was shown: watch the application until Stop() or until closing.
    // card is the card's window, row its row in screen coordinates.
    void Start(QWidget* card = nullptr, const QRect& row = {});
    void Stop();
    bool Watching() const { return watching_; }
    // Whether the card stays for the pointer at global (screen coordinates):
    // on the row, on the card or between them. Without a card, on the row.
    bool Keeps(QPoint global) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool OnPane(QObject* object) const;
    void Close();

    QPointer<QWidget> pane_;
    QPointer<QWidget> card_;
    QRect row_;
    std::function<void()> close_;
    bool watching_ = false;
};

}  // namespace mirudex::ui
