#pragma once
// The Japanese search: entries whose reading (for a text of kana and
// wildcards) or headword (any other text, or always with words only on)
// matches the pattern as a whole, appended to edict_results[0] in dictionary
// and index order; and the collection of the kanji of a found word.
//
// Only the records the index's search structures name as candidates are
// compared (Candidates.h); the result is that of comparing every record. A
// line with several records (one per headword form) is found at most once
// per call and dictionary.
//
// Threads: runs on the search worker (Worker.h), which owns list 0 and
// kanji_results meanwhile. The loop tests the worker's stop request between
// index entries; a stopped search keeps what it added and closes its file.

#include <string>
#include <vector>

#include "dict/Entry.h"

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
// CollectWordKanji for the word of every entry in turn, looking at the list
// once (a bitmap of the codes in it). When stoppable, a stop request ends it
// between entries.
void CollectEntriesKanji(AppState& state, const std::vector<dict::Entry>& entries, bool stoppable = true);

}  // namespace mirudex::search
