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

// Text values. A value is written as it stands ("STRING :: name :: value")
// unless a plain line could not carry it: one that holds "::", a control
// character (a line end) or a blank at either end is written as
// "STRING :: name :: ESCAPED :: text", where text has '%', ':', control
// characters and those end blanks as %XX (two hex digits). Files without such
// lines read exactly as before; every value reads back as it was set.
//
// The third field of a text value written escaped.
constexpr std::string_view kEscapedMarker = "ESCAPED";

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

// A text value that a plain line cannot carry: one with "::" in it (the field
// separator), a control character (a line end would cut it), or a blank at
// either end (the reader trims them).
bool NeedsEscape(std::string_view value)
{
    if (value.empty())
        return false;
    if (IsBlank(value.front()) || IsBlank(value.back()) || value.find("::") != std::string_view::npos)
        return true;
    for (char c : value)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return true;
    return false;
}

// The escaped form: '%', ':', control characters and the blanks at either end
// as %XX; every other byte as it is.
std::string EscapeValue(std::string_view value)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    size_t first = 0, last = value.size();
    while (first < last && IsBlank(value[first]))
        ++first;
    while (last > first && IsBlank(value[last - 1]))
        --last;
    std::string out;
    out.reserve(value.size() + 8);
    for (size_t i = 0; i < value.size(); ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        if (c == '%' || c == ':' || c < 0x20 || c == 0x7F || i < first || i >= last) {
            out.push_back('%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 0xF]);
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// EscapeValue undone; a '%' without two hex digits after it stands for itself.
std::string UnescapeValue(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

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

// The lock of one public operation: shared for a lookup, alone for a change.
// An operation that another one of this thread calls while that one holds the
// lock alone (CD while Load parses, while Save writes) runs under it.
class Registry::Access {
public:
    Access(const Registry& registry, bool alone) : registry_(registry)
    {
        if (registry_.writer_.load(std::memory_order_relaxed) == std::this_thread::get_id())
            return;  // this thread holds it already
        if (alone) {
            registry_.mutex_.lock();
            registry_.writer_.store(std::this_thread::get_id(), std::memory_order_relaxed);
            held_ = Held::Alone;
        } else {
            registry_.mutex_.lock_shared();
            held_ = Held::Shared;
        }
    }
    ~Access() { Release(); }
    Access(const Access&) = delete;
    Access& operator=(const Access&) = delete;

    // Lets go early: before a fatal message box, which may wait for the other thread.
    void Release()
    {
        if (held_ == Held::Alone) {
            registry_.writer_.store(std::thread::id(), std::memory_order_relaxed);
            registry_.mutex_.unlock();
        } else if (held_ == Held::Shared) {
            registry_.mutex_.unlock_shared();
        }
        held_ = Held::None;
    }

private:
    enum class Held { None, Shared, Alone };
    const Registry& registry_;
    Held held_ = Held::None;
};

Registry::Registry() : root_(std::make_unique<RegistryKey>()), current_(root_.get()) {}

Registry::Registry(Registry&& other) noexcept : root_(std::move(other.root_)), current_(other.current_)
{
    other.root_ = std::make_unique<RegistryKey>();
    other.current_ = other.root_.get();
}

Registry& Registry::operator=(Registry&& other) noexcept
{
    if (this != &other) {
        root_ = std::move(other.root_);
        current_ = other.current_;
        other.root_ = std::make_unique<RegistryKey>();
        other.current_ = other.root_.get();
    }
    return *this;
}

RegistryKey* Registry::Step(RegistryKey* key, std::string_view name) const
{
    if (name == ".")
        return root_.get();
    if (name == "..")
        return key->parent ? key->parent : key;
    return key->FindChild(name);
}

RegistryKey* Registry::Walk(std::string_view path, std::string_view& name, Miss& miss) const
{
    RegistryKey* key = current_;
    for (size_t slash = path.find('\\'); slash != std::string_view::npos; slash = path.find('\\')) {
        const std::string_view head = path.substr(0, slash);
        RegistryKey* next = Step(key, head);
        if (!next) {
            miss = {true, std::string(head), key->PathText()};
            return nullptr;
        }
        key = next;
        path.remove_prefix(slash + 1);
    }
    name = path;
    return key;
}

void Registry::CD(std::string_view path)
{
    Miss miss;
    {
        Access lock(*this, true);
        std::string_view last;
        RegistryKey* key = Walk(path, last, miss);
        if (key) {
            RegistryKey* next = Step(key, last);
            if (next) {
                current_ = next;
                return;
            }
            miss = {true, std::string(last), key->PathText()};
        }
    }
    Fail(miss, RegistryKind::STRING);
}

template <typename Found>
auto Registry::ReadData(std::string_view path, RegistryKind kind, Found&& found)
{
    Miss miss;
    {
        Access lock(*this, false);
        std::string_view name;
        if (const RegistryKey* key = Walk(path, name, miss)) {
            if (const RegistryData* d = key->FindData(name))
                return found(*key, *d);
            miss = {false, std::string(name), key->PathText()};
        }
    }
    Fail(miss, kind);
}

template <typename Op>
auto Registry::WriteAt(std::string_view path, Op&& op)
{
    Miss miss;
    {
        Access lock(*this, true);
        std::string_view name;
        if (RegistryKey* key = Walk(path, name, miss))
            return op(*key, name);
    }
    Fail(miss, RegistryKind::STRING);
}

int Registry::GetINT(std::string_view path)
{
    return ReadData(path, RegistryKind::INT, [](const RegistryKey&, const RegistryData& d) {
        return d.kind == RegistryKind::INT ? d.intValue : 0;
    });
}

bool Registry::GetBOOL(std::string_view path)
{
    return ReadData(path, RegistryKind::BOOL, [](const RegistryKey&, const RegistryData& d) {
        return d.kind == RegistryKind::BOOL ? d.boolValue : false;
    });
}

const std::string* Registry::GetSTRING(std::string_view path)
{
    return ReadData(path, RegistryKind::STRING,
                    [](const RegistryKey& key, const RegistryData& d) -> const std::string* {
                        if (d.kind != RegistryKind::STRING) {
                            dlog::Write(u"ERROR: GetSTRING(): %S\\%S :: type is not string.\n", key.PathText(), d.name);
                            return nullptr;
                        }
                        return &d.stringValue;
                    });
}

std::string Registry::GetString(std::string_view path)
{
    return ReadData(path, RegistryKind::STRING, [](const RegistryKey& key, const RegistryData& d) {
        if (d.kind != RegistryKind::STRING) {
            dlog::Write(u"ERROR: GetSTRING(): %S\\%S :: type is not string.\n", key.PathText(), d.name);
            return std::string();
        }
        return d.stringValue;
    });
}

void Registry::SetINT(std::string_view path, int value)
{
    WriteAt(path, [&](RegistryKey& key, std::string_view name) {
        if (RegistryData* d = key.FindData(name)) {
            if (d->kind == RegistryKind::INT)
                d->intValue = value;
            else
                dlog::Write(u"Registry: SetINT(): type of %S\\%S is not int.\n", key.PathText(), name);
        } else {
            RegistryData n;
            n.name = std::string(name);
            n.kind = RegistryKind::INT;
            n.typeText = "INT";
            n.intValue = value;
            key.data.push_back(std::move(n));
        }
    });
}

void Registry::SetBOOL(std::string_view path, bool value)
{
    WriteAt(path, [&](RegistryKey& key, std::string_view name) {
        if (RegistryData* d = key.FindData(name)) {
            if (d->kind == RegistryKind::BOOL)
                d->boolValue = value;
            else
                dlog::Write(u"Registry: SetBOOL(): type of %S\\%S is not bool.\n", key.PathText(), name);
        } else {
            RegistryData n;
            n.name = std::string(name);
            n.kind = RegistryKind::BOOL;
            n.typeText = "BOOL";
            n.boolValue = value;
            key.data.push_back(std::move(n));
        }
    });
}

void Registry::SetSTRING(std::string_view path, std::string_view value)
{
    std::string copy(value);  // value may point into the item being replaced
    WriteAt(path, [&](RegistryKey& key, std::string_view name) {
        if (RegistryData* d = key.FindData(name)) {
            if (d->kind == RegistryKind::STRING)
                d->stringValue = copy;
            else
                dlog::Write(u"Registry: SetSTRING(): type of %S\\%S is not string.\n", key.PathText(), name);
        } else {
            RegistryData n;
            n.name = std::string(name);
            n.kind = RegistryKind::STRING;
            n.typeText = "STRING";
            n.stringValue = copy;
            key.data.push_back(std::move(n));
        }
    });
}

bool Registry::DataExists(std::string_view path)
{
    Miss miss;
    {
        Access lock(*this, false);
        std::string_view name;
        if (const RegistryKey* key = Walk(path, name, miss))
            return key->FindData(name) != nullptr;
    }
    Fail(miss, RegistryKind::STRING);
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
    Access lock(*this, true);
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

        // Split into at most four "::"-separated fields (four only for an
        // escaped text value); a line with more is not a line of the format
        // and is ignored.
        std::string_view fields[4];
        int count = 0;
        bool tooMany = false;
        std::string_view rest = line;
        while (true) {
            size_t sep = rest.find("::");
            std::string_view field = TrimBlanks(sep == std::string_view::npos ? rest : rest.substr(0, sep));
            if (count == 4) {
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
        if (count == 4) {
            // "STRING :: name :: ESCAPED :: text": a value that a plain line
            // cannot carry, written as EscapeValue writes it. Any other
            // four-field line has no meaning and is ignored.
            if (fields[0] != "STRING" || fields[2] != kEscapedMarker)
                continue;
            RegistryData d;
            d.typeText = std::string(fields[0]);
            d.name = std::string(fields[1]);
            d.kind = RegistryKind::STRING;
            d.stringValue = UnescapeValue(fields[3]);
            key->data.push_back(std::move(d));
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
    Access lock(*this, true);  // it walks the tree with the current key
    current_ = root_.get();
    std::string out;
    WriteKey(out, *root_, -1);
    current_ = root_.get();
    return out;
}

bool Registry::Save(const std::string& fileName, int* error)
{
    Access lock(*this, true);
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
        case RegistryKind::STRING:
            if (NeedsEscape(d.stringValue))
                out += std::string(kEscapedMarker) + " :: " + EscapeValue(d.stringValue) + "\n";
            else
                out += d.stringValue + "\n";
            break;
        case RegistryKind::INT: out += std::to_string(d.intValue) + "\n"; break;
        case RegistryKind::BOOL: out += d.boolValue ? "TRUE\n" : "FALSE\n"; break;
        }
    }
    if (!isRoot)
        out += Tabs(depth) + "KEY_STOP\n";
}

void Registry::Print(int depth)
{
    Access lock(*this, true);  // it walks the tree with the current key
    PrintKey(*current_, depth);
}

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

void Registry::MergeFrom(const Registry& other)
{
    Access lock(*this, true);
    Access source(other, false);
    MergeKey(*root_, *other.root_);
}

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
    Access lock(*this, true);
    if (name.find('\\') != std::string_view::npos || current_->FindChild(name))
        return;
    auto key = std::make_unique<RegistryKey>();
    key->parent = current_;
    key->name = std::string(name);
    current_->children.push_back(std::move(key));
}

void Registry::DeleteKey(std::string_view path)
{
    WriteAt(path, [](RegistryKey& key, std::string_view name) {
        auto& kids = key.children;
        for (auto it = kids.begin(); it != kids.end(); ++it) {
            if ((*it)->name == name) {
                kids.erase(it);
                break;
            }
        }
    });
}

void Registry::Fail(const Miss& miss, RegistryKind kind)
{
    if (miss.key)
        FatalMissingKey(miss.name, miss.where);
    FatalMissingData(miss.name, miss.where, kind);
}

void Registry::FatalMissingKey(std::string_view name, const std::string& path)
{
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

void Registry::FatalMissingData(std::string_view name, const std::string& path, RegistryKind kind)
{
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
