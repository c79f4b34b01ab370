#include "search/KanjiSearch.h"

#include <bitset>

#include "core/DebugLog.h"
#include "search/AppState.h"
#include "search/KanjiSource.h"
#include "search/PatternMatcher.h"
#include "search/StatusText.h"
#include "text/CharClass.h"
#include "text/Wildcard.h"

namespace mirudex::search {

namespace {

bool HasCode(const std::vector<dict::KanjiRecord>& list, uint16_t code)
{
    for (const dict::KanjiRecord& r : list)
        if (r.code == code)
            return true;
    return false;
}

bool AnyMatches(const std::vector<std::u16string>& texts, const PatternMatcher& matcher)
{
    for (const std::u16string& t : texts)
        if (matcher.Matches(t))
            return true;
    return false;
}

}  // namespace

int SearchFor_Kanji(AppState& state, std::u16string text)
{
    return SearchFor_Kanji(state, state.search_options, std::move(text));
}

int SearchFor_Kanji(AppState& state, const SearchOptions& options, std::u16string text)
{
    dlog::WriteAt(1, u"SearchFor_Kanji()\n");
    dlog::WriteAt(1, u"   text1: %s\n", text);
    const bool fold = options.kana_insensitive;
    if (fold) {
        text = text::ToKatakana(text);
        dlog::WriteAt(1, u"   KANA-INSENSITIVE SEARCH\n");
    }
    dlog::WriteAt(1, u"   text2: %s\n", text);

    const bool meaningsToo = !text::IsAllKanaOrWildcard(text);
    const PatternMatcher meaningMatcher(text, false);
    const PatternMatcher readingMatcher(text, fold);
    KanjiSource source(state);
    for (const dict::KanjiIndexEntry& entry : state.store.kanji_index.entries) {
        if (state.StopRequested())
            break;
        dict::KanjiRecord record;
        source.Load(record, &entry);
        bool matched = meaningsToo && AnyMatches(record.meanings, meaningMatcher);
        if (!matched)
            matched = AnyMatches(record.onReadings, readingMatcher) || AnyMatches(record.kunReadings, readingMatcher) ||
                      AnyMatches(record.nanori, readingMatcher) || AnyMatches(record.radicalReadings, readingMatcher);
        if (!matched)
            continue;
        dlog::Write(u"Add it?\n");
        if (!HasCode(state.kanji_results, record.code))
            state.kanji_results.push_back(std::move(record));
    }
    dlog::WriteAt(1, u"   Finished searching in kanjidic.\n");
    dlog::WriteAt(1, u"Kanji Search done: status: %i.\n", 0);
    return 0;
}

int RadicalSearch(AppState& state)
{
    SetStatus(u"Searching...\n");
    std::u16string candidates;
    bool first = true;
    for (const dict::RadicalRecord& radical : state.store.radical_table.records) {
        if (!radical.selected)
            continue;
        if (first) {
            candidates = radical.kanji;
            first = false;
            continue;
        }
        // Membership tests through bit sets: a radical can list well over a thousand kanji.
        std::bitset<65536> inRadical;
        for (char16_t c : radical.kanji)
            inRadical.set(c);
        std::bitset<65536> taken;
        std::u16string next;
        for (char16_t c : candidates)
            if (inRadical.test(c) && !taken.test(c)) {
                taken.set(c);
                next.push_back(c);
            }
        candidates = std::move(next);
    }

    state.kanji_results.clear();
    KanjiSource source(state);
    for (char16_t c : candidates) {
        const dict::KanjiIndexEntry* entry = state.FindKanji(c);
        if (!entry || HasCode(state.kanji_results, c))
            continue;
        dict::KanjiRecord record;
        source.Load(record, entry);
        state.kanji_results.push_back(std::move(record));
    }
    if (!state.kanji_results.empty())
        SortKanji(state.kanji_results, state.kanji_sort);
    const int count = static_cast<int>(state.kanji_results.size());
    SetStatus(Format(u"Radical Search complete (%i results)", count), kRadicalStatusBuffer);
    return count;
}

}  // namespace mirudex::search
