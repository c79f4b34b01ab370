#pragma once
// printf-style formatting into UTF-16 with the Windows reading of %s and %S:
// in these wide format texts %s takes a wide (UTF-16) argument and %S an 8-bit
// one. Also %i %d %u %x %X %c %f %%, with flags (-, 0, +, space), widths and
// precisions. glibc's wide printf reads %s/%S the other way round, so every
// log line and message goes through here instead.
//
// An argument of the other width than its conversion asks for is still shown
// (8-bit bytes widened one to one); a missing argument shows as nothing.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace mirudex {

class FormatArg {
public:
    enum class Kind { Signed, Unsigned, Wide, Narrow, Double };

    FormatArg(int v) : kind_(Kind::Signed), i_(v) {}
    FormatArg(long v) : kind_(Kind::Signed), i_(v) {}
    FormatArg(long long v) : kind_(Kind::Signed), i_(v) {}
    FormatArg(unsigned v) : kind_(Kind::Unsigned), u_(v) {}
    FormatArg(unsigned long v) : kind_(Kind::Unsigned), u_(v) {}
    FormatArg(unsigned long long v) : kind_(Kind::Unsigned), u_(v) {}
    FormatArg(char16_t v) : kind_(Kind::Unsigned), u_(v) {}
    FormatArg(char v) : kind_(Kind::Unsigned), u_(static_cast<unsigned char>(v)) {}
    FormatArg(bool v) : kind_(Kind::Signed), i_(v ? 1 : 0) {}
    FormatArg(double v) : kind_(Kind::Double), d_(v) {}
    FormatArg(const char16_t* s) : kind_(Kind::Wide), w_(s ? std::u16string_view(s) : std::u16string_view(u"(null)")) {}
    FormatArg(std::u16string_view s) : kind_(Kind::Wide), w_(s) {}
    FormatArg(const std::u16string& s) : kind_(Kind::Wide), w_(s) {}
    FormatArg(const char* s) : kind_(Kind::Narrow), n_(s ? std::string_view(s) : std::string_view("(null)")) {}
    FormatArg(std::string_view s) : kind_(Kind::Narrow), n_(s) {}
    FormatArg(const std::string& s) : kind_(Kind::Narrow), n_(s) {}

    Kind kind() const { return kind_; }
    long long AsSigned() const;
    unsigned long long AsUnsigned() const;
    double AsDouble() const;
    std::u16string AsWide() const;

private:
    Kind kind_;
    long long i_ = 0;
    unsigned long long u_ = 0;
    double d_ = 0;
    std::u16string_view w_;
    std::string_view n_;
};

std::u16string FormatArgs(std::u16string_view format, std::span<const FormatArg> args);

template <typename... Args>
std::u16string Format(std::u16string_view format, const Args&... args)
{
    if constexpr (sizeof...(Args) == 0) {
        return FormatArgs(format, {});
    } else {
        const FormatArg list[] = {FormatArg(args)...};
        return FormatArgs(format, list);
    }
}

}  // namespace mirudex
