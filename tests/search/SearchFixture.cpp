#include "SearchFixture.h"

#include <algorithm>
#include <optional>

#include "core/LineReader.h"
#include "dict/Relevance.h"
#include "platform/api/Platform.h"
#include "platform/api/Utf.h"
#include "search/Candidates.h"
#include "search/EnglishMatch.h"
#include "search/JapaneseSearch.h"
#include "text/CharClass.h"
#include "text/Encoding.h"
#include "text/Wildcard.h"

namespace mirudex::search::test {

std::u16string U(const std::string& utf8) { return Utf8ToUtf16(utf8); }

std::string Euc(const std::string& utf8)
{
    std::optional<std::string> out = text::ConvertEncoding(utf8, "UTF-8", "EUC-JP");
    EXPECT_TRUE(out.has_value()) << utf8;
    return out.value_or(std::string());
}

void SearchTest::SetUp()
{
    WorkDirTest::SetUp();
    options_.LoadFromText(DefaultOptionsText());
    options_.SetBOOL(".\\Dictionaries\\Indexing", false);
    state_ = std::make_unique<AppState>(options_, store_);
    state_->search_options.type = SearchType::Exact;
    state_->search_options.kana_insensitive = false;
    state_->max_results = -1;
    state_->search_options.results_field = u"-1";
}

dict::Dictionary& SearchTest::AddDictionary(const std::string& file, const std::vector<std::string>& lines,
                                            const std::string& name, bool on)
{
    std::string bytes;
    for (const std::string& line : lines)
        bytes += Euc(line) + "\n";
    mirudex::test::WriteFile(file, bytes);
    auto d = std::make_unique<dict::Dictionary>();
    d->path = file;
    d->name = name;
    d->encoding = "EUC-JP";
    d->on = on;
    dict::EDICT_Index_Load(*d, options_);
    store_.edict_dictionaries.push_back(std::move(d));
    return *store_.edict_dictionaries.back();
}

void SearchTest::SetKanjidic(const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines)
        bytes += Euc(line) + "\n";
    mirudex::test::WriteFile("kanjidic", bytes);
    options_.SetSTRING(".\\Dictionaries\\KANJIDIC\\Path", "kanjidic");
    dict::KANJIDIC_Index_Load(store_.kanji_index, options_);
}

std::vector<std::u16string> SearchTest::Words(int list) const
{
    std::vector<std::u16string> out;
    for (const dict::Entry& e : state_->edict_results[list])
        out.push_back(e.word);
    return out;
}

std::vector<std::u16string> SearchTest::KanjiCodes() const
{
    std::vector<std::u16string> out;
    for (const dict::KanjiRecord& r : state_->kanji_results)
        out.push_back(std::u16string(1, static_cast<char16_t>(r.code)));
    return out;
}

int ReferenceSearchFor(AppState& state, std::u16string text)
{
    int status = 0;
    const bool fold = state.search_options.kana_insensitive;
    if (fold)
        text = text::ToKatakana(text);
    std::u16string plain;
    for (char16_t c : text)
        if (c != text::kWildcardAny && c != text::kWildcardOne)
            plain.push_back(c);
    // Every match in dictionary and record order; past the maximum, the most
    // relevant are kept in that order.
    struct Found {
        const dict::Dictionary* dictionary;
        int record;
        uint64_t relevance;
    };
    std::vector<Found> found;
    for (const auto& d : state.store.edict_dictionaries) {
        if (!d->on)
            continue;
        dict::PrepareStructures(*d, dict::kRanks);
        for (int j = 0; j < d->count; ++j) {
            const dict::IndexEntry ie = d->index[j];
            std::u16string compared(ie.kana);
            if (state.search_options.words_only || !text::IsAllKanaOrWildcard(text))
                compared = ie.word;
            if (fold)
                compared = text::ToKatakana(compared);
            if (text::WildcardMatch(compared, text))
                found.push_back({d.get(), j, JapaneseRelevance(compared == plain, d->index, j)});
        }
    }
    auto& results = state.edict_results[kResultList];
    const long long room = state.max_results < 0 ? -1 : state.max_results - static_cast<long long>(results.size());
    if (room >= 0 && static_cast<long long>(found.size()) > room) {
        std::vector<size_t> order(found.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return found[a].relevance < found[b].relevance; });
        order.resize(static_cast<size_t>(room));
        std::sort(order.begin(), order.end());
        std::vector<Found> kept;
        for (size_t i : order)
            kept.push_back(found[i]);
        found = std::move(kept);
        status |= 1;
    }
    for (const Found& f : found) {
        dict::Entry e;
        dict::LoadInfoInto(state.options, *f.dictionary, e, f.dictionary->index[static_cast<size_t>(f.record)]);
        dict::SetInfo(e, state.store.marker_table);
        e.relevance = f.relevance;
        results.push_back(std::move(e));
    }
    return status;
}

int ReferenceSearchFor_English(AppState& state, std::u16string text)
{
    const EnglishQuery q = PrepareEnglishQuery(text);
    struct Found {
        dict::Entry entry;
        uint64_t relevance;
        bool last;  // the last record of the last dictionary with records
    };
    std::vector<Found> found;
    bool anyRecords = false;
    for (const auto& d : state.store.edict_dictionaries) {
        if (!d->on)
            continue;
        LineReader file;
        if (!file.Open(platform::FilePath(d->path)))
            continue;
        if (d->count > 0) {
            anyRecords = true;
            for (Found& f : found)
                f.last = false;
        }
        for (int k = 0; k < d->count; ++k) {
            std::optional<std::string> line = dict::GetEdictLine(file, state.options, d->index[k]);
            if (!line)
                continue;
            const size_t slash = line->find('/');
            if (slash == std::string::npos)
                continue;
            std::string meanings = line->substr(slash);
            LowerAscii(meanings);
            if (EnglishMeaningsMatch(q, meanings, state.search_options.type)) {
                dict::Entry e;
                dict::LoadInfoInto(file, state.options, *d, e, d->index[k]);
                dict::SetInfo(e, state.store.marker_table);
                found.push_back({std::move(e),
                                 EnglishRelevance(dict::PhraseRank(meanings, q.exact ? q.phrase : q.text), d->index, k),
                                 k + 1 == d->count});
            }
        }
    }
    // The maximum keeps the most relevant; the list is truncated when more
    // were found, or exactly as many with a record after the last one.
    auto& results = state.edict_results[kResultList];
    const long long size = static_cast<long long>(results.size());
    int status = 0;
    if (state.max_results >= 0 && size <= state.max_results) {
        const size_t room = static_cast<size_t>(state.max_results - size);
        if (found.size() > room) {
            std::vector<size_t> order(found.size());
            for (size_t i = 0; i < order.size(); ++i)
                order[i] = i;
            std::stable_sort(order.begin(), order.end(),
                             [&](size_t a, size_t b) { return found[a].relevance < found[b].relevance; });
            order.resize(room);
            std::sort(order.begin(), order.end());
            std::vector<Found> kept;
            for (size_t i : order)
                kept.push_back(std::move(found[i]));
            found = std::move(kept);
            status = 1;
        } else if (found.size() == room && anyRecords && (found.empty() || !found.back().last)) {
            status = 1;
        }
    }
    for (Found& f : found)
        results.push_back(std::move(f.entry));
    return status;
}

int ReferenceSearchFor_Kanji(AppState& state, std::u16string text, const std::vector<dict::KanjiRecord>* records)
{
    const bool fold = state.search_options.kana_insensitive;
    if (fold)
        text = text::ToKatakana(text);
    const auto& entries = state.store.kanji_index.entries;
    for (size_t i = 0; i < entries.size(); ++i) {
        dict::KanjiRecord r;
        if (records)
            r = records->at(i);
        else
            dict::LoadKANJIDICInfoInto(state.store.kanji_index, state.options, r, &entries[i]);
        bool matched = false;
        if (!text::IsAllKanaOrWildcard(text))
            for (const auto& m : r.meanings)
                matched = matched || text::WildcardMatch(m, text);
        for (const auto* list : {&r.onReadings, &r.kunReadings, &r.nanori, &r.radicalReadings})
            for (const auto& reading : *list)
                matched = matched || text::WildcardMatch(fold ? text::ToKatakana(reading) : reading, text);
        if (!matched)
            continue;
        bool present = false;
        for (const auto& k : state.kanji_results)
            present = present || k.code == r.code;
        if (!present)
            state.kanji_results.push_back(std::move(r));
    }
    return 0;
}

void ExpectSameEntries(const std::vector<dict::Entry>& a, const std::vector<dict::Entry>& b)
{
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].word, b[i].word) << i;
        EXPECT_EQ(a[i].kana, b[i].kana) << i;
        EXPECT_EQ(a[i].meanings, b[i].meanings) << i;
        EXPECT_EQ(a[i].info, b[i].info) << i;
        EXPECT_EQ(a[i].rawLine, b[i].rawLine) << i;
    }
}

}  // namespace mirudex::search::test
