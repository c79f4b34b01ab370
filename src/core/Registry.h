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

class Registry {
public:
    static constexpr size_t kMaxLineLength = 4998;

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

    // Parses the file into the current key; false when it cannot be opened.
    bool Load(const std::string& fileName);
    // Writes the whole store (the current key becomes the root). The old file
    // is replaced only after the new one was written completely; false and the
    // old file untouched on any failure.
    bool Save(const std::string& fileName);
    // Parses options text into the current key (what Load does with a file's contents).
    void LoadFromText(std::string_view text);
    std::string SaveToText();

    void Print(int depth);
    void MergeFrom(const Registry& other);
    void MakeKey(std::string_view name);
    void DeleteKey(std::string_view path);

    RegistryKey& root() { return *root_; }
    RegistryKey& current() { return *current_; }
    const RegistryKey& current() const { return *current_; }

private:
    struct Reader;
    // Parses lines into the key being read; true when the whole parse must end.
    bool ParseInto(Reader& reader, int depth);
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
