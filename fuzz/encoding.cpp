// Encoding conversion of arbitrary bytes: the first byte picks a row of the
// clipboard encoding table, the rest is converted from that encoding to
// UTF-16 and back, as a paste and a copy do. The strict UTF-8 decoder is
// held against the system's converter: both accept the same bytes and make
// the same text of them.
#include <iconv.h>

#include "FuzzSupport.h"
#include "platform/api/Utf.h"
#include "text/Encoding.h"

using namespace mirudex;

namespace {

std::optional<std::u16string> SystemUtf8(std::string_view bytes)
{
    static iconv_t cd = iconv_open("UTF-16LE", "UTF-8");
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out(bytes.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != 0 || inLeft != 0)
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return fuzz::Units(out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    fuzz::Session session(data, size);
    const std::string_view input = fuzz::Bytes(data + 1, size - 1);

    const std::optional<std::u16string> strict = DecodeUtf8(input);
    const std::optional<std::u16string> system = SystemUtf8(input);
    FUZZ_CHECK(strict.has_value() == system.has_value());
    if (strict) {
        FUZZ_CHECK(*strict == *system);
        FUZZ_CHECK(Utf16ToUtf8(*strict) == input);
        FUZZ_CHECK(Utf8ToUtf16(input) == *strict);
    }

    const int row = data[0] % text::kEncodingRowCount;
    const char* encoding = text::IconvNameForRow(row);
    if (!encoding)
        return 0;
    std::u16string wide;
    if (text::ConvertEncodingToWide(input, encoding, "UTF-16LE", wide) == 0) {
        std::string narrow;
        text::ConvertEncodingToNarrow(text::Utf16Bytes(wide), "UTF-16LE", encoding, narrow);
    }
    text::ConvertEncoding(text::Utf16Bytes(fuzz::Units(input)), "UTF-16LE", encoding);
    return 0;
}
