#include "posix/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "common/temp_folder.h"

namespace planwarte {
namespace {

namespace fs = std::filesystem;
using testing_support::Slurp;
using testing_support::TempFolder;

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

// The umask of the process, set for one test.
class UmaskTest : public ::testing::Test {
  protected:
    void SetUp() override { saved_ = ::umask(022); }
    void TearDown() override { ::umask(saved_); }

  private:
    mode_t saved_ = 0;
};

TEST(ReplaceFileAtomicallyTest, ReplacesTheContentsAndLeavesNoTemporaryFile) {
    TempFolder folder;
    std::string error;
    ASSERT_TRUE(ReplaceFileAtomically(folder / "page.htm", "old", 0644, &error)) << error;
    ASSERT_TRUE(ReplaceFileAtomically(folder / "page.htm", "new", 0644, &error)) << error;
    EXPECT_EQ(Slurp(folder / "page.htm"), "new");
    EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"page.htm"});
}

TEST_F(UmaskTest, NewFileGetsTheModeAndAReplacedFileKeepsItsOwn) {
    TempFolder folder;
    std::string error;
    ASSERT_TRUE(ReplaceFileAtomically(folder / "private", "x", 0600, &error)) << error;
    EXPECT_EQ(ModeOf(folder / "private"), 0600u);
    ASSERT_TRUE(ReplaceFileAtomically(folder / "shared", "x", 0666, &error)) << error;
    EXPECT_EQ(ModeOf(folder / "shared"), 0644u);  // less the umask, as any new file

    std::ofstream(folder / "chosen") << "old";
    ASSERT_EQ(::chmod((folder / "chosen").c_str(), 0640), 0);
    ASSERT_TRUE(ReplaceFileAtomically(folder / "chosen", "new", 0600, &error)) << error;
    EXPECT_EQ(ModeOf(folder / "chosen"), 0640u);
}

TEST(ReplaceFileAtomicallyTest, LinkIsFollowedAndStaysALink) {
    TempFolder folder;
    fs::create_directory(folder / "dotfiles");
    std::ofstream(folder / "dotfiles/settings.reg") << "old";
    fs::create_symlink(folder / "dotfiles/settings.reg", folder / "settings.reg");
    std::string error;
    ASSERT_TRUE(ReplaceFileAtomically(folder / "settings.reg", "new", 0600, &error)) << error;
    EXPECT_TRUE(fs::is_symlink(folder / "settings.reg"));
    EXPECT_EQ(Slurp(folder / "dotfiles/settings.reg"), "new");
    EXPECT_EQ(FilesIn(folder / "dotfiles"), std::vector<std::string>{"settings.reg"});
}

TEST(ReplaceFileAtomicallyTest, DanglingLinkIsReplacedByTheFile) {
    TempFolder folder;
    fs::create_symlink(folder / "gone", folder / "settings.reg");
    std::string error;
    ASSERT_TRUE(ReplaceFileAtomically(folder / "settings.reg", "new", 0600, &error)) << error;
    EXPECT_FALSE(fs::is_symlink(folder / "settings.reg"));
    EXPECT_EQ(Slurp(folder / "settings.reg"), "new");
}

TEST(ReplaceFileAtomicallyTest, FailureTellsWhyAndLeavesWhatWasThere) {
    struct Case {
        const char* name;
        std::string target;  // below the test folder
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"missing folder", "missing/page.htm", "cannot create"},
        {"a folder in the file's place", "folder", "cannot rename"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        fs::create_directory(folder / "folder");
        std::ofstream(folder / "folder/inside") << "kept";
        std::string error;
        EXPECT_FALSE(ReplaceFileAtomically(folder / c.target, "x", 0644, &error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"folder"});
        EXPECT_EQ(Slurp(folder / "folder/inside"), "kept");
    }
}

// Threads of one process replacing the same file must not share a temporary file: a reader
// would see a mix of two writes, or a write would fail.
TEST(ReplaceFileAtomicallyTest, ConcurrentReplacementsEachLeaveAWholeFile) {
    TempFolder folder;
    const std::string path = folder / "settings.reg";
    constexpr int kThreads = 4;
    constexpr int kWrites = 50;
    std::vector<std::string> contents;
    for (int t = 0; t < kThreads; ++t) {
        contents.push_back(std::string(4096 + t, static_cast<char>('a' + t)));
    }
    std::vector<int> failures(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kWrites; ++i) {
                std::string error;
                if (!ReplaceFileAtomically(path, contents[t], 0600, &error)) {
                    ++failures[t];
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(failures, std::vector<int>(kThreads, 0));
    const std::set<std::string> written(contents.begin(), contents.end());
    EXPECT_EQ(written.count(Slurp(path)), 1u);
    EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"settings.reg"});
}

}  // namespace
}  // namespace planwarte
