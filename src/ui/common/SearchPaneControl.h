#pragma once
// What the main window asks of the search window beyond placing it: commands
// (paste in the chosen encoding, search), the romaji-conversion toggle that
// the clipboard grab switches off around its search, and selecting the whole
// text (a grabbed clipboard text replaces it).

namespace mirudex::ui {

class SearchPaneControl {
public:
    virtual ~SearchPaneControl() = default;
    virtual void OnCommand(int id) = 0;
    virtual bool RomajiConversion() const = 0;
    virtual void SetRomajiConversion(bool on) = 0;
    // Selects the whole search text, so that a paste replaces it as a new search text.
    virtual void SelectAllText() {}
};

}  // namespace mirudex::ui
