#pragma once
// The five panes of the main window and who makes them. Until a pane's own
// window class exists, StandInPane takes its place: an empty window with the
// pane's name that records the commands sent to it.

#include <QWidget>
#include <string>
#include <vector>

#include "ui/common/SearchPaneControl.h"
#include "ui/model/PaneNode.h"

namespace mirudex::ui {

class StandInPane : public QWidget, public SearchPaneControl {
    Q_OBJECT
public:
    // name is the pane's window class name, kept as objectName; the title is "(name)".
    StandInPane(const QString& name, QWidget* parent);

    void OnCommand(int id) override;
    bool RomajiConversion() const override { return romaji_; }
    void SetRomajiConversion(bool on) override { romaji_ = on; }
    void SelectAllText() override { ++selectAlls_; }
    void FocusSearchText() override { ++focusSearchTexts_; }
    void ReplaceText(std::u16string_view text) override { text_ = text; }
    bool ReaderShown() const override { return reader_; }
    void ShowReader(bool on) override { reader_ = on; }
    const std::u16string& text() const { return text_; }
    // How often the whole text was selected.
    int selectAlls() const { return selectAlls_; }
    // How often the focus was put in the search box by the find keys.
    int focusSearchTexts() const { return focusSearchTexts_; }

    struct Received {
        int id;
        bool romaji;          // the romaji toggle when the command arrived
        std::u16string text;  // the text when it arrived
    };
    const std::vector<Received>& received() const { return received_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<Received> received_;
    bool romaji_ = false;
    std::u16string text_;
    int selectAlls_ = 0;
    int focusSearchTexts_ = 0;
    bool reader_ = false;
};

// Makes the panes as children of the main window's client area.
class PaneFactory {
public:
    virtual ~PaneFactory() = default;
    virtual QWidget* CreateSearchWindow(QWidget* parent);
    // slot 0 is the result window, slot 1 the study list window.
    virtual QWidget* CreateResultWindow(int slot, QWidget* parent);
    virtual QWidget* CreateKanjiWindow(QWidget* parent);
    virtual QWidget* CreateRadicalLookupWindow(QWidget* parent);
    // What the main window sends the search window's commands through.
    virtual SearchPaneControl* SearchControl(QWidget* searchWindow);
    // Called once every pane exists (panes that talk to each other connect here).
    virtual void PanesCreated() {}
};

// Places a widget for the pane tree: moved and shown, sizes below zero taken as zero.
class WidgetPane : public PaneWindow {
public:
    explicit WidgetPane(QWidget* widget = nullptr) : widget_(widget) {}
    void PlacePane(const PaneRect& rect) override;
    QWidget* widget() const { return widget_; }

private:
    QWidget* widget_;
};

}  // namespace mirudex::ui
