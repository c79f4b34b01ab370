// The settings dialog over the default options: the tree and its pages, the
// check boxes, the main window's place, the font and colour protocols with
// their previews, the history page and the copy formats.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include "ui/settings/SettingsDialog.h"
#include "ui/settings/SettingsPages.h"
#include "ui/settings/settings_test_fixture.h"
#include "ui/support/UiTestSupport.h"

using namespace mirudex;
using namespace mirudex::ui;
using platform::FontChoice;

namespace {

class SettingsDialogTest : public test::SettingsTest {
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        dialog = std::make_unique<SettingsDialog>(*context, nullptr);
        dialog->show();
    }
    void TearDown() override
    {
        dialog.reset();
        SettingsTest::TearDown();
    }

    // Shows the page of this tree index and finds one of its controls.
    template <typename T>
    T* On(int page, int id)
    {
        dialog->SelectPage(page);
        T* control = dialog->page(page)->findChild<T*>(QString::number(id));
        EXPECT_NE(control, nullptr) << "page " << page << " control " << id;
        return control;
    }
    void Click(int page, int id) { ClickButton(On<QAbstractButton>(page, id)); }
    // Check boxes and radio buttons take clicks on their box, at the left.
    static void ClickButton(QAbstractButton* button)
    {
        const bool boxed = qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button);
        QTest::mouseClick(button, Qt::LeftButton, {}, boxed ? QPoint(6, button->height() / 2) : QPoint());
    }

    std::unique_ptr<SettingsDialog> dialog;
};

TEST_F(SettingsDialogTest, TreeShowsOnePageAtATimeStartingAtTheRoot)
{
    struct Item {
        const char* text;
        int pageId;
        int parent;
        bool expanded;
    };
    const Item items[] = {
        {"Mirudex Options", 131, -1, true}, {"Misc. Options", 136, 0, false},  {"Dictionaries", 130, 0, false},
        {"Search Window", 134, 0, true},    {"Recent History", 146, 3, false}, {"Kanji Window", 132, 0, false},
        {"Result Window", 101, 0, true},    {"Radical Lookup", 141, 0, false}, {"EDICT Copy", 142, 6, false}};
    EXPECT_EQ(dialog->windowTitle(), "Mirudex Options");
    EXPECT_EQ(dialog->objectName(), "125");
    QTreeWidget* tree = dialog->tree();
    EXPECT_EQ(tree->objectName(), "1007");
    EXPECT_EQ(tree->currentItem()->text(0), "Mirudex Options");
    EXPECT_EQ(dialog->currentPage(), 0);
    EXPECT_TRUE(dialog->page(0)->isVisible());

    ASSERT_EQ(tree->findItems(QStringLiteral("*"), Qt::MatchWildcard | Qt::MatchRecursive).size(), 9);
    std::vector<QTreeWidgetItem*> all;
    for (const Item& it : items) {
        auto found = tree->findItems(it.text, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << it.text;
        all.push_back(found[0]);
    }
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(items[i].text);
        QTreeWidgetItem* item = all[static_cast<size_t>(i)];
        EXPECT_EQ(item->isExpanded(), items[i].expanded);
        if (items[i].parent < 0)
            EXPECT_EQ(item->parent(), nullptr);
        else
            EXPECT_EQ(item->parent(), all[static_cast<size_t>(items[i].parent)]);

        tree->setCurrentItem(item);
        EXPECT_EQ(dialog->currentPage(), i);
        for (int p = 0; p < 9; ++p)
            EXPECT_EQ(dialog->page(p)->isVisible(), p == i) << "page " << p;
        EXPECT_EQ(dialog->page(i)->objectName(), QString::number(items[i].pageId));
    }
}

// A screen reader can name every control of every page (the tree, the
// buttons, the edits by the labels beside them).
TEST_F(SettingsDialogTest, EveryControlOfEveryPageHasAName)
{
    for (int page = 0; page < 9; ++page) {
        dialog->SelectPage(page);
        SCOPED_TRACE(dialog->page(page)->objectName().toStdString());
        EXPECT_EQ(test::UnnamedControls(dialog.get()), std::vector<std::string>{});
    }
}

TEST_F(SettingsDialogTest, CheckBoxesShowAndStoreTheirOptions)
{
    struct Case {
        int page;
        int id;
        const char* key;
        const char* effect;  // host call after a click, or nullptr
    };
    const Case cases[] = {
        {0, 1009, ".\\Window\\RememberSize", nullptr},        {0, 1012, ".\\Misc\\FirstTime", nullptr},
        {0, 1058, ".\\Misc\\ROMAjiMode", "result repaint"},   {2, 1008, ".\\Dictionaries\\Indexing", nullptr},
        {3, 1044, ".\\Search\\AlwaysSearchFocus", nullptr},   {3, 1045, ".\\Search\\ShowInitialText", nullptr},
        {3, 1046, ".\\Misc\\GrabClipboard", nullptr},         {3, 1047, ".\\Misc\\GrabClipboard-AutoSearch", nullptr},
        {4, 1060, ".\\Search\\RecentList\\Enabled", nullptr}, {4, 1064, ".\\Search\\RecentList\\Load", nullptr},
        {7, 1057, ".\\RadicalLookup\\CtrlClick", nullptr},    {6, 1070, ".\\Results\\CompactRows", "result fonts"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const bool before = options.GetBOOL(c.key);
        auto* check = On<QCheckBox>(c.page, c.id);
        EXPECT_EQ(check->isChecked(), before);
        host.calls.clear();
        ClickButton(check);
        EXPECT_EQ(options.GetBOOL(c.key), !before);
        ClickButton(check);
        EXPECT_EQ(options.GetBOOL(c.key), before);
        if (c.effect)
            EXPECT_EQ(host.calls, (std::vector<std::string>{c.effect, c.effect}));
        else
            EXPECT_TRUE(host.calls.empty());
    }
}

TEST_F(SettingsDialogTest, MainWindowPlaceIsReadLikeTheCRuntimeAndNotStored)
{
    EXPECT_EQ(On<QLineEdit>(0, 1001)->text(), "352");
    EXPECT_EQ(On<QLineEdit>(0, 1000)->text(), "213");
    EXPECT_EQ(On<QLineEdit>(0, 1003)->text(), "800");
    EXPECT_EQ(On<QLineEdit>(0, 1002)->text(), "600");

    struct Case {
        const char* first;
        const char* second;
        int firstValue, secondValue;
    };
    const Case cases[] = {
        {"120", "-5", 120, -5}, {"  77px", "abc", 77, 0}, {"+12", "99999999999", 12, 2147483647}, {"", "  -0", 0, 0}};
    for (const Case& c : cases) {
        On<QLineEdit>(0, 1001)->setText(c.first);
        On<QLineEdit>(0, 1000)->setText(c.second);
        On<QLineEdit>(0, 1003)->setText(c.first);
        On<QLineEdit>(0, 1002)->setText(c.second);
        host.calls.clear();
        Click(0, 1010);
        Click(0, 1011);
        EXPECT_EQ(host.calls, (std::vector<std::string>{
                                  "move " + std::to_string(c.firstValue) + " " + std::to_string(c.secondValue),
                                  "resize " + std::to_string(c.firstValue) + " " + std::to_string(c.secondValue)}));
    }
    EXPECT_EQ(options.GetINT(".\\Window\\Window_x"), 352);
    EXPECT_EQ(options.GetINT(".\\Window\\Window_w"), 800);
}

TEST_F(SettingsDialogTest, TypingInAPlaceEditMakesItsSetButtonTheDefault)
{
    auto* setPosition = On<QPushButton>(0, 1010);
    auto* setSize = On<QPushButton>(0, 1011);
    auto* done = dialog->findChild<QPushButton*>(QStringLiteral("1"));
    EXPECT_TRUE(done->isDefault());

    QLineEdit* height = On<QLineEdit>(0, 1002);
    height->setFocus();
    QTest::keyClicks(height, "7");
    EXPECT_TRUE(setSize->isDefault());
    EXPECT_FALSE(setPosition->isDefault());
    EXPECT_FALSE(done->isDefault());
    host.calls.clear();
    QTest::keyClick(height, Qt::Key_Return);
    EXPECT_EQ(host.calls, std::vector<std::string>{"resize 800 6007"});
    EXPECT_TRUE(dialog->isVisible());

    QLineEdit* x = On<QLineEdit>(0, 1001);
    QTest::keyClicks(x, "1");
    EXPECT_TRUE(setPosition->isDefault());
    EXPECT_FALSE(setSize->isDefault());
    host.calls.clear();
    QTest::keyClick(x, Qt::Key_Enter);
    EXPECT_EQ(host.calls, std::vector<std::string>{"move 3521 213"});
}

TEST_F(SettingsDialogTest, FontButtonsStoreTheChosenFontAndRemakeIt)
{
    struct Case {
        int page;
        int button;
        const char* base;
        std::vector<int> labels;  // labels showing this font
        const char* effect;
        QFont Fonts::*font;
    };
    const Case cases[] = {
        {1, 1043, ".\\Misc\\Font", {1042}, "misc font", &Fonts::misc},
        {3, 1039, ".\\Search\\Font", {1038}, "search look", nullptr},
        {5, 1021, ".\\Kanji\\Fonts\\Kanji", {1020}, "kanji fonts+radical", &Fonts::kanji_kanji},
        {5, 1024, ".\\Kanji\\Fonts\\On", {1023, 1036}, "kanji fonts", &Fonts::kanji_onkun},
        {5, 1028, ".\\Kanji\\Fonts\\Meaning", {1027}, "kanji fonts", &Fonts::kanji_meaning},
        {6, 1001, ".\\Results\\Fonts\\Word", {1016}, "result fonts", &Fonts::result_word},
        {6, 1002, ".\\Results\\Fonts\\Kana", {1014}, "result fonts", &Fonts::result_kana},
        {6, 1003, ".\\Results\\Fonts\\Meaning", {1015}, "result fonts", &Fonts::result_meaning},
        {6, 1007, ".\\Results\\Fonts\\Info", {1017}, "result fonts", &Fonts::result_info},
    };
    int size = 20;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.base);
        const std::string face = options.GetString(std::string(c.base) + "\\Font");
        const int before = options.GetINT(std::string(c.base) + "\\Size");
        for (int label : c.labels)
            EXPECT_EQ(On<QLabel>(c.page, label)->text(),
                      QString::fromStdString(face) + ", " + QString::number(before) + " pt.");

        // Cancelled: nothing changes.
        platform_.Clear();
        host.calls.clear();
        Click(c.page, c.button);
        ASSERT_EQ(platform_.Choosers().size(), 1u);
        const platform::ChooserCall call = platform_.Choosers()[0];
        EXPECT_EQ(call.kind, platform::ChooserCall::Kind::Font);
        EXPECT_EQ(call.font.face, face);
        EXPECT_EQ(call.font.pointSize, before);
        EXPECT_EQ(call.minPoints, 6);
        EXPECT_EQ(call.maxPoints, 100);
        EXPECT_EQ(options.GetINT(std::string(c.base) + "\\Size"), before);
        EXPECT_TRUE(host.calls.empty());

        ++size;
        platform_.ScriptFonts({FontChoice{"IPAGothic", size}});
        Click(c.page, c.button);
        EXPECT_EQ(options.GetString(std::string(c.base) + "\\Font"), "IPAGothic");
        EXPECT_EQ(options.GetINT(std::string(c.base) + "\\Size"), size);
        for (int label : c.labels)
            EXPECT_EQ(On<QLabel>(c.page, label)->text(), QString("IPAGothic, %1 pt.").arg(size));
        EXPECT_EQ(host.calls, std::vector<std::string>{c.effect});
        if (c.font) {
            const QFont& made = resources.fonts.*(c.font);
            EXPECT_EQ(made.families().value(0), "IPAGothic");
            EXPECT_EQ(made.pixelSize(), MulDiv(size, 96, 72));
        }
    }
}

TEST_F(SettingsDialogTest, ColorButtonsStoreTheChosenColourAndRedrawThePreviews)
{
    struct Case {
        int page;
        int radio;  // radio button clicked first, or 0
        int button;
        const char* key;
        const char* effect;
        int previewLabel;     // label whose text colour shows the key, or 0
        int backgroundLabel;  // label whose background shows the key, or 0
    };
    const Case cases[] = {
        {3, 0, 1040, ".\\Search\\Font\\Color", "search look", 1038, 0},
        {3, 0, 1041, ".\\Search\\WindowBG", "search look", 0, 1038},
        {5, 0, 1022, ".\\Kanji\\Fonts\\Kanji\\Color", "kanji colors", 1020, 0},
        {5, 0, 1025, ".\\Kanji\\Fonts\\On\\Color", "kanji colors", 1023, 0},
        {5, 0, 1026, ".\\Kanji\\Fonts\\Kun\\Color", "kanji colors", 1036, 0},
        {5, 0, 1029, ".\\Kanji\\Fonts\\Meaning\\Color", "kanji colors", 1027, 0},
        {5, 1030, 1032, ".\\Kanji\\Colors\\BG1", "kanji colors", 0, 1020},
        {5, 1031, 1032, ".\\Kanji\\Colors\\BG2", "kanji colors", 0, 1027},
        {5, 0, 1033, ".\\Kanji\\Colors\\Border_Outside", "kanji colors", 0, 0},
        {5, 0, 1034, ".\\Kanji\\Colors\\Border_Inside", "kanji colors", 0, 0},
        {5, 0, 1035, ".\\Kanji\\Colors\\BGWindow", "kanji colors", 0, 0},
        {6, 0, 1004, ".\\Results\\Fonts\\Word\\Color", "result repaint", 1016, 0},
        {6, 0, 1005, ".\\Results\\Fonts\\Kana\\Color", "result repaint", 1014, 0},
        {6, 0, 1006, ".\\Results\\Fonts\\Meaning\\Color", "result repaint", 1015, 0},
        {6, 0, 1008, ".\\Results\\Fonts\\Info\\Color", "result repaint", 1017, 0},
        {6, 1018, 1012, ".\\Results\\Colors\\BG1", "result repaint", 0, 1016},
        {6, 1019, 1012, ".\\Results\\Colors\\BG2", "result repaint", 0, 1017},
        {6, 0, 1011, ".\\Results\\Colors\\Border_Outside", "result repaint", 0, 0},
        {6, 0, 1010, ".\\Results\\Colors\\Border_Inside", "result repaint", 0, 0},
        {6, 0, 1013, ".\\Results\\Colors\\BGWindow", "result repaint", 0, 0},
    };
    int colour = 0x102030;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        if (c.radio)
            Click(c.page, c.radio);
        const int before = options.GetINT(c.key);
        platform_.Clear();
        host.calls.clear();
        Click(c.page, c.button);  // cancelled
        ASSERT_EQ(platform_.Choosers().size(), 1u);
        EXPECT_EQ(platform_.Choosers()[0].color, before);
        EXPECT_EQ(options.GetINT(c.key), before);
        EXPECT_TRUE(host.calls.empty());

        colour += 0x010203;
        platform_.ScriptColors({colour});
        Click(c.page, c.button);
        EXPECT_EQ(options.GetINT(c.key), colour);
        EXPECT_EQ(host.calls, std::vector<std::string>{c.effect});
        const QColor expected(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
        if (c.previewLabel) {
            EXPECT_EQ(On<QLabel>(c.page, c.previewLabel)->palette().color(QPalette::WindowText), expected);
        }
        if (c.backgroundLabel) {
            EXPECT_EQ(On<QLabel>(c.page, c.backgroundLabel)->palette().color(QPalette::Window), expected);
        }
    }
    // The shared colours were remade from the options.
    EXPECT_EQ(resources.kanji.bg2, ColorFromColorref(options.GetINT(".\\Kanji\\Colors\\BG2")));
    EXPECT_EQ(resources.result.border_inside, ColorFromColorref(options.GetINT(".\\Results\\Colors\\Border_Inside")));
    EXPECT_EQ(resources.kanji.kun, ColorFromColorref(options.GetINT(".\\Kanji\\Fonts\\Kun\\Color")));
}

TEST_F(SettingsDialogTest, BackgroundRadiosSwitchThePreviewBackground)
{
    options.SetINT(".\\Kanji\\Colors\\BG1", 0x0000FF);
    options.SetINT(".\\Kanji\\Colors\\BG2", 0x00FF00);
    dialog = std::make_unique<SettingsDialog>(*context, nullptr);
    dialog->show();
    EXPECT_TRUE(On<QRadioButton>(5, 1030)->isChecked());
    EXPECT_EQ(On<QLabel>(5, 1023)->palette().color(QPalette::Window), QColor(255, 0, 0));
    Click(5, 1031);
    for (int label : {1020, 1023, 1036, 1027})
        EXPECT_EQ(On<QLabel>(5, label)->palette().color(QPalette::Window), QColor(0, 255, 0));
    // The Kun row uses the On font and has no Font button of its own.
    int fontButtons = 0;
    for (QPushButton* b : dialog->page(5)->findChildren<QPushButton*>())
        fontButtons += b->text() == "Font";
    EXPECT_EQ(fontButtons, 3);
}

TEST_F(SettingsDialogTest, HistoryApplyTrimsAndClearEmpties)
{
    for (int i = 0; i < 10; ++i)
        host.history.Insert(0, u"item" + std::u16string(1, char16_t(u'0' + i)));
    EXPECT_EQ(On<QLineEdit>(4, 1061)->text(), "40");

    On<QLineEdit>(4, 1061)->setText("4 entries");
    Click(4, 1062);
    EXPECT_EQ(options.GetINT(".\\Search\\RecentList\\Max"), 4);
    ASSERT_EQ(host.history.size(), 4u);
    EXPECT_EQ(host.history.at(0), u"item9");  // the newest stay
    EXPECT_EQ(host.history.at(3), u"item6");

    On<QLineEdit>(4, 1061)->setText("25");
    Click(4, 1063);
    EXPECT_EQ(options.GetINT(".\\Search\\RecentList\\Max"), 25);
    EXPECT_TRUE(host.history.empty());
}

TEST_F(SettingsDialogTest, CopyTextsAreStoredInBracesOnlyOnApply)
{
    struct Case {
        int id;
        const char* key;
        QString typed;
        const char* stored;
    };
    const Case cases[] = {
        {1000, ".\\Results\\Copy\\Format", "%word - %kana", "{%word - %kana}"},
        {1004, ".\\Results\\Copy\\SepInfo", "{, }", "{, }"},
        {1005, ".\\Results\\Copy\\SepMeaning", "", "{}"},
        {1006, ".\\Results\\Copy\\SepMultiple", "{\\n", "{\\n}"},
    };
    EXPECT_EQ(On<QLineEdit>(8, 1000)->text(), "{%word (%kana) \\:\\: %meaning}");
    EXPECT_EQ(On<QLineEdit>(8, 1006)->text(), "{\\n}");
    for (const Case& c : cases)
        On<QLineEdit>(8, c.id)->setText(c.typed);
    EXPECT_EQ(options.GetString(".\\Results\\Copy\\SepMeaning"), "{ | }");  // nothing stored yet
    host.calls.clear();
    Click(8, 1001);
    for (const Case& c : cases)
        EXPECT_EQ(options.GetString(c.key), c.stored) << c.key;
    EXPECT_EQ(host.calls, std::vector<std::string>{"result repaint"});

    // A double colon cannot stand in the options file: it is kept as the escaped pair.
    On<QLineEdit>(8, 1000)->setText("%word :: %meaning");
    Click(8, 1001);
    EXPECT_EQ(options.GetString(".\\Results\\Copy\\Format"), "{%word \\:\\: %meaning}");
    const std::string saved = options.SaveToText();
    Registry reloaded;
    reloaded.LoadFromText(saved);
    EXPECT_EQ(reloaded.GetString(".\\Results\\Copy\\Format"), "{%word \\:\\: %meaning}");
}

TEST(SettingsTextTest, BraceWrappingAndNumbers)
{
    const std::pair<QString, QString> wraps[] = {{"abc", "{abc}"}, {"{abc}", "{abc}"}, {"", "{}"},   {"{", "{}"},
                                                 {"}", "{}"},      {"{a", "{a}"},      {"a}", "{a}"}};
    for (const auto& [typed, wrapped] : wraps)
        EXPECT_EQ(BraceWrapped(typed), wrapped) << typed.toStdString();
    EXPECT_EQ(AtoiText("123456789", 3), 123);
    EXPECT_EQ(AtoiText(" \t-42x", 31), -42);
    EXPECT_EQ(AtoiText("-99999999999", 31), -2147483647 - 1);
    EXPECT_EQ(OptionText("a::b:::c"), "a\\:\\:b\\:\\::c");
}

TEST_F(SettingsDialogTest, MiscPageLogsUnknownCommands)
{
    dialog->page(1)->OnCommand(4711);
    EXPECT_NE(Log().find("ERROR: DlgProc_Options_Misc(): Unknown identifier\n"), std::string::npos);
}

TEST_F(SettingsDialogTest, AllDoneEndsTheDialog)
{
    Click(0, 1009);  // any page control, then the button under the pages
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("1")), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

}  // namespace

// Every page, in each language the program ships: a check box, radio button
// or button of its own has a mnemonic, a label's mnemonic leads to its
// control, and no two controls the page shows (with the dialog's own All
// Done) share one.
TEST_F(SettingsDialogTest, EveryPageHasItsOwnMnemonicsInEveryLanguage)
{
    for (const char* locale : {"en_US", "ja_JP", "de_DE"}) {
        SCOPED_TRACE(locale);
        test::LanguageScope language(locale);
        EXPECT_EQ(language.loaded(), std::string(locale) != "en_US");
        // Texts are chosen when the dialog is made.
        SettingsDialog translated(*context, nullptr);
        translated.show();
        for (int page = 0; page < SettingsDialog::kPageCount; ++page) {
            translated.SelectPage(page);
            for (const std::string& problem : test::MnemonicProblems(&translated))
                ADD_FAILURE() << "page " << page << ": " << problem;
        }
    }
}
