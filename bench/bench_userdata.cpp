// The user's own files at start-up: a history file far longer than the list
// it fills (100,000 lines; the list keeps 40).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/DefaultOptions.h"
#include "core/OptionNames.h"
#include "core/Registry.h"
#include "userdata/History.h"

static void BM_LoadHistoryOf100000Lines(benchmark::State& state)
{
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "mirudex-bench-history.dat";
    {
        std::ofstream out(file, std::ios::binary);
        const std::string line("s\0e\0a\0r\0c\0h\0\n\0", 14);
        for (int i = 0; i < 100000; ++i)
            out << line;
    }
    mirudex::Registry options;
    options.LoadFromText(mirudex::DefaultOptionsText());
    for (auto _ : state) {
        mirudex::userdata::HistoryList list;
        mirudex::userdata::LoadHistory(list, options, file.string());
        benchmark::DoNotOptimize(list.size());
    }
    std::filesystem::remove(file);
}
BENCHMARK(BM_LoadHistoryOf100000Lines)->Unit(benchmark::kMicrosecond);
