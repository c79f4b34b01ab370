#pragma once
// A fast EUC-JP to UTF-16 decoder that gives exactly what the iconv
// conversion (Encoding.h) gives. Its tables are filled from iconv itself, a
// row of 94 codes at a time when a row is first needed, so the answer is the
// converter's own; a text holding any sequence the tables do not know (one
// iconv refuses, or a byte that starts no sequence) is not decoded here and
// the caller converts it through iconv, which then fails or succeeds as
// always.
//
// Threads: any; the tables are filled under a lock and then only read.

#include <string>
#include <string_view>

namespace mirudex::text {

// Whether an encoding name is EUC-JP (as the dictionaries' options spell it).
bool IsEucJp(std::string_view encoding);

// Decodes the whole text into out (replacing it). False, with out
// unspecified, when the text holds a sequence the tables do not know.
bool DecodeEucJp(std::string_view text, std::u16string& out);

}  // namespace mirudex::text
