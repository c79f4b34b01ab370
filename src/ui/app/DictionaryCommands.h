#pragma once
// The Dictionaries pop-up's commands that make a dictionary: Import JMdict...
// (a JMdict file the user picks, in the language of glosses they pick) and
// Download Current Dictionary... (from .\Dictionaries\Download\URL). Both
// run on the load worker behind the progress window, which tells how far
// they have come; ESC stops them (a dictionary already in place is indexed
// to the end first), a quit stops them and is passed on. The user is told
// the outcome in a message box.
//
// Threads: user-interface thread only.

#include <functional>
#include <optional>
#include <string>

namespace mirudex::search {
class AppState;
struct FetchResult;
}  // namespace mirudex::search

namespace mirudex::ui {

class MainWindow;

struct DictionaryCommandHooks {
    // The language of the glosses to keep, starting at the option's value;
    // nothing when the user cancels. By default a small list to pick from.
    std::function<std::optional<std::string>(const std::string& current)> chooseLanguage;
    // Runs after a dictionary was installed (the result window may show it).
    std::function<void()> installed;
};

void ConnectDictionaryCommands(MainWindow& main, search::AppState& state, DictionaryCommandHooks hooks = {});

}  // namespace mirudex::ui
