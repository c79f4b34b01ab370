#include "dict/SharedIndex.h"

#include <filesystem>
#include <mutex>
#include <system_error>

#include "core/DebugLog.h"
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

}  // namespace

// The shared folder's files stand in for the dictionary's own index files
// when the folder's link and the dictionary's path lead to the same file.
bool LoadSharedIndexFrom(const std::string& folder, const std::string& dictionaryPath, const IndexIdentity& identity,
                         IndexTable& index, StopToken stop)
{
    if (folder.empty() || stop.StopRequested())
        return false;
    std::error_code error;
    const fs::path target = fs::canonical(platform::FilePath(dictionaryPath), error);
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
                      dictionaryPath, ReadName(read, difference));
        return false;
    }
    index.clear();
    const std::string companionFile = shared.string() + ".mxs";
    const bool adopted = index.Adopt(MapCompanionFile(companionFile, identity, difference));
    // Only a companion with every search structure: one that lacks some would
    // build them at every run, and could not keep them.
    if (!adopted || index.indexFileSize() != static_cast<uint64_t>(indexSize) || !index.Has(kAllStructures) ||
        (checkContents && !index.VerifyRecords())) {
        index.clear();
        dlog::WriteAt(1, u"EDICT_Index_Load: the shared companion %S does not stand for '%S'; not used.\n",
                      companionFile, dictionaryPath);
        return false;
    }
    dlog::WriteAt(1, u"EDICT_Index_Load: '%S' uses the shared index %S.\n", dictionaryPath, indexFile);
    return true;
}

void RemoveSharedIndex(const std::string& folder, const std::string& name)
{
    const fs::path there = fs::path(folder) / name;
    std::error_code ignored;
    fs::remove(there.string() + ".mxi", ignored);
    fs::remove(there.string() + ".mxs", ignored);
    if (fs::is_symlink(fs::symlink_status(there, ignored)))
        fs::remove(there, ignored);
}

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

bool LoadSharedIndex(const std::string& dictionaryPath, const IndexIdentity& identity, IndexTable& index,
                     StopToken stop)
{
    return LoadSharedIndexFrom(SharedIndexFolder(), dictionaryPath, identity, index, stop);
}

}  // namespace mirudex::dict
