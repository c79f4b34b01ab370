// mirudex-lookup's look-up mode: the program's search engine on the current
// directory's options and dictionaries, answering on the terminal.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/Commands.h"
#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "dict/DictionaryStore.h"
#include "platform/api/Platform.h"
#include "platform/api/Utf.h"
#include "search/AppState.h"
#include "search/JapaneseSearch.h"
#include "search/Sorting.h"
#include "search/Worker.h"
#include "text/FuzzySearch.h"
#include "userdata/Copy.h"

namespace mirudex::cli {

namespace {

constexpr const char* kUsage =
    "usage: mirudex-lookup [options] [--] TEXT\n"
    "  --type begin|middle|end|exact   where the text must appear\n"
    "  --lang auto|jp|en|kanji         how to search (or JP: EN: KN: before TEXT)\n"
    "  --fuzzy --convert --kana-insensitive --words-only --substrings\n"
    "  --max N                         maximum number of results\n"
    "  --kanji                         also print the kanji found\n"
    "  --json                          one JSON object per line\n"
    "       mirudex-lookup --import-jmdict FILE [--language LANG]\n"
    "                                  JMdict (plain or .gz) into DICT/, registered as the next dictionary\n";

int Usage(const std::string& message)
{
    std::fprintf(stderr, "mirudex-lookup: %s\n%s", message.c_str(), kUsage);
    return 2;
}

struct Overrides {
    int type = -1;
    int lang = -1;
    bool fuzzy = false, convert = false, kanaInsensitive = false, wordsOnly = false, substrings = false;
    bool kanji = false, json = false;
    std::string max;
    std::string text;
};

// 0 when parsed; otherwise the exit status of a usage error.
int Parse(const std::vector<std::string>& args, Overrides& o)
{
    std::vector<std::string> words;
    bool options = true;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!options || a.empty() || a[0] != '-' || a == "-") {
            words.push_back(a);
            continue;
        }
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size())
                return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--") {
            options = false;
        } else if (a == "--type") {
            if (!value(v))
                return Usage("--type needs a value");
            const char* names[] = {"begin", "middle", "end", "exact"};
            for (int t = 0; t < 4; ++t)
                if (v == names[t])
                    o.type = t;
            if (o.type < 0)
                return Usage("unknown type: " + v);
        } else if (a == "--lang") {
            if (!value(v))
                return Usage("--lang needs a value");
            if (v == "auto")
                o.lang = 0;
            else if (v == "jp")
                o.lang = 1;
            else if (v == "en")
                o.lang = 2;
            else if (v == "kanji")
                o.lang = 4;
            else
                return Usage("unknown language: " + v);
        } else if (a == "--max") {
            if (!value(o.max) || o.max.empty())
                return Usage("--max needs a number");
            char* end = nullptr;
            std::strtol(o.max.c_str(), &end, 10);
            if (*end != '\0')
                return Usage("--max needs a number: " + o.max);
        } else if (a == "--fuzzy") {
            o.fuzzy = true;
        } else if (a == "--convert") {
            o.convert = true;
        } else if (a == "--kana-insensitive") {
            o.kanaInsensitive = true;
        } else if (a == "--words-only") {
            o.wordsOnly = true;
        } else if (a == "--substrings") {
            o.substrings = true;
        } else if (a == "--kanji") {
            o.kanji = true;
        } else if (a == "--json") {
            o.json = true;
        } else {
            return Usage("unknown option: " + a);
        }
    }
    if (words.empty())
        return Usage("no text to look up");
    for (size_t i = 0; i < words.size(); ++i)
        o.text += (i ? " " : "") + words[i];
    return 0;
}

std::string Join(const std::vector<std::u16string>& list, const char* sep)
{
    std::string out;
    for (size_t i = 0; i < list.size(); ++i)
        out += (i ? sep : "") + Utf16ToUtf8(list[i]);
    return out;
}

nlohmann::json JsonList(const std::vector<std::u16string>& list)
{
    nlohmann::json a = nlohmann::json::array();
    for (const auto& s : list)
        a.push_back(Utf16ToUtf8(s));
    return a;
}

// A set-up error when a file the look-up needs is missing, or cannot even be
// looked at (a folder that may not be searched, a link to itself).
bool Missing(const std::string& optionPath, std::string& message)
{
    const std::string path = platform::FilePath(optionPath);
    std::error_code error;
    if (std::filesystem::exists(path, error))
        return false;
    message = error ? "cannot open dictionary file: " + path + " (" + error.message() + ")"
                    : "missing dictionary file: " + path;
    return true;
}

}  // namespace

int RunLookup(const std::vector<std::string>& args)
{
    Overrides o;
    if (const int status = Parse(args, o))
        return status;

    std::optional<std::u16string> argument = ArgumentText(o.text);
    if (!argument)
        return 2;
    std::u16string text = std::move(*argument);

    Registry options;
    std::error_code optionsError;
    if (std::filesystem::exists("Options.mxreg", optionsError) || optionsError) {
        if (!options.Load("Options.mxreg")) {
            std::fprintf(stderr, "mirudex-lookup: cannot read Options.mxreg\n");
            return 2;
        }
        // An older file may lack newer keys: the defaults fill them in memory.
        Registry defaults;
        defaults.LoadFromText(DefaultOptionsText());
        options.MergeFrom(defaults);
    } else {
        options.LoadFromText(DefaultOptionsText());
    }

    std::string message;
    if (Missing(options.GetString(opt::dictionaries::kanjidic::kPath), message)) {
        std::fprintf(stderr, "mirudex-lookup: %s\n", message.c_str());
        return 2;
    }
    dict::DictionaryStore store;
    // A dictionary that is switched off is never searched: its file may be gone.
    for (const auto& d : dict::ConfiguredDictionaries(options))
        if (d->on && Missing(d->path, message)) {
            std::fprintf(stderr, "mirudex-lookup: %s\n", message.c_str());
            return 2;
        }
    dict::LoadMarkers(store.marker_table);
    text::FuzzyRules rules;
    rules.LoadFuzzySearchInfo();
    dict::LoadAllEDICTS(store, options);

    search::AppState state(options, store, &rules);
    search::RestoreSortStates(options, state.edict_sort, state.kanji_sort);
    auto& so = state.search_options;
    so.type = search::SearchTypeFromStored(o.type >= 0 ? o.type : options.GetINT(opt::search::toolbars::kType));
    so.words_only = o.wordsOnly || options.GetBOOL(opt::search::toolbars::kWord);
    so.kana_insensitive = o.kanaInsensitive || !options.GetBOOL(opt::search::toolbars::kKanaSensitive);
    so.romaji_conversion = o.convert || options.GetBOOL(opt::search::toolbars::kRomajiConversion);
    so.match_substrings = o.substrings || options.GetBOOL(opt::search::toolbars::kSubstr);
    so.results_field = Utf8ToUtf16(o.max.empty() ? std::to_string(options.GetINT(opt::results::kSize)) : o.max);
    // Changes for this run only: the options are never saved here.
    if (o.fuzzy)
        options.SetBOOL(opt::search::toolbars::kFuzzy, true);
    if (o.lang >= 0)
        options.SetINT(opt::search::kLanguage, o.lang);

    search::SearchRequest request{&text, search::TS_NORMAL};
    state.thread_searching = true;
    search::Thread_Search(state, &request);
    search::HandOverFinishedSearch(state);

    const auto& entries = state.edict_results[search::kResultList];
    for (const dict::Entry& e : entries) {
        if (o.json) {
            nlohmann::json j = {{"word", Utf16ToUtf8(e.word)},
                                {"kana", Utf16ToUtf8(e.kana)},
                                {"meanings", JsonList(e.meanings)},
                                {"info", JsonList(e.info)}};
            std::printf("%s\n", j.dump().c_str());
        } else {
            std::printf("%s\n", Utf16ToUtf8(userdata::FormatEntry(e, options)).c_str());
        }
    }
    const bool truncated = state.last_search_result > 0 && (state.last_search_result & search::kStatusTruncated);
    if (truncated)
        std::printf("-Results truncated-\n");
    if (o.kanji) {
        for (const dict::KanjiRecord& k : state.kanji_results) {
            const std::string kanji = Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(k.code)));
            if (o.json) {
                nlohmann::json j = {{"kanji", kanji},
                                    {"on", JsonList(k.onReadings)},
                                    {"kun", JsonList(k.kunReadings)},
                                    {"meanings", JsonList(k.meanings)},
                                    {"strokes", k.strokes},
                                    {"frequency", k.frequency}};
                std::printf("%s\n", j.dump().c_str());
            } else {
                std::printf("%s\t%s\t%s\t%s\t%d\t%d\n", kanji.c_str(), Join(k.onReadings, ", ").c_str(),
                            Join(k.kunReadings, ", ").c_str(), Join(k.meanings, ", ").c_str(), k.strokes, k.frequency);
            }
        }
    }
    const bool found = !entries.empty() || (o.kanji && !state.kanji_results.empty());
    return found ? 0 : 1;
}

}  // namespace mirudex::cli
