#pragma once
// The kanji search and the radical search, both filling kanji_results.
//
// SearchFor_Kanji runs on the search worker (stop request tested between
// kanji); the radical search runs on the user-interface thread while no
// worker runs.

#include <string>

namespace mirudex::search {

class AppState;
struct SearchOptions;

// Adds every kanji one of whose meanings (for a text that is not all kana and
// wildcards) or readings matches the text as a whole-string pattern, in
// kanji-dictionary order, each once. Always returns 0: the maximum number of
// results does not apply to kanji. options: the search's own (kana-insensitive).
int SearchFor_Kanji(AppState& state, const SearchOptions& options, std::u16string text);
// The same with state.search_options (a program without a worker, tests).
int SearchFor_Kanji(AppState& state, std::u16string text);

// The kanji common to every selected radical of the radical table, in the
// order of the first selected radical's list, replace kanji_results, sorted by
// the kanji sort state. Shows "Searching...\n" and then
// "Radical Search complete (%i results)" in the status bar. Returns the count.
int RadicalSearch(AppState& state);

}  // namespace mirudex::search
