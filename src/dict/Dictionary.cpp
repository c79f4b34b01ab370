#include "dict/Dictionary.h"

#include <bit>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/AtomicFile.h"
#include "core/DebugLog.h"
#include "core/Registry.h"
#include "dict/IndexFile.h"
#include "dict/LineFile.h"
#include "platform/api/Platform.h"
#include "text/Encoding.h"

namespace mirudex::dict {

namespace {

// Stop requests are looked at once per this many lines or entries.
constexpr int kStopCheckInterval = 1024;

int EdictBufferSize(Registry& registry) { return registry.GetINT(opt::buffer::kEDICT); }

// An index file older than its dictionary was made from an earlier version
// of the dictionary: its offsets point at the wrong lines.
bool IndexIsStale(const std::string& indexFile, const std::string& dictionaryFile)
{
    std::error_code error;
    const auto indexTime = std::filesystem::last_write_time(indexFile, error);
    if (error)
        return false;
    const auto dictionaryTime = std::filesystem::last_write_time(dictionaryFile, error);
    if (error)
        return false;
    return indexTime < dictionaryTime;
}

// Asks whether an index file that is not correct should be made again. True for Yes.
bool AskToReplaceIndex(const std::string& indexName)
{
    dlog::Write(u"WARNING: Index file (%S) is not correct.\n", indexName);
    std::u16string text = Format(
        u"This file: %S, is not a correct index file.\n\nThis could be because it is an older version.  In any "
        u"case, the file will not work.\n\nMirudex will NOT use it as an index file.  Do you want to erase the "
        u"file and have it be rewritten correctly?",
        indexName);
    if (text.size() > 1999)
        text.resize(1999);
    const auto answer = platform::Get().MessageBox(text, u"Note:", platform::Buttons::YesNo, platform::Owner::None);
    if (answer == platform::Answer::Yes) {
        dlog::Write(u"   Going to make new index file after EDICT load...\n");
        return true;
    }
    dlog::Write(u"   Ignoring index file...\n");
    return false;
}

// Splits one dictionary line (already cut after its last '/') into its
// headword and reading bytes. lineNumber is 1-based, for the warning.
void SplitHeadword(std::string_view line, const Dictionary& dictionary, int lineNumber, std::string_view& word,
                   std::string_view& reading, bool& hasReading)
{
    hasReading = false;
    const size_t space = line.find(' ');
    if (space == std::string_view::npos || space == 0) {
        dlog::Write(u"EDICT_Index_Load(): God-awful error #1\n");
        word = line;
        return;
    }
    word = line.substr(0, space);
    if (space + 1 >= line.size() || line[space + 1] != '[')
        return;
    hasReading = true;
    const size_t bracket = space + 1;
    const size_t next = line.find(' ', bracket + 1);
    if (next == std::string_view::npos || next - bracket < 2) {
        dlog::Write(u"EDICT_Index_Load(): God-awful error #2\n");
        reading = line.substr(bracket + 1);
        return;
    }
    if (line[next - 1] == ']') {
        reading = line.substr(bracket + 1, next - 1 - (bracket + 1));
        return;
    }
    dlog::Write(u"WARNING: Dictionary '%S' has an error on line %i (it's missing the ending kana bracket).\n",
                dictionary.path, lineNumber);
    dlog::Write(u"   Mirudex is attempting to work around the problem.\n");
    reading = line.substr(bracket + 1, next - (bracket + 1));
}

enum class TextLoad { Done, Stopped };

TextLoad LoadFromText(Dictionary& dictionary, Registry& registry, StopToken stop)
{
    LineFile file;
    if (!file.Open(platform::FilePath(dictionary.path))) {
        dlog::Write(u"EDICT_Index_Load: ERROR: %S not opened.\n", dictionary.path);
        return TextLoad::Done;
    }
    const int lines = CountLinesInFile(file, registry);
    const int bufferSize = EdictBufferSize(registry);
    dictionary.index.reserve(static_cast<size_t>(lines));
    dlog::WriteAt(1, u"EDICT_Index_Load()\n");
    dlog::WriteAt(1, u"   Lines in the EDICT file: %i\n", lines);
    dlog::WriteAt(1, u"   EDICT Buffer: %i\n", bufferSize);

    std::string line;
    std::string_view word, reading;
    bool hasReading = false;
    while (static_cast<int>(dictionary.index.size()) < lines) {
        if (dictionary.index.size() % kStopCheckInterval == 0 && stop.StopRequested()) {
            dictionary.Free();
            return TextLoad::Stopped;
        }
        IndexEntry entry;
        entry.offset = static_cast<int32_t>(file.Tell());
        if (!file.ReadLine(line, bufferSize))
            break;
        if (!EndsWithLineFeed(line)) {
            dlog::Write(
                u"EDICT_Index_Load: ERROR: (Loading Dictionary from EDICT) Increase the Edict_Buffer_Size "
                u"for %S.\n",
                dictionary.path);
            break;
        }
        CutAfterLastSlash(line);
        SplitHeadword(line, dictionary, static_cast<int>(dictionary.index.size()) + 1, word, reading, hasReading);

        // A word or reading that cannot be converted is kept as the empty text.
        if (text::ConvertEncodingToWide(word, dictionary.encoding, "UTF-16LE", entry.word) != 0)
            dlog::Write(u"ERROR: Could not convert word to Unicode: <<%S>>\n", word);
        if (hasReading) {
            if (text::ConvertEncodingToWide(reading, dictionary.encoding, "UTF-16LE", entry.kana) != 0)
                dlog::Write(u"ERROR: Could not convert kana to Unicode: <<%S>>\n", reading);
        } else {
            entry.kana = entry.word;
        }
        dictionary.index.push_back(std::move(entry));
        dictionary.count = static_cast<int32_t>(dictionary.index.size());
    }
    return TextLoad::Done;
}

void WriteIndex(const Dictionary& dictionary)
{
    const std::string indexName = IndexFilePath(dictionary);
    const std::string indexFile = platform::FilePath(indexName);

    bool tooLong = false;
    for (const auto& entry : dictionary.index) {
        if (entry.word.size() > kMaxIndexedLength || entry.kana.size() > kMaxIndexedLength) {
            dlog::Write(u"WARNING: either word or kana is > 255 characters long!\n");
            dlog::Write(u"%s\n%s\n", entry.word, entry.kana);
            tooLong = true;
        } else if (entry.word.empty() || entry.kana.empty()) {
            dlog::Write(u"WARNING: either word or kana is 0 characters long!\n");
            dlog::Write(u"%s\n%s\n", entry.word, entry.kana);
        }
    }
    if (tooLong) {
        // Lengths are one byte in the file: such an entry would come back cut.
        // An old index file is useless here too, so it goes.
        std::error_code ignored;
        std::filesystem::remove(indexFile, ignored);
        dlog::Write(
            u"EDICT_Index_Load: index file (%S) not made: a word or reading is too long for it. '%S' will "
            u"load from its text.\n",
            indexName, dictionary.path);
        return;
    }

    AtomicFileWriter writer;
    if (!writer.Open(indexFile)) {
        dlog::Write(u"EDICT_Index_Load: ERROR: file pointer for (%S) is null.  Index not made.\n", indexName);
        return;
    }
    platform::Get().SetStatusText(0, Format(u"Making index: %S...", indexName));
    if (!WriteIndexFile(writer, dictionary.index) || !writer.Commit(AtomicFileWriter::Durability::Unsynced))
        dlog::Write(u"EDICT_Index_Load: ERROR: could not write (%S).  Index not made.\n", indexName);
}

}  // namespace

void Dictionary::Free()
{
    index.clear();
    index.shrink_to_fit();
    count = 0;
}

std::string IndexFilePath(const Dictionary& dictionary) { return dictionary.path + ".mxi"; }

int CountLinesInFile(LineFile& file, Registry& registry)
{
    const int bufferSize = EdictBufferSize(registry);
    file.Seek(0);
    int lines = 0;
    std::string line;
    while (file.ReadLine(line, bufferSize)) {
        if (!EndsWithLineFeed(line))
            dlog::Write(u"CountLinesInFile: ERROR: Increase the edict buffer size.\n");
        ++lines;
    }
    file.Seek(0);
    return lines;
}

LoadOutcome EDICT_Index_Load(Dictionary& dictionary, Registry& registry, StopToken stop)
{
    dictionary.Free();
    bool makeNewIndex = false;
    const bool indexing = registry.GetBOOL(opt::dictionaries::kIndexing);

    if (indexing) {
        const std::string indexName = IndexFilePath(dictionary);
        const std::string indexFile = platform::FilePath(indexName);
        if (!std::filesystem::exists(indexFile)) {
            makeNewIndex = true;
        } else if (IndexIsStale(indexFile, platform::FilePath(dictionary.path))) {
            dlog::Write(
                u"EDICT_Index_Load: index file (%S) is older than '%S'; making it again from the "
                u"dictionary.\n",
                indexName, dictionary.path);
            makeNewIndex = true;
        } else {
            switch (ReadIndexFile(indexFile, dictionary, stop)) {
            case IndexRead::Loaded:
                dlog::Write(u"EDICT_Index_Load: Number of entries: %i (in '%S')\n", dictionary.count, dictionary.path);
                return LoadOutcome::Done;
            case IndexRead::Stopped: dictionary.Free(); return LoadOutcome::Stopped;
            case IndexRead::Missing: makeNewIndex = true; break;
            case IndexRead::Short:
                dlog::Write(u"EDICT_Index_Load: index file (%S) ends before its last entry.\n", indexName);
                makeNewIndex = AskToReplaceIndex(indexName);
                break;
            case IndexRead::WrongMagic: makeNewIndex = AskToReplaceIndex(indexName); break;
            }
            dictionary.Free();
        }
    }

    if (LoadFromText(dictionary, registry, stop) == TextLoad::Stopped)
        return LoadOutcome::Stopped;

    if (indexing && dictionary.count > 0 && makeNewIndex)
        WriteIndex(dictionary);
    return LoadOutcome::Done;
}

}  // namespace mirudex::dict
