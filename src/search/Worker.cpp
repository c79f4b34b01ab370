#include "search/Worker.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <system_error>
#include <unordered_set>
#include <vector>

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
    static std::atomic<bool>& Alive(AppState& state) { return state.worker_alive_; }
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
    WorkerAccess::Alive(state).store(true);
    try {
        WorkerAccess::Thread(state) = std::thread([&state, body = std::move(body)]() mutable {
            body();
            WorkerAccess::Alive(state).store(false);
        });
    } catch (const std::system_error& e) {
        dlog::Write(u"ERROR: %s(): could not start the worker thread (%S).\n", starter, e.what());
        WorkerAccess::Alive(state).store(false);
        state.thread_searching.store(false);
        return false;
    }
    return true;
}

// What makes an entry the same entry: its line (in its encoding) and the
// forms it was listed under.
std::string EntryIdentity(const dict::Entry& e)
{
    std::string id;
    id.reserve(e.rawLine.size() + e.encoding.size() + 2 * (e.word.size() + e.kana.size()) + 3);
    id.append(e.rawLine).append(1, '\0').append(e.encoding).append(1, '\0');
    id.append(reinterpret_cast<const char*>(e.word.data()), 2 * e.word.size()).append(1, '\0');
    id.append(reinterpret_cast<const char*>(e.kana.data()), 2 * e.kana.size());
    return id;
}

// The "Match multiple substrings" searches: every substring, shortest
// first, each from left to right. An entry that several substrings find is
// listed once (where it was found first); the list is sorted again at the
// end. A short substring that comes again is not searched again: it could
// only find the same entries (a long text repeats its characters hundreds of
// times, and a short beginning finds thousands of entries). Once the result list is full every further search could
// only report that again, so the searches end there, with the truncation reported as the next search would have
// reported it.
int SearchSubstrings(AppState& state, const SearchSettings& settings, const std::u16string& text, int result)
{
    std::vector<dict::Entry>& list = state.edict_results[kResultList];
    // Each search fills list 0 on its own; what is new of it joins the kept entries.
    std::vector<dict::Entry> kept = std::move(list);
    list.clear();
    std::unordered_set<std::string> seen;
    seen.reserve(kept.size());
    for (const dict::Entry& e : kept)
        seen.insert(EntryIdentity(e));
    // Substrings of up to this length are remembered once searched; longer
    // ones come again seldom and find little.
    constexpr size_t kRememberedLength = 16;
    std::unordered_set<std::u16string> searched;
    bool cut = false;  // a new entry found no room
    auto full = [&] { return state.max_results >= 0 && kept.size() >= static_cast<size_t>(state.max_results); };
    const size_t n = text.size();
    for (size_t len = 1; len < n && !state.StopRequested(); ++len) {
        for (size_t start = 0; start + len <= n; ++start) {
            if (state.StopRequested())
                break;
            if (full()) {
                dlog::WriteAt(1, u"   Result list full: no more substrings searched.\n");
                cut = true;
                len = n;
                break;
            }
            // Parts never cut a surrogate pair in two.
            if (text::IsLowSurrogate(text[start]) || (start + len < n && text::IsLowSurrogate(text[start + len])))
                continue;
            std::u16string part = text.substr(start, len);
            if (len <= kRememberedLength && !searched.insert(part).second)
                continue;
            result = Edict_SearchFor(state, settings, part);
            for (dict::Entry& e : list) {
                std::string id = EntryIdentity(e);
                if (seen.contains(id))
                    continue;
                if (full()) {
                    cut = true;
                    break;
                }
                seen.insert(std::move(id));
                kept.push_back(std::move(e));
            }
            list.clear();
        }
    }
    if (cut)
        result = result < 0 ? kStatusTruncated : (result | kStatusTruncated);
    list = std::move(kept);
    SortEntries(list, settings.sort);
    return result;
}

// The search worker's body: text, mode and settings are its own copies.
void RunSearch(AppState& state, std::u16string text, int mode, const SearchSettings& settings,
               std::u16string* writeBack)
{
    dlog::WriteAt(1, u"Thread_Search().\n");
    dlog::WriteAt(1, u"   THREAD_SEARCH\n");
    dlog::WriteAt(1, u"      SEARCH_TEXT: %s\n", text);
    dlog::WriteAt(1, u"      MODE: %i\n", mode);
    dlog::WriteAt(1, u"   searchtext: %s\n", text);
    int result = 0;
    if (mode == TS_NORMAL || mode == TS_NO_KANJI) {
        dlog::WriteAt(1, mode == TS_NORMAL ? u"   M O D E  ::  TS_NORMAL.\n" : u"   M O D E  ::  TS_NO_KANJI.\n");
        if (mode == TS_NORMAL)
            state.kanji_results.clear();
        state.edict_results[kResultList].clear();
        dlog::WriteAt(1, u"   edict_results cleared.\n");
        result = Edict_SearchFor(state, settings, text);
        dlog::WriteAt(1, u"   searchtext searched for.\n");

        const bool wildcard = text.find(text::kWildcardOne) != std::u16string::npos ||
                              text.find(text::kWildcardAny) != std::u16string::npos;
        if (settings.toolbar.match_substrings && !wildcard && !state.StopRequested()) {
            // The substrings of a text with kanji are looked for in the
            // headwords only; that is this search's setting, not the window's.
            SearchSettings parts = settings;
            if (!text::IsAllKana(text))
                parts.toolbar.words_only = true;
            result = SearchSubstrings(state, parts, text, result);
        }
        if (mode == TS_NORMAL && !state.StopRequested()) {
            SetStatus(u"Searching for Kanji...");
            CollectEntriesKanji(state, state.edict_results[kResultList]);
        }
    } else {
        dlog::WriteAt(1, u"   M O D E  ::  TS_EDICT_ONLY.\n");
        state.edict_results[kResultList].clear();
        result = Edict_SearchFor(state, settings, text);
    }
    if (writeBack)
        *writeBack = text;
    state.last_search_result = result;
    dlog::Write(u"Thead all done.\n");
    state.thread_searching.store(false);
}

}  // namespace

bool Load_Thread_Search(AppState& state, SearchRequest& request)
{
    if (state.thread_searching.load())
        return StartWorker(state, u"Load_Thread_Search", u"ERROR: Load_Thread_Search(): thread_searching is TRUE\n",
                           [] {});
    state.last_search_result = 0;
    if (!request.text) {
        dlog::Write(u"Thread_Search(): ERROR: lpParam == NULL\n");
        return false;
    }
    // Everything the worker reads of the window's is copied here, on this thread.
    std::u16string* writeBack = request.text;
    return StartWorker(state, u"Load_Thread_Search", u"ERROR: Load_Thread_Search(): thread_searching is TRUE\n",
                       [&state, text = *request.text, mode = request.mode, settings = CurrentSearchSettings(state),
                        writeBack] { RunSearch(state, text, mode, settings, writeBack); });
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

// A state that ends while its worker runs stops the worker first.
AppState::~AppState()
{
    if (worker_.joinable())
        StopWorker(*this);
}

bool WorkerRunning(const AppState& state) { return state.thread_searching.load(); }

void RequestStop(AppState& state) { WorkerAccess::Stop(state).store(true); }

void JoinWorker(AppState& state)
{
    std::thread& t = WorkerAccess::Thread(state);
    if (!t.joinable() || t.get_id() == std::this_thread::get_id())
        return;
    // The worker may be waiting for this thread (a message box): answer it
    // until the worker has left; the join then returns at once.
    while (WorkerAccess::Alive(state).load()) {
        platform::Get().ServeWaitingCalls();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    t.join();
}

void StopWorker(AppState& state)
{
    RequestStop(state);
    JoinWorker(state);
    state.thread_searching.store(false);
}

int Thread_Search(AppState& state, SearchRequest* request, const SearchSettings& settings)
{
    if (!request || !request->text) {
        dlog::Write(u"Thread_Search(): ERROR: lpParam == NULL\n");
        state.thread_searching.store(false);
        return 0;
    }
    RunSearch(state, *request->text, request->mode, settings, request->text);
    return 0;
}

int Thread_Search(AppState& state, SearchRequest* request)
{
    return Thread_Search(state, request, CurrentSearchSettings(state));
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
        CollectEntriesKanji(state, state.edict_results[kResultList], false);
        SortKanji(state.kanji_results, state.kanji_sort);
    }
    SortEntries(state.edict_results[kResultList], state.edict_sort);
}

std::u16string SearchCompleteText(const AppState& state)
{
    // A negative result (an empty text) is no truncation.
    const int status = std::max(state.last_search_result, 0);
    // The kanji a kanji-information search found are its results (KN:fish).
    size_t count = state.edict_results[kResultList].size();
    if (status & kStatusKanjiInformation)
        count += state.kanji_results.size();
    std::u16string notes = status & kStatusTruncated ? u"-Results truncated-" : u"";
    if (status & kStatusSearchedAsJapanese)
        notes += std::u16string(notes.empty() ? u"" : u" ") + u"-Nothing in English: searched as Japanese-";
    if (status & kStatusSearchedConjugations)
        notes += std::u16string(notes.empty() ? u"" : u" ") + u"-Nothing as typed: searched its dictionary form-";
    return CutToBuffer(Format(u"Search complete (%i results) %s", static_cast<int>(count), notes),
                       kSearchCompleteBuffer);
}

std::u16string SearchAbortedText(const AppState& state)
{
    return Format(u"Search aborted (%i results)", static_cast<int>(state.edict_results[kResultList].size()));
}

}  // namespace mirudex::search
