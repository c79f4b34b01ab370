#include "ui/app/AppWiring.h"

#include <QComboBox>
#include <QCoreApplication>

#include "core/DebugLog.h"
#include "dict/Entry.h"
#include "dict/Radicals.h"
#include "platform/api/Utf.h"
#include "search/Sorting.h"
#include "search/Worker.h"
#include "text/FuzzySearch.h"
#include "ui/common/CommandIds.h"
#include "ui/common/ProgressWindow.h"
#include "ui/common/QuitRequest.h"
#include "ui/common/TabChain.h"
#include "ui/kanji/KanjiWindow.h"
#include "ui/kanji/KanjiWindowSearch.h"
#include "ui/kanji/RadicalWindow.h"
#include "ui/main/MainWindow.h"
#include "ui/results/ResultAppHost.h"
#include "ui/results/ResultWindow.h"
#include "ui/search/ReaderView.h"
#include "ui/search/SearchBands.h"
#include "ui/search/SearchEdit.h"
#include "ui/search/SearchWindow.h"
#include "userdata/AppBindings.h"
#include "userdata/History.h"

namespace mirudex::ui {

namespace {

// A quit that arrived during a wait: the main window leaves the clipboard and posts it again.
void PassQuitOn(QWidget* mainWindow)
{
    if (auto* main = qobject_cast<MainWindow*>(mainWindow))
        main->StopWatchingClipboard();
    quit::Post(0);
}

}  // namespace

// ---- services over the search state -------------------------------------------------

AppStateServices::AppStateServices(search::AppState& state) : state_(state) {}
AppStateServices::~AppStateServices() = default;

bool AppStateServices::ThreadSearching() const { return state_.thread_searching; }
bool AppStateServices::SearchLock() const { return state_.SEARCH_LOCK; }
int AppStateServices::DictionaryCount() const { return static_cast<int>(state_.store.edict_dictionaries.size()); }

std::u16string AppStateServices::DictionaryName(int index) const
{
    return Utf8ToUtf16(state_.store.edict_dictionaries[static_cast<size_t>(index)]->name);
}

bool AppStateServices::DictionaryOn(int index) const
{
    return state_.store.edict_dictionaries[static_cast<size_t>(index)]->on;
}

void AppStateServices::SetDictionaryOn(int index, bool on)
{
    state_.store.edict_dictionaries[static_cast<size_t>(index)]->on = on;
}

bool AppStateServices::RadicalsLoaded() const { return state_.store.radical_table.count() > 0; }
int AppStateServices::StudyListCount() const { return static_cast<int>(userdata::StudyListOf(state_).size()); }

userdata::StudyListContext& AppStateServices::Context()
{
    // Made afresh each time, around the one file state of the run.
    auto wait = [this]() {
        const int result =
            WaitWithProgress(state_, main_, QCoreApplication::translate("Mirudex", "Loading Dictionary..."),
                             kWaitQuitFlag | kWaitEscFlag);
        if (result == kWaitQuitArrived)
            PassQuitOn(main_);
        return result;
    };
    context_ = std::make_unique<userdata::StudyListContext>(
        userdata::StudyListContextOf(state_, userdata::WorkerLoadRunner(state_, wait), studyFile_));
    return *context_;
}

void AppStateServices::OpenStudyList(const std::string& chosenPath)
{
    userdata::OpenStudyList(userdata::StudyListOf(state_), Context(), chosenPath);
    if (studyListChanged)
        studyListChanged();
}

void AppStateServices::ImportStudyList(const std::string& chosenPath)
{
    userdata::ImportStudyList(userdata::StudyListOf(state_), Context(), chosenPath);
    if (studyListChanged)
        studyListChanged();
}

void AppStateServices::SaveStudyList() { userdata::SaveStudyListToFile(userdata::StudyListOf(state_), Context()); }

void AppStateServices::SaveStudyListAs(const std::string& chosenPath)
{
    userdata::SaveStudyListAs(userdata::StudyListOf(state_), Context(), chosenPath);
}

void AppStateServices::CloseStudyList()
{
    userdata::CloseStudyList(userdata::StudyListOf(state_), Context());
    if (studyListChanged)
        studyListChanged();
}

void AppStateServices::LoadStudyListAtStartup()
{
    userdata::LoadStudyListAtStartup(userdata::StudyListOf(state_), Context());
    if (studyListChanged)
        studyListChanged();
}

void AppStateServices::SaveStudyListAtExit(bool shown)
{
    userdata::SaveStudyListAtExit(userdata::StudyListOf(state_), Context(), shown);
}

// ---- the panes ----------------------------------------------------------------------

class AppPaneFactory::SearchControlAdapter : public SearchPaneControl {
public:
    explicit SearchControlAdapter(SearchWindow* window) : window_(window) {}
    void OnCommand(int id) override
    {
        if (window_)
            window_->OnCommand(id);
    }
    bool RomajiConversion() const override { return window_ && window_->RomajiConversion(); }
    void SetRomajiConversion(bool on) override
    {
        if (window_)
            window_->SetRomajiConversion(on);
    }
    void SelectAllText() override
    {
        if (window_)
            window_->SelectAllText();
    }
    void ReplaceText(std::u16string_view text) override
    {
        if (window_)
            window_->ReplaceText(text);
    }
    void FocusSearchText() override
    {
        if (window_)
            window_->FocusSearchText();
    }
    bool ReaderShown() const override { return window_ && window_->ReaderShown(); }
    void ShowReader(bool on) override
    {
        if (window_)
            window_->ShowReader(on);
    }

private:
    QPointer<SearchWindow> window_;
};

AppPaneFactory::AppPaneFactory(search::AppState& state, const Resources& resources, AppStateServices& services)
    : state_(state), resources_(resources), services_(services), host_(std::make_unique<AppResultHost>(state))
{
}

AppPaneFactory::~AppPaneFactory() = default;

QWidget* AppPaneFactory::MainWindowOf() const { return search_ ? search_->window() : nullptr; }

void AppPaneFactory::ForwardQuit() { PassQuitOn(MainWindowOf()); }

QWidget* AppPaneFactory::CreateSearchWindow(QWidget* parent)
{
    search_ = new SearchWindow(state_, parent);
    search_->SetMiscFont(resources_.fonts.misc);
    search_->SetWaiter([this](int flags) {
        return WaitWithProgress(state_, MainWindowOf(), QCoreApplication::translate("Mirudex", "Searching..."), flags);
    });
    search_->SetQuitForwarder([this] { ForwardQuit(); });
    searchControl_ = std::make_unique<SearchControlAdapter>(search_);
    return search_;
}

QWidget* AppPaneFactory::CreateResultWindow(int slot, QWidget* parent)
{
    results_[slot] = new ResultWindow(slot, *host_, state_.options, resources_, parent);
    return results_[slot];
}

QWidget* AppPaneFactory::CreateKanjiWindow(QWidget* parent)
{
    kanji_ = new KanjiWindow(KanjiContextFromState(state_, resources_), parent);
    return kanji_;
}

QWidget* AppPaneFactory::CreateRadicalLookupWindow(QWidget* parent)
{
    radical_ = new RadicalWindow(RadicalContextFromState(state_, resources_), parent);
    return radical_;
}

SearchPaneControl* AppPaneFactory::SearchControl(QWidget*) { return searchControl_.get(); }

void AppPaneFactory::PanesCreated()
{
    SearchWindow* search = search_;
    KanjiWindow* kanji = kanji_;
    ResultWindow* results = results_[0];
    ResultWindow* study = results_[1];

    search->SetKanjiWindow(kanji);
    // Tab: the search box, the kanji and radical panes, the result and study
    // list panes, the tool bars' controls, the reading view; panes that are
    // not shown are passed over.
    std::vector<QWidget*> chain{search->edit(), kanji, radical_, results, study};
    for (QWidget* control : search->bands()->Controls())
        chain.push_back(control);
    chain.push_back(search->reader());
    SetTabChain(chain);

    // What a screen reader calls the panes.
    kanji->setAccessibleName(QCoreApplication::translate("Mirudex", "Kanji"));
    kanji->setAccessibleDescription(QCoreApplication::translate(
        "Mirudex",
        "The kanji of the search text with their readings and meanings; Enter searches words with "
        "the selected kanji"));
    radical_->setAccessibleName(QCoreApplication::translate("Mirudex", "Radical lookup"));
    radical_->setAccessibleDescription(QCoreApplication::translate("Mirudex", "Radicals to find kanji by their parts"));
    results->setAccessibleName(QCoreApplication::translate("Mirudex", "Search results"));
    results->setAccessibleDescription(
        QCoreApplication::translate("Mirudex", "The dictionary entries found: word, reading and meanings"));
    study->setAccessibleName(QCoreApplication::translate("Mirudex", "Study list"));
    study->setAccessibleDescription(QCoreApplication::translate("Mirudex", "The entries kept for study"));
    // The search command still holds SEARCH_LOCK here; both windows lay the
    // new lists out at once (the worker has ended) and paint once it lets go.
    QObject::connect(search, &SearchWindow::resultsReady, results, [results, kanji] {
        kanji->SetUpForNewResults();
        results->SetUpForNewResults();
    });
    QObject::connect(search, &SearchWindow::kanjiReady, kanji, [kanji] { kanji->SetUpForNewResults(); });

    host_->kanjiSetUp = [kanji] { kanji->SetUpForNewResults(); };
    host_->studySetUp = [study] { study->SetUpForNewResults(); };
    host_->focusSearchBox = [search] { search->edit()->setFocus(); };
    host_->encodingPosition = [search] { return search->bands()->encodingList()->currentIndex(); };
    host_->searchText = [search](std::u16string_view text, bool run) {
        search->edit()->selectAll();
        search->edit()->ReplaceSelection(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
        search->edit()->selectAll();
        if (run)
            search->OnCommand(ID_SEARCH_GO);
    };

    KanjiSearchHooks hooks;
    hooks.wait = [this](int flags) {
        return WaitWithProgress(state_, MainWindowOf(), QCoreApplication::translate("Mirudex", "Searching..."), flags);
    };
    hooks.showResults = [results] { results->SetUpForNewResults(); };
    hooks.forwardQuit = [this] { ForwardQuit(); };
    hooks.encodingPosition = host_->encodingPosition;
    ConnectKanjiSearch(*kanji, state_, hooks);
    ConnectRadicalSearch(*radical_, state_, *kanji);

    services_.studyListChanged = [study] { study->SetUpForNewResults(); };
}

void AppPaneFactory::WireProgram(Program& program, text::FuzzyRules& rules)
{
    ProgramParts& parts = program.parts();
    search::AppState& state = state_;
    Registry& options = state.options;

    parts.loadFuzzySearchInfo = [&rules] { return rules.LoadFuzzySearchInfo(); };
    parts.restoreToolbars = [this](MainWindow&, int language) { search_->RestoreToolbars(language); };
    parts.clearResultSorts = [&state](MainWindow&) {
        state.edict_sort = {};
        state.kanji_sort = {};
    };
    parts.restoreResultSort = [this, &state](MainWindow&, bool, int column, bool ascending) {
        // A key whose header item is hidden still sorts (an options file
        // written with the item shown and then edited, say).
        for (int click = 0; click < (ascending ? 1 : 2); ++click)
            if (!results_[0]->ClickHeaderItem(column))
                search::ClickEntrySortKey(state.edict_sort, column);
    };
    parts.restoreKanjiSort = [this](MainWindow&, bool, int button, int level, bool ascending) {
        const int header = level == 1 ? KanjiWindow::kId1 : KanjiWindow::kId2;
        kanji_->HeaderItemClicked(header, button);
        if (!ascending)
            kanji_->HeaderItemClicked(header, button);
    };
    parts.focusSearchBox = [this](MainWindow&, bool imeOn) { search_->FocusSearchBox(imeOn); };
    parts.loadHistory = [this, &options](int) { userdata::LoadHistory(search_->history(), options); };
    parts.saveHistory = [this, &options] { userdata::SaveHistory(search_->history(), options); };
    parts.loadMarkers = [&state] { dict::LoadMarkers(state.store.marker_table); };
    parts.loadRadicals = [&state, &options](const std::string& path) {
        return dict::LoadRadicalInfo(state.store.radical_table, Utf8ToUtf16(path), options) == 0;
    };
    parts.startLoadAllDictionaries = [&state] { return search::Load_Thread_LoadAllEDICTS(state); };
    probe_ = std::make_unique<StateProbe>(state);
    parts.loadWorker = probe_.get();
    parts.stopLoadWorker = [&state] { search::StopWorker(state); };
    parts.saveWindowState = [this, &state, &options](MainWindow&) {
        search_->SaveToolbars();
        search::SaveSortStates(options, state.edict_sort, state.kanji_sort);
        results_[0]->SaveHeaderItems();
        results_[1]->SaveHeaderItems();
        kanji_->SaveHeaderPercentages(options);
    };
    parts.mainWindowCreated = [this, previous = parts.mainWindowCreated](MainWindow& window) {
        services_.SetMainWindow(&window);
        if (previous)
            previous(window);
    };
    parts.dictionariesLoaded = [this, &state] {
        search::JoinWorker(state);
        // A window laid out while the worker ran (the window system sizes
        // new windows late) could not read its list: the study list loaded
        // before would stay blank until something laid it out again.
        for (ResultWindow* window : results_)
            if (window)
                window->RelayoutAfterWorker();
    };
    parts.freeDictionary = [&state](int i) { state.store.edict_dictionaries[static_cast<size_t>(i)]->Free(); };
}

}  // namespace mirudex::ui
