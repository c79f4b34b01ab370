#include "userdata/LineRecoding.h"

#include <iconv.h>

#include <cerrno>
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

bool IsAscii(std::string_view bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

bool HeadwordReadsAs(const dict::Entry& entry, const std::string& encoding)
{
    if (entry.word.empty())
        return false;
    const std::string_view line = entry.rawLine;
    const size_t space = line.find(' ');
    if (space == std::string_view::npos || space == 0)
        return false;
    std::optional<std::string> wide = ConvertQuietly(line.substr(0, space), encoding, "UTF-16LE");
    if (!wide || wide->size() != entry.word.size() * 2)
        return false;
    for (size_t i = 0; i < entry.word.size(); ++i) {
        const char16_t unit = static_cast<char16_t>(static_cast<unsigned char>((*wide)[2 * i]) |
                                                    (static_cast<unsigned char>((*wide)[2 * i + 1]) << 8));
        if (unit != entry.word[i])
            return false;
    }
    return true;
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

std::string RawLineInEucJp(const dict::Entry& entry, std::span<const std::string> candidateEncodings)
{
    const std::string& line = entry.rawLine;
    if (IsAscii(line) || HeadwordReadsAs(entry, std::string(kEucJp)))
        return line;
    for (const std::string& encoding : candidateEncodings) {
        if (EqualsIgnoreCase(encoding, kEucJp) || !HeadwordReadsAs(entry, encoding))
            continue;
        if (std::optional<std::string> converted = ConvertQuietly(line, encoding, std::string(kEucJp)))
            return *converted;
        dlog::Write(
            u"SaveStudyList(): WARNING: the line of '%s' could not be converted from %S to EUC-JP; kept as it "
            u"was.\n",
            entry.word, encoding);
        return line;
    }
    return line;
}

}  // namespace mirudex::userdata
