#include "adapters/linux/linux_file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "common/temp_folder.h"

namespace planwarte {
namespace {

using testing_support::Slurp;
using testing_support::TempFolder;

TEST(LinuxFileSystemTest, AtomicWriteReplacesContentAndLeavesNoTemporaryFile) {
    TempFolder folder;
    LinuxFileSystem files;
    ASSERT_TRUE(files.WriteFileAtomic(folder / "page.htm", "old"));
    ASSERT_TRUE(files.WriteFileAtomic(folder / "page.htm", "new"));
    EXPECT_EQ(files.ReadFile(folder / "page.htm"), "new");
    EXPECT_EQ(files.ListDirectory(folder.Path()), std::vector<std::string>{"page.htm"});
}

TEST(LinuxFileSystemTest, AtomicWriteIntoMissingFolderFails) {
    TempFolder folder;
    LinuxFileSystem files;
    EXPECT_FALSE(files.WriteFileAtomic(folder / "missing/page.htm", "x"));
}

TEST(LinuxFileSystemTest, TempFileTruncatesThenAppends) {
    TempFolder folder;
    LinuxFileSystem files;
    ASSERT_TRUE(files.WriteTempFile(folder / "log", "earlier run\n", false));
    ASSERT_TRUE(files.WriteTempFile(folder / "log", "a\n", false));
    ASSERT_TRUE(files.WriteTempFile(folder / "log", "b\n", true));
    EXPECT_EQ(Slurp(folder / "log"), "a\nb\n");
}

TEST(LinuxFileSystemTest, TempFileIsNeverWrittenThroughALink) {
    TempFolder folder;
    LinuxFileSystem files;
    std::ofstream(folder / "victim") << "precious";
    ASSERT_EQ(::symlink((folder / "victim").c_str(), (folder / "log").c_str()), 0);
    for (const bool append : {false, true}) {
        EXPECT_FALSE(files.WriteTempFile(folder / "log", "attack", append));
    }
    EXPECT_EQ(Slurp(folder / "victim"), "precious");
}

TEST(LinuxFileSystemTest, TempFileRefusesAFifoWithoutBlocking) {
    TempFolder folder;
    LinuxFileSystem files;
    ASSERT_EQ(::mkfifo((folder / "log").c_str(), 0600), 0);
    EXPECT_FALSE(files.WriteTempFile(folder / "log", "x", true));
}

TEST(LinuxFileSystemTest, ReadsAndListsWhatIsThere) {
    TempFolder folder;
    LinuxFileSystem files;
    std::filesystem::create_directory(folder / "vorlagen");
    std::ofstream(folder / "vorlagen/haupt.mkf") << "<html>";
    EXPECT_TRUE(files.DirectoryExists(folder / "vorlagen"));
    EXPECT_FALSE(files.DirectoryExists(folder / "vorlagen/haupt.mkf"));
    EXPECT_TRUE(files.FileExists(folder / "vorlagen/haupt.mkf"));
    EXPECT_FALSE(files.FileExists(folder / "vorlagen"));
    EXPECT_EQ(files.ReadFile(folder / "vorlagen/haupt.mkf"), "<html>");
    EXPECT_EQ(files.ReadFile(folder / "none"), std::nullopt);
    EXPECT_TRUE(files.ListDirectory(folder / "none").empty());
}

}  // namespace
}  // namespace planwarte
