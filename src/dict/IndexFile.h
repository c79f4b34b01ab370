#pragma once
// Reading and writing the .mxi index file of a dictionary (layout in
// Dictionary.h, followed by the identity trailer of IndexIdentity.h). Used by
// EDICT_Index_Load only.

#include <string>
#include <vector>

#include "dict/Dictionary.h"
#include "dict/IndexIdentity.h"
#include "dict/StopToken.h"

namespace mirudex {
class AtomicFileWriter;
}

namespace mirudex::dict {

enum class IndexRead {
    Loaded,       // dictionary.index and count filled
    Missing,      // the file cannot be opened
    WrongMagic,   // the first line is not the magic (an older or foreign file)
    NoIdentity,   // the entries are not followed by an identity this program knows (an earlier program made it)
    OtherSource,  // made from another dictionary file, or from this one read another way
    Short,        // the entries do not end where the identity begins (or the count is impossible)
    Stopped,      // a stop request came in
};

// Reads the index file into dictionary (index and count) when it was made
// from the dictionary whose identity is `current`. On OtherSource,
// difference names what differs. On any result but Loaded the dictionary's
// index is left empty.
IndexRead ReadIndexFile(const std::string& filePath, Dictionary& dictionary, const IndexIdentity& current,
                        std::string& difference, StopToken stop = {});

// Writes magic, count, entries and the identity trailer. Every word and
// reading must be at most kMaxIndexedLength units long. False when a write
// failed.
bool WriteIndexFile(AtomicFileWriter& writer, const std::vector<IndexEntry>& entries, const IndexIdentity& identity);

}  // namespace mirudex::dict
