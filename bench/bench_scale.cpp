// Dictionaries of 1, 2, 4 and 8 times Debian's EDICT, made by the benchmark
// in a temporary folder (removed at the end): copy c of every line has its
// headword made distinct by the suffix "~c" (c > 0), readings and meanings
// as they are. Cold load (no index files), warm load (both index files
// there), the memory a loaded dictionary adds, and the searches.
//   MIRUDEX_REAL_DATA=build-data build/bench/mirudex_bench --benchmark_filter=Scale
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "BenchSupport.h"
#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "dict/Dictionary.h"
#include "dict/DictionaryStore.h"
#include "dict/IndexFile.h"
#include "platform/api/Utf.h"
#include "search/AppState.h"
#include "search/Dispatcher.h"
#include "search/EnglishSearch.h"
#include "search/JapaneseSearch.h"

namespace {

namespace fs = std::filesystem;
using namespace mirudex;

constexpr int kScales[] = {1, 2, 4, 8};

// The scaled dictionaries, made once; the folder goes when the program ends.
class ScaledData {
public:
    static ScaledData& Get()
    {
        static ScaledData data;
        return data;
    }
    bool ok() const { return ok_; }
    Registry& options() { return options_; }
    std::string Path(int scale) const { return (dir_ / ("edict" + std::to_string(scale))).string(); }

    ~ScaledData()
    {
        std::error_code ignored;
        if (!dir_.empty())
            fs::remove_all(dir_, ignored);
    }

private:
    ScaledData()
    {
        const fs::path source = bench::RealDataDir();
        if (source.empty())
            return;
        std::ifstream in(source / "DICT" / "edict", std::ios::binary);
        std::stringstream whole;
        whole << in.rdbuf();
        const std::string text = whole.str();
        dir_ = bench::MakeTemporaryFolder("mirudex-scale");
        if (dir_.empty())
            return;
        for (int scale : kScales) {
            std::ofstream out(Path(scale), std::ios::binary);
            for (int copy = 0; copy < scale; ++copy) {
                if (copy == 0) {
                    out << text;
                    continue;
                }
                const std::string suffix = "~" + std::to_string(copy);
                size_t pos = 0;
                while (pos < text.size()) {
                    size_t end = text.find('\n', pos);
                    end = end == std::string::npos ? text.size() : end + 1;
                    const std::string_view line(text.data() + pos, end - pos);
                    const size_t space = line.find(' ');
                    if (space == std::string_view::npos) {
                        out << line;
                    } else {
                        out << line.substr(0, space) << suffix << line.substr(space);
                    }
                    pos = end;
                }
            }
        }
        options_.LoadFromText(DefaultOptionsText());
        ok_ = true;
    }

    bool ok_ = false;
    fs::path dir_;
    Registry options_;
};

dict::Dictionary MakeDictionary(int scale)
{
    dict::Dictionary d;
    d.path = ScaledData::Get().Path(scale);
    d.name = "EDICT x" + std::to_string(scale);
    d.encoding = "EUC-JP";
    return d;
}

void RemoveIndexFiles(const dict::Dictionary& d)
{
    fs::remove(d.path + ".mxi");
    fs::remove(dict::CompanionFilePath(d.path));
}

void BM_ScaleColdLoad(benchmark::State& state)
{
    auto& data = ScaledData::Get();
    if (!data.ok()) {
        state.SkipWithError("no real data");
        return;
    }
    const int scale = static_cast<int>(state.range(0));
    int32_t count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        dict::Dictionary d = MakeDictionary(scale);
        RemoveIndexFiles(d);
        state.ResumeTiming();
        dict::EDICT_Index_Load(d, data.options());
        count = d.count;
    }
    state.counters["entries"] = count;
}
BENCHMARK(BM_ScaleColdLoad)
    ->ArgNames({"scale"})
    ->ArgsProduct({{1, 2, 4, 8}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// checked 1: as every start loads, the index file's contents and the
// companion's header, records and texts checked against their checksums;
// checked 0: without those checks, to show what they cost. On the 2-core
// build machine (RelWithDebInfo, median of 3, wall time): scale 1 0.16 ms
// unchecked, 4.9 ms checked; scale 8 0.17 ms unchecked, 42 ms checked (the
// checks read the index file and the records and texts, about 16 MB at
// scale 1, through the file, so the resident memory stays as it was).
void BM_ScaleWarmLoad(benchmark::State& state)
{
    auto& data = ScaledData::Get();
    if (!data.ok()) {
        state.SkipWithError("no real data");
        return;
    }
    const int scale = static_cast<int>(state.range(0));
    {
        dict::Dictionary d = MakeDictionary(scale);
        dict::EDICT_Index_Load(d, data.options());  // the index files, once
    }
    dict::SetContentsChecked(state.range(1) != 0);
    int32_t count = 0;
    double addedMB = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const double before = bench::ResidentMB();
        state.ResumeTiming();
        dict::Dictionary d = MakeDictionary(scale);
        dict::EDICT_Index_Load(d, data.options());
        state.PauseTiming();
        addedMB = bench::ResidentMB() - before;
        count = d.count;
        state.ResumeTiming();
    }
    dict::SetContentsChecked(true);
    state.counters["entries"] = count;
    state.counters["rss_added_MB"] = addedMB;
}
BENCHMARK(BM_ScaleWarmLoad)
    ->ArgNames({"scale", "checked"})
    ->ArgsProduct({{1, 2, 4, 8}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// What the first searches after a warm start pay for the checks of the
// companion's search structures (every group, each checked once): the
// companion holds them all. Median of 3: scale 1 12.7 ms, scale 8 128 ms
// for all groups together (each search kind pays for its own groups only).
void BM_ScaleStructuresCheck(benchmark::State& state)
{
    auto& data = ScaledData::Get();
    if (!data.ok()) {
        state.SkipWithError("no real data");
        return;
    }
    const int scale = static_cast<int>(state.range(0));
    {
        dict::Dictionary d = MakeDictionary(scale);
        dict::EDICT_Index_Load(d, data.options());
        dict::PrepareStructures(d, dict::kAllStructures);
    }
    unsigned dropped = 0;
    for (auto _ : state) {
        state.PauseTiming();
        dict::Dictionary d = MakeDictionary(scale);
        dict::EDICT_Index_Load(d, data.options());
        state.ResumeTiming();
        dropped |= d.index.DropDamaged(dict::kAllStructures);
        state.PauseTiming();
        d.Free();
        state.ResumeTiming();
    }
    state.counters["dropped"] = dropped;
}
BENCHMARK(BM_ScaleStructuresCheck)->ArgNames({"scale"})->ArgsProduct({{1, 8}})->Unit(benchmark::kMillisecond);

// One loaded dictionary per scale for the searches.
struct World {
    dict::DictionaryStore store;
    std::unique_ptr<search::AppState> state;
};

World* WorldOf(int scale)
{
    static std::map<int, std::unique_ptr<World>> worlds;
    auto& data = ScaledData::Get();
    if (!data.ok())
        return nullptr;
    auto& w = worlds[scale];
    if (!w) {
        w = std::make_unique<World>();
        dict::LoadMarkers(w->store.marker_table, (bench::RealDataDir() / "partsofspeech.mxf").string());
        data.options().SetSTRING(opt::dictionaries::kanjidic::kPath,
                                 (bench::RealDataDir() / "DICT" / "kanjidic").string());
        dict::KANJIDIC_Index_Load(w->store.kanji_index, data.options());
        auto d = std::make_unique<dict::Dictionary>(MakeDictionary(scale));
        dict::EDICT_Index_Load(*d, data.options());
        // The searches are measured with their structures there (BM_EdictBuildStructures builds them).
        dict::PrepareStructures(*d, dict::kAllStructures);
        w->store.edict_dictionaries.push_back(std::move(d));
        w->state = std::make_unique<search::AppState>(data.options(), w->store);
    }
    return w.get();
}

enum class Kind { Japanese, English, Dispatch };

void BM_ScaleSearch(benchmark::State& st, Kind kind, const char* text, int type, int max)
{
    World* w = WorldOf(static_cast<int>(st.range(0)));
    if (!w) {
        st.SkipWithError("no real data");
        return;
    }
    search::AppState& s = *w->state;
    const std::u16string t = Utf8ToUtf16(text);
    size_t found = 0;
    for (auto _ : st) {
        // Every option a search reads is set here: no benchmark depends on another.
        s.edict_results[0].clear();
        s.kanji_results.clear();
        s.search_options = search::SearchOptions{};
        s.search_options.type = static_cast<search::SearchType>(type);
        s.search_options.kana_insensitive = false;
        s.search_options.results_field = Utf8ToUtf16(std::to_string(max));
        s.max_results = max;
        s.options.SetINT(opt::search::kLanguage, 0);
        switch (kind) {
        case Kind::Japanese: search::SearchFor(s, t); break;
        case Kind::English: search::SearchFor_English(s, t); break;
        case Kind::Dispatch: {
            std::u16string copy = t;
            search::Edict_SearchFor(s, copy);
            break;
        }
        }
        found = s.edict_results[0].size() + s.kanji_results.size();
    }
    st.counters["results"] = static_cast<double>(found);
}

void Scales(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"scale"})->ArgsProduct({{1, 2, 4, 8}})->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(BM_ScaleSearch, neko_exact, Kind::Japanese, "ねこ", 3, 200)->Apply(Scales);
BENCHMARK_CAPTURE(BM_ScaleSearch, neko_begin, Kind::Japanese, "ねこ＿", 3, 200)->Apply(Scales);
BENCHMARK_CAPTURE(BM_ScaleSearch, neko_middle, Kind::Japanese, "＿ねこ＿", 3, 200)->Apply(Scales);
BENCHMARK_CAPTURE(BM_ScaleSearch, neko_kanji, Kind::Japanese, "猫", 3, 200)->Apply(Scales);
BENCHMARK_CAPTURE(BM_ScaleSearch, cat_exact, Kind::English, "cat", 3, 200)->Apply(Scales);
BENCHMARK_CAPTURE(BM_ScaleSearch, to_run_phrase, Kind::English, "\"to run\"", 1, 200)->Apply(Scales);
BENCHMARK_CAPTURE(BM_ScaleSearch, to_exact_unlimited, Kind::English, "to", 3, -1)->Apply(Scales);
// A common English word under the default maximum: ranked from the index
// alone, only the kept lines read (flat from 1x to 8x).
BENCHMARK_CAPTURE(BM_ScaleSearch, to_exact, Kind::English, "to", 3, 200)->Apply(Scales);
BENCHMARK_CAPTURE(BM_ScaleSearch, head_exact, Kind::English, "head", 3, 200)->Apply(Scales);
BENCHMARK_CAPTURE(BM_ScaleSearch, KN_water, Kind::Dispatch, "KN:water", 3, 200)->Apply(Scales);

}  // namespace
