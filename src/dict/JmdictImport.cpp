#include "dict/JmdictImport.h"

#include <expat.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <vector>

#include "core/AtomicFile.h"
#include "core/Format.h"
#include "dict/GzipReader.h"
#include "platform/api/Platform.h"
#include "platform/api/Utf.h"

namespace mirudex::dict {

namespace {

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

// Text in a line must not hold the line's own separators.
std::string Clean(std::string_view text, bool form)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\n' || c == '\r' || c == '\t') {
            out.push_back(' ');
        } else if (c == '/') {
            out += "\xE2\x88\x95";  // U+2215 DIVISION SLASH: looks the same, separates nothing
        } else if (form && (c == ' ' || c == ';' || c == '[' || c == ']')) {
            out += c == ' ' ? "\xE3\x80\x80" : c == ';' ? "\xEF\xBC\x9B" : c == '[' ? "\xEF\xBC\xBB" : "\xEF\xBC\xBD";
        } else {
            out.push_back(c);
        }
    }
    return out;
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

class Converter {
public:
    Converter(std::string language, std::string& out) : language_(std::move(language)), out_(out)
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
        if (XML_Parse(parser_, data, static_cast<int>(size), last ? 1 : 0) != XML_STATUS_ERROR)
            return true;
        error_ = Format(u"line %i: %S", static_cast<int>(XML_GetCurrentLineNumber(parser_)),
                        std::string(XML_ErrorString(XML_GetErrorCode(parser_))));
        return false;
    }

    const std::u16string& error() const { return error_; }
    int entries = 0;
    int withoutGloss = 0;
    size_t longestLine = 0;
    bool sawJmdict = false;

private:
    static void Start(void* self, const XML_Char* name, const XML_Char** attributes)
    {
        static_cast<Converter*>(self)->OnStart(name, attributes);
    }
    static void End(void* self, const XML_Char* name) { static_cast<Converter*>(self)->OnEnd(name); }
    static void Text(void* self, const XML_Char* text, int length)
    {
        auto* c = static_cast<Converter*>(self);
        if (c->collecting_)
            c->text_.append(text, static_cast<size_t>(length));
    }
    static void Default(void* self, const XML_Char* text, int length)
    {
        auto* c = static_cast<Converter*>(self);
        const std::string_view s(text, static_cast<size_t>(length));
        if (c->collecting_ && s.size() > 2 && s.front() == '&' && s.back() == ';')
            c->entity_ = std::string(s.substr(1, s.size() - 2));
    }
    static void EntityDecl(void* self, const XML_Char* name, int parameter, const XML_Char* value, int length,
                           const XML_Char*, const XML_Char*, const XML_Char*, const XML_Char*)
    {
        // A file whose tags come expanded is mapped back from the descriptions.
        if (!parameter && value)
            static_cast<Converter*>(self)->entityByText_[std::string(value, static_cast<size_t>(length))] = name;
    }

    static const char* Attribute(const XML_Char** attributes, std::string_view name)
    {
        for (size_t i = 0; attributes[i]; i += 2)
            if (name == attributes[i])
                return attributes[i + 1];
        return nullptr;
    }

    void OnStart(std::string_view name, const XML_Char** attributes)
    {
        text_.clear();
        entity_.clear();
        collecting_ = false;
        if (name == "entry") {
            inEntry_ = true;
            sequence_.clear();
            kanji_.clear();
            readings_.clear();
            senses_.clear();
        } else if (!inEntry_) {
            if (name == "JMdict")
                sawJmdict = true;
        } else if (name == "k_ele") {
            kanji_.emplace_back();
        } else if (name == "r_ele") {
            readings_.emplace_back();
        } else if (name == "sense") {
            senses_.emplace_back();
        } else if (name == "gloss") {
            const char* lang = Attribute(attributes, "xml:lang");
            glossWanted_ = language_ == (lang ? lang : kJmdictDefaultLanguage);
            const char* type = Attribute(attributes, "g_type");
            glossType_ = type ? type : "";
            collecting_ = true;
        } else if (name == "lsource") {
            const char* lang = Attribute(attributes, "xml:lang");
            const char* wasei = Attribute(attributes, "ls_wasei");
            sourceLanguage_ = wasei && std::string_view(wasei) == "y" ? "wasei" : lang ? lang : "eng";
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

    void OnEnd(std::string_view name)
    {
        collecting_ = false;
        if (!inEntry_)
            return;
        Form* kanji = kanji_.empty() ? nullptr : &kanji_.back();
        Form* reading = readings_.empty() ? nullptr : &readings_.back();
        Sense* sense = senses_.empty() ? nullptr : &senses_.back();
        if (name == "entry") {
            inEntry_ = false;
            WriteEntry();
        } else if (name == "ent_seq") {
            sequence_ = text_;
        } else if (name == "keb" && kanji) {
            kanji->text = Clean(text_, true);
        } else if (name == "ke_inf" && kanji) {
            kanji->tags.push_back(Tag());
        } else if (name == "ke_pri" && kanji) {
            kanji->common = kanji->common || IsCommonPriority(text_);
        } else if (name == "reb" && reading) {
            reading->text = Clean(text_, true);
        } else if (name == "re_inf" && reading) {
            reading->tags.push_back(Tag());
        } else if (name == "re_pri" && reading) {
            reading->common = reading->common || IsCommonPriority(text_);
        } else if (name == "re_restr" && reading) {
            reading->restrictedTo.push_back(Clean(text_, true));
        } else if (sense) {
            if (name == "pos")
                sense->pos.push_back(Tag());
            else if (name == "misc" || name == "field")
                sense->misc.push_back(Tag());
            else if (name == "dial")
                sense->dialects.push_back(Tag() + ":");
            else if (name == "stagk" || name == "stagr")
                sense->only.push_back(Clean(text_, false));
            else if (name == "xref")
                sense->references.push_back(Clean(text_, false));
            else if (name == "ant")
                sense->antonyms.push_back(Clean(text_, false));
            else if (name == "s_inf")
                sense->notes.push_back(Clean(text_, false));
            else if (name == "lsource")
                sense->sources.push_back(text_.empty() ? sourceLanguage_ + ":"
                                                       : sourceLanguage_ + ": " + Clean(text_, false));
            else if (name == "gloss" && glossWanted_ && !text_.empty())
                sense->glosses.push_back((glossType_ == "lit" || glossType_ == "fig" ? "(" + glossType_ + ") " : "") +
                                         Clean(text_, false));
        }
        text_.clear();
        entity_.clear();
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
        longestLine = std::max(longestLine, line.size());
        out_ += line;
        ++entries;
    }

    XML_Parser parser_;
    std::string language_;
    std::string& out_;
    std::u16string error_;

    bool inEntry_ = false;
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

ImportOutcome Finish(const Converter& converter, ImportOutcome outcome)
{
    outcome.entries = converter.entries;
    outcome.withoutGloss = converter.withoutGloss;
    outcome.longestLine = converter.longestLine;
    if (outcome.status == ImportStatus::Done && converter.entries == 0) {
        outcome.status = ImportStatus::NotJmdict;
        outcome.error = converter.sawJmdict ? "it holds no entry with glosses in the chosen language"
                                            : "it holds no JMdict entries";
    }
    return outcome;
}

}  // namespace

ImportOutcome ImportJmdictText(std::string_view xml, std::string& out, const std::string& language)
{
    Converter converter(language, out);
    if (!converter.Feed(xml.data(), xml.size(), true))
        return Finish(converter, Failed(ImportStatus::Damaged, Utf16ToUtf8(converter.error())));
    return Finish(converter, {});
}

ImportOutcome ImportJmdict(const std::string& inputPath, const std::string& outputPath, const std::string& language,
                           const ImportProgress& progress, StopToken stop)
{
    GzipReader input;
    if (!input.Open(inputPath))
        return Failed(ImportStatus::CannotOpen, input.error());
    AtomicFileWriter writer;
    if (!writer.Open(outputPath))
        return Failed(ImportStatus::CannotWrite, "the dictionary file cannot be created");

    std::string pending;
    Converter converter(language, pending);
    std::vector<char> block(kReadBlock);
    for (;;) {
        if (stop.StopRequested())
            return Finish(converter, Failed(ImportStatus::Stopped, {}));
        const long read = input.Read(block.data(), static_cast<unsigned>(block.size()));
        if (read < 0)
            return Finish(converter, Failed(ImportStatus::Damaged, input.error()));
        if (!converter.Feed(block.data(), static_cast<size_t>(read), read == 0))
            return Finish(converter, Failed(ImportStatus::Damaged, Utf16ToUtf8(converter.error())));
        if (pending.size() >= kFlushAt || read == 0) {
            if (!writer.Write(pending))
                return Finish(converter, Failed(ImportStatus::CannotWrite, "the dictionary file cannot be written"));
            pending.clear();
        }
        if (progress && input.FileSize() > 0)
            progress(std::min(1.0, static_cast<double>(input.FileOffset()) / static_cast<double>(input.FileSize())));
        if (read == 0)
            break;
    }
    ImportOutcome outcome = Finish(converter, {});
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
    }
    return {};
}

}  // namespace mirudex::dict
