#pragma once
// Shared test helpers: a fresh working directory per test, the recording
// platform, the debug log read back, and paths to our fixture files.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/recording/RecordingPlatform.h"

namespace mirudex::test {

// Fixture files written for the tests (tests/data) and the program's own data files (data/).
std::filesystem::path FixturePath(const std::string& name);
std::filesystem::path ProgramDataPath(const std::string& name);

// The directory prepared by scripts/setup-data.sh for real-data tests (holds
// DICT/edict, DICT/kanjidic, radkfile.dat), or empty when it is not there.
// Taken from MIRUDEX_REAL_DATA, else <source>/build-data.
std::filesystem::path RealDataDir();

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
// The debug log (UTF-16LE with BOM) as UTF-8, BOM left out.
std::string ReadLogUtf8(const std::filesystem::path& path = "out.uni.txt");

// How many rounds a test that repeats a race should run: MIRUDEX_TEST_ROUNDS
// when it is set to a positive number (the sanitizer suite asks for more),
// else fallback.
int TestRounds(int fallback);

// Runs each test in a new empty temporary directory (the current directory
// during the test), with the recording platform installed and the debug log
// closed and level 0 at start and end.
class WorkDirTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens out.uni.txt in the working directory at the given level.
    void OpenLog(int level = 0);
    std::string Log();

    std::filesystem::path dir_;
    std::filesystem::path oldDir_;
    platform::RecordingPlatform platform_;
};

}  // namespace mirudex::test

// Expects statement to end the process through the platform with this status.
#define EXPECT_FATAL_EXIT(statement, expectedStatus)                       \
    do {                                                                   \
        bool exited_ = false;                                              \
        try {                                                              \
            statement;                                                     \
        } catch (const ::mirudex::platform::FatalExit& e) {                \
            exited_ = true;                                                \
            EXPECT_EQ(e.status, expectedStatus);                           \
        }                                                                  \
        EXPECT_TRUE(exited_) << "expected a fatal exit from: " #statement; \
    } while (0)
