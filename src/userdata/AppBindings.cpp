#include "userdata/AppBindings.h"

#include "search/Worker.h"

namespace mirudex::userdata {

namespace {

constexpr int kWaitFinished = 1;
constexpr int kWaitEscPressed = 0;

}  // namespace

DictionaryLoadRunner WorkerLoadRunner(search::AppState& state, WorkerWait wait)
{
    return [&state, wait = std::move(wait)](dict::Dictionary& record) {
        if (!search::Load_Thread_EDICT_Index_Load(state, record))
            return LoadWait::Refused;
        const int result = wait ? wait() : kWaitFinished;
        if (result == kWaitFinished) {
            search::JoinWorker(state);
            return LoadWait::Finished;
        }
        search::StopWorker(state);
        return result == kWaitEscPressed ? LoadWait::Stopped : LoadWait::Quit;
    };
}

StudyListContext StudyListContextOf(search::AppState& state, DictionaryLoadRunner runLoad, StudyListFile& file)
{
    return StudyListContext{state.options, state.store.marker_table, std::move(runLoad), file};
}

std::vector<dict::Entry>& StudyListOf(search::AppState& state) { return state.edict_results[search::kStudyList]; }

size_t AddToStudyList(search::AppState& state, int windowIndex)
{
    if (windowIndex == search::kStudyList || windowIndex < 0 ||
        windowIndex >= static_cast<int>(state.edict_results.size()))
        return 0;
    return AddToStudyList(state.edict_results[windowIndex], StudyListOf(state));
}

int CopyEntries(search::AppState& state, int windowIndex, CopyKind kind, int comboPosition)
{
    if (windowIndex < 0 || windowIndex >= static_cast<int>(state.edict_results.size()))
        return -1;
    return CopyEntries(state.edict_results[windowIndex], kind, state.options, comboPosition);
}

}  // namespace mirudex::userdata
