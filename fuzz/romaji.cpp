// Romaji conversion: the data as UTF-16 units (any unit, lone surrogates
// included) converted to kana, finally and while typing, and back.
#include "text/Romaji.h"
#include "FuzzSupport.h"

using namespace mirudex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Session session(data, size);
    const std::u16string text = fuzz::Units(fuzz::Bytes(data, size));
    const std::u16string kana = text::RomajiToKana(text, true);
    text::RomajiToKana(text, false);
    text::KanaToRomaji(text);
    text::KanaToRomaji(kana);
    text::SyllableToKana(std::u16string_view(text).substr(0, 4));
    text::LookupSyllable(std::u16string_view(text).substr(0, 4));
    // Converting what a conversion made changes nothing more.
    FUZZ_CHECK(text::RomajiToKana(kana, true) == kana);
    return 0;
}
