#include "ui/settings/SettingsFontsPage.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/Registry.h"
#include "ui/common/Resources.h"
#include "ui/settings/SettingsHost.h"

namespace mirudex::ui {

const FontsPageLayout kKanjiPageLayout{
    132,
    QT_TRANSLATE_NOOP("Mirudex", "Kanji Window"),
    true,
    {{
        {QT_TRANSLATE_NOOP("Mirudex", "&Kanji:"), 1020, 1021, 1022, &opt::kanji::fonts::kanji::kFontItems,
         opt::kanji::fonts::kanji::kColor},
        {QT_TRANSLATE_NOOP("Mirudex", "&On:"), 1023, 1024, 1025, &opt::kanji::fonts::on::kFontItems,
         opt::kanji::fonts::on::kColor},
        {QT_TRANSLATE_NOOP("Mirudex", "K&un:"), 1036, 0, 1026, &opt::kanji::fonts::on::kFontItems,
         opt::kanji::fonts::kun::kColor},
        {QT_TRANSLATE_NOOP("Mirudex", "&Meaning:"), 1027, 1028, 1029, &opt::kanji::fonts::meaning::kFontItems,
         opt::kanji::fonts::meaning::kColor},
    }},
    1030,
    1031,
    1032,
    opt::kanji::colors::kBG1,
    opt::kanji::colors::kBG2,
    1033,
    1034,
    1035,
    opt::kanji::colors::kBorderOutside,
    opt::kanji::colors::kBorderInside,
    opt::kanji::colors::kBGWindow,
};

const FontsPageLayout kResultPageLayout{
    101,
    QT_TRANSLATE_NOOP("Mirudex", "Result Window"),
    false,
    {{
        {QT_TRANSLATE_NOOP("Mirudex", "&Word:"), 1016, 1001, 1004, &opt::results::fonts::word::kFontItems,
         opt::results::fonts::word::kColor},
        {QT_TRANSLATE_NOOP("Mirudex", "&Kana:"), 1014, 1002, 1005, &opt::results::fonts::kana::kFontItems,
         opt::results::fonts::kana::kColor},
        {QT_TRANSLATE_NOOP("Mirudex", "&Meaning:"), 1015, 1003, 1006, &opt::results::fonts::meaning::kFontItems,
         opt::results::fonts::meaning::kColor},
        {QT_TRANSLATE_NOOP("Mirudex", "&Info:"), 1017, 1007, 1008, &opt::results::fonts::info::kFontItems,
         opt::results::fonts::info::kColor},
    }},
    1018,
    1019,
    1012,
    opt::results::colors::kBG1,
    opt::results::colors::kBG2,
    1011,
    1010,
    1013,
    opt::results::colors::kBorderOutside,
    opt::results::colors::kBorderInside,
    opt::results::colors::kBGWindow,
};

SettingsFontsPage::SettingsFontsPage(SettingsContext& context, const FontsPageLayout& layout, QWidget* parent)
    : SettingsPage(context, layout.pageId, QCoreApplication::translate("Mirudex", layout.caption), parent),
      layout_(layout)
{
    auto* column = static_cast<QVBoxLayout*>(group_->layout());
    auto* grid = new QGridLayout;
    int r = 0;
    for (const FontRowLayout& row : layout.rows) {
        // The row's title carries the mnemonic (its buttons' texts repeat on
        // every row) and leads to its first button.
        auto* title = new QLabel(QCoreApplication::translate("Mirudex", row.title), group_);
        grid->addWidget(title, r, 0);
        QLabel* label = Label(row.labelId);
        label->setMargin(3);
        label->setMinimumWidth(180);
        grid->addWidget(label, r, 1);
        QPushButton* font = nullptr;
        if (row.fontId) {
            font = Button(row.fontId, QCoreApplication::translate("Mirudex", "Font"));
            grid->addWidget(font, r, 2);
        }
        QPushButton* color = Button(row.colorId, QCoreApplication::translate("Mirudex", "Color"));
        grid->addWidget(color, r, 3);
        title->setBuddy(font ? font : color);
        ++r;
    }
    column->addLayout(grid);

    auto* backgrounds = new QGridLayout;
    auto* radio1 = new QRadioButton(QCoreApplication::translate("Mirudex", "Background (&1)"), group_);
    auto* radio2 = new QRadioButton(QCoreApplication::translate("Mirudex", "Background (&2)"), group_);
    radio1->setObjectName(QString::number(layout.radio1Id));
    radio2->setObjectName(QString::number(layout.radio2Id));
    radio1->setChecked(true);
    connect(radio1, &QRadioButton::clicked, this, [this] { OnCommand(layout_.radio1Id); });
    connect(radio2, &QRadioButton::clicked, this, [this] { OnCommand(layout_.radio2Id); });
    backgrounds->addWidget(radio1, 0, 0);
    backgrounds->addWidget(radio2, 1, 0);
    backgrounds->addWidget(Button(layout.backgroundColorId, QCoreApplication::translate("Mirudex", "Color")), 0, 1, 2,
                           1);
    auto colorRow = [&](const QString& text, int buttonId, int r) {
        QPushButton* button = Button(buttonId, QCoreApplication::translate("Mirudex", "Color"));
        auto* label = new QLabel(text, group_);
        label->setBuddy(button);
        backgrounds->addWidget(label, r, 2);
        backgrounds->addWidget(button, r, 3);
    };
    colorRow(QCoreApplication::translate("Mirudex", "Border (ou&tside):"), layout.outsideId, 0);
    colorRow(QCoreApplication::translate("Mirudex", "Border (insi&de):"), layout.insideId, 1);
    colorRow(QCoreApplication::translate("Mirudex", "Wi&ndow:"), layout.windowId, 2);
    column->addLayout(backgrounds);
    if (!layout.kanji)
        column->addWidget(BoolCheck(
            kCompactRowsId,
            QCoreApplication::translate("Mirudex", "&Compact rows: word, reading and first meaning on one line"),
            opt::results::kCompactRows));
    column->addStretch();
    ShowPreviews();
}

void SettingsFontsPage::ShowPreviews()
{
    const bool second = Control<QRadioButton>(layout_.radio2Id)->isChecked();
    const QColor background = ColorFromColorref(options_.GetINT(second ? layout_.bg2Key : layout_.bg1Key));
    for (const FontRowLayout& row : layout_.rows) {
        QLabel* label = Control<QLabel>(row.labelId);
        ShowFont(label, *row.font);
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, ColorFromColorref(options_.GetINT(row.colorKey)));
        pal.setColor(QPalette::Window, background);
        label->setPalette(pal);
        label->setAutoFillBackground(true);
    }
}

void SettingsFontsPage::FontChanged(const FontRowLayout& row)
{
    LoadFonts(options_, ctx_.resources.fonts, ctx_.dpiY);
    if (layout_.kanji)
        ctx_.host.KanjiFontsChanged(row.labelId == layout_.rows[0].labelId);
    else
        ctx_.host.ResultFontsChanged();
}

void SettingsFontsPage::ColorChanged()
{
    if (layout_.kanji) {
        LoadKanjiColors(options_, ctx_.resources.kanji);
        ctx_.host.KanjiColorsChanged();
    } else {
        LoadResultColors(options_, ctx_.resources.result);
        ctx_.host.RepaintResultWindows();
    }
}

void SettingsFontsPage::OnCommand(int controlId)
{
    if (controlId == layout_.radio1Id || controlId == layout_.radio2Id) {
        ShowPreviews();
        return;
    }
    if (!layout_.kanji && controlId == kCompactRowsId) {
        StoreCheck(kCompactRowsId, opt::results::kCompactRows);
        ctx_.host.ResultFontsChanged();  // the rows' height changes: both windows lay out again
        return;
    }
    for (const FontRowLayout& row : layout_.rows) {
        if (row.fontId && controlId == row.fontId) {
            if (ChooseFont(*row.font)) {
                ShowPreviews();
                FontChanged(row);
            }
            return;
        }
        if (controlId == row.colorId) {
            if (ChooseColor(row.colorKey)) {
                ShowPreviews();
                ColorChanged();
            }
            return;
        }
    }
    std::string_view key;
    if (controlId == layout_.backgroundColorId)
        key = Control<QRadioButton>(layout_.radio2Id)->isChecked() ? layout_.bg2Key : layout_.bg1Key;
    else if (controlId == layout_.outsideId)
        key = layout_.outsideKey;
    else if (controlId == layout_.insideId)
        key = layout_.insideKey;
    else if (controlId == layout_.windowId)
        key = layout_.windowKey;
    if (!key.empty() && ChooseColor(key)) {
        ShowPreviews();
        ColorChanged();
    }
}

}  // namespace mirudex::ui
