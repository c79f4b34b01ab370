#include "text/EucJp.h"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>

#include "text/Encoding.h"

namespace mirudex::text {

namespace {

constexpr char16_t kUnknown = 0xFFFF;  // a code iconv refuses (U+FFFF is no character)
constexpr int kRows = 94;

// One table of 94 x 94 codes (lead and trail byte 0xA1..0xFE), filled a row at
// a time: of JIS X 0208 (two bytes) or JIS X 0212 (0x8F and two bytes).
class CodeTable {
public:
    explicit CodeTable(bool supplementary) : supplementary_(supplementary) {}

    // The unit of the code lead/trail (both 0xA1..0xFE), or kUnknown.
    char16_t Get(unsigned char lead, unsigned char trail)
    {
        const int row = lead - 0xA1;
        if (!ready_[row].load(std::memory_order_acquire))
            FillRow(row);
        return units_[row][trail - 0xA1];
    }

private:
    std::string Sequence(int row, int cell) const
    {
        std::string s;
        if (supplementary_)
            s.push_back(static_cast<char>(0x8F));
        s.push_back(static_cast<char>(0xA1 + row));
        s.push_back(static_cast<char>(0xA1 + cell));
        return s;
    }

    void FillRow(int row)
    {
        std::lock_guard lock(mutex_);
        if (ready_[row].load(std::memory_order_relaxed))
            return;
        auto& units = units_[row];
        // The whole row in one conversion; a row holding a refused code is
        // converted code by code.
        std::string all;
        for (int cell = 0; cell < kRows; ++cell)
            all += Sequence(row, cell);
        std::u16string wide;
        if (ConvertToWideQuietly(all, "EUC-JP", "UTF-16LE", wide) == Conversion::Converted && wide.size() == kRows) {
            for (int cell = 0; cell < kRows; ++cell)
                units[static_cast<size_t>(cell)] = wide[static_cast<size_t>(cell)];
        } else {
            for (int cell = 0; cell < kRows; ++cell) {
                const bool one =
                    ConvertToWideQuietly(Sequence(row, cell), "EUC-JP", "UTF-16LE", wide) == Conversion::Converted &&
                    wide.size() == 1;
                units[static_cast<size_t>(cell)] = one ? wide[0] : kUnknown;
            }
        }
        ready_[row].store(true, std::memory_order_release);
    }

    bool supplementary_;
    std::mutex mutex_;
    std::array<std::atomic<bool>, kRows> ready_{};
    std::array<std::array<char16_t, kRows>, kRows> units_{};
};

// Single bytes (ASCII and the 0x8E half-width katakana) the same way.
class ByteTable {
public:
    char16_t Get(bool kana, unsigned char byte)
    {
        if (!ready_.load(std::memory_order_acquire))
            Fill();
        return kana ? kana_[byte] : ascii_[byte];
    }

private:
    void Fill()
    {
        std::lock_guard lock(mutex_);
        if (ready_.load(std::memory_order_relaxed))
            return;
        std::u16string wide;
        for (int b = 0; b < 256; ++b) {
            ascii_[b] = kUnknown;
            kana_[b] = kUnknown;
            if (b < 0x80 &&
                ConvertToWideQuietly(std::string(1, static_cast<char>(b)), "EUC-JP", "UTF-16LE", wide) ==
                    Conversion::Converted &&
                wide.size() == 1)
                ascii_[b] = wide[0];
            if (b >= 0xA1 && b <= 0xFE &&
                ConvertToWideQuietly(std::string{static_cast<char>(0x8E), static_cast<char>(b)}, "EUC-JP", "UTF-16LE",
                                     wide) == Conversion::Converted &&
                wide.size() == 1)
                kana_[b] = wide[0];
        }
        ready_.store(true, std::memory_order_release);
    }

    std::mutex mutex_;
    std::atomic<bool> ready_{false};
    std::array<char16_t, 256> ascii_{};
    std::array<char16_t, 256> kana_{};
};

struct Tables {
    CodeTable basic{false};
    CodeTable supplementary{true};
    ByteTable bytes;
};

Tables& TheTables()
{
    static Tables* tables = new Tables;  // lives until the process ends
    return *tables;
}

bool Trail(unsigned char b) { return b >= 0xA1 && b <= 0xFE; }

}  // namespace

bool IsEucJp(std::string_view encoding)
{
    if (encoding.size() != 6)
        return false;
    const char* want = "EUC-JP";
    for (size_t i = 0; i < 6; ++i) {
        char c = encoding[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
        if (c != want[i])
            return false;
    }
    return true;
}

bool DecodeEucJp(std::string_view text, std::u16string& out)
{
    Tables& t = TheTables();
    out.resize(text.size());  // never more units than bytes
    char16_t* p = out.data();
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        const unsigned char b = s[i];
        char16_t unit;
        if (b < 0x80) {
            unit = t.bytes.Get(false, b);
            i += 1;
        } else if (Trail(b) && i + 1 < n && Trail(s[i + 1])) {
            unit = t.basic.Get(b, s[i + 1]);
            i += 2;
        } else if (b == 0x8E && i + 1 < n && Trail(s[i + 1])) {
            unit = t.bytes.Get(true, s[i + 1]);
            i += 2;
        } else if (b == 0x8F && i + 2 < n && Trail(s[i + 1]) && Trail(s[i + 2])) {
            unit = t.supplementary.Get(s[i + 1], s[i + 2]);
            i += 3;
        } else {
            return false;
        }
        if (unit == kUnknown)
            return false;
        *p++ = unit;
    }
    out.resize(static_cast<size_t>(p - out.data()));
    return true;
}

}  // namespace mirudex::text
