#pragma once
// The English search: entries whose meanings contain every word of the text
// at a place the search type accepts, or one of whose meanings is exactly a
// quoted phrase, appended to edict_results[0] in dictionary and index order.
//
// Each enabled dictionary file is open only while it is searched. Its lines
// are read in file order from a read-only mapping and only lines that
// contain the rarest term at all are tested in full; the result is the same
// as reading the line of every index entry and testing it.
//
// Threads: runs on the search worker; the stop request is tested between
// index entries.

#include <string>

namespace mirudex::search {

class AppState;
struct SearchOptions;

// text: printable ASCII (the dispatcher checks); options: the search's own
// (its search type). Returns the status word (bit 0: truncated).
int SearchFor_English(AppState& state, const SearchOptions& options, std::u16string text);
// The same with state.search_options (a program without a worker, tests).
int SearchFor_English(AppState& state, std::u16string text);

}  // namespace mirudex::search
