// The text modes of mirudex-lookup:
//   --kana TEXT                              romaji to kana, as a search converts it
//   --romaji TEXT                            kana to romaji, as the result list shows it
//   --variants TEXT [--convert] [--rules FILE]
//                                            the reverse-conjugation variants of TEXT,
//                                            one per line, after the preparation a
//                                            search gives a text (romaji conversion
//                                            with --convert, then the fullwidth mapping);
//                                            the rules of the working folder unless
//                                            --rules names a file
// Text comes in and goes out as UTF-8.
#include <cstdio>
#include <string>

#include "cli/Commands.h"
#include "platform/api/Utf.h"
#include "text/CharClass.h"
#include "text/FuzzySearch.h"
#include "text/Romaji.h"

namespace mirudex::cli {
namespace {

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

int RunTextCommand(const Arguments& args)
{
    const std::optional<std::u16string> argument = ArgumentText(args.text);
    if (!argument)
        return 2;
    const std::u16string& text = *argument;
    switch (args.mode) {
    case Arguments::Mode::Kana: PrintLine(text::RomajiToKana(text, true)); return 0;
    case Arguments::Mode::Romaji: PrintLine(text::KanaToRomaji(text)); return 0;
    case Arguments::Mode::Variants: {
        // A rule file named here is read from where the command was given.
        if (!args.rules && !EnterWorkingFolder(args))
            return 2;
        const std::string rulesPath = args.rules.value_or(text::kFuzzyRulesFileName);
        text::FuzzyRules rules;
        if (!rules.LoadFuzzySearchInfo(rulesPath)) {
            std::fprintf(stderr, "mirudex-lookup: cannot open the rule file %s\n", rulesPath.c_str());
            return 2;
        }
        std::u16string prepared = args.convert.value_or(false) ? text::RomajiToKana(text, true) : text;
        prepared = text::ToFullwidthText(prepared);
        for (const auto& variant : rules.FuzzySearch(prepared))
            PrintLine(variant);
        return 0;
    }
    default: return 2;
    }
}

}  // namespace mirudex::cli
