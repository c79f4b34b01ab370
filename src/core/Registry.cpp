#include "core/Registry.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/AtomicFile.h"
#include "core/DebugLog.h"
#include "platform/api/Platform.h"

namespace mirudex {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A key name that CD can reach: not "." or "..", no backslash.
bool IsReachableName(std::string_view name)
{
    return name != "." && name != ".." && name.find('\\') == std::string_view::npos;
}

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

// Reads a text the way a line loop over fgets() with a 4,999-byte buffer and a
// feof() test does: a piece ends at a line end or after 4,998 characters, and
// a read that runs into the end of the file ends the loop, so a last line
// without a line end is never handled.
struct Registry::Reader {
    std::string_view text;
    size_t pos = 0;

    bool Next(std::string& piece)
    {
        piece.clear();
        if (pos >= text.size())
            return false;
        size_t start = pos;
        while (pos < text.size() && pos - start < kMaxLineLength) {
            char c = text[pos++];
            if (c == '\n') {
                piece.assign(text.substr(start, pos - start));
                return true;
            }
        }
        if (pos - start >= kMaxLineLength) {
            piece.assign(text.substr(start, pos - start));
            return true;
        }
        return false;  // ran into the end of the file
    }
};

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

bool Registry::Load(const std::string& fileName)
{
    std::error_code ec;
    if (std::filesystem::is_directory(fileName, ec))
        return false;
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    LoadFromText(ss.str());
    return true;
}

void Registry::LoadFromText(std::string_view text)
{
    Reader reader{text, 0};
    ParseInto(reader, 0);
}

bool Registry::ParseInto(Reader& reader, int depth)
{
    std::string piece;
    while (reader.Next(piece)) {
        if (!piece.empty() && piece[0] == '#') {
            // Comments are written back with a plain line end.
            bool hadEnd = !piece.empty() && piece.back() == '\n';
            while (!piece.empty() && (piece.back() == '\n' || piece.back() == '\r'))
                piece.pop_back();
            if (hadEnd)
                piece.push_back('\n');
            current_->comments.push_back(piece);
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

        if (count == 1 && fields[0] == "KEY_STOP")
            return depth == 0;
        if (count == 2 && fields[0] == "KEY_START") {
            // A block repeated under one parent is read into the first key
            // of its name; no second key is made for it, since saving would
            // write the first key once for each and the file would double
            // at every start.
            if (RegistryKey* existing = IsReachableName(fields[1]) ? current_->FindChild(fields[1]) : nullptr) {
                current_ = existing;
            } else {
                auto key = std::make_unique<RegistryKey>();
                key->parent = current_;
                key->name = std::string(fields[1]);
                current_ = key.get();
                current_->parent->children.push_back(std::move(key));
            }
            bool stop = ParseInto(reader, depth + 1);
            CD(opt::kParent);
            if (stop)
                return true;
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
            current_->data.push_back(std::move(d));
        }
    }
    return true;  // the end of the file ends every level
}

std::string Registry::SaveToText()
{
    current_ = root_.get();
    std::string out;
    WriteKey(out, *root_, -1);
    current_ = root_.get();
    return out;
}

bool Registry::Save(const std::string& fileName)
{
    AtomicFileWriter writer;
    current_ = root_.get();
    if (!writer.Open(fileName))
        return false;
    writer.Write(SaveToText());
    return writer.Commit();
}

void Registry::WriteKey(std::string& out, RegistryKey& key, int depth)
{
    const bool isRoot = key.parent == nullptr;
    if (!isRoot)
        out += Tabs(depth) + "KEY_START :: " + key.name + "\n";
    for (const auto& c : key.comments)
        out += c;
    for (size_t i = 0; i < key.children.size(); ++i) {
        RegistryKey* child = key.children[i].get();
        RegistryKey* saved = current_;
        if (IsReachableName(child->name))
            CD(child->name);  // duplicates write the first key of the name again
        else
            current_ = child;
        WriteKey(out, *current_, depth + 1);
        current_ = saved;
    }
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
    for (size_t i = 0; i < key.children.size(); ++i) {
        RegistryKey* child = key.children[i].get();
        RegistryKey* saved = current_;
        if (IsReachableName(child->name))
            CD(child->name);
        else
            current_ = child;
        PrintKey(*current_, depth + 1);
        current_ = saved;
    }
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
