// Text processing: encoding conversion over the real dictionary, the
// wildcard matcher's worst case, romaji conversion and reverse conjugation.
//   MIRUDEX_REAL_DATA=build-data build/bench/mirudex_bench --benchmark_filter=Text
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "text/Encoding.h"
#include "text/FuzzySearch.h"
#include "text/Romaji.h"
#include "text/Wildcard.h"

namespace {

namespace fs = std::filesystem;

fs::path FromEnvironment(const char* fallback)
{
    const char* env = std::getenv("MIRUDEX_REAL_DATA");
    return fs::absolute(env && *env ? fs::path(env) : fs::path(fallback));
}

// Resolved before main: other benchmarks change the current directory.
const fs::path kRealData = FromEnvironment("build-data");
const fs::path kRules = kRealData / "fuzzysearch.uni.dat";

// The EUC-JP lines of the real EDICT (line ends removed), read once.
const std::vector<std::string>& EdictLines()
{
    static const std::vector<std::string> lines = [] {
        std::vector<std::string> out;
        std::ifstream in(kRealData / "DICT" / "edict", std::ios::binary);
        for (std::string line; std::getline(in, line);)
            out.push_back(line);
        return out;
    }();
    return lines;
}

void BM_TextConvertEdictReusedConverter(benchmark::State& state)
{
    const auto& lines = EdictLines();
    if (lines.empty()) {
        state.SkipWithError("no real data (run scripts/setup-data.sh build-data)");
        return;
    }
    std::u16string wide;
    for (auto _ : state) {
        std::size_t units = 0;
        for (const auto& line : lines) {
            mirudex::text::ConvertEncodingToWide(line, "EUC-JP", "UTF-16LE", wide);
            units += wide.size();
        }
        benchmark::DoNotOptimize(units);
    }
    state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_TextConvertEdictReusedConverter)->Unit(benchmark::kMillisecond);

// The same work opening and closing a converter for every line, for comparison.
void BM_TextConvertEdictConverterPerLine(benchmark::State& state)
{
    const auto& lines = EdictLines();
    if (lines.empty()) {
        state.SkipWithError("no real data (run scripts/setup-data.sh build-data)");
        return;
    }
    std::string out;
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (const auto& line : lines) {
            iconv_t cd = iconv_open("UTF-16LE", "EUC-JP");
            out.assign(line.size() * 4 + 4, '\0');
            char* in = const_cast<char*>(line.data());
            std::size_t inLeft = line.size();
            char* o = out.data();
            std::size_t outLeft = line.size() * 4;
            iconv(cd, &in, &inLeft, &o, &outLeft);
            iconv_close(cd);
            bytes += line.size() * 4 - outLeft;
        }
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_TextConvertEdictConverterPerLine)->Unit(benchmark::kMillisecond);

// Bare iconv with one converter for all lines: the floor for the two above.
void BM_TextConvertEdictBareIconv(benchmark::State& state)
{
    const auto& lines = EdictLines();
    if (lines.empty()) {
        state.SkipWithError("no real data (run scripts/setup-data.sh build-data)");
        return;
    }
    std::string out;
    iconv_t cd = iconv_open("UTF-16LE", "EUC-JP");
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (const auto& line : lines) {
            out.assign(line.size() * 4 + 4, '\0');
            char* in = const_cast<char*>(line.data());
            std::size_t inLeft = line.size();
            char* o = out.data();
            std::size_t outLeft = line.size() * 4;
            iconv(cd, &in, &inLeft, &o, &outLeft);
            bytes += line.size() * 4 - outLeft;
        }
        benchmark::DoNotOptimize(bytes);
    }
    iconv_close(cd);
}
BENCHMARK(BM_TextConvertEdictBareIconv)->Unit(benchmark::kMillisecond);

void BM_TextWildcardManyRuns(benchmark::State& state)
{
    const std::u16string text(static_cast<std::size_t>(state.range(0)), u'あ');
    const std::u16string pattern = u"＿あ＿あ＿あ＿あ＿い";
    for (auto _ : state)
        benchmark::DoNotOptimize(mirudex::text::WildcardMatch(text, pattern));
}
BENCHMARK(BM_TextWildcardManyRuns)->Arg(64)->Arg(1024)->Unit(benchmark::kMicrosecond);

void BM_TextWildcardTypicalEntry(benchmark::State& state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(mirudex::text::WildcardMatch(u"たべものや", u"＿もの＿"));
        benchmark::DoNotOptimize(mirudex::text::WildcardMatch(u"たべもの", u"たべ＿"));
    }
}
BENCHMARK(BM_TextWildcardTypicalEntry);

void BM_TextRomajiToKana(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(mirudex::text::RomajiToKana(u"watashihakinoushinbunwoyomimashita", true));
}
BENCHMARK(BM_TextRomajiToKana);

void BM_TextFuzzySearch(benchmark::State& state)
{
    mirudex::text::FuzzyRules rules;
    if (!rules.LoadFuzzySearchInfo(kRules.string())) {
        state.SkipWithError("rule file not found");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(rules.FuzzySearch(u"食べさせられた"));
        benchmark::DoNotOptimize(rules.FuzzySearch(u"ねこ"));
    }
}
BENCHMARK(BM_TextFuzzySearch)->Unit(benchmark::kMicrosecond);

}  // namespace
