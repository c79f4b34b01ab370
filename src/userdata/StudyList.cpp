#include "userdata/StudyList.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <system_error>

#include "core/AtomicFile.h"
#include "core/DebugLog.h"
#include "core/Format.h"
#include "core/LineReader.h"
#include "core/Registry.h"
#include "core/UserFileReport.h"
#include "platform/api/Platform.h"
#include "platform/api/Utf.h"
#include "userdata/LineRecoding.h"

namespace mirudex::userdata {

namespace {

constexpr std::u16string_view kWhat = u"your study list";

// Sets an option for as long as it lives and puts the former value back
// afterwards. The study list load runs the dictionary loader, whose settings
// are made for dictionaries, not for the user's own file.
class OptionsForStudyList {
public:
    explicit OptionsForStudyList(Registry& options)
        : options_(options),
          indexing_(options.GetBOOL(opt::dictionaries::kIndexing)),
          buffer_(options.GetINT(opt::buffer::kEDICT))
    {
        // No index file is read or made for a study list file.
        if (indexing_)
            options_.SetBOOL(opt::dictionaries::kIndexing, false);
        // Its lines are read whole, however long: a line longer than the
        // dictionaries' line buffer is still one of the user's entries.
        options_.SetINT(opt::buffer::kEDICT, INT_MAX);
    }
    ~OptionsForStudyList()
    {
        options_.SetINT(opt::buffer::kEDICT, buffer_);
        if (indexing_)
            options_.SetBOOL(opt::dictionaries::kIndexing, true);
    }
    OptionsForStudyList(const OptionsForStudyList&) = delete;
    OptionsForStudyList& operator=(const OptionsForStudyList&) = delete;

private:
    Registry& options_;
    bool indexing_;
    int buffer_;
};

// Reads every entry of the loaded record from its file, in file order.
// Entries whose line cannot be read again are left out and counted.
std::vector<dict::Entry> ReadEntries(const dict::Dictionary& record, StudyListContext& context, int& unread)
{
    std::vector<dict::Entry> entries;
    if (record.index.empty())
        return entries;
    entries.reserve(record.index.size());
    LineReader file(platform::FilePath(record.path));
    int64_t lastOffset = -1;
    for (const dict::IndexEntry& index : record.index) {
        if (index.offset == lastOffset)
            continue;  // another form of the same line
        lastOffset = index.offset;
        dict::Entry entry;
        if (file.IsOpen())
            dict::LoadInfoInto(file, context.options, record, entry, index);
        else
            dict::LoadInfoInto(context.options, record, entry, index);
        if (entry.rawLine.empty()) {
            ++unread;
            continue;
        }
        dict::SetInfo(entry, context.markers);
        // Characters EUC-JP cannot hold were saved as references.
        DecodeCharacterReferences(entry);
        entries.push_back(std::move(entry));
    }
    return entries;
}

// Why a finished load did not take all of the file; empty when it did.
// Blank lines make no entry but hold nothing either.
std::string WhatWasNotRead(const dict::Dictionary& record, int unread)
{
    if (record.fileError != 0 && record.fileError != ENOENT)
        return ErrorText(record.fileError);
    const dict::SkippedLines& skipped = record.skipped;
    const int lost = skipped.tooLong + skipped.noSlash + skipped.undecoded + unread;
    if (lost > 0)
        return Utf16ToUtf8(Format(u"%i of its lines could not be read as entries", lost));
    return {};
}

bool Exists(const std::string& optionPath)
{
    std::error_code ec;
    return std::filesystem::symlink_status(platform::FilePath(optionPath), ec).type() !=
           std::filesystem::file_type::not_found;
}

bool IsEmptyFile(const std::string& optionPath)
{
    std::error_code ec;
    const std::filesystem::path path = platform::FilePath(optionPath);
    return std::filesystem::is_regular_file(path, ec) && std::filesystem::file_size(path, ec) == 0 && !ec;
}

// Writes the list and tells the user when that failed.
bool SaveAndTell(const std::vector<dict::Entry>& list, const std::string& path)
{
    std::string failure;
    if (SaveStudyList(list, path, &failure))
        return true;
    if (!path.empty())
        TellNotSaved(kWhat, path, failure);
    return false;
}

// Asks before a save by the user writes the list over a file that was not
// read completely.
bool MayReplaceUnread(const StudyListContext& context, const std::vector<dict::Entry>& list, const std::string& path)
{
    if (context.file.MayWriteOver(path))
        return true;
    const auto answer = platform::Get().MessageBox(
        Format(u"The study list file %s was not read completely: %s.\n\nSaving replaces it with the %i entries of the "
               u"study list, and what could not be read is lost.\n\nSave anyway?",
               Utf8ToUtf16(path), Utf8ToUtf16(context.file.unreadable), static_cast<long long>(list.size())),
        u"Save Study List", platform::Buttons::YesNo, platform::Owner::MainWindow);
    return answer == platform::Answer::Yes;
}

}  // namespace

bool LoadStudyList(std::vector<dict::Entry>& list, StudyListContext& context, const std::string& path, bool append,
                   std::string* unreadable)
{
    dlog::Write(u"Loading study list (%S)...\n", path);
    dict::Dictionary record;
    record.path = path;
    record.name = path;
    record.encoding = kStudyListEncoding;
    // Its lines come from plain and EDICT2 dictionaries alike; the EDICT2
    // reading takes both.
    record.format = dict::kEdict2FormName;
    record.on = true;

    LoadWait wait = LoadWait::Refused;
    int unread = 0;
    std::vector<dict::Entry> entries;
    if (!Exists(path)) {
        // Nothing to read (a new user's list is made at the first save): no
        // load is started for it, and the list ends up as a load would leave it.
        dlog::Write(u"EDICT_Index_Load: ERROR: %S not opened.\n", path);
        wait = LoadWait::Finished;
    } else if (IsEmptyFile(path)) {
        // A list saved with no entries: nothing to read either.
        wait = LoadWait::Finished;
    } else {
        OptionsForStudyList settings(context.options);
        if (context.runLoad)
            wait = context.runLoad(record);
        if (wait == LoadWait::Finished)
            entries = ReadEntries(record, context, unread);
    }

    switch (wait) {
    case LoadWait::Finished: break;
    case LoadWait::Stopped:
    case LoadWait::Quit: platform::Get().SetStatusText(0, u"Studylist loading... aborted."); return false;
    case LoadWait::Refused:
        // The starter has told the user; the list stays as it was.
        return false;
    }

    if (!append)
        list.clear();
    for (dict::Entry& entry : entries)
        list.push_back(std::move(entry));
    const std::string notRead = WhatWasNotRead(record, unread);
    dlog::Write(u"Studylist loaded.\n");
    if (!notRead.empty())
        dlog::Write(u"   WARNING: %S was not read completely (%S).\n", path, notRead);
    if (unreadable)
        *unreadable = notRead;
    return true;
}

bool SaveStudyList(const std::vector<dict::Entry>& list, const std::string& path, std::string* failure)
{
    dlog::Write(u"Saving study list......");
    AtomicFileWriter writer;
    if (path.empty() || !writer.Open(platform::FilePath(path))) {
        dlog::Write(u"FAILED\n");
        if (failure)
            *failure = path.empty() ? "no file is set" : ErrorText(writer.Error());
        return false;
    }
    for (const dict::Entry& entry : list) {
        std::string line = RawLineInEucJp(entry);
        // Every line must end with its line feed, or it would run into the next one.
        if (line.empty() || line.back() != '\n')
            line.push_back('\n');
        writer.Write(line);
    }
    if (!writer.Commit()) {
        dlog::Write(u"FAILED\n");
        if (failure)
            *failure = ErrorText(writer.Error());
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
    std::string unreadable;
    if (!LoadStudyList(list, context, stored, false, &unreadable))
        return false;
    context.options.SetSTRING(opt::study_list::kFile, stored);
    context.file = {stored, unreadable};
    return true;
}

bool ImportStudyList(std::vector<dict::Entry>& list, StudyListContext& context, const std::string& chosenPath)
{
    return LoadStudyList(list, context, chosenPath, true);
}

bool SaveStudyListToFile(const std::vector<dict::Entry>& list, StudyListContext& context)
{
    const std::string path = context.options.GetString(opt::study_list::kFile);
    if (!MayReplaceUnread(context, list, path))
        return false;
    if (!SaveAndTell(list, path))
        return false;
    context.file = {path, {}};
    return true;
}

bool SaveStudyListAs(const std::vector<dict::Entry>& list, StudyListContext& context, const std::string& chosenPath)
{
    const std::string stored = StoredStudyListPath(chosenPath);
    if (!MayReplaceUnread(context, list, stored))
        return false;
    // The setting follows only a save that worked: a failed one leaves the
    // list with the file it had.
    if (!SaveAndTell(list, stored))
        return false;
    context.options.SetSTRING(opt::study_list::kFile, stored);
    context.file = {stored, {}};
    return true;
}

void CloseStudyList(std::vector<dict::Entry>& list, StudyListContext& context)
{
    context.options.SetSTRING(opt::study_list::kFile, "");
    context.file = {};
    list.clear();
}

bool LoadStudyListAtStartup(std::vector<dict::Entry>& list, StudyListContext& context)
{
    platform::Get().SetStatusText(0, u"Loading studylist...");
    const std::string path = context.options.GetString(opt::study_list::kFile);
    if (!path.empty())
        RemoveLeftoverTemporaries(platform::FilePath(path));
    std::string unreadable;
    if (!LoadStudyList(list, context, path, false, &unreadable))
        unreadable = "its loading was stopped";
    context.file = {path, path.empty() ? std::string() : unreadable};
    platform::Get().SetStatusText(0, u"Studylist loaded.");
    return context.options.GetBOOL(opt::study_list::kOn);
}

bool SaveStudyListAtExit(const std::vector<dict::Entry>& list, StudyListContext& context, bool shown)
{
    if (!list.empty() && context.options.GetString(opt::study_list::kFile).empty()) {
        // A file of that name that the list did not come from is another
        // list (say, the one closed earlier in this run): it is not replaced.
        std::string name = kDefaultStudyListFile;
        for (int n = 2; Exists(name) && context.file.path != name; ++n)
            name = std::string(kDefaultStudyListFile) + "." + std::to_string(n);
        context.options.SetSTRING(opt::study_list::kFile, name);
    }
    context.options.SetBOOL(opt::study_list::kOn, shown);
    const std::string path = context.options.GetString(opt::study_list::kFile);
    if (!context.file.MayWriteOver(path)) {
        dlog::Write(u"Saving study list......FAILED\n");
        dlog::Write(u"   %S was left as it was: it was not read completely (%S).\n", path, context.file.unreadable);
        TellNotSaved(kWhat, path,
                     "the file was not read completely when it was loaded (" + context.file.unreadable +
                         "), and writing the list over it would lose what could not be read");
        return false;
    }
    return SaveAndTell(list, path);
}

std::string StoredStudyListPath(const std::string& chosenPath, const std::string& workingDirectory)
{
    std::string dir = workingDirectory;
    if (!dir.empty() && dir.back() != '/')
        dir.push_back('/');
    if (dir.size() > 1 && chosenPath.size() > dir.size() && chosenPath.compare(0, dir.size(), dir) == 0)
        return chosenPath.substr(dir.size());
    return chosenPath;
}

std::string StoredStudyListPath(const std::string& chosenPath)
{
    std::error_code ec;
    const std::filesystem::path cwd = std::filesystem::current_path(ec);
    return StoredStudyListPath(chosenPath, ec ? std::string() : cwd.string());
}

}  // namespace mirudex::userdata
