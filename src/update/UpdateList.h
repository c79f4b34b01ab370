#pragma once
// The update list ("updates.v2.txt"), the install log ("Updates.mxf") and
// the rules that choose which updates apply to this program.
//
// The list is text: a marker line "# updates.v2.txt", comment lines starting
// with "#", and records made of sections. A line holding exactly one of the
// keywords NEWS, DATE, ID, TYPE, APPLIES TO, INFO or FILE switches the
// section; NEWS also starts a new record (except the first time, so sections
// before the first NEWS belong to the first record). A FILE line is
// "name:crc" with the CRC-32 in "%x" form.
//
// Pure functions over files and strings; any thread.

#include <string>
#include <string_view>
#include <vector>

namespace mirudex::update {

inline constexpr const char* kListFileName = "updates.v2.txt";
inline constexpr const char* kInstallLogName = "Updates.mxf";
inline constexpr std::string_view kListMarkerLine = "# updates.v2.txt\n";
// The marker is checked on a first line of at most this many bytes.
inline constexpr size_t kMarkerLineBytes = 254;
// The rich-text line break that ends every line of a section's text.
inline constexpr std::string_view kRtfLine = "\\line ";
inline constexpr std::string_view kNoFilesText = "(There are no files for this update)\\line";
// What the selection compares with: this program's build type.
inline constexpr std::string_view kBuildType = "98";

struct UpdateRecord {
    // Every line of each section, each followed by "\line ".
    std::string idText, typeText, newsText, dateText, appliesToText, infoText, fileText;
    std::vector<std::string> files;
    std::vector<std::string> infoLines;
    // The last line of the APPLIES TO, ID and TYPE sections.
    std::string appliesTo, id, type;
};

// Splits text into lines the way the program reads its text files (the line
// reader): every line whole, however long, and a last line without a line
// end like any other; "\r\n" counts as "\n". Lines keep their "\n".
std::vector<std::string> ReadTextLines(std::string_view contents);

// True when the list's first line is exactly the marker line (its line end
// may be missing when it is the only line).
bool HasListMarker(std::string_view contents);

std::vector<UpdateRecord> ParseUpdateList(std::string_view contents);

// The ids in the install log (empty when there is none). Its lines are read
// like the list's, so every id the list can name is recognised, however long.
std::vector<std::string> ReadInstalledUpdates(const std::string& path = kInstallLogName);

// The version text used by the selection: the version cut at its first blank.
std::string SelectionVersion(std::string_view version);

// V against a pattern: equal; "-X" below X, "X-" up to X; "+X" above X,
// "X+" X or later. Plain byte-wise comparisons (1.0.10 sorts before 1.0.7).
bool VersionMatch(const std::string& version, std::string pattern);

// The selection rules for one record: not installed, of this build type or
// "All", and applying to this version ("All", equal, a pattern, or a range
// "lower/upper" matched by both halves).
bool UpdateApplies(const UpdateRecord& record, const std::string& version, const std::vector<std::string>& installed);

struct UpdateSelection {
    std::vector<UpdateRecord> applicable;  // in file order
    // The FILE lines of the last applicable record that has files, and its id.
    std::vector<std::string> downloadList;
    std::string chosenId;
};

UpdateSelection SelectUpdates(std::vector<UpdateRecord> records, const std::string& version,
                              const std::vector<std::string>& installed);

// Reads the install log and the list file and selects. False when the list
// file cannot be opened (selection then empty).
bool EvaluateUpdateList(UpdateSelection& selection, const std::string& version,
                        const std::string& listPath = kListFileName, const std::string& logPath = kInstallLogName);

// Appends the id as a line of the install log (rewriting it atomically);
// false when the log cannot be written, or is there but cannot be read (it
// is then left as it is rather than replaced by the one id).
bool LogInstalledUpdate(const std::string& id, const std::string& path = kInstallLogName);

// A FILE line split at its first ":" (when that is not the first character)
// into the name and the rest; otherwise all name. The rest is the expected
// CRC text ("%x" form), or the CRC text, ":" and the file's SHA-256 (64
// hexadecimal digits): "name:crc:sha256". A file is installed only when the
// list gives its SHA-256 and both agree with what arrived.
struct FileEntry {
    std::string name;
    std::string crcText;
    std::string sha256;  // as the list writes it; empty when it gives none
};
FileEntry SplitFileEntry(std::string_view entry);

// Whether a file name from the list is well-formed: a relative path below the
// current directory ("DICT/edict"), without "..", "." or empty parts,
// backslashes or control characters.
bool SafeUpdateFileName(std::string_view name);

// Whether an update may replace the file: only the program's data files,
// never the user's own (the options, the study lists, the history, the
// install log): a dictionary in DICT/ ("DICT/edict", not its index files) or
// one of the data files in the working folder (partsofspeech.mxf,
// fuzzysearch.uni.dat, radkfile.dat). The name must be well-formed too.
bool ReplaceableByUpdate(std::string_view name);

// Whether the file can be written where the name says without leaving the
// working folder: no part of the path on disk is a symbolic link, the
// folders are folders and the file, if it is there, is a plain file.
// why says what is wrong.
bool UpdateTargetOnDiskIsSafe(const std::string& name, std::string& why);

}  // namespace mirudex::update
