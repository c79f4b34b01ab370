#pragma once
// The search history: the list of recent search texts, most recent first, and
// history.dat, which carries it from one run to the next.
//
// HistoryList is the one copy of the list. The search window's drop-down shows
// it through a HistoryObserver (a Qt list model can forward the calls to its
// begin/end row signals); nothing else keeps the items.
//
// Threads: the user-interface thread only.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mirudex {
class Registry;
}

namespace mirudex::userdata {

inline constexpr const char* kHistoryFileName = "history.dat";
// The longest item read from history.dat, in characters; a longer line is
// no search text of a person (the file is damaged) and is left out whole.
inline constexpr size_t kHistoryItemLimit = 64 * 1024;

// Told before and after every change, with the row concerned.
class HistoryObserver {
public:
    virtual ~HistoryObserver() = default;
    virtual void BeforeInsert(size_t row) = 0;
    virtual void AfterInsert() = 0;
    virtual void BeforeRemove(size_t row) = 0;
    virtual void AfterRemove() = 0;
    virtual void BeforeReset() = 0;
    virtual void AfterReset() = 0;
};

class HistoryList {
public:
    size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    const std::u16string& at(size_t row) const { return items_.at(row); }
    const std::vector<std::u16string>& items() const { return items_; }

    void Insert(size_t row, std::u16string text);
    void Remove(size_t row);
    void Clear();
    // Replaces every item at once (one reset for the observer).
    void Assign(std::vector<std::u16string> items);
    // Removes the last item while there are more than max (none left when max <= 0).
    void TrimTo(int max);

    // Why the history file was there but could not be read at start-up
    // (empty when it was read, or was not there): SaveHistory then leaves
    // that file as it is, and says so.
    const std::string& unreadableFile() const { return unreadableFile_; }
    void SetUnreadableFile(std::string reason) { unreadableFile_ = std::move(reason); }

    // Not owned; nullptr to stop. The observer must outlive the list or be unset.
    void SetObserver(HistoryObserver* observer) { observer_ = observer; }

private:
    std::vector<std::u16string> items_;
    HistoryObserver* observer_ = nullptr;
    std::string unreadableFile_;
};

// Puts a search text at the top when .\Search\RecentList\Enabled is on, then
// trims to .\Search\RecentList\Max. Equal items are not merged. The caller
// passes the text as searched: trailing blanks, carriage returns and line
// feeds already removed.
void AddToHistory(HistoryList& list, Registry& options, std::u16string_view text);

// Reads history.dat into the list when both .\Search\RecentList\Enabled and
// .\Search\RecentList\Load are on. The file holds the top item first, as
// SaveHistory writes it, so the list reads as it did when it was saved; a
// last line without its line feed is an item like the others. Reading stops
// once .\Search\RecentList\Max items are read. A file that is there but
// cannot be read (a directory, a read error) leaves the list empty and is
// marked, so that SaveHistory leaves it alone. Leftovers of an interrupted
// save beside the file are removed.
void LoadHistory(HistoryList& list, Registry& options, const std::string& path = kHistoryFileName);

// Writes the list, top first, as UTF-16LE lines ending in a single line feed,
// when both options are on. The old file is replaced only by a complete new
// one. A file that could not be read at start-up is not written over. When
// nothing could be written the user is told (log line and message box) and
// the result is false.
bool SaveHistory(const HistoryList& list, Registry& options, const std::string& path = kHistoryFileName);

// The settings page's "Apply": stores max in .\Search\RecentList\Max and
// trims the list to it.
void ApplyHistoryMax(HistoryList& list, Registry& options, int max);
// The settings page's "Clear History": stores max as ApplyHistoryMax does,
// then empties the list.
void ClearHistory(HistoryList& list, Registry& options, int max);

}  // namespace mirudex::userdata
