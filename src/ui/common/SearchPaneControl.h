#pragma once
// What the main window asks of the search window beyond placing it: commands
// (paste in the chosen encoding, search), the romaji-conversion toggle that
// the clipboard grab switches off around its search, the whole text selected
// (a grabbed clipboard text replaces it), and text put into the search box
// from outside (highlighted text, a search asked for from outside).

#include <string_view>

namespace mirudex::ui {

class SearchPaneControl {
public:
    virtual ~SearchPaneControl() = default;
    virtual void OnCommand(int id) = 0;
    virtual bool RomajiConversion() const = 0;
    virtual void SetRomajiConversion(bool on) = 0;
    // Selects the whole search text, so that a paste replaces it as a new search text.
    virtual void SelectAllText() = 0;
    // Replaces the search box's whole text, as one undoable paste, and selects it.
    virtual void ReplaceText(std::u16string_view text) = 0;
    // Puts the keyboard focus in the search box with its whole text selected
    // (the find keys: typing replaces the text).
    virtual void FocusSearchText() {}
    // The reading view under the search box (Window > Reading View).
    virtual bool ReaderShown() const { return false; }
    virtual void ShowReader(bool) {}
};

}  // namespace mirudex::ui
