// JMdict files: the data is an XML file (plain, or gzip-compressed when it
// starts with the gzip magic number) imported into an EDICT2 dictionary;
// every line written must read back as one entry of the EDICT2 form, within
// the bound of a line (whatever a field holds, no entry makes two lines).
#include "FuzzSupport.h"
#include "core/LineReader.h"
#include "dict/Edict2Line.h"
#include "dict/JmdictImport.h"
#include "platform/api/Utf.h"

using namespace mirudex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Session session(data, size);
    fuzz::WriteFile("JMdict_e", fuzz::Bytes(data, size));
    const dict::ImportOutcome outcome = dict::ImportJmdict("JMdict_e", "out.edict2", "eng");
    if (outcome.status != dict::ImportStatus::Done)
        return 0;
    FUZZ_CHECK(outcome.entries > 0);
    FUZZ_CHECK(outcome.longestLine <= dict::ImportLimits{}.line);
    LineReader file("out.edict2");
    std::string line;
    int lines = 0;
    while (file.ReadLine(line, outcome.longestLine) == LineReader::Read::Line) {
        ++lines;
        FUZZ_CHECK(EndsWithLineFeed(line));
        const dict::Edict2Line parsed = dict::ParseEdict2Line(Utf8ToUtf16(line));
        FUZZ_CHECK(!parsed.headwords.empty());
        FUZZ_CHECK(!parsed.fields.empty());
    }
    FUZZ_CHECK(lines == outcome.entries);
    return 0;
}
