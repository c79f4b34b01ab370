#pragma once
// The radical lookup window: every radical of the radical table as a grid of
// square cells in file order. Clicking picks radicals (their selected flags);
// after every change the radical search refills the kanji window with the
// kanji that contain all picked radicals. "+" / "-" and Ctrl+wheel change the
// radical font's pixel height (never below 6; not kept in the options).
//
// Threads: user-interface thread only. The radical search rewrites
// kanji_results, so clicks and the menu are ignored while a worker runs or the
// search command holds its lock.

#include <QFont>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "dict/Radicals.h"
#include "ui/common/AccessiblePanes.h"
#include "ui/common/Resources.h"
#include "ui/model/RadicalGrid.h"

class QAction;
class QMenu;
class QScrollBar;

namespace mirudex {
class Registry;
}

namespace mirudex::search {
class AppState;
}

namespace mirudex::ui {

class KanjiWindow;

struct RadicalWindowContext {
    Registry& options;
    const Resources& resources;
    dict::RadicalTable& radicals;
    std::function<bool()> thread_searching;
    std::function<bool()> search_lock;
};

// The program's context: the shared state's radical table and worker flags.
RadicalWindowContext RadicalContextFromState(search::AppState& state, const Resources& resources);

class RadicalWindow : public QWidget, public AccessibleButtonSource {
    Q_OBJECT
public:
    static constexpr int kInitialFontSize = 16;
    static constexpr int kMinFontSize = 6;
    enum MenuId { kMenuSearch = 1, kMenuToggle = 2, kMenuClear = 3 };

    RadicalWindow(RadicalWindowContext context, QWidget* parent);

    // Runs the radical search over the selected flags and refreshes the kanji
    // window; set by the owner of the search state.
    std::function<void()> radicalSearch;
    // Shows a context menu at a global position and returns the chosen action.
    std::function<QAction*(QMenu& menu, const QPoint& globalPos)> runMenu;

    const RadicalGrid& grid() const { return grid_; }
    int fontSize() const { return fontSize_; }
    const QFont& radicalFont() const { return font_; }
    int hovered() const { return hovered_; }
    int ClientWidth() const;
    // The settings dialog changed the kanji face: new font of the same size, laid out again.
    void ReloadFont();
    // Acts on a context-menu id chosen at a client point.
    void OnMenuCommand(int id, const QPoint& pos, bool ctrl);
    void ChangeFontSize(int delta);

    // What a screen reader reads: every radical as a check box, picked or
    // not, unavailable while a worker runs; toggling it is a click on it.
    int AccessibleButtonCount() const override { return ctx_.radicals.count(); }
    QString AccessibleButtonName(int button) const override;
    QString AccessibleButtonDescription(int button) const override;
    bool AccessibleButtonChecked(int button) const override;
    bool AccessibleButtonEnabled(int) const override { return !Busy(); }
    void AccessibleToggleButton(int button) override;
    QRect AccessibleButtonRect(int button) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    bool Busy() const;
    void MakeFont();
    void Relayout();
    void UpdateCell(int j);
    void Click(const QPoint& pos, bool ctrl);
    void Toggle(int index, bool ctrl);
    void RunSearch();
    void ScrollTo(int row);

    RadicalWindowContext ctx_;
    RadicalGrid grid_;
    QScrollBar* scrollBar_ = nullptr;
    QFont font_;
    int fontSize_ = kInitialFontSize;
    int hovered_ = -1;
};

// Makes the window's radical search the search of the shared state, after
// which the kanji window takes up the new list.
void ConnectRadicalSearch(RadicalWindow& radicals, search::AppState& state, KanjiWindow& kanji);

}  // namespace mirudex::ui
