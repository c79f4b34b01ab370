#include "ui/kanji/KanjiWindowSearch.h"

#include <QCoreApplication>
#include <chrono>
#include <thread>

#include "core/DebugLog.h"
#include "search/AppState.h"
#include "search/StatusText.h"
#include "search/Worker.h"
#include "ui/common/ProgressWindow.h"
#include "ui/kanji/KanjiWindow.h"
#include "userdata/Copy.h"

namespace mirudex::ui {

namespace {

int PollUntilDone(search::AppState& state)
{
    while (search::WorkerRunning(state)) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return kWaitFinished;
}

}  // namespace

bool RunKanjiWindowSearch(search::AppState& state, const std::u16string& text, const KanjiSearchHooks& hooks)
{
    search::SetStatus(u"Searching...\n");
    std::u16string searched = text;
    search::SearchRequest request{&searched, search::TS_EDICT_ONLY};
    if (!search::Load_Thread_Search(state, request))
        return false;
    const int waited = hooks.wait ? hooks.wait(kWaitQuitFlag | kWaitEscFlag) : PollUntilDone(state);
    if (waited == kWaitFinished) {
        search::HandOverFinishedSearch(state, false);
        if (hooks.showResults)
            hooks.showResults();
        search::SetStatus(search::SearchCompleteText(state), search::kSearchCompleteBuffer);
    } else {
        search::HandOverStoppedSearch(state, false);
        if (hooks.showResults)
            hooks.showResults();
        search::SetStatus(search::SearchAbortedText(state));
        if (waited == kWaitQuitArrived && hooks.forwardQuit)
            hooks.forwardQuit();
    }
    return true;
}

void ConnectKanjiSearch(KanjiWindow& window, search::AppState& state, KanjiSearchHooks hooks)
{
    auto encoding = hooks.encodingPosition;
    window.searchDictionaries = [&state, hooks = std::move(hooks)](const std::u16string& text) {
        RunKanjiWindowSearch(state, text, hooks);
    };
    window.copyText = [encoding](const std::u16string& text) {
        userdata::CopyTextUsingComboboxEncoding(text, encoding ? encoding() : 1);
    };
}

}  // namespace mirudex::ui
