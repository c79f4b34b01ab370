#pragma once
// Reading and writing the .mxi index file of a dictionary (layout in
// Dictionary.h, followed by the identity trailer of IndexIdentity.h, whose
// contents checksum covers every byte before the trailer). Used by
// EDICT_Index_Load only. Knows the index records (IndexTable.h), not the
// dictionary they belong to.

#include <string>
#include <vector>

#include "dict/IndexIdentity.h"
#include "dict/IndexTable.h"
#include "dict/StopToken.h"

namespace mirudex {
class AtomicFileWriter;
}

namespace mirudex::dict {

inline constexpr std::u16string_view kIndexMagic = u"MXI3\n";
// Longest word or reading the index file can hold (its lengths are one byte).
inline constexpr size_t kMaxIndexedLength = 255;

enum class IndexRead {
    Loaded,       // records filled
    Missing,      // the file cannot be opened
    WrongMagic,   // the first line is not the magic (an older or foreign file)
    NoIdentity,   // the entries are not followed by an identity this program knows (an earlier program made it)
    OtherSource,  // made from another dictionary file, or from this one read another way
    Short,        // the entries do not end where the identity begins (or the count is impossible)
    Damaged,      // the contents do not match their checksum, or the file ends within its magic line (empty)
    Stopped,      // a stop request came in
};

// Reads the index file's entries into records when it was made from the
// dictionary whose identity is `current`. On OtherSource, difference names
// what differs. On any result but Loaded the records are left empty.
IndexRead ReadIndexFile(const std::string& filePath, IndexRecords& records, const IndexIdentity& current,
                        std::string& difference, StopToken stop = {});

// Whether the index file starts with the magic and ends with the identity
// `current` (Loaded, WrongMagic, NoIdentity, OtherSource, Missing, Short or
// Damaged), and with checkContents whether its contents match their checksum,
// without making records of its entries. fileSize: the whole file's size.
IndexRead CheckIndexFile(const std::string& filePath, const IndexIdentity& current, std::string& difference,
                         int64_t& fileSize, bool checkContents = true);

// Whether a load that finds both index files made from its dictionary checks
// their contents checksums (on unless a measurement turns it off to see what
// the checks cost). Any thread.
void SetContentsChecked(bool checked);
bool ContentsChecked();

// Writes magic, count, entries and the identity trailer. Every word and
// reading must be at most kMaxIndexedLength units long and every offset
// below 2 GiB. False when a write failed.
bool WriteIndexFile(AtomicFileWriter& writer, const IndexTable& entries, const IndexIdentity& identity);

}  // namespace mirudex::dict
