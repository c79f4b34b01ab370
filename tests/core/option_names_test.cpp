// The option-name table against the default options file: every name the
// program uses is an item (or key) of the right kind there, and every item
// there has a name.

#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "support/TestSupport.h"

using namespace mirudex;
using opt::OptionKind;

namespace {

struct Named {
    std::string path;
    OptionKind kind;
};

// Every name of the table, with the paths through numbered keys made for the
// keys the default file has: dictionaries 0 and 1, columns 0..5 of both result
// windows, the four and two shares of the kanji window's headers.
std::vector<Named> AllNames()
{
    std::vector<Named> all;
    for (const opt::OptionName& n : opt::kOptionNames)
        all.push_back({std::string(n.path), n.kind});
    for (const opt::RelativeOptionName& n : opt::kRelativeOptionNames)
        all.push_back({std::string(n.key) + "\\" + std::string(n.name), n.kind});

    namespace edict = opt::dictionaries::edict;
    for (int n = 0; n < 2; ++n) {
        all.push_back({edict::Entry(n), OptionKind::Key});
        all.push_back({edict::Path(n), OptionKind::STRING});
        all.push_back({edict::Name(n), OptionKind::STRING});
        all.push_back({edict::Encoding(n), OptionKind::STRING});
        all.push_back({edict::On(n), OptionKind::BOOL});
    }
    for (std::string_view key : {opt::results::header_items::kKey, opt::study_list::header_items::kKey}) {
        for (int n = 0; n < 7; ++n) {
            all.push_back({opt::header_item::Header(key, n), OptionKind::INT});
            all.push_back({opt::header_item::Percentage(key, n), OptionKind::INT});
            all.push_back({opt::header_item::Position(key, n), OptionKind::INT});
        }
    }
    for (int i = 0; i < 4; ++i)
        all.push_back({opt::kanji::header_window::Header(opt::kanji::header_window::kKey1, i), OptionKind::INT});
    for (int i = 0; i < 2; ++i)
        all.push_back({opt::kanji::header_window::Header(opt::kanji::header_window::kKey2, i), OptionKind::INT});
    return all;
}

std::string_view KindName(OptionKind kind)
{
    switch (kind) {
    case OptionKind::Key: return "key";
    case OptionKind::STRING: return "STRING";
    case OptionKind::INT: return "INT";
    case OptionKind::BOOL: return "BOOL";
    }
    return "?";
}

OptionKind KindOf(RegistryKind kind)
{
    switch (kind) {
    case RegistryKind::STRING: return OptionKind::STRING;
    case RegistryKind::INT: return OptionKind::INT;
    case RegistryKind::BOOL: return OptionKind::BOOL;
    }
    return OptionKind::Key;
}

// What a root path names in the tree, found without the getters (which end
// the program on a missing name); nullopt when it names nothing.
std::optional<OptionKind> Find(const RegistryKey& root, std::string_view path)
{
    if (path.substr(0, 2) != ".\\")
        return std::nullopt;
    path.remove_prefix(2);
    const RegistryKey* key = &root;
    for (size_t slash; (slash = path.find('\\')) != std::string_view::npos; path.remove_prefix(slash + 1)) {
        key = key->FindChild(path.substr(0, slash));
        if (!key)
            return std::nullopt;
    }
    if (key->FindChild(path))
        return OptionKind::Key;
    if (const RegistryData* data = key->FindData(path))
        return KindOf(data->kind);
    return std::nullopt;
}

void CollectItems(const RegistryKey& key, const std::string& path, std::vector<std::string>& out)
{
    for (const RegistryData& data : key.data)
        out.push_back(path + "\\" + data.name);
    for (const auto& child : key.children)
        CollectItems(*child, path + "\\" + child->name, out);
}

class OptionNamesTest : public test::WorkDirTest {
protected:
    void SetUp() override
    {
        test::WorkDirTest::SetUp();
        defaults_.LoadFromText(DefaultOptionsText());
    }
    Registry defaults_;
};

}  // namespace

TEST_F(OptionNamesTest, EveryNameIsAnItemOfItsKindInTheDefaultFile)
{
    for (const Named& n : AllNames()) {
        SCOPED_TRACE(n.path);
        const std::optional<OptionKind> found = Find(defaults_.root(), n.path);
        if (!found)
            ADD_FAILURE() << "not in the default options file";
        else
            EXPECT_EQ(KindName(*found), KindName(n.kind));
    }
}

TEST_F(OptionNamesTest, EveryItemOfTheDefaultFileIsNamedOnce)
{
    std::set<std::string> named;
    for (const opt::OptionName& n : opt::kOptionNames)
        EXPECT_TRUE(named.insert(std::string(n.path)).second) << "named twice: " << n.path;
    for (const Named& n : AllNames())
        named.insert(n.path);

    std::vector<std::string> items;
    CollectItems(defaults_.root(), ".", items);
    ASSERT_GT(items.size(), 90u);
    for (const std::string& item : items)
        EXPECT_TRUE(named.count(item)) << "no name for " << item;
}

TEST(OptionNamesTable, EveryPathWrittenInTheHeaderIsListed)
{
    // A constant left out of kOptionNames would never be checked above.
    const std::string header = test::ReadFile(std::filesystem::path(MIRUDEX_SOURCE_DIR) / "src/core/OptionNames.h");
    const std::regex literal(R"re(std::string_view \w+ = "(\.\\\\[^"]*)";)re");
    std::set<std::string> written;
    for (auto it = std::sregex_iterator(header.begin(), header.end(), literal); it != std::sregex_iterator(); ++it)
        written.insert(std::regex_replace(it->str(1), std::regex(R"(\\\\)"), "\\"));
    std::set<std::string> listed;
    for (const opt::OptionName& n : opt::kOptionNames)
        listed.insert(std::string(n.path));
    ASSERT_GT(written.size(), 90u);
    EXPECT_EQ(written, listed);
}
