// The radical file: the data is a RADKFILE-layout file (Shift-JIS).
#include "dict/Radicals.h"
#include "FuzzSupport.h"
#include "core/Registry.h"

using namespace mirudex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Session session(data, size);
    auto options = fuzz::DefaultOptions();
    fuzz::WriteFile("radkfile.dat", fuzz::Bytes(data, size));
    dict::RadicalTable table;
    FUZZ_CHECK(dict::LoadRadicalInfo(table, u"radkfile.dat", *options) == 0);
    for (const dict::RadicalRecord& record : table.records) {
        // A record whose line could not be read stays all empty.
        if (record.radical != 0)
            FUZZ_CHECK(record.kanjiSize == static_cast<int32_t>(record.kanji.size()) + 1);
    }
    return 0;
}
