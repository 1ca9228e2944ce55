#include "adapters/linux/detached_command.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "common/temp_folder.h"

namespace planwarte {
namespace {

namespace fs = std::filesystem;
using testing_support::TempFolder;

// Waits a bounded time for a file the started program writes.
bool AppearsSoon(const fs::path& path) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (fs::exists(path)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(StartDetachedTest, FileNameWithShellCharactersStaysOneArgumentAndRunsNothing) {
    TempFolder folder;
    const fs::path odd = fs::path(folder.Path()) / "a b; touch pwned 'x'.ics";
    EXPECT_EQ(StartDetached({"touch", odd.string()}), "");
    EXPECT_TRUE(AppearsSoon(odd));
    EXPECT_FALSE(fs::exists(fs::path(folder.Path()) / "pwned"));
    EXPECT_FALSE(fs::exists("pwned"));
}

TEST(StartDetachedTest, MissingProgramAndEmptyCommandAreReported) {
    EXPECT_NE(StartDetached({"/nonexistent/planwarte-no-such-program"}).find("No such file"),
              std::string::npos);
    EXPECT_EQ(StartDetached({}), "no command");
}

}  // namespace
}  // namespace planwarte
