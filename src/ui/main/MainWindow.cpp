#include "ui/main/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QKeySequence>
#include <QMenuBar>
#include <QScreen>

#include "core/DebugLog.h"
#include "core/Version.h"
#include "platform/api/Platform.h"
#include "platform/api/Utf.h"
#include "platform/qt/QtText.h"
#include "ui/common/AboutWindow.h"
#include "ui/common/CommandIds.h"
#include "ui/common/Images.h"
#include "ui/common/QuitRequest.h"
#include "ui/main/DictionariesPopup.h"
#include "ui/main/FocusRing.h"
#include "ui/main/MainMenu.h"
#include "ui/main/StatusBar.h"
#include "ui/model/HoverCardPlace.h"
#include "userdata/StudyList.h"

namespace mirudex::ui {

namespace {

void Note(std::u16string_view text)
{
    platform::Get().MessageBox(text, u"Note", platform::Buttons::Ok, platform::Owner::MainWindow);
}

}  // namespace

MainWindow::MainWindow(Registry& registry, AppServices& services, PaneFactory& factory, int width, int height)
    : registry_(registry), services_(services)
{
    InitImageResources();
    setObjectName(QStringLiteral("Mirudex"));
    setWindowTitle(Q(Format(u"Mirudex %s", kVersionWide)));
    setWindowIcon(ProgramIcon());
    actions_ = BuildMainMenu(menuBar(), [this](int id) { OnCommand(id); });
    resize(width, height);

    // The first client area: the outer size less the menu bar.
    const int clientHeight = std::max(0, height - menuBar()->sizeHint().height());
    client_ = new ClientArea(factory, width, clientHeight, this);
    setCentralWidget(client_);
    client_->resize(width, clientHeight);
    registry_.CD(opt::kRoot);
    const bool remember = registry_.GetBOOL(opt::window::kRememberSize);
    int top = 0, bottom = 0;
    if (remember) {
        top = registry_.GetINT(opt::window::kDivVert);
        bottom = registry_.GetINT(opt::window::kDivVertBottomHoriz);
    }
    client_->BuildLayout(remember, top, bottom);
    searchControl_ = factory.SearchControl(client_->pane(PaneId::Search));
    factory.PanesCreated();
    // The panes draw no focus of their own: a ring shows which has the keyboard.
    new FocusRing({client_->pane(PaneId::Kanji), client_->pane(PaneId::Radical), client_->pane(PaneId::Result),
                   client_->pane(PaneId::StudyList)},
                  client_);

    // Find: Ctrl+F (the desktop's key) and Ctrl+L put the cursor in the search
    // box with its text selected, from anywhere in the window.
    auto* find = new QAction(this);
    find->setObjectName(QStringLiteral("FindSearchText"));
    find->setShortcuts(QKeySequence::keyBindings(QKeySequence::Find) << QKeySequence(Qt::CTRL | Qt::Key_L));
    connect(find, &QAction::triggered, this, [this] {
        if (SearchPaneControl* search = searchControl())
            search->FocusSearchText();
    });
    addAction(find);

    popup_ = new DictionariesPopup(services_, registry_, this);
    popup_->onCommand = [this](int id) { OnCommand(id); };
    selectionSettle_ = new QTimer(this);
    selectionSettle_->setSingleShot(true);
    selectionSettle_->setInterval(kSelectionSettleMs);
    connect(selectionSettle_, &QTimer::timeout, this, [this] { TakeSelection(); });
    platform::Get().WatchClipboard([this] { OnClipboardChanged(); });
    platform::Get().WatchSelection([this] { OnSelectionChanged(); });
    watchingClipboard_ = true;
    dlog::Write(u"END: Main Window: WM_CREATE\n");
}

MainWindow::~MainWindow() { StopWatchingClipboard(); }

QAction* MainWindow::action(int id) const
{
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

AboutWindow* MainWindow::aboutWindow() const { return about_.data(); }

SearchPaneControl* MainWindow::searchControl() const { return searchControl_; }

void MainWindow::SetStatusText(int part, const QString& text) { client_->statusBar()->SetText(part, text); }
QString MainWindow::StatusText(int part) const { return client_->statusBar()->Text(part); }

void MainWindow::OnCommand(int id)
{
    auto handler = handlers_.find(id);
    const bool handled = handler != handlers_.end() && handler->second;
    switch (id) {
    case ID_ADD_DICT:
        if (services_.ThreadSearching() || services_.SearchLock()) {
            Note(u"Please finish any searches or dictionary-loads before loading a dictionary.\n");
            return;
        }
        dlog::Write(u"ID_ADD_DICT: About to load the load-dictionary dialog...\n");
        if (handled)
            handler->second();
        dlog::Write(u"ID_ADD_DICT: load-dictionary dialog ended.\n");
        return;
    case ID_STUDYLIST_OPEN: OpenStudyList(false); return;
    case ID_STUDYLIST_IMPORT: OpenStudyList(true); return;
    case ID_STUDYLIST_SAVE: services_.SaveStudyList(); return;
    case ID_STUDYLIST_SAVE_AS: SaveStudyListAs(); return;
    case ID_STUDYLIST_CLOSE:
        services_.CloseStudyList();
        RefreshStudyList();
        return;
    case ID_EXIT:
        exiting_ = true;
        close();
        return;
    case ID_DICTIONARIES:
        // A load fills the dictionary list and a search reads the switches.
        if (services_.ThreadSearching()) {
            Note(u"Please finish any searches or dictionary-loads before switching dictionaries on or off.\n");
            return;
        }
        popup_->Open(QCursor::pos());
        return;
    case ID_ALWAYS_ON_TOP: {
        const bool on = !registry_.GetBOOL(opt::misc::kAlwaysOnTop);
        registry_.SetBOOL(opt::misc::kAlwaysOnTop, on);
        action(ID_ALWAYS_ON_TOP)->setChecked(on);
        return;
    }
    case ID_IMPORT_JMDICT:
    case ID_DOWNLOAD_DICTIONARY:
        if (services_.ThreadSearching() || services_.SearchLock()) {
            Note(u"Please finish any searches or dictionary-loads before installing a dictionary.\n");
            return;
        }
        if (handled)
            handler->second();
        return;
    case ID_CHECK_UPDATES:
        if (services_.ThreadSearching()) {
            Note(u"Please wait for any searches or dictionary-loadings to complete\nbefore attempting to update.");
            return;
        }
        if (handled)
            handler->second();
        return;
    case ID_SETTINGS:
        if (handled)
            handler->second();
        return;
    case ID_WINDOW_RADICALLOOKUP: ToggleRadicalPane(); return;
    case ID_WINDOW_STUDYLIST: ToggleStudyListPane(); return;
    case ID_WINDOW_READER: {
        // Remembered at once, like Always on Top; start-up replays it.
        const bool on = !registry_.GetBOOL(opt::misc::kReader);
        registry_.SetBOOL(opt::misc::kReader, on);
        if (SearchPaneControl* search = searchControl())
            search->ShowReader(on);
        action(ID_WINDOW_READER)->setChecked(on);
        return;
    }
    case ID_ABOUT: ShowAbout(); return;
    case ID_USER_GUIDE: OpenLink(UserGuideUrl()); return;
    default: return;  // other ids belong to the panes
    }
}

void MainWindow::ToggleRadicalPane()
{
    if (!services_.RadicalsLoaded()) {
        dlog::Write(u"Warning: ID_WINDOW_RADICALLOOKUP: Radical Lookup info has not been loaded yet.\n");
        action(ID_WINDOW_RADICALLOOKUP)->setChecked(false);
        return;
    }
    const bool show = !client_->lowerPaneShown(PaneId::Radical);
    if (!client_->ShowLowerPane(PaneId::Radical, show))
        dlog::Write(u"WARNING: The kanji column is too low to show the radical lookup window.\n");
    action(ID_WINDOW_RADICALLOOKUP)->setChecked(client_->lowerPaneShown(PaneId::Radical));
}

void MainWindow::ToggleStudyListPane()
{
    const bool show = !client_->lowerPaneShown(PaneId::StudyList);
    if (!client_->ShowLowerPane(PaneId::StudyList, show))
        dlog::Write(u"WARNING: The result column is too low to show the study list window.\n");
    action(ID_WINDOW_STUDYLIST)->setChecked(client_->lowerPaneShown(PaneId::StudyList));
}

std::optional<std::string> MainWindow::ChooseFile(bool save)
{
    const QString title = save ? QCoreApplication::translate("Mirudex", "Please select a file to save to.")
                               : QCoreApplication::translate("Mirudex", "Please select a file to open.");
    dlog::Write(save ? u"About to open the File Save dialog box...\n" : u"About to open the File Open dialog box...\n");
    std::optional<std::string> chosen =
        save ? platform::Get().ChooseSaveFile(U16(title)) : platform::Get().ChooseOpenFile(U16(title));
    if (chosen)
        dlog::Write(u"   File picked successfully\n");
    return chosen;
}

std::string MainWindow::ProgramRelativePath(const std::string& path, const std::u16string& programDir)
{
    const std::u16string wide = Utf8ToUtf16(path);
    dlog::Write(u"Filename (w): %s\n", wide);
    dlog::Write(u"   cmdline: %s\n", programDir);
    std::u16string dir = programDir;
    if (dir.empty() || dir.back() != u'/')
        dir += u'/';
    dlog::Write(u"   strline (w): %s\n", dir);
    // The same rule as the study list's stored paths.
    const std::string result = userdata::StoredStudyListPath(path, Utf16ToUtf8(dir));
    dlog::Write(u"   str_filename: %s\n", Utf8ToUtf16(result));
    return result;
}

void MainWindow::OpenStudyList(bool append)
{
    auto chosen = ChooseFile(false);
    if (!chosen)
        return;
    if (append)
        services_.ImportStudyList(*chosen);
    else
        services_.OpenStudyList(*chosen);
    RefreshStudyList();
}

void MainWindow::SaveStudyListAs()
{
    if (auto chosen = ChooseFile(true))
        services_.SaveStudyListAs(*chosen);
}

void MainWindow::RefreshStudyList()
{
    QWidget* list = client_->pane(PaneId::StudyList);
    list->updateGeometry();
    list->update();
}

void MainWindow::ShowAbout()
{
    if (about_)
        return;
    const QRect work = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    about_ = new AboutWindow(registry_, this);
    about_->setGeometry(work.width() / 2 - 200, work.height() / 2 - 200, 400, 400);
    about_->show();
}

void MainWindow::ApplyAlwaysOnTop()
{
    const bool on = registry_.GetBOOL(opt::misc::kAlwaysOnTop);
    if (on == bool(windowFlags() & Qt::WindowStaysOnTopHint))
        return;
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible)
        show();
}

void MainWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange)
        ApplyAlwaysOnTop();
    QMainWindow::changeEvent(event);
}

void MainWindow::OnClipboardChanged()
{
    if (!watchingClipboard_ || services_.SearchLock())
        return;
    if (!skipNextClipboardNotice_ && !services_.ThreadSearching() && registry_.GetBOOL(opt::misc::kGrabClipboard)) {
        if (SearchPaneControl* search = searchControl()) {
            search->SelectAllText();  // the copied text is the new search text
            search->OnCommand(ID_ENCODE_PASTE);
            if (registry_.GetBOOL(opt::misc::kGrabClipboardAutoSearch)) {
                const bool romaji = search->RomajiConversion();
                if (romaji)
                    search->SetRomajiConversion(false);
                search->OnCommand(ID_SEARCH_GO);
                if (romaji)
                    search->SetRomajiConversion(true);
            }
        }
    }
    skipNextClipboardNotice_ = false;
}

void MainWindow::OnSelectionChanged()
{
    if (watchingClipboard_ && registry_.GetBOOL(opt::misc::kGrabSelection))
        selectionSettle_->start();
}

void MainWindow::TakeSelection()
{
    if (!watchingClipboard_ || services_.SearchLock() || services_.ThreadSearching() ||
        !registry_.GetBOOL(opt::misc::kGrabSelection))
        return;
    std::u16string text = platform::Get().SelectionText().value_or(u"");
    // Blanks and line ends around a highlighted word are not part of it.
    auto blank = [](char16_t c) { return c == u' ' || c == u'\u3000' || (c >= u'\t' && c <= u'\r'); };
    while (!text.empty() && blank(text.back()))
        text.pop_back();
    size_t start = 0;
    while (start < text.size() && blank(text[start]))
        ++start;
    text.erase(0, start);
    // The same text highlighted again (or still) is not searched twice.
    if (text.empty() || text == lastSelection_)
        return;
    lastSelection_ = text;
    SearchPaneControl* search = searchControl();
    if (!search)
        return;
    search->ReplaceText(text);
    if (registry_.GetBOOL(opt::misc::kGrabClipboardAutoSearch)) {
        const bool romaji = search->RomajiConversion();
        if (romaji)
            search->SetRomajiConversion(false);
        search->OnCommand(ID_SEARCH_GO);
        if (romaji)
            search->SetRomajiConversion(true);
    }
}

void MainWindow::Raise()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void MainWindow::FitToScreen()
{
    if (isMaximized() || isFullScreen() || isMinimized())
        return;
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    QScreen* s = QGuiApplication::screenAt(frame.center());
    if (!s)
        s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s)
        return;
    const QRect area = s->availableGeometry();
    const FrameMargins margins{client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                               frame.bottom() - client.bottom()};
    const ScreenRect now{frame.x(), frame.y(), client.width(), client.height()};
    const ScreenRect fitted = FitWindowToArea(
        now, margins, WorkArea{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()});
    if (fitted == now)
        return;
    dlog::WriteAt(1, u"Main Window: fitted to the screen: %i,%i %ix%i\n", fitted.x, fitted.y, fitted.w, fitted.h);
    resize(fitted.w, fitted.h);
    move(fitted.x, fitted.y);
}

void MainWindow::FitToScreenWhenFramed()
{
    if (frameGeometry() != geometry()) {
        FitToScreen();  // framed already
        return;
    }
    fitWhenFramed_ = true;
    QTimer::singleShot(kFrameWaitMs, this, [this] { fitWhenFramed_ = false; });
}

void MainWindow::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    if (fitWhenFramed_ && frameGeometry() != geometry()) {
        fitWhenFramed_ = false;
        FitToScreen();
    }
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (fitWhenFramed_ && frameGeometry() != geometry()) {
        fitWhenFramed_ = false;
        FitToScreen();
    }
}

bool MainWindow::SearchFromOutside(std::u16string_view text)
{
    SearchPaneControl* search = searchControl();
    if (services_.SearchLock() || services_.ThreadSearching() || QApplication::activeModalWidget() || !search)
        return false;
    search->ReplaceText(text);
    search->OnCommand(ID_SEARCH_GO);
    return true;
}

void MainWindow::StopWatchingClipboard()
{
    if (!watchingClipboard_)
        return;
    watchingClipboard_ = false;
    selectionSettle_->stop();
    platform::Get().WatchClipboard({});
    platform::Get().WatchSelection({});
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The window stays: shutdown saves its placement and then destroys it.
    event->ignore();
    if (!exiting_ && trayShown_ && trayShown_() && registry_.GetBOOL(opt::misc::kCloseToTray)) {
        hide();
        return;
    }
    setWindowTitle(QStringLiteral("Closing..."));
    StopWatchingClipboard();
    quit::Post(0);
}

}  // namespace mirudex::ui
