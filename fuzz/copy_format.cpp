// The copy format: the data holds, separated by zero bytes, the Format
// template, the word, the kana, the meanings (separated by line feeds), the
// info markers, and the separators SepMeaning, SepInfo and SepMultiple, all
// UTF-8. The entry is laid out alone and twice, as the copy command lays it
// out; the text made stays within its bound.
#include "FuzzSupport.h"
#include "core/OptionNames.h"
#include "core/Registry.h"
#include "dict/Entry.h"
#include "platform/api/Utf.h"
#include "userdata/Copy.h"

using namespace mirudex;

namespace {

std::vector<std::u16string> Lines(std::string_view text)
{
    std::vector<std::u16string> lines;
    for (std::string_view part : fuzz::Split(text, '\n', 64))
        lines.push_back(Utf8ToUtf16(part));
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Session session(data, size);
    std::vector<std::string_view> parts = fuzz::Split(fuzz::Bytes(data, size), '\0', 8);
    parts.resize(8);
    auto options = fuzz::DefaultOptions();
    options->SetSTRING(opt::results::copy::kFormat, "{" + std::string(parts[0]) + "}");
    options->SetSTRING(opt::results::copy::kSepMeaning, std::string(parts[5]));
    options->SetSTRING(opt::results::copy::kSepInfo, std::string(parts[6]));
    options->SetSTRING(opt::results::copy::kSepMultiple, std::string(parts[7]));

    dict::Entry entry;
    entry.word = Utf8ToUtf16(parts[1]);
    entry.kana = Utf8ToUtf16(parts[2]);
    entry.meanings = Lines(parts[3]);
    entry.info = Lines(parts[4]);
    entry.selected = true;

    const std::u16string one = userdata::FormatEntry(entry, *options);
    FUZZ_CHECK(one.size() <= userdata::kMaxCopyTextLength);
    const std::vector<dict::Entry> list(2, entry);
    const std::u16string two = userdata::SelectedEntriesText(list, userdata::CopyKind::Formatted, *options);
    FUZZ_CHECK(two.size() <= 3 * userdata::kMaxCopyTextLength);
    userdata::CopyEntries(list, userdata::CopyKind::Meanings, *options, 3);
    return 0;
}
