#include "ui/search/SearchBands.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QRegularExpressionValidator>
#include <QToolButton>

#include "core/DebugLog.h"
#include "platform/qt/QtText.h"
#include "text/Encoding.h"
#include "ui/search/SearchCommands.h"

// The button pictures live in this static library's resources, which are
// registered by hand (a static library has no start-up code of its own).
static void InitSearchWindowResources() { Q_INIT_RESOURCE(searchwindow); }

namespace mirudex::ui {

namespace {

constexpr QSize kButtonImage{16, 15};
constexpr QSize kSearchButtonImage{45, 15};
constexpr int kSeparator = 0;

}  // namespace

SearchBands::SearchBands(QWidget* parent) : QWidget(parent)
{
    static const bool resourcesReady = (InitSearchWindowResources(), true);
    (void)resourcesReady;
    setObjectName(QStringLiteral("ReBarWindow32"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);  // the menu colour
    layout_ = new QHBoxLayout(this);
    layout_->setContentsMargins(2, 1, 2, 1);
    layout_->setSpacing(0);

    typeGroup_ = new QActionGroup(this);
    typeGroup_->setExclusive(true);

    AddBand(QString());  // band 1 holds nothing
    AddToolBar(AddBand(QString()), {ID_LANG_JAPANESE, ID_LANG_ENGLISH, ID_LANG_KANJI, ID_LANG_AUTOMATIC});
    AddToolBar(AddBand(QStringLiteral("Search")), {ID_TYPE_BEGINNING, ID_TYPE_MIDDLE, ID_TYPE_END, ID_TYPE_EXACT});
    AddToolBar(AddBand(QString()), {ID_MATCH_SUBSTRINGS, ID_WORDS_ONLY, ID_KANA_INSENSITIVE, ID_REVERSE_CONJUGATION});
    AddToolBar(AddBand(QStringLiteral("Conversion")), {ID_ROMAJI_CONVERSION, kSeparator, ID_SHOW_CONVERTED});

    QWidget* encodingBand = AddBand(QString());
    encodingList_ = new QComboBox(encodingBand);
    encodingList_->setObjectName(QStringLiteral("EncodingList"));
    encodingList_->setFixedWidth(100);
    for (const text::EncodingRow& row : text::EncodingTable())
        encodingList_->addItem(Q(row.displayName));
    encodingList_->view()->setMinimumWidth(250);  // the dropped list is wider than the box
    encodingList_->setMaxVisibleItems(300 / std::max(1, encodingList_->fontMetrics().height() + 2));
    encodingList_->setCurrentIndex(1);
    encodingBand->layout()->addWidget(encodingList_);
    connect(encodingList_, &QComboBox::activated, this, &SearchBands::OnEncodingActivated);

    QWidget* resultsBand = AddBand(QStringLiteral("Results"));
    resultsField_ = new QLineEdit(resultsBand);
    resultsField_->setObjectName(QStringLiteral("ResultsField"));
    resultsField_->setFixedSize(30, 18);
    resultsField_->setAlignment(Qt::AlignCenter);
    resultsField_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), resultsField_));
    resultsField_->setTextMargins(0, 0, 0, 0);
    resultsBand->layout()->addWidget(resultsField_);

    AddToolBar(AddBand(QString()), {ID_SEARCH_GO});
    AddToolBar(AddBand(QString()), {ID_RANDOM_WORD, ID_RANDOM_KANJI});
    layout_->addStretch(1);
}

QWidget* SearchBands::AddBand(const QString& caption)
{
    if (layout_->count() > 0) {
        auto* border = new QFrame(this);
        border->setFrameShape(QFrame::VLine);
        border->setFrameShadow(QFrame::Sunken);
        layout_->addWidget(border);
    }
    auto* band = new QWidget(this);
    auto* bandLayout = new QHBoxLayout(band);
    bandLayout->setContentsMargins(3, 0, 3, 0);
    bandLayout->setSpacing(3);
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
    auto* action = new QAction(QIcon(QStringLiteral(":/search/%1.png").arg(id)), Q(SearchToolTip(id)), this);
    action->setObjectName(name);
    action->setData(id);
    action->setCheckable(checkable);
    action->setToolTip(Q(SearchToolTip(id)));
    if (id >= ID_TYPE_BEGINNING && id <= ID_TYPE_EXACT)
        typeGroup_->addAction(action);
    connect(action, &QAction::triggered, this, [this, id] { emit commandTriggered(id); });

    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setDefaultAction(action);
    button->setAutoRaise(true);  // flat
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setIconSize(id == ID_SEARCH_GO ? kSearchButtonImage : kButtonImage);
    button->setFocusPolicy(Qt::NoFocus);
    actions_[id] = action;
    buttons_[id] = button;
    return button;
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
    // A section heading is not an encoding: the row below it is meant.
    if (!text::EncodingTable()[static_cast<size_t>(row)].iconvName && index + 1 < encodingList_->count())
        encodingList_->setCurrentIndex(index + 1);
}

}  // namespace mirudex::ui
