// The search box on its own: the romaji input method, CAPS LOCK, keys, the
// context menu and its undo names, and the band strip's controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include "platform/qt/QtText.h"
#include "platform/recording/RecordingPlatform.h"
#include "text/Encoding.h"
#include "text/Romaji.h"
#include "ui/search/SearchBands.h"
#include "ui/search/SearchCommands.h"
#include "ui/search/SearchEdit.h"

using namespace mirudex;
using namespace mirudex::ui;

namespace {

class SearchBox : public ::testing::Test {
protected:
    SearchBox() : edit(&text::RomajiToKana) { edit.resize(300, 80); }

    void Type(const char* keys)
    {
        for (const char* k = keys; *k; ++k)
            QTest::keyClick(&edit, *k);
    }
    QString Pending() const { return Q(const_cast<SearchEdit&>(edit).inputMethod().pending()); }

    platform::RecordingPlatform platform;
    SearchEdit edit;
};

TEST_F(SearchBox, RomajiBecomesKanaInPlace)
{
    struct Case {
        const char* keys;
        const char16_t* shown;
        const char* pending;
    };
    const Case cases[] = {
        {"k", u"k", "k"},
        {"ka", u"か", ""},
        {"nn", u"ん", ""},  // the doubled n goes to the converter as n'
        {"nna", u"んあ", ""},
        {"n", u"n", "n"},
        {"shashin", u"しゃしn", "n"},
        {"kitte", u"きって", ""},
        {"Kana", u"カな", ""},
        {"ra-men", u"らーめn", "n"},
    };
    for (const Case& c : cases) {
        edit.clear();
        edit.SetImeOn(true);
        Type(c.keys);
        EXPECT_EQ(edit.toPlainText(), Q(c.shown)) << c.keys;
        EXPECT_EQ(Pending(), QString::fromLatin1(c.pending)) << c.keys;
    }
}

TEST_F(SearchBox, ImeOffTypesPlainTextAndBackspaceDropsPending)
{
    Type("ka");
    EXPECT_EQ(edit.toPlainText(), "ka");
    EXPECT_EQ(edit.inputMethod().compositionStart(), -1);

    edit.clear();
    edit.SetImeOn(true);
    Type("ky");
    EXPECT_EQ(Pending(), "ky");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.toPlainText(), "k");
    EXPECT_EQ(Pending(), "k");
    QTest::keyClick(&edit, 'a');
    EXPECT_EQ(edit.toPlainText(), Q(u"か"));
    QTest::keyClick(&edit, Qt::Key_Backspace);  // a kana is deleted; composing restarts at the caret
    EXPECT_EQ(edit.toPlainText(), "");
    EXPECT_EQ(edit.inputMethod().compositionStart(), 0);
}

TEST_F(SearchBox, CaretMovesAndSelectionsRestartTheComposition)
{
    edit.SetImeOn(true);
    Type("kak");
    EXPECT_EQ(edit.toPlainText(), Q(u"かk"));
    QTest::keyClick(&edit, Qt::Key_Home);
    EXPECT_EQ(edit.inputMethod().compositionStart(), 0);
    EXPECT_EQ(Pending(), "");
    Type("su");
    EXPECT_EQ(edit.toPlainText(), Q(u"すかk"));

    // Typing over a selection replaces it.
    edit.selectAll();
    Type("no");
    EXPECT_EQ(edit.toPlainText(), Q(u"の"));
    EXPECT_EQ(Pending(), "");
}

TEST_F(SearchBox, UndoTakesBackOneKeystrokeAndNamesIt)
{
    edit.SetImeOn(true);
    Type("ka");
    ASSERT_TRUE(edit.document()->isUndoAvailable());
    std::unique_ptr<QMenu> menu(edit.MakeContextMenu());
    const auto actions = menu->actions();
    ASSERT_EQ(actions.size(), 5);
    EXPECT_EQ(actions[0]->text(), "&Undo typing");
    EXPECT_TRUE(actions[0]->isEnabled());
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_EQ(actions[2]->text(), "&Copy");
    EXPECT_FALSE(actions[2]->isEnabled()) << "nothing selected";
    EXPECT_EQ(actions[3]->text(), "C&ut");
    EXPECT_FALSE(actions[3]->isEnabled());
    EXPECT_EQ(actions[4]->text(), "&Paste");
    EXPECT_FALSE(actions[4]->isEnabled()) << "empty clipboard";

    edit.undo();
    EXPECT_EQ(edit.toPlainText(), "k");

    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.LastUndoKind(), UndoKind::Delete);
    edit.ReplaceSelection("x", UndoKind::Paste);
    EXPECT_EQ(edit.LastUndoKind(), UndoKind::Paste);
    edit.selectAll();
    platform.SetClipboardText(u"t");
    menu.reset(edit.MakeContextMenu());
    EXPECT_EQ(menu->actions()[0]->text(), "&Undo paste");
    EXPECT_TRUE(menu->actions()[2]->isEnabled());
    EXPECT_TRUE(menu->actions()[4]->isEnabled());

    edit.clear();
    edit.document()->clearUndoRedoStacks();
    menu.reset(edit.MakeContextMenu());
    EXPECT_EQ(menu->actions()[0]->text(), "&Undo");
    EXPECT_FALSE(menu->actions()[0]->isEnabled());
}

TEST_F(SearchBox, CapsLockTogglesTheImeAndItsStatus)
{
    // Offscreen there is no keyboard to restore, so no echo is awaited.
    QTest::keyClick(&edit, Qt::Key_CapsLock);
    EXPECT_TRUE(edit.ImeOn());
    EXPECT_EQ(platform.LastStatus(1), u"IME -on-");
    Type("ka");
    EXPECT_EQ(edit.toPlainText(), Q(u"か"));
    QTest::keyClick(&edit, Qt::Key_CapsLock);
    EXPECT_FALSE(edit.ImeOn());
    EXPECT_EQ(platform.LastStatus(1), u"IME -off-");
    Type("ka");
    EXPECT_EQ(edit.toPlainText(), Q(u"かka"));
}

TEST_F(SearchBox, KeysTheWindowHandles)
{
    QSignalSpy commands(&edit, &SearchEdit::command);
    QSignalSpy tab(&edit, &SearchEdit::focusKanjiWindow);
    QSignalSpy history(&edit, &SearchEdit::openHistory);
    QSignalSpy cut(&edit, &SearchEdit::cutRequested);
    edit.SetImeOn(true);
    Type("ka");
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_Tab);
    QTest::keyClick(&edit, Qt::Key_Space, Qt::ControlModifier);
    ASSERT_EQ(commands.size(), 3);
    EXPECT_EQ(commands[0][0].toInt(), ID_SEARCH_GO);
    EXPECT_EQ(commands[1][0].toInt(), ID_ENCODE_PASTE);
    EXPECT_EQ(commands[2][0].toInt(), ID_ENCODE_COPY);
    EXPECT_EQ(tab.size(), 1);
    EXPECT_EQ(history.size(), 1);
    EXPECT_EQ(cut.size(), 1);
    EXPECT_EQ(edit.toPlainText(), Q(u"か")) << "the keys themselves are swallowed";

    // Shift+Enter breaks the line and composing goes on after it.
    Type("k");
    QTest::keyClick(&edit, Qt::Key_Return, Qt::ShiftModifier);
    Type("ko");
    EXPECT_EQ(edit.toPlainText(), Q(u"かk\nこ"));
    EXPECT_EQ(commands.size(), 3);
}

TEST_F(SearchBox, SystemInputMethodCommitsAreInsertedNormally)
{
    edit.SetImeOn(true);
    Type("ka");
    QInputMethodEvent preedit(Q(u"ねこ"), {});
    QCoreApplication::sendEvent(&edit, &preedit);
    QInputMethodEvent commit;
    commit.setCommitString(Q(u"猫"));
    QCoreApplication::sendEvent(&edit, &commit);
    EXPECT_EQ(edit.toPlainText(), Q(u"か猫"));
    EXPECT_EQ(edit.inputMethod().compositionStart(), 2) << "our own composition goes on after the commit";
    Type("ni");
    EXPECT_EQ(edit.toPlainText(), Q(u"か猫に"));
}

TEST(SearchBandStrip, ButtonsToolTipsAndGroups)
{
    SearchBands bands;
    struct Button {
        int id;
        bool toggle;
    };
    const Button buttons[] = {{40022, true},  {40023, true}, {40027, true}, {40024, true}, {40004, true},
                              {40005, true},  {40006, true}, {40007, true}, {40017, true}, {40018, true},
                              {40012, true},  {40025, true}, {40011, true}, {40019, true}, {40010, false},
                              {40034, false}, {40035, false}};
    for (const Button& b : buttons) {
        QToolButton* button = bands.findChild<QToolButton*>(QString::number(b.id));
        ASSERT_NE(button, nullptr) << b.id;
        EXPECT_EQ(button->isCheckable(), b.toggle) << b.id;
        EXPECT_EQ(button->toolTip(), Q(SearchToolTip(b.id))) << b.id;
        const QSize image = b.id == 40010 ? QSize(45, 15) : QSize(16, 15);
        EXPECT_EQ(QImage(QStringLiteral(":/search/%1.png").arg(b.id)).size(), image) << b.id;
        EXPECT_EQ(button->iconSize(), b.id == 40010 ? QSize(45, 15) : QSize(16, 15)) << b.id;
    }
    EXPECT_EQ(bands.Button(40018)->toolTip(),
              "(checked)\nOnly search in the words (~kanji) for the text\n(unchecked)\nLet Mirudex choose how to "
              "search.");
    EXPECT_EQ(SearchToolTip(40099), u"Whoops: (NULL)");

    QSignalSpy spy(&bands, &SearchBands::commandTriggered);
    QTest::mouseClick(bands.Button(40005), Qt::LeftButton);
    QTest::mouseClick(bands.Button(40006), Qt::LeftButton);
    QTest::mouseClick(bands.Button(40006), Qt::LeftButton);
    EXPECT_FALSE(bands.IsChecked(40005));
    EXPECT_TRUE(bands.IsChecked(40006)) << "one substring mode is always down";
    ASSERT_EQ(spy.size(), 3);
    EXPECT_EQ(spy[0][0].toInt(), 40005);
}

TEST(SearchBandStrip, EncodingListAndResultsField)
{
    SearchBands bands;
    QComboBox* list = bands.encodingList();
    ASSERT_EQ(list->count(), 106);
    EXPECT_EQ(list->currentIndex(), 1);
    EXPECT_EQ(list->itemText(1), "Normal Unicode (Windows)");
    EXPECT_EQ(list->itemText(105), "NEXTSTEP");

    // Confirming a heading row moves on to the first encoding below it.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentText(), "EUC-JP");
    list->setCurrentIndex(24);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentText(), "EUC-CN") << "JAVA cannot be converted here: skipped, then the heading";

    // The encodings this system's iconv cannot open are there (positions are
    // rows) but disabled; the others can be chosen.
    std::vector<std::string> disabled;
    for (int i = 0; i < list->count(); ++i)
        if (text::IconvNameForRow(i) && !bands.EncodingAvailable(i))
            disabled.push_back(list->itemText(i).toStdString());
    for (const char* name : {"ISO-2022-JP-1 (~1990)", "C99", "JAVA", "HZ", "MacIceland", "MacCroatian", "MacRomania",
                             "MacGreek", "MacTurkish", "MacHebrew", "MacArabic", "MacThai", "MuleLao-1", "NEXTSTEP"})
        EXPECT_NE(std::find(disabled.begin(), disabled.end(), name), disabled.end()) << name;
    for (const char* name : {"EUC-JP", "Shift JIS (SJIS)", "UTF-8", "ISO-2022-JP-2", "KOI8-R", "MacRoman"})
        EXPECT_EQ(std::find(disabled.begin(), disabled.end(), name), disabled.end()) << name;

    // Before the list is opened, stepped through or asked, nothing is looked
    // up; whichever way the user reaches the items, JAVA is seen as disabled.
    const int java = list->findText("JAVA");
    ASSERT_GT(java, 0);
    const auto javaEnabled = [](QComboBox* box, int position) {
        return qobject_cast<QStandardItemModel*>(box->model())->item(position)->isEnabled();
    };
    const std::vector<std::pair<const char*, std::function<void(QComboBox*)>>> ways = {
        {"opened", [](QComboBox* box) { box->showPopup(); }},
        {"stepped with a key", [](QComboBox* box) { QTest::keyClick(box, Qt::Key_Up); }},
        {"turned with the wheel",
         [](QComboBox* box) {
             QWheelEvent wheel(QPointF(5, 5), box->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                               Qt::NoModifier, Qt::NoScrollPhase, false);
             QCoreApplication::sendEvent(box, &wheel);
         }},
    };
    for (const auto& [how, reach] : ways) {
        SearchBands fresh;
        QComboBox* box = fresh.encodingList();
        EXPECT_TRUE(javaEnabled(box, java)) << how;
        reach(box);
        EXPECT_FALSE(javaEnabled(box, java)) << how;
        box->hidePopup();
    }

    QLineEdit* field = bands.resultsField();
    EXPECT_GE(field->width(), 30);
    EXPECT_GE(field->height(), std::max(18, field->fontMetrics().height()));
    QTest::keyClicks(field, "2a0-5");
    EXPECT_EQ(field->text(), "205");
}

}  // namespace
