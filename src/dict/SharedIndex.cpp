#include "dict/SharedIndex.h"

#include <filesystem>
#include <mutex>
#include <system_error>

#include "core/DebugLog.h"
#include "core/OptionNames.h"
#include "core/Registry.h"
#include "dict/IndexFile.h"
#include "dict/IndexTable.h"
#include "platform/api/Platform.h"

namespace mirudex::dict {

namespace fs = std::filesystem;

namespace {

std::mutex folderMutex;
std::string sharedFolder;

std::string ReadName(IndexRead read, const std::string& difference)
{
    switch (read) {
    case IndexRead::Loaded: return "it does";
    case IndexRead::Missing: return "there is none";
    case IndexRead::WrongMagic: return "not an index file";
    case IndexRead::NoIdentity: return "it does not say what it was made from";
    case IndexRead::OtherSource: return difference + " differs";
    case IndexRead::Short: return "it ends before its last entry";
    case IndexRead::Damaged: return difference.empty() ? std::string("it is damaged") : difference;
    case IndexRead::Stopped: return "stopped";
    }
    return {};
}

// The shared folder's files stand in for the dictionary's own index files
// when the folder's link and the dictionary's path lead to the same file.
bool LoadFrom(const std::string& folder, Dictionary& dictionary, const IndexIdentity& identity, StopToken stop)
{
    if (folder.empty() || stop.StopRequested())
        return false;
    std::error_code error;
    const fs::path target = fs::canonical(platform::FilePath(dictionary.path), error);
    if (error)
        return false;
    const fs::path shared = fs::path(folder) / target.filename();
    const fs::path sharedTarget = fs::canonical(shared, error);
    if (error || sharedTarget != target)
        return false;

    const std::string indexFile = shared.string() + ".mxi";
    std::string difference;
    int64_t indexSize = 0;
    const bool checkContents = ContentsChecked();
    const IndexRead read = CheckIndexFile(indexFile, identity, difference, indexSize, checkContents);
    if (read != IndexRead::Loaded) {
        dlog::WriteAt(1, u"EDICT_Index_Load: the shared index %S does not stand for '%S' (%S); not used.\n", indexFile,
                      dictionary.path, ReadName(read, difference));
        return false;
    }
    dictionary.Free();
    const std::string companionFile = shared.string() + ".mxs";
    const bool adopted = dictionary.index.Adopt(MapCompanionFile(companionFile, identity, difference));
    // Only a companion with every search structure: one that lacks some would
    // build them at every run, and could not keep them.
    if (!adopted || dictionary.index.indexFileSize() != static_cast<uint64_t>(indexSize) ||
        !dictionary.index.Has(kAllStructures) || (checkContents && !dictionary.index.VerifyRecords())) {
        dictionary.Free();
        dlog::WriteAt(1, u"EDICT_Index_Load: the shared companion %S does not stand for '%S'; not used.\n",
                      companionFile, dictionary.path);
        return false;
    }
    dictionary.count = static_cast<int32_t>(dictionary.index.size());
    // Nothing ever writes the shared files from here.
    dictionary.companionIdentity.reset();
    dlog::Write(u"EDICT_Index_Load: Number of entries: %i (in '%S')\n", dictionary.count, dictionary.path);
    dlog::WriteAt(1, u"EDICT_Index_Load: '%S' uses the shared index %S.\n", dictionary.path, indexFile);
    return true;
}

void RemoveQuietly(const fs::path& path)
{
    std::error_code ignored;
    fs::remove(path, ignored);
}

}  // namespace

void SetSharedIndexFolder(std::string folder)
{
    std::lock_guard lock(folderMutex);
    sharedFolder = std::move(folder);
}

std::string SharedIndexFolder()
{
    std::lock_guard lock(folderMutex);
    return sharedFolder;
}

bool LoadSharedIndex(Dictionary& dictionary, const IndexIdentity& identity, StopToken stop)
{
    return LoadFrom(SharedIndexFolder(), dictionary, identity, stop);
}

SharedIndexBuild BuildSharedIndex(const std::string& folder, const std::string& dictionaryFile,
                                  const std::string& encoding, Registry& registry)
{
    SharedIndexBuild result;
    const fs::path file(dictionaryFile);
    std::error_code error;
    if (!fs::is_regular_file(file, error)) {
        result.error = dictionaryFile + " is not a dictionary file" + (error ? ": " + error.message() : "");
        return result;
    }
    // Loads look for the name the dictionary's path leads to in the end.
    const fs::path there = fs::path(folder) / fs::canonical(file, error).filename();
    if (error) {
        result.error = "cannot follow " + dictionaryFile + ": " + error.message();
        return result;
    }
    // The dictionary may lie in the folder itself; otherwise a link leads to it.
    if (!fs::equivalent(there, file, error)) {
        const fs::file_status status = fs::symlink_status(there, error);
        if (fs::exists(status) && !fs::is_symlink(status)) {
            result.error = there.string() + " is in the way (it is not a link)";
            return result;
        }
        RemoveQuietly(there);
        error.clear();
        fs::create_symlink(file, there, error);
        if (error) {
            result.error = "cannot link " + there.string() + " to " + dictionaryFile + ": " + error.message();
            return result;
        }
    }
    // An index file of another kind would be asked about; here it simply goes.
    const std::string indexFile = there.string() + ".mxi";
    std::string difference;
    int64_t size = 0;
    if (CheckIndexFile(indexFile, IndexIdentity{}, difference, size, false) == IndexRead::WrongMagic)
        RemoveQuietly(indexFile);

    registry.SetBOOL(opt::dictionaries::kIndexing, true);
    Dictionary dictionary;
    dictionary.path = there.string();
    dictionary.name = file.filename().string();
    dictionary.encoding = encoding;
    EDICT_Index_Load(dictionary, registry);
    if (dictionary.count == 0) {
        result.error = dictionaryFile + ": no entries could be read";
        return result;
    }
    PrepareStructures(dictionary, kAllStructures);

    // What a user's load will find.
    int code = 0;
    const auto identity =
        IdentityOfFile(dictionaryFile, LinesReadAs(dictionary), registry.GetINT(opt::buffer::kEDICT), code);
    Dictionary check;
    check.path = dictionaryFile;
    check.encoding = encoding;
    if (!identity || !LoadFrom(folder, check, *identity, {})) {
        result.error = "the index files of " + dictionaryFile + " could not be made in " + folder;
        return result;
    }
    result.built = true;
    result.entries = check.count;
    return result;
}

void RemoveSharedIndex(const std::string& folder, const std::string& name)
{
    const fs::path there = fs::path(folder) / name;
    RemoveQuietly(there.string() + ".mxi");
    RemoveQuietly(there.string() + ".mxs");
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(there, error)))
        RemoveQuietly(there);
}

}  // namespace mirudex::dict
