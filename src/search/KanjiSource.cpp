#include "search/KanjiSource.h"

#include "platform/api/Platform.h"
#include "search/AppState.h"

namespace mirudex::search {

KanjiSource::KanjiSource(AppState& state) : state_(state) {}

void KanjiSource::Load(dict::KanjiRecord& record, const dict::KanjiIndexEntry* entry)
{
    if (!tried_) {
        tried_ = true;
        file_.Open(platform::FilePath(state_.store.kanji_index.path));
    }
    if (!file_.IsOpen()) {
        // Reports the failure as the single-record form does.
        dict::LoadKANJIDICInfoInto(state_.store.kanji_index, state_.options, record, entry);
        return;
    }
    dict::LoadKANJIDICInfoInto(file_, state_.options, record, entry);
}

}  // namespace mirudex::search
