#pragma once
// The dictionary list in the options (.\Dictionaries\EDICT: Number, and per
// dictionary N\Path, Name, Encoding, On) as the commands that add
// dictionaries change it.
//
// Threads: the user-interface thread, or a worker while it waits (the
// options store has no lock).

#include <cstddef>
#include <string>

namespace mirudex {
class Registry;
}

namespace mirudex::dict {

// The number of the configured dictionary with this option path, or -1.
int FindConfiguredDictionary(Registry& registry, const std::string& path);

// Appends a dictionary as number Number (and Number + 1 becomes the count);
// returns its number.
int RegisterDictionary(Registry& registry, const std::string& path, const std::string& name,
                       const std::string& encoding, bool on);

// The largest line buffer EnsureLineBuffer sets: lines of a dictionary just
// written that are longer than it takes are left out when it is loaded.
inline constexpr size_t kLargestLineBuffer = 1'000'000;

// Makes .\Buffer\EDICT large enough for lines of longestLine bytes (the line
// feed included), so that no line of a dictionary just written is skipped,
// but never larger than kLargestLineBuffer (a buffer the user set larger is
// left alone). True when it was raised.
bool EnsureLineBuffer(Registry& registry, size_t longestLine);

}  // namespace mirudex::dict
