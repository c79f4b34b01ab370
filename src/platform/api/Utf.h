#pragma once
// Small text helpers shared by every layer: UTF-8 <-> UTF-16 for the terminal,
// the clipboard and files, and the byte-per-unit widening the options store uses for
// face names and paths shown in wide messages.

#include <optional>
#include <string>
#include <string_view>

namespace mirudex {

// Each byte becomes one UTF-16 unit (0-255), as a Windows program widens an
// 8-bit text it knows to be ASCII.
std::u16string Widen(std::string_view bytes);
// Each unit below 256 becomes one byte; others become '?'.
std::string Narrow(std::u16string_view text);

// The one UTF-8 decoder for text that comes from outside the program
// (arguments, clipboard bytes, UTF-8 files). Strict: a byte that cannot
// start a character, a continuation byte out of place, an overlong form
// (C0 AF for "/"), a surrogate (ED A0 80), a code point above U+10FFFF or a
// sequence cut short by the end of the text makes the whole text invalid.
// The fault, when asked for, says where the first bad sequence starts and
// whether the text merely ended inside one.
struct Utf8Fault {
    size_t offset = 0;
    bool incomplete = false;
};
std::optional<std::u16string> DecodeUtf8(std::string_view utf8, Utf8Fault* fault = nullptr);

// The same decoder for text that is shown rather than refused: every bad
// sequence (its longest start that could still have been valid, or a single
// byte) becomes one U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
// Lone surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);
// The same appended to out.
void AppendUtf8(std::u16string_view utf16, std::string& out);

}  // namespace mirudex
