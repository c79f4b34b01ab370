// EDICT lines: the data is a dictionary file (EUC-JP, or UTF-8 when the first
// byte is odd), indexed as the program indexes a dictionary; every indexed
// line is then read back into an entry and its markers taken out.
#include "FuzzSupport.h"
#include "core/OptionNames.h"
#include "core/Registry.h"
#include "dict/Dictionary.h"
#include "dict/Entry.h"

using namespace mirudex;

namespace {

const dict::MarkerTable& Markers()
{
    static const dict::MarkerTable table = [] {
        dict::MarkerTable t;
        for (const char16_t* marker : {u"n", u"vs", u"v1", u"v5r", u"vt", u"vi", u"adj-i", u"P", u"uk", u"exp"})
            t.Add(marker, std::u16string(u"description of ") + marker);
        return t;
    }();
    return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    fuzz::Session session(data, size);
    auto options = fuzz::DefaultOptions();
    options->SetBOOL(opt::dictionaries::kIndexing, false);
    fuzz::WriteFile("edict", fuzz::Bytes(data + 1, size - 1));
    dict::Dictionary dictionary;
    dictionary.path = "edict";
    dictionary.name = "fuzz";
    dictionary.encoding = (data[0] & 1) ? "UTF-8" : "EUC-JP";
    dict::EDICT_Index_Load(dictionary, *options);
    FUZZ_CHECK(dictionary.count == static_cast<int32_t>(dictionary.index.size()));
    for (const dict::IndexEntry& index : dictionary.index) {
        FUZZ_CHECK(index.offset >= 0 && static_cast<size_t>(index.offset) < size - 1);
        dict::Entry entry;
        dict::LoadInfoInto(*options, dictionary, entry, index);
        dict::SetInfo(entry, Markers());
        FUZZ_CHECK(entry.meanings.size() <= entry.meaningsAsRead.size());
    }
    return 0;
}
