#pragma once
// Which records of a dictionary can match a search, found in the index's
// search structures (dict/IndexTable.h) instead of by looking at every
// record. A candidate list is a superset of the matches: the searches test
// every candidate as they would test any record, so the results are exactly
// those of a walk over all records. nullopt means "every record" (a pattern
// with nothing to look up, such as ＿ alone).
//
// Pure functions; any thread.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dict/IndexTable.h"
#include "search/EnglishMatch.h"
#include "search/SearchOptions.h"

namespace mirudex::search {

// The groups of search structures (dict::Structure bits) PatternCandidates
// uses for a pattern.
unsigned StructuresFor(std::u16string_view pattern);

// Records whose headword (field Word) or reading (Kana) can match the
// whole-string pattern (fullwidth ＿ and ？), compared folded to katakana or
// not: ascending record numbers.
std::optional<std::vector<uint32_t>> PatternCandidates(const dict::IndexTable& index, dict::IndexTable::Field field,
                                                       std::u16string_view pattern);

// Records (the first of each line) whose meanings can match the English query
// under the search type: ascending record numbers.
std::optional<std::vector<uint32_t>> EnglishCandidates(const dict::IndexTable& index, const EnglishQuery& query,
                                                       SearchType type);

// How relevant a found line is, for keeping the best ones when there are more
// than the maximum: smaller is more relevant. First lines where the search
// text is a whole meaning (`exactForm`), then common words (a meaning "(P)"),
// then shorter ones. meanings: the line from its first '/' to its last.
uint64_t Relevance(bool exactForm, std::string_view meanings);

// The part of a raw line from its first '/' to its last one (empty without '/').
std::string_view MeaningsOf(std::string_view line);

// Whether one of the meanings of a lower-cased meanings text ("/a/b/") is the
// search text, ignoring a leading "to " on either side and the parenthesised
// markers at either end of the meaning.
bool MeaningIsSearchText(std::string_view loweredMeanings, const EnglishQuery& query);

}  // namespace mirudex::search
