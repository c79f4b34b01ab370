#pragma once
// The command line of mirudex-lookup, every mode at once. Options come
// before or between the words of the text; "--" ends them, so whatever
// follows is text even when it begins with a dash (or is "--kana").

#include <optional>
#include <string>
#include <vector>

namespace mirudex::cli {

struct Arguments {
    enum class Mode { Lookup, Kana, Romaji, Variants, Show, ImportJmdict, BuildIndexes, Help, Version };
    Mode mode = Mode::Lookup;
    std::optional<std::string> workdir;

    // Look-up settings; an unset one keeps the options file's setting.
    int type = -1;  // 0 begin .. 3 exact
    int lang = -1;  // 0 auto, 1 jp, 2 en, 4 kanji
    std::optional<bool> fuzzy, convert, kanaInsensitive, wordsOnly, substrings;
    bool kanji = false, json = false;
    bool read = false;  // --read: the text split into its words, each with its entry
    std::string max;
    std::string sort;  // --sort: a key of kSortNames in Arguments.cpp, empty for the stored order

    std::optional<std::string> rules;          // --variants: the rule file
    std::string importFile;                    // --import-jmdict: the JMdict file (as given, before the working folder)
    std::optional<std::string> glossLanguage;  // --import-jmdict: --language
    std::string indexFolder;                   // --build-indexes: the shared folder
    std::vector<std::string> indexDictionaries;  // --build-indexes: the dictionary files (none: Debian's)
    bool haveText = false;
    std::string text;  // the words, joined by one blank
    // A look-up or text conversion of each line of standard input ("-", or no
    // text when standard input is no terminal); text is then empty.
    bool fromInput = false;
};

// Nothing, and a message, on a usage error. "--name=value" is read as
// "--name value" for every option that takes a value.
std::optional<Arguments> ParseArguments(const std::vector<std::string>& args, std::string& error,
                                        bool inputIsTerminal = true);

// The entry sort key of a --sort name (word, kana, meaning, word-length,
// kana-length, relevance), or -1.
int SortKeyOf(const std::string& name);

// The --help text: every option and the exit statuses.
const char* UsageText();

}  // namespace mirudex::cli
