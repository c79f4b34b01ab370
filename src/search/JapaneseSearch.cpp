#include "search/JapaneseSearch.h"

#include "core/DebugLog.h"
#include "core/LineReader.h"
#include "platform/api/Platform.h"
#include "search/AppState.h"
#include "search/KanjiSource.h"
#include "search/PatternMatcher.h"
#include "search/StatusText.h"
#include "text/CharClass.h"

namespace mirudex::search {

int SearchFor(AppState& state, std::u16string text)
{
    dlog::WriteAt(1, u"SearchFor()\n");
    dlog::WriteAt(1, u"   text1: %s\n", text);
    int status = 0;
    const bool fold = state.search_options.kana_insensitive;
    if (fold) {
        text = text::ToKatakana(text);
        dlog::WriteAt(1, u"KANA-INSENSITIVE SEARCH\n");
    }
    auto& dictionaries = state.store.edict_dictionaries;
    dlog::WriteAt(1, u"   text2: %s\n", text);
    dlog::WriteAt(1, u"   Number of dictionaries: %i\n", static_cast<int>(dictionaries.size()));

    const bool byWord = state.search_options.words_only || !text::IsAllKanaOrWildcard(text);
    const PatternMatcher matcher(text, fold);
    auto& results = state.edict_results[kResultList];

    for (size_t i = 0; i < dictionaries.size(); ++i) {
        const dict::Dictionary& dictionary = *dictionaries[i];
        dlog::WriteAt(1, u"      Processing DICT %i / %i (%S)\n", static_cast<int>(i + 1),
                      static_cast<int>(dictionaries.size()), dictionary.name);
        if (!dictionary.on)
            continue;
        dlog::WriteAt(1, u"      The dictionary is 'on'.\n");
        SetStatus(Format(u"Searching in dictionary '%S'...", dictionary.name));
        dlog::WriteAt(1, u"      Status bar text set.\n");

        // Opened at the first match and kept for the rest of this dictionary.
        LineReader file;
        const auto& index = dictionary.index;
        const size_t count = static_cast<size_t>(dictionary.count) <= index.size() ? dictionary.count : index.size();
        for (size_t j = 0; j < count; ++j) {
            if (state.StopRequested())
                return status;
            if (static_cast<long long>(results.size()) == state.max_results) {
                status |= kStatusTruncated;
                dlog::WriteAt(1, u"MAX RESULTS REACHED\n");
                break;
            }
            const dict::IndexEntry& entry = index[j];
            if (!matcher.Matches(byWord ? entry.word : entry.kana))
                continue;
            dlog::WriteAt(1, u"   RESULT %i (entry: %i)\n", static_cast<int>(results.size() + 1),
                          static_cast<int>(j + 1));
            dict::Entry found;
            if (!file.IsOpen() && !file.Open(platform::FilePath(dictionary.path))) {
                // The one-file form logs why and leaves the entry unfilled.
                dict::LoadInfoInto(state.options, dictionary, found, entry);
            } else {
                dict::LoadInfoInto(file, state.options, dictionary, found, entry);
            }
            dict::SetInfo(found, state.store.marker_table);
            results.push_back(std::move(found));
        }
        dlog::WriteAt(1, u"      Finished searching in dictionary.\n");
    }
    dlog::WriteAt(1, u"Search done: status: %i.\n", status);
    return status;
}

void CollectWordKanji(AppState& state, std::u16string_view word)
{
    KanjiSource source(state);
    for (char16_t c : word) {
        // A surrogate is half a character no kanji index entry stands for.
        if (text::IsKana(c) || text::IsSurrogate(c))
            continue;
        const dict::KanjiIndexEntry* entry = state.FindKanji(c);
        if (!entry)
            continue;
        bool present = false;
        for (const dict::KanjiRecord& r : state.kanji_results)
            if (r.code == c) {
                present = true;
                break;
            }
        if (present)
            continue;
        dict::KanjiRecord record;
        source.Load(record, entry);
        state.kanji_results.push_back(std::move(record));
    }
}

}  // namespace mirudex::search
