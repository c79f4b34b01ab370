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
// Text comes in and goes out as UTF-8; read from standard input, each line
// is converted in turn.
#include <cstdio>
#include <string>

#include "cli/Commands.h"
#include "cli/Io.h"
#include "platform/api/Utf.h"
#include "text/CharClass.h"
#include "text/FuzzySearch.h"
#include "text/Romaji.h"

namespace mirudex::cli {
namespace {

void PrintLine(const std::u16string& text) { Put(Utf16ToUtf8(text) + "\n"); }

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
    text::FuzzyRules rules;
    if (args.mode == Arguments::Mode::Variants) {
        // A rule file named here is read from where the command was given.
        if (!args.rules && !EnterWorkingFolder(args))
            return 2;
        const std::string rulesPath = args.rules.value_or(text::kFuzzyRulesFileName);
        if (!rules.LoadFuzzySearchInfo(rulesPath)) {
            std::fprintf(stderr, "mirudex-lookup: cannot open the rule file %s\n", rulesPath.c_str());
            return 2;
        }
    }
    // One text: its conversion. Read from standard input: one line out for
    // each line in (the variants of each, one a line).
    auto convert = [&](const std::string& line) {
        const std::optional<std::u16string> argument = ArgumentText(line);
        if (!argument)
            return false;
        const std::u16string& text = *argument;
        switch (args.mode) {
        case Arguments::Mode::Kana: PrintLine(text::RomajiToKana(text, true)); break;
        case Arguments::Mode::Romaji: PrintLine(text::KanaToRomaji(text)); break;
        default: {
            std::u16string prepared = args.convert.value_or(false) ? text::RomajiToKana(text, true) : text;
            prepared = text::ToFullwidthText(prepared);
            for (const auto& variant : rules.FuzzySearch(prepared))
                PrintLine(variant);
        }
        }
        return true;
    };
    if (!args.fromInput)
        return convert(args.text) ? 0 : 2;
    int status = 0;
    ForEachInputLine([&](const std::string& line) {
        if (!convert(line))
            status = 2;
        return !OutputFailed();
    });
    return status;
}

}  // namespace mirudex::cli
