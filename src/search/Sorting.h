#pragma once
// Result sorting: the sort states of the dictionary-entry lists and of the
// kanji list, their comparison rules, the header-click rules that change them,
// and the sorts themselves. A list is ordered by the primary level and, among
// entries the primary level finds equal, by the secondary level (what two
// stable passes, secondary first, give), with each entry moved once; a list
// already in order is not moved at all.
//
// The merge sort used here stays memory-safe even though the "Meaning" rule
// is not a strict ordering across entries with and without meanings.
//
// Threads: whoever owns the list at the time (the search worker at the end of
// a search, the user-interface thread otherwise).

#include <cstdint>
#include <string_view>
#include <vector>

#include "dict/Entry.h"
#include "dict/Kanjidic.h"

namespace mirudex {
class Registry;
}

namespace mirudex::search {

// Keys of dictionary entries (the result window's header item ids).
enum EntrySortKey : int {
    kSortWord = 0,
    kSortKana = 1,
    kSortInfo = 2,  // not a sort key
    kSortMeaning = 3,
    kSortWordLength = 4,
    kSortKanaLength = 5,
    kSortRelevance = 6,  // the relevance the search gave the entry (Candidates.h), most relevant first
    kSortUnset = -1,
};

struct EntrySortLevel {
    int key = kSortUnset;
    bool descending = false;
};

struct EntrySortState {
    EntrySortLevel primary;
    EntrySortLevel secondary;
};

// Kanji window headers.
inline constexpr int kKanjiHeader1 = 1211;  // Kanji, On, Kun, #
inline constexpr int kKanjiHeader2 = 1221;  // (Kanji), Meaning

struct KanjiSortLevel {
    int header = 0;  // 0 = unset
    int item = 0;
    bool descending = false;
};

struct KanjiSortState {
    KanjiSortLevel primary;
    KanjiSortLevel secondary;
};

// One level: a before b (neither a > b nor a == b under the level's rules).
bool EntryBefore(const dict::Entry& a, const dict::Entry& b, const EntrySortLevel& level);
bool KanjiBefore(const dict::KanjiRecord& a, const dict::KanjiRecord& b, const KanjiSortLevel& level);

// What sorting looks at of an entry, unless a level sorts by meaning.
struct EntryKeys {
    std::u16string_view word, kana;
    uint64_t relevance = 0;
};
bool KeysBefore(const EntryKeys& a, const EntryKeys& b, const EntrySortLevel& level);
bool SortNeedsMeanings(const EntrySortState& state);
// The order SortEntries gives entries with these keys: positions into keys.
// Not for a state that sorts by meaning.
std::vector<uint32_t> SortedOrder(const std::vector<EntryKeys>& keys, const EntrySortState& state);

// Both passes always run for dictionary entries (an unset level orders by
// word length). An empty list is left alone; false then.
bool SortEntries(std::vector<dict::Entry>& list, const EntrySortState& state);
// A pass runs only for a level whose header is set.
void SortKanji(std::vector<dict::KanjiRecord>& list, const KanjiSortState& state);

// A click on result header item t: Info is ignored (false); the primary item
// flips its direction; another item becomes the primary, ascending, and the
// old primary the secondary. True when the state changed.
bool ClickEntrySortKey(EntrySortState& state, int t);
// A click on kanji header item: item 0 of header 2 is ignored; otherwise the
// same rules as for entries.
bool ClickKanjiSortKey(KanjiSortState& state, int header, int item);

// Start-up replay of the stored sort (Sort2, second click when not Asc, then
// Sort1 likewise) from .\Results\... and .\Kanji\...; and the shutdown save.
void RestoreSortStates(Registry& options, EntrySortState& entries, KanjiSortState& kanji);
void SaveSortStates(Registry& options, const EntrySortState& entries, const KanjiSortState& kanji);

}  // namespace mirudex::search
