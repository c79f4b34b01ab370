#include "search/KanjiSource.h"

#include "search/AppState.h"

namespace mirudex::search {

KanjiSource::KanjiSource(AppState& state) : state_(state) {}

void KanjiSource::Load(dict::KanjiRecord& record, const dict::KanjiIndexEntry* entry)
{
    dict::LoadKANJIDICInfoInto(state_.store.kanji_index, state_.options, record, entry);
}

}  // namespace mirudex::search
