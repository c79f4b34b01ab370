#pragma once
// The modes of mirudex-lookup. Each takes the arguments after the program
// name and returns the process's exit status (0 found/done, 1 nothing found,
// 2 usage or set-up error).

#include <optional>
#include <string>
#include <vector>

namespace mirudex::cli {

// --kana, --romaji, --variants (text conversions); -1 when args are not one of them.
int RunTextCommand(const std::vector<std::string>& args);
// --import-jmdict FILE [--language LANG]; -1 when args are not that mode.
int RunImportCommand(const std::vector<std::string>& args);
// A dictionary look-up; the default mode.
int RunLookup(const std::vector<std::string>& args);

// The text of an argument, which must be valid UTF-8. Otherwise nothing,
// after the message "mirudex-lookup: the text is not valid UTF-8 ..." on the
// standard error; the caller then ends with status 2.
std::optional<std::u16string> ArgumentText(const std::string& arg);

}  // namespace mirudex::cli
