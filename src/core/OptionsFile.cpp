#include "core/OptionsFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>

#include "core/DebugLog.h"

namespace mirudex {

namespace {

// The keys of .\Dictionaries\EDICT, one level each.
constexpr std::string_view kDictionariesName = "Dictionaries";
constexpr std::string_view kDictionaryListName = "EDICT";

bool SameValue(const RegistryData& a, const RegistryData& b)
{
    if (a.kind != b.kind)
        return false;
    switch (a.kind) {
    case RegistryKind::STRING: return a.stringValue == b.stringValue;
    case RegistryKind::INT: return a.intValue == b.intValue;
    case RegistryKind::BOOL: return a.boolValue == b.boolValue;
    }
    return false;
}

std::unique_ptr<RegistryKey> CopyKey(const RegistryKey& source, RegistryKey* parent)
{
    auto key = std::make_unique<RegistryKey>();
    key->parent = parent;
    key->name = source.name;
    key->data = source.data;
    key->comments = source.comments;
    for (const auto& child : source.children)
        key->children.push_back(CopyKey(*child, key.get()));
    return key;
}

int DictionaryCount(const RegistryKey* list)
{
    const RegistryData* number = list ? list->FindData(opt::dictionaries::edict::rel::kNumber) : nullptr;
    return number && number->kind == RegistryKind::INT ? number->intValue : 0;
}

// The key of the listed dictionary (0 .. Number-1) with this path, or nullptr.
RegistryKey* FindDictionary(RegistryKey* list, const std::string& path)
{
    const int count = DictionaryCount(list);
    for (int i = 0; i < count; ++i) {
        RegistryKey* entry = list->FindChild(std::to_string(i));
        const RegistryData* p = entry ? entry->FindData(opt::dictionaries::edict::entry::kPath) : nullptr;
        if (p && p->kind == RegistryKind::STRING && p->stringValue == path)
            return entry;
    }
    return nullptr;
}

class Merger {
public:
    int taken = 0;

    // ours and disk are keys at the same place; base is that key in the
    // baseline (nullptr when the baseline lacks it).
    void MergeKey(RegistryKey& ours, const RegistryKey* base, RegistryKey& disk)
    {
        MergeData(ours, base, disk, {});
        for (const auto& diskChild : disk.children) {
            RegistryKey* oursChild = ours.FindChild(diskChild->name);
            RegistryKey* baseChild = base ? base->FindChild(diskChild->name) : nullptr;
            // The dictionary list is merged by dictionary.
            if (oursChild && &ours == dictionaries_ && diskChild->name == kDictionaryListName) {
                MergeDictionaryList(*oursChild, baseChild, *diskChild);
                continue;
            }
            if (!oursChild) {
                if (baseChild)
                    continue;  // this process removed it
                ours.children.push_back(CopyKey(*diskChild, &ours));
                dlog::Write(u"   Kept from the file: %S%S\\\n", ours.PathText(), diskChild->name);
                ++taken;
                continue;
            }
            MergeKey(*oursChild, baseChild, *diskChild);
        }
    }

    void SetDictionariesKey(RegistryKey* key) { dictionaries_ = key; }

private:
    void MergeData(RegistryKey& ours, const RegistryKey* base, const RegistryKey& disk, std::string_view skip)
    {
        for (const RegistryData& d : disk.data) {
            if (d.name == skip)
                continue;
            RegistryData* o = ours.FindData(d.name);
            const RegistryData* b = base ? base->FindData(d.name) : nullptr;
            if (!o) {
                if (b)
                    continue;  // this process removed it
                ours.data.push_back(d);
            } else if (b && SameValue(*o, *b) && !SameValue(d, *b)) {
                *o = d;
            } else {
                continue;
            }
            dlog::Write(u"   Kept from the file: %S%S\n", ours.PathText(), d.name);
            ++taken;
        }
    }

    void MergeDictionaryList(RegistryKey& ours, const RegistryKey* base, RegistryKey& disk)
    {
        namespace edict = opt::dictionaries::edict;
        MergeData(ours, base, disk, edict::rel::kNumber);
        RegistryKey* baseList = const_cast<RegistryKey*>(base);
        const int count = DictionaryCount(&disk);
        for (int i = 0; i < count; ++i) {
            RegistryKey* diskEntry = disk.FindChild(std::to_string(i));
            const RegistryData* path = diskEntry ? diskEntry->FindData(edict::entry::kPath) : nullptr;
            if (!path || path->kind != RegistryKind::STRING)
                continue;
            RegistryKey* oursEntry = FindDictionary(&ours, path->stringValue);
            RegistryKey* baseEntry = FindDictionary(baseList, path->stringValue);
            if (oursEntry) {
                MergeKey(*oursEntry, baseEntry, *diskEntry);
                continue;
            }
            if (baseEntry)
                continue;  // this process removed it
            // A dictionary another program added: the next number of this list.
            const int number = DictionaryCount(&ours);
            const std::string name = std::to_string(number);
            if (RegistryKey* stale = ours.FindChild(name)) {
                // A key left beyond the count: it is replaced.
                auto& kids = ours.children;
                for (auto it = kids.begin(); it != kids.end(); ++it)
                    if (it->get() == stale) {
                        kids.erase(it);
                        break;
                    }
            }
            auto entry = CopyKey(*diskEntry, &ours);
            entry->name = name;
            ours.children.push_back(std::move(entry));
            if (RegistryData* n = ours.FindData(edict::rel::kNumber); n && n->kind == RegistryKind::INT) {
                n->intValue = number + 1;
            } else {
                RegistryData made;
                made.name = std::string(edict::rel::kNumber);
                made.kind = RegistryKind::INT;
                made.typeText = "INT";
                made.intValue = number + 1;
                ours.data.push_back(made);
            }
            dlog::Write(u"   Kept from the file: the dictionary %S, now %S%S\\\n", path->stringValue, ours.PathText(),
                        name);
            ++taken;
        }
    }

    RegistryKey* dictionaries_ = nullptr;
};

}  // namespace

OptionsFileLock::~OptionsFileLock() { Release(); }

std::string OptionsLockPath(const std::string& optionsFile) { return optionsFile + ".lock"; }

bool OptionsFileLock::Acquire(const std::string& optionsFile, int timeoutMs)
{
    Release();
    error_ = 0;
    const int fd = ::open(OptionsLockPath(optionsFile).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        error_ = errno;
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline) {
            error_ = errno == EINTR ? EWOULDBLOCK : errno;
            ::close(fd);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    fd_ = fd;
    return true;
}

void OptionsFileLock::Release()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

int MergeOutsideChanges(Registry& options, Registry& baseline, Registry& onDisk)
{
    Merger merger;
    merger.SetDictionariesKey(options.root().FindChild(kDictionariesName));
    merger.MergeKey(options.root(), &baseline.root(), onDisk.root());
    return merger.taken;
}

Registry CopyOfOptions(Registry& options)
{
    Registry copy;
    copy.LoadFromText(options.SaveToText());
    return copy;
}

bool SaveOptionsKeepingOthers(Registry& options, Registry& baseline, const std::string& fileName, int* error)
{
    OptionsFileLock lock;
    if (!lock.Acquire(fileName))
        dlog::Write(u"   WARNING: %S is written without its lock (%S).\n", fileName,
                    std::string(std::strerror(lock.error())));
    Registry onDisk;
    if (onDisk.LoadFile(fileName).status == RegistryLoad::Loaded) {
        const int taken = MergeOutsideChanges(options, baseline, onDisk);
        if (taken > 0)
            dlog::Write(u"   %S was changed by another program while Mirudex ran: %i of its changes kept.\n", fileName,
                        taken);
    }
    if (!options.Save(fileName, error))
        return false;
    baseline = CopyOfOptions(options);
    return true;
}

}  // namespace mirudex
