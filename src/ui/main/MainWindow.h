#pragma once
// The main window "Mirudex 1.0.7.502": menu bar, client area with the panes
// and the status bar, the Dictionaries pop-up, Always on Top, the pane
// toggles, the study-list file commands and clipboard watching. Closing only
// posts the quit request; the program's shutdown saves the state afterwards.
//
// Threads: user-interface thread only. Commands arrive through OnCommand(id),
// from the menu or sent by the program itself.

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "core/Registry.h"
#include "ui/main/AppServices.h"
#include "ui/main/ClientArea.h"

namespace mirudex::ui {

class AboutWindow;
class DictionariesPopup;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window with its panes for the given outer size (not shown).
    MainWindow(Registry& registry, AppServices& services, PaneFactory& factory, int width, int height);
    ~MainWindow() override;

    void OnCommand(int id);

    ClientArea* clientArea() const { return client_; }
    QAction* action(int id) const;
    DictionariesPopup* dictionariesPopup() const { return popup_; }
    AboutWindow* aboutWindow() const;
    SearchPaneControl* searchControl() const;
    void SetStatusText(int part, const QString& text);
    QString StatusText(int part) const;

    bool radicalPaneShown() const { return client_->lowerPaneShown(PaneId::Radical); }
    bool studyListPaneShown() const { return client_->lowerPaneShown(PaneId::StudyList); }

    // What other parts of the program provide (the settings, the updater).
    void SetCommandHandler(int id, std::function<void()> handler) { handlers_[id] = std::move(handler); }

    // The clipboard changed (the platform's clipboard watching calls it).
    void OnClipboardChanged();
    // Another program's highlighted text changed. It is taken once it has
    // stayed the same for kSelectionSettleMs (a selection grows while the
    // mouse drags): pasted as the search box's text and, with
    // GrabClipboard-AutoSearch, searched, when .\Misc\GrabSelection is on.
    void OnSelectionChanged();
    static constexpr int kSelectionSettleMs = 300;
    // Leaves clipboard and selection watching (closing).
    void StopWatchingClipboard();

    // Shows the window (also from the tray or minimised), raises and activates it.
    void Raise();
    // Fits the window, frame and all, into the available area of its screen
    // (the one holding its middle): a client area too large is cut, a window
    // partly off the screen is moved onto it. A maximised window is left alone.
    void FitToScreen();
    // Fits once more when the window manager has framed the shown window (the
    // frame's size is known only then); a no-op where windows get no frame.
    void FitToScreenWhenFramed();
    static constexpr int kFrameWaitMs = 3000;
    // Searches text as if typed into the search box and Enter pressed. False
    // while the program cannot search (a search or load runs, a modal window
    // is open): the caller asks again later.
    bool SearchFromOutside(std::u16string_view text);
    // While this answers true, closing the window with .\Misc\CloseToTray on
    // only hides it (the tray icon is shown). Exit still ends the program.
    void SetTrayShown(std::function<bool()> shown) { trayShown_ = std::move(shown); }

    // Program-relative form of a chosen path: the program's directory
    // (programDir) is dropped from its front when the path lies inside it.
    static std::string ProgramRelativePath(const std::string& path, const std::u16string& programDir);

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ToggleRadicalPane();
    void ToggleStudyListPane();
    void OpenStudyList(bool append);
    void SaveStudyListAs();
    void RefreshStudyList();
    void ShowAbout();
    void ApplyAlwaysOnTop();
    std::optional<std::string> ChooseFile(bool save);
    void TakeSelection();

    Registry& registry_;
    AppServices& services_;
    ClientArea* client_;
    std::map<int, QAction*> actions_;
    DictionariesPopup* popup_;
    SearchPaneControl* searchControl_ = nullptr;
    QPointer<AboutWindow> about_;
    std::map<int, std::function<void()>> handlers_;
    bool skipNextClipboardNotice_ = true;
    bool watchingClipboard_ = false;
    QTimer* selectionSettle_ = nullptr;
    std::u16string lastSelection_;
    std::function<bool()> trayShown_;
    bool exiting_ = false;
    bool fitWhenFramed_ = false;
};

}  // namespace mirudex::ui
