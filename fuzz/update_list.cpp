// The update list parser: the data is a downloaded updates.v2.txt; every
// record's block is made and read back as rich text, as the updater shows it.
#include "FuzzSupport.h"
#include "update/UpdateList.h"
#include "update/UpdateText.h"

using namespace mirudex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Session session(data, size);
    const std::string_view contents = fuzz::Bytes(data, size);
    update::HasListMarker(contents);
    const std::vector<update::UpdateRecord> records = update::ParseUpdateList(contents);
    for (const update::UpdateRecord& record : records) {
        const std::string block = update::UpdateBlockRtf(record);
        FUZZ_CHECK(block.size() <= update::kMaxBlockBytes);
        update::ParseRichText(block);
        for (const std::string& file : record.files) {
            const update::FileEntry entry = update::SplitFileEntry(file);
            // Only well-formed names of the program's data files may be written.
            const bool replaceable = update::ReplaceableByUpdate(entry.name);
            FUZZ_CHECK(!replaceable || update::SafeUpdateFileName(entry.name));
            FUZZ_CHECK(!replaceable || (entry.name != "Options.mxreg" && entry.name != "Updates.mxf"));
        }
        for (const char* version : {"1.0.7", "1.0.7.502 beta"})
            update::UpdateApplies(record, update::SelectionVersion(version), {"a", "b"});
    }
    update::ParseRichText(contents);
    update::SelectUpdates(records, "1.0.7", {});
    return 0;
}
