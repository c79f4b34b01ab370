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
// Characters EUC-JP cannot hold (𠮟, hangul ...) are written as character
// references, "&#x20B9F;" (and *referenced is set), which the study list's
// loader turns back (DecodeCharacterReferences), so the entry reads back as
// itself; a line that cannot even be read in its own encoding is logged and
// given back unchanged.
std::string RawLineInEucJp(const dict::Entry& entry, bool* referenced = nullptr);

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
