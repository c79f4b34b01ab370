#pragma once
// What a screen reader sees of the panes that draw their own content. A pane
// that shows a list of entries implements AccessibleTableSource and is read as
// a table of rows and cells; a pane of pickable cells (the radicals)
// implements AccessibleButtonSource and is read as a group of check boxes.
// The interfaces are made by one factory that InstallAccessiblePanes adds to
// Qt's accessibility; a pane calls it when it is made.
//
// Threads: user-interface thread only. A source answers from what the pane
// may read at the time: while a worker fills its list it reports no rows.

#include <QRect>
#include <QString>
#include <QStringList>

class QAccessibleEvent;
class QWidget;

namespace mirudex::ui {

class AccessibleTableSource {
public:
    virtual ~AccessibleTableSource() = default;
    // The rows the pane can be read at now (0 while its list is being filled).
    virtual int AccessibleRowCount() const = 0;
    virtual QStringList AccessibleColumnNames() const = 0;
    virtual QString AccessibleCellText(int row, int column) const = 0;
    virtual bool AccessibleRowSelected(int row) const = 0;
    // The row the keyboard acts on, -1 when none.
    virtual int AccessibleCurrentRow() const = 0;
    // Makes row the only selected and the current one, as a plain click does.
    virtual void AccessibleSelectRow(int row) = 0;
    // Where the row is drawn, in the pane's coordinates; empty when scrolled away.
    virtual QRect AccessibleRowRect(int row) const = 0;
};

class AccessibleButtonSource {
public:
    virtual ~AccessibleButtonSource() = default;
    virtual int AccessibleButtonCount() const = 0;
    virtual QString AccessibleButtonName(int button) const = 0;
    virtual QString AccessibleButtonDescription(int button) const = 0;
    virtual bool AccessibleButtonChecked(int button) const = 0;
    // False while the buttons cannot be used (a worker is running).
    virtual bool AccessibleButtonEnabled(int button) const = 0;
    // Picks or drops the button, as a click on it does.
    virtual void AccessibleToggleButton(int button) = 0;
    // Where the button is drawn, in the pane's coordinates; empty when scrolled away.
    virtual QRect AccessibleButtonRect(int button) const = 0;
};

// Adds the factory of the panes' interfaces to Qt's accessibility (once).
void InstallAccessiblePanes();

// Where the notices below go: to Qt's accessibility (and so to the screen
// reader), and nowhere while accessibility is off. A test may take them
// instead, on a platform without a screen reader; nullptr gives them back to
// Qt. Returns the sink it replaces.
using AccessibleEventSink = void (*)(QAccessibleEvent* event);
AccessibleEventSink SetAccessibleEventSink(AccessibleEventSink sink);

// Tells a screen reader that the pane's rows (or buttons) were replaced: the
// cells it knew are forgotten and read again.
void NotifyAccessibleReset(QWidget* pane);
// Tells it which row became current (focus when the pane has the keyboard)
// and that the selection changed.
void NotifyAccessibleCurrentRow(QWidget* pane, int row);
// Tells it that a button was picked or dropped.
void NotifyAccessibleButtonState(QWidget* pane, int button);
// Announces the message a label now shows (a label without a name of its own
// is named by its text): its name change, and an alert from its status bar.
void AnnounceAccessibleMessage(QWidget* label, QWidget* statusBar);

}  // namespace mirudex::ui
