#include "ui/common/HoverCardFrame.h"

#include <QScrollBar>
#include <QStyle>

namespace mirudex::ui {

HoverCardFrame::HoverCardFrame(QWidget* content, QWidget* owner) : QScrollArea(owner), content_(content)
{
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWidgetResizable(false);
    if (content) {
        setObjectName(content->objectName());
        setWindowTitle(content->windowTitle());
        const QSize size = content->size();
        setWidget(content);  // keeps the content's own size
        content->resize(size);
        resize(size);
    }
    // Wheel steps of a few lines, whatever the content's fonts.
    verticalScrollBar()->setSingleStep(20);
}

int HoverCardFrame::ScrollBarWidth() const { return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this); }

void HoverCardFrame::Place(const ScreenRect& rect) { setGeometry(rect.x, rect.y, rect.w, rect.h); }

bool HoverCardFrame::Scrolls() const { return content_ && content_->height() > viewport()->height(); }

}  // namespace mirudex::ui
