#pragma once
// The Japanese search: entries whose reading (for a text of kana and
// wildcards) or headword (any other text, or always with words only on)
// matches the pattern as a whole, appended to edict_results[0] in dictionary
// and index order; and the collection of the kanji of a found word.
//
// Threads: runs on the search worker (Worker.h), which owns list 0 and
// kanji_results meanwhile. The loop tests the worker's stop request between
// index entries; a stopped search keeps what it added and closes its file.

#include <string>

namespace mirudex::search {

class AppState;
struct SearchOptions;

// Status bit 0: list 0 reached state.max_results during this call.
inline constexpr int kStatusTruncated = 1;

// text is the pattern as the dispatcher made it (fullwidth, search type
// applied); options: the search's own (kana-insensitive, words only).
int SearchFor(AppState& state, const SearchOptions& options, std::u16string text);
// The same with state.search_options (a program without a worker, tests).
int SearchFor(AppState& state, std::u16string text);

// Adds to kanji_results, in the word's order, the record of every character of
// the word that the kanji index holds and the list lacks (kana are skipped).
void CollectWordKanji(AppState& state, std::u16string_view word);

}  // namespace mirudex::search
