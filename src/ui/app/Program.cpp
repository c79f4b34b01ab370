#include "ui/app/Program.h"

#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QUrl>
#include <cstdlib>
#include <ctime>

#include "core/DebugLog.h"
#include "core/DefaultOptions.h"
#include "core/OptionsFile.h"
#include "core/UserFileReport.h"
#include "platform/api/Platform.h"
#include "search/Sorting.h"
#include "ui/common/AboutWindow.h"
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
    if (!registry_.GetBOOL(opt::window::kRememberSize))
        return;
    registry_.CD(opt::window::kKey);
    const int sx = registry_.GetINT(opt::window::rel::kWindowX);
    const int sy = registry_.GetINT(opt::window::rel::kWindowY);
    const int sw = registry_.GetINT(opt::window::rel::kWindowW);
    const int sh = registry_.GetINT(opt::window::rel::kWindowH);
    registry_.CD(opt::kRoot);
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
    // A remembered placement is fitted to the screen (it may have been saved
    // on a larger one or at another scale): now for the client area, and once
    // more when the window manager has put its frame round the window.
    if (!defaultPosition)
        main_->FitToScreen();
    main_->show();
    if (!defaultPosition)
        main_->FitToScreenWhenFramed();

    RestoreToggles();
    RestoreSorts();

    const bool ime = registry_.GetBOOL(opt::misc::kIME);
    if (parts_.focusSearchBox)
        parts_.focusSearchBox(*main_, ime);
    platform::Get().SetStatusText(1, ime ? u"IME -on-" : u"IME -off-");

    if (registry_.GetBOOL(opt::search::recent_list::kEnabled) && registry_.GetBOOL(opt::search::recent_list::kLoad) &&
        parts_.loadHistory)
        parts_.loadHistory(registry_.GetINT(opt::search::recent_list::kMax));

    if (parts_.loadMarkers) {
        Status(u"Loading Markers...");
        parts_.loadMarkers();
        Status(u"Markers loaded.");
    }
    if (parts_.loadRadicals) {
        Status(u"Loading RADKFILE...");
        parts_.loadRadicals(registry_.GetString(opt::dictionaries::radkfile::kPath));
        Status(u"RADKFILE loaded.");
    }
    services_->LoadStudyListAtStartup();

    if (registry_.GetBOOL(opt::study_list::kOn))
        main_->OnCommand(ID_WINDOW_STUDYLIST);
    if (registry_.GetBOOL(opt::radical_lookup::kOn))
        main_->OnCommand(ID_WINDOW_RADICALLOOKUP);
    RestoreLowerPanes();
    main_->repaint();
    dlog::WriteAt(1, u"Main Window updated.\n");

    if (registry_.GetBOOL(opt::misc::kFirstTime))
        FirstTimeMessages();
    CheckJapaneseFont();

    LoadAllDictionaries();

    Status(u"Mirudex is ready to go.");
    dlog::WriteAt(1, u"C O M M E N C I N G    M A I N    M E S S A G E    L O O P\n");
}

void Program::RestoreLowerPanes()
{
    if (!registry_.GetBOOL(opt::window::kRememberSize))
        return;
    for (auto [pane, key] : {std::pair{PaneId::StudyList, opt::window::kStudyListH},
                             std::pair{PaneId::Radical, opt::window::kRadicalLookupH}}) {
        const int height = registry_.GetINT(key);
        // Shown at their first start at two thirds of the column; a height
        // that no longer fits the column leaves that split as it is.
        if (height >= 0 && main_->clientArea()->lowerPaneShown(pane) &&
            !main_->clientArea()->SetLowerPaneHeight(pane, height))
            dlog::Write(u"WARNING: A remembered pane height (%i) does not fit the window.\n", height);
    }
}

void Program::RestoreToggles()
{
    if (registry_.GetBOOL(opt::misc::kAlwaysOnTop)) {
        registry_.SetBOOL(opt::misc::kAlwaysOnTop, false);
        main_->OnCommand(ID_ALWAYS_ON_TOP);
    }
    if (registry_.GetBOOL(opt::misc::kReader)) {
        registry_.SetBOOL(opt::misc::kReader, false);
        main_->OnCommand(ID_WINDOW_READER);
    }
    int language = registry_.GetINT(opt::search::kLanguage);
    if (language > 7) {
        dlog::Write(u"WARNING: The language type is invalid; setting it to default.\n");
        registry_.SetINT(opt::search::kLanguage, 0);
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
        const int column = registry_.GetINT(primary ? opt::results::kSort1 : opt::results::kSort2);
        // Every key the result window can save is taken back, Relevance too.
        if (column < search::kSortWord || column > search::kSortRelevance) {
            dlog::Write(primary ? u"ERROR: The primary button to sort on is wrong (%i)\n"
                                : u"ERROR: The secondary button to sort on is wrong (%i)\n",
                        column);
            continue;
        }
        const bool ascending = registry_.GetBOOL(primary ? opt::results::kSort1Asc : opt::results::kSort2Asc);
        if (parts_.restoreResultSort)
            parts_.restoreResultSort(*main_, primary, column, ascending);
    }
    for (bool primary : {false, true}) {
        const int button = registry_.GetINT(primary ? opt::kanji::kSort1Button : opt::kanji::kSort2Button);
        const int level = registry_.GetINT(primary ? opt::kanji::kSort1Level : opt::kanji::kSort2Level);
        const bool ascending = registry_.GetBOOL(primary ? opt::kanji::kSort1Asc : opt::kanji::kSort2Asc);
        if (parts_.restoreKanjiSort)
            parts_.restoreKanjiSort(*main_, primary, button, level, ascending);
    }
    dlog::WriteAt(1, u"Result and Kanji Window sort buttons checked.\n");
}

FirstTimeFacts CurrentFirstTimeFacts()
{
    FirstTimeFacts facts;
    const QUrl guide = UserGuideUrl();
    facts.guidePath =
        (guide.isLocalFile() ? QDir::toNativeSeparators(guide.toLocalFile()) : guide.toString()).toStdU16String();
    facts.workingFolder = QDir::toNativeSeparators(QDir::currentPath()).toStdU16String();
    // The families that have kana and kanji of their own, as the start's font check asks.
    constexpr int kFontsNamed = 4;
    QStringList named;
    for (const QString& family : QFontDatabase::families(QFontDatabase::Japanese)) {
        const QFontMetrics metrics{QFont(family)};
        if (metrics.inFont(QChar(0x3042)) && metrics.inFont(QChar(0x6F22)) && !named.contains(family))
            named << family;
        if (named.size() == kFontsNamed)
            break;
    }
    facts.japaneseFonts = named.join(QStringLiteral(", ")).toStdU16String();
    return facts;
}

void Program::FirstTimeMessages()
{
    constexpr std::u16string_view caption = u"This is the first time that Mirudex has been opened.";
    const FirstTimeFacts facts = CurrentFirstTimeFacts();
    for (int i = 0; i < 4; ++i)
        platform::Get().MessageBox(FirstTimeText(i, facts), caption, platform::Buttons::Ok,
                                   platform::Owner::MainWindow);
    const auto answer = platform::Get().MessageBox(FirstTimeText(4, facts), caption, platform::Buttons::YesNo,
                                                   platform::Owner::MainWindow);
    if (answer == platform::Answer::Yes)
        registry_.SetBOOL(opt::misc::kFirstTime, false);
}

std::u16string NoJapaneseFontText()
{
    return u"No font installed on this system has kana and kanji, so Japanese text will show as empty boxes.\n\n"
           u"Install a Japanese font, for example with\n"
           u"    sudo apt install fonts-ipafont-mincho\n"
           u"(or fonts-noto-cjk, or fonts-vlgothic), and start Mirudex again.";
}

void Program::CheckJapaneseFont()
{
    // Hiragana, katakana and two common kanji.
    if (platform::Get().HasFontFor(u"\u3042\u30A2\u6F22\u5B57"))
        return;
    dlog::Write(u"WARNING: No installed font has kana and kanji.\n");
    platform::Get().MessageBox(NoJapaneseFontText(), u"Note", platform::Buttons::Ok, platform::Owner::MainWindow);
}

void Program::LoadAllDictionaries()
{
    if (!parts_.startLoadAllDictionaries || !parts_.loadWorker)
        return;
    CreateThreadWindow(registry_, main_.get(), QCoreApplication::translate("Mirudex", "Loading..."), false);
    const bool started = parts_.startLoadAllDictionaries();
    dlog::WriteAt(1, u"Load_Thread_LoadAllEDICTS() called.\n");
    if (!started) {
        if (ProgressWindow* w = CurrentProgressWindow())
            delete w;
        return;
    }
    if (WaitForWorker(*parts_.loadWorker, kWaitQuitFlag) == kWaitQuitArrived) {
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

    if (registry_.GetBOOL(opt::search::recent_list::kEnabled) && registry_.GetBOOL(opt::search::recent_list::kLoad) &&
        parts_.saveHistory)
        parts_.saveHistory();

    Stars(32);
    dlog::Write(u"***   Saving Options.mxreg   ***\n");
    Stars(32);
    if (registry_.GetBOOL(opt::window::kRememberSize)) {
        const bool normal = !main_->isMaximized() && !main_->isMinimized() && !main_->isFullScreen();
        const QRect frame = normal ? main_->frameGeometry() : main_->normalGeometry();
        const QSize size = normal ? main_->size() : main_->normalGeometry().size();
        registry_.CD(opt::window::kKey);
        registry_.SetINT(opt::window::rel::kWindowX, frame.x());
        registry_.SetINT(opt::window::rel::kWindowY, frame.y());
        registry_.SetINT(opt::window::rel::kWindowW, size.width());
        registry_.SetINT(opt::window::rel::kWindowH, size.height());
        registry_.SetINT(opt::window::rel::kDivVert, main_->clientArea()->TopDivider());
        registry_.SetINT(opt::window::rel::kDivVertBottomHoriz, main_->clientArea()->BottomDivider());
        // A hidden pane keeps the height it had when it was last shown.
        for (auto [pane, key] : {std::pair{PaneId::StudyList, opt::window::rel::kStudyListH},
                                 std::pair{PaneId::Radical, opt::window::rel::kRadicalLookupH}}) {
            const int height = main_->clientArea()->LowerPaneHeight(pane);
            if (height >= 0)
                registry_.SetINT(key, height);
        }
        registry_.CD(opt::kRoot);
    }
    if (parts_.saveWindowState)
        parts_.saveWindowState(*main_);
    if (parts_.imeMode)
        registry_.SetBOOL(opt::misc::kIME, parts_.imeMode());
    registry_.SetBOOL(opt::study_list::kOn, main_->studyListPaneShown());
    registry_.SetBOOL(opt::radical_lookup::kOn, main_->radicalPaneShown());
    int saveError = 0;
    const bool saved = baseline_ ? SaveOptionsKeepingOthers(registry_, *baseline_, kOptionsFileName, &saveError)
                                 : registry_.Save(kOptionsFileName, &saveError);
    if (saved) {
        dlog::Write(u"Options.mxreg saved successfully.\n");
    } else {
        dlog::Write(u"ERROR while saving Options.mxreg.\n");
        TellNotSaved(u"your settings", kOptionsFileName, ErrorText(saveError));
    }

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
