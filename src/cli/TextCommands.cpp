// The text modes of mirudex-lookup:
//   --kana TEXT                              romaji to kana, as a search converts it
//   --romaji TEXT                            kana to romaji, as the result list shows it
//   --variants TEXT [--convert] [--rules FILE]
//                                            the reverse-conjugation variants of TEXT,
//                                            one per line, after the preparation a
//                                            search gives a text (romaji conversion
//                                            with --convert, then the fullwidth mapping)
// Text comes in and goes out as UTF-8.
#include <cstdio>
#include <optional>
#include <string>

#include "cli/Commands.h"
#include "platform/api/Utf.h"
#include "text/CharClass.h"
#include "text/FuzzySearch.h"
#include "text/Romaji.h"

namespace mirudex::cli {
namespace {

enum class Mode { Kana, Romaji, Variants };

struct TextArgs {
    Mode mode = Mode::Kana;
    std::string text;
    bool convert = false;
    std::string rulesPath = text::kFuzzyRulesFileName;
};

std::optional<Mode> ModeOf(const std::string& arg)
{
    if (arg == "--kana")
        return Mode::Kana;
    if (arg == "--romaji")
        return Mode::Romaji;
    if (arg == "--variants")
        return Mode::Variants;
    return std::nullopt;
}

void PrintUsage()
{
    std::fprintf(stderr,
                 "usage: mirudex-lookup --kana TEXT\n"
                 "       mirudex-lookup --romaji TEXT\n"
                 "       mirudex-lookup --variants TEXT [--convert] [--rules FILE]\n");
}

// Parses the arguments of a text mode; nullopt (after the usage text) when
// they are malformed.
std::optional<TextArgs> Parse(const std::vector<std::string>& args)
{
    TextArgs parsed;
    bool haveMode = false;
    bool haveRules = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (auto mode = ModeOf(arg)) {
            if (haveMode || i + 1 >= args.size())
                return std::nullopt;
            parsed.mode = *mode;
            parsed.text = args[++i];
            haveMode = true;
        } else if (arg == "--convert") {
            parsed.convert = true;
        } else if (arg == "--rules") {
            if (i + 1 >= args.size())
                return std::nullopt;
            parsed.rulesPath = args[++i];
            haveRules = true;
        } else {
            return std::nullopt;
        }
    }
    if (parsed.mode != Mode::Variants && (parsed.convert || haveRules))
        return std::nullopt;
    return parsed;
}

void PrintLine(const std::u16string& text) { std::printf("%s\n", Utf16ToUtf8(text).c_str()); }

}  // namespace

std::optional<std::u16string> ArgumentText(const std::string& arg)
{
    Utf8Fault fault;
    std::optional<std::u16string> text = DecodeUtf8(arg, &fault);
    if (!text)
        std::fprintf(stderr, "mirudex-lookup: the text is not valid UTF-8 (%s at byte %zu)\n",
                     fault.incomplete ? "a character cut short" : "a byte sequence that is no character",
                     fault.offset + 1);
    return text;
}

int RunTextCommand(const std::vector<std::string>& args)
{
    bool isTextMode = false;
    for (const auto& arg : args)
        isTextMode = isTextMode || ModeOf(arg).has_value();
    if (!isTextMode)
        return -1;

    const auto parsed = Parse(args);
    if (!parsed) {
        PrintUsage();
        return 2;
    }
    const std::optional<std::u16string> argument = ArgumentText(parsed->text);
    if (!argument)
        return 2;
    const std::u16string& text = *argument;
    switch (parsed->mode) {
    case Mode::Kana: PrintLine(text::RomajiToKana(text, true)); return 0;
    case Mode::Romaji: PrintLine(text::KanaToRomaji(text)); return 0;
    case Mode::Variants: {
        text::FuzzyRules rules;
        if (!rules.LoadFuzzySearchInfo(parsed->rulesPath)) {
            std::fprintf(stderr, "mirudex-lookup: cannot open the rule file %s\n", parsed->rulesPath.c_str());
            return 2;
        }
        std::u16string prepared = parsed->convert ? text::RomajiToKana(text, true) : text;
        prepared = text::ToFullwidthText(prepared);
        for (const auto& variant : rules.FuzzySearch(prepared))
            PrintLine(variant);
        return 0;
    }
    }
    return 2;
}

}  // namespace mirudex::cli
