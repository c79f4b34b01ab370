#pragma once
// The complete default options file: written as Options.mxreg when there is
// none, and as a temporary file merged into an options file from an older
// version, so that every key the program reads exists.

#include <string>

namespace mirudex {

class Registry;

inline constexpr const char* kOptionsFileName = "Options.mxreg";
inline constexpr const char* kTempOptionsFileName = "temp_optionsfile_temp";

// The text of the default file, percent signs already single.
std::string DefaultOptionsText();
// Writes the default file; on failure shows "Couldn't create a new options
// file." and returns false.
bool WriteDefaultOptionsFile(const std::string& fileName);

// Brings options up to date with the defaults (Registry::MergeFrom), except
// for the list of dictionaries: once a file has its own list
// (Dictionaries\EDICT\Number), the defaults' dictionaries are not merged
// into it, so a list the user made is never extended or filled in with
// another dictionary's items.
// defaults is used up (its dictionary list may be taken out).
void MergeDefaultOptions(Registry& options, Registry& defaults);

}  // namespace mirudex
