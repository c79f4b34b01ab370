#include "dict/Kanjidic.h"

#include <optional>
#include <string_view>

#include "core/Ascii.h"
#include "core/DebugLog.h"
#include "core/LineReader.h"
#include "core/Registry.h"
#include "dict/Dictionary.h"
#include "dict/IndexIdentity.h"
#include "dict/KanjiTerms.h"
#include "platform/api/Platform.h"
#include "platform/api/Utf.h"
#include "text/Encoding.h"

namespace mirudex::dict {

namespace {

constexpr int kStopCheckInterval = 1024;

// The four characters after the U, read as hexadecimal from the right: the
// digits right of the first character that is not one make the value.
uint16_t CodeOfUField(std::string_view digits)
{
    unsigned value = 0;
    unsigned scale = 1;
    for (size_t i = digits.size(); i-- > 0;) {
        const int digit = HexDigitValue(digits[i]);
        if (digit < 0)
            break;
        value += static_cast<unsigned>(digit) * scale;
        scale *= 16;
    }
    return static_cast<uint16_t>(value);
}

// Decimal value like C's atoi: leading blanks, a sign, digits up to the first other character.
int AtoI(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value < 1000000000L)
            value = value * 10 + (text[i] - '0');
    }
    return static_cast<int>(negative ? -value : value);
}

// Converts a KANJIDIC reading (EUC-JP kana with '.' and '-') to UTF-16. Kana
// and full-width letters go through the direct table; any other character
// (the long-vowel mark, for one) through the encoding converter.
std::u16string ConvertReading(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size() / 2 + 1);
    size_t i = 0;
    while (i < bytes.size()) {
        const auto b1 = static_cast<unsigned char>(bytes[i]);
        if (b1 < 0x80) {
            out.push_back(static_cast<char16_t>(b1));
            ++i;
            continue;
        }
        const size_t width = b1 == 0x8F ? 3 : 2;  // 0x8F starts a three-byte character
        if (i + width > bytes.size())
            break;
        if (width == 2) {
            const unsigned code = (b1 << 8) | static_cast<unsigned char>(bytes[i + 1]);
            if (code >= 0xA4A1 && code <= 0xA4F3) {
                out.push_back(static_cast<char16_t>(code - 0x7460));
                i += 2;
                continue;
            }
            if (code >= 0xA5A1 && code <= 0xA5F6) {
                out.push_back(static_cast<char16_t>(code - 0x7500));
                i += 2;
                continue;
            }
            if (code >= 0xA3B0 && code <= 0xA3FA) {
                out.push_back(static_cast<char16_t>((code + 0x5C80) & 0xFFFF));
                i += 2;
                continue;
            }
        }
        std::u16string converted;
        if (text::ConvertToWideQuietly(bytes.substr(i, width), "EUC-JP", "UTF-16LE", converted) ==
            text::Conversion::Converted)
            out += converted;
        i += width;
    }
    return out;
}

bool HasKatakana(std::u16string_view text)
{
    for (char16_t c : text) {
        if (c >= 0x30A0 && c <= 0x30FF)
            return true;
    }
    return false;
}

enum class ReadingMode { Plain, Nanori, Radical };

// Drops text up to and including the next space; all of it when there is none.
void SkipField(std::string_view& text)
{
    const size_t space = text.find(' ');
    text = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
}

}  // namespace

void KanjiIndex::Clear()
{
    entries.clear();
    entries.shrink_to_fit();
    count = 0;
    terms.reset();
}

namespace {

// The kanji dictionary's lines are read as EUC-JP whatever the options say.
constexpr std::string_view kKanjidicEncoding = "EUC-JP";

// Fills the index from its file when that stands for the dictionary now.
bool UseKanjiIndexFile(KanjiIndex& index, const IndexIdentity& identity)
{
    const std::string indexName = KanjiIndexFilePath(index.path);
    std::string problem;
    auto terms = MapKanjiIndexFile(platform::FilePath(indexName), identity, problem);
    if (!terms) {
        if (problem != "missing")
            dlog::Write(u"KANJIDIC_Index_Load: index file (%S) not used (%S); it is made again.\n", indexName, problem);
        return false;
    }
    index.entries.resize(terms->EntryCount());
    for (size_t i = 0; i < index.entries.size(); ++i)
        index.entries[i] = {terms->Code(i), terms->Offset(i)};
    index.count = static_cast<int32_t>(index.entries.size());
    index.terms = std::move(terms);
    dlog::Write(u"KANJIDIC_Index_Load: Number of entries: %i (in '%S')\n", index.count, index.path);
    return true;
}

}  // namespace

LoadOutcome KANJIDIC_Index_Load(KanjiIndex& index, Registry& registry, StopToken stop)
{
    index.Clear();
    index.path = registry.GetString(opt::dictionaries::kanjidic::kPath);
    const int bufferSize = registry.GetINT(opt::buffer::kKANJIDIC);
    const bool indexing = registry.GetBOOL(opt::dictionaries::kIndexing);
    std::optional<IndexIdentity> identity;
    if (indexing) {
        int error = 0;
        identity = IdentityOfFile(platform::FilePath(index.path), kKanjidicEncoding, bufferSize, error);
        if (identity && UseKanjiIndexFile(index, *identity)) {
            if (!stop.StopRequested())
                return LoadOutcome::Done;
            index.Clear();
            return LoadOutcome::Stopped;
        }
    }

    LineReader file;
    if (!file.Open(platform::FilePath(index.path))) {
        dlog::Write(u"ERROR: KANJIDIC_Index_Load(): Couldn't open %S\n", index.path);
        return LoadOutcome::Done;
    }
    const int lines = CountLinesInFile(file, registry);
    index.entries.reserve(static_cast<size_t>(lines));
    dlog::Write(u"KANJIDIC_Index_Load: There are %i lines in %S\n", lines, index.path);

    // The texts the searches compare, from each kanji's record.
    KanjiTermsBuilder terms;
    KanjiRecord record;
    std::string line;
    int lineNumber = 0;
    int tooLong = 0;
    for (;;) {
        if (lineNumber % kStopCheckInterval == 0 && stop.StopRequested()) {
            index.Clear();
            return LoadOutcome::Stopped;
        }
        KanjiIndexEntry entry;
        entry.offset = static_cast<int32_t>(file.Tell());
        const LineReader::Read read = file.ReadLine(line, LineLimit(bufferSize));
        if (read == LineReader::Read::End)
            break;
        ++lineNumber;
        if (read == LineReader::Read::TooLong) {
            // Its record could not be read back either: the kanji is left out.
            ++tooLong;
            dlog::Write(
                u"KANJIDIC_Index_Load(): ERROR: line %i is longer than the KANJIDIC buffer (%i); it is skipped. "
                u"Increase the buffer to use it.\n",
                lineNumber, bufferSize);
            continue;
        }
        TrimLineEnd(line);
        if (!line.empty() && line.front() == '#')
            continue;
        const size_t u = line.find(" U");
        if (u != std::string::npos) {
            entry.code = CodeOfUField(std::string_view(line).substr(u + 2, 4));
        } else {
            dlog::Write(u"KANJIDIC_Index_Load(): ERROR: Unicode not found (index: %i)\n",
                        static_cast<int>(index.entries.size()));
        }
        index.entries.push_back(entry);
        record = KanjiRecord();
        ParseKanjiLine(line, entry.code, record);
        terms.AddKanji(entry.code, entry.offset);
        for (const std::u16string& meaning : record.meanings)
            terms.AddMeaning(meaning);
        for (const auto* list : {&record.onReadings, &record.kunReadings, &record.nanori, &record.radicalReadings})
            for (const std::u16string& reading : *list)
                terms.AddReading(reading);
    }
    if (tooLong > 0)
        dlog::Write(u"KANJIDIC_Index_Load(): %i lines longer than the buffer were skipped.\n", tooLong);
    index.count = static_cast<int32_t>(index.entries.size());
    dlog::WriteAt(1, u"   (Actual number of entries: %i)\n", index.count);
    file.Close();

    std::string image = terms.Build();
    terms = KanjiTermsBuilder();
    if (identity && index.count > 0) {
        // An index file must describe the file it was read from: one that
        // changed while it was read gets none this time.
        const std::string indexName = KanjiIndexFilePath(index.path);
        int error = 0;
        const auto after = IdentityOfFile(platform::FilePath(index.path), kKanjidicEncoding, bufferSize, error);
        if (!after || *after != *identity)
            dlog::Write(u"KANJIDIC_Index_Load: %S changed while it was read; index not made.\n", index.path);
        else if (!WriteKanjiIndexFile(platform::FilePath(indexName), image, *identity))
            dlog::Write(u"KANJIDIC_Index_Load: ERROR: could not write (%S).  Index not made.\n", indexName);
    }
    std::string problem;
    index.terms = KanjiTerms::Adopt(OwnedImage(std::move(image)), problem);
    return LoadOutcome::Done;
}

void LoadKANJIDICInfoInto(const KanjiIndex& index, Registry& registry, KanjiRecord& record,
                          const KanjiIndexEntry* entry)
{
    if (!entry) {
        dlog::Write(u"LoadKANJIDICInfoInto(): ERROR: index is NULL.\n");
        return;
    }
    LineReader file;
    if (!file.Open(platform::FilePath(index.path))) {
        dlog::Write(u"LoadKANJIDICInfoInto(): ERROR: File %s not opened.\n", Widen(index.path));
        return;
    }
    LoadKANJIDICInfoInto(file, registry, record, entry);
}

void LoadKANJIDICInfoInto(LineReader& file, Registry& registry, KanjiRecord& record, const KanjiIndexEntry* entry)
{
    if (!entry) {
        dlog::Write(u"LoadKANJIDICInfoInto(): ERROR: index is NULL.\n");
        return;
    }
    std::string line;
    if (!file.Seek(entry->offset) ||
        file.ReadLine(line, LineLimit(registry.GetINT(opt::buffer::kKANJIDIC))) != LineReader::Read::Line)
        return;
    TrimLineEnd(line);
    ParseKanjiLine(line, entry->code, record);
}

void ParseKanjiLine(std::string_view line, uint16_t code, KanjiRecord& record)
{
    if (!line.empty() && line.front() == '#')
        return;
    std::string_view text(line);
    SkipField(text);  // the kanji itself
    record.code = code;
    record.frequency = 0;
    record.strokes = 0;
    ReadingMode mode = ReadingMode::Plain;

    while (!text.empty()) {
        const auto first = static_cast<unsigned char>(text.front());
        if (first == ' ') {
            text.remove_prefix(1);
        } else if (first == '{') {
            const size_t close = text.find('}', 1);
            if (close == std::string_view::npos) {
                record.meanings.emplace_back();
                text = {};
            } else {
                record.meanings.push_back(Widen(text.substr(1, close - 1)));
                text.remove_prefix(close + 1);
            }
        } else if (first == '-' || first == 0xA4 || first == 0xA5) {
            const size_t space = text.find(' ');
            // A reading is ended by a space; one at the very end of the line
            // has no end and is taken as empty.
            std::u16string reading =
                space == std::string_view::npos ? std::u16string() : ConvertReading(text.substr(0, space));
            if (mode == ReadingMode::Nanori)
                record.nanori.push_back(std::move(reading));
            else if (mode == ReadingMode::Radical)
                record.radicalReadings.push_back(std::move(reading));
            else if (HasKatakana(reading))
                record.onReadings.push_back(std::move(reading));
            else
                record.kunReadings.push_back(std::move(reading));
            SkipField(text);
        } else {
            const size_t space = text.find(' ');
            if (space != std::string_view::npos) {
                const std::string_view value = text.substr(1, space - 1);
                if (first == 'F') {
                    record.frequency = static_cast<uint16_t>(AtoI(value));
                } else if (first == 'S') {
                    if (record.strokes == 0)
                        record.strokes = static_cast<uint8_t>(AtoI(value));
                } else if (first == 'T') {
                    if (value == "1")
                        mode = ReadingMode::Nanori;
                    else if (value == "2")
                        mode = ReadingMode::Radical;
                }
            }
            SkipField(text);
        }
    }
}

const KanjiIndexEntry* FindKanji(const KanjiIndex& index, uint16_t code)
{
    for (const auto& entry : index.entries) {
        if (entry.code == code)
            return &entry;
    }
    return nullptr;
}

}  // namespace mirudex::dict
