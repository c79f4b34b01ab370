#include "core/Registry.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <limits>

#include "core/AtomicFile.h"
#include "core/DebugLog.h"
#include "core/LineReader.h"
#include "platform/api/Platform.h"

namespace mirudex {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// C's atoi: leading white space, optional sign, digits up to the first other character.
int Atoi(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i])))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    long long v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        v = v * 10 + (s[i] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1)
            v = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        v = -v;
    if (v > INT_MAX)
        v = INT_MAX;
    if (v < INT_MIN)
        v = INT_MIN;
    return static_cast<int>(v);
}

std::string Tabs(int depth) { return std::string(depth > 0 ? static_cast<size_t>(depth) : 0, '\t'); }

}  // namespace

RegistryKey* RegistryKey::FindChild(std::string_view childName) const
{
    for (const auto& c : children)
        if (c->name == childName)
            return c.get();
    return nullptr;
}

RegistryData* RegistryKey::FindData(std::string_view dataName)
{
    for (auto& d : data)
        if (d.name == dataName)
            return &d;
    return nullptr;
}

const RegistryData* RegistryKey::FindData(std::string_view dataName) const
{
    for (const auto& d : data)
        if (d.name == dataName)
            return &d;
    return nullptr;
}

std::string RegistryKey::PathText() const
{
    if (!parent)
        return {};
    return parent->PathText() + name + "\\";
}

Registry::Registry() : root_(std::make_unique<RegistryKey>()), current_(root_.get()) {}

void Registry::CD(std::string_view path)
{
    if (path == ".") {
        current_ = root_.get();
        return;
    }
    if (path == "..") {
        if (current_->parent)
            current_ = current_->parent;
        return;
    }
    size_t slash = path.find('\\');
    if (slash != std::string_view::npos) {
        CD(path.substr(0, slash));
        CD(path.substr(slash + 1));
        return;
    }
    RegistryKey* child = current_->FindChild(path);
    if (!child)
        FatalMissingKey(path);
    current_ = child;
}

template <typename Op>
auto Registry::Resolve(std::string_view path, Op&& op)
{
    size_t slash = path.find('\\');
    if (slash == std::string_view::npos)
        return op(path);
    CD(path.substr(0, slash));
    auto result = Resolve(path.substr(slash + 1), op);
    CD(opt::kParent);
    return result;
}

int Registry::GetINT(std::string_view path)
{
    return Resolve(path, [this](std::string_view name) {
        const RegistryData* d = current_->FindData(name);
        if (!d)
            FatalMissingData(name, RegistryKind::INT);
        return d->kind == RegistryKind::INT ? d->intValue : 0;
    });
}

bool Registry::GetBOOL(std::string_view path)
{
    return Resolve(path, [this](std::string_view name) {
        const RegistryData* d = current_->FindData(name);
        if (!d)
            FatalMissingData(name, RegistryKind::BOOL);
        return d->kind == RegistryKind::BOOL ? d->boolValue : false;
    });
}

const std::string* Registry::GetSTRING(std::string_view path)
{
    return Resolve(path, [this](std::string_view name) -> const std::string* {
        const RegistryData* d = current_->FindData(name);
        if (!d)
            FatalMissingData(name, RegistryKind::STRING);
        if (d->kind != RegistryKind::STRING) {
            dlog::Write(u"ERROR: GetSTRING(): %S\\%S :: type is not string.\n", current_->PathText(), name);
            return nullptr;
        }
        return &d->stringValue;
    });
}

std::string Registry::GetString(std::string_view path)
{
    const std::string* s = GetSTRING(path);
    return s ? *s : std::string();
}

void Registry::SetINT(std::string_view path, int value)
{
    Resolve(path, [&](std::string_view name) {
        if (RegistryData* d = current_->FindData(name)) {
            if (d->kind == RegistryKind::INT)
                d->intValue = value;
            else
                dlog::Write(u"Registry: SetINT(): type of %S\\%S is not int.\n", current_->PathText(), name);
        } else {
            RegistryData n;
            n.name = std::string(name);
            n.kind = RegistryKind::INT;
            n.typeText = "INT";
            n.intValue = value;
            current_->data.push_back(std::move(n));
        }
        return 0;
    });
}

void Registry::SetBOOL(std::string_view path, bool value)
{
    Resolve(path, [&](std::string_view name) {
        if (RegistryData* d = current_->FindData(name)) {
            if (d->kind == RegistryKind::BOOL)
                d->boolValue = value;
            else
                dlog::Write(u"Registry: SetBOOL(): type of %S\\%S is not bool.\n", current_->PathText(), name);
        } else {
            RegistryData n;
            n.name = std::string(name);
            n.kind = RegistryKind::BOOL;
            n.typeText = "BOOL";
            n.boolValue = value;
            current_->data.push_back(std::move(n));
        }
        return 0;
    });
}

void Registry::SetSTRING(std::string_view path, std::string_view value)
{
    std::string copy(value);  // value may point into the item being replaced
    Resolve(path, [&](std::string_view name) {
        if (RegistryData* d = current_->FindData(name)) {
            if (d->kind == RegistryKind::STRING)
                d->stringValue = copy;
            else
                dlog::Write(u"Registry: SetSTRING(): type of %S\\%S is not string.\n", current_->PathText(), name);
        } else {
            RegistryData n;
            n.name = std::string(name);
            n.kind = RegistryKind::STRING;
            n.typeText = "STRING";
            n.stringValue = copy;
            current_->data.push_back(std::move(n));
        }
        return 0;
    });
}

bool Registry::DataExists(std::string_view path)
{
    return Resolve(path, [this](std::string_view name) { return current_->FindData(name) != nullptr; });
}

RegistryLoadResult Registry::LoadFile(const std::string& fileName)
{
    LineReader reader;
    if (!reader.Open(fileName)) {
        const int error = errno;
        return {error == ENOENT ? RegistryLoad::Missing : RegistryLoad::Unreadable, error};
    }
    const RegistryLoad status = Parse(reader);
    if (status == RegistryLoad::Loaded && reader.Error() != 0)
        return {RegistryLoad::Unreadable, reader.Error()};  // a directory, a read error
    return {status, 0};
}

bool Registry::Load(const std::string& fileName) { return LoadFile(fileName).status == RegistryLoad::Loaded; }

RegistryLoad Registry::LoadFromText(std::string_view text)
{
    LineReader reader;
    reader.OpenText(text);
    return Parse(reader);
}

RegistryLoad Registry::Parse(LineReader& reader)
{
    // The key being read and its depth below the key the parse began in; the
    // current key itself does not move.
    RegistryKey* key = current_;
    int depth = 0;
    std::string piece;
    while (reader.ReadLine(piece, std::numeric_limits<size_t>::max()) != LineReader::Read::End) {
        if (!piece.empty() && piece[0] == '#') {
            // Comments are written back with a plain line end, also the last
            // line of a file that had none.
            TrimLineEnd(piece);
            piece.push_back('\n');
            key->comments.push_back(piece);
            continue;
        }
        std::string_view line = piece;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.remove_suffix(1);

        // Split into at most three "::"-separated fields; a line with more is
        // not a line of the format and is ignored.
        std::string_view fields[3];
        int count = 0;
        bool tooMany = false;
        std::string_view rest = line;
        while (true) {
            size_t sep = rest.find("::");
            std::string_view field = TrimBlanks(sep == std::string_view::npos ? rest : rest.substr(0, sep));
            if (count == 3) {
                tooMany = true;
                break;
            }
            fields[count++] = field;
            if (sep == std::string_view::npos)
                break;
            rest = rest.substr(sep + 2);
        }
        if (tooMany)
            continue;

        if (count == 1 && fields[0] == "KEY_STOP") {
            // At the outermost level this ends the whole parse.
            if (depth == 0)
                return RegistryLoad::Loaded;
            key = key->parent;
            --depth;
            continue;
        }
        if (count == 2 && fields[0] == "KEY_START") {
            if (depth == kMaxDepth)
                return RegistryLoad::TooDeep;
            // A block repeated under one parent is read into the first key of
            // its name: a second key would never be reached by a path, and
            // saving would write the first one again in its place.
            RegistryKey* child = key->FindChild(fields[1]);
            if (!child) {
                auto made = std::make_unique<RegistryKey>();
                made->parent = key;
                made->name = std::string(fields[1]);
                child = made.get();
                key->children.push_back(std::move(made));
            }
            key = child;
            ++depth;
            continue;
        }
        if (count == 3) {
            RegistryData d;
            d.typeText = std::string(fields[0]);
            d.name = std::string(fields[1]);
            if (fields[0] == "STRING") {
                d.kind = RegistryKind::STRING;
                d.stringValue = std::string(fields[2]);
            } else if (fields[0] == "INT") {
                d.kind = RegistryKind::INT;
                d.intValue = Atoi(fields[2]);
            } else if (fields[0] == "BOOL") {
                d.kind = RegistryKind::BOOL;
                d.boolValue = fields[2] == "TRUE";
            } else {
                continue;  // an unknown type word has no kind: the line is dropped
            }
            key->data.push_back(std::move(d));
        }
    }
    return RegistryLoad::Loaded;  // the end of the file ends every level
}

std::string Registry::SaveToText()
{
    current_ = root_.get();
    std::string out;
    WriteKey(out, *root_, -1);
    current_ = root_.get();
    return out;
}

bool Registry::Save(const std::string& fileName, int* error)
{
    current_ = root_.get();
    return WriteFileAtomically(fileName, SaveToText(), error);
}

void Registry::WriteKey(std::string& out, RegistryKey& key, int depth)
{
    const bool isRoot = key.parent == nullptr;
    if (!isRoot)
        out += Tabs(depth) + "KEY_START :: " + key.name + "\n";
    for (const auto& c : key.comments)
        out += c;
    // Every key once: the work and the text are linear in the size of the tree.
    for (const auto& child : key.children)
        WriteKey(out, *child, depth + 1);
    for (const auto& d : key.data) {
        out += Tabs(depth + 1) + d.typeText + " :: " + d.name + " :: ";
        switch (d.kind) {
        case RegistryKind::STRING: out += d.stringValue + "\n"; break;
        case RegistryKind::INT: out += std::to_string(d.intValue) + "\n"; break;
        case RegistryKind::BOOL: out += d.boolValue ? "TRUE\n" : "FALSE\n"; break;
        }
    }
    if (!isRoot)
        out += Tabs(depth) + "KEY_STOP\n";
}

void Registry::Print(int depth) { PrintKey(*current_, depth); }

void Registry::PrintKey(RegistryKey& key, int depth)
{
    const std::string indent(static_cast<size_t>(depth > 0 ? depth : 0) * 3, ' ');
    // The root has no name; it shows as "." as in a path.
    dlog::Write(u"%S[%S]\n", indent, key.parent ? std::string_view(key.name) : std::string_view("."));
    for (const auto& child : key.children)
        PrintKey(*child, depth + 1);
    const std::string dataIndent = indent + "   ";
    for (const auto& d : key.data) {
        dlog::Write(u"%S%S = ", dataIndent, d.name);
        switch (d.kind) {
        case RegistryKind::STRING: dlog::Write(u"%S\n", d.stringValue); break;
        case RegistryKind::INT: dlog::Write(u"%i\n", d.intValue); break;
        case RegistryKind::BOOL: dlog::Write(d.boolValue ? u"TRUE\n" : u"FALSE\n"); break;
        }
    }
}

void Registry::MergeFrom(const Registry& other) { MergeKey(*root_, *other.root_); }

void Registry::MergeKey(RegistryKey& dest, const RegistryKey& src)
{
    for (const auto& srcChild : src.children) {
        RegistryKey* destChild = dest.FindChild(srcChild->name);
        if (!destChild) {
            auto key = std::make_unique<RegistryKey>();
            key->parent = &dest;
            key->name = srcChild->name;
            destChild = key.get();
            dest.children.push_back(std::move(key));
            dlog::Write(u"*** Made new key: %S%S\n", dest.PathText(), srcChild->name);
        }
        MergeKey(*destChild, *srcChild);
    }
    for (const auto& d : src.data) {
        if (!dest.FindData(d.name)) {
            dest.data.push_back(d);
            dlog::Write(u"*** Made new dat: %S%S\n", dest.PathText(), d.name);
        }
    }
}

void Registry::MakeKey(std::string_view name)
{
    if (name.find('\\') != std::string_view::npos || current_->FindChild(name))
        return;
    auto key = std::make_unique<RegistryKey>();
    key->parent = current_;
    key->name = std::string(name);
    current_->children.push_back(std::move(key));
}

void Registry::DeleteKey(std::string_view path)
{
    Resolve(path, [this](std::string_view name) {
        auto& kids = current_->children;
        for (auto it = kids.begin(); it != kids.end(); ++it) {
            if ((*it)->name == name) {
                kids.erase(it);
                break;
            }
        }
        return 0;
    });
}

void Registry::FatalMissingKey(std::string_view name)
{
    const std::string path = current_->PathText();
    dlog::Write(u"Registry: CD(): ERROR: path '%S' does not exist.\n", name);
    std::u16string msg = Format(
        u"There is no path by the name '%S' in Mirudex's registry.\n\nYou can add the path by adding the "
        u"following to Options.mxreg:\n     KEY_START :: %S\n     KEY_STOP\nunder the key '%S'.\n\nThe safest "
        u"option would be to back up your Options.mxreg file and then delete it, so that Mirudex will make a new "
        u"one.\n\nMirudex will now quit to be safe.",
        name, name, path);
    platform::Get().MessageBox(msg, u"Error", platform::Buttons::Ok, platform::Owner::None);
    platform::Get().Exit(-1);
    std::abort();  // Exit() never returns
}

void Registry::FatalMissingData(std::string_view name, RegistryKind kind)
{
    const std::string path = current_->PathText();
    static constexpr std::u16string_view kTail =
        u"\n\nThe safest option would be to back up your Options.mxreg file and then delete it, so that Mirudex "
        u"will make a new one.\n\nMirudex will now quit to be safe.";
    std::u16string msg;
    switch (kind) {
    case RegistryKind::INT:
        dlog::Write(u"Registry: GetINT(): '%S' not found.\n", name);
        msg = Format(
            u"There is no data by the name '%S' in Mirudex's registry.\n\nYou can add the data by adding "
            u"the following to Options.mxreg:\n     INT :: %S :: number\nunder '%S'.",
            name, name, path);
        break;
    case RegistryKind::BOOL:
        dlog::Write(u"Registry: GetBOOL(): '%S' not found.\n", name);
        msg = Format(
            u"There is no data by the name '%S' in Mirudex's registry.\n\nYou can add the data by adding "
            u"the following to Options.mxreg:\n     BOOL :: %S :: TRUE\nor\n     BOOL :: %S :: "
            u"FALSE\nunder '%S'.",
            name, name, name, path);
        break;
    case RegistryKind::STRING:
        dlog::Write(u"ERROR: Registry: GetSTRING(): '%S' not found.\n", name);
        msg = Format(
            u"There is no data by the name '%S' in Mirudex's registry.\n\nYou can add the data by adding "
            u"the following to Options.mxreg:\n     STRING :: %S :: some text\nunder '%S'.",
            name, name, path);
        break;
    }
    msg += kTail;
    if (kind == RegistryKind::STRING)
        dlog::Write(u"ERROR:\n%s\n", msg);
    platform::Get().MessageBox(msg, u"Error", platform::Buttons::Ok, platform::Owner::None);
    platform::Get().Exit(-1);
    std::abort();  // Exit() never returns
}

}  // namespace mirudex
