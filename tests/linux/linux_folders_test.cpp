#include "adapters/linux/linux_folders.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "common/temp_folder.h"

namespace planwarte {
namespace {

using testing_support::TempFolder;

// Sets an environment variable for the life of the object and restores it afterwards.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        Set(value);
    }
    ~ScopedEnvironment() { Set(old_); }

  private:
    void Set(const std::optional<std::string>& value) {
        if (value) {
            ::setenv(name_, value->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    const char* name_;
    std::optional<std::string> old_;
};

TEST(PrivateFolderTest, CreatesAMissingFolderOnlyTheUserCanWrite) {
    TempFolder folder;
    const std::string made = PrivateFolder(folder / "mine");
    ASSERT_EQ(made, folder / "mine/");
    struct stat info {};
    ASSERT_EQ(::stat(made.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST(PrivateFolderTest, RefusesFoldersOthersCouldTamperWith) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "target");
    ASSERT_EQ(::symlink((folder / "target").c_str(), (folder / "link").c_str()), 0);
    std::filesystem::create_directory(folder / "shared");
    ::chmod((folder / "shared").c_str(), 0777);
    std::ofstream(folder / "file") << "x";
    for (const char* name : {"link", "shared", "file"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(PrivateFolder(folder / name), "");
    }
}

TEST(LinuxFoldersTest, TempFolderIsTempWhenSet) {
    ScopedEnvironment temp("TEMP", "/some/where");
    EXPECT_EQ(LinuxFolders("/nonexistent").TempFolder(), "/some/where/");
}

TEST(LinuxFoldersTest, TempFolderFallsBackToAPrivateRuntimeFolder) {
    TempFolder folder;
    ScopedEnvironment temp("TEMP", std::nullopt);
    ScopedEnvironment runtime("XDG_RUNTIME_DIR", folder.Path());
    EXPECT_EQ(LinuxFolders("/nonexistent").TempFolder(), folder / "planwarte/");
}

TEST(LinuxFoldersTest, ProgramFolderIsFilledFromTheInstalledDataWithoutOverwriting) {
    TempFolder folder;
    std::filesystem::create_directories(folder / "installed/vorlagen");
    std::ofstream(folder / "installed/vorlagen/haupt.mkf") << "installed";
    std::ofstream(folder / "installed/sprueche.ini") << "installed";
    std::filesystem::create_directories(folder / "data/planwarte");
    std::ofstream(folder / "data/planwarte/sprueche.ini") << "edited by the user";

    ScopedEnvironment home("PLANWARTE_HOME", std::nullopt);
    ScopedEnvironment data("XDG_DATA_HOME", folder / "data");
    // The test program's folder holds no data marker, so the per-user folder is used.
    const LinuxFolders folders(folder / "installed");
    EXPECT_EQ(folders.ProgramFolder(), folder / "data/planwarte/");
    std::ifstream templates(folder / "data/planwarte/vorlagen/haupt.mkf");
    std::ifstream sayings(folder / "data/planwarte/sprueche.ini");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(templates), {}), "installed");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(sayings), {}), "edited by the user");
}

TEST(LinuxFoldersTest, ProgramFolderIsPlanwarteHomeWhenSet) {
    ScopedEnvironment home("PLANWARTE_HOME", "/opt/pw");
    EXPECT_EQ(LinuxFolders("/nonexistent").ProgramFolder(), "/opt/pw/");
}

}  // namespace
}  // namespace planwarte
