#include "ui/search/SearchBands.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QRegularExpressionValidator>
#include <QStandardItemModel>
#include <QToolButton>
#include <QWheelEvent>
#include <vector>

#include "core/DebugLog.h"
#include "platform/qt/QtText.h"
#include "platform/qt/Translation.h"
#include "text/Encoding.h"
#include "ui/common/Images.h"
#include "ui/search/SearchCommands.h"

// The button pictures live in this static library's resources, which are
// registered by hand (a static library has no start-up code of its own).
static void InitSearchWindowResources() { Q_INIT_RESOURCE(searchwindow); }

namespace mirudex::ui {

namespace {

// The encoding list. Whether this system's iconv can convert an encoding is
// looked up only when it matters, since asking loads that encoding's
// converter: all of them before the list is opened, stepped through with the
// keys or the wheel; one when a stored choice is checked. Until then every
// item looks available.
class EncodingBox : public QComboBox {
public:
    explicit EncodingBox(QWidget* parent) : QComboBox(parent) {}

    // Disables the item at position when iconv cannot convert it either way;
    // each position is asked once.
    void Check(int position)
    {
        if (position < 0 || position >= count())
            return;
        if (checked_.size() < static_cast<size_t>(count()))
            checked_.resize(static_cast<size_t>(count()), false);
        if (checked_[static_cast<size_t>(position)])
            return;
        checked_[static_cast<size_t>(position)] = true;
        const char* name = text::IconvNameForRow(text::RowOfComboPosition(position));
        if (!name || (text::ConversionAvailable(name, "UTF-16LE") && text::ConversionAvailable("UTF-16LE", name)))
            return;
        auto* items = qobject_cast<QStandardItemModel*>(model());
        if (!items || !items->item(position))
            return;
        QStandardItem* item = items->item(position);
        item->setEnabled(false);
        item->setToolTip(QCoreApplication::translate("Mirudex", "This system cannot convert text to or from %1.")
                             .arg(QString::fromLatin1(name)));
    }
    void CheckAll()
    {
        for (int position = 0; position < count(); ++position)
            Check(position);
    }

    void showPopup() override
    {
        CheckAll();
        QComboBox::showPopup();
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        CheckAll();
        QComboBox::keyPressEvent(event);
    }
    void wheelEvent(QWheelEvent* event) override
    {
        CheckAll();
        QComboBox::wheelEvent(event);
    }

private:
    std::vector<bool> checked_;
};

constexpr QSize kButtonImage{16, 15};
constexpr QSize kSearchButtonImage{45, 15};
constexpr int kSeparator = 0;

// Keys of the search types (Ctrl+1..4, in the order of their buttons) and of
// the languages (Alt and the language's initial); they work anywhere in the
// window, as a click on the button would.
// What a screen reader calls a button (its tool tip is read as the description).
QString ButtonName(int id)
{
    switch (id) {
    case ID_LANG_JAPANESE: return QCoreApplication::translate("Mirudex", "Japanese");
    case ID_LANG_ENGLISH: return QCoreApplication::translate("Mirudex", "English");
    case ID_LANG_KANJI: return QCoreApplication::translate("Mirudex", "Kanji information");
    case ID_LANG_AUTOMATIC: return QCoreApplication::translate("Mirudex", "Automatic language");
    case ID_TYPE_BEGINNING: return QCoreApplication::translate("Mirudex", "Text at the beginning");
    case ID_TYPE_MIDDLE: return QCoreApplication::translate("Mirudex", "Text in the middle");
    case ID_TYPE_END: return QCoreApplication::translate("Mirudex", "Text at the end");
    case ID_TYPE_EXACT: return QCoreApplication::translate("Mirudex", "Exact text");
    case ID_MATCH_SUBSTRINGS: return QCoreApplication::translate("Mirudex", "Match multiple substrings");
    case ID_WORDS_ONLY: return QCoreApplication::translate("Mirudex", "Words only");
    case ID_KANA_INSENSITIVE: return QCoreApplication::translate("Mirudex", "Kana insensitive");
    case ID_REVERSE_CONJUGATION: return QCoreApplication::translate("Mirudex", "Reverse conjugation");
    case ID_ROMAJI_CONVERSION: return QCoreApplication::translate("Mirudex", "Romaji to kana");
    case ID_SHOW_CONVERTED: return QCoreApplication::translate("Mirudex", "Show the converted string");
    case ID_SEARCH_GO: return QCoreApplication::translate("Mirudex", "Search");
    case ID_RANDOM_WORD: return QCoreApplication::translate("Mirudex", "Random word");
    case ID_RANDOM_KANJI: return QCoreApplication::translate("Mirudex", "Random kanji");
    default: return QString::number(id);
    }
}

QKeySequence ButtonShortcut(int id)
{
    switch (id) {
    case ID_TYPE_BEGINNING: return QKeySequence(Qt::CTRL | Qt::Key_1);
    case ID_TYPE_MIDDLE: return QKeySequence(Qt::CTRL | Qt::Key_2);
    case ID_TYPE_END: return QKeySequence(Qt::CTRL | Qt::Key_3);
    case ID_TYPE_EXACT: return QKeySequence(Qt::CTRL | Qt::Key_4);
    case ID_LANG_JAPANESE: return QKeySequence(Qt::ALT | Qt::Key_J);
    case ID_LANG_ENGLISH: return QKeySequence(Qt::ALT | Qt::Key_E);
    case ID_LANG_KANJI: return QKeySequence(Qt::ALT | Qt::Key_K);
    case ID_LANG_AUTOMATIC: return QKeySequence(Qt::ALT | Qt::Key_A);
    default: return {};
    }
}

// Bands in a row at the width they ask for; a band that does not fit in what
// is left of the row starts the next one, as a rebar wraps its bands. Nothing
// is ever squeezed below its size, whatever the scale or font.
class BandFlowLayout : public QLayout {
public:
    explicit BandFlowLayout(QWidget* parent) : QLayout(parent) {}
    ~BandFlowLayout() override
    {
        while (QLayoutItem* item = takeAt(0))
            delete item;
    }

    void addItem(QLayoutItem* item) override { items_.push_back(item); }
    int count() const override { return static_cast<int>(items_.size()); }
    QLayoutItem* itemAt(int index) const override
    {
        return index >= 0 && index < count() ? items_[static_cast<size_t>(index)] : nullptr;
    }
    QLayoutItem* takeAt(int index) override
    {
        if (index < 0 || index >= count())
            return nullptr;
        QLayoutItem* item = items_[static_cast<size_t>(index)];
        items_.erase(items_.begin() + index);
        return item;
    }
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return Arrange(QRect(0, 0, width, 0), false); }
    QSize sizeHint() const override
    {
        int width = 0;
        for (QLayoutItem* item : items_)
            width += item->sizeHint().width();
        const QMargins m = contentsMargins();
        return QSize(width + m.left() + m.right(), heightForWidth(QWIDGETSIZE_MAX));
    }
    QSize minimumSize() const override
    {
        QSize size;
        for (QLayoutItem* item : items_)
            size = size.expandedTo(item->sizeHint());
        const QMargins m = contentsMargins();
        return size + QSize(m.left() + m.right(), m.top() + m.bottom());
    }
    void setGeometry(const QRect& rect) override
    {
        QLayout::setGeometry(rect);
        Arrange(rect, true);
    }

private:
    // Places the items (when place is set) and returns the height they take.
    int Arrange(const QRect& rect, bool place) const
    {
        const QMargins m = contentsMargins();
        const QRect area = rect.marginsRemoved(m);
        int x = area.x();
        int y = area.y();
        int rowHeight = 0;
        std::vector<std::pair<QLayoutItem*, QPoint>> row;
        auto flush = [&] {
            for (auto& [item, at] : row)
                item->setGeometry(QRect(at, QSize(item->sizeHint().width(), rowHeight)));
            row.clear();
        };
        for (QLayoutItem* item : items_) {
            if (item->isEmpty())
                continue;
            const QSize hint = item->sizeHint();
            if (x > area.x() && x + hint.width() > area.right() + 1) {
                if (place)
                    flush();
                row.clear();
                x = area.x();
                y += rowHeight;
                rowHeight = 0;
            }
            row.emplace_back(item, QPoint(x, y));
            x += hint.width();
            rowHeight = std::max(rowHeight, hint.height());
        }
        if (place)
            flush();
        return y + rowHeight - rect.y() + m.bottom();
    }

    std::vector<QLayoutItem*> items_;
};

}  // namespace

SearchBands::SearchBands(QWidget* parent) : QWidget(parent)
{
    static const bool resourcesReady = (InitSearchWindowResources(), true);
    (void)resourcesReady;
    setObjectName(QStringLiteral("ReBarWindow32"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);  // the menu colour
    layout_ = new BandFlowLayout(this);
    layout_->setContentsMargins(2, 1, 2, 1);
    layout_->setSpacing(0);

    typeGroup_ = new QActionGroup(this);
    typeGroup_->setExclusive(true);

    AddBand(QString());  // band 1 holds nothing
    AddToolBar(AddBand(QString()), {ID_LANG_JAPANESE, ID_LANG_ENGLISH, ID_LANG_KANJI, ID_LANG_AUTOMATIC});
    AddToolBar(AddBand(QCoreApplication::translate("Mirudex", "Search")),
               {ID_TYPE_BEGINNING, ID_TYPE_MIDDLE, ID_TYPE_END, ID_TYPE_EXACT});
    AddToolBar(AddBand(QString()), {ID_MATCH_SUBSTRINGS, ID_WORDS_ONLY, ID_KANA_INSENSITIVE, ID_REVERSE_CONJUGATION});
    AddToolBar(AddBand(QCoreApplication::translate("Mirudex", "Conversion")),
               {ID_ROMAJI_CONVERSION, kSeparator, ID_SHOW_CONVERTED});

    QWidget* encodingBand = AddBand(QString());
    encodingList_ = new EncodingBox(encodingBand);
    encodingList_->setObjectName(QStringLiteral("EncodingList"));
    encodingList_->setFixedWidth(100);
    encodingList_->setAccessibleName(QCoreApplication::translate("Mirudex", "Encoding"));
    encodingList_->setAccessibleDescription(
        QCoreApplication::translate("Mirudex", "The text encoding of copies and pastes"));
    // Encodings this system's iconv cannot convert stay in their place (the
    // positions are the table's rows) but cannot be chosen.
    for (const text::EncodingRow& row : text::EncodingTable())
        encodingList_->addItem(Q(row.displayName));
    encodingList_->view()->setMinimumWidth(250);  // the dropped list is wider than the box
    encodingList_->setMaxVisibleItems(300 / std::max(1, encodingList_->fontMetrics().height() + 2));
    encodingList_->setCurrentIndex(1);
    encodingBand->layout()->addWidget(encodingList_);
    controls_.push_back(encodingList_);
    connect(encodingList_, &QComboBox::activated, this, &SearchBands::OnEncodingActivated);

    QWidget* resultsBand = AddBand(QCoreApplication::translate("Mirudex", "Results"));
    resultsField_ = new QLineEdit(resultsBand);
    resultsField_->setObjectName(QStringLiteral("ResultsField"));
    resultsField_->setAccessibleName(QCoreApplication::translate("Mirudex", "Results"));
    resultsField_->setAccessibleDescription(
        QCoreApplication::translate("Mirudex", "The most entries a search shows; empty or 0 for all"));
    // 30 x 18 at the usual font; wider and taller when the font needs it.
    const QFontMetrics fm = resultsField_->fontMetrics();
    resultsField_->setFixedSize(std::max(30, fm.horizontalAdvance(QStringLiteral("0000")) + 6),
                                std::max(18, fm.height() + 4));
    resultsField_->setAlignment(Qt::AlignCenter);
    resultsField_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), resultsField_));
    resultsField_->setTextMargins(0, 0, 0, 0);
    resultsBand->layout()->addWidget(resultsField_);
    controls_.push_back(resultsField_);

    AddToolBar(AddBand(QString()), {ID_SEARCH_GO});
    AddToolBar(AddBand(QString()), {ID_RANDOM_WORD, ID_RANDOM_KANJI});
}

QWidget* SearchBands::AddBand(const QString& caption)
{
    auto* band = new QWidget(this);
    auto* bandLayout = new QHBoxLayout(band);
    bandLayout->setContentsMargins(3, 0, 3, 0);
    bandLayout->setSpacing(3);
    bandLayout->setSizeConstraint(QLayout::SetFixedSize);  // a band is as large as its content
    if (layout_->count() > 0) {
        // The band's border on its left, so that it goes with the band to a new row.
        auto* border = new QFrame(band);
        border->setFrameShape(QFrame::VLine);
        border->setFrameShadow(QFrame::Sunken);
        bandLayout->addWidget(border);
    }
    if (!caption.isEmpty()) {
        auto* label = new QLabel(caption, band);
        label->setObjectName(QStringLiteral("caption"));
        bandLayout->addWidget(label);
    }
    layout_->addWidget(band);
    return band;
}

QWidget* SearchBands::AddToolBar(QWidget* band, std::initializer_list<int> ids)
{
    auto* bar = new QWidget(band);
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(0, 0, 0, 0);
    barLayout->setSpacing(0);
    for (int id : ids) {
        if (id == kSeparator) {
            auto* gap = new QFrame(bar);
            gap->setFrameShape(QFrame::VLine);
            gap->setFrameShadow(QFrame::Sunken);
            gap->setContentsMargins(2, 0, 2, 0);
            barLayout->addWidget(gap);
            continue;
        }
        const bool toggle = id != ID_SEARCH_GO && id != ID_RANDOM_WORD && id != ID_RANDOM_KANJI;
        barLayout->addWidget(AddButton(bar, id, toggle));
    }
    band->layout()->addWidget(bar);
    return bar;
}

QToolButton* SearchBands::AddButton(QWidget* bar, int id, bool checkable)
{
    const QString name = QString::number(id);
    auto* action =
        new QAction(PixelIconOn(QStringLiteral(":/search/%1.png").arg(id), palette().color(QPalette::Window)),
                    platform::ShownText(Q(SearchToolTip(id))), this);
    action->setObjectName(name);
    action->setData(id);
    action->setCheckable(checkable);
    action->setToolTip(platform::ShownText(Q(SearchToolTip(id))));
    action->setShortcut(ButtonShortcut(id));
    if (id >= ID_TYPE_BEGINNING && id <= ID_TYPE_EXACT)
        typeGroup_->addAction(action);
    connect(action, &QAction::triggered, this, [this, id] { emit commandTriggered(id); });

    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setDefaultAction(action);
    button->setAutoRaise(true);  // flat
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setIconSize(id == ID_SEARCH_GO ? kSearchButtonImage : kButtonImage);
    button->setAccessibleName(ButtonName(id));
    button->setAccessibleDescription(platform::ShownText(Q(SearchToolTip(id))));
    // Reached by Tab (Space presses it); a click leaves the focus where it was.
    button->setFocusPolicy(Qt::TabFocus);
    actions_[id] = action;
    buttons_[id] = button;
    controls_.push_back(button);
    return button;
}

void SearchBands::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // A new colour scheme: the pictures are drawn again for its background.
    if (event->type() == QEvent::PaletteChange)
        for (const auto& [id, action] : actions_)
            action->setIcon(PixelIconOn(QStringLiteral(":/search/%1.png").arg(id), palette().color(QPalette::Window)));
}

QAction* SearchBands::Action(int id) const
{
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

QToolButton* SearchBands::Button(int id) const
{
    auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
}

bool SearchBands::IsChecked(int id) const
{
    QAction* action = Action(id);
    return action && action->isChecked();
}

void SearchBands::SetChecked(int id, bool checked)
{
    if (QAction* action = Action(id))
        action->setChecked(checked);
}

void SearchBands::SetMiscFont(const QFont& font)
{
    encodingList_->setFont(font);
    encodingList_->view()->setFont(font);
}

void SearchBands::OnEncodingActivated(int index)
{
    const int row = text::RowOfComboPosition(index);
    if (row < 0) {
        dlog::Write(u"ERROR: The combobox's index was not found.\n");
        return;
    }
    // A section heading is not an encoding: the first encoding below it that can be chosen is meant.
    if (text::EncodingTable()[static_cast<size_t>(row)].iconvName)
        return;
    for (int next = index + 1; next < encodingList_->count(); ++next) {
        if (EncodingAvailable(next)) {
            encodingList_->setCurrentIndex(next);
            return;
        }
    }
}

bool SearchBands::EncodingAvailable(int index) const
{
    const int row = text::RowOfComboPosition(index);
    if (row < 0 || !text::EncodingTable()[static_cast<size_t>(row)].iconvName)
        return false;
    static_cast<EncodingBox*>(encodingList_)->Check(index);
    const auto* model = qobject_cast<const QStandardItemModel*>(encodingList_->model());
    return !model || !model->item(index) || model->item(index)->isEnabled();
}

}  // namespace mirudex::ui
