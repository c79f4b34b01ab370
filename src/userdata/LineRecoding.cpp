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

// One character (a code point: one or two units) of UTF-16LE bytes at i.
size_t CharacterBytes(std::string_view utf16, size_t i)
{
    const auto unit =
        static_cast<char16_t>(static_cast<unsigned char>(utf16[i]) | (static_cast<unsigned char>(utf16[i + 1]) << 8));
    const bool pair = unit >= 0xD800 && unit <= 0xDBFF && i + 4 <= utf16.size();
    return pair ? 4 : 2;
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

std::string RawLineInEucJp(const dict::Entry& entry, bool* lossy)
{
    if (lossy)
        *lossy = false;
    const std::string& line = entry.rawLine;
    if (entry.encoding.empty() || EqualsIgnoreCase(entry.encoding, kEucJp) || EqualsIgnoreCase(entry.encoding, "EUCJP"))
        return line;
    if (std::optional<std::string> converted = ConvertQuietly(line, entry.encoding, std::string(kEucJp)))
        return *converted;

    // Character by character: what EUC-JP cannot hold becomes '?'.
    const std::optional<std::string> utf16 = ConvertQuietly(line, entry.encoding, "UTF-16LE");
    if (!utf16) {
        dlog::Write(u"SaveStudyList(): WARNING: the line of '%s' could not be read as %S; kept as it was.\n",
                    entry.word, entry.encoding);
        return line;
    }
    std::string out;
    for (size_t i = 0; i + 1 < utf16->size();) {
        const size_t length = CharacterBytes(*utf16, i);
        const std::string_view character = std::string_view(*utf16).substr(i, length);
        if (std::optional<std::string> euc = ConvertQuietly(character, "UTF-16LE", std::string(kEucJp))) {
            out += *euc;
        } else {
            out.push_back('?');
            if (lossy)
                *lossy = true;
        }
        i += length;
    }
    dlog::Write(
        u"SaveStudyList(): WARNING: the line of '%s' holds characters EUC-JP lacks; they were written as "
        u"'?'.\n",
        entry.word);
    return out;
}

}  // namespace mirudex::userdata
