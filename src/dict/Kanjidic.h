#pragma once
// The kanji dictionary (KANJIDIC format, EUC-JP): a small index of code point
// and line offset per kanji, built at every load; a kanji's record is parsed
// from its line whenever it is shown or searched.
//
// Threads: the index is built on the load worker and only read afterwards
// (user-interface thread and search worker). LoadKANJIDICInfoInto opens the
// file itself, so any thread may call it.

#include <cstdint>
#include <string>
#include <vector>

#include "dict/StopToken.h"

namespace mirudex {
class LineReader;
class Registry;
}  // namespace mirudex

namespace mirudex::dict {

struct KanjiIndexEntry {
    uint16_t code = 0;   // code point from the line's U field; 0 when it has none
    int32_t offset = 0;  // byte offset of the line
};

struct KanjiIndex {
    std::string path;                      // option path of the file the index was built from
    std::vector<KanjiIndexEntry> entries;  // in file order
    int32_t count = 0;                     // entries.size()

    void Clear();
};

struct KanjiRecord {
    uint16_t code = 0;
    std::vector<std::u16string> onReadings;       // written in katakana
    std::vector<std::u16string> kunReadings;      // written in hiragana, '.' and '-' kept
    std::vector<std::u16string> nanori;           // readings after a T1 field
    std::vector<std::u16string> radicalReadings;  // readings after a T2 field
    std::vector<std::u16string> meanings;         // the fields in braces
    uint16_t frequency = 0;                       // F field; 0 when absent
    uint8_t strokes = 0;                          // first S field; 0 when absent
};

// Builds the index from the file named by .\Dictionaries\KANJIDIC\Path, with
// .\Buffer\KANJIDIC as the line buffer (a longer line is logged and its
// kanji left out; the last line counts without a line end). Failures are
// logged and leave the index empty; a stop request leaves it empty too.
LoadOutcome KANJIDIC_Index_Load(KanjiIndex& index, Registry& registry, StopToken stop = {});

// Fills record (made empty by the caller) from the line of entry; a null
// entry, an unopenable file or a comment line is logged / leaves it unfilled.
void LoadKANJIDICInfoInto(const KanjiIndex& index, Registry& registry, KanjiRecord& record,
                          const KanjiIndexEntry* entry);

// The same on the kanji dictionary file the caller holds open, for searches
// that read many records in a row (offsets in file order read the file once).
void LoadKANJIDICInfoInto(LineReader& file, Registry& registry, KanjiRecord& record, const KanjiIndexEntry* entry);

// The first index entry with this code, or nullptr (a linear scan).
const KanjiIndexEntry* FindKanji(const KanjiIndex& index, uint16_t code);

}  // namespace mirudex::dict
