// KANJIDIC lines: the data is a kanji dictionary file (EUC-JP); the index is
// built and every indexed line read into a kanji record.
#include "dict/Kanjidic.h"
#include "FuzzSupport.h"
#include "core/OptionNames.h"
#include "core/Registry.h"

using namespace mirudex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Session session(data, size);
    auto options = fuzz::DefaultOptions();
    options->SetSTRING(opt::dictionaries::kanjidic::kPath, "kanjidic");
    fuzz::WriteFile("kanjidic", fuzz::Bytes(data, size));
    dict::KanjiIndex index;
    dict::KANJIDIC_Index_Load(index, *options);
    FUZZ_CHECK(index.count == static_cast<int32_t>(index.entries.size()));
    for (const dict::KanjiIndexEntry& entry : index.entries) {
        FUZZ_CHECK(entry.offset >= 0 && static_cast<size_t>(entry.offset) < size);
        dict::KanjiRecord record;
        dict::LoadKANJIDICInfoInto(index, *options, record, &entry);
        FUZZ_CHECK(dict::FindKanji(index, entry.code) != nullptr);
    }
    return 0;
}
