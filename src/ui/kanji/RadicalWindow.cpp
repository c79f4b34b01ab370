#include "ui/kanji/RadicalWindow.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

#include "core/DebugLog.h"
#include "core/Format.h"
#include "core/Registry.h"
#include "platform/api/Platform.h"
#include "search/AppState.h"
#include "search/KanjiSearch.h"
#include "ui/kanji/KanjiWindow.h"

namespace mirudex::ui {

RadicalWindowContext RadicalContextFromState(search::AppState& state, const Resources& resources)
{
    return RadicalWindowContext{state.options, resources, state.store.radical_table,
                                [&state] { return state.thread_searching.load(); },
                                [&state] { return state.SEARCH_LOCK; }};
}

void ConnectRadicalSearch(RadicalWindow& radicals, search::AppState& state, KanjiWindow& kanji)
{
    radicals.radicalSearch = [&state, &kanji] {
        search::RadicalSearch(state);
        kanji.SetUpForNewResults();
    };
}

RadicalWindow::RadicalWindow(RadicalWindowContext context, QWidget* parent) : QWidget(parent), ctx_(context)
{
    // Before anything that Qt may announce: a pane asked for early keeps the interface it got.
    InstallAccessiblePanes();
    setObjectName(QStringLiteral("RadicalLookup"));
    setWindowTitle(QStringLiteral("(RadicalLookup)"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    resize(100, 100);
    dlog::Write(u"RadicalLookup Window: WM_CREATE:\n");
    MakeFont();
    dlog::Write(u"END: RadicalLookup Window: WM_CREATE\n");

    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setObjectName(QStringLiteral("RadicalLookupScrollBar"));
    scrollBar_->setSingleStep(1);
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (value != grid_.firstRow) {
            grid_.firstRow = value;
            update();
        }
    });
    runMenu = [](QMenu& menu, const QPoint& pos) { return menu.exec(pos); };
    Relayout();
}

bool RadicalWindow::Busy() const { return ctx_.thread_searching() || ctx_.search_lock(); }

int RadicalWindow::ClientWidth() const { return width() - scrollBar_->width(); }

void RadicalWindow::MakeFont()
{
    const std::string face = ctx_.options.GetString(opt::kanji::fonts::kanji::kFont);
    font_ = ui::MakeFont(QString::fromLatin1(face.data(), static_cast<qsizetype>(face.size())), 12, 96);
    font_.setPixelSize(fontSize_);
}

void RadicalWindow::ReloadFont()
{
    MakeFont();
    Relayout();
}

void RadicalWindow::Relayout()
{
    const int sbWidth = scrollBar_->sizeHint().width();
    scrollBar_->setGeometry(width() - sbWidth, 0, sbWidth, height());
    grid_.count = ctx_.radicals.count();
    grid_.Resize(QFontMetrics(font_).lineSpacing(), ClientWidth(), height());
    const QSignalBlocker block(scrollBar_);
    scrollBar_->setPageStep(std::max(grid_.visibleRows, 1));
    scrollBar_->setRange(0, grid_.ScrollMaximum());
    grid_.firstRow = scrollBar_->value();
    update();
}

void RadicalWindow::resizeEvent(QResizeEvent*) { Relayout(); }

void RadicalWindow::ChangeFontSize(int delta)
{
    if (delta < 0 && fontSize_ <= kMinFontSize)
        delta = 0;
    fontSize_ += delta;
    MakeFont();
    Relayout();
}

void RadicalWindow::ScrollTo(int row) { scrollBar_->setValue(row); }

void RadicalWindow::UpdateCell(int j)
{
    if (j < grid_.FirstIndex() || j > grid_.LastIndex() || !grid_.HasCells())
        return;
    update(grid_.CellX(j), grid_.CellY(j), grid_.cell, grid_.cell);
}

void RadicalWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const KanjiColors& c = ctx_.resources.kanji;
    p.fillRect(0, 0, ClientWidth(), height(), c.bg1);
    if (!grid_.HasCells())
        return;
    p.setFont(font_);
    const int cell = grid_.cell;
    constexpr int m = RadicalGrid::kMargin;
    for (int j = grid_.FirstIndex(); j <= grid_.LastIndex(); ++j) {
        const dict::RadicalRecord& r = ctx_.radicals.records[j];
        QColor bg = c.bg1, text = c.kanji, pen = Complement(c.bg1);
        if (r.selected) {
            bg = Complement(bg);
            text = Complement(text);
            pen = Complement(pen);
        }
        const int x = grid_.CellX(j);
        const int y = grid_.CellY(j);
        p.fillRect(x, y, cell, cell, bg);
        if (j == hovered_) {
            p.setPen(QPen(pen, 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(x, y, cell - 1, cell - 1);
        }
        p.setPen(text);
        p.drawText(QRect(x + m, y + m, cell - m, cell - m), Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                   QString(QChar(r.radical)));
    }
}

void RadicalWindow::mouseMoveEvent(QMouseEvent* event)
{
    setCursor(ctx_.resources.cursor_arrow);
    if (!hasFocus() && !ctx_.options.GetBOOL(opt::search::kAlwaysSearchFocus))
        setFocus(Qt::MouseFocusReason);
    if (Busy() || !grid_.HasCells())
        return;
    const QPoint pos = event->position().toPoint();
    const int index = grid_.IndexAt(pos.x(), pos.y());
    if (index == hovered_)
        return;
    UpdateCell(hovered_);
    if (index >= 0 && index < ctx_.radicals.count()) {
        hovered_ = index;
        UpdateCell(index);
        const dict::RadicalRecord& r = ctx_.radicals.records[index];
        platform::Get().SetStatusText(0, Format(u"(Radical Info) :: %c :: Strokes: %i :: %s", r.radical,
                                                static_cast<int>(r.strokes), r.remainder));
    } else {
        hovered_ = -1;
    }
}

void RadicalWindow::leaveEvent(QEvent*)
{
    UpdateCell(hovered_);
    hovered_ = -1;
}

void RadicalWindow::RunSearch()
{
    if (radicalSearch)
        radicalSearch();
}

void RadicalWindow::Click(const QPoint& pos, bool ctrl) { Toggle(grid_.IndexAt(pos.x(), pos.y()), ctrl); }

void RadicalWindow::Toggle(int index, bool ctrl)
{
    if (index < 0 || index >= ctx_.radicals.count())
        return;
    auto& records = ctx_.radicals.records;
    if (ctx_.options.GetBOOL(opt::radical_lookup::kCtrlClick) && !ctrl) {
        for (int j = 0; j < static_cast<int>(records.size()); ++j) {
            if (records[j].selected) {
                records[j].selected = 0;
                UpdateCell(j);
                NotifyAccessibleButtonState(this, j);
            }
        }
        records[index].selected = 1;
    } else {
        records[index].selected = records[index].selected ? 0 : 1;
    }
    UpdateCell(index);
    NotifyAccessibleButtonState(this, index);
    RunSearch();
}

void RadicalWindow::mousePressEvent(QMouseEvent* event)
{
    if (Busy() || !grid_.HasCells())
        return;
    const QPoint pos = event->position().toPoint();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (event->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        Click(pos, ctrl);
    } else if (event->button() == Qt::RightButton) {
        QMenu menu(this);
        menu.addAction(QCoreApplication::translate("Mirudex", "-Search for kanji-"))->setData(kMenuSearch);
        menu.addSeparator();
        menu.addAction(QCoreApplication::translate("Mirudex", "Toggle his radical"))->setData(kMenuToggle);
        menu.addSeparator();
        menu.addAction(QCoreApplication::translate("Mirudex", "(Clear radicals)"))->setData(kMenuClear);
        QAction* chosen = runMenu ? runMenu(menu, event->globalPosition().toPoint()) : nullptr;
        if (chosen)
            OnMenuCommand(chosen->data().toInt(), pos, ctrl);
    }
}

void RadicalWindow::OnMenuCommand(int id, const QPoint& pos, bool ctrl)
{
    if (Busy())
        return;
    switch (id) {
    case kMenuSearch: RunSearch(); break;
    case kMenuToggle: Click(pos, ctrl); break;
    case kMenuClear:
        for (auto& r : ctx_.radicals.records)
            r.selected = 0;
        RunSearch();
        update();
        NotifyAccessibleReset(this);
        break;
    default: break;
    }
}

void RadicalWindow::keyPressEvent(QKeyEvent* event)
{
    const int row = scrollBar_->value();
    switch (event->key()) {
    case Qt::Key_PageUp: ScrollTo(row - grid_.visibleRows); break;
    case Qt::Key_PageDown: ScrollTo(row + grid_.visibleRows); break;
    case Qt::Key_Home: ScrollTo(scrollBar_->minimum()); break;
    case Qt::Key_End: ScrollTo(scrollBar_->maximum()); break;
    case Qt::Key_Up: ScrollTo(row - 1); break;
    case Qt::Key_Down: ScrollTo(row + 1); break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: ChangeFontSize(+1); break;
    case Qt::Key_Minus: ChangeFontSize(-1); break;
    default: QWidget::keyPressEvent(event); break;
    }
}

void RadicalWindow::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0)
        return;
    if (event->modifiers() & Qt::ControlModifier)
        ChangeFontSize(delta > 0 ? +1 : -1);
    else
        ScrollTo(scrollBar_->value() + (delta < 0 ? 1 : -1));
}

}  // namespace mirudex::ui
