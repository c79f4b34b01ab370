#pragma once
// The search window's text box (control id 1111): plain, multi-line text with
// the search font and colours, its own romaji input method switched by
// CAPS LOCK, and the keys and context menu of the search window.
//
// Keys the box does not keep for itself become requests to the window:
// command(id) for Enter (the search), CTRL+V (paste in the chosen encoding)
// and CTRL+C (copy in it); cutRequested() for CTRL+X and the menu's Cut;
// focusKanjiWindow() for Tab; openHistory() for CTRL+Space. A system input
// method (fcitx, ibus) commits its text into the box as usual.
//
// The box also knows what kind of edit each undo step was, for the context
// menu's "&Undo" item. User-interface thread only.

#include <QPlainTextEdit>
#include <memory>
#include <vector>

#include "platform/x11/CapsLockSync.h"
#include "ui/search/RomajiInputMethod.h"

class QMenu;

namespace mirudex::ui {

enum class UndoKind { Unknown, Typing, Delete, DragDrop, Cut, Paste };

// " typing", " delete", " drag and drop", " cut", " paste", or nothing.
const char16_t* UndoKindName(UndoKind kind);

class SearchEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    SearchEdit(RomajiInputMethod::Converter convert, QWidget* parent = nullptr);

    RomajiInputMethod& inputMethod() { return ime_; }
    bool ImeOn() const { return ime_.IsOn(); }
    // Switches the input method and shows its state in part 1 of the status bar.
    void SetImeOn(bool on);

    // Completes the input method's pending romaji before a search (ほn: ほん), as typing.
    void FinishComposition();
    // Replaces the selection (or inserts at the caret) as one undo step of the given kind.
    void ReplaceSelection(const QString& text, UndoKind kind = UndoKind::Unknown);
    std::u16string SelectedText() const;
    // The kind of the edit that Undo would take back (Unknown when none).
    UndoKind LastUndoKind() const;

    // The context menu as it would open now (the caller owns it).
    QMenu* MakeContextMenu();
    // Whether the clipboard holds text the box could take.
    static bool CanPaste();

signals:
    void command(int id);
    void cutRequested();
    void focusKanjiWindow();
    void openHistory();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    void OnCapsLock(QKeyEvent* event);
    void RecordUndoStep();
    // Runs the base key handling with the kind of edit it makes.
    void PassOn(QKeyEvent* event, UndoKind kind);

    RomajiInputMethod ime_;
    platform::CapsLockSync caps_;
    // The synthetic stroke that restores the lock state comes back as a press and a release.
    bool ignoreNextCapsLock_ = false;
    bool ignoreNextCapsRelease_ = false;
    UndoKind currentKind_ = UndoKind::Unknown;
    std::vector<UndoKind> undoKinds_;  // one per undo step of the document
};

}  // namespace mirudex::ui
