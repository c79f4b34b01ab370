#include "ui/settings/SettingsPages.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/DebugLog.h"
#include "core/Registry.h"
#include "ui/common/Resources.h"
#include "ui/settings/SettingsHost.h"
#include "userdata/History.h"

namespace mirudex::ui {

namespace {

constexpr int kMaxNumberChars = 31;     // x, y, width, height
constexpr int kMaxHistoryChars = 1023;  // the history's most entries
constexpr int kMaxCopyChars = 1023;     // each copy text

QVBoxLayout* Column(QGroupBox* group) { return static_cast<QVBoxLayout*>(group->layout()); }

void SetPreviewColors(QLabel* label, const QColor& text, const QColor& background)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::Window, background);
    label->setPalette(pal);
    label->setAutoFillBackground(true);
}

}  // namespace

QString BraceWrapped(const QString& text)
{
    QString out = text;
    if (!out.startsWith(u'{'))
        out.prepend(u'{');
    if (!out.endsWith(u'}') || out.size() == 1)
        out.append(u'}');
    return out;
}

// ---- 131 "Mirudex" ----------------------------------------------------------

SettingsMainPage::SettingsMainPage(SettingsContext& context, QWidget* parent)
    : SettingsPage(context, 131, QStringLiteral("Mirudex"), parent)
{
    auto* column = Column(group_);
    column->addWidget(BoolCheck(1009,
                                QCoreApplication::translate("Mirudex", "&Remember the window's size and position"),
                                opt::window::kRememberSize));

    const QRect frame = ctx_.host.MainWindowFrame();
    auto* grid = new QGridLayout;
    QLineEdit* x = Edit(1001);
    QLineEdit* y = Edit(1000);
    QLineEdit* w = Edit(1003);
    QLineEdit* h = Edit(1002);
    x->setText(QString::number(frame.left()));
    y->setText(QString::number(frame.top()));
    w->setText(QString::number(frame.width()));
    h->setText(QString::number(frame.height()));
    // Each field's label carries its mnemonic.
    auto buddyLabel = [this](const QString& text, QWidget* buddy) {
        auto* label = new QLabel(text, group_);
        label->setBuddy(buddy);
        return label;
    };
    grid->addWidget(buddyLabel(QCoreApplication::translate("Mirudex", "&x:"), x), 0, 0);
    grid->addWidget(x, 0, 1);
    grid->addWidget(buddyLabel(QCoreApplication::translate("Mirudex", "&y:"), y), 0, 2);
    grid->addWidget(y, 0, 3);
    grid->addWidget(Button(1010, QCoreApplication::translate("Mirudex", "Set")), 0, 4);
    grid->addWidget(buddyLabel(QCoreApplication::translate("Mirudex", "&Width:"), w), 1, 0);
    grid->addWidget(w, 1, 1);
    grid->addWidget(buddyLabel(QCoreApplication::translate("Mirudex", "&Height:"), h), 1, 2);
    grid->addWidget(h, 1, 3);
    grid->addWidget(Button(1011, QCoreApplication::translate("Mirudex", "Set")), 1, 4);
    column->addLayout(grid);

    for (QLineEdit* edit : {x, y, w, h}) {
        edit->installEventFilter(this);
        const int button = (edit == x || edit == y) ? 1010 : 1011;
        connect(edit, &QLineEdit::textEdited, this, [this, button] { MakeDefault(button); });
    }

    column->addWidget(BoolCheck(1012,
                                QCoreApplication::translate("Mirudex", "Show the &first-time messages at start-up"),
                                opt::misc::kFirstTime));
    column->addWidget(BoolCheck(1058, QCoreApplication::translate("Mirudex", "R&OMAji mode: show readings in romaji"),
                                opt::misc::kROMAjiMode));
    column->addWidget(
        BoolCheck(1059, QCoreApplication::translate("Mirudex", "Keep Mirudex in the &tray when its window is closed"),
                  opt::misc::kCloseToTray));
    column->addStretch();
}

bool SettingsMainPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        const QString name = watched->objectName();
        if (name == u"1000" || name == u"1001")
            MakeDefault(1010);
        else if (name == u"1002" || name == u"1003")
            MakeDefault(1011);
    }
    return SettingsPage::eventFilter(watched, event);
}

void SettingsMainPage::MakeDefault(int buttonId)
{
    // One default button in the whole dialog: Enter presses it wherever the focus is.
    const QString name = QString::number(buttonId);
    for (QPushButton* button : window()->findChildren<QPushButton*>())
        button->setDefault(button->objectName() == name && button->parentWidget() && isAncestorOf(button));
}

void SettingsMainPage::OnCommand(int controlId)
{
    switch (controlId) {
    case 1009: StoreCheck(1009, opt::window::kRememberSize); break;
    case 1012: StoreCheck(1012, opt::misc::kFirstTime); break;
    case 1059: StoreCheck(1059, opt::misc::kCloseToTray); break;
    case 1058:
        StoreCheck(1058, opt::misc::kROMAjiMode);
        ctx_.host.RepaintResultWindows();
        break;
    case 1010:
        // Only the window moves; shutdown stores where it really is.
        ctx_.host.MoveMainWindow(AtoiText(Control<QLineEdit>(1001)->text(), kMaxNumberChars),
                                 AtoiText(Control<QLineEdit>(1000)->text(), kMaxNumberChars));
        break;
    case 1011:
        ctx_.host.ResizeMainWindow(AtoiText(Control<QLineEdit>(1003)->text(), kMaxNumberChars),
                                   AtoiText(Control<QLineEdit>(1002)->text(), kMaxNumberChars));
        break;
    default: break;
    }
}

// ---- 136 "Miscellaneous Options" ------------------------------------------

SettingsMiscPage::SettingsMiscPage(SettingsContext& context, QWidget* parent)
    : SettingsPage(context, 136, QCoreApplication::translate("Mirudex", "Miscellaneous Options"), parent)
{
    auto* column = Column(group_);
    column->addWidget(
        new QLabel(QCoreApplication::translate("Mirudex", "Interface font (header bars, tool bars):"), group_));
    auto* row = new QHBoxLayout;
    QLabel* label = Label(1042);
    ShowFont(label, opt::misc::font::kFontItems);
    row->addWidget(label, 1);
    row->addWidget(Button(1043, QCoreApplication::translate("Mirudex", "&Font")));
    column->addLayout(row);
    column->addStretch();
}

void SettingsMiscPage::OnCommand(int controlId)
{
    if (controlId != 1043) {
        dlog::Write(u"ERROR: DlgProc_Options_Misc(): Unknown identifier\n");
        return;
    }
    if (!ChooseFont(opt::misc::font::kFontItems, Control<QLabel>(1042)))
        return;
    LoadFonts(options_, ctx_.resources.fonts, ctx_.dpiY);
    ctx_.host.MiscFontChanged();
}

// ---- 134 "Search Window" -----------------------------------------------------

SettingsSearchPage::SettingsSearchPage(SettingsContext& context, QWidget* parent)
    : SettingsPage(context, 134, QCoreApplication::translate("Mirudex", "Search Window"), parent)
{
    auto* column = Column(group_);
    auto* row = new QHBoxLayout;
    QLabel* label = Label(1038);
    label->setMargin(3);
    ShowFont(label, opt::search::font::kFontItems);
    row->addWidget(label, 1);
    row->addWidget(Button(1039, QCoreApplication::translate("Mirudex", "&Font")));
    row->addWidget(Button(1040, QCoreApplication::translate("Mirudex", "&Text Color")));
    row->addWidget(Button(1041, QCoreApplication::translate("Mirudex", "&Window Color")));
    column->addLayout(row);
    column->addWidget(
        BoolCheck(1044, QCoreApplication::translate("Mirudex", "Always &keep the keyboard focus in the search box"),
                  opt::search::kAlwaysSearchFocus));
    column->addWidget(
        BoolCheck(1045, QCoreApplication::translate("Mirudex", "Show the &help text in the search box at start-up"),
                  opt::search::kShowInitialText));
    column->addWidget(BoolCheck(1046, QCoreApplication::translate("Mirudex", "&Paste copied text into the search box"),
                                opt::misc::kGrabClipboard));
    column->addWidget(BoolCheck(
        1048,
        QCoreApplication::translate("Mirudex", "Paste highlighted text (the primary &selection) into the search box"),
        opt::misc::kGrabSelection));
    column->addWidget(BoolCheck(1047, QCoreApplication::translate("Mirudex", "... and search for it at &once"),
                                opt::misc::kGrabClipboardAutoSearch));
    column->addStretch();
    ShowPreview();
}

void SettingsSearchPage::ShowPreview()
{
    SetPreviewColors(Control<QLabel>(1038), ColorFromColorref(options_.GetINT(opt::search::font::kColor)),
                     ColorFromColorref(options_.GetINT(opt::search::kWindowBG)));
}

void SettingsSearchPage::OnCommand(int controlId)
{
    switch (controlId) {
    case 1039:
        if (!ChooseFont(opt::search::font::kFontItems, Control<QLabel>(1038)))
            return;
        break;
    case 1040:
        if (!ChooseColor(opt::search::font::kColor))
            return;
        break;
    case 1041:
        if (!ChooseColor(opt::search::kWindowBG))
            return;
        break;
    case 1044: StoreCheck(1044, opt::search::kAlwaysSearchFocus); return;
    case 1045: StoreCheck(1045, opt::search::kShowInitialText); return;
    case 1046: StoreCheck(1046, opt::misc::kGrabClipboard); return;
    case 1047: StoreCheck(1047, opt::misc::kGrabClipboardAutoSearch); return;
    case 1048: StoreCheck(1048, opt::misc::kGrabSelection); return;
    default: return;
    }
    ShowPreview();
    ctx_.host.SearchLookChanged();
}

// ---- 146 "The Recent History List" ------------------------------------------

SettingsHistoryPage::SettingsHistoryPage(SettingsContext& context, QWidget* parent)
    : SettingsPage(context, 146, QCoreApplication::translate("Mirudex", "The Recent History List"), parent)
{
    auto* column = Column(group_);
    column->addWidget(BoolCheck(1060, QCoreApplication::translate("Mirudex", "Keep a &history of searches"),
                                opt::search::recent_list::kEnabled));
    column->addWidget(BoolCheck(1064,
                                QCoreApplication::translate("Mirudex", "Keep the history from one &run to the next"),
                                opt::search::recent_list::kLoad));
    auto* row = new QHBoxLayout;
    QLineEdit* max = Edit(1061);
    auto* maxLabel = new QLabel(QCoreApplication::translate("Mirudex", "&Most entries:"), group_);
    maxLabel->setBuddy(max);
    row->addWidget(maxLabel);
    max->setText(QString::number(options_.GetINT(opt::search::recent_list::kMax)));
    row->addWidget(max);
    row->addWidget(Button(1062, QCoreApplication::translate("Mirudex", "A&pply")));
    column->addLayout(row);
    column->addWidget(Button(1063, QCoreApplication::translate("Mirudex", "&Clear History")), 0, Qt::AlignLeft);
    column->addStretch();
}

void SettingsHistoryPage::OnCommand(int controlId)
{
    userdata::HistoryList* history = ctx_.host.History();
    userdata::HistoryList none;
    const int max = AtoiText(Control<QLineEdit>(1061)->text(), kMaxHistoryChars);
    switch (controlId) {
    case 1060: StoreCheck(1060, opt::search::recent_list::kEnabled); break;
    case 1064: StoreCheck(1064, opt::search::recent_list::kLoad); break;
    case 1062: userdata::ApplyHistoryMax(history ? *history : none, options_, max); break;
    case 1063: userdata::ClearHistory(history ? *history : none, options_, max); break;
    default: break;
    }
}

// ---- 141 "Radical Lookup Options" -------------------------------------------

SettingsRadicalPage::SettingsRadicalPage(SettingsContext& context, QWidget* parent)
    : SettingsPage(context, 141, QCoreApplication::translate("Mirudex", "Radical Lookup Options"), parent)
{
    auto* column = Column(group_);
    column->addWidget(BoolCheck(1057, QCoreApplication::translate("Mirudex", "&Select Radical: CTRL+<click>"),
                                opt::radical_lookup::kCtrlClick));
    column->addStretch();
}

void SettingsRadicalPage::OnCommand(int controlId)
{
    if (controlId == 1057)
        StoreCheck(1057, opt::radical_lookup::kCtrlClick);
}

// ---- 142 "Copying EDICT Entries" --------------------------------------------

namespace {

struct CopyField {
    int id;
    std::string_view key;
    const char* label;
};

constexpr CopyField kCopyFields[] = {
    {1000, opt::results::copy::kFormat, QT_TRANSLATE_NOOP("Mirudex", "&Format:")},
    {1004, opt::results::copy::kSepInfo, QT_TRANSLATE_NOOP("Mirudex", "Between &info markers:")},
    {1005, opt::results::copy::kSepMeaning, QT_TRANSLATE_NOOP("Mirudex", "Between &meanings:")},
    {1006, opt::results::copy::kSepMultiple, QT_TRANSLATE_NOOP("Mirudex", "Between &entries:")},
};

}  // namespace

SettingsCopyPage::SettingsCopyPage(SettingsContext& context, QWidget* parent)
    : SettingsPage(context, 142, QCoreApplication::translate("Mirudex", "Copying EDICT Entries"), parent)
{
    auto* column = Column(group_);
    auto* grid = new QGridLayout;
    int row = 0;
    for (const CopyField& field : kCopyFields) {
        QLineEdit* edit = Edit(field.id);
        edit->setText(QString::fromStdString(options_.GetString(field.key)));
        auto* label = new QLabel(QCoreApplication::translate("Mirudex", field.label), group_);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        ++row;
    }
    column->addLayout(grid);
    column->addWidget(
        new QLabel(QCoreApplication::translate("Mirudex",
                                               "Format words: %word %kana %meaning %info. Texts are kept between "
                                               "{ and }, which are added when missing."),
                   group_));
    column->addWidget(Button(1001, QCoreApplication::translate("Mirudex", "A&pply\n(You must click this)")), 0,
                      Qt::AlignLeft);
    column->addStretch();
}

void SettingsCopyPage::OnCommand(int controlId)
{
    if (controlId != 1001)
        return;
    for (const CopyField& field : kCopyFields) {
        const QString typed = Control<QLineEdit>(field.id)->text().left(kMaxCopyChars);
        options_.SetSTRING(field.key, OptionText(BraceWrapped(typed)));
    }
    ctx_.host.RepaintResultWindows();
}

}  // namespace mirudex::ui
