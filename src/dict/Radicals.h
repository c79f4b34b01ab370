#pragma once
// The radical table, loaded once at start-up from a RADKFILE-layout file read
// as Shift-JIS: one record per radical with its stroke count and every kanji
// that contains it.
//
// Threads: loaded on the user-interface thread before the panes are filled;
// afterwards read by the radical window and the radical search. Only the
// user-interface thread writes the selected flags.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mirudex {
class LineReader;
class Registry;
}  // namespace mirudex

namespace mirudex::dict {

struct RadicalRecord {
    char16_t radical = 0;
    std::u16string kanji;   // every kanji listed under the radical, lines joined
    int32_t kanjiSize = 0;  // kanji.size() + 1
    uint8_t strokes = 0;
    uint8_t secondNumber = 0;  // value at the start of the field after the stroke count
    std::u16string remainder;  // text after the stroke count's field
    int selected = 0;          // set by the radical window when the user picks the radical
};

// Records in file order. A record whose '$' line could not be converted stays
// all empty and zero.
struct RadicalTable {
    std::vector<RadicalRecord> records;
    int32_t count() const { return static_cast<int32_t>(records.size()); }
};

// Number of lines that start with '$', read with .\Buffer\RADKFILE; the file
// is at its start before and after.
int CountRadsInFile(LineReader& file, Registry& registry);

// Loads the table from path (wide; each unit's low byte is used). 0 on
// success, -1 when the file cannot be opened (the table is then empty). A
// line longer than .\Buffer\RADKFILE and a line that is not Shift-JIS are
// logged, counted and skipped; no message box is shown.
int LoadRadicalInfo(RadicalTable& table, std::u16string_view path, Registry& registry);

}  // namespace mirudex::dict
