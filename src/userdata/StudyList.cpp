#include "userdata/StudyList.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "core/AtomicFile.h"
#include "core/DebugLog.h"
#include "core/LineReader.h"
#include "core/Registry.h"
#include "platform/api/Platform.h"
#include "userdata/LineRecoding.h"

namespace mirudex::userdata {

namespace {

// Switches index files off while alive, so that no index is read or made for
// a study list file, and back on afterwards if they were on.
class IndexingOff {
public:
    explicit IndexingOff(Registry& options) : options_(options), wasOn_(options.GetBOOL(opt::dictionaries::kIndexing))
    {
        if (wasOn_)
            options_.SetBOOL(opt::dictionaries::kIndexing, false);
    }
    ~IndexingOff()
    {
        if (wasOn_)
            options_.SetBOOL(opt::dictionaries::kIndexing, true);
    }
    IndexingOff(const IndexingOff&) = delete;
    IndexingOff& operator=(const IndexingOff&) = delete;

private:
    Registry& options_;
    bool wasOn_;
};

// Reads every entry of the loaded record from its file, in file order.
std::vector<dict::Entry> ReadEntries(const dict::Dictionary& record, StudyListContext& context)
{
    std::vector<dict::Entry> entries;
    if (record.index.empty())
        return entries;
    entries.reserve(record.index.size());
    LineReader file(platform::FilePath(record.path));
    for (const dict::IndexEntry& index : record.index) {
        dict::Entry entry;
        if (file.IsOpen())
            dict::LoadInfoInto(file, context.options, record, entry, index);
        else
            dict::LoadInfoInto(context.options, record, entry, index);
        dict::SetInfo(entry, context.markers);
        // Characters EUC-JP cannot hold were saved as references.
        DecodeCharacterReferences(entry);
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace

bool LoadStudyList(std::vector<dict::Entry>& list, StudyListContext& context, const std::string& path, bool append)
{
    dlog::Write(u"Loading study list (%S)...\n", path);
    dict::Dictionary record;
    record.path = path;
    record.name = path;
    record.encoding = kStudyListEncoding;
    record.on = true;

    LoadWait wait = LoadWait::Refused;
    {
        IndexingOff indexingOff(context.options);
        if (context.runLoad)
            wait = context.runLoad(record);
    }

    switch (wait) {
    case LoadWait::Finished: break;
    case LoadWait::Stopped:
    case LoadWait::Quit: platform::Get().SetStatusText(0, u"Studylist loading... aborted."); return false;
    case LoadWait::Refused:
        // The starter has told the user; the list stays as it was.
        return false;
    }

    std::vector<dict::Entry> entries = ReadEntries(record, context);
    if (!append)
        list.clear();
    for (dict::Entry& entry : entries)
        list.push_back(std::move(entry));
    dlog::Write(u"Studylist loaded.\n");
    return true;
}

bool SaveStudyList(const std::vector<dict::Entry>& list, const std::string& path,
                   std::span<const std::string> sourceEncodings)
{
    dlog::Write(u"Saving study list......");
    AtomicFileWriter writer;
    if (path.empty() || !writer.Open(platform::FilePath(path))) {
        dlog::Write(u"FAILED\n");
        return false;
    }
    for (const dict::Entry& entry : list) {
        std::string line = RawLineInEucJp(entry, sourceEncodings);
        // Every line must end with its line feed, or it would run into the next one.
        if (line.empty() || line.back() != '\n')
            line.push_back('\n');
        writer.Write(line);
    }
    if (!writer.Commit()) {
        dlog::Write(u"FAILED\n");
        return false;
    }
    dlog::Write(u"OKAY\n");
    return true;
}

size_t AddToStudyList(const std::vector<dict::Entry>& source, std::vector<dict::Entry>& list)
{
    size_t added = 0;
    for (const dict::Entry& entry : source) {
        if (!entry.selected)
            continue;
        list.push_back(entry);
        list.back().selected = false;
        ++added;
    }
    return added;
}

bool OpenStudyList(std::vector<dict::Entry>& list, StudyListContext& context, const std::string& chosenPath)
{
    const std::string stored = StoredStudyListPath(chosenPath);
    if (!LoadStudyList(list, context, stored, false))
        return false;
    context.options.SetSTRING(opt::study_list::kFile, stored);
    return true;
}

bool ImportStudyList(std::vector<dict::Entry>& list, StudyListContext& context, const std::string& chosenPath)
{
    return LoadStudyList(list, context, chosenPath, true);
}

bool SaveStudyListToFile(const std::vector<dict::Entry>& list, StudyListContext& context)
{
    return SaveStudyList(list, context.options.GetString(opt::study_list::kFile), context.sourceEncodings);
}

bool SaveStudyListAs(const std::vector<dict::Entry>& list, StudyListContext& context, const std::string& chosenPath)
{
    const std::string stored = StoredStudyListPath(chosenPath);
    context.options.SetSTRING(opt::study_list::kFile, stored);
    return SaveStudyList(list, stored, context.sourceEncodings);
}

void CloseStudyList(std::vector<dict::Entry>& list, Registry& options)
{
    options.SetSTRING(opt::study_list::kFile, "");
    list.clear();
}

bool LoadStudyListAtStartup(std::vector<dict::Entry>& list, StudyListContext& context)
{
    platform::Get().SetStatusText(0, u"Loading studylist...");
    LoadStudyList(list, context, context.options.GetString(opt::study_list::kFile), false);
    platform::Get().SetStatusText(0, u"Studylist loaded.");
    return context.options.GetBOOL(opt::study_list::kOn);
}

bool SaveStudyListAtExit(const std::vector<dict::Entry>& list, StudyListContext& context, bool shown)
{
    if (!list.empty() && context.options.GetString(opt::study_list::kFile).empty())
        context.options.SetSTRING(opt::study_list::kFile, kDefaultStudyListFile);
    const bool saved = SaveStudyListToFile(list, context);
    context.options.SetBOOL(opt::study_list::kOn, shown);
    return saved;
}

std::string ProgramDirectory()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty())
        return {};
    std::string dir = exe.parent_path().string();
    if (dir.empty() || dir.back() != '/')
        dir.push_back('/');
    return dir;
}

std::string StoredStudyListPath(const std::string& chosenPath, const std::string& programDirectory)
{
    if (!programDirectory.empty() && chosenPath.size() > programDirectory.size() &&
        chosenPath.compare(0, programDirectory.size(), programDirectory) == 0)
        return chosenPath.substr(programDirectory.size());
    return chosenPath;
}

std::string StoredStudyListPath(const std::string& chosenPath)
{
    return StoredStudyListPath(chosenPath, ProgramDirectory());
}

}  // namespace mirudex::userdata
