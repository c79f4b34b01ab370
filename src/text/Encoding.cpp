// Conversion between encodings over glibc's iconv, and the clipboard
// encoding table.
#include "text/Encoding.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

#include "core/BuildConfig.h"
#include "core/DebugLog.h"
#include "platform/api/Platform.h"
#include "platform/api/Utf.h"

namespace mirudex::text {
namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// One open iconv converter. Not copyable; closing happens exactly once.
class IconvConverter {
public:
    IconvConverter() = default;
    explicit IconvConverter(iconv_t cd) : cd_(cd) {}
    ~IconvConverter()
    {
        if (cd_ != kNoConverter)
            iconv_close(cd_);
    }
    IconvConverter(const IconvConverter&) = delete;
    IconvConverter& operator=(const IconvConverter&) = delete;
    IconvConverter(IconvConverter&& other) noexcept : cd_(std::exchange(other.cd_, kNoConverter)) {}
    IconvConverter& operator=(IconvConverter&& other) noexcept
    {
        if (this != &other) {
            if (cd_ != kNoConverter)
                iconv_close(cd_);
            cd_ = std::exchange(other.cd_, kNoConverter);
        }
        return *this;
    }

    iconv_t get() const { return cd_; }

    // Back to the initial shift state, so a converter left in the middle of a
    // failed conversion serves the next call as a fresh one would.
    void Reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t cd_ = kNoConverter;
};

// Converters stay open per thread and per pair of names: dictionary loading
// converts one line per call, and opening a converter each time costs more
// than the conversion itself. Failed opens are not kept, so every call with
// an unknown name reports the failure again. A converter is handed out in its
// initial state: a successful conversion ends there, a failed one is reset.
class ConverterCache {
public:
    // The converter for the pair, opened when needed; nullptr with errno set
    // when iconv cannot open it.
    IconvConverter* Get(std::string_view source, std::string_view target)
    {
        for (auto& entry : entries_) {
            if (entry.source == source && entry.target == target)
                return &entry.converter;
        }
        std::string from(GlibcName(source));
        std::string to(GlibcName(target));
        iconv_t cd = iconv_open(to.c_str(), from.c_str());
        if (cd == kNoConverter)
            return nullptr;
        if (entries_.size() >= kMaxEntries)
            entries_.erase(entries_.begin());
        entries_.push_back(Entry{std::string(source), std::string(target), IconvConverter(cd)});
        return &entries_.back().converter;
    }

    static std::string_view GlibcName(std::string_view name);

private:
    static constexpr std::size_t kMaxEntries = 8;
    struct Entry {
        std::string source;
        std::string target;
        IconvConverter converter;
    };
    std::vector<Entry> entries_;
};

bool EqualsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 0x20);
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 0x20);
        if (x != y)
            return false;
    }
    return true;
}

// Encodings of the table that glibc knows under another name. Only exact
// equivalents belong here (checked byte by byte); an encoding glibc lacks
// keeps its name and fails to open.
struct NameAlias {
    const char* tableName;
    const char* glibcName;
};
constexpr std::array<NameAlias, 3> kGlibcAliases = {{
    {"MacRoman", "MACINTOSH"},
    {"MacCentralEurope", "MAC-CENTRALEUROPE"},
    {"MacUkraine", "MAC-UK"},
}};

std::string_view ConverterCache::GlibcName(std::string_view name)
{
    for (const auto& alias : kGlibcAliases) {
        if (EqualsIgnoreCase(name, alias.tableName))
            return alias.glibcName;
    }
    return name;
}

ConverterCache& ThreadConverters()
{
    thread_local ConverterCache cache;
    return cache;
}

std::u16string ContactAddress() { return std::u16string(build::kContactAddress); }

void ShowError(std::u16string_view text, std::u16string_view caption)
{
    platform::Get().MessageBox(text, caption, platform::Buttons::Ok, platform::Owner::None);
}

// The first bytes of the buffer read as a zero-terminated UTF-16LE text (an
// odd last byte pairs with the zero after it).
std::u16string WideUntilZero(const std::string& buffer, std::size_t bytes)
{
    std::u16string text((bytes + 1) / 2, u'\0');
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(text.data(), buffer.data(), bytes);
    } else {
        for (std::size_t i = 0; i < bytes; ++i)
            text[i / 2] |= static_cast<char16_t>(static_cast<unsigned char>(buffer[i]) << (i % 2 ? 8 : 0));
    }
    text.resize(std::char_traits<char16_t>::length(text.c_str()));
    return text;
}

void ReportOpenFailure(int error, std::string_view source, std::string_view target)
{
    if (error == EINVAL) {
        dlog::Write(u"ERROR: ConvertEncoding(): errno == EINVAL.\n");
        ShowError(Format(u"conversion from '%S' to '%S' not available", source, target) +
                      u"\n\nPlease report this error to Quillon (" + ContactAddress() + u"), please.",
                  u"Error: iconv_open");
    } else {
        dlog::Write(u"ERROR: ConvertEncoding(): errno == (something that is not EINVAL).\n");
        ShowError(
            Format(u"errno: %i\n\nPlease report this error to Quillon (", error) + ContactAddress() + u"), please.",
            u"Error: iconv_open");
    }
}

void ReportConversionFailure(int error, const std::string& partial)
{
    switch (error) {
    case E2BIG:
        dlog::Write(u"ERROR: ConvertEncoding(): nconv == -1 | errno == E2BIG.\n");
        ShowError(u"There is not sufficient room at *outbuf\n\nPlease report this error to Quillon (" +
                      ContactAddress() + u"), please.",
                  u"Error: iconv");
        break;
    case EILSEQ:
        dlog::Write(u"ERROR: ConvertEncoding(): nconv == -1 | errno == EILSEQ.\n");
        ShowError(u"An invalid multibyte sequence has been encountered in the input.", u"Error: iconv");
        break;
    case EINVAL:
        dlog::Write(u"ERROR: ConvertEncoding(): nconv == -1 | errno == INVAL.\n");
        ShowError(u"An incomplete multibyte sequence has been encountered in the input.", u"Error: iconv");
        break;
    case 0:
        dlog::Write(u"ERROR: ConvertEncoding(): nconv == -1 | errno == 0 | out_buffer: (%S).\n",
                    std::string_view(partial.c_str()));
        break;
    default:
        dlog::Write(u"ERROR: ConvertEncoding(): nconv == -1 | errno == (nothing good: %i).\n", error);
        ShowError(
            Format(u"errno: %i\n\nPlease report this error to Quillon (", error) + ContactAddress() + u"), please.",
            u"Error: iconv");
        break;
    }
}

constexpr EncodingRow kEncodingTable[kEncodingRowCount] = {
    {0, u"<<<<  W I N D O W S    U N I C O D E  >>>>", nullptr},
    {1, u"Normal Unicode (Windows)", "UTF-16LE"},
    {2, u"<<<<<<<<<<  J A P A N E S E  >>>>>>>>>>", nullptr},
    {3, u"EUC-JP", "EUC-JP"},
    {4, u"Shift JIS (SJIS)", "SHIFT_JIS"},
    {5, u"CP932 (Microsoft SJIS)", "CP932"},
    {6, u"ISO-2022-JP (~1983)", "ISO-2022-JP"},
    {7, u"ISO-2022-JP-1 (~1990)", "ISO-2022-JP-1"},
    {8, u"ISO-2022-JP-2 (Multi-lingual extention)", "ISO-2022-JP-2"},
    {9, u"<<<<<<<<<<<  U N I C O D E  >>>>>>>>>>>", nullptr},
    {10, u"UTF-8", "UTF-8"},
    {11, u"UCS-2", "UCS-2"},
    {12, u"UCS-2BE", "UCS-2BE"},
    {13, u"UCS-2LE", "UCS-2LE"},
    {14, u"UCS-4", "UCS-4"},
    {15, u"UCS-4BE", "UCS-4BE"},
    {16, u"UCS-4LE", "UCS-4LE"},
    {17, u"UTF-16", "UTF-16"},
    {18, u"UTF-16BE", "UTF-16BE"},
    {19, u"UTF-16LE", "UTF-16LE"},
    {20, u"UTF-32", "UTF-32"},
    {21, u"UTF-32BE", "UTF-32BE"},
    {22, u"UTF-32LE", "UTF-32LE"},
    {23, u"UTF-7", "UTF-7"},
    {24, u"C99", "C99"},
    {25, u"JAVA", "JAVA"},
    {26, u"<<<<<<<<<<<  C H I N E S E  >>>>>>>>>>>", nullptr},
    {27, u"EUC-CN", "EUC-CN"},
    {28, u"HZ", "HZ"},
    {29, u"GBK", "GBK"},
    {30, u"GB18030", "GB18030"},
    {31, u"EUC-TW", "EUC-TW"},
    {32, u"BIG5", "BIG5"},
    {33, u"CP950", "CP950"},
    {34, u"BIG5-HKSCS", "BIG5-HKSCS"},
    {35, u"ISO-2022-CN", "ISO-2022-CN"},
    {36, u"ISO-2022-CN-EXT", "ISO-2022-CN-EXT"},
    {37, u"<<<<<<<<<  E U R O P E A N  >>>>>>>>>", nullptr},
    {38, u"ASCII", "ASCII"},
    {39, u"ISO-8859-1", "ISO-8859-1"},
    {40, u"ISO-8859-2", "ISO-8859-2"},
    {41, u"ISO-8859-3", "ISO-8859-3"},
    {42, u"ISO-8859-4", "ISO-8859-4"},
    {43, u"ISO-8859-5", "ISO-8859-5"},
    {44, u"ISO-8859-7", "ISO-8859-7"},
    {45, u"ISO-8859-9", "ISO-8859-9"},
    {46, u"ISO-8859-10", "ISO-8859-10"},
    {47, u"ISO-8859-13", "ISO-8859-13"},
    {48, u"ISO-8859-14", "ISO-8859-14"},
    {49, u"ISO-8859-15", "ISO-8859-15"},
    {50, u"ISO-8859-16", "ISO-8859-16"},
    {51, u"KOI8-R", "KOI8-R"},
    {52, u"KOI8-U", "KOI8-U"},
    {53, u"KOI8-RU", "KOI8-RU"},
    {54, u"CP1250", "CP1250"},
    {55, u"CP1251", "CP1251"},
    {56, u"CP1252", "CP1252"},
    {57, u"CP1253", "CP1253"},
    {58, u"CP1254", "CP1254"},
    {59, u"CP1257", "CP1257"},
    {60, u"CP850", "CP850"},
    {61, u"CP866", "CP866"},
    {62, u"MacRoman", "MacRoman"},
    {63, u"MacCentralEurope", "MacCentralEurope"},
    {64, u"MacIceland", "MacIceland"},
    {65, u"MacCroatian", "MacCroatian"},
    {66, u"MacRomania", "MacRomania"},
    {67, u"MacCyrillic", "MacCyrillic"},
    {68, u"MacUkraine", "MacUkraine"},
    {69, u"MacGreek", "MacGreek"},
    {70, u"MacTurkish", "MacTurkish"},
    {71, u"Macintosh", "Macintosh"},
    {72, u"<<<<<<<<<<<  S E M I T I C  >>>>>>>>>>>", nullptr},
    {73, u"ISO-8859-6", "ISO-8859-6"},
    {74, u"ISO-8859-8", "ISO-8859-8"},
    {75, u"CP1255", "CP1255"},
    {76, u"CP1256", "CP1256"},
    {77, u"CP862", "CP862"},
    {78, u"MacHebrew", "MacHebrew"},
    {79, u"MacArabic", "MacArabic"},
    {80, u"<<<<<<<<<<<  K O R E A N  >>>>>>>>>>>", nullptr},
    {81, u"EUC-KR", "EUC-KR"},
    {82, u"CP949", "CP949"},
    {83, u"ISO-2022-KR", "ISO-2022-KR"},
    {84, u"JOHAB", "JOHAB"},
    {85, u"<<<<<<<<<  A R M E N I A N  >>>>>>>>>", nullptr},
    {86, u"ARMSCII-8", "ARMSCII-8"},
    {87, u"<<<<<<<<<  G E O R G I A N  >>>>>>>>>", nullptr},
    {88, u"Georgian-Academy", "Georgian-Academy"},
    {89, u"Georgian-PS", "Georgian-PS"},
    {90, u"<<<<<<<<<<<<  T A J I K  >>>>>>>>>>>>", nullptr},
    {91, u"KOI8-T", "KOI8-T"},
    {92, u"<<<<<<<<<<<<<  T H A I  >>>>>>>>>>>>>", nullptr},
    {93, u"TIS-620", "TIS-620"},
    {94, u"CP874", "CP874"},
    {95, u"MacThai", "MacThai"},
    {96, u"<<<<<<<<<<  L A O T I A N  >>>>>>>>>>", nullptr},
    {97, u"MuleLao-1", "MuleLao-1"},
    {98, u"CP1133", "CP1133"},
    {99, u"<<<<<<<  V I E T N A M E S E  >>>>>>>", nullptr},
    {100, u"VISCII", "VISCII"},
    {101, u"TCVN", "TCVN"},
    {102, u"CP1258", "CP1258"},
    {103, u"<<  P L A T F O R M  S P E C I F I C S  >>", nullptr},
    {104, u"HP-ROMAN8", "HP-ROMAN8"},
    {105, u"NEXTSTEP", "NEXTSTEP"},
};

}  // namespace

namespace {

enum class Report { LogAndShow, Quiet };

// The most output room a conversion may take per input byte: far beyond what
// any encoding needs, but a bound all the same.
constexpr std::size_t kMaxRoomPerByte = 64;

bool IsUtf8Name(std::string_view name) { return EqualsIgnoreCase(name, "UTF-8") || EqualsIgnoreCase(name, "UTF8"); }

// UTF-8 into UTF-16LE goes through the program's own strict decoder, the
// one every other text from outside goes through; faults are reported as
// the converter reports them (an invalid or an incomplete sequence).
Conversion DecodeUtf8Into(std::string_view input, std::string& buffer, std::size_t& produced, Report report)
{
    Utf8Fault fault;
    const std::optional<std::u16string> text = DecodeUtf8(input, &fault);
    if (!text) {
        if (report == Report::LogAndShow) {
            dlog::Write(u"ERROR: ConvertEncoding(): Iconv: inbytes is not zero\n");
            ReportConversionFailure(fault.incomplete ? EINVAL : EILSEQ, buffer);
        }
        return Conversion::Failed;
    }
    produced = text->size() * 2;
    buffer.assign(produced + 4, '\0');
    for (std::size_t i = 0; i < text->size(); ++i) {
        buffer[2 * i] = static_cast<char>((*text)[i] & 0xFF);
        buffer[2 * i + 1] = static_cast<char>((*text)[i] >> 8);
    }
    return Conversion::Converted;
}

// Converts input into buffer (its room reused when it has enough), the bytes
// made followed by zeros; anything but Converted, after reporting when asked,
// on a failure.
Conversion ConvertInto(std::string_view input, std::string_view source, std::string_view target, std::string& buffer,
                       std::size_t& produced, Report report = Report::LogAndShow)
{
    if (IsUtf8Name(source) && EqualsIgnoreCase(target, "UTF-16LE"))
        return DecodeUtf8Into(input, buffer, produced, report);
    errno = 0;
    IconvConverter* converter = ThreadConverters().Get(source, target);
    if (converter == nullptr) {
        if (report == Report::LogAndShow)
            ReportOpenFailure(errno, source, target);
        return Conversion::UnknownEncoding;
    }

    // Four bytes of output per input byte, and four zero bytes after them.
    // A stateful target (ISO-2022-*) can need more: the room grows and the
    // conversion starts again.
    std::size_t room = input.size() * 4;
    std::size_t nconv = 0;
    std::size_t inLeft = 0;
    std::size_t outLeft = 0;
    int error = 0;
    for (;;) {
        try {
            if (room > buffer.max_size() - 4 || room / 4 < input.size())
                throw std::length_error("input too long");
            buffer.assign(room + 4, '\0');
        } catch (const std::exception&) {
            if (report == Report::LogAndShow) {
                dlog::Write(u"ERROR: ConvertEncoding(): out_buffer not created.\n");
                ShowError(u"out_buffer not created!", u"Error");
            }
            return Conversion::Failed;
        }

        char* in = const_cast<char*>(input.data());
        inLeft = input.size();
        char* out = buffer.data();
        outLeft = room;
        errno = 0;
        nconv = iconv(converter->get(), &in, &inLeft, &out, &outLeft);
        error = errno;
        if (nconv != static_cast<std::size_t>(-1)) {
            // Stateful targets (ISO-2022-*) end with the sequence that returns
            // to their initial state; without it the text would stop in the
            // middle of a shifted character set.
            errno = 0;
            if (iconv(converter->get(), nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1)) {
                nconv = static_cast<std::size_t>(-1);
                error = errno;
            }
        }
        if (nconv == static_cast<std::size_t>(-1) && error == E2BIG && room < kMaxRoomPerByte * input.size() + 64) {
            converter->Reset();
            room = room * 2 + 16;
            continue;
        }
        break;
    }
    produced = room - outLeft;
    std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(produced), buffer.end(), '\0');

    if (report == Report::LogAndShow && dlog::Level() > 2) {
        dlog::WriteAt(2, u"*****************\n");
        dlog::WriteAt(2, u"***   ICONV   ***\n");
        dlog::WriteAt(2, u"*****************\n");
        dlog::WriteAt(2, u"out_buffer: size (original): %i\n", static_cast<long long>(room));
        dlog::WriteAt(2, u"out_buffer: size (outbytes): %i\n", static_cast<long long>(produced));
        dlog::WriteAt(2, u"out_buffer:   <%s>\n", WideUntilZero(buffer, produced));
    }
    if (inLeft != 0 && report == Report::LogAndShow)
        dlog::Write(u"ERROR: ConvertEncoding(): Iconv: inbytes is not zero\n");

    if (nconv == 0)
        return Conversion::Converted;
    // The converter may sit in the middle of a sequence or a shifted state.
    converter->Reset();
    if (nconv == static_cast<std::size_t>(-1) && report == Report::LogAndShow)
        ReportConversionFailure(error, buffer);
    // A positive count means characters were converted in a way that cannot
    // be reversed: that is a failure too, silently.
    return Conversion::Failed;
}

// The output of a conversion into UTF-16LE taken as text up to its first zero unit.
void TakeWide(const std::string& buffer, std::size_t produced, std::u16string& out)
{
    if constexpr (std::endian::native == std::endian::little) {
        // The bytes made are followed by zeros: the text stops at the first zero unit.
        out.resize((produced + 1) / 2);
        std::memcpy(out.data(), buffer.data(), produced);
        out.resize(std::char_traits<char16_t>::length(out.c_str()));
    } else {
        out = WideUntilZero(buffer, produced);
    }
}

// A very long text's room is not kept.
void TrimRoom(std::string& buffer)
{
    constexpr std::size_t kKeptRoom = 64 * 1024;
    if (buffer.capacity() > kKeptRoom)
        std::string().swap(buffer);
}

// The conversion room of this thread, kept from one call to the next.
std::string& ThreadRoom()
{
    thread_local std::string buffer;
    return buffer;
}

}  // namespace

std::optional<std::string> ConvertEncoding(std::string_view input, std::string_view source, std::string_view target)
{
    std::string buffer;
    std::size_t produced = 0;
    if (ConvertInto(input, source, target, buffer, produced) != Conversion::Converted)
        return std::nullopt;
    buffer.resize(produced);
    return buffer;
}

int ConvertEncodingToWide(std::string_view input, std::string_view source, std::string_view target, std::u16string& out)
{
    out.clear();
    std::string& buffer = ThreadRoom();
    std::size_t produced = 0;
    const bool converted = ConvertInto(input, source, target, buffer, produced) == Conversion::Converted;
    if (converted)
        TakeWide(buffer, produced, out);
    TrimRoom(buffer);
    return converted ? 0 : -1;
}

Conversion ConvertToWideQuietly(std::string_view input, std::string_view source, std::string_view target,
                                std::u16string& out)
{
    out.clear();
    std::string& buffer = ThreadRoom();
    std::size_t produced = 0;
    const Conversion result = ConvertInto(input, source, target, buffer, produced, Report::Quiet);
    if (result == Conversion::Converted)
        TakeWide(buffer, produced, out);
    TrimRoom(buffer);
    return result;
}

bool ConversionAvailable(std::string_view source, std::string_view target)
{
    return ThreadConverters().Get(source, target) != nullptr;
}

PartConversion ConvertAsFarAsPossible(std::string_view input, std::string_view source, std::string_view target)
{
    PartConversion part;
    errno = 0;
    IconvConverter* converter = ThreadConverters().Get(source, target);
    if (converter == nullptr) {
        ReportOpenFailure(errno, source, target);
        part.result = Conversion::UnknownEncoding;
        return part;
    }
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::string& out = part.bytes;
    out.resize(input.size() * 4 + 16);
    std::size_t used = 0;
    // Converts, then ends in the initial shift state; the room grows
    // whenever the output needs more.
    auto run = [&](bool finish) {
        for (;;) {
            char* outPtr = out.data() + used;
            std::size_t outLeft = out.size() - used;
            errno = 0;
            const std::size_t n = finish ? iconv(converter->get(), nullptr, nullptr, &outPtr, &outLeft)
                                         : iconv(converter->get(), &in, &inLeft, &outPtr, &outLeft);
            const int error = errno;
            used = out.size() - outLeft;
            if (n == static_cast<std::size_t>(-1) && error == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            return n == static_cast<std::size_t>(-1);
        }
    };
    const bool stopped = run(false);
    run(true);
    converter->Reset();
    out.resize(used);
    part.consumed = input.size() - inLeft;
    part.result = stopped ? Conversion::Failed : Conversion::Converted;
    return part;
}

int ConvertEncodingToNarrow(std::string_view input, std::string_view source, std::string_view target, std::string& out)
{
    out.clear();
    auto bytes = ConvertEncoding(input, source, target);
    if (!bytes)
        return -1;
    out.assign(bytes->c_str());
    return 0;
}

std::string Utf16Bytes(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

std::span<const EncodingRow> EncodingTable() { return kEncodingTable; }

int RowOfComboPosition(int position)
{
    for (int row = 0; row < kEncodingRowCount; ++row) {
        if (kEncodingTable[row].position == position)
            return row;
    }
    return -1;
}

const char* IconvNameForRow(int row)
{
    if (row < 0 || row >= kEncodingRowCount || kEncodingTable[row].iconvName == nullptr)
        return nullptr;
    std::string_view name = ConverterCache::GlibcName(kEncodingTable[row].iconvName);
    return name.data();
}

int LanguageOfCommand(int commandId)
{
    switch (commandId) {
    case 40022: return 1;
    case 40023: return 2;
    case 40027: return 4;
    case 40024: return 0;
    default: dlog::Write(u"Warning: cannot convert ID to LANG.\n"); return 0;
    }
}

}  // namespace mirudex::text
