#pragma once
// Sees ESC anywhere in the program while a wait loop runs: install it on the
// application for the length of the wait and read `pressed` after each round.
// The key is eaten so no window acts on it as well. User-interface thread only.

#include <QEvent>
#include <QKeyEvent>
#include <QObject>

namespace mirudex::ui {

class EscapeFilter : public QObject {
public:
    bool pressed = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            pressed = true;
            return true;
        }
        return false;
    }
};

}  // namespace mirudex::ui
