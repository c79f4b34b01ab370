// Opening libcurl at the first download: the first library of the list that
// opens and has every function is taken; each failure is named.
#include <gtest/gtest.h>

#include "update/CurlLibrary.h"

namespace mirudex::update {
namespace {

TEST(CurlLibraryTest, TakesTheFirstLibraryThatHasEveryFunction)
{
    struct Case {
        const char* name;
        std::vector<std::string> libraries;
        bool loads;
        std::vector<std::string> inError;
    };
    const Case cases[] = {
        {"this system's libcurl", {"libcurl.so.4"}, true, {}},
        {"a missing library, then libcurl", {"libmirudex-no-such-library.so", "libcurl.so.4"}, true, {}},
        {"only a missing library", {"libmirudex-no-such-library.so"}, false, {"libmirudex-no-such-library.so"}},
        {"a library without the functions", {"libz.so.1"}, false, {"libz.so.1 has no curl_global_init"}},
        {"both failures are named",
         {"libmirudex-no-such-library.so", "libz.so.1"},
         false,
         {"libmirudex-no-such-library.so", "libz.so.1 has no curl_global_init"}},
        {"no library at all", {}, false, {"no transfer library"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CurlFunctions functions;
        std::string error;
        EXPECT_EQ(LoadCurlLibrary(c.libraries, functions, error), c.loads) << error;
        EXPECT_EQ(functions.easy_init != nullptr, c.loads);
        EXPECT_EQ(functions.easy_strerror != nullptr, c.loads);
        EXPECT_EQ(error.empty(), c.loads);
        for (const std::string& part : c.inError)
            EXPECT_NE(error.find(part), std::string::npos) << error;
        if (c.loads) {
            EXPECT_STREQ(functions.easy_strerror(CURLE_OK), "No error");
        }
    }
}

TEST(CurlLibraryTest, TheSystemLibraryIsOpenedOnceForEveryCaller)
{
    std::string error;
    const CurlFunctions* first = SystemCurl(error);
    ASSERT_NE(first, nullptr) << error;
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(SystemCurl(error), first);
}

}  // namespace
}  // namespace mirudex::update
