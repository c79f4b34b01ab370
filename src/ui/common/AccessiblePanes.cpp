#include "ui/common/AccessiblePanes.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QWidget>
#include <algorithm>
#include <utility>

namespace mirudex::ui {

namespace {

// The interfaces of a pane's cells, made when a screen reader first asks for
// them and kept in Qt's registry (the bridge to the accessibility bus names
// an object by its id, so a cell keeps one interface while it exists). They
// have no QObject of their own: the pane's interface owns them.
class PartCache {
public:
    PartCache() = default;
    PartCache(const PartCache&) = delete;
    PartCache& operator=(const PartCache&) = delete;
    ~PartCache() { Clear(); }

    template <typename Make>
    QAccessibleInterface* Get(int key, Make make)
    {
        if (const auto it = ids_.constFind(key); it != ids_.constEnd())
            if (QAccessibleInterface* known = QAccessible::accessibleInterface(*it))
                return known;
        QAccessibleInterface* made = make();
        ids_.insert(key, QAccessible::registerAccessibleInterface(made));
        return made;
    }
    void Clear()
    {
        const QHash<int, QAccessible::Id> ids = std::exchange(ids_, {});
        for (const QAccessible::Id id : ids)
            QAccessible::deleteAccessibleInterface(id);
    }

private:
    QHash<int, QAccessible::Id> ids_;
};

QRect ToScreen(const QWidget* pane, const QRect& r)
{
    if (r.isEmpty())
        return {};
    return QRect(pane->mapToGlobal(r.topLeft()), r.size());
}

// ---- tables -----------------------------------------------------------------

class Table;

class TableCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    TableCell(Table* table, int row, int column) : table_(table), row_(row), column_(column) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        return t == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    }

    bool isSelected() const override;
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override;

private:
    Table* table_;
    int row_;
    int column_;
};

class Table : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    Table(QWidget* pane, AccessibleTableSource* source)
        : QAccessibleWidget(pane, QAccessible::Table), source_(source), columns_(source->AccessibleColumnNames())
    {
    }

    AccessibleTableSource* source() const { return source_; }
    QWidget* pane() const { return widget(); }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // The cells row by row come first, then the pane's own controls (header bars, scroll bar).
    int CellCount() const { return rowCount() * columnCount(); }
    int childCount() const override { return CellCount() + QAccessibleWidget::childCount(); }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0)
            return nullptr;
        const int cells = CellCount();
        if (index < cells)
            return cellAt(index / columnCount(), index % columnCount());
        return QAccessibleWidget::child(index - cells);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child)
            return -1;
        if (const auto* cell = dynamic_cast<const TableCell*>(child)) {
            if (cell->table() != this || !cell->isValid())
                return -1;
            return cell->rowIndex() * columnCount() + cell->columnIndex();
        }
        const int own = QAccessibleWidget::indexOfChild(child);
        return own < 0 ? -1 : CellCount() + own;
    }
    QAccessibleInterface* focusChild() const override
    {
        const int row = source_->AccessibleCurrentRow();
        if (widget()->hasFocus() && row >= 0 && row < rowCount())
            return cellAt(row, 0);
        return QAccessibleWidget::focusChild();
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
        for (int row = 0; row < rowCount(); ++row)
            if (source_->AccessibleRowRect(row).contains(local))
                return cellAt(row, 0);
        return QAccessibleWidget::childAt(x, y);
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
            return nullptr;
        auto* self = const_cast<Table*>(this);
        return cells_.Get(row * columnCount() + column, [&] { return new TableCell(self, row, column); });
    }
    int selectedCellCount() const override { return selectedRowCount() * columnCount(); }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        QList<QAccessibleInterface*> cells;
        for (const int row : selectedRows())
            for (int column = 0; column < columnCount(); ++column)
                cells.append(cellAt(row, column));
        return cells;
    }
    QString columnDescription(int column) const override { return columns_.value(column); }
    QString rowDescription(int row) const override { return QString::number(row + 1); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return static_cast<int>(selectedRows().size()); }
    int columnCount() const override { return static_cast<int>(columns_.size()); }
    int rowCount() const override { return std::max(0, source_->AccessibleRowCount()); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override
    {
        QList<int> rows;
        for (int row = 0; row < rowCount(); ++row)
            if (source_->AccessibleRowSelected(row))
                rows.append(row);
        return rows;
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override
    {
        return row >= 0 && row < rowCount() && source_->AccessibleRowSelected(row);
    }
    bool selectRow(int row) override
    {
        if (row < 0 || row >= rowCount())
            return false;
        source_->AccessibleSelectRow(row);
        return true;
    }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override { Forget(); }

    void Forget() { cells_.Clear(); }

private:
    AccessibleTableSource* source_;
    QStringList columns_;
    mutable PartCache cells_;
};

bool TableCell::isValid() const { return row_ < table_->rowCount() && column_ < table_->columnCount(); }
QWindow* TableCell::window() const { return table_->window(); }
QAccessibleInterface* TableCell::parent() const { return table_; }
QAccessibleInterface* TableCell::table() const { return table_; }
bool TableCell::isSelected() const { return isValid() && table_->source()->AccessibleRowSelected(row_); }

QString TableCell::text(QAccessible::Text t) const
{
    if (!isValid())
        return {};
    switch (t) {
    case QAccessible::Name: return table_->source()->AccessibleCellText(row_, column_);
    case QAccessible::Description: return table_->columnDescription(column_);
    default: return {};
    }
}

QRect TableCell::rect() const
{
    return isValid() ? ToScreen(table_->pane(), table_->source()->AccessibleRowRect(row_)) : QRect();
}

QAccessible::State TableCell::state() const
{
    QAccessible::State s;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    s.selectable = true;
    s.focusable = true;
    s.selected = isSelected();
    const bool current = table_->source()->AccessibleCurrentRow() == row_;
    s.focused = current && table_->pane()->hasFocus();
    s.active = current;
    if (table_->source()->AccessibleRowRect(row_).isEmpty())
        s.offscreen = true;
    return s;
}

// ---- buttons ----------------------------------------------------------------

class ButtonGroup;

class Button : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    Button(ButtonGroup* group, int index) : group_(group), index_(index) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::CheckBox; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    int index() const { return index_; }
    QStringList actionNames() const override { return {toggleAction(), pressAction()}; }
    void doAction(const QString& name) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    ButtonGroup* group_;
    int index_;
};

class ButtonGroup : public QAccessibleWidget {
public:
    ButtonGroup(QWidget* pane, AccessibleButtonSource* source)
        : QAccessibleWidget(pane, QAccessible::Grouping), source_(source)
    {
    }

    AccessibleButtonSource* source() const { return source_; }
    QWidget* pane() const { return widget(); }
    int ButtonCount() const { return std::max(0, source_->AccessibleButtonCount()); }

    QAccessibleInterface* ButtonAt(int index) const
    {
        if (index < 0 || index >= ButtonCount())
            return nullptr;
        auto* self = const_cast<ButtonGroup*>(this);
        return buttons_.Get(index, [&] { return new Button(self, index); });
    }
    int childCount() const override { return ButtonCount() + QAccessibleWidget::childCount(); }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0)
            return nullptr;
        const int buttons = ButtonCount();
        return index < buttons ? ButtonAt(index) : QAccessibleWidget::child(index - buttons);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child)
            return -1;
        if (const auto* button = dynamic_cast<const class Button*>(child))
            return button->parent() == this && button->isValid() ? button->index() : -1;
        const int own = QAccessibleWidget::indexOfChild(child);
        return own < 0 ? -1 : ButtonCount() + own;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
        for (int i = 0; i < ButtonCount(); ++i)
            if (source_->AccessibleButtonRect(i).contains(local))
                return ButtonAt(i);
        return QAccessibleWidget::childAt(x, y);
    }

    void Forget() { buttons_.Clear(); }

private:
    AccessibleButtonSource* source_;
    mutable PartCache buttons_;
};

bool Button::isValid() const { return index_ < group_->ButtonCount(); }
QWindow* Button::window() const { return group_->window(); }
QAccessibleInterface* Button::parent() const { return group_; }

QString Button::text(QAccessible::Text t) const
{
    if (!isValid())
        return {};
    switch (t) {
    case QAccessible::Name: return group_->source()->AccessibleButtonName(index_);
    case QAccessible::Description: return group_->source()->AccessibleButtonDescription(index_);
    default: return {};
    }
}

QRect Button::rect() const
{
    return isValid() ? ToScreen(group_->pane(), group_->source()->AccessibleButtonRect(index_)) : QRect();
}

QAccessible::State Button::state() const
{
    QAccessible::State s;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    s.checkable = true;
    s.checked = group_->source()->AccessibleButtonChecked(index_);
    s.disabled = !group_->source()->AccessibleButtonEnabled(index_);
    if (group_->source()->AccessibleButtonRect(index_).isEmpty())
        s.offscreen = true;
    return s;
}

void Button::doAction(const QString& name)
{
    if (!isValid() || !group_->source()->AccessibleButtonEnabled(index_))
        return;
    if (name == toggleAction() || name == pressAction())
        group_->source()->AccessibleToggleButton(index_);
}

// ---- status bar -------------------------------------------------------------

class StatusBarInterface : public QAccessibleWidget {
public:
    explicit StatusBarInterface(QWidget* bar) : QAccessibleWidget(bar, QAccessible::StatusBar) {}
};

QAccessibleInterface* MakeInterface(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (auto* table = dynamic_cast<AccessibleTableSource*>(widget))
        return new Table(widget, table);
    if (auto* buttons = dynamic_cast<AccessibleButtonSource*>(widget))
        return new ButtonGroup(widget, buttons);
    if (widget->inherits("mirudex::ui::StatusBar"))
        return new StatusBarInterface(widget);
    return nullptr;
}

AccessibleEventSink& Sink()
{
    static AccessibleEventSink sink = nullptr;
    return sink;
}

// The interface of a pane a screen reader may know; nullptr while nothing
// listens, so that a pane makes none of them (nor of its cells) for nobody.
QAccessibleInterface* Listened(QWidget* pane)
{
    const bool listening = Sink() || QAccessible::isActive();
    return pane && listening ? QAccessible::queryAccessibleInterface(pane) : nullptr;
}

void Send(QAccessibleEvent* event)
{
    if (Sink())
        Sink()(event);
    else
        QAccessible::updateAccessibility(event);
}

}  // namespace

void InstallAccessiblePanes()
{
    static const bool installed = [] {
        QAccessible::installFactory(MakeInterface);
        return true;
    }();
    (void)installed;
}

AccessibleEventSink SetAccessibleEventSink(AccessibleEventSink sink) { return std::exchange(Sink(), sink); }

void NotifyAccessibleReset(QWidget* pane)
{
    QAccessibleInterface* iface = Listened(pane);
    if (!iface)
        return;
    // Qt hands a table's reset to the table itself only while accessibility
    // is active; the cells are forgotten here whoever listens.
    if (auto* table = dynamic_cast<Table*>(iface)) {
        table->Forget();
        QAccessibleTableModelChangeEvent reset(pane, QAccessibleTableModelChangeEvent::ModelReset);
        Send(&reset);
    }
    if (auto* group = dynamic_cast<ButtonGroup*>(iface))
        group->Forget();
    QAccessibleEvent reorder(pane, QAccessible::ObjectReorder);
    Send(&reorder);
}

void NotifyAccessibleCurrentRow(QWidget* pane, int row)
{
    auto* table = dynamic_cast<Table*>(Listened(pane));
    if (!table || row < 0 || row >= table->rowCount())
        return;
    const int child = row * table->columnCount();
    QAccessibleEvent selection(pane, QAccessible::Selection);
    selection.setChild(child);
    Send(&selection);
    if (pane->hasFocus()) {
        QAccessibleEvent focus(pane, QAccessible::Focus);
        focus.setChild(child);
        Send(&focus);
    }
}

void NotifyAccessibleButtonState(QWidget* pane, int button)
{
    auto* group = dynamic_cast<ButtonGroup*>(Listened(pane));
    if (!group || button < 0 || button >= group->ButtonCount())
        return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(group->ButtonAt(button), changed);
    Send(&event);
}

void AnnounceAccessibleMessage(QWidget* label, QWidget* statusBar)
{
    if (!Listened(label))
        return;
    QAccessibleEvent name(label, QAccessible::NameChanged);
    Send(&name);
    if (statusBar) {
        QAccessibleEvent alert(statusBar, QAccessible::Alert);
        Send(&alert);
    }
}

}  // namespace mirudex::ui
