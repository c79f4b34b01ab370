// EDICT2 lines: the data is one line as UTF-16 units, split into forms,
// readings, tags, restrictions and fields; and as raw bytes, looked at for
// the EDICT2 form.
#include "FuzzSupport.h"
#include "dict/Edict2Line.h"

using namespace mirudex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Session session(data, size);
    const std::u16string line = fuzz::Units(fuzz::Bytes(data, size));
    const dict::Edict2Line parsed = dict::ParseEdict2Line(line);
    size_t units = 0;
    for (const auto* forms : {&parsed.headwords, &parsed.readings})
        for (const dict::Edict2Form& form : *forms) {
            FUZZ_CHECK(!form.text.empty());
            units += form.text.size();
            for (const std::u16string& tag : form.tags)
                FUZZ_CHECK(!tag.empty());
        }
    for (const std::u16string& field : parsed.fields) {
        FUZZ_CHECK(!field.empty() && field.find(u'/') == std::u16string::npos);
        units += field.size();
    }
    FUZZ_CHECK(units + parsed.entryId.size() <= line.size());
    FUZZ_CHECK(parsed.entryId.empty() || dict::IsEdict2EntryId(parsed.entryId));
    for (const dict::Edict2Form& headword : parsed.headwords)
        FUZZ_CHECK(dict::ReadingOf(parsed, headword.text).size() <= line.size());
    dict::LooksLikeEdict2(fuzz::Bytes(data, size));
    return 0;
}
