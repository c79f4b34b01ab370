#pragma once
// A loaded EDICT-format dictionary: headword, reading and line offset of
// every line, kept in memory; full entries are read back from the file when a
// search finds them (Entry.h). The index is saved beside the dictionary as
// <path>.mxi so that later loads need not convert every line.
//
// Beside the index file is its companion (<path>.mxs, IndexTable.h): the
// records again, in a form that is used in place, and the structures the
// searches look things up in. It carries the same identity and is made with
// the index file; a warm load maps it and reads nothing else but the index
// file's head and trailer. A load from the text builds the records only: each
// group of search structures is built when a search first needs it
// (PrepareStructures), and the companion is then written again with it. With
// indexing off the structures are kept in memory only.
//
// Dictionaries of 2 GiB or more are refused (the index file's offsets are
// 32-bit): the user is told once and the dictionary stays empty.
//
// Index file layout (little-endian): the UTF-16LE text "MXI3\n" (10 bytes, no
// byte-order mark), a signed 32-bit count, then per entry: word length (1
// byte, UTF-16 units), the word, reading length (1 byte), the reading, the
// line offset (signed 32-bit). The layout never changes without a new magic,
// so index files of earlier runs stay readable. After the entries comes the
// identity of the dictionary the index was made from (IndexIdentity.h),
// where readers of the layout above never look; an index is used only while
// that identity equals the dictionary's, and is made again, silently, when
// it differs or is missing (an index of an earlier program).
//
// Lines that cannot make an entry cost only themselves: a line longer than
// the line buffer, a line without '/' and a blank line are skipped and
// counted; so is a line whose headword or reading cannot be converted from
// the dictionary's encoding, and the user is told of those once per load.
// An index is never written from a load that had such lines.
//
// Threads: a dictionary is loaded on the load worker while the user-interface
// thread waits; afterwards it is only read (searches on the worker, windows on
// the user-interface thread) except for `on`, which the user-interface thread
// toggles between searches. The file must not change while the program runs.

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <optional>

#include "dict/IndexIdentity.h"
#include "dict/IndexTable.h"
#include "dict/StopToken.h"

namespace mirudex {
class LineReader;
class Registry;
}  // namespace mirudex

namespace mirudex::dict {

// Lines a load from the dictionary's text did not take (all zero after a
// load from the index file).
struct SkippedLines {
    int tooLong = 0;               // longer than the line buffer
    int noSlash = 0;               // no '/' at all: no meanings
    int blank = 0;                 // nothing but a line end
    int undecoded = 0;             // headword or reading not convertible from the dictionary's encoding
    int firstUndecoded = 0;        // 1-based line number of the first of those
    bool unknownEncoding = false;  // the encoding itself could not be used

    int Damaged() const { return tooLong + noSlash + blank; }
};

// A flag for "say this once": the first First() is true, every later one
// false. Copies take the flag's value. Any thread.
class OnceFlag {
public:
    OnceFlag() = default;
    OnceFlag(const OnceFlag& other) : set_(other.set_.load()) {}
    OnceFlag& operator=(const OnceFlag& other)
    {
        set_ = other.set_.load();
        return *this;
    }
    bool First() const { return !set_.exchange(true); }
    void Reset() { set_ = false; }

private:
    mutable std::atomic<bool> set_{false};
};

// How the lines of a dictionary are read.
enum class LineForm {
    Edict,   // HEADWORD [READING] /meaning/.../: one record a line
    Edict2,  // several headwords and readings with their tags (Edict2Line.h): one record a form
};

// The names the options give the line forms (.\Dictionaries\EDICT\N\Format);
// any other value, or none, lets the load tell the form from the file.
inline constexpr std::string_view kEdictFormName = "EDICT";
inline constexpr std::string_view kEdict2FormName = "EDICT2";

struct Dictionary {
    std::string path;      // as in the options (DICT\edict); see platform::FilePath
    std::string name;      // shown to the user
    std::string encoding;  // iconv name of the file's encoding
    std::string format;    // kEdictFormName, kEdict2FormName, or anything else: told from the file
    // How its lines are read: set by the load from `format` or the file.
    // Each written form and each reading of an EDICT2 line is in one record
    // of the line: a headword with its reading, a headword with an empty
    // reading (its reading is in an earlier record, or it has none), or a
    // reading with an empty headword (no headword took it as its own). A line
    // without readings has one record per headword, its own reading.
    LineForm form = LineForm::Edict;
    bool on = true;        // whether searches use it
    IndexTable index;      // one record per loaded line, in file order, and the search structures
    int32_t count = 0;     // number of valid index entries (index.size())
    SkippedLines skipped;  // what the last load from the text left out
    // The errno of the last load's failure to open the file or to read it to
    // its end (ENOENT: the file is not there), 0 when it was read completely.
    int fileError = 0;
    // Set when a line shown from this dictionary could not be converted (logged once per load).
    OnceFlag displayFailureLogged;
    // The identity the companion file beside the index file carries, when
    // there is one that stands for this index (it is written again when
    // structures are added).
    std::optional<IndexIdentity> companionIdentity;

    // Frees every word, reading and the array.
    void Free();
};

// The index file's option path: the dictionary path with ".mxi" appended.
std::string IndexFilePath(const Dictionary& dictionary);

// How the lines were read, as the identity of the files made from them
// holds it: the encoding, and the line form when it is not plain EDICT, so an
// index of the other form is made again. The form is the one the last load set.
std::string LinesReadAs(const Dictionary& dictionary);

// Number of lines, a last line without a line end included, read with
// .\Buffer\EDICT as the line buffer (a longer line counts once and is
// logged). The file is at its start before and after.
int CountLinesInFile(LineReader& file, Registry& registry);

// Whether the first lines of a file (up to `lines` of them) show the EDICT2
// form (LooksLikeEdict2); a file that cannot be read is plain EDICT.
LineForm DetectLineForm(const std::string& filePath, int lines = 200);

// The description a dictionary file gives of itself on its first line: the
// fields of an EDICT-format file's pseudo-entry "　？？？ /EDICT, .../Created:
// 2021-02-03/" or of a KANJIDIC comment "# KANJIDIC .../2022-08-23/", joined
// by " / ". Empty when the line is neither, or not text in that encoding.
std::u16string DictionaryHeader(std::string_view firstLine, std::string_view encoding);
// DictionaryHeader of a file's first line; empty when it cannot be read.
std::u16string ReadDictionaryHeader(const std::string& filePath, std::string_view encoding);

// Cuts the line back from its end until its last character is '/', stopping
// when one character is left.
void CutAfterLastSlash(std::string& line);

// Fills the dictionary's index and count (and its form), from the index file when indexing
// is on and one made from this very dictionary exists, else from the
// dictionary file (writing a new index file when one is wanted). The count
// (0 on total failure) tells the result. A dictionary file that cannot be
// opened is logged (and, unless it is simply not there, shown once in a
// message box); the load goes on without it. A stop request between entries
// leaves the dictionary empty and writes no index file. Message boxes go
// through the platform layer. Never throws.
// structures: groups of search structures (Structure bits) built with a load
// from the text, so that its companion file is written once with them rather
// than again when a search first needs them (PrepareStructures); a load from
// the index files leaves them to PrepareStructures.
LoadOutcome EDICT_Index_Load(Dictionary& dictionary, Registry& registry, StopToken stop = {}, unsigned structures = 0);

// Builds the groups of search structures (Structure bits, IndexTable.h) the
// dictionary's index lacks, and writes the companion file again with them
// when it has one and the dictionary is still the file it was made from.
// On the worker of a search, while no other thread looks at the dictionary.
void PrepareStructures(Dictionary& dictionary, unsigned structures);

}  // namespace mirudex::dict
