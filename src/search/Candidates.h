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

// How relevant a found record is (dict/Relevance.h): smaller is more
// relevant. Japanese: the found form equal to the typed text first, then the
// entry's own rank, then the shorter headword and line. English: the rank of
// the searched text in the line plus the entry's own rank (a katakana
// loanword counted), then the shorter line. Both read the index only.
uint64_t JapaneseRelevance(bool sameForm, const dict::IndexTable& index, size_t record);
uint64_t EnglishRelevance(uint32_t matchRank, const dict::IndexTable& index, size_t record);
// The same from a posting's stored rank of a word searched alone, which holds
// the entry's own rank already (IndexTable::WordPostingsRanked).
uint64_t EnglishRelevanceOfPosting(uint8_t stored, const dict::IndexTable& index, size_t record);
// The least EnglishRelevance a record can have, whatever its line holds.
uint64_t EnglishRelevanceAtLeast(const dict::IndexTable& index, size_t record);

// The part of a raw line from its first '/' to its last one (empty without '/').
std::string_view MeaningsOf(std::string_view line);

}  // namespace mirudex::search
