#pragma once
// The kanji dictionary (KANJIDIC format, EUC-JP): a small index of code point
// and line offset per kanji; a kanji's record is parsed from its line whenever
// it is shown. The index, with the texts the kanji search compares, is kept in
// an index file beside the dictionary (KanjiTerms.h) and read from there while
// it stands for the dictionary; otherwise it is built from the text and the
// file written again.
//
// Threads: the index is built on the load worker and only read afterwards
// (user-interface thread and search worker). LoadKANJIDICInfoInto opens the
// file itself, so any thread may call it.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
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

class KanjiTerms;

struct KanjiIndex {
    std::string path;                      // option path of the file the index was built from
    std::vector<KanjiIndexEntry> entries;  // in file order
    int32_t count = 0;                     // entries.size()
    // The searched texts of every entry (entry numbers as in entries); null
    // when the index could not be built (a search then reads every line).
    std::shared_ptr<const KanjiTerms> terms;

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
// With .\Dictionaries\Indexing on, the index file beside the dictionary is
// used when it was made from the dictionary as it is now and is sound, and
// is written again otherwise (a failure to write is logged; the index built
// is used all the same).
LoadOutcome KANJIDIC_Index_Load(KanjiIndex& index, Registry& registry, StopToken stop = {});

// Fills record (made empty by the caller) from the line of entry; a null
// entry, an unopenable file or a comment line is logged / leaves it unfilled.
void LoadKANJIDICInfoInto(const KanjiIndex& index, Registry& registry, KanjiRecord& record,
                          const KanjiIndexEntry* entry);

// The same on the kanji dictionary file the caller holds open, for searches
// that read many records in a row (offsets in file order read the file once).
void LoadKANJIDICInfoInto(LineReader& file, Registry& registry, KanjiRecord& record, const KanjiIndexEntry* entry);

// Fills record (empty) from one line of the dictionary without its line end;
// a comment line leaves it unfilled.
void ParseKanjiLine(std::string_view line, uint16_t code, KanjiRecord& record);

// The first index entry with this code, or nullptr (a linear scan).
const KanjiIndexEntry* FindKanji(const KanjiIndex& index, uint16_t code);

}  // namespace mirudex::dict
