// Wildcard matching: the first byte says how many UTF-16 units of the rest
// are the text; the remaining units are the pattern. Bytes 0x01 and 0x02
// stand for the wildcards ＿ and ？, so that short inputs reach them. The
// matcher must agree with the plain table-filling definition.
#include <vector>

#include "FuzzSupport.h"
#include "text/CharClass.h"
#include "text/Wildcard.h"

using namespace mirudex;

namespace {

std::u16string Decode(std::string_view bytes)
{
    std::u16string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == 0x01)
            out.push_back(text::kWildcardAny);
        else if (b == 0x02)
            out.push_back(text::kWildcardOne);
        else if (b >= 0x80 && i + 1 < bytes.size())
            out.push_back(static_cast<char16_t>((b << 8) | static_cast<unsigned char>(bytes[++i])));
        else
            out.push_back(static_cast<char16_t>(b));
    }
    return out;
}

// match[i][j]: text from i matches pattern from j.
bool Reference(std::u16string_view t, std::u16string_view p)
{
    std::vector<std::vector<char>> match(t.size() + 1, std::vector<char>(p.size() + 1, 0));
    match[t.size()][p.size()] = 1;
    for (size_t i = t.size() + 1; i-- > 0;) {
        for (size_t j = p.size(); j-- > 0;) {
            if (p[j] == text::kWildcardAny)
                match[i][j] = match[i][j + 1] || (i < t.size() && match[i + 1][j]);
            else if (i < t.size() && (p[j] == text::kWildcardOne || p[j] == t[i]))
                match[i][j] = match[i + 1][j + 1];
        }
    }
    return match[0][0];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::u16string all = Decode(fuzz::Bytes(data + 1, size - 1));
    const size_t split = std::min<size_t>(data[0], all.size());
    const std::u16string_view t = std::u16string_view(all).substr(0, split);
    const std::u16string_view p = std::u16string_view(all).substr(split);
    const bool matched = text::WildcardMatch(t, p);
    if (t.size() * p.size() <= 1 << 16)
        FUZZ_CHECK(matched == Reference(t, p));
    return 0;
}
