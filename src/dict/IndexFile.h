#pragma once
// Reading and writing the .mxi index file of a dictionary (layout in
// Dictionary.h). Used by EDICT_Index_Load only.

#include <string>
#include <vector>

#include "dict/Dictionary.h"
#include "dict/StopToken.h"

namespace mirudex {
class AtomicFileWriter;
}

namespace mirudex::dict {

enum class IndexRead {
    Loaded,      // dictionary.index and count filled
    Missing,     // the file cannot be opened
    WrongMagic,  // the first line is not the magic (an older or foreign file)
    Short,       // the file ends before the count's last entry (or the count is impossible)
    Stopped,     // a stop request came in
};

// Reads the index file into dictionary (index and count). On any result but
// Loaded the dictionary's index is left empty.
IndexRead ReadIndexFile(const std::string& filePath, Dictionary& dictionary, StopToken stop = {});

// Writes magic, count and entries. Every word and reading must be at most
// kMaxIndexedLength units long. False when a write failed.
bool WriteIndexFile(AtomicFileWriter& writer, const std::vector<IndexEntry>& entries);

}  // namespace mirudex::dict
