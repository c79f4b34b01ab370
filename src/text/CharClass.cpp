#include "text/CharClass.h"

#include <algorithm>

namespace mirudex::text {
namespace {

template <typename Test>
bool All(std::u16string_view text, Test test)
{
    return std::all_of(text.begin(), text.end(), [&](char16_t c) { return test(c); });
}

template <typename Map>
std::u16string MapEach(std::u16string_view text, Map map)
{
    std::u16string out(text);
    for (char16_t& c : out)
        c = map(c);
    return out;
}

}  // namespace

size_t CharacterLength(std::u16string_view text, size_t pos)
{
    if (pos >= text.size())
        return 0;
    return IsHighSurrogate(text[pos]) && pos + 1 < text.size() && IsLowSurrogate(text[pos + 1]) ? 2 : 1;
}

size_t CharacterCount(std::u16string_view text)
{
    size_t count = 0;
    for (size_t pos = 0; pos < text.size(); pos += CharacterLength(text, pos))
        ++count;
    return count;
}

size_t CharacterBoundary(std::u16string_view text, size_t maxUnits)
{
    if (maxUnits >= text.size())
        return text.size();
    // A cut between a high and a low surrogate moves before the pair.
    return maxUnits > 0 && IsHighSurrogate(text[maxUnits - 1]) && IsLowSurrogate(text[maxUnits]) ? maxUnits - 1
                                                                                                 : maxUnits;
}

bool IsAllKana(std::u16string_view text)
{
    return All(text, [](char16_t c) { return IsKana(c); });
}
bool IsAllKanaOrWildcard(std::u16string_view text)
{
    return All(text, [](char16_t c) { return IsKanaOrWildcard(c); });
}
bool IsAllPrintableAscii(std::u16string_view text)
{
    return All(text, [](char16_t c) { return IsPrintableAscii(c); });
}
bool HasNoUpperCase(std::u16string_view text)
{
    return All(text, [](char16_t c) { return !IsUpperAscii(c); });
}

std::u16string ToKatakana(std::u16string_view text)
{
    return MapEach(text, [](char16_t c) { return ToKatakana(c); });
}

std::u16string ToLowerAscii(std::u16string_view text)
{
    return MapEach(text, [](char16_t c) { return ToLowerAscii(c); });
}

std::u16string ToUpperAscii(std::u16string_view text)
{
    return MapEach(text, [](char16_t c) { return ToUpperAscii(c); });
}

std::u16string ToFullwidthText(std::u16string_view text)
{
    return MapEach(text, [](char16_t c) {
        char16_t wide = ToFullwidth(c);
        return wide != 0 ? wide : c;
    });
}

}  // namespace mirudex::text
