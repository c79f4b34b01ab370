#include "support/TestSupport.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/DebugLog.h"
#include "platform/api/Utf.h"

namespace mirudex::test {

std::filesystem::path FixturePath(const std::string& name)
{
    return std::filesystem::path(MIRUDEX_TEST_DATA_DIR) / name;
}

std::filesystem::path ProgramDataPath(const std::string& name)
{
    return std::filesystem::path(MIRUDEX_DATA_DIR) / name;
}

std::filesystem::path RealDataDir()
{
    std::filesystem::path dir;
    if (const char* env = std::getenv("MIRUDEX_REAL_DATA"); env && *env)
        dir = env;
    else
        dir = std::filesystem::path(MIRUDEX_DATA_DIR).parent_path() / "build-data";
    if (std::filesystem::exists(dir / "DICT" / "edict"))
        return std::filesystem::absolute(dir);
    return {};
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string ReadLogUtf8(const std::filesystem::path& path)
{
    std::string raw = ReadFile(path);
    std::u16string text;
    for (size_t i = 2; i + 1 < raw.size(); i += 2)
        text.push_back(
            static_cast<char16_t>(static_cast<unsigned char>(raw[i]) | (static_cast<unsigned char>(raw[i + 1]) << 8)));
    return Utf16ToUtf8(text);
}

int TestRounds(int fallback)
{
    if (const char* env = std::getenv("MIRUDEX_TEST_ROUNDS"); env && *env) {
        const int rounds = std::atoi(env);
        if (rounds > 0)
            return rounds;
    }
    return fallback;
}

void WorkDirTest::SetUp()
{
    dlog::Close();
    dlog::SetLevel(0);
    oldDir_ = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "mirudex-test-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    ASSERT_NE(made, nullptr);
    dir_ = made;
    std::filesystem::current_path(dir_);
}

void WorkDirTest::TearDown()
{
    dlog::Close();
    dlog::SetLevel(0);
    std::filesystem::current_path(oldDir_);
    std::error_code ec;
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(dir_, ec);
}

void WorkDirTest::OpenLog(int level)
{
    dlog::Open();
    dlog::SetLevel(level);
}

std::string WorkDirTest::Log() { return ReadLogUtf8(dir_ / "out.uni.txt"); }

}  // namespace mirudex::test
