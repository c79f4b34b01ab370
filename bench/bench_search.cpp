// Searches on Debian's full EDICT and KANJIDIC (files in the page cache):
//   MIRUDEX_REAL_DATA=build-data build/bench/mirudex_bench --benchmark_filter=Search
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "dict/DictionaryStore.h"
#include "platform/api/Utf.h"
#include "search/AppState.h"
#include "search/Dispatcher.h"
#include "search/EnglishSearch.h"
#include "search/JapaneseSearch.h"
#include "search/KanjiSearch.h"
#include "search/Reader.h"
#include "search/Sorting.h"
#include "search/Worker.h"
#include "text/FuzzySearch.h"

namespace {

using namespace mirudex;

// Loaded once for all search benchmarks; null when the real data is not there.
struct World {
    Registry options;
    dict::DictionaryStore store;
    std::unique_ptr<search::AppState> state;
};

World* TheWorld()
{
    static World* world = []() -> World* {
        const char* env = std::getenv("MIRUDEX_REAL_DATA");
        const std::filesystem::path dir = env && *env ? env : "build-data";
        if (!std::filesystem::exists(dir / "DICT" / "edict"))
            return nullptr;
        std::filesystem::current_path(dir);
        auto* w = new World;
        w->options.LoadFromText(DefaultOptionsText());
        dict::LoadMarkers(w->store.marker_table);
        dict::LoadAllEDICTS(w->store, w->options);
        // The searches are measured with their structures there (BM_EdictBuildStructures builds them).
        for (auto& d : w->store.edict_dictionaries)
            dict::PrepareStructures(*d, dict::kAllStructures);
        w->state = std::make_unique<search::AppState>(w->options, w->store);
        w->state->max_results = 200;
        w->state->search_options.kana_insensitive = false;
        return w;
    }();
    return world;
}

template <typename Fn>
void Run(benchmark::State& st, Fn fn)
{
    World* w = TheWorld();
    if (!w) {
        st.SkipWithError("real data not found (set MIRUDEX_REAL_DATA)");
        return;
    }
    size_t found = 0;
    for (auto _ : st) {
        // Every option a search reads starts the same: no benchmark depends
        // on the ones that ran before it.
        search::AppState& s = *w->state;
        s.edict_results[0].clear();
        s.kanji_results.clear();
        s.search_options = search::SearchOptions{};
        s.search_options.kana_insensitive = false;
        s.search_options.results_field = u"200";
        s.max_results = 200;
        s.options.SetINT(opt::search::kLanguage, 0);
        fn(s);
        found = w->state->edict_results[0].size() + w->state->kanji_results.size();
    }
    st.counters["results"] = static_cast<double>(found);
}

// The share of the everyday-word lists (tests/data/relevance) whose expected
// word is on the first row (and in the top three) of an exact search as a new
// user makes it: default options, sorted by relevance, the default maximum.
void BM_RelevanceFirstRow(benchmark::State& st, const char* file)
{
    World* w = TheWorld();
    if (!w) {
        st.SkipWithError("real data not found (set MIRUDEX_REAL_DATA)");
        return;
    }
    search::AppState& s = *w->state;
    const search::EntrySortState kept = s.edict_sort;
    search::RestoreSortStates(w->options, s.edict_sort, s.kanji_sort);
    std::vector<std::pair<std::string, std::vector<std::u16string>>> cases;
    std::ifstream in(std::filesystem::path(MIRUDEX_SOURCE_DIR) / "tests" / "data" / "relevance" / file);
    for (std::string line; std::getline(in, line);) {
        const size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        std::vector<std::u16string> wanted;
        for (size_t at = tab + 1; at <= line.size();) {
            const size_t bar = std::min(line.find('|', at), line.size());
            wanted.push_back(Utf8ToUtf16(line.substr(at, bar - at)));
            at = bar + 1;
        }
        cases.emplace_back(line.substr(0, tab), std::move(wanted));
    }
    int first = 0, top3 = 0;
    for (auto _ : st) {
        first = top3 = 0;
        for (const auto& [query, wanted] : cases) {
            s.edict_results[0].clear();
            s.kanji_results.clear();
            s.search_options = search::SearchOptions{};
            s.options.SetINT(opt::search::kLanguage, 0);
            std::u16string text = Utf8ToUtf16(query);
            search::Edict_SearchFor(s, text);
            const auto& list = s.edict_results[0];
            for (size_t i = 0; i < list.size() && i < 3; ++i) {
                if (std::find(wanted.begin(), wanted.end(), list[i].word) == wanted.end())
                    continue;
                first += i == 0;
                ++top3;
                break;
            }
        }
    }
    s.edict_sort = kept;
    st.counters["first_row"] = cases.empty() ? 0.0 : static_cast<double>(first) / static_cast<double>(cases.size());
    st.counters["top_three"] = cases.empty() ? 0.0 : static_cast<double>(top3) / static_cast<double>(cases.size());
    st.counters["words"] = static_cast<double>(cases.size());
}
BENCHMARK_CAPTURE(BM_RelevanceFirstRow, english, "english-first-row.tsv")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_RelevanceFirstRow, japanese, "japanese-first-row.tsv")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(BM_RelevanceFirstRow, english_more, "english-more.tsv")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_RelevanceFirstRow, japanese_more, "japanese-more.tsv")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

void BM_SearchJapanese(benchmark::State& st, const char* pattern)
{
    const std::u16string p = Utf8ToUtf16(pattern);
    Run(st, [&](search::AppState& s) { search::SearchFor(s, p); });
}
BENCHMARK_CAPTURE(BM_SearchJapanese, exact_neko, "ねこ")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchJapanese, begin_neko, "ねこ＿")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchJapanese, middle_neko, "＿ねこ＿")->Unit(benchmark::kMillisecond);

// A text of 2,000 characters: everyday sentences (verbs and adjectives in
// several forms, loanwords, numbers, punctuation) over and over. No ？ or
// ＊: the substring search would take the text for a pattern.
std::u16string ReadingText()
{
    const std::u16string sentences = Utf8ToUtf16(
        "猫が魚を食べました。昨日は友達と新しい映画を見に行きましたが、とても面白かったです。"
        "日本語を勉強しているので、毎日ニュースを読んでいます。このコンピューターは3年前に買ったものです。"
        "明日の天気は晴れるでしょうか。駅の近くに小さなレストランがあって、そこのコーヒーは安くて美味しい。"
        "彼女はピアノを弾くのが上手だと言われています。Mirudexで単語を調べてから、ノートに書きました。");
    std::u16string text;
    while (text.size() < 2000)
        text += sentences;
    text.resize(2000);
    return text;
}

// The reader on that text, with the program's reverse-conjugation rules.
void BM_ReadText(benchmark::State& st)
{
    static text::FuzzyRules rules;
    if (rules.Empty())
        rules.LoadFuzzySearchInfo();
    const std::u16string text = ReadingText();
    size_t words = 0;
    Run(st, [&](search::AppState& s) {
        s.fuzzy_rules = &rules;
        words = 0;
        for (const search::ReadToken& t : search::ReadText(s, text))
            words += t.found();
        s.fuzzy_rules = nullptr;
    });
    st.counters["words"] = static_cast<double>(words);
}
BENCHMARK(BM_ReadText)->Unit(benchmark::kMillisecond);

// The same text searched as substrings through the worker ("Match multiple
// substrings", the default maximum of results), for comparison.
void BM_ReadTextAsSubstrings(benchmark::State& st)
{
    const std::u16string text = ReadingText();
    Run(st, [&](search::AppState& s) {
        s.search_options.match_substrings = true;
        std::u16string t = text;
        search::SearchRequest request{&t, search::TS_NO_KANJI};
        s.thread_searching = true;
        search::Thread_Search(s, &request);
    });
}
BENCHMARK(BM_ReadTextAsSubstrings)->Unit(benchmark::kMillisecond);

void BM_SearchEnglish(benchmark::State& st, const char* text, int type, int max)
{
    const std::u16string t = Utf8ToUtf16(text);
    Run(st, [&](search::AppState& s) {
        s.search_options.type = static_cast<search::SearchType>(type);
        s.max_results = max;
        search::SearchFor_English(s, t);
        s.max_results = 200;
    });
}
BENCHMARK_CAPTURE(BM_SearchEnglish, cat_middle, "cat", 1, 200)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchEnglish, cat_middle_unlimited, "cat", 1, -1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchEnglish, cat_exact_unlimited, "cat", 3, -1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchEnglish, to_run_phrase, "\"to run\"", 1, 200)->Unit(benchmark::kMillisecond);

void BM_SearchKanji(benchmark::State& st, const char* text)
{
    Run(st, [&](search::AppState& s) {
        std::u16string t = Utf8ToUtf16(text);
        search::Edict_SearchFor(s, t);
    });
}
BENCHMARK_CAPTURE(BM_SearchKanji, KN_water, "KN:water")->Unit(benchmark::kMillisecond);

void BM_SearchRadical(benchmark::State& st)
{
    World* w = TheWorld();
    if (w && w->store.radical_table.records.empty()) {
        w->store.radical_table = {};
        dict::LoadRadicalInfo(w->store.radical_table, u"radkfile.dat", w->options);
    }
    // The radical with the longest kanji list.
    size_t best = 0;
    if (w)
        for (size_t i = 0; i < w->store.radical_table.records.size(); ++i)
            if (w->store.radical_table.records[i].kanji.size() > w->store.radical_table.records[best].kanji.size())
                best = i;
    Run(st, [&](search::AppState& s) {
        for (auto& r : s.store.radical_table.records)
            r.selected = 0;
        s.store.radical_table.records[best].selected = 1;
        search::RadicalSearch(s);
    });
}
BENCHMARK(BM_SearchRadical)->Unit(benchmark::kMillisecond);

}  // namespace
