#include "dict/FreshDictionary.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/AtomicFile.h"
#include "dict/Edict2Line.h"
#include "dict/GzipReader.h"

namespace mirudex::dict {

namespace {

constexpr unsigned kBlock = 1 << 18;

std::string LastPart(const std::string& url)
{
    std::string name = url.substr(0, url.find_first_of("?#"));
    name = name.substr(name.find_last_of('/') + 1);
    if (name.size() > 3 && name.compare(name.size() - 3, 3, ".gz") == 0)
        name.resize(name.size() - 3);
    return name;
}

bool LooksLikeXml(std::string_view start)
{
    const size_t first = start.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    return first != std::string_view::npos && start.substr(first, 1) == "<";
}

// Whether bytes are UTF-8 so far; a sequence cut by the end of the block is
// carried over in pending.
class Utf8Check {
public:
    void Add(std::string_view bytes)
    {
        for (unsigned char c : bytes) {
            if (!valid_)
                return;
            if (pending_ > 0) {
                valid_ = (c & 0xC0) == 0x80;
                --pending_;
            } else if (c >= 0x80) {
                nonAscii_ = true;
                pending_ = c >= 0xF0 && c <= 0xF4 ? 3 : c >= 0xE0 ? 2 : c >= 0xC2 && c <= 0xDF ? 1 : -1;
                valid_ = pending_ > 0;
            }
        }
    }
    bool Utf8() const { return valid_ && pending_ == 0 && nonAscii_; }

private:
    int pending_ = 0;
    bool valid_ = true;
    bool nonAscii_ = false;
};

std::string Megabytes(std::uint64_t bytes) { return std::to_string((bytes + (1 << 20) - 1) >> 20) + " MB"; }

FreshDictionary Refused(ImportStatus status, std::string error)
{
    FreshDictionary result;
    result.status = status;
    result.error = std::move(error);
    return result;
}

// Inflates the whole gzip file without keeping it, as far as the limit: its
// compression must be intact to the last check sum, and what it holds no
// larger than the limit (the sizes its members record are not trusted).
bool CheckCompressed(const std::string& path, std::uint64_t limit, FreshDictionary& result)
{
    if (!HasGzipMagic(path)) {
        result = Refused(ImportStatus::Damaged, "it is not a gzip-compressed file");
        return false;
    }
    GzipReader reader;
    if (!reader.Open(path)) {
        result = Refused(ImportStatus::CannotOpen, reader.error());
        return false;
    }
    std::vector<char> block(kBlock);
    std::uint64_t unpacked = 0;
    for (;;) {
        const long read = reader.Read(block.data(), kBlock);
        if (read < 0) {
            result = Refused(ImportStatus::Damaged, reader.error());
            return false;
        }
        if (read == 0)
            return true;
        unpacked += static_cast<std::uint64_t>(read);
        if (unpacked > limit) {
            result = Refused(ImportStatus::Damaged, "it unpacks to more than " + Megabytes(limit));
            return false;
        }
    }
}

// An EDICT2 text: unpacked into target while every line is looked at.
FreshDictionary InstallText(GzipReader& input, std::string start, const std::string& target,
                            const ImportProgress& progress, StopToken stop, const DownloadLimits& limits)
{
    FreshDictionary result;
    AtomicFileWriter writer;
    if (!writer.Open(target)) {
        result.status = ImportStatus::CannotWrite;
        result.error = "the dictionary file cannot be created";
        return result;
    }
    Utf8Check utf8;
    std::string line;
    int lines = 0, damaged = 0;
    std::uint64_t written = 0;
    // False when the text passes a limit (the result then says which).
    auto takeLines = [&](std::string_view bytes) {
        written += bytes.size();
        if (written > limits.maxUnpackedBytes) {
            result = Refused(ImportStatus::Damaged, "it unpacks to more than " + Megabytes(limits.maxUnpackedBytes));
            return false;
        }
        for (char c : bytes) {
            line.push_back(c);
            if (line.size() > limits.maxLineBytes) {
                result = Refused(ImportStatus::Damaged, "line " + std::to_string(lines + 1) + " is longer than " +
                                                            std::to_string(limits.maxLineBytes) + " bytes");
                return false;
            }
            if (c != '\n')
                continue;
            ++lines;
            result.longestLine = std::max(result.longestLine, line.size());
            const size_t slash = line.find('/');
            if (slash == std::string::npos || slash == 0 || line.find('/', slash + 1) == std::string::npos)
                ++damaged;
            line.clear();
        }
        return true;
    };
    std::vector<char> block(kBlock);
    std::string_view chunk = start;
    for (;;) {
        if (stop.StopRequested()) {
            result.status = ImportStatus::Stopped;
            result.error = "the download was stopped";
            return result;
        }
        utf8.Add(chunk);
        if (!takeLines(chunk))
            return result;
        if (!writer.Write(chunk)) {
            result.status = ImportStatus::CannotWrite;
            result.error = "the dictionary file cannot be written";
            return result;
        }
        const long read = input.Read(block.data(), kBlock);
        if (read < 0) {
            result.status = ImportStatus::Damaged;
            result.error = input.error();
            return result;
        }
        if (progress && input.FileSize() > 0)
            progress(std::min(1.0, static_cast<double>(input.FileOffset()) / static_cast<double>(input.FileSize())));
        if (read == 0)
            break;
        chunk = std::string_view(block.data(), static_cast<size_t>(read));
    }
    if (!line.empty()) {
        // The last line without its line feed still counts.
        if (!takeLines("\n"))
            return result;
        writer.Write("\n");
    }
    // Header lines aside, a dictionary is lines with meanings between slashes:
    // a file of one long line, or of few good lines among others, is none.
    const int good = lines - damaged;
    if (good == 0 || damaged > good / 100 + 1) {
        result.status = ImportStatus::NotJmdict;
        result.error = "it does not read as a dictionary (" + std::to_string(damaged) + " of " + std::to_string(lines) +
                       " lines have no meanings)";
        return result;
    }
    result.encoding = utf8.Utf8() ? "UTF-8" : "EUC-JP";
    result.entries = lines;
    if (!writer.Commit(AtomicFileWriter::Durability::Synced)) {
        result.status = ImportStatus::CannotWrite;
        result.error = "the dictionary file cannot be written";
    }
    return result;
}

}  // namespace

std::string DownloadedDictionaryPath(const std::string& url)
{
    const std::string name = LastPart(url);
    if (name.rfind("JMdict", 0) == 0)
        return ImportedDictionaryPath(name);
    return "DICT\\" + (name.empty() ? std::string("edict2") : name);
}

FreshDictionary InstallDownloadedDictionary(const std::string& downloaded, const std::string& target,
                                            const std::string& language, const ImportProgress& progress, StopToken stop,
                                            const DownloadLimits& limits)
{
    FreshDictionary result;
    // Broken compression, and more than a dictionary can be, are found
    // before anything is read as a dictionary.
    if (!CheckCompressed(downloaded, limits.maxUnpackedBytes, result))
        return result;
    GzipReader input;
    if (!input.Open(downloaded)) {
        result.status = ImportStatus::CannotOpen;
        result.error = input.error();
        return result;
    }
    std::string start(4096, '\0');
    const long read = input.Read(start.data(), static_cast<unsigned>(start.size()));
    if (read < 0) {
        result.status = ImportStatus::Damaged;
        result.error = input.error();
        return result;
    }
    start.resize(static_cast<size_t>(read));
    if (!LooksLikeXml(start))
        return InstallText(input, std::move(start), target, progress, stop, limits);

    // The import is made beside the dictionary and takes its place only when
    // it is within the limits too.
    input.Close();
    const std::string made = target + ".new";
    const ImportOutcome imported = ImportJmdict(downloaded, made, language, progress, stop);
    std::error_code ec;
    const std::uint64_t size = imported.status == ImportStatus::Done ? std::filesystem::file_size(made, ec) : 0;
    if (imported.status != ImportStatus::Done || ec || size > limits.maxUnpackedBytes ||
        imported.longestLine > limits.maxLineBytes) {
        std::filesystem::remove(made, ec);
        if (imported.status != ImportStatus::Done)
            return Refused(imported.status, imported.error);
        if (imported.longestLine > limits.maxLineBytes)
            return Refused(ImportStatus::Damaged,
                           "an entry makes a line longer than " + std::to_string(limits.maxLineBytes) + " bytes");
        return Refused(ImportStatus::Damaged,
                       "it makes a dictionary of more than " + Megabytes(limits.maxUnpackedBytes));
    }
    if (stop.StopRequested()) {
        std::filesystem::remove(made, ec);
        return Refused(ImportStatus::Stopped, "the download was stopped");
    }
    std::filesystem::rename(made, target, ec);
    if (ec) {
        std::filesystem::remove(made, ec);
        return Refused(ImportStatus::CannotWrite, "the dictionary file cannot be written");
    }
    result.status = imported.status;
    result.encoding = "UTF-8";
    result.entries = imported.entries;
    result.longestLine = imported.longestLine;
    return result;
}

}  // namespace mirudex::dict
