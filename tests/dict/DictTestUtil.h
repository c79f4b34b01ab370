#pragma once
// Helpers shared by the dictionary tests: text in the files' encodings made
// from UTF-8 literals, and a working-directory fixture with default options.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "dict/Dictionary.h"
#include "dict/Entry.h"
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

// What a printer of a plain EDICT line gets from JoinedTextsOfLine against
// what it gets from the entry FillEntryFromLine and SetInfo make, joined, for
// a few pairs of separators: empty when they agree, else both.
inline std::string JoinedTextsDifferences(const std::string& line, const Dictionary& dictionary,
                                          const MarkerTable& markers)
{
    auto join = [](const std::vector<std::u16string>& parts, std::u16string_view separator) {
        std::u16string joined;
        for (size_t i = 0; i < parts.size(); ++i)
            joined.append(i == 0 ? u"" : separator).append(parts[i]);
        return joined;
    };
    const std::pair<std::u16string, std::u16string> separators[] = {{u"; ", u" / "}, {u"", u""}, {u"\t", u"|"}};
    std::string differences;
    for (const auto& [sepInfo, sepMeaning] : separators) {
        Entry entry;
        FillEntryFromLine(line, dictionary, entry, IndexEntry{u"W", u"K", 0});
        SetInfo(entry, markers, false);
        const std::u16string info = join(entry.info, sepInfo), meanings = join(entry.meanings, sepMeaning);
        std::u16string joinedInfo = u"x", joinedMeanings = u"y";
        if (!JoinedTextsOfLine(line, dictionary, markers, sepInfo, sepMeaning, joinedInfo, joinedMeanings))
            return "not joined: " + line;
        if (joinedInfo != info || joinedMeanings != meanings)
            differences += "line " + line + "entry: <" + Utf16ToUtf8(info) + "> <" + Utf16ToUtf8(meanings) +
                           ">\njoined: <" + Utf16ToUtf8(joinedInfo) + "> <" + Utf16ToUtf8(joinedMeanings) + ">\n";
    }
    return differences;
}

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
