#pragma once
// The study list: the user's own collection of dictionary entries
// (edict_results list 1), kept in a file between runs. The file is itself an
// EDICT dictionary in EUC-JP: saving writes the raw lines of the entries,
// loading reads the file back through the ordinary dictionary loader on the
// load worker.
//
// Threads: every routine here runs on the user-interface thread. A load runs
// the dictionary loader on the worker through the runner the caller passes
// and waits for it; the list is touched only after the worker has ended.

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "dict/Dictionary.h"
#include "dict/Entry.h"

namespace mirudex {
class Registry;
}

namespace mirudex::userdata {

inline constexpr const char* kDefaultStudyListFile = "studylist.default";
// The encoding of the study list file.
inline constexpr const char* kStudyListEncoding = "EUC-JP";

// How a dictionary load on the worker ended, as its starter saw it.
enum class LoadWait {
    Finished,  // the worker ran to its end
    Stopped,   // the user pressed ESC; the worker was stopped
    Quit,      // a quit message came; the worker was stopped and the caller passes the quit on
    Refused,   // another worker was running; nothing was started
};

// Starts the dictionary-load worker on the record ("Loading Dictionary...",
// ESC line shown) and waits for it with flags 3. Provided by the program.
using DictionaryLoadRunner = std::function<LoadWait(dict::Dictionary&)>;

// What a study list load needs besides the list.
struct StudyListContext {
    Registry& options;
    const dict::MarkerTable& markers;
    DictionaryLoadRunner runLoad;
    // Encodings of the dictionaries entries may have come from (those of the
    // loaded dictionaries); used to turn their raw lines into EUC-JP on saving.
    std::vector<std::string> sourceEncodings;
};

// Loads the file at path (an option path, relative to the current
// directory) and puts its entries, in file order, after the list's entries
// (append) or in place of them. Index files are neither read nor written for
// it. The list is changed only when the load finished; true then.
bool LoadStudyList(std::vector<dict::Entry>& list, StudyListContext& context, const std::string& path, bool append);

// Writes the raw line of every entry in list order, nothing between them,
// replacing the file only once the new one is complete. Lines from a
// dictionary in another encoding are turned into EUC-JP (those that cannot
// be are logged and kept as they were). False, with "FAILED\n" in the log,
// when the file cannot be written or no path is given.
bool SaveStudyList(const std::vector<dict::Entry>& list, const std::string& path,
                   std::span<const std::string> sourceEncodings = {});

// Appends a copy of every selected entry of source, the copies unselected.
// Returns the number added.
size_t AddToStudyList(const std::vector<dict::Entry>& source, std::vector<dict::Entry>& list);

// File > Open Study List: loads the chosen file in place of the list; its
// stored form goes into .\StudyList\File once the load has finished (a
// stopped or refused load leaves the list and the setting as they were).
bool OpenStudyList(std::vector<dict::Entry>& list, StudyListContext& context, const std::string& chosenPath);
// File > Import Study List: appends the chosen file's entries; the setting stays.
bool ImportStudyList(std::vector<dict::Entry>& list, StudyListContext& context, const std::string& chosenPath);
// File > Save Study List: saves to .\StudyList\File.
bool SaveStudyListToFile(const std::vector<dict::Entry>& list, StudyListContext& context);
// File > Save Study List As: stores the chosen path's stored form in
// .\StudyList\File and saves to it.
bool SaveStudyListAs(const std::vector<dict::Entry>& list, StudyListContext& context, const std::string& chosenPath);
// File > Close Study List: no file any more, the list emptied without saving.
void CloseStudyList(std::vector<dict::Entry>& list, Registry& options);

// Start-up: loads .\StudyList\File with status texts. Returns whether the
// study list window is to be shown (.\StudyList\On).
bool LoadStudyListAtStartup(std::vector<dict::Entry>& list, StudyListContext& context);
// Exit: a list with entries and no file gets "studylist.default"; then the
// list is saved to .\StudyList\File (an empty list empties an existing file;
// with no file nothing is written). shown goes into .\StudyList\On.
bool SaveStudyListAtExit(const std::vector<dict::Entry>& list, StudyListContext& context, bool shown);

// The directory of the running program, with a trailing '/'; empty when it
// cannot be found.
std::string ProgramDirectory();
// The form of a chosen path kept in .\StudyList\File: relative to the
// program's directory when it lies inside it, else unchanged.
std::string StoredStudyListPath(const std::string& chosenPath, const std::string& programDirectory);
std::string StoredStudyListPath(const std::string& chosenPath);

}  // namespace mirudex::userdata
