// Hostile input: what a crafted dictionary line, a faulty rule file or a
// pasted long text may cost at most.
//   MIRUDEX_REAL_DATA=build-data build/bench/mirudex_bench --benchmark_filter=Hostile
// Targets: copying the crafted line (%kana, %meaning, %info nested 30 deep
// each) within 50 ms; the variants of a faulty rule file within 10 ms; a
// 480-character text in the multiple-substrings mode within a few plain
// searches that fill the result list (compare BM_HostileSubstrings480 with
// BM_HostilePlainSearch).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "dict/DictionaryStore.h"
#include "search/AppState.h"
#include "search/Worker.h"
#include "text/FuzzySearch.h"
#include "userdata/Copy.h"

namespace {

using namespace mirudex;

std::u16string Times(std::u16string_view text, size_t n)
{
    std::u16string out;
    for (size_t i = 0; i < n; ++i)
        out += text;
    return out;
}

void BM_HostileCopyNestedKeys(benchmark::State& state)
{
    Registry options;
    options.LoadFromText(DefaultOptionsText());
    dict::Entry entry;
    entry.word = Times(u"%kana", 30);
    entry.kana = Times(u"%meaning", 30);
    entry.meanings = {Times(u"%info", 30)};
    entry.info = {u"noun (common) (futsuumeishi)"};
    size_t made = 0;
    for (auto _ : state)
        made = userdata::FormatEntry(entry, options).size();
    state.counters["characters"] = static_cast<double>(made);
}
BENCHMARK(BM_HostileCopyNestedKeys)->Unit(benchmark::kMillisecond);

void BM_HostileRunawayRules(benchmark::State& state, const char16_t* rule)
{
    text::FuzzyRules rules;
    const std::u16string line(rule);
    const size_t colon = line.find(u':');
    rules.AddRule({line.substr(0, colon),
                   {line.substr(colon + 1, line.find(u',') - colon - 1), line.substr(line.find(u',') + 1)}});
    size_t variants = 0;
    for (auto _ : state)
        variants = rules.FuzzySearch(u"食べる").size();
    state.counters["variants"] = static_cast<double>(variants);
}
BENCHMARK_CAPTURE(BM_HostileRunawayRules, lengthening, u"＿る:＿られる,＿させる")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HostileRunawayRules, doubling, u"＿:＿あ,＿い")->Unit(benchmark::kMillisecond);

// Debian's EDICT, loaded once; null without the real data.
search::AppState* RealState()
{
    static search::AppState* state = []() -> search::AppState* {
        const char* env = std::getenv("MIRUDEX_REAL_DATA");
        const std::filesystem::path dir = env && *env ? env : "build-data";
        if (!std::filesystem::exists(dir / "DICT" / "edict"))
            return nullptr;
        std::filesystem::current_path(dir);
        auto* options = new Registry;
        options->LoadFromText(DefaultOptionsText());
        auto* store = new dict::DictionaryStore;
        dict::LoadMarkers(store->marker_table);
        dict::LoadAllEDICTS(*store, *options);
        // The searches are measured with their structures there (BM_EdictBuildStructures builds them).
        for (auto& d : store->edict_dictionaries)
            dict::PrepareStructures(*d, dict::kAllStructures);
        auto* s = new search::AppState(*options, *store);
        s->search_options.results_field = u"200";
        return s;
    }();
    return state;
}

// 480 characters of running text.
std::u16string LongText()
{
    const std::u16string sentence = u"今日は雨が降っているので、家で本を読みながら猫と一緒にお茶を飲んでいます。";
    std::u16string text;
    while (text.size() + sentence.size() <= 480)
        text += sentence;
    text.resize(480, u'。');
    return text;
}

void SearchText(benchmark::State& state, const std::u16string& text, bool substrings)
{
    search::AppState* s = RealState();
    if (!s) {
        state.SkipWithError("real data not found (set MIRUDEX_REAL_DATA)");
        return;
    }
    s->search_options.match_substrings = substrings;
    for (auto _ : state) {
        std::u16string t = text;
        search::SearchRequest request{&t, search::TS_NORMAL};
        s->thread_searching = true;
        search::Thread_Search(*s, &request);
    }
    state.counters["results"] = static_cast<double>(s->edict_results[0].size());
}

void BM_HostileSubstrings480(benchmark::State& state) { SearchText(state, LongText(), true); }
BENCHMARK(BM_HostileSubstrings480)->Unit(benchmark::kMillisecond);
// The yardstick: one plain search that fills the list (its first character, beginning type).
void BM_HostilePlainSearch(benchmark::State& state) { SearchText(state, LongText().substr(0, 1), false); }
BENCHMARK(BM_HostilePlainSearch)->Unit(benchmark::kMillisecond);

}  // namespace
