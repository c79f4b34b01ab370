// Dictionaries on Debian's real files (MIRUDEX_REAL_DATA, prepared by
// scripts/setup-data.sh): EDICT from its text and from its index file, the
// kanji index and the radical file. Skipped when the data is not there.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "BenchSupport.h"
#include "core/DefaultOptions.h"
#include "core/OptionNames.h"
#include "core/Registry.h"
#include "dict/Dictionary.h"
#include "dict/DictionaryStore.h"
#include "dict/Kanjidic.h"
#include "dict/Radicals.h"
#include "dict/SharedIndex.h"
#include "dict/SharedIndexBuild.h"
#include "platform/api/Utf.h"

namespace {

namespace fs = std::filesystem;
using namespace mirudex;

// A scratch working directory with links to the real files; the index files
// are made there. The folder is removed when the program ends (by the
// destructor of the one instance, while it still knows the folder).
class RealData {
public:
    static RealData& Get()
    {
        static RealData data;
        return data;
    }
    ~RealData()
    {
        std::error_code ignored;
        if (!dir_.empty())
            fs::remove_all(dir_, ignored);
    }
    bool ok() const { return ok_; }
    Registry& registry() { return registry_; }
    Registry& withNames() { return withNames_; }
    bool hasNames() const { return fs::exists(dir_ / "DICT" / "enamdict"); }
    fs::path radkfile() const { return source_ / "radkfile.dat"; }

private:
    RealData()
    {
        source_ = bench::RealDataDir();
        if (source_.empty())
            return;
        dir_ = bench::MakeTemporaryFolder("mirudex-bench");
        if (dir_.empty())
            return;
        fs::create_directories(dir_ / "DICT");
        fs::create_symlink(fs::canonical(source_ / "DICT" / "edict"), dir_ / "DICT" / "edict");
        fs::create_symlink(fs::canonical(source_ / "DICT" / "kanjidic"), dir_ / "DICT" / "kanjidic");
        if (fs::exists(source_ / "DICT" / "enamdict"))
            fs::create_symlink(fs::canonical(source_ / "DICT" / "enamdict"), dir_ / "DICT" / "enamdict");
        fs::current_path(dir_);
        registry_.LoadFromText(DefaultOptionsText());
        // The default options without the names dictionary, and with it switched on.
        withNames_.LoadFromText(DefaultOptionsText());
        withNames_.SetBOOL(opt::dictionaries::edict::On(1), true);
        registry_.SetINT(opt::dictionaries::edict::kNumber, 1);
        ok_ = true;
    }

    bool ok_ = false;
    fs::path source_;
    fs::path dir_;
    Registry registry_;
    Registry withNames_;
};

dict::Dictionary MakeEdict()
{
    dict::Dictionary d;
    d.path = "DICT\\edict";
    d.name = "Standard EDICT";
    d.encoding = "EUC-JP";
    return d;
}

// Load from text with no index file: counting, converting, building the
// index and writing the index file.
void BM_EdictLoadFromText(benchmark::State& state)
{
    auto& data = RealData::Get();
    if (!data.ok()) {
        state.SkipWithError("no real data");
        return;
    }
    int32_t count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove("DICT/edict.mxi");
        fs::remove("DICT/edict.mxs");
        dict::Dictionary d = MakeEdict();
        state.ResumeTiming();
        dict::EDICT_Index_Load(d, data.registry());
        count = d.count;
        state.PauseTiming();
        d.Free();
        state.ResumeTiming();
    }
    state.counters["entries"] = count;
}
BENCHMARK(BM_EdictLoadFromText)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Load from the index files; the resident memory the loaded index adds to the
// process (heap and mapped pages alike) is reported as rss_MB.
void BM_EdictLoadFromIndex(benchmark::State& state)
{
    auto& data = RealData::Get();
    if (!data.ok()) {
        state.SkipWithError("no real data");
        return;
    }
    if (!fs::exists("DICT/edict.mxi")) {
        dict::Dictionary d = MakeEdict();
        dict::EDICT_Index_Load(d, data.registry());
    }
    double megabytes = 0;
    int32_t count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        malloc_trim(0);
        const double before = bench::ResidentMB();
        state.ResumeTiming();
        dict::Dictionary d = MakeEdict();
        dict::EDICT_Index_Load(d, data.registry());
        state.PauseTiming();
        megabytes = bench::ResidentMB() - before;
        count = d.count;
        d.Free();
        state.ResumeTiming();
    }
    state.counters["entries"] = count;
    state.counters["rss_MB"] = megabytes;
}
BENCHMARK(BM_EdictLoadFromIndex)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// A group of search structures built for the first search that needs it,
// after a load from the text (which builds none): the sorted orders (0), the
// postings of characters (1), the English words (2).
void BM_EdictBuildStructures(benchmark::State& state)
{
    auto& data = RealData::Get();
    if (!data.ok()) {
        state.SkipWithError("no real data");
        return;
    }
    dict::Dictionary d = MakeEdict();
    dict::EDICT_Index_Load(d, data.registry());
    dict::IndexRecords records;
    for (const dict::IndexEntry e : d.index)
        records.Add(e.offset, e.word, e.kana, e.kana.data() == e.word.data());
    const auto text = dict::MapWholeFile("DICT/edict");
    const unsigned group = 1u << state.range(0);
    for (auto _ : state) {
        state.PauseTiming();
        dict::IndexTable table;
        table.Adopt(dict::BuildIndexImage(records, {}, 0));
        state.ResumeTiming();
        table.AddStructures(group, text ? text->bytes() : std::string_view());
        state.PauseTiming();
        table.clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_EdictBuildStructures)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The warm start: the all-dictionaries load of start-up (the kanji index and
// EDICT) when EDICT's index file is there from an earlier run. The index is
// used only after the dictionary's identity is checked (a stat and its first
// and last 4 KB). On the 2-core build machine, CPU time, median of 5 runs of
// 5: 11.9 ms before the check existed, 12.0 ms with it (the limit is 10 %).
void BM_WarmStartLoadAll(benchmark::State& state)
{
    auto& data = RealData::Get();
    if (!data.ok()) {
        state.SkipWithError("no real data");
        return;
    }
    {
        dict::DictionaryStore store;
        dict::LoadAllEDICTS(store, data.registry());
    }
    int32_t count = 0;
    for (auto _ : state) {
        dict::DictionaryStore store;
        dict::LoadAllEDICTS(store, data.registry());
        count = store.edict_dictionaries.empty() ? 0 : store.edict_dictionaries.front()->count;
        state.PauseTiming();
        store.FreeDictionaries();
        state.ResumeTiming();
    }
    state.counters["entries"] = count;
}
BENCHMARK(BM_WarmStartLoadAll)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Start-up with EDICT and the names dictionary both switched on (the names
// dictionary is large: 741,000 lines, 27 MB; switched off it is loaded all
// the same, so that switching it on needs no load). Cold: the first start,
// no index or companion file yet, so every line is converted and both files
// are written; warm: every later start, which maps the companion files.
// rss_MB: what the load leaves resident. On the 2-core build machine
// (RelWithDebInfo, median of 3; yardsticks: EDICT alone,
// BM_EdictLoadFromText and BM_WarmStartLoadAll): cold 1.77 s (EDICT alone
// 0.41 s), 213 MB resident right after it; warm 1.07 ms (EDICT alone
// 0.69 ms), 0.7 MB resident (the companion pages are read as searches touch
// them).
void LoadAllWithNames(benchmark::State& state, bool cold)
{
    auto& data = RealData::Get();
    if (!data.ok() || !data.hasNames()) {
        state.SkipWithError("no real data or no names dictionary");
        return;
    }
    int64_t entries = 0;
    double megabytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (cold) {
            for (const char* file : {"DICT/edict.mxi", "DICT/edict.mxs", "DICT/enamdict.mxi", "DICT/enamdict.mxs"})
                fs::remove(file);
        }
        malloc_trim(0);
        const double before = bench::ResidentMB();
        state.ResumeTiming();
        dict::DictionaryStore store;
        dict::LoadAllEDICTS(store, data.withNames());
        state.PauseTiming();
        megabytes = bench::ResidentMB() - before;
        entries = 0;
        for (const auto& d : store.edict_dictionaries)
            entries += d->count;
        store.FreeDictionaries();
        state.ResumeTiming();
    }
    state.counters["entries"] = static_cast<double>(entries);
    state.counters["rss_MB"] = megabytes;
}
void BM_ColdStartWithNames(benchmark::State& state) { LoadAllWithNames(state, true); }
void BM_WarmStartWithNames(benchmark::State& state) { LoadAllWithNames(state, false); }
BENCHMARK(BM_ColdStartWithNames)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_WarmStartWithNames)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// A new user's first start where the package made the shared index files
// of EDICT and the names dictionary (both switched on, as BM_WarmStartWithNames):
// nothing of the user's own to read or write. written_MB: the index files
// the load wrote into the user's folder (0 while the shared ones are used).
// On the 2-core build machine (RelWithDebInfo, busy): 11.3 ms CPU, the same
// as BM_WarmStartWithNames beside it (12.2 ms), against 323 ms CPU for
// BM_ColdStartWithNames, which writes the user's own index files.
void BM_NewUserStartWithSharedIndexes(benchmark::State& state)
{
    auto& data = RealData::Get();
    if (!data.ok() || !data.hasNames()) {
        state.SkipWithError("no real data or no names dictionary");
        return;
    }
    const fs::path shared = fs::absolute("shared");
    fs::create_directories(shared);
    for (const char* name : {"edict", "enamdict"}) {
        if (!dict::BuildSharedIndex(shared, fs::canonical(fs::path("DICT") / name), "EUC-JP", data.withNames()).built) {
            state.SkipWithError("the shared index files could not be made");
            return;
        }
    }
    const char* own[] = {"DICT/edict.mxi", "DICT/edict.mxs", "DICT/enamdict.mxi", "DICT/enamdict.mxs"};
    dict::SetSharedIndexFolder(shared.string());
    int64_t entries = 0;
    double written = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (const char* file : own)
            fs::remove(file);
        state.ResumeTiming();
        dict::DictionaryStore store;
        dict::LoadAllEDICTS(store, data.withNames());
        state.PauseTiming();
        entries = 0;
        for (const auto& d : store.edict_dictionaries)
            entries += d->count;
        written = 0;
        for (const char* file : own)
            if (fs::exists(file))
                written += static_cast<double>(fs::file_size(file)) / (1 << 20);
        store.FreeDictionaries();
        state.ResumeTiming();
    }
    dict::SetSharedIndexFolder({});
    state.counters["entries"] = static_cast<double>(entries);
    state.counters["written_MB"] = written;
}
BENCHMARK(BM_NewUserStartWithSharedIndexes)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The own memory (resident, less mapped files: bench::OwnMB) a start's load
// leaves to the program, cold (no index files: every line converted, the
// index and companion files written) beside warm (both files there), with
// EDICT alone as the default options have it; and the same after the first
// searches built every search structure (structures 1). own_MB: what the
// load added; the goal is cold within 10 MB of warm. On the shared 2-core
// build machine (RelWithDebInfo, one run): cold 4.4 MB, 0.1 MB with the
// structures; warm 1.1 MB either way (before the built images gave way to
// the mapped files and the heap was trimmed: cold 28.5 MB, 90.1 MB with the
// structures).
void StartOwnMemory(benchmark::State& state, bool cold)
{
    auto& data = RealData::Get();
    if (!data.ok()) {
        state.SkipWithError("no real data");
        return;
    }
    const bool structures = state.range(0) != 0;
    if (!cold) {
        dict::DictionaryStore store;
        dict::LoadAllEDICTS(store, data.registry());
        dict::PrepareStructures(*store.edict_dictionaries.front(), dict::kAllStructures);
    }
    double own = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (cold) {
            fs::remove("DICT/edict.mxi");
            fs::remove("DICT/edict.mxs");
        }
        malloc_trim(0);
        const double before = bench::OwnMB();
        state.ResumeTiming();
        dict::DictionaryStore store;
        dict::LoadAllEDICTS(store, data.registry());
        if (structures)
            dict::PrepareStructures(*store.edict_dictionaries.front(), dict::kAllStructures);
        state.PauseTiming();
        own = bench::OwnMB() - before;
        store.FreeDictionaries();
        state.ResumeTiming();
    }
    state.counters["own_MB"] = own;
}
void BM_ColdStartOwnMemory(benchmark::State& state) { StartOwnMemory(state, true); }
void BM_WarmStartOwnMemory(benchmark::State& state) { StartOwnMemory(state, false); }
BENCHMARK(BM_ColdStartOwnMemory)
    ->ArgNames({"structures"})
    ->DenseRange(0, 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK(BM_WarmStartOwnMemory)
    ->ArgNames({"structures"})
    ->DenseRange(0, 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

void BM_KanjidicIndex(benchmark::State& state)
{
    auto& data = RealData::Get();
    if (!data.ok()) {
        state.SkipWithError("no real data");
        return;
    }
    // from_text 0: the index file is read back (made by the first load);
    // 1: indexing off, the index built from every line each time.
    const bool fromText = state.range(0) != 0;
    Registry& options = data.registry();
    dict::KanjiIndex index;
    dict::KANJIDIC_Index_Load(index, options);
    options.SetBOOL(opt::dictionaries::kIndexing, !fromText);
    for (auto _ : state)
        dict::KANJIDIC_Index_Load(index, options);
    options.SetBOOL(opt::dictionaries::kIndexing, true);
    state.counters["entries"] = index.count;
}
BENCHMARK(BM_KanjidicIndex)->ArgNames({"from_text"})->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_RadicalFile(benchmark::State& state)
{
    auto& data = RealData::Get();
    if (!data.ok()) {
        state.SkipWithError("no real data");
        return;
    }
    const std::u16string path = Widen(data.radkfile().string());
    dict::RadicalTable table;
    for (auto _ : state)
        dict::LoadRadicalInfo(table, path, data.registry());
    state.counters["radicals"] = table.count();
}
BENCHMARK(BM_RadicalFile)->Unit(benchmark::kMillisecond);

}  // namespace
