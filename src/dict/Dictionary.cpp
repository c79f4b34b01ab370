#include "dict/Dictionary.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>
#include <unordered_map>

#include "core/AtomicFile.h"
#include "core/DebugLog.h"
#include "core/LineReader.h"
#include "core/Registry.h"
#include "dict/Edict2Line.h"
#include "dict/IndexFile.h"
#include "dict/IndexIdentity.h"
#include "dict/IndexTable.h"
#include "dict/SharedIndex.h"
#include "platform/api/Platform.h"
#include "text/Encoding.h"
#include "text/EucJp.h"

namespace mirudex::dict {

namespace {

// Stop requests are looked at once per this many lines or entries.
constexpr int kStopCheckInterval = 1024;
// Skipped lines are named one by one in the log up to this many of each kind
// per load; the rest are only counted.
constexpr int kSkippedLinesNamed = 20;
// The line buffer of the look at a dictionary's first lines.
constexpr int kDetectLineBuffer = 1 << 16;

// The index file's offsets are signed 32-bit: larger dictionaries are refused.
constexpr uint64_t kLargestDictionary = uint64_t{1} << 31;

int EdictBufferSize(Registry& registry) { return registry.GetINT(opt::buffer::kEDICT); }

void ReportTooLarge(const Dictionary& dictionary)
{
    dlog::Write(u"EDICT_Index_Load: ERROR: %S is 2 GB or larger; it is not loaded.\n", dictionary.path);
    platform::Get().MessageBox(Format(u"The dictionary '%S' (%S) is 2 GB or larger. Mirudex can only use "
                                      u"dictionaries smaller than 2 GB, so it goes on without it.",
                                      dictionary.name, dictionary.path),
                               u"Error", platform::Buttons::Ok, platform::Owner::None);
}

// Builds the image of the records, with the groups of search structures in
// `structures`, and makes it the dictionary's index; the records are emptied
// (their memory goes). False on a stop request (the
// dictionary is then empty).
bool AdoptBuilt(Dictionary& dictionary, IndexRecords& records, unsigned structures, StopToken stop)
{
    if (stop.StopRequested()) {
        dictionary.Free();
        return false;
    }
    // Unless they are wanted now, the search structures are built when a
    // search first needs them.
    std::shared_ptr<const IndexImage> text;
    if (structures & (kEnglishWords | kRanks))
        text = MapWholeFile(platform::FilePath(dictionary.path));
    dictionary.index.Adopt(BuildIndexImage(records, text ? text->bytes() : std::string_view(), structures));
    records = IndexRecords();
    dictionary.count = static_cast<int32_t>(dictionary.index.size());
    return true;
}

// Hands the heap's free memory back to the system. A build leaves tens of
// megabytes free in the heap (its vectors, the image it made before the
// mapped file took its place), which the allocator would otherwise keep for
// the life of the process.
void GiveBackFreeMemory()
{
#if defined(__GLIBC__)
    ::malloc_trim(0);
#endif
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

// A dictionary file that could not be looked at: the load goes on without it.
// A file that is simply not there is only logged, as always; one that is
// there but cannot be read (a folder that may not be searched, a link to
// itself, a folder in its place) is also shown to the user.
void ReportNotOpened(const Dictionary& dictionary, int error)
{
    dlog::Write(u"EDICT_Index_Load: ERROR: %S not opened.\n", dictionary.path);
    if (error == ENOENT)
        return;
    const std::string reason = std::error_code(error, std::generic_category()).message();
    dlog::Write(u"   (%S)\n", reason);
    platform::Get().MessageBox(Format(u"The dictionary '%S' (%S) could not be opened: %S.\n\nMirudex goes on "
                                      u"without it.",
                                      dictionary.name, dictionary.path, reason),
                               u"Error", platform::Buttons::Ok, platform::Owner::None);
}

// One box for every line of a load that could not be converted.
void ReportUndecodedLines(const Dictionary& dictionary)
{
    const SkippedLines& skipped = dictionary.skipped;
    if (skipped.undecoded == 0)
        return;
    std::u16string text;
    if (skipped.unknownEncoding) {
        text = Format(
            u"The encoding '%S' of the dictionary '%S' (%S) is not known, so none of its %i lines could "
            u"be converted (the first of them is line %i).",
            dictionary.encoding, dictionary.name, dictionary.path, skipped.undecoded, skipped.firstUndecoded);
    } else {
        text = Format(
            u"%i lines of the dictionary '%S' (%S) could not be converted from the encoding '%S'; the "
            u"first of them is line %i.",
            skipped.undecoded, dictionary.name, dictionary.path, dictionary.encoding, skipped.firstUndecoded);
    }
    text += dictionary.count == 0 ? u"\n\nThe dictionary is not used. Please check its encoding in the settings."
                                  : u"\n\nThose lines are left out. Please check the dictionary's encoding in the "
                                    u"settings.";
    dlog::Write(u"EDICT_Index_Load: ERROR: '%S': %i lines could not be converted from %S (the first is line %i).\n",
                dictionary.path, skipped.undecoded, dictionary.encoding, skipped.firstUndecoded);
    platform::Get().MessageBox(text, u"Error: dictionary encoding", platform::Buttons::Ok, platform::Owner::None);
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

// Why a line makes no entry before anything is converted.
enum class Damage { None, TooLong, NoSlash, Blank };

Damage DamageOf(LineReader::Read read, std::string_view line)
{
    if (read == LineReader::Read::TooLong)
        return Damage::TooLong;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    if (line.empty())
        return Damage::Blank;
    if (line.find('/') == std::string_view::npos)
        return Damage::NoSlash;
    return Damage::None;
}

void NoteDamage(Dictionary& dictionary, Damage damage, int lineNumber, int bufferSize)
{
    SkippedLines& skipped = dictionary.skipped;
    switch (damage) {
    case Damage::TooLong:
        if (++skipped.tooLong <= kSkippedLinesNamed)
            dlog::Write(
                u"EDICT_Index_Load: ERROR: line %i of %S is longer than the line buffer (%i); it is "
                u"skipped. Increase the Edict_Buffer_Size to use it.\n",
                lineNumber, dictionary.path, bufferSize);
        break;
    case Damage::NoSlash:
        if (++skipped.noSlash <= kSkippedLinesNamed)
            dlog::Write(u"EDICT_Index_Load: WARNING: line %i of %S has no meanings (no '/'); it is skipped.\n",
                        lineNumber, dictionary.path);
        break;
    case Damage::Blank: ++skipped.blank; break;
    case Damage::None: break;
    }
}

void NoteUndecoded(Dictionary& dictionary, int lineNumber, std::string_view what, std::string_view bytes)
{
    SkippedLines& skipped = dictionary.skipped;
    if (skipped.undecoded++ == 0)
        skipped.firstUndecoded = lineNumber;
    if (skipped.undecoded > kSkippedLinesNamed || skipped.unknownEncoding)
        return;
    if (what == "word")
        dlog::Write(u"ERROR: Could not convert word to Unicode: <<%S>>\n", bytes);
    else
        dlog::Write(u"ERROR: Could not convert kana to Unicode: <<%S>>\n", bytes);
}

// The records of one EDICT2 line: every written form and every reading is
// in exactly one record, so that the records grow with the forms, never
// with their product. A line without readings has one record per headword,
// its own reading. Otherwise each headword has a record with the reading
// that belongs to it (the first reading not restricted to other headwords,
// ReadingOf) when no earlier record of the line holds that reading, and an
// empty reading when one does or when no reading belongs to it; each reading
// that no headword took then has a record of its own with an empty
// headword. An empty text never matches a search's text, so every search
// finds the line through the form it names, and through no other.
void AddEdict2Records(IndexRecords& records, int64_t offset, const Edict2Line& line)
{
    if (line.headwords.empty())
        return;
    if (line.readings.empty()) {
        for (const Edict2Form& headword : line.headwords)
            records.Add(offset, headword.text, headword.text, true);
        return;
    }
    // The reading of each headword, found in one pass over the readings and
    // their restrictions (a line may have thousands of forms). Headwords of
    // the same text share the first one's.
    constexpr size_t kNone = static_cast<size_t>(-1);
    std::unordered_map<std::u16string_view, size_t> firstOfText;
    std::vector<size_t> first(line.headwords.size());
    for (size_t h = 0; h < line.headwords.size(); ++h)
        first[h] = firstOfText.try_emplace(line.headwords[h].text, h).first->second;
    std::vector<size_t> readingOf(line.headwords.size(), kNone);
    size_t unassigned = firstOfText.size();
    for (size_t r = 0; r < line.readings.size() && unassigned > 0; ++r) {
        const Edict2Form& reading = line.readings[r];
        if (reading.restrictedTo.empty()) {
            for (size_t h = 0; h < line.headwords.size(); ++h)
                if (first[h] == h && readingOf[h] == kNone)
                    readingOf[h] = r;
            break;
        }
        for (const std::u16string& name : reading.restrictedTo) {
            const auto found = firstOfText.find(name);
            if (found != firstOfText.end() && readingOf[found->second] == kNone) {
                readingOf[found->second] = r;
                --unassigned;
            }
        }
    }
    for (size_t h = 0; h < line.headwords.size(); ++h)
        readingOf[h] = readingOf[first[h]];
    std::vector<bool> held(line.readings.size(), false);
    for (size_t h = 0; h < line.headwords.size(); ++h) {
        const size_t r = readingOf[h];
        if (r != kNone && !held[r]) {
            held[r] = true;
            records.Add(offset, line.headwords[h].text, line.readings[r].text, false);
        } else {
            records.Add(offset, line.headwords[h].text, {}, false);
        }
    }
    for (size_t r = 0; r < line.readings.size(); ++r)
        if (!held[r])
            records.Add(offset, {}, line.readings[r].text, false);
}

enum class TextLoad { Done, Stopped };

TextLoad LoadFromText(Dictionary& dictionary, Registry& registry, IndexRecords& records, StopToken stop)
{
    LineReader file;
    if (!file.Open(platform::FilePath(dictionary.path))) {
        dictionary.fileError = errno;
        dlog::Write(u"EDICT_Index_Load: ERROR: %S not opened.\n", dictionary.path);
        return TextLoad::Done;
    }
    const int lines = CountLinesInFile(file, registry);
    const int bufferSize = EdictBufferSize(registry);
    const size_t limit = LineLimit(bufferSize);
    records.records.reserve(static_cast<size_t>(lines));
    dlog::WriteAt(1, u"EDICT_Index_Load()\n");
    dlog::WriteAt(1, u"   Lines in the EDICT file: %i\n", lines);
    dlog::WriteAt(1, u"   EDICT Buffer: %i\n", bufferSize);

    // An encoding that cannot be used at all fails every line the same way:
    // it is asked once, not once per line.
    dictionary.skipped.unknownEncoding = !text::ConversionAvailable(dictionary.encoding, "UTF-16LE");
    const bool eucJp = text::IsEucJp(dictionary.encoding);
    auto convert = [&](std::string_view bytes, std::u16string& wide) {
        return (eucJp && text::DecodeEucJp(bytes, wide)) ||
               text::ConvertToWideQuietly(bytes, dictionary.encoding, "UTF-16LE", wide) == text::Conversion::Converted;
    };
    std::string line;
    std::string_view word, reading;
    std::u16string wideWord, wideKana;
    bool hasReading = false;
    int lineNumber = 0;
    for (;;) {
        if (lineNumber % kStopCheckInterval == 0 && stop.StopRequested()) {
            records = IndexRecords();
            return TextLoad::Stopped;
        }
        const int64_t offset = file.Tell();
        const LineReader::Read read = file.ReadLine(line, limit);
        if (read == LineReader::Read::End)
            break;
        ++lineNumber;
        if (const Damage damage = DamageOf(read, line); damage != Damage::None) {
            NoteDamage(dictionary, damage, lineNumber, bufferSize);
            continue;
        }
        CutAfterLastSlash(line);
        if (dictionary.form == LineForm::Edict2) {
            // The forms run to the meanings.
            const std::string_view head = std::string_view(line).substr(0, line.find('/'));
            if (dictionary.skipped.unknownEncoding || !convert(head, wideWord)) {
                NoteUndecoded(dictionary, lineNumber, "word", head);
                continue;
            }
            AddEdict2Records(records, offset, ParseEdict2Line(wideWord));
            continue;
        }
        SplitHeadword(line, dictionary, lineNumber, word, reading, hasReading);

        if (dictionary.skipped.unknownEncoding || !convert(word, wideWord)) {
            NoteUndecoded(dictionary, lineNumber, "word", word);
            continue;
        }
        if (hasReading && !convert(reading, wideKana)) {
            NoteUndecoded(dictionary, lineNumber, "kana", reading);
            continue;
        }
        records.Add(offset, wideWord, wideKana, !hasReading);
    }
    if (file.Error() != 0) {
        dictionary.fileError = file.Error();
        dlog::Write(u"EDICT_Index_Load: ERROR: %S could not be read to its end (%S); %i entries loaded.\n",
                    dictionary.path, std::generic_category().message(file.Error()), static_cast<int>(records.size()));
    }

    const SkippedLines& skipped = dictionary.skipped;
    if (skipped.Damaged() > 0)
        dlog::Write(
            u"EDICT_Index_Load: %S: %i damaged lines skipped (%i longer than the line buffer, %i without "
            u"'/', %i blank); %i entries loaded.\n",
            dictionary.path, skipped.Damaged(), skipped.tooLong, skipped.noSlash, skipped.blank,
            static_cast<int>(records.size()));
    return TextLoad::Done;
}

void RemoveIndexFile(const std::string& indexFile)
{
    std::error_code ignored;
    std::filesystem::remove(indexFile, ignored);
}

// The companion file beside the index file: the loaded image and the identity.
// fresh: no view has been taken into the held image yet, so the file, mapped,
// takes its place once written and the built image's memory goes.
void WriteCompanion(Dictionary& dictionary, const IndexIdentity& identity, bool fresh)
{
    dictionary.companionIdentity.reset();
    const std::string name = CompanionFilePath(dictionary.path);
    std::error_code error;
    const auto indexSize = std::filesystem::file_size(platform::FilePath(IndexFilePath(dictionary)), error);
    const std::string_view image = dictionary.index.bytes();
    const std::string header = CompanionHeader(image, indexSize);
    if (error || header.empty() || header.size() > image.size())
        return;
    AtomicFileWriter writer;
    if (!writer.Open(platform::FilePath(name)) || !writer.Write(header) || !writer.Write(image.substr(header.size())) ||
        !writer.Write(IdentityTrailer(identity, ChecksumOf(header))) ||
        !writer.Commit(AtomicFileWriter::Durability::Unsynced)) {
        dlog::Write(u"EDICT_Index_Load: ERROR: could not write (%S); searches use an index built at each load.\n",
                    name);
        return;
    }
    dictionary.companionIdentity = identity;
    if (fresh) {
        std::string difference;
        dictionary.index.SwapForCopy(MapCompanionFile(platform::FilePath(name), identity, difference));
    }
}

void WriteIndex(Dictionary& dictionary, const IndexIdentity& identity)
{
    const std::string indexName = IndexFilePath(dictionary);
    const std::string indexFile = platform::FilePath(indexName);

    bool tooLong = false;
    for (const IndexEntry entry : dictionary.index) {
        if (entry.word.size() > kMaxIndexedLength || entry.kana.size() > kMaxIndexedLength) {
            dlog::Write(u"WARNING: either word or kana is > 255 characters long!\n");
            dlog::Write(u"%s\n%s\n", entry.word, entry.kana);
            tooLong = true;
        } else if ((entry.word.empty() || entry.kana.empty()) &&
                   (dictionary.form == LineForm::Edict || (entry.word.empty() && entry.kana.empty()))) {
            // The records of an EDICT2 line leave one of the two empty by design.
            dlog::Write(u"WARNING: either word or kana is 0 characters long!\n");
            dlog::Write(u"%s\n%s\n", entry.word, entry.kana);
        }
    }
    if (tooLong) {
        // Lengths are one byte in the file: such an entry would come back cut.
        // An old index file is useless here too, so it goes.
        RemoveIndexFile(indexFile);
        RemoveIndexFile(platform::FilePath(CompanionFilePath(dictionary.path)));
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
    if (!WriteIndexFile(writer, dictionary.index, identity) || !writer.Commit(AtomicFileWriter::Durability::Unsynced)) {
        dlog::Write(u"EDICT_Index_Load: ERROR: could not write (%S).  Index not made.\n", indexName);
        return;
    }
    WriteCompanion(dictionary, identity, true);
}

// Whether the index file may be used, or else whether it is to be made again.
enum class IndexUse { Loaded, Stopped, MakeNew, Keep };

IndexUse UseIndexFile(Dictionary& dictionary, const IndexIdentity& identity, IndexRecords& records,
                      bool& companionLoaded, StopToken stop)
{
    const std::string indexName = IndexFilePath(dictionary);
    std::string difference;
    companionLoaded = false;
    int64_t indexSize = 0;
    const bool checkContents = ContentsChecked();
    IndexRead read = CheckIndexFile(platform::FilePath(indexName), identity, difference, indexSize, checkContents);
    if (read == IndexRead::Loaded && stop.StopRequested())
        return IndexUse::Stopped;
    if (read == IndexRead::Loaded) {
        // A companion written with this very index file stands for its
        // records: nothing else is read (its search structures are checked
        // when a search first needs them, PrepareStructures).
        const std::string companionName = CompanionFilePath(dictionary.path);
        std::string companionDifference;
        const bool adopted =
            dictionary.index.Adopt(MapCompanionFile(platform::FilePath(companionName), identity, companionDifference));
        if (adopted && dictionary.index.indexFileSize() == static_cast<uint64_t>(indexSize) &&
            (!checkContents || dictionary.index.VerifyRecords())) {
            dictionary.count = static_cast<int32_t>(dictionary.index.size());
            dictionary.companionIdentity = identity;
            companionLoaded = true;
        } else {
            if (adopted && dictionary.index.indexFileSize() == static_cast<uint64_t>(indexSize))
                companionDifference = "records checksum";
            if (companionDifference.find("checksum") != std::string::npos)
                dlog::Write(u"EDICT_Index_Load: companion file (%S) is damaged (%S); making it again.\n", companionName,
                            companionDifference);
            dictionary.Free();
            read = ReadIndexFile(platform::FilePath(indexName), records, identity, difference, stop);
        }
    }
    switch (read) {
    case IndexRead::Loaded:
        dlog::Write(u"EDICT_Index_Load: Number of entries: %i (in '%S')\n",
                    companionLoaded ? dictionary.count : static_cast<int>(records.size()), dictionary.path);
        return IndexUse::Loaded;
    case IndexRead::Stopped: return IndexUse::Stopped;
    case IndexRead::Missing: return IndexUse::MakeNew;
    case IndexRead::NoIdentity:
        // An index of an earlier version of the program cannot say what it
        // was made from: it is made again once, without asking.
        dlog::Write(
            u"EDICT_Index_Load: index file (%S) does not say what it was made from; making it again from "
            u"'%S'.\n",
            indexName, dictionary.path);
        return IndexUse::MakeNew;
    case IndexRead::OtherSource:
        dlog::Write(
            u"EDICT_Index_Load: index file (%S) was made from another '%S' or read another way (%S "
            u"differs); making it again from the dictionary.\n",
            indexName, dictionary.path, difference);
        return IndexUse::MakeNew;
    case IndexRead::Short:
    case IndexRead::Damaged:
        // A file this program wrote that was damaged since (cut short, emptied,
        // bits changed) is made again without asking: only the user's answer
        // about another program's file is worth a question.
        dlog::Write(u"EDICT_Index_Load: index file (%S) is damaged (%S); making it again from '%S'.\n", indexName,
                    read == IndexRead::Short ? std::string("it ends before its last entry")
                    : difference.empty()     ? std::string("it is cut short")
                                             : difference,
                    dictionary.path);
        return IndexUse::MakeNew;
    case IndexRead::WrongMagic: return AskToReplaceIndex(indexName) ? IndexUse::MakeNew : IndexUse::Keep;
    }
    return IndexUse::Keep;
}

}  // namespace

void Dictionary::Free()
{
    index.clear();
    count = 0;
    companionIdentity.reset();
}

void PrepareStructures(Dictionary& dictionary, unsigned structures)
{
    if (dictionary.index.empty())
        return;
    if (!dictionary.index.VerifyRecords())
        dlog::Write(
            u"PrepareStructures: the records of the companion file of '%S' are damaged; they are used "
            u"until the next load makes it again.\n",
            dictionary.path);
    if (const unsigned dropped = dictionary.index.DropDamaged(structures); dropped != 0)
        dlog::Write(u"PrepareStructures: companion file (%S) is damaged (structures %i); building them again.\n",
                    CompanionFilePath(dictionary.path), static_cast<int>(dropped));
    if (dictionary.index.Has(structures))
        return;
    std::shared_ptr<const IndexImage> text;
    if ((structures & (kEnglishWords | kRanks)) && !dictionary.index.Has(structures & (kEnglishWords | kRanks)))
        text = MapWholeFile(platform::FilePath(dictionary.path));
    const char* const before = dictionary.index.bytes().data();
    dictionary.index.AddStructures(structures, text ? text->bytes() : std::string_view());
    text.reset();
    // A new image, which nothing has looked at yet; the old one stays for the views into it.
    const bool fresh = dictionary.index.bytes().data() != before;
    if (dictionary.companionIdentity) {
        // Only a dictionary that is still the file the companion stands for gets it again.
        const IndexIdentity identity = *dictionary.companionIdentity;
        int error = 0;
        const auto now =
            IdentityOfFile(platform::FilePath(dictionary.path), identity.encoding, identity.lineBuffer, error);
        if (now && *now == identity)
            WriteCompanion(dictionary, identity, fresh);
        else
            dictionary.companionIdentity.reset();
    }
    GiveBackFreeMemory();
}

std::string IndexFilePath(const Dictionary& dictionary) { return dictionary.path + ".mxi"; }

// "forms": one record a form (AddEdict2Records); an index of EDICT2
// records made another way is made again.
std::string LinesReadAs(const Dictionary& dictionary)
{
    return dictionary.form == LineForm::Edict2 ? dictionary.encoding + " " + std::string(kEdict2FormName) + " forms"
                                               : dictionary.encoding;
}

int CountLinesInFile(LineReader& file, Registry& registry)
{
    const size_t limit = LineLimit(EdictBufferSize(registry));
    file.Seek(0);
    int lines = 0;
    std::string line;
    for (LineReader::Read read; (read = file.ReadLine(line, limit)) != LineReader::Read::End;) {
        if (read == LineReader::Read::TooLong)
            dlog::Write(u"CountLinesInFile: ERROR: Increase the edict buffer size.\n");
        ++lines;
    }
    file.Seek(0);
    return lines;
}

std::u16string DictionaryHeader(std::string_view firstLine, std::string_view encoding)
{
    while (!firstLine.empty() && (firstLine.back() == '\n' || firstLine.back() == '\r'))
        firstLine.remove_suffix(1);
    std::u16string wide;
    if (firstLine.empty() ||
        text::ConvertToWideQuietly(firstLine, encoding, "UTF-16LE", wide) != text::Conversion::Converted)
        return {};
    std::u16string_view rest = wide;
    if (rest.starts_with(u"#"))
        rest.remove_prefix(1);
    else if (rest.starts_with(u"\u3000\uFF1F\uFF1F\uFF1F /") || rest.starts_with(u"\uFF1F\uFF1F\uFF1F /"))
        rest.remove_prefix(rest.find(u'/'));
    else
        return {};
    std::u16string header;
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = rest.find(u'/', start);
        if (end == std::u16string_view::npos)
            end = rest.size();
        std::u16string_view field = rest.substr(start, end - start);
        while (!field.empty() && (field.front() == u' ' || field.front() == u'\u3000'))
            field.remove_prefix(1);
        while (!field.empty() && field.back() == u' ')
            field.remove_suffix(1);
        if (!field.empty()) {
            if (!header.empty())
                header += u" / ";
            header += field;
        }
        start = end + 1;
    }
    return header;
}

std::u16string ReadDictionaryHeader(const std::string& filePath, std::string_view encoding)
{
    LineReader file;
    std::string line;
    if (!file.Open(filePath) || file.ReadLine(line, LineLimit(kDetectLineBuffer)) != LineReader::Read::Line)
        return {};
    return DictionaryHeader(line, encoding);
}

void CutAfterLastSlash(std::string& line)
{
    while (line.size() > 1 && line.back() != '/')
        line.pop_back();
}

LineForm DetectLineForm(const std::string& filePath, int lines)
{
    LineReader file;
    if (!file.Open(filePath))
        return LineForm::Edict;
    std::string line;
    for (int i = 0; i < lines && file.ReadLine(line, LineLimit(kDetectLineBuffer)) != LineReader::Read::End; ++i)
        if (LooksLikeEdict2(line))
            return LineForm::Edict2;
    return LineForm::Edict;
}

LoadOutcome EDICT_Index_Load(Dictionary& dictionary, Registry& registry, StopToken stop, unsigned structures)
{
    if (dictionary.format == kEdict2FormName)
        dictionary.form = LineForm::Edict2;
    else if (dictionary.format == kEdictFormName)
        dictionary.form = LineForm::Edict;
    else
        dictionary.form = DetectLineForm(platform::FilePath(dictionary.path));
    if (dictionary.form == LineForm::Edict2)
        dlog::WriteAt(1, u"EDICT_Index_Load: %S is read as EDICT2.\n", dictionary.path);
    dictionary.Free();
    dictionary.skipped = {};
    dictionary.fileError = 0;
    dictionary.displayFailureLogged.Reset();
    const bool indexing = registry.GetBOOL(opt::dictionaries::kIndexing);

    // What the dictionary is now decides whether an index file stands for it;
    // a dictionary that cannot even be looked at is left empty.
    int error = 0;
    const auto identity =
        IdentityOfFile(platform::FilePath(dictionary.path), LinesReadAs(dictionary), EdictBufferSize(registry), error);
    if (!identity) {
        dictionary.fileError = error;
        ReportNotOpened(dictionary, error);
        return LoadOutcome::Done;
    }

    if (identity->size >= kLargestDictionary) {
        ReportTooLarge(dictionary);
        return LoadOutcome::Done;
    }

    bool makeNewIndex = false;
    IndexRecords records;
    if (indexing) {
        // The index every user of the computer shares, when it stands for
        // this very dictionary: nothing is then written for this one.
        if (LoadSharedIndex(dictionary.path, *identity, dictionary.index, stop)) {
            dictionary.count = static_cast<int32_t>(dictionary.index.size());
            // Nothing ever writes the shared files from here: no companion identity.
            dlog::Write(u"EDICT_Index_Load: Number of entries: %i (in '%S')\n", dictionary.count, dictionary.path);
            return LoadOutcome::Done;
        }
        bool companionLoaded = false;
        switch (UseIndexFile(dictionary, *identity, records, companionLoaded, stop)) {
        case IndexUse::Loaded:
            if (companionLoaded)
                return LoadOutcome::Done;
            if (!AdoptBuilt(dictionary, records, structures, stop))
                return LoadOutcome::Stopped;
            // The index file of another copy of the program, or one whose
            // companion was lost: the companion is made again beside it.
            if (const auto after = IdentityOfFile(platform::FilePath(dictionary.path), LinesReadAs(dictionary),
                                                  EdictBufferSize(registry), error);
                after && *after == *identity)
                WriteCompanion(dictionary, *identity, true);
            GiveBackFreeMemory();
            return LoadOutcome::Done;
        case IndexUse::Stopped: dictionary.Free(); return LoadOutcome::Stopped;
        case IndexUse::MakeNew: makeNewIndex = true; break;
        case IndexUse::Keep: break;
        }
        dictionary.Free();
        records = IndexRecords();
    }

    if (LoadFromText(dictionary, registry, records, stop) == TextLoad::Stopped)
        return LoadOutcome::Stopped;
    if (!AdoptBuilt(dictionary, records, structures, stop))
        return LoadOutcome::Stopped;
    ReportUndecodedLines(dictionary);
    // Whatever follows, the build's free memory goes back at the end.
    struct GiveBackAtEnd {
        ~GiveBackAtEnd() { GiveBackFreeMemory(); }
    } giveBack;

    if (!indexing || !makeNewIndex)
        return LoadOutcome::Done;
    const std::string indexName = IndexFilePath(dictionary);
    if (dictionary.skipped.undecoded > 0) {
        // The lines left out would be missing from the index for good, and the
        // user would not hear of them again: the text is read at every load
        // until the encoding is right.
        RemoveIndexFile(platform::FilePath(indexName));
        dlog::Write(u"EDICT_Index_Load: index file (%S) not made: some lines could not be converted.\n", indexName);
        return LoadOutcome::Done;
    }
    if (dictionary.count == 0)
        return LoadOutcome::Done;
    // An index must describe the file it was read from: a dictionary that
    // changed while it was read gets none this time.
    const auto after =
        IdentityOfFile(platform::FilePath(dictionary.path), LinesReadAs(dictionary), EdictBufferSize(registry), error);
    if (!after || *after != *identity) {
        dlog::Write(u"EDICT_Index_Load: %S changed while it was read; index not made.\n", dictionary.path);
        return LoadOutcome::Done;
    }
    WriteIndex(dictionary, *identity);
    return LoadOutcome::Done;
}

}  // namespace mirudex::dict
