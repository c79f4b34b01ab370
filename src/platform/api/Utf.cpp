#include "platform/api/Utf.h"

namespace mirudex {

std::u16string Widen(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes)
        out.push_back(static_cast<char16_t>(c));
    return out;
}

std::string Narrow(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text)
        out.push_back(c < 256 ? static_cast<char>(c) : '?');
    return out;
}

namespace {

// One step of the decoder at pos: the code point and the bytes it took, or
// a fault whose length is the longest start of a well-formed sequence found
// there (at least one byte). The second byte's range is what rules out
// overlong forms, surrogates and code points above U+10FFFF (the table of
// well-formed byte sequences of the Unicode standard).
struct Step {
    char32_t codePoint = 0;
    size_t length = 1;
    bool ok = false;
    bool cutShort = false;  // the text ended inside a sequence that was still well-formed
};

Step DecodeStep(std::string_view s, size_t pos)
{
    const auto lead = static_cast<unsigned char>(s[pos]);
    if (lead < 0x80)
        return {lead, 1, true, false};
    size_t need = 0;
    unsigned char low = 0x80, high = 0xBF;
    char32_t cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2;
        cp = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;  // below: overlong
        else if (lead == 0xED)
            high = 0x9F;  // above: surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3;
        cp = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;  // below: overlong
        else if (lead == 0xF4)
            high = 0x8F;  // above: beyond U+10FFFF
    } else {
        return {};  // C0, C1, F5..FF, or a continuation byte out of place
    }
    size_t length = 1;
    for (size_t k = 1; k <= need; ++k) {
        if (pos + k >= s.size())
            return {0, length, false, true};
        const auto c = static_cast<unsigned char>(s[pos + k]);
        const unsigned char lo = k == 1 ? low : 0x80;
        const unsigned char hi = k == 1 ? high : 0xBF;
        if (c < lo || c > hi)
            return {0, length, false, false};
        cp = (cp << 6) | (c & 0x3F);
        ++length;
    }
    return {cp, length, true, false};
}

void AppendUtf16(std::u16string& out, char32_t cp)
{
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
}

}  // namespace

std::optional<std::u16string> DecodeUtf8(std::string_view s, Utf8Fault* fault)
{
    std::u16string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const Step step = DecodeStep(s, i);
        if (!step.ok) {
            if (fault)
                *fault = Utf8Fault{i, step.cutShort};
            return std::nullopt;
        }
        AppendUtf16(out, step.codePoint);
        i += step.length;
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view s)
{
    std::u16string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const Step step = DecodeStep(s, i);
        AppendUtf16(out, step.ok ? step.codePoint : U'\uFFFD');
        i += step.length;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view s)
{
    std::string out;
    AppendUtf8(s, out);
    return out;
}

void AppendUtf8(std::u16string_view s, std::string& out)
{
    // Written through a pointer into room for the longest result (3 bytes a unit).
    const size_t start = out.size();
    out.resize(start + s.size() * 3);
    char* p = out.data() + start;
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t cp = s[i];
        if (cp < 0x80) {
            *p++ = static_cast<char>(cp);
            continue;
        }
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        if (cp < 0x800) {
            *p++ = static_cast<char>(0xC0 | (cp >> 6));
            *p++ = static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            *p++ = static_cast<char>(0xE0 | (cp >> 12));
            *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            *p++ = static_cast<char>(0xF0 | (cp >> 18));
            *p++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    out.resize(static_cast<size_t>(p - out.data()));
}

}  // namespace mirudex
