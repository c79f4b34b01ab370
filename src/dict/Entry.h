#pragma once
// One dictionary line as the user sees it, the marker table that explains the
// parenthesised markers of the meanings, and the routines that read an entry
// back from its dictionary file.
//
// Threads: entries are filled on the search worker. The marker table is
// filled once at start-up on the user-interface thread and only read after
// that, so it needs no lock.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace mirudex {
class LineReader;
class Registry;
}  // namespace mirudex

namespace mirudex::dict {

struct Dictionary;
struct IndexEntry;

// A marker that holds for one sense: as the line writes it ("n", "abbr")
// and what the marker table says it means.
struct SenseTag {
    std::u16string marker;
    std::u16string description;

    bool operator==(const SenseTag&) const = default;
};

// One sense of an entry: its glosses (markers and the sense number taken
// out, no blank at either end) and the markers that hold for it, each once,
// in line order. A sense numbered in the line without parts of speech of its
// own takes those of the sense before it (how a line written from JMdict
// says "the same as above").
struct Sense {
    std::vector<std::u16string> glosses;
    std::vector<SenseTag> tags;

    bool operator==(const Sense&) const = default;
};

// A dictionary entry. Made empty, filled by LoadInfoInto, then passed through SetInfo.
struct Entry {
    std::u16string word;                         // from the index, not from the line (EDICT2: its forms, ';' between)
    std::u16string kana;                         // from the index; equals word when the line has no reading
                                                 // (EDICT2: its readings, a restriction in parentheses after one)
    std::vector<std::u16string> meanings;        // markers removed by SetInfo
    std::vector<std::u16string> meaningsAsRead;  // the meanings before SetInfo
    std::vector<std::u16string> info;            // descriptions of the markers found, in order found
    // The meanings grouped by sense ("(1) ...", "(2) ..."; a line without
    // numbers is one sense), made by SetInfo. Markers of the headwords and
    // "(P)" belong to the entry, not to a sense: they stay in info.
    std::vector<Sense> senses;
    bool common = false;  // "(P)": one of the most common words (SetInfo)
    // EDICT2: the tags of the headwords and readings, (form, tag) in line
    // order; SetInfo turns them into info.
    std::vector<std::pair<std::u16string, std::u16string>> formTags;
    bool selected = false;   // set and cleared by the result windows
    std::string rawLine;     // the line as read, in the dictionary's encoding
    std::string encoding;    // that encoding (iconv name), as the dictionary names it
    uint64_t relevance = 0;  // set by the search that found it: smaller is more relevant
};

inline constexpr const char* kMarkerFileName = "partsofspeech.mxf";

// Ordered (marker, description) pairs. Lookups take the first pair whose
// marker equals the text exactly.
class MarkerTable {
public:
    void Add(std::u16string marker, std::u16string description);
    void Clear()
    {
        pairs_.clear();
        first_.clear();
        longest_ = 0;
        asciiStarts_[0] = asciiStarts_[1] = 0;
    }
    // The description, or the empty text when the marker is not in the table.
    std::u16string_view Description(std::u16string_view marker) const;
    const std::vector<std::pair<std::u16string, std::u16string>>& pairs() const { return pairs_; }
    size_t size() const { return pairs_.size(); }

private:
    std::vector<std::pair<std::u16string, std::u16string>> pairs_;
    // Position in pairs_ of the first pair of each marker: every parenthesised
    // group of every found meaning is looked up here.
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::u16string_view text) const { return std::hash<std::u16string_view>{}(text); }
    };
    std::unordered_map<std::u16string, size_t, Hash, std::equal_to<>> first_;
    // What most texts that are no marker ("1", "P", a sentence in
    // parentheses) fail without being looked up: the longest marker's length,
    // and the ASCII units markers start with (bits; any other unit passes).
    size_t longest_ = 0;
    uint64_t asciiStarts_[2] = {0, 0};
};

// Fills the table from the marker file (one "marker<TAB>description" per
// line, # for comments). A missing file is logged and leaves the table empty.
void LoadMarkers(MarkerTable& table, const std::string& path = kMarkerFileName);

// Fills entry from a line already read (as the line reader gives it: the raw
// bytes of the line, its LF included): what LoadInfoInto does once it has
// read the line. For searches that hold the dictionary's bytes in memory.
void FillEntryFromLine(std::string line, const Dictionary& dictionary, Entry& entry, const IndexEntry& index);

// Reads the line at the index entry's offset from the dictionary file and
// fills entry (word and kana from the index entry, meanings from the line).
// The file is opened and closed here. Failures are logged and leave the entry
// unfilled. Uses .\Buffer\EDICT.
void LoadInfoInto(Registry& registry, const Dictionary& dictionary, Entry& entry, const IndexEntry& index);
// The same on a file the caller keeps open, for reading many entries of one
// file in a row; the file stays open whatever happens.
void LoadInfoInto(LineReader& file, Registry& registry, const Dictionary& dictionary, Entry& entry,
                  const IndexEntry& index);

// The raw line at the entry's offset, cut after its last '/'; nullopt at the
// end of the file. The file stays open.
std::optional<std::string> GetEdictLine(LineReader& file, Registry& registry, const IndexEntry& index);

// Moves the markers out of the meanings into the info list (keeping the
// meanings as read unless keepAsRead is false: a reader that only prints the
// entry), and turns a last meaning "(P)" into its info text. The tags of
// EDICT2 forms follow as "form: description" (the description of an unknown
// tag is the tag); (P) on forms says once that the word is common. Where a
// marker stood between two blanks, one blank is left. Also groups the
// meanings into the entry's senses.
void SetInfo(Entry& entry, const MarkerTable& markers, bool keepAsRead = true);

// The tags every sense of the entry has (in the first sense's order): said
// once for the whole entry where the senses are shown together.
std::vector<SenseTag> TagsOfEverySense(const Entry& entry);

// The tags of one sense that TagsOfEverySense does not already say.
std::vector<SenseTag> OwnTags(const Sense& sense, const std::vector<SenseTag>& everySense);

// The senses as one text: the tags of every sense first, then each sense,
// numbered when there are several, with its own tags and its glosses joined
// by glossSeparator; "; " between senses. "(n) (1) cat; (2) (abbr) wheelbarrow"
std::u16string SenseGroupedText(const Entry& entry, std::u16string_view glossSeparator);

// Markers written as a line writes them: "(n) (vs)".
std::u16string MarkerList(const std::vector<SenseTag>& tags);

// The info and meanings of a plain EDICT line (as FillEntryFromLine is given
// it) as FillEntryFromLine and SetInfo leave them, each list joined with its
// separator: the texts a printer of the entry needs, without an Entry and its
// lists. False, with both texts empty, for a dictionary of another line form
// and for a line its encoding cannot convert (the caller then fills an Entry).
bool JoinedTextsOfLine(std::string_view line, const Dictionary& dictionary, const MarkerTable& markers,
                       std::u16string_view sepInfo, std::u16string_view sepMeaning, std::u16string& info,
                       std::u16string& meanings);

}  // namespace mirudex::dict
