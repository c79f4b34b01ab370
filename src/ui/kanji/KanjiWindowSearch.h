#pragma once
// The dictionary-only searches the kanji window starts (its context menu and
// Enter): the search worker in TS_EDICT_ONLY mode, so kanji_results stays as
// it is and the entries go to list 0, waited for on the user-interface thread.
//
// Threads: user-interface thread only; blocks in the wait until the worker
// has ended or was stopped.

#include <functional>
#include <string>

namespace mirudex::search {
class AppState;
}

namespace mirudex::ui {

class KanjiWindow;

struct KanjiSearchHooks {
    // Waits for the worker with the wait flags (1 quit, 2 ESC); returns 1
    // finished, 0 ESC, 2 quit. Without it: a loop that polls every 10 ms
    // until the worker has ended.
    std::function<int(int flags)> wait;
    // Shows list 0 in the result window.
    std::function<void()> showResults;
    // Passes on a quit that arrived during the wait.
    std::function<void()> forwardQuit;
    // Puts a copied text on the clipboard; without it: the encoding list
    // position 1 (Unicode).
    std::function<int()> encodingPosition;
};

// Runs the search for text: "Searching...\n", the worker, the wait, the
// hand-over and "Search complete (%i results) %s" or "Search aborted (%i
// results)". False when the worker could not be started.
bool RunKanjiWindowSearch(search::AppState& state, const std::u16string& text, const KanjiSearchHooks& hooks);

// Makes the window's searches and copies use the shared state and the hooks.
void ConnectKanjiSearch(KanjiWindow& window, search::AppState& state, KanjiSearchHooks hooks);

}  // namespace mirudex::ui
