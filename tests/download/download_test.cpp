// Dictionaries > Download Current Dictionary against a real web server on
// the loopback interface: a complete file replaces the dictionary and is
// searched; a cut, damaged or foreign file, a broken connection, a server
// error and a cancel all leave the old dictionary, its index and the options
// as they were.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <random>
#include <thread>

#include "NginxServer.h"
#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "dict/DictionaryOptions.h"
#include "dict/DictionaryStore.h"
#include "platform/api/Utf.h"
#include "search/AppState.h"
#include "search/DictionaryInstall.h"
#include "search/EnglishSearch.h"
#include "search/Worker.h"
#include "support/TestSupport.h"
#include "update/Crc32.h"
#include "update/DictionaryDownload.h"
#include "update/Sha256.h"
#include "update/UpdateList.h"
#include "update/UpdateThreads.h"

namespace mirudex::test {
namespace {

constexpr const char* kOldLine = "古い [ふるい] /(adj-i) the old entry/EntL1/\n";
constexpr const char* kDictionary = "DICT\\JMdict_e.edict2";

std::string Gzip(const std::string& bytes)
{
    uLongf size = compressBound(static_cast<uLong>(bytes.size())) + 32;
    std::string out(size, '\0');
    z_stream z{};
    deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

std::string RandomBytes(size_t n)
{
    std::mt19937 random(7);
    std::string bytes(n, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

search::Fetcher Curl(std::function<void()> onBytes = {})
{
    return [onBytes](const std::string& url, const std::string& file, const std::function<void(double)>& progress,
                     const std::atomic<bool>* stop) {
        update::DownloadOptions options;
        options.stop = stop;
        options.progress = [&](std::uint64_t received, std::uint64_t total) {
            if (total > 0)
                progress(static_cast<double>(received) / static_cast<double>(total));
            if (received > 0 && onBytes)
                onBytes();
        };
        const update::DownloadOutcome outcome = update::DownloadToFile(url, file, options);
        return search::FetchResult{outcome.status == update::DownloadStatus::Done,
                                   outcome.status == update::DownloadStatus::Stopped, outcome.error};
    };
}

class DownloadTest : public WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        if (!NginxServer::Available())
            GTEST_SKIP() << "nginx is not installed (scripts/install-deps.sh installs it)";
        options_.LoadFromText(DefaultOptionsText());
        options_.SetINT(opt::dictionaries::edict::kNumber, 0);
        std::filesystem::create_directories("DICT");
        jmdict_ = ReadFile(FixturePath("jmdict-sample.xml"));
    }

    // An older dictionary at the download's place, registered and loaded.
    void InstallOld()
    {
        WriteFile("DICT/JMdict_e.edict2", kOldLine);
        dict::RegisterDictionary(options_, kDictionary, "Current dictionary", "UTF-8", true);
        for (auto& d : dict::ConfiguredDictionaries(options_))
            store_.edict_dictionaries.push_back(std::move(d));
        dict::EDICT_Index_Load(*store_.edict_dictionaries[0], options_);
        ASSERT_EQ(store_.edict_dictionaries[0]->count, 1);
    }

    // The raw lines an English search finds.
    std::vector<std::string> Find(search::AppState& state, const std::u16string& text)
    {
        state.edict_results[search::kResultList].clear();
        state.search_options.type = search::SearchType::Middle;
        search::SearchFor_English(state, text);
        std::vector<std::string> lines;
        for (const auto& entry : state.edict_results[search::kResultList])
            lines.push_back(entry.rawLine);
        return lines;
    }

    search::InstallResult Download(search::AppState& state, const std::string& url, const search::Fetcher& fetch,
                                   const dict::DownloadLimits& limits = {})
    {
        search::InstallProgress progress;
        search::InstallResult result;
        state.thread_searching = true;
        search::Thread_DownloadDictionary(state, url, "eng", fetch, progress, result, limits);
        EXPECT_FALSE(state.thread_searching);
        return result;
    }

    Registry options_;
    dict::DictionaryStore store_;
    std::string jmdict_;
};

TEST_F(DownloadTest, ACompleteFileReplacesTheDictionaryAndIsSearched)
{
    NginxServer server;
    ASSERT_TRUE(server.running()) << server.ErrorLog();
    server.Put("JMdict_e.gz", Gzip(jmdict_));
    InstallOld();
    search::AppState state(options_, store_);

    search::InstallResult result = Download(state, server.Url("JMdict_e.gz"), Curl());
    ASSERT_EQ(result.outcome, search::InstallResult::Installed) << Utf16ToUtf8(result.message);
    EXPECT_EQ(result.replaced, 0);
    EXPECT_EQ(result.entries, 12);
    search::InstallResult& finished = result;
    EXPECT_EQ(search::FinishInstall(state, finished), u"Dictionary installed.");
    EXPECT_EQ(store_.edict_dictionaries.size(), 1u);
    EXPECT_EQ(options_.GetINT(opt::dictionaries::edict::kNumber), 1);

    const auto found = Find(state, u"thank you");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NE(found[0].find("EntL1206900"), std::string::npos);
    EXPECT_TRUE(Find(state, u"the old entry").empty());
    EXPECT_FALSE(std::filesystem::exists("DICT/JMdict_e.edict2.download"));

    // The index made for the new file is used at the next load.
    dict::Dictionary again;
    again.path = kDictionary;
    again.encoding = "UTF-8";
    OpenLog();
    dict::EDICT_Index_Load(again, options_);
    EXPECT_EQ(again.count, store_.edict_dictionaries[0]->count);
    EXPECT_NE(Log().find("Number of entries"), std::string::npos);
}

// An import says what it left out: entries without a gloss in the language,
// and entries larger than an entry may be.
TEST_F(DownloadTest, AnImportTellsWhatItLeftOut)
{
    WriteFile("left-out.xml",
              "<JMdict><entry><ent_seq>1</ent_seq><r_ele><reb>ねこ</reb></r_ele><sense><gloss>cat"
              "</gloss></sense></entry><entry><ent_seq>2</ent_seq><r_ele><reb>いぬ</reb></r_ele>"
              "<sense><gloss xml:lang=\"ger\">Hund</gloss></sense></entry><entry><ent_seq>3</ent_seq>"
              "<r_ele><reb>うま</reb></r_ele><sense><gloss>" +
                  std::string(70 * 1024, 'h') + "</gloss></sense></entry></JMdict>");
    search::AppState state(options_, store_);
    search::InstallProgress progress;
    search::InstallResult result;
    state.thread_searching = true;
    search::Thread_ImportJmdict(state, "left-out.xml", "eng", progress, result);
    ASSERT_EQ(result.outcome, search::InstallResult::Installed) << Utf16ToUtf8(result.message);
    EXPECT_EQ(result.entries, 1);
    EXPECT_NE(result.message.find(u" 1 entries without glosses in 'eng' were left out."), std::u16string::npos)
        << Utf16ToUtf8(result.message);
    EXPECT_NE(result.message.find(u" 1 entries larger than an entry may be were left out."), std::u16string::npos)
        << Utf16ToUtf8(result.message);
}

TEST_F(DownloadTest, AFirstDownloadIsRegisteredAsTheNextDictionary)
{
    NginxServer server;
    ASSERT_TRUE(server.running()) << server.ErrorLog();
    // An EDICT2 text (EUC-JP, as the publisher's edict2 is) rather than JMdict.
    server.Put("edict2.gz", Gzip("\xa1\xa1\xa1\xa9 /EDICT2 sample/\n\xc7\xad [\xa4\xcd\xa4\xb3] /(n) cat/EntL1/\n"));
    search::AppState state(options_, store_);

    search::InstallResult result = Download(state, server.Url("edict2.gz"), Curl());
    ASSERT_EQ(result.outcome, search::InstallResult::Installed) << Utf16ToUtf8(result.message);
    EXPECT_EQ(result.encoding, "EUC-JP");
    search::FinishInstall(state, result);
    ASSERT_EQ(store_.edict_dictionaries.size(), 1u);
    EXPECT_EQ(store_.edict_dictionaries[0]->path, "DICT\\edict2");
    EXPECT_EQ(dict::FindConfiguredDictionary(options_, "DICT\\edict2"), 0);
    EXPECT_EQ(options_.GetString(opt::dictionaries::edict::Encoding(0)), "EUC-JP");
    EXPECT_EQ(Find(state, u"cat").size(), 1u);
}

TEST_F(DownloadTest, AnythingButACompleteSoundFileLeavesTheOldDictionary)
{
    const std::string whole = Gzip(jmdict_);
    std::string corrupt = whole;
    corrupt[corrupt.size() - 7] ^= 0x40;
    const std::string large = Gzip(RandomBytes(size_t{1} << 20));

    struct Case {
        const char* name;
        std::string served;  // under /JMdict_e.gz; empty: nothing there (404)
        long rateLimit;
        enum { None, KillServer, Cancel } during;
        search::InstallResult::Outcome outcome;
    };
    const Case cases[] = {
        {"cut short on the server", whole.substr(0, whole.size() / 2), 0, Case::None, search::InstallResult::Failed},
        {"damaged check sum", corrupt, 0, Case::None, search::InstallResult::Failed},
        {"not compressed", jmdict_, 0, Case::None, search::InstallResult::Failed},
        {"no dictionary inside", Gzip("<html><body>moved</body></html>"), 0, Case::None, search::InstallResult::Failed},
        {"not on the server", "", 0, Case::None, search::InstallResult::Failed},
        {"connection broken off", large, 65536, Case::KillServer, search::InstallResult::Failed},
        {"cancelled", large, 65536, Case::Cancel, search::InstallResult::Stopped},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all("DICT");
        std::filesystem::create_directories("DICT");
        store_.edict_dictionaries.clear();
        options_.LoadFromText(DefaultOptionsText());
        options_.SetINT(opt::dictionaries::edict::kNumber, 0);
        InstallOld();
        const std::string oldIndex = ReadFile("DICT/JMdict_e.edict2.mxi");
        const std::string oldOptions = options_.SaveToText();

        NginxServer server(c.rateLimit);
        ASSERT_TRUE(server.running()) << server.ErrorLog();
        if (!c.served.empty())
            server.Put("JMdict_e.gz", c.served);
        search::AppState state(options_, store_);
        std::function<void()> during;
        if (c.during == Case::KillServer)
            during = [&server] { server.Kill(); };
        else if (c.during == Case::Cancel)
            during = [&state] { search::RequestStop(state); };

        search::InstallResult result = Download(state, server.Url("JMdict_e.gz"), Curl(during));
        EXPECT_EQ(result.outcome, c.outcome) << Utf16ToUtf8(result.message);
        EXPECT_FALSE(result.message.empty());
        EXPECT_NE(search::FinishInstall(state, result), u"Dictionary installed.");

        EXPECT_EQ(ReadFile("DICT/JMdict_e.edict2"), kOldLine);
        EXPECT_EQ(ReadFile("DICT/JMdict_e.edict2.mxi"), oldIndex);
        EXPECT_EQ(options_.SaveToText(), oldOptions);
        EXPECT_FALSE(std::filesystem::exists("DICT/JMdict_e.edict2.download"));
        ASSERT_EQ(store_.edict_dictionaries.size(), 1u);
        search::AppState next(options_, store_);  // the next search starts without the stop request
        EXPECT_EQ(Find(next, u"the old entry").size(), 1u);
    }
}

// A small gzip file that unpacks to far more than a dictionary can be, or to
// something that is no dictionary, is refused before it replaces anything:
// the old dictionary, its index, the options (the line buffer among them)
// stay as they were, and nothing is announced as installed.
TEST_F(DownloadTest, AGzipBombOrAFileThatIsNoDictionaryIsRefused)
{
    const std::string good = "猫 [ねこ] /(n) cat/EntL1/\n";
    std::string manyGood;
    while (manyGood.size() < (size_t{12} << 20))
        manyGood += good;
    std::string fewGood;
    for (int i = 0; i < 10; ++i)
        fewGood += good;
    for (int i = 0; i < 200; ++i)
        fewGood += "<p>a page line, not a dictionary line</p>\n";
    dict::DownloadLimits lowered;
    lowered.maxUnpackedBytes = size_t{8} << 20;
    lowered.maxLineBytes = 4096;
    dict::DownloadLimits shortLines = lowered;
    shortLines.maxLineBytes = 40;

    struct Case {
        const char* name;
        std::string file;  // served as JMdict_e.gz
        dict::DownloadLimits limits;
        const char* why;  // part of the message
    };
    const Case cases[] = {
        {"64 MB of zeros", Gzip(std::string(size_t{64} << 20, '\0')), lowered, "unpacks to more than 8 MB"},
        {"12 MB of good lines", Gzip(manyGood), lowered, "unpacks to more than 8 MB"},
        {"one long line", Gzip(std::string(100000, 'a') + " /b/\n"), lowered, "line 1 is longer than 4096 bytes"},
        {"a little of zeros", Gzip(std::string(1000, '\0')), lowered, "does not read as a dictionary"},
        {"few good lines among others", Gzip(fewGood), lowered, "does not read as a dictionary"},
        {"a JMdict entry longer than a line may be", Gzip(jmdict_), shortLines, "longer than 40 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_LT(c.file.size(), size_t{5} << 20);  // a few MB at most, however large inside
        std::filesystem::remove_all("DICT");
        std::filesystem::create_directories("DICT");
        store_.edict_dictionaries.clear();
        options_.LoadFromText(DefaultOptionsText());
        options_.SetINT(opt::dictionaries::edict::kNumber, 0);
        InstallOld();
        const std::string oldIndex = ReadFile("DICT/JMdict_e.edict2.mxi");
        const std::string oldOptions = options_.SaveToText();

        NginxServer server;
        ASSERT_TRUE(server.running()) << server.ErrorLog();
        server.Put("JMdict_e.gz", c.file);
        search::AppState state(options_, store_);
        search::InstallResult result = Download(state, server.Url("JMdict_e.gz"), Curl(), c.limits);
        EXPECT_EQ(result.outcome, search::InstallResult::Failed) << Utf16ToUtf8(result.message);
        EXPECT_NE(Utf16ToUtf8(result.message).find(c.why), std::string::npos) << Utf16ToUtf8(result.message);
        EXPECT_NE(result.message.find(u"The dictionary is as it was."), std::u16string::npos);
        EXPECT_EQ(search::FinishInstall(state, result), u"Dictionary install... failed.");

        EXPECT_EQ(ReadFile("DICT/JMdict_e.edict2"), kOldLine);
        EXPECT_EQ(ReadFile("DICT/JMdict_e.edict2.mxi"), oldIndex);
        EXPECT_EQ(options_.SaveToText(), oldOptions);
        for (const auto& entry : std::filesystem::directory_iterator("DICT")) {
            const std::string name = entry.path().filename().string();
            EXPECT_TRUE(name == "JMdict_e.edict2" || name == "JMdict_e.edict2.mxi" || name == "JMdict_e.edict2.mxs")
                << name << " left behind";
        }
        ASSERT_EQ(store_.edict_dictionaries.size(), 1u);
        EXPECT_EQ(Find(state, u"the old entry").size(), 1u);
    }
}

// The updater over HTTPS against nginx: a server whose certificate no
// authority of this system signed is not trusted (nothing is checked or
// fetched); trusted, its list is read, and of the files it names only those
// whose SHA-256 agrees with the list replace anything.
class UpdateHttpsTest : public WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        if (!NginxServer::Available())
            GTEST_SKIP() << "nginx is not installed (scripts/install-deps.sh installs it)";
    }
};

TEST_F(UpdateHttpsTest, OnlyATrustedServerAndFilesWithTheListsDigestAreTaken)
{
    NginxServer server(0, true);
    ASSERT_TRUE(server.running()) << server.ErrorLog();
    const std::string newEdict = "新しい [あたらしい] /(adj-i) new/EntL2/\n";
    const std::string oldEdict = "古い [ふるい] /(adj-i) old/EntL1/\n";
    const std::string tampered = "古い [ふるい] /(adj-i) tampered/EntL1/\n";
    auto sums = [](const std::string& bytes) {
        return update::CrcText(update::Crc32(update::BuildCrcTable(), bytes)) + ":" + update::Sha256Hex(bytes);
    };
    const std::string list =
        "# updates.v2.txt\nNEWS\nNew words\nID\nu1\nTYPE\n98\nAPPLIES TO\nAll\nFILE\n"
        "DICT/edict:" +
        sums(newEdict) + "\nDICT/enamdict:" + sums(oldEdict) + "\n";
    server.Put("updates/updates.v2.txt", list);
    server.Put("updates/files/DICT/edict", newEdict);
    server.Put("updates/files/DICT/enamdict", tampered);
    std::filesystem::create_directory("DICT");
    WriteFile("DICT/edict", oldEdict);
    WriteFile("DICT/enamdict", oldEdict);

    update::UpdateState state;
    state.servers = {{{"127.0.0.1", "updates/updates.v2.txt", "updates/files"},
                      {"127.0.0.1", "updates/updates.v2.txt", "updates/files"}}};
    state.port = server.port();
    state.timeout = std::chrono::milliseconds(5000);
    EXPECT_EQ(state.scheme, "https");
    auto wait = [&state] {
        for (int i = 0; i < 1000 && update::UpdateThreadRunning(state); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_FALSE(update::UpdateThreadRunning(state));
        update::JoinUpdateThread(state);
    };

    // Its own certificate, signed by no one this system trusts.
    ASSERT_TRUE(update::Load_Thread_CheckForUpdates(state));
    wait();
    EXPECT_FALSE(state.checkResult.load());
    EXPECT_EQ(state.checkOutcome.load(), update::UpdateState::CheckOutcome::Untrusted);
    EXPECT_FALSE(std::filesystem::exists(update::kListFileName));
    ASSERT_TRUE(update::Load_Thread_GetUpdates(state, {"DICT/edict:" + sums(newEdict)}));
    wait();
    EXPECT_FALSE(state.downloadOk.load());
    EXPECT_EQ(ReadFile("DICT/edict"), oldEdict);

    // Trusted: the list is read, the file that agrees with it installed, the tampered one refused.
    state.caFile = server.CertificateFile();
    ASSERT_TRUE(update::Load_Thread_CheckForUpdates(state));
    wait();
    EXPECT_EQ(state.checkOutcome.load(), update::UpdateState::CheckOutcome::ListFetched);
    ASSERT_EQ(state.checkedList.downloadList.size(), 2u);
    ASSERT_TRUE(update::Load_Thread_GetUpdates(state, state.checkedList.downloadList));
    wait();
    EXPECT_FALSE(state.downloadOk.load());
    EXPECT_EQ(ReadFile("DICT/edict"), newEdict);
    EXPECT_EQ(ReadFile("DICT/enamdict"), oldEdict);
}

}  // namespace
}  // namespace mirudex::test
