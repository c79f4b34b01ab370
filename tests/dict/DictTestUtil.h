#pragma once
// Helpers shared by the dictionary tests: text in the files' encodings made
// from UTF-8 literals, and a working-directory fixture with default options.

#include <string>
#include <string_view>

#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "platform/api/Utf.h"
#include "support/TestSupport.h"
#include "text/Encoding.h"

namespace mirudex::dict::test {

inline std::u16string U(std::string_view utf8) { return Utf8ToUtf16(utf8); }

// UTF-8 text as the bytes of another encoding (EUC-JP, SHIFT_JIS, UTF-8 ...).
inline std::string Encode(std::string_view utf8, const char* encoding)
{
    std::string out;
    EXPECT_EQ(text::ConvertEncodingToNarrow(text::Utf16Bytes(Utf8ToUtf16(utf8)), "UTF-16LE", encoding, out), 0) << utf8;
    return out;
}
inline std::string Euc(std::string_view utf8) { return Encode(utf8, "EUC-JP"); }
inline std::string Sjis(std::string_view utf8) { return Encode(utf8, "SHIFT_JIS"); }

class DictTest : public mirudex::test::WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        registry_.LoadFromText(DefaultOptionsText());
    }

    Registry registry_;
};

}  // namespace mirudex::dict::test
