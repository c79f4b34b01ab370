#pragma once
// The modes of mirudex-lookup. Each takes the parsed command line and returns
// the process's exit status (0 found/done, 1 nothing found, 2 usage or
// set-up error).

#include <optional>
#include <string>

#include "cli/Arguments.h"

namespace mirudex::cli {

// --kana, --romaji, --variants (text conversions).
int RunTextCommand(const Arguments& args);
// --import-jmdict FILE [--language LANG]: JMdict into the working folder's DICT/, registered.
int RunImportCommand(const Arguments& args);
// --build-indexes FOLDER [FILE...]: the index files every user shares, made in FOLDER.
int RunBuildIndexesCommand(const Arguments& args);
// A dictionary look-up; the default mode.
int RunLookup(const Arguments& args);
// --show: hands the text to the running Mirudex, or starts one.
int RunShow(const Arguments& args);

// Chooses, prepares and enters the working folder (the rules of
// desktop/WorkingFolder.h); false after a message when it cannot be had.
bool EnterWorkingFolder(const Arguments& args);

// Ends a usage error: the message and a pointer to --help, status 2.
int Usage(const std::string& message);

// The text of an argument, which must be valid UTF-8. Otherwise nothing,
// after the message "mirudex-lookup: the text is not valid UTF-8 ..." on the
// standard error; the caller then ends with status 2.
std::optional<std::u16string> ArgumentText(const std::string& arg);

}  // namespace mirudex::cli
