// Options store: load and save of the default file.
#include <benchmark/benchmark.h>

#include "core/DefaultOptions.h"
#include "core/Registry.h"

static void BM_RegistryParseDefaults(benchmark::State& state)
{
    const std::string text = mirudex::DefaultOptionsText();
    for (auto _ : state) {
        mirudex::Registry r;
        r.LoadFromText(text);
        benchmark::DoNotOptimize(r.root().children.size());
    }
}
BENCHMARK(BM_RegistryParseDefaults);
