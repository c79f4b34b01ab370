#include "ui/results/ResultHeaderDialog.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/qt/Translation.h"

namespace mirudex::ui {

namespace {
// Each row's label carries the row's mnemonic and leads to its first choice.
constexpr const char* kRowLabels[kHeaderItemCount] = {
    QT_TRANSLATE_NOOP("Mirudex", "&Word"),        QT_TRANSLATE_NOOP("Mirudex", "&Kana"),
    QT_TRANSLATE_NOOP("Mirudex", "&Info"),        QT_TRANSLATE_NOOP("Mirudex", "&Meaning"),
    QT_TRANSLATE_NOOP("Mirudex", "Word &length"), QT_TRANSLATE_NOOP("Mirudex", "Ka&na length"),
    QT_TRANSLATE_NOOP("Mirudex", "&Relevance")};
constexpr const char* kColumnLabels[3] = {QT_TRANSLATE_NOOP("Mirudex", "Top"), QT_TRANSLATE_NOOP("Mirudex", "Bottom"),
                                          QT_TRANSLATE_NOOP("Mirudex", "None")};
constexpr int kColumnBar[3] = {0, 1, kNoBar};
}  // namespace

ResultHeaderDialog::ResultHeaderDialog(const ResultHeaderItems& items, std::function<void(int, int)> onChoice,
                                       QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QCoreApplication::translate("Mirudex", "Result Window Header Bars"));
    setObjectName(QStringLiteral("145"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    for (int id = 0; id < kHeaderItemCount; ++id) {
        const QString rowLabel = QCoreApplication::translate("Mirudex", kRowLabels[id]);
        auto* label = new QLabel(rowLabel, this);
        grid->addWidget(label, id, 0);
        auto* group = new QButtonGroup(this);
        for (int column = 0; column < 3; ++column) {
            const QString columnLabel = QCoreApplication::translate("Mirudex", kColumnLabels[column]);
            auto* radio = new QRadioButton(columnLabel, this);
            if (column == 0)
                label->setBuddy(radio);
            radio->setObjectName(QString::number(kHeaderDialogFirstRadio + id * 3 + column));
            radio->setChecked(items[static_cast<size_t>(id)].bar == kColumnBar[column]);
            // Read aloud with its row: "Word: Top".
            radio->setAccessibleName(platform::WithoutMnemonic(rowLabel) + QStringLiteral(": ") + columnLabel);
            group->addButton(radio, column);
            grid->addWidget(radio, id, column + 1);
        }
        connect(group, &QButtonGroup::idClicked, this,
                [onChoice, id](int column) { onChoice(id, kColumnBar[column]); });
    }
    auto* hint = new QLabel(
        QCoreApplication::translate("Mirudex",
                                    "Select a radio button to move that header item.  'Top' is the top header "
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
