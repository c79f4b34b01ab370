#include "userdata/Copy.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "core/DebugLog.h"
#include "core/Format.h"
#include "core/Registry.h"
#include "platform/api/Platform.h"
#include "platform/api/Utf.h"
#include "text/Encoding.h"

namespace mirudex::userdata {

namespace {

// The row of the encoding list that means native UTF-16 clipboard text.
constexpr int kUnicodeRow = 1;

// Keys in their order of priority. Each has a bit in the provenance mask
// that every character of the text carries: the keys whose replacement
// brought the character in.
struct Key {
    std::u16string_view text;
    bool escape;
};
constexpr std::array<Key, 8> kKeys = {{
    {u"\\n", true},
    {u"\\t", true},
    {u"\\:", true},
    {u"%word", false},
    {u"%kana", false},
    {u"%info", false},
    {u"%meaning", false},
    {u"%senses", false},
}};
constexpr size_t kEscapeCount = 3;

using Mask = uint8_t;
constexpr Mask kValueBits = 0xF8;  // bits of %word, %kana, %info, %meaning, %senses
constexpr Mask Bit(size_t key) { return static_cast<Mask>(1u << key); }

// May the occurrence of key k made of these characters' masks be replaced?
// Escapes never inside text that came from a value; a key not inside text
// its own replacement brought in.
bool Replaceable(const Mask* mask, size_t k)
{
    const size_t len = kKeys[k].text.size();
    for (size_t i = 0; i < len; ++i) {
        if (kKeys[k].escape) {
            if (mask[i] & kValueBits)
                return false;
        } else if (!(mask[i] & Bit(k))) {
            return true;
        }
    }
    return kKeys[k].escape;
}

// Replaces keys until none is left that may be replaced. Occurrences of the
// keys never overlap, and replacing one neither changes another nor makes it
// unreplaceable, so every order of replacement ends in the same text: the
// one the rule "the first key by priority, at its first occurrence, then
// again from the top" gives. This order is the cheap one: the text is read
// once from left to right into the output, and whenever the output ends in
// a replaceable key, the key is taken off and its value put back in front of
// what is still to be read. Every character is so handled once per time it
// is brought in (the work is linear in everything the replacements bring
// in). That total is bounded by kMaxCopyTextLength: the rest is left out.
//
// Ends because every replacement takes out a character whose mask lacks the
// key's bit and puts in only characters whose masks are strictly larger,
// and masks are bounded.
std::u16string Expand(std::u16string_view input, size_t keyCount, const std::array<std::u16string_view, 8>& values)
{
    std::u16string out;
    std::vector<Mask> outMask;
    // Still to be read, last character first.
    std::u16string pending(input.rbegin(), input.rend());
    std::vector<Mask> pendingMask(pending.size(), 0);
    size_t brought = input.size();
    bool cut = false;
    while (!pending.empty()) {
        out.push_back(pending.back());
        outMask.push_back(pendingMask.back());
        pending.pop_back();
        pendingMask.pop_back();
        for (size_t k = 0; k < keyCount; ++k) {
            const std::u16string_view key = kKeys[k].text;
            if (out.size() < key.size() || std::u16string_view(out).substr(out.size() - key.size()) != key)
                continue;
            const size_t pos = out.size() - key.size();
            if (!Replaceable(outMask.data() + pos, k))
                continue;
            Mask inherited = Bit(k);
            for (size_t i = pos; i < out.size(); ++i)
                inherited |= outMask[i];
            out.resize(pos);
            outMask.resize(pos);
            const std::u16string_view value = values[k];
            if (brought + value.size() > kMaxCopyTextLength) {
                cut = true;
                break;
            }
            brought += value.size();
            pending.append(value.rbegin(), value.rend());
            pendingMask.insert(pendingMask.end(), value.size(), inherited);
            break;
        }
        if (cut)
            break;
    }
    if (cut)
        dlog::Write(u"WARNING: the copy format makes more than %i characters; the rest is left out.\n",
                    static_cast<int>(kMaxCopyTextLength));
    return out;
}

std::u16string Join(const std::vector<std::u16string>& parts, std::u16string_view separator)
{
    std::u16string joined;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            joined += separator;
        joined += parts[i];
    }
    return joined;
}

std::u16string StoredText(Registry& options, std::string_view path)
{
    const std::string* value = options.GetSTRING(path);
    return value ? StripBraces(*value) : std::u16string();
}

}  // namespace

std::u16string StripBraces(std::string_view stored)
{
    std::u16string text = Utf8ToUtf16(stored);
    if (text.size() < 2)
        return {};
    return text.substr(1, text.size() - 2);
}

std::u16string ExpandEscapes(std::u16string_view text)
{
    return Expand(text, kEscapeCount, {u"\n", u"\t", u":", {}, {}, {}, {}, {}});
}

std::u16string JoinMeanings(const dict::Entry& entry, Registry& options)
{
    return Join(entry.meanings, StoredText(options, opt::results::copy::kSepMeaning));
}

std::u16string JoinInfo(const dict::Entry& entry, Registry& options)
{
    return Join(entry.info, StoredText(options, opt::results::copy::kSepInfo));
}

std::u16string FormatEntry(std::u16string_view format, const dict::Entry& entry, std::u16string_view info,
                           std::u16string_view meanings, std::u16string_view senses)
{
    return Expand(format, kKeys.size(), {u"\n", u"\t", u":", entry.word, entry.kana, info, meanings, senses});
}

std::u16string JoinSenses(const dict::Entry& entry, Registry& options)
{
    return dict::SenseGroupedText(entry, StoredText(options, opt::results::copy::kSepMeaning));
}

std::u16string FormatEntry(const dict::Entry& entry, Registry& options)
{
    const std::u16string info = JoinInfo(entry, options);
    const std::u16string meanings = JoinMeanings(entry, options);
    return FormatEntry(StoredText(options, opt::results::copy::kFormat), entry, info, meanings,
                       JoinSenses(entry, options));
}

std::u16string SelectedEntriesText(const std::vector<dict::Entry>& list, CopyKind kind, Registry& options)
{
    std::u16string result;
    std::optional<std::u16string> separator;
    std::optional<std::u16string> format;
    for (const dict::Entry& entry : list) {
        if (!entry.selected)
            continue;
        if (!result.empty()) {
            if (!separator)
                separator = ExpandEscapes(StoredText(options, opt::results::copy::kSepMultiple));
            result += *separator;
        }
        switch (kind) {
        case CopyKind::Word: result += entry.word; break;
        case CopyKind::Kana: result += entry.kana; break;
        case CopyKind::Meanings: result += JoinMeanings(entry, options); break;
        case CopyKind::Formatted:
            if (!format)
                format = StoredText(options, opt::results::copy::kFormat);
            result += FormatEntry(*format, entry, JoinInfo(entry, options), JoinMeanings(entry, options),
                                  JoinSenses(entry, options));
            break;
        }
    }
    return result;
}

int CopyTextUsingComboboxEncoding(std::u16string_view text, int comboPosition)
{
    const int row = text::RowOfComboPosition(comboPosition);
    if (row < 0) {
        dlog::Write(u"CopyTextUsingComboboxEncoding(): ERROR: index out of bounds (index: %i).\n", -1);
        return -1;
    }
    if (row == kUnicodeRow) {
        platform::Get().SetClipboardText(text);
        return 0;
    }
    const char* encoding = text::IconvNameForRow(row);
    if (!encoding) {
        // A heading of the list names no encoding.
        dlog::Write(u"CopyTextUsingComboboxEncoding(): ERROR: row %i is a heading, not an encoding.\n", row);
        return -1;
    }
    // The exact bytes, so that encodings with zero bytes in them (UTF-16BE,
    // UCS-4 ...) are not cut at the first one.
    const text::PartConversion part = text::ConvertAsFarAsPossible(text::Utf16Bytes(text), "UTF-16LE", encoding);
    if (part.result == text::Conversion::UnknownEncoding)
        return 0;  // reported by the converter; the clipboard keeps what it held
    if (part.result == text::Conversion::Failed) {
        // What the encoding can hold is copied; the user learns where it stopped.
        const size_t at = part.consumed / 2;
        size_t length = 1;
        if (at + 1 < text.size() && text[at] >= 0xD800 && text[at] <= 0xDBFF && text[at + 1] >= 0xDC00 &&
            text[at + 1] <= 0xDFFF)
            length = 2;
        const std::u16string character(text.substr(std::min(at, text.size()), length));
        const unsigned long codePoint = length == 2
                                            ? 0x10000ul + ((character[0] - 0xD800ul) << 10) + (character[1] - 0xDC00ul)
                                            : (character.empty() ? 0ul : static_cast<unsigned long>(character[0]));
        dlog::Write(
            u"CopyTextUsingComboboxEncoding(): ERROR: '%s' (U+%04X) cannot be written in %S; %i of %i "
            u"characters copied.\n",
            character, codePoint, encoding, static_cast<long long>(at), static_cast<long long>(text.size()));
        std::u16string message =
            Format(u"The character '%s' (U+%04X) cannot be written in %S.\n\n", character, codePoint, encoding);
        message += at == 0 ? u"Nothing was copied: the clipboard keeps what it held."
                           : u"Only the text before it was copied to the clipboard.";
        platform::Get().MessageBox(message, u"Error: iconv", platform::Buttons::Ok, platform::Owner::None);
        if (at == 0)
            return 0;
    }
    platform::Get().SetClipboardBytes(part.bytes, encoding);
    return 0;
}

int CopyEntries(const std::vector<dict::Entry>& list, CopyKind kind, Registry& options, int comboPosition)
{
    return CopyTextUsingComboboxEncoding(SelectedEntriesText(list, kind, options), comboPosition);
}

}  // namespace mirudex::userdata
