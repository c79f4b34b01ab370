#pragma once
// A loaded EDICT-format dictionary: headword, reading and line offset of
// every line, kept in memory; full entries are read back from the file when a
// search finds them (Entry.h). The index is saved beside the dictionary as
// <path>.mxi so that later loads need not convert every line.
//
// Index file layout (little-endian): the UTF-16LE text "MXI3\n" (10 bytes, no
// byte-order mark), a signed 32-bit count, then per entry: word length (1
// byte, UTF-16 units), the word, reading length (1 byte), the reading, the
// line offset (signed 32-bit). The layout never changes without a new magic,
// so index files of earlier runs stay readable.
//
// Threads: a dictionary is loaded on the load worker while the user-interface
// thread waits; afterwards it is only read (searches on the worker, windows on
// the user-interface thread) except for `on`, which the user-interface thread
// toggles between searches. The file must not change while the program runs.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dict/StopToken.h"

namespace mirudex {
class Registry;
}

namespace mirudex::dict {

class LineFile;

struct IndexEntry {
    std::u16string word;  // headword
    std::u16string kana;  // reading; a copy of the word when the line has none
    int32_t offset = 0;   // byte offset of the line's first byte in the dictionary file
};

struct Dictionary {
    std::string path;               // as in the options (DICT\edict); see platform::FilePath
    std::string name;               // shown to the user
    std::string encoding;           // iconv name of the file's encoding
    bool on = true;                 // whether searches use it
    std::vector<IndexEntry> index;  // one per loaded line, in file order
    int32_t count = 0;              // number of valid index entries (index.size())

    // Frees every word, reading and the array.
    void Free();
};

inline constexpr std::u16string_view kIndexMagic = u"MXI3\n";
// Longest word or reading the index file can hold (its lengths are one byte).
inline constexpr size_t kMaxIndexedLength = 255;

// The index file's option path: the dictionary path with ".mxi" appended.
std::string IndexFilePath(const Dictionary& dictionary);

// Number of lines, read with .\Buffer\EDICT as the line buffer (a longer line
// counts as several and is logged). The file is at its start before and after.
int CountLinesInFile(LineFile& file, Registry& registry);

// Fills the dictionary's index and count, from the index file when indexing
// is on and a usable one exists, else from the dictionary file (writing a new
// index file when one is wanted). The count (0 on total failure) tells the
// result. A stop request between entries leaves the dictionary empty and
// writes no index file. Message boxes go through the platform layer.
LoadOutcome EDICT_Index_Load(Dictionary& dictionary, Registry& registry, StopToken stop = {});

}  // namespace mirudex::dict
