#pragma once
// What the main window asks of the search window beyond placing it: commands
// (paste in the chosen encoding, search) and the romaji-conversion toggle that
// the clipboard grab switches off around its search.

namespace mirudex::ui {

class SearchPaneControl {
public:
    virtual ~SearchPaneControl() = default;
    virtual void OnCommand(int id) = 0;
    virtual bool RomajiConversion() const = 0;
    virtual void SetRomajiConversion(bool on) = 0;
};

}  // namespace mirudex::ui
