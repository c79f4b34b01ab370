#pragma once
// The process-wide state of searching: what the program has loaded, the result
// lists the windows show, the sort states, the search options of the tool bar
// and the one worker thread. The program owns one AppState from start-up to
// shutdown; tests make a fresh one each.
//
// Threads. There is one user-interface thread and at most one worker at a
// time (Worker.h). While thread_searching is true the worker owns
// edict_results[0], kanji_results, max_results, last_search_result and the
// dictionaries it loads: the user-interface thread must not change any of
// them and must not read them (not even a list's size) until the worker has
// ended; it polls thread_searching and then joins. A search worker reads only
// its own copy of the search settings (SearchSettings, taken when it starts),
// so the window may change search_options, the sort states and the options
// at any time. The options store has its own lock (Registry.h); the
// dictionary list has none: it is changed only while no worker runs.

#include <array>
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "dict/DictionaryStore.h"
#include "dict/Entry.h"
#include "dict/Kanjidic.h"
#include "search/SearchOptions.h"
#include "search/Sorting.h"

namespace mirudex {
class Registry;
}

namespace mirudex::text {
class FuzzyRules;
}

namespace mirudex::search {

class AppState;

// What one search runs with: the tool bar's options, the forced languages
// (.\Search\Language) and reverse conjugation (.\Search\Toolbars\Fuzzy) of
// the options store, and the sort keys of list 0. The search starter copies
// them on the user-interface thread when the search starts; the worker reads
// nothing else of the window's.
struct SearchSettings {
    SearchOptions toolbar;
    int language = 0;
    bool fuzzy = false;
    EntrySortState sort;
};

// The settings as they are now. User-interface thread (or a program with no worker).
SearchSettings CurrentSearchSettings(const AppState& state);

// Lists of edict_results.
inline constexpr int kResultList = 0;
inline constexpr int kStudyList = 1;

class AppState {
public:
    // rules may be null: every search then has the text alone as its only variant.
    AppState(Registry& options, dict::DictionaryStore& store, const text::FuzzyRules* rules = nullptr);
    // Stops and joins a worker that is still running.
    ~AppState();
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    Registry& options;
    dict::DictionaryStore& store;
    const text::FuzzyRules* fuzzy_rules;

    // 0: the result window's list; 1: the study list.
    std::array<std::vector<dict::Entry>, 2> edict_results;
    std::vector<dict::KanjiRecord> kanji_results;

    EntrySortState edict_sort;
    KanjiSortState kanji_sort;

    // The tool bar's options: the search window changes them whenever the
    // user clicks, also during a search (which runs on its own copy).
    SearchOptions search_options;
    // Maximum number of entries in list 0; set by every dispatcher call. A
    // negative value never equals a list size and so sets no limit.
    int max_results = 200;
    // What the last dispatcher call of the search worker returned (bit 0: truncated).
    int last_search_result = 0;

    // True from a worker's start until its last step (or until it was stopped).
    std::atomic<bool> thread_searching{false};
    // True while the search window's search command runs, its wait included.
    bool SEARCH_LOCK = false;

    // Set by RequestStop; the search and load loops test it between entries.
    bool StopRequested() const { return stop_requested_.load(std::memory_order_relaxed); }
    const std::atomic<bool>& stop_flag() const { return stop_requested_; }

    // The first kanji index entry with this code, or nullptr: what
    // dict::FindKanji gives, through a table built once per kanji index.
    const dict::KanjiIndexEntry* FindKanji(uint16_t code);

private:
    friend class WorkerAccess;  // Worker.cpp: the thread and the stop request
    std::thread worker_;
    std::atomic<bool> stop_requested_{false};
    // True from a worker thread's start until its very last step (after
    // thread_searching, which a stop clears on this side).
    std::atomic<bool> worker_alive_{false};

    // Code -> position + 1 in the kanji index (0: none); rebuilt when the index changes.
    std::vector<int32_t> kanji_by_code_;
    const dict::KanjiIndexEntry* kanji_table_data_ = nullptr;
    size_t kanji_table_size_ = 0;
};

}  // namespace mirudex::search
