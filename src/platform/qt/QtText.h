#pragma once
// Conversions between the program's UTF-16 text and Qt's strings, for every
// window. Both are UTF-16, so nothing is lost either way.

#include <QString>
#include <string>
#include <string_view>

namespace mirudex {

inline QString Q(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string U16(const QString& text) { return text.toStdU16String(); }

}  // namespace mirudex
