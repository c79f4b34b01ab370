#include "ui/main/ClientArea.h"

#include <QMouseEvent>

#include "core/DebugLog.h"
#include "platform/api/Platform.h"
#include "ui/main/StatusBar.h"

namespace mirudex::ui {

namespace {
void Log(std::u16string_view text) { dlog::Write(text); }
}  // namespace

ClientArea::ClientArea(PaneFactory& factory, int width, int height, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ClientArea"));
    setMouseTracking(true);
    resize(width, height);

    Log(u"Main Window: WM_CREATE:\n");
    statusBar_ = new StatusBar(this);
    statusBar_->setGeometry(0, height - statusBar_->height(), width, statusBar_->height());
    statusBar_->SetParts(width);
    usableHeight_ = height - statusBar_->height() - 1;

    Log(u"Creating search window...\n");
    panes_[static_cast<int>(PaneId::Search)] = WidgetPane(factory.CreateSearchWindow(this));
    Log(u"(search window created)\n");
    Log(u"Creating result window...\n");
    panes_[static_cast<int>(PaneId::Result)] = WidgetPane(factory.CreateResultWindow(0, this));
    Log(u"(result window created)\n");
    Log(u"Creating studylist window...\n");
    panes_[static_cast<int>(PaneId::StudyList)] = WidgetPane(factory.CreateResultWindow(1, this));
    Log(u"(studylist window created)\n");
    Log(u"Creating kanji window...\n");
    panes_[static_cast<int>(PaneId::Kanji)] = WidgetPane(factory.CreateKanjiWindow(this));
    Log(u"(kanji window created)\n");
    Log(u"Creating radical-lookup window...\n");
    panes_[static_cast<int>(PaneId::Radical)] = WidgetPane(factory.CreateRadicalLookupWindow(this));
    Log(u"(radical lookup window created)\n");

    pane(PaneId::Search)->setGeometry(0, 0, 1200, 100);
    for (PaneId id : {PaneId::Result, PaneId::StudyList, PaneId::Kanji, PaneId::Radical})
        pane(id)->setGeometry(0, 0, 100, 100);
    pane(PaneId::StudyList)->hide();
    pane(PaneId::Radical)->hide();
}

void ClientArea::BuildLayout(bool rememberSize, int savedTop, int savedBottom)
{
    int top = kDefaultTopDivider;
    int bottom = kDefaultBottomDivider;
    if (rememberSize) {
        if (savedTop < 0 || savedTop > usableHeight_ || savedBottom < 0 || savedBottom > width()) {
            platform::Get().MessageBox(
                u"The Divider settings were incorrect.\n\nThey have been restored to the defaults.", u"Warning:",
                platform::Buttons::Ok, platform::Owner::MainWindow);
            dlog::Write(u"WARNING: The Divider settings were incorrect--They have been restored to the defaults.");
        } else {
            top = savedTop;
            bottom = savedBottom;
        }
    }

    root_.SetPosition(0, 0, width(), usableHeight_);
    int result = root_.Split(SplitKind::TopBottom, top);
    dlog::Write(u"Divided vertically: %i.\n", result);
    if (result != 0) {
        // The saved top pane leaves no room for the bar: split at half the height.
        result = root_.Split(SplitKind::TopBottom, usableHeight_ / 2);
        dlog::Write(u"WARNING: Divided horizontally: %i.\n", result);
    }
    if (result != 0) {
        // Not even that fits (a window only a few pixels high): split at zero
        // and let the first resize give the panes their room.
        root_.SetPosition(0, 0, width(), PaneNode::kDefaultBar + 2);
        result = root_.Split(SplitKind::TopBottom, 0);
        dlog::Write(u"WARNING: Divided horizontally: %i.\n", result);
        root_.SetPosition(0, 0, width(), usableHeight_);
    }
    root_.child(0)->AttachWindow(&panes_[static_cast<int>(PaneId::Search)]);
    Log(u"   Top: Window set.\n");

    PaneNode* lower = root_.child(1);
    result = lower->Split(SplitKind::LeftRight, bottom);
    dlog::Write(u"   Bottom: Divided horizontally: %i.\n", result);
    if (result != 0) {
        result = lower->Split(SplitKind::LeftRight, lower->rect().width / 2);
        dlog::Write(u"WARNING: Bottom: Divided horizontally: %i.\n", result);
    }
    if (result != 0) {
        // Narrower than the bar itself: keep the columns at zero width for now.
        const PaneRect r = lower->rect();
        lower->SetPosition(r.x, r.y, PaneNode::kDefaultBar + 2, r.height);
        lower->Split(SplitKind::LeftRight, 0);
        lower->SetPosition(r.x, r.y, r.width, r.height);
    }
    // A taller window gives its extra height to the result and kanji windows:
    // the study list and radical panes under them keep theirs.
    lower->child(0)->KeepBottomHeight(true);
    lower->child(1)->KeepBottomHeight(true);
    lower->child(0)->AttachWindow(&panes_[static_cast<int>(PaneId::Kanji)]);
    Log(u"   Bottom: Left: Window Set.\n");
    lower->child(1)->AttachWindow(&panes_[static_cast<int>(PaneId::Result)]);
    Log(u"   Bottom: Right: Window Set.\n");
    built_ = true;
}

PaneNode* ClientArea::kanjiColumn() { return root_.IsLeaf() ? nullptr : root_.child(1)->child(0); }
PaneNode* ClientArea::resultColumn() { return root_.IsLeaf() ? nullptr : root_.child(1)->child(1); }
const PaneNode* ClientArea::kanjiColumn() const { return root_.IsLeaf() ? nullptr : root_.child(1)->child(0); }
const PaneNode* ClientArea::resultColumn() const { return root_.IsLeaf() ? nullptr : root_.child(1)->child(1); }

int ClientArea::LowerPaneHeight(PaneId lower) const
{
    const PaneNode* column = lower == PaneId::Radical ? kanjiColumn() : resultColumn();
    if (!lowerPaneShown(lower) || !column || column->IsLeaf())
        return -1;
    return column->keptSize();
}

bool ClientArea::SetLowerPaneHeight(PaneId lower, int height)
{
    PaneNode* column = lower == PaneId::Radical ? kanjiColumn() : resultColumn();
    if (!lowerPaneShown(lower) || !column || column->IsLeaf() || height < 1)
        return false;
    return column->MoveDivider(column->child(1)->rect().height - height) == 0;
}

bool ClientArea::lowerPaneShown(PaneId lower) const
{
    return lower == PaneId::Radical ? radicalShown_ : studyListShown_;
}

bool ClientArea::ShowLowerPane(PaneId lower, bool show)
{
    const bool radical = lower == PaneId::Radical;
    PaneNode* column = radical ? kanjiColumn() : resultColumn();
    WidgetPane& upperPane = panes_[static_cast<int>(radical ? PaneId::Kanji : PaneId::Result)];
    WidgetPane& lowerPane = panes_[static_cast<int>(lower)];
    bool& shown = radical ? radicalShown_ : studyListShown_;
    if (!column)
        return false;
    if (show) {
        if (column->Split(SplitKind::TopBottom, column->rect().height * 2 / 3) != 0)
            return false;
        column->child(0)->AttachWindow(&upperPane);
        column->child(1)->AttachWindow(&lowerPane);
        shown = true;
    } else {
        column->Split(SplitKind::None, 0);
        column->AttachWindow(&upperPane);
        lowerPane.widget()->hide();
        shown = false;
    }
    return true;
}

int ClientArea::TopDivider() const { return root_.IsLeaf() ? 0 : root_.child(0)->rect().height; }

int ClientArea::BottomDivider() const
{
    if (root_.IsLeaf() || root_.child(1)->IsLeaf())
        return 0;
    return root_.child(1)->child(0)->rect().width;
}

void ClientArea::Relayout(bool minimised)
{
    statusBar_->setGeometry(0, height() - statusBar_->height(), width(), statusBar_->height());
    statusBar_->SetParts(width());
    usableHeight_ = height() - statusBar_->height() - 1;
    if (!minimised && built_) {
        const PaneRect r = root_.rect();
        root_.SetPosition(r.x, r.y, width(), usableHeight_);
    }
}

void ClientArea::resizeEvent(QResizeEvent*)
{
    const QWidget* top = window();
    Relayout(top && top->isMinimized());
}

bool ClientArea::OnDivider(const PaneNode* node, int x, int y)
{
    if (!node || node->IsLeaf())
        return false;
    PaneRect r = node->DividerRect();
    r.height += 1;
    return r.Contains(x, y);
}

void ClientArea::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || drag_ != DragState::None || !built_)
        return;
    const QPoint p = event->position().toPoint();
    if (OnDivider(&root_, p.x(), p.y()))
        drag_ = DragState::Top;
    else if (OnDivider(root_.child(1), p.x(), p.y()))
        drag_ = DragState::Columns;
    else if (radicalShown_ && OnDivider(kanjiColumn(), p.x(), p.y()))
        drag_ = DragState::KanjiColumn;
    else if (studyListShown_ && OnDivider(resultColumn(), p.x(), p.y()))
        drag_ = DragState::ResultColumn;
    if (drag_ != DragState::None) {
        last_ = p;
        grabMouse();
    }
}

void ClientArea::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    PaneCursor cursor = PaneCursor::None;
    if (built_ && root_.HitTestDividers(p.x(), p.y(), &cursor))
        setCursor(cursor == PaneCursor::NorthSouth ? Qt::SizeVerCursor : Qt::SizeHorCursor);
    else if (drag_ == DragState::None)
        setCursor(Qt::ArrowCursor);
    if (drag_ == DragState::None)
        return;
    const int dx = p.x() - last_.x();
    const int dy = p.y() - last_.y();
    int result = 0;
    switch (drag_) {
    case DragState::Top: result = root_.MoveDivider(dy); break;
    case DragState::Columns: result = root_.child(1)->MoveDivider(dx); break;
    case DragState::KanjiColumn: result = kanjiColumn()->MoveDivider(dy); break;
    case DragState::ResultColumn: result = resultColumn()->MoveDivider(dy); break;
    case DragState::None: break;
    }
    if (result != 0)
        dlog::Write(u"   * ERROR: result: %i\n", result);
    last_ = p;
}

void ClientArea::EndDrag(bool release)
{
    if (drag_ == DragState::None)
        return;
    drag_ = DragState::None;
    if (release)
        releaseMouse();
    setCursor(Qt::ArrowCursor);
}

void ClientArea::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        EndDrag(true);
}

void ClientArea::leaveEvent(QEvent*)
{
    // The mouse left the window: the drag ends (the capture stays until the button is let go).
    if (drag_ != DragState::None && !rect().contains(mapFromGlobal(QCursor::pos()))) {
        drag_ = DragState::None;
        releaseMouse();
        setCursor(Qt::ArrowCursor);
    }
}

}  // namespace mirudex::ui
