#pragma once
// EDICT2 lines: one entry with all its written forms and readings,
//
//   KANJI1(tags);KANJI2 [KANA1(KANJI1)(tags);KANA2] /(pos) (1) (misc) gloss/gloss/(2) gloss/(P)/EntL1234567X/
//
// A form may carry tags in parentheses ((P) common, (iK) irregular kanji,
// (ateji) ...); a reading may also name, in parentheses and separated by
// commas, the written forms it belongs to (a reading restriction). An entry
// written in kana only has its readings as headwords and no brackets. The
// last field names the entry in the publisher's database (EntL and its
// number, an X when the entry has an audio clip); it is no meaning.
//
// Everything here is pure: no options, no log, any thread.

#include <string>
#include <string_view>
#include <vector>

namespace mirudex::dict {

// A written form or a reading, as the line gives it.
struct Edict2Form {
    std::u16string text;                       // without its parenthesised groups
    std::vector<std::u16string> tags;          // P, iK, ateji ... in line order
    std::vector<std::u16string> restrictedTo;  // readings only: the written forms it belongs to (none: all)

    bool operator==(const Edict2Form&) const = default;
};

struct Edict2Line {
    std::vector<Edict2Form> headwords;   // never empty for a line that has any text before its first '/'
    std::vector<Edict2Form> readings;    // empty when the line has no bracketed readings
    std::vector<std::u16string> fields;  // the non-empty texts between slashes, the entry id left out
    std::u16string entryId;              // "EntL1234567X", or empty
};

// Splits one line (its line end, if any, is ignored). A line without any
// '/' has no fields. Never fails: a malformed line gives what can be read.
Edict2Line ParseEdict2Line(std::u16string_view line);

// Whether a field is the entry id: "EntL", digits, and an optional "X".
bool IsEdict2EntryId(std::u16string_view field);

// The meanings of a raw line ("/.../", from its first '/' to its last)
// without a last field that is the entry id ("/a/b/EntL1234X/" gives
// "/a/b/"). Plain EDICT meanings come back as they are.
std::string_view WithoutEntryId(std::string_view meanings);

// Whether a raw line (in any encoding whose ASCII bytes are ASCII: EUC-JP,
// UTF-8, Shift-JIS's lower half) shows the EDICT2 form: a ';' between its
// headwords or an entry id as its last field. Plain EDICT lines have neither.
bool LooksLikeEdict2(std::string_view rawLine);

// The reading that goes with a written form: the first reading that is not
// restricted to other forms; empty when the line has none for it.
std::u16string_view ReadingOf(const Edict2Line& line, std::u16string_view headword);

}  // namespace mirudex::dict
