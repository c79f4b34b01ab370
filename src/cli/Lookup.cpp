// mirudex-lookup's look-up mode: the program's search engine on the working
// folder's options and dictionaries, answering on the terminal.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/Commands.h"
#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "dict/DictionaryStore.h"
#include "platform/api/ConsolePlatform.h"
#include "platform/api/Platform.h"
#include "platform/api/Utf.h"
#include "search/AppState.h"
#include "search/Dispatcher.h"
#include "search/JapaneseSearch.h"
#include "search/Sorting.h"
#include "search/Worker.h"
#include "text/FuzzySearch.h"
#include "userdata/Copy.h"

namespace mirudex::cli {

namespace {

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
    if (std::filesystem::is_directory(path, error)) {
        message = "the dictionary file is a folder: " + path;
        return true;
    }
    if (std::filesystem::exists(path, error))
        return false;
    message = error ? "cannot open dictionary file: " + path + " (" + error.message() + ")"
                    : "missing dictionary file: " + path;
    return true;
}

const RegistryKey* Child(const RegistryKey* key, const std::string& name)
{
    return key ? key->FindChild(name) : nullptr;
}

// The first item a dictionary entry of the options file lacks ("Dictionaries\EDICT\1\Path"),
// or nothing when every entry is whole. The program itself would end at it.
std::optional<std::string> IncompleteDictionaryEntry(Registry& options)
{
    const RegistryKey* dictionaries = Child(&options.root(), "Dictionaries");
    const RegistryKey* edict = Child(dictionaries, "EDICT");
    const RegistryKey* kanjidic = Child(dictionaries, "KANJIDIC");
    if (!kanjidic || !kanjidic->FindData("Path"))
        return "Dictionaries\\KANJIDIC\\Path";
    const RegistryData* number = edict ? edict->FindData("Number") : nullptr;
    if (!number)
        return "Dictionaries\\EDICT\\Number";
    for (int i = 0; i < number->intValue; ++i) {
        const RegistryKey* entry = Child(edict, std::to_string(i));
        if (!entry)
            return "Dictionaries\\EDICT\\" + std::to_string(i);
        for (const char* item : {"Path", "Name", "Encoding", "On"})
            if (!entry->FindData(item))
                return "Dictionaries\\EDICT\\" + std::to_string(i) + "\\" + item;
    }
    return std::nullopt;
}

// The platform of the look-up: a key the options lack ends it as a set-up error.
class LookupPlatform : public platform::ConsolePlatform {
public:
    [[noreturn]] void Exit(int) override
    {
        std::fflush(nullptr);
        std::_Exit(2);
    }
};

}  // namespace

int RunLookup(const Arguments& o)
{
    std::optional<std::u16string> argument = ArgumentText(o.text);
    if (!argument)
        return 2;
    std::u16string text = std::move(*argument);
    std::u16string query = text;
    const int forced = search::TakeLanguagePrefixes(query);
    if (query.empty())
        return Usage("nothing to look up after the prefix");
    if (!EnterWorkingFolder(o))
        return 2;
    static LookupPlatform lookupPlatform;
    platform::Set(&lookupPlatform);

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
        MergeDefaultOptions(options, defaults);
        if (const auto item = IncompleteDictionaryEntry(options)) {
            std::fprintf(stderr, "mirudex-lookup: Options.mxreg lacks %s\n", item->c_str());
            return 2;
        }
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
    so.words_only = o.wordsOnly.value_or(options.GetBOOL(opt::search::toolbars::kWord));
    so.kana_insensitive = o.kanaInsensitive.value_or(!options.GetBOOL(opt::search::toolbars::kKanaSensitive));
    so.romaji_conversion = o.convert.value_or(options.GetBOOL(opt::search::toolbars::kRomajiConversion));
    so.match_substrings = o.substrings.value_or(options.GetBOOL(opt::search::toolbars::kSubstr));
    so.results_field = Utf8ToUtf16(o.max.empty() ? std::to_string(options.GetINT(opt::results::kSize)) : o.max);
    // Changes for this run only: the options are never saved here.
    if (o.fuzzy)
        options.SetBOOL(opt::search::toolbars::kFuzzy, *o.fuzzy);
    if (o.lang >= 0)
        options.SetINT(opt::search::kLanguage, o.lang);
    // A kanji search finds kanji only: they are its answer, printed without --kanji.
    const int language = forced | options.GetINT(opt::search::kLanguage);
    const bool printKanji = o.kanji || (language & search::kLangKanji) != 0;

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
    if (printKanji) {
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
    // Results cut off at the maximum were found all the same, also when none is shown (--max 0).
    const bool found = !entries.empty() || truncated || (printKanji && !state.kanji_results.empty());
    return found ? 0 : 1;
}

}  // namespace mirudex::cli
