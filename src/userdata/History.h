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
// One item read from history.dat is at most this many characters, its line
// feed included; a longer line is read as several items.
inline constexpr size_t kHistoryPieceLength = 1022;

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
    // Removes the last item while there are more than max (none left when max <= 0).
    void TrimTo(int max);

    // Not owned; nullptr to stop. The observer must outlive the list or be unset.
    void SetObserver(HistoryObserver* observer) { observer_ = observer; }

private:
    std::vector<std::u16string> items_;
    HistoryObserver* observer_ = nullptr;
};

// Puts a search text at the top when .\Search\RecentList\Enabled is on, then
// trims to .\Search\RecentList\Max. Equal items are not merged. The caller
// passes the text as searched: trailing blanks, carriage returns and line
// feeds already removed.
void AddToHistory(HistoryList& list, Registry& options, std::u16string_view text);

// Reads history.dat into the list when both .\Search\RecentList\Enabled and
// .\Search\RecentList\Load are on. Every line goes to the top, so the file's
// last line ends up first; a last line without its line feed is not used.
void LoadHistory(HistoryList& list, Registry& options, const std::string& path = kHistoryFileName);

// Writes the list, top first, as UTF-16LE lines ending in a single line feed,
// when both options are on. The old file is replaced only by a complete new
// one. False when nothing could be written.
bool SaveHistory(const HistoryList& list, Registry& options, const std::string& path = kHistoryFileName);

// The settings page's "Apply": stores max in .\Search\RecentList\Max and
// trims the list to it.
void ApplyHistoryMax(HistoryList& list, Registry& options, int max);
// The settings page's "Clear History": stores max as ApplyHistoryMax does,
// then empties the list.
void ClearHistory(HistoryList& list, Registry& options, int max);

}  // namespace mirudex::userdata
