#include "userdata/History.h"

#include <cerrno>

#include "core/AtomicFile.h"
#include "core/DebugLog.h"
#include "core/LineReader.h"
#include "core/Registry.h"
#include "core/UserFileReport.h"

namespace mirudex::userdata {

namespace {

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

void HistoryList::Assign(std::vector<std::u16string> items)
{
    if (observer_)
        observer_->BeforeReset();
    items_ = std::move(items);
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
    RemoveLeftoverTemporaries(path);
    list.SetUnreadableFile({});

    LineReader file;
    if (!file.Open(path)) {
        const int error = errno;
        if (dlog::Level() < 2)
            dlog::Write(u"FAILED\n");
        dlog::Write(u"   ERROR: Could not open history.dat.\n");
        if (error != ENOENT)
            list.SetUnreadableFile(ErrorText(error));
        return;
    }

    // The file holds the top item first. Only as many lines as the list
    // keeps are read, so a very long file costs no more than a short one.
    const int max = options.GetINT(opt::search::recent_list::kMax);
    std::vector<std::u16string> items;
    std::u16string line;
    for (LineReader::Read read; static_cast<long long>(items.size()) < max &&
                                (read = file.ReadLine(line, kHistoryItemLimit)) != LineReader::Read::End;) {
        dlog::WriteAt(2, u"   Found history: %s\n", line);
        if (read == LineReader::Read::TooLong) {
            dlog::Write(u"   WARNING: a line of history.dat is longer than %i characters; it is left out.\n",
                        static_cast<long long>(kHistoryItemLimit));
            continue;
        }
        TrimLineEnd(line);
        dlog::Write(u"      String added: %s.\n", line);
        items.push_back(std::move(line));
    }
    if (file.Error() != 0) {
        // What was read may be only a part: the file is kept as it is.
        if (dlog::Level() < 2)
            dlog::Write(u"FAILED\n");
        dlog::Write(u"   ERROR: Could not read history.dat (%S).\n", ErrorText(file.Error()));
        list.SetUnreadableFile(ErrorText(file.Error()));
        return;
    }
    list.Assign(std::move(items));
    if (dlog::Level() >= 2)
        dlog::Write(u"History loaded.\n");
    else
        dlog::Write(u"OKAY\n");
}

bool SaveHistory(const HistoryList& list, Registry& options, const std::string& path)
{
    if (!options.GetBOOL(opt::search::recent_list::kEnabled) || !options.GetBOOL(opt::search::recent_list::kLoad))
        return false;
    if (!list.unreadableFile().empty()) {
        // Writing the list over a file that could not be read would lose it.
        dlog::Write(u"ERROR: Could not open history.dat.\n");
        TellNotSaved(u"your search history", path,
                     "the file could not be read when Mirudex started (" + list.unreadableFile() + ")");
        return false;
    }

    std::string bytes;
    for (const std::u16string& item : list.items()) {
        for (char16_t unit : item)
            AppendUnit(bytes, unit);
        AppendUnit(bytes, u'\n');
    }
    // A failed write leaves the former history.dat as it was.
    int error = 0;
    if (!WriteFileAtomically(path, bytes, &error)) {
        dlog::Write(u"ERROR: Could not open history.dat.\n");
        TellNotSaved(u"your search history", path, ErrorText(error));
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
