#pragma once
// The working folder: where Mirudex reads and writes Options.mxreg, its log,
// history, study lists and the dictionaries (under DICT/). Both programs,
// mirudex and mirudex-lookup, choose it the same way and then work in it as
// their current directory:
//
//   1. --workdir DIR on the command line;
//   2. otherwise the environment variable MIRUDEX_HOME, when it is not empty;
//   3. otherwise the current directory, when it holds Options.mxreg (a folder
//      prepared by hand or by an earlier run is used as it is);
//   4. otherwise ${XDG_DATA_HOME:-~/.local/share}/mirudex.
//
// A chosen folder that holds no Options.mxreg yet is prepared before use: it
// is created, and whatever of the following it lacks is filled in (nothing
// it holds is replaced): links DICT/edict, DICT/kanjidic and DICT/enamdict
// (the names dictionary, dictionary 2 of the default options, switched off)
// to Debian's dictionaries, radkfile.dat (the xjdic package's radical file, as Shift-JIS)
// and the program's own data files partsofspeech.mxf and fuzzysearch.uni.dat.
//
// No Qt here: the terminal tool uses it too.

#include <optional>
#include <string>
#include <vector>

namespace mirudex::desktop {

inline constexpr const char* kOptionsFileName = "Options.mxreg";
inline constexpr const char* kHomeVariable = "MIRUDEX_HOME";

// What the choice is made from; FromEnvironment fills it for this process.
struct FolderInputs {
    std::optional<std::string> workdirOption;  // --workdir
    std::string homeVariable;                  // MIRUDEX_HOME
    std::string currentDirectory;
    std::string xdgDataHome;  // XDG_DATA_HOME
    std::string home;         // HOME

    static FolderInputs FromEnvironment(std::optional<std::string> workdirOption);
};

enum class FolderReason { Option, Environment, Current, Default };

struct FolderChoice {
    std::string folder;  // absolute
    FolderReason reason = FolderReason::Default;
};

// The folder the rules above choose; nothing (and a message) when none can be
// named: no home folder to put the default under.
std::optional<FolderChoice> ChooseWorkingFolder(const FolderInputs& inputs, std::string& error);

bool HoldsOptionsFile(const std::string& folder);

// Where a preparation takes its files from.
struct DataSources {
    std::string dataDirectory;  // partsofspeech.mxf, fuzzysearch.uni.dat (may be empty: none found)
    std::string edict;
    std::string kanjidic;
    std::string names;                      // the names dictionary; empty: none is linked
    std::vector<std::string> radicalFiles;  // EUC-JP radical files, the first that exists is used

    // The installed program's: its data folder (ProgramDataDirectory), Debian's
    // dictionaries, /var/lib/xjdic/radkfile and the copy scripts/setup-data.sh
    // keeps in ${XDG_CACHE_HOME:-~/.cache}/mirudex/radkfile.
    static DataSources Installed();
};

// The folder of the program's own data files: <program>/../share/mirudex
// beside an installed program (any prefix), else the source tree's data/
// folder this program was built from; empty when neither exists.
std::string ProgramDataDirectory();
// The folder of the index files the package makes for every user: the
// configured folder (/var/cache/mirudex) below the root the program is
// installed in (the root of <root>/usr/bin/<program>: "/" for the
// package, the folder a package was unpacked into for a test of it). Empty
// for a program that is not installed there (a build folder's).
std::string SharedIndexDirectory();
// The same for a program file in programDirectory.
std::string SharedIndexDirectoryFor(const std::string& programDirectory);
// The folder of the running program file.
std::string ProgramDirectory();

struct Preparation {
    bool created = false;  // the folder did not exist before
    // Files that could not be provided, each a sentence for the user.
    std::vector<std::string> problems;
    bool radicalFileMissing = false;  // radkfile.dat could not be made
    bool ok() const { return problems.empty(); }
};

// Creates folder (with its parents) and fills in what it lacks. Never
// replaces a file the folder holds. Nothing on failure to create the folder
// (error says why).
std::optional<Preparation> PrepareWorkingFolder(const std::string& folder, const DataSources& sources,
                                                std::string& error);

// Chooses, prepares when needed and makes the folder the current directory.
struct EnteredFolder {
    FolderChoice choice;
    bool prepared = false;  // a preparation ran (the folder held no options file)
    Preparation preparation;
};
std::optional<EnteredFolder> EnterWorkingFolder(const FolderInputs& inputs, const DataSources& sources,
                                                std::string& error);

}  // namespace mirudex::desktop
