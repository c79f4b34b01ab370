#include "dict/Radicals.h"

#include "core/DebugLog.h"
#include "core/LineReader.h"
#include "core/Registry.h"
#include "platform/api/Platform.h"
#include "text/Encoding.h"

namespace mirudex::dict {

namespace {

int RadkBufferSize(Registry& registry) { return registry.GetINT(opt::buffer::kRADKFILE); }

// Like the C library's wide atoi: leading blanks, a sign, digits up to the
// first other character.
int WideAtoI(std::u16string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        if (value < 1000000000L)
            value = value * 10 + (text[i] - u'0');
    }
    return static_cast<int>(negative ? -value : value);
}

// The value of the text up to the next space (all of it without one); then
// drops through that space, or nothing when there is none.
int TakeNumberField(std::u16string_view& text)
{
    const size_t space = text.find(u' ');
    const int value = WideAtoI(text.substr(0, space));
    if (space != std::u16string_view::npos)
        text.remove_prefix(space + 1);
    return value;
}

// Fills a record from its converted '$' line: "$ R strokes [field]".
void ParseRadicalLine(RadicalRecord& record, std::u16string_view line)
{
    if (line.size() > 2)
        record.radical = line[2];
    line.remove_prefix(std::min<size_t>(4, line.size()));
    record.strokes = static_cast<uint8_t>(TakeNumberField(line));
    record.secondNumber = static_cast<uint8_t>(TakeNumberField(line));
    record.remainder = std::u16string(line);
}

}  // namespace

int CountRadsInFile(LineReader& file, Registry& registry)
{
    const size_t limit = LineLimit(RadkBufferSize(registry));
    file.Seek(0);
    int count = 0;
    std::string line;
    for (LineReader::Read read; (read = file.ReadLine(line, limit)) != LineReader::Read::End;) {
        // Too long a line is not used at all, so it opens no radical either.
        if (read == LineReader::Read::TooLong)
            dlog::Write(u"CountRadsInFile: ERROR: Increase the raddat buffer size.\n");
        else if (!line.empty() && line.front() == '$')
            ++count;
    }
    file.Seek(0);
    return count;
}

int LoadRadicalInfo(RadicalTable& table, std::u16string_view path, Registry& registry)
{
    table.records.clear();
    std::string narrowPath;
    for (char16_t unit : path)
        narrowPath.push_back(static_cast<char>(unit & 0xFF));
    LineReader file;
    if (!file.Open(platform::FilePath(narrowPath))) {
        dlog::Write(u"ERROR: Could not find Radical Info file:\n   %s\n", path);
        return -1;
    }
    table.records.resize(static_cast<size_t>(CountRadsInFile(file, registry)));

    const int bufferSize = RadkBufferSize(registry);
    RadicalRecord* current = nullptr;
    bool currentConverted = false;
    size_t next = 0;
    std::u16string collected;
    auto closeRecord = [&] {
        if (!current)
            return;  // lines before the first radical go to the first one
        // A record whose '$' line could not be read stays empty.
        if (currentConverted) {
            current->kanji = collected;
            current->kanjiSize = static_cast<int32_t>(collected.size()) + 1;
        }
        collected.clear();
    };

    std::string line;
    std::u16string converted;
    int lineNumber = 0;
    int tooLong = 0;
    int undecoded = 0;
    for (LineReader::Read read; (read = file.ReadLine(line, LineLimit(bufferSize))) != LineReader::Read::End;) {
        ++lineNumber;
        if (read == LineReader::Read::TooLong) {
            ++tooLong;
            dlog::Write(u"LoadRadicalInfo(): ERROR: line %i is longer than the RADKFILE buffer (%i); it is skipped.\n",
                        lineNumber, bufferSize);
            continue;
        }
        if (!line.empty() && line.front() == '#')
            continue;
        TrimLineEnd(line);
        if (!line.empty() && line.front() == '$') {
            closeRecord();
            if (next == table.records.size())
                table.records.emplace_back();  // a '$' the counting pass saw inside a longer line
            current = &table.records[next++];
            currentConverted =
                text::ConvertToWideQuietly(line, "SHIFT_JIS", "UTF-16LE", converted) == text::Conversion::Converted;
            if (!currentConverted) {
                ++undecoded;
                dlog::Write(u"LoadRadicalInfo(): ERROR: ConvertEncoding() returned -1.\n");
                continue;
            }
            ParseRadicalLine(*current, converted);
            continue;
        }
        if (text::ConvertToWideQuietly(line, "SHIFT_JIS", "UTF-16LE", converted) != text::Conversion::Converted) {
            ++undecoded;
            dlog::Write(u"LoadRadicalInfo: ERROR: ConvertEncoding() returned -1.\n");
            continue;
        }
        collected += converted;
    }
    closeRecord();
    if (tooLong > 0 || undecoded > 0)
        dlog::Write(
            u"LoadRadicalInfo(): %i lines longer than the buffer and %i lines that are not Shift-JIS were "
            u"skipped.\n",
            tooLong, undecoded);
    return 0;
}

}  // namespace mirudex::dict
