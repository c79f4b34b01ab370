#pragma once
// Conversion between encodings (over glibc's iconv) and the table of
// encodings offered for the clipboard.
//
// Every failure is logged and shown in a message box (no owner, OK only);
// callers see it as nullopt / -1. Converters are reused per thread and per
// pair of names, so converting a dictionary line by line does not pay for
// opening one each time.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace mirudex::text {

// Converts input from the source encoding to the target one (iconv names).
// Returns exactly the bytes produced, or nullopt on failure (including a
// conversion that was not reversible).
std::optional<std::string> ConvertEncoding(std::string_view input, std::string_view source, std::string_view target);

// ConvertEncoding with the output read as a zero-terminated UTF-16LE text
// (target is normally "UTF-16LE"). 0 on success, -1 on failure (out cleared).
int ConvertEncodingToWide(std::string_view input, std::string_view source, std::string_view target,
                          std::u16string& out);
// The same for an 8-bit target; out is the output read as a zero-terminated
// 8-bit text. Used with source "UTF-16LE" (pass the UTF-16 text's bytes).
int ConvertEncodingToNarrow(std::string_view input, std::string_view source, std::string_view target, std::string& out);
// What a quiet conversion came to.
enum class Conversion {
    Converted,
    UnknownEncoding,  // no converter between the two encodings
    Failed,           // the input is not valid in the source encoding (or not reversibly convertible)
};
// ConvertEncodingToWide that reports nothing (no log line, no message box):
// for readers that convert many lines and report their failures once, themselves.
Conversion ConvertToWideQuietly(std::string_view input, std::string_view source, std::string_view target,
                                std::u16string& out);
// Whether text can be converted from source to target at all (asked quietly).
bool ConversionAvailable(std::string_view source, std::string_view target);

// What a conversion that goes as far as it can made.
struct PartConversion {
    // The output for input[0, consumed), ended in the target's initial shift
    // state, so that it stands on its own.
    std::string bytes;
    std::size_t consumed = 0;
    // Converted: all of the input. Failed: input[consumed] starts a character
    // the target cannot hold (or that is not valid in the source).
    // UnknownEncoding: nothing converted (reported as ConvertEncoding does).
    Conversion result = Conversion::Converted;
};
// Converts input as far as it can. The output room grows as the output needs
// it (a stateful target such as ISO-2022-JP-2 may need many bytes for one
// character). Only a converter that cannot be opened is reported.
PartConversion ConvertAsFarAsPossible(std::string_view input, std::string_view source, std::string_view target);

// Convenience: a UTF-16 text's bytes (little-endian) for the two forms above.
std::string Utf16Bytes(std::u16string_view text);

// One row of the clipboard-encoding list. Separator rows have no iconv name.
struct EncodingRow {
    int position;  // the row's place in the combo box
    const char16_t* displayName;
    const char* iconvName;  // nullptr for a separator
};

inline constexpr int kEncodingRowCount = 106;
// The table in row order.
std::span<const EncodingRow> EncodingTable();
// The first row whose position equals the combo box index, or -1.
int RowOfComboPosition(int position);
// The iconv name glibc knows the row's encoding by (the table's name, or an
// alias of the very same encoding); nullptr for separators.
const char* IconvNameForRow(int row);

// Language bit of a language button: 40022 -> 1, 40023 -> 2, 40027 -> 4,
// 40024 -> 0; any other id gives 0 and the log line
// "Warning: cannot convert ID to LANG.\n".
int LanguageOfCommand(int commandId);

}  // namespace mirudex::text
