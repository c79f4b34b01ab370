#pragma once
// Turning a dictionary line from the encoding of the dictionary it came from
// into the study list file's encoding. An entry does not say which
// dictionary it came from, so the encoding is recognised: the line's
// headword, read in a candidate encoding, must give the entry's word.
// Probing converts quietly (no log line, no message box).

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "dict/Entry.h"

namespace mirudex::userdata {

// iconv without any report: nullopt when the conversion is not available or
// the input cannot be converted completely and reversibly.
std::optional<std::string> ConvertQuietly(std::string_view input, const std::string& source, const std::string& target);

// The entry's raw line in EUC-JP: unchanged when it already is (or when its
// encoding is not recognised), converted when its headword reads as the
// entry's word in one of the candidate encodings. A line that cannot be
// converted is logged and given back unchanged.
std::string RawLineInEucJp(const dict::Entry& entry, std::span<const std::string> candidateEncodings);

}  // namespace mirudex::userdata
