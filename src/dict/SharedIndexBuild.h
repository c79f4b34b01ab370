#pragma once
// Making the index files of a shared folder (SharedIndex.h): what the
// administrator's tool (mirudex-lookup --build-indexes) runs for each of the
// system's dictionaries.

#include <string>

namespace mirudex {
class Registry;
}

namespace mirudex::dict {

struct SharedIndexBuild {
    bool built = false;
    int entries = 0;
    std::string error;  // for the administrator, when not built
};

// Makes the shared folder's index and companion files of dictionaryFile (an
// absolute path), read with the encoding and the options' line buffer, with
// every group of search structures, and the link to the dictionary beside
// them. Files that already stand for the dictionary are kept. The folder
// must exist. Message boxes go through the platform layer.
SharedIndexBuild BuildSharedIndex(const std::string& folder, const std::string& dictionaryFile,
                                  const std::string& encoding, Registry& registry);

}  // namespace mirudex::dict
