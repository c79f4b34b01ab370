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

// What the program knows of the file named in .\StudyList\File: whether the
// list holds all of it, so that writing the list over it loses nothing. A
// file that was there but could not be read completely (its load was
// stopped, it could not be read to its end, or some of its lines made no
// entry) is never written over at exit, and only after asking by Save.
struct StudyListFile {
    std::string path;        // the stored path this is about ("" when the list has no file)
    std::string unreadable;  // why that file was not read completely; empty when it was, or was not there

    bool MayWriteOver(const std::string& target) const { return unreadable.empty() || target != path; }
};

// What a study list load needs besides the list. The file state outlives
// the context (the program keeps one for the run).
struct StudyListContext {
    Registry& options;
    const dict::MarkerTable& markers;
    DictionaryLoadRunner runLoad;
    StudyListFile& file;
};

// Loads the file at path (an option path, relative to the current
// directory) and puts its entries, in file order, after the list's entries
// (append) or in place of them. Index files are neither read nor written for
// it, and its lines are read whole, however long. The list is changed only
// when the load finished; true then, and *unreadable (when given) says why
// the file was not read completely, or is empty when it was (or is not there).
bool LoadStudyList(std::vector<dict::Entry>& list, StudyListContext& context, const std::string& path, bool append,
                   std::string* unreadable = nullptr);

// Writes the raw line of every entry in list order, nothing between them,
// replacing the file only once the new one is complete. Lines from a
// dictionary in another encoding than the file's are turned into EUC-JP
// (characters EUC-JP lacks become '?', and the user is told). False, with
// "FAILED\n" in the log and *failure saying why, when the file cannot be
// written or no path is given.
bool SaveStudyList(const std::vector<dict::Entry>& list, const std::string& path, std::string* failure = nullptr);

// Appends a copy of every selected entry of source, the copies unselected.
// Returns the number added.
size_t AddToStudyList(const std::vector<dict::Entry>& source, std::vector<dict::Entry>& list);

// File > Open Study List: loads the chosen file in place of the list; its
// stored form goes into .\StudyList\File once the load has finished (a
// stopped or refused load leaves the list and the setting as they were).
bool OpenStudyList(std::vector<dict::Entry>& list, StudyListContext& context, const std::string& chosenPath);
// File > Import Study List: appends the chosen file's entries; the setting stays.
bool ImportStudyList(std::vector<dict::Entry>& list, StudyListContext& context, const std::string& chosenPath);
// File > Save Study List: saves to .\StudyList\File. Over a file that was not
// read completely only when the user says Yes to the question. A failure is
// told in a message box.
bool SaveStudyListToFile(const std::vector<dict::Entry>& list, StudyListContext& context);
// File > Save Study List As: saves to the chosen path and then stores its
// stored form in .\StudyList\File; a failure is told and leaves the setting
// (and the list) as they were.
bool SaveStudyListAs(const std::vector<dict::Entry>& list, StudyListContext& context, const std::string& chosenPath);
// File > Close Study List: no file any more, the list emptied without saving.
void CloseStudyList(std::vector<dict::Entry>& list, StudyListContext& context);

// Start-up: removes the leftovers of an interrupted save beside
// .\StudyList\File and loads it, with status texts. Returns whether the
// study list window is to be shown (.\StudyList\On).
bool LoadStudyListAtStartup(std::vector<dict::Entry>& list, StudyListContext& context);
// Exit: a list with entries and no file gets "studylist.default" (or, when a
// file of that name is there that the list did not come from, the first free
// "studylist.default.N"); then the list is saved to .\StudyList\File (an
// empty list empties an existing file; with no file nothing is written). A
// file that was not read completely is left as it is, and the user is told,
// as for any failed save. shown goes into .\StudyList\On.
bool SaveStudyListAtExit(const std::vector<dict::Entry>& list, StudyListContext& context, bool shown);

// The form of a chosen path kept in .\StudyList\File: relative to the
// working directory (where every relative path of the program is read and
// written) when it lies inside it, else unchanged.
std::string StoredStudyListPath(const std::string& chosenPath, const std::string& workingDirectory);
std::string StoredStudyListPath(const std::string& chosenPath);

}  // namespace mirudex::userdata
