#pragma once
// The program's real panes and services over the shared search state: the
// search, result, study list, kanji and radical lookup windows, connected to
// one another, and the start-up and shutdown parts that reach them.
//
// Threads: user-interface thread only. Every wait for the worker shows the
// progress window and keeps dispatching events (ProgressWindow.h).

#include <QPointer>
#include <memory>

#include "search/AppState.h"
#include "ui/app/Program.h"
#include "ui/common/Resources.h"
#include "ui/kanji/KanjiWindow.h"
#include "ui/kanji/RadicalWindow.h"
#include "ui/main/AppServices.h"
#include "ui/main/Panes.h"
#include "ui/results/ResultWindow.h"
#include "ui/search/SearchWindow.h"
#include "userdata/StudyList.h"

namespace mirudex::text {
class FuzzyRules;
}

namespace mirudex::ui {

class AppResultHost;

class AppStateServices : public AppServices {
public:
    explicit AppStateServices(search::AppState& state);
    ~AppStateServices() override;

    bool ThreadSearching() const override;
    bool SearchLock() const override;
    int DictionaryCount() const override;
    std::u16string DictionaryName(int index) const override;
    bool DictionaryOn(int index) const override;
    void SetDictionaryOn(int index, bool on) override;
    bool RadicalsLoaded() const override;
    int StudyListCount() const override;
    void OpenStudyList(const std::string& chosenPath) override;
    void ImportStudyList(const std::string& chosenPath) override;
    void SaveStudyList() override;
    void SaveStudyListAs(const std::string& chosenPath) override;
    void CloseStudyList() override;
    void LoadStudyListAtStartup() override;
    void SaveStudyListAtExit(bool shown) override;

    // The main window, owner of the progress window, and what a quit during a wait is passed to.
    void SetMainWindow(MainWindow* window) { main_ = window; }
    // After the study list changed: its window takes up the list.
    std::function<void()> studyListChanged;

private:
    userdata::StudyListContext& Context();

    search::AppState& state_;
    QPointer<MainWindow> main_;
    // Whether the list holds all of its file, for the whole run.
    userdata::StudyListFile studyFile_;
    std::unique_ptr<userdata::StudyListContext> context_;
};

class AppPaneFactory : public PaneFactory {
public:
    AppPaneFactory(search::AppState& state, const Resources& resources, AppStateServices& services);
    ~AppPaneFactory() override;

    QWidget* CreateSearchWindow(QWidget* parent) override;
    QWidget* CreateResultWindow(int slot, QWidget* parent) override;
    QWidget* CreateKanjiWindow(QWidget* parent) override;
    QWidget* CreateRadicalLookupWindow(QWidget* parent) override;
    SearchPaneControl* SearchControl(QWidget* searchWindow) override;
    void PanesCreated() override;

    // Fills the start-up and shutdown parts that reach the panes and the state.
    void WireProgram(Program& program, text::FuzzyRules& rules);

    SearchWindow* searchWindow() const { return search_; }
    ResultWindow* resultWindow(int slot) const { return results_[slot]; }
    KanjiWindow* kanjiWindow() const { return kanji_; }
    RadicalWindow* radicalWindow() const { return radical_; }

private:
    class SearchControlAdapter;
    QWidget* MainWindowOf() const;
    void ForwardQuit();

    search::AppState& state_;
    const Resources& resources_;
    AppStateServices& services_;
    std::unique_ptr<AppResultHost> host_;
    std::unique_ptr<SearchControlAdapter> searchControl_;
    QPointer<SearchWindow> search_;
    QPointer<ResultWindow> results_[2];
    QPointer<KanjiWindow> kanji_;
    QPointer<RadicalWindow> radical_;
    std::unique_ptr<WorkerProbe> probe_;
};

}  // namespace mirudex::ui
