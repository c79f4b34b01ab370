#include "userdata/History.h"

#include <fstream>
#include <iterator>

#include "core/AtomicFile.h"
#include "core/DebugLog.h"
#include "core/Registry.h"

namespace mirudex::userdata {

namespace {

bool ReadAllBytes(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Reads the file's bytes as little-endian UTF-16 units; a last odd byte is
// not a whole unit and is left out.
std::u16string UnitsOf(const std::string& bytes)
{
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                              (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return units;
}

void AppendUnit(std::string& out, char16_t unit)
{
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
}

}  // namespace

void HistoryList::Insert(size_t row, std::u16string text)
{
    if (row > items_.size())
        row = items_.size();
    if (observer_)
        observer_->BeforeInsert(row);
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(row), std::move(text));
    if (observer_)
        observer_->AfterInsert();
}

void HistoryList::Remove(size_t row)
{
    if (row >= items_.size())
        return;
    if (observer_)
        observer_->BeforeRemove(row);
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(row));
    if (observer_)
        observer_->AfterRemove();
}

void HistoryList::Clear()
{
    if (observer_)
        observer_->BeforeReset();
    items_.clear();
    if (observer_)
        observer_->AfterReset();
}

void HistoryList::TrimTo(int max)
{
    while (!items_.empty() && static_cast<long long>(items_.size()) > max)
        Remove(items_.size() - 1);
}

void AddToHistory(HistoryList& list, Registry& options, std::u16string_view text)
{
    if (!options.GetBOOL(opt::search::recent_list::kEnabled))
        return;
    list.Insert(0, std::u16string(text));
    list.TrimTo(options.GetINT(opt::search::recent_list::kMax));
}

void LoadHistory(HistoryList& list, Registry& options, const std::string& path)
{
    if (!options.GetBOOL(opt::search::recent_list::kEnabled) || !options.GetBOOL(opt::search::recent_list::kLoad))
        return;
    dlog::Write(u"Loading history...............");

    std::string bytes;
    if (!ReadAllBytes(path, bytes)) {
        if (dlog::Level() < 2)
            dlog::Write(u"FAILED\n");
        dlog::Write(u"   ERROR: Could not open history.dat.\n");
        return;
    }

    // Read as a line reader with a fixed buffer would: pieces of at most
    // kHistoryPieceLength units ending at a line feed; the read that runs into
    // the end of the file is dropped.
    const std::u16string units = UnitsOf(bytes);
    size_t pos = 0;
    for (;;) {
        std::u16string piece;
        bool reachedEnd = false;
        while (piece.size() < kHistoryPieceLength) {
            if (pos >= units.size()) {
                reachedEnd = true;
                break;
            }
            char16_t unit = units[pos++];
            piece.push_back(unit);
            if (unit == u'\n')
                break;
        }
        dlog::WriteAt(2, u"   Found history: %s\n", piece);
        if (reachedEnd)
            break;
        while (!piece.empty() && (piece.back() == u'\r' || piece.back() == u'\n'))
            piece.pop_back();
        dlog::Write(u"      String added: %s.\n", piece);
        list.Insert(0, std::move(piece));
    }

    list.TrimTo(options.GetINT(opt::search::recent_list::kMax));
    if (dlog::Level() >= 2)
        dlog::Write(u"History loaded.\n");
    else
        dlog::Write(u"OKAY\n");
}

bool SaveHistory(const HistoryList& list, Registry& options, const std::string& path)
{
    if (!options.GetBOOL(opt::search::recent_list::kEnabled) || !options.GetBOOL(opt::search::recent_list::kLoad))
        return false;

    std::string bytes;
    for (const std::u16string& item : list.items()) {
        for (char16_t unit : item)
            AppendUnit(bytes, unit);
        AppendUnit(bytes, u'\n');
    }
    // A failed write leaves the former history.dat as it was.
    if (!WriteFileAtomically(path, bytes)) {
        dlog::Write(u"ERROR: Could not open history.dat.\n");
        return false;
    }
    dlog::Write(u"History saved.\n");
    return true;
}

void ApplyHistoryMax(HistoryList& list, Registry& options, int max)
{
    options.SetINT(opt::search::recent_list::kMax, max);
    list.TrimTo(max);
}

void ClearHistory(HistoryList& list, Registry& options, int max)
{
    options.SetINT(opt::search::recent_list::kMax, max);
    list.Clear();
}

}  // namespace mirudex::userdata
