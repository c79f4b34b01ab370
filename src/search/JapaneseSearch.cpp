#include "search/JapaneseSearch.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/DebugLog.h"
#include "core/LineReader.h"
#include "core/Registry.h"
#include "platform/api/Platform.h"
#include "search/AppState.h"
#include "search/Candidates.h"
#include "search/KanjiSource.h"
#include "search/MappedFile.h"
#include "search/PatternMatcher.h"
#include "search/StatusText.h"
#include "text/CharClass.h"

namespace mirudex::search {

namespace {

// What a stopped search still reads of what it found, at the most.
constexpr size_t kReadAfterStop = 1000;

}  // namespace

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

    // Every match of every dictionary is found in the index first, with its
    // relevance; when there are more than the maximum leaves room for, the
    // most relevant are kept. Only the kept ones are read from their files,
    // in dictionary and record order.
    struct Found {
        size_t dictionary;
        uint32_t record;
        uint64_t relevance;
    };
    std::vector<Found> found;
    // A stop keeps what was found before it, as a walk that reads each match
    // as it finds it would have.
    bool stopped = false;
    for (size_t i = 0; i < dictionaries.size() && !stopped; ++i) {
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
        if (state.StopRequested()) {
            stopped = true;
            break;
        }
        dict::PrepareStructures(dictionary, StructuresFor(text) | dict::kRanks);
        const auto candidates =
            PatternCandidates(index, byWord ? dict::IndexTable::Field::Word : dict::IndexTable::Field::Kana, text);
        const size_t total = candidates ? candidates->size() : count;
        int64_t lastOffset = -1;
        for (size_t c = 0; c < total; ++c) {
            if ((c & 0xFF) == 0 && state.StopRequested()) {
                stopped = true;
                break;
            }
            const size_t j = candidates ? (*candidates)[c] : c;
            if (j >= count)
                break;
            const dict::IndexEntry entry = index[j];
            if (entry.offset == lastOffset || !matcher.Matches(byWord ? entry.word : entry.kana))
                continue;
            lastOffset = entry.offset;  // a line with several matching forms is one result
            const std::u16string_view form = byWord ? entry.word : entry.kana;
            const bool sameForm = fold ? text::ToKatakana(form) == plainText : form == plainText;
            found.push_back(Found{i, static_cast<uint32_t>(j), JapaneseRelevance(sameForm, index, j)});
        }
        dlog::WriteAt(1, u"      Finished searching in dictionary.\n");
    }

    const long long already = static_cast<long long>(results.size());
    const bool limited = state.max_results >= 0;
    const size_t room = !limited || already >= state.max_results ? (limited ? 0 : found.size())
                                                                 : static_cast<size_t>(state.max_results - already);
    if (stopped) {
        found.resize(std::min({found.size(), room, kReadAfterStop}));
    } else if (found.size() > room) {
        // The most relevant, the earlier record first among equals; only
        // those kept are put in order.
        const auto moreRelevant = [](const Found& a, const Found& b) {
            if (a.relevance != b.relevance)
                return a.relevance < b.relevance;
            return a.dictionary != b.dictionary ? a.dictionary < b.dictionary : a.record < b.record;
        };
        std::nth_element(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(room), found.end(), moreRelevant);
        found.resize(room);
        std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
            return a.dictionary != b.dictionary ? a.dictionary < b.dictionary : a.record < b.record;
        });
        status |= kStatusTruncated;
        dlog::WriteAt(1, u"MAX RESULTS REACHED\n");
    } else if (limited && found.size() == room) {
        // Exactly the maximum: truncated when a record is left after the last
        // one found, in its dictionary or in a later one that is on.
        const size_t from = found.empty() ? 0 : found.back().dictionary;
        for (size_t i = from; i < dictionaries.size(); ++i) {
            const dict::Dictionary& d = *dictionaries[i];
            const size_t count = std::min(static_cast<size_t>(std::max(d.count, 0)), d.index.size());
            const size_t after = !found.empty() && i == from ? found.back().record + 1 : 0;
            if (d.on && after < count) {
                status |= kStatusTruncated;
                dlog::WriteAt(1, u"MAX RESULTS REACHED\n");
                break;
            }
        }
    }
    // The kept lines are read from the mapped file (they lie anywhere in it
    // once the most relevant are kept); a line the mapping cannot give as the
    // line reader would goes through the reader.
    const int bufferSize = state.options.GetINT(opt::buffer::kEDICT);
    MappedFile map;
    std::optional<LineReader> file;
    size_t openFor = dictionaries.size();
    for (const Found& f : found) {
        const dict::Dictionary& dictionary = *dictionaries[f.dictionary];
        const dict::IndexEntry entry = dictionary.index[f.record];
        dlog::WriteAt(1, u"   RESULT %i (entry: %i)\n", static_cast<int>(results.size() + 1),
                      static_cast<int>(f.record + 1));
        dict::Entry entryFound;
        if (openFor != f.dictionary) {
            openFor = f.dictionary;
            file.reset();
            if (!map.Open(platform::FilePath(dictionary.path)))
                map.Close();
        }
        const std::string_view line = map.IsOpen() ? PlainLineAt(map.bytes(), entry.offset, bufferSize) : "";
        if (!line.empty()) {
            dlog::WriteAt(1, u"LoadInfoInto()\n");
            dict::FillEntryFromLine(std::string(line), dictionary, entryFound, entry);
        } else {
            if (!file) {
                file.emplace();
                file->Open(platform::FilePath(dictionary.path));
            }
            if (!file->IsOpen()) {
                // The one-file form logs why and leaves the entry unfilled.
                dict::LoadInfoInto(state.options, dictionary, entryFound, entry);
            } else {
                dict::LoadInfoInto(*file, state.options, dictionary, entryFound, entry);
            }
        }
        dict::SetInfo(entryFound, state.store.marker_table);
        entryFound.relevance = f.relevance;
        results.push_back(std::move(entryFound));
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
