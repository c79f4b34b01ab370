#pragma once
// The window a pane's hover card is shown in: a frameless pop-up that never
// takes the focus or activates, holding the card's content at its full size.
// Placed and sized by the pane to fit the screen; content taller than the
// window scrolls inside it (wheel or scroll bar), so the pointer can move onto
// the card and read all of it.
//
// User-interface thread only.

#include <QPointer>
#include <QScrollArea>

#include "ui/model/HoverCardPlace.h"

namespace mirudex::ui {

class HoverCardFrame : public QScrollArea {
    Q_OBJECT
public:
    // Takes the content (sized already); the window carries its object name
    // and title. owner is the pane: the card closes with it.
    HoverCardFrame(QWidget* content, QWidget* owner);

    QWidget* content() const { return content_; }
    // The width a vertical scroll bar takes.
    int ScrollBarWidth() const;
    // Moves and sizes the window; a scroll bar appears when the content is taller.
    void Place(const ScreenRect& rect);
    // Whether part of the content lies below the window's bottom edge.
    bool Scrolls() const;

private:
    QPointer<QWidget> content_;
};

}  // namespace mirudex::ui
