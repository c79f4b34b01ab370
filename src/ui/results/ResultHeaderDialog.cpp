#include "ui/results/ResultHeaderDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace mirudex::ui {

namespace {
constexpr const char* kRowLabels[kHeaderItemCount] = {"Word",        "Kana",        "Info",     "Meaning",
                                                      "Word length", "Kana length", "Relevance"};
constexpr const char* kColumnLabels[3] = {"Top", "Bottom", "None"};
constexpr int kColumnBar[3] = {0, 1, kNoBar};
}  // namespace

ResultHeaderDialog::ResultHeaderDialog(const ResultHeaderItems& items, std::function<void(int, int)> onChoice,
                                       QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Result Window Header Bars"));
    setObjectName(QStringLiteral("145"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    for (int id = 0; id < kHeaderItemCount; ++id) {
        grid->addWidget(new QLabel(QString::fromLatin1(kRowLabels[id]), this), id, 0);
        auto* group = new QButtonGroup(this);
        for (int column = 0; column < 3; ++column) {
            auto* radio = new QRadioButton(QString::fromLatin1(kColumnLabels[column]), this);
            radio->setObjectName(QString::number(kHeaderDialogFirstRadio + id * 3 + column));
            radio->setChecked(items[static_cast<size_t>(id)].bar == kColumnBar[column]);
            // Read aloud with its row: "Word: Top".
            radio->setAccessibleName(QString::fromLatin1(kRowLabels[id]) + QStringLiteral(": ") +
                                     QString::fromLatin1(kColumnLabels[column]));
            group->addButton(radio, column);
            grid->addWidget(radio, id, column + 1);
        }
        connect(group, &QButtonGroup::idClicked, this,
                [onChoice, id](int column) { onChoice(id, kColumnBar[column]); });
    }
    auto* hint = new QLabel(QStringLiteral("Select a radio button to move that header item.  'Top' is the top header "
                                           "bar.  'Bottom' is the bottom one.  'None' doesn't show that item."),
                            this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

}  // namespace mirudex::ui
