// mirudex-lookup's look-up mode: the program's search engine on the working
// folder's options and dictionaries, answering on the terminal.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/Commands.h"
#include "cli/Io.h"
#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "dict/DictionaryStore.h"
#include "platform/api/ConsolePlatform.h"
#include "platform/api/Platform.h"
#include "platform/api/Utf.h"
#include "search/AppState.h"
#include "search/Dispatcher.h"
#include "search/EnglishSearch.h"
#include "search/JapaneseSearch.h"
#include "search/Reader.h"
#include "search/Sorting.h"
#include "search/Worker.h"
#include "text/CharClass.h"
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

// Each sense: its glosses, its markers as the line writes them ("n",
// "abbr"), and what the marker table says they mean, in the same order.
nlohmann::json JsonSenses(const std::vector<dict::Sense>& senses)
{
    nlohmann::json a = nlohmann::json::array();
    for (const dict::Sense& sense : senses) {
        nlohmann::json tags = nlohmann::json::array(), descriptions = nlohmann::json::array();
        for (const dict::SenseTag& tag : sense.tags) {
            tags.push_back(Utf16ToUtf8(tag.marker));
            descriptions.push_back(Utf16ToUtf8(tag.description));
        }
        a.push_back({{"glosses", JsonList(sense.glosses)}, {"tags", tags}, {"descriptions", descriptions}});
    }
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

// Whether a text holds no '%' and no backslash: four units at a time (a
// unit is zero after the xor exactly where it was the character looked for).
bool PlainText(std::u16string_view t)
{
    constexpr uint64_t kOnes = 0x0001000100010001, kHighs = 0x8000800080008000;
    auto anyZero = [](uint64_t x) { return ((x - kOnes) & ~x & kHighs) != 0; };
    size_t i = 0;
    for (; i + 4 <= t.size(); i += 4) {
        uint64_t units;
        std::memcpy(&units, t.data() + i, sizeof units);
        if (anyZero(units ^ (kOnes * u'%')) || anyZero(units ^ (kOnes * u'\\')))
            return false;
    }
    for (; i < t.size(); ++i)
        if (t[i] == u'%' || t[i] == u'\\')
            return false;
    return true;
}

// The copy format laid out once: what the format gives for any entry whose
// texts hold neither '%' nor a backslash, as a template with a stand-in
// character for each text. Such texts cannot make or complete a key, so
// putting them into the template gives what expanding the format with them
// gives; any other entry is expanded the usual way.
class EntryLayout {
public:
    // sepMeaning: between the glosses of a sense, for %senses.
    EntryLayout(std::u16string format, std::u16string sepMeaning)
        : format_(std::move(format)), sepMeaning_(std::move(sepMeaning))
    {
        dict::Entry stand;
        stand.word = std::u16string(1, kWord);
        stand.kana = std::u16string(1, kKana);
        template_ = userdata::FormatEntry(format_, stand, std::u16string(1, kInfo), std::u16string(1, kMeaning),
                                          std::u16string(1, kSenses));
        // The senses are made from a whole entry, which the texts of a line alone do not give.
        usable_ = template_.find(u'%') == std::u16string::npos && template_.find(kSenses) == std::u16string::npos &&
                  std::none_of(format_.begin(), format_.end(), [](char16_t c) { return c >= kWord && c <= kSenses; });
    }

    std::u16string Format(const dict::Entry& e, const std::u16string& info, const std::u16string& meanings) const
    {
        if (!Fits(e.word, e.kana, info, meanings))
            return userdata::FormatEntry(format_, e, info, meanings, dict::SenseGroupedText(e, sepMeaning_));
        std::u16string out;
        Put(e.word, e.kana, info, meanings, out);
        return out;
    }

    // Whether the template gives these texts' expansion (else only FormatEntry does).
    bool Fits(std::u16string_view word, std::u16string_view kana, std::u16string_view info,
              std::u16string_view meanings) const
    {
        return usable_ && PlainText(word) && PlainText(kana) && PlainText(info) && PlainText(meanings) &&
               format_.size() + 2 * (word.size() + kana.size() + info.size() + meanings.size()) <=
                   userdata::kMaxCopyTextLength;
    }

    // The template filled in, into out (replaced). Only for texts that fit.
    void Put(std::u16string_view word, std::u16string_view kana, std::u16string_view info, std::u16string_view meanings,
             std::u16string& out) const
    {
        out.clear();
        out.reserve(template_.size() + word.size() + kana.size() + info.size() + meanings.size());
        for (char16_t c : template_) {
            switch (c) {
            case kWord: out += word; break;
            case kKana: out += kana; break;
            case kInfo: out += info; break;
            case kMeaning: out += meanings; break;
            default: out.push_back(c);
            }
        }
    }

private:
    // Private-use characters: the stand-ins for the texts.
    static constexpr char16_t kWord = u'\uE000', kKana = u'\uE001', kInfo = u'\uE002', kMeaning = u'\uE003',
                              kSenses = u'\uE004';
    std::u16string format_;
    std::u16string sepMeaning_;
    std::u16string template_;
    bool usable_ = false;
};

// The text of a search that is an English search and nothing else (the
// language forced to English, no kanji printed, printable ASCII), sorted by
// what the records hold: such a search can be printed as it is read. Anything
// else goes through the worker as in the program.
std::optional<std::u16string> StreamedEnglishText(const search::AppState& state, const std::u16string& text,
                                                  bool printKanji)
{
    const search::SearchSettings settings = search::CurrentSearchSettings(state);
    std::u16string english = text;
    const int language = settings.language | search::TakeLanguagePrefixes(english);
    auto same = [](const search::EntrySortLevel& a, const search::EntrySortLevel& b) {
        return a.key == b.key && a.descending == b.descending;
    };
    // A plain EDICT line's entry has its record's headword and reading; an
    // EDICT2 line's has all its forms.
    for (const auto& d : state.store.edict_dictionaries)
        if (d->on && d->form != dict::LineForm::Edict)
            return std::nullopt;
    if (printKanji || language != search::kLangEnglish || english.empty() || !text::IsAllPrintableAscii(english) ||
        search::SortNeedsMeanings(state.edict_sort) || !same(settings.sort.primary, state.edict_sort.primary) ||
        !same(settings.sort.secondary, state.edict_sort.secondary))
        return std::nullopt;
    return english;
}

}  // namespace

int RunLookup(const Arguments& o)
{
    // A text on the command line is checked before anything is set up; a
    // line of standard input when it comes.
    auto checked = [&o](const std::string& given) -> std::optional<std::u16string> {
        std::optional<std::u16string> text = ArgumentText(given);
        if (!text || o.read)
            return text;  // a text to read has no prefixes
        std::u16string query = *text;
        search::TakeLanguagePrefixes(query);
        if (query.empty()) {
            Usage("nothing to look up after the prefix");
            return std::nullopt;
        }
        return text;
    };
    std::optional<std::u16string> argument;
    if (!o.fromInput && !(argument = checked(o.text)))
        return 2;
    if (!EnterWorkingFolder(o))
        return 2;
    static LookupPlatform lookupPlatform;
    platform::Set(&lookupPlatform);

    Registry options;
    std::error_code optionsError;
    if (std::filesystem::exists("Options.mxreg", optionsError) || optionsError) {
        const RegistryLoadResult loaded = options.LoadFile("Options.mxreg");
        if (loaded.status != RegistryLoad::Loaded) {
            const std::string why = loaded.status == RegistryLoad::TooDeep
                                        ? "its keys are nested too deep; the file is damaged"
                                        : std::generic_category().message(loaded.error);
            std::fprintf(stderr, "mirudex-lookup: cannot read Options.mxreg (%s)\n", why.c_str());
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
    // What the look-up loads lives until the process ends: nothing is freed
    // on the way out (the pointer keeps it reachable, so it is no leak).
    static dict::DictionaryStore* const kept = new dict::DictionaryStore;
    dict::DictionaryStore& store = *kept;
    // A dictionary that is switched off is never searched: its file may be
    // gone, and it is not loaded.
    store.edict_dictionaries = dict::ConfiguredDictionaries(options);
    for (const auto& d : store.edict_dictionaries)
        if (d->on && Missing(d->path, message)) {
            std::fprintf(stderr, "mirudex-lookup: %s\n", message.c_str());
            return 2;
        }
    dict::LoadMarkers(store.marker_table);
    static text::FuzzyRules* const keptRules = new text::FuzzyRules;
    text::FuzzyRules& rules = *keptRules;
    rules.LoadFuzzySearchInfo();
    // Changes for this run only: the options are never saved here.
    if (o.fuzzy)
        options.SetBOOL(opt::search::toolbars::kFuzzy, *o.fuzzy);
    if (o.lang >= 0)
        options.SetINT(opt::search::kLanguage, o.lang);
    // A kanji search finds kanji only: they are its answer, printed without
    // --kanji. The kanji dictionary is loaded only when kanji are printed (or
    // searched), at the first text that needs it.
    const int storedLanguage = options.GetINT(opt::search::kLanguage);
    bool kanjiLoaded = false;
    auto kanjiPrinted = [&](const std::u16string& text) {
        std::u16string query = text;
        const bool printKanji =
            o.kanji || ((search::TakeLanguagePrefixes(query) | storedLanguage) & search::kLangKanji);
        if (printKanji && !kanjiLoaded)
            dict::KANJIDIC_Index_Load(store.kanji_index, options);
        kanjiLoaded = kanjiLoaded || printKanji;
        return printKanji;
    };
    // The word dictionaries are loaded at the first text that searches them:
    // a kanji search alone reads only the kanji dictionary.
    bool edictLoaded = false;
    auto loadDictionariesFor = [&](const std::u16string* text) {
        std::u16string query = text ? *text : std::u16string();
        const int flags = search::TakeLanguagePrefixes(query) | storedLanguage;
        if (edictLoaded || (text && flags == search::kLangKanji))
            return;
        edictLoaded = true;
        for (const auto& d : store.edict_dictionaries)
            if (d->on)
                dict::EDICT_Index_Load(*d, options);
    };

    static search::AppState* const keptState = new search::AppState(options, store, &rules);
    search::AppState& state = *keptState;
    search::RestoreSortStates(options, state.edict_sort, state.kanji_sort);
    if (const int key = SortKeyOf(o.sort); key >= 0) {
        if (state.edict_sort.primary.key != key)
            search::ClickEntrySortKey(state.edict_sort, key);
        state.edict_sort.primary.descending = false;
    }
    auto& so = state.search_options;
    so.type = search::SearchTypeFromStored(o.type >= 0 ? o.type : options.GetINT(opt::search::toolbars::kType));
    so.words_only = o.wordsOnly.value_or(options.GetBOOL(opt::search::toolbars::kWord));
    so.kana_insensitive = o.kanaInsensitive.value_or(!options.GetBOOL(opt::search::toolbars::kKanaSensitive));
    so.romaji_conversion = o.convert.value_or(options.GetBOOL(opt::search::toolbars::kRomajiConversion));
    so.match_substrings = o.substrings.value_or(options.GetBOOL(opt::search::toolbars::kSubstr));
    so.results_field = Utf8ToUtf16(o.max.empty() ? std::to_string(options.GetINT(opt::results::kSize)) : o.max);

    // The copy format and separators, read once.
    const std::u16string sepInfo = userdata::StripBraces(options.GetString(opt::results::copy::kSepInfo));
    const std::u16string sepMeaning = userdata::StripBraces(options.GetString(opt::results::copy::kSepMeaning));
    const EntryLayout layout(userdata::StripBraces(options.GetString(opt::results::copy::kFormat)), sepMeaning);
    auto join = [](const std::vector<std::u16string>& parts, std::u16string_view separator) {
        std::u16string joined;
        for (size_t i = 0; i < parts.size(); ++i) {
            if (i > 0)
                joined += separator;
            joined += parts[i];
        }
        return joined;
    };
    std::string out;
    auto flush = [&] {
        if (out.size() >= (1 << 16)) {
            Put(out);
            out.clear();
        }
    };
    auto print = [&](const dict::Entry& e) {
        if (o.json) {
            nlohmann::json j = {{"word", Utf16ToUtf8(e.word)},      {"kana", Utf16ToUtf8(e.kana)},
                                {"meanings", JsonList(e.meanings)}, {"info", JsonList(e.info)},
                                {"senses", JsonSenses(e.senses)},   {"common", e.common}};
            out += j.dump();
        } else {
            out += Utf16ToUtf8(layout.Format(e, join(e.info, sepInfo), join(e.meanings, sepMeaning)));
        }
        out += '\n';
        flush();
    };

    // One look-up: 0 found, 1 nothing found.
    auto lookUp = [&](std::u16string text) {
        loadDictionariesFor(&text);
        const bool printKanji = kanjiPrinted(text);
        size_t printed = 0;
        if (auto english = StreamedEnglishText(state, text, printKanji)) {
            // An English search alone: its results are sorted by their records'
            // texts and read and printed one at a time.
            state.max_results = search::MaxResultsOfField(so.results_field);
            search::EnglishResults results(state, state.search_options, std::move(*english));
            // Each result's line in the searched bytes (empty: none) and dictionary.
            std::vector<std::pair<std::string_view, const dict::Dictionary*>> lines(o.json ? 0 : results.size());
            std::vector<search::EntryKeys> keys(results.size());
            for (size_t i = 0; i < keys.size(); ++i) {
                const dict::IndexEntry record = results.IndexOf(i);
                keys[i] = {record.word, record.kana, results.RelevanceOf(i)};
                if (!o.json)
                    lines[i] = {results.LineOf(i, record), &results.DictionaryOf(i)};
            }
            const std::vector<uint32_t> order = search::SortedOrder(keys, state.edict_sort);
            // What the printing needs, gathered in the sorted order.
            struct Printed {
                std::string_view line;
                const dict::Dictionary* dictionary;
                std::u16string_view word, kana;
            };
            std::vector<Printed> sorted(lines.size());
            for (size_t k = 0; k < sorted.size(); ++k) {
                const uint32_t i = order[k];
                sorted[k] = {lines[i].first, lines[i].second, keys[i].word, keys[i].kana};
            }
            lines = {};
            // A line in the searched bytes is printed from its texts alone when
            // the template gives its expansion; any other is filled as an entry.
            dict::Entry entry;
            std::u16string info, meanings, line;
            for (size_t k = 0; k < order.size(); ++k) {
                const uint32_t i = order[k];
                if (!o.json) {
                    // The lines lie in the order of the file, not of the sort:
                    // those a few entries ahead are fetched while this one is printed.
                    if (k + 8 < sorted.size()) {
                        const Printed& ahead = sorted[k + 8];
                        for (size_t at = 0; at < ahead.line.size(); at += 64)
                            __builtin_prefetch(ahead.line.data() + at);
                        __builtin_prefetch(ahead.word.data());
                        __builtin_prefetch(ahead.kana.data());
                    }
                    const Printed& p = sorted[k];
                    if (!p.line.empty() &&
                        dict::JoinedTextsOfLine(p.line, *p.dictionary, store.marker_table, sepInfo, sepMeaning, info,
                                                meanings) &&
                        layout.Fits(p.word, p.kana, info, meanings)) {
                        layout.Put(p.word, p.kana, info, meanings, line);
                        AppendUtf8(line, out);
                        out += '\n';
                        flush();
                        continue;
                    }
                }
                results.Fill(i, entry, false);
                print(entry);
            }
            printed = results.size();
            state.last_search_result = results.status();
        } else {
            // The kanji of the words are collected only when they are printed.
            search::SearchRequest request{&text, printKanji ? search::TS_NORMAL : search::TS_NO_KANJI};
            state.thread_searching = true;
            search::Thread_Search(state, &request);
            search::HandOverFinishedSearch(state, printKanji);
            for (const dict::Entry& e : state.edict_results[search::kResultList])
                print(e);
            printed = state.edict_results[search::kResultList].size();
        }
        Put(out);
        out.clear();
        const bool truncated = state.last_search_result > 0 && (state.last_search_result & search::kStatusTruncated);
        // Every line of JSON output is JSON: the note goes beside it.
        if (truncated && o.json) {
            std::fflush(stdout);
            std::fputs("-Results truncated-\n", stderr);
        } else if (truncated) {
            Put("-Results truncated-\n");
        }
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
                    Put(j.dump() + "\n");
                } else {
                    Put(kanji + "\t" + Join(k.onReadings, ", ") + "\t" + Join(k.kunReadings, ", ") + "\t" +
                        Join(k.meanings, ", ") + "\t" + std::to_string(k.strokes) + "\t" + std::to_string(k.frequency) +
                        "\n");
                }
            }
        }
        // Results cut off at the maximum were found all the same.
        const bool found = printed > 0 || truncated || (printKanji && !state.kanji_results.empty());
        return found ? 0 : 1;
    };

    // --read: the text's words, one a line: 0 when any was found in a dictionary.
    auto read = [&](const std::u16string& text) {
        loadDictionariesFor(nullptr);  // every word of the text is looked up
        bool anyFound = false;
        for (const search::ReadToken& t : search::ReadText(state, text)) {
            anyFound = anyFound || t.found();
            if (o.json) {
                nlohmann::json j = {{"surface", Utf16ToUtf8(t.surface)},
                                    {"word", Utf16ToUtf8(t.entry.word)},
                                    {"kana", Utf16ToUtf8(t.entry.kana)},
                                    {"reading", Utf16ToUtf8(t.reading)},
                                    {"meanings", JsonList(t.entry.meanings)}};
                out += j.dump();
            } else {
                // A line break or tab of the text would break the line: shown as a blank.
                std::u16string surface = t.surface;
                std::replace_if(
                    surface.begin(), surface.end(), [](char16_t c) { return c < 0x20; }, u' ');
                out += Utf16ToUtf8(surface) + '\t' + Utf16ToUtf8(t.entry.word) + '\t' + Utf16ToUtf8(t.entry.kana) +
                       '\t' + (t.entry.meanings.empty() ? std::string() : Utf16ToUtf8(t.entry.meanings.front()));
            }
            out += '\n';
            flush();
        }
        Put(out);
        out.clear();
        return anyFound ? 0 : 1;
    };
    if (o.read)
        state.max_results = -1;
    auto lookUpOrRead = [&](std::u16string text) { return o.read ? read(text) : lookUp(std::move(text)); };

    if (!o.fromInput)
        return lookUpOrRead(std::move(*argument));
    // Each line of standard input is a look-up (blank lines are skipped):
    // 0 when any found something, 1 when none did, 2 after a line that could
    // not be looked up; the output ends at the first write that fails.
    int status = 1;
    bool failed = false;
    ForEachInputLine([&](const std::string& line) {
        if (line.find_first_not_of(" \t\v\f") == std::string::npos)
            return true;
        if (std::optional<std::u16string> text = checked(line)) {
            if (lookUpOrRead(std::move(*text)) == 0)
                status = 0;
        } else {
            failed = true;
        }
        return !OutputFailed();
    });
    return failed ? 2 : status;
}

}  // namespace mirudex::cli
