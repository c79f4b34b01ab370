#pragma once
// What every harness shares. A harness runs each input inside a session:
// the process works in a temporary folder of its own (made on first use and
// removed at exit), message boxes, the clipboard and exits go to the
// recording platform, and a fresh debug log is written there, so the log
// lines of hostile input are formatted too.
//
// The harnesses are libFuzzer programs in a fuzzing build (scripts/fuzz.sh)
// and replay programs under ctest otherwise (ReplayMain.cpp).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace mirudex {
class Registry;
}

namespace mirudex::fuzz {

// One input's stay. Creating it clears what the platform recorded and, for
// one input in eight (chosen by the input's bytes, so that a finding
// replays alike), opens the debug log at level 2; ending it closes the log.
// The log is not written for every input because its lines are flushed one
// by one, which would slow the search for faults down more than it helps.
class Session {
public:
    Session(const uint8_t* data, size_t size);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
};

// The data as bytes.
inline std::string_view Bytes(const uint8_t* data, size_t size) { return {reinterpret_cast<const char*>(data), size}; }

// Writes bytes to name in the session folder (replacing it).
void WriteFile(const std::string& name, std::string_view bytes);

// A fresh options store holding the default options.
std::unique_ptr<Registry> DefaultOptions();

// The data cut at every separator into at most maxParts parts (the last part
// keeps any further separators).
std::vector<std::string_view> Split(std::string_view data, char separator, size_t maxParts);

// Pairs of bytes as UTF-16 units (little-endian; an odd last byte is dropped).
std::u16string Units(std::string_view bytes);

// Ends the program (abort) with the message when a property of the code
// under test does not hold: such an input is a finding.
[[noreturn]] void Fail(const char* what, const char* file, int line);

}  // namespace mirudex::fuzz

#define FUZZ_CHECK(condition)                                      \
    do {                                                           \
        if (!(condition))                                          \
            ::mirudex::fuzz::Fail(#condition, __FILE__, __LINE__); \
    } while (0)
