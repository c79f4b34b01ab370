#pragma once
// Dictionaries that the program makes itself: one imported from a JMdict
// file (Dictionaries > Import JMdict...) and the current dictionary fetched
// from the address in the options (Dictionaries > Download Current
// Dictionary...). Both run in two parts:
//
// - the worker part (on the load worker, while the user-interface thread
//   waits behind the progress window): the file is made in DICT\ (for a
//   download: fetched into a file of its own, checked whole, and only then
//   put in place in one rename), and the dictionary of that path is loaded
//   again, or a new record is loaded for it;
// - the user-interface part after the worker has ended: a new dictionary is
//   registered in the options as the next one and appended to the loaded
//   list; the user is told what happened.
//
// A failed, stopped or damaged fetch or import, and a download that unpacks
// past its limits or does not read as a dictionary, leave the dictionary,
// its index and the options as they were; nothing is announced as installed
// that was not loaded. Once the new file is in place its
// index is always made whole (a stop request is no longer heeded), so a
// dictionary never stands for another file than its own.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "dict/Dictionary.h"
#include "dict/FreshDictionary.h"

namespace mirudex::search {

class AppState;

// What the worker part has reached, for the progress window.
struct InstallProgress {
    enum Stage { Fetching, Making, Indexing };
    std::atomic<int> stage{Fetching};
    std::atomic<int> percent{0};
};

// The fetch of a download, provided by the program (the update area's
// HTTPS download): fills file from url; error says why on failure.
struct FetchResult {
    bool done = false;
    bool stopped = false;
    std::string error;
};
using Fetcher = std::function<FetchResult(const std::string& url, const std::string& file,
                                          const std::function<void(double)>& progress, const std::atomic<bool>* stop)>;

struct InstallResult {
    enum Outcome { Installed, Stopped, Failed };
    Outcome outcome = Failed;
    std::u16string message;  // what the user is told (a failure's reason, or what was installed)
    std::string optionPath;  // the dictionary's path in the options
    std::string name;        // its name, for a new one
    std::string encoding;
    size_t longestLine = 0;
    int entries = 0;
    int replaced = -1;                        // the loaded dictionary that was loaded again, or -1
    std::unique_ptr<dict::Dictionary> added;  // a new dictionary, loaded, not yet in the list
};

// Worker parts. They read the options and the dictionary list (the user-
// interface thread waits meanwhile) and end with thread_searching cleared.
void Thread_ImportJmdict(AppState& state, const std::string& input, const std::string& language,
                         InstallProgress& progress, InstallResult& result);
// limits: how large the download may unpack (tests lower them).
void Thread_DownloadDictionary(AppState& state, const std::string& url, const std::string& language,
                               const Fetcher& fetch, InstallProgress& progress, InstallResult& result,
                               const dict::DownloadLimits& limits = {});

// Starters of the two workers (refused, with the usual message, while a
// worker runs). Everything passed must live until the worker has ended.
bool Load_Thread_ImportJmdict(AppState& state, const std::string& input, const std::string& language,
                              InstallProgress& progress, InstallResult& result);
bool Load_Thread_DownloadDictionary(AppState& state, const std::string& url, const std::string& language,
                                    const Fetcher& fetch, InstallProgress& progress, InstallResult& result);

// The user-interface part: registers and appends a new dictionary. Returns
// the status text ("Dictionary installed." ...).
std::u16string FinishInstall(AppState& state, InstallResult& result);

}  // namespace mirudex::search
