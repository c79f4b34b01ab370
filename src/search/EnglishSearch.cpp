#include "search/EnglishSearch.h"

#include <cstring>
#include <optional>

#include "core/DebugLog.h"
#include "core/LineReader.h"
#include "core/Registry.h"
#include "platform/api/Platform.h"
#include "search/AppState.h"
#include "search/EnglishMatch.h"
#include "search/JapaneseSearch.h"
#include "search/MappedFile.h"
#include "search/StatusText.h"

namespace mirudex::search {

namespace {

// The term every matching line must contain somewhere, or empty when there is
// none to rely on (no words, or an empty exact phrase).
std::string_view RequiredTerm(const EnglishQuery& query)
{
    if (query.exact)
        return query.phrase;
    std::string_view longest;
    for (const std::string& w : query.words)
        if (w.size() > longest.size())
            longest = w;
    return longest;
}

// One dictionary searched through its mapped bytes. Lines that are not plain
// (no line feed, too long for the line buffer, no slash, at the very end of
// the file) go through the dictionary's own line reader instead, so that every
// line is judged exactly as the line reader would give it.
class DictionaryScan {
public:
    DictionaryScan(AppState& state, const dict::Dictionary& dictionary, const EnglishQuery& query, SearchType type)
        : state_(state),
          dictionary_(dictionary),
          query_(query),
          type_(type),
          bufferSize_(state.options.GetINT(opt::buffer::kEDICT)),
          term_(RequiredTerm(query))
    {
    }

    // False when the file cannot be opened.
    bool Open()
    {
        path_ = platform::FilePath(dictionary_.path);
        if (!map_.Open(path_))
            return false;
        bytes_ = map_.bytes();
        return true;
    }

    int Run()
    {
        int status = 0;
        auto& results = state_.edict_results[kResultList];
        const auto& index = dictionary_.index;
        const size_t count = static_cast<size_t>(dictionary_.count) <= index.size() ? dictionary_.count : index.size();
        size_t occurrence = 0;  // next known occurrence of the term at or after `searchedFrom`
        size_t searchedFrom = 0;
        bool searched = false;
        size_t skipOccurrence = 0;  // next occurrence of the term at or after `skipFrom`, anywhere in a line
        size_t skipFrom = 0;
        bool skipSearched = false;
        for (size_t k = 0; k < count; ++k) {
            if (state_.StopRequested())
                break;
            if (static_cast<long long>(results.size()) == state_.max_results) {
                status |= kStatusTruncated;
                break;
            }
            const dict::IndexEntry& entry = index[k];
            // A line that holds the term nowhere cannot match, however it is
            // read: with the index in file order, the next occurrence of the
            // term lying at or past the next line's start settles it without
            // looking at the line at all.
            if (!term_.empty() && entry.offset >= 0) {
                const size_t begin = static_cast<size_t>(entry.offset);
                const size_t next = k + 1 < count && index[k + 1].offset >= 0 ? static_cast<size_t>(index[k + 1].offset)
                                                                              : bytes_.size();
                if (next > begin) {
                    if (!skipSearched || skipFrom > begin ||
                        (skipOccurrence != std::string_view::npos && skipOccurrence < begin)) {
                        skipFrom = begin;
                        skipOccurrence = FindCaseInsensitive(bytes_, term_, begin);
                        skipSearched = true;
                    }
                    if (skipOccurrence == std::string_view::npos || skipOccurrence >= next)
                        continue;
                }
            }
            Plain plain;
            if (!PlainLine(entry.offset, plain)) {
                TestThroughReader(entry);
                continue;
            }
            if (!term_.empty()) {
                if (!searched || searchedFrom > plain.slash || occurrence < plain.slash) {
                    searchedFrom = plain.slash;
                    // The line test above may already know the first occurrence at or after the slash.
                    const bool known = skipSearched && skipFrom <= plain.slash &&
                                       (skipOccurrence == std::string_view::npos || skipOccurrence >= plain.slash);
                    occurrence = known ? skipOccurrence : FindCaseInsensitive(bytes_, term_, plain.slash);
                    searched = true;
                }
                if (occurrence == std::string_view::npos || occurrence >= plain.lineEnd)
                    continue;
            }
            // The meanings as the line reader's line would give them: from the
            // first slash to the last one (the line holds at least one).
            const std::string_view raw = bytes_.substr(plain.begin, plain.lineEnd + 1 - plain.begin);
            const size_t lastSlash = raw.rfind('/');
            const std::string_view meanings =
                raw.substr(plain.slash - plain.begin, lastSlash + plain.begin + 1 - plain.slash);
            TestMeanings(entry, meanings, raw);
        }
        return status;
    }

private:
    struct Plain {
        size_t begin = 0;
        size_t slash = 0;    // first '/'
        size_t lineEnd = 0;  // the LF
    };

    bool PlainLine(int32_t offset, Plain& plain) const
    {
        if (offset < 0 || static_cast<size_t>(offset) >= bytes_.size())
            return false;
        const size_t begin = static_cast<size_t>(offset);
        const char* base = bytes_.data();
        const size_t rest = bytes_.size() - begin;
        const void* lf = std::memchr(base + begin, '\n', rest);
        if (!lf)
            return false;
        const size_t lineEnd = static_cast<size_t>(static_cast<const char*>(lf) - base);
        if (lineEnd + 1 >= bytes_.size())
            return false;  // the last byte of the file: let the reader decide
        if (bufferSize_ < 3 || lineEnd - begin + 1 > static_cast<size_t>(bufferSize_ - 2))
            return false;
        const void* slash = std::memchr(base + begin, '/', lineEnd - begin);
        if (!slash)
            return false;
        plain.begin = begin;
        plain.slash = static_cast<size_t>(static_cast<const char*>(slash) - base);
        plain.lineEnd = lineEnd;
        return true;
    }

    void TestThroughReader(const dict::IndexEntry& entry)
    {
        if (!OpenReader())
            return;
        std::optional<std::string> line = dict::GetEdictLine(reader_, state_.options, entry);
        if (!line) {
            dlog::Write(u"      No line!\n");
            return;
        }
        Test(entry, *line);
    }

    // line: as the line reader gives it, cut after its last slash.
    void Test(const dict::IndexEntry& entry, const std::string& line)
    {
        const size_t slash = line.find('/');
        if (slash == std::string::npos) {
            dlog::Write(u"      No meaning!\n");
            return;
        }
        TestMeanings(entry, std::string_view(line).substr(slash), std::nullopt);
    }

    // meanings: the line from its first slash to its last one; raw: the
    // whole line with its LF when it came from the mapped bytes (then it is
    // not read again).
    void TestMeanings(const dict::IndexEntry& entry, std::string_view meanings, std::optional<std::string_view> raw)
    {
        lowered_.assign(meanings);
        LowerAscii(lowered_);
        if (!EnglishMeaningsMatch(query_, lowered_, type_))
            return;
        dlog::WriteAt(1, u"      Okay to add...\n");
        dict::Entry found;
        if (raw) {
            dlog::WriteAt(1, u"LoadInfoInto()\n");
            dict::FillEntryFromLine(std::string(*raw), dictionary_, found, entry);
        } else if (OpenReader()) {
            dict::LoadInfoInto(reader_, state_.options, dictionary_, found, entry);
        }
        dict::SetInfo(found, state_.store.marker_table);
        state_.edict_results[kResultList].push_back(std::move(found));
        dlog::WriteAt(1, u"      Entry added\n");
    }

    bool OpenReader()
    {
        if (!reader_.IsOpen())
            reader_.Open(path_);
        return reader_.IsOpen();
    }

    AppState& state_;
    const dict::Dictionary& dictionary_;
    const EnglishQuery& query_;
    SearchType type_;
    int bufferSize_;
    std::string_view term_;
    std::string path_;
    MappedFile map_;
    std::string_view bytes_;
    LineReader reader_;
    std::string lowered_;  // the meanings being judged, lowered; kept to reuse its room
};

}  // namespace

int SearchFor_English(AppState& state, std::u16string text)
{
    return SearchFor_English(state, state.search_options, std::move(text));
}

int SearchFor_English(AppState& state, const SearchOptions& options, std::u16string text)
{
    dlog::WriteAt(1, u"SearchFor_English()\n");
    const EnglishQuery query = PrepareEnglishQuery(text);
    dlog::WriteAt(1, u"   English search text: %S\n", query.text);
    for (const std::string& word : query.words)
        dlog::WriteAt(1, u"      %S\n", word);

    int status = 0;
    for (const auto& holder : state.store.edict_dictionaries) {
        if (state.StopRequested())
            break;
        const dict::Dictionary& dictionary = *holder;
        if (!dictionary.on)
            continue;
        SetStatus(Format(u"Searching in dictionary '%S'...", dictionary.name));
        DictionaryScan scan(state, dictionary, query, options.type);
        if (!scan.Open()) {
            dlog::Write(u"ERROR: Could not open dictionary '%S'; skipping it.\n", dictionary.path);
            continue;
        }
        dlog::WriteAt(1, u"   Searching in dictionary '%S'...\n", dictionary.path);
        status |= scan.Run();
        dlog::WriteAt(1, u"   Finished this dictionary; Closed 'fedict'.\n");
    }
    dlog::WriteAt(1, u"END: Search_English()\n");
    return status;
}

}  // namespace mirudex::search
