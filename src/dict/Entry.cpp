#include "dict/Entry.h"

#include <algorithm>

#include "core/DebugLog.h"
#include "core/LineReader.h"
#include "core/Registry.h"
#include "dict/Dictionary.h"
#include "dict/Edict2Line.h"
#include "dict/LineFields.h"
#include "platform/api/Platform.h"
#include "platform/api/Utf.h"
#include "text/Encoding.h"
#include "text/EucJp.h"

namespace mirudex::dict {

namespace {

// The marker file's lines are read with a buffer of this size (1,022 characters a read).
constexpr int kMarkerLineBuffer = 1024;
constexpr std::u16string_view kTopWordMarker = u"(P)";
constexpr std::u16string_view kTopWordInfo = u"One of top 20,000 words";

int EdictBufferSize(Registry& registry) { return registry.GetINT(opt::buffer::kEDICT); }

enum class FileForm { Owned, Caller };

void FillEntry(LineReader& file, Registry& registry, const Dictionary& dictionary, Entry& entry,
               const IndexEntry& index, FileForm form)
{
    dlog::WriteAt(1, u"LoadInfoInto()\n");
    std::string line;
    if (!file.Seek(index.offset) ||
        file.ReadLine(line, LineLimit(EdictBufferSize(registry))) != LineReader::Read::Line) {
        if (form == FileForm::Owned)
            dlog::Write(u"ERROR: LoadInfoInto(): End of file found\n");
        else
            dlog::Write(u"ERROR: LoadInfoInto(FILE*): End of file\n");
        return;
    }
    FillEntryFromLine(std::move(line), dictionary, entry, index);
}

// The entry of an EDICT2 line: all its forms and readings, its fields
// without the entry id, and the forms' tags.
void FillEdict2Entry(std::u16string_view text, Entry& entry)
{
    Edict2Line line = ParseEdict2Line(text);
    auto join = [](const std::vector<Edict2Form>& forms, bool restrictions) {
        std::u16string joined;
        for (const Edict2Form& form : forms) {
            if (!joined.empty())
                joined.push_back(u';');
            joined += form.text;
            if (restrictions && !form.restrictedTo.empty()) {
                joined.push_back(u'(');
                for (size_t i = 0; i < form.restrictedTo.size(); ++i)
                    joined.append(i == 0 ? u"" : u",").append(form.restrictedTo[i]);
                joined.push_back(u')');
            }
        }
        return joined;
    };
    if (!line.headwords.empty()) {
        entry.word = join(line.headwords, false);
        entry.kana = line.readings.empty() ? entry.word : join(line.readings, true);
    }
    for (const auto* forms : {&line.headwords, &line.readings})
        for (const Edict2Form& form : *forms)
            for (const std::u16string& tag : form.tags)
                entry.formTags.emplace_back(form.text, tag);
    entry.meanings = std::move(line.fields);
}

// The line cut after its last slash, as CutAfterLastSlash cuts it, without copying it.
std::string_view CutAtLastSlash(std::string_view line)
{
    while (line.size() > 1 && line.back() != '/')
        line.remove_suffix(1);
    return line;
}

// A cut line converted from the dictionary's encoding into text.
bool ConvertCutLine(std::string_view cut, const Dictionary& dictionary, std::u16string& text)
{
    return (text::IsEucJp(dictionary.encoding) && text::DecodeEucJp(cut, text)) ||
           text::ConvertToWideQuietly(cut, dictionary.encoding, "UTF-16LE", text) == text::Conversion::Converted;
}

}  // namespace

void FillEntryFromLine(std::string line, const Dictionary& dictionary, Entry& entry, const IndexEntry& index)
{
    const std::string_view cut = CutAtLastSlash(line);
    // The converted line; its room is kept from one entry to the next.
    thread_local std::u16string text;
    const bool converted = ConvertCutLine(cut, dictionary, text);
    entry.word = index.word;
    entry.kana = index.kana;
    entry.encoding = dictionary.encoding;
    if (!converted) {
        // Said once per dictionary: a wrong encoding fails on every row shown.
        if (dictionary.displayFailureLogged.First()) {
            dlog::Write(u"ERROR: There was a problem converting the encoding to Unicode.\n");
            dlog::Write(u"   String: <<%S>>\n", cut);
            dlog::Write(u"   (Further lines of '%S' that cannot be converted are not logged.)\n", dictionary.path);
        }
        std::u16string message = Format(u"ERROR in '%S' (%S).", dictionary.path, dictionary.name);
        if (message.size() > 999)
            message.resize(999);
        entry.meanings.push_back(std::move(message));
        entry.rawLine = std::move(line);
        return;
    }
    entry.rawLine = std::move(line);
    if (dictionary.form == LineForm::Edict2) {
        FillEdict2Entry(text, entry);
        return;
    }

    // A line without any '/' has no meanings.
    entry.meanings.reserve(entry.meanings.size() + static_cast<size_t>(std::count(text.begin(), text.end(), u'/')));
    ForEachSlashField(text, [&entry](std::u16string_view meaning) { entry.meanings.emplace_back(meaning); });

    dlog::WriteAt(1, u"   WORD: %s\n", entry.word);
    dlog::WriteAt(1, u"   KANA: %s\n", entry.kana);
    dlog::WriteAt(1, u"   Meanings:\n");
    if (dlog::Level() > 0) {
        for (const auto& meaning : entry.meanings)
            dlog::WriteAt(1, u"      <<%s>>\n", meaning);
    }
}

void MarkerTable::Add(std::u16string marker, std::u16string description)
{
    first_.try_emplace(marker, pairs_.size());  // the first pair of a marker is the one used
    longest_ = std::max(longest_, marker.size());
    if (!marker.empty() && marker[0] < 128)
        asciiStarts_[marker[0] / 64] |= uint64_t{1} << (marker[0] % 64);
    pairs_.emplace_back(std::move(marker), std::move(description));
}

std::u16string_view MarkerTable::Description(std::u16string_view marker) const
{
    if (marker.size() > longest_ ||
        (!marker.empty() && marker[0] < 128 && !(asciiStarts_[marker[0] / 64] >> (marker[0] % 64) & 1)))
        return {};
    const auto found = first_.find(marker);
    return found == first_.end() ? std::u16string_view() : std::u16string_view(pairs_[found->second].second);
}

void LoadMarkers(MarkerTable& table, const std::string& path)
{
    LineReader file;
    if (!file.Open(platform::FilePath(path))) {
        dlog::Write(u"ERROR: LoadMarkers(): Could not open partsofspeech.mxf\n");
        return;
    }
    std::string line;
    for (LineReader::Read read; (read = file.ReadLine(line, LineLimit(kMarkerLineBuffer))) != LineReader::Read::End;) {
        if (!line.empty() && line.front() == '#')
            continue;
        if (read == LineReader::Read::TooLong) {
            dlog::Write(u"ERROR: LoadMarkers(): a line is too long; it is skipped <<%S>>.\n", line);
            continue;
        }
        TrimLineEnd(line);
        const size_t tab = line.find('\t');
        if (tab == std::string::npos) {
            dlog::Write(u"ERROR: LoadMarkers(): could not find the TAB character <<%S>>.\n", line);
            continue;
        }
        table.Add(Widen(std::string_view(line).substr(0, tab)), Widen(std::string_view(line).substr(tab + 1)));
    }
}

void LoadInfoInto(Registry& registry, const Dictionary& dictionary, Entry& entry, const IndexEntry& index)
{
    LineReader file;
    if (!file.Open(platform::FilePath(dictionary.path))) {
        dlog::Write(u"ERROR: LoadInfoInto(): Could NOT open: %S\n", dictionary.path);
        return;
    }
    FillEntry(file, registry, dictionary, entry, index, FileForm::Owned);
}

void LoadInfoInto(LineReader& file, Registry& registry, const Dictionary& dictionary, Entry& entry,
                  const IndexEntry& index)
{
    FillEntry(file, registry, dictionary, entry, index, FileForm::Caller);
}

std::optional<std::string> GetEdictLine(LineReader& file, Registry& registry, const IndexEntry& index)
{
    std::string line;
    if (!file.Seek(index.offset) ||
        file.ReadLine(line, LineLimit(EdictBufferSize(registry))) != LineReader::Read::Line) {
        dlog::Write(u"ERROR: GetEdictLine(): End of file\n");
        return std::nullopt;
    }
    CutAfterLastSlash(line);
    return line;
}

namespace {

void AddFormTagInfo(Entry& entry, const MarkerTable& markers)
{
    const std::u16string_view top = kTopWordMarker.substr(1, kTopWordMarker.size() - 2);
    for (const auto& [form, tag] : entry.formTags) {
        if (tag == top) {
            entry.common = true;
            if (std::find(entry.info.begin(), entry.info.end(), kTopWordInfo) == entry.info.end())
                entry.info.emplace_back(kTopWordInfo);
            continue;
        }
        const std::u16string_view description = markers.Description(tag);
        entry.info.push_back(form + u": " + std::u16string(description.empty() ? tag : description));
    }
    entry.formTags.clear();  // said once
}

// "(1)", "(12)": the number a line puts in front of a sense.
bool IsSenseNumber(std::u16string_view content)
{
    return !content.empty() && content.size() <= 3 &&
           std::all_of(content.begin(), content.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

// Calls part(text) for each comma-separated part of a group's content,
// taken exactly as it is (no blanks removed).
template <class Part>
void ForEachPart(std::u16string_view content, Part&& part)
{
    for (size_t start = 0;;) {
        const size_t comma = content.find(u',', start);
        part(content.substr(start, comma == std::u16string_view::npos ? std::u16string_view::npos : comma - start));
        if (comma == std::u16string_view::npos)
            return;
        start = comma + 1;
    }
}

// How a meaning as read begins: whether a sense number stands among its
// leading groups ("(n,vs) (2) ..."), and how many known markers come before
// that number (the sense's parts of speech).
struct SenseStart {
    bool numbered = false;
    size_t leadMarkers = 0;
};

SenseStart ReadSenseStart(std::u16string_view meaning, const MarkerTable& markers)
{
    size_t pos = 0;
    size_t lead = 0;
    for (;;) {
        while (pos < meaning.size() && meaning[pos] == u' ')
            ++pos;
        if (pos >= meaning.size() || meaning[pos] != u'(')
            return {};
        const size_t close = meaning.find(u')', pos + 1);
        if (close == std::u16string_view::npos)
            return {};
        const std::u16string_view content = meaning.substr(pos + 1, close - pos - 1);
        if (IsSenseNumber(content))
            return {true, lead};
        size_t known = 0;
        ForEachPart(content, [&](std::u16string_view part) { known += markers.Description(part).empty() ? 0 : 1; });
        if (known == 0)
            return {};  // a note ("(See X)"): the text of the sense has begun
        lead += known;
        pos = close + 1;
    }
}

// A meaning with its markers taken out, as a gloss of its sense: without
// the sense number in front and without blanks at either end.
std::u16string GlossOf(std::u16string_view meaning, bool numbered)
{
    auto trim = [&meaning] {
        while (!meaning.empty() && meaning.front() == u' ')
            meaning.remove_prefix(1);
        while (!meaning.empty() && meaning.back() == u' ')
            meaning.remove_suffix(1);
    };
    trim();
    if (numbered && !meaning.empty() && meaning.front() == u'(') {
        const size_t close = meaning.find(u')');
        if (close != std::u16string_view::npos && IsSenseNumber(meaning.substr(1, close - 1))) {
            meaning.remove_prefix(close + 1);
            trim();
        }
    }
    return std::u16string(meaning);
}

// Moves the known markers out of one meaning (in place), handing each
// (marker, description) to found, in order. Where a group stood between two
// blanks, one of them goes with it.
template <class Found>
void StripMarkers(std::u16string& work, const MarkerTable& markers, Found&& found)
{
    size_t pos = 0;
    while ((pos = work.find(u'(', pos)) != std::u16string::npos) {
        const size_t close = work.find(u')', pos + 1);
        size_t groupEnd;
        std::u16string_view content;
        if (close == std::u16string::npos) {
            // An unclosed group runs to the end of the meaning.
            dlog::Write(u"SetInfo(): ERROR: could not find ending ')'.\n");
            content = std::u16string_view(work).substr(pos + 1);
            groupEnd = work.size();
        } else {
            content = std::u16string_view(work).substr(pos + 1, close - pos - 1);
            groupEnd = close + 1;
        }
        dlog::WriteAt(2, u"   stuff: %s\n", content);

        bool known = false;
        ForEachPart(content, [&](std::u16string_view part) {
            dlog::WriteAt(2, u"   part: %s\n", part);
            const std::u16string_view description = markers.Description(part);
            dlog::WriteAt(2, u"   part: info: %s\n", description);
            if (!description.empty()) {
                found(part, description);
                known = true;
            }
        });

        if (!known) {
            ++pos;
            continue;
        }
        work.erase(pos, groupEnd - pos);
        if (pos > 0 && pos < work.size() && work[pos - 1] == u' ' && work[pos] == u' ')
            work.erase(pos, 1);
        dlog::WriteAt(2, u"   line1: %s\n", work);
        if (!work.empty() && work.front() == u' ') {
            work.erase(0, 1);
            if (pos > 0)
                --pos;
        }
    }
}

}  // namespace

void SetInfo(Entry& entry, const MarkerTable& markers, bool keepAsRead)
{
    entry.senses.clear();
    if (entry.meanings.empty()) {
        AddFormTagInfo(entry, markers);
        return;
    }
    dlog::WriteAt(1, u"SetInfo() :: Cloning meaning...\n");
    if (keepAsRead)
        entry.meaningsAsRead = entry.meanings;
    dlog::WriteAt(1, u"SetInfo() :: Setting info...\n");

    // What each meaning says about its sense, for grouping them below: how
    // it begins, and its markers in order (a description lives in the marker
    // table, which outlives this).
    struct FoundTag {
        size_t meaning;
        std::u16string marker;
        std::u16string_view description;
    };
    std::vector<SenseStart> starts(entry.meanings.size());
    std::vector<FoundTag> found;
    std::vector<size_t> firstTag(entry.meanings.size() + 1);
    for (size_t i = 0; i < entry.meanings.size(); ++i) {
        dlog::WriteAt(2, u"   entry.meaning[%i]: <<%s>>\n", static_cast<int>(i), entry.meanings[i]);
        starts[i] = ReadSenseStart(entry.meanings[i], markers);
        firstTag[i] = found.size();
        // Worked on in place: the meaning as read is kept in meaningsAsRead.
        StripMarkers(entry.meanings[i], markers, [&](std::u16string_view marker, std::u16string_view description) {
            entry.info.emplace_back(description);
            found.push_back({i, std::u16string(marker), description});
        });
    }
    firstTag[entry.meanings.size()] = found.size();

    if (!entry.meanings.empty() && entry.meanings.back() == kTopWordMarker) {
        entry.meanings.pop_back();
        entry.info.emplace_back(kTopWordInfo);
        entry.common = true;
    }

    // A tag goes into a sense once.
    auto addTag = [](std::vector<SenseTag>& tags, const FoundTag& tag) {
        const bool present = std::any_of(tags.begin(), tags.end(), [&tag](const SenseTag& t) {
            return t.marker == tag.marker && t.description == tag.description;
        });
        if (!present)
            tags.push_back({tag.marker, std::u16string(tag.description)});
    };
    // Of the last numbered sense that gave its own parts of speech: where its tags are in found.
    size_t partsFrom = 0, partsTo = 0;
    for (size_t i = 0; i < entry.meanings.size(); ++i) {
        const SenseStart& start = starts[i];
        const size_t tagsFrom = firstTag[i], tagsTo = firstTag[i + 1];
        const bool startsSense =
            entry.senses.empty() ||
            (start.numbered && (!entry.senses.back().glosses.empty() || !entry.senses.back().tags.empty()));
        if (startsSense)
            entry.senses.emplace_back();
        Sense& sense = entry.senses.back();
        const size_t lead = std::min(start.leadMarkers, tagsTo - tagsFrom);
        if (start.numbered) {
            if (lead > 0) {
                partsFrom = tagsFrom;
                partsTo = tagsFrom + lead;
            }
            for (size_t t = partsFrom; t < partsTo; ++t)
                addTag(sense.tags, found[t]);
        }
        for (size_t t = tagsFrom; t < tagsTo; ++t)
            addTag(sense.tags, found[t]);
        std::u16string gloss = GlossOf(entry.meanings[i], start.numbered);
        if (!gloss.empty())
            sense.glosses.push_back(std::move(gloss));
    }
    AddFormTagInfo(entry, markers);
    dlog::WriteAt(1, u"SetInfo(): All done.\n");
}

std::vector<SenseTag> TagsOfEverySense(const Entry& entry)
{
    std::vector<SenseTag> every;
    if (entry.senses.empty())
        return every;
    for (const SenseTag& tag : entry.senses.front().tags) {
        const bool inAll = std::all_of(entry.senses.begin() + 1, entry.senses.end(), [&tag](const Sense& sense) {
            return std::find(sense.tags.begin(), sense.tags.end(), tag) != sense.tags.end();
        });
        if (inAll)
            every.push_back(tag);
    }
    return every;
}

std::vector<SenseTag> OwnTags(const Sense& sense, const std::vector<SenseTag>& everySense)
{
    std::vector<SenseTag> own;
    for (const SenseTag& tag : sense.tags)
        if (std::find(everySense.begin(), everySense.end(), tag) == everySense.end())
            own.push_back(tag);
    return own;
}

std::u16string MarkerList(const std::vector<SenseTag>& tags)
{
    std::u16string out;
    for (const SenseTag& tag : tags) {
        if (!out.empty())
            out += u' ';
        out += u'(';
        out += tag.marker;
        out += u')';
    }
    return out;
}

std::u16string SenseGroupedText(const Entry& entry, std::u16string_view glossSeparator)
{
    const std::vector<SenseTag> every = TagsOfEverySense(entry);
    std::u16string out = MarkerList(every);
    for (size_t k = 0; k < entry.senses.size(); ++k) {
        const Sense& sense = entry.senses[k];
        std::u16string text;
        if (entry.senses.size() > 1) {
            const std::string number = std::to_string(k + 1);
            text = u"(" + std::u16string(number.begin(), number.end()) + u")";
        }
        const std::u16string own = MarkerList(OwnTags(sense, every));
        if (!own.empty())
            text += text.empty() ? own : u" " + own;
        for (size_t g = 0; g < sense.glosses.size(); ++g) {
            if (g == 0 && !text.empty())
                text += u' ';
            else if (g > 0)
                text += glossSeparator;
            text += sense.glosses[g];
        }
        if (!out.empty() && !text.empty())
            out += k == 0 ? u" " : u"; ";
        out += text;
    }
    return out;
}

bool JoinedTextsOfLine(std::string_view line, const Dictionary& dictionary, const MarkerTable& markers,
                       std::u16string_view sepInfo, std::u16string_view sepMeaning, std::u16string& info,
                       std::u16string& meanings)
{
    info.clear();
    meanings.clear();
    if (dictionary.form != LineForm::Edict)
        return false;
    // The line as FillEntryFromLine converts it.
    thread_local std::u16string text;
    if (!ConvertCutLine(CutAtLastSlash(line), dictionary, text))
        return false;

    size_t infoCount = 0;
    auto addInfo = [&](std::u16string_view, std::u16string_view description) {
        if (infoCount++ > 0)
            info += sepInfo;
        info += description;
    };
    // Its meanings as FillEntryFromLine splits them, each marked as SetInfo
    // marks it, joined as they come; the last one's place is kept for (P).
    thread_local std::u16string work;
    size_t meaningCount = 0;
    size_t lastJoinedAt = 0;  // where the last meaning's separator (or the meaning) starts
    size_t lastAt = 0;        // where the last meaning starts
    ForEachSlashField(text, [&](std::u16string_view meaning) {
        // A meaning without any group goes as it is.
        if (meaning.find(u'(') != std::u16string_view::npos) {
            work.assign(meaning);
            StripMarkers(work, markers, addInfo);
            meaning = work;
        }
        lastJoinedAt = meanings.size();
        if (meaningCount++ > 0)
            meanings += sepMeaning;
        lastAt = meanings.size();
        meanings += meaning;
    });
    if (meaningCount > 0 && std::u16string_view(meanings).substr(lastAt) == kTopWordMarker) {
        meanings.resize(lastJoinedAt);
        addInfo({}, kTopWordInfo);
    }
    return true;
}

}  // namespace mirudex::dict
