#include "search/Worker.h"

#include <system_error>

#include "core/DebugLog.h"
#include "core/Registry.h"
#include "dict/Dictionary.h"
#include "dict/DictionaryStore.h"
#include "platform/api/Platform.h"
#include "search/AppState.h"
#include "search/Dispatcher.h"
#include "search/JapaneseSearch.h"
#include "search/StatusText.h"
#include "text/CharClass.h"

namespace mirudex::search {

class WorkerAccess {
public:
    static std::thread& Thread(AppState& state) { return state.worker_; }
    static std::atomic<bool>& Stop(AppState& state) { return state.stop_requested_; }
};

namespace {

// Refuses while a worker exists; otherwise sets the flag and starts body on a
// new thread. False when nothing was started (the flag is then clear).
template <typename Body>
bool StartWorker(AppState& state, std::u16string_view starter, std::u16string_view refusalLog, Body body)
{
    if (state.thread_searching.load()) {
        platform::Get().MessageBox(
            Format(u"There is still a search/dictionary-load going on.  %s() will not open a new one.", starter),
            u"Error", platform::Buttons::Ok, platform::Owner::MainWindow);
        dlog::Write(refusalLog);
        return false;
    }
    // A worker that ended by itself but whose thread was not joined yet.
    JoinWorker(state);
    WorkerAccess::Stop(state).store(false);
    state.thread_searching.store(true);
    try {
        WorkerAccess::Thread(state) = std::thread(std::move(body));
    } catch (const std::system_error& e) {
        dlog::Write(u"ERROR: %s(): could not start the worker thread (%S).\n", starter, e.what());
        state.thread_searching.store(false);
        return false;
    }
    return true;
}

// The "Match multiple substrings" searches: every substring, shortest
// first, each from left to right. Once the result list is full every
// further search could only report that again, so the searches end there,
// with the truncation reported as the next search would have reported it.
int SearchSubstrings(AppState& state, const std::u16string& text, int result)
{
    const size_t n = text.size();
    for (size_t len = 1; len < n; ++len) {
        for (size_t start = 0; start + len <= n; ++start) {
            if (state.StopRequested())
                return result;
            if (state.max_results >= 0 &&
                state.edict_results[kResultList].size() >= static_cast<size_t>(state.max_results)) {
                dlog::WriteAt(1, u"   Result list full: no more substrings searched.\n");
                return result < 0 ? kStatusTruncated : (result | kStatusTruncated);
            }
            // Parts never cut a surrogate pair in two.
            if (text::IsLowSurrogate(text[start]) || (start + len < n && text::IsLowSurrogate(text[start + len])))
                continue;
            std::u16string part = text.substr(start, len);
            result = Edict_SearchFor(state, part);
        }
    }
    return result;
}

}  // namespace

bool Load_Thread_Search(AppState& state, SearchRequest& request)
{
    if (state.thread_searching.load())
        return StartWorker(state, u"Load_Thread_Search", u"ERROR: Load_Thread_Search(): thread_searching is TRUE\n",
                           [] {});
    state.last_search_result = 0;
    SearchRequest* r = &request;
    return StartWorker(state, u"Load_Thread_Search", u"ERROR: Load_Thread_Search(): thread_searching is TRUE\n",
                       [&state, r] { Thread_Search(state, r); });
}

bool Load_Thread_EDICT_Index_Load(AppState& state, dict::Dictionary& dictionary)
{
    dict::Dictionary* d = &dictionary;
    return StartWorker(state, u"Load_Thread_EDICT_Index_Load",
                       u"ERROR: Load_Thread_Index_Load(): thread_searching is TRUE\n",
                       [&state, d] { Thread_EDICT_Index_Load(state, d); });
}

bool Load_Thread_LoadAllEDICTS(AppState& state)
{
    return StartWorker(state, u"Load_Thread_LoadAllEDICTS",
                       u"ERROR: Load_Thread_LoadAllEDICTS(): thread_searching is TRUE",
                       [&state] { Thread_LoadAllEDICTS(state); });
}

bool Load_Thread_Run(AppState& state, std::u16string_view starter, std::function<void()> body)
{
    const std::u16string refusal = Format(u"ERROR: %s(): thread_searching is TRUE\n", starter);
    return StartWorker(state, starter, refusal, std::move(body));
}

bool WorkerRunning(const AppState& state) { return state.thread_searching.load(); }

void RequestStop(AppState& state) { WorkerAccess::Stop(state).store(true); }

void JoinWorker(AppState& state)
{
    std::thread& t = WorkerAccess::Thread(state);
    if (t.joinable() && t.get_id() != std::this_thread::get_id())
        t.join();
}

void StopWorker(AppState& state)
{
    RequestStop(state);
    JoinWorker(state);
    state.thread_searching.store(false);
}

int Thread_Search(AppState& state, SearchRequest* request)
{
    if (!request || !request->text) {
        dlog::Write(u"Thread_Search(): ERROR: lpParam == NULL\n");
        state.thread_searching.store(false);
        return 0;
    }
    std::u16string text = *request->text;
    dlog::WriteAt(1, u"Thread_Search().\n");
    dlog::WriteAt(1, u"   THREAD_SEARCH\n");
    dlog::WriteAt(1, u"      SEARCH_TEXT: %s\n", text);
    dlog::WriteAt(1, u"      MODE: %i\n", request->mode);
    dlog::WriteAt(1, u"   searchtext: %s\n", text);
    int result = 0;
    if (request->mode == TS_NORMAL) {
        dlog::WriteAt(1, u"   M O D E  ::  TS_NORMAL.\n");
        state.kanji_results.clear();
        state.edict_results[kResultList].clear();
        dlog::WriteAt(1, u"   edict_results cleared.\n");
        result = Edict_SearchFor(state, text);
        dlog::WriteAt(1, u"   searchtext searched for.\n");

        const bool wildcard = text.find(text::kWildcardOne) != std::u16string::npos ||
                              text.find(text::kWildcardAny) != std::u16string::npos;
        if (state.search_options.match_substrings && !wildcard && !state.StopRequested()) {
            const bool wordsOnly = state.search_options.words_only;
            if (!text::IsAllKana(text))
                state.search_options.words_only = true;
            result = SearchSubstrings(state, text, result);
            state.search_options.words_only = wordsOnly;
        }
        if (!state.StopRequested()) {
            SetStatus(u"Searching for Kanji...");
            for (const dict::Entry& entry : state.edict_results[kResultList]) {
                if (state.StopRequested())
                    break;
                CollectWordKanji(state, entry.word);
            }
        }
    } else {
        dlog::WriteAt(1, u"   M O D E  ::  TS_EDICT_ONLY.\n");
        state.edict_results[kResultList].clear();
        result = Edict_SearchFor(state, text);
    }
    *request->text = text;
    state.last_search_result = result;
    dlog::Write(u"Thead all done.\n");
    state.thread_searching.store(false);
    return 0;
}

int Thread_EDICT_Index_Load(AppState& state, dict::Dictionary* dictionary)
{
    if (dictionary) {
        SetStatus(Format(u"Loading EDICT: %S...", dictionary->path));
        dict::EDICT_Index_Load(*dictionary, state.options, dict::StopToken(&state.stop_flag()));
        SetStatus(Format(u"EDICT: %S loaded", dictionary->path));
    }
    state.thread_searching.store(false);
    return 0;
}

int Thread_LoadAllEDICTS(AppState& state)
{
    dict::LoadAllEDICTS(state.store, state.options, dict::StopToken(&state.stop_flag()));
    state.thread_searching.store(false);
    return 0;
}

void HandOverFinishedSearch(AppState& state, bool kanjiToo)
{
    JoinWorker(state);
    dlog::Write(u"      SEARCH COMPLETE!\n");
    dlog::Write(u"      hthread :: Handle closed.\n");
    if (kanjiToo)
        SortKanji(state.kanji_results, state.kanji_sort);
    SortEntries(state.edict_results[kResultList], state.edict_sort);
}

void HandOverStoppedSearch(AppState& state, bool kanjiToo)
{
    StopWorker(state);
    dlog::Write(u"      SEARCH ABORTED!\n");
    dlog::Write(u"      hthread :: Terminated.\n");
    dlog::Write(u"      hthread :: Handle closed.\n");
    if (kanjiToo) {
        state.kanji_results.clear();
        for (const dict::Entry& entry : state.edict_results[kResultList])
            CollectWordKanji(state, entry.word);
        SortKanji(state.kanji_results, state.kanji_sort);
    }
    SortEntries(state.edict_results[kResultList], state.edict_sort);
}

std::u16string SearchCompleteText(const AppState& state)
{
    // A negative result (an empty text) is no truncation.
    const bool truncated = state.last_search_result > 0 && (state.last_search_result & kStatusTruncated);
    return CutToBuffer(
        Format(u"Search complete (%i results) %s", static_cast<int>(state.edict_results[kResultList].size()),
               truncated ? u"-Results truncated-" : u""),
        kSearchCompleteBuffer);
}

std::u16string SearchAbortedText(const AppState& state)
{
    return Format(u"Search aborted (%i results)", static_cast<int>(state.edict_results[kResultList].size()));
}

}  // namespace mirudex::search
