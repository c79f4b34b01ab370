// mirudex-lookup --import-jmdict FILE [--language LANG]: turns a JMdict file
// (plain or .gz) into an EDICT2 dictionary in the working folder's DICT/ and
// registers it in Options.mxreg as the next dictionary (once: importing the
// same file again replaces the dictionary). Progress goes to standard error.
// Options.mxreg is read, changed and written under its lock (core/OptionsFile.h),
// so that a desktop program running meanwhile keeps the new dictionary when it
// writes the file at its exit.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "cli/Arguments.h"

#include "cli/Commands.h"
#include "core/DefaultOptions.h"
#include "core/OptionsFile.h"
#include "core/Registry.h"
#include "dict/DictionaryOptions.h"
#include "dict/JmdictImport.h"
#include "platform/api/Platform.h"
#include "platform/api/Utf.h"

namespace mirudex::cli {

namespace {

constexpr const char* kOptionsFile = "Options.mxreg";

// Options.mxreg with the defaults merged in (the defaults alone when there is
// none); false after a message when it cannot be read.
bool ReadOptions(Registry& options)
{
    std::error_code error;
    if (std::filesystem::exists(kOptionsFile, error)) {
        if (!options.Load(kOptionsFile)) {
            std::fprintf(stderr, "mirudex-lookup: cannot read %s\n", kOptionsFile);
            return false;
        }
        Registry defaults;
        defaults.LoadFromText(DefaultOptionsText());
        MergeDefaultOptions(options, defaults);
    } else {
        options.LoadFromText(DefaultOptionsText());
    }
    return true;
}

}  // namespace

int RunImportCommand(const Arguments& args)
{
    // The file is named from where the command was given, before the working folder is entered.
    std::error_code error;
    const std::string input = std::filesystem::absolute(args.importFile, error).string();
    if (!EnterWorkingFolder(args))
        return 2;

    Registry options;
    if (!ReadOptions(options))
        return 2;
    const std::string language = args.glossLanguage.value_or(options.GetString(opt::dictionaries::jmdict::kLanguage));

    const std::string optionPath = dict::ImportedDictionaryPath(input);
    const std::string output = platform::FilePath(optionPath);
    std::filesystem::create_directories(std::filesystem::path(output).parent_path(), error);

    int shown = -1;
    const auto outcome = dict::ImportJmdict(input, output, language, [&shown](double fraction) {
        const int percent = static_cast<int>(fraction * 100);
        if (percent != shown) {
            shown = percent;
            std::fprintf(stderr, "\rImporting JMdict... %d%%", percent);
        }
    });
    if (shown >= 0)
        std::fprintf(stderr, "\n");
    if (outcome.status != dict::ImportStatus::Done) {
        std::fprintf(stderr, "mirudex-lookup: %s\n",
                     Utf16ToUtf8(dict::ImportFailureText(outcome, args.importFile)).c_str());
        return 2;
    }

    // The options again, under their lock until they are written: what
    // another program wrote during the import is kept.
    OptionsFileLock lock;
    if (!lock.Acquire(kOptionsFile)) {
        if (lock.error() == EWOULDBLOCK)
            std::fprintf(stderr,
                         "mirudex-lookup: the dictionary %s was written, but %s stays locked by another "
                         "program; import it again later\n",
                         output.c_str(), kOptionsFile);
        else
            std::fprintf(stderr, "mirudex-lookup: the dictionary %s was written, but %s cannot be locked: %s\n",
                         output.c_str(), kOptionsFile, std::strerror(lock.error()));
        return 2;
    }
    options = Registry();
    if (!ReadOptions(options))
        return 2;
    int number = dict::FindConfiguredDictionary(options, optionPath);
    const bool added = number < 0;
    if (added)
        number = dict::RegisterDictionary(options, optionPath, dict::ImportedDictionaryName(input), "UTF-8", true);
    dict::EnsureLineBuffer(options, outcome.longestLine);
    if (!options.Save(kOptionsFile)) {
        std::fprintf(stderr, "mirudex-lookup: the dictionary %s was written, but %s could not be saved\n",
                     output.c_str(), kOptionsFile);
        return 2;
    }
    std::fprintf(stderr, "%d entries written to %s (%s dictionary %d)", outcome.entries, output.c_str(),
                 added ? "added as" : "replacing", number);
    if (outcome.withoutGloss > 0)
        std::fprintf(stderr, "; %d entries without glosses in '%s' left out", outcome.withoutGloss, language.c_str());
    if (outcome.tooLarge > 0)
        std::fprintf(stderr, "; %d entries larger than an entry may be left out", outcome.tooLarge);
    std::fprintf(stderr, ".\n");
    return 0;
}

}  // namespace mirudex::cli
