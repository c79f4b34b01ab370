#include "core/Format.h"

#include <cstdio>

namespace mirudex {

long long FormatArg::AsSigned() const
{
    switch (kind_) {
    case Kind::Signed: return i_;
    case Kind::Unsigned: return static_cast<long long>(u_);
    case Kind::Double: return static_cast<long long>(d_);
    default: return 0;
    }
}

unsigned long long FormatArg::AsUnsigned() const
{
    switch (kind_) {
    case Kind::Signed: return static_cast<unsigned long long>(i_);
    case Kind::Unsigned: return u_;
    case Kind::Double: return static_cast<unsigned long long>(d_);
    default: return 0;
    }
}

double FormatArg::AsDouble() const
{
    switch (kind_) {
    case Kind::Signed: return static_cast<double>(i_);
    case Kind::Unsigned: return static_cast<double>(u_);
    case Kind::Double: return d_;
    default: return 0;
    }
}

std::u16string FormatArg::AsWide() const
{
    switch (kind_) {
    case Kind::Wide: return std::u16string(w_);
    case Kind::Narrow: {
        std::u16string out;
        out.reserve(n_.size());
        for (unsigned char c : n_)
            out.push_back(c);
        return out;
    }
    default: return {};
    }
}

namespace {

struct FieldFormat {
    bool left = false;
    bool zero = false;
    bool plus = false;
    bool space = false;
    int width = 0;
    int precision = -1;
};

void Pad(std::u16string& out, std::u16string body, const FieldFormat& field, bool numeric)
{
    if (static_cast<int>(body.size()) >= field.width) {
        out += body;
        return;
    }
    size_t fill = static_cast<size_t>(field.width) - body.size();
    if (field.left) {
        out += body;
        out.append(fill, u' ');
    } else if (field.zero && numeric) {
        size_t signLen = (!body.empty() && (body[0] == u'-' || body[0] == u'+' || body[0] == u' ')) ? 1 : 0;
        out.append(body, 0, signLen);
        out.append(fill, u'0');
        out.append(body, signLen);
    } else {
        out.append(fill, u' ');
        out += body;
    }
}

std::u16string Ascii(const char* s)
{
    std::u16string out;
    while (*s)
        out.push_back(static_cast<unsigned char>(*s++));
    return out;
}

}  // namespace

std::u16string FormatArgs(std::u16string_view format, std::span<const FormatArg> args)
{
    std::u16string out;
    out.reserve(format.size() + 16 * args.size());
    size_t next = 0;
    auto take = [&]() -> const FormatArg* { return next < args.size() ? &args[next++] : nullptr; };

    for (size_t i = 0; i < format.size(); ++i) {
        char16_t c = format[i];
        if (c != u'%') {
            out.push_back(c);
            continue;
        }
        if (i + 1 >= format.size()) {
            out.push_back(c);
            break;
        }
        size_t start = i;
        ++i;
        FieldFormat field;
        for (; i < format.size(); ++i) {
            char16_t f = format[i];
            if (f == u'-')
                field.left = true;
            else if (f == u'0')
                field.zero = true;
            else if (f == u'+')
                field.plus = true;
            else if (f == u' ')
                field.space = true;
            else if (f == u'#') {
            } else
                break;
        }
        if (i < format.size() && format[i] == u'*') {
            const FormatArg* a = take();
            field.width = a ? static_cast<int>(a->AsSigned()) : 0;
            if (field.width < 0) {
                field.left = true;
                field.width = -field.width;
            }
            ++i;
        } else {
            while (i < format.size() && format[i] >= u'0' && format[i] <= u'9')
                field.width = field.width * 10 + (format[i++] - u'0');
        }
        if (i < format.size() && format[i] == u'.') {
            ++i;
            field.precision = 0;
            if (i < format.size() && format[i] == u'*') {
                const FormatArg* a = take();
                field.precision = a ? static_cast<int>(a->AsSigned()) : 0;
                ++i;
            } else {
                while (i < format.size() && format[i] >= u'0' && format[i] <= u'9')
                    field.precision = field.precision * 10 + (format[i++] - u'0');
            }
        }
        // Length modifiers carry no meaning here: arguments know their size.
        while (i < format.size() && (format[i] == u'l' || format[i] == u'h' || format[i] == u'I' || format[i] == u'z' ||
                                     format[i] == u'j' || format[i] == u'6' || format[i] == u'4' || format[i] == u'L'))
            ++i;
        if (i >= format.size()) {
            out.append(format.substr(start));
            break;
        }
        char16_t conv = format[i];
        switch (conv) {
        case u'%': out.push_back(u'%'); break;
        case u'd':
        case u'i': {
            const FormatArg* a = take();
            long long v = a ? a->AsSigned() : 0;
            char buf[32];
            std::snprintf(buf, sizeof buf, field.plus ? "%+lld" : (field.space ? "% lld" : "%lld"), v);
            Pad(out, Ascii(buf), field, true);
            break;
        }
        case u'u':
        case u'x':
        case u'X':
        case u'o': {
            const FormatArg* a = take();
            unsigned long long v = a ? a->AsUnsigned() : 0;
            if (a && a->kind() == FormatArg::Kind::Signed && conv != u'u')
                v = static_cast<unsigned long long>(static_cast<unsigned int>(a->AsSigned()));
            else if (a && a->kind() == FormatArg::Kind::Signed && a->AsSigned() < 0)
                v = static_cast<unsigned int>(a->AsSigned());
            char buf[32];
            const char* f = conv == u'u' ? "%llu" : conv == u'x' ? "%llx" : conv == u'X' ? "%llX" : "%llo";
            std::snprintf(buf, sizeof buf, f, v);
            Pad(out, Ascii(buf), field, true);
            break;
        }
        case u'f':
        case u'g':
        case u'e': {
            const FormatArg* a = take();
            double v = a ? a->AsDouble() : 0;
            char buf[64];
            char f[8] = {'%', '.', '*', static_cast<char>(conv), 0};
            std::snprintf(buf, sizeof buf, f, field.precision < 0 ? 6 : field.precision, v);
            Pad(out, Ascii(buf), field, true);
            break;
        }
        case u'c':
        case u'C': {
            const FormatArg* a = take();
            std::u16string body;
            if (a) {
                if (a->kind() == FormatArg::Kind::Wide || a->kind() == FormatArg::Kind::Narrow) {
                    std::u16string w = a->AsWide();
                    if (!w.empty())
                        body.push_back(w[0]);
                } else {
                    body.push_back(static_cast<char16_t>(a->AsUnsigned()));
                }
            }
            Pad(out, body, field, false);
            break;
        }
        case u's':
        case u'S': {
            const FormatArg* a = take();
            std::u16string body = a ? a->AsWide() : std::u16string();
            if (field.precision >= 0 && body.size() > static_cast<size_t>(field.precision))
                body.resize(static_cast<size_t>(field.precision));
            Pad(out, body, field, false);
            break;
        }
        default:
            // Unknown conversion: shown as written.
            out.append(format.substr(start, i - start + 1));
            break;
        }
    }
    return out;
}

}  // namespace mirudex
