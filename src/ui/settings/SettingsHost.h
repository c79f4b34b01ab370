#pragma once
// What the settings dialog changes in the running program besides the
// options and the shared fonts and colours (Resources): the main window's
// place, and the panes that must lay themselves out again or repaint after
// a font or colour changed. The dialog remakes the fonts and colours in
// Resources itself and then tells the host; the host only asks the windows.
//
// PaneSettingsHost is the program's host over the real windows; a pane that
// is missing (or is not of its real class yet) is passed over.
//
// Threads: user-interface thread only.

#include <QPointer>
#include <QRect>
#include <QWidget>
#include <array>

namespace mirudex {
class Registry;
}
namespace mirudex::search {
class AppState;
}
namespace mirudex::userdata {
class HistoryList;
}

namespace mirudex::ui {

struct Resources;
class KanjiWindow;
class MainWindow;
class RadicalWindow;
class ResultWindow;
class SearchWindow;

class SettingsHost {
public:
    virtual ~SettingsHost() = default;

    // The main window's frame on the screen: left, top, width, height.
    virtual QRect MainWindowFrame() const = 0;
    // Moves the frame's top-left corner there (size unchanged).
    virtual void MoveMainWindow(int x, int y) = 0;
    // Gives the frame this outer size (position unchanged).
    virtual void ResizeMainWindow(int width, int height) = 0;

    // The search box takes its font, text colour and background from the
    // options (.\Search\Font\..., .\Search\WindowBG); the search window repaints.
    virtual void SearchLookChanged() = 0;
    // Resources' interface font was remade: the header bars of the result,
    // study list and kanji windows and the search window's bar controls take it.
    virtual void MiscFontChanged() = 0;
    // Resources' kanji fonts were remade: the kanji window lays itself out
    // again; kanjiFace: the kanji font changed, so the radical lookup window
    // remakes its font with the new face and lays out too.
    virtual void KanjiFontsChanged(bool kanjiFace) = 0;
    // Resources' kanji colours changed: the kanji and radical windows repaint.
    virtual void KanjiColorsChanged() = 0;
    // Resources' result fonts were remade: both result windows lay out again and repaint.
    virtual void ResultFontsChanged() = 0;
    // Something both result windows draw changed (colours, ROMAji mode, copy format): repaint.
    virtual void RepaintResultWindows() = 0;

    // The search window's history list, or nullptr when there is none.
    virtual userdata::HistoryList* History() = 0;
};

class PaneSettingsHost : public SettingsHost {
public:
    struct Panes {
        QWidget* mainWindow = nullptr;
        QWidget* search = nullptr;
        std::array<QWidget*, 2> results{};  // result window, study list window
        QWidget* kanji = nullptr;
        QWidget* radical = nullptr;
    };

    PaneSettingsHost(Registry& options, const Resources& resources, const Panes& panes);

    QRect MainWindowFrame() const override;
    void MoveMainWindow(int x, int y) override;
    void ResizeMainWindow(int width, int height) override;
    void SearchLookChanged() override;
    void MiscFontChanged() override;
    void KanjiFontsChanged(bool kanjiFace) override;
    void KanjiColorsChanged() override;
    void ResultFontsChanged() override;
    void RepaintResultWindows() override;
    userdata::HistoryList* History() override;

private:
    SearchWindow* Search() const;
    ResultWindow* Result(int index) const;
    KanjiWindow* Kanji() const;
    RadicalWindow* Radical() const;

    Registry& options_;
    const Resources& resources_;
    QPointer<QWidget> main_, search_, kanji_, radical_;
    std::array<QPointer<QWidget>, 2> results_;
};

}  // namespace mirudex::ui
