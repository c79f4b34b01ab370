// The main window: menu, pane arrangement, dividers, pane toggles, the
// Dictionaries pop-up, clipboard grabbing, refusals and closing.
#include <QAccessible>
#include <QClipboard>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include "core/DebugLog.h"
#include "ui/common/AboutWindow.h"
#include "ui/common/CommandIds.h"
#include "ui/common/QuitRequest.h"
#include "ui/main/ClientArea.h"
#include "ui/main/DictionariesPopup.h"
#include "ui/main/MainWindow.h"
#include "ui/main/StatusBar.h"
#include "ui/main/TrayIcon.h"
#include "ui/support/UiTestSupport.h"

namespace mirudex::ui {
namespace {

using test::UiTest;

class MainWindowTest : public UiTest {
protected:
    std::unique_ptr<MainWindow> Make(int w = 800, int h = 600)
    {
        auto window = std::make_unique<MainWindow>(registry_, services_, factory_, w, h);
        window->show();
        return window;
    }
    StandInPane* Search(MainWindow& w) { return static_cast<StandInPane*>(w.clientArea()->pane(PaneId::Search)); }

    LocalServices services_;
    PaneFactory factory_;
};

TEST_F(MainWindowTest, TitleMenuTextsAndIds)
{
    auto w = Make();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Mirudex 1.0.7.502"));
    struct Item {
        int id;
        const char* text;
    };
    const Item items[] = {
        {40015, "&Add Dictionary..."},
        {40029, "&Open Study List..."},
        {40032, "Import Study List..."},
        {40030, "&Save Study List"},
        {40031, "Save Study List &As..."},
        {40033, "Close Study List"},
        {40001, "E&xit"},
        {40014, "&Dictionaries"},
        {40002, "&Settings..."},
        {40021, "Always on &Top"},
        {40020, "Check for &Updates..."},
        {40016, "&Radical Lookup"},
        {40026, "&Study List"},
        {40037, "Reading &View"},
        {40036, "&User Guide"},
        {40003, "&About..."},
    };
    for (const Item& item : items) {
        SCOPED_TRACE(item.id);
        QAction* a = w->action(item.id);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(), QString::fromUtf8(item.text));
        EXPECT_EQ(a->data().toInt(), item.id);
    }
    QStringList top;
    for (QAction* a : w->menuBar()->actions())
        top << a->text();
    EXPECT_EQ(top, (QStringList{"&File", "&Dictionaries", "&Options", "&Window", "&Help"}));
    EXPECT_EQ(w->action(40014)->menu(), nullptr);  // a plain command, not a drop-down
}

TEST_F(MainWindowTest, PaneArrangementAndStatusBar)
{
    auto w = Make();
    ClientArea* c = w->clientArea();
    const int usable = c->height() - c->statusBar()->height() - 1;
    EXPECT_EQ(c->usableHeight(), usable);
    EXPECT_EQ(c->pane(PaneId::Search)->geometry(), QRect(0, 0, c->width(), 145));
    EXPECT_EQ(c->pane(PaneId::Kanji)->geometry(), QRect(0, 149, 220, usable - 149));
    EXPECT_EQ(c->pane(PaneId::Result)->geometry(), QRect(224, 149, c->width() - 224, usable - 149));
    EXPECT_FALSE(c->pane(PaneId::StudyList)->isVisible());
    EXPECT_FALSE(c->pane(PaneId::Radical)->isVisible());
    EXPECT_EQ(c->pane(PaneId::Search)->objectName(), QStringLiteral("SearchWindow"));
    EXPECT_EQ(c->statusBar()->objectName(), QStringLiteral("100"));
    EXPECT_EQ(c->statusBar()->PartRight(0), static_cast<int>(c->width() * 0.9));
    EXPECT_EQ(c->statusBar()->PartRight(1), c->width());

    w->resize(1000, 700);
    MIRUDEX_WAIT_FOR(c->pane(PaneId::Search)->width() == c->width());
    EXPECT_EQ(c->pane(PaneId::Search)->height(), 145);
    EXPECT_EQ(c->pane(PaneId::Kanji)->width(), 220);
    EXPECT_EQ(c->statusBar()->PartRight(0), static_cast<int>(c->width() * 0.9));
    test::SaveShot(w.get(), "main-window");
}

// A screen reader hears the status bar's messages: the message part is named
// by its text and each message, also one said twice, is announced with an
// alert from the status bar; the input-method part is not announced.
TEST_F(MainWindowTest, StatusMessagesAreAnnounced)
{
    auto w = Make();
    StatusBar* bar = w->clientArea()->statusBar();
    auto* message = bar->findChild<QLabel*>("part0");
    auto* method = bar->findChild<QLabel*>("part1");
    ASSERT_TRUE(message && method);
    test::AccessibleEvents events;
    QAccessibleInterface* barIface = QAccessible::queryAccessibleInterface(bar);
    ASSERT_TRUE(barIface);
    EXPECT_EQ(barIface->role(), QAccessible::StatusBar);
    EXPECT_EQ(barIface->text(QAccessible::Name), "Status");

    bar->SetText(0, QStringLiteral("2 results found"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(message)->text(QAccessible::Name), "2 results found");
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(message)->text(QAccessible::Description).isEmpty());
    EXPECT_FALSE(events.Of(QAccessible::NameChanged, message).empty());
    EXPECT_EQ(events.Of(QAccessible::Alert, bar).size(), 1u);
    bar->SetText(0, QStringLiteral("2 results found"));
    EXPECT_EQ(events.Of(QAccessible::Alert, bar).size(), 2u) << "the same message again is heard again";
    bar->SetText(1, QStringLiteral("Romaji"));
    bar->SetText(0, QString());
    EXPECT_EQ(events.Of(QAccessible::Alert, bar).size(), 2u) << "neither the input method nor clearing is announced";
}

TEST_F(MainWindowTest, SavedDividersAreCheckedAgainstTheFirstClientArea)
{
    registry_.SetBOOL(".\\Window\\RememberSize", true);
    registry_.SetINT(".\\Window\\Div_vert", 60);
    registry_.SetINT(".\\Window\\Div_vert_bottom_horiz", 300);
    auto w = Make();
    EXPECT_EQ(w->clientArea()->TopDivider(), 60);
    EXPECT_EQ(w->clientArea()->BottomDivider(), 300);
    EXPECT_TRUE(platform_.MessageBoxes().empty());
    const int usable = w->clientArea()->usableHeight();
    w.reset();

    // Equal to the usable height: valid, but the split has no room and falls back to half.
    registry_.SetINT(".\\Window\\Div_vert", usable);
    w = Make();
    EXPECT_TRUE(platform_.MessageBoxes().empty());
    EXPECT_EQ(w->clientArea()->TopDivider(), usable / 2);
    EXPECT_NE(Log().find("WARNING: Divided horizontally: 0.\n"), std::string::npos);
    w.reset();

    // One above: the defaults, with the warning.
    registry_.SetINT(".\\Window\\Div_vert", usable + 1);
    w = Make();
    ASSERT_EQ(platform_.MessageBoxes().size(), 1u);
    EXPECT_EQ(platform_.MessageBoxes()[0].text,
              u"The Divider settings were incorrect.\n\nThey have been restored to the defaults.");
    EXPECT_EQ(platform_.MessageBoxes()[0].caption, u"Warning:");
    EXPECT_EQ(w->clientArea()->TopDivider(), 145);
    EXPECT_EQ(w->clientArea()->BottomDivider(), 220);
    EXPECT_NE(Log().find("WARNING: The Divider settings were incorrect--They have been restored to the defaults."),
              std::string::npos);
}

TEST_F(MainWindowTest, DraggingTheDividers)
{
    auto w = Make();
    ClientArea* c = w->clientArea();
    const int usable = c->usableHeight();

    // Hovering a divider shows the sizing cursor.
    QTest::mouseMove(c, QPoint(400, 146));
    EXPECT_EQ(c->cursor().shape(), Qt::SizeVerCursor);
    QTest::mouseMove(c, QPoint(221, 300));
    EXPECT_EQ(c->cursor().shape(), Qt::SizeHorCursor);

    // Top divider: down by 30, then far up (stops at 0), then far down (one pixel above the status bar).
    QTest::mousePress(c, Qt::LeftButton, {}, QPoint(400, 147));
    EXPECT_EQ(c->dragState(), DragState::Top);
    QTest::mouseMove(c, QPoint(400, 177));
    EXPECT_EQ(c->TopDivider(), 175);
    QTest::mouseMove(c, QPoint(400, 2));
    EXPECT_EQ(c->TopDivider(), 0);
    QTest::mouseMove(c, QPoint(400, 0));  // refused step: lost
    EXPECT_EQ(c->TopDivider(), 0);
    EXPECT_NE(Log().find("   * ERROR: result: -97\n"), std::string::npos);
    // The lower part keeps at least one pixel.
    QTest::mouseMove(c, QPoint(400, usable - 5));
    EXPECT_EQ(c->TopDivider(), usable - 5);
    EXPECT_EQ(c->root().child(1)->rect().height, 1);
    QTest::mouseMove(c, QPoint(400, usable + 40));
    EXPECT_EQ(c->TopDivider(), usable - 5);
    // Back up: the refused motion is not made up, the divider now lags the cursor.
    QTest::mouseMove(c, QPoint(400, usable + 30));
    EXPECT_EQ(c->TopDivider(), usable - 15);
    QTest::mouseRelease(c, Qt::LeftButton, {}, QPoint(400, usable + 30));
    EXPECT_EQ(c->dragState(), DragState::None);

    // The column divider, widened by one pixel downward for the press test.
    const PaneRect bar = c->root().child(1)->DividerRect();
    QTest::mousePress(c, Qt::LeftButton, {}, QPoint(bar.x + 1, bar.y + bar.height));
    EXPECT_EQ(c->dragState(), DragState::Columns);
    QTest::mouseMove(c, QPoint(bar.x + 51, bar.y + bar.height));
    QTest::mouseRelease(c, Qt::LeftButton, {}, QPoint(bar.x + 51, bar.y + bar.height));
    EXPECT_EQ(c->BottomDivider(), 270);

    // Off the dividers nothing is dragged.
    QTest::mousePress(c, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(c->dragState(), DragState::None);
}

TEST_F(MainWindowTest, PaneTogglesSplitAtTwoThirds)
{
    auto w = Make();
    ClientArea* c = w->clientArea();
    PaneNode* column = c->resultColumn();
    const int h = column->rect().height;

    w->OnCommand(ID_WINDOW_STUDYLIST);
    EXPECT_TRUE(w->studyListPaneShown());
    EXPECT_TRUE(w->action(ID_WINDOW_STUDYLIST)->isChecked());
    EXPECT_EQ(c->pane(PaneId::Result)->height(), h * 2 / 3);
    EXPECT_TRUE(c->pane(PaneId::StudyList)->isVisible());
    EXPECT_EQ(c->pane(PaneId::StudyList)->geometry().top(), column->rect().y + h * 2 / 3 + 4);

    // Drag the study-list divider, hide and show again: two thirds, not the dragged place.
    const PaneRect bar = column->DividerRect();
    QTest::mousePress(c, Qt::LeftButton, {}, QPoint(bar.x + 10, bar.y + 1));
    EXPECT_EQ(c->dragState(), DragState::ResultColumn);
    QTest::mouseMove(c, QPoint(bar.x + 10, bar.y - 40));
    QTest::mouseRelease(c, Qt::LeftButton, {}, QPoint(bar.x + 10, bar.y - 40));
    EXPECT_EQ(c->pane(PaneId::Result)->height(), h * 2 / 3 - 41);
    w->OnCommand(ID_WINDOW_STUDYLIST);
    EXPECT_FALSE(w->studyListPaneShown());
    EXPECT_FALSE(c->pane(PaneId::StudyList)->isVisible());
    EXPECT_EQ(c->pane(PaneId::Result)->height(), h);
    w->OnCommand(ID_WINDOW_STUDYLIST);
    EXPECT_EQ(c->pane(PaneId::Result)->height(), h * 2 / 3);

    // The radical pane needs the radical table.
    w->OnCommand(ID_WINDOW_RADICALLOOKUP);
    EXPECT_FALSE(w->radicalPaneShown());
    EXPECT_NE(Log().find("Warning: ID_WINDOW_RADICALLOOKUP: Radical Lookup info has not been loaded yet.\n"),
              std::string::npos);
    services_.radicalsLoaded = true;
    w->OnCommand(ID_WINDOW_RADICALLOOKUP);
    EXPECT_TRUE(w->radicalPaneShown());
    EXPECT_EQ(c->pane(PaneId::Kanji)->height(), h * 2 / 3);
    EXPECT_TRUE(c->pane(PaneId::Radical)->isVisible());
    test::SaveShot(w.get(), "main-window-all-panes");
}

TEST_F(MainWindowTest, LowerPanesKeepTheirHeightsAndTakeARememberedOne)
{
    services_.radicalsLoaded = true;
    auto w = Make();
    ClientArea* c = w->clientArea();
    EXPECT_EQ(c->LowerPaneHeight(PaneId::StudyList), -1) << "hidden";
    EXPECT_FALSE(c->SetLowerPaneHeight(PaneId::StudyList, 100));
    w->OnCommand(ID_WINDOW_STUDYLIST);
    w->OnCommand(ID_WINDOW_RADICALLOOKUP);
    const int column = c->resultColumn()->rect().height;
    for (PaneId lower : {PaneId::StudyList, PaneId::Radical}) {
        const PaneId upper = lower == PaneId::StudyList ? PaneId::Result : PaneId::Kanji;
        EXPECT_EQ(c->LowerPaneHeight(lower), column - column * 2 / 3 - 4);
        EXPECT_TRUE(c->SetLowerPaneHeight(lower, 120));
        EXPECT_EQ(c->pane(lower)->height(), 120);
        EXPECT_EQ(c->pane(upper)->height(), column - 124);
        // No room for it: nothing changes.
        EXPECT_FALSE(c->SetLowerPaneHeight(lower, column));
        EXPECT_FALSE(c->SetLowerPaneHeight(lower, 0));
        EXPECT_EQ(c->LowerPaneHeight(lower), 120);
    }
    // Taller: the upper panes take it all; lower than the lower pane: the upper ones give way first.
    for (int grow : {200, -column + 40}) {
        SCOPED_TRACE(grow);
        w->resize(800, 600 + grow);
        MIRUDEX_WAIT_FOR(c->resultColumn()->rect().height == column + grow);
        const int keep = std::min(120, column + grow - 4);
        EXPECT_EQ(c->pane(PaneId::StudyList)->height(), keep);
        EXPECT_EQ(c->pane(PaneId::Radical)->height(), keep);
        EXPECT_EQ(c->pane(PaneId::Result)->height(), column + grow - 4 - keep);
        EXPECT_EQ(c->LowerPaneHeight(PaneId::StudyList), 120) << "the height it goes back to";
    }
}

TEST_F(MainWindowTest, APlacementLargerThanTheScreenIsFittedToIt)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QRect avail = screen->availableGeometry();
    auto w = std::make_unique<MainWindow>(registry_, services_, factory_, avail.width() + 200, avail.height() + 150);
    w->move(avail.left() + 100, avail.top() + 80);
    w->FitToScreen();
    const QRect fitted = w->frameGeometry();
    EXPECT_TRUE(avail.contains(fitted)) << "frame and all: " << fitted.x() << "," << fitted.y() << " " << fitted.width()
                                        << "x" << fitted.height() << " on " << avail.width() << "x" << avail.height();
    w->show();
    w->FitToScreenWhenFramed();
    StatusBar* bar = w->clientArea()->statusBar();
    MIRUDEX_WAIT_FOR(avail.contains(QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size())));
    EXPECT_TRUE(avail.contains(w->frameGeometry()));

    // A window that fits stays where it is.
    w->resize(300, 200);
    w->move(avail.left() + 10, avail.top() + 20);
    const QRect before = w->geometry();
    w->FitToScreen();
    EXPECT_EQ(w->geometry(), before);
}

// On a real X server, with a window manager when there is one: maximised, the
// window gives the result pane the extra height; a remembered placement that
// the screen cannot hold at the scale in use (the suite's *AnyScale* tests run
// once more at twice the scale) is fitted to it.
class MainWindowX11 : public MainWindowTest {
protected:
    static bool HasWindowManager() { return std::getenv("MIRUDEX_X11_WM") && *std::getenv("MIRUDEX_X11_WM"); }
};

TEST_F(MainWindowX11, MaximisedTheResultPaneTakesTheExtraHeight)
{
    MIRUDEX_SKIP_UNLESS_X11();
    services_.radicalsLoaded = true;
    auto w = Make();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get(), 20000));
    w->OnCommand(ID_WINDOW_STUDYLIST);
    w->OnCommand(ID_WINDOW_RADICALLOOKUP);
    ClientArea* c = w->clientArea();
    const int result = c->pane(PaneId::Result)->height();
    const int study = c->pane(PaneId::StudyList)->height();
    const int radical = c->pane(PaneId::Radical)->height();
    const int search = c->pane(PaneId::Search)->height();
    const int client = c->height();
    const QRect avail = w->screen()->availableGeometry();
    if (HasWindowManager()) {
        w->showMaximized();
    } else {
        w->move(avail.topLeft());
        w->resize(avail.size());
    }
    MIRUDEX_WAIT_FOR(c->height() > client + 100);
    QCoreApplication::processEvents();
    const int extra = c->height() - client;
    EXPECT_EQ(c->pane(PaneId::Result)->height(), result + extra);
    EXPECT_EQ(c->pane(PaneId::StudyList)->height(), study);
    EXPECT_EQ(c->pane(PaneId::Radical)->height(), radical);
    EXPECT_EQ(c->pane(PaneId::Search)->height(), search);
    test::SaveShot(w.get(), "main-window-maximised");
}

TEST_F(MainWindowX11, ARememberedPlacementIsFittedToTheScreenAtAnyScale)
{
    MIRUDEX_SKIP_UNLESS_X11();
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect avail = screen->availableGeometry();
    // 1000 x 800 remembered: taller than a 2560 x 1600 screen at twice the scale.
    const int h = std::max(800, avail.height() + 50);
    auto w = std::make_unique<MainWindow>(registry_, services_, factory_, 1000, h);
    w->move(avail.left() + 40, avail.top() + 30);
    w->FitToScreen();
    w->show();
    w->FitToScreenWhenFramed();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get(), 20000));
    StatusBar* status = w->clientArea()->statusBar();
    auto statusOnScreen = [&] {
        return avail.contains(QRect(status->mapToGlobal(QPoint(0, 0)), status->size())) &&
               avail.contains(w->frameGeometry());
    };
    MIRUDEX_WAIT_FOR(statusOnScreen());
    // Once framed the window stays on the screen.
    QTest::qWait(500);
    EXPECT_TRUE(statusOnScreen()) << "frame " << w->frameGeometry().height() << " high on " << avail.height();
}

TEST_F(MainWindowTest, DictionariesPopupTogglesOnRightClickAndStaysOpen)
{
    for (int i = 0; i < 53; ++i)
        services_.dictionaries.push_back({u"Dictionary " + std::u16string(1, char16_t(u'A' + i % 26)), i != 1});
    registry_.SetINT(".\\Dictionaries\\EDICT\\Number", 53);
    for (int i = 1; i < 53; ++i) {
        registry_.CD(".\\Dictionaries\\EDICT");
        registry_.MakeKey(std::to_string(i));
        registry_.CD(".");
    }
    auto w = Make();
    w->OnCommand(ID_DICTIONARIES);
    DictionariesPopup* popup = w->dictionariesPopup();
    QMenu* menu = popup->menu();
    ASSERT_NE(menu, nullptr);
    MIRUDEX_WAIT_FOR(menu->isVisible());
    EXPECT_EQ(popup->item(0)->text(), QStringLiteral("Right-click the dictionaries to use."));
    EXPECT_FALSE(popup->item(0)->isEnabled());
    for (int id : {100, 101, 1100, 1200}) {
        EXPECT_TRUE(popup->item(id)->isEnabled()) << id << ": drawn as enabled and reached by the arrow keys";
        EXPECT_EQ(popup->item(id)->isCheckable(), id < 1100) << id;
    }
    EXPECT_TRUE(popup->item(100)->isChecked());
    EXPECT_FALSE(popup->item(101)->isChecked());
    EXPECT_TRUE(popup->item(1300)->isEnabled());
    EXPECT_EQ(popup->item(1300)->text(), QStringLiteral("-done-"));

    auto rightClick = [&](int id) {
        QAction* a = popup->item(id);
        ASSERT_NE(a, nullptr);
        const QPoint at = menu->actionGeometry(a).center();
        QTest::mousePress(menu, Qt::RightButton, {}, at);
        QTest::mouseRelease(menu, Qt::RightButton, {}, at);
    };
    rightClick(101);
    EXPECT_TRUE(services_.dictionaries[1].on);
    EXPECT_TRUE(popup->item(101)->isChecked());
    EXPECT_TRUE(popup->item(101)->isEnabled());
    EXPECT_TRUE(registry_.GetBOOL(".\\Dictionaries\\EDICT\\1\\On"));
    EXPECT_TRUE(menu->isVisible());
    rightClick(100);
    EXPECT_FALSE(services_.dictionaries[0].on);
    EXPECT_FALSE(registry_.GetBOOL(".\\Dictionaries\\EDICT\\0\\On"));

    // The 52nd dictionary is listed but cannot be toggled.
    rightClick(151);
    EXPECT_TRUE(services_.dictionaries[51].on);
    EXPECT_FALSE(registry_.DataExists(".\\Dictionaries\\EDICT\\51\\On"));
    rightClick(150);
    EXPECT_FALSE(services_.dictionaries[50].on);

    rightClick(1200);
    for (int i = 0; i < 53; ++i)
        EXPECT_FALSE(services_.dictionaries[i].on) << i;
    EXPECT_FALSE(registry_.GetBOOL(".\\Dictionaries\\EDICT\\52\\On"));
    rightClick(1100);
    for (int i = 0; i < 53; ++i)
        EXPECT_TRUE(services_.dictionaries[i].on) << i;
    EXPECT_TRUE(menu->isVisible());
    test::SaveShot(menu, "dictionaries-popup");

    // A left click on "-done-" closes it.
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(popup->item(1300)).center());
    MIRUDEX_WAIT_FOR(popup->menu() == nullptr || !popup->menu()->isVisible());
}

TEST_F(MainWindowTest, DictionariesPopupSwitchesFromTheKeyboard)
{
    services_.dictionaries = {{u"EDICT", true}, {u"ENAMDICT", false}};
    registry_.SetINT(".\\Dictionaries\\EDICT\\Number", 2);
    registry_.CD(".\\Dictionaries\\EDICT");
    registry_.MakeKey("1");
    registry_.CD(".");
    auto w = Make();
    w->OnCommand(ID_DICTIONARIES);
    DictionariesPopup* popup = w->dictionariesPopup();
    QMenu* menu = popup->menu();
    ASSERT_NE(menu, nullptr);
    MIRUDEX_WAIT_FOR(menu->isVisible());
    auto key = [&](Qt::Key k) { QTest::keyClick(menu, k); };
    auto active = [&] { return menu->activeAction() ? menu->activeAction()->data().toInt() : -1; };

    // The header is passed over; Down reaches the first dictionary.
    key(Qt::Key_Down);
    EXPECT_EQ(active(), 100);
    key(Qt::Key_Space);
    EXPECT_FALSE(services_.dictionaries[0].on);
    EXPECT_FALSE(popup->item(100)->isChecked());
    EXPECT_FALSE(registry_.GetBOOL(".\\Dictionaries\\EDICT\\0\\On"));
    EXPECT_TRUE(menu->isVisible()) << "switching leaves the pop-up open";
    key(Qt::Key_Down);
    EXPECT_EQ(active(), 101);
    key(Qt::Key_Return);
    EXPECT_TRUE(services_.dictionaries[1].on);
    EXPECT_TRUE(popup->item(101)->isChecked());
    EXPECT_TRUE(registry_.GetBOOL(".\\Dictionaries\\EDICT\\1\\On"));
    key(Qt::Key_Enter);  // the keypad's Enter switches it back
    EXPECT_FALSE(services_.dictionaries[1].on);
    key(Qt::Key_Down);
    EXPECT_EQ(active(), 1100);
    key(Qt::Key_Space);
    EXPECT_TRUE(services_.dictionaries[0].on && services_.dictionaries[1].on);
    EXPECT_TRUE(popup->item(100)->isChecked() && popup->item(101)->isChecked());
    key(Qt::Key_Down);
    EXPECT_EQ(active(), 1200);
    key(Qt::Key_Return);
    EXPECT_FALSE(services_.dictionaries[0].on || services_.dictionaries[1].on);
    EXPECT_TRUE(menu->isVisible());

    // While a search runs nothing is switched; Enter on "-done-" closes the pop-up.
    key(Qt::Key_Up);
    key(Qt::Key_Up);
    EXPECT_EQ(active(), 101);
    services_.threadSearching = true;
    key(Qt::Key_Space);
    services_.threadSearching = false;
    EXPECT_FALSE(services_.dictionaries[1].on);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(active(), 1300);
    key(Qt::Key_Return);
    MIRUDEX_WAIT_FOR(popup->menu() == nullptr || !popup->menu()->isVisible());
    EXPECT_FALSE(services_.dictionaries[0].on || services_.dictionaries[1].on);
}

TEST_F(MainWindowTest, ClipboardGrabbing)
{
    auto w = Make();
    StandInPane* search = Search(*w);
    // Grabbing off: nothing.
    w->OnClipboardChanged();
    w->OnClipboardChanged();
    EXPECT_TRUE(search->received().empty());
    w.reset();

    registry_.SetBOOL(".\\Misc\\GrabClipboard", true);
    w = Make();
    search = Search(*w);
    w->OnClipboardChanged();  // the first notice is never acted on
    EXPECT_TRUE(search->received().empty());
    w->OnClipboardChanged();
    ASSERT_EQ(search->received().size(), 1u);
    EXPECT_EQ(search->received()[0].id, ID_ENCODE_PASTE);
    EXPECT_EQ(search->selectAlls(), 1) << "the pasted text replaces the search text";

    registry_.SetBOOL(".\\Misc\\GrabClipboard-AutoSearch", true);
    search->SetRomajiConversion(true);
    w->OnClipboardChanged();
    ASSERT_EQ(search->received().size(), 3u);
    EXPECT_EQ(search->received()[1].id, ID_ENCODE_PASTE);
    EXPECT_EQ(search->received()[2].id, ID_SEARCH_GO);
    EXPECT_FALSE(search->received()[2].romaji);  // searched with romaji conversion off
    EXPECT_TRUE(search->RomajiConversion());     // and restored afterwards

    services_.searchLock = true;
    w->OnClipboardChanged();
    services_.searchLock = false;
    services_.threadSearching = true;
    w->OnClipboardChanged();
    services_.threadSearching = false;
    EXPECT_EQ(search->received().size(), 3u);

    // Through the platform's clipboard watching, until the window is gone.
    EXPECT_TRUE(platform_.WatchingClipboard());
    platform_.ClipboardChanged();
    EXPECT_EQ(search->received().size(), 5u);
    w.reset();
    EXPECT_FALSE(platform_.WatchingClipboard());
}

TEST_F(MainWindowTest, RefusalsWhileAWorkerRuns)
{
    auto w = Make();
    int dialogs = 0, updates = 0;
    w->SetCommandHandler(ID_ADD_DICT, [&] { ++dialogs; });
    w->SetCommandHandler(ID_CHECK_UPDATES, [&] { ++updates; });
    struct Case {
        bool threadSearching, searchLock;
        int id;
        const char16_t* box;  // nullptr: the command runs
    };
    const Case cases[] = {
        {true, false, ID_ADD_DICT, u"Please finish any searches or dictionary-loads before loading a dictionary.\n"},
        {false, true, ID_ADD_DICT, u"Please finish any searches or dictionary-loads before loading a dictionary.\n"},
        {false, false, ID_ADD_DICT, nullptr},
        {true, false, ID_CHECK_UPDATES,
         u"Please wait for any searches or dictionary-loadings to complete\nbefore attempting to update."},
        {false, true, ID_CHECK_UPDATES, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        platform_.Clear();
        services_.threadSearching = c.threadSearching;
        services_.searchLock = c.searchLock;
        const int before = dialogs + updates;
        w->OnCommand(c.id);
        if (c.box) {
            ASSERT_EQ(platform_.MessageBoxes().size(), 1u);
            EXPECT_EQ(platform_.MessageBoxes()[0].text, c.box);
            EXPECT_EQ(platform_.MessageBoxes()[0].caption, u"Note");
            EXPECT_EQ(dialogs + updates, before);
        } else {
            EXPECT_TRUE(platform_.MessageBoxes().empty());
            EXPECT_EQ(dialogs + updates, before + 1);
        }
    }
}

TEST_F(MainWindowTest, AlwaysOnTopReadingViewAndUnknownCommands)
{
    auto w = Make();
    // The reading view is switched in the search pane and remembered at once.
    for (bool on : {true, false}) {
        w->OnCommand(ID_WINDOW_READER);
        EXPECT_EQ(registry_.GetBOOL(".\\Misc\\Reader"), on);
        EXPECT_EQ(Search(*w)->ReaderShown(), on);
        EXPECT_EQ(w->action(ID_WINDOW_READER)->isChecked(), on);
        EXPECT_TRUE(w->action(ID_WINDOW_READER)->isCheckable());
    }
    w->OnCommand(ID_ALWAYS_ON_TOP);
    EXPECT_TRUE(registry_.GetBOOL(".\\Misc\\AlwaysOnTop"));
    EXPECT_TRUE(w->action(ID_ALWAYS_ON_TOP)->isChecked());
    w->OnCommand(ID_ALWAYS_ON_TOP);
    EXPECT_FALSE(registry_.GetBOOL(".\\Misc\\AlwaysOnTop"));
    EXPECT_FALSE(w->action(ID_ALWAYS_ON_TOP)->isChecked());
    w->OnCommand(40010);  // a search-window command: ignored here
    w->OnCommand(12345);
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

TEST_F(MainWindowTest, StandardKeysRunTheirCommandsFromAnywhereInTheWindow)
{
    auto w = Make();
    w->activateWindow();
    MIRUDEX_WAIT_FOR(w->isActiveWindow());
    QWidget* kanji = w->clientArea()->pane(PaneId::Kanji);
    kanji->setFocusPolicy(Qt::StrongFocus);
    kanji->setFocus();

    // Find: Ctrl+F and Ctrl+L put the cursor in the search box with its text selected.
    QTest::keyClick(kanji, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(Search(*w)->focusSearchTexts(), 1);
    QTest::keyClick(kanji, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(Search(*w)->focusSearchTexts(), 2);

    // F1: the user guide.
    std::vector<QUrl> opened;
    AboutWindow::SetUrlOpener([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    QTest::keyClick(kanji, Qt::Key_F1);
    AboutWindow::SetUrlOpener([](const QUrl&) { return true; });
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], UserGuideUrl());
    EXPECT_EQ(w->action(ID_USER_GUIDE)->shortcut(), QKeySequence(Qt::Key_F1)) << "shown beside the menu item";

    // Ctrl+Q: File > Exit, which leaves the window for shutdown.
    quit::Reset();
    QTest::keyClick(kanji, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(quit::Pending());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Closing..."));
    quit::Reset();
}

TEST_F(MainWindowTest, StudyListFileCommands)
{
    auto w = Make();
    const std::string answer = "/data/lists/words.txt";
    platform_.ScriptFiles({answer, answer, answer});
    w->OnCommand(ID_STUDYLIST_OPEN);
    w->OnCommand(ID_STUDYLIST_IMPORT);
    w->OnCommand(ID_STUDYLIST_SAVE_AS);
    w->OnCommand(ID_STUDYLIST_CLOSE);
    w->OnCommand(ID_STUDYLIST_SAVE);
    w->OnCommand(ID_STUDYLIST_OPEN);  // cancelled (nothing scripted): nothing more
    w->OnCommand(ID_STUDYLIST_SAVE_AS);
    EXPECT_EQ(services_.studyListCalls,
              (std::vector<std::string>{"open /data/lists/words.txt", "import /data/lists/words.txt",
                                        "save as /data/lists/words.txt", "close", "save"}));
    using Kind = platform::ChooserCall::Kind;
    const auto asked = platform_.Choosers();
    ASSERT_EQ(asked.size(), 5u);
    const std::pair<Kind, std::u16string> expected[] = {{Kind::OpenFile, u"Please select a file to open."},
                                                        {Kind::OpenFile, u"Please select a file to open."},
                                                        {Kind::SaveFile, u"Please select a file to save to."},
                                                        {Kind::OpenFile, u"Please select a file to open."},
                                                        {Kind::SaveFile, u"Please select a file to save to."}};
    for (size_t i = 0; i < asked.size(); ++i)
        EXPECT_EQ(std::make_pair(asked[i].kind, asked[i].title), expected[i]) << i;
    EXPECT_NE(Log().find("About to open the File Save dialog box...\n   File picked successfully\n"),
              std::string::npos);
}

TEST_F(MainWindowTest, ClosingPostsQuitAndKeepsTheWindow)
{
    auto w = Make();
    w->OnCommand(ID_EXIT);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Closing..."));
    EXPECT_TRUE(quit::Pending());
    EXPECT_EQ(quit::Code(), 0);
    EXPECT_TRUE(w->isVisible());
    // No clipboard grabbing after closing.
    registry_.SetBOOL(".\\Misc\\GrabClipboard", true);
    w->OnClipboardChanged();
    w->OnClipboardChanged();
    EXPECT_TRUE(Search(*w)->received().empty());
}

TEST_F(MainWindowTest, HighlightedTextIsTakenOnceItSettles)
{
    auto w = Make();
    StandInPane* search = Search(*w);
    auto highlight = [&](const char16_t* text) {
        platform_.SetSelection(std::u16string(text));
        platform_.SelectionChanged();
    };
    auto settle = [] { QTest::qWait(MainWindow::kSelectionSettleMs + 100); };

    // Off by default: nothing.
    highlight(u"猫");
    settle();
    EXPECT_EQ(search->text(), u"");

    registry_.SetBOOL(opt::misc::kGrabSelection, true);
    // A selection that grows while the mouse drags is taken once, whole.
    highlight(u"ね");
    highlight(u"ねこ");
    highlight(u"  ねこです\n");
    QTRY_COMPARE(search->text(), std::u16string(u"ねこです"));
    EXPECT_TRUE(search->received().empty()) << "no search without AutoSearch";

    // The same text again is not taken again; blank text never.
    search->ReplaceText(u"typed");
    highlight(u"ねこです");
    highlight(u" \t");
    settle();
    EXPECT_EQ(search->text(), u"typed");

    registry_.SetBOOL(opt::misc::kGrabClipboardAutoSearch, true);
    search->SetRomajiConversion(true);
    highlight(u"inu");
    QTRY_COMPARE(search->received().size(), size_t(1));
    EXPECT_EQ(search->received()[0].id, ID_SEARCH_GO);
    EXPECT_EQ(search->received()[0].text, u"inu");
    EXPECT_FALSE(search->received()[0].romaji) << "searched as highlighted, without romaji conversion";
    EXPECT_TRUE(search->RomajiConversion());

    // Not while a search runs, and no more once closing.
    services_.searchLock = true;
    highlight(u"走る");
    settle();
    services_.searchLock = false;
    EXPECT_EQ(search->received().size(), 1u);
    w->OnCommand(ID_EXIT);
    EXPECT_FALSE(platform_.WatchingSelection());
}

TEST_F(MainWindowTest, SearchFromOutsideWaitsUntilTheProgramCanSearch)
{
    auto w = Make();
    StandInPane* search = Search(*w);
    search->SetRomajiConversion(true);
    services_.threadSearching = true;
    EXPECT_FALSE(w->SearchFromOutside(u"neko"));
    services_.threadSearching = false;
    ASSERT_TRUE(w->SearchFromOutside(u"neko"));
    ASSERT_EQ(search->received().size(), 1u);
    EXPECT_EQ(search->received()[0].id, ID_SEARCH_GO);
    EXPECT_EQ(search->received()[0].text, u"neko");
    EXPECT_TRUE(search->received()[0].romaji) << "as if typed: the toggles stay as they are";
}

TEST_F(MainWindowTest, ClosingKeepsTheProgramInTheTrayOnlyWhenAskedAndShown)
{
    struct Case {
        bool closeToTray, trayShown, viaExit;
        bool hidden;
    };
    const Case cases[] = {
        {false, true, false, false},
        {true, false, false, false},
        {true, true, false, true},
        {true, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.closeToTray << c.trayShown << c.viaExit);
        quit::Reset();
        registry_.SetBOOL(opt::misc::kCloseToTray, c.closeToTray);
        auto w = Make();
        w->SetTrayShown([&] { return c.trayShown; });
        if (c.viaExit)
            w->OnCommand(ID_EXIT);
        else
            w->close();
        EXPECT_EQ(!w->isVisible(), c.hidden);
        EXPECT_EQ(quit::Pending(), !c.hidden);
        if (c.hidden) {
            w->Raise();
            EXPECT_TRUE(w->isVisible());
        }
    }
    quit::Reset();
}

TEST_F(MainWindowTest, TrayMenuShowsHidesWatchesAndExits)
{
    auto w = Make();
    TrayIcon tray(*w, registry_, [] { return false; });
    EXPECT_FALSE(tray.shown()) << "no tray on this desktop: no icon";
    tray.UpdateMenu();
    EXPECT_EQ(tray.showHideAction()->text(), QStringLiteral("Hide"));
    tray.showHideAction()->trigger();
    EXPECT_FALSE(w->isVisible());
    tray.UpdateMenu();
    EXPECT_EQ(tray.showHideAction()->text(), QStringLiteral("Show"));
    tray.showHideAction()->trigger();
    EXPECT_TRUE(w->isVisible());

    EXPECT_FALSE(tray.clipboardAction()->isChecked());
    tray.clipboardAction()->trigger();
    EXPECT_TRUE(registry_.GetBOOL(opt::misc::kGrabClipboard));
    registry_.SetBOOL(opt::misc::kGrabClipboard, false);  // as the settings page would
    tray.UpdateMenu();
    EXPECT_FALSE(tray.clipboardAction()->isChecked());

    quit::Reset();
    registry_.SetBOOL(opt::misc::kCloseToTray, true);
    w->hide();  // in the tray
    tray.exitAction()->trigger();
    EXPECT_TRUE(quit::Pending()) << "Exit ends the program even when closing keeps it in the tray";
    quit::Reset();
}

}  // namespace
}  // namespace mirudex::ui
