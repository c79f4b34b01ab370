// The settings dialog over real panes: a font or colour chosen on a page
// reaches the kanji and radical lookup windows at once, and the main
// window moves and resizes.
#include <gtest/gtest.h>

#include <QColorDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "dict/DictionaryStore.h"
#include "platform/qt/QtPlatform.h"
#include "ui/kanji/KanjiHeaderBar.h"
#include "ui/kanji/RadicalWindow.h"
#include "ui/kanji/kanji_fixture.h"
#include "ui/settings/SettingsDialog.h"
#include "ui/settings/SettingsHost.h"

using namespace mirudex;
using namespace mirudex::ui;
using platform::FontChoice;

namespace {

class SettingsHostTest : public test::KanjiFixture {
protected:
    void SetUp() override
    {
        KanjiFixture::SetUp();
        list_ = {test::Kanji(u'猫', u"ビョウ", u"ねこ", u"cat", 11), test::Kanji(u'犬', u"ケン", u"いぬ", u"dog", 4)};
        MakeWindow();
        radical_ = std::make_unique<RadicalWindow>(
            RadicalWindowContext{options_, resources_, radicals_, [] { return false; }, [] { return false; }}, nullptr);
        radical_->resize(300, 200);
        radical_->show();
        main_ = std::make_unique<QWidget>();
        main_->setGeometry(100, 100, 640, 480);
        main_->show();
        PaneSettingsHost::Panes panes;
        panes.mainWindow = main_.get();
        panes.kanji = window_.get();
        panes.radical = radical_.get();
        host_ = std::make_unique<PaneSettingsHost>(options_, resources_, panes);
        context_ = std::make_unique<SettingsContext>(
            SettingsContext{options_, resources_, store_, *host_, [] { return false; }, 96});
        dialog_ = std::make_unique<SettingsDialog>(*context_, nullptr);
        dialog_->show();
    }
    void TearDown() override
    {
        dialog_.reset();
        radical_.reset();
        main_.reset();
        KanjiFixture::TearDown();
    }
    void Click(int page, int id)
    {
        dialog_->SelectPage(page);
        QTest::mouseClick(dialog_->page(page)->findChild<QPushButton*>(QString::number(id)), Qt::LeftButton);
    }

    dict::DictionaryStore store_;
    std::unique_ptr<RadicalWindow> radical_;
    std::unique_ptr<QWidget> main_;
    std::unique_ptr<PaneSettingsHost> host_;
    std::unique_ptr<SettingsContext> context_;
    std::unique_ptr<SettingsDialog> dialog_;
};

TEST_F(SettingsHostTest, KanjiFontsChangeTheKanjiWindowAtOnce)
{
    const int entryBefore = window_->geometry().entry;
    const int radicalSize = radical_->fontSize();

    // The On font sets the height of every entry.
    platform_.ScriptFonts({FontChoice{"IPAGothic", 30}});
    Click(5, 1024);
    EXPECT_GT(window_->geometry().entry, entryBefore);
    const int entryBig = window_->geometry().entry;
    platform_.ScriptFonts({FontChoice{"IPAGothic", 6}});
    Click(5, 1024);
    EXPECT_LT(window_->geometry().entry, entryBig);

    // The meaning font too.
    const int entrySmall = window_->geometry().entry;
    platform_.ScriptFonts({FontChoice{"IPAGothic", 40}});
    Click(5, 1028);
    EXPECT_GT(window_->geometry().entry, entrySmall);

    // The kanji face: the radical lookup window takes it and keeps its own size.
    platform_.ScriptFonts({FontChoice{"IPAMincho", 50}});
    Click(5, 1021);
    EXPECT_EQ(radical_->radicalFont().families().value(0), "IPAMincho");
    EXPECT_EQ(radical_->fontSize(), radicalSize);
    EXPECT_EQ(resources_.fonts.kanji_kanji.families().value(0), "IPAMincho");
}

TEST_F(SettingsHostTest, InterfaceFontGoesToTheKanjiHeaderBars)
{
    platform_.ScriptFonts({FontChoice{"IPAGothic", 15}});
    Click(1, 1043);
    for (int id : {KanjiWindow::kId1, KanjiWindow::kId2}) {
        EXPECT_EQ(window_->Header(id)->font().families().value(0), "IPAGothic");
        EXPECT_EQ(window_->Header(id)->font().pixelSize(), MulDiv(15, 96, 72));
    }
}

TEST_F(SettingsHostTest, KanjiColoursAreTheOnesTheWindowPaints)
{
    platform_.ScriptColors({0x0000FF});
    Click(5, 1035);
    EXPECT_EQ(resources_.kanji.bg_window, QColor(255, 0, 0));
}

TEST_F(SettingsHostTest, SetButtonsMoveAndResizeTheMainWindow)
{
    const QRect frame = main_->frameGeometry();
    dialog_ = std::make_unique<SettingsDialog>(*context_, nullptr);  // reads the frame when it opens
    dialog_->show();
    auto edit = [this](int id) { return dialog_->page(0)->findChild<QLineEdit*>(QString::number(id)); };
    EXPECT_EQ(edit(1001)->text(), QString::number(frame.left()));
    EXPECT_EQ(edit(1003)->text(), QString::number(frame.width()));

    edit(1001)->setText("150");
    edit(1000)->setText("120");
    Click(0, 1010);
    EXPECT_EQ(main_->frameGeometry().topLeft(), QPoint(150, 120));
    EXPECT_EQ(main_->frameGeometry().size(), frame.size());

    edit(1003)->setText("500");
    edit(1002)->setText("400");
    Click(0, 1011);
    EXPECT_EQ(main_->frameGeometry().size(), QSize(500, 400));
    EXPECT_EQ(main_->frameGeometry().topLeft(), QPoint(150, 120));
}

}  // namespace

// ---- the program's choosers --------------------------------------------------

namespace mirudex::ui {
namespace {

// Calls act with the modal dialog of type D once it is up; act must close it.
template <typename D>
void WhenModal(QTimer& poll, const std::function<void(D&)>& act)
{
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&poll, act] {
        if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
            poll.stop();
            act(*dialog);
        }
    });
    poll.start();
}

TEST(QtChoosersTest, ColoursAndFontsComeBackInTheTermsOfTheOptions)
{
    platform::QtPlatform qt;
    QColor shown;
    {
        QTimer poll;
        WhenModal<QColorDialog>(poll, [&shown](QColorDialog& d) {
            shown = d.currentColor();
            d.setCurrentColor(QColor(1, 2, 3));
            d.accept();
        });
        EXPECT_EQ(qt.ChooseColor(0x112233), std::optional<int>(0x030201));
        EXPECT_EQ(shown, QColor(0x33, 0x22, 0x11));
    }
    {
        QTimer poll;
        WhenModal<QColorDialog>(poll, [](QColorDialog& d) { d.reject(); });
        EXPECT_EQ(qt.ChooseColor(0), std::nullopt);
    }
    struct Case {
        int points;
        int expected;  // the chooser keeps sizes within 6..100
    };
    for (const Case c : {Case{12, 12}, Case{300, 100}, Case{2, 6}}) {
        QTimer poll;
        QFont initial;
        WhenModal<QFontDialog>(poll, [&initial, c](QFontDialog& d) {
            initial = d.currentFont();
            QFont f(QStringLiteral("IPAGothic"));
            f.setPointSize(c.points);
            d.setCurrentFont(f);
            d.accept();
        });
        const auto chosen = qt.ChooseFont(platform::FontChoice{"IPAMincho", 9}, 6, 100);
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(chosen->pointSize, c.expected);
        EXPECT_FALSE(chosen->face.empty());
        EXPECT_EQ(initial.pointSize(), 9);
    }
}

}  // namespace
}  // namespace mirudex::ui
