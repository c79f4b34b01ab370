#include "ui/results/ResultWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>

#include "core/DebugLog.h"
#include "core/Registry.h"
#include "platform/api/Platform.h"
#include "platform/qt/Translation.h"
#include "text/Romaji.h"
#include "ui/common/Resources.h"
#include "ui/common/TabChain.h"
#include "ui/model/HoverCardPlace.h"
#include "ui/results/ResultHeaderBar.h"
#include "ui/results/ResultHeaderDialog.h"
#include "ui/results/ResultHoverCard.h"
#include "ui/results/ResultRowPainter.h"
#include "userdata/Copy.h"

namespace mirudex::ui {

namespace {

constexpr int kHoverSlack = 10;  // pixels the mouse may drift while the hover timer runs
constexpr int kMinBarResizeWidth = 100;
constexpr char16_t kAnyChars = u'\uFF3F';  // the "any number of characters" wildcard

}  // namespace

ResultWindow::ResultWindow(int index, ResultHost& host, Registry& options, const Resources& resources, QWidget* parent)
    : QFrame(parent), index_(index), host_(host), options_(options), resources_(resources), watch_(this, [this] {
          CloseHover();
      })
{
    // Before anything that Qt may announce: a pane asked for early keeps the interface it got.
    InstallAccessiblePanes();
    setObjectName(QStringLiteral("ResultWindow"));
    setWindowTitle(QStringLiteral("(ResultWindow)"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);

    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->setFocusPolicy(Qt::NoFocus);
    connect(scroll_, &QScrollBar::valueChanged, this, &ResultWindow::OnScrolled);

    for (int b = 0; b < kBarCount; ++b) {
        auto* bar = new ResultHeaderBar(b == 0 ? kResultHeaderTop : kResultHeaderBottom, resources_.fonts.misc, this);
        bar->SetArrowSource([this](int id) { return ArrowFor(id); });
        connect(bar, &ResultHeaderBar::itemClicked, this, &ResultWindow::OnItemClicked);
        connect(bar, &ResultHeaderBar::itemMoved, this, [this, b](int o, int n) { OnItemMoved(b, o, n); });
        connect(bar, &ResultHeaderBar::dividerTracked, this, [this, b](int id, int w) { OnDividerTracked(b, id, w); });
        connect(bar, &ResultHeaderBar::dividerReleased, this, [this, bar] {
            bar->update();
            update();
        });
        connect(bar, &ResultHeaderBar::dividerDoubleClicked, this, [this, b] { OnDividerDoubleClicked(b); });
        connect(bar, &ResultHeaderBar::rightClicked, this, &ResultWindow::OpenHeaderDialog);
        bars_[static_cast<size_t>(b)] = bar;
    }

    hoverTimer_.setSingleShot(true);
    hoverTimer_.setInterval(kResultHoverDelayMs);
    connect(&hoverTimer_, &QTimer::timeout, this, &ResultWindow::ShowHover);

    menuRunner_ = [](QMenu& menu, QPoint global) {
        QAction* chosen = menu.exec(global);
        return chosen ? chosen->data().toInt() : 0;
    };

    items_ = LoadHeaderItems(options_, index_);
    ArrangeHeaderItems();
    Relayout();
}

ResultWindow::~ResultWindow() { CloseHover(); }

void ResultWindow::SetHeaderItems(const ResultHeaderItems& items)
{
    items_ = items;
    ArrangeHeaderItems();
    Relayout();
}

void ResultWindow::SaveHeaderItems() { ui::SaveHeaderItems(options_, index_, items_); }

QRect ResultWindow::ClientRect() const
{
    QRect r = contentsRect();
    r.setRight(r.right() - scroll_->sizeHint().width());
    return r;
}

QPoint ResultWindow::ToClient(QPointF widgetPoint) const { return widgetPoint.toPoint() - ClientRect().topLeft(); }

QRect ResultWindow::entriesArea() const
{
    const QRect client = ClientRect();
    return QRect(client.left(), client.top() + areaTop_, client.width(), client.height() - areaTop_);
}

int ResultWindow::scrollPosition() const { return scroll_->value(); }

// ---- header bars ----

void ResultWindow::ArrangeHeaderItems()
{
    for (int b = 0; b < kBarCount; ++b) {
        std::vector<ResultHeaderBar::Item> shown;
        for (int id : DisplayOrder(items_, b))
            shown.push_back(
                {id, platform::ShownText(QString::fromUtf16(HeaderItemLabel(id).data(), HeaderItemLabel(id).size())),
                 0});
        bars_[static_cast<size_t>(b)]->SetItems(std::move(shown));
    }
    const QRect client = ClientRect();
    for (int b = 0; b < kBarCount; ++b)
        LayoutHeaderBar(b, client.width(), bars_[static_cast<size_t>(b)]->height());
}

void ResultWindow::LayoutHeaderBar(int bar, int width, int height)
{
    NormalizePercentages(items_);
    ResultHeaderBar* control = bars_[static_cast<size_t>(bar)];
    control->resize(width, height);
    const std::vector<int> widths = ItemWidths(items_, bar, width);
    std::vector<ResultHeaderBar::Item> shown = control->items();
    for (size_t k = 0; k < shown.size() && k < widths.size(); ++k)
        shown[k].width = widths[k];
    const bool any = !shown.empty();
    control->SetItems(std::move(shown));
    if (any)
        control->show();
}

void ResultWindow::Relayout()
{
    // Widths or fonts may have changed: the laid-out texts no longer fit.
    textCache_.Clear();
    const QRect client = ClientRect();
    scroll_->setGeometry(client.right() + 1, contentsRect().top(), scroll_->sizeHint().width(),
                         contentsRect().height());

    // The tallest font among the items shown on each bar sets its row height.
    std::array<int, kBarCount> fontHeight{};
    for (int id = 0; id < kHeaderItemCount; ++id) {
        const int b = items_[static_cast<size_t>(id)].bar;
        if (b == kNoBar)
            continue;
        const QFont& font = id <= kItemKana ? resources_.fonts.result_word : CellFont(resources_.fonts, id);
        fontHeight[static_cast<size_t>(b)] = std::max(fontHeight[static_cast<size_t>(b)], QFontMetrics(font).height());
    }
    int y = 0;
    for (int b = 0; b < kBarCount; ++b) {
        ResultHeaderBar* control = bars_[static_cast<size_t>(b)];
        if (ItemCount(items_, b) == 0) {
            control->hide();
            rowHeight_[static_cast<size_t>(b)] = 0;
            continue;
        }
        const int w = client.width() >= kMinBarResizeWidth ? client.width() : control->width();
        control->setGeometry(client.left(), client.top() + y, w, control->PreferredHeight());
        LayoutHeaderBar(b, w, control->height());
        y += control->height();
        rowHeight_[static_cast<size_t>(b)] = fontHeight[static_cast<size_t>(b)] + 2 * kTextMargin;
    }
    if (Compact()) {
        // One line: word, reading and first sense side by side.
        int line = 0;
        for (const QFont* font :
             {&resources_.fonts.result_word, &resources_.fonts.result_kana, &resources_.fonts.result_meaning})
            line = std::max(line, QFontMetrics(*font).height());
        rowHeight_ = {line + 2 * kTextMargin, 0};
    }
    entryHeight_ = std::max(1, rowHeight_[0] + rowHeight_[1]);
    areaTop_ = y;
    UpdateScrollBar();
    update();
}

int ResultWindow::ReadableCount()
{
    // Only a running worker fills a list; the search command's lock alone
    // (set while the results are handed over) leaves it readable.
    return host_.ThreadSearching() ? 0 : static_cast<int>(list().size());
}

void ResultWindow::UpdateScrollBar()
{
    const int count = ReadableCount();
    const int page = std::max(0, (ClientRect().height() - areaTop_) / entryHeight_);
    const QSignalBlocker block(scroll_);
    // The window's range is 0 .. count - 1 with a page of `page` rows; Qt's
    // maximum is the last position a page can start at.
    scroll_->setPageStep(std::max(1, page));
    scroll_->setSingleStep(1);
    scroll_->setRange(0, std::max(0, count - std::max(1, page)));
    scroll_->setEnabled(count > page);
    rows_ = ComputeVisibleRows(count, scroll_->value(), ClientRect().height() - areaTop_, entryHeight_);
    laidOutCount_ = count;
}

void ResultWindow::RelayoutAfterWorker()
{
    // An empty list shows the background, whether or not a worker ran.
    if (laidOutCount_ == 0 && ReadableCount() == 0)
        return;
    Relayout();
    NotifyAccessibleReset(this);
}

void ResultWindow::OnScrolled(int value)
{
    const int count = ReadableCount();
    const VisibleRows rows = ComputeVisibleRows(count, value, ClientRect().height() - areaTop_, entryHeight_);
    if (rows.first != rows_.first || rows.last != rows_.last || rows.fit != rows_.fit) {
        rows_ = rows;
        update();
    }
}

void ResultWindow::ScrollTo(int value) { scroll_->setValue(value); }
void ResultWindow::ScrollBy(int lines) { scroll_->setValue(scroll_->value() + lines); }

void ResultWindow::SetUpForNewResults()
{
    CloseHover();
    removals_.clear();
    host_.SortList(index_);
    selection_ = {};
    {
        const QSignalBlocker block(scroll_);
        scroll_->setValue(0);
    }
    Relayout();
    NotifyAccessibleReset(this);
}

const QPixmap* ResultWindow::ArrowFor(int id) const
{
    const ResultSortView sort = host_.SortView();
    if (id == sort.primary)
        return &resources_.Arrow(sort.primaryDescending ? SortArrow::Dsc1 : SortArrow::Asc1);
    if (id == sort.secondary)
        return &resources_.Arrow(sort.secondaryDescending ? SortArrow::Dsc2 : SortArrow::Asc2);
    return nullptr;
}

bool ResultWindow::ClickHeaderItem(int id)
{
    if (id < 0 || id >= kHeaderItemCount || items_[static_cast<size_t>(id)].bar == kNoBar)
        return false;
    OnItemClicked(id);
    return true;
}

void ResultWindow::OnItemClicked(int id)
{
    // Sorting would reorder a list a worker may be filling.
    if (id == kItemInfo || Busy())
        return;
    if (!host_.ClickSortKey(id))
        return;
    host_.SortList(index_);
    for (ResultHeaderBar* bar : bars_)
        bar->update();
    update();
}

void ResultWindow::OnItemMoved(int bar, int oldPlace, int newPlace)
{
    MoveHeaderItem(items_, bar, oldPlace, newPlace);
    ArrangeHeaderItems();
    update();
}

void ResultWindow::OnDividerTracked(int bar, int id, int newWidth)
{
    int barWidth = 0;
    for (const ResultHeaderBar::Item& item : bars_[static_cast<size_t>(bar)]->items())
        barWidth += item.width;
    const ResizeResult result = ResizeHeaderItem(items_, id, newWidth, barWidth);
    switch (result.outcome) {
    case ResizeOutcome::NoRightNeighbour:
        bars_[static_cast<size_t>(bar)]->StopTracking();
        platform::Get().MessageBox(u"Right is -1", u"Error", platform::Buttons::Ok, platform::Owner::None);
        return;
    case ResizeOutcome::TooNarrow: bars_[static_cast<size_t>(bar)]->StopTracking(); return;
    case ResizeOutcome::Applied:
        ArrangeHeaderItems();
        update();
        return;
    }
}

void ResultWindow::OnDividerDoubleClicked(int bar)
{
    EqualShares(items_, bar);
    ArrangeHeaderItems();
    update();
}

void ResultWindow::OpenHeaderDialog()
{
    dlog::Write(u"RESULT HEADER DIALOG BOX\n");
    ResultHeaderDialog dialog(
        items_, [this](int id, int bar) { OnDialogChoice(id, bar); }, this);
    dialog.exec();
}

void ResultWindow::OnDialogChoice(int id, int bar)
{
    items_[static_cast<size_t>(id)].bar = bar;
    ArrangeHeaderItems();
    Relayout();
}

// ---- painting ----

void ResultWindow::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    Relayout();
}

void ResultWindow::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (host_.SearchLock())
        return;
    QPainter painter(this);
    const QRect area = entriesArea();
    painter.setClipRect(ClientRect());
    if (host_.ThreadSearching() || list().empty()) {
        painter.fillRect(area, resources_.result.bg_window);
        return;
    }
    if (entryHeight_ == 0) {
        dlog::Write(u"ERROR: Result Window: WM_PAINT: 'entry_height' is Zero.\n");
        return;
    }
    // A list changed behind the window's back (a worker's hand-over) shows
    // only what it still holds.
    const int count = static_cast<int>(list().size());
    if (rows_.last >= count || rows_.first >= count)
        rows_ = ComputeVisibleRows(count, std::min(rows_.first, count - 1), area.height(), entryHeight_);

    RowPaintInput input;
    input.list = &list();
    input.rows = rows_;
    input.entryHeight = entryHeight_;
    input.area = area;
    input.fonts = &resources_.fonts;
    input.colors = &resources_.result;
    input.clip = ClientRect();
    input.exposed = event->rect();
    input.cache = &textCache_;
    input.texts = CurrentRowTexts();
    if (Compact()) {
        input.texts.firstSenseOnly = true;
        input.cells = CompactCells(area);
        PaintRows(painter, input);
        return;
    }
    for (int b = 0; b < kBarCount; ++b) {
        const ResultHeaderBar* bar = bars_[static_cast<size_t>(b)];
        for (const ResultHeaderBar::Item& item : bar->items()) {
            int left = 0, right = 0;
            bar->ItemRect(item.id, left, right);
            input.cells.push_back({item.id, area.left() + left, area.left() + right, b == 0 ? 0 : rowHeight_[0],
                                   rowHeight_[static_cast<size_t>(b)]});
        }
    }
    PaintRows(painter, input);
}

RowTexts ResultWindow::CurrentRowTexts() const
{
    RowTexts texts;
    texts.romaji = options_.GetBOOL(opt::misc::kROMAjiMode);
    texts.meaningSeparator = userdata::StripBraces(options_.GetString(opt::results::copy::kSepMeaning));
    texts.toRomaji = [](std::u16string_view kana) { return text::KanaToRomaji(kana); };
    return texts;
}

bool ResultWindow::Compact() const { return options_.GetBOOL(opt::results::kCompactRows); }

std::vector<RowCell> ResultWindow::CompactCells(const QRect& area) const
{
    // The word and the reading keep the widths of their header items (a
    // hidden item is left out); the first sense takes the rest of the line.
    std::vector<RowCell> cells;
    int x = area.left();
    for (const int id : {kItemWord, kItemKana}) {
        const int b = items_[static_cast<size_t>(id)].bar;
        int left = 0, right = 0;
        if (b == kNoBar || !bars_[static_cast<size_t>(b)]->ItemRect(id, left, right))
            continue;
        cells.push_back({id, x, x + (right - left), 0, rowHeight_[0]});
        x += right - left;
    }
    if (x < area.right())
        cells.push_back({kItemMeaning, x, area.right() + 1, 0, rowHeight_[0]});
    return cells;
}

// ---- selection ----

int ResultWindow::EntryAtPoint(int y) const { return ui::EntryAtPoint(rows_, entryHeight_, areaTop_, y); }

void ResultWindow::SelectEntry(int e, int flags)
{
    if (Busy())
        return;
    ui::SelectEntry(list(), selection_, e, flags);
    update();
    NotifyAccessibleCurrentRow(this, selection_.current);
}

int ResultWindow::ModifierFlags(Qt::KeyboardModifiers m) const
{
    return (m & Qt::ControlModifier ? kSelectCtrl : 0) | (m & Qt::ShiftModifier ? kSelectShift : 0) |
           (m & Qt::AltModifier ? kSelectAlt : 0);
}

// ---- mouse ----

void ResultWindow::mouseMoveEvent(QMouseEvent* event)
{
    lastMouse_ = ToClient(event->position());
    setCursor(resources_.cursor_arrow);
    QWidget* top = window();
    if (top && top->isActiveWindow() && !hasFocus() && !options_.GetBOOL(opt::search::kAlwaysSearchFocus))
        setFocus(Qt::MouseFocusReason);
    if (Busy() || list().empty())
        return;
    const int e = EntryAtPoint(lastMouse_.y());
    if (hover_ && e != hoverEntry_) {
        // On its way from the row to the card the pointer crosses the gap between them.
        if (watch_.Keeps(event->globalPosition().toPoint()))
            return;
        CloseHover();
    }
    if (e != -1) {
        hoverTimer_.start();
        hoverEntry_ = e;
        hoverPos_ = lastMouse_;
    } else {
        hoverTimer_.stop();
    }
}

void ResultWindow::ShowHover()
{
    if (hover_ || Busy() || hoverEntry_ < 0 || hoverEntry_ >= static_cast<int>(list().size()))
        return;
    if (std::abs(lastMouse_.x() - hoverPos_.x()) > kHoverSlack ||
        std::abs(lastMouse_.y() - hoverPos_.y()) > kHoverSlack || EntryAtPoint(lastMouse_.y()) != hoverEntry_)
        return;
    const QPoint global = mapToGlobal(lastMouse_ + ClientRect().topLeft());
    const QScreen* s = QGuiApplication::screenAt(global);
    if (!s)
        s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect work = s ? s->availableGeometry() : QRect(0, 0, 1 << 20, 1 << 20);
    // Wrapped to the screen's width less a scroll bar, for a card that has to scroll.
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    auto* content = new ResultHoverCard(list()[static_cast<size_t>(hoverEntry_)], resources_.fonts, resources_.result,
                                        logicalDpiY(), nullptr, work.width() - scrollBar);
    hover_ = new HoverCardFrame(content, this);
    // The card opens beside the row, never over it, and what does not fit
    // beside it on the screen scrolls inside it.
    const QRect row(mapToGlobal(QPoint(0, ClientRect().top() + areaTop_ + (hoverEntry_ - rows_.first) * entryHeight_)),
                    QSize(width(), entryHeight_));
    hover_->Place(FitCardOffRow(global.x(), row.top(), row.top() + entryHeight_, content->width(), content->height(),
                                hover_->ScrollBarWidth(),
                                WorkArea{work.left(), work.top(), work.right() + 1, work.bottom() + 1}));
    hover_->show();
    watch_.Start(hover_, row);
}

void ResultWindow::CloseHover()
{
    hoverTimer_.stop();
    watch_.Stop();
    if (hover_)
        hover_->close();
    hover_ = nullptr;
}

ResultHoverCard* ResultWindow::hoverCard() const
{
    return hover_ ? static_cast<ResultHoverCard*>(hover_->content()) : nullptr;
}

void ResultWindow::leaveEvent(QEvent* event)
{
    // The pointer may leave the pane for the card and rest there.
    if (!hover_ || !watch_.Keeps(QCursor::pos()))
        CloseHover();
    QFrame::leaveEvent(event);
}

void ResultWindow::PressAt(QPoint client, int flags)
{
    if (Busy() || list().empty())
        return;
    SelectEntry(EntryAtPoint(client.y()), flags);
}

void ResultWindow::mousePressEvent(QMouseEvent* event)
{
    const QPoint client = ToClient(event->position());
    const int flags = ModifierFlags(event->modifiers());
    if (event->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        PressAt(client, flags);
        return;
    }
    if (event->button() != Qt::RightButton || Busy() || list().empty())
        return;
    const int e = EntryAtPoint(client.y());
    if (e == -1)
        return;
    if (!list()[static_cast<size_t>(e)].selected) {
        setFocus(Qt::MouseFocusReason);
        PressAt(client, flags);
    }
    CloseHover();
    std::unique_ptr<QMenu> menu = BuildContextMenu();
    const int id = menuRunner_(*menu, event->globalPosition().toPoint());
    if (id != 0)
        OnMenuCommand(id);
}

void ResultWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint client = ToClient(event->position());
    if (!Busy() && !list().empty()) {
        const int e = EntryAtPoint(client.y());
        if (e == -1 || !list()[static_cast<size_t>(e)].selected)
            PressAt(client, ModifierFlags(event->modifiers()));
    }
    EnterKey();
}

void ResultWindow::wheelEvent(QWheelEvent* event)
{
    wheelRest_ += event->angleDelta().y();
    while (wheelRest_ >= QWheelEvent::DefaultDeltasPerStep) {
        wheelRest_ -= QWheelEvent::DefaultDeltasPerStep;
        ScrollBy(-1);
    }
    while (wheelRest_ <= -QWheelEvent::DefaultDeltasPerStep) {
        wheelRest_ += QWheelEvent::DefaultDeltasPerStep;
        ScrollBy(1);
    }
    QMouseEvent move(QEvent::MouseMove, event->position(), event->globalPosition(), Qt::NoButton, event->buttons(),
                     event->modifiers());
    mouseMoveEvent(&move);
    event->accept();
}

// ---- context menu ----

std::unique_ptr<QMenu> ResultWindow::BuildContextMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    auto add = [](QMenu* m, const char* text, int id) {
        m->addAction(QCoreApplication::translate("Mirudex", text))->setData(id);
    };
    QMenu* search = menu->addMenu(QCoreApplication::translate("Mirudex", "Search..."));
    add(search, QT_TRANSLATE_NOOP("Mirudex", "The kanji in this word"), kMenuKanjiInWord);
    add(search, QT_TRANSLATE_NOOP("Mirudex", "Words starting with this word"), kMenuWordsStarting);
    add(search, QT_TRANSLATE_NOOP("Mirudex", "Words ending with this word"), kMenuWordsEnding);
    add(search, QT_TRANSLATE_NOOP("Mirudex", "Words with this word anywhere"), kMenuWordsAnywhere);
    QMenu* copy = menu->addMenu(QCoreApplication::translate("Mirudex", "Copy..."));
    add(copy, QT_TRANSLATE_NOOP("Mirudex", "This word"), kMenuCopyWord);
    add(copy, QT_TRANSLATE_NOOP("Mirudex", "This word's kana"), kMenuCopyKana);
    add(copy, QT_TRANSLATE_NOOP("Mirudex", "This word's meanings"), kMenuCopyMeanings);
    add(copy, QT_TRANSLATE_NOOP("Mirudex", "All info on this word"), kMenuCopyAll);
    menu->addSeparator();
    if (index_ != 1) {
        add(menu.get(), QT_TRANSLATE_NOOP("Mirudex", "Add to study list"), kMenuAddToStudyList);
    } else {
        add(menu.get(), QT_TRANSLATE_NOOP("Mirudex", "Remove\tDel"), kMenuRemove);
        add(menu.get(), QT_TRANSLATE_NOOP("Mirudex", "Undo Remove\tCtrl+Z"), kMenuUndoRemove);
        menu->actions().back()->setEnabled(!removals_.empty());
    }
    return menu;
}

void ResultWindow::OnMenuCommand(int id)
{
    if (Busy())
        return;
    const int current = selection_.current;
    if (current < 0 || current >= static_cast<int>(list().size()))
        return;
    const std::u16string word = list()[static_cast<size_t>(current)].word;
    switch (id) {
    case kMenuKanjiInWord: host_.ShowKanjiOf({word}); break;
    case kMenuWordsStarting: host_.SetSearchText(word + kAnyChars, true); break;
    case kMenuWordsEnding: host_.SetSearchText(kAnyChars + word, true); break;
    case kMenuWordsAnywhere: host_.SetSearchText(kAnyChars + word + kAnyChars, true); break;
    case kMenuCopyWord:
    case kMenuCopyKana:
    case kMenuCopyMeanings:
    case kMenuCopyAll: host_.CopyEntries(index_, id - kMenuCopyWord); break;
    case kMenuAddToStudyList:
        if (index_ != 1)
            host_.AddToStudyList(index_);
        break;
    case kMenuRemove: RemoveSelected(); break;
    case kMenuUndoRemove: UndoRemove(); break;
    default: break;
    }
}

void ResultWindow::RemoveSelected()
{
    if (Busy())
        return;
    Removal removal = DeleteSelected(list(), selection_);
    if (!removal.entries.empty()) {
        removals_.push_back(std::move(removal));
        if (removals_.size() > kUndoRemovals)
            removals_.erase(removals_.begin());
    }
    Relayout();
    NotifyAccessibleReset(this);
}

bool ResultWindow::UndoRemove()
{
    if (Busy() || removals_.empty())
        return false;
    UndoRemoval(list(), selection_, std::move(removals_.back()));
    removals_.pop_back();
    Relayout();
    NotifyAccessibleReset(this);
    return true;
}

// ---- keyboard ----

bool ResultWindow::focusNextPrevChild(bool) { return false; }  // Tab is handled as a key

void ResultWindow::EnterKey()
{
    if (Busy() || list().empty())
        return;
    if (selection_.current < 0) {
        SelectEntry(rows_.first, 0);
        return;
    }
    std::vector<std::u16string> words;
    for (const dict::Entry& entry : list())
        if (entry.selected)
            words.push_back(entry.word);
    host_.ShowKanjiOf(words);
    if (words.size() == 1)
        host_.SetSearchText(words.front(), false);
}

void ResultWindow::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    const int flags = (mods & Qt::ControlModifier ? kSelectCtrl : 0) | (mods & Qt::ShiftModifier ? kSelectShift : 0);
    CloseHover();

    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        // On along the window's chain (the study list, the tool bars, back to
        // the search box); alone in its window, to the search box.
        const bool forward = key == Qt::Key_Tab && !(mods & Qt::ShiftModifier);
        if (QWidget* next = NextTabStop(this, forward))
            next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        else
            host_.FocusSearchBox();
        return;
    }
    if (key == Qt::Key_Space) {
        OpenHeaderDialog();
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        EnterKey();
        return;
    }
    if (Busy()) {
        QFrame::keyPressEvent(event);
        return;
    }
    const int count = static_cast<int>(list().size());
    const int current = selection_.current;
    const int fit = rows_.fit;
    switch (key) {
    case Qt::Key_PageUp:
        if (current >= 0)
            SelectEntry(current < fit ? 0 : current - fit, flags);
        ScrollBy(-scroll_->pageStep());
        return;
    case Qt::Key_PageDown:
        if (current >= 0)
            SelectEntry(current >= count - fit ? count - 1 : current + fit, flags);
        ScrollBy(scroll_->pageStep());
        return;
    case Qt::Key_End:
        if (current >= 0 && current != count - 1)
            SelectEntry(count - 1, flags);
        ScrollTo(scroll_->maximum());
        return;
    case Qt::Key_Home:
        if (current > 0)
            SelectEntry(0, flags);
        ScrollTo(0);
        return;
    case Qt::Key_Up: {
        const bool scroll = current == rows_.first || current <= 0;
        if (current >= 1)
            SelectEntry(current - 1, flags);
        if (scroll)
            ScrollBy(-1);
        return;
    }
    case Qt::Key_Down: {
        const bool scroll = current + 1 == rows_.last || current >= count - 1;
        if (current < count - 1)
            SelectEntry(current + 1, flags);
        if (scroll)
            ScrollBy(1);
        return;
    }
    case Qt::Key_Delete: RemoveSelected(); return;
    case Qt::Key_Z:
        if (mods & Qt::ControlModifier) {
            UndoRemove();
            return;
        }
        break;
    case Qt::Key_A:
        if (mods & Qt::ControlModifier) {
            SelectAll(list());
            update();
            return;
        }
        break;
    case Qt::Key_C:
        if (mods & Qt::ControlModifier) {
            host_.CopyEntries(index_, 3);
            return;
        }
        break;
    default: break;
    }
    QFrame::keyPressEvent(event);
}

}  // namespace mirudex::ui
