#pragma once
// The search and load worker: at most one worker thread at a time, flagged by
// AppState::thread_searching from its start until its last step.
//
// A starter (Load_Thread_*) refuses with a message box while a worker runs,
// sets the flag and starts the thread; it returns false when it started
// nothing, and the flag is then clear again (also when the thread could not
// be created). The user-interface side then shows its progress window and
// waits on its own loop, polling WorkerRunning() (every 10 ms), and calls
// one of the hand-overs below when the flag is clear or the user stopped it.
//
// Stopping: RequestStop() sets a request that the search and load loops test
// between entries; the worker then ends promptly by itself. StopWorker()
// requests, joins and clears the flag. A stopped search keeps every entry
// already in edict_results[0]; a stopped load leaves its dictionaries whole
// or empty; no file stays open. The worker is never killed.
//
// A worker may wait for the user-interface thread (a message box of a load,
// the fatal box of a broken options file: the platform hands those over).
// So the user-interface thread never simply blocks on the worker: JoinWorker
// keeps answering what the worker waits for (Platform::ServeWaitingCalls)
// until the worker has left, and only then joins.
//
// What a search worker reads is fixed when it starts: the starter copies the
// search text and the search settings (AppState.h) on the user-interface
// thread, so typing or clicking during the search changes nothing it uses.
//
// Threads: every function here is for the user-interface thread, except the
// workers themselves (Thread_Search, ...), which the starters run on the new
// thread and which tests may also call directly.

#include <functional>
#include <string>
#include <string_view>

namespace mirudex::dict {
struct Dictionary;
}

namespace mirudex::search {

class AppState;
struct SearchSettings;

inline constexpr int TS_NORMAL = 0;
inline constexpr int TS_EDICT_ONLY = 1;
// As TS_NORMAL (the substrings too), but the kanji of the words found are not
// collected (kanji_results stays as it was): the terminal tool's look-up when
// it prints no kanji.
inline constexpr int TS_NO_KANJI = 2;

// Lives in the starter until the wait is over. The starter copies the text
// when it starts the worker; the worker writes it back as the dispatcher left
// it (romaji converted to kana, for example) as its last step before it
// clears thread_searching, so the starter reads it only after the wait.
struct SearchRequest {
    std::u16string* text = nullptr;
    int mode = TS_NORMAL;
};

// The three starters. False: refused (message box "There is still a
// search/dictionary-load going on. ...") or the thread could not be started.
bool Load_Thread_Search(AppState& state, SearchRequest& request);
// The dictionary-load worker: loads one dictionary record (EDICT_Index_Load
// with the current options). This is what LoadStudyList runs on its
// temporary record; the record must live until the worker has ended.
bool Load_Thread_EDICT_Index_Load(AppState& state, dict::Dictionary& dictionary);
// The all-dictionaries worker of start-up: the kanji index and every configured dictionary.
bool Load_Thread_LoadAllEDICTS(AppState& state);

// Any other worker (imports, downloads): body runs on the new thread and
// must clear thread_searching as its last step. Refused like the others.
bool Load_Thread_Run(AppState& state, std::u16string_view starter, std::function<void()> body);

// True while a worker exists (thread_searching).
bool WorkerRunning(const AppState& state);
// Asks the worker to stop between entries; does not wait.
void RequestStop(AppState& state);
// Waits for the worker thread to end (nothing when there is none), answering
// meanwhile whatever the worker waits for on the user-interface thread.
void JoinWorker(AppState& state);
// RequestStop, JoinWorker and thread_searching cleared: the stop of ESC or a quit.
void StopWorker(AppState& state);

// The workers (each returns 0). Thread_Search runs with the settings given,
// or, without them, with CurrentSearchSettings(state) (a direct call).
int Thread_Search(AppState& state, SearchRequest* request, const SearchSettings& settings);
int Thread_Search(AppState& state, SearchRequest* request);
int Thread_EDICT_Index_Load(AppState& state, dict::Dictionary* dictionary);
int Thread_LoadAllEDICTS(AppState& state);

// Hand-over after a search worker: finished (joins, logs, sorts kanji_results
// when kanjiToo and list 0) or stopped (stops and joins the worker, clears the
// flag, logs, collects the kanji of list 0 again when kanjiToo, sorts). The
// kanji window's own searches pass kanjiToo = false.
void HandOverFinishedSearch(AppState& state, bool kanjiToo = true);
void HandOverStoppedSearch(AppState& state, bool kanjiToo = true);
// "Search complete (%i results) %s" and "Search aborted (%i results)" for list 0.
std::u16string SearchCompleteText(const AppState& state);
std::u16string SearchAbortedText(const AppState& state);

}  // namespace mirudex::search
