#pragma once
// Putting a downloaded dictionary in place: the download (a gzip-compressed
// JMdict XML file or EDICT2 text file) is checked whole before anything is
// replaced. Its compression must be intact to the last check sum; a JMdict
// file must be well-formed and hold entries (it is imported into EDICT2
// lines, JmdictImport.h); an EDICT2 text must read as dictionary lines. Only
// then does the new dictionary replace the old one, in one rename, so the
// dictionary is always either the old one or the complete new one.
//
// Threads: any one thread (the load worker); stop requests are tested
// between blocks until the moment of the rename.

#include <cstddef>
#include <cstdint>
#include <string>

#include "dict/JmdictImport.h"
#include "dict/StopToken.h"

namespace mirudex::dict {

struct FreshDictionary {
    ImportStatus status = ImportStatus::Done;
    std::string error;     // for the user
    std::string encoding;  // of the dictionary now in place ("UTF-8", "EUC-JP")
    int entries = 0;
    size_t longestLine = 0;  // bytes, the line feed included
};

// Bounds on what a download may become: a file past them is refused before
// anything replaces the dictionary, however small it was compressed.
struct DownloadLimits {
    // Of the text or XML inside the gzip file, and of the dictionary made from it.
    std::uint64_t maxUnpackedBytes = std::uint64_t{512} << 20;
    // Of one dictionary line, its line feed included.
    size_t maxLineBytes = 64 * 1024;
};

// The dictionary a download from url becomes (an option path): a JMdict
// file DICT\<name>.edict2 (as an import of it), any other DICT\<name>, where
// name is the last part of the address without ".gz".
std::string DownloadedDictionaryPath(const std::string& url);

// Checks the downloaded file and, when it is sound and within limits, makes
// the dictionary at target (a file path) from it. language: the glosses kept
// from a JMdict file. A text whose lines are not mostly dictionary lines
// (a word, then meanings between slashes) is refused.
FreshDictionary InstallDownloadedDictionary(const std::string& downloaded, const std::string& target,
                                            const std::string& language, const ImportProgress& progress = {},
                                            StopToken stop = {}, const DownloadLimits& limits = {});

}  // namespace mirudex::dict
