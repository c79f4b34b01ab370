#include "update/UpdateList.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <system_error>

#include "core/AtomicFile.h"
#include "core/LineReader.h"

namespace mirudex::update {

namespace {

// The whole file, or nothing when it cannot be read (missing, a directory, a read error).
std::optional<std::string> ReadWholeFile(const std::string& path)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        return std::nullopt;
    std::string contents;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        contents.append(buffer, got);
    if (std::ferror(file.get()))
        return std::nullopt;
    return contents;
}

std::string WithoutLineEnd(std::string line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.pop_back();
    return line;
}

enum class Section { None, News, Date, Id, Type, AppliesTo, Info, File };

Section Keyword(std::string_view line)
{
    static constexpr std::pair<std::string_view, Section> kKeywords[] = {
        {"NEWS", Section::News},
        {"DATE", Section::Date},
        {"ID", Section::Id},
        {"TYPE", Section::Type},
        {"APPLIES TO", Section::AppliesTo},
        {"INFO", Section::Info},
        {"FILE", Section::File},
    };
    // The whole line is the keyword; its line end may be missing on the last line.
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    for (const auto& [word, section] : kKeywords)
        if (line == word)
            return section;
    return Section::None;
}

void CloseRecord(UpdateRecord& record)
{
    if (record.files.empty())
        record.fileText = std::string(kNoFilesText);
}

}  // namespace

std::vector<std::string> ReadTextLines(std::string_view contents)
{
    std::vector<std::string> lines;
    LineReader reader;
    reader.OpenText(contents);
    std::string line;
    while (reader.ReadLine(line, std::numeric_limits<size_t>::max()) != LineReader::Read::End) {
        // Text mode: CR LF reads as LF.
        if (line.size() >= 2 && line[line.size() - 2] == '\r' && line.back() == '\n')
            line.erase(line.size() - 2, 1);
        lines.push_back(std::move(line));
    }
    return lines;
}

bool HasListMarker(std::string_view contents)
{
    LineReader reader;
    reader.OpenText(contents);
    std::string line;
    if (reader.ReadLine(line, kMarkerLineBytes) != LineReader::Read::Line)
        return false;
    if (line.size() >= 2 && line[line.size() - 2] == '\r' && line.back() == '\n')
        line.erase(line.size() - 2, 1);
    if (line.back() != '\n')
        line.push_back('\n');  // the only line, without a line end
    return line == kListMarkerLine;
}

std::vector<UpdateRecord> ParseUpdateList(std::string_view contents)
{
    std::vector<UpdateRecord> records;
    Section section = Section::None;
    bool newsSeen = false;
    for (const std::string& line : ReadTextLines(contents)) {
        if (line.front() == '#')
            continue;
        if (const Section keyword = Keyword(line); keyword != Section::None) {
            if (records.empty()) {
                records.emplace_back();
            } else if (keyword == Section::News && newsSeen) {
                CloseRecord(records.back());
                records.emplace_back();
            }
            if (keyword == Section::News)
                newsSeen = true;
            section = keyword;
            continue;
        }
        if (section == Section::None)
            continue;
        UpdateRecord& record = records.back();
        std::string text = WithoutLineEnd(line);
        const std::string withBreak = text + std::string(kRtfLine);
        switch (section) {
        case Section::News: record.newsText += withBreak; break;
        case Section::Date: record.dateText += withBreak; break;
        case Section::Id:
            record.idText += withBreak;
            record.id = std::move(text);
            break;
        case Section::Type:
            record.typeText += withBreak;
            record.type = std::move(text);
            break;
        case Section::AppliesTo:
            record.appliesToText += withBreak;
            record.appliesTo = std::move(text);
            break;
        case Section::Info:
            record.infoText += withBreak;
            record.infoLines.push_back(std::move(text));
            break;
        case Section::File:
            record.fileText += withBreak;
            record.files.push_back(std::move(text));
            break;
        case Section::None: break;
        }
    }
    if (!records.empty())
        CloseRecord(records.back());
    return records;
}

std::vector<std::string> ReadInstalledUpdates(const std::string& path)
{
    std::vector<std::string> ids;
    if (const auto contents = ReadWholeFile(path))
        for (const std::string& line : ReadTextLines(*contents))
            ids.push_back(WithoutLineEnd(line));
    return ids;
}

std::string SelectionVersion(std::string_view version) { return std::string(version.substr(0, version.find(' '))); }

bool VersionMatch(const std::string& version, std::string pattern)
{
    if (version == pattern)
        return true;
    if (!pattern.empty() && pattern.front() == '-') {
        pattern.erase(0, 1);
        if (version < pattern)
            return true;
    } else if (!pattern.empty() && pattern.back() == '-') {
        pattern.pop_back();
        if (version <= pattern)
            return true;
    }
    if (!pattern.empty() && pattern.front() == '+') {
        pattern.erase(0, 1);
        return version > pattern;
    }
    if (!pattern.empty() && pattern.back() == '+') {
        pattern.pop_back();
        return version >= pattern;
    }
    return false;
}

bool UpdateApplies(const UpdateRecord& record, const std::string& version, const std::vector<std::string>& installed)
{
    if (std::find(installed.begin(), installed.end(), record.id) != installed.end())
        return false;
    if (record.type != kBuildType && record.type != "All")
        return false;
    if (record.appliesTo == "All" || record.appliesTo == version)
        return true;
    if (const size_t slash = record.appliesTo.find('/'); slash != std::string::npos)
        return VersionMatch(version, record.appliesTo.substr(0, slash)) &&
               VersionMatch(version, record.appliesTo.substr(slash + 1));
    return VersionMatch(version, record.appliesTo);
}

UpdateSelection SelectUpdates(std::vector<UpdateRecord> records, const std::string& version,
                              const std::vector<std::string>& installed)
{
    UpdateSelection selection;
    for (UpdateRecord& record : records)
        if (UpdateApplies(record, version, installed))
            selection.applicable.push_back(std::move(record));
    for (auto it = selection.applicable.rbegin(); it != selection.applicable.rend(); ++it) {
        if (!it->files.empty()) {
            selection.downloadList = it->files;
            selection.chosenId = it->id;
            break;
        }
    }
    return selection;
}

bool EvaluateUpdateList(UpdateSelection& selection, const std::string& version, const std::string& listPath,
                        const std::string& logPath)
{
    selection = {};
    const std::vector<std::string> installed = ReadInstalledUpdates(logPath);
    const auto contents = ReadWholeFile(listPath);
    if (!contents)
        return false;
    selection = SelectUpdates(ParseUpdateList(*contents), version, installed);
    return true;
}

bool LogInstalledUpdate(const std::string& id, const std::string& path)
{
    std::string contents;
    if (auto old = ReadWholeFile(path)) {
        contents = std::move(*old);
    } else {
        // Only a log that is not there yet may be started afresh.
        std::error_code ec;
        if (std::filesystem::symlink_status(path, ec).type() != std::filesystem::file_type::not_found)
            return false;
    }
    // A last line left without its line end would otherwise run into the new id.
    if (!contents.empty() && contents.back() != '\n')
        contents.push_back('\n');
    contents += id;
    contents.push_back('\n');
    return WriteFileAtomically(path, contents);
}

FileEntry SplitFileEntry(std::string_view entry)
{
    const size_t colon = entry.find(':');
    if (colon == std::string_view::npos || colon == 0)
        return {std::string(entry), {}, {}};
    FileEntry file{std::string(entry.substr(0, colon)), std::string(entry.substr(colon + 1)), {}};
    if (const size_t second = file.crcText.find(':'); second != std::string::npos) {
        file.sha256 = file.crcText.substr(second + 1);
        file.crcText.resize(second);
    }
    return file;
}

bool SafeUpdateFileName(std::string_view name)
{
    if (name.empty() || name.front() == '/')
        return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F || c == '\\')
            return false;
    size_t start = 0;
    for (;;) {
        const size_t end = name.find('/', start);
        const std::string_view part = name.substr(start, end == std::string_view::npos ? end : end - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        if (end == std::string_view::npos)
            return true;
        start = end + 1;
    }
}

bool ReplaceableByUpdate(std::string_view name)
{
    if (!SafeUpdateFileName(name))
        return false;
    static constexpr std::string_view kDataFiles[] = {"partsofspeech.mxf", "fuzzysearch.uni.dat", "radkfile.dat"};
    for (std::string_view data : kDataFiles)
        if (name == data)
            return true;
    constexpr std::string_view kDictionaries = "DICT/";
    if (name.substr(0, kDictionaries.size()) != kDictionaries)
        return false;
    const std::string_view file = name.substr(kDictionaries.size());
    // One level below DICT/, and none of the files the program makes beside a dictionary.
    if (file.find('/') != std::string_view::npos)
        return false;
    static constexpr std::string_view kMadeByTheProgram[] = {".mxi", ".mxs", ".download", ".new"};
    for (std::string_view ending : kMadeByTheProgram)
        if (file.size() >= ending.size() && file.substr(file.size() - ending.size()) == ending)
            return false;
    return true;
}

bool UpdateTargetOnDiskIsSafe(const std::string& name, std::string& why)
{
    namespace fs = std::filesystem;
    fs::path walked;
    const fs::path target(name);
    for (auto part = target.begin(); part != target.end(); ++part) {
        walked /= *part;
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(walked, ec);
        const bool last = std::next(part) == target.end();
        if (status.type() == fs::file_type::not_found)
            return true;  // made new, inside what was checked so far
        if (ec) {
            why = walked.string() + " cannot be looked at";
            return false;
        }
        if (fs::is_symlink(status)) {
            why = walked.string() + " is a symbolic link";
            return false;
        }
        if (!last && !fs::is_directory(status)) {
            why = walked.string() + " is not a folder";
            return false;
        }
        if (last && !fs::is_regular_file(status)) {
            why = walked.string() + " is not a plain file";
            return false;
        }
    }
    return true;
}

}  // namespace mirudex::update
