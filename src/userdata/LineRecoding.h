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
// entry's word in one of the candidate encodings. Characters EUC-JP cannot
// hold (𠮟, hangul ...) are written as character references, "&#x20B9F;",
// which the study list's loader turns back (DecodeCharacterReferences); a
// line whose own encoding does not read is logged and given back unchanged.
std::string RawLineInEucJp(const dict::Entry& entry, std::span<const std::string> candidateEncodings);

// text in EUC-JP, every character it cannot hold written as "&#xHEX;".
// nullopt when text is not well-formed UTF-16.
std::optional<std::string> EucJpWithReferences(std::u16string_view text);

// Turns the references EucJpWithReferences writes back into their
// characters: only references to characters EUC-JP cannot hold, so a
// reference the dictionary itself spelled out ("&#x41;") stays as it is.
std::u16string DecodeCharacterReferences(std::u16string_view text);
// The same on every text of an entry read back from a study list.
void DecodeCharacterReferences(dict::Entry& entry);

}  // namespace mirudex::userdata
