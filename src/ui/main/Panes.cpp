#include "ui/main/Panes.h"

#include <QPainter>
#include <algorithm>

namespace mirudex::ui {

StandInPane::StandInPane(const QString& name, QWidget* parent) : QWidget(parent)
{
    setObjectName(name);
    setWindowTitle(QStringLiteral("(%1)").arg(name));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, name == QLatin1String("RadicalLookup") ? QColor(128, 128, 128) : Qt::white);
    setPalette(pal);
}

void StandInPane::OnCommand(int id) { received_.push_back({id, romaji_, text_}); }

void StandInPane::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QColor(160, 160, 160));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.drawText(rect(), Qt::AlignCenter, windowTitle());
}

QWidget* PaneFactory::CreateSearchWindow(QWidget* parent)
{
    return new StandInPane(QStringLiteral("SearchWindow"), parent);
}

QWidget* PaneFactory::CreateResultWindow(int slot, QWidget* parent)
{
    auto* pane = new StandInPane(QStringLiteral("ResultWindow"), parent);
    pane->setProperty("slot", slot);
    return pane;
}

QWidget* PaneFactory::CreateKanjiWindow(QWidget* parent)
{
    return new StandInPane(QStringLiteral("KanjiWindow"), parent);
}

QWidget* PaneFactory::CreateRadicalLookupWindow(QWidget* parent)
{
    return new StandInPane(QStringLiteral("RadicalLookup"), parent);
}

SearchPaneControl* PaneFactory::SearchControl(QWidget* searchWindow)
{
    return dynamic_cast<SearchPaneControl*>(searchWindow);
}

void WidgetPane::PlacePane(const PaneRect& rect)
{
    if (!widget_)
        return;
    widget_->setGeometry(rect.x, rect.y, std::max(0, rect.width), std::max(0, rect.height));
    widget_->show();
}

}  // namespace mirudex::ui
