#include "ui/kanji/KanjiWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

#include "core/DebugLog.h"
#include "core/Registry.h"
#include "platform/api/Platform.h"
#include "platform/qt/QtText.h"
#include "search/AppState.h"
#include "ui/kanji/KanjiHeaderBar.h"
#include "ui/kanji/KanjiHoverCard.h"
#include "ui/model/HoverCardPlace.h"

namespace mirudex::ui {

namespace {

std::vector<int> ReadPercents(Registry& options, std::string_view headerWindowKey, int count)
{
    std::vector<int> out;
    for (int i = 0; i < count; ++i)
        out.push_back(options.GetINT(opt::kanji::header_window::Header(headerWindowKey, i)));
    return out;
}

constexpr int kTextFlags = Qt::TextSingleLine | Qt::AlignTop;

}  // namespace

KanjiWindowContext KanjiContextFromState(search::AppState& state, const Resources& resources)
{
    return KanjiWindowContext{state.options,
                              resources,
                              state.kanji_results,
                              state.kanji_sort,
                              state.store.radical_table,
                              [&state] { return state.thread_searching.load(); },
                              [&state] { return state.SEARCH_LOCK; }};
}

KanjiWindow::KanjiWindow(KanjiWindowContext context, QWidget* parent)
    : QWidget(parent), ctx_(context), watch_(this, [this] { DestroyCard(); })
{
    // Before anything that Qt may announce: a pane asked for early keeps the interface it got.
    InstallAccessiblePanes();
    setObjectName(QStringLiteral("KanjiWindow"));
    setWindowTitle(QStringLiteral("(KanjiWindow)"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    resize(100, 100);
    dlog::Write(u"Kanji Window: WM_CREATE:\n");

    header1_ = new KanjiHeaderBar(
        kId1,
        {QCoreApplication::translate("Mirudex", "Kanji"), QCoreApplication::translate("Mirudex", "On"),
         QCoreApplication::translate("Mirudex", "Kun"), QStringLiteral("#")},
        ReadPercents(ctx_.options, opt::kanji::header_window::kKey1, 4), this);
    header2_ = new KanjiHeaderBar(
        kId2, {QCoreApplication::translate("Mirudex", "Kanji"), QCoreApplication::translate("Mirudex", "Meaning")},
        ReadPercents(ctx_.options, opt::kanji::header_window::kKey2, 2), this);
    for (KanjiHeaderBar* bar : {header1_, header2_}) {
        bar->setFont(ctx_.resources.fonts.misc);
        bar->onBeginTrack = [this, bar](int item) { return BeginTrack(bar, item); };
        bar->onTrack = [this, bar](int item, int w) { Track(bar, item, w); };
        bar->onEndTrack = [this](int) { EndTrack(); };
        bar->onItemClick = [this, bar](int item) { HeaderItemClicked(bar->id(), item); };
    }
    header1_->move(0, 0);
    header2_->move(0, header1_->height());

    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setObjectName(QStringLiteral("KanjiWindowScrollBar"));
    scrollBar_->setSingleStep(1);
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (value != first_) {
            first_ = value;
            update();
        }
    });

    hoverTimer_.setSingleShot(true);
    hoverTimer_.setInterval(kHoverDelayMs);
    connect(&hoverTimer_, &QTimer::timeout, this, &KanjiWindow::OnHoverTimeout);

    copyText = [](const std::u16string& text) { platform::Get().SetClipboardText(text); };
    runMenu = [](QMenu& menu, const QPoint& pos) { return menu.exec(pos); };
    Relayout();
    dlog::Write(u"END: Kanji Window: WM_CREATE:\n");
}

KanjiWindow::~KanjiWindow() { DestroyCard(); }

KanjiHeaderBar* KanjiWindow::Header(int id) const { return id == kId1 ? header1_ : id == kId2 ? header2_ : nullptr; }

bool KanjiWindow::Busy() const { return ctx_.thread_searching() || ctx_.search_lock(); }

int KanjiWindow::EntryCount() const
{
    return ctx_.thread_searching() ? 0 : static_cast<int>(ctx_.kanji_results.size());
}

// The scroll bar counts while it is not hidden, also before the window is shown.
int KanjiWindow::ClientWidth() const { return width() - (scrollBar_->isHidden() ? 0 : scrollBar_->width()); }

void KanjiWindow::Relayout()
{
    const int onHeight = QFontMetrics(ctx_.resources.fonts.kanji_onkun).lineSpacing();
    const int meaningHeight = QFontMetrics(ctx_.resources.fonts.kanji_meaning).lineSpacing();
    geom_.SetRows(onHeight, meaningHeight);
    scrollBar_->setGeometry(width() - scrollBar_->sizeHint().width(), 0, scrollBar_->sizeHint().width(), height());
    // The header bars' height comes from their font; the list starts under both.
    geom_.listTop = 2 * header1_->PreferredHeight();
    geom_.listHeight = height();
    // Whether the scroll bar shows depends on the list's final geometry; the
    // header bars then end where it begins.
    UpdateScrollBar();
    const int client = ClientWidth();
    if (client > 100) {
        header1_->LayOut(client);
        header2_->LayOut(client);
    } else {
        for (KanjiHeaderBar* bar : {header1_, header2_})
            bar->resize(std::min(bar->width(), std::max(client, 0)), bar->PreferredHeight());
    }
    header1_->move(0, 0);
    header2_->move(0, header1_->height());
    geom_.listTop = 2 * header1_->height();
    geom_.listWidth = client;
    first_ = scrollBar_->value();
    update();
}

void KanjiWindow::UpdateScrollBar()
{
    // Busy: the list is being rebuilt; keep the bar as it is.
    if (ctx_.thread_searching())
        return;
    const int entries = EntryCount();
    geom_.listHeight = height();
    const int page = geom_.Page();
    const QSignalBlocker block(scrollBar_);
    scrollBar_->setPageStep(std::max(page, 1));
    scrollBar_->setRange(0, ScrollMaximum(entries, page));
    scrollBar_->setVisible(entries > 0 && entries - 1 >= page);
    first_ = scrollBar_->value();
}

void KanjiWindow::Scroll(ScrollRequest request)
{
    const int page = geom_.Page();
    int pos = scrollBar_->value();
    switch (request) {
    case ScrollRequest::None: return;
    case ScrollRequest::LineUp: pos -= 1; break;
    case ScrollRequest::LineDown: pos += 1; break;
    case ScrollRequest::PageUp: pos -= page; break;
    case ScrollRequest::PageDown: pos += page; break;
    case ScrollRequest::Top: pos = scrollBar_->minimum(); break;
    case ScrollRequest::Bottom: pos = scrollBar_->maximum(); break;
    }
    scrollBar_->setValue(pos);  // clamped; valueChanged repaints
}

void KanjiWindow::SetUpForNewResults()
{
    DestroyCard();
    selected_ = -1;
    hoverIndex_ = -1;
    {
        const QSignalBlocker block(scrollBar_);
        scrollBar_->setValue(0);
    }
    first_ = 0;
    Relayout();
    NotifyAccessibleReset(this);
}

void KanjiWindow::resizeEvent(QResizeEvent*) { Relayout(); }

// ---- painting -------------------------------------------------------------

void KanjiWindow::paintEvent(QPaintEvent*)
{
    if (ctx_.search_lock())
        return;
    QPainter p(this);
    const QRect list(0, geom_.listTop, geom_.listWidth, geom_.listHeight - geom_.listTop);
    const int entries = EntryCount();
    if (entries == 0 || ctx_.thread_searching() || geom_.entry <= 0) {
        p.fillRect(list, ctx_.resources.kanji.bg_window);
        return;
    }
    const int last = geom_.LastVisible(first_, entries);
    for (int i = first_; i <= last; ++i)
        PaintEntry(p, i, geom_.EntryTop(i, first_));
    const int below = geom_.listTop + (last - first_ + 1) * geom_.entry;
    if (geom_.listHeight - below > 0)
        p.fillRect(0, below, geom_.listWidth, geom_.listHeight - below, ctx_.resources.kanji.bg_window);
}

void KanjiWindow::PaintEntry(QPainter& p, int i, int y0)
{
    const dict::KanjiRecord& k = ctx_.kanji_results[i];
    const KanjiColors& c = ctx_.resources.kanji;
    const Fonts& f = ctx_.resources.fonts;
    QColor bg = i % 2 == 0 ? c.bg1 : c.bg2, kanji = c.kanji, on = c.on, kun = c.kun, meaning = c.meaning,
           inside = c.border_inside, outside = c.border_outside;
    if (i == selected_) {
        for (QColor* colour : {&bg, &kanji, &on, &kun, &meaning, &inside, &outside})
            *colour = Complement(*colour);
    }
    const int W = geom_.listWidth;
    const int H = geom_.entry;
    constexpr int m = kKanjiCellMargin;
    p.fillRect(0, y0, W - 1, H - 1, bg);

    // Outlines the cell and draws text inset by the margin, clipped to the cell.
    auto cell = [&](const QRect& r, const QFont& font, const QColor& colour, const QString& text, int align) {
        p.setPen(QPen(inside, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r);
        if (text.isEmpty())
            return;
        p.setFont(font);
        p.setPen(colour);
        const QRect inner(r.x() + m, r.y() + m, r.width() - m, r.height() - m);
        p.drawText(inner, kTextFlags | align, text);
    };

    cell(QRect(header1_->ItemLeft(0), y0, header1_->ItemWidth(0) - 1, geom_.row1 + geom_.row2 - 1), f.kanji_kanji,
         kanji, QString(QChar(k.code)), Qt::AlignHCenter);
    cell(QRect(header1_->ItemLeft(1), y0, header1_->ItemWidth(1) - 1, geom_.row1), f.kanji_onkun, on,
         Q(JoinBars(k.onReadings)), Qt::AlignLeft);
    cell(QRect(header1_->ItemLeft(2), y0, header1_->ItemWidth(2) - 1, geom_.row1), f.kanji_onkun, kun,
         Q(JoinBars(k.kunReadings)), Qt::AlignLeft);
    QString strokes;
    if (k.strokes != 0)
        strokes = QString::number(k.strokes);
    else
        dlog::Write(u"WARNING: Kanji U%X has no stroke count.\n", static_cast<unsigned>(k.code));
    cell(QRect(header1_->ItemLeft(3), y0, header1_->ItemWidth(3) - 1, geom_.row1), f.kanji_meaning, meaning, strokes,
         Qt::AlignLeft);
    cell(QRect(header2_->ItemLeft(1), y0 + geom_.row1, header2_->ItemWidth(1) - 1, geom_.row2), f.kanji_meaning,
         meaning, Q(JoinBars(k.meanings)), Qt::AlignLeft);

    p.setPen(QPen(outside, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, y0, W - 1, H - 1);
}

// ---- header bars ----------------------------------------------------------

bool KanjiWindow::BeginTrack(KanjiHeaderBar* bar, int item)
{
    update();
    return item + 1 < bar->count();
}

void KanjiWindow::Track(KanjiHeaderBar* bar, int item, int proposed)
{
    KanjiHeaderBar* other = bar == header1_ ? header2_ : header1_;
    const TrackOutcome outcome = TrackHeaderItem(bar->items(), &other->items(), item, proposed);
    if (outcome == TrackOutcome::NoRightItem) {
        platform::Get().MessageBox(u"Right is -1", u"Error", platform::Buttons::Ok, platform::Owner::MainWindow);
        return;
    }
    if (outcome == TrackOutcome::Refused) {
        update();
        return;
    }
    header1_->update();
    header2_->update();
    update();
}

void KanjiWindow::EndTrack() { Relayout(); }

void KanjiWindow::SaveHeaderPercentages(Registry& options) const
{
    namespace header_window = opt::kanji::header_window;
    for (int i = 0; i < header1_->count(); ++i)
        options.SetINT(header_window::Header(header_window::kKey1, i), header1_->Percent(i));
    for (int i = 0; i < header2_->count(); ++i)
        options.SetINT(header_window::Header(header_window::kKey2, i), header2_->Percent(i));
}

void KanjiWindow::ShowArrow(const search::KanjiSortLevel& level, bool primary, bool show)
{
    KanjiHeaderBar* bar = Header(level.header);
    if (!bar || level.item < 0 || level.item >= bar->count())
        return;
    if (!show) {
        bar->ClearArrow(level.item);
        return;
    }
    const SortArrow arrow = primary ? (level.descending ? SortArrow::Dsc1 : SortArrow::Asc1)
                                    : (level.descending ? SortArrow::Dsc2 : SortArrow::Asc2);
    bar->SetArrow(level.item, ctx_.resources.Arrow(arrow));
}

void KanjiWindow::HeaderItemClicked(int headerId, int item)
{
    if (headerId != kId1 && headerId != kId2)
        return;
    if (ctx_.thread_searching())
        return;
    search::KanjiSortState& s = ctx_.sort;
    const bool flip = s.primary.header == headerId && s.primary.item == item;
    const search::KanjiSortLevel oldSecondary = s.secondary;
    if (!search::ClickKanjiSortKey(s, headerId, item))
        return;
    if (!flip)
        ShowArrow(oldSecondary, false, false);
    ShowArrow(s.secondary, false, true);
    ShowArrow(s.primary, true, true);
    search::SortKanji(ctx_.kanji_results, s);
    update();
    NotifyAccessibleReset(this);
}

// ---- mouse ----------------------------------------------------------------

void KanjiWindow::DestroyCard()
{
    hoverTimer_.stop();
    watch_.Stop();
    if (card_) {
        card_->hide();
        card_->deleteLater();
        card_ = nullptr;
    }
}

void KanjiWindow::mouseMoveEvent(QMouseEvent* event) { HandleMove(event->position().toPoint()); }

void KanjiWindow::ReplayMouseMove(const QPoint& pos) { HandleMove(pos); }

void KanjiWindow::HandleMove(const QPoint& pos)
{
    lastMouse_ = pos;
    setCursor(ctx_.resources.cursor_arrow);
    if (card_ &&
        (pos.x() < 0 || pos.y() < geom_.listTop || pos.x() >= geom_.listWidth || pos.y() >= geom_.listHeight) &&
        !watch_.Keeps(mapToGlobal(pos)))
        DestroyCard();
    if (window()->isActiveWindow() && !hasFocus() && !ctx_.options.GetBOOL(opt::search::kAlwaysSearchFocus))
        setFocus(Qt::MouseFocusReason);
    if (EntryCount() == 0 || ctx_.thread_searching())
        return;
    const int hit = geom_.HitTest(pos.y(), first_, EntryCount());
    if (card_ && hit != hoverIndex_) {
        // On its way from the row to the card the pointer crosses the gap between them.
        if (watch_.Keeps(mapToGlobal(pos)))
            return;
        DestroyCard();
    }
    if (hit >= 0) {
        hoverTimer_.start();
        hoverIndex_ = hit;
        hoverOrigin_ = pos;
    }
}

void KanjiWindow::OnHoverTimeout()
{
    // A menu open over the pane has the mouse: no card under it.
    if (card_ || Busy() || EntryCount() == 0 || QApplication::activePopupWidget())
        return;
    const QPoint pos = lastMouse_;
    if (std::abs(pos.x() - hoverOrigin_.x()) > kHoverSlop || std::abs(pos.y() - hoverOrigin_.y()) > kHoverSlop)
        return;
    const int hit = geom_.HitTest(pos.y(), first_, EntryCount());
    if (hit < 0 || hit != hoverIndex_)
        return;
    const QPoint global = mapToGlobal(pos);
    const QScreen* s = QGuiApplication::screenAt(global);
    if (!s)
        s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect area = s ? s->availableGeometry() : QRect(0, 0, 1280, 1024);
    // The meanings wrap to the screen's width less a scroll bar, for a card that has to scroll.
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    auto* content = new KanjiHoverCard(ctx_.kanji_results[hit], ctx_.radicals, ctx_.options, ctx_.resources.kanji,
                                       logicalDpiY(), nullptr, area.width() - scrollBar);
    card_ = new HoverCardFrame(content, this);
    // Beside the entry, never over it, and what does not fit beside it on the
    // screen scrolls inside the card.
    const QRect row(mapToGlobal(QPoint(0, geom_.EntryTop(hit, first_))), QSize(width(), geom_.entry));
    card_->Place(FitCardOffRow(global.x(), row.top(), row.top() + geom_.entry, content->width(), content->height(),
                               card_->ScrollBarWidth(),
                               WorkArea{area.left(), area.top(), area.right() + 1, area.bottom() + 1}));
    card_->show();
    watch_.Start(card_, row);
}

KanjiHoverCard* KanjiWindow::hoverCard() const
{
    return card_ ? static_cast<KanjiHoverCard*>(card_->content()) : nullptr;
}

void KanjiWindow::leaveEvent(QEvent*)
{
    // The pointer may leave the pane for the card and rest there.
    if (card_ && !watch_.Keeps(QCursor::pos()))
        DestroyCard();
}

void KanjiWindow::SelectAt(int y)
{
    if (EntryCount() == 0)
        return;
    const int hit = geom_.HitTest(y, first_, EntryCount());
    if (hit != selected_) {
        selected_ = hit;
        update();
        NotifyAccessibleCurrentRow(this, selected_);
    }
}

void KanjiWindow::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        if (Busy())
            return;
        SelectAt(pos.y());
    } else if (event->button() == Qt::RightButton) {
        if (EntryCount() == 0 || Busy())
            return;
        SelectAt(pos.y());
        DestroyCard();  // the menu takes the mouse; the card must not stay over it or after it
        ShowContextMenu(event->globalPosition().toPoint());
    }
}

void KanjiWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    mousePressEvent(event);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    keyPressEvent(&enter);
}

void KanjiWindow::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta < 0)
        Scroll(ScrollRequest::LineDown);
    else if (delta > 0)
        Scroll(ScrollRequest::LineUp);
    ReplayMouseMove(event->position().toPoint());
}

// ---- keyboard -------------------------------------------------------------

bool KanjiWindow::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        // Without a target of its own, Tab goes on along the window's chain.
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier && tabTarget) {
            tabTarget->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QWidget::event(event);
}

void KanjiWindow::keyPressEvent(QKeyEvent* event)
{
    ListKey key = ListKey::Other;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: key = ListKey::Enter; break;
    case Qt::Key_PageUp: key = ListKey::PageUp; break;
    case Qt::Key_PageDown: key = ListKey::PageDown; break;
    case Qt::Key_Home: key = ListKey::Home; break;
    case Qt::Key_End: key = ListKey::End; break;
    case Qt::Key_Up: key = ListKey::Up; break;
    case Qt::Key_Down: key = ListKey::Down; break;
    case Qt::Key_C:
        if (event->modifiers() & Qt::ControlModifier)
            key = ListKey::CtrlC;
        break;
    default: break;
    }
    if (key == ListKey::Other) {
        QWidget::keyPressEvent(event);
        return;
    }
    // The list may be half rebuilt while a worker runs: keys wait for it.
    if (Busy())
        return;
    const int entries = EntryCount();
    const KeyOutcome out =
        ApplyListKey(key, selected_, first_, geom_.LastVisible(first_, entries), entries, geom_.Page(), false);
    if (out.selected != selected_) {
        selected_ = out.selected;
        update();
        NotifyAccessibleCurrentRow(this, selected_);
    }
    if (out.copySelected)
        CopyKanjiInfo(KanjiCopyKind::Kanji);
    if (out.searchSelected)
        SearchSelected(KanjiSearchKind::ThisKanji);
    Scroll(out.scroll);
    ReplayMouseMove(lastMouse_);
}

// ---- context menu, copying and searching ----------------------------------

void KanjiWindow::BuildMenu(QMenu& menu)
{
    QMenu* search = menu.addMenu(QCoreApplication::translate("Mirudex", "Search..."));
    search->addAction(QCoreApplication::translate("Mirudex", "This kanji"))->setData(kSearchThis);
    search->addAction(QCoreApplication::translate("Mirudex", "Words starting with this kanji"))
        ->setData(kSearchStarting);
    search->addAction(QCoreApplication::translate("Mirudex", "Words ending with this kanji"))->setData(kSearchEnding);
    search->addAction(QCoreApplication::translate("Mirudex", "Words with this kanji anywhere"))
        ->setData(kSearchAnywhere);
    menu.addSeparator();
    QMenu* copy = menu.addMenu(QCoreApplication::translate("Mirudex", "Copy..."));
    copy->addAction(QCoreApplication::translate("Mirudex", "This kanji"))->setData(5);
    copy->addAction(QCoreApplication::translate("Mirudex", "This kanji's On readings"))->setData(6);
    copy->addAction(QCoreApplication::translate("Mirudex", "This kanji's Kun readings"))->setData(7);
    copy->addAction(QCoreApplication::translate("Mirudex", "This kanji's Nanori readings"))->setData(8);
    copy->addAction(QCoreApplication::translate("Mirudex", "This kanji's Radical readings"))->setData(9);
    copy->addAction(QCoreApplication::translate("Mirudex", "This kanji's meanings"))->setData(10);
    copy->addAction(QCoreApplication::translate("Mirudex", "All info on this kanji"))->setData(11);
}

void KanjiWindow::ShowContextMenu(const QPoint& globalPos)
{
    QMenu menu(this);
    BuildMenu(menu);
    QAction* chosen = runMenu ? runMenu(menu, globalPos) : nullptr;
    if (chosen)
        OnMenuCommand(chosen->data().toInt());
}

void KanjiWindow::OnMenuCommand(int id)
{
    if (selected_ < 0 || selected_ >= EntryCount() || Busy())
        return;
    if (id >= kSearchThis && id <= kSearchAnywhere)
        SearchSelected(static_cast<KanjiSearchKind>(id));
    else if (id >= kCopyFirst && id <= kCopyLast)
        CopyKanjiInfo(static_cast<KanjiCopyKind>(id - kCopyFirst));
}

void KanjiWindow::CopyKanjiInfo(KanjiCopyKind kind)
{
    if (selected_ < 0 || selected_ >= EntryCount() || !copyText)
        return;
    copyText(KanjiCopyText(ctx_.kanji_results[selected_], kind));
}

void KanjiWindow::SearchSelected(KanjiSearchKind kind)
{
    if (selected_ < 0 || selected_ >= EntryCount() || Busy())
        return;
    const std::u16string text = KanjiSearchText(static_cast<char16_t>(ctx_.kanji_results[selected_].code), kind);
    DestroyCard();
    if (searchDictionaries)
        searchDictionaries(text);
    update();
}

}  // namespace mirudex::ui
