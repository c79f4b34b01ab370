#pragma once
// The options store: a tree of named keys holding typed data (STRING, INT,
// BOOL), loaded from and saved to Options.mxreg. Paths are backslash-separated;
// ".\" starts at the root, other paths are relative to the current key.
//
// A key or data item that a getter, CD or DataExists cannot find is taken as a
// broken installation: a message box says which line to add to the file and
// the process ends with status -1 (through the platform layer).
//
// Threads: no lock. Only the user-interface thread uses the store, or the one
// worker while the user-interface thread waits for it.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/OptionNames.h"

namespace mirudex {

class LineReader;

enum class RegistryKind { STRING, INT, BOOL };

struct RegistryData {
    std::string name;
    RegistryKind kind = RegistryKind::STRING;
    std::string typeText;  // as read or as made by a setter; written back by Save
    std::string stringValue;
    int intValue = 0;
    bool boolValue = false;
};

struct RegistryKey {
    RegistryKey* parent = nullptr;
    std::string name;  // empty for the root
    std::vector<std::unique_ptr<RegistryKey>> children;
    std::vector<RegistryData> data;
    std::vector<std::string> comments;  // each with its line end

    RegistryKey* FindChild(std::string_view childName) const;
    RegistryData* FindData(std::string_view dataName);
    const RegistryData* FindData(std::string_view dataName) const;
    // Names from the top-level key down, each followed by a backslash; "" for the root.
    std::string PathText() const;
};

// How reading an options file went.
enum class RegistryLoad {
    Loaded,      // every line was read
    Missing,     // there is no such file (the store is unchanged)
    Unreadable,  // the file exists but could not be read (LoadResult::error says why)
    TooDeep,     // keys nested deeper than Registry::kMaxDepth: a damaged file
};

struct RegistryLoadResult {
    RegistryLoad status = RegistryLoad::Loaded;
    int error = 0;  // errno, for Missing and Unreadable
};

class Registry {
public:
    // Keys nested deeper than this make a file damaged: the program's own
    // files are four levels deep, and the tree is walked recursively.
    static constexpr int kMaxDepth = 64;

    Registry();

    void CD(std::string_view path);
    int GetINT(std::string_view path);
    bool GetBOOL(std::string_view path);
    // The stored text, or nullptr when the item is not a STRING. Valid until
    // the item is set again.
    const std::string* GetSTRING(std::string_view path);
    // GetSTRING as a copy; empty when the item is not a STRING.
    std::string GetString(std::string_view path);
    void SetINT(std::string_view path, int value);
    void SetBOOL(std::string_view path, bool value);
    void SetSTRING(std::string_view path, std::string_view value);
    bool DataExists(std::string_view path);

    // Parses the file into the current key. Lines are read whole, however
    // long, and a last line without a line end is read like any other. A
    // key block whose name its parent already has is read into that key, so
    // a file with a repeated block settles after one load and save.
    RegistryLoadResult LoadFile(const std::string& fileName);
    // LoadFile; true when the file was read completely.
    bool Load(const std::string& fileName);
    // Writes the whole store (the current key becomes the root). The old file
    // is replaced only after the new one was written completely; false and the
    // old file untouched on any failure (*error, when given, the errno).
    bool Save(const std::string& fileName, int* error = nullptr);
    // Parses options text into the current key (what Load does with a file's
    // contents): Loaded or TooDeep.
    RegistryLoad LoadFromText(std::string_view text);
    std::string SaveToText();

    void Print(int depth);
    void MergeFrom(const Registry& other);
    void MakeKey(std::string_view name);
    void DeleteKey(std::string_view path);

    RegistryKey& root() { return *root_; }
    RegistryKey& current() { return *current_; }
    const RegistryKey& current() const { return *current_; }

private:
    // Parses the reader's lines into the current key.
    RegistryLoad Parse(LineReader& reader);
    void WriteKey(std::string& out, RegistryKey& key, int depth);
    void PrintKey(RegistryKey& key, int depth);
    void MergeKey(RegistryKey& dest, const RegistryKey& src);

    // Applies op to the last component after moving through the others.
    template <typename Op>
    auto Resolve(std::string_view path, Op&& op);

    [[noreturn]] void FatalMissingKey(std::string_view name);
    [[noreturn]] void FatalMissingData(std::string_view name, RegistryKind kind);

    std::unique_ptr<RegistryKey> root_;
    RegistryKey* current_;
};

}  // namespace mirudex
