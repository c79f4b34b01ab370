#include "cli/Arguments.h"

#include <string_view>

namespace mirudex::cli {

namespace {

struct Switch {
    std::string_view on;
    std::string_view off;
    std::optional<bool> Arguments::*field;
};
constexpr Switch kSwitches[] = {
    {"--fuzzy", "--no-fuzzy", &Arguments::fuzzy},
    {"--convert", "--no-convert", &Arguments::convert},
    {"--kana-insensitive", "--no-kana-insensitive", &Arguments::kanaInsensitive},
    {"--words-only", "--no-words-only", &Arguments::wordsOnly},
    {"--substrings", "--no-substrings", &Arguments::substrings},
};

struct ModeFlag {
    std::string_view name;
    Arguments::Mode mode;
};
constexpr ModeFlag kModes[] = {
    {"--kana", Arguments::Mode::Kana},         {"--romaji", Arguments::Mode::Romaji},
    {"--variants", Arguments::Mode::Variants}, {"--show", Arguments::Mode::Show},
    {"--help", Arguments::Mode::Help},         {"-h", Arguments::Mode::Help},
    {"--version", Arguments::Mode::Version},
};

constexpr const char* kOneMode =
    "choose one of --kana, --romaji, --variants, --show, --import-jmdict, --build-indexes, --help, --version";

bool IsBlank(const std::string& text)
{
    for (char c : text)
        if (c != ' ' && (c < '\t' || c > '\r'))
            return false;
    return true;
}

}  // namespace

int SortKeyOf(const std::string& name)
{
    // The values are the result window's header item ids (search/Sorting.h).
    struct Name {
        const char* name;
        int key;
    };
    static constexpr Name kSortNames[] = {{"word", 0},        {"kana", 1},        {"meaning", 3},
                                          {"word-length", 4}, {"kana-length", 5}, {"relevance", 6}};
    for (const Name& n : kSortNames)
        if (name == n.name)
            return n.key;
    return -1;
}

const char* UsageText()
{
    return "usage: mirudex-lookup [options] [--] TEXT        look TEXT up in the dictionaries\n"
           "       mirudex-lookup [options] [-] < FILE        look up each line of standard input\n"
           "       mirudex-lookup --read [--json] [--] TEXT   split Japanese text into its words, one a line:\n"
           "                                                  the word as written, its dictionary form, the\n"
           "                                                  form's reading and first meaning (tab between)\n"
           "       mirudex-lookup --kana TEXT                 romaji to kana, as a search converts it\n"
           "       mirudex-lookup --romaji TEXT               kana to romaji\n"
           "       mirudex-lookup --variants TEXT [--convert] [--rules FILE]\n"
           "                                                  the reverse-conjugation variants of TEXT\n"
           "       mirudex-lookup --show [TEXT]               raise the running Mirudex (and search TEXT\n"
           "                                                  there), starting it when none runs\n"
           "       mirudex-lookup --import-jmdict FILE [--language LANG]\n"
           "                                                  JMdict (plain or .gz) into the working folder's\n"
           "                                                  DICT/, registered as the next dictionary; LANG:\n"
           "                                                  the glosses kept (eng, ger, fre ...)\n"
           "       mirudex-lookup --build-indexes FOLDER [FILE...]\n"
           "                                                  make in FOLDER the index files of the dictionary\n"
           "                                                  FILEs (default: Debian's edict and enamdict) that\n"
           "                                                  every user's look-ups then share (the package\n"
           "                                                  keeps them in /var/cache/mirudex)\n"
           "Look-up options (each setting defaults to the one in Options.mxreg):\n"
           "  --type begin|middle|end|exact   where the text must appear\n"
           "  --lang auto|jp|en|kanji         how to search (or JP: EN: KN: before TEXT)\n"
           "  --fuzzy, --no-fuzzy             reverse conjugation on or off\n"
           "  --convert, --no-convert         romaji to kana conversion on or off\n"
           "  --kana-insensitive, --no-kana-insensitive\n"
           "                                  hiragana and katakana alike, or not\n"
           "  --words-only, --no-words-only   English: whole words only, or not\n"
           "  --substrings, --no-substrings   several substrings at once (each entry once), or not\n"
           "  --max N                         maximum number of results (0: no maximum)\n"
           "  --sort word|kana|meaning|word-length|kana-length|relevance\n"
           "                                  sort by this first, then by the stored sort keys\n"
           "  --kanji                         also print the kanji found (a kanji search always does)\n"
           "  --json                          one JSON object per line (-Results truncated- goes to\n"
           "                                  standard error); with --read one per word: surface, word,\n"
           "                                  kana, reading (of the surface), meanings (word empty when no\n"
           "                                  dictionary holds it)\n"
           "Other options:\n"
           "  --workdir DIR                   work in DIR (default: $MIRUDEX_HOME, the current folder when\n"
           "                                  it holds Options.mxreg, else ${XDG_DATA_HOME:-~/.local/share}/mirudex)\n"
           "  --                              what follows is TEXT, even when it begins with a dash\n"
           "  -h, --help                      print this text\n"
           "Options that take a value take it as the next word or after '=' (--type=middle).\n"
           "Without TEXT (standard input no terminal) or with '-', the texts of a look-up, --kana,\n"
           "--romaji or --variants are read from standard input, one a line.\n"
           "  --version                       print the version\n"
           "Exit status: 0 found (or done; --read: a word found), 1 nothing found, 2 usage or set-up\n"
           "error (also a failed write to standard output).\n";
}

std::optional<Arguments> ParseArguments(const std::vector<std::string>& args, std::string& error, bool inputIsTerminal)
{
    Arguments parsed;
    std::optional<Arguments::Mode> mode;
    std::vector<std::string> words;
    bool lookupOption = false;
    bool options = true;
    bool dash = false;  // "-" before any "--"
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!options || arg.empty() || arg[0] != '-' || arg == "-") {
            if (options && arg == "-")
                dash = true;
            words.push_back(arg);
            continue;
        }
        if (arg == "--") {
            options = false;
            continue;
        }
        // "--name=value" is "--name value".
        const size_t equals = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
        const std::string a = arg.substr(0, equals);
        std::optional<std::string> inlineValue;
        if (equals != std::string::npos)
            inlineValue = arg.substr(equals + 1);
        auto value = [&](std::string& out) {
            if (inlineValue) {
                out = *inlineValue;
                return true;
            }
            if (i + 1 >= args.size())
                return false;
            out = args[++i];
            return true;
        };
        auto takesNone = [&] {
            if (inlineValue)
                error = a + " takes no value";
            return !inlineValue;
        };
        bool known = false;
        for (const ModeFlag& m : kModes) {
            if (a != m.name)
                continue;
            if (mode && *mode != m.mode) {
                error = kOneMode;
                return std::nullopt;
            }
            mode = m.mode;
            known = true;
        }
        for (const Switch& s : kSwitches) {
            if (a == s.on || a == s.off) {
                parsed.*(s.field) = a == s.on;
                lookupOption = lookupOption || s.field != &Arguments::convert;
                known = true;
            }
        }
        if (known) {
            if (!takesNone())
                return std::nullopt;
            continue;
        }
        std::string v;
        if (a == "--type") {
            if (!value(v)) {
                error = "--type needs a value";
                return std::nullopt;
            }
            const char* names[] = {"begin", "middle", "end", "exact"};
            for (int t = 0; t < 4; ++t)
                if (v == names[t])
                    parsed.type = t;
            if (parsed.type < 0) {
                error = "unknown type: " + v;
                return std::nullopt;
            }
            lookupOption = true;
        } else if (a == "--lang") {
            if (!value(v)) {
                error = "--lang needs a value";
                return std::nullopt;
            }
            if (v == "auto")
                parsed.lang = 0;
            else if (v == "jp")
                parsed.lang = 1;
            else if (v == "en")
                parsed.lang = 2;
            else if (v == "kanji")
                parsed.lang = 4;
            else {
                error = "unknown language: " + v;
                return std::nullopt;
            }
            lookupOption = true;
        } else if (a == "--max") {
            // A whole number; 0 (or less) is no maximum, as in the program's Results box.
            if (!value(parsed.max) || parsed.max.empty()) {
                error = "--max needs a number";
                return std::nullopt;
            }
            const size_t digits = parsed.max[0] == '-' ? 1 : 0;
            if (parsed.max.size() == digits ||
                parsed.max.find_first_not_of("0123456789", digits) != std::string::npos) {
                error = "--max needs a whole number (0: no maximum): " + parsed.max;
                return std::nullopt;
            }
            lookupOption = true;
        } else if (a == "--sort") {
            if (!value(parsed.sort) || SortKeyOf(parsed.sort) < 0) {
                error = parsed.sort.empty() ? "--sort needs a key" : "unknown sort key: " + parsed.sort;
                return std::nullopt;
            }
            lookupOption = true;
        } else if (a == "--kanji" || a == "--json" || a == "--read") {
            if (!takesNone())
                return std::nullopt;
            (a == "--kanji" ? parsed.kanji : a == "--json" ? parsed.json : parsed.read) = lookupOption = true;
        } else if (a == "--rules") {
            parsed.rules.emplace();
            if (!value(*parsed.rules)) {
                error = "--rules needs a file";
                return std::nullopt;
            }
        } else if (a == "--import-jmdict") {
            if (mode && *mode != Arguments::Mode::ImportJmdict) {
                error = kOneMode;
                return std::nullopt;
            }
            mode = Arguments::Mode::ImportJmdict;
            if (!value(parsed.importFile) || parsed.importFile.empty()) {
                error = "--import-jmdict needs a file";
                return std::nullopt;
            }
        } else if (a == "--build-indexes") {
            if (mode && *mode != Arguments::Mode::BuildIndexes) {
                error = kOneMode;
                return std::nullopt;
            }
            mode = Arguments::Mode::BuildIndexes;
            if (!value(parsed.indexFolder) || parsed.indexFolder.empty()) {
                error = "--build-indexes needs a folder";
                return std::nullopt;
            }
        } else if (a == "--language") {
            parsed.glossLanguage.emplace();
            if (!value(*parsed.glossLanguage) || parsed.glossLanguage->empty()) {
                error = "--language needs a language";
                return std::nullopt;
            }
        } else if (a == "--workdir") {
            parsed.workdir.emplace();
            if (!value(*parsed.workdir) || parsed.workdir->empty()) {
                error = "--workdir needs a folder";
                return std::nullopt;
            }
        } else {
            error = "unknown option: " + arg;
            return std::nullopt;
        }
    }
    parsed.mode = mode.value_or(Arguments::Mode::Lookup);
    using Mode = Arguments::Mode;
    const bool lookup = parsed.mode == Mode::Lookup;
    if (lookupOption && !lookup) {
        error = "look-up options go with a look-up only";
        return std::nullopt;
    }
    if (parsed.convert && !lookup && parsed.mode != Mode::Variants) {
        error = "--convert goes with a look-up or --variants";
        return std::nullopt;
    }
    if (parsed.rules && parsed.mode != Mode::Variants) {
        error = "--rules goes with --variants";
        return std::nullopt;
    }
    if (parsed.glossLanguage && parsed.mode != Mode::ImportJmdict) {
        error = "--language goes with --import-jmdict";
        return std::nullopt;
    }
    if (parsed.mode == Mode::ImportJmdict && !words.empty()) {
        error = "--import-jmdict takes one file";
        return std::nullopt;
    }
    if (parsed.mode == Mode::BuildIndexes) {
        if (parsed.workdir) {
            error = "--build-indexes works in its own folder, not in a working folder";
            return std::nullopt;
        }
        parsed.indexDictionaries = words;
        return parsed;
    }
    if (parsed.mode == Mode::Help || parsed.mode == Mode::Version || parsed.mode == Mode::ImportJmdict)
        return parsed;
    // Texts from standard input, one a line: "-" alone, or no text when the
    // input is no terminal (a pipe, a file).
    if (parsed.mode != Mode::Show && ((dash && words.size() == 1) || (words.empty() && !inputIsTerminal))) {
        parsed.fromInput = true;
        return parsed;
    }
    parsed.haveText = !words.empty();
    for (size_t i = 0; i < words.size(); ++i)
        parsed.text += (i ? " " : "") + words[i];
    if (parsed.mode != Mode::Show && !parsed.haveText) {
        error = "no text to look up";
        return std::nullopt;
    }
    if (lookup && IsBlank(parsed.text)) {
        error = "the text to look up is empty";
        return std::nullopt;
    }
    // An empty text to show (nothing was highlighted) only raises the window.
    if (parsed.mode == Mode::Show && IsBlank(parsed.text)) {
        parsed.haveText = false;
        parsed.text.clear();
    }
    return parsed;
}

}  // namespace mirudex::cli
