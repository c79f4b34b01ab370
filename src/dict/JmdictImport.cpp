#include "dict/JmdictImport.h"

#include <expat.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <vector>

#include "core/AtomicFile.h"
#include "core/DebugLog.h"
#include "core/Format.h"
#include "dict/DictionaryOptions.h"
#include "dict/GzipReader.h"
#include "platform/api/Platform.h"
#include "platform/api/Utf.h"

namespace mirudex::dict {

namespace {

// A line as long as the bound lets it be still fits the largest line buffer.
static_assert(ImportLimits{}.line <= kLargestLineBuffer - 2);

constexpr size_t kReadBlock = 1 << 18;
constexpr size_t kFlushAt = 1 << 20;

// Priorities that make a form one of the common words (EDICT's (P)).
bool IsCommonPriority(std::string_view priority)
{
    return priority == "news1" || priority == "ichi1" || priority == "spec1" || priority == "spec2" ||
           priority == "gai1";
}

struct Form {
    std::string text;
    std::vector<std::string> tags;
    std::vector<std::string> restrictedTo;
    bool common = false;
    bool noKanji = false;
};

struct Sense {
    std::vector<std::string> pos, misc, dialects, only, references, antonyms, notes, sources;
    std::vector<std::string> glosses;
};

// Text in a line must not hold the line's own separators: no line end, no
// '/'. In a form (form = true) the separators of forms, readings and their
// groups are written as their fullwidth forms, and so are '&' (a form
// ending in "&#x41" would hide the ';' after it) and the blank; in a group
// of tags (group = true) its parentheses and commas are.
std::string Clean(std::string_view text, bool form, bool group = false)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const char* fullwidth = nullptr;
        if (c == '\n' || c == '\r' || c == '\t')
            c = ' ';
        if (c == '/')
            fullwidth = "\xE2\x88\x95";  // U+2215 DIVISION SLASH: looks the same, separates nothing
        else if ((form || group) && c == '(')
            fullwidth = "\xEF\xBC\x88";
        else if ((form || group) && c == ')')
            fullwidth = "\xEF\xBC\x89";
        else if ((form || group) && c == ',')
            fullwidth = "\xEF\xBC\x8C";
        else if (form && c == ' ')
            fullwidth = "\xE3\x80\x80";
        else if (form && c == ';')
            fullwidth = "\xEF\xBC\x9B";
        else if (form && c == '[')
            fullwidth = "\xEF\xBC\xBB";
        else if (form && c == ']')
            fullwidth = "\xEF\xBC\xBD";
        else if (form && c == '&')
            fullwidth = "\xEF\xBC\x86";
        if (fullwidth)
            out += fullwidth;
        else
            out.push_back(c);
    }
    return out;
}

// A tag of a form, as the line's reader takes tags: ASCII letters, digits,
// '-' and '_'; any run of other bytes becomes one '-'. Empty when nothing is left.
std::string FormTag(std::string_view text)
{
    std::string out;
    for (char c : text) {
        const bool tagChar =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
        if (tagChar)
            out.push_back(c);
        else if (!out.empty() && out.back() != '-')
            out.push_back('-');
    }
    while (!out.empty() && out.back() == '-')
        out.pop_back();
    return out;
}

// An entry number: digits only, or nothing.
std::string EntryNumber(std::string_view text)
{
    while (!text.empty() &&
           (text.front() == ' ' || text.front() == '\n' || text.front() == '\r' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\n' || text.back() == '\r' || text.back() == '\t'))
        text.remove_suffix(1);
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return {};
    return std::string(text);
}

std::string Join(const std::vector<std::string>& list, std::string_view separator)
{
    std::string out;
    for (size_t i = 0; i < list.size(); ++i) {
        if (i)
            out += separator;
        out += list[i];
    }
    return out;
}

// What one kept element or part of an entry costs besides its bytes, in the
// count that bounds an entry while it is read.
constexpr size_t kElementCost = 16;
// The descriptions of entities kept to map expanded tags back to their
// names: JMdict declares a few hundred, each with a short description.
constexpr size_t kMostEntities = 4096;
constexpr size_t kLongestEntityText = 1024;

class Converter {
public:
    Converter(std::string language, std::string& out, const ImportLimits& limits)
        : language_(std::move(language)), out_(out), limits_(limits)
    {
        parser_ = XML_ParserCreate(nullptr);
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(parser_, &Converter::Start, &Converter::End);
        XML_SetCharacterDataHandler(parser_, &Converter::Text);
        // With a default handler, references to the entities of the file's
        // own DTD are handed over unexpanded ("&n;"): their names are the markers.
        XML_SetDefaultHandler(parser_, &Converter::Default);
        XML_SetEntityDeclHandler(parser_, &Converter::EntityDecl);
    }
    ~Converter() { XML_ParserFree(parser_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // False on a parse error (error() says where and what).
    bool Feed(const char* data, size_t size, bool last)
    {
        if (XML_Parse(parser_, data, static_cast<int>(size), last ? 1 : 0) == XML_STATUS_ERROR) {
            error_ = Format(u"line %i: %S", static_cast<int>(XML_GetCurrentLineNumber(parser_)),
                            std::string(XML_ErrorString(XML_GetErrorCode(parser_))));
            return false;
        }
        fed_ += size;
        // The parser hands markup over only once all of it is read, and holds
        // it until then: markup longer than the bound is not waited for.
        if (fed_ > seenUpTo_ + limits_.markup) {
            error_ = Format(u"line %i: a tag, comment or declaration is longer than %i bytes",
                            static_cast<int>(XML_GetCurrentLineNumber(parser_)), static_cast<int>(limits_.markup));
            return false;
        }
        return true;
    }

    const std::u16string& error() const { return error_; }
    int entries = 0;
    int withoutGloss = 0;
    int tooLarge = 0;
    size_t longestLine = 0;
    bool sawJmdict = false;

private:
    static Converter* Self(void* self)
    {
        auto* c = static_cast<Converter*>(self);
        const XML_Index at = XML_GetCurrentByteIndex(c->parser_);
        const int count = XML_GetCurrentByteCount(c->parser_);
        if (at >= 0 && count > 0)
            c->seenUpTo_ = std::max(c->seenUpTo_, static_cast<uint64_t>(at) + static_cast<uint64_t>(count));
        return c;
    }
    static void Start(void* self, const XML_Char* name, const XML_Char** attributes)
    {
        Self(self)->OnStart(name, attributes);
    }
    static void End(void* self, const XML_Char* name) { Self(self)->OnEnd(name); }
    static void Text(void* self, const XML_Char* text, int length)
    {
        auto* c = Self(self);
        if (!c->collecting_)
            return;
        if (c->text_.size() + static_cast<size_t>(length) > c->limits_.element) {
            c->LeaveEntryOut();
            return;
        }
        c->text_.append(text, static_cast<size_t>(length));
    }
    static void Default(void* self, const XML_Char* text, int length)
    {
        auto* c = Self(self);
        const std::string_view s(text, static_cast<size_t>(length));
        if (c->collecting_ && s.size() > 2 && s.front() == '&' && s.back() == ';')
            c->entity_ = std::string(s.substr(1, s.size() - 2));
    }
    static void EntityDecl(void* self, const XML_Char* name, int parameter, const XML_Char* value, int length,
                           const XML_Char*, const XML_Char*, const XML_Char*, const XML_Char*)
    {
        // A file whose tags come expanded is mapped back from the descriptions.
        auto* c = Self(self);
        if (!parameter && value && static_cast<size_t>(length) <= kLongestEntityText &&
            c->entityByText_.size() < kMostEntities)
            c->entityByText_[std::string(value, static_cast<size_t>(length))] = name;
    }

    static const char* Attribute(const XML_Char** attributes, std::string_view name)
    {
        for (size_t i = 0; attributes[i]; i += 2)
            if (name == attributes[i])
                return attributes[i + 1];
        return nullptr;
    }

    // The entry being read is left out (and counted at its end); what it
    // holds so far is let go.
    void LeaveEntryOut()
    {
        collecting_ = false;
        text_.clear();
        entity_.clear();
        if (!inEntry_)
            return;
        entryTooLarge_ = true;
        kanji_ = {};
        readings_ = {};
        senses_ = {};
    }

    // Counts what a kept part adds to the entry; false (the entry is left
    // out) when the entry grows beyond a line's bound.
    bool Grow(size_t bytes)
    {
        entryBytes_ += bytes + kElementCost;
        if (entryBytes_ > limits_.line)
            LeaveEntryOut();
        return !entryTooLarge_;
    }

    void OnStart(std::string_view name, const XML_Char** attributes)
    {
        text_.clear();
        entity_.clear();
        collecting_ = false;
        if (name == "entry") {
            inEntry_ = true;
            entryTooLarge_ = false;
            entryBytes_ = 0;
            sequence_.clear();
            kanji_.clear();
            readings_.clear();
            senses_.clear();
        } else if (!inEntry_) {
            if (name == "JMdict")
                sawJmdict = true;
        } else if (entryTooLarge_) {
            return;
        } else if (name == "k_ele") {
            if (Grow(0))
                kanji_.emplace_back();
        } else if (name == "r_ele") {
            if (Grow(0))
                readings_.emplace_back();
        } else if (name == "sense") {
            if (Grow(0))
                senses_.emplace_back();
        } else if (name == "gloss") {
            const char* lang = Attribute(attributes, "xml:lang");
            const char* type = Attribute(attributes, "g_type");
            glossWanted_ = language_ == (lang ? lang : kJmdictDefaultLanguage);
            glossType_ = type && (std::string_view(type) == "lit" || std::string_view(type) == "fig") ? type : "";
            collecting_ = true;
        } else if (name == "lsource") {
            const char* lang = Attribute(attributes, "xml:lang");
            const char* wasei = Attribute(attributes, "ls_wasei");
            const std::string_view source = wasei && std::string_view(wasei) == "y" ? "wasei"
                                            : lang                                  ? std::string_view(lang)
                                                                                    : "eng";
            if (source.size() > limits_.element) {
                LeaveEntryOut();
                return;
            }
            sourceLanguage_ = Clean(source, false, true);
            collecting_ = true;
        } else if (name == "re_nokanji") {
            if (!readings_.empty())
                readings_.back().noKanji = true;
        } else {
            collecting_ = true;
        }
    }

    // The tag of a pos, misc, field, dial, ke_inf or re_inf element.
    std::string Tag()
    {
        if (!entity_.empty())
            return entity_;
        const auto found = entityByText_.find(text_);
        return found != entityByText_.end() ? found->second : text_;
    }

    // Appends a kept text to a list of the entry, unless it is empty or the
    // entry grows too large by it.
    void Keep(std::vector<std::string>& list, std::string text)
    {
        if (!text.empty() && Grow(text.size()))
            list.push_back(std::move(text));
    }

    void OnEnd(std::string_view name)
    {
        collecting_ = false;
        if (!inEntry_)
            return;
        if (name == "entry") {
            inEntry_ = false;
            if (entryTooLarge_)
                ++tooLarge;
            else
                WriteEntry();
            kanji_ = {};
            readings_ = {};
            senses_ = {};
            text_.clear();
            entity_.clear();
            return;
        }
        if (!entryTooLarge_)
            KeepElement(name);
        text_.clear();
        entity_.clear();
    }

    void KeepElement(std::string_view name)
    {
        Form* kanji = kanji_.empty() ? nullptr : &kanji_.back();
        Form* reading = readings_.empty() ? nullptr : &readings_.back();
        Sense* sense = senses_.empty() ? nullptr : &senses_.back();
        if (name == "ent_seq") {
            sequence_ = EntryNumber(text_);
        } else if ((name == "keb" && kanji) || (name == "reb" && reading)) {
            std::string text = Clean(text_, true);
            if (Grow(text.size()))
                (name == "keb" ? kanji : reading)->text = std::move(text);
        } else if (name == "ke_inf" && kanji) {
            Keep(kanji->tags, FormTag(Tag()));
        } else if (name == "ke_pri" && kanji) {
            kanji->common = kanji->common || IsCommonPriority(text_);
        } else if (name == "re_inf" && reading) {
            Keep(reading->tags, FormTag(Tag()));
        } else if (name == "re_pri" && reading) {
            reading->common = reading->common || IsCommonPriority(text_);
        } else if (name == "re_restr" && reading) {
            Keep(reading->restrictedTo, Clean(text_, true));
        } else if (sense) {
            if (name == "pos")
                Keep(sense->pos, Clean(Tag(), false, true));
            else if (name == "misc" || name == "field")
                Keep(sense->misc, Clean(Tag(), false, true));
            else if (name == "dial")
                Keep(sense->dialects, Clean(Tag(), false, true) + ":");
            else if (name == "stagk" || name == "stagr")
                Keep(sense->only, Clean(text_, false));
            else if (name == "xref")
                Keep(sense->references, Clean(text_, false));
            else if (name == "ant")
                Keep(sense->antonyms, Clean(text_, false));
            else if (name == "s_inf")
                Keep(sense->notes, Clean(text_, false));
            else if (name == "lsource")
                Keep(sense->sources,
                     text_.empty() ? sourceLanguage_ + ":" : sourceLanguage_ + ": " + Clean(text_, false));
            else if (name == "gloss" && glossWanted_ && !text_.empty())
                Keep(sense->glosses, (glossType_.empty() ? "" : "(" + glossType_ + ") ") + Clean(text_, false));
        }
    }

    static void AppendForm(std::string& line, const Form& form, bool withRestrictions)
    {
        line += form.text;
        if (withRestrictions && !form.restrictedTo.empty())
            line += "(" + Join(form.restrictedTo, ",") + ")";
        std::vector<std::string> tags = form.tags;
        if (form.noKanji)
            tags.push_back("nokanji");
        if (form.common)
            tags.push_back("P");
        if (!tags.empty())
            line += "(" + Join(tags, ",") + ")";
    }

    void WriteEntry()
    {
        // A form without text could not be found, and would leave the line without its headword.
        for (auto* forms : {&kanji_, &readings_})
            std::erase_if(*forms, [](const Form& f) { return f.text.empty(); });
        std::vector<const Sense*> kept;
        for (const Sense& sense : senses_)
            if (!sense.glosses.empty())
                kept.push_back(&sense);
        if (kept.empty() || readings_.empty()) {
            ++withoutGloss;
            return;
        }
        std::string line;
        const std::vector<Form>& headwords = kanji_.empty() ? readings_ : kanji_;
        for (size_t i = 0; i < headwords.size(); ++i) {
            if (i)
                line += ';';
            AppendForm(line, headwords[i], false);
        }
        if (!kanji_.empty()) {
            line += " [";
            for (size_t i = 0; i < readings_.size(); ++i) {
                if (i)
                    line += ';';
                AppendForm(line, readings_[i], true);
            }
            line += ']';
        }
        line += " /";
        // Parts of speech hold until a later sense gives its own; a sense
        // that drops out must not take its parts of speech with it.
        std::vector<std::string> pendingPos;
        int number = 0;
        for (const Sense& sense : senses_) {
            if (!sense.pos.empty())
                pendingPos = sense.pos;
            if (sense.glosses.empty())
                continue;
            ++number;
            std::string head;
            auto group = [&head](const std::string& content) {
                if (!head.empty())
                    head += ' ';
                head += "(" + content + ")";
            };
            if (!pendingPos.empty())
                group(Join(pendingPos, ","));
            pendingPos.clear();
            if (kept.size() > 1)
                group(std::to_string(number));
            if (!sense.misc.empty())
                group(Join(sense.misc, ","));
            if (!sense.dialects.empty())
                group(Join(sense.dialects, ","));
            if (!sense.only.empty())
                group(Join(sense.only, ",") + " only");
            for (const std::string& note : sense.notes)
                group(note);
            if (!sense.references.empty())
                group("See " + Join(sense.references, ","));
            if (!sense.antonyms.empty())
                group("ant: " + Join(sense.antonyms, ","));
            for (const std::string& source : sense.sources)
                group(source);
            for (size_t g = 0; g < sense.glosses.size(); ++g) {
                if (g == 0 && !head.empty())
                    line += head + ' ';
                line += sense.glosses[g];
                line += '/';
            }
        }
        const bool common = std::any_of(kanji_.begin(), kanji_.end(), [](const Form& f) { return f.common; }) ||
                            std::any_of(readings_.begin(), readings_.end(), [](const Form& f) { return f.common; });
        if (common)
            line += "(P)/";
        if (!sequence_.empty())
            line += "EntL" + sequence_ + "/";
        line += '\n';
        if (line.size() > limits_.line) {
            ++tooLarge;
            return;
        }
        longestLine = std::max(longestLine, line.size());
        out_ += line;
        ++entries;
    }

    XML_Parser parser_;
    std::string language_;
    std::string& out_;
    const ImportLimits limits_;
    std::u16string error_;
    uint64_t fed_ = 0;       // bytes handed to the parser
    uint64_t seenUpTo_ = 0;  // the end of the last piece the parser reported

    bool inEntry_ = false;
    bool entryTooLarge_ = false;
    size_t entryBytes_ = 0;
    bool collecting_ = false;
    std::string text_, entity_;
    std::map<std::string, std::string> entityByText_;
    bool glossWanted_ = false;
    std::string glossType_, sourceLanguage_;

    std::string sequence_;
    std::vector<Form> kanji_, readings_;
    std::vector<Sense> senses_;
};

ImportOutcome Failed(ImportStatus status, std::string error)
{
    ImportOutcome outcome;
    outcome.status = status;
    outcome.error = std::move(error);
    return outcome;
}

ImportOutcome Finish(const Converter& converter, ImportOutcome outcome, const ImportLimits& limits)
{
    outcome.entries = converter.entries;
    outcome.withoutGloss = converter.withoutGloss;
    outcome.tooLarge = converter.tooLarge;
    outcome.longestLine = converter.longestLine;
    if (outcome.status == ImportStatus::Done && converter.entries == 0) {
        outcome.status = ImportStatus::NotJmdict;
        outcome.error = converter.tooLarge > 0 ? "every entry in it is larger than an entry may be (" +
                                                     std::to_string(converter.tooLarge) + " left out)"
                        : converter.sawJmdict ? "it holds no entry with glosses in the chosen language"
                                              : "it holds no JMdict entries";
    }
    if (converter.tooLarge > 0)
        dlog::Write(
            u"ImportJmdict: %i entries left out: an element longer than %i bytes, or a line longer than %i "
            u"bytes.\n",
            converter.tooLarge, static_cast<int>(limits.element), static_cast<int>(limits.line));
    return outcome;
}

}  // namespace

ImportOutcome ImportJmdictText(std::string_view xml, std::string& out, const std::string& language,
                               const ImportLimits& limits)
{
    Converter converter(language, out, limits);
    if (!converter.Feed(xml.data(), xml.size(), true))
        return Finish(converter, Failed(ImportStatus::Damaged, Utf16ToUtf8(converter.error())), limits);
    return Finish(converter, {}, limits);
}

ImportOutcome ImportJmdict(const std::string& inputPath, const std::string& outputPath, const std::string& language,
                           const ImportProgress& progress, StopToken stop, const ImportLimits& limits)
{
    GzipReader input;
    if (!input.Open(inputPath))
        return Failed(ImportStatus::CannotOpen, input.error());
    AtomicFileWriter writer;
    if (!writer.Open(outputPath))
        return Failed(ImportStatus::CannotWrite, "the dictionary file cannot be created");

    std::string pending;
    Converter converter(language, pending, limits);
    std::vector<char> block(kReadBlock);
    uint64_t written = 0;
    for (;;) {
        if (stop.StopRequested())
            return Finish(converter, Failed(ImportStatus::Stopped, {}), limits);
        const long read = input.Read(block.data(), static_cast<unsigned>(block.size()));
        if (read < 0)
            return Finish(converter, Failed(ImportStatus::Damaged, input.error()), limits);
        if (!converter.Feed(block.data(), static_cast<size_t>(read), read == 0))
            return Finish(converter, Failed(ImportStatus::Damaged, Utf16ToUtf8(converter.error())), limits);
        if (pending.size() >= kFlushAt || read == 0) {
            written += pending.size();
            // The writer's file is dropped unless committed: nothing of it stays.
            if (written > limits.dictionary)
                return Finish(converter,
                              Failed(ImportStatus::TooLarge,
                                     "it would be larger than " + std::to_string(limits.dictionary) + " bytes"),
                              limits);
            if (!writer.Write(pending))
                return Finish(converter, Failed(ImportStatus::CannotWrite, "the dictionary file cannot be written"),
                              limits);
            pending.clear();
        }
        if (progress && input.FileSize() > 0)
            progress(std::min(1.0, static_cast<double>(input.FileOffset()) / static_cast<double>(input.FileSize())));
        if (read == 0)
            break;
    }
    ImportOutcome outcome = Finish(converter, {}, limits);
    if (outcome.status != ImportStatus::Done)
        return outcome;
    if (!writer.Commit(AtomicFileWriter::Durability::Synced))
        return Failed(ImportStatus::CannotWrite, "the dictionary file cannot be written");
    return outcome;
}

std::string ImportedDictionaryPath(const std::string& inputPath)
{
    std::string name = std::filesystem::path(inputPath).filename().string();
    for (std::string_view suffix : {".gz", ".xml"})
        if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            name.resize(name.size() - suffix.size());
    if (name.empty())
        name = "JMdict";
    return "DICT\\" + name + ".edict2";
}

std::string ImportedDictionaryName(const std::string& inputPath)
{
    return "JMdict (" + std::filesystem::path(inputPath).filename().string() + ")";
}

std::u16string ImportFailureText(const ImportOutcome& outcome, const std::string& inputPath)
{
    switch (outcome.status) {
    case ImportStatus::Done: return {};
    case ImportStatus::Stopped: return u"The import was stopped; no dictionary was written.";
    case ImportStatus::CannotOpen: return Format(u"The file '%S' could not be opened: %S.", inputPath, outcome.error);
    case ImportStatus::CannotWrite:
        return Format(u"The dictionary made from '%S' could not be written: %S.", inputPath, outcome.error);
    case ImportStatus::Damaged:
        return Format(u"The file '%S' is damaged (%S); no dictionary was written.", inputPath, outcome.error);
    case ImportStatus::NotJmdict: return Format(u"The file '%S' is no JMdict file: %S.", inputPath, outcome.error);
    case ImportStatus::TooLarge:
        return Format(u"The dictionary made from '%S' would be too large to be used (%S); no dictionary was written.",
                      inputPath, outcome.error);
    }
    return {};
}

}  // namespace mirudex::dict
