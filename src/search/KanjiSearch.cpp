#include "search/KanjiSearch.h"

#include <algorithm>
#include <bitset>

#include "core/DebugLog.h"
#include "dict/KanjiTerms.h"
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

// Appends the entry numbers of every term of the table that the pattern
// matches. A plain text, or one followed by ＿, is looked up in the sorted
// terms; any other pattern is tried on each distinct term.
void MatchTerms(const dict::KanjiTerms& terms, dict::KanjiTerms::Table table, const PatternMatcher& matcher,
                std::vector<uint32_t>& found)
{
    const size_t count = terms.TermCount(table);
    if (matcher.IsExact() || matcher.IsPrefix()) {
        const std::u16string_view literal = matcher.literal();
        for (size_t i = terms.LowerBound(table, literal); i < count; ++i) {
            const std::u16string_view term = terms.Term(table, i);
            if (matcher.IsExact() ? term != literal : !term.starts_with(literal))
                break;
            terms.AppendPostings(table, i, found);
        }
        return;
    }
    for (size_t i = 0; i < count; ++i)
        if (matcher.Matches(terms.Term(table, i)))
            terms.AppendPostings(table, i, found);
}

// The kanji search over the index of the kanji dictionary: only the lines of
// the kanji found are read. The same kanji in the same order as reading every line.
void SearchIndexedKanji(AppState& state, const dict::KanjiTerms& terms, const std::u16string& text, bool fold,
                        bool meaningsToo)
{
    // The folded readings are stored folded: the pattern (folded already) is compared as it is.
    const PatternMatcher matcher(text, false);
    std::vector<uint32_t> found;
    if (meaningsToo)
        MatchTerms(terms, dict::KanjiTerms::kMeanings, matcher, found);
    MatchTerms(terms, fold ? dict::KanjiTerms::kFoldedReadings : dict::KanjiTerms::kReadings, matcher, found);
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());

    const auto& entries = state.store.kanji_index.entries;
    KanjiSource source(state);
    for (uint32_t i : found) {
        if (state.StopRequested())
            break;
        if (i >= entries.size())
            continue;
        dlog::Write(u"Add it?\n");
        if (HasCode(state.kanji_results, entries[i].code))
            continue;
        dict::KanjiRecord record;
        source.Load(record, &entries[i]);
        if (record.code != entries[i].code)
            continue;  // the line could not be read back
        state.kanji_results.push_back(std::move(record));
    }
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
    if (const auto terms = state.store.kanji_index.terms;
        terms && terms->EntryCount() == state.store.kanji_index.entries.size()) {
        SearchIndexedKanji(state, *terms, text, fold, meaningsToo);
        dlog::WriteAt(1, u"   Finished searching in kanjidic.\n");
        dlog::WriteAt(1, u"Kanji Search done: status: %i.\n", 0);
        return 0;
    }
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
