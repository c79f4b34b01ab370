#pragma once
// The process-wide dictionary data: the loaded word dictionaries, the kanji
// index, the radical table and the marker table. One instance lives in the
// search area's state object from start-up to shutdown; tests make their own.
//
// Threads: filled by the load worker (dictionaries, kanji index) or at
// start-up (radicals, markers) while no other thread uses them. The dictionary
// list changes only on the user-interface thread while no worker runs.

#include <memory>
#include <vector>

#include "dict/Dictionary.h"
#include "dict/Entry.h"
#include "dict/Kanjidic.h"
#include "dict/Radicals.h"
#include "dict/StopToken.h"

namespace mirudex {
class Registry;
}

namespace mirudex::dict {

struct DictionaryStore {
    // Loaded dictionaries in options order; the position is the dictionary's
    // number. Held by pointer so a record keeps its address while the list changes.
    std::vector<std::unique_ptr<Dictionary>> edict_dictionaries;
    KanjiIndex kanji_index;
    RadicalTable radical_table;
    MarkerTable marker_table;

    // Frees every dictionary (shutdown).
    void FreeDictionaries() { edict_dictionaries.clear(); }
};

// The dictionary records configured under .\Dictionaries\EDICT (N\Path, Name,
// Encoding, On for N below Number), in options order, not loaded yet.
std::vector<std::unique_ptr<Dictionary>> ConfiguredDictionaries(Registry& registry);

// The all-dictionaries load: loads the kanji index, appends every configured
// dictionary to edict_dictionaries and loads each one (those switched off
// too), showing progress in part 0 of the status bar. Runs on the load
// worker. On a stop request the routine returns at once: the kanji index and
// every dictionary are either fully loaded or empty.
LoadOutcome LoadAllEDICTS(DictionaryStore& store, Registry& registry, StopToken stop = {});

}  // namespace mirudex::dict
