#pragma once
// The complete default options file: written as Options.mxreg when there is
// none, and as a temporary file merged into an options file from an older
// version, so that every key the program reads exists.

#include <string>

namespace mirudex {

inline constexpr const char* kOptionsFileName = "Options.mxreg";
inline constexpr const char* kTempOptionsFileName = "temp_optionsfile_temp";

// The text of the default file, percent signs already single.
std::string DefaultOptionsText();
// Writes the default file; on failure shows "Couldn't create a new options
// file." and returns false.
bool WriteDefaultOptionsFile(const std::string& fileName);

}  // namespace mirudex
