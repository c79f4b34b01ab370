#pragma once
// The program's run after its options are loaded: start-up from the drawing
// library to the main message loop, and the shutdown that saves the user's
// state. Options steps, log opening and the debug level come before (main).
//
// Parts of the sequence that other areas provide are reached through
// ProgramParts; a part that is not given is passed over and the other steps
// keep their order.

#include <QApplication>
#include <functional>
#include <memory>
#include <optional>

#include "core/Registry.h"
#include "ui/common/Look.h"
#include "ui/common/ProgressWindow.h"
#include "ui/common/Resources.h"
#include "ui/main/AppServices.h"
#include "ui/main/MainWindow.h"
#include "ui/main/Panes.h"

namespace mirudex::ui {

struct ProgramParts {
    // Called as soon as the main window exists (the status bar takes texts from then on).
    std::function<void(MainWindow&)> mainWindowCreated;
    std::function<void()> loadHeaderItems;      // result window header items
    std::function<bool()> loadFuzzySearchInfo;  // reverse-conjugation rules
    // Presses the search-toolbar buttons from the options (language value already checked).
    std::function<void(MainWindow&, int language)> restoreToolbars;
    // Delivers the header clicks of a restored sort: result column (header 1311/1321) or kanji button.
    std::function<void(MainWindow&)> clearResultSorts;
    std::function<void(MainWindow&, bool primary, int column, bool ascending)> restoreResultSort;
    std::function<void(MainWindow&, bool primary, int button, int level, bool ascending)> restoreKanjiSort;
    // Selects the search text and focuses it; imeOn puts the box into its input-method mode.
    std::function<void(MainWindow&, bool imeOn)> focusSearchBox;
    std::function<bool()> imeMode;  // the search box's input-method mode, at exit
    std::function<void(int max)> loadHistory;
    std::function<void()> saveHistory;
    std::function<void()> loadMarkers;
    std::function<bool(const std::string& path)> loadRadicals;
    // Starts the worker that loads the kanji dictionary and every dictionary;
    // false when it was refused. worker tells when it is done.
    std::function<bool()> startLoadAllDictionaries;
    const WorkerProbe* loadWorker = nullptr;
    // Stops the load worker after a quit during the wait.
    std::function<void()> stopLoadWorker;
    // The load worker has finished (its thread is joined here).
    std::function<void()> dictionariesLoaded;
    // Writes the search toolbar, sort and header state back into the options.
    std::function<void(MainWindow&)> saveWindowState;
    // Frees dictionary i (0-based).
    std::function<void(int)> freeDictionary;
};

class Program {
public:
    // services and factory must outlive the program; null means the program's own stand-ins.
    Program(Registry& registry, AppServices* services = nullptr, PaneFactory* factory = nullptr);
    ~Program();

    ProgramParts& parts() { return parts_; }
    // Replaces the pane factory before Start (not owned).
    void SetPaneFactory(PaneFactory* factory) { factory_ = factory; }
    // Start-up through the wait for the dictionaries. A quit during that wait
    // ends the process with status 0 (through the platform), saving nothing.
    void Start();
    // The main message loop (skipped when a quit is already pending).
    void RunLoop();
    // Saves and cleans up; returns the exit status.
    int Shutdown();
    // The options as they were read from the file (not owned). With it the
    // shutdown keeps what other programs wrote to the file meanwhile
    // (SaveOptionsKeepingOthers); without it the store is written as it is.
    void SetOptionsBaseline(Registry* baseline) { baseline_ = baseline; }

    MainWindow* mainWindow() const { return main_.get(); }
    const Resources& resources() const { return resources_; }
    // The settings dialog remakes fonts and colours in place.
    Resources& resources() { return resources_; }
    AppServices& services() { return *services_; }

private:
    void PlaceWindow(int& x, int& y, int& w, int& h, bool& useDefaultPosition);
    void RestoreToggles();
    // The study list and radical panes shown at start get their remembered heights.
    void RestoreLowerPanes();
    void RestoreSorts();
    void FirstTimeMessages();
    // Says what to install when no font can show Japanese.
    void CheckJapaneseFont();
    void LoadAllDictionaries();
    void Status(std::u16string_view text);

    Registry& registry_;
    Registry* baseline_ = nullptr;
    std::unique_ptr<LocalServices> ownServices_;
    std::unique_ptr<PaneFactory> ownFactory_;
    AppServices* services_;
    PaneFactory* factory_;
    ProgramParts parts_;
    Resources resources_;
    std::unique_ptr<MainWindow> main_;
};

// What the first-time messages name on this system.
struct FirstTimeFacts {
    std::u16string guidePath;      // the user guide (Help > User Guide)
    std::u16string workingFolder;  // where Options.mxreg is
    std::u16string japaneseFonts;  // installed families with kana and kanji, ", " between; empty: none
};
// The facts of the running program: the guide where Help > User Guide finds
// it, the current folder, and a few installed Japanese fonts.
FirstTimeFacts CurrentFirstTimeFacts();

// The texts of the five first-time message boxes (the last asks Yes or No).
std::u16string FirstTimeText(int index, const FirstTimeFacts& facts);
// What the start says when no installed font has kana and kanji.
std::u16string NoJapaneseFontText();
// What the first start in a new working folder says when no radical file could be had for it.
std::u16string RadicalFileMissingText(const std::string& folder);

}  // namespace mirudex::ui
