// The index file reader: any bytes as a dictionary's .mxi file. The
// dictionary it stands for is the one its own identity trailer names (when
// it has one), so that the reader goes on to the entries.
#include "FuzzSupport.h"
#include "dict/Dictionary.h"
#include "dict/IndexFile.h"
#include "dict/IndexIdentity.h"

using namespace mirudex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Session session(data, size);
    fuzz::WriteFile("edict.mxi", fuzz::Bytes(data, size));
    dict::Dictionary dictionary;
    dictionary.path = "edict";
    const std::optional<dict::FoundIdentity> found = dict::ParseIdentityTrailer(fuzz::Bytes(data, size));
    const dict::IndexIdentity current = found ? found->identity : dict::IndexIdentity{};
    std::string difference;
    const dict::IndexRead read = dict::ReadIndexFile("edict.mxi", dictionary, current, difference);
    if (read == dict::IndexRead::OtherSource)
        FUZZ_CHECK(!difference.empty());
    if (read == dict::IndexRead::Loaded) {
        FUZZ_CHECK(dictionary.count == static_cast<int32_t>(dictionary.index.size()));
        for (const dict::IndexEntry& entry : dictionary.index) {
            FUZZ_CHECK(entry.word.size() <= dict::kMaxIndexedLength);
            FUZZ_CHECK(entry.kana.size() <= dict::kMaxIndexedLength);
        }
    } else {
        FUZZ_CHECK(dictionary.index.empty());
    }
    return 0;
}
