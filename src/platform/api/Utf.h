#pragma once
// Small text helpers shared by every layer: UTF-8 <-> UTF-16 for the terminal
// and file names, and the byte-per-unit widening the options store uses for
// face names and paths shown in wide messages.

#include <string>
#include <string_view>

namespace mirudex {

// Each byte becomes one UTF-16 unit (0-255), as a Windows program widens an
// 8-bit text it knows to be ASCII.
std::u16string Widen(std::string_view bytes);
// Each unit below 256 becomes one byte; others become '?'.
std::string Narrow(std::u16string_view text);

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace mirudex
