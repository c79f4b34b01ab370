#pragma once
// Turning a dictionary line from the encoding of the dictionary it came from
// (the entry names it) into the study list file's encoding, EUC-JP.
// Converting here never reports through the converter's own message boxes.

#include <optional>
#include <string>
#include <string_view>

#include "dict/Entry.h"

namespace mirudex::userdata {

// iconv without any report: nullopt when the conversion is not available or
// the input cannot be converted completely and reversibly.
std::optional<std::string> ConvertQuietly(std::string_view input, const std::string& source, const std::string& target);

// The entry's raw line in EUC-JP: unchanged when its dictionary is in EUC-JP
// or names no encoding, else converted from the dictionary's encoding.
// Characters that EUC-JP lacks become '?' (and *lossy is set), so that the
// study list file stays readable as a whole; a line that cannot even be read
// in its own encoding is logged and given back unchanged.
std::string RawLineInEucJp(const dict::Entry& entry, bool* lossy = nullptr);

}  // namespace mirudex::userdata
