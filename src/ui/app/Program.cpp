#include "ui/app/Program.h"

#include <cstdlib>
#include <ctime>

#include "core/DebugLog.h"
#include "core/DefaultOptions.h"
#include "platform/api/Platform.h"
#include "ui/common/CommandIds.h"
#include "ui/common/Images.h"
#include "ui/common/QuitRequest.h"

namespace mirudex::ui {

namespace {

constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 600;

void Stars(int count) { dlog::Write(u"%S\n", std::string(static_cast<size_t>(count), '*')); }

}  // namespace

Program::Program(Registry& registry, AppServices* services, PaneFactory* factory) : registry_(registry)
{
    if (!services) {
        ownServices_ = std::make_unique<LocalServices>();
        services = ownServices_.get();
    }
    if (!factory) {
        ownFactory_ = std::make_unique<PaneFactory>();
        factory = ownFactory_.get();
    }
    services_ = services;
    factory_ = factory;
}

Program::~Program() = default;

void Program::Status(std::u16string_view text) { platform::Get().SetStatusText(0, text); }

void Program::PlaceWindow(int& x, int& y, int& w, int& h, bool& useDefaultPosition)
{
    useDefaultPosition = true;
    w = kDefaultWidth;
    h = kDefaultHeight;
    if (!registry_.GetBOOL(".\\Window\\RememberSize"))
        return;
    registry_.CD(".\\Window");
    const int sx = registry_.GetINT("Window_x");
    const int sy = registry_.GetINT("Window_y");
    const int sw = registry_.GetINT("Window_w");
    const int sh = registry_.GetINT("Window_h");
    registry_.CD(".");
    if (sw < 30 || sh < 30 || sx < -300 || sx > 3000 || sy < -300 || sy > 3000) {
        dlog::Write(u"The window position settings were incorrect--They have been restored to the defaults.");
        platform::Get().MessageBox(
            u"The window position settings were incorrect.\n\nThey have been restored to the defaults.", u"Warning:",
            platform::Buttons::Ok, platform::Owner::None);
        return;
    }
    useDefaultPosition = false;
    x = sx;
    y = sy;
    w = sw;
    h = sh;
}

void Program::Start()
{
    quit::Reset();
    InitImageResources();
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    // Step 7 and 8: the drawing library and the controls come with Qt.
    dlog::Write(u"Intializing GDI+..............");
    dlog::Write(u"OKAY\n");
    dlog::Write(u"Intializing Common Controls...");
    dlog::Write(u"OKAY\n");

    if (parts_.loadHeaderItems)
        parts_.loadHeaderItems();

    LoadCursorsAndBitmaps(resources_);

    dlog::Write(u"Loading Fuzzy Search Data.....");
    if (dlog::Level() > 0)
        dlog::Write(u"\n");
    const bool fuzzy = parts_.loadFuzzySearchInfo && parts_.loadFuzzySearchInfo();
    dlog::Write(fuzzy ? u"OKAY\n" : u"FAILED\n");

    LoadFontsAndColors(registry_, resources_, ScreenDpiY());

    int x = 0, y = 0, w = 0, h = 0;
    bool defaultPosition = true;
    PlaceWindow(x, y, w, h, defaultPosition);

    dlog::Write(u"Creating main window...\n");
    main_ = std::make_unique<MainWindow>(registry_, *services_, *factory_, w, h);
    if (!defaultPosition)
        main_->move(x, y);
    dlog::Write(u"Main window created okay.\n");
    if (parts_.mainWindowCreated)
        parts_.mainWindowCreated(*main_);
    main_->show();

    RestoreToggles();
    RestoreSorts();

    const bool ime = registry_.GetBOOL(".\\Misc\\IME");
    if (parts_.focusSearchBox)
        parts_.focusSearchBox(*main_, ime);
    platform::Get().SetStatusText(1, ime ? u"IME -on-" : u"IME -off-");

    if (registry_.GetBOOL(".\\Search\\RecentList\\Enabled") && registry_.GetBOOL(".\\Search\\RecentList\\Load") &&
        parts_.loadHistory)
        parts_.loadHistory(registry_.GetINT(".\\Search\\RecentList\\Max"));

    if (parts_.loadMarkers) {
        Status(u"Loading Markers...");
        parts_.loadMarkers();
        Status(u"Markers loaded.");
    }
    if (parts_.loadRadicals) {
        Status(u"Loading RADKFILE...");
        parts_.loadRadicals(registry_.GetString(".\\Dictionaries\\RADKFILE\\Path"));
        Status(u"RADKFILE loaded.");
    }
    services_->LoadStudyListAtStartup();

    if (registry_.GetBOOL(".\\StudyList\\On"))
        main_->OnCommand(ID_WINDOW_STUDYLIST);
    if (registry_.GetBOOL(".\\RadicalLookup\\On"))
        main_->OnCommand(ID_WINDOW_RADICALLOOKUP);
    main_->repaint();
    dlog::WriteAt(1, u"Main Window updated.\n");

    if (registry_.GetBOOL(".\\Misc\\FirstTime"))
        FirstTimeMessages();

    LoadAllDictionaries();

    Status(u"Mirudex is ready to go.");
    dlog::WriteAt(1, u"C O M M E N C I N G    M A I N    M E S S A G E    L O O P\n");
}

void Program::RestoreToggles()
{
    if (registry_.GetBOOL(".\\Misc\\AlwaysOnTop")) {
        registry_.SetBOOL(".\\Misc\\AlwaysOnTop", false);
        main_->OnCommand(ID_ALWAYS_ON_TOP);
    }
    int language = registry_.GetINT(".\\Search\\Language");
    if (language > 7) {
        dlog::Write(u"WARNING: The language type is invalid; setting it to default.\n");
        registry_.SetINT(".\\Search\\Language", 0);
        language = 0;
    }
    if (parts_.restoreToolbars)
        parts_.restoreToolbars(*main_, language);
    dlog::WriteAt(1, u"Toolbar buttons checked.\n");
}

void Program::RestoreSorts()
{
    if (parts_.clearResultSorts)
        parts_.clearResultSorts(*main_);
    for (bool primary : {false, true}) {
        const std::string key = primary ? ".\\Results\\Sort1" : ".\\Results\\Sort2";
        const int column = registry_.GetINT(key);
        if (column < 0 || column > 5) {
            dlog::Write(primary ? u"ERROR: The primary button to sort on is wrong (%i)\n"
                                : u"ERROR: The secondary button to sort on is wrong (%i)\n",
                        column);
            continue;
        }
        const bool ascending = registry_.GetBOOL(key + " Asc");
        if (parts_.restoreResultSort)
            parts_.restoreResultSort(*main_, primary, column, ascending);
    }
    for (bool primary : {false, true}) {
        const std::string key = primary ? ".\\Kanji\\Sort1" : ".\\Kanji\\Sort2";
        const int button = registry_.GetINT(key + " Button");
        const int level = registry_.GetINT(key + " Level");
        const bool ascending = registry_.GetBOOL(key + " Asc");
        if (parts_.restoreKanjiSort)
            parts_.restoreKanjiSort(*main_, primary, button, level, ascending);
    }
    dlog::WriteAt(1, u"Result and Kanji Window sort buttons checked.\n");
}

void Program::FirstTimeMessages()
{
    constexpr std::u16string_view caption = u"This is the first time that Mirudex has been opened.";
    for (int i = 0; i < 4; ++i)
        platform::Get().MessageBox(FirstTimeText(i), caption, platform::Buttons::Ok, platform::Owner::MainWindow);
    const auto answer =
        platform::Get().MessageBox(FirstTimeText(4), caption, platform::Buttons::YesNo, platform::Owner::MainWindow);
    if (answer == platform::Answer::Yes)
        registry_.SetBOOL(".\\Misc\\FirstTime", false);
}

void Program::LoadAllDictionaries()
{
    if (!parts_.startLoadAllDictionaries || !parts_.loadWorker)
        return;
    CreateThreadWindow(registry_, main_.get(), QStringLiteral("Loading..."), false);
    const bool started = parts_.startLoadAllDictionaries();
    dlog::WriteAt(1, u"Load_Thread_LoadAllEDICTS() called.\n");
    if (!started) {
        if (ProgressWindow* w = ThreadWindow())
            delete w;
        return;
    }
    if (WaitForWorker(*parts_.loadWorker, kWaitQuit) == kWaitQuitArrived) {
        if (parts_.stopLoadWorker)
            parts_.stopLoadWorker();
        platform::Get().Exit(0);
    }
    if (parts_.dictionariesLoaded)
        parts_.dictionariesLoaded();
}

void Program::RunLoop()
{
    if (!quit::Pending()) {
        quit::SetMainLoopRunning(true);
        QApplication::exec();
        quit::SetMainLoopRunning(false);
    }
    dlog::WriteAt(1, u"E N D    O F    M A I N    M E S S A G E    L O O P\n");
}

int Program::Shutdown()
{
    services_->SaveStudyListAtExit(main_->studyListPaneShown());

    if (registry_.GetBOOL(".\\Search\\RecentList\\Enabled") && registry_.GetBOOL(".\\Search\\RecentList\\Load") &&
        parts_.saveHistory)
        parts_.saveHistory();

    Stars(32);
    dlog::Write(u"***   Saving Options.mxreg   ***\n");
    Stars(32);
    if (registry_.GetBOOL(".\\Window\\RememberSize")) {
        const bool normal = !main_->isMaximized() && !main_->isMinimized() && !main_->isFullScreen();
        const QRect frame = normal ? main_->frameGeometry() : main_->normalGeometry();
        const QSize size = normal ? main_->size() : main_->normalGeometry().size();
        registry_.CD(".\\Window");
        registry_.SetINT("Window_x", frame.x());
        registry_.SetINT("Window_y", frame.y());
        registry_.SetINT("Window_w", size.width());
        registry_.SetINT("Window_h", size.height());
        registry_.SetINT("Div_vert", main_->clientArea()->TopDivider());
        registry_.SetINT("Div_vert_bottom_horiz", main_->clientArea()->BottomDivider());
        registry_.CD(".");
    }
    if (parts_.saveWindowState)
        parts_.saveWindowState(*main_);
    if (parts_.imeMode)
        registry_.SetBOOL(".\\Misc\\IME", parts_.imeMode());
    registry_.SetBOOL(".\\StudyList\\On", main_->studyListPaneShown());
    registry_.SetBOOL(".\\RadicalLookup\\On", main_->radicalPaneShown());
    dlog::Write(registry_.Save(kOptionsFileName) ? u"Options.mxreg saved successfully.\n"
                                                 : u"ERROR while saving Options.mxreg.\n");

    Stars(26);
    dlog::Write(u"***   Cleaning up...   ***\n");
    Stars(26);
    const int count = services_->DictionaryCount();
    for (int i = 0; i < count; ++i) {
        dlog::Write(u"Deleting EDICT %i / %i...", i + 1, count);
        if (parts_.freeDictionary)
            parts_.freeDictionary(i);
        dlog::Write(u"OKAY\n");
    }
    main_.reset();
    Stars(21);
    dlog::Write(u"***   All done!   ***\n");
    Stars(21);
    return quit::Code();
}

}  // namespace mirudex::ui
