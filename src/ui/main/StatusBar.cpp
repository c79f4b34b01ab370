#include "ui/main/StatusBar.h"

#include <QCoreApplication>
#include <QResizeEvent>

#include "ui/common/AccessiblePanes.h"

namespace mirudex::ui {

StatusBar::StatusBar(QWidget* parent) : QWidget(parent)
{
    // Before anything that Qt may announce: a pane asked for early keeps the interface it got.
    InstallAccessiblePanes();
    setObjectName(QStringLiteral("100"));
    setAccessibleName(QCoreApplication::translate("Mirudex", "Status"));
    setWindowTitle(QStringLiteral("StatusBar"));
    for (int i = 0; i < 2; ++i) {
        parts_[i] = new QLabel(this);
        parts_[i]->setObjectName(QStringLiteral("part%1").arg(i));
        parts_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        parts_[i]->setTextFormat(Qt::PlainText);
        parts_[i]->setMargin(1);
    }
    // A label without a name of its own is named by its text: what a screen
    // reader says when a message comes.
    parts_[0]->setAccessibleDescription(tr("Messages"));
    parts_[1]->setAccessibleDescription(tr("Input method"));
    setFixedHeight(fontMetrics().height() + 8);
}

void StatusBar::SetText(int part, const QString& text)
{
    if (part != 0 && part != 1)
        return;
    parts_[part]->setText(text);
    // Messages are announced, also one that repeats the last (a second
    // search that found nothing again).
    if (part == 0 && !text.isEmpty())
        AnnounceAccessibleMessage(parts_[0], this);
}

QString StatusBar::Text(int part) const { return (part == 0 || part == 1) ? parts_[part]->text() : QString(); }

void StatusBar::SetParts(int clientWidth)
{
    const int first = static_cast<int>(clientWidth * 0.9);
    parts_[0]->setGeometry(0, 1, first, height() - 1);
    parts_[1]->setGeometry(first, 1, std::max(0, clientWidth - first), height() - 1);
}

int StatusBar::PartRight(int part) const { return parts_[part]->geometry().right() + 1; }

void StatusBar::resizeEvent(QResizeEvent* event) { SetParts(event->size().width()); }

}  // namespace mirudex::ui
