#pragma once
// The options store: a tree of named keys holding typed data (STRING, INT,
// BOOL), loaded from and saved to Options.mxreg. Paths are backslash-separated;
// ".\" starts at the root, other paths are relative to the current key.
//
// A key or data item that a getter, CD or DataExists cannot find is taken as a
// broken installation: a message box says which line to add to the file and
// the process ends with status -1 (through the platform layer).
//
// Threads. The user-interface thread and the one worker may use the store at
// the same time. Looking up an item (the getters, DataExists) never changes
// anything: it walks its path from the root or from the current key without
// moving the current key, under a shared lock, so any number of threads may
// read at once. Everything that changes the store (the setters, CD, MakeKey,
// DeleteKey, Load, MergeFrom; Save and Print, which walk with the current key)
// takes the lock alone and waits for the readers. The current key belongs to
// the user-interface thread: a worker names every item by its absolute path
// (".\..."). GetSTRING hands out the stored text itself, which a setter on
// the same item may replace: a worker reads texts with GetString (a copy).
// root() and current() are for the user-interface thread while no worker runs.

#include <atomic>
#include <memory>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <thread>
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
    // Moving is for setting a store up, before any other thread sees it.
    Registry(Registry&& other) noexcept;
    Registry& operator=(Registry&& other) noexcept;

    void CD(std::string_view path);
    int GetINT(std::string_view path);
    bool GetBOOL(std::string_view path);
    // The stored text, or nullptr when the item is not a STRING. Valid until
    // the item is set again (user-interface thread only; see above).
    const std::string* GetSTRING(std::string_view path);
    // GetSTRING as a copy, taken under the lock; empty when the item is not a STRING.
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

    // Where a path could not be followed: the missing key or data name and
    // the text form of the key it was looked for in.
    struct Miss {
        bool key = false;  // a key on the way (else the data item itself)
        std::string name;
        std::string where;
    };
    class Access;
    // One step of a path from key: ".", ".." or a child name; nullptr when there is no such child.
    RegistryKey* Step(RegistryKey* key, std::string_view name) const;
    // Follows every component but the last from the current key (or the root)
    // without moving the current key; the last component is left in name.
    // nullptr, and miss filled, when a key on the way is missing.
    RegistryKey* Walk(std::string_view path, std::string_view& name, Miss& miss) const;
    // Reads the data item at path under the shared lock: found(key, item) for
    // an item, or the fatal message of kind when the path leads nowhere.
    template <typename Found>
    auto ReadData(std::string_view path, RegistryKind kind, Found&& found);
    // Applies op(key, name) to the key reached by path under the lock alone.
    template <typename Op>
    auto WriteAt(std::string_view path, Op&& op);

    [[noreturn]] static void Fail(const Miss& miss, RegistryKind kind);
    [[noreturn]] static void FatalMissingKey(std::string_view name, const std::string& path);
    [[noreturn]] static void FatalMissingData(std::string_view name, const std::string& path, RegistryKind kind);

    std::unique_ptr<RegistryKey> root_;
    RegistryKey* current_;
    mutable std::shared_mutex mutex_;
    // The thread that holds the lock alone, so that an operation that calls
    // another (Load parses with CD) is not stopped by its own lock.
    mutable std::atomic<std::thread::id> writer_{};
};

}  // namespace mirudex
