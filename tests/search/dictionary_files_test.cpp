// Dictionaries as files in a working folder change under the program: an
// index must never stand for a dictionary it was not made from, a dictionary
// in the wrong encoding is told once, and a dictionary that is switched off
// may be gone. Everything goes through the all-dictionaries load and the
// dispatcher, as at start-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>

#include "SearchFixture.h"
#include "core/OptionNames.h"
#include "dict/SharedIndex.h"
#include "dict/SharedIndexBuild.h"
#include "search/Dispatcher.h"

namespace mirudex::search::test {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kFirst = {
    "猫 [ねこ] /(n) cat/(P)/",          "子猫 [こねこ] /(n) kitten/", "日本 [にほん] /(n) Japan/(P)/",
    "走る [はしる] /(v5r) to run/(P)/", "犬 [いぬ] /(n) dog/",        "猫背 [ねこぜ] /(n) stoop/",
};
// Another edition: lines moved, changed and added, so old offsets point into the wrong lines.
const std::vector<std::string> kSecond = {
    "がちっと /(adv) firmly/",          "寝子 [ねこ] /(n) exceedingly/very/",      "犬 [いぬ] /(n) dog/(P)/",
    "猫 [ねこ] /(n) cat/(P)/",          "泥棒猫 [どろぼうねこ] /(n) cat burglar/", "日本 [にほん] /(n) Japan/",
    "走る [はしる] /(v5r) to run/(P)/",
};

std::string EucLines(const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const auto& line : lines)
        bytes += Euc(line) + "\n";
    return bytes;
}

class DictionaryFilesTest : public SearchTest {
protected:
    void SetUp() override
    {
        SearchTest::SetUp();
        options_.SetBOOL(opt::dictionaries::kIndexing, true);
        fs::create_directories("DICT");
        mirudex::test::WriteFile("DICT/kanjidic", Euc("猫 U732b S11 {cat}\n"));
        Configure({{"DICT\\edict", "EUC-JP", true}});
    }

    struct Configured {
        std::string path;
        std::string encoding;
        bool on;
    };
    void Configure(const std::vector<Configured>& list)
    {
        for (size_t i = 0; i < list.size(); ++i) {
            namespace edict = opt::dictionaries::edict;
            const int n = static_cast<int>(i);
            options_.CD(edict::kKey);
            options_.MakeKey(std::to_string(n));  // nothing when it is there
            options_.CD(".");
            options_.SetSTRING(edict::Path(n), list[i].path);
            options_.SetSTRING(edict::Name(n), "Dictionary " + std::to_string(n));
            options_.SetSTRING(edict::Encoding(n), list[i].encoding);
            options_.SetBOOL(edict::On(n), list[i].on);
        }
        options_.SetINT(opt::dictionaries::edict::kNumber, static_cast<int>(list.size()));
    }

    // A start: every configured dictionary loaded afresh.
    void Start()
    {
        store_.FreeDictionaries();
        ASSERT_EQ(dict::LoadAllEDICTS(store_, options_), dict::LoadOutcome::Done);
    }

    // What a handful of searches show, entry by entry.
    std::vector<std::vector<dict::Entry>> Searches()
    {
        std::vector<std::vector<dict::Entry>> all;
        for (const char* text : {"ねこ", "JP:ね_", "日本", "cat", "EN:run", "dog"}) {
            state_->edict_results[kResultList].clear();
            std::u16string t = U(text);
            Edict_SearchFor(*state_, t);
            all.push_back(state_->edict_results[kResultList]);
        }
        return all;
    }
};

TEST_F(DictionaryFilesTest, AnIndexGivesWhatAFreshIndexGives)
{
    struct Case {
        const char* name;
        std::function<void()> change;
    };
    const Case cases[] = {
        {"dictionary replaced by an older-dated other edition",
         [] {
             mirudex::test::WriteFile("DICT/edict", EucLines(kSecond));
             fs::last_write_time("DICT/edict", fs::last_write_time("DICT/edict.mxi") - std::chrono::hours(24 * 400));
         }},
        {"index copied from another dictionary",
         [&] {
             mirudex::test::WriteFile("DICT/names", EucLines({"太郎 [たろう] /Tarou/", "花子 [はなこ] /Hanako/"}));
             Configure({{"DICT\\names", "EUC-JP", true}});
             Start();
             Configure({{"DICT\\edict", "EUC-JP", true}});
             fs::copy_file("DICT/names.mxi", "DICT/edict.mxi", fs::copy_options::overwrite_existing);
         }},
        {"a larger line buffer", [&] { options_.SetINT(opt::buffer::kEDICT, 6000); }},
        {"a line buffer too small for one line",
         [&] { options_.SetINT(opt::buffer::kEDICT, static_cast<int>(Euc(kFirst[3]).size())); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        options_.SetINT(opt::buffer::kEDICT, 5000);
        mirudex::test::WriteFile("DICT/edict", EucLines(kFirst));
        fs::remove("DICT/edict.mxi");
        Start();
        ASSERT_TRUE(fs::exists("DICT/edict.mxi"));
        c.change();

        Start();
        const auto withOldIndex = Searches();
        fs::remove("DICT/edict.mxi");
        Start();
        const auto fresh = Searches();
        ASSERT_EQ(withOldIndex.size(), fresh.size());
        for (size_t i = 0; i < fresh.size(); ++i)
            ExpectSameEntries(withOldIndex[i], fresh[i]);
        EXPECT_TRUE(platform_.MessageBoxes().empty());
    }
}

TEST_F(DictionaryFilesTest, WrongEncodingsAreToldOncePerDictionaryAndMakeNoIndex)
{
    std::string utf8;
    for (const auto& line : kFirst)
        utf8 += line + "\n";
    mirudex::test::WriteFile("DICT/utf8", utf8);               // UTF-8 declared EUC-JP
    mirudex::test::WriteFile("DICT/typo", EucLines(kFirst));   // a typo in the encoding
    mirudex::test::WriteFile("DICT/edict", EucLines(kFirst));  // a good one between them
    Configure({{"DICT\\utf8", "EUC-JP", true}, {"DICT\\edict", "EUC-JP", true}, {"DICT\\typo", "EUCJP-", true}});
    Start();
    const auto boxes = platform_.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[0].text.find(u"(DICT\\utf8)"), std::u16string::npos);
    EXPECT_NE(boxes[1].text.find(u"(DICT\\typo)"), std::u16string::npos);
    EXPECT_FALSE(fs::exists("DICT/utf8.mxi"));
    EXPECT_FALSE(fs::exists("DICT/typo.mxi"));
    EXPECT_TRUE(fs::exists("DICT/edict.mxi"));
    EXPECT_EQ(store_.edict_dictionaries[2]->count, 0);

    // The good dictionary is searched as ever; at the next start the user hears again.
    state_->edict_results[kResultList].clear();
    std::u16string text = U("ねこ");
    Edict_SearchFor(*state_, text);
    EXPECT_EQ(Words(), (std::vector<std::u16string>{U("猫")}));
    platform_.Clear();
    Start();
    EXPECT_EQ(platform_.MessageBoxes().size(), 2u);
}

TEST_F(DictionaryFilesTest, AStopEndsALoadInTheWrongEncodingWithoutABox)
{
    std::string many;
    for (int i = 0; i < 20000; ++i)
        many += "\xFF\xFF /x/\n";
    mirudex::test::WriteFile("DICT/edict", many);
    std::atomic<bool> stop{true};
    dict::Dictionary d;
    d.path = "DICT\\edict";
    d.encoding = "EUC-JP";
    EXPECT_EQ(dict::EDICT_Index_Load(d, options_, dict::StopToken(&stop)), dict::LoadOutcome::Stopped);
    EXPECT_EQ(d.count, 0);
    EXPECT_TRUE(platform_.MessageBoxes().empty());
    EXPECT_FALSE(fs::exists("DICT/edict.mxi"));
}

TEST_F(DictionaryFilesTest, ASwitchedOffDictionaryMayBeGone)
{
    mirudex::test::WriteFile("DICT/edict", EucLines(kFirst));
    Configure({{"DICT\\gone", "EUC-JP", false}, {"DICT\\edict", "EUC-JP", true}, {"DICT\\loop", "EUC-JP", false}});
    fs::create_symlink("loop", "DICT/loop");
    Start();
    // Only the switched-off link to itself is worth a word to the user.
    EXPECT_EQ(platform_.MessageBoxes().size(), 1u);
    for (const char* text : {"ねこ", "cat"}) {
        state_->edict_results[kResultList].clear();
        std::u16string t = U(text);
        EXPECT_EQ(Edict_SearchFor(*state_, t), 0) << text;
        EXPECT_EQ(Words(), (std::vector<std::u16string>{U("猫")})) << text;
    }
}

// The shared folder of one test.
class SharedFolder {
public:
    explicit SharedFolder(const fs::path& folder) { dict::SetSharedIndexFolder(folder.string()); }
    ~SharedFolder() { dict::SetSharedIndexFolder({}); }
};

// Bytes of the files under folder (links not followed), a subfolder left out.
uintmax_t BytesUnder(const fs::path& folder, const fs::path& leftOut)
{
    uintmax_t bytes = 0;
    for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it) {
        if (it->path() == leftOut) {
            it.disable_recursion_pending();
            continue;
        }
        if (it->is_regular_file() && !it->is_symlink())
            bytes += it->file_size();
    }
    return bytes;
}

// A system's dictionary (system/edict, linked as the user's DICT/edict) and
// an empty shared index folder, both as absolute paths.
std::pair<fs::path, fs::path> SystemDictionaryAndSharedFolder()
{
    fs::create_directories("system");
    mirudex::test::WriteFile("system/edict", EucLines(kFirst));
    const fs::path dictionary = fs::absolute("system/edict");
    const fs::path shared = fs::absolute("shared");
    fs::create_directories(shared);
    fs::create_symlink(dictionary, "DICT/edict");
    return {dictionary, shared};
}

// The index files every user shares: a working folder whose dictionary is
// the shared folder's gets its index from there and writes none of its own,
// with the results its own index would give. Where the shared files do not
// fit (the user reads the dictionary another way, the dictionary changed, it
// is another file of the same name and contents), the user's own index is
// made as ever.
TEST_F(DictionaryFilesTest, ASharedIndexStandsInForTheUsersOwnWhileItFits)
{
    const auto [dictionary, shared] = SystemDictionaryAndSharedFolder();
    options_.SetINT(opt::buffer::kEDICT, 5000);

    // What the user's own index gives.
    Start();
    const auto own = Searches();
    fs::remove("DICT/edict.mxi");
    fs::remove("DICT/edict.mxs");

    const dict::SharedIndexBuild built = dict::BuildSharedIndex(shared, dictionary, "EUC-JP", options_);
    ASSERT_TRUE(built.built) << built.error;
    EXPECT_EQ(built.entries, static_cast<int>(kFirst.size()));
    EXPECT_EQ(fs::read_symlink(shared / "edict"), dictionary);
    const auto madeAt = fs::last_write_time(shared / "edict.mxs");
    // Made again only when it no longer fits.
    ASSERT_TRUE(dict::BuildSharedIndex(shared, dictionary, "EUC-JP", options_).built);
    EXPECT_EQ(fs::last_write_time(shared / "edict.mxs"), madeAt);

    const SharedFolder folder(shared);
    Start();
    const auto fromShared = Searches();
    ASSERT_EQ(fromShared.size(), own.size());
    for (size_t i = 0; i < own.size(); ++i)
        ExpectSameEntries(fromShared[i], own[i]);
    EXPECT_FALSE(fs::exists("DICT/edict.mxi"));
    EXPECT_FALSE(fs::exists("DICT/edict.mxs"));
    EXPECT_EQ(fs::last_write_time(shared / "edict.mxs"), madeAt);

    struct Case {
        const char* name;
        std::function<void()> change;
        bool sharedUsed;
    };
    const Case cases[] = {
        {"the same again", [] {}, true},
        {"another line buffer in the user's options", [&] { options_.SetINT(opt::buffer::kEDICT, 6000); }, false},
        {"another encoding in the user's options",
         [&] {
             Configure({{"DICT\\edict", "EUC-JP-MS", true}});
         },
         false},
        {"the same contents in another file",
         [&] {
             fs::copy_file(dictionary, "copy");
             fs::last_write_time("copy", fs::last_write_time(dictionary));
             fs::remove("DICT/edict");
             fs::create_symlink(fs::absolute("copy"), "DICT/edict");
         },
         false},
        {"the shared companion lacks its search structures",
         [&] {
             // A companion as a load from the text writes it, before any search.
             dict::SetSharedIndexFolder({});
             Start();
             dict::SetSharedIndexFolder(shared.string());
             fs::copy_file("DICT/edict.mxs", shared / "edict.mxs", fs::copy_options::overwrite_existing);
             fs::remove("DICT/edict.mxi");
             fs::remove("DICT/edict.mxs");
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Configure({{"DICT\\edict", "EUC-JP", true}});
        options_.SetINT(opt::buffer::kEDICT, 5000);
        fs::remove("DICT/edict");
        fs::create_symlink(dictionary, "DICT/edict");
        ASSERT_TRUE(dict::BuildSharedIndex(shared, dictionary, "EUC-JP", options_).built);
        fs::remove("DICT/edict.mxi");
        fs::remove("DICT/edict.mxs");
        c.change();
        Start();
        const auto found = Searches();
        ASSERT_EQ(found.size(), own.size());
        for (size_t i = 0; i < own.size(); ++i)
            ExpectSameEntries(found[i], own[i]);
        EXPECT_EQ(fs::exists("DICT/edict.mxi"), !c.sharedUsed);
        EXPECT_TRUE(platform_.MessageBoxes().empty());
    }
}

TEST_F(DictionaryFilesTest, ASharedIndexIsMadeAgainWhenItsDictionaryIsUpgradedAndGoesWithIt)
{
    const auto [dictionary, shared] = SystemDictionaryAndSharedFolder();
    ASSERT_TRUE(dict::BuildSharedIndex(shared, dictionary, "EUC-JP", options_).built);

    // The upgrade: another edition, made again by the package's trigger.
    mirudex::test::WriteFile("system/edict", EucLines(kSecond));
    const SharedFolder folder(shared);
    Start();
    ASSERT_TRUE(fs::exists("DICT/edict.mxi")) << "an outdated shared index is passed over";
    fs::remove("DICT/edict.mxi");
    fs::remove("DICT/edict.mxs");
    const dict::SharedIndexBuild built = dict::BuildSharedIndex(shared, dictionary, "EUC-JP", options_);
    ASSERT_TRUE(built.built) << built.error;
    EXPECT_EQ(built.entries, static_cast<int>(kSecond.size()));
    Start();
    EXPECT_FALSE(fs::exists("DICT/edict.mxi"));
    state_->edict_results[kResultList].clear();
    std::u16string text = U("ねこ");
    Edict_SearchFor(*state_, text);
    const auto words = Words();
    EXPECT_NE(std::find(words.begin(), words.end(), U("寝子")), words.end()) << "the new edition's entry";

    // A file in the way is left alone; a dictionary that is gone takes its files along.
    mirudex::test::WriteFile(shared / "other", "not a link");
    mirudex::test::WriteFile("system/other", EucLines(kFirst));
    EXPECT_FALSE(dict::BuildSharedIndex(shared, fs::absolute("system/other"), "EUC-JP", options_).built);
    EXPECT_EQ(mirudex::test::ReadFile(shared / "other"), "not a link");
    EXPECT_FALSE(dict::BuildSharedIndex(shared, fs::absolute("system/none"), "EUC-JP", options_).built);
    dict::RemoveSharedIndex(shared, "edict");
    dict::RemoveSharedIndex(shared, "other");
    EXPECT_EQ(fs::symlink_status(shared / "edict").type(), fs::file_type::not_found);
    EXPECT_FALSE(fs::exists(shared / "edict.mxi"));
    EXPECT_FALSE(fs::exists(shared / "edict.mxs"));
    EXPECT_TRUE(fs::exists(shared / "other"));
}

// A new user of an installed Mirudex whose package made the shared index of
// Debian's EDICT: the first start and the first search write under 1 MB.
TEST_F(DictionaryFilesTest, ANewUserWithTheSharedIndexOfTheRealEdictWritesLittle)
{
    const fs::path real = mirudex::test::RealDataDir();
    if (real.empty())
        GTEST_SKIP() << "real dictionaries not prepared (scripts/setup-data.sh)";
    const fs::path dictionary = fs::canonical(real / "DICT" / "edict");
    const fs::path shared = fs::absolute("shared");
    fs::create_directories(shared);
    ASSERT_TRUE(dict::BuildSharedIndex(shared, dictionary, "EUC-JP", options_).built);

    const SharedFolder folder(shared);
    fs::create_directories("home/DICT");
    fs::current_path("home");
    fs::create_symlink(dictionary, "DICT/edict");
    fs::create_symlink(fs::canonical(real / "DICT" / "kanjidic"), "DICT/kanjidic");
    Start();
    state_->edict_results[kResultList].clear();
    std::u16string text = U("ねこ");
    Edict_SearchFor(*state_, text);
    EXPECT_NE(std::find_if(state_->edict_results[kResultList].begin(), state_->edict_results[kResultList].end(),
                           [](const dict::Entry& e) { return e.word == U("猫"); }),
              state_->edict_results[kResultList].end());
    state_->edict_results[kResultList].clear();
    text = U("EN:cat");
    Edict_SearchFor(*state_, text);
    EXPECT_GT(state_->edict_results[kResultList].size(), 10u);
    fs::current_path("..");
    EXPECT_LT(BytesUnder("home", shared), uintmax_t{1} << 20);
    EXPECT_FALSE(fs::exists("home/DICT/edict.mxs"));
}

}  // namespace
}  // namespace mirudex::search::test
