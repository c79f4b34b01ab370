#include "search/JapaneseSearch.h"

#include "core/DebugLog.h"
#include "core/LineReader.h"
#include "platform/api/Platform.h"
#include "search/AppState.h"
#include "search/Candidates.h"
#include "search/KanjiSource.h"
#include "search/PatternMatcher.h"
#include "search/StatusText.h"
#include "text/CharClass.h"

namespace mirudex::search {

int SearchFor(AppState& state, std::u16string text) { return SearchFor(state, state.search_options, std::move(text)); }

int SearchFor(AppState& state, const SearchOptions& options, std::u16string text)
{
    dlog::WriteAt(1, u"SearchFor()\n");
    dlog::WriteAt(1, u"   text1: %s\n", text);
    int status = 0;
    const bool fold = options.kana_insensitive;
    if (fold) {
        text = text::ToKatakana(text);
        dlog::WriteAt(1, u"KANA-INSENSITIVE SEARCH\n");
    }
    auto& dictionaries = state.store.edict_dictionaries;
    dlog::WriteAt(1, u"   text2: %s\n", text);
    dlog::WriteAt(1, u"   Number of dictionaries: %i\n", static_cast<int>(dictionaries.size()));

    const bool byWord = options.words_only || !text::IsAllKanaOrWildcard(text);
    const PatternMatcher matcher(text, fold);
    auto& results = state.edict_results[kResultList];
    // The text without its wildcards: a found form equal to it is the most relevant.
    std::u16string plainText;
    for (char16_t c : text)
        if (c != text::kWildcardAny && c != text::kWildcardOne)
            plainText.push_back(c);

    for (size_t i = 0; i < dictionaries.size(); ++i) {
        dict::Dictionary& dictionary = *dictionaries[i];
        dlog::WriteAt(1, u"      Processing DICT %i / %i (%S)\n", static_cast<int>(i + 1),
                      static_cast<int>(dictionaries.size()), dictionary.name);
        if (!dictionary.on)
            continue;
        dlog::WriteAt(1, u"      The dictionary is 'on'.\n");
        SetStatus(Format(u"Searching in dictionary '%S'...", dictionary.name));
        dlog::WriteAt(1, u"      Status bar text set.\n");

        const auto& index = dictionary.index;
        const size_t count = static_cast<size_t>(dictionary.count) <= index.size() ? dictionary.count : index.size();
        if (count > 0 && static_cast<long long>(results.size()) == state.max_results) {
            status |= kStatusTruncated;
            dlog::WriteAt(1, u"MAX RESULTS REACHED\n");
            continue;
        }
        // Only records the index names can match; they are taken in record
        // order, as a walk over every record would take them.
        if (state.StopRequested())
            return status;
        dict::PrepareStructures(dictionary, StructuresFor(text));
        const auto candidates =
            PatternCandidates(index, byWord ? dict::IndexTable::Field::Word : dict::IndexTable::Field::Kana, text);
        const size_t total = candidates ? candidates->size() : count;
        // Opened at the first match and kept for the rest of this dictionary.
        LineReader file;
        int64_t lastOffset = -1;
        for (size_t c = 0; c < total; ++c) {
            if (state.StopRequested())
                return status;
            const size_t j = candidates ? (*candidates)[c] : c;
            if (j >= count)
                break;
            const dict::IndexEntry entry = index[j];
            if (entry.offset == lastOffset || !matcher.Matches(byWord ? entry.word : entry.kana))
                continue;
            lastOffset = entry.offset;  // a line with several matching forms is one result
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
            const std::u16string_view form = byWord ? entry.word : entry.kana;
            const bool sameForm = fold ? text::ToKatakana(form) == plainText : form == plainText;
            found.relevance = Relevance(sameForm, MeaningsOf(found.rawLine));
            results.push_back(std::move(found));
            if (static_cast<long long>(results.size()) == state.max_results) {
                // Truncated when any record is left to look at, here or (at
                // its first record) in the next dictionary searched.
                if (j + 1 < count) {
                    status |= kStatusTruncated;
                    dlog::WriteAt(1, u"MAX RESULTS REACHED\n");
                }
                break;
            }
        }
        dlog::WriteAt(1, u"      Finished searching in dictionary.\n");
    }
    dlog::WriteAt(1, u"Search done: status: %i.\n", status);
    return status;
}

void CollectEntriesKanji(AppState& state, const std::vector<dict::Entry>& entries, bool stoppable)
{
    std::vector<bool> present(0x10000, false);
    for (const dict::KanjiRecord& r : state.kanji_results)
        present[static_cast<char16_t>(r.code)] = true;
    KanjiSource source(state);
    for (const dict::Entry& entry : entries) {
        if (stoppable && state.StopRequested())
            break;
        for (char16_t c : entry.word) {
            if (text::IsKana(c) || present[c])
                continue;
            const dict::KanjiIndexEntry* found = state.FindKanji(c);
            if (!found)
                continue;
            dict::KanjiRecord record;
            source.Load(record, found);
            present[static_cast<char16_t>(record.code)] = true;
            present[c] = true;
            state.kanji_results.push_back(std::move(record));
        }
    }
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
