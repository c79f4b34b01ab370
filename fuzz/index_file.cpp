// The index file reader: any bytes as a dictionary's .mxi file. The
// dictionary it stands for is the one its own identity trailer names (when
// it has one), and the trailer's contents checksum is set to the bytes
// before it, so that the reader goes on to the entries. Entries read are
// then built into the in-memory index and looked up.
#include "FuzzSupport.h"
#include "dict/IndexFile.h"
#include "dict/IndexIdentity.h"
#include "dict/IndexTable.h"

using namespace mirudex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Session session(data, size);
    std::string file(fuzz::Bytes(data, size));
    const std::optional<dict::FoundIdentity> found = dict::ParseIdentityTrailer(file);
    if (found) {
        file.resize(file.size() - found->trailerBytes);
        file += dict::IdentityTrailer(found->identity, dict::ChecksumOf(file));
    }
    fuzz::WriteFile("edict.mxi", file);
    const dict::IndexIdentity current = found ? found->identity : dict::IndexIdentity{};
    std::string difference;
    dict::IndexRecords records;
    const dict::IndexRead read = dict::ReadIndexFile("edict.mxi", records, current, difference);
    if (read == dict::IndexRead::OtherSource)
        FUZZ_CHECK(!difference.empty());
    if (read != dict::IndexRead::Loaded) {
        FUZZ_CHECK(records.records.empty());
        return 0;
    }
    dict::IndexTable table;
    FUZZ_CHECK(table.Adopt(dict::BuildIndexImage(records, file)));
    FUZZ_CHECK(table.size() == records.size());
    for (const dict::IndexEntry entry : table) {
        FUZZ_CHECK(entry.word.size() <= dict::kMaxIndexedLength);
        FUZZ_CHECK(entry.kana.size() <= dict::kMaxIndexedLength);
        // Every record is found again by its own headword and reading.
        std::u16string folded(entry.word);
        for (char16_t& c : folded)
            c = c >= 0x3041 && c <= 0x3096 ? static_cast<char16_t>(c + 0x60) : c;
        FUZZ_CHECK(!table.Exact(dict::IndexTable::Field::Word, folded).empty());
    }
    return 0;
}
