#include "userdata/LineRecoding.h"

#include <iconv.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/DebugLog.h"

namespace mirudex::userdata {

namespace {

constexpr std::string_view kEucJp = "EUC-JP";

class Converter {
public:
    Converter(const std::string& source, const std::string& target) : cd_(iconv_open(target.c_str(), source.c_str())) {}
    ~Converter()
    {
        if (ok())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

bool EqualsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

std::string Utf16Bytes(std::u16string_view text)
{
    std::string bytes(text.size() * 2, '\0');
    for (size_t i = 0; i < text.size(); ++i) {
        bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
    }
    return bytes;
}

std::u16string FromUtf16Bytes(std::string_view bytes)
{
    std::u16string text(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return text;
}

bool EucJpHolds(char32_t code)
{
    std::u16string unit;
    if (code >= 0x10000) {
        unit.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
        unit.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    } else {
        unit.push_back(static_cast<char16_t>(code));
    }
    return ConvertQuietly(Utf16Bytes(unit), "UTF-16LE", std::string(kEucJp)).has_value();
}

}  // namespace

std::optional<std::string> ConvertQuietly(std::string_view input, const std::string& source, const std::string& target)
{
    Converter converter(source, target);
    if (!converter.ok())
        return std::nullopt;
    std::string out(input.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    const size_t result = iconv(converter.get(), &in, &inLeft, &outPtr, &outLeft);
    if (result != 0 || inLeft != 0)
        return std::nullopt;
    // Finish any shift state (stateful encodings).
    if (iconv(converter.get(), nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1))
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

std::string RawLineInEucJp(const dict::Entry& entry, bool* referenced)
{
    if (referenced)
        *referenced = false;
    const std::string& line = entry.rawLine;
    if (entry.encoding.empty() || EqualsIgnoreCase(entry.encoding, kEucJp) || EqualsIgnoreCase(entry.encoding, "EUCJP"))
        return line;
    if (std::optional<std::string> converted = ConvertQuietly(line, entry.encoding, std::string(kEucJp)))
        return *converted;

    // Some characters are not in EUC-JP: they are kept as references.
    const std::optional<std::string> utf16 = ConvertQuietly(line, entry.encoding, "UTF-16LE");
    const std::optional<std::string> kept = utf16 ? EucJpWithReferences(FromUtf16Bytes(*utf16)) : std::nullopt;
    if (!kept) {
        dlog::Write(u"SaveStudyList(): WARNING: the line of '%s' could not be read as %S; kept as it was.\n",
                    entry.word, entry.encoding);
        return line;
    }
    dlog::Write(
        u"SaveStudyList(): the line of '%s' holds characters EUC-JP cannot; they are saved as character "
        u"references.\n",
        entry.word);
    if (referenced)
        *referenced = true;
    return *kept;
}

}  // namespace mirudex::userdata

namespace mirudex::userdata {

std::optional<std::string> EucJpWithReferences(std::u16string_view text)
{
    if (auto whole = ConvertQuietly(Utf16Bytes(text), "UTF-16LE", std::string(kEucJp)))
        return whole;
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF && text[i + 1] >= 0xDC00 &&
                          text[i + 1] <= 0xDFFF;
        const std::u16string_view one = text.substr(i, pair ? 2 : 1);
        i += one.size();
        if (auto converted = ConvertQuietly(Utf16Bytes(one), "UTF-16LE", std::string(kEucJp))) {
            out += *converted;
            continue;
        }
        if (!pair && one[0] >= 0xD800 && one[0] <= 0xDFFF)
            return std::nullopt;  // half a pair
        const char32_t code = pair ? 0x10000 + ((char32_t(one[0]) - 0xD800) << 10) + (one[1] - 0xDC00) : one[0];
        char reference[16];
        std::snprintf(reference, sizeof reference, "&#x%X;", static_cast<unsigned>(code));
        out += reference;
    }
    return out;
}

std::u16string DecodeCharacterReferences(std::u16string_view text)
{
    std::u16string out;
    size_t pos = 0;
    for (;;) {
        const size_t start = text.find(u"&#x", pos);
        if (start == std::u16string_view::npos)
            break;
        size_t end = start + 3;
        char32_t code = 0;
        while (end < text.size() && end - start < 10 && std::isxdigit(static_cast<unsigned char>(text[end] & 0x7F)) &&
               text[end] < 0x80) {
            const char16_t c = text[end];
            code = code * 16 + static_cast<char32_t>(c <= u'9' ? c - u'0' : (c | 0x20) - u'a' + 10);
            ++end;
        }
        const bool valid = end > start + 3 && end < text.size() && text[end] == u';' && code <= 0x10FFFF &&
                           !(code >= 0xD800 && code <= 0xDFFF) && code != 0 && !EucJpHolds(code);
        out.append(text.substr(pos, (valid ? start : end) - pos));
        if (valid) {
            if (code >= 0x10000) {
                out.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
                out.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
            } else {
                out.push_back(static_cast<char16_t>(code));
            }
            pos = end + 1;
        } else {
            pos = end;
        }
    }
    out.append(text.substr(pos));
    return out;
}

void DecodeCharacterReferences(dict::Entry& entry)
{
    if (entry.rawLine.find("&#x") == std::string::npos)
        return;
    entry.word = DecodeCharacterReferences(entry.word);
    entry.kana = DecodeCharacterReferences(entry.kana);
    for (auto* list : {&entry.meanings, &entry.meaningsAsRead, &entry.info})
        for (std::u16string& text : *list)
            text = DecodeCharacterReferences(text);
    for (dict::Sense& sense : entry.senses)
        for (std::u16string& gloss : sense.glosses)
            gloss = DecodeCharacterReferences(gloss);
}

}  // namespace mirudex::userdata
