#include "posix/detached_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/temp_folder.h"
#include "common/wait_for_file.h"

namespace planwarte {
namespace {

namespace fs = std::filesystem;
using testing_support::AppearsSoon;
using testing_support::TempFolder;

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
